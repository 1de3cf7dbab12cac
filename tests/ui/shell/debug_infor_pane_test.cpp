// The debug information pane: the table it draws offline, online with a stale record and with a
// fresh one, the value formats, the grey area while a job started offline runs, scrolling, and
// the request stamp that keeps the monitor reading the debug record while the pane shows it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QWindow>
#include <QScrollBar>

#include "core/link/app_environment.h"
#include "core/env/language.h"
#include "core/link/comm_state.h"
#include "core/project/project.h"
#include "tests/support/recording_draw_context.h"
#include "ui/shell/debug_infor_painter.h"
#include "ui/shell/debug_infor_pane.h"
#include "ui/shell/notify_codes.h"

namespace Brenno {
namespace {

using testsupport::DrawCall;
using testsupport::RecordingDrawContext;

// Shows the widget and lets the platform expose it, so that an immediate repaint paints.
void ShowExposed(QWidget& widget) {
  widget.show();
  QElapsedTimer timer;
  timer.start();
  while ((widget.windowHandle() == nullptr || !widget.windowHandle()->isExposed()) && timer.elapsed() < 2000) {
    QCoreApplication::processEvents();
  }
}

DebugRecord Record(int page, int network, int step, int stack, int helper, int pointer, int error) {
  DebugRecord record;
  record.Words = {0, 0, 0, page, network, step, stack, helper, pointer, error, 0, 0};
  return record;
}

std::vector<std::wstring> Texts(const std::array<std::wstring, kDebugRowCount>& values) {
  return std::vector<std::wstring>(values.begin(), values.end());
}

TEST(DebugInforPainter, ValueTextsByStateAndRecord) {
  const DebugRecord record = Record(26, 12, 3, -1, 0x00ABCDEF, 7, 2);
  using V = std::vector<std::wstring>;
  EXPECT_EQ(Texts(DebugValueTexts(CommOffline, &record)), V(7));
  EXPECT_EQ(Texts(DebugValueTexts(CommOpeningOnline, &record)), V(7));
  EXPECT_EQ(Texts(DebugValueTexts(CommOnline, &record)),
            (V{L"0000001AH", L"11", L"3", L"FFFFFFFFH", L"00ABCDEFH", L"7", L"2"}));
  for (int state : {CommOnline, CommCommandRequested, CommCommandInOnline, CommReturningOnline}) {
    EXPECT_EQ(Texts(DebugValueTexts(state, nullptr)), V(7, L"Unknown")) << state;
  }
  SetCurrentLanguage(kLanguageChinese);
  EXPECT_EQ(Texts(DebugValueTexts(CommOnline, nullptr)), V(7, L"未知"));
  SetCurrentLanguage(kLanguageEnglish);
  struct NetworkCase {
    int network;
    const wchar_t* shown;
  };
  for (const NetworkCase& c : {NetworkCase{0, L"0"}, NetworkCase{1, L"0"}, NetworkCase{12, L"11"}, NetworkCase{-3, L"-4"},
                               NetworkCase{INT32_MIN, L"-2147483649"}}) {
    const DebugRecord r = Record(0, c.network, 0, 0, 0, 0, 0);
    EXPECT_EQ(DebugValueTexts(CommOnline, &r)[1], c.shown) << c.network;
  }
  const DebugRecord negative = Record(0, 0, -1, 0, 0, -2, -3);
  EXPECT_EQ(DebugValueTexts(CommOnline, &negative)[2], L"4294967295");
  EXPECT_EQ(DebugValueTexts(CommOnline, &negative)[6], L"4294967293");
}

class DebugInforPaneTest : public ::testing::Test {
 protected:
  DebugInforPaneTest() { env_.ProjectList.emplace_back(); }
  OnlineCache& Cache() { return env_.ProjectList.back().Online; }
  OnlineCacheSnapshot Snapshot() {
    return Cache().TakeSnapshot(IsOnlineCommState(env_.CommState.load()), OnlineTickCount(), 4000, 2000, nullptr, 0);
  }
  void StoreRecord(const DebugRecord& record, uint32_t age) {
    Cache().Update([&](OnlineCacheData& data) {
      for (size_t i = 0; i < 10; ++i) data.Debug.Words[i] = record.Words[i];
      data.Debug.SetUpdateTick(StoredTick(OnlineTickCount() - age));
    });
  }
  std::vector<DrawCall> Paint(const Rect& area) {
    RecordingDrawContext dc;
    OnlineCacheSnapshot snapshot = Snapshot();
    PaintDebugInformation(area, env_.CommState.load(), snapshot, dc);
    return dc.calls();
  }
  // The texts drawn into the value column (x from 160 - left).
  static std::vector<std::wstring> ValueColumn(const std::vector<DrawCall>& calls, int left) {
    std::vector<std::wstring> values;
    for (const DrawCall& call : calls) {
      if (call.kind == DrawCall::kText && call.rect.left == 160 - left) values.push_back(call.text);
    }
    return values;
  }

  AppEnvironment env_;
};

TEST_F(DebugInforPaneTest, OfflineTheLabelsStandOnWhiteWithEmptyValues) {
  const std::vector<DrawCall> calls = Paint(Rect{0, 0, 300, 200});
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls[0].kind, DrawCall::kRectangle);
  EXPECT_EQ(calls[0].rect, (Rect{0, 0, 300, 200}));
  EXPECT_EQ(calls[0].pen, 76);
  EXPECT_EQ(calls[0].brush, 19);
  std::vector<DrawCall> labels;
  for (const DrawCall& call : calls) {
    if (call.kind == DrawCall::kText && call.rect.left < 160) labels.push_back(call);
  }
  // Row 5, and the runs of its label with their colours.
  std::wstring row5;
  std::vector<int> colours;
  for (const DrawCall& call : labels) {
    // The runs of a label sit one after another inside the row's band.
    if (call.rect.top < 10 + 15 * 5 || call.rect.bottom > 25 + 15 * 5) continue;
    EXPECT_EQ(call.rect.left, 10 + RecordingDrawContext::TextWidth(row5));
    row5 += call.text;
    colours.push_back(call.colour);
    EXPECT_EQ(call.font, 0);
  }
  EXPECT_EQ(row5, L"5: [Stack Poiter]");
  EXPECT_EQ(colours, (std::vector<int>{0, 0, 5, 1, 5}));
  EXPECT_EQ(ValueColumn(calls, 0), std::vector<std::wstring>(7));
  for (const DrawCall& call : calls) {
    if (call.kind == DrawCall::kText && call.rect.left == 160) {
      EXPECT_EQ(call.colour, 6);
      EXPECT_EQ(call.rect.right, 240);
      EXPECT_NE(call.format & kTextVCenter, 0u);
    }
  }
}

TEST_F(DebugInforPaneTest, OnlineAFreshRecordShowsItsValuesAStaleOneUnknown) {
  env_.CommState = CommOnline;
  StoreRecord(Record(26, 1, 5, 0x10, 0x20, 3, 0), 0);
  // Drawn in scrolled coordinates: everything shifted by the scroll positions.
  const std::vector<DrawCall> calls = Paint(Rect{10, 20, 210, 120});
  EXPECT_EQ(calls[0].rect, (Rect{0, 0, 200, 100}));
  EXPECT_EQ(ValueColumn(calls, 10),
            (std::vector<std::wstring>{L"0000001AH", L"0", L"5", L"00000010H", L"00000020H", L"3", L"0"}));
  StoreRecord(Record(26, 1, 5, 0x10, 0x20, 3, 0), 5000);
  EXPECT_EQ(ValueColumn(Paint(Rect{0, 0, 450, 125}), 0), std::vector<std::wstring>(7, L"Unknown"));
}

TEST_F(DebugInforPaneTest, TheViewStampsItsRequestOnlyForTheOnlineRefreshAndIsGreyDuringAnOfflineJob) {
  CDebugInforPane pane(env_, QStringLiteral("Debug Information"), nullptr);
  pane.resize(500, 200);
  ShowExposed(pane);
  env_.CommState = CommOnline;
  pane.OnPaneRequest(UpdDebugRedraw, 0);
  EXPECT_EQ(Cache().Data().Debug.RequestTick(), 0u);
  pane.OnPaneRequest(UpdDebugOnline, 0);
  EXPECT_NE(Cache().Data().Debug.RequestTick(), 0u);
  EXPECT_FALSE(Cache().Data().RequestFlag);

  env_.CommState = CommCommand;
  const QImage grey = pane.View()->viewport()->grab().toImage();
  const QColor face = pane.View()->palette().color(QPalette::Button);
  EXPECT_EQ(grey.pixelColor(5, 5), face);
  EXPECT_EQ(grey.pixelColor(grey.width() - 5, grey.height() - 5), face);
  env_.CommState = CommOffline;
  const QImage white = pane.View()->viewport()->grab().toImage();
  EXPECT_EQ(white.pixelColor(white.width() - 5, white.height() - 5), QColor(Qt::white));
}

TEST_F(DebugInforPaneTest, ANarrowPaneScrollsTenPixelsPerLine) {
  CDebugInforPane pane(env_, QStringLiteral("Debug Information"), nullptr);
  pane.resize(600, 300);
  pane.show();
  QScrollBar* h = pane.View()->horizontalScrollBar();
  EXPECT_EQ(h->maximum(), 0);
  pane.resize(200, 300);
  ASSERT_GT(h->maximum(), 0);
  EXPECT_EQ(h->maximum(), 450 - pane.View()->viewport()->width());
  EXPECT_EQ(h->singleStep(), 10);
  EXPECT_EQ(pane.View()->verticalScrollBar()->singleStep(), 10);
}

}  // namespace
}  // namespace Brenno
