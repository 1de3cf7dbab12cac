// The grid's rules without a window: addressing, arrow-key moves across groups and records,
// selection spans, clamping to new counts and the placing of drop lists.
#include "ui/widgets/grid_focus.h"

#include <gtest/gtest.h>

namespace Brenno {
namespace {

const GridShape kShape{4, 2, 2, 3};  // 4 records x 2 lines, 2 groups x 3 columns

TEST(GridFocus, AddressesRoundTrip) {
  EXPECT_EQ(kShape.ItemCount(), 8);
  EXPECT_EQ(kShape.ListColumnCount(), 7);
  EXPECT_EQ(ListItemOf(kShape, 3, 1), 7);
  EXPECT_EQ(ListColumnOf(kShape, 1, 2), 6);
  EXPECT_EQ(CellOfListPosition(kShape, 7, 6), (GridCell{3, 1, 1, 2}));
  EXPECT_EQ(CellOfListPosition(kShape, 8, 1), std::nullopt);
  EXPECT_EQ(CellOfListPosition(kShape, 0, 0), std::nullopt);
  EXPECT_EQ(CellOfListPosition(kShape, 0, 7), std::nullopt);
  EXPECT_EQ(CellOfListPosition(GridShape{3, 1, 0, 1}, 0, 1), std::nullopt);  // no lines: no cells
  EXPECT_EQ((GridShape{3, 1, 0, 1}).ItemCount(), 0);
}

TEST(GridFocus, ArrowKeysWalkAcrossGroupsAndRecords) {
  struct Case {
    const char* key;
    GridCell from;
    GridCell to;  // equal to from: no move
  };
  const Case cases[] = {
      {"left", {0, 1, 0, 0}, {0, 0, 0, 2}},  {"left", {0, 0, 0, 0}, {0, 0, 0, 0}},
      {"left", {2, 1, 1, 2}, {2, 1, 1, 1}},  {"right", {0, 0, 0, 2}, {0, 1, 0, 0}},
      {"right", {0, 1, 0, 2}, {0, 1, 0, 2}}, {"up", {1, 0, 0, 1}, {0, 0, 1, 1}},
      {"up", {0, 1, 0, 2}, {0, 1, 0, 2}},    {"down", {0, 0, 1, 1}, {1, 0, 0, 1}},
      {"down", {3, 1, 1, 0}, {3, 1, 1, 0}},  {"down", {3, 1, 0, 0}, {3, 1, 1, 0}},
  };
  for (const auto& c : cases) {
    GridFocusModel model;
    model.focus = c.from;
    model.selection = {0, 4, 0, 2};
    const std::string key = c.key;
    const bool moved = key == "left"    ? model.MoveLeft(kShape)
                       : key == "right" ? model.MoveRight(kShape)
                       : key == "up"    ? model.MoveUp(kShape)
                                        : model.MoveDown(kShape);
    EXPECT_EQ(model.focus, c.to) << key;
    EXPECT_EQ(moved, !(c.to == c.from)) << key;
    // A move selects the new focus cell's record x group; no move leaves the selection.
    const GridSelection expected =
        moved ? GridSelection{c.to.record, c.to.record + 1, c.to.group, c.to.group + 1} : GridSelection{0, 4, 0, 2};
    EXPECT_EQ(model.selection, expected) << key;
  }
  GridFocusModel none;
  EXPECT_FALSE(none.MoveDown(kShape));
  EXPECT_FALSE(none.HasFocusCell());
}

TEST(GridFocus, PressesAndDragsSpanWholeRecordsAndGroups) {
  GridFocusModel model;
  model.ShiftPressCell({2, 1, 0, 0});  // without a focus cell: a plain press
  EXPECT_EQ(model.focus, (GridCell{2, 1, 0, 0}));
  EXPECT_EQ(model.selection, (GridSelection{2, 3, 1, 2}));
  model.ShiftPressCell({0, 0, 1, 2});
  EXPECT_EQ(model.focus, (GridCell{2, 1, 0, 0}));
  EXPECT_EQ(model.selection, (GridSelection{0, 3, 0, 2}));
  model.DragTo(3, 1);
  EXPECT_EQ(model.selection, (GridSelection{2, 4, 1, 2}));
  model.PressRowHeader(kShape, 1);
  EXPECT_EQ(model.focus, (GridCell{1, 0, 0, 0}));
  EXPECT_EQ(model.selection, (GridSelection{1, 2, 0, 2}));
  EXPECT_EQ(model.ModeOf({1, 0, 0, 0}), kGridCellFocus);
  EXPECT_EQ(model.ModeOf({1, 1, 1, 2}), kGridCellSelected);
  EXPECT_EQ(model.ModeOf({2, 0, 0, 0}), kGridCellNormal);
}

TEST(GridFocus, ClampKeepsFocusAndSelectionInsideNewCounts) {
  GridFocusModel model;
  model.focus = {3, 1, 1, 2};
  model.selection = {2, 4, 0, 2};
  model.ClampFocusCell(GridShape{2, 1, 1, 3});
  model.ClampSelection(GridShape{2, 1, 1, 3});
  EXPECT_EQ(model.focus, (GridCell{1, 0, 0, 2}));
  EXPECT_EQ(model.selection, (GridSelection{1, 2, 0, 1}));
  // No records left: neither a focus cell nor a selection.
  model.ClampFocusCell(GridShape{0, 1, 1, 3});
  model.ClampSelection(GridShape{0, 1, 1, 3});
  EXPECT_FALSE(model.HasFocusCell());
  EXPECT_FALSE(model.HasSelection());
}

TEST(GridFocus, DropListStaysBelowTheHeaderAndInsideTheClient) {
  const Rect client{0, 0, 300, 200};
  // Room below the cell: opens below it, at least as wide as the cell.
  EXPECT_EQ(PlaceDropList(50, 60, Rect{10, 36, 90, 53}, client), (Rect{10, 53, 90, 113}));
  // Near the bottom: moved up to end at the area's bottom (200 - 3).
  EXPECT_EQ(PlaceDropList(120, 60, Rect{10, 162, 90, 179}, client), (Rect{10, 137, 130, 197}));
  // Taller than the area: cut at its top (18 + 3).
  EXPECT_EQ(PlaceDropList(50, 400, Rect{10, 36, 90, 53}, client), (Rect{10, 21, 90, 197}));
  // Near the right edge: moved left.
  EXPECT_EQ(PlaceDropList(100, 20, Rect{250, 36, 290, 53}, client), (Rect{197, 53, 297, 73}));
  // Too small a client: no list.
  EXPECT_EQ(PlaceDropList(50, 20, Rect{0, 18, 10, 35}, Rect{0, 0, 300, 29}), std::nullopt);
}

}  // namespace
}  // namespace Brenno
