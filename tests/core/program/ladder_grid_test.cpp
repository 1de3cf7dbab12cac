#include "core/program/ladder_grid.h"

#include <gtest/gtest.h>

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "ladder_test_elements.h"

using namespace Brenno;
using namespace ladder_test;

TEST(LadderGrid, EmptyGridHasNoExtentAndIsConsistent) {
  LadderGrid grid;
  UpdateLadderExtent(grid);
  EXPECT_EQ(grid.Columns, 0);
  EXPECT_EQ(grid.Rows, 0);
  EXPECT_TRUE(CheckLadderFit({}, grid.Elements, 0, 0));
  EXPECT_TRUE(IsLadderGridConsistent(grid.Elements));
}

TEST(LadderGrid, ElementSizesAndExtent) {
  struct Case {
    const char* what;
    LadElement element;
    int width, height, columns, rows;
  };
  const Case cases[] = {
      {"contact", Contact(3, 1), 1, 1, 4, 2},
      {"line", HLine(0, 0), 1, 1, 1, 1},
      {"box one pin each side", Box(1, 0, 1, 1, 0, 0), 1, 1, 3, 1},
      {"box with three input operands", Box(1, 0, 1, 1, 3, 0), 1, 2, 3, 2},
      {"box with pins on two rows and four output operands", Box(2, 1, 2, 2, 0, 4), 1, 4, 4, 5},
      {"fx box one id two in", FxBox(0, 0, 1, 2, 0), 4, 1, 4, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(LadElement::WidthInCells(c.element), c.width);
    EXPECT_EQ(LadElement::HeightInCells(c.element), c.height);
    LadderGrid grid;
    grid.Elements.push_back(c.element);
    UpdateLadderExtent(grid);
    EXPECT_EQ(grid.Columns, c.columns);
    EXPECT_EQ(grid.Rows, c.rows);
  }
}

TEST(LadderGrid, VerticalLinkTakesTwoByTwoAndChainsDownwards) {
  LadderGrid grid;
  grid.Elements.push_back(VLink(3, 0));
  UpdateLadderExtent(grid);
  EXPECT_EQ(grid.Columns, 5);
  EXPECT_EQ(grid.Rows, 2);
  // Body and edges are different parts of a cell; links chain downwards.
  EXPECT_TRUE(CanPlaceElement(grid.Elements, Contact(3, 1)));
  EXPECT_TRUE(CanPlaceElement(grid.Elements, VLink(3, 1)));
  EXPECT_FALSE(CanPlaceElement(grid.Elements, VLink(3, 0)));
}

TEST(LadderGrid, BlocksThatReachLeftCannotStandInColumnZero) {
  EXPECT_FALSE(CanPlaceElement({}, Box(0, 0, 1, 1, 1, 0)));  // an input operand
  EXPECT_FALSE(CanPlaceElement({}, Box(0, 0, 2, 1, 0, 0)));  // power inputs on two rows
  EXPECT_TRUE(CanPlaceElement({}, Box(0, 0, 1, 2, 0, 3)));   // only outputs reach right
  EXPECT_TRUE(CanPlaceElement({}, Box(1, 0, 2, 1, 1, 0)));
}

TEST(LadderGrid, FitAndReplacementAroundAnFxBox) {
  const std::vector<LadElement> grid = {FxBox(0, 0, 1, 1, 0), Contact(4, 0)};
  EXPECT_TRUE(IsLadderGridConsistent(grid));
  // Inside the box nothing can be linked through, not even its edges.
  EXPECT_FALSE(CheckLadderFit({VLink(1, 0)}, grid, 0, 0));
  EXPECT_TRUE(CheckLadderFit({VLink(0, 0)}, grid, 2, 0));  // on the box's right edge at (2, 0)
  EXPECT_FALSE(CheckLadderFit({Contact(0, 0)}, grid, -1, 0));

  std::vector<LadElement> elements = grid;
  bool changed = false;
  ASSERT_TRUE(PlaceReplacingOverlaps({Coil(0, 0), Coil(1, 0)}, changed, elements, 1, 0));
  EXPECT_TRUE(changed);
  ASSERT_EQ(elements.size(), 1u);
  EXPECT_EQ(elements[0], Contact(4, 0));

  // Added elements that collide among themselves, or a negative cell: refused, nothing dropped.
  elements = grid;
  changed = false;
  EXPECT_FALSE(PlaceReplacingOverlaps({Coil(0, 0), Coil(0, 0)}, changed, elements, 1, 0));
  EXPECT_FALSE(PlaceElementReplacing(elements, Contact(-1, 0), changed));
  EXPECT_FALSE(changed);
  EXPECT_EQ(elements, grid);

  // Nothing in the way: nothing dropped, the flag stays as it was.
  EXPECT_TRUE(PlaceElementReplacing(elements, Contact(6, 0), changed));
  EXPECT_FALSE(changed);
  EXPECT_EQ(elements, grid);
}

TEST(LadderGrid, ReplacementKeepsElementsInOrderAndDropsOnlyColliders) {
  std::vector<LadElement> elements = {Contact(0, 0), Box(2, 0, 1, 1, 0, 0), Contact(1, 1), Coil(5, 0)};
  bool changed = false;
  // A contact on the body of the box replaces the box only.
  ASSERT_TRUE(PlaceElementReplacing(elements, Contact(2, 0), changed));
  EXPECT_TRUE(changed);
  const std::vector<LadElement> expected = {Contact(0, 0), Contact(1, 1), Coil(5, 0)};
  EXPECT_EQ(elements, expected);
}

TEST(LadderGrid, EqualityComparesEveryFieldAndTheExtent) {
  LadderGrid a;
  a.Elements = {Contact(0, 0), Coil(1, 0)};
  UpdateLadderExtent(a);
  LadderGrid b = a;
  EXPECT_TRUE(LadderGrid::Equals(a, b));
  b.Elements[1].Comments.push_back(L"c");
  EXPECT_FALSE(LadderGrid::Equals(a, b));
  b = a;
  b.Elements[0].OperandIn[0].Text = L"I0.1";
  EXPECT_FALSE(LadderGrid::Equals(a, b));
  b = a;
  std::swap(b.Elements[0], b.Elements[1]);
  EXPECT_FALSE(LadderGrid::Equals(a, b));
  b = a;
  b.Rows = 7;
  EXPECT_FALSE(LadderGrid::Equals(a, b));
}

TEST(LadderGrid, CorruptElementsThrowAndLeaveTheExtent) {
  SetCurrentLanguage(1);
  LadderGrid grid;
  grid.Elements = {Contact(2, 2)};
  UpdateLadderExtent(grid);
  LadElement bad = Contact(0, 0);
  bad.Kind = 9;
  grid.Elements.push_back(bad);
  try {
    UpdateLadderExtent(grid);
    FAIL() << "no throw";
  } catch (const ExceptionLogicError& error) {
    EXPECT_EQ(error.Message(), L"Logic Error");
  }
  EXPECT_EQ(grid.Columns, 3);
  EXPECT_EQ(grid.Rows, 3);
  EXPECT_THROW(LadElement::WidthInCells(bad), ExceptionLogicError);
  EXPECT_THROW(CollectElementMarks(bad), ExceptionLogicError);
  LadElement link = Contact(0, 0);
  link.InCell = false;  // a vertical link must be a line
  EXPECT_THROW(CollectElementMarks(link), ExceptionLogicError);
  EXPECT_THROW(IsLadderGridConsistent({link}), ExceptionLogicError);
}
