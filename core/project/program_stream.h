// Tagged-stream layouts of the user program: the program block with its two tables of program
// units, each unit's titles and page, the page's networks and local variables, and inside a
// network its statement-list lines and its ladder grid of elements with their pins and
// operands. The project file stores the program block through these; the program editor's
// clipboard stores lists of networks and of ladder elements with the same layouts.
//
// Every layout is a structure of fields "#1", "#2", ... written in that order. Single fields
// are required when read (ExceptionParseStreamError when absent), lists may be absent (empty).
// Only the user's content is stored: limits, reference units and reserved names come from the
// PLC type; a page's view state and undo history are not stored.
//
// Decoders take (buffer, value offset, end offset, target) and fill the target in place;
// encoders take (object, byte vector) and append the layout's fields.
#pragma once

#include <map>
#include <vector>

#include "core/program/block_table.h"
#include "core/program/ladder_grid.h"
#include "core/program/network.h"
#include "core/program/program_block.h"
#include "core/program/program_page.h"
#include "core/program/stl_line.h"
#include "core/project/tagged_stream.h"

namespace Brenno {

// StlLine: "#1" mnemonic and variant as an indexed name ("LD", "CALL#2"), "#2" operands,
// "#3" comments.
void DecodeStlLine(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, StlLine& line);
void EncodeStlLine(const StlLine& line, StreamBytes& bytes);

// The statement-list part of a network: "#1" one line per record.
void DecodeStlText(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, std::vector<StlLine>& lines);
void EncodeStlText(const std::vector<StlLine>& lines, StreamBytes& bytes);

// ElementPin: "#1" name, "#2" slot.
void DecodeElementPin(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, ElementPin& pin);
void EncodeElementPin(const ElementPin& pin, StreamBytes& bytes);

// ElementOperand: "#1" slot, "#2" name, "#3" operand text.
void DecodeElementOperand(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, ElementOperand& operand);
void EncodeElementOperand(const ElementOperand& operand, StreamBytes& bytes);

// LadElement: "#1" column, "#2" row, "#3" cell flag, "#4" kind, "#5" name and variant as an
// indexed name, "#6" PowerIn, "#7" PowerOut, "#8" OperandId, "#9" OperandIn, "#10" OperandOut,
// "#11" comments.
void DecodeLadElement(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, LadElement& element);
void EncodeLadElement(const LadElement& element, StreamBytes& bytes);

// LadderGrid: "#1" column count, "#2" row count, "#3" elements in stored order.
void DecodeLadGrid(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, LadderGrid& grid);
void EncodeLadGrid(const LadderGrid& grid, StreamBytes& bytes);

// Network: "#1" kind, "#2" statement-list part, "#3" ladder part (both always written), "#4"
// comment lines.
void DecodeNetwork(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, Network& network);
void EncodeNetwork(const Network& network, StreamBytes& bytes);

// ProgramPage: "#1" the current networks, "#2" the local variables. Decoding replaces the
// networks as a whole (a page keeps its networks when one of them fails) and clears the undo
// history; the view state is left as it was.
void DecodeProgramPage(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, ProgramPage& page);
void EncodeProgramPage(const ProgramPage& page, StreamBytes& bytes);

// BlockRecord: "#1" titles (name, address, comment), "#2" the page.
void DecodeBlockRecord(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, BlockRecord& record);
void EncodeBlockRecord(const BlockRecord& record, StreamBytes& bytes);

// A fresh unit for the unit map decoders: empty titles and a page made by ProgramPage::Create.
BlockRecord MakeDefaultBlockRecord();

// One block table's working units as a map field: "key" the unit key, "value" a BlockRecord.
// Decoding empties the working units first; the first entry of a key wins.
void DecodeBlockRecordMap(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                          BlockTable& table);
void EncodeBlockRecordMap(StreamBytes& bytes, std::string_view key, const BlockTable& table);

// ProgramBlock: "#1" view mode, "#2" interrupt units, "#3" subroutine units. Nothing else of
// the program block changes.
void DecodeProgramBlock(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, ProgramBlock& program);
void EncodeProgramBlock(const ProgramBlock& program, StreamBytes& bytes);

// List pairs of the element types.
void DecodeNetworkList(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                       std::vector<Network>& networks);
void EncodeNetworkList(StreamBytes& bytes, std::string_view key, const std::vector<Network>& networks);
void DecodeLadElementList(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                          std::vector<LadElement>& elements);
void EncodeLadElementList(StreamBytes& bytes, std::string_view key, const std::vector<LadElement>& elements);

// ---- Version-1.0 project files (read only).

// One program unit: "#1" its key, "#2" a number, "#3" a flag (read and not used), "#4" its
// networks (each starting as a ladder network).
struct LegacyProgramUnit {
  int32_t Key = 0;
  int32_t Number = 0;
  uint8_t Flag = 0;
  std::vector<Network> Networks;
};

// The program block: "#1" view mode, "#2" a flag (not used), "#3" interrupt units, "#4"
// subroutine units.
struct LegacyProgramBlock {
  int32_t ViewMode = kViewModeLad;
  uint8_t Flag = 0;
  std::map<int, LegacyProgramUnit> Interrupts;
  std::map<int, LegacyProgramUnit> Subroutines;
};

void DecodeLegacyProgramUnit(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset, LegacyProgramUnit& unit);
void DecodeLegacyProgramUnitMap(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                                std::map<int, LegacyProgramUnit>& units);
void DecodeLegacyProgramBlock(StreamBuffer buffer, uint32_t valueOffset, uint32_t endOffset,
                              LegacyProgramBlock& program);

}  // namespace Brenno
