// "ModbusTCP配置": the link settings.
#pragma once

#include <QDialog>

#include "trend/config/dialog_checks.h"

class QComboBox;
class QLineEdit;

namespace vandrel {

class CCommSetDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CCommSetDlg(QWidget* parent = nullptr);

  void SetFields(const CommSetFields& fields);
  CommSetFields Fields() const;

  QComboBox* InterfaceBox() const { return interface_; }
  QLineEdit* TimeoutEdit() const { return timeout_; }
  QLineEdit* HostIpEdit() const { return hostIp_; }
  QLineEdit* HostPortEdit() const { return hostPort_; }
  QComboBox* ComPortBox() const { return comPort_; }
  QComboBox* BaudBox() const { return baud_; }
  QComboBox* DataBitsBox() const { return dataBits_; }
  QComboBox* StopBitsBox() const { return stopBits_; }
  QComboBox* ParityBox() const { return parity_; }

 public slots:
  void accept() override;

 private:
  void UpdateEnabling();

  QComboBox* interface_;
  QLineEdit* timeout_;
  QLineEdit* hostIp_;
  QLineEdit* hostPort_;
  QComboBox* comPort_;
  QComboBox* baud_;
  QComboBox* dataBits_;
  QComboBox* stopBits_;
  QComboBox* parity_;
};

}  // namespace vandrel
