#include "ui/shell/comm_settings_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/env/language.h"
#include "core/env/plc_config.h"
#include "core/link/comm_port.h"
#include "core/project/message_box.h"
#include "ui/shell/ip_address_ctrl.h"

namespace Brenno {

namespace {

QString Pick(const wchar_t* english, const wchar_t* chinese) { return QString::fromWCharArray(PickText(english, chinese)); }

// The icon the standard message box gives a message without one of its own.
constexpr int kStandardMessageIcon = 0x30;

QComboBox* AddList(QDialog* dialog, QGridLayout* grid, int row, const QString& label, const char* name) {
  auto* text = new QLabel(label, dialog);
  grid->addWidget(text, row, 0);
  auto* list = new QComboBox(dialog);
  list->setObjectName(QString::fromLatin1(name));
  list->setMaxVisibleItems(16);
  text->setBuddy(list);
  grid->addWidget(list, row, 1, 1, 2);
  return list;
}

// Selects the entry, or none for a position outside the list.
void SelectPosition(QComboBox* list, int position) {
  list->setCurrentIndex(position >= 0 && position < list->count() ? position : -1);
}

}  // namespace

CMainCommunicationDlg::CMainCommunicationDlg(QWidget* parent, CommPortList ports, const CommSettingsFields& fields)
    : QDialog(parent), ports_(std::move(ports)), fields_(fields) {
  setWindowTitle(Pick(L"Communication", L"通讯"));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  station_ = AddList(this, grid, 0, Pick(L"Station:", L"站号:"), "Station");
  port_ = AddList(this, grid, 1, Pick(L"Port:", L"端口:"), "Port");
  baud_ = AddList(this, grid, 2, Pick(L"Baud Rate:", L"波特率:"), "BaudRate");
  parity_ = AddList(this, grid, 3, Pick(L"Parity:", L"校验:"), "Parity");

  grid->addWidget(new QLabel(Pick(L"IP Address:", L"IP地址:"), this), 4, 0);
  ip_ = new CIpAddressCtrl(this);
  ip_->setObjectName(QStringLiteral("IpAddress"));
  grid->addWidget(ip_, 4, 1);
  detect_ = new QPushButton(Pick(L"Detect IP", L"探测IP"), this);
  detect_->setObjectName(QStringLiteral("DetectIp"));
  detect_->setAutoDefault(false);
  grid->addWidget(detect_, 4, 2);

  grid->addWidget(new QLabel(Pick(L"Port:", L"端口:"), this), 5, 0);
  tcpPort_ = new QLineEdit(this);
  tcpPort_->setObjectName(QStringLiteral("TcpPort"));
  grid->addWidget(tcpPort_, 5, 1, 1, 2);
  grid->addWidget(new QLabel(Pick(L"TelNo.:", L"手机号:"), this), 6, 0);
  telephone_ = new QLineEdit(this);
  telephone_->setObjectName(QStringLiteral("Telephone"));
  grid->addWidget(telephone_, 6, 1, 1, 2);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(Pick(L"OK", L"确认"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("IDOK"));
  ok->setDefault(true);
  buttons->addButton(Pick(L"Cancel", L"取消"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("IDCANCEL"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  // No sizing border: the dialog keeps the size of its contents.
  layout->setSizeConstraint(QLayout::SetFixedSize);

  for (int n = 0; n < kStationCount; ++n) station_->addItem(QString::number(n));
  for (const auto& entry : ports_) {
    port_->addItem(QString::fromStdWString(entry.second));
    // What is stored when it differs from what is shown: the adapter's by-id link.
    if (entry.first != entry.second && entry.first.rfind(L"/", 0) == 0) {
      port_->setItemData(port_->count() - 1, QString::fromStdWString(entry.first), Qt::ToolTipRole);
    }
  }
  for (const std::wstring& text : BaudRateTexts()) baud_->addItem(QString::fromStdWString(text));
  for (const std::wstring& text : ParityTexts()) parity_->addItem(QString::fromStdWString(text));
  ShowFields();
  ApplyPortRule();

  connect(port_, &QComboBox::currentIndexChanged, this, [this](int) { ApplyPortRule(); });
  connect(detect_, &QPushButton::clicked, this, &CMainCommunicationDlg::OnDetectIp);
}

CMainCommunicationDlg::~CMainCommunicationDlg() {
  // The worker only posts its result to this dialog and never waits for the GUI thread, so the
  // cancelled wait ends within its next slice; a result it posted meanwhile goes with the dialog.
  if (detector_ != nullptr) detector_->Cancel();
  if (detectionThread_.joinable()) detectionThread_.join();
}

void CMainCommunicationDlg::ShowFields() {
  SelectPosition(station_, fields_.Station);
  SelectPosition(port_, fields_.PortPosition);
  SelectPosition(baud_, fields_.BaudPosition);
  SelectPosition(parity_, fields_.ParityPosition);
  ip_->SetAddress(fields_.IpAddress);
  tcpPort_->setText(QString::number(fields_.TcpPort));
  telephone_->setText(QString::fromStdWString(fields_.Telephone));
}

void CMainCommunicationDlg::TakeFields() {
  fields_.Station = station_->currentIndex();
  fields_.PortPosition = port_->currentIndex();
  fields_.BaudPosition = baud_->currentIndex();
  fields_.ParityPosition = parity_->currentIndex();
  fields_.IpAddress = ip_->Address();
  fields_.Telephone = telephone_->text().toStdWString();
}

void CMainCommunicationDlg::ApplyPortRule() {
  const PortRuleState state = PortRuleFor(port_->currentIndex());
  if (state.StationIsOne) station_->setCurrentIndex(1);
  station_->setEnabled(state.SerialEnabled);
  baud_->setEnabled(state.SerialEnabled);
  parity_->setEnabled(state.SerialEnabled);
  ip_->setEnabled(state.IpEnabled);
  // A running detection keeps its button disabled, so that only one runs at a time.
  detect_->setEnabled(state.DetectEnabled && detector_ == nullptr);
  tcpPort_->setEnabled(state.RelayEnabled);
  telephone_->setEnabled(state.RelayEnabled);
}

void CMainCommunicationDlg::accept() {
  int tcpPort = 0;
  if (!ParseDialogInteger(tcpPort_->text().toStdWString(), tcpPort)) {
    MessageBoxOk(PickText(L"Please enter an integer.", L"请输入一个整数。"), kStandardMessageIcon);
    tcpPort_->setFocus();
    tcpPort_->selectAll();
    return;
  }
  TakeFields();
  fields_.TcpPort = tcpPort;
  QDialog::accept();
}

void CMainCommunicationDlg::OnDetectIp() {
  if (detector_ != nullptr) return;
  detect_->setEnabled(false);
  detector_ = std::make_unique<PlcAddressDetector>(detection_);
  // Bound here so that the port is known at once; a failure is reported by the worker's run.
  detectionPort_ = detector_->Open() ? detector_->LocalPort() : -1;
  PlcAddressDetector* detector = detector_.get();
  detectionThread_ = std::thread([this, detector] {
    const DetectionResult result = detector->Run();
    // Queued, not blocking: the dialog's destructor may be waiting for this thread.
    QMetaObject::invokeMethod(this, [this, result] { OnDetectionDone(result); }, Qt::QueuedConnection);
  });
}

void CMainCommunicationDlg::OnDetectionDone(DetectionResult result) {
  if (detectionThread_.joinable()) detectionThread_.join();
  detector_.reset();
  detectionPort_ = -1;
  if (result.Outcome == DetectionOutcome::Detected) {
    ip_->SetAddress(result.Address);
  } else if (const wchar_t* message = DetectionMessage(result.Outcome)) {
    MessageBoxOk(message, kStandardMessageIcon);
  }
  detect_->setEnabled(PortRuleFor(port_->currentIndex()).DetectEnabled);
  emit DetectionFinished(static_cast<int>(result.Outcome));
}

bool EditCommunicationSettings(QWidget* owner, int& parity, uint32_t& ipAddress, int& station,
                               std::wstring& portName, int& baudrate, std::wstring& telephone, int& tcpPort) {
  CommPortList ports;
  BuildPortList(ports);
  const int position = PlaceConfiguredPort(ports, portName);
  CommLinkValues before;
  before.Parity = parity;
  before.IpAddress = ipAddress;
  before.Station = station;
  before.PortName = portName;
  before.Baudrate = baudrate;
  before.Telephone = telephone;
  before.TcpPort = tcpPort;
  CommSettingsFields fields = FieldsFromLinkValues(before, ports);
  fields.PortPosition = position;
  CMainCommunicationDlg dialog(owner, ports, fields);
  if (dialog.exec() != QDialog::Accepted) return false;
  const CommLinkValues after = LinkValuesFromFields(dialog.Fields(), ports, before);
  parity = after.Parity;
  ipAddress = after.IpAddress;
  station = after.Station;
  portName = after.PortName;
  baudrate = after.Baudrate;
  telephone = after.Telephone;
  tcpPort = after.TcpPort;
  return true;
}

bool EditCommunicationSettings(QWidget* owner, PlcConfig& config) {
  return EditCommunicationSettings(owner, config.LinkParity, config.LinkIpAddr, config.LinkStation,
                                   config.LinkPortPath, config.LinkBaudrate, config.LinkTelephone,
                                   config.LinkTcpPort);
}

}  // namespace Brenno
