#include "core/project/paged_table.h"

#include <gtest/gtest.h>

#include "core/env/exception_error.h"

namespace {

using Brenno::PagedTable;
using Brenno::TablePage;

// A table of int rows whose reference page k holds k + 1 rows of value k.
PagedTable<int> MakeTable(const wchar_t* prefix, int pages) {
  PagedTable<int> table;
  for (int k = 0; k < pages; ++k) {
    TablePage<int> page{Brenno::DefaultTablePageName(prefix, k), Brenno::DefaultTablePageAddress(prefix, k), L"",
                        std::vector<int>(static_cast<size_t>(k + 1), k)};
    table.Reference.emplace(k, page);
  }
  return table;
}

TEST(PagedTable, ATypeWithoutPagesLeavesEverythingEmpty) {
  PagedTable<int> table = MakeTable(L"DAT", 0);
  EXPECT_EQ(Brenno::AddFirstFreeTablePage(table), -1);
  EXPECT_FALSE(Brenno::CanAddTablePage(table));
  Brenno::NormalizeTablePages(table, [](PagedTable<int>&, int) { return true; });
  EXPECT_TRUE(table.Working.empty());
  EXPECT_THROW(table.GetPage(0), Brenno::ExceptionLogicError);
}

TEST(PagedTable, AddFromReferenceCopiesTitlesAndRows) {
  PagedTable<int> table = MakeTable(L"DAT", 3);
  EXPECT_EQ(Brenno::AddTablePageFromReference(table, 2), 2);
  EXPECT_EQ(table.Working.at(2), table.Reference.at(2));
  EXPECT_EQ(table.Working.at(2).Name, L"DAT_2");
  EXPECT_EQ(table.Working.at(2).Address, L"DAT2");
  table.GetPage(2).push_back(9);
  table.Working.at(2).Name = L"Tank";
  EXPECT_EQ(Brenno::AddTablePageFromReference(table, 2), 2);  // replaced completely
  EXPECT_EQ(table.Working.at(2), table.Reference.at(2));
  EXPECT_EQ(Brenno::AddTablePageFromReference(table, 3), -1);
  EXPECT_EQ(table.ListKeys(), std::vector<int>{2});
  EXPECT_EQ(Brenno::ListFreeTablePageKeys(table), (std::vector<int>{0, 1}));
  EXPECT_EQ(Brenno::AddFirstFreeTablePage(table), 0);
  EXPECT_EQ(Brenno::AddFirstFreeTablePage(table), 1);
  EXPECT_FALSE(Brenno::CanAddTablePage(table));
  EXPECT_EQ(Brenno::AddFirstFreeTablePage(table), -1);
}

TEST(PagedTable, RemoveChoosesThePageToShowNext) {
  struct Case {
    std::vector<int> working;
    int removed;
    int expected;
    std::vector<int> left;
  };
  const Case cases[] = {
      {{0, 1, 2}, 1, 2, {0, 2}},  // the next larger key
      {{0, 1, 2}, 2, 1, {0, 1}},  // the new last key
      {{2}, 2, 0, {0}},           // the only page: the smallest reference page comes back
      {{0}, 0, 0, {0}},           // ... which may be the removed one
      {{0, 2}, 1, -1, {0, 2}},    // no such working page
  };
  for (const Case& c : cases) {
    PagedTable<int> table = MakeTable(L"CHT", 4);
    for (const int key : c.working) Brenno::AddTablePageFromReference(table, key);
    if (table.Working.count(0) != 0) table.Working.at(0).Name = L"Changed";
    EXPECT_EQ(Brenno::RemoveTablePage(table, c.removed), c.expected) << c.removed;
    EXPECT_EQ(table.ListKeys(), c.left);
    if (c.working.size() == 1 && c.expected == 0) {
      EXPECT_EQ(table.Working.at(0), table.Reference.at(0));
    }
  }
}

TEST(PagedTable, KeysRunInUnsignedOrderAndPruneDropsUnknownKeys) {
  PagedTable<int> table = MakeTable(L"DAT", 2);
  table.Working.emplace(-1, TablePage<int>{});
  table.Working.emplace(7, TablePage<int>{});
  Brenno::AddTablePageFromReference(table, 1);
  EXPECT_EQ(table.ListKeys(), (std::vector<int>{1, 7, -1}));
  Brenno::PruneTablePages(table);
  EXPECT_EQ(table.ListKeys(), std::vector<int>{1});
}

TEST(PagedTable, FindReferencePageByAddressNormalisesNumbers) {
  const PagedTable<int> table = MakeTable(L"DAT", 11);
  EXPECT_EQ(Brenno::FindReferencePageByAddress(L"DAT010", table), 10);
  EXPECT_EQ(Brenno::FindReferencePageByAddress(L"DAT10", table), 10);
  EXPECT_EQ(Brenno::FindReferencePageByAddress(L"DAT_10", table), -1);
  EXPECT_EQ(Brenno::FindReferencePageByAddress(L"DAT11", table), -1);
  EXPECT_EQ(Brenno::FindReferencePageByAddress(L"dat1", table), -1);

  // The shared page-name helpers work on paged tables too.
  PagedTable<int> used = table;
  Brenno::AddTablePageFromReference(used, 1);
  EXPECT_EQ(Brenno::DescribeTablePageKey(used, 1), L"DAT_1 (DAT1)");
  EXPECT_EQ(Brenno::DescribeTablePageKey(used, 2), L"");
  std::wstring text = L"DAT_1";
  EXPECT_TRUE(Brenno::ReplacePageNameByAddress(used, text));
  EXPECT_EQ(text, L"DAT1");
}

TEST(PagedTable, PageNamesFollowTheRules) {
  PagedTable<int> table = MakeTable(L"USR", 4);
  table.ReservedNames = {L"LD", L"MOV_B"};
  for (int key = 0; key < 4; ++key) Brenno::AddTablePageFromReference(table, key);
  struct Case {
    const wchar_t* name;
    int key;
    bool valid;
  };
  const Case cases[] = {
      {L"USR2", 1, false},  {L"USR02", 1, false}, {L"USR1", 1, false},  {L"USR_3", 1, false},
      {L"USR_3", 3, true},  {L"", 1, false},      {L"3Motor", 1, false}, {L"Motor-1", 1, false},
      {L"Motor 1", 1, false}, {L"LD", 1, false},  {L"MOV_B", 1, false}, {L"Motor_1", 1, true},
      {L"_x", 1, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Brenno::IsValidPageName(table, c.name, c.key), c.valid) << c.key;
  }
  // A name that one page carries counts once; two carriers both fail.
  table.Working.at(1).Name = L"Tank";
  EXPECT_TRUE(Brenno::IsValidPageName(table, L"Tank", 1));
  table.Working.at(2).Name = L"Tank";
  EXPECT_FALSE(Brenno::IsValidPageName(table, L"Tank", 1));
  EXPECT_FALSE(Brenno::IsValidPageName(table, L"Tank", 2));
}

TEST(PagedTable, TitleSyncRepairsAddressAndInvalidName) {
  PagedTable<int> table = MakeTable(L"DAT", 3);
  Brenno::AddTablePageFromReference(table, 1);
  table.Working.at(1).Address = L"DAT7";
  table.Working.at(1).Name = L"Mixer";
  EXPECT_FALSE(Brenno::PageTitlesMatchReference(table, 1));
  EXPECT_TRUE(Brenno::SyncPageTitlesFromReference(table, 1));
  EXPECT_EQ(table.Working.at(1).Address, L"DAT1");
  EXPECT_EQ(table.Working.at(1).Name, L"Mixer");  // a valid name stays
  EXPECT_TRUE(Brenno::PageTitlesMatchReference(table, 1));

  table.Working.at(1).Name = L"DAT_2";  // another page's default name
  EXPECT_FALSE(Brenno::PageTitlesMatchReference(table, 1));
  EXPECT_TRUE(Brenno::SyncPageTitlesFromReference(table, 1));
  EXPECT_EQ(table.Working.at(1).Name, L"DAT_1");

  EXPECT_FALSE(Brenno::SyncPageTitlesFromReference(table, 2));  // no working page
  EXPECT_FALSE(Brenno::PageTitlesMatchReference(table, 2));
}

TEST(PagedTable, NormaliseGivesSharedNamesBackTheirDefaults) {
  PagedTable<int> table = MakeTable(L"CHT", 3);
  Brenno::FillDefaultTablePages(table, 5);
  EXPECT_EQ(table.ListKeys(), (std::vector<int>{0, 1, 2}));
  table.Working.at(0).Name = L"Same";
  table.Working.at(2).Name = L"Same";
  table.Working.at(1).Name = L"Own";
  table.Working.emplace(9, TablePage<int>{L"X", L"CHT9", L"", {}});
  Brenno::NormalizeTablePages(table, [](PagedTable<int>& t, int key) { return Brenno::TablePageTitlesFit(t, key); });
  EXPECT_EQ(table.ListKeys(), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(table.Working.at(0).Name, L"CHT_0");
  EXPECT_EQ(table.Working.at(1).Name, L"Own");
  EXPECT_EQ(table.Working.at(2).Name, L"CHT_2");
}

TEST(PagedTable, NormaliseKeepsOnePageAndReplacesPagesThatDoNotFit) {
  PagedTable<int> table = MakeTable(L"DAT", 3);
  table.Working.emplace(5, TablePage<int>{L"DAT_5", L"DAT5", L"", {}});
  Brenno::NormalizeTablePages(table, [](PagedTable<int>&, int) { return true; });
  EXPECT_EQ(table.ListKeys(), std::vector<int>{0});

  Brenno::AddTablePageFromReference(table, 2);
  table.GetPage(2) = {7, 7, 7, 7};
  Brenno::NormalizeTablePages(table, [](PagedTable<int>& t, int key) { return t.GetPage(key).size() <= 3; });
  EXPECT_EQ(table.GetPage(2), (std::vector<int>{2, 2, 2}));

  Brenno::FillDefaultTablePages(table, 0);
  EXPECT_EQ(table.ListKeys(), (std::vector<int>{0, 2}));
}

}  // namespace
