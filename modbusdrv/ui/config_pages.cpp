#include "modbusdrv/ui/config_pages.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "modbusdrv/driver/driver_tag.h"
#include "modbusdrv/driver/driver_utils.h"
#include "modbusdrv/driver/field_rules.h"

namespace modbusdrv {

QString ToQ(const std::wstring& text) { return QString::fromStdWString(text); }
std::wstring FromQ(const QString& text) { return text.toStdWString(); }

namespace {

const char* const kRates[] = {"110",   "300",   "600",   "1200",   "2400",   "4800",   "9600",  "14400",
                              "19200", "38400", "56000", "57600", "115200", "128000", "256000"};

QLineEdit* NewEdit(QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setMaxLength(static_cast<int>(kMaxTextLength));
  return edit;
}

// Applies a decimal field: stores a value in range that differs, else shows the value again.
template <typename T>
bool ApplyDecimal(QLineEdit* edit, T& field, int min, int max) {
  const auto value = CheckDecimalField(FromQ(edit->text()), min, max);
  if (!value) {
    edit->setText(QString::number(static_cast<qint64>(field)));
    return false;
  }
  if (static_cast<int64_t>(*value) == static_cast<int64_t>(field)) return false;
  field = static_cast<T>(*value);
  return true;
}

}  // namespace

// ---- serial settings ----

CSerialSettingsPage::CSerialSettingsPage(PageHost& host, int& modified, QWidget* parent)
    : QWidget(parent), host_(host), modified_(modified) {
  auto* box = new QGroupBox(QStringLiteral("串口设置"), this);
  auto* form = new QFormLayout(box);
  port = new QComboBox(box);
  rate = new QComboBox(box);
  for (const char* r : kRates) rate->addItem(QString::fromLatin1(r));
  dataBits = new QComboBox(box);
  dataBits->addItems({"4", "5", "6", "7", "8"});
  stopBits = new QComboBox(box);
  stopBits->addItems({"1", "1.5", "2"});
  parity = new QComboBox(box);
  parity->addItems({QStringLiteral("无"), QStringLiteral("奇"), QStringLiteral("偶"), QStringLiteral("标志"), QStringLiteral("空格")});
  encoding = new QComboBox(box);
  encoding->addItems({"RTU", "ASCII"});
  form->addRow(QStringLiteral("串口号:"), port);
  form->addRow(QStringLiteral("波特率:"), rate);
  form->addRow(QStringLiteral("数据位:"), dataBits);
  form->addRow(QStringLiteral("停止位:"), stopBits);
  form->addRow(QStringLiteral("校验位:"), parity);
  form->addRow(QStringLiteral("编码:"), encoding);
  (new QVBoxLayout(this))->addWidget(box);
  QComboBox* lists[] = {port, rate, dataBits, stopBits, parity, encoding};
  for (int i = 0; i < 6; ++i)
    connect(lists[i], &QComboBox::activated, this, [this, i] { Store(i); });
}

void CSerialSettingsPage::Fill() {
  port->clear();
  std::vector<std::wstring> ports;
  ListSerialPorts(ports);
  for (const auto& p : ports) port->addItem(ToQ(p));
  if (channel_ == nullptr) return;
  port->setCurrentIndex(port->findText(ToQ(channel_->PortName), Qt::MatchExactly | Qt::MatchCaseSensitive));
  rate->setCurrentIndex(rate->findText(QString::number(channel_->BaudRate)));
  dataBits->setCurrentIndex(channel_->DataBits >= 4 && channel_->DataBits <= 8 ? channel_->DataBits - 4 : -1);
  stopBits->setCurrentIndex(channel_->StopBits <= 2 ? channel_->StopBits : -1);
  parity->setCurrentIndex(channel_->Parity <= 4 ? channel_->Parity : -1);
  encoding->setCurrentIndex(channel_->Encoding == 0 || channel_->Encoding == 1 ? channel_->Encoding : -1);
}

void CSerialSettingsPage::Store(int which) {
  if (channel_ == nullptr) return;
  bool changed = false;
  auto set = [&](auto& field, auto value) {
    if (field != value) {
      field = value;
      changed = true;
    }
  };
  switch (which) {
    case 0:
      if (port->currentIndex() >= 0) set(channel_->PortName, FromQ(port->currentText()));
      break;
    case 1:
      if (rate->currentIndex() >= 0) set(channel_->BaudRate, static_cast<uint32_t>(rate->currentText().toUInt()));
      break;
    case 2:
      if (dataBits->currentIndex() >= 0) set(channel_->DataBits, static_cast<uint8_t>(dataBits->currentIndex() + 4));
      break;
    case 3:
      if (stopBits->currentIndex() >= 0) set(channel_->StopBits, static_cast<uint8_t>(stopBits->currentIndex()));
      break;
    case 4:
      if (parity->currentIndex() >= 0) set(channel_->Parity, static_cast<uint8_t>(parity->currentIndex()));
      break;
    case 5:
      if (encoding->currentIndex() >= 0) set(channel_->Encoding, encoding->currentIndex());
      break;
  }
  if (changed) {
    modified_ = 1;
    host_.MarkUnsaved();
  }
}

void CSerialSettingsPage::ApplyEdits() {
  for (int i = 0; i < 6; ++i) Store(i);
}

// ---- TCP settings ----

CTcpSettingsPage::CTcpSettingsPage(PageHost& host, int& modified, QWidget* parent)
    : QWidget(parent), host_(host), modified_(modified) {
  auto* box = new QGroupBox(QStringLiteral("网络设置"), this);
  auto* form = new QFormLayout(box);
  auto* row = new QWidget(box);
  auto* rowLayout = new QHBoxLayout(row);
  rowLayout->setContentsMargins(0, 0, 0, 0);
  for (int i = 0; i < 4; ++i) {
    address[i] = new QLineEdit(row);
    address[i]->setInputMask("000");
    rowLayout->addWidget(address[i]);
    if (i < 3) rowLayout->addWidget(new QLabel(".", row));
    connect(address[i], &QLineEdit::editingFinished, this, [this] { ApplyAddress(); });
  }
  port = new QLineEdit(box);
  form->addRow(QStringLiteral("IP地址:"), row);
  form->addRow(QStringLiteral("端口号:"), port);
  (new QVBoxLayout(this))->addWidget(box);
  connect(port, &QLineEdit::editingFinished, this, [this] { ApplyPort(); });
}

void CTcpSettingsPage::Fill() {
  if (channel_ == nullptr) return;
  const QStringList parts = ToQ(channel_->IpAddress).split('.');
  for (int i = 0; i < 4; ++i) address[i]->setText(i < parts.size() ? parts[i] : QString());
  port->setText(QString::number(channel_->Port));
}

void CTcpSettingsPage::ApplyPort() {
  if (channel_ == nullptr) return;
  if (ApplyDecimal(port, channel_->Port, 1, 100000)) {
    modified_ = 1;
    host_.MarkUnsaved();
  }
}

void CTcpSettingsPage::ApplyAddress() {
  if (channel_ == nullptr) return;
  std::array<std::wstring, 4> parts;
  for (int i = 0; i < 4; ++i) parts[i] = FromQ(address[i]->text().trimmed());
  const std::wstring text = JoinIpAddress(parts);
  if (text != channel_->IpAddress) {
    channel_->IpAddress = text;
    modified_ = 1;
    host_.MarkUnsaved();
  }
}

void CTcpSettingsPage::ApplyEdits() {
  ApplyPort();
  ApplyAddress();
}

// ---- channel ----

CChannelPage::CChannelPage(PageHost& host, QWidget* parent) : QWidget(parent), host_(host) {
  auto* layout = new QVBoxLayout(this);
  auto* basic = new QGroupBox(QStringLiteral("基本"), this);
  auto* form = new QFormLayout(basic);
  name = NewEdit(basic);
  description = NewEdit(basic);
  enabled = new QCheckBox(QStringLiteral("有效"), basic);
  form->addRow(QStringLiteral("名称"), name);
  form->addRow(QStringLiteral("描述 "), description);
  form->addRow(enabled);
  auto* times = new QGroupBox(QStringLiteral("时间(ms)"), basic);
  auto* timeForm = new QFormLayout(times);
  timeout = new QLineEdit(times);
  timeForm->addRow(QStringLiteral("超时时间:"), timeout);
  timeForm->addRow(new QLabel(QStringLiteral("( 50-10000 ms)"), times));
  refresh = new QLineEdit(times);
  refresh->hide();
  multiStep = new QRadioButton(QStringLiteral("多步"), times);
  singleStep = new QRadioButton(QStringLiteral("单步"), times);
  timeForm->addRow(multiStep, singleStep);
  form->addRow(times);
  layout->addWidget(basic);
  serialPage = new CSerialSettingsPage(host, Modified, this);
  tcpPage = new CTcpSettingsPage(host, Modified, this);
  layout->addWidget(serialPage);
  layout->addWidget(tcpPage);
  layout->addStretch();
  connect(name, &QLineEdit::editingFinished, this, [this] { ApplyName(); });
  connect(description, &QLineEdit::editingFinished, this, [this] { ApplyDescription(); });
  connect(timeout, &QLineEdit::editingFinished, this, [this] { ApplyTimeout(); });
  connect(enabled, &QCheckBox::clicked, this, [this](bool on) {
    if (shown_ != nullptr && shown_->Enabled != (on ? 1 : 0)) {
      shown_->Enabled = on ? 1 : 0;
      Changed();
    }
  });
  connect(multiStep, &QRadioButton::clicked, this, [this] {
    if (shown_ == nullptr || !multiStep->isChecked()) return;
    shown_->RequestsPerBatch = 10;
    Changed();
  });
  connect(singleStep, &QRadioButton::clicked, this, [this] {
    if (shown_ == nullptr || !singleStep->isChecked()) return;
    shown_->RequestsPerBatch = 1;
    Changed();
  });
}

void CChannelPage::Changed() {
  Modified = 1;
  host_.MarkUnsaved();
}

void CChannelPage::SetChannels(CComChannel* serial, CTcpChannel* tcp) {
  serial_ = serial;
  tcp_ = tcp;
}

void CChannelPage::Fill() {
  shown_ = nullptr;
  serialPage->hide();
  tcpPage->hide();
  if (serial_ != nullptr) {
    serialPage->SetChannel(serial_);
    serialPage->show();
    serialPage->Fill();
    shown_ = serial_;
  } else if (tcp_ != nullptr) {
    tcpPage->SetChannel(tcp_);
    tcpPage->show();
    tcpPage->Fill();
    shown_ = tcp_;
  }
  if (shown_ == nullptr) return;
  name->setText(ToQ(shown_->Name));
  description->setText(ToQ(shown_->Description));
  enabled->setChecked(shown_->Enabled == 1);
  refresh->setText(QString::number(shown_->RefreshMs.load()));
  timeout->setText(QString::number(shown_->TimeoutMs));
  (shown_->RequestsPerBatch > 1 ? multiStep : singleStep)->setChecked(true);
}

void CChannelPage::ApplyName() {
  if (shown_ == nullptr) return;
  const std::wstring text = FromQ(name->text());
  switch (CheckChannelName(host_.Channels(), *shown_, text)) {
    case NameCheck::Store:
      shown_->Name = text;
      Changed();
      host_.NodeNameChanged(shown_);
      return;
    case NameCheck::Duplicate:
      host_.ShowDuplicateName();
      name->setText(ToQ(shown_->Name));
      return;
    default:
      name->setText(ToQ(shown_->Name));
      return;
  }
}

void CChannelPage::ApplyDescription() {
  if (shown_ == nullptr) return;
  const std::wstring text = FromQ(description->text());
  if (text != shown_->Description) {
    shown_->Description = text;
    Changed();
  }
}

void CChannelPage::ApplyTimeout() {
  if (shown_ != nullptr && ApplyDecimal(timeout, shown_->TimeoutMs, 50, 10000)) Changed();
}

void CChannelPage::ApplyRefresh() {
  if (shown_ == nullptr) return;
  uint32_t value = shown_->RefreshMs.load();
  if (ApplyDecimal(refresh, value, 50, 10000)) {
    shown_->RefreshMs = value;
    Changed();
  }
}

void CChannelPage::ApplyEdits() {
  if (shown_ == nullptr) return;
  ApplyRefresh();
  ApplyTimeout();
  ApplyName();
  ApplyDescription();
  if (shown_ == tcp_ && tcp_ != nullptr) tcpPage->ApplyEdits();
  if (shown_ == serial_ && serial_ != nullptr) serialPage->ApplyEdits();
}

// ---- device ----

CDevicePage::CDevicePage(PageHost& host, QWidget* parent) : QWidget(parent), host_(host) {
  auto* layout = new QVBoxLayout(this);
  auto* basic = new QGroupBox(QStringLiteral("基本"), this);
  auto* form = new QFormLayout(basic);
  name = NewEdit(basic);
  description = NewEdit(basic);
  form->addRow(QStringLiteral("名称"), name);
  form->addRow(QStringLiteral("描述 "), description);
  layout->addWidget(basic);
  auto* row = new QWidget(this);
  auto* rowLayout = new QHBoxLayout(row);
  unit = new QLineEdit(row);
  auto* up = new QToolButton(row);
  up->setArrowType(Qt::UpArrow);
  auto* down = new QToolButton(row);
  down->setArrowType(Qt::DownArrow);
  rowLayout->addWidget(new QLabel(QStringLiteral("设备号:"), row));
  rowLayout->addWidget(unit);
  rowLayout->addWidget(up);
  rowLayout->addWidget(down);
  layout->addWidget(row);
  layout->addStretch();
  connect(name, &QLineEdit::editingFinished, this, [this] { ApplyName(); });
  connect(description, &QLineEdit::editingFinished, this, [this] { ApplyDescription(); });
  connect(unit, &QLineEdit::editingFinished, this, [this] { ApplyUnit(); });
  connect(up, &QToolButton::clicked, this, [this] { Step(1); });
  connect(down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void CDevicePage::Changed() {
  Modified = 1;
  host_.MarkUnsaved();
}

void CDevicePage::Fill() {
  if (device_ == nullptr) return;
  unit->setText(QString::number(device_->UnitId));
  name->setText(ToQ(device_->Name));
  description->setText(ToQ(device_->Description));
}

void CDevicePage::ApplyUnit() {
  if (device_ != nullptr && ApplyDecimal(unit, device_->UnitId, 1, 32)) Changed();
}

void CDevicePage::Step(int delta) {
  if (device_ == nullptr) return;
  Changed();
  unit->setText(QString::number(unit->text().toInt() + delta));
  ApplyUnit();
}

void CDevicePage::ApplyName() {
  if (device_ == nullptr) return;
  const std::wstring text = FromQ(name->text());
  if (CheckDeviceName(host_.Channels(), *device_, text) != NameCheck::Store) {
    name->setText(ToQ(device_->Name));
    return;
  }
  device_->Name = text;
  Changed();
  host_.NodeNameChanged(device_);
}

void CDevicePage::ApplyDescription() {
  if (device_ == nullptr) return;
  const std::wstring text = FromQ(description->text());
  if (text != device_->Description) {
    device_->Description = text;
    Changed();
  }
}

void CDevicePage::ApplyEdits() {
  if (device_ == nullptr) return;
  ApplyUnit();
  ApplyName();
  ApplyDescription();
}

// ---- data block ----

CDataBlockPage::CDataBlockPage(PageHost& host, QWidget* parent) : QWidget(parent), host_(host) {
  auto* form = new QFormLayout(this);
  name = NewEdit(this);
  description = NewEdit(this);
  start = new QLineEdit(this);
  length = new QLineEdit(this);
  refresh = new QLineEdit(this);
  dataType = new QComboBox(this);
  dataType->addItems({QStringLiteral("寄存器"), QStringLiteral("长整"), QStringLiteral("长整(交换)"), QStringLiteral("单精度"),
                      QStringLiteral("单精度(交换)"), QStringLiteral("双精度"), QStringLiteral("双精度(交换)")});
  form->addRow(QStringLiteral("名称"), name);
  form->addRow(QStringLiteral("描述 "), description);
  form->addRow(QStringLiteral("开始地址:"), start);
  form->addRow(QString(), new QLabel(QStringLiteral("( N*****, N = 0,1,3,4 )"), this));
  form->addRow(QStringLiteral("长度:"), length);
  form->addRow(QString(), new QLabel(QStringLiteral("( > 0 )"), this));
  form->addRow(QStringLiteral("刷新时间:"), refresh);
  form->addRow(QString(), new QLabel(QStringLiteral("( 50-10000 ms )"), this));
  form->addRow(QStringLiteral("数据类型:"), dataType);
  connect(name, &QLineEdit::editingFinished, this, [this] { ApplyName(); });
  connect(description, &QLineEdit::editingFinished, this, [this] { ApplyDescription(); });
  connect(start, &QLineEdit::editingFinished, this, [this] { ApplyStart(); });
  connect(length, &QLineEdit::editingFinished, this, [this] { ApplyLength(); });
  connect(refresh, &QLineEdit::editingFinished, this, [this] { ApplyRefresh(); });
  connect(dataType, &QComboBox::activated, this, [this](int index) {
    if (block_ != nullptr && index >= 0 && block_->DataType != static_cast<uint32_t>(index)) {
      block_->DataType = static_cast<uint32_t>(index);
      Changed();
    }
  });
}

void CDataBlockPage::Changed() {
  Modified = 1;
  host_.MarkUnsaved();
}

void CDataBlockPage::Fill() {
  if (block_ == nullptr) return;
  name->setText(ToQ(block_->Name));
  description->setText(ToQ(block_->Description));
  start->setText(ToQ(FormatBlockStart(block_->Start)));
  shownItem_ = block_->Start % 100000;
  length->setText(QString::number(block_->Length));
  dataType->setCurrentIndex(block_->DataType <= 6 ? static_cast<int>(block_->DataType) : -1);
  refresh->setText(QString::number(block_->RefreshMs));
}

// Start and Length change only together, through SetRange, so that the buffers always match.
void CDataBlockPage::ApplyStart() {
  if (block_ == nullptr) return;
  const StartRuleResult r = ApplyStartRule(FromQ(start->text()), FromQ(length->text()), block_->Start);
  if (r.restore) {
    start->setText(ToQ(FormatBlockStart(block_->Start)));
    return;
  }
  uint32_t newLength = block_->Length;
  if (r.cutLength) {
    newLength = *r.cutLength;
    length->setText(QString::number(newLength));
  }
  start->setText(ToQ(FormatBlockStart(r.start)));
  shownItem_ = r.start % 100000;
  if (!r.changed && newLength == block_->Length) return;
  block_->SetRange(r.changed ? r.start : block_->Start, newLength, block_->Length);
  block_->Area = r.changed ? r.area : block_->Area;
  Changed();
}

void CDataBlockPage::ApplyLength() {
  if (block_ == nullptr) return;
  const auto value = CheckBlockLength(FromQ(length->text()), shownItem_);
  if (!value) {
    length->setText(QString::number(block_->Length));
    return;
  }
  if (*value == block_->Length) return;
  const uint32_t area = block_->Area;
  block_->SetRange(block_->Start, *value, block_->Length);
  block_->Area = area;
  Changed();
}

void CDataBlockPage::ApplyRefresh() {
  if (block_ != nullptr && ApplyDecimal(refresh, block_->RefreshMs, 50, 10000)) Changed();
}

void CDataBlockPage::ApplyName() {
  if (block_ == nullptr) return;
  const std::wstring text = FromQ(name->text());
  if (CheckBlockName(*block_->Device, *block_, text) != NameCheck::Store) {
    name->setText(ToQ(block_->Name));
    return;
  }
  block_->Name = text;
  Changed();
  host_.NodeNameChanged(block_);
}

void CDataBlockPage::ApplyDescription() {
  if (block_ == nullptr) return;
  const std::wstring text = FromQ(description->text());
  if (text != block_->Description) {
    block_->Description = text;
    Changed();
  }
}

void CDataBlockPage::ApplyEdits() {
  if (block_ == nullptr) return;
  ApplyStart();
  ApplyLength();
  ApplyRefresh();
  ApplyName();
  ApplyDescription();
}

// ---- system information ----

CSystemInfoPage::CSystemInfoPage(PageHost& host, QWidget* parent) : QWidget(parent), host_(host) {
  auto* box = new QGroupBox(QStringLiteral("系统信息"), this);
  auto* form = new QFormLayout(box);
  channels = new QLabel(box);
  devices = new QLabel(box);
  blocks = new QLabel(box);
  path = new QLabel(box);
  path->setWordWrap(true);
  form->addRow(QStringLiteral("系统:"), new QLabel(QStringLiteral("Modbus Driver"), box));
  form->addRow(QStringLiteral("通道:"), channels);
  form->addRow(QStringLiteral("设备:"), devices);
  form->addRow(QStringLiteral("数据块:"), blocks);
  form->addRow(new QLabel(QStringLiteral("配置文件："), box));
  form->addRow(path);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(box);
  layout->addStretch();
}

void CSystemInfoPage::Fill() {
  size_t deviceCount = 0, blockCount = 0;
  for (const auto& c : host_.Channels()) {
    deviceCount += c->Devices.size();
    for (const auto& d : c->Devices) blockCount += d->Blocks.size();
  }
  channels->setText(QString::number(host_.Channels().size()));
  devices->setText(QString::number(deviceCount));
  blocks->setText(QString::number(blockCount));
  path->setText(ToQ(host_.ConfigFilePath()));
}

}  // namespace modbusdrv
