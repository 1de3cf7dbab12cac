// Painting of ladder bodies: the shapes where the geometry puts them, names, labels and operand
// texts in their colours, values and power flow while online, the selected network, elements
// without definition, the pin marker, and the selected elements following the mouse.
#include "core/program/ladder_painter.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/draw/gdi_resource_set.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/program/ladder_geometry.h"
#include "core/program/ladder_metrics.h"
#include "ladder_test_elements.h"
#include "ladder_test_services.h"
#include "support/recording_draw_context.h"

namespace Brenno {
namespace {

using ladder_test::Coil;
using ladder_test::Contact;
using testsupport::DrawCall;
using testsupport::RecordingDrawContext;

bool HasLine(const RecordingDrawContext& dc, Rect line, int pen) {
  for (const DrawCall& call : dc.CallsOf(DrawCall::kLine)) {
    if (call.rect == line && call.pen == pen) return true;
  }
  return false;
}

std::vector<std::wstring> Texts(const RecordingDrawContext& dc) {
  std::vector<std::wstring> out;
  for (const DrawCall& call : dc.CallsOf(DrawCall::kText)) out.push_back(call.text);
  return out;
}

LadElement MoveBox(int column, int row) {
  LadElement e = ladder_test::Element(kLadKindBlock, column, row, L"MOV_B");
  e.PowerIn = {{0, L"EN"}};
  e.OperandIn = {{0, L"IN", L"VB0"}};
  e.OperandOut = {{0, L"OUT", L"VB1"}};
  return e;
}

class LadderPaintTest : public ::testing::Test {
 protected:
  LadderPaintTest() {
    SetCurrentLanguage(kLanguageEnglish);
    SetLadderMetrics(100, false);
    RebuildOnlineCache(cache_, services_.memoryMap);
    page_.PageId = 0;
    page_.ViewMode = 2;
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

  RecordingDrawContext Paint(const LadElement& element, bool online = false, int x = 0, int y = 0) {
    RecordingDrawContext dc;
    OnlineCacheSnapshot snapshot = Snapshot(online);
    PaintLadElement(dc, x, y, element, page_, snapshot);
    return dc;
  }

  ladder_test::FakeProgramServices services_;
  OnlineCache cache_;
  PageViewState page_;
};

TEST_F(LadderPaintTest, ContactShapeNameAndOperandStandWhereTheGeometrySays) {
  const RecordingDrawContext dc = Paint(Contact(0, 0));
  const int pen = SolidPen(7);
  // Leads and bars around the middle row y = 27 of a 102 x 54 cell, contact 32 x 16.
  EXPECT_TRUE(HasLine(dc, {0, 27, 35, 27}, pen));
  EXPECT_TRUE(HasLine(dc, {67, 27, 102, 27}, pen));
  EXPECT_TRUE(HasLine(dc, {35, 19, 35, 36}, pen));
  EXPECT_TRUE(HasLine(dc, {66, 19, 66, 36}, pen));
  for (const DrawCall& line : dc.CallsOf(DrawCall::kLine)) EXPECT_EQ(line.pen, pen);

  const std::vector<DrawCall> texts = dc.CallsOf(DrawCall::kText);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, L" ");
  EXPECT_EQ(texts[0].rect, ElementNameRect(Contact(0, 0), 0, 0));
  EXPECT_EQ(texts[0].colour, 2);
  EXPECT_EQ(texts[1].text, L"I0.0");
  EXPECT_EQ(texts[1].rect, (Rect{1, 2, 101, 16}));
  EXPECT_EQ(texts[1].colour, 0);
  EXPECT_EQ(texts[1].format & (kTextCenter | kTextVCenter), kTextCenter | kTextVCenter);
  EXPECT_TRUE(dc.CallsOf(DrawCall::kFill).empty());  // offline: no power flow
}

TEST_F(LadderPaintTest, OperandTextsShowSymbolsMarkersValuesAndUnknown) {
  struct Case {
    std::wstring operand;
    bool online;
    std::wstring shown;
    std::vector<int> colours;
  } cases[] = {
      {L"I0.0", false, L"I0.0", {0}},
      {L"Start", false, L"Start", {3}},
      // Wider than the cell: cut with an ellipsis where the text rectangle ends.
      {L"SM0.0", false, L"SM0.0 [Always on", {0, 0, 5, 6}},
      {L"I0.0", true, L"I0.0 [1]", {0, 0, 5, 6, 5}},
      {L"VW0", false, L"VW0", {10}},  // not a bit address
  };
  SetByte(L"I", 0, 0x01);
  for (const Case& c : cases) {
    const RecordingDrawContext dc = Paint(Contact(0, 0, c.operand), c.online);
    std::wstring joined;
    std::vector<int> colours;
    const std::vector<DrawCall> texts = dc.CallsOf(DrawCall::kText);
    for (size_t i = 1; i < texts.size(); ++i) {
      joined += texts[i].text;
      colours.push_back(texts[i].colour);
    }
    EXPECT_EQ(joined, c.shown);
    for (const DrawCall& text : texts) EXPECT_LE(text.rect.right, 101);
    if (c.operand == L"SM0.0") {
      EXPECT_EQ(texts.back().shown, L"Alwa...");
    }
    EXPECT_EQ(colours, c.colours) << platform::ToUtf8Lossy(c.shown);
  }

  // Online with nothing cached yet.
  OnlineCache empty;
  OnlineCacheSnapshot snapshot = empty.TakeSnapshot(true, 0, 4000, 2000, &services_.memoryMap, 0);
  RecordingDrawContext dc;
  SetCurrentLanguage(kLanguageChinese);
  PaintLadElement(dc, 0, 0, Contact(0, 0), page_, snapshot);
  SetCurrentLanguage(kLanguageEnglish);
  const std::vector<std::wstring> texts = Texts(dc);
  EXPECT_NE(std::find(texts.begin(), texts.end(), L"未知"), texts.end());
}

TEST_F(LadderPaintTest, PowerFlowFillsOrOutlinesTheSymbol) {
  SetByte(L"I", 0, 0x01);
  RecordingDrawContext on = Paint(Contact(0, 0, L"I0.0"), true);
  ASSERT_EQ(on.CallsOf(DrawCall::kFill).size(), 1u);
  EXPECT_EQ(on.CallsOf(DrawCall::kFill)[0].rect, (Rect{40, 20, 62, 35}));
  EXPECT_EQ(on.CallsOf(DrawCall::kFill)[0].brush, 8);

  RecordingDrawContext off = Paint(Coil(1, 0, L"Q0.0"), true);
  ASSERT_EQ(off.CallsOf(DrawCall::kFrame).size(), 1u);
  EXPECT_EQ(off.CallsOf(DrawCall::kFrame)[0].rect, ElementSymbolRect(Coil(1, 0), 0, 0));
  EXPECT_EQ(off.CallsOf(DrawCall::kFrame)[0].pen, SolidPen(8));

  // A box never shows the mark.
  RecordingDrawContext box = Paint(MoveBox(0, 0), true);
  EXPECT_TRUE(box.CallsOf(DrawCall::kFill).empty());
  EXPECT_TRUE(box.CallsOf(DrawCall::kFrame).empty());
}

TEST_F(LadderPaintTest, ElementsWithoutDefinitionAreColour10WithoutPowerFlow) {
  SetByte(L"I", 0, 0x01);
  LadElement unknown = Contact(0, 0);
  unknown.Name = L"??";
  const RecordingDrawContext dc = Paint(unknown, true);
  for (const DrawCall& line : dc.CallsOf(DrawCall::kLine)) EXPECT_EQ(line.pen, SolidPen(10));
  for (const DrawCall& text : dc.CallsOf(DrawCall::kText)) EXPECT_EQ(text.colour, 10);
  EXPECT_EQ(Texts(dc), (std::vector<std::wstring>{L"??", L"I0.0"}));
  EXPECT_TRUE(dc.CallsOf(DrawCall::kFill).empty());
}

TEST_F(LadderPaintTest, BoxTitleLabelsAndOperands) {
  LadElement box = MoveBox(0, 0);
  box.PowerIn[0].Name = L"GO";   // differs from the definition's "EN"
  box.Variant = 3;
  // The cell cursor stands in the network and marks the first power input of the box.
  page_.SelectionFirst = page_.SelectionLast = 0;
  page_.PinMarker = {true, 0, 0, 0, -1};
  const RecordingDrawContext dc = Paint(box);

  const std::vector<DrawCall> rects = dc.CallsOf(DrawCall::kRectangle);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].rect, ElementBoxRect(box, 0, 0));
  EXPECT_EQ(rects[0].brush, 19);
  const std::vector<DrawCall> fills = dc.CallsOf(DrawCall::kFill);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].rect, PowerInLabelRect(box, 0, 0, 0));
  EXPECT_EQ(fills[0].brush, 14);

  const std::vector<DrawCall> texts = dc.CallsOf(DrawCall::kText);
  ASSERT_EQ(texts.size(), 7u);
  EXPECT_EQ(texts[0].text, L"MOV_B");
  EXPECT_EQ(texts[0].font, kFontBold);
  EXPECT_EQ(texts[0].colour, 2);
  EXPECT_EQ(texts[1].text, L"#3");
  EXPECT_EQ(texts[1].colour, 6);
  EXPECT_EQ(texts[2].text, L"GO");
  EXPECT_EQ(texts[2].colour, 10);
  EXPECT_EQ(texts[2].format & kTextRight, 0u);
  // Operand names beside the box, values in the cells on either side of it.
  EXPECT_EQ(texts[3].text, L"IN");
  EXPECT_EQ(texts[3].colour, 7);
  EXPECT_EQ(texts[4].text, L"VB0");
  EXPECT_EQ(texts[4].rect, OperandInTextRect(box, 0, 0, 0));
  EXPECT_EQ(texts[4].format & kTextRight, unsigned{kTextRight});
  EXPECT_EQ(texts[5].text, L"OUT");
  EXPECT_EQ(texts[6].text, L"VB1");
  EXPECT_EQ(texts[6].rect, OperandOutTextRect(box, 0, 0, 0));
  EXPECT_EQ(texts[6].format & kTextRight, 0u);
}

TEST_F(LadderPaintTest, ASelectedNetworkIsColour13OnBackground21) {
  LadderGrid grid;
  grid.Elements = {Contact(0, 0), MoveBox(1, 0), ladder_test::VLink(0, 0)};
  UpdateLadderExtent(grid);
  page_.SelectionFirst = 0;
  page_.SelectionLast = 1;
  RecordingDrawContext dc;
  OnlineCacheSnapshot offline = Snapshot(false);
  PaintLadderGrid(dc, grid, 32, 51, page_, offline);
  const std::vector<DrawCall> fills = dc.CallsOf(DrawCall::kFill);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].rect, LadderBodyRect(page_, grid, 32, 51));
  EXPECT_EQ(fills[0].brush, 21);
  EXPECT_EQ(dc.CallsOf(DrawCall::kRectangle)[0].brush, 21);
  for (const DrawCall& call : dc.calls()) {
    if (call.kind == DrawCall::kLine || call.kind == DrawCall::kRectangle) {
      EXPECT_EQ(call.pen, SolidPen(13));
    }
    if (call.kind == DrawCall::kText) {
      EXPECT_EQ(call.colour, 13);
    }
  }
  // The vertical link on the right edge of cell (0, 0).
  EXPECT_TRUE(HasLine(dc, {32 + 101, 51 + 27, 32 + 101, 51 + 27 + 55}, SolidPen(13)));
}

TEST_F(LadderPaintTest, FxContactsDrawTheSymbolOfTheirName) {
  LadElement rising = ladder_test::Element(kLadKindFxCont, 0, 0, L"LDP");
  RecordingDrawContext dc = Paint(rising);
  EXPECT_TRUE(HasLine(dc, {50, 20, 50, 35}, SolidPen(10)));  // the stem of the arrow
  EXPECT_TRUE(HasLine(dc, {49, 21, 49, 24}, SolidPen(10)));  // its head
  EXPECT_TRUE(dc.CallsOf(DrawCall::kText).empty());

  LadElement other = ladder_test::Element(kLadKindFxCont, 0, 0, L"ANB");
  dc = Paint(other);
  EXPECT_TRUE(HasLine(dc, {19, 19, 19, 36}, SolidPen(10)));  // wide bars at W/2 -+ cw
  EXPECT_TRUE(HasLine(dc, {82, 19, 82, 36}, SolidPen(10)));
  EXPECT_EQ(Texts(dc), std::vector<std::wstring>{L"ANB"});
}

TEST_F(LadderPaintTest, ANameWiderThanItsSymbolWidensTheSymbol) {
  // NEXT does not fit between the arcs of a 32-pixel coil (7 pixels a character here): the arcs
  // move apart, up to the pin stubs, and the whole name is drawn between them.
  LadElement next = ladder_test::Element(kLadKindCoil, 0, 0, L"NEXT");
  next.PowerIn = {{0, L"IN"}};
  RecordingDrawContext dc = Paint(next);
  const std::vector<DrawCall> texts = dc.CallsOf(DrawCall::kText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].shown, L"NEXT");
  EXPECT_GE(texts[0].rect.right - texts[0].rect.left, RecordingDrawContext::TextWidth(L"NEXT"));
  EXPECT_TRUE(HasLine(dc, {32, 23, 32, 32}, SolidPen(7)));  // left arc: W/2 - 19
  EXPECT_TRUE(HasLine(dc, {69, 23, 69, 32}, SolidPen(7)));  // right arc: W/2 + 19 - 1
  EXPECT_LT(32, texts[0].rect.left);
  EXPECT_GT(69, texts[0].rect.right - 1);

  // A name that fits keeps the symbol as it is.
  dc = Paint(Coil(0, 0));
  EXPECT_TRUE(HasLine(dc, {35, 23, 35, 32}, SolidPen(7)));
}

TEST_F(LadderPaintTest, ARealValueTooWideForItsPlaceIsShownWithFewerDigits) {
  OperandDisplay display;
  display.Text = L"VD100 [1.33946e+06]";
  display.Runs = {{5, 0}, {1, 0}, {1, 5}, {11, 6}, {1, 5}};
  display.ValueRun = 3;
  display.RealValue = true;
  RecordingDrawContext dc;
  FitOperandValue(dc, display, 100);  // 14 characters
  EXPECT_EQ(display.Text, L"VD100 [1.34e6]");
  EXPECT_EQ(display.Runs[3].length, 6);
  // Room enough, or no real: nothing changes.
  OperandDisplay wide = display;
  wide.Text = L"VD100 [1.33946e+06]";
  wide.Runs[3].length = 11;
  FitOperandValue(dc, wide, 200);
  EXPECT_EQ(wide.Text, L"VD100 [1.33946e+06]");
  wide.RealValue = false;
  FitOperandValue(dc, wide, 50);
  EXPECT_EQ(wide.Text, L"VD100 [1.33946e+06]");
}

TEST_F(LadderPaintTest, SelectedElementsAreLeftOutThenDrawnOnTopFollowingTheMouse) {
  LadderGrid grid;
  grid.Elements = {Contact(0, 0), Coil(1, 0)};
  UpdateLadderExtent(grid);
  page_.SelectionFirst = page_.SelectionLast = 0;
  page_.CursorColumn = 0;
  page_.CursorRow = 0;
  page_.SelectedCells = {{0, 0, true}};
  page_.MouseState = kMouseDragging;
  page_.PressPoint = {10, 10};
  page_.MousePoint = {40, 12};
  OnlineCacheSnapshot offline = Snapshot(false);

  RecordingDrawContext grid_dc;
  PaintLadderGrid(grid_dc, grid, 0, 0, page_, offline);
  EXPECT_FALSE(HasLine(grid_dc, {0, 27, 35, 27}, SolidPen(7)));  // the contact is left out
  EXPECT_TRUE(HasLine(grid_dc, {102, 27, 102 + 35, 27}, SolidPen(7)));
  ASSERT_EQ(grid_dc.CallsOf(DrawCall::kFill).size(), 2u);  // background and cursor cell
  EXPECT_EQ(grid_dc.CallsOf(DrawCall::kFill)[1].rect, (Rect{0, 0, 102, 54}));
  EXPECT_EQ(grid_dc.CallsOf(DrawCall::kFill)[1].brush, 14);

  RecordingDrawContext top;
  PaintSelectedElements(top, 0, 0, grid, page_, offline);
  EXPECT_TRUE(HasLine(top, {30, 29, 65, 29}, SolidPen(7)));
  const std::vector<DrawCall> frames = top.CallsOf(DrawCall::kFrame);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].rect, (Rect{38, 5, 124, 54}));
  EXPECT_EQ(frames[0].pen, SolidPen(21));

  // Without the cell cursor in this network nothing is drawn on top.
  page_.CurrentNetwork = 1;
  top.Clear();
  PaintSelectedElements(top, 0, 0, grid, page_, offline);
  EXPECT_TRUE(top.calls().empty());
}

TEST_F(LadderPaintTest, ACorruptElementThrows) {
  LadElement bad = Contact(0, 0);
  bad.Kind = 9;
  RecordingDrawContext dc;
  OnlineCacheSnapshot offline = Snapshot(false);
  EXPECT_THROW(PaintLadElement(dc, 0, 0, bad, page_, offline), ExceptionLogicError);
  LadderGrid grid;
  LadElement link = ladder_test::VLink(0, 0);
  link.Kind = kLadKindCont;
  grid.Elements = {link};
  EXPECT_THROW(PaintLadderGrid(dc, grid, 0, 0, page_, offline), ExceptionLogicError);
}

}  // namespace
}  // namespace Brenno
