// The page operations of the paged tables on a small data block table: names, addresses and
// comments under the naming rules, and the catalogue lists by group.
#include <gtest/gtest.h>

#include "core/env/exception_error.h"
#include "core/project/data_block_table.h"
#include "ui/views/project_tree/table_page_operations.h"

namespace Brenno {
namespace {

// Reference pages DAT_0 .. DAT_7 (DAT0 .. DAT7); working pages 1 (user name "Recipe"), 3
// (default name) and 4 (default name, comment "old").
DataBlockTable MakeTable() {
  DataBlockTable table;
  for (int key = 0; key < 8; ++key) {
    table.Reference.emplace(key, MakeDataBlockPage(L"DAT_" + std::to_wstring(key), L"DAT" + std::to_wstring(key), L"",
                                                   {DataRow{}}));
  }
  table.Working.emplace(1, MakeDataBlockPage(L"Recipe", L"DAT1", L"", {DataRow{0, 2, L"MW0", L"5", L"row"}}));
  table.Working.emplace(3, table.Reference.at(3));
  table.Working.emplace(4, MakeDataBlockPage(L"DAT_4", L"DAT4", L"old", {}));
  table.ReservedNames = {L"LD", L"TON"};
  return table;
}

TEST(TablePageOperations, NamesRefusedAndAccepted) {
  const DataBlockTable table = MakeTable();
  struct Case {
    const wchar_t* name;
    bool valid;
  };
  const Case cases[] = {
      {L"Motor_1", true},  {L"_x", true},      {L"DAT_5", false},  // another page's default name
      {L"DAT5", false},    {L"DAT005", false},                     // a page address, also with leading zeros
      {L"Recipe", false},                                          // a working page's name
      {L"", false},        {L"1abc", false},   {L"a-b", false},   {L"a b", false},
      {L"TON", false},                                             // reserved
      {L"DAT99", true},                                            // no page has that address
  };
  for (const Case& c : cases) EXPECT_EQ(IsValidTablePageName(table, c.name), c.valid) << std::wstring(c.name).size();
}

TEST(TablePageOperations, RenameRules) {
  DataBlockTable table = MakeTable();
  EXPECT_FALSE(RenameTablePage(table, 1, L"Recipe"));  // unchanged
  EXPECT_FALSE(RenameTablePage(table, 1, L"DAT_3"));   // the default name of another page
  EXPECT_FALSE(RenameTablePage(table, 3, L"Recipe"));  // another working page's name
  EXPECT_EQ(GetTablePageName(table, 3), L"DAT_3");
  EXPECT_TRUE(RenameTablePage(table, 1, L"DAT_1"));    // back to its own default name
  EXPECT_EQ(GetTablePageName(table, 1), L"DAT_1");
  EXPECT_TRUE(RenameTablePage(table, 3, L"Mixer"));
  EXPECT_EQ(DescribeTablePageKey(table, 3), L"Mixer (DAT3)");
  EXPECT_THROW(RenameTablePage(table, 2, L"Other"), ExceptionLogicError);
  EXPECT_THROW(GetTablePageName(table, 7), ExceptionLogicError);
}

TEST(TablePageOperations, CommentChangesOnlyWhenDifferent) {
  DataBlockTable table = MakeTable();
  EXPECT_FALSE(SetTablePageComment(table, 4, L"old"));
  EXPECT_TRUE(SetTablePageComment(table, 4, L"new"));
  EXPECT_EQ(GetTablePageComment(table, 4), L"new");
  EXPECT_THROW(SetTablePageComment(table, 5, L"x"), ExceptionLogicError);
}

TEST(TablePageOperations, AddressChange) {
  DataBlockTable table = MakeTable();
  int newKey = 0;
  // Refused: own address, an address in use, one the type does not offer.
  EXPECT_FALSE(ChangeDataBlockAddress(table, L"DAT3", 3, newKey));
  EXPECT_EQ(newKey, -1);
  EXPECT_FALSE(ChangeDataBlockAddress(table, L"DAT4", 3, newKey));
  EXPECT_FALSE(ChangeDataBlockAddress(table, L"DAT8", 3, newKey));
  EXPECT_FALSE(ChangeDataBlockAddress(table, L"XYZ5", 3, newKey));
  EXPECT_EQ(table.ListKeys(), (std::vector<int>{1, 3, 4}));

  // A page with its default name follows its address; leading zeros are accepted.
  ASSERT_TRUE(ChangeDataBlockAddress(table, L"DAT005", 3, newKey));
  EXPECT_EQ(newKey, 5);
  EXPECT_EQ(table.ListKeys(), (std::vector<int>{1, 4, 5}));
  EXPECT_EQ(GetTablePageName(table, 5), L"DAT_5");
  EXPECT_EQ(GetTablePageAddress(table, 5), L"DAT5");

  // A page named by the user keeps its name, comment and rows.
  const auto rows = table.GetPage(1);
  ASSERT_TRUE(ChangeDataBlockAddress(table, L"DAT0", 1, newKey));
  EXPECT_EQ(newKey, 0);
  EXPECT_EQ(GetTablePageName(table, 0), L"Recipe");
  EXPECT_EQ(table.GetPage(0), rows);
  EXPECT_FALSE(table.HasWorkingPage(1));
  EXPECT_THROW(ChangeDataBlockAddress(table, L"DAT6", 1, newKey), ExceptionLogicError);
}

TEST(TablePageOperations, DefaultsAndFindByName) {
  const DataBlockTable table = MakeTable();
  EXPECT_EQ(DefaultPageName(table, 6), L"DAT_6");
  EXPECT_EQ(DefaultPageAddress(table, 6), L"DAT6");
  EXPECT_EQ(DefaultPageName(table, 9), L"");
  EXPECT_EQ(FindTablePageByName(table, L"Recipe", kWorkingPages), 1);
  EXPECT_EQ(FindTablePageByName(table, L"Recipe", kReferencePages), -1);
  EXPECT_EQ(FindTablePageByName(table, L"DAT_1", kReferencePages), 1);
  EXPECT_EQ(FindTablePageByName(table, L"recipe", kWorkingPages), -1);
}

TEST(TablePageOperations, DefinitionsOfAGroupExactly) {
  InstructionLibrary library;
  for (const wchar_t* parent : {L"Bit", L"Move", L"Bit", L"Bit logic", L"bit"}) {
    FunStlRecord stl;
    stl.Parent = parent;
    library.FunStlList.push_back(stl);
    FunLadRecord lad;
    lad.Parent = parent;
    library.FunLadList.push_back(lad);
  }
  std::vector<const FunStlRecord*> stl{nullptr};
  ListStlDefsOfGroup(stl, library, L"Bit");
  EXPECT_EQ(stl, (std::vector<const FunStlRecord*>{&library.FunStlList[0], &library.FunStlList[2]}));
  std::vector<const FunLadRecord*> lad;
  ListLadDefsOfGroup(lad, library, L"Move");
  EXPECT_EQ(lad, (std::vector<const FunLadRecord*>{&library.FunLadList[1]}));
  ListLadDefsOfGroup(lad, library, L"None");
  EXPECT_TRUE(lad.empty());
}

}  // namespace
}  // namespace Brenno
