// Import of the program of a foreign .pmw file (FX statement-list words). The four steps run in
// order on one instruction list: read the instruction words, decode them into instructions,
// check them against the current project's instruction library and mark network starts, and
// write the statement-list listing that the project command loads into the main page.
// Every failure throws a class of the ExceptionParseBinaryPmwError family; none of the steps
// touches the project.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Brenno {

class InstructionLibrary;

struct PmwInstruction {
  int32_t offset = -1;        // byte offset of the first word within the instruction words
  int32_t codeIndex = -1;     // record index in FxInstructionCodeTable
  std::vector<std::wstring> operands;
  bool networkStart = false;
};

// The instruction words of the file (bytes from offset 348 up to 252 + program length).
void ReadPmwFile(const std::wstring& path, std::vector<uint8_t>& bytes);

// The instruction words as instructions in file order (the list is emptied first).
void DecodePmwInstructions(const std::vector<uint8_t>& bytes, std::vector<PmwInstruction>& instructions);

// Decodes one operand of form 1 (device in an instruction word: 2 bytes), 2 (one operand
// word), 4 (two words) or 8 (four words) from `size` bytes; other forms write nothing.
// Fewer bytes than the form needs, or a refused encoding, throw
// ExceptionParseBinaryPmwParamError.
void DecodePmwOperand(const uint8_t* bytes, size_t size, int form, std::wstring& text);

// Refuses instructions that the current project's instruction library lacks (one report line
// per instruction: step, mnemonic, operands and " [Unsupport Dictation]" / " [不支持的指令]"),
// checks the block structure and sets the network-start flags. A refused list keeps its flags.
void GroupPmwNetworks(std::vector<PmwInstruction>& instructions);
// The same against a given library (the current project's is used by the overload above).
void GroupPmwNetworks(std::vector<PmwInstruction>& instructions, const InstructionLibrary& library);

// The statement-list text: "NETWORK" header lines, lines ended by "\r\n".
void FormatPmwListing(const std::vector<PmwInstruction>& instructions, std::wstring& text);

}  // namespace Brenno
