// The communication dialog: the link value conversions, the port rule, the number check, and
// the PLC address detection against real datagrams on the loopback interface.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <QValidator>

#include <QApplication>

#include <chrono>
#include <climits>
#include <thread>

#include "core/env/language.h"
#include "core/env/plc_config.h"
#include "core/link/comm_port.h"
#include "platform/poll_io.h"
#include "platform/udp_socket.h"
#include "tests/support/fake_serial_devices.h"
#include "tests/ui/shell/scripted_message_facade.h"
#include "ui/shell/address_detection.h"
#include "ui/shell/comm_settings_dlg.h"
#include "ui/shell/comm_settings_fields.h"
#include "ui/shell/ip_address_ctrl.h"

namespace Brenno {
namespace {

constexpr uint32_t kLoopback = 0x7F000001;

// A machine with three built-in ports and a USB adapter.
class ThreeComPortsAndAnAdapter {
 public:
  ThreeComPortsAndAnAdapter() {
    for (const char* name : {"ttyS0", "ttyS1", "ttyS2"}) devices.AddTty(name, 4);
    devices.AddTty("ttyUSB0");
  }
  testsupport::FakeSerialDevices devices;
};

CommPortList Ports() {
  CommPortList ports;
  BuildPortList(ports);
  return ports;
}

void WhenOpen(const std::function<void()>& act) { QTimer::singleShot(0, act); }

// Sends the datagram to the loopback port, as a PLC announcing its address would.
void Announce(int port, std::initializer_list<uint8_t> bytes) {
  const std::vector<uint8_t> data(bytes);
  ASSERT_TRUE(platform::SendUdpDatagram(kLoopback, static_cast<uint16_t>(port), data.data(), data.size()));
}

TEST(CommSettingsFields, ListPositionsBothWays) {
  struct Case {
    int value, position, back;
  };
  const Case bauds[] = {{4800, 0, 4800},   {9600, 1, 9600},     {19200, 2, 19200}, {38400, 3, 38400},
                        {1200, 3, 38400},  {57600, 4, 57600},   {115200, 5, 115200}};
  for (const Case& c : bauds) {
    EXPECT_EQ(BaudRateToPosition(c.value), c.position) << c.value;
    EXPECT_EQ(PositionToBaudRate(c.position), c.back) << c.value;
  }
  EXPECT_EQ(PositionToBaudRate(-1), 38400);
  const Case parities[] = {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {4, 4, 4}, {5, 2, 2}, {-7, 2, 2}};
  for (const Case& c : parities) {
    EXPECT_EQ(ParityToPosition(c.value), c.position) << c.value;
    EXPECT_EQ(PositionToParity(c.position), c.back) << c.value;
  }
  EXPECT_EQ(PositionToParity(-1), 2);

  ThreeComPortsAndAnAdapter machine;
  const CommPortList ports = Ports();
  ASSERT_EQ(ports.size(), 7u);
  EXPECT_EQ(FindPortPosition(ports, L"COM3"), 5);
  EXPECT_EQ(FindPortPosition(ports, L"Network"), 1);
  EXPECT_EQ(FindPortPosition(ports, L"com3"), 0);  // exact, case-sensitive
  EXPECT_EQ(FindPortPosition(ports, L""), 0);
}

TEST(CommSettingsFields, OkKeepsWhatNoSelectionCannotSay) {
  ThreeComPortsAndAnAdapter machine;
  const CommPortList ports = Ports();
  CommLinkValues before{3, 0xC0A80105, 300, L"COM2", 1200, L"13800000000", 9000};
  CommSettingsFields fields = FieldsFromLinkValues(before, ports);
  EXPECT_EQ(fields.Station, -1);
  EXPECT_EQ(fields.PortPosition, 4);
  EXPECT_EQ(fields.BaudPosition, 3);
  EXPECT_EQ(fields.ParityPosition, 3);
  fields.PortPosition = -1;
  const CommLinkValues after = LinkValuesFromFields(fields, ports, before);
  EXPECT_EQ(after.PortName, L"COM2");
  EXPECT_EQ(after.Station, 300);  // not -1
  EXPECT_EQ(after.Baudrate, 38400);
  EXPECT_EQ(after.Parity, 3);     // position 3 maps back to 3; the dialog shows it as no selection
  EXPECT_EQ(after.IpAddress, 0xC0A80105u);
  EXPECT_EQ(after.TcpPort, 9000);
  EXPECT_EQ(after.Telephone, L"13800000000");
}

TEST(CommSettingsFields, PortRuleAndNumberCheck) {
  EXPECT_EQ(PortRuleFor(1), (PortRuleState{true, false, true, true, false}));
  EXPECT_EQ(PortRuleFor(2), (PortRuleState{true, false, true, false, true}));
  for (int position : {-1, 0, 3, 6}) EXPECT_EQ(PortRuleFor(position), PortRuleState{}) << position;

  struct Case {
    const wchar_t* text;
    bool ok;
    int value;
  };
  const Case cases[] = {{L"1322", true, 1322},        {L"  -5 ", true, -5},     {L"+7", true, 7},
                        {L"2147483647", true, INT_MAX}, {L"-2147483648", true, INT_MIN},
                        {L"2147483648", false, 0},    {L"12a", false, 0},       {L"", false, 0},
                        {L"- 5", false, 0},           {L"99999999999999999999", false, 0}};
  for (const Case& c : cases) {
    int value = 0;
    EXPECT_EQ(ParseDialogInteger(c.text, value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

TEST(CommSettingsDialog, IpAddressFieldsHoldOneNumber) {
  CIpAddressCtrl control;
  control.SetAddress(0xC0A80105);
  EXPECT_EQ(control.Field(0)->text(), QStringLiteral("192"));
  EXPECT_EQ(control.Field(3)->text(), QStringLiteral("5"));
  control.Field(2)->clear();  // an empty box counts as 0
  EXPECT_EQ(control.Address(), 0xC0A80005u);
  const QValidator* validator = control.Field(0)->validator();
  ASSERT_NE(validator, nullptr);
  for (const char* text : {"0", "255", "99", ""}) {
    QString value = QString::fromLatin1(text);
    int at = 0;
    EXPECT_EQ(validator->validate(value, at), QValidator::Acceptable) << text;
  }
  for (const char* text : {"256", "1a", "-1"}) {
    QString value = QString::fromLatin1(text);
    int at = 0;
    EXPECT_EQ(validator->validate(value, at), QValidator::Invalid) << text;
  }
}

CommSettingsFields NetworkFields();

// Each character as a key press and release to whichever box has the focus, as typing does.
void TypeKeys(const QString& text) {
  for (QChar c : text) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr) << "no focus before " << QString(c).toStdString();
    const int key = c == QLatin1Char('.') ? Qt::Key_Period : Qt::Key_0 + c.digitValue();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
    QApplication::sendEvent(target, &release);
  }
}

TEST(CommSettingsDialog, AnAddressTypedAsItReadsFillsTheFourBoxes) {
  struct Case {
    Qt::FocusReason reason;  // Tab selects the first box's number, a click does not
    int cursor;              // where the click put the cursor; -1 after the number
    uint32_t shown;
    const char* typed;
    uint32_t address;
  };
  const Case cases[] = {
      {Qt::TabFocusReason, -1, 0, "127.0.0.1", 0x7F000001},
      {Qt::MouseFocusReason, -1, 0, "127.0.0.1", 0x7F000001},
      {Qt::MouseFocusReason, 0, 0, "127.0.0.1", 0x7F000001},
      {Qt::MouseFocusReason, -1, 0, "192.168.1.10", 0xC0A8010A},
      {Qt::TabFocusReason, -1, 0x0A000002, "10.0.0.99", 0x0A000063},
      {Qt::TabFocusReason, -1, 0x01020304, "255.255.255.255", 0xFFFFFFFF},
  };
  for (const Case& c : cases) {
    CommSettingsFields fields = NetworkFields();
    fields.IpAddress = c.shown;
    CMainCommunicationDlg dialog(nullptr, Ports(), fields);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.IpAddress()->Field(0)->setFocus(c.reason);
    if (c.cursor >= 0) dialog.IpAddress()->Field(0)->setCursorPosition(c.cursor);
    ASSERT_EQ(QApplication::focusWidget(), dialog.IpAddress()->Field(0));
    TypeKeys(QString::fromLatin1(c.typed));
    EXPECT_EQ(dialog.IpAddress()->Address(), c.address) << c.typed << " after a " << (c.reason == Qt::TabFocusReason ? "Tab" : "click");
  }
  // Backspace in an emptied box goes back to the box before.
  CMainCommunicationDlg dialog(nullptr, Ports(), NetworkFields());
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  dialog.IpAddress()->Field(1)->setFocus(Qt::TabFocusReason);
  for (int i = 0; i < 2; ++i) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(QApplication::focusWidget(), &press);
  }
  EXPECT_EQ(QApplication::focusWidget(), dialog.IpAddress()->Field(0));
  EXPECT_EQ(dialog.IpAddress()->Address(), 0x01000304u);
}

TEST(CommSettingsDialog, FillsFromTheConfigurationAndStoresOnOk) {
  SetCurrentLanguage(kLanguageEnglish);
  ThreeComPortsAndAnAdapter machine;
  const QString root = QString::fromStdString(machine.devices.Root());
  shelltest::ScriptedMessageFacade facade;
  PlcConfig config;
  config.LinkPortPath = L"Network";
  config.LinkBaudrate = 1200;
  config.LinkParity = 3;
  config.LinkStation = 7;
  config.LinkIpAddr = 0x0A000002;
  config.LinkTcpPort = 1322;
  config.LinkTelephone = L"139";
  WhenOpen([&] {
    auto* dialog = qobject_cast<CMainCommunicationDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Communication"));
    EXPECT_EQ(dialog->BaudList()->currentText(), QStringLiteral("38400 bps"));
    EXPECT_EQ(dialog->ParityList()->currentIndex(), -1);
    // The network port forces station 1 and disables the serial settings.
    EXPECT_EQ(dialog->StationList()->currentIndex(), 1);
    EXPECT_FALSE(dialog->StationList()->isEnabled());
    EXPECT_FALSE(dialog->BaudList()->isEnabled());
    EXPECT_TRUE(dialog->IpAddress()->isEnabled());
    EXPECT_TRUE(dialog->DetectButton()->isEnabled());
    EXPECT_FALSE(dialog->TcpPortEdit()->isEnabled());
    EXPECT_EQ(dialog->IpAddress()->Address(), 0x0A000002u);
    EXPECT_EQ(dialog->PortList()->itemText(3), QStringLiteral("通讯端口COM1 (") + root + QStringLiteral("/dev/ttyS0)"));
    EXPECT_EQ(dialog->PortList()->itemText(6), root + QStringLiteral("/dev/ttyUSB0"));
    // A COM port enables them again with the station left at 1.
    dialog->PortList()->setCurrentIndex(3);
    EXPECT_TRUE(dialog->StationList()->isEnabled());
    EXPECT_TRUE(dialog->ParityList()->isEnabled());
    EXPECT_FALSE(dialog->IpAddress()->isEnabled());
    EXPECT_FALSE(dialog->DetectButton()->isEnabled());
    EXPECT_EQ(dialog->StationList()->currentIndex(), 1);
    dialog->PortList()->setCurrentIndex(2);  // the relay
    EXPECT_TRUE(dialog->TelephoneEdit()->isEnabled());
    EXPECT_FALSE(dialog->DetectButton()->isEnabled());
    dialog->PortList()->setCurrentIndex(3);
    dialog->IpAddress()->Field(3)->setText(QStringLiteral("9"));
    dialog->TcpPortEdit()->setText(QStringLiteral("x"));
    dialog->accept();  // refused: not a number
    EXPECT_TRUE(dialog->isVisible());
    dialog->TcpPortEdit()->setText(QStringLiteral(" 2404 "));
    dialog->findChild<QPushButton*>(QStringLiteral("IDOK"))->click();
  });
  ASSERT_TRUE(EditCommunicationSettings(nullptr, config));
  ASSERT_EQ(facade.asked.size(), 1u);
  EXPECT_EQ(facade.asked[0].Text, L"Please enter an integer.");
  EXPECT_EQ(config.LinkPortPath, L"COM1");
  EXPECT_EQ(config.LinkStation, 1);
  EXPECT_EQ(config.LinkBaudrate, 38400);
  EXPECT_EQ(config.LinkParity, 2);
  EXPECT_EQ(config.LinkIpAddr, 0x0A000009u);
  EXPECT_EQ(config.LinkTcpPort, 2404);
  EXPECT_EQ(config.LinkTelephone, L"139");
}

TEST(CommSettingsDialog, CancelChangesNothingAndChineseTexts) {
  SetCurrentLanguage(kLanguageChinese);
  ThreeComPortsAndAnAdapter machine;
  const QString root = QString::fromStdString(machine.devices.Root());
  PlcConfig config;
  config.LinkPortPath = L"COM16";
  config.LinkParity = 0;
  const PlcConfig before = config;
  WhenOpen([&] {
    auto* dialog = qobject_cast<CMainCommunicationDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("通讯"));
    EXPECT_EQ(dialog->DetectButton()->text(), QStringLiteral("探测IP"));
    // A port the machine does not have stays chosen, and says so.
    EXPECT_EQ(dialog->PortList()->currentIndex(), 7);
    EXPECT_EQ(dialog->PortList()->currentText(), QStringLiteral("通讯端口COM16 (") + root + QStringLiteral("/dev/ttyS15) (未找到)"));
    EXPECT_EQ(dialog->ParityList()->currentText(), QStringLiteral("NONE"));
    dialog->PortList()->setCurrentIndex(1);
    dialog->reject();
  });
  EXPECT_FALSE(EditCommunicationSettings(nullptr, config));
  EXPECT_TRUE(config == before);
  SetCurrentLanguage(kLanguageEnglish);
}

TEST(AddressDetection, ReadsTheAnnouncedAddress) {
  EXPECT_EQ(DetectionSettings{}.Port, 2003);
  const uint8_t bytes[4] = {5, 1, 168, 192};
  EXPECT_EQ(AddressFromDatagram(bytes), 0xC0A80105u);

  DetectionSettings settings{kLoopback, 0, 1000, 4};
  PlcAddressDetector detector(settings);
  ASSERT_TRUE(detector.Open());
  const int port = detector.LocalPort();
  ASSERT_GT(port, 0);
  std::thread plc([port] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    Announce(port, {5, 1, 168, 192});
  });
  const DetectionResult result = detector.Run();
  plc.join();
  EXPECT_EQ(result.Outcome, DetectionOutcome::Detected);
  EXPECT_EQ(result.Address, 0xC0A80105u);
  EXPECT_EQ(detector.LocalPort(), -1);  // closed after the run
}

TEST(AddressDetection, FailuresAndTheirMessages) {
  // A datagram of any other length is a data error; a longer one does not fit the buffer.
  for (std::initializer_list<uint8_t> bytes : {std::initializer_list<uint8_t>{1, 2, 3},
                                               std::initializer_list<uint8_t>{1, 2, 3, 4, 5}}) {
    PlcAddressDetector detector({kLoopback, 0, 1000, 4});
    ASSERT_TRUE(detector.Open());
    Announce(detector.LocalPort(), bytes);
    EXPECT_EQ(detector.Run().Outcome, DetectionOutcome::BadData);
  }
  // Four waits without a datagram.
  {
    PlcAddressDetector detector({kLoopback, 0, 60, 4});
    const int64_t start = platform::MonotonicMs();
    EXPECT_EQ(detector.Run().Outcome, DetectionOutcome::NoReply);
    EXPECT_GE(platform::MonotonicMs() - start, 4 * 60 - 5);
  }
  // The port is taken: binding fails, which is a network fault.
  {
    int taken = platform::OpenUdpSocket(kLoopback, 0);
    ASSERT_GE(taken, 0);
    PlcAddressDetector detector({kLoopback, static_cast<uint16_t>(platform::UdpLocalPort(taken)), 1000, 4});
    EXPECT_FALSE(detector.Open());
    EXPECT_EQ(detector.Run().Outcome, DetectionOutcome::NetworkFault);
    platform::CloseDescriptor(taken);
  }
  // A cancel ends the wait at once.
  {
    PlcAddressDetector detector({kLoopback, 0, 1000, 4});
    const int64_t start = platform::MonotonicMs();
    std::thread cancel([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
      detector.Cancel();
    });
    EXPECT_EQ(detector.Run().Outcome, DetectionOutcome::Cancelled);
    cancel.join();
    EXPECT_LT(platform::MonotonicMs() - start, 600);
  }
  EXPECT_STREQ(DetectionMessage(DetectionOutcome::NoReply), L"探测失败！");
  EXPECT_STREQ(DetectionMessage(DetectionOutcome::BadData), L"探测接收数据错误！");
  EXPECT_STREQ(DetectionMessage(DetectionOutcome::NetworkFault), L"网络出现故障");
  EXPECT_EQ(DetectionMessage(DetectionOutcome::Detected), nullptr);
}

// Runs the event loop until the dialog's detection has ended; the outcome, or -1 after the time.
int WaitForDetection(CMainCommunicationDlg& dialog, int timeoutMs) {
  QEventLoop loop;
  int outcome = -1;
  QObject::connect(&dialog, &CMainCommunicationDlg::DetectionFinished, &loop, [&](int value) {
    outcome = value;
    loop.quit();
  });
  QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
  loop.exec();
  return outcome;
}

CommSettingsFields NetworkFields() {
  CommSettingsFields fields;
  fields.PortPosition = kPortPositionNetwork;
  fields.IpAddress = 0x01020304;
  return fields;
}

TEST(CommSettingsDialog, DetectButtonShowsTheAnnouncedAddress) {
  shelltest::ScriptedMessageFacade facade;
  CMainCommunicationDlg dialog(nullptr, Ports(), NetworkFields());
  dialog.SetDetectionSettings({kLoopback, 0, 1000, 4});
  dialog.DetectButton()->click();
  EXPECT_FALSE(dialog.DetectButton()->isEnabled());
  ASSERT_GT(dialog.DetectionPort(), 0);
  // While it runs, switching the port back to the network does not offer a second detection.
  dialog.PortList()->setCurrentIndex(0);
  dialog.PortList()->setCurrentIndex(1);
  EXPECT_FALSE(dialog.DetectButton()->isEnabled());
  Announce(dialog.DetectionPort(), {5, 1, 168, 192});
  ASSERT_EQ(WaitForDetection(dialog, 3000), static_cast<int>(DetectionOutcome::Detected));
  EXPECT_EQ(dialog.IpAddress()->Field(0)->text(), QStringLiteral("192"));
  EXPECT_EQ(dialog.IpAddress()->Address(), 0xC0A80105u);
  EXPECT_TRUE(dialog.DetectButton()->isEnabled());
  EXPECT_TRUE(facade.asked.empty());
  // The detected address reaches the values only on OK.
  EXPECT_EQ(dialog.Fields().IpAddress, 0x01020304u);
}

TEST(CommSettingsDialog, DetectionWithoutReplyShowsTheMessageAndClosingStopsIt) {
  shelltest::ScriptedMessageFacade facade;
  {
    CMainCommunicationDlg dialog(nullptr, Ports(), NetworkFields());
    dialog.SetDetectionSettings({kLoopback, 0, 40, 4});
    dialog.DetectButton()->click();
    ASSERT_EQ(WaitForDetection(dialog, 3000), static_cast<int>(DetectionOutcome::NoReply));
    ASSERT_EQ(facade.asked.size(), 1u);
    EXPECT_EQ(facade.asked[0].Text, L"探测失败！");
    EXPECT_EQ(dialog.IpAddress()->Address(), 0x01020304u);
    EXPECT_TRUE(dialog.DetectButton()->isEnabled());
  }
  // Closed while the detection waits: the dialog goes at once and nothing is shown.
  const int64_t start = platform::MonotonicMs();
  {
    auto dialog = std::make_unique<CMainCommunicationDlg>(nullptr, Ports(), NetworkFields());
    dialog->SetDetectionSettings({kLoopback, 0, 1000, 4});
    dialog->DetectButton()->click();
    EXPECT_TRUE(dialog->DetectionRunning());
  }
  QCoreApplication::processEvents();
  EXPECT_LT(platform::MonotonicMs() - start, 1000);
  EXPECT_EQ(facade.asked.size(), 1u);
}

}  // namespace
}  // namespace Brenno
