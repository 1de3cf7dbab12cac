// Import of .pmw programs: the input is a whole .pmw file. It is read, decoded, checked against
// the instruction library of the fixture type "TypeFx" and listed; every failure must be one of
// the .pmw errors, and a refused grouping must leave the decoded instructions as they were.
// The first bytes also go to the operand decoder directly, with a form and a length of their
// own, so that it is held to the bytes it is given.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/project/fx_code_table.h"
#include "core/project/pmw_import.h"

namespace {

const Brenno::InstructionLibrary& Library() {
  static const Brenno::InstructionLibrary* library = [] {
    auto* created = new Brenno::InstructionLibrary();
    const std::filesystem::path file = std::filesystem::path(__FILE__).parent_path() / ".." / "fixtures" / "catalog" /
                                       "Orvisto" / "TypeFx" / "ManagerFun.xml";
    Brenno::ReadManagerFun(*created, file.wstring(), 8);
    return created;
  }();
  return *library;
}

// The input goes through a real file, which lives only while it is read.
const std::string& ScratchFile() {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("fuzz_pmw_import_" + std::to_string(getpid()) + ".pmw")).string();
  return path;
}

bool WriteScratch(const uint8_t* data, size_t size) {
  FILE* file = std::fopen(ScratchFile().c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

void FuzzOperand(const uint8_t* data, size_t size) {
  if (size < 2) return;
  const int form = data[0] % 10;
  const size_t length = std::min<size_t>(data[1] % 10, size - 2);
  // A copy of exactly `length` bytes, so that the sanitizer sees any read past them.
  std::vector<uint8_t> bytes(data + 2, data + 2 + length);
  std::wstring text;
  try {
    Brenno::DecodePmwOperand(bytes.empty() ? nullptr : bytes.data(), bytes.size(), form, text);
  } catch (const Brenno::ExceptionParseBinaryPmwParamError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzOperand(data, size);
  if (!WriteScratch(data, size)) return 0;

  std::vector<uint8_t> words;
  std::vector<Brenno::PmwInstruction> instructions;
  try {
    Brenno::ReadPmwFile(std::filesystem::path(ScratchFile()).wstring(), words);
  } catch (const Brenno::ExceptionParseBinaryPmwError&) {
    std::remove(ScratchFile().c_str());
    return 0;
  }
  std::remove(ScratchFile().c_str());
  Check(words.size() + 348 <= size);
  try {
    Brenno::DecodePmwInstructions(words, instructions);
  } catch (const Brenno::ExceptionParseBinaryPmwError&) {
    Check(instructions.empty());
    return 0;
  }
  int32_t previous = -1;
  for (const Brenno::PmwInstruction& instruction : instructions) {
    Check(instruction.codeIndex >= 0 && static_cast<size_t>(instruction.codeIndex) < Brenno::FxInstructionCodeCount);
    Check(instruction.offset > previous && instruction.offset % 2 == 0 &&
          static_cast<size_t>(instruction.offset) < words.size());
    Check(!instruction.networkStart);
    previous = instruction.offset;
  }

  const std::vector<Brenno::PmwInstruction> decoded = instructions;
  try {
    Brenno::GroupPmwNetworks(instructions, Library());
  } catch (const Brenno::ExceptionParseBinaryPmwDictateError&) {
    for (size_t i = 0; i < decoded.size(); ++i) Check(!instructions[i].networkStart);
    return 0;
  }
  std::wstring listing;
  Brenno::FormatPmwListing(instructions, listing);
  size_t headers = 0;
  for (size_t at = listing.find(L"NETWORK\r\n"); at != std::wstring::npos; at = listing.find(L"NETWORK\r\n", at + 1)) {
    ++headers;
  }
  size_t starts = 0;
  for (const Brenno::PmwInstruction& instruction : instructions) starts += instruction.networkStart ? 1 : 0;
  Check(headers == starts);
  return 0;
}
