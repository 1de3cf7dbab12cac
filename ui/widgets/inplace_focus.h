// Where the keyboard focus goes when an in-place editor that holds it closes: back to the
// window it reports to, so that the user goes on with the keyboard where the editing started.
#pragma once

#include <QWidget>

#include "ui/widgets/inplace_notify.h"

namespace Brenno {

// When editor has the focus, gives it to the owner (when that is a window) or else to the
// editor's parent; nothing when the editor does not have the focus.
void ReturnFocusToOwner(QWidget* editor, InplaceNotifyOwner* owner);

// The window that takes an editor's wheel turns: the owner (its viewport when it is a scroll
// area) or the parent.
QWidget* WheelTargetOf(QWidget* editor, InplaceNotifyOwner* owner);

}  // namespace Brenno
