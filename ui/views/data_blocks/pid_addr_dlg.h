// The head address of a PID parameter data block: a number of the "MB" area in 0..7500, asked
// before a PID, PIDF or DPID block is inserted. OK is refused, with a message and the focus back
// on the edit, until the edit holds such a number.
#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

namespace Brenno {

inline constexpr unsigned kPidHeadAddressMax = 7500;

// The reading of the edit's text.
enum class PidHeadAddressCheck { Ok, NoNumber, OutOfRange };

// The text must be decimal digits (blanks around them allowed) whose value lies in
// 0..kPidHeadAddressMax; on Ok the value is stored in `address`.
PidHeadAddressCheck CheckPidHeadAddressText(const std::wstring& text, unsigned* address);
// The message shown for a refused text; empty for Ok.
std::wstring PidHeadAddressMessage(PidHeadAddressCheck check);

class CPidAddrDlg : public QDialog {
 public:
  CPidAddrDlg(QWidget* parent, unsigned address);
  void accept() override;
  // The address that passed the check on OK (the initial one before).
  unsigned Address() const { return address_; }
  QLineEdit* Edit() const { return edit_; }

 private:
  QLineEdit* edit_ = nullptr;
  unsigned address_ = 0;
};

// Runs the dialog modally starting with `address`; on OK the entered address is stored there.
bool AskPidHeadAddress(QWidget* owner, unsigned& address);

}  // namespace Brenno
