// The multi-line in-place edit boxes of the program editor view: CInplaceEditComment (network
// comments) and CInplaceEditContent (statement-list text). Enter starts a new line; the editing
// ends with Escape (27, opening text put back), Up on the first line (38), Down on the last line
// (40) or the loss of the focus (13). Whenever the number of lines changes, the editor's rect
// grows to top + lines x 13 + 4 and the owner gets a notification with exit key 45 (the editor
// stays open whatever it answers); the owner moves the editor onto the new EditRect. Wheel turns go
// to the owner, which scrolls. Values 1 and 2 are always 0.
#pragma once

#include <QPlainTextEdit>

#include <string>

#include "ui/widgets/inplace_notify.h"

namespace Brenno {

class CInplaceMultiLineEditBase : public QPlainTextEdit, public InplaceEditorState {
  Q_OBJECT
 public:
  // Pixels per line and the extra pixels of the grown rectangle.
  static constexpr int kLineHeight = 13;
  static constexpr int kExtraHeight = 4;

  void Open(int originX, int originY, const std::wstring& text, const Rect& rect);
  const std::wstring& OpeningText() const { return openingText_; }
  int LineCount() const { return lineCount_; }
  // The editor's text.
  std::wstring Text() const { return toPlainText().toStdWString(); }

 protected:
  explicit CInplaceMultiLineEditBase(QWidget* parent);
  void Commit() override;
  void ResetEditor() override;
  void OnTextChanged();
  void SetTextQuietly(const std::wstring& text);

  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  std::wstring openingText_;
  int lineCount_ = 0;
  bool quiet_ = false;
};

class CInplaceEditComment : public CInplaceMultiLineEditBase {
  Q_OBJECT
 public:
  explicit CInplaceEditComment(QWidget* parent = nullptr);
};

class CInplaceEditContent : public CInplaceMultiLineEditBase {
  Q_OBJECT
 public:
  explicit CInplaceEditContent(QWidget* parent = nullptr);
};

}  // namespace Brenno
