#include "ui/widgets/inplace_edit_comment.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTextBlock>
#include <QWheelEvent>

#include "ui/widgets/inplace_focus.h"

namespace Brenno {

CInplaceMultiLineEditBase::CInplaceMultiLineEditBase(QWidget* parent)
    : QPlainTextEdit(parent), InplaceEditorState(this) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setTabChangesFocus(false);
  setContextMenuPolicy(Qt::NoContextMenu);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  document()->setDocumentMargin(1);
  connect(this, &QPlainTextEdit::textChanged, this, [this] { OnTextChanged(); });
  hide();
}

void CInplaceMultiLineEditBase::SetTextQuietly(const std::wstring& text) {
  quiet_ = true;
  setPlainText(QString::fromStdWString(text));
  quiet_ = false;
}

void CInplaceMultiLineEditBase::Open(int x, int y, const std::wstring& text, const Rect& r) {
  openingText_ = text;
  StoreOpening(x, y, 0, 0, r);
  SetTextQuietly(text);
  ShowAt(r, false);
  lineCount_ = document()->blockCount();
}

void CInplaceMultiLineEditBase::Commit() {
  const std::wstring current = Text();
  CommitRecord(current.c_str(), -1);
}

void CInplaceMultiLineEditBase::ResetEditor() {
  openingText_.clear();
  ClearState();
  lineCount_ = 0;
  ReturnFocusToOwner(this, NotifyOwner());
  hide();
  SetTextQuietly(std::wstring());
  setGeometry(0, 0, 0, 0);
}

void CInplaceMultiLineEditBase::OnTextChanged() {
  if (quiet_ || busy_ != 0 || isHidden()) return;
  const int lines = document()->blockCount();
  if (lines == lineCount_) return;
  lineCount_ = lines;
  EditRect.bottom = EditRect.top + lines * kLineHeight + kExtraHeight;
  ExitKey = kInplaceExitLineCount;
  busy_ = 1;
  QPointer<QWidget> alive(this);
  const std::wstring current = Text();
  SendNotify(current.c_str(), -1);
  if (alive.isNull()) return;
  busy_ = 0;
}

bool CInplaceMultiLineEditBase::event(QEvent* e) {
  if (e->type() == QEvent::ShortcutOverride || e->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(e);
    const bool alt = (key->modifiers() & Qt::AltModifier) && !(key->modifiers() & Qt::ControlModifier);
    if (alt && !key->text().isEmpty()) {
      e->accept();
      return true;
    }
    if (e->type() == QEvent::ShortcutOverride) {
      // Every key belongs to the editor while it is open.
      switch (key->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Tab:
          e->accept();
          return true;
        default: break;
      }
    }
  }
  return QPlainTextEdit::event(e);
}

void CInplaceMultiLineEditBase::keyPressEvent(QKeyEvent* e) {
  QTextCursor cursor = textCursor();
  if (IsEnterKey(*e)) {
    // Every Enter starts a new line (Shift+Return as well, which would otherwise break the
    // line inside its paragraph, so that the editor would neither count nor grow it).
    cursor.insertBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
    e->accept();
    return;
  }
  switch (e->key()) {
    case Qt::Key_Escape:
      SetTextQuietly(openingText_);
      return EndEdit(kInplaceExitEscape, e);
    case Qt::Key_Up:
      if (!cursor.hasSelection() && cursor.blockNumber() == 0) return EndEdit(kInplaceExitUp, e);
      break;
    case Qt::Key_Down:
      if (!cursor.hasSelection() && cursor.blockNumber() == document()->blockCount() - 1) {
        return EndEdit(kInplaceExitDown, e);
      }
      break;
    default: break;
  }
  QPlainTextEdit::keyPressEvent(e);
  e->accept();
}

void CInplaceMultiLineEditBase::focusOutEvent(QFocusEvent* e) {
  QPlainTextEdit::focusOutEvent(e);
  CommitOnFocusOut(*e);
}

void CInplaceMultiLineEditBase::wheelEvent(QWheelEvent* e) {
  if (QWidget* target = WheelTargetOf(this, NotifyOwner())) {
    QWheelEvent copy(target->mapFromGlobal(e->globalPosition()), e->globalPosition(), e->pixelDelta(),
                     e->angleDelta(), e->buttons(), e->modifiers(), e->phase(), e->inverted(), e->source());
    QCoreApplication::sendEvent(target, &copy);
  }
  e->accept();
}

CInplaceEditComment::CInplaceEditComment(QWidget* parent) : CInplaceMultiLineEditBase(parent) {}
CInplaceEditContent::CInplaceEditContent(QWidget* parent) : CInplaceMultiLineEditBase(parent) {}

}  // namespace Brenno
