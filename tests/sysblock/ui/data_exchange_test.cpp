// The plain checks behind the sheet's edits.
#include "sysblock/ui/data_exchange.h"

#include <gtest/gtest.h>

#include "sysblock/ui/data_block_fields.h"
#include "sysblock/ui/module_list_rows.h"

namespace corvell {
namespace {

TEST(DataExchange, IntegerTextsAreWholeNumbersWithinTheirRange) {
  struct Case {
    const wchar_t* text;
    long long low, high;
    std::optional<long long> value;
    const wchar_t* message;
  };
  const Case cases[] = {
      {L"502", 1, 65535, 502, L""},
      {L" 2000 ", 1, 65535, 2000, L""},
      {L"0", 1, 65535, std::nullopt, L"Please enter an integer between 1 and 65535."},
      {L"65536", 1, 65535, std::nullopt, L"Please enter an integer between 1 and 65535."},
      {L"99999999999999999999", 1, 65535, std::nullopt, L"Please enter an integer between 1 and 65535."},
      {L"", 1, 65535, std::nullopt, L"Please enter an integer."},
      {L"12a", 1, 65535, std::nullopt, L"Please enter an integer."},
      {L"300", 1, 0, 300, L""},  // no range
      {L"-5", 1, 0, -5, L""},
  };
  for (const Case& c : cases) {
    const ExchangeResult r = ExchangeInteger(c.text, c.low, c.high, 1);
    EXPECT_EQ(r.Value, c.value) << c.text;
    EXPECT_EQ(r.Message, c.message) << c.text;
  }
  EXPECT_EQ(ExchangeInteger(L"", 1, 65535, 2).Message, L"请输入一个整数。");
}

TEST(DataExchange, UnsignedTextsRefuseSignsAndRanges) {
  EXPECT_EQ(ExchangeUnsigned(L"500", 0, 500, 1).Value, 500);
  EXPECT_EQ(ExchangeUnsigned(L"501", 0, 500, 1).Message, L"Please enter an integer between 0 and 500.");
  EXPECT_EQ(ExchangeUnsigned(L"8064", 0, 8063, 2).Message, L"请输入一个介于 0 和 8063 之间的整数。");
  EXPECT_EQ(ExchangeUnsigned(L"-1", 0, 500, 1).Message, L"Please enter a positive integer.");
  EXPECT_EQ(ExchangeUnsigned(L"", 0, 500, 1).Message, L"Please enter a positive integer.");
}

TEST(DataBlockFields, ChecksLengthThenReferenceThenFirstAddress) {
  struct Case {
    unsigned long long first, reference, length;
    const wchar_t* message;
  };
  const Case cases[] = {
      {1, 0, 1, nullptr},
      {65535, 2000, 125, nullptr},
      {1, 0, 0, L"数据长度必须在1到125之间！"},
      {1, 0, 126, L"数据长度必须在1到125之间！"},
      {0, 2001, 126, L"数据长度必须在1到125之间！"},  // length is tested first
      {1, 2001, 1, L"引用首地址必须在0到2000之间！"},
      {0, 2001, 1, L"引用首地址必须在0到2000之间！"},
      {0, 0, 1, L"首地址必须在1到65535之间！"},
      {65536, 0, 1, L"首地址必须在1到65535之间！"},
  };
  for (const Case& c : cases) {
    DataBlockFields fields;
    fields.FirstAddress = c.first, fields.ReferenceStart = c.reference, fields.Length = c.length;
    auto message = fields.Check();
    if (c.message == nullptr) {
      EXPECT_FALSE(message) << c.first << " " << c.reference << " " << c.length;
    } else {
      ASSERT_TRUE(message);
      EXPECT_EQ(*message, c.message);
    }
  }
}

TEST(ModuleListRows, ColumnsFollowTheRecordsFrame) {
  struct Case {
    ModuleRecord frame;
    ModuleListRow row;
  };
  const Case cases[] = {
      {{0, 0, 0, 14, 0, 0}, {L"0", L"Drovenk", L"I0.0 - I1.5", L"", L"", L""}},
      {{1, 1, 14, 16, 0, 0}, {L"1", L"Parlune", L"I1.6 - I3.5", L"", L"", L""}},
      {{2, 2, 0, 0, 0, 8}, {L"2", L"Voskel", L"", L"Q0.0 - Q0.7", L"", L""}},
      {{3, 20, 30, 8, 8, 8}, {L"3", L"Hulvern", L"I3.6 - I4.5", L"Q1.0 - Q1.7", L"", L""}},
      {{4, 4, 0, 8, 0, 0}, {L"4", L"Istrel", L"", L"", L"AI0 - AI7", L""}},
      {{5, 22, 8, 1, 0, 0}, {L"5", L"Weskarn", L"", L"", L"AI8", L""}},
      {{6, 23, 9, 4, 0, 0}, {L"6", L"Yolvask", L"", L"", L"AI9 - AI12", L""}},
      {{7, 3, 0, 0, 2, 4}, {L"7", L"Kavrin", L"", L"", L"", L"AO2 - AO5"}},
      {{1, 15, 4, 4, 2, 2}, {L"1", L"Uvendar", L"", L"", L"AI4 - AI7", L"AO2 - AO3"}},
      {{1, 99, 4, 4, 2, 2}, {L"1", L"", L"", L"", L"", L""}},
  };
  for (const Case& c : cases) EXPECT_EQ(ModuleListRowTexts(c.frame), c.row) << int(c.frame[1]);
}

}  // namespace
}  // namespace corvell
