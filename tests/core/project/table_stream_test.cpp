#include "core/project/table_stream.h"

#include <gtest/gtest.h>

#include "core/env/exception_error.h"

using namespace Brenno;

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t End(const Bytes& bytes) { return static_cast<uint32_t>(bytes.size()); }

template <class T, class Encode>
Bytes EncodeWith(const T& value, Encode encode) {
  Bytes bytes;
  encode(value, bytes);
  return bytes;
}

std::vector<std::string> Keys(const Bytes& bytes, uint32_t begin, uint32_t end) {
  StreamRecords records;
  SplitStreamRecords(bytes, begin, end, records);
  std::vector<std::string> keys;
  for (const auto& record : records) keys.emplace_back(RecordKey(bytes, record));
  return keys;
}

// The page keys of a table value, in the order written.
std::vector<int> PageKeys(const Bytes& bytes) {
  StreamRecords records;
  SplitStreamRecords(bytes, records);
  std::vector<int> keys;
  for (const auto& record : records) {
    StreamRecords entry;
    SplitStreamRecords(bytes, record.ValueOffset, record.EndOffset, entry);
    int32_t key = 0;
    DecodeKeyField("key", bytes, entry, key);
    keys.push_back(key);
  }
  return keys;
}

template <class Row>
TablePage<Row> Page(const std::wstring& name, std::vector<Row> rows) {
  TablePage<Row> page;
  page.Name = name;
  page.Address = name + L"_ADDR";
  page.Comment = L"\x6CE8\x91CA";
  page.Rows = std::move(rows);
  return page;
}

}  // namespace

TEST(TableStream, StatusRowStoresOnlyFormatAndAddress) {
  StatusRow row;
  row.FormatIndex = 1;
  row.Address = L"I0.0";
  row.ForceState = 0;
  row.Value = L"2#1";
  const Bytes bytes = EncodeWith(row, EncodeStatusRow);
  const Bytes expected = {0x23, 0x31, 0x00, 0x0B, 0x00, 0x00, 0x00, 0x3A, 0x64, 0x00, 0x04, 0x00,
                          0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x23, 0x32, 0x00, 0x0B, 0x00, 0x00,
                          0x00, 0x3A, 0x73, 0x00, 0x04, 0x00, 0x00, 0x00, 0x49, 0x30, 0x2E, 0x30};
  EXPECT_EQ(bytes, expected);

  StatusRow loaded;
  loaded.ForceState = 1;
  loaded.Value = L"stale";
  DecodeStatusRow(bytes, 0, End(bytes), loaded);
  StatusRow blank;
  blank.FormatIndex = 1;
  blank.Address = L"I0.0";
  EXPECT_EQ(loaded, blank);
}

TEST(TableStream, RowsWriteEveryFieldAndRoundTrip) {
  const VarEntry empty;
  const Bytes bytes = EncodeWith(empty, EncodeVarEntry);
  EXPECT_EQ(Keys(bytes, 0, End(bytes)), (std::vector<std::string>{"#1", "#2", "#3", "#4", "#5", "#6"}));
  EXPECT_EQ(bytes.size(), 3u * 18 + 3u * 14);
  VarEntry loaded{1, 2, 3, L"x", L"y", L"z"};
  DecodeVarEntry(bytes, 0, End(bytes), loaded);
  EXPECT_EQ(loaded, empty);

  const VarEntry symbol{31, 0, 5, L"Speed", L"VW10", L"\x901F\x5EA6"};
  const Bytes symbolBytes = EncodeWith(symbol, EncodeVarEntry);
  DecodeVarEntry(symbolBytes, 0, End(symbolBytes), loaded);
  EXPECT_EQ(loaded, symbol);

  const DataRow row{15, 2, L"VW0", L"16#FF", L"mask"};
  const Bytes rowBytes = EncodeWith(row, EncodeDataRow);
  EXPECT_EQ(rowBytes.size(), 2u * 18 + (14 + 3) + (14 + 5) + (14 + 4));
  DataRow loadedRow;
  DecodeDataRow(rowBytes, 0, End(rowBytes), loadedRow);
  EXPECT_EQ(loadedRow, row);

  // Each field of a row is required.
  Bytes cut = rowBytes;
  cut.resize(cut.size() - (14 + 4));
  EXPECT_THROW(DecodeDataRow(cut, 0, End(cut), loadedRow), ExceptionParseStreamError);
}

TEST(TableStream, TablesWriteWorkingPagesInUnsignedKeyOrder) {
  SymbolTable table;
  table.Working.emplace(2, Page<VarEntry>(L"USR_2", {VarEntry{31, 0, 1, L"a", L"VB0", L""}}));
  table.Working.emplace(0, Page<VarEntry>(L"USR_0", {}));
  table.Working.emplace(-2, Page<VarEntry>(L"USR_X", {}));
  table.Reference.emplace(0, Page<VarEntry>(L"REF", {}));  // not stored
  const Bytes bytes = EncodeWith(table, EncodeSymbolTable);
  EXPECT_EQ(PageKeys(bytes), (std::vector<int>{0, 2, -2}));

  SymbolTable loaded;
  loaded.Working.emplace(7, Page<VarEntry>(L"gone", {}));
  loaded.Reference.emplace(5, Page<VarEntry>(L"mine", {}));
  DecodeSymbolTable(bytes, 0, End(bytes), loaded);
  EXPECT_EQ(loaded.Working, table.Working);
  ASSERT_EQ(loaded.Reference.size(), 1u);  // reference pages are the type's, not the file's
  EXPECT_EQ(loaded.Reference.begin()->first, 5);
  EXPECT_EQ(EncodeWith(loaded, EncodeSymbolTable), bytes);
}

TEST(TableStream, EmptyTableIsAnEmptyValue) {
  DataBlockTable table;
  EXPECT_TRUE(EncodeWith(table, EncodeDataBlockTable).empty());
  table.Working.emplace(1, Page<DataRow>(L"DAT_1", {}));
  const Bytes nothing;
  DecodeDataBlockTable(nothing, 0, 0, table);
  EXPECT_TRUE(table.Working.empty());
}

TEST(TableStream, SystemPagesStoreOneRecordPerByte) {
  SystemBlockTable table;
  table.Working.emplace(0, Page<uint8_t>(L"SYS_0", {}));
  table.Working.emplace(1, Page<uint8_t>(L"SYS_1", {0x00, 0x7F, 0xFF}));
  const Bytes bytes = EncodeWith(table.Working.at(1), EncodeSystemPage);
  const Bytes titles = EncodeWith(table.Working.at(1), EncodePageTitles<TablePage<uint8_t>>);
  EXPECT_EQ(bytes.size(), 7 + titles.size() + 3 * 15);
  EXPECT_EQ(Keys(bytes, 0, End(bytes)), (std::vector<std::string>{"#1", "#2", "#2", "#2"}));
  const Bytes empty = EncodeWith(table.Working.at(0), EncodeSystemPage);
  EXPECT_EQ(Keys(empty, 0, End(empty)), (std::vector<std::string>{"#1"}));

  const Bytes all = EncodeWith(table, EncodeSystemBlockTable);
  SystemBlockTable loaded;
  DecodeSystemBlockTable(all, 0, End(all), loaded);
  EXPECT_EQ(loaded.Working, table.Working);
}

TEST(TableStream, DuplicatePagesAndUnknownKeys) {
  StatusChart first;
  first.Working.emplace(3, Page<StatusRow>(L"CHT_3", {}));
  StatusChart second;
  second.Working.emplace(3, Page<StatusRow>(L"late", {}));
  Bytes bytes = EncodeWith(first, EncodeStatusChartTable);
  EncodeStringField(bytes, "#9", L"unknown");
  const Bytes more = EncodeWith(second, EncodeStatusChartTable);
  bytes.insert(bytes.end(), more.begin(), more.end());

  StatusChart loaded;
  DecodeStatusChartTable(bytes, 0, End(bytes), loaded);
  ASSERT_EQ(loaded.Working.size(), 1u);
  EXPECT_EQ(loaded.Working.at(3).Name, L"CHT_3");
}

TEST(TableStream, PageWithoutTitlesIsRefused) {
  Bytes bytes;
  EncodeStructField(bytes, "#1", [](StreamBytes& entry) {
    EncodeKeyField(entry, "key", 0);
    EncodeStructField(entry, "value", [](StreamBytes& page) { EncodeVarEntryList(page, "#2", {VarEntry{}}); });
  });
  SymbolTable table;
  EXPECT_THROW(DecodeSymbolTable(bytes, 0, End(bytes), table), ExceptionParseStreamError);
}

TEST(TableStream, LegacyChartEntriesTakeTheReferenceTitles) {
  StatusChart chart;
  chart.Reference.emplace(0, Page<StatusRow>(L"CHT_0", {StatusRow{}}));
  StatusRow row;
  row.FormatIndex = 2;
  row.Address = L"VW4";

  Bytes bytes;
  for (int key : {0, 9}) {
    EncodeStructField(bytes, "#1", [&](StreamBytes& entry) {
      EncodeKeyField(entry, "key", key);
      EncodeStructList(entry, "value", std::vector<StatusRow>{row, row}, EncodeStatusRow);
    });
  }
  StreamRecords records;
  SplitStreamRecords(bytes, records);
  std::map<int, std::vector<StatusRow>> entries;
  DecodeLegacyStatusRowMap(entries, "#1", records, bytes);
  ASSERT_EQ(entries.size(), 2u);

  EXPECT_EQ(AdoptLegacyChartPage(chart, 9, entries.at(9)), -1);
  EXPECT_EQ(AdoptLegacyChartPage(chart, 0, entries.at(0)), 0);
  ASSERT_EQ(chart.Working.size(), 1u);
  const TablePage<StatusRow>& page = chart.Working.at(0);
  EXPECT_EQ(page.Name, L"CHT_0");
  EXPECT_EQ(page.Address, L"CHT_0_ADDR");
  EXPECT_EQ(page.Rows, (std::vector<StatusRow>{row, row}));
}
