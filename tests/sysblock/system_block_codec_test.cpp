#include "sysblock/model/system_block_codec.h"

#include <gtest/gtest.h>

#include "sysblock/model/corvell_app.h"
#include "sysblock/model/modbus_master_image.h"

namespace corvell {
namespace {

class SystemBlockCodec : public ::testing::Test {
 protected:
  CCorvellApp app;
};

TEST_F(SystemBlockCodec, SamplePagesRoundTripUnchanged) {
  PageMap current = app.SamplePages;
  SystemBlockSheetFields sheet;
  LoadPagesToSheet(current, app.SamplePages, sheet);
  StorePagesFromSheet(sheet, app.SamplePages, current);
  EXPECT_EQ(current, app.SamplePages);
}

TEST_F(SystemBlockCodec, EditedPagesRoundTripThroughTheFields) {
  PageBytes page0 = app.SamplePages[0];
  page0[0] = 1, page0[1] = 17, page0[2] = 7, page0[4] = 2, page0[6] = 255, page0[7] = 1;
  page0[8] = 2, page0[11] = 1, page0[13] = 1;
  page0[16] = 10, page0[28] = 0xF6, page0[29] = 0x01, page0[30] = 0, page0[31] = 0;
  page0[32] = 4, page0[33] = 1, page0[34] = 0, page0[35] = 1, page0[36] = 1, page0[37] = 1, page0[38] = 0x5A;
  page0.insert(page0.end(), {9, 16, 0x10, 0x00, 0x20, 0x00, 0x7D, 0x00});
  PageBytes page1 = {'s', 'e', 'c', 'r', 'e', 't', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                     0xF4, 0x01, 10, 255, 0x00, 0x00, 0x7F, 0x1F};
  PageBytes page2(16, 0xFF);
  page2[0] = 0xFC, page2[8] = 0xFD, page2[7] = 0x7F, page2[15] = 0x7F;
  PageMap current = {{0, page0}, {1, page1}, {2, page2}, {3, {0x02, 0x00}}, {5, {1, 2, 3}}};
  const PageMap pushed = current;

  SystemBlockSheetFields sheet;
  LoadPagesToSheet(current, app.SamplePages, sheet);
  EXPECT_EQ(sheet.PortPage.Ports[0].Protocol, 1);
  EXPECT_EQ(sheet.PortPage.Ports[0].PlcAddress, L"17");
  EXPECT_EQ(sheet.PortPage.Ports[1].DataBits, 1);
  EXPECT_EQ(sheet.PortPage.TcpPort, 502);
  EXPECT_EQ(sheet.ConfigPage.Password, L"secret");
  EXPECT_EQ(sheet.ConfigPage.ExecutionCycle, 500u);
  EXPECT_EQ(sheet.ForceStates[0], kForcedOff);
  EXPECT_EQ(sheet.ForceStates[1], kForcedOn);
  EXPECT_EQ(sheet.ForceStates[63], kForcedOn);
  EXPECT_EQ(sheet.ForceStates[2], kNotForced);

  StorePagesFromSheet(sheet, app.SamplePages, current);
  EXPECT_EQ(current, pushed);
}

TEST_F(SystemBlockCodec, ForceTableOfTheWrongLengthIsReplacedByTheSampleOnLoad) {
  PageMap current = {{2, PageBytes(15, 0x00)}};
  SystemBlockSheetFields sheet;
  LoadPagesToSheet(current, app.SamplePages, sheet);
  EXPECT_EQ(current[2], PageBytes(16, 0xFF));
  for (int s : sheet.ForceStates) EXPECT_EQ(s, kNotForced);
}

TEST_F(SystemBlockCodec, MissingOrShortPagesAreReadAsTheSamples) {
  PageMap current = {{0, PageBytes(20, 0x02)}, {1, PageBytes(5, 'a')}};
  SystemBlockSheetFields sheet;
  LoadPagesToSheet(current, app.SamplePages, sheet);
  StorePagesFromSheet(sheet, app.SamplePages, current);
  for (int page : {0, 1, 2, 3}) EXPECT_EQ(current[page], app.SamplePages[page]) << page;
}

TEST_F(SystemBlockCodec, ModuleListPageTravelsThroughTheModuleList) {
  struct Case {
    PageBytes page;
    size_t records;
    PageBytes storedBack;
  };
  const PageBytes sample3 = app.SamplePages[3];
  PageBytes cut = sample3;
  cut.insert(cut.end(), {0x01, 0x01, 0x0E});  // a Parlune record that ends early
  cut[0] = static_cast<uint8_t>(cut.size());
  const Case cases[] = {
      {sample3, 1, sample3},
      {PageBytes{0x02, 0x00}, 0, PageBytes{0x02, 0x00}},
      {PageBytes{0x05, 0x00, 0x30, 0x40, 0x50}, 0, PageBytes{0x02, 0x00}},  // unknown codes skipped
      {PageBytes{0x01}, 1, sample3},
      {PageBytes(), 1, sample3},
      {cut, 1, sample3},
  };
  for (const auto& c : cases) {
    PageMap current = app.SamplePages;
    current[3] = c.page;
    SystemBlockSheetFields sheet;
    LoadPagesToSheet(current, app.SamplePages, sheet);
    EXPECT_EQ(sheet.ModuleList.size(), c.records);
    StorePagesFromSheet(sheet, app.SamplePages, current);
    EXPECT_EQ(current[3], c.storedBack);
  }
}

TEST_F(SystemBlockCodec, MasterImageEditedThroughTheRecordListReturnsToPageZero) {
  PageMap current = app.SamplePages;
  SystemBlockSheetFields sheet;
  LoadPagesToSheet(current, app.SamplePages, sheet);

  CControllerDataCls controller;
  FillMasterTree(SplitMasterImage(sheet.PortPage.ModbusMasterImage), controller);
  CDataBlockDataCls* block = controller.Ports[1]->AddSlave(1)->AddBlock();
  block->FunctionIndex = 2;
  block->StartAddressMinusOne = 0;
  block->ReferenceStart = 10;
  block->Length = 3;
  controller.RefreshLevel = 1;
  MasterRecordList records;
  ASSERT_TRUE(BuildMasterRecords(controller, records));
  sheet.PortPage.ModbusMasterImage = JoinMasterImage(records);

  StorePagesFromSheet(sheet, app.SamplePages, current);
  PageBytes expected = app.SamplePages[0];
  expected[32] = 1, expected[33] = 1, expected[34] = 0, expected[35] = 1, expected[36] = 1, expected[37] = 1;
  expected.insert(expected.end(), {2, 3, 0, 0, 10, 0, 3, 0});
  EXPECT_EQ(current[0], expected);
}

}  // namespace
}  // namespace corvell
