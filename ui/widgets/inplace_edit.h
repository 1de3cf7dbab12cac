// The one-line in-place edit boxes: CExtendInplaceEdit, which the table control lays over a
// cell, and CInplaceEdit, which the program editor view lays over an operand. Both end the
// editing with Enter (exit key 13), Escape (27, the opening text put back) or the loss of the
// focus (13), and report through InplaceNotify (ui/widgets/inplace_notify.h). The table's edit
// box also ends it with Tab (9) and Shift+Tab (-9), so that the table moves on to another cell.
//
// Use: construct, Create(parent, id) once (the editor stays hidden), set its font (and palette
// for a text colour), then Open(...) for each edit; the owner's OnInplaceNotify answer 0 closes
// it again. Alt+character does not reach the menus while the editor has the focus.
#pragma once

#include <QElapsedTimer>
#include <QLineEdit>

#include <string>

#include "ui/widgets/inplace_notify.h"

namespace Brenno {

class CInplaceLineEditBase : public QLineEdit, public InplaceEditorState {
  Q_OBJECT
 public:
  // The text given at opening (Escape puts it back).
  const std::wstring& OpeningText() const { return openingText_; }
  // The number of lines the editor held when last measured (1 while open, 0 when closed).
  int LineCount() const { return lineCount_; }

 protected:
  // wantAllKeys: Tab and Shift+Tab are swallowed; tabEnds: they end the editing.
  CInplaceLineEditBase(QWidget* parent, bool wantAllKeys, bool tabEnds);
  void OpenEdit(int x, int y, const std::wstring& text, int v1, int v2, const Rect& r);
  // Sends the notification and closes the editor when the owner answers 0.
  void Commit() override;
  void ResetEditor() override;

  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  std::wstring openingText_;
  int lineCount_ = 0;
  bool wantAllKeys_;
  bool tabEnds_;
};

// The table control's edit box: opened with the origin, the text, value 1, value 2 and the
// rectangle. Tab and Shift+Tab end the editing (exit keys 9 and -9).
class CExtendInplaceEdit : public CInplaceLineEditBase {
  Q_OBJECT
 public:
  explicit CExtendInplaceEdit(QWidget* parent = nullptr);
  void Open(int originX, int originY, const std::wstring& text, int value1, int value2, const Rect& rect);
};

// The program editor view's operand edit box: value 2 is 0. It keeps every key (Tab, Enter,
// Escape, arrows) also inside dialogs. It opens under the pointer on a click, so the second click
// of a double click lands on it: a press within the double-click time of its opening leaves the
// text as the opening selected it (the whole operand), and typing replaces it, never appends.
class CInplaceEdit : public CInplaceLineEditBase {
  Q_OBJECT
 public:
  explicit CInplaceEdit(QWidget* parent = nullptr);
  void Open(int originX, int originY, const std::wstring& text, int value1, const Rect& rect);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  bool JustOpened() const;
  QElapsedTimer opened_;
};

}  // namespace Brenno
