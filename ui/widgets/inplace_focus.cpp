#include "ui/widgets/inplace_focus.h"

#include <QAbstractScrollArea>
#include <QApplication>

namespace Brenno {

void ReturnFocusToOwner(QWidget* editor, InplaceNotifyOwner* owner) {
  if (editor == nullptr) return;
  // Right after a message box the window may not be active again yet: the editor is then only
  // its window's focus widget, and hiding it would leave the window with nothing to give the keys.
  if (!editor->hasFocus() && editor->window()->focusWidget() != editor) return;
  QWidget* target = dynamic_cast<QWidget*>(owner);
  if (target == nullptr) target = editor->parentWidget();
  if (target != nullptr) target->setFocus(Qt::OtherFocusReason);
}

QWidget* WheelTargetOf(QWidget* editor, InplaceNotifyOwner* owner) {
  QWidget* target = dynamic_cast<QWidget*>(owner);
  if (target == nullptr) target = editor->parentWidget();
  if (auto* area = qobject_cast<QAbstractScrollArea*>(target)) target = area->viewport();
  return target == editor ? nullptr : target;
}

void GiveKeyboardFocus(QWidget* target) {
  QWidget* top = target->window();
  if (top->isVisible() && !top->isActiveWindow()) top->activateWindow();
  target->setFocus(Qt::OtherFocusReason);
}

FocusReturn::FocusReturn(QWidget* fallback) : before_(QApplication::focusWidget()), fallback_(fallback) {}

FocusReturn::~FocusReturn() {
  QWidget* target = before_ != nullptr && before_->isVisible() ? before_.data() : fallback_.data();
  if (target != nullptr && target->isVisible()) GiveKeyboardFocus(target);
}

}  // namespace Brenno
