#include "ui/widgets/inplace_edit.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QMouseEvent>
#include <QFocusEvent>
#include <QKeyEvent>

#include "ui/widgets/inplace_focus.h"

namespace Brenno {

CInplaceLineEditBase::CInplaceLineEditBase(QWidget* parent, bool wantAllKeys, bool tabEnds)
    : QLineEdit(parent), InplaceEditorState(this), wantAllKeys_(wantAllKeys), tabEnds_(tabEnds) {
  setFrame(true);
  setTextMargins(0, 0, 0, 0);
  setContextMenuPolicy(Qt::NoContextMenu);
  hide();
}

void CInplaceLineEditBase::OpenEdit(int x, int y, const std::wstring& text, int v1, int v2, const Rect& r) {
  openingText_ = text;
  StoreOpening(x, y, v1, v2, r);
  setText(QString::fromStdWString(text));
  ShowAt(r, false);
  lineCount_ = 1;
}

void CInplaceLineEditBase::Commit() {
  const std::wstring current = text().toStdWString();
  CommitRecord(current.c_str(), -1);
}

void CInplaceLineEditBase::ResetEditor() {
  openingText_.clear();
  ClearState();
  lineCount_ = 0;
  ReturnFocusToOwner(this, NotifyOwner());
  hide();
  clear();
  setGeometry(0, 0, 0, 0);
}

bool CInplaceLineEditBase::event(QEvent* e) {
  if (e->type() == QEvent::ShortcutOverride || e->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(e);
    const bool alt = (key->modifiers() & Qt::AltModifier) && !(key->modifiers() & Qt::ControlModifier);
    const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
    if (tabEnds_ && e->type() == QEvent::KeyPress && TabExitKey(*key) != 0) {
      EndEdit(TabExitKey(*key), e);
      return true;
    }
    if ((alt && !key->text().isEmpty()) || (wantAllKeys_ && tab)) {
      // Alt+character would reach the menus; Tab would move the focus. Both end here.
      e->accept();
      return true;
    }
  }
  return QLineEdit::event(e);
}

void CInplaceLineEditBase::keyPressEvent(QKeyEvent* e) {
  if (IsEnterKey(*e)) return EndEdit(kInplaceExitEnter, e);
  switch (e->key()) {
    case Qt::Key_Escape:
      setText(QString::fromStdWString(openingText_));
      return EndEdit(kInplaceExitEscape, e);
    default:
      QLineEdit::keyPressEvent(e);
      if (wantAllKeys_) e->accept();
  }
}

void CInplaceLineEditBase::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  CommitOnFocusOut(*e);
}

CExtendInplaceEdit::CExtendInplaceEdit(QWidget* parent) : CInplaceLineEditBase(parent, false, true) {}

void CExtendInplaceEdit::Open(int originX, int originY, const std::wstring& text, int value1, int value2,
                              const Rect& rect) {
  OpenEdit(originX, originY, text, value1, value2, rect);
}

CInplaceEdit::CInplaceEdit(QWidget* parent) : CInplaceLineEditBase(parent, true, false) {}

void CInplaceEdit::Open(int originX, int originY, const std::wstring& text, int value1, const Rect& rect) {
  OpenEdit(originX, originY, text, value1, 0, rect);
  opened_.start();
}

bool CInplaceEdit::JustOpened() const {
  return opened_.isValid() && opened_.elapsed() <= QApplication::doubleClickInterval();
}

void CInplaceEdit::mousePressEvent(QMouseEvent* event) {
  if (JustOpened()) return event->accept();
  CInplaceLineEditBase::mousePressEvent(event);
}

void CInplaceEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  if (JustOpened()) return event->accept();
  CInplaceLineEditBase::mouseDoubleClickEvent(event);
}

}  // namespace Brenno
