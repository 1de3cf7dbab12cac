// The protocol of the in-place editors, the small controls a window lays over one of its cells
// to edit it. The owner opens an editor with a text or a list of choices, a rectangle and two
// integer values of its own; the editor takes the keyboard focus; when the user leaves it, it
// reports the result to its owner with an InplaceNotify record naming the key that ended the
// editing, and the owner's answer decides whether the editor closes: 0 closes (hides and empties)
// it, anything else leaves it open for correction. Editors never check what was typed.
#pragma once

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include "core/env/utilities.h"

namespace Brenno {

// The notification code of every in-place editor.
constexpr int kInplaceNotifyCode = -4;

// The key that ended the editing.
enum InplaceExitKey {
  kInplaceExitEnter = 13,      // Enter, a click on a list item, or the editor lost the focus
  kInplaceExitEscape = 27,     // Escape: the opening text or choice is back in the record
  kInplaceExitUp = 38,         // Up on the first line of a multi-line editor
  kInplaceExitDown = 40,       // Down on the last line of a multi-line editor
  kInplaceExitLineCount = 45,  // the line count of a multi-line editor changed; it stays open
  kInplaceExitTab = 9,         // Tab in a table's editor: store, then on to the next cell
  kInplaceExitBacktab = -9,    // Shift+Tab in a table's editor: store, then back to the previous cell
};

// The standard header of a notification.
struct InplaceNotifyHeader {
  QWidget* hwndFrom = nullptr;  // the editor
  int idFrom = 0;               // its control id
  int code = kInplaceNotifyCode;
};

struct InplaceNotify {
  InplaceNotifyHeader hdr;
  // Edit boxes: the editor's current text, valid only during the notification (never null).
  const wchar_t* text = nullptr;
  // List boxes: the index of the selected choice, -1 when none (edit boxes: -1).
  int selected = -1;
  int value1 = 0;
  int value2 = 0;
  int exitKey = kInplaceExitEscape;
};

// The window an editor reports to: its parent when the parent implements this, or the owner
// set with SetNotifyOwner.
class InplaceNotifyOwner {
 public:
  virtual ~InplaceNotifyOwner() = default;
  // controlId is the editor's id (also in notify.hdr.idFrom). 0 closes the editor.
  virtual int OnInplaceNotify(int controlId, const InplaceNotify& notify) = 0;
};

// What every in-place editor holds besides its control. The owner may read the public fields.
class InplaceEditorState {
 public:
  int Value1 = 0;
  int Value2 = 0;
  int ExitKey = kInplaceExitEscape;
  // The editor's rectangle in the owner's client coordinates, as given at opening; the
  // multi-line editors grow its bottom.
  Rect EditRect;
  // What the owner gave at opening (the program editor view: its scroll positions then; the
  // table control: 0, 0). The owner keeps the editor at rect + origin - current scroll positions.
  int OriginX = 0;
  int OriginY = 0;

  // Makes the editor a hidden child of parent with the control id, on an empty rectangle.
  bool Create(QWidget* parent, int controlId);
  int ControlId() const { return controlId_; }
  // Reports to this owner instead of the parent. Not owned; null goes back to the parent.
  void SetNotifyOwner(InplaceNotifyOwner* owner) { owner_ = owner; }
  InplaceNotifyOwner* NotifyOwner() const;
  // True while a notification is being sent.
  bool IsNotifying() const { return busy_ != 0; }
  // True when the last edit ended because the editor lost the focus (a click elsewhere), not by a
  // key; the exit key is 13 either way.
  bool EndedByFocusLoss() const { return focusLost_; }

 protected:
  explicit InplaceEditorState(QWidget* self) : self_(self) {}
  virtual ~InplaceEditorState() = default;
  // Sends the notification and closes the editor (ResetEditor) when the owner answers 0.
  virtual void Commit() = 0;
  // Empties and hides the editor and gives the focus back to its owner.
  virtual void ResetEditor() = 0;
  void StoreOpening(int x, int y, int v1, int v2, const Rect& r);
  void ClearState();
  // Opens the editor on `r` of the owner's client area (repainted at once when `repaint` is set),
  // on top and with the focus, its window made active when it is not.
  void ShowAt(const Rect& r, bool repaint);
  // Sends the record (text or selected index, the values and the exit key) to the owner and
  // returns its answer; 0 when there is no owner. Sets the busy flag for the time of the call;
  // returns -1 without sending when a notification is already being sent.
  int SendNotify(const wchar_t* text, int selected);
  // Commit's work: unless a notification is already being sent, sends the record (busy for the
  // time of the call) and resets the editor when the owner answers 0. When the owner destroyed
  // the editor during the call, nothing of it is touched any more.
  void CommitRecord(const wchar_t* text, int selected);
  // Ends the edit with `exitKey` (Commit) and uses the key event up.
  void EndEdit(int exitKey, QEvent* e);
  // Losing the focus ends the edit as Enter does, except when the focus went to a popup, the
  // editor is hidden or a notification is being sent.
  void CommitOnFocusOut(const QFocusEvent& e);

  int controlId_ = 0;
  int busy_ = 0;
  bool focusLost_ = false;

 private:
  QWidget* self_;
  InplaceNotifyOwner* owner_ = nullptr;
};

// kInplaceExitTab for Tab, kInplaceExitBacktab for Shift+Tab (Backtab), 0 for any other key and
// for Tab with Ctrl or Alt (those belong to the windows around).
int TabExitKey(const QKeyEvent& event);

// Enter as the editors take it: Return, Enter on the keypad, or the line feed key (which types
// "\n"; X input tools send a typed line break as that key).
bool IsEnterKey(const QKeyEvent& event);

// Moves a child window onto a rectangle of its parent's client area; repaints it at once when
// repaint is set.
void MoveWindowToRect(QWidget* window, const Rect& rect, bool repaint);

}  // namespace Brenno
