// The message boxes of the property sheet and its dialogs. Tests replace the box by a hook that
// records what would have been shown.
#pragma once

#include <functional>
#include <string>

class QWidget;

namespace corvell {

enum class MessageIcon { Error, Information };

// Caption, text and icon of a box that was asked for.
using MessageBoxHook = std::function<void(const std::wstring& caption, const std::wstring& text, MessageIcon icon)>;

// Installs a hook that receives every box instead of the screen; an empty hook restores the
// real boxes. Returns the previous hook.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

// A refused field: caption "System Block" / "系统块", error icon, OK button.
void ShowFieldErrorBox(QWidget* parent, int language, const std::wstring& text);

// A plain message (the Chinese-only messages of the module list and the Modbus master dialogs).
void ShowMessageBox(QWidget* parent, int language, const std::wstring& text);

}  // namespace corvell
