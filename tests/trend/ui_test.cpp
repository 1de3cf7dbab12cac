// The viewer's windows, offscreen: the chart control, the dialogs and the whole program
// polling the fault-injecting slave.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableWidget>
#include <QTimer>

#include <filesystem>
#include <fstream>

#include "fake_rtu_slave.h"
#include "peer_process.h"
#include "platform/ini_file.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"
#include "trend/ui/comm_set_dlg.h"
#include "trend/ui/curve_list_dlg.h"
#include "trend/ui/main_frame.h"
#include "trend/ui/message.h"
#include "trend/ui/trend_app.h"
#include "trend/ui/xgraph.h"

using namespace vandrel;
using trendtest::FakeRtuSlave;

namespace {

std::wstring W(const std::string& s) { return platform::FromUtf8Lossy(s); }

// Runs the event loop until the condition holds or the time is up.
template <typename Condition>
bool WaitFor(Condition condition, int ms = 5000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > ms) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

void Click(QWidget* w, QPointF at, Qt::MouseButton button = Qt::LeftButton) {
  QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), button, button, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), button, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &release);
}

void Drag(QWidget* w, QPointF from, QPointF to) {
  QMouseEvent press(QEvent::MouseButtonPress, from, w->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QMouseEvent move(QEvent::MouseMove, to, w->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &move);
  QMouseEvent release(QEvent::MouseButtonRelease, to, w->mapToGlobal(to), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &release);
}

std::vector<tagDataPoint> Line(int n, double slope) {
  std::vector<tagDataPoint> p;
  for (int i = 0; i < n; ++i) p.push_back({double(i), slope * i});
  return p;
}

// A settings file for the fake slave: one curve of `count` points from register 2000.
void WriteConfig(const std::string& path, uint16_t port, int count, int block) {
  platform::IniFile ini;
  TrendSettings s;
  s.HostPort = port;
  s.Timeout = 500;
  WriteCommSettings(ini, s);
  CurveList curves;
  auto c = std::make_unique<TrendCurve>();
  c->Count = count;
  c->BlockNum = static_cast<uint8_t>(block);
  curves.push_back(std::move(c));
  WriteTrendCurves(ini, curves);
  ASSERT_TRUE(ini.Save(W(path)));
}

class MessageCatcher {
 public:
  MessageCatcher() {
    SetInfoMessageHandler([this](const QString& m) { messages.push_back(m); });
  }
  ~MessageCatcher() { SetInfoMessageHandler(nullptr); }
  std::vector<QString> messages;
};

}  // namespace

TEST(TrendChart, SeriesAreSetPerIndexAndResetAllRemovesThem) {
  CXGraph chart;
  chart.resize(400, 300);
  const auto a = Line(10, 1.0), b = Line(5, -2.0);
  chart.SetData(b.data(), 5, 1);
  ASSERT_EQ(chart.SeriesCount(), 2);
  EXPECT_TRUE(chart.Series(0).empty());
  chart.SetData(a.data(), 10, 0);
  EXPECT_EQ(chart.Series(0), a);
  EXPECT_EQ(chart.Series(1), b);
  // The chart keeps its own copy.
  auto changed = a;
  changed[3].y = 99;
  EXPECT_EQ(chart.Series(0)[3].y, 3.0);
  const QRectF range = chart.ViewRange();
  EXPECT_LE(range.left(), 0.0);
  EXPECT_GE(range.right(), 9.0);
  EXPECT_LE(range.top(), -8.0);
  EXPECT_GE(range.bottom(), 9.0);
  chart.ResetAll();
  EXPECT_EQ(chart.SeriesCount(), 0);
}

TEST(TrendChart, OperationsAndMenuCommandsSwitchTheMouseOperation) {
  CXGraph chart;
  EXPECT_EQ(chart.GetOperation(), CXGraph::kOpNone);
  const struct {
    void (CXGraph::*call)();
    int op;
  } calls[] = {{&CXGraph::Zoom, 1}, {&CXGraph::ResetZoom, 2}, {&CXGraph::Pan, 3}, {&CXGraph::Cursor, 4}, {&CXGraph::NoOp, 5}};
  for (const auto& c : calls) {
    (chart.*c.call)();
    EXPECT_EQ(chart.GetOperation(), c.op);
  }
  const std::map<int, int> menuOps = {{40000, 5}, {40002, 1}, {40003, 2}, {40004, 3}, {40011, 4}};
  ASSERT_EQ(CXGraph::MenuCommands().size(), menuOps.size());
  for (const auto& [id, text] : CXGraph::MenuCommands()) {
    ASSERT_TRUE(chart.ExecuteCommand(id)) << id;
    EXPECT_EQ(chart.GetOperation(), menuOps.at(id)) << text.toStdString();
  }
  EXPECT_FALSE(chart.ExecuteCommand(40007));
}

TEST(TrendChart, ZoomPanAndResetZoomWithTheMouse) {
  CXGraph chart;
  chart.resize(500, 400);
  const auto a = Line(101, 1.0);
  chart.SetData(a.data(), 101, 0);
  const QRectF full = chart.ViewRange();
  chart.Zoom();
  const QPointF from = chart.ToPixel({20, 20}), to = chart.ToPixel({40, 60});
  Drag(&chart, from, to);
  QRectF zoomed = chart.ViewRange();
  EXPECT_NEAR(zoomed.left(), 20, 0.5);
  EXPECT_NEAR(zoomed.right(), 40, 0.5);
  EXPECT_NEAR(zoomed.top(), 20, 0.5);
  EXPECT_NEAR(zoomed.bottom(), 60, 0.5);

  chart.Pan();
  const QRect area = chart.PlotArea();
  Drag(&chart, area.center(), area.center() + QPointF(area.width() / 2.0, 0));
  const QRectF panned = chart.ViewRange();
  EXPECT_NEAR(panned.left(), 10, 0.5);  // half the width of 20 to the left
  EXPECT_NEAR(panned.width(), zoomed.width(), 1e-9);

  chart.ResetZoom();
  EXPECT_EQ(chart.ViewRange(), full);
  EXPECT_EQ(chart.GetOperation(), CXGraph::kOpResetZoom);
}

TEST(TrendChart, CursorFollowsClicksSnapsWhenAskedAndIsMirrored) {
  CXGraph chart;
  chart.resize(500, 400);
  const auto a = Line(11, 10.0);
  chart.SetData(a.data(), 11, 0);
  chart.SetCursorFlags(14);
  chart.Cursor();
  int reports = 0;
  QObject::connect(&chart, &CXGraph::cursorReported, [&](CXGraph* c) { reports += c == &chart; });
  Click(&chart, chart.ToPixel({4.3, 47}));
  EXPECT_EQ(reports, 1);
  EXPECT_NEAR(chart.GetCursorAbsolute(0).x, 4.3, 0.05);
  EXPECT_NEAR(chart.GetCursorAbsolute(0).y, 47, 0.5);
  chart.ForceSnap(1);
  Click(&chart, chart.ToPixel({4.3, 47}));
  EXPECT_EQ(chart.GetCursorAbsolute(0), (tagDataPoint{4, 40}));

  // Mirroring: another chart's cursor moves the view's chart cursor.
  testsupport::TempDir dir;
  CTrendView view(W(dir.File("TrendConf.CFG")), W(dir.File("VandrelData")));
  view.StopPollThread();
  EXPECT_EQ(view.Chart()->CursorFlags(), 14u);
  EXPECT_FALSE(view.Chart()->Snaps());
  view.OnChartCursor(&chart);
  EXPECT_EQ(view.Chart()->GetOperation(), CXGraph::kOpCursor);
  EXPECT_EQ(view.Chart()->GetCursorAbsolute(0), (tagDataPoint{4, 40}));
  view.Chart()->NoOp();
  view.OnChartCursor(view.Chart());  // its own report changes nothing
  EXPECT_EQ(view.Chart()->GetOperation(), CXGraph::kOpNone);
}

TEST(TrendDialogs, CommSetEnablesTheFieldsOfTheChosenInterfaceAndChecksOk) {
  MessageCatcher catcher;
  CCommSetDlg dlg;
  dlg.SetFields(CommSetFieldsFrom(TrendSettings()));
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("ModbusTCP配置"));
  EXPECT_TRUE(dlg.HostIpEdit()->isEnabled());
  EXPECT_FALSE(dlg.BaudBox()->isEnabled());
  EXPECT_EQ(dlg.BaudBox()->currentText(), QStringLiteral("9600"));
  dlg.InterfaceBox()->setCurrentIndex(1);
  EXPECT_FALSE(dlg.HostIpEdit()->isEnabled());
  EXPECT_FALSE(dlg.HostPortEdit()->isEnabled());
  for (QComboBox* box : {dlg.ComPortBox(), dlg.BaudBox(), dlg.DataBitsBox(), dlg.StopBitsBox(), dlg.ParityBox()})
    EXPECT_TRUE(box->isEnabled());
  dlg.InterfaceBox()->setCurrentIndex(-1);
  EXPECT_TRUE(dlg.BaudBox()->isEnabled());

  dlg.InterfaceBox()->setCurrentIndex(0);
  dlg.TimeoutEdit()->setText(QStringLiteral("49"));
  dlg.accept();
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  ASSERT_EQ(catcher.messages.size(), 1u);
  EXPECT_EQ(catcher.messages[0], QStringLiteral("请正确输入超时时间，范围为50 ～ 3600000(毫秒)！"));
  dlg.TimeoutEdit()->setText(QStringLiteral("50"));
  dlg.accept();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST(TrendDialogs, CurveListAddsEditsAndDeletesInPlace) {
  CurveList curves;
  for (int i = 0; i < 5; ++i) {
    auto c = std::make_unique<TrendCurve>();
    c->Start = 1000 + i;
    curves.push_back(std::move(c));
  }
  CCurveListDlg dlg(curves);
  QTableWidget* list = dlg.List();
  ASSERT_EQ(list->rowCount(), 5);
  EXPECT_EQ(list->horizontalHeaderItem(1)->text(), QStringLiteral("寄存器首地址"));
  EXPECT_EQ(list->item(2, 1)->text(), QStringLiteral("MD1002"));
  EXPECT_EQ(list->item(0, 4)->text(), QStringLiteral("单精度浮点数"));

  std::vector<CurveParamFields> asked;
  dlg.AskParams = [&](CurveParamFields& f) {
    asked.push_back(f);
    f.StartText = L"3000";
    f.DataType = 1;
    return true;
  };
  dlg.OnAdd();
  ASSERT_EQ(curves.size(), 6u);
  EXPECT_EQ(asked[0].CountText, L"500");
  EXPECT_EQ(asked[0].StartText, L"2000");
  EXPECT_EQ(asked[0].DevNoText, L"1");
  EXPECT_EQ(asked[0].BlockText, L"32");
  EXPECT_EQ(curves[5]->Start, 3000);
  EXPECT_EQ(curves[5]->Color, 255);
  EXPECT_EQ(list->item(5, 4)->text(), QStringLiteral("单精度浮点数(交换)"));

  list->clearSelection();
  list->setSelectionMode(QAbstractItemView::MultiSelection);
  list->selectRow(1);
  list->selectRow(3);
  dlg.OnDelete();
  ASSERT_EQ(curves.size(), 4u);
  EXPECT_EQ(curves[1]->Start, 1002);
  EXPECT_EQ(curves[2]->Start, 1004);

  list->clearSelection();
  list->selectRow(0);
  dlg.AskParams = [](CurveParamFields& f) {
    f.DevNoText = L"9";
    return true;
  };
  dlg.OnEdit();
  EXPECT_EQ(curves[0]->DevNo, 9);
  EXPECT_EQ(list->item(0, 0)->text(), QStringLiteral("9"));
}

TEST(TrendProgram, PollsAtStartPlotsTheCurveAndRendersTheWindow) {
  testsupport::TempDir dir;
  auto slave = FakeRtuSlave::ListenTcp();
  for (int k = 0; k < 500; ++k)
    slave->SetFloat(static_cast<uint16_t>(2000 + 2 * k), static_cast<float>(50.0 * std::sin(k / 40.0) + k / 10.0));
  WriteConfig(dir.File("TrendConf.CFG"), slave->Port(), 500, 32);

  CTrendApp app(W(dir.path()));
  EXPECT_EQ(app.TrendConfFile(), W(dir.File("TrendConf.CFG")));
  ASSERT_TRUE(app.InitInstance());
  CMainFrame* frame = app.MainFrame();
  EXPECT_EQ(frame->windowTitle(), QStringLiteral("Vandrel"));
  CTrendView* view = frame->View();
  ASSERT_TRUE(WaitFor([&] { return view->Poller().CompletedCycles() >= 1 && view->Chart()->SeriesCount() == 1 &&
                                   view->Chart()->Series(0).size() == 500 && !view->Busy(); }));
  QApplication::processEvents();

  const auto requests = slave->Requests();
  ASSERT_EQ(requests.size(), 32u);
  EXPECT_EQ(requests.back().quantity, 8);
  const auto& series = view->Chart()->Series(0);
  for (int k = 0; k < 500; ++k) {
    ASSERT_EQ(series[k].x, k);
    ASSERT_EQ(series[k].y, static_cast<float>(50.0 * std::sin(k / 40.0) + k / 10.0)) << k;
  }
  frame->UpdateCommandUi();
  EXPECT_EQ(frame->LinkPane()->text(), QStringLiteral("已连接"));

  // Toolbar buttons are marked by the chart's operation.
  frame->Action(ID_CHART_ZOOM)->trigger();
  EXPECT_EQ(view->Chart()->GetOperation(), CXGraph::kOpZoom);
  EXPECT_TRUE(frame->Action(ID_CHART_ZOOM)->isChecked());
  frame->Action(ID_CHART_NOOP)->trigger();
  EXPECT_FALSE(frame->Action(ID_CHART_ZOOM)->isChecked());
  EXPECT_TRUE(frame->Action(ID_CHART_NOOP)->isChecked());
  EXPECT_EQ(frame->Action(ID_REFRESH)->toolTip(), QStringLiteral("刷新"));
  EXPECT_EQ(frame->Action(ID_REFRESH)->statusTip(), QStringLiteral("刷新当前曲线数据"));

  // A picture of the window with its curve.
  view->Chart()->SetCursorAbsolute(0, series[250], true);
  const QImage image = frame->grab().toImage();
  const std::string png = testsupport::BinaryDir() + "/trend_window.png";
  ASSERT_TRUE(image.save(QString::fromStdString(png)));
  int curvePixels = 0;
  const QColor curveColor = CXGraph::SeriesColor(0);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      curvePixels += std::abs(c.red() - curveColor.red()) + std::abs(c.green() - curveColor.green()) +
                         std::abs(c.blue() - curveColor.blue()) < 60;
    }
  EXPECT_GT(curvePixels, 300);

  // Refresh with tracing on polls once more and writes the day's trace file.
  frame->Action(ID_TRACE)->trigger();
  EXPECT_TRUE(frame->Action(ID_TRACE)->isChecked());
  slave->ClearRequests();
  frame->Action(ID_REFRESH)->trigger();
  ASSERT_TRUE(WaitFor([&] { return view->Poller().CompletedCycles() >= 2; }));
  EXPECT_EQ(slave->Requests().size(), 32u);
  const std::wstring traceFile = view->Poller().Log().FileFor(std::chrono::system_clock::now());
  EXPECT_TRUE(std::filesystem::exists(platform::ToUtf8Lossy(traceFile)));
  app.ExitInstance();
}

TEST(TrendProgram, UnreachableSlaveShowsNotConnectedAndSavedSettingsReplaceTheLink) {
  testsupport::TempDir dir;
  const int freePort = trendtest::FreeTcpPort();
  WriteConfig(dir.File("TrendConf.CFG"), static_cast<uint16_t>(freePort), 10, 8);
  CTrendApp app(W(dir.path()));
  ASSERT_TRUE(app.InitInstance());
  CMainFrame* frame = app.MainFrame();
  CTrendView* view = frame->View();
  ASSERT_TRUE(WaitFor([&] { return view->LinkStatusText() == QStringLiteral("未连接") && !view->Busy(); }));
  frame->UpdateCommandUi();
  EXPECT_EQ(frame->LinkPane()->text(), QStringLiteral("未连接"));

  // The communication dialog, confirmed with a slave that answers: the next cycle connects.
  auto slave = FakeRtuSlave::ListenTcp();
  QTimer::singleShot(0, [&] {
    auto* dlg = qobject_cast<CCommSetDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    dlg->HostPortEdit()->setText(QString::number(slave->Port()));
    dlg->TimeoutEdit()->setText(QStringLiteral("700"));
    dlg->accept();
  });
  frame->Action(ID_COMM_CONFIG)->trigger();
  EXPECT_EQ(view->Settings().HostPort, slave->Port());
  platform::IniFile ini;
  ASSERT_TRUE(ini.Load(W(dir.File("TrendConf.CFG"))));
  EXPECT_EQ(ini.GetInt("ComSet", "Timeout", 0), 700);
  EXPECT_EQ(ini.GetInt("ComSet", "HostPort", 0), slave->Port());
  frame->Action(ID_REFRESH)->trigger();
  ASSERT_TRUE(WaitFor([&] { return view->LinkStatusText() == QStringLiteral("已连接"); }));
  ASSERT_TRUE(WaitFor([&] { return slave->Requests().size() == 3u; }));

  // "保存" in the curve list saves the list and restarts polling, which reads once more.
  QTimer::singleShot(0, [&] {
    auto* dlg = qobject_cast<CCurveListDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    dlg->AskParams = [](CurveParamFields& f) {
      f.CountText = L"4";
      return true;
    };
    dlg->OnAdd();
    dlg->accept();
  });
  frame->Action(ID_CURVE_CONFIG)->trigger();
  ASSERT_TRUE(ini.Load(W(dir.File("TrendConf.CFG"))));
  EXPECT_EQ(ini.GetInt("Trend", "Count", 0), 2);
  EXPECT_EQ(ini.GetInt("Trend", "Count1", 0), 4);
  ASSERT_TRUE(WaitFor([&] { return slave->Requests().size() == 3u + 3u + 1u; }));
  app.ExitInstance();
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
