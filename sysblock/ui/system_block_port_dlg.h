// The "Port(s)" page of the system-block property sheet: the two serial ports, the network
// settings, and the button that opens the Modbus master dialog on the master image.
#pragma once

#include <QComboBox>
#include <QLineEdit>

#include <QWidget>
#include <array>

#include "sysblock/model/port_settings_page.h"
#include "sysblock/ui/property_page.h"

class QSpinBox;

namespace corvell {

// Control id offsets of the page (besides those of port_settings_page.h).
constexpr int kPort0ProtocolControl = 30101;
constexpr int kPort1ProtocolControl = 30121;
constexpr int kPort0FreePortFirstControl = 30110;
constexpr int kPort1FreePortFirstControl = 30130;
constexpr int kTcpPortControl = 30466;
constexpr int kIpAddressControl = 30656;  // then subnet mask 30657, default gateway 30658
constexpr int kAdvancedOptionsControl = 30465;
constexpr int kDefaultsButton = 5;

// Four octet boxes standing for one IP address control.
class CIpAddressCtrl : public QWidget {
 public:
  explicit CIpAddressCtrl(QWidget* parent = nullptr);
  void SetAddress(const uint8_t* octets);
  void GetAddress(uint8_t* octets) const;
  QSpinBox* Octet(int i) const { return octets_[i]; }

 private:
  std::array<QSpinBox*, 4> octets_{};
};

class CSystemBlockPortDlg : public CPropertyPage {
 public:
  CSystemBlockPortDlg(PortSettingsPage& fields, int language, QWidget* parent = nullptr);

  bool OnKillActive() override;

  // Button "Defaults".
  void OnDefaults();
  // Button "advanced options": the Modbus master dialog on the master image; the image takes
  // the dialog's records only when it ends with OK.
  void OnAdvancedOptions();
  // Shows the Modbus controls of a port, or its free-port controls when it is on free port.
  void ApplyProtocolRule(int port);

  QComboBox* ListControl(int offset) const { return Control<QComboBox>(offset); }
  QLineEdit* EditControl(int offset) const { return Control<QLineEdit>(offset); }
  CIpAddressCtrl* IpControl(int i) const { return ip_[i]; }

 protected:
  void OnInitDialog() override;

 private:
  static int PortBase(int port) { return port == 0 ? 30100 : 30120; }
  static int FreePortBase(int port) { return port == 0 ? kPort0FreePortFirstControl : kPort1FreePortFirstControl; }
  void BuildControls();
  void ControlsFromFields();
  // Reads the port lists and edits into a copy of the fields (no checks).
  void ReadPortControls(PortSettingsPage& into) const;

  PortSettingsPage& fields_;
  int language_;
  std::array<CIpAddressCtrl*, 3> ip_{};
};

}  // namespace corvell
