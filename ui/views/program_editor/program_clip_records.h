// What the program editor view copies through the clipboard and offers in its element choice
// lists: the writers and readers of the one keyed record of a program clipboard block (whole
// networks under "clipboard_editmix", ladder elements under "clipboard_ladunit"), and the
// lookups over the ladder element definitions of the current project's instruction library.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/env/instruction_library.h"
#include "core/program/ladder_grid.h"
#include "core/program/network.h"
#include "core/project/tagged_stream.h"

namespace Brenno {

class ProgramBlock;

// Appends one record: the key's bytes, a 0 byte, a 4-byte length (little-endian) and the value,
// whose length is patched in afterwards. Returns the start of the vector's data.
const uint8_t* WriteClipNetworkRecord(StreamBytes& bytes, std::string_view key, const std::vector<Network>& networks);
const uint8_t* WriteClipElementRecord(StreamBytes& bytes, std::string_view key,
                                      const std::vector<LadElement>& elements);

// Decode the first record whose key equals the key exactly into the list (emptied first). No
// such record: ExceptionParseStreamError, list untouched; a malformed value throws what the
// value decoder throws.
void ReadClipNetworkRecord(std::string_view key, StreamBuffer buffer, std::vector<Network>& networks,
                           const StreamRecords& records);
void ReadClipElementRecord(std::string_view key, StreamBuffer buffer, std::vector<LadElement>& elements,
                           const StreamRecords& records);

// Empties the list, then appends every ladder element definition of that kind, in table order.
void ListLadDefsOfKind(std::vector<const FunLadRecord*>& out, const InstructionLibrary& library, int kind);
// True for one of the subroutine-call definitions at the end of the library's table.
bool IsSubroutineCallDef(const FunLadRecord& def, const InstructionLibrary& library);
// The key of the working page whose address equals the definition's name (interrupt table
// first, then subroutine table); -1 when neither holds one.
int FindCallTargetPage(const ProgramBlock& program, const FunLadRecord& def);

// One entry of an element choice list: the text shown and the index of its definition in the
// library's table of ladder element definitions.
struct ElementChoice {
  std::wstring Text;
  int DefinitionIndex = -1;
  bool operator==(const ElementChoice&) const = default;
};

// The choice list for a cell of the kind: contacts "-|kw|-", coils "-(kw)", boxes by keyword
// (a subroutine call by its page's title, left out when it has no page), the FX-style kinds by
// name. Any other kind gives an empty list.
std::vector<ElementChoice> BuildElementChoices(const InstructionLibrary& library, const ProgramBlock& program,
                                               int kind);

}  // namespace Brenno
