#include "core/project/program_stream.h"

#include "core/env/utilities.h"
#include "core/project/table_stream.h"

namespace Brenno {

namespace {

// A name with variant 0 is written bare, so a "#" left in such a name would be split off again
// by the next read, and each save would change the record ("##" reads as "#", which then reads
// as ""). The split goes on until the name is one that writes back as it reads: no "#" left, or
// a variant other than 0. Each split looks only at the part between its "#" and the previous
// one, and the name is copied once at the end, so a name of many "#" costs its length.
void DecodeIndexedNameField(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                            std::wstring& name, int& variant) {
  // The stored text is only read once more to split it: a per-thread buffer saves an allocation
  // for every name longer than a string holds inline.
  thread_local std::wstring text;
  DecodeStringField(key, buffer, records, text);
  const std::wstring_view stored = text;
  uint64_t looked = 0;
  size_t end = stored.size();
  variant = 0;
  while (variant == 0) {
    const size_t mark = stored.substr(0, end).rfind(L'#');
    looked += end - (mark == std::wstring_view::npos ? 0 : mark);
    if (mark == std::wstring_view::npos) break;
    variant = IndexedNameIndex(stored.substr(mark + 1, end - mark - 1));
    end = mark;
  }
  name.assign(stored.substr(0, end));
  ThreadStreamWorkCount().NameCharactersSplit += looked + end;
}

void EncodeIndexedNameField(StreamBytes& bytes, std::string_view key, const std::wstring& name, int variant) {
  // Variant 0 is the bare name; any other is composed in a reused buffer.
  if (variant == 0) {
    EncodeStringField(bytes, key, name);
    return;
  }
  thread_local std::wstring text;
  ComposeIndexedName(text, name, variant);
  EncodeStringField(bytes, key, text);
}

}  // namespace

// ---- Statement list.

void DecodeStlLine(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, StlLine& line) {
  const ScopedStreamRecords records(buffer, valueOffset, endOffset);
  DecodeIndexedNameField("#1", buffer, records, line.Mnemonic, line.Variant);
  DecodeStringList("#2", buffer, records, line.Operands);
  DecodeStringList("#3", buffer, records, line.Comments);
}

void EncodeStlLine(const StlLine& line, StreamBytes& bytes) {
  EncodeIndexedNameField(bytes, "#1", line.Mnemonic, line.Variant);
  EncodeStringList(bytes, "#2", line.Operands);
  EncodeStringList(bytes, "#3", line.Comments);
}

void DecodeStlText(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, std::vector<StlLine>& lines) {
  const ScopedStreamRecords records(buffer, valueOffset, endOffset);
  DecodeStructList("#1", buffer, records, lines, DecodeStlLine);
}

void EncodeStlText(const std::vector<StlLine>& lines, StreamBytes& bytes) {
  EncodeStructList(bytes, "#1", lines, EncodeStlLine);
}

// ---- Ladder.

void DecodeElementPin(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, ElementPin& pin) {
  const ScopedStreamRecords records(buffer, valueOffset, endOffset);
  DecodeStringField("#1", buffer, records, pin.Name);
  DecodeIntField("#2", buffer, records, pin.Slot);
}

void EncodeElementPin(const ElementPin& pin, StreamBytes& bytes) {
  EncodeStringField(bytes, "#1", pin.Name);
  EncodeIntField(bytes, "#2", pin.Slot);
}

void DecodeElementOperand(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, ElementOperand& operand) {
  const ScopedStreamRecords records(buffer, valueOffset, endOffset);
  DecodeIntField("#1", buffer, records, operand.Slot);
  DecodeStringField("#2", buffer, records, operand.Name);
  DecodeStringField("#3", buffer, records, operand.Text);
}

void EncodeElementOperand(const ElementOperand& operand, StreamBytes& bytes) {
  EncodeIntField(bytes, "#1", operand.Slot);
  EncodeStringField(bytes, "#2", operand.Name);
  EncodeStringField(bytes, "#3", operand.Text);
}

void DecodeLadElement(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, LadElement& element) {
  const ScopedStreamRecords records(buffer, valueOffset, endOffset);
  DecodeIntField("#1", buffer, records, element.Column);
  DecodeIntField("#2", buffer, records, element.Row);
  DecodeFlagField("#3", buffer, records, element.InCell);
  DecodeIntField("#4", buffer, records, element.Kind);
  DecodeIndexedNameField("#5", buffer, records, element.Name, element.Variant);
  DecodeStructList("#6", buffer, records, element.PowerIn, DecodeElementPin);
  DecodeStructList("#7", buffer, records, element.PowerOut, DecodeElementPin);
  DecodeStructList("#8", buffer, records, element.OperandId, DecodeElementOperand);
  DecodeStructList("#9", buffer, records, element.OperandIn, DecodeElementOperand);
  DecodeStructList("#10", buffer, records, element.OperandOut, DecodeElementOperand);
  DecodeStringList("#11", buffer, records, element.Comments);
}

void EncodeLadElement(const LadElement& element, StreamBytes& bytes) {
  EncodeIntField(bytes, "#1", element.Column);
  EncodeIntField(bytes, "#2", element.Row);
  EncodeFlagField(bytes, "#3", element.InCell);
  EncodeIntField(bytes, "#4", element.Kind);
  EncodeIndexedNameField(bytes, "#5", element.Name, element.Variant);
  EncodeStructList(bytes, "#6", element.PowerIn, EncodeElementPin);
  EncodeStructList(bytes, "#7", element.PowerOut, EncodeElementPin);
  EncodeStructList(bytes, "#8", element.OperandId, EncodeElementOperand);
  EncodeStructList(bytes, "#9", element.OperandIn, EncodeElementOperand);
  EncodeStructList(bytes, "#10", element.OperandOut, EncodeElementOperand);
  EncodeStringList(bytes, "#11", element.Comments);
}

void DecodeLadGrid(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, LadderGrid& grid) {
  const ScopedStreamRecords records(buffer, valueOffset, endOffset);
  DecodeIntField("#1", buffer, records, grid.Columns);
  DecodeIntField("#2", buffer, records, grid.Rows);
  DecodeStructList("#3", buffer, records, grid.Elements, DecodeLadElement);
}

void EncodeLadGrid(const LadderGrid& grid, StreamBytes& bytes) {
  EncodeIntField(bytes, "#1", grid.Columns);
  EncodeIntField(bytes, "#2", grid.Rows);
  EncodeStructList(bytes, "#3", grid.Elements, EncodeLadElement);
}

// ---- Networks and pages.

void DecodeNetwork(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, Network& network) {
  const ScopedStreamRecords records(buffer, valueOffset, endOffset);
  DecodeIntField("#1", buffer, records, network.Kind);
  DecodeStructField("#2", buffer, records, network.Lines, DecodeStlText);
  DecodeStructField("#3", buffer, records, network.Grid, DecodeLadGrid);
  DecodeStringList("#4", buffer, records, network.Comments);
}

void EncodeNetwork(const Network& network, StreamBytes& bytes) {
  EncodeIntField(bytes, "#1", network.Kind);
  EncodeStructField(bytes, "#2", network.Lines, EncodeStlText);
  EncodeStructField(bytes, "#3", network.Grid, EncodeLadGrid);
  EncodeStringList(bytes, "#4", network.Comments);
}

void DecodeNetworkList(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                       std::vector<Network>& networks) {
  DecodeStructList(key, buffer, records, networks, DecodeNetwork);
}

void EncodeNetworkList(StreamBytes& bytes, std::string_view key, const std::vector<Network>& networks) {
  EncodeStructList(bytes, key, networks, EncodeNetwork);
}

void DecodeLadElementList(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                          std::vector<LadElement>& elements) {
  DecodeStructList(key, buffer, records, elements, DecodeLadElement);
}

void EncodeLadElementList(StreamBytes& bytes, std::string_view key, const std::vector<LadElement>& elements) {
  EncodeStructList(bytes, key, elements, EncodeLadElement);
}

void DecodeProgramPage(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, ProgramPage& page) {
  const ScopedStreamRecords records(buffer, valueOffset, endOffset);
  std::vector<Network> networks;
  DecodeNetworkList("#1", buffer, records, networks);
  LocalVarTable locals;
  DecodeVarEntryList("#2", buffer, records, locals);
  // Both lists decoded: the page takes them together, with no undo history.
  page.UndoLog.Networks = std::move(networks);
  page.UndoLog.Steps.clear();
  page.UndoLog.Position = 0;
  page.LocalVars = std::move(locals);
}

void EncodeProgramPage(const ProgramPage& page, StreamBytes& bytes) {
  EncodeNetworkList(bytes, "#1", page.Networks());
  EncodeVarEntryList(bytes, "#2", page.LocalVars);
}

void DecodeBlockRecord(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, BlockRecord& record) {
  const ScopedStreamRecords records(buffer, valueOffset, endOffset);
  DecodeTitlesField("#1", buffer, records, record);
  DecodeStructField("#2", buffer, records, record.Page, DecodeProgramPage);
}

void EncodeBlockRecord(const BlockRecord& record, StreamBytes& bytes) {
  EncodeTitlesField(bytes, "#1", record);
  EncodeStructField(bytes, "#2", record.Page, EncodeProgramPage);
}

BlockRecord MakeDefaultBlockRecord() {
  BlockRecord record;
  ProgramPage::Create(record.Page);
  return record;
}

void DecodeBlockRecordMap(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                          BlockTable& table) {
  DecodeStructMap(key, buffer, records, table.Working, MakeDefaultBlockRecord, DecodeBlockRecord);
}

void EncodeBlockRecordMap(StreamBytes& bytes, std::string_view key, const BlockTable& table) {
  EncodeStructMap(bytes, key, table.Working, EncodeBlockRecord);
}

void DecodeProgramBlock(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, ProgramBlock& program) {
  const ScopedStreamRecords records(buffer, valueOffset, endOffset);
  DecodeIntField("#1", buffer, records, program.ViewMode);
  DecodeBlockRecordMap("#2", buffer, records, program.InterruptTable);
  DecodeBlockRecordMap("#3", buffer, records, program.SubroutineTable);
}

void EncodeProgramBlock(const ProgramBlock& program, StreamBytes& bytes) {
  EncodeIntField(bytes, "#1", program.ViewMode);
  EncodeBlockRecordMap(bytes, "#2", program.InterruptTable);
  EncodeBlockRecordMap(bytes, "#3", program.SubroutineTable);
}

// ---- Version-1.0 files.

void DecodeLegacyProgramUnit(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, LegacyProgramUnit& unit) {
  const ScopedStreamRecords records(buffer, valueOffset, endOffset);
  DecodeKeyField("#1", buffer, records, unit.Key);
  DecodeIntField("#2", buffer, records, unit.Number);
  DecodeFlagField("#3", buffer, records, unit.Flag);
  Network ladder;
  ladder.Kind = kNetworkLad;
  DecodeStructList("#4", buffer, records, unit.Networks, DecodeNetwork, ladder);
}

void DecodeLegacyProgramUnitMap(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                                std::map<int, LegacyProgramUnit>& units) {
  DecodeStructMap(key, buffer, records, units, [] { return LegacyProgramUnit(); }, DecodeLegacyProgramUnit);
}

void DecodeLegacyProgramBlock(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset,
                              LegacyProgramBlock& program) {
  const ScopedStreamRecords records(buffer, valueOffset, endOffset);
  DecodeKeyField("#1", buffer, records, program.ViewMode);
  DecodeFlagField("#2", buffer, records, program.Flag);
  // The two unit maps may be absent (a table without units writes no entry).
  DecodeLegacyProgramUnitMap("#3", buffer, records, program.Interrupts);
  DecodeLegacyProgramUnitMap("#4", buffer, records, program.Subroutines);
}

}  // namespace Brenno
