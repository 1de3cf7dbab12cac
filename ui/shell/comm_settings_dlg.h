// The communication settings dialog: the port (simulator pipe, network, relay or a serial
// port), the station, baud rate and parity of a serial port, the PLC's IPv4 address with its
// detection, and the relay's TCP port and telephone number. EditCommunicationSettings runs it
// over the link settings of the configuration.
#pragma once

#include <QDialog>

#include <memory>
#include <string>
#include <thread>

#include "ui/shell/address_detection.h"
#include "ui/shell/comm_settings_fields.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace Brenno {

class CIpAddressCtrl;
class PlcConfig;

class CMainCommunicationDlg : public QDialog {
  Q_OBJECT
 public:
  // `ports` is the list the positions index (BuildPortList); `fields` the values shown.
  CMainCommunicationDlg(QWidget* parent, CommPortList ports, const CommSettingsFields& fields);
  // Ends a running detection (its result is dropped) before the controls go.
  ~CMainCommunicationDlg() override;

  // Takes the values from the controls; refuses (with the standard message, the focus on the
  // field, the dialog open) a TCP port that is not a number.
  void accept() override;
  // The values read back on OK.
  const CommSettingsFields& Fields() const { return fields_; }

  // Where the detection listens (port 2003 on every local address unless a test points it
  // elsewhere).
  void SetDetectionSettings(const DetectionSettings& settings) { detection_ = settings; }
  // The port the running detection listens on; -1 when none runs or its socket failed.
  int DetectionPort() const { return detectionPort_; }
  bool DetectionRunning() const { return detector_ != nullptr; }

  QComboBox* StationList() const { return station_; }
  QComboBox* PortList() const { return port_; }
  QComboBox* BaudList() const { return baud_; }
  QComboBox* ParityList() const { return parity_; }
  CIpAddressCtrl* IpAddress() const { return ip_; }
  QPushButton* DetectButton() const { return detect_; }
  QLineEdit* TcpPortEdit() const { return tcpPort_; }
  QLineEdit* TelephoneEdit() const { return telephone_; }

 signals:
  // Emitted on the GUI thread once a detection has ended and its result is shown; the value is
  // the DetectionOutcome.
  void DetectionFinished(int outcome);

 private:
  void ShowFields();
  // Reads the lists, the address and the telephone number (not the TCP port).
  void TakeFields();
  void ApplyPortRule();
  void OnDetectIp();
  void OnDetectionDone(DetectionResult result);

  CommPortList ports_;
  CommSettingsFields fields_;
  DetectionSettings detection_;
  std::unique_ptr<PlcAddressDetector> detector_;
  std::thread detectionThread_;
  int detectionPort_ = -1;

  QComboBox* station_ = nullptr;
  QComboBox* port_ = nullptr;
  QComboBox* baud_ = nullptr;
  QComboBox* parity_ = nullptr;
  CIpAddressCtrl* ip_ = nullptr;
  QPushButton* detect_ = nullptr;
  QLineEdit* tcpPort_ = nullptr;
  QLineEdit* telephone_ = nullptr;
};

// Runs the dialog over the seven link values; true on OK with all of them stored, false on
// Cancel with none changed.
bool EditCommunicationSettings(QWidget* owner, int& parity, uint32_t& ipAddress, int& station,
                               std::wstring& portName, int& baudrate, std::wstring& telephone, int& tcpPort);
// The same on the link settings of the configuration (what the Communications command calls).
bool EditCommunicationSettings(QWidget* owner, PlcConfig& config);

}  // namespace Brenno
