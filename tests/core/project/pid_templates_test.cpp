#include "core/project/pid_templates.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "core/env/manager_var_reader.h"
#include "core/env/memory_map_test_support.h"
#include "core/project/table_test_support.h"
#include "support/test_paths.h"

using namespace Brenno;

namespace {

// A memory map whose M memory holds the head address 2000 and the blocks behind it.
const char kLargeMemory[] =
    "  <Region Slot=\"4\" Name=\"M\" Area=\"Ro\" AreaBegin=\"0\" AreaEnd=\"4096\" Use=\"V\" OffsetBase=\"10\""
    " BitOffsetBase=\"10\">\n"
    "    <Access Name=\"\" Width=\"Bit\" Step=\"Byte\" Offset=\"Byte\"/>\n"
    "    <Access Name=\"B\" Width=\"Byte\" Step=\"Byte\" Offset=\"Byte\"/>\n"
    "    <Access Name=\"W\" Width=\"Word\" Step=\"Byte\" Offset=\"Byte\"/>\n"
    "    <Access Name=\"D\" Width=\"Dword\" Step=\"Byte\" Offset=\"Byte\"/>\n"
    "  </Region>\n";

class PidTemplates : public tabletest::TableFixture {
 protected:
  void SetUp() override {
    TableFixture::SetUp();
    const std::string path = folder_.File("ManagerVar.xml");
    memorymaptest::WriteFile(path, memorymaptest::ManagerVarText(kLargeMemory));
    ReadManagerVar(Project().MemoryAreas, memorymaptest::Wide(path));
    ResetDataBlockTable(Table());
    FillDefaultDataBlocks(Table());
  }

  DataBlockTable& Table() { return Project().DataBlocks; }

 private:
  testsupport::TempDir folder_;
};

using Inserter = int (*)(DataBlockTable&, int);

TEST_F(PidTemplates, EachTemplateFillsTheFirstFreeBlockFromTheHeadAddress) {
  struct Case {
    Inserter insert;
    size_t rows;
    std::vector<std::wstring> addresses;  // the first ones, then the last
    std::vector<int> types;
  } cases[] = {
      {InsertPidDataBlock, 13, {L"MB2000", L"MB2001", L"MB2002", L"MB2003", L"MD2004", L"MD2008", L"MD2036"},
       {1, 1, 1, 1, 10, 10, 10}},
      {InsertPidfDataBlock, 19, {L"MB2000", L"MB2001", L"MD2004", L"MD2008", L"MD2068"}, {7, 7, 10, 10, 10}},
      {InsertDpidDataBlock, 15, {L"MD2000", L"MD2004", L"MD2056"}, {10, 10, 10}},
  };
  int expectedKey = 1;
  for (const Case& c : cases) {
    ASSERT_EQ(c.insert(Table(), 2000), expectedKey);
    const TablePage<DataRow>& page = Table().Working.at(expectedKey);
    EXPECT_EQ(page.Name, L"DAT_" + std::to_wstring(expectedKey));
    EXPECT_EQ(page.Address, L"DAT" + std::to_wstring(expectedKey));
    EXPECT_EQ(page.Comment, L"");
    ASSERT_EQ(page.Rows.size(), c.rows);
    for (size_t i = 0; i + 1 < c.addresses.size(); ++i) {
      EXPECT_EQ(page.Rows[i].Address, c.addresses[i]);
      EXPECT_EQ(page.Rows[i].Type, c.types[i]);
    }
    EXPECT_EQ(page.Rows.back().Address, c.addresses.back());
    // Every row is complete but the DPID block's last one, which has no value. The block is
    // removed again so that the next template, at the same head address, holds its own addresses.
    for (const DataRow& row : page.Rows) {
      if (&row != &page.Rows.back() || c.insert != InsertDpidDataBlock) {
        EXPECT_EQ(row.CheckFlags, kDataRowComplete) << row.Address;
      }
    }
    RemoveDataBlock(Table(), expectedKey);
  }
}

TEST_F(PidTemplates, RowsCarryTheFixedValuesAndComments) {
  ASSERT_EQ(InsertPidfDataBlock(Table(), 100), 1);
  const std::vector<DataRow>& pidf = Table().GetPage(1);
  EXPECT_EQ(pidf[1].Value, L"10");
  EXPECT_EQ(pidf[1].Comment, L"斜率计算时间");
  EXPECT_EQ(pidf[15].Address, L"MD156");
  EXPECT_EQ(pidf[15].Value, L"0.95");
  EXPECT_EQ(pidf[15].Comment, L"PID检测时用的设定温度比例");

  ASSERT_EQ(InsertPidDataBlock(Table(), 200), 2);
  const std::vector<DataRow>& pid = Table().GetPage(2);
  EXPECT_EQ(pid[0].Comment, L"运算周期（0:200ms;1:100ms;2:50ms)");
  EXPECT_EQ(pid[4].Value, L"30");
  EXPECT_EQ(pid[4].Comment, L"比例增益（单位：100%）");
  EXPECT_EQ(pid[12].Comment, L"OP输出的下量程");

  // The last row of the DPID block has no value and stays incomplete until it gets one.
  ASSERT_EQ(InsertDpidDataBlock(Table(), 300), 3);
  const DataRow& last = Table().GetPage(3).back();
  EXPECT_EQ(last.Address, L"MD356");
  EXPECT_EQ(last.Value, L"");
  EXPECT_EQ(last.Comment, L"温偏差");
  EXPECT_EQ(last.CheckFlags, kDataCheckType | kDataCheckAddress | kDataCheckDone);
  SetDataRowValue(Table(), 3, 14, L"0");
  EXPECT_EQ(Table().GetPage(3).back().CheckFlags, kDataRowComplete);
}

TEST_F(PidTemplates, TwoBlocksAtTheSameHeadAddressInvalidateEachOther) {
  ASSERT_EQ(InsertPidDataBlock(Table(), 2000), 1);
  ASSERT_EQ(InsertPidDataBlock(Table(), 2000), 2);
  for (const int key : {1, 2}) {
    for (const DataRow& row : Table().GetPage(key)) {
      EXPECT_EQ(row.CheckFlags & kDataCheckAddress, 0) << key << " " << row.Address;
    }
  }
}

TEST_F(PidTemplates, NoFreeBlockRefusesAndChangesNothing) {
  while (InsertDataBlock(Table()) != -1) {
  }
  const DataBlockTable before = Table();
  EXPECT_EQ(InsertPidDataBlock(Table(), 2000), -1);
  EXPECT_EQ(InsertPidfDataBlock(Table(), 2000), -1);
  EXPECT_EQ(InsertDpidDataBlock(Table(), 2000), -1);
  EXPECT_EQ(Table(), before);
}

TEST_F(PidTemplates, TheRowLimitCutsTheBlockOnlyAtTheNextNormalisation) {
  Table().SizeItem = 8;
  ASSERT_EQ(InsertPidfDataBlock(Table(), 0), 1);
  EXPECT_EQ(Table().GetPage(1).size(), 19u);
  NormalizeDataBlocks(Table());
  EXPECT_EQ(Table().GetPage(1).size(), 8u);
}

TEST_F(PidTemplates, AnAddressWithAGlobalSymbolShowsTheSymbol) {
  AddSymbol(L"Gain", L"MD2004", 10);
  SetSymbolic(true);
  ASSERT_EQ(InsertPidDataBlock(Table(), 2000), 1);
  EXPECT_EQ(Table().GetPage(1)[4].Address, L"Gain");
  EXPECT_EQ(Table().GetPage(1)[4].CheckFlags, kDataRowComplete);
}

TEST_F(PidTemplates, AHeadAddressAtTheEndOfTheIntRangeGivesInvalidRowsNotAnOverflow) {
  ASSERT_EQ(InsertDpidDataBlock(Table(), INT_MAX - 2), 1);
  const std::vector<DataRow>& rows = Table().GetPage(1);
  EXPECT_EQ(rows[0].Address, L"MD2147483645");
  EXPECT_EQ(rows[1].Address, L"MD2147483649");
  for (const DataRow& row : rows) EXPECT_EQ(row.CheckFlags & kDataCheckAddress, 0) << row.Address;
}

}  // namespace
