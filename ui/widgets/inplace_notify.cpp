#include "ui/widgets/inplace_notify.h"

#include <QRect>

namespace Brenno {

InplaceNotifyOwner* InplaceEditorState::NotifyOwner() const {
  if (owner_ != nullptr) return owner_;
  return dynamic_cast<InplaceNotifyOwner*>(self_->parentWidget());
}

void InplaceEditorState::StoreOpening(int x, int y, int v1, int v2, const Rect& r) {
  OriginX = x;
  OriginY = y;
  Value1 = v1;
  Value2 = v2;
  EditRect = r;
  ExitKey = kInplaceExitEscape;
  focusLost_ = false;
}

void InplaceEditorState::ClearState() {
  Value1 = Value2 = 0;
  EditRect = Rect{};
  OriginX = OriginY = 0;
  ExitKey = kInplaceExitEscape;
}

int InplaceEditorState::SendNotify(const wchar_t* text, int selected) {
  InplaceNotifyOwner* owner = NotifyOwner();
  if (owner == nullptr) return 0;
  InplaceNotify notify;
  notify.hdr.hwndFrom = self_;
  notify.hdr.idFrom = controlId_;
  notify.hdr.code = kInplaceNotifyCode;
  notify.text = text;
  notify.selected = selected;
  notify.value1 = Value1;
  notify.value2 = Value2;
  notify.exitKey = ExitKey;
  return owner->OnInplaceNotify(controlId_, notify);
}

bool InplaceEditorState::Create(QWidget* parent, int controlId) {
  if (parent == nullptr) return false;
  self_->setParent(parent);
  controlId_ = controlId;
  self_->setGeometry(0, 0, 0, 0);
  self_->hide();
  return true;
}

void InplaceEditorState::ShowAt(const Rect& r, bool repaint) {
  MoveWindowToRect(self_, r, repaint);
  self_->show();
  self_->raise();
  // The editor ends when it loses the keyboard focus, so it must really get it: a window that
  // is not active (a dialog closed on a desktop without window manager leaves none active) only
  // remembers the focus and sends no focus events, and the editor would outlive any click
  // elsewhere.
  QWidget* window = self_->window();
  if (window->isVisible() && !window->isActiveWindow()) window->activateWindow();
  self_->setFocus(Qt::OtherFocusReason);
}

void InplaceEditorState::CommitRecord(const wchar_t* text, int selected) {
  if (busy_ != 0) return;
  busy_ = 1;
  const QPointer<QWidget> alive(self_);
  const int answer = SendNotify(text, selected);
  if (alive.isNull()) return;
  if (answer == 0) ResetEditor();
  busy_ = 0;
}

void InplaceEditorState::EndEdit(int exitKey, QEvent* e) {
  ExitKey = exitKey;
  focusLost_ = false;
  Commit();  // may destroy the editor: only the event is touched after it
  e->accept();
}

void InplaceEditorState::CommitOnFocusOut(const QFocusEvent& e) {
  if (e.reason() == Qt::PopupFocusReason || self_->isHidden() || busy_ != 0) return;
  ExitKey = kInplaceExitEnter;
  focusLost_ = true;
  Commit();
}

int TabExitKey(const QKeyEvent& event) {
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return 0;
  if (event.key() == Qt::Key_Backtab || (event.key() == Qt::Key_Tab && (event.modifiers() & Qt::ShiftModifier))) {
    return kInplaceExitBacktab;
  }
  return event.key() == Qt::Key_Tab ? kInplaceExitTab : 0;
}

bool IsEnterKey(const QKeyEvent& event) {
  if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) return true;
  return event.text() == QStringLiteral("\n") && !(event.modifiers() & Qt::ControlModifier);
}

void MoveWindowToRect(QWidget* window, const Rect& rect, bool repaint) {
  if (window == nullptr) return;
  window->setGeometry(QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top));
  if (repaint) window->repaint();
}

}  // namespace Brenno
