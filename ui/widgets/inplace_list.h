// The in-place choice lists: CExtendInplaceList, which the table control drops below a choice
// cell, and CInplaceList, which the program editor view uses. The editing ends with Enter or a
// click on an item (exit key 13, the selected index reported), Escape (27, the initial index
// selected again and reported) or the loss of the focus (13); the table's list also with Tab (9)
// and Shift+Tab (-9), the highlighted choice taken. The middle button does nothing.
//
// Use: construct, Create(parent, id) once, set the font, then Open(...) with the choices; the
// owner's OnInplaceNotify answer 0 closes it. ChoiceListHeight and CalcDropListWidth give the
// size a drop list needs for its choices in its font.
#pragma once

#include <QListWidget>

#include <string>
#include <vector>

#include "ui/widgets/inplace_notify.h"

class QFontMetrics;

namespace Brenno {

class CInplaceListBase : public QListWidget, public InplaceEditorState {
  Q_OBJECT
 public:
  int InitialIndex() const { return initialIndex_; }
  // The selected choice, -1 when none.
  int SelectedIndex() const;
  // Selects the first choice that begins with the text (case-insensitive), searching from the
  // top; keys typed soon after go on with the search as in any list. Without a match the
  // selection stays.
  void SearchFromTop(const QString& text);

 protected:
  // tabEnds: Tab and Shift+Tab end the editing; otherwise they are swallowed.
  CInplaceListBase(QWidget* parent, bool tabEnds);
  void OpenList(int x, int y, int v1, int v2, const std::vector<std::wstring>& choices, int initial, const Rect& r);
  void Commit() override;
  void ResetEditor() override;
  void SelectIndex(int index);

  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  int initialIndex_ = 0;
  bool tabEnds_;
};

class CExtendInplaceList : public CInplaceListBase {
  Q_OBJECT
 public:
  explicit CExtendInplaceList(QWidget* parent = nullptr);
  void Open(int originX, int originY, int value1, int value2, const std::vector<std::wstring>& choices,
            int initialIndex, const Rect& rect);
};

// Opens with the first choice selected.
class CInplaceList : public CInplaceListBase {
  Q_OBJECT
 public:
  explicit CInplaceList(QWidget* parent = nullptr);
  void Open(int originX, int originY, int value1, int value2, const std::vector<std::wstring>& choices,
            const Rect& rect);
};

// Height of a drop list showing every choice: the height of "0" in the font x choices + 2.
int ChoiceListHeight(const QFontMetrics& metrics, int choiceCount);
// Width of a drop list: the widest choice + the width of "0" + the width of a vertical bar.
int CalcDropListWidth(const QFontMetrics& metrics, const std::vector<std::wstring>& choices, int scrollBarWidth);

}  // namespace Brenno
