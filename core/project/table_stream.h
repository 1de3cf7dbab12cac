// Tagged-stream layouts of the project's paged tables and their rows: the global symbol table
// (VarEntry rows, also the layout of a program page's local variables), the data block table
// (DataRow rows), the system block table (raw bytes, one ":b" record per byte) and the status
// chart (StatusRow rows: only the format index and the address are stored).
//
// A table's value is "#1" a map of its working pages in ascending unsigned key order; a page is
// "#1" its titles (name, address, comment) and "#2" one record per row. Reference pages, size
// limits and reserved names come from the PLC type and are neither written nor read.
//
// Decoders take (buffer, value offset, end offset, target) and throw ExceptionParseStreamError
// for a missing single field or malformed bytes; encoders take (object, byte vector).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/project/data_block_table.h"
#include "core/project/paged_table.h"
#include "core/project/status_chart.h"
#include "core/project/symbol_table.h"
#include "core/project/system_block_table.h"
#include "core/project/tagged_stream.h"

namespace Brenno {

// The three titles of a page or program unit on their own (version-1.0 files keep the titles of
// program units apart from their pages).
struct PageTitles {
  std::wstring Name;
  std::wstring Address;
  std::wstring Comment;

  bool operator==(const PageTitles&) const = default;
};

// Page titles: "#1" name, "#2" address, "#3" comment; for anything with those three members
// (TablePage, BlockRecord, PageTitles).
template <class Titled>
void DecodePageTitles(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, Titled& target) {
  const ScopedStreamRecords records(buffer, valueOffset, endOffset);
  DecodeStringField("#1", buffer, records, target.Name);
  DecodeStringField("#2", buffer, records, target.Address);
  DecodeStringField("#3", buffer, records, target.Comment);
}

template <class Titled>
void EncodePageTitles(const Titled& source, StreamBytes& bytes) {
  EncodeStringField(bytes, "#1", source.Name);
  EncodeStringField(bytes, "#2", source.Address);
  EncodeStringField(bytes, "#3", source.Comment);
}

template <class Titled>
void DecodeTitlesField(std::string_view key, StreamBuffer buffer, const StreamRecords& records, Titled& target) {
  DecodeStructField(key, buffer, records, target,
                    [](StreamBuffer b, uint32_t v, uint32_t e, Titled& t) { DecodePageTitles(b, v, e, t); });
}

template <class Titled>
void EncodeTitlesField(StreamBytes& bytes, std::string_view key, const Titled& source) {
  EncodeStructField(bytes, key, source, [](const Titled& s, StreamBytes& out) { EncodePageTitles(s, out); });
}

// VarEntry: "#1" check flags, "#2" area, "#3" data type index, "#4" name, "#5" address,
// "#6" comment.
void DecodeVarEntry(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, VarEntry& entry);
void EncodeVarEntry(const VarEntry& entry, StreamBytes& bytes);
void DecodeVarEntryList(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                        std::vector<VarEntry>& entries);
void EncodeVarEntryList(StreamBytes& bytes, std::string_view key, const std::vector<VarEntry>& entries);

// A page of a table: "#1" titles, "#2" one record per row (decoded with `decodeRow` into a copy
// of `prototype`).
template <class Row, class DecodeRow>
void DecodeTablePage(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, TablePage<Row>& page,
                     DecodeRow&& decodeRow, const Row& prototype = Row()) {
  const ScopedStreamRecords records(buffer, valueOffset, endOffset);
  DecodeTitlesField("#1", buffer, records, page);
  DecodeStructList("#2", buffer, records, page.Rows, decodeRow, prototype);
}

template <class Row, class EncodeRow>
void EncodeTablePage(const TablePage<Row>& page, StreamBytes& bytes, EncodeRow&& encodeRow) {
  EncodeTitlesField(bytes, "#1", page);
  EncodeStructList(bytes, "#2", page.Rows, encodeRow);
}

// The working pages of a table as the map field "#1" of the table's value: decoding empties the
// working pages first and keeps the first page of a key.
template <class Row, class DecodeRow>
void DecodeTableWorkingPages(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, PagedTable<Row>& table,
                             DecodeRow&& decodeRow, const Row& prototype = Row()) {
  const ScopedStreamRecords records(buffer, valueOffset, endOffset);
  DecodeStructMap(
      "#1", buffer, records, table.Working, [] { return TablePage<Row>(); },
      [&](StreamBuffer b, uint32_t v, uint32_t e, TablePage<Row>& page) {
        DecodeTablePage(b, v, e, page, decodeRow, prototype);
      });
}

template <class Row, class EncodeRow>
void EncodeTableWorkingPages(const PagedTable<Row>& table, StreamBytes& bytes, EncodeRow&& encodeRow) {
  EncodeStructMap(bytes, "#1", table.Working,
                  [&](const TablePage<Row>& page, StreamBytes& out) { EncodeTablePage(page, out, encodeRow); });
}

// ---- Global symbol table.
void DecodeSymbolPage(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, TablePage<VarEntry>& page);
void EncodeSymbolPage(const TablePage<VarEntry>& page, StreamBytes& bytes);
void DecodeSymbolTable(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, SymbolTable& table);
void EncodeSymbolTable(const SymbolTable& table, StreamBytes& bytes);

// ---- Data blocks. DataRow: "#1" check flags, "#2" data type index, "#3" address, "#4" value,
// "#5" comment.
void DecodeDataRow(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, DataRow& row);
void EncodeDataRow(const DataRow& row, StreamBytes& bytes);
void DecodeDataBlockPage(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, TablePage<DataRow>& page);
void EncodeDataBlockPage(const TablePage<DataRow>& page, StreamBytes& bytes);
void DecodeDataBlockTable(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, DataBlockTable& table);
void EncodeDataBlockTable(const DataBlockTable& table, StreamBytes& bytes);

// ---- System block: every byte of a page is its own "#2" record holding one ":b".
void DecodeSystemPage(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, TablePage<uint8_t>& page);
void EncodeSystemPage(const TablePage<uint8_t>& page, StreamBytes& bytes);
void DecodeSystemBlockTable(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, SystemBlockTable& table);
void EncodeSystemBlockTable(const SystemBlockTable& table, StreamBytes& bytes);

// ---- Status chart. StatusRow: "#1" display format index, "#2" address; a decoded row starts
// blank and takes only those two (the chart derives the rest after loading).
void DecodeStatusRow(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, StatusRow& row);
void EncodeStatusRow(const StatusRow& row, StreamBytes& bytes);
void DecodeStatusChartPage(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, TablePage<StatusRow>& page);
void EncodeStatusChartPage(const TablePage<StatusRow>& page, StreamBytes& bytes);
void DecodeStatusChartTable(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, StatusChart& chart);
void EncodeStatusChartTable(const StatusChart& chart, StreamBytes& bytes);

// ---- Version-1.0 forms (read only): each entry holds "key" once and "value" once per row.
void DecodeLegacyVarEntryMap(std::map<int, std::vector<VarEntry>>& target, std::string_view key,
                             const StreamRecords& records, StreamBuffer buffer);
// Each entry holds "key" and one "value" with the titles (required).
void DecodeLegacyTitlesMap(std::map<int, PageTitles>& target, std::string_view key, const StreamRecords& records,
                           StreamBuffer buffer);

void DecodeLegacyDataRowMap(std::map<int, std::vector<DataRow>>& target, std::string_view key,
                            const StreamRecords& records, StreamBuffer buffer);
void DecodeLegacyByteMap(std::map<int, std::vector<uint8_t>>& target, std::string_view key,
                         const StreamRecords& records, StreamBuffer buffer);
void DecodeLegacyStatusRowMap(std::map<int, std::vector<StatusRow>>& target, std::string_view key,
                              const StreamRecords& records, StreamBuffer buffer);

// Installs one version-1.0 entry: when the table has a reference page of the key, the working
// page of that key (created or replaced) gets the reference page's titles and the entry's rows;
// returns the key, or -1 (nothing changed) when there is no such reference page.
template <class Row>
int AdoptLegacyTablePage(PagedTable<Row>& table, int key, std::vector<Row> rows) {
  const auto reference = table.Reference.find(key);
  if (reference == table.Reference.end()) return -1;
  TablePage<Row> page;
  page.Name = reference->second.Name;
  page.Address = reference->second.Address;
  page.Comment = reference->second.Comment;
  page.Rows = std::move(rows);
  table.Working.insert_or_assign(key, std::move(page));
  return key;
}

int AdoptLegacyChartPage(StatusChart& chart, int key, std::vector<StatusRow> rows);

}  // namespace Brenno
