#include "core/project/data_block_table.h"

#include <gtest/gtest.h>

#include "core/env/exception_error.h"
#include "core/env/manager_var_reader.h"
#include "core/project/table_test_support.h"

using namespace Brenno;

namespace {

class DataBlocks : public tabletest::TableFixture {
 protected:
  void SetUp() override {
    TableFixture::SetUp();
    ResetDataBlockTable(Table());
    FillDefaultDataBlocks(Table());
  }

  DataBlockTable& Table() { return Project().DataBlocks; }

  // Row 0 of block 0 set to the given type, address and value.
  const DataRow& Enter(int type, const std::wstring& address, const std::wstring& value, int key = 0, int row = 0) {
    SetDataRowType(Table(), key, row, type);
    SetDataRowAddress(Table(), key, row, address);
    SetDataRowValue(Table(), key, row, value);
    return GetDataRow(Table(), key, row);
  }
};

TEST_F(DataBlocks, ResetBuildsTheReferencePagesOfTheType) {
  const DataBlockTable& table = Table();
  EXPECT_EQ(table.Reference.size(), 8u);
  EXPECT_EQ(table.Reference.at(3).Name, L"DAT_3");
  EXPECT_EQ(table.Reference.at(3).Address, L"DAT3");
  EXPECT_EQ(table.Reference.at(3).Comment, L"");
  EXPECT_EQ(table.Reference.at(3).Rows, std::vector<DataRow>(16));
  EXPECT_EQ(table.ReservedNames, Project().Instructions.ReservedNames);
  ASSERT_EQ(table.TypeNames.size(), 11u);
  EXPECT_EQ(table.TypeNames[10], L"REAL");
  EXPECT_EQ(table.AddressTemplates[2], L"Wv:-:Lv:");
  // A new project has one block; its blank rows are checked: a valid type, nothing else.
  EXPECT_EQ(table.ListKeys(), std::vector<int>{0});
  EXPECT_EQ(GetDataRow(table, 0, 0).CheckFlags, kDataCheckType | kDataCheckDone);
}

TEST_F(DataBlocks, ReferenceRowsAreTheSmallerOfTheTwoRowSizes) {
  struct Case {
    int sizeItem, sizeItemInit;
    size_t rows;
  } cases[] = {{256, 16, 16}, {4, 16, 4}, {-1, 16, 16}, {8, -1, 0}};
  for (const Case& c : cases) {
    DataBlockTable table;
    ResetDataBlockTable(table, DataBlockSizes{2, 1, c.sizeItem, c.sizeItemInit});
    EXPECT_EQ(table.Reference.at(1).Rows.size(), c.rows) << c.sizeItem << " " << c.sizeItemInit;
  }
}

TEST_F(DataBlocks, ATypeWithoutDataBlocksKeepsNoPage) {
  Type().Description.DataBlock = {0, 1, 256, 16};
  ResetDataBlockTable(Table());
  Table().Working.emplace(0, TablePage<DataRow>{L"DAT_0", L"DAT0", L"", {}});
  NormalizeDataBlocks(Table());
  EXPECT_TRUE(Table().Working.empty());
  EXPECT_EQ(AddFirstFreeDataBlock(Table()), -1);
  EXPECT_EQ(InsertDataBlock(Table()), -1);
}

TEST_F(DataBlocks, ValidationChecksTypeAddressAndValueAndWritesCanonicalTexts) {
  struct Case {
    int type;
    const wchar_t* address;
    const wchar_t* value;
    int flags;
    const wchar_t* storedAddress;
    const wchar_t* storedValue;
  } cases[] = {
      {1, L"vb10", L"255", 15, L"VB10", L"16#FF"},
      {1, L"VB10", L"16#ff", 15, L"VB10", L"16#FF"},
      {0, L"I0.0", L"1", 15, L"I0.0", L"1"},
      {10, L"MD4", L"30", 15, L"MD4", L"30"},
      {5, L"VW0", L"70000", 11, L"VW0", L"70000"},  // value out of INT range
      {2, L"VB10", L"0", 13, L"VB10", L"16#0000"},  // a byte address for a WORD
      {1, L"LB0", L"0", 13, L"LB0", L"16#00"},      // local memory is not initialised by data blocks
      {1, L"VB9000", L"0", 13, L"VB9000", L"16#00"},  // outside V memory
      {1, L"", L"", 9, L"", L""},
      {11, L"VB10", L"1", 8, L"VB10", L"1"},         // no such type: only checked
      {-1, L"VB10", L"1", 8, L"VB10", L"1"},
  };
  for (const Case& c : cases) {
    const DataRow& row = Enter(c.type, c.address, c.value);
    EXPECT_EQ(row.CheckFlags, c.flags) << c.type << " " << c.address << " " << c.value;
    EXPECT_EQ(row.Address, c.storedAddress) << c.address;
    EXPECT_EQ(row.Value, c.storedValue) << c.value;
  }
}

TEST_F(DataBlocks, AValueWithAnIndexRegisterIsRewrittenButNeverComplete) {
  ReadManagerVar(Project().MemoryAreas, tabletest::TypeAFile("../TypeFx/ManagerVar.xml"));
  const DataRow& row = Enter(5, L"D100", L"10z1");
  EXPECT_EQ(row.Value, L"10Z1");
  EXPECT_EQ(row.CheckFlags, kDataCheckType | kDataCheckAddress | kDataCheckDone);
  EXPECT_EQ(Enter(5, L"D100", L"10").CheckFlags, kDataRowComplete);
}

TEST_F(DataBlocks, AnAddressHeldTwiceIsValidForNeitherRow) {
  AddDataBlockFromReference(Table(), 1);
  Enter(1, L"VB10", L"1", 0, 0);
  Enter(1, L"VB10", L"2", 1, 5);
  EXPECT_EQ(GetDataRow(Table(), 0, 0).CheckFlags, 13);
  EXPECT_EQ(GetDataRow(Table(), 1, 5).CheckFlags, 13);
  // Within one block too, and a third row elsewhere keeps its own address.
  Enter(1, L"vb10", L"3", 0, 1);
  Enter(1, L"VB11", L"3", 0, 2);
  EXPECT_EQ(GetDataRow(Table(), 0, 1).CheckFlags, 13);
  EXPECT_EQ(GetDataRow(Table(), 0, 2).CheckFlags, 15);
  // Changing one leaves the others still flagged until only one holds the address.
  EXPECT_TRUE(SetDataRowAddress(Table(), 0, 1, L"VB12"));
  EXPECT_EQ(GetDataRow(Table(), 0, 0).CheckFlags, 13);
  EXPECT_TRUE(SetDataRowAddress(Table(), 1, 5, L"VB13"));
  EXPECT_EQ(GetDataRow(Table(), 0, 0).CheckFlags, 15);
  // Removing a block takes its addresses out of the uniqueness check at once.
  SetDataRowAddress(Table(), 1, 5, L"VB10");
  EXPECT_EQ(GetDataRow(Table(), 0, 0).CheckFlags, 13);
  EXPECT_EQ(RemoveDataBlock(Table(), 1), 0);
  EXPECT_EQ(GetDataRow(Table(), 0, 0).CheckFlags, 15);
}

TEST_F(DataBlocks, SymbolicAddressingShowsAndResolvesGlobalSymbols) {
  AddSymbol(L"Level", L"VB10", 1);
  // Off: a symbol typed in becomes its address.
  EXPECT_EQ(Enter(1, L"Level", L"1").Address, L"VB10");
  EXPECT_EQ(GetDataRow(Table(), 0, 0).CheckFlags, 15);
  // On: an address with a symbol is stored as the symbol, whatever form it was typed in.
  SetSymbolic(true);
  SetDataRowAddress(Table(), 0, 0, L"vb10");
  EXPECT_EQ(GetDataRowAddress(Table(), 0, 0), L"Level");
  EXPECT_EQ(GetDataRow(Table(), 0, 0).CheckFlags, 15);
  // An address the type does not accept stays an address even with symbolic addressing.
  SetDataRowType(Table(), 0, 0, 2);
  EXPECT_EQ(GetDataRowAddress(Table(), 0, 0), L"VB10");
  SetDataRowType(Table(), 0, 0, 1);
  EXPECT_EQ(GetDataRowAddress(Table(), 0, 0), L"Level");

  ShowDataBlockAddresses(Table());
  EXPECT_EQ(GetDataRowAddress(Table(), 0, 0), L"VB10");
  ShowDataBlockSymbols(Table());
  EXPECT_EQ(GetDataRowAddress(Table(), 0, 0), L"Level");
  EXPECT_EQ(GetDataRow(Table(), 0, 0).CheckFlags, 15);
}

TEST_F(DataBlocks, InsertingRowsKeepsTheRowLimit) {
  EXPECT_EQ(InsertDataRow(Table(), 0, 16), 16);  // at the row count: appended
  EXPECT_EQ(Table().GetPage(0).size(), 17u);
  EXPECT_EQ(InsertDataRow(Table(), 0, 18), -1);
  EXPECT_EQ(InsertDataRow(Table(), 0, -1), -1);
  EXPECT_FALSE(CanInsertDataRow(Table(), 0, 18));
  EXPECT_TRUE(CanInsertDataRow(Table(), 0, 0));
  Table().SizeItem = 17;
  EXPECT_EQ(InsertDataRow(Table(), 0, 0), -1);
  EXPECT_FALSE(CanInsertDataRow(Table(), 0, 0));
  EXPECT_EQ(PasteDataRows(Table(), 0, 0, {DataRow()}), -1);
  Table().SizeItem = 19;
  EXPECT_EQ(PasteDataRows(Table(), 0, 3, {DataRow(), DataRow(), DataRow()}), -1);
  EXPECT_EQ(PasteDataRows(Table(), 0, 18, {DataRow()}), -1);
  DataRow row;
  row.Type = 1;
  row.Address = L"vb1";
  EXPECT_EQ(PasteDataRows(Table(), 0, 3, {row, row}), 3);
  EXPECT_EQ(GetDataRowAddress(Table(), 0, 4), L"VB1");
  EXPECT_EQ(GetDataRow(Table(), 0, 4).CheckFlags, 9);  // the two share the address, no value
  EXPECT_THROW(InsertDataRow(Table(), 5, 0), ExceptionLogicError);
}

TEST_F(DataBlocks, DeletingRowsChoosesTheRowToSelect) {
  struct Case {
    int first, end, result;
    size_t rowsLeft;
  } cases[] = {{2, 5, 2, 13}, {10, 16, 9, 10}, {0, 16, 0, 1}, {3, 3, -1, 16}, {-1, 2, -1, 16}, {0, 17, -1, 16}};
  for (const Case& c : cases) {
    ResetDataBlockTable(Table());
    FillDefaultDataBlocks(Table());
    EXPECT_EQ(CanDeleteDataRows(Table(), 0, c.first, c.end), c.result != -1);
    EXPECT_EQ(DeleteDataRows(Table(), 0, c.first, c.end), c.result) << c.first << " " << c.end;
    EXPECT_EQ(Table().GetPage(0).size(), c.rowsLeft);
  }
}

TEST_F(DataBlocks, GettersAndSettersCheckKeyAndRow) {
  EXPECT_THROW(GetDataRow(Table(), 1, 0), ExceptionLogicError);
  EXPECT_THROW(GetDataRowValue(Table(), 0, 16), ExceptionLogicError);
  EXPECT_THROW(SetDataRowComment(Table(), 0, -1, L"x"), ExceptionLogicError);
  EXPECT_TRUE(SetDataRowComment(Table(), 0, 0, L"level"));
  EXPECT_FALSE(SetDataRowComment(Table(), 0, 0, L"level"));
  EXPECT_FALSE(SetDataRowType(Table(), 0, 0, 0));
  EXPECT_EQ(GetDataRowComment(Table(), 0, 0), L"level");
}

TEST_F(DataBlocks, RowsTravelAsTabSeparatedText) {
  Enter(1, L"VB10", L"255", 0, 0);
  SetDataRowComment(Table(), 0, 0, L"level");
  Enter(10, L"VD20", L"1.5", 0, 1);
  std::wstring text = L"unchanged";
  EXPECT_EQ(CopyDataRowsAsText(Table(), 0, 0, 0, text), -1);
  EXPECT_EQ(text, L"unchanged");
  ASSERT_EQ(CopyDataRowsAsText(Table(), 0, 0, 2, text), 0);
  EXPECT_EQ(text, L"VB10\tBYTE\t16#FF\tlevel\r\nVD20\tREAL\t1.5\t\r\n");

  // Pasted into another block, the rows come back whole (and their addresses are now held twice).
  AddDataBlockFromReference(Table(), 1);
  ASSERT_EQ(PasteDataRowsFromText(Table(), 1, 16, text), 16);
  EXPECT_EQ(GetDataRowAddress(Table(), 1, 16), L"VB10");
  EXPECT_EQ(GetDataRowType(Table(), 1, 17), 10);
  EXPECT_EQ(GetDataRowComment(Table(), 1, 16), L"level");
  EXPECT_EQ(GetDataRow(Table(), 1, 17).CheckFlags, 13);

  // Cut: the same text, then the rows go.
  std::wstring cut;
  EXPECT_EQ(CutDataRowsAsText(Table(), 1, 16, 18, cut), 15);
  EXPECT_EQ(cut, text);
  EXPECT_EQ(Table().GetPage(1).size(), 16u);

  // Malformed texts are refused whole.
  const wchar_t* refused[] = {
      L"VB1\tbyte\t1\t\r\n",                  // type names are case-sensitive
      L"VB1\tBYTE\t1\t\tmore\r\n",            // a fifth field
      L"VB1\tBYTE\t1\r\n",                    // three fields
      L"VB1\tBYTE\t1\t\r\nVB2\tBIT\t1\t\r\n", // the second line fails: nothing inserted
      L"",
      L"\r\n",
  };
  for (const wchar_t* bad : refused) {
    EXPECT_EQ(PasteDataRowsFromText(Table(), 1, 0, bad), -1) << bad;
    EXPECT_EQ(Table().GetPage(1).size(), 16u);
  }
  EXPECT_EQ(PasteDataRowsFromText(Table(), 1, 17, L"VB1\tBYTE\t1\t\r\n"), -1);  // index past the end
  // The last line may lack its line break.
  EXPECT_EQ(PasteDataRowsFromText(Table(), 1, 0, L"VB1\tBYTE\t1\tc1\r\nVW2\tWORD\t\tc2"), 0);
  EXPECT_EQ(GetDataRowAddress(Table(), 1, 1), L"VW2");
  EXPECT_EQ(GetDataRowComment(Table(), 1, 1), L"c2");

  // A row of a type without a name writes an empty type field.
  Table().GetPage(1)[0].Type = 12;
  CopyDataRowsAsText(Table(), 1, 0, 1, text);
  EXPECT_EQ(text, L"VB1\t\t16#01\tc1\r\n");
}

TEST_F(DataBlocks, RemovingTheOnlyBlockGivesItBackFresh) {
  Enter(1, L"VB10", L"1");
  EXPECT_EQ(RemoveDataBlock(Table(), 0), 0);
  EXPECT_EQ(Table().GetPage(0).size(), 16u);
  EXPECT_EQ(GetDataRowAddress(Table(), 0, 0), L"");
  EXPECT_EQ(RemoveDataBlock(Table(), 5), -1);
}

TEST_F(DataBlocks, NormalisingRestoresTheInvariants) {
  DataBlockTable& table = Table();
  table.Working.emplace(9, TablePage<DataRow>{L"DAT_9", L"DAT9", L"", {}});            // unknown key
  table.Working.emplace(2, TablePage<DataRow>{L"Tank", L"DAT02", L"c", std::vector<DataRow>(300)});
  table.Working.emplace(3, TablePage<DataRow>{L"3bad", L"DAT3", L"", std::vector<DataRow>(2)});
  NormalizeDataBlocks(table);
  EXPECT_EQ(table.ListKeys(), (std::vector<int>{0, 2, 3}));
  EXPECT_EQ(table.Working.at(2).Address, L"DAT2");
  EXPECT_EQ(table.Working.at(2).Name, L"Tank");
  EXPECT_EQ(table.Working.at(2).Rows.size(), 256u);
  EXPECT_EQ(table.Working.at(2).Rows[0].CheckFlags, 9);
  EXPECT_EQ(table.Working.at(3).Name, L"DAT_3");
  EXPECT_EQ(table.Working.at(3).Rows.size(), 2u);

  table.Working.clear();
  NormalizeDataBlocks(table);
  EXPECT_EQ(table.ListKeys(), std::vector<int>{0});
}

TEST_F(DataBlocks, ContentCopyTakesBothMapsAndTheReservedNames) {
  DataBlockTable copy;
  copy.SizeItem = 3;
  CopyDataBlockTableContent(copy, Table());
  EXPECT_EQ(copy.Working, Table().Working);
  EXPECT_EQ(copy.Reference, Table().Reference);
  EXPECT_EQ(copy.ReservedNames, Table().ReservedNames);
  EXPECT_EQ(copy.SizeItem, 3);
}

}  // namespace
