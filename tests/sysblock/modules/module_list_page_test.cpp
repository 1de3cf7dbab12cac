#include "sysblock/model/modules/module_list_page.h"

#include <gtest/gtest.h>

#include "module_test_bytes.h"
#include "sysblock/model/modules/module_records.h"

namespace corvell {
namespace {

using moduletest::Bytes;
using moduletest::Cat;
using moduletest::Hex;

const Bytes kSamplePage = Hex("0B 00 00 00 00 0E 00 00 0B 00 00");

// A list of the controller and modules of the given types, each record built at its position
// with the values a new module starts from.
ModuleList BuildList(std::initializer_list<int> types) {
  ModuleParameterSet params;
  ModuleList list = {BuildControllerRecord()};
  for (int type : types) {
    ResetModuleParameters(static_cast<uint8_t>(type), params);
    list.push_back(BuildModuleRecord(static_cast<uint8_t>(type), params, static_cast<uint8_t>(list.size()), list));
  }
  return list;
}

TEST(ModuleListPage, ControllerRecordOfTheSamplePage) {
  EXPECT_EQ(BuildControllerRecord(), Hex("00 00 00 0E 00 00 0B 00 00"));
  EXPECT_EQ(BuildControllerRecord({20, 4}), Hex("00 00 00 14 00 04 0B 00 00"));
  const auto result = DecodeModuleListPage(kSamplePage);
  ASSERT_TRUE(result.ok()) << result.Describe();
  ASSERT_EQ(result.modules.size(), 1u);
  EXPECT_EQ(result.modules[0], BuildControllerRecord());
  EXPECT_EQ(EncodeModuleListPage(result.modules), kSamplePage);
}

TEST(ModuleListPage, LengthHeaderCountsInStepsOf255) {
  const std::pair<size_t, const char*> cases[] = {{2, "02 00"},   {11, "0B 00"},  {26, "1A 00"},
                                                  {255, "FF 00"}, {256, "01 01"}, {302, "2F 01"},
                                                  {510, "00 02"}, {1257, "ED 04"}, {65279, "FE FF"}};
  for (auto [length, hex] : cases) {
    const auto header = ModuleListPageHeader(length);
    EXPECT_EQ(Bytes(header.begin(), header.end()), Hex(hex)) << length;
    EXPECT_EQ(header[0] + 255u * header[1], length);
  }
}

TEST(ModuleListPage, EncodesRecordsBehindTheHeader) {
  const ModuleList withParlune = BuildList({1});
  const auto page = EncodeModuleListPage(withParlune);
  ASSERT_TRUE(page);
  ASSERT_EQ(page->size(), 26u);
  EXPECT_EQ(Bytes(page->begin(), page->begin() + 2), Hex("1A 00"));
  EXPECT_EQ(Bytes(page->begin() + 11, page->begin() + 18), Hex("01 01 0E 10 00 00 0F"));

  const auto sevenIstrel = EncodeModuleListPage(BuildList({4, 4, 4, 4, 4, 4, 4}));
  ASSERT_TRUE(sevenIstrel);
  EXPECT_EQ(sevenIstrel->size(), 1257u);
  EXPECT_EQ(Bytes(sevenIstrel->begin(), sevenIstrel->begin() + 2), Hex("ED 04"));

  // Bodies of 253 and 254 bytes sit on either side of the step.
  EXPECT_EQ(*EncodeModuleListPage({Bytes(253, 0)}), moduletest::Cat({Hex("FF 00"), Bytes(253, 0)}));
  EXPECT_EQ(*EncodeModuleListPage({Bytes(254, 0)}), moduletest::Cat({Hex("01 01"), Bytes(254, 0)}));
  EXPECT_EQ(*EncodeModuleListPage({}), Hex("02 00"));
}

TEST(ModuleListPage, RefusesAPageTheHeaderCannotDescribe) {
  EXPECT_TRUE(EncodeModuleListPage({Bytes(kMaxModuleListPageLength - 2, 0)}));
  EXPECT_FALSE(EncodeModuleListPage({Bytes(kMaxModuleListPageLength - 1, 0)}));
}

TEST(ModuleListPage, DecodeThenEncodeGivesTheSameBytesForEveryType) {
  const ModuleList lists[] = {
      BuildList({1, 2, 3, 4, 5, 6, 7}),
      BuildList({8, 9, 10, 11, 12, 13, 14}),
      BuildList({15, 16, 17, 18, 19, 20, 21}),
      BuildList({22, 23, 4, 22, 15, 13, 20}),
      BuildList({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23}),
  };
  for (const ModuleList& list : lists) {
    const auto page = EncodeModuleListPage(list);
    ASSERT_TRUE(page);
    const auto decoded = DecodeModuleListPage(*page);
    ASSERT_TRUE(decoded.ok()) << decoded.Describe();
    EXPECT_EQ(decoded.modules, list);
    EXPECT_EQ(EncodeModuleListPage(decoded.modules), page);
  }
}

TEST(ModuleListPage, ReadsRecordsAsTheyStand) {
  // The header is not compared with the page, and neither length bytes nor CRCs are checked.
  Bytes page = kSamplePage;
  page[0] = 0xFF;
  page[1] = 0xFF;
  Bytes parlune = BuildList({1})[1];
  parlune[6] = 0x99;
  parlune.back() ^= 0xFF;
  page.insert(page.end(), parlune.begin(), parlune.end());
  const auto result = DecodeModuleListPage(page);
  ASSERT_TRUE(result.ok());
  ASSERT_EQ(result.modules.size(), 2u);
  EXPECT_EQ(result.modules[1], parlune);
}

TEST(ModuleListPage, SkipsBytesThatStartNoRecord) {
  const Bytes controller = BuildControllerRecord();
  const Bytes parlune = BuildList({1})[1];
  const struct {
    const char* what;
    Bytes page;
    size_t records;
  } cases[] = {
      {"header only", Hex("02 00"), 0},
      {"stray byte at the end", Cat({kSamplePage, Hex("30")}), 1},
      {"stray byte before a code above 23", Cat({kSamplePage, Hex("30 99")}), 1},
      {"codes above 23 after the records", Cat({Hex("00 00"), controller, parlune, Hex("99 99 99")}), 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto result = DecodeModuleListPage(c.page);
    ASSERT_TRUE(result.ok()) << result.Describe();
    EXPECT_EQ(result.modules.size(), c.records);
  }
}

TEST(ModuleListPage, MalformedPagesGiveAFaultAndNoRecords) {
  const Bytes withParlune = *EncodeModuleListPage(BuildList({1}));
  const struct {
    const char* what;
    Bytes page;
    ModuleListPageFault fault;
    size_t offset;
    int type;
  } cases[] = {
      {"empty", {}, ModuleListPageFault::kTooShort, 0, -1},
      {"one byte", Hex("0B"), ModuleListPageFault::kTooShort, 0, -1},
      {"controller cut short", Bytes(kSamplePage.begin(), kSamplePage.end() - 1), ModuleListPageFault::kRecordPastEnd,
       2, 0},
      {"last record cut short", Bytes(withParlune.begin(), withParlune.end() - 1),
       ModuleListPageFault::kRecordPastEnd, 11, 1},
      {"record type right before the end", Cat({kSamplePage, Hex("07 04")}), ModuleListPageFault::kRecordPastEnd, 11,
       4},
      {"longer than the header can say", Bytes(kMaxModuleListPageLength + 1, 0xFF), ModuleListPageFault::kTooLong, 0,
       -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto result = DecodeModuleListPage(c.page);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.fault, c.fault);
    EXPECT_EQ(result.faultOffset, c.offset);
    EXPECT_EQ(result.faultType, c.type);
    EXPECT_TRUE(result.modules.empty());
    EXPECT_FALSE(result.Describe().empty());
  }
}

}  // namespace
}  // namespace corvell
