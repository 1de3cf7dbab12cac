// Going online with a PLC: the project downloaded over TCP to the simulated PLC, Debug > Connect
// (the stamps match, so no question), the status chart showing the PLC's value of a word and
// following its change, Debug > Disconnect back to offline; a program that does not compile
// shown with its report; and the same PLC on a USB-serial cable chosen in the settings.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <atomic>
#include <functional>
#include <sstream>
#include <thread>

#include "core/env/operand_address.h"
#include "core/env/plc_config.h"
#include "core/link/comm_port.h"
#include "core/link/comm_state.h"
#include "core/link/monitor_write_jobs.h"
#include "core/link/online_access.h"
#include "core/program/ladder_painter.h"
#include "core/program/page_painter.h"
#include "core/project/status_chart.h"
#include "core/project/system_block_table.h"
#include "platform/text_codec.h"
#include "tests/support/fake_serial_devices.h"
#include "tests/support/simulated_plc.h"
#include "tests/ui/e2e/e2e_workbench.h"
#include "ui/shell/comm_settings_dlg.h"
#include "ui/shell/infor_output_pane.h"
#include "ui/views/status_chart/status_chart_pane.h"
#include "ui/views/status_chart/status_chart_view.h"

// Qt's own entry for a key press that may be a shortcut (what its test library sends).
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text, bool autorep = false, ushort count = 1);

namespace Brenno::e2e {
namespace {

using testsupport::SimulatedPlc;

SimulatedPlc::Options PlcOn(SimulatedPlc::Transport kind) {
  SimulatedPlc::Options options;
  options.Kind = kind;
  return options;
}

// The workbench and a simulated PLC on the given transport (TCP unless told otherwise).
class E2eOnline : public E2eWorkbench {
 protected:
  explicit E2eOnline(SimulatedPlc::Transport kind = SimulatedPlc::Transport::kNetwork) : plc_(PlcOn(kind)) {}
  ~E2eOnline() override {
    // Nothing of the link may outlive the test's PLC.
    if (frame_ != nullptr && Env().CommState.load() != CommOffline) {
      RequestMonitorStop(Env());
      WaitFor([this] { return Env().CommState.load() == CommOffline; });
    }
    JoinLinkJobThreads();
  }

  uint32_t WordOf(const std::wstring& text) {
    OperandWord word = 0;
    EXPECT_TRUE(OperandTextToWord(text, Current().MemoryAreas, word)) << std::string(text.begin(), text.end());
    return word;
  }
  // A double word of the PLC's system memory.
  uint32_t SystemDoubleWord(int byte) {
    OperandWord word = 0;
    PackOperandWord(word, Current().MemoryAreas, OperandFields{kKindValue, 7, kWidthDword, byte, 0, 0, 0});
    return word;
  }
  std::wstring ChartValue(CStatusChartView* view, int record) {
    ListCellInfo info;
    view->GetCellContent(record, 0, 0, 2, info);
    return std::wstring(info.text, static_cast<size_t>(info.textLength));
  }

  // The link to the PLC: TCP on the loopback, as the communication settings would set it.
  void LinkToTheTcpPlc() {
    Env().Config.LinkIpAddr = 0x7F000001;
    Env().Config.LinkStation = 1;
    Env().Config.LinkPortPath = kNetworkPortName;
    Env().Port.NetworkTcpPort = plc_.TcpPort();
  }

  // The link commands the PLC was sent, for a failure's message.
  std::string RequestCodes() {
    std::ostringstream out;
    out << "state " << Env().CommState.load() << ", requests" << std::hex;
    for (const SimulatedPlc::Request& request : plc_.Requests()) out << " " << request.Code;
    return out.str();
  }

  SimulatedPlc plc_;
};

TEST_F(E2eOnline, DownloadConnectWatchTheChartAndDisconnect) {
  Start();
  LinkToTheTcpPlc();
  Env().Config.LinkTimeUpdateUi = 50;

  // A double word in the status chart, typed into the first row's address cell.
  CStatusChartView* chart = frame_->StatusChartPane()->ActiveView();
  ASSERT_NE(chart, nullptr);
  const Rect r = chart->GetSubItemRect(0, 1);
  chart->setFocus();
  Click(chart->viewport(), QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  Type(chart, QStringLiteral("V"));
  ASSERT_TRUE(chart->InplaceEdit().isVisible());
  Type(&chart->InplaceEdit(), QStringLiteral("D8"));
  Key(&chart->InplaceEdit(), Qt::Key_Return, QStringLiteral("\r"));
  ASSERT_EQ(GetChartAddress(Current().StatusChart, chart->PageKey(), 0, 0), L"VD8");
  EXPECT_EQ(ChartValue(chart, 0), L"");  // offline: no value

  // A rung in the main program, so that the download carries it and the editor shows its power
  // flow once online.
  CProgramEditorMainView* editor = OpenProgramEditor();
  ASSERT_NE(editor, nullptr);
  TypeRung(editor, 0, QStringLiteral("I0.0"), QStringLiteral("Q0.0"));
  ASSERT_GE(MainPage().Networks()[0].Grid.Elements.size(), 2u);

  // The PLC has the type's system pages (it lists them when the download asks).
  plc_.WithMemory([&](SimulatedPlc::Memory& m) {
    for (const int page : Current().SystemBlocks.ListKeys()) m.SystemPages[static_cast<uint32_t>(page)] = {};
  });

  // File > Download (the toolbar's button): the project goes to the PLC, which is reset at the
  // end.
  ASSERT_TRUE(Pick(CmdFileDownloadDirect));
  // The job's last word is "脱机" in the status bar (it shows "下载" from before the first
  // command on); after it the thread touches the windows no more and can be joined.
  ASSERT_TRUE(WaitFor([&] { return plc_.MemorySnapshot().Resets == 1; }));
  ASSERT_TRUE(WaitFor([&] { return frame_->CommStatusPane()->text() == QStringLiteral("脱机"); }));
  EXPECT_EQ(Env().CommState.load(), CommOffline);
  JoinLinkJobThreads();
  EXPECT_TRUE(facade_.asked.empty()) << QString::fromStdWString(facade_.asked[0].Text).toStdString();
  EXPECT_FALSE(plc_.MemorySnapshot().Instructions.empty());

  // The stamps of the downloaded image came with system page 1; the PLC keeps them in its system
  // memory (bytes 20 to 25), where the monitor compares them with the project's.
  const SimulatedPlc::Memory downloaded = plc_.MemorySnapshot();
  ASSERT_EQ(downloaded.SystemPages.count(1), 1u);
  const std::vector<uint8_t>& page1 = downloaded.SystemPages.at(1);
  ASSERT_GE(page1.size(), 6u);
  const std::vector<uint8_t> stamps(page1.end() - 6, page1.end());
  EXPECT_EQ(stamps, std::vector<uint8_t>(Env().ImageStamps.begin(), Env().ImageStamps.end()));
  plc_.WithMemory([&](SimulatedPlc::Memory& m) {
    m.Variables[SystemDoubleWord(20)] = stamps[0] | stamps[1] << 8 | stamps[2] << 16 | static_cast<uint32_t>(stamps[3]) << 24;
    m.Variables[SystemDoubleWord(24)] = stamps[4] | stamps[5] << 8;
  });

  // Debug > Connect: online without a question, the chart shows the PLC's double word.
  plc_.WithMemory([&](SimulatedPlc::Memory& m) { m.Variables[WordOf(L"VD8")] = 1234; });
  ASSERT_TRUE(Pick(CmdDebugConnect));
  ASSERT_TRUE(WaitFor([&] { return Env().CommState.load() == CommOnline; }));
  ASSERT_TRUE(WaitFor([&] { return frame_->CommStatusPane()->text() == QStringLiteral("在线"); }));
  ASSERT_TRUE(WaitFor([&] {
    chart->RedrawNow();
    return ChartValue(chart, 0) == L"1234";
  })) << QString::fromStdWString(ChartValue(chart, 0)).toStdString() << RequestCodes();
  plc_.WithMemory([&](SimulatedPlc::Memory& m) { m.Variables[WordOf(L"VD8")] = 0xFFFFFFFF; });
  ASSERT_TRUE(WaitFor([&] {
    chart->RedrawNow();
    return ChartValue(chart, 0) == L"-1";
  }));
  // Power flow in the rung: the contact passes power once the PLC's input is on.
  auto contactFlow = [&] {
    const Network& rung = MainPage().Networks()[0];
    OnlineCacheSnapshot online = TakeCurrentOnlineSnapshot();
    ElementDisplay display;
    BuildElementDisplay(rung.Grid.Elements[0], MainPage().ViewState, online, display);
    return display.PowerFlow;
  };
  ASSERT_TRUE(WaitFor([&] { return contactFlow() == 2; })) << contactFlow() << RequestCodes();
  plc_.WithMemory([&](SimulatedPlc::Memory& m) { m.Variables[WordOf(L"ID0")] = 1; });
  ASSERT_TRUE(WaitFor([&] { return contactFlow() == 1; })) << contactFlow() << RequestCodes();
  // Editing is closed while online.
  frame_->UpdateCommandStates();
  EXPECT_FALSE(frame_->Command(CmdFileOpen)->isEnabled());

  // Debug > Disconnect: offline again, the value goes from the chart.
  ASSERT_TRUE(Pick(CmdDebugDisconnect));
  ASSERT_TRUE(WaitFor([&] { return Env().CommState.load() == CommOffline; }));
  ASSERT_TRUE(WaitFor([&] { return frame_->CommStatusPane()->text() == QStringLiteral("脱机"); }));
  chart->RedrawNow();
  EXPECT_EQ(ChartValue(chart, 0), L"");
  EXPECT_TRUE(facade_.asked.empty());
}

TEST_F(E2eOnline, ConnectToAnotherProgramThenExitWhileOnline) {
  Start();
  LinkToTheTcpPlc();
  Env().Config.LinkTimeUpdateUi = 50;

  // The PLC holds another program: the user is asked whether to go on, and says Yes.
  facade_.answers = {kIdYes};
  ASSERT_TRUE(Pick(CmdDebugConnect));
  ASSERT_TRUE(WaitFor([&] { return !facade_.asked.empty(); })) << RequestCodes();
  ASSERT_EQ(facade_.asked.size(), 1u);
  EXPECT_EQ(facade_.asked[0].Text, L"数据块、系统块和程序块上下版本都不一致，是否继续连线？");
  ASSERT_TRUE(WaitFor([&] { return Env().CommState.load() == CommOnline; }));
  ASSERT_TRUE(WaitFor([&] { return frame_->CommStatusPane()->text() == QStringLiteral("在线"); }));
  // Polling: the monitor has read the PLC's run state since the answer.
  const size_t before = plc_.Requests().size();
  ASSERT_TRUE(WaitFor([&] { return plc_.Requests().size() > before + 2; })) << RequestCodes();

  // File > Exit while online: the monitor is stopped and the window closes once offline; the
  // workbench then ends while the monitor may still be reporting its last tick.
  ASSERT_TRUE(Pick(CmdFileExit));
  EXPECT_TRUE(frame_->isVisible());
  ASSERT_TRUE(WaitFor([&] { return !frame_->isVisible(); }));
  EXPECT_EQ(Env().CommState.load(), CommOffline);
  EXPECT_EQ(app_.ExitInstance(), 0);
  EXPECT_EQ(facade_.asked.size(), 1u);  // nothing changed, nothing to save
}

TEST_F(E2eOnline, AProgramThatDoesNotCompileIsSaidOnceAndNeverSent) {
  Start();
  LinkToTheTcpPlc();

  // A contact with nothing to drive: the rung has no output.
  CProgramEditorMainView* editor = OpenProgramEditor();
  ASSERT_NE(editor, nullptr);
  ClickCell(editor, 0, 0, 0);
  Key(editor, Qt::Key_L, QStringLiteral("L"));
  ASSERT_TRUE(editor->InstructionEditor().isVisible());
  Type(&editor->InstructionEditor(), QStringLiteral("D I0.0"));
  Key(&editor->InstructionEditor(), Qt::Key_Return, QStringLiteral("\r"));
  ASSERT_EQ(MainPage().Networks()[0].Grid.Elements.size(), 1u);

  // The user has closed the output pane. Ctrl+D, the Connect button and Debug > Connect (after
  // its settings dialog) each bring the pane back with the report, which names the network, say
  // "Parse Binary Error" once, and open no connection to the PLC.
  CInforOutputPane* output = frame_->OutputPane();
  const std::vector<std::pair<const char*, std::function<bool()>>> ways = {
      {"Ctrl+D",
       [&] {
         editor->setFocus();
         return qt_sendShortcutOverrideEvent(editor, 0, Qt::Key_D, Qt::ControlModifier, QString(QChar(4)));
       }},
      {"Connect button", [&] { return Pick(CmdDebugConnect); }},
      {"Debug > Connect",
       [&] {
         // Its settings dialog, left as it is, goes on to the connection.
         QTimer::singleShot(0, [] {
           if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
         });
         return Pick(CmdDebugConnectMenu);
       }},
  };
  for (const auto& [way, run] : ways) {
    output->hide();
    output->View()->clear();
    facade_.asked.clear();
    ASSERT_TRUE(run()) << way;
    QApplication::processEvents();
    EXPECT_EQ(Env().CommState.load(), CommOffline) << way;
    JoinLinkJobThreads();
    std::vector<std::wstring> messages;
    for (const auto& asked : facade_.asked) messages.push_back(asked.Text);
    EXPECT_EQ(messages, std::vector<std::wstring>{L"Parse Binary Error"}) << way;
    EXPECT_TRUE(output->isVisible()) << way;
    QStringList lines;
    for (int i = 0; i < output->View()->count(); ++i) lines << output->View()->item(i)->text();
    EXPECT_EQ(lines.count(QStringLiteral("    MAIN (INT0), NETWORK 0    Error : LAD, No Output Element")), 1)
        << way << ": " << lines.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(lines.last(), QStringLiteral("Total 1 Error(s)")) << way;
    // The total is in view.
    CInforOutputView* list = output->View();
    EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(list->item(list->count() - 1)))) << way;
    EXPECT_EQ(plc_.Connections(), 0) << way;
    EXPECT_TRUE(plc_.Requests().empty()) << way << ": " << RequestCodes();
  }
}

// A PLC on a USB-serial cable, as a new user reaches it: File > Download... shows the
// communication settings, whose port list offers the adapter the machine has (here a fake device
// folder whose ttyUSB0 leads to the simulated PLC's pseudo-terminal); the adapter is chosen, the
// project goes down the line, the monitor runs over it, the program comes back up, and the
// configuration keeps the adapter's own name.
class E2eSerial : public E2eOnline {
 protected:
  E2eSerial() : E2eOnline(SimulatedPlc::Transport::kSerialPty) {}

  testsupport::FakeSerialDevices devices_;
};

TEST_F(E2eSerial, AnAdapterChosenInTheSettingsCarriesDownloadMonitorAndUpload) {
  devices_.AddTty("ttyS0", 0);  // an 8250 slot without a UART: not offered
  devices_.AddTty("ttyUSB0", -1, plc_.DevicePath());
  const std::string id = "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
  devices_.AddById(id, "ttyUSB0");
  const QString node = QString::fromStdString(devices_.Node("ttyUSB0"));
  const std::wstring stored = platform::FromUtf8Lossy(devices_.Root() + "/dev/serial/by-id/" + id);
  Start();
  Env().Config.LinkTimeUpdateUi = 50;

  CProgramEditorMainView* editor = OpenProgramEditor();
  ASSERT_NE(editor, nullptr);
  TypeRung(editor, 0, QStringLiteral("I0.0"), QStringLiteral("Q0.0"));
  plc_.WithMemory([&](SimulatedPlc::Memory& m) {
    for (const int page : Current().SystemBlocks.ListKeys()) m.SystemPages[static_cast<uint32_t>(page)] = {};
  });

  // File > Download...: the settings come first; the user picks the adapter and station 1.
  QStringList offered;
  QString tip;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<CMainCommunicationDlg*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    QComboBox* ports = dialog->PortList();
    for (int i = 0; i < ports->count(); ++i) offered << ports->itemText(i);
    const int adapter = ports->findText(node);
    if (adapter >= 0) {
      tip = ports->itemData(adapter, Qt::ToolTipRole).toString();
      ports->setCurrentIndex(adapter);
      dialog->StationList()->setCurrentIndex(1);
      dialog->BaudList()->setCurrentIndex(1);  // 9600 bps
      dialog->findChild<QPushButton*>(QStringLiteral("IDOK"))->click();
    } else {
      dialog->reject();
    }
  });
  ASSERT_TRUE(Pick(CmdFileDownload));
  EXPECT_EQ(offered, (QStringList{QStringLiteral("PIPE\\Quillamet"), QStringLiteral("Network"),
                                  QStringLiteral("Tarvex Mobile"), node}));
  EXPECT_EQ(tip, QString::fromStdWString(stored));
  // The adapter is stored by its own name, which finds it again whatever it is plugged in as.
  EXPECT_EQ(Env().Config.LinkPortPath, stored);
  EXPECT_EQ(Env().Config.LinkBaudrate, 9600);
  ASSERT_TRUE(WaitFor([&] { return plc_.MemorySnapshot().Resets == 1; })) << Env().CommState.load();
  ASSERT_TRUE(WaitFor([&] { return frame_->CommStatusPane()->text() == QStringLiteral("脱机"); }));
  JoinLinkJobThreads();
  EXPECT_TRUE(facade_.asked.empty()) << QString::fromStdWString(facade_.asked[0].Text).toStdString();
  EXPECT_FALSE(plc_.MemorySnapshot().Instructions.empty());
  EXPECT_EQ(Env().Port.PortName, stored);

  // Online over the same line: the monitor polls the PLC until Disconnect.
  facade_.answers = {kIdYes};  // whatever the stamps say, go on
  ASSERT_TRUE(Pick(CmdDebugConnect));
  ASSERT_TRUE(WaitFor([&] { return Env().CommState.load() == CommOnline; }))
      << RequestCodes() << (facade_.asked.empty() ? std::string() : platform::ToUtf8Lossy(facade_.asked.back().Text));
  const size_t before = plc_.Requests().size();
  ASSERT_TRUE(WaitFor([&] { return plc_.Requests().size() > before + 2; }));
  ASSERT_TRUE(Pick(CmdDebugDisconnect));
  ASSERT_TRUE(WaitFor([&] { return Env().CommState.load() == CommOffline; }));
  JoinLinkJobThreads();

  // Upload brings the rung back into a new project (the typed one is not saved).
  facade_.asked.clear();
  facade_.answers = {kIdNo};
  ASSERT_TRUE(Pick(CmdFileUpload));
  // The upload's last word to the windows comes after it has gone offline: the job is joined
  // while the windows go on serving it.
  std::atomic<bool> joined{false};
  std::thread joiner([&] {
    JoinLinkJobThreads();
    joined = true;
  });
  const bool ended = WaitFor([&] { return joined.load(); }, 20000);
  joiner.join();
  ASSERT_TRUE(ended);
  ASSERT_EQ(facade_.asked.size(), 1u);  // only the question about the typed project
  ASSERT_FALSE(MainPage().Networks().empty());
  const Network& uploaded = MainPage().Networks()[0];
  std::wstring program;
  for (const StlLine& line : uploaded.Lines) {
    program += line.Mnemonic;
    for (const std::wstring& operand : line.Operands) program += L" " + operand;
    program += L";";
  }
  EXPECT_EQ(program, L"LD I0.0;= Q0.0;") << uploaded.Kind;

  // The configuration file written at exit names the adapter the same way.
  Env().Modified = false;
  frame_->close();
  ASSERT_EQ(app_.ExitInstance(), 0);
  frame_ = nullptr;
  PlcConfig written;
  written.ReadPlcConfig(File("Orvisto.xml"));
  EXPECT_EQ(written.LinkPortPath, stored);
}

}  // namespace
}  // namespace Brenno::e2e
