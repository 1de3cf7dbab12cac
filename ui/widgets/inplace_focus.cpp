#include "ui/widgets/inplace_focus.h"

#include <QAbstractScrollArea>

namespace Brenno {

void ReturnFocusToOwner(QWidget* editor, InplaceNotifyOwner* owner) {
  if (editor == nullptr || !editor->hasFocus()) return;
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

}  // namespace Brenno
