// Shared pieces of the instruction input box and the instruction editor dialogs: reading a
// control's text, the validity and element kind icons, dialog-unit placement of controls, and
// the resize layout that moves and stretches each control by a fixed fraction of the growth.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <string>
#include <vector>

class QLabel;

namespace Brenno {

// The text of a window: an edit's contents, a button's or label's text, a combo box's shown
// line, otherwise the window title; the empty text for a window without text or for null.
void GetWindowWideText(const QWidget* window, std::wstring& text);
// Sets an edit's (or other text control's) text.
void SetWindowWideText(QWidget* window, const std::wstring& text);

// Icon numbers (added to the resource base): 180 empty (not valid), 181 check mark (valid),
// 182..187 the element kinds (normally open, normally closed, rising edge, falling edge, coil, box).
inline constexpr int kIconInvalid = 180;
inline constexpr int kIconValid = 181;
inline constexpr int kIconKindFirst = 182;
QPixmap InstructionIcon(int number);
// Shows the icon in the static and records its number in the property "iconNumber".
void ShowIcon(QLabel* label, int number);
// Check mark or empty icon.
void ShowValidity(QLabel* label, bool valid);
// The icon number a static shows (0 when none).
int ShownIcon(const QLabel* label);

// A fraction of the growth: num * growth / den.
struct GrowthShare {
  int num = 0;
  int den = 1;
  int Of(int growth) const { return num * growth / den; }
};

// How a control follows the dialog's growth: moved right and down, widened and heightened.
struct ResizeRule {
  GrowthShare MoveX;
  GrowthShare MoveY;
  GrowthShare GrowW;
  GrowthShare GrowH;
};

// The rectangle of a control after the dialog grew by dx and dy (neither below 0).
QRect ApplyResizeRule(const QRect& initial, const ResizeRule& rule, int dx, int dy);

// The width a control needs to show its text whole: a label's, check box's or radio button's size
// hint, a push button's text with its margins; 0 for a control whose text may be cut (a wrapped
// label) or that shows none.
int TextWidthNeeded(const QWidget* widget);

// Base of the five dialogs: controls are placed in dialog units of the dialog's font, their
// rectangles and the dialog's size are saved once the dialog is built, and every resize moves the
// controls by their rules. The minimum size is the initial size. Where a text would be cut at
// the font in use (fonts differ in width from the one the dialog units were drawn for), the
// whole dialog is widened by the factor the tightest text needs.
class CInstructionDialogBase : public QDialog {
  Q_OBJECT
 public:
  explicit CInstructionDialogBase(QWidget* parent);

  // The re-entry guard: while set, change notifications of the controls do nothing.
  bool Guarded() const { return guard_ != 0; }

 protected:
  // Pixels of a rectangle given in dialog units.
  QRect Dlu(int x, int y, int w, int h) const;
  // Pixels of four horizontal dialog units at the font, before any widening.
  int BaseX() const;
  // Places a control and gives it its name and its control id (command-id base + offset; 0 for
  // none, the fixed ids 1, 2 and 9 passed as negative offsets -1, -2, -9).
  template <class Widget>
  Widget* Place(Widget* widget, const char* name, int offset, QRect dlu, ResizeRule rule = {}) {
    PlaceWidget(widget, name, offset, dlu, rule);
    return widget;
  }
  void PlaceWidget(QWidget* widget, const char* name, int offset, QRect dlu, ResizeRule rule);
  // Sizes the dialog to its template (dialog units), saves every rectangle and sets the minimum
  // size; a dialog that is not resizable gets a fixed size.
  void FinishLayout(int widthDlu, int heightDlu, bool resizable);

  void resizeEvent(QResizeEvent* event) override;

  int guard_ = 0;

 private:
  struct Placed {
    QWidget* widget = nullptr;
    ResizeRule rule;
    QRect dlu;
    QRect initial;
  };
  std::vector<Placed> placed_;
  // Widening of the horizontal dialog unit in percent (100: as the font gives it).
  int widthPercent_ = 100;
  QSize initialSize_;
  bool saved_ = false;
};

// Runs `body` with the guard set, restoring its previous value afterwards.
class GuardScope {
 public:
  explicit GuardScope(int& guard) : guard_(guard), previous_(guard) { guard_ = 1; }
  ~GuardScope() { guard_ = previous_; }
  GuardScope(const GuardScope&) = delete;
  GuardScope& operator=(const GuardScope&) = delete;

 private:
  int& guard_;
  int previous_;
};

class Project;
// The current project of the installed environment; null when there is none.
const Project* CurrentProjectOrNull();
// True while the communication state of the installed environment is offline.
bool IsCommOfflineNow();

// After a dialog that a Reference button opened has closed: the keyboard goes back to the edit
// the dialog was opened for, in its (re-activated) window, so that typing and Enter go on there.
void ReturnKeyboardTo(QWidget* edit);

// Texts in the running language.
QString PickQ(const wchar_t* english, const wchar_t* chinese);
// The command-id base of the running language (1000 English, 2000 Chinese).
int CommandIdBaseNow();

}  // namespace Brenno
