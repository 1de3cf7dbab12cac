// The definition of a statement-list line or ladder element where the instruction library holds
// several of one name and operand count (the FX timer and counter coil, OUT D, K, of the 16-bit
// devices and that of the 32-bit counters): the one its operands are written for, their symbols
// read as the addresses they name through the installed program services. Where the library
// holds one, that one; without services, the first.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "core/env/instruction_library.h"
#include "core/program/ladder_grid.h"

namespace Brenno {

// The definition of the mnemonic with that many operands; null when there is none.
const FunStlRecord* FindStlLineDefinition(const InstructionLibrary& library, const std::wstring& mnemonic,
                                          std::span<const std::wstring> operands, int pageId = -1);

// Of the definitions found for an element's key, the one its operands are written for.
const FunLadRecord* ChooseElementDefinition(const std::vector<const FunLadRecord*>& found, const LadElement& element,
                                            int pageId = -1);

// Of the definitions found for a typed name, the one the operands (typed in the order of the
// instruction) are written for.
const FunLadRecord* ChooseTypedDefinition(const InstructionLibrary& library, const std::vector<const FunLadRecord*>& found,
                                          const std::vector<std::wstring>& typed, int pageId = -1);

}  // namespace Brenno
