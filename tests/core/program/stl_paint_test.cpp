// Painting of statement-list lines: colours of mnemonic, operands, values and comments, the
// power-flow mark, the body background and cursor line, and where a long line is cut.
#include "core/program/stl_painter.h"

#include <gtest/gtest.h>

#include "core/draw/gdi_resource_set.h"
#include "core/env/language.h"
#include "ladder_test_services.h"
#include "support/recording_draw_context.h"

namespace Brenno {
namespace {

using testsupport::DrawCall;
using testsupport::RecordingDrawContext;

StlLine MakeLine(const std::wstring& mnemonic, std::vector<std::wstring> operands,
                 std::vector<std::wstring> comments = {}, int variant = 0) {
  StlLine line;
  line.Mnemonic = mnemonic;
  line.Variant = variant;
  line.Operands = std::move(operands);
  line.Comments = std::move(comments);
  return line;
}

class StlPaintTest : public ::testing::Test {
 protected:
  StlPaintTest() {
    SetCurrentLanguage(kLanguageEnglish);
    RebuildOnlineCache(cache_, services_.memoryMap);
    page_.PageId = 0;
    page_.ViewMode = 1;
    page_.CurrentNetwork = 0;
  }

  OnlineCacheSnapshot Snapshot(bool online) {
    return cache_.TakeSnapshot(online, 1000, 4000, 2000, &services_.memoryMap, services_.library.FxMode);
  }

  void SetByte(const wchar_t* region, int byte, uint8_t value) {
    int slot = -1;
    for (const MemoryRegion& r : services_.memoryMap.Regions) {
      if (r.Name == region) slot = r.Slot;
    }
    cache_.Update([&](OnlineCacheData& data) { data.ValueImages[static_cast<size_t>(slot)][static_cast<size_t>(byte)].Value = value; });
  }

  StlLineView View(const StlLine& line, bool online = false) {
    OnlineCacheSnapshot snapshot = Snapshot(online);
    StlLineView view;
    BuildStlLineView(line, page_, snapshot, view);
    return view;
  }

  ladder_test::FakeProgramServices services_;
  OnlineCache cache_;
  PageViewState page_;
};

TEST_F(StlPaintTest, LinesAreColouredByWhatEachPartIs) {
  struct Case {
    StlLine line;
    std::wstring text;
    std::vector<ColorRun> runs;
    int mark;
  } cases[] = {
      {MakeLine(L"LD", {L"I0.0"}), L"LD  I0.0", {{2, 2}, {2, 0}, {4, 0}}, 8},
      {MakeLine(L"LD", {L"Start"}, {L"go"}), L"LD  Start  //go", {{2, 2}, {2, 0}, {5, 3}, {6, 1}}, 8},
      {MakeLine(L"LD", {L"I0.0"}, {}, 2), L"LD#2  I0.0", {{2, 2}, {2, 6}, {2, 0}, {4, 0}}, 8},
      {MakeLine(L"LDB=", {L"VB0", L"5"}), L"LDB=  VB0, 5", {{4, 2}, {2, 0}, {3, 0}, {2, 0}, {1, 6}}, 8},
      {MakeLine(L"LDB=", {L"VB0", L"junk"}), L"LDB=  VB0, junk", {{4, 2}, {2, 0}, {3, 0}, {2, 0}, {4, 10}}, 8},
      // The marker text of an address stands behind it while offline.
      {MakeLine(L"LD", {L"SM0.0"}), L"LD  SM0.0 [Always on]",
       {{2, 2}, {2, 0}, {5, 0}, {1, 0}, {1, 5}, {9, 6}, {1, 5}}, 8},
      // No definition: wrong operand count, wrong letter case, unknown mnemonic.
      {MakeLine(L"LD", {L"I0.0", L"I0.1"}), L"LD  I0.0, I0.1", {{14, 10}}, 10},
      {MakeLine(L"ld", {L"I0.0"}, {L"x"}), L"ld  I0.0  //x", {{8, 10}, {5, 1}}, 10},
      {MakeLine(L"", {}, {L"only"}), L"//only", {{6, 1}}, 10},
  };
  for (const Case& c : cases) {
    const StlLineView view = View(c.line);
    EXPECT_EQ(view.Text, c.text);
    EXPECT_EQ(view.Runs, c.runs) << platform::ToUtf8Lossy(c.text);
    EXPECT_EQ(view.MarkColour, c.mark) << platform::ToUtf8Lossy(c.text);
    EXPECT_EQ(view.PowerFlow, -1);
  }
}

TEST_F(StlPaintTest, ASelectedNetworkIsDrawnInColour13Throughout) {
  page_.SelectionFirst = 0;
  page_.SelectionLast = 2;
  for (const StlLine& line : {MakeLine(L"LD", {L"SM0.0"}, {L"c"}), MakeLine(L"XYZ", {L"a"})}) {
    const StlLineView view = View(line);
    EXPECT_EQ(view.MarkColour, 13);
    for (const ColorRun& run : view.Runs) EXPECT_EQ(run.colour, 13);
  }
}

TEST_F(StlPaintTest, OnlineValuesAndPowerFlow) {
  SetByte(L"I", 0, 0x01);
  SetByte(L"V", 0, 0x05);
  StlLineView view = View(MakeLine(L"LD", {L"I0.0"}), true);
  EXPECT_EQ(view.Text, L"LD  I0.0 [1]");
  EXPECT_EQ(view.OperandFlags, (std::vector<OperandValueFlag>{{1, 1}}));
  EXPECT_EQ(view.PowerFlow, 1);

  view = View(MakeLine(L"LDN", {L"I0.0"}), true);
  EXPECT_EQ(view.PowerFlow, 2);

  // A byte compare of a cached value with a constant.
  view = View(MakeLine(L"LDB=", {L"VB0", L"5"}), true);
  EXPECT_EQ(view.Text, L"LDB=  VB0 [16#05], 5");
  EXPECT_EQ(view.OperandFlags, (std::vector<OperandValueFlag>{{1, 5}, {1, 5}}));
  EXPECT_EQ(view.PowerFlow, 1);

  // Online but nothing cached for the operand: "Unknown", no power flow; the marker text
  // gives way to it.
  OnlineCache empty;
  OnlineCacheSnapshot snapshot = empty.TakeSnapshot(true, 0, 4000, 2000, &services_.memoryMap, 0);
  BuildStlLineView(MakeLine(L"LD", {L"SM0.0"}), page_, snapshot, view);
  EXPECT_EQ(view.Text, L"LD  SM0.0 [Unknown]");
  EXPECT_EQ(view.PowerFlow, -1);
}

TEST_F(StlPaintTest, PowerFlowMarkFillsOrOutlinesTheRightEnd) {
  SetByte(L"I", 0, 0x01);
  RecordingDrawContext dc;
  OnlineCacheSnapshot online = Snapshot(true);
  PaintStlLine(dc, MakeLine(L"LD", {L"I0.0"}), 100, 40, page_, online);
  PaintStlLine(dc, MakeLine(L"LD", {L"I0.1"}), 100, 53, page_, online);
  const std::vector<DrawCall> fills = dc.CallsOf(DrawCall::kFill);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].rect, (Rect{510, 40, 514, 53}));
  EXPECT_EQ(fills[0].brush, 8);
  const std::vector<DrawCall> frames = dc.CallsOf(DrawCall::kFrame);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].rect, (Rect{510, 53, 514, 66}));
  EXPECT_EQ(frames[0].pen, SolidPen(8));

  // Offline: no mark at all.
  dc.Clear();
  OnlineCacheSnapshot offline = Snapshot(false);
  PaintStlLine(dc, MakeLine(L"LD", {L"I0.0"}), 100, 40, page_, offline);
  EXPECT_TRUE(dc.CallsOf(DrawCall::kFill).empty());
  EXPECT_TRUE(dc.CallsOf(DrawCall::kFrame).empty());
}

TEST_F(StlPaintTest, BodyBackgroundCursorLineAndLongLinesCutAtTheMark) {
  const std::vector<StlLine> lines{MakeLine(L"LD", {L"I0.0"}),
                                   MakeLine(L"=", {L"Q0.0"}, {std::wstring(80, L'x')})};
  page_.SelectionFirst = page_.SelectionLast = 0;
  page_.CursorColumn = 0;
  page_.CursorRow = 1;
  RecordingDrawContext dc;
  OnlineCacheSnapshot offline = Snapshot(false);
  PaintStlBody(dc, lines, 32, 50, page_, offline);
  const std::vector<DrawCall> fills = dc.CallsOf(DrawCall::kFill);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].rect, (Rect{32, 50, 452, 80}));
  EXPECT_EQ(fills[0].brush, 19);
  EXPECT_EQ(fills[1].rect, (Rect{38, 65, 446, 78}));
  EXPECT_EQ(fills[1].brush, 14);

  const std::vector<DrawCall> texts = dc.CallsOf(DrawCall::kText);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front().text, L"LD");
  EXPECT_EQ(texts.front().rect.top, 52);
  for (const DrawCall& text : texts) EXPECT_LE(text.rect.right, 32 + 410);
  // The comment of the second line runs into the mark column and ends in an ellipsis.
  EXPECT_EQ(texts.back().colour, 1);
  EXPECT_EQ(texts.back().rect.top, 65);
  EXPECT_EQ(texts.back().shown.substr(texts.back().shown.size() - 3), L"...");

  // While the statement-list editor is open on the network it covers the body.
  page_.StlEditor.Open = true;
  page_.StlEditor.Lines = {L"LD I0.0"};
  dc.Clear();
  PaintStlBody(dc, lines, 32, 50, page_, offline);
  EXPECT_TRUE(dc.calls().empty());
}

}  // namespace
}  // namespace Brenno
