#include "core/project/symbol_table.h"

#include <gtest/gtest.h>

#include "core/env/exception_error.h"
#include "core/program/program_test_support.h"

namespace {

using Brenno::SymbolTable;
using Brenno::VarEntry;

Brenno::SymbolVarSizes Sizes(int pages, int initialPages, int rows, int initialRows) {
  Brenno::SymbolVarSizes sizes;
  sizes.SizePageUser = pages;
  sizes.SizePageInitUser = initialPages;
  sizes.SizeItemUser = rows;
  sizes.SizeItemInitUser = initialRows;
  return sizes;
}

class SymbolTableTest : public programtest::ProjectFixture {
 protected:
  // A table with pages 0..2 (one in use) of 2 rows, at most 4 rows a page.
  SymbolTable NewTable(const Brenno::SymbolVarSizes& sizes = Sizes(3, 1, 4, 2)) {
    SymbolTable table;
    Brenno::ResetSymbolTable(table, sizes, Project().Instructions.ReservedNames);
    Brenno::FillDefaultSymbolTables(table);
    return table;
  }

  static void SetRow(SymbolTable& table, int key, int index, const wchar_t* name, const wchar_t* address, int type) {
    VarEntry& entry = table.GetPage(key).at(static_cast<size_t>(index));
    entry.Name = name;
    entry.Address = address;
    entry.Type = type;
  }
};

TEST_F(SymbolTableTest, ResetBuildsReferencePagesAndListsAndFillValidates) {
  SymbolTable table;
  Brenno::ResetSymbolTable(table, Sizes(3, 1, 100, 200), {L"LD"});
  EXPECT_TRUE(table.Working.empty());
  ASSERT_EQ(Brenno::ListReferencePageKeys(table), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(table.Reference.at(2).Name, L"USR_2");
  EXPECT_EQ(table.Reference.at(2).Address, L"USR2");
  EXPECT_EQ(table.Reference.at(2).Rows.size(), 100u);
  EXPECT_EQ(table.ReservedNames, std::vector<std::wstring>{L"LD"});
  EXPECT_EQ(table.AreaNames, (std::vector<std::wstring>{L"IN", L"IN_OUT", L"OUT", L"TEMP"}));
  ASSERT_EQ(table.TypeNames.size(), 11u);
  EXPECT_EQ(table.TypeNames[0], L"BOOL");
  EXPECT_EQ(table.TypeNames[10], L"REAL");
  EXPECT_EQ(table.LocalAddressFormats[6], L"Dv:");
  EXPECT_EQ(table.InputOperandFormats[1], L"Bcavp:");
  EXPECT_EQ(table.InOutOperandFormats[8], L"Wavp:");
  EXPECT_EQ(table.AddressTemplates[0], L"Tv:-:Lv:");

  Brenno::FillDefaultSymbolTables(table);
  ASSERT_EQ(table.ListKeys(), std::vector<int>{0});
  EXPECT_EQ(table.Working.at(0).Name, L"USR_0");
  ASSERT_EQ(table.GetPage(0).size(), 100u);
  for (const VarEntry& entry : table.GetPage(0)) EXPECT_EQ(entry.CheckFlags, 19);
}

TEST_F(SymbolTableTest, ResetReadsTheCurrentProjectsType) {
  SymbolTable table;
  EXPECT_THROW(Brenno::ResetSymbolTable(table), Brenno::ExceptionLogicError);  // no type yet
  Brenno::PlcType type;
  type.Description.SymbolVar = Sizes(2, 1, 3, 1);
  type.Description.SymbolVar.SizeItemSbr = 17;
  Project().Type = &type;
  Brenno::ResetSymbolTable(table);
  Project().Type = nullptr;
  EXPECT_EQ(table.Sizes.SizeItemSbr, 17);
  EXPECT_EQ(Brenno::ListReferencePageKeys(table), (std::vector<int>{0, 1}));
  EXPECT_EQ(table.Reference.at(1).Rows.size(), 1u);
  EXPECT_EQ(table.ReservedNames, Project().Instructions.ReservedNames);
  EXPECT_FALSE(table.ReservedNames.empty());
}

TEST_F(SymbolTableTest, SymbolNamesFollowTheRule) {
  const Brenno::MemoryAreaManager& areas = Project().MemoryAreas;
  struct Case {
    const wchar_t* name;
    bool valid;
  };
  const Case cases[] = {{L"Motor", true}, {L"_x1", true},    {L"Motor_1", true}, {L"I0.0", false},
                        {L"VW100", false}, {L"QB0", false},   {L"", false},       {L"3Motor", false},
                        {L"Motor 1", false}, {L"Motor-1", false}, {L"NOT", true}, {L"c", false}};
  for (const Case& c : cases) EXPECT_EQ(Brenno::IsValidSymbolName(c.name, areas), c.valid) << c.name;
  EXPECT_FALSE(Brenno::IsValidSymbolName(L"I0.0"));  // the current project's memory map
}

TEST_F(SymbolTableTest, ValidationSetsFlagsAndCanonicalAddresses) {
  SymbolTable table = NewTable(Sizes(3, 2, 4, 4));
  SetRow(table, 0, 0, L"Motor", L"Q0.0", 0);
  SetRow(table, 0, 1, L"Speed", L"VW010", 2);   // written canonically
  SetRow(table, 0, 2, L"Lamp", L"VW20", 0);     // not a bit address
  SetRow(table, 0, 3, L"Level", L"VW30", 11);   // no such type
  SetRow(table, 1, 0, L"Speed", L"VW40", 2);    // name used on page 0 too
  SetRow(table, 1, 1, L"Count", L"VW10", 5);    // address used on page 0 too
  SetRow(table, 1, 2, L"Temp", L"LW0", 2);      // local region refused for globals
  table.GetPage(1)[3].Area = 2;
  Brenno::ValidateSymbolEntries(table);
  const std::vector<VarEntry>& first = table.GetPage(0);
  const std::vector<VarEntry>& second = table.GetPage(1);
  EXPECT_EQ(first[0].CheckFlags, 31);
  EXPECT_EQ(first[1].Address, L"VW10");
  EXPECT_EQ(first[1].CheckFlags, 31 - 4 - 8);
  EXPECT_EQ(first[2].CheckFlags, 31 - 8);
  EXPECT_EQ(first[2].Address, L"VW20");  // a refused address keeps its text
  EXPECT_EQ(first[3].CheckFlags, 1 + 4 + 16);
  EXPECT_EQ(second[0].CheckFlags, 31 - 4);
  EXPECT_EQ(second[1].CheckFlags, 31 - 8);
  EXPECT_EQ(second[2].CheckFlags, 31 - 8);
  EXPECT_EQ(second[3].CheckFlags, 2 + 16);
}

TEST_F(SymbolTableTest, RowOperationsKeepLimitsAndRanges) {
  SymbolTable table = NewTable();  // page 0 holds 2 of at most 4 rows
  EXPECT_EQ(Brenno::InsertSymbolEntry(table, 0, 3), -1);
  EXPECT_EQ(Brenno::InsertSymbolEntry(table, 0, -1), -1);
  EXPECT_EQ(Brenno::InsertSymbolEntry(table, 0, 2), 2);  // appends
  EXPECT_EQ(table.GetPage(0).back().CheckFlags, 19);
  EXPECT_TRUE(Brenno::CanInsertSymbolEntry(table, 0, 0));
  EXPECT_EQ(Brenno::PasteSymbolEntries(table, 0, 0, {VarEntry{}, VarEntry{}}), -1);  // 5 > 4
  EXPECT_EQ(Brenno::PasteSymbolEntries(table, 0, 1, {VarEntry{}}), 1);
  EXPECT_FALSE(Brenno::CanInsertSymbolEntry(table, 0, 0));
  EXPECT_EQ(Brenno::InsertSymbolEntry(table, 0, 0), -1);

  EXPECT_FALSE(Brenno::CanDeleteSymbolEntries(table, 0, 2, 2));
  EXPECT_FALSE(Brenno::CanDeleteSymbolEntries(table, 0, 0, 5));
  EXPECT_EQ(Brenno::DeleteSymbolEntries(table, 0, 1, 2), 1);  // rows follow
  EXPECT_EQ(Brenno::DeleteSymbolEntries(table, 0, 1, 3), 0);  // the new last row
  EXPECT_EQ(Brenno::DeleteSymbolEntries(table, 0, 0, 1), 0);  // a page never stays empty
  EXPECT_EQ(table.GetPage(0).size(), 1u);
  EXPECT_EQ(table.GetPage(0)[0].CheckFlags, 19);

  EXPECT_THROW(Brenno::InsertSymbolEntry(table, 1, 0), Brenno::ExceptionLogicError);
  EXPECT_THROW(Brenno::GetSymbolEntry(table, 0, 1), Brenno::ExceptionLogicError);
  EXPECT_THROW(Brenno::SetSymbolEntryName(table, 0, -1, L"x"), Brenno::ExceptionLogicError);
}

TEST_F(SymbolTableTest, SettersChangeOnlyNewValuesAndRevalidate) {
  SymbolTable table = NewTable();
  EXPECT_TRUE(Brenno::SetSymbolEntryName(table, 0, 0, L"Motor"));
  EXPECT_TRUE(Brenno::SetSymbolEntryAddress(table, 0, 0, L"Q0.0"));
  EXPECT_EQ(Brenno::GetSymbolEntry(table, 0, 0).CheckFlags, 31);
  EXPECT_TRUE(Brenno::SetSymbolEntryType(table, 0, 0, 1));  // a byte type refuses a bit address
  EXPECT_EQ(Brenno::GetSymbolEntry(table, 0, 0).CheckFlags, 31 - 8);
  EXPECT_TRUE(Brenno::SetSymbolEntryComment(table, 0, 0, L"main drive"));
  EXPECT_EQ(Brenno::GetSymbolEntryComment(table, 0, 0), L"main drive");
  EXPECT_EQ(Brenno::GetSymbolEntryType(table, 0, 0), 1);

  table.GetPage(0)[1].CheckFlags = 7;  // would be reset by a revalidation
  EXPECT_FALSE(Brenno::SetSymbolEntryName(table, 0, 0, L"Motor"));
  EXPECT_FALSE(Brenno::SetSymbolEntryAddress(table, 0, 0, L"Q0.0"));
  EXPECT_FALSE(Brenno::SetSymbolEntryType(table, 0, 0, 1));
  EXPECT_FALSE(Brenno::SetSymbolEntryComment(table, 0, 0, L"main drive"));
  EXPECT_EQ(table.GetPage(0)[1].CheckFlags, 7);
}

TEST_F(SymbolTableTest, ClipboardTextRoundTrip) {
  SymbolTable table = NewTable();
  SetRow(table, 0, 0, L"Motor", L"Q0.0", 0);
  table.GetPage(0)[0].Comment = L"drive";
  SetRow(table, 0, 1, L"Speed", L"VW10", 8);
  Brenno::ValidateSymbolEntries(table);
  std::wstring text;
  EXPECT_EQ(Brenno::CopySymbolEntriesAsText(table, 0, 0, 2, text), 0);
  EXPECT_EQ(text, L"Motor\tQ0.0\tBOOL\tdrive\r\nSpeed\tVW10\tUINT\t\r\n");
  EXPECT_EQ(Brenno::CopySymbolEntriesAsText(table, 0, 1, 1, text), -1);

  EXPECT_EQ(Brenno::CutSymbolEntriesAsText(table, 0, 0, 2, text), 0);
  EXPECT_EQ(table.GetPage(0).size(), 1u);
  EXPECT_EQ(Brenno::PasteSymbolEntriesFromText(table, 0, 0, text), 0);
  ASSERT_EQ(table.GetPage(0).size(), 3u);
  EXPECT_EQ(table.GetPage(0)[0].Name, L"Motor");
  EXPECT_EQ(table.GetPage(0)[0].Comment, L"drive");
  EXPECT_EQ(table.GetPage(0)[1].Type, 8);
  EXPECT_EQ(table.GetPage(0)[1].CheckFlags, 31);
}

TEST_F(SymbolTableTest, MalformedClipboardTextInsertsNothing) {
  const wchar_t* const texts[] = {
      L"",                                    // no line
      L"\r\n",                                // one empty line
      L"Motor\tQ0.0\tbool\t\r\n",             // type names are case-sensitive
      L"Motor\tQ0.0\tBOOL\r\n",               // three fields
      L"Motor\tQ0.0\tBOOL\t\t\r\n",           // five fields
      L"A\tQ0.0\tBOOL\t\r\nB\tQ0.1\tBIT\t",   // one bad line spoils all
      L"A\tQ0.0\tBOOL\t\r\nB\tQ0.1\tBOOL\t\r\nC\tQ0.2\tBOOL\t",  // beyond the row limit
  };
  for (const wchar_t* text : texts) {
    SymbolTable table = NewTable();
    EXPECT_EQ(Brenno::PasteSymbolEntriesFromText(table, 0, 0, text), -1) << text;
    EXPECT_EQ(table.GetPage(0).size(), 2u);
  }
  SymbolTable table = NewTable();
  EXPECT_EQ(Brenno::PasteSymbolEntriesFromText(table, 0, 3, L"A\tQ0.0\tBOOL\t"), -1);  // index beyond the page
  EXPECT_EQ(Brenno::PasteSymbolEntriesFromText(table, 0, 2, L"A\tQ0.0\tBOOL\t"), 2);  // last line without CR LF
}

TEST_F(SymbolTableTest, NormaliseRepairsLoadedPages) {
  SymbolTable table = NewTable();
  table.Working.emplace(7, Brenno::TablePage<VarEntry>{L"USR_7", L"USR7", L"", {}});  // unknown key
  table.Working.emplace(1, Brenno::TablePage<VarEntry>{L"Motors", L"USR9", L"", std::vector<VarEntry>(6)});
  table.Working.emplace(2, Brenno::TablePage<VarEntry>{L"USR1", L"USR2", L"", {}});  // invalid name
  Brenno::NormalizeSymbolTable(table);
  EXPECT_EQ(table.ListKeys(), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(table.Working.at(1).Name, L"Motors");
  EXPECT_EQ(table.Working.at(1).Address, L"USR1");
  EXPECT_EQ(table.GetPage(1).size(), 4u);  // cut to the row limit
  EXPECT_EQ(table.Working.at(2).Name, L"USR_2");
  for (const auto& [key, page] : table.Working) {
    for (const VarEntry& entry : page.Rows) EXPECT_EQ(entry.CheckFlags, 19);
  }

  table.Working.clear();
  Brenno::NormalizeSymbolTable(table);
  EXPECT_EQ(table.ListKeys(), std::vector<int>{0});
}

TEST_F(SymbolTableTest, PageCommandsKeepAtLeastOnePage) {
  SymbolTable table = NewTable();
  EXPECT_TRUE(Brenno::CanAddTablePage(table));
  EXPECT_EQ(Brenno::InsertSymbolTable(table), 1);
  EXPECT_EQ(table.GetPage(1)[0].CheckFlags, 19);
  EXPECT_EQ(Brenno::InsertSymbolTable(table), 2);
  EXPECT_EQ(Brenno::InsertSymbolTable(table), -1);
  EXPECT_EQ(Brenno::RemoveSymbolTable(table, 1), 2);
  EXPECT_EQ(Brenno::RemoveSymbolTable(table, 2), 0);
  EXPECT_EQ(Brenno::RemoveSymbolTable(table, 0), 0);
  EXPECT_EQ(Brenno::RemoveSymbolTable(table, 5), -1);
  EXPECT_EQ(table.ListKeys(), std::vector<int>{0});
}

TEST_F(SymbolTableTest, CopiesAreIndependentAndDestroyEmpties) {
  SymbolTable table = NewTable();
  SymbolTable copy;
  Brenno::CopySymbolTable(table, copy);
  EXPECT_EQ(copy, table);
  copy.GetPage(0)[0].Name = L"Other";
  EXPECT_NE(copy, table);
  Brenno::AssignSymbolTable(copy, table);
  EXPECT_EQ(copy, table);
  Brenno::DestroySymbolTable(copy);
  EXPECT_EQ(copy, SymbolTable());
}

}  // namespace
