// Painting of whole pages: only the networks the update rectangle reaches, the header strip,
// network frames and headers, "INVALID" bodies, comment boxes, the debug markers from the
// online cache, the page rectangles of the selection, the rubber band, and the break-point
// click.
#include "core/program/page_painter.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/draw/gdi_resource_set.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/link/online_access.h"
#include "core/program/ladder_metrics.h"
#include "ladder_test_elements.h"
#include "ladder_test_services.h"
#include "program_test_support.h"
#include "support/recording_draw_context.h"

namespace Brenno {
namespace {

using testsupport::DrawCall;
using testsupport::RecordingDrawContext;

constexpr int kEmptyLadderHeight = 17 + 17 + 72;  // header, one comment line, 2-row body

ProgramPage MakePage(int viewMode, size_t networks) {
  ProgramPage page;
  ProgramPage::CreateSized(page, networks);
  page.ViewState.PageId = 0;
  page.ViewState.ViewMode = viewMode;
  return page;
}

void MakeStl(Network& net, size_t lines) {
  net.Kind = kNetworkStl;
  net.Lines.assign(lines, StlLine{L"LD", 0, {L"I0.0"}, {}});
}

DebugRecord Record(int breakPage, int breakNetwork, int breakStep, int stepPage, int stepNetwork, int stepStep) {
  DebugRecord record;
  record.Words[0] = breakPage;
  record.Words[1] = breakNetwork;
  record.Words[2] = breakStep;
  record.Words[3] = stepPage;
  record.Words[4] = stepNetwork;
  record.Words[5] = stepStep;
  return record;
}

bool HasCall(const RecordingDrawContext& dc, DrawCall::Kind kind, Rect rect, int brush) {
  for (const DrawCall& call : dc.CallsOf(kind)) {
    if (call.rect == rect && call.brush == brush) return true;
  }
  return false;
}

std::vector<std::wstring> Texts(const RecordingDrawContext& dc) {
  std::vector<std::wstring> out;
  for (const DrawCall& call : dc.CallsOf(DrawCall::kText)) out.push_back(call.text);
  return out;
}

class PagePaintTest : public ::testing::Test {
 protected:
  PagePaintTest() {
    SetCurrentLanguage(kLanguageEnglish);
    SetLadderMetrics(100, false);
  }

  // A snapshot of a cache holding a fresh debug record (online) or nothing (offline).
  OnlineCacheSnapshot Snapshot(bool online, const DebugRecord& record = DebugRecord(), uint32_t age = 0) {
    OnlineCache cache;
    RebuildOnlineCache(cache, services_.memoryMap);
    cache.Update([&](OnlineCacheData& data) {
      data.Debug = record;
      data.Debug.SetUpdateTick(50000);
    });
    return cache.TakeSnapshot(online, 50000 + age, 4000, 2000, &services_.memoryMap, 0);
  }

  RecordingDrawContext Paint(ProgramPage& page, const Rect& update, const DebugRecord& record = DebugRecord(),
                             bool online = false) {
    RecordingDrawContext dc;
    OnlineCacheSnapshot snapshot = Snapshot(online, record);
    PaintProgramPage(page, dc, update, snapshot);
    return dc;
  }

  ladder_test::FakeProgramServices services_;
};

TEST_F(PagePaintTest, OnlyTheNetworksTheRectangleReachesArePainted) {
  ProgramPage page = MakePage(2, 100);
  const int top = 17 + 10 * kEmptyLadderHeight;  // network 10
  const RecordingDrawContext dc = Paint(page, Rect{0, top, 900, top + 200});
  const std::vector<std::wstring> texts = Texts(dc);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), L"NETWORK"), 3);
  for (const wchar_t* number : {L"9", L"10", L"11"}) {
    EXPECT_NE(std::find(texts.begin(), texts.end(), number), texts.end()) << platform::ToUtf8Lossy(number);
  }
  // Network 10 stands at the top of the surface; the page header strip is not reached.
  EXPECT_TRUE(HasCall(dc, DrawCall::kFill, Rect{32, 0, 32 + 748, 17}, 19));
  EXPECT_FALSE(HasCall(dc, DrawCall::kFill, Rect{0, -top, 16, 17 - top}, 18));
  const std::vector<DrawCall> rects = dc.CallsOf(DrawCall::kRectangle);
  ASSERT_FALSE(rects.empty());
  EXPECT_EQ(rects[0].rect, (Rect{0, 0, 900, 200}));
  EXPECT_EQ(rects[0].pen, SolidPen(19));
}

TEST_F(PagePaintTest, AnEmptyPageShowsTheHeaderStripWithMarkersBeforeTheFirstNetwork) {
  ProgramPage page = MakePage(2, 0);
  const RecordingDrawContext dc = Paint(page, Rect{0, 0, 400, 300}, Record(0, 0, 0, 0, 0, 0), true);
  EXPECT_EQ(page.ViewState.BreakpointNetwork, -1);
  EXPECT_EQ(page.ViewState.BreakpointLine, 0);
  EXPECT_TRUE(HasCall(dc, DrawCall::kFill, Rect{0, 0, 32, 17}, 19));
  EXPECT_TRUE(HasCall(dc, DrawCall::kFill, Rect{0, 0, 16, 17}, 18));
  EXPECT_TRUE(HasCall(dc, DrawCall::kFill, Rect{32, 0, 780, 17}, 19));
  EXPECT_TRUE(HasCall(dc, DrawCall::kFill, Rect{780, 0, 796, 17}, 19));
  EXPECT_TRUE(HasCall(dc, DrawCall::kRectangle, Rect{1, 3, 15, 13}, 15));  // break point
  bool arrow = false;
  for (const DrawCall& line : dc.CallsOf(DrawCall::kLine)) arrow |= line.rect == Rect{18, 6, 24, 6} && line.pen == SolidPen(7);
  EXPECT_TRUE(arrow);
  EXPECT_TRUE(dc.CallsOf(DrawCall::kText).empty());

  page.ViewState.ViewMode = 3;
  RecordingDrawContext other;
  OnlineCacheSnapshot offline = Snapshot(false);
  EXPECT_THROW(PaintProgramPage(page, other, Rect{0, 0, 100, 100}, offline), ExceptionLogicError);
}

TEST_F(PagePaintTest, DebugRecordPositionsBecomeMarkers) {
  struct Case {
    int view;
    int network;
    int step;
    int markerNetwork;
    int markerLine;
  } cases[] = {
      // Statement-list view; networks with 2, 3 and 0 lines.
      {1, 1, 0, 0, 1}, {1, 1, 2, 1, 0}, {1, 2, 3, 2, 0}, {1, 2, 4, -1, -1},
      {1, 3, 0, 3, 0}, {1, 0, 0, 0, 0},  {1, 4, 0, 4, 0}, {1, 0, 1, -1, -1},
      // Ladder view.
      {2, 3, 1, 2, 1}, {2, 0, 5, -1, 0}, {2, 1, 0, 0, 0},
  };
  for (const Case& c : cases) {
    ProgramPage page = MakePage(c.view, 3);
    if (c.view == 1) {
      MakeStl(page.UndoLog.Networks[0], 2);
      MakeStl(page.UndoLog.Networks[1], 3);
      MakeStl(page.UndoLog.Networks[2], 0);
    }
    OnlineCacheSnapshot snapshot = Snapshot(true, Record(0, c.network, c.step, 0, c.network, c.step));
    SyncDebugMarkers(page, snapshot);
    EXPECT_EQ(page.ViewState.BreakpointNetwork, c.markerNetwork) << c.view << " " << c.network << " " << c.step;
    EXPECT_EQ(page.ViewState.BreakpointLine, c.markerLine) << c.view << " " << c.network << " " << c.step;
    EXPECT_EQ(page.ViewState.StepNetwork, c.markerNetwork);
    EXPECT_EQ(page.ViewState.StepLine, c.markerLine);
  }

  // Another page, a stale record or the offline state show no marker.
  ProgramPage page = MakePage(2, 3);
  OnlineCacheSnapshot otherPage = Snapshot(true, Record(5, 1, 0, 5, 1, 0));
  SyncDebugMarkers(page, otherPage);
  EXPECT_EQ(page.ViewState.BreakpointNetwork, -1);
  OnlineCacheSnapshot stale = Snapshot(true, Record(0, 1, 0, 0, 1, 0), 4000);
  SyncDebugMarkers(page, stale);
  EXPECT_EQ(page.ViewState.StepNetwork, -1);
  OnlineCacheSnapshot offline = Snapshot(false, Record(0, 1, 0, 0, 1, 0));
  SyncDebugMarkers(page, offline);
  EXPECT_EQ(page.ViewState.StepNetwork, -1);
}

TEST_F(PagePaintTest, MarkersStandOnTheirStatementListLineAndTheStepHeader) {
  ProgramPage page = MakePage(1, 2);
  MakeStl(page.UndoLog.Networks[0], 3);
  MakeStl(page.UndoLog.Networks[1], 1);
  // Break point on the second line of network 0; current step at the header of network 1.
  const RecordingDrawContext dc = Paint(page, Rect{0, 0, 600, 400}, Record(0, 1, 1, 0, 1, 3), true);
  // Line 2 of network 0: y = 17 + comment 17 + 13 + 13 * 2 = 73.
  EXPECT_TRUE(HasCall(dc, DrawCall::kRectangle, Rect{1, 68, 15, 78}, 15));
  const int top1 = 17 + 17 + 17 + 13 * 3 + 4;
  EXPECT_TRUE(HasCall(dc, DrawCall::kFill, Rect{32, top1, 32 + 420, top1 + 17}, 16));
  std::vector<std::wstring> header;
  for (const DrawCall& text : dc.CallsOf(DrawCall::kText)) {
    if (text.rect.top >= top1 && text.rect.bottom <= top1 + 17) {
      header.push_back(text.text);
      EXPECT_EQ(text.colour, 15);
    }
  }
  EXPECT_EQ(header, (std::vector<std::wstring>{L"NETWORK", L" ", L"1", L" ", L"STEP", L" ", L"0"}));
}

TEST_F(PagePaintTest, InvalidBodiesAndCommentBoxes) {
  ProgramPage page = MakePage(2, 2);
  page.UndoLog.Networks[0].Comments = {L"first", L"注释"};
  MakeStl(page.UndoLog.Networks[1], 2);
  RecordingDrawContext dc = Paint(page, Rect{0, 0, 900, 400});
  // Network 0: comment box 13 * 2 + 4 high, lines from x = 38, first line at y + 19.
  EXPECT_TRUE(HasCall(dc, DrawCall::kFill, Rect{32, 34, 780, 64}, 20));
  const std::vector<DrawCall> texts = dc.CallsOf(DrawCall::kText);
  auto find = [&](const std::wstring& text) {
    return std::find_if(texts.begin(), texts.end(), [&](const DrawCall& call) { return call.text == text; });
  };
  ASSERT_NE(find(L"first"), texts.end());
  EXPECT_EQ(find(L"first")->rect, (Rect{38, 36, 774, 49}));
  EXPECT_EQ(find(L"first")->colour, 1);
  ASSERT_NE(find(L"注释"), texts.end());
  EXPECT_EQ(find(L"注释")->rect.top, 49);
  // Network 1 is a statement list in the ladder view: 748 x 26 "INVALID".
  const int top1 = 17 + 17 + 30 + 72;
  const Rect body{32, top1 + 34, 32 + 748, top1 + 34 + 26};
  EXPECT_TRUE(HasCall(dc, DrawCall::kFill, body, 19));
  ASSERT_NE(find(L"INVALID"), texts.end());
  EXPECT_EQ(find(L"INVALID")->rect, body);
  EXPECT_EQ(find(L"INVALID")->colour, 11);

  // While the comment editor is open on network 0 it covers the comment box.
  page.ViewState.SelectionFirst = page.ViewState.SelectionLast = 0;
  page.ViewState.CursorColumn = page.ViewState.CursorRow = -1;
  page.ViewState.CommentEditor.Open = true;
  page.ViewState.CommentEditor.Lines = {L"a", L"b", L"c"};
  dc = Paint(page, Rect{0, 0, 900, 400});
  const std::vector<std::wstring> shown = Texts(dc);
  EXPECT_EQ(std::find(shown.begin(), shown.end(), L"first"), shown.end());
}

TEST_F(PagePaintTest, SelectionRectangles) {
  ProgramPage page = MakePage(2, 4);
  page.UndoLog.Networks[1].Comments = {L"a", L"b"};  // network 1: 17 + 30 + 72
  PageViewState& s = page.ViewState;
  EXPECT_EQ(GetSelectionRect(page), (Rect{}));

  s.SelectionFirst = 1;
  s.SelectionLast = 3;
  EXPECT_EQ(GetRangeRect(page), (Rect{0, 123, 796, 123 + 119 + 106}));
  EXPECT_EQ(GetSelectionRect(page), GetRangeRect(page));
  EXPECT_EQ(GetCursorRect(page), (Rect{}));

  s.SelectionLast = 1;
  s.CursorColumn = s.CursorRow = -1;
  EXPECT_EQ(GetCommentRect(page), (Rect{32, 140, 780, 170}));
  EXPECT_EQ(GetSelectionRect(page), GetCommentRect(page));

  s.SelectionFirst = s.SelectionLast = 2;
  s.CursorColumn = 1;
  s.CursorRow = 0;
  const int body = 17 + 106 + 119 + 34;
  EXPECT_EQ(GetCursorRect(page), (Rect{32 + 102, body, 32 + 204, body + 54}));
  EXPECT_EQ(GetSelectionRect(page), GetCursorRect(page));
  EXPECT_EQ(GetRangeRect(page), (Rect{}));
}

TEST_F(PagePaintTest, RubberBandIsAnInvertedDottedFrame) {
  ProgramPage page = MakePage(2, 1);
  page.ViewState.MouseState = kMouseRubberBand;
  page.ViewState.DragRect = Rect{10, 20, 50, 60};
  const RecordingDrawContext dc = Paint(page, Rect{5, 5, 905, 505});
  const std::vector<DrawCall> bands = dc.CallsOf(DrawCall::kInvertedFrame);
  ASSERT_EQ(bands.size(), 1u);
  EXPECT_EQ(bands[0].rect, (Rect{5, 15, 45, 55}));
  EXPECT_EQ(bands[0].pen, 30);
}

TEST_F(PagePaintTest, ARangeBeyondTheNetworksCountsAsNoSelection) {
  ProgramPage page = MakePage(2, 3);
  page.ViewState.SelectionFirst = 1;
  page.ViewState.SelectionLast = 9;
  const RecordingDrawContext dc = Paint(page, Rect{0, 0, 900, 400});
  for (const DrawCall& fill : dc.CallsOf(DrawCall::kFill)) EXPECT_NE(fill.brush, 21);
  EXPECT_EQ(page.ViewState.SelectionLast, 9);  // left as it was

  page.ViewState.SelectionLast = 2;
  const RecordingDrawContext selected = Paint(page, Rect{0, 0, 900, 400});
  EXPECT_TRUE(HasCall(selected, DrawCall::kFill, Rect{32, 17 + 106, 780, 17 + 106 + 17}, 21));
}

// The page painter and the break-point click on the current project's cache and the
// installed environment's communication state, as the PLC link serves them.
class PageOnlineTest : public programtest::ProjectFixture {
 protected:
  void SetUp() override {
    ProjectFixture::SetUp();
    SetLadderMetrics(100, false);
    RebuildOnlineCache(Project().Online, Project().MemoryAreas);
    InstallLinkOnlineServices();
  }
  void TearDown() override {
    InstallOnlineServices(nullptr);
    SetDebugBreakPointWriter(nullptr);
    ProjectFixture::TearDown();
  }
};

TEST_F(PageOnlineTest, PaintReadsTheProjectCacheOnlyWhileOnlineAndStampsWhatItRead) {
  ProgramPage page = MakePage(2, 1);
  page.UndoLog.Networks[0].Grid.Elements = {ladder_test::Contact(0, 0, L"I0.1")};
  UpdateLadderExtent(page.UndoLog.Networks[0].Grid);
  Project().Online.Update([](OnlineCacheData& data) {
    data.ValueImages[0][0].Value = 0x02;
    data.RequestFlag = true;
  });
  const Rect update{0, 0, 900, 300};
  const Rect symbol{32 + 40, 51 + 20, 32 + 62, 51 + 35};

  RecordingDrawContext offline;
  PaintProgramPage(page, offline, update);
  EXPECT_FALSE(HasCall(offline, DrawCall::kFill, symbol, 8));

  Environment().CommState = kCommOnline;
  RecordingDrawContext online;
  PaintProgramPage(page, online, update);
  EXPECT_TRUE(HasCall(online, DrawCall::kFill, symbol, 8));
  const std::vector<std::wstring> texts = Texts(online);
  EXPECT_NE(std::find(texts.begin(), texts.end(), L"1"), texts.end());
  EXPECT_NE(Project().Online.Data().ValueImages[0][0].RequestTick, 0u);
}

TEST_F(PageOnlineTest, ClickingTheMarkedHeaderAgainClearsTheBreakPoint) {
  std::vector<DebugRecord> written;
  SetDebugBreakPointWriter([&](const DebugRecord& record) { written.push_back(record); });
  ProgramPage page = MakePage(2, 4);
  page.ViewState.PageId = 0;
  Project().Online.Update([](OnlineCacheData& data) {
    data.Debug = Record(0, 3, 0, 0, 0, 0);
    data.Debug.SetUpdateTick(OnlineTickCount());
  });

  page.ToggleBreakpoint(1, 0);  // offline: nothing happens
  EXPECT_TRUE(written.empty());

  Environment().CommState = kCommOnline;
  page.ToggleBreakpoint(1, 0);
  page.ToggleBreakpoint(2, 0);
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ((std::vector<int>{written[0].Words[0], written[0].Words[1], written[0].Words[2]}),
            (std::vector<int>{0, 2, 0}));
  EXPECT_EQ((std::vector<int>{written[1].Words[0], written[1].Words[1], written[1].Words[2]}),
            (std::vector<int>{0, -1, -1}));
}

}  // namespace
}  // namespace Brenno
