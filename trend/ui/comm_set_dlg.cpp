#include "trend/ui/comm_set_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "trend/ui/message.h"

namespace vandrel {

namespace {

QComboBox* ListBox(const std::vector<std::wstring>& items, const char* name) {
  auto* box = new QComboBox;
  box->setObjectName(QString::fromLatin1(name));
  for (const auto& item : items) box->addItem(ToQString(item));
  return box;
}

}  // namespace

CCommSetDlg::CCommSetDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("ModbusTCP配置"));
  interface_ = ListBox(InterfaceChoices(), "1021");
  timeout_ = new QLineEdit;
  timeout_->setObjectName(QStringLiteral("1007"));
  hostIp_ = new QLineEdit;
  hostIp_->setObjectName(QStringLiteral("1009"));
  hostPort_ = new QLineEdit;
  hostPort_->setObjectName(QStringLiteral("1011"));
  comPort_ = ListBox(ComPortChoices(), "1016");
  std::vector<std::wstring> bauds;
  for (int32_t rate : BaudRateChoices()) bauds.push_back(std::to_wstring(rate));
  baud_ = ListBox(bauds, "1017");
  dataBits_ = ListBox(DataBitsChoices(), "1018");
  stopBits_ = ListBox(StopBitsChoices(), "1019");
  parity_ = ListBox(ParityChoices(), "1020");

  auto* top = new QFormLayout;
  top->addRow(QStringLiteral("通讯接口："), interface_);
  auto* timeoutRow = new QHBoxLayout;
  timeoutRow->addWidget(timeout_);
  timeoutRow->addWidget(new QLabel(QStringLiteral("(毫秒)")));
  top->addRow(QStringLiteral("超时时间："), timeoutRow);

  auto* tcpGroup = new QGroupBox(QStringLiteral("ModbusTCP"));
  auto* tcpForm = new QFormLayout(tcpGroup);
  tcpForm->addRow(QStringLiteral("从站IP："), hostIp_);
  tcpForm->addRow(QStringLiteral("从站端口："), hostPort_);

  auto* serialGroup = new QGroupBox(QStringLiteral("Modbus串口"));
  auto* serialForm = new QFormLayout(serialGroup);
  serialForm->addRow(QStringLiteral("端口号："), comPort_);
  serialForm->addRow(QStringLiteral("波特率："), baud_);
  serialForm->addRow(QStringLiteral("数据位："), dataBits_);
  serialForm->addRow(QStringLiteral("停止位："), stopBits_);
  serialForm->addRow(QStringLiteral("校验位："), parity_);

  auto* buttons = new QDialogButtonBox;
  buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &CCommSetDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CCommSetDlg::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(tcpGroup);
  layout->addWidget(serialGroup);
  layout->addWidget(buttons);

  connect(interface_, &QComboBox::currentIndexChanged, this, [this] { UpdateEnabling(); });
  UpdateEnabling();
}

void CCommSetDlg::UpdateEnabling() {
  const bool tcp = TcpFieldsEnabled(interface_->currentIndex());
  hostIp_->setEnabled(tcp);
  hostPort_->setEnabled(tcp);
  for (QComboBox* box : {comPort_, baud_, dataBits_, stopBits_, parity_}) box->setEnabled(!tcp);
}

void CCommSetDlg::SetFields(const CommSetFields& f) {
  interface_->setCurrentIndex(f.Interface);
  timeout_->setText(ToQString(f.TimeoutText));
  hostIp_->setText(ToQString(f.HostIpText));
  hostPort_->setText(ToQString(f.HostPortText));
  comPort_->setCurrentIndex(f.ComPort);
  baud_->setCurrentIndex(f.Baud);
  dataBits_->setCurrentIndex(f.DataBits);
  stopBits_->setCurrentIndex(f.StopBits);
  parity_->setCurrentIndex(f.Parity);
  UpdateEnabling();
}

CommSetFields CCommSetDlg::Fields() const {
  CommSetFields f;
  f.Interface = interface_->currentIndex();
  f.TimeoutText = FromQString(timeout_->text());
  f.HostIpText = FromQString(hostIp_->text());
  f.HostPortText = FromQString(hostPort_->text());
  f.ComPort = comPort_->currentIndex();
  f.Baud = baud_->currentIndex();
  f.DataBits = dataBits_->currentIndex();
  f.StopBits = stopBits_->currentIndex();
  f.Parity = parity_->currentIndex();
  return f;
}

void CCommSetDlg::accept() {
  if (auto message = CheckCommSetFields(Fields())) {
    ShowInfoMessage(this, ToQString(*message));
    return;
  }
  QDialog::accept();
}

}  // namespace vandrel
