// Where the keyboard focus goes when an in-place editor that holds it closes: back to the
// window it reports to, so that the user goes on with the keyboard where the editing started.
#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/widgets/inplace_notify.h"

namespace Brenno {

// When editor has the focus, gives it to the owner (when that is a window) or else to the
// editor's parent; nothing when the editor does not have the focus (nor would get it when its
// window is activated again).
void ReturnFocusToOwner(QWidget* editor, InplaceNotifyOwner* owner);

// The window that takes an editor's wheel turns: the owner (its viewport when it is a scroll
// area) or the parent.
QWidget* WheelTargetOf(QWidget* editor, InplaceNotifyOwner* owner);

// Gives the keyboard focus to the widget, activating its window first when another (or none) is
// active: a closed modal box leaves no window active on a desktop without window manager, and
// keys would then go nowhere.
void GiveKeyboardFocus(QWidget* target);

// Puts the keyboard focus back, when it goes out of scope, where it was when it was made (the
// fallback, when given, when that widget is gone or hidden by then). Made around a message box,
// so that the keys after it go on where they were going.
class FocusReturn {
 public:
  explicit FocusReturn(QWidget* fallback = nullptr);
  ~FocusReturn();
  FocusReturn(const FocusReturn&) = delete;
  FocusReturn& operator=(const FocusReturn&) = delete;

 private:
  QPointer<QWidget> before_;
  QPointer<QWidget> fallback_;
};

}  // namespace Brenno
