// The protocol of the in-place editors, the small controls a window lays over one of its cells
// to edit it. The owner opens an editor with a text or a list of choices, a rectangle and two
// integer values of its own; the editor takes the keyboard focus; when the user leaves it, it
// reports the result to its owner with an InplaceNotify record naming the key that ended the
// editing, and the owner's answer decides whether the editor closes: 0 closes (hides and empties)
// it, anything else leaves it open for correction. Editors never check what was typed.
#pragma once

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

  int ControlId() const { return controlId_; }
  // Reports to this owner instead of the parent. Not owned; null goes back to the parent.
  void SetNotifyOwner(InplaceNotifyOwner* owner) { owner_ = owner; }
  InplaceNotifyOwner* NotifyOwner() const;
  // True while a notification is being sent.
  bool IsNotifying() const { return busy_ != 0; }

 protected:
  explicit InplaceEditorState(QWidget* self) : self_(self) {}
  void StoreOpening(int x, int y, int v1, int v2, const Rect& r);
  void ClearState();
  // Sends the record (text or selected index, the values and the exit key) to the owner and
  // returns its answer; 0 when there is no owner. Sets the busy flag for the time of the call;
  // returns -1 without sending when a notification is already being sent.
  int SendNotify(const wchar_t* text, int selected);

  int controlId_ = 0;
  int busy_ = 0;

 private:
  QWidget* self_;
  InplaceNotifyOwner* owner_ = nullptr;
};

// Moves a child window onto a rectangle of its parent's client area; repaints it at once when
// repaint is set.
void MoveWindowToRect(QWidget* window, const Rect& rect, bool repaint);

}  // namespace Brenno
