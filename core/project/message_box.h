// The message boxes through which the core shows errors to the user. The shell installs one
// implementation at start-up (a modal box over the main window that returns when the user closes
// it); tests install scripted ones. Without an installed implementation nothing is shown.
#pragma once

#include <string>

namespace Brenno {

// Icon flags of the boxes.
inline constexpr int kMessageIconStop = 0x10;
inline constexpr int kMessageIconQuestion = 0x20;
inline constexpr int kMessageIconWarning = 0x30;
// Added to the icon flag of a question: No is the default button (Enter answers No), for a
// question whose Yes throws work away.
inline constexpr int kMessageDefaultNo = 0x100;
// Results.
inline constexpr int kMessageResultOk = 1;
inline constexpr int kMessageResultYes = 6;
inline constexpr int kMessageResultNo = 7;

class MessageBoxServices {
 public:
  virtual ~MessageBoxServices() = default;
  // One OK button; returns kMessageResultOk.
  virtual int MessageBoxOk(const std::wstring& text, int icon) = 0;
  // Yes and No buttons; returns kMessageResultYes or kMessageResultNo.
  virtual int MessageBoxYesNo(const std::wstring& text, int icon) = 0;
};

// Installs the services (null removes them); the caller keeps ownership.
void InstallMessageBoxServices(MessageBoxServices* services);
MessageBoxServices* InstalledMessageBoxServices();

// Through the installed services; without them OK and No (nothing is shown, nothing confirmed).
int MessageBoxOk(const std::wstring& text, int icon);
int MessageBoxYesNo(const std::wstring& text, int icon);

}  // namespace Brenno
