#include "sysblock/ui/system_block_port_dlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "sysblock/model/modbus_master_image.h"
#include "sysblock/ui/data_exchange.h"
#include "sysblock/ui/message_box.h"
#include "sysblock/ui/modbus_master_cfg_dlg.h"

namespace corvell {

namespace {

QString T(int language, const wchar_t* english, const wchar_t* chinese) {
  return QString::fromWCharArray(PickText(language, english, chinese));
}

QString Q(const std::wstring& text) { return QString::fromStdWString(text); }

const QValidator* DigitsOnly(QObject* owner) {
  return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), owner);
}

int ClampToInt(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

}  // namespace

CIpAddressCtrl::CIpAddressCtrl(QWidget* parent) : QWidget(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  for (int i = 0; i < 4; ++i) {
    octets_[i] = new QSpinBox(this);
    octets_[i]->setRange(0, 255);
    octets_[i]->setButtonSymbols(QAbstractSpinBox::NoButtons);
    layout->addWidget(octets_[i]);
    if (i < 3) layout->addWidget(new QLabel(QStringLiteral("."), this));
  }
}

void CIpAddressCtrl::SetAddress(const uint8_t* octets) {
  for (int i = 0; i < 4; ++i) octets_[i]->setValue(octets[i]);
}

void CIpAddressCtrl::GetAddress(uint8_t* octets) const {
  for (int i = 0; i < 4; ++i) octets[i] = static_cast<uint8_t>(octets_[i]->value());
}

CSystemBlockPortDlg::CSystemBlockPortDlg(PortSettingsPage& fields, int language, QWidget* parent)
    : CPropertyPage(T(language, L"Port(s)", L"通讯端口"), parent), fields_(fields), language_(language) {
  BuildControls();
}

void CSystemBlockPortDlg::BuildControls() {
  const int l = language_;
  auto* page = new QVBoxLayout(this);

  auto* serial = new QGridLayout;
  serial->addWidget(new QLabel(T(l, L"Port 0", L"端口0(232)"), this), 0, 1);
  serial->addWidget(new QLabel(T(l, L"Port 1", L"端口1(485)"), this), 0, 2);
  const QString rows[8] = {T(l, L"Protocol", L"通讯协议"),
                           T(l, L"Baud Rate", L"波特率"),
                           T(l, L"Data Bit", L"数据位"),
                           T(l, L"Parity", L"奇偶校验"),
                           T(l, L"Stop Bit", L"停止位"),
                           T(l, L"PLC Address", L"PLC地址"),
                           T(l, L"Response Timeout (100ms)", L"响应超时(100ms)"),
                           T(l, L"Interval Frame Delay (1ms)", L"帧间隔时间(1ms)")};
  for (int r = 0; r < 8; ++r) serial->addWidget(new QLabel(rows[r], this), r + 1, 0);
  serial->addWidget(new QLabel(T(l, L"(range 0... 255)", L"(范围 0... 255)"), this), 6, 3);
  serial->addWidget(new QLabel(T(l, L"(range 1... 255)", L"(范围 1... 255)"), this), 7, 3);
  serial->addWidget(new QLabel(T(l, L"(range 1... 255)", L"(范围 1... 255)"), this), 8, 3);

  for (int p = 0; p < 2; ++p) {
    const int base = PortBase(p);
    for (int k = 1; k <= 5; ++k) {
      auto* list = new QComboBox(this);
      list->setObjectName(ControlName(base + k));
      serial->addWidget(list, k, p + 1);
    }
    for (int k = 6; k <= 8; ++k) {
      auto* edit = new QLineEdit(this);
      edit->setObjectName(ControlName(base + k));
      edit->setValidator(DigitsOnly(edit));
      serial->addWidget(edit, k, p + 1);
    }
    // The free-port controls share the cells of the seven Modbus controls; they carry no data.
    for (int k = 0; k < 7; ++k) {
      QWidget* control = k < 4 ? static_cast<QWidget*>(new QComboBox(this)) : new QLineEdit(this);
      control->setObjectName(ControlName(FreePortBase(p) + k));
      control->hide();
      serial->addWidget(control, k + 2, p + 1);
    }
    QComboBox* protocol = ListControl(base + 1);
    connect(protocol, &QComboBox::currentIndexChanged, this, [this, p](int) { ApplyProtocolRule(p); });
  }
  page->addLayout(serial);

  auto* network = new QGroupBox(T(l, L"Port2(Network)", L"端口2(网络)"), this);
  auto* grid = new QGridLayout(network);
  const QString netRows[3] = {T(l, L"IP Adress:", L"IP地址:"), T(l, L"Subnet Mask:", L"子网掩码:"),
                              T(l, L"Default Gateway:", L"默认网关:")};
  for (int i = 0; i < 3; ++i) {
    grid->addWidget(new QLabel(netRows[i], network), i, 0);
    ip_[i] = new CIpAddressCtrl(network);
    ip_[i]->setObjectName(ControlName(kIpAddressControl + i));
    grid->addWidget(ip_[i], i, 1);
  }
  grid->addWidget(new QLabel(T(l, L"TCP Port：", L"TCP端口："), network), 3, 0);
  auto* tcpPort = new QLineEdit(network);
  tcpPort->setObjectName(ControlName(kTcpPortControl));
  tcpPort->setValidator(DigitsOnly(tcpPort));
  grid->addWidget(tcpPort, 3, 1);
  grid->addWidget(new QLabel(T(l, L"TCP Address：", L"TCP地址："), network), 4, 0);
  auto* tcpAddress = new QLineEdit(network);
  tcpAddress->setObjectName(ControlName(kTcpAddressControl));
  tcpAddress->setValidator(DigitsOnly(tcpAddress));
  grid->addWidget(tcpAddress, 4, 1);
  page->addWidget(network);

  auto* buttons = new QHBoxLayout;
  auto* defaults = new QPushButton(T(l, L"Defaults", L"默认值"), this);
  defaults->setObjectName(ControlName(kDefaultsButton));
  connect(defaults, &QPushButton::clicked, this, [this] { OnDefaults(); });
  auto* advanced = new QPushButton(T(l, L"advanced options", L"高级选项"), this);
  advanced->setObjectName(ControlName(kAdvancedOptionsControl));
  connect(advanced, &QPushButton::clicked, this, [this] { OnAdvancedOptions(); });
  buttons->addWidget(defaults);
  buttons->addStretch();
  buttons->addWidget(advanced);
  page->addLayout(buttons);
  page->addWidget(new QLabel(T(l, L"Configuration parameters must be downloaded before they take effect.",
                               L"系统块设置参数必须下载才能生效"),
                             this));
}

void CSystemBlockPortDlg::OnInitDialog() {
  static const wchar_t* const kProtocols[] = {L"ModbusSlave", L"ModbusMaster", L"自由口"};
  static const wchar_t* const kBauds[] = {L"1200 bps",  L"2400 bps",  L"4800 bps",  L"9600 bps",
                                          L"19200 bps", L"38400 bps", L"57600 bps", L"115200 bps"};
  static const wchar_t* const kParities[] = {L"NONE", L"ODD", L"EVEN"};
  for (int p = 0; p < 2; ++p) {
    const int base = PortBase(p);
    for (auto* text : kProtocols) ListControl(base + 1)->addItem(QString::fromWCharArray(text));
    for (auto* text : kBauds) ListControl(base + 2)->addItem(QString::fromWCharArray(text));
    ListControl(base + 3)->addItem(QStringLiteral("8 (RTU)"));
    for (auto* text : kParities) ListControl(base + 4)->addItem(QString::fromWCharArray(text));
    ListControl(base + 5)->addItem(QStringLiteral("1 Bit"));
  }
  fields_.ParseNetworkBlock();
  ControlsFromFields();
}

void CSystemBlockPortDlg::ControlsFromFields() {
  for (int p = 0; p < 2; ++p) {
    const SerialPortFields& port = fields_.Ports[p];
    const int base = PortBase(p);
    // A stored index the list does not offer leaves the list without a selection.
    auto select = [this](int offset, int index) {
      QComboBox* list = ListControl(offset);
      list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
    };
    select(base + 1, port.Protocol);
    select(base + 2, port.Baud);
    select(base + 3, port.DataBits);
    select(base + 4, port.Parity);
    select(base + 5, port.StopBits);
    EditControl(base + 6)->setText(Q(port.PlcAddress));
    EditControl(base + 7)->setText(Q(port.ResponseTimeout));
    EditControl(base + 8)->setText(Q(port.FrameDelay));
    ApplyProtocolRule(p);
  }
  EditControl(kTcpPortControl)->setText(QString::number(fields_.TcpPort));
  EditControl(kTcpAddressControl)->setText(QString::number(fields_.TcpAddress));
  for (int i = 0; i < 3; ++i) ip_[i]->SetAddress(fields_.NetworkFields.data() + 4 * i);
}

void CSystemBlockPortDlg::ApplyProtocolRule(int port) {
  const int base = PortBase(port);
  QComboBox* protocol = ListControl(base + 1);
  if (protocol == nullptr) return;
  const bool freePort = protocol->currentIndex() == 2;
  for (int k = 0; k < 7; ++k) {
    Control<QWidget>(base + 2 + k)->setVisible(!freePort);
    Control<QWidget>(FreePortBase(port) + k)->setVisible(freePort);
  }
}

void CSystemBlockPortDlg::ReadPortControls(PortSettingsPage& into) const {
  for (int p = 0; p < 2; ++p) {
    SerialPortFields& port = into.Ports[p];
    const int base = PortBase(p);
    port.Protocol = ListControl(base + 1)->currentIndex();
    port.Baud = ListControl(base + 2)->currentIndex();
    port.DataBits = ListControl(base + 3)->currentIndex();
    port.Parity = ListControl(base + 4)->currentIndex();
    port.StopBits = ListControl(base + 5)->currentIndex();
    port.PlcAddress = EditControl(base + 6)->text().toStdWString();
    port.ResponseTimeout = EditControl(base + 7)->text().toStdWString();
    port.FrameDelay = EditControl(base + 8)->text().toStdWString();
  }
}

bool CSystemBlockPortDlg::OnKillActive() {
  if (!IsInitialized()) return true;
  PortSettingsPage scratch = fields_;
  ReadPortControls(scratch);
  const ExchangeResult tcpAddress =
      ExchangeInteger(EditControl(kTcpAddressControl)->text().toStdWString(), 1, 0, language_);
  if (tcpAddress.Value) scratch.TcpAddress = ClampToInt(*tcpAddress.Value);

  auto refuse = [this](int offset, const std::wstring& message) {
    ShowFieldErrorBox(this, language_, message);
    if (QWidget* control = Control<QWidget>(offset)) control->setFocus();
    return false;
  };
  if (auto error = scratch.ValidatePortFields(language_)) return refuse(error->ControlOffset, error->Message);

  const ExchangeResult tcpPort =
      ExchangeInteger(EditControl(kTcpPortControl)->text().toStdWString(), 1, 65535, language_);
  if (!tcpPort.Value) return refuse(kTcpPortControl, tcpPort.Message);
  if (!tcpAddress.Value) return refuse(kTcpAddressControl, tcpAddress.Message);
  scratch.TcpPort = ClampToInt(*tcpPort.Value);

  for (int i = 0; i < 3; ++i) ip_[i]->GetAddress(scratch.NetworkFields.data() + 4 * i);
  scratch.BuildNetworkBlock();
  fields_ = scratch;
  return true;
}

void CSystemBlockPortDlg::OnDefaults() {
  fields_.Defaults();
  if (IsInitialized()) ControlsFromFields();
}

void CSystemBlockPortDlg::OnAdvancedOptions() {
  CModbusMasterCfgDlg dialog(language_, this);
  dialog.MasterRecords = SplitMasterImage(fields_.ModbusMasterImage);
  if (dialog.exec() == QDialog::Accepted) fields_.ModbusMasterImage = JoinMasterImage(dialog.MasterRecords);
}

}  // namespace corvell
