#include "core/project/table_stream.h"

namespace Brenno {

// ---- VarEntry.

void DecodeVarEntry(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, VarEntry& entry) {
  const ScopedStreamRecords records(buffer, valueOffset, endOffset);
  DecodeIntField("#1", buffer, records, entry.CheckFlags);
  DecodeIntField("#2", buffer, records, entry.Area);
  DecodeIntField("#3", buffer, records, entry.Type);
  DecodeStringField("#4", buffer, records, entry.Name);
  DecodeStringField("#5", buffer, records, entry.Address);
  DecodeStringField("#6", buffer, records, entry.Comment);
}

void EncodeVarEntry(const VarEntry& entry, StreamBytes& bytes) {
  EncodeIntField(bytes, "#1", entry.CheckFlags);
  EncodeIntField(bytes, "#2", entry.Area);
  EncodeIntField(bytes, "#3", entry.Type);
  EncodeStringField(bytes, "#4", entry.Name);
  EncodeStringField(bytes, "#5", entry.Address);
  EncodeStringField(bytes, "#6", entry.Comment);
}

void DecodeVarEntryList(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                        std::vector<VarEntry>& entries) {
  DecodeStructList(key, buffer, records, entries, DecodeVarEntry);
}

void EncodeVarEntryList(StreamBytes& bytes, std::string_view key, const std::vector<VarEntry>& entries) {
  EncodeStructList(bytes, key, entries, EncodeVarEntry);
}

// ---- Global symbol table.

void DecodeSymbolPage(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, TablePage<VarEntry>& page) {
  DecodeTablePage(buffer, valueOffset, endOffset, page, DecodeVarEntry);
}

void EncodeSymbolPage(const TablePage<VarEntry>& page, StreamBytes& bytes) { EncodeTablePage(page, bytes, EncodeVarEntry); }

void DecodeSymbolTable(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, SymbolTable& table) {
  DecodeTableWorkingPages(buffer, valueOffset, endOffset, table, DecodeVarEntry);
}

void EncodeSymbolTable(const SymbolTable& table, StreamBytes& bytes) {
  EncodeTableWorkingPages(table, bytes, EncodeVarEntry);
}

// ---- Data blocks.

void DecodeDataRow(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, DataRow& row) {
  const ScopedStreamRecords records(buffer, valueOffset, endOffset);
  DecodeIntField("#1", buffer, records, row.CheckFlags);
  DecodeIntField("#2", buffer, records, row.Type);
  DecodeStringField("#3", buffer, records, row.Address);
  DecodeStringField("#4", buffer, records, row.Value);
  DecodeStringField("#5", buffer, records, row.Comment);
}

void EncodeDataRow(const DataRow& row, StreamBytes& bytes) {
  EncodeIntField(bytes, "#1", row.CheckFlags);
  EncodeIntField(bytes, "#2", row.Type);
  EncodeStringField(bytes, "#3", row.Address);
  EncodeStringField(bytes, "#4", row.Value);
  EncodeStringField(bytes, "#5", row.Comment);
}

void DecodeDataBlockPage(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, TablePage<DataRow>& page) {
  DecodeTablePage(buffer, valueOffset, endOffset, page, DecodeDataRow);
}

void EncodeDataBlockPage(const TablePage<DataRow>& page, StreamBytes& bytes) { EncodeTablePage(page, bytes, EncodeDataRow); }

void DecodeDataBlockTable(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, DataBlockTable& table) {
  DecodeTableWorkingPages(buffer, valueOffset, endOffset, table, DecodeDataRow);
}

void EncodeDataBlockTable(const DataBlockTable& table, StreamBytes& bytes) {
  EncodeTableWorkingPages(table, bytes, EncodeDataRow);
}

// ---- System block.

namespace {

void DecodeSystemByte(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, uint8_t& value) {
  DecodeByteValue(buffer, valueOffset, endOffset, value);
}

void EncodeSystemByte(const uint8_t& value, StreamBytes& bytes) { EncodeByteValue(bytes, value); }

}  // namespace

void DecodeSystemPage(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, TablePage<uint8_t>& page) {
  DecodeTablePage(buffer, valueOffset, endOffset, page, DecodeSystemByte);
}

void EncodeSystemPage(const TablePage<uint8_t>& page, StreamBytes& bytes) {
  EncodeTablePage(page, bytes, EncodeSystemByte);
}

void DecodeSystemBlockTable(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, SystemBlockTable& table) {
  DecodeTableWorkingPages(buffer, valueOffset, endOffset, table, DecodeSystemByte);
}

void EncodeSystemBlockTable(const SystemBlockTable& table, StreamBytes& bytes) {
  EncodeTableWorkingPages(table, bytes, EncodeSystemByte);
}

// ---- Status chart.

void DecodeStatusRow(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, StatusRow& row) {
  const ScopedStreamRecords records(buffer, valueOffset, endOffset);
  row = StatusRow();
  DecodeIntField("#1", buffer, records, row.FormatIndex);
  DecodeStringField("#2", buffer, records, row.Address);
}

void EncodeStatusRow(const StatusRow& row, StreamBytes& bytes) {
  EncodeIntField(bytes, "#1", row.FormatIndex);
  EncodeStringField(bytes, "#2", row.Address);
}

void DecodeStatusChartPage(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, TablePage<StatusRow>& page) {
  DecodeTablePage(buffer, valueOffset, endOffset, page, DecodeStatusRow);
}

void EncodeStatusChartPage(const TablePage<StatusRow>& page, StreamBytes& bytes) {
  EncodeTablePage(page, bytes, EncodeStatusRow);
}

void DecodeStatusChartTable(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, StatusChart& chart) {
  DecodeTableWorkingPages(buffer, valueOffset, endOffset, chart, DecodeStatusRow);
}

void EncodeStatusChartTable(const StatusChart& chart, StreamBytes& bytes) {
  EncodeTableWorkingPages(chart, bytes, EncodeStatusRow);
}

// ---- Version-1.0 forms.

void DecodeLegacyVarEntryMap(std::map<int, std::vector<VarEntry>>& target, std::string_view key,
                             const StreamRecords& records, StreamBuffer buffer) {
  DecodeLegacyListMap(key, buffer, records, target, DecodeVarEntry);
}

void DecodeLegacyTitlesMap(std::map<int, PageTitles>& target, std::string_view key, const StreamRecords& records,
                           StreamBuffer buffer) {
  DecodeStructMap(
      key, buffer, records, target, [] { return PageTitles(); },
      [](StreamBuffer b, uint32_t v, uint32_t e, PageTitles& titles) { DecodePageTitles(b, v, e, titles); });
}

void DecodeLegacyDataRowMap(std::map<int, std::vector<DataRow>>& target, std::string_view key,
                            const StreamRecords& records, StreamBuffer buffer) {
  DecodeLegacyListMap(key, buffer, records, target, DecodeDataRow);
}

void DecodeLegacyByteMap(std::map<int, std::vector<uint8_t>>& target, std::string_view key,
                         const StreamRecords& records, StreamBuffer buffer) {
  DecodeLegacyListMap(key, buffer, records, target, DecodeSystemByte);
}

void DecodeLegacyStatusRowMap(std::map<int, std::vector<StatusRow>>& target, std::string_view key,
                              const StreamRecords& records, StreamBuffer buffer) {
  DecodeLegacyListMap(key, buffer, records, target, DecodeStatusRow);
}

int AdoptLegacyChartPage(StatusChart& chart, int key, std::vector<StatusRow> rows) {
  return AdoptLegacyTablePage(chart, key, std::move(rows));
}

}  // namespace Brenno
