// Binary images uploaded from a PLC: the data, system and program decoders rebuild a project of
// a fixture type (FxMode 0 "TypeA" or FxMode 1 "TypeFx") from whatever words arrive. They must
// count every bad page or network in the report and never throw out of the middle; an image they
// accept must compile again.
//
// Input: byte 0 picks the type (bit 0) and symbolic addressing (bit 1); then records of
// [tag][key low][key high][count] followed by count words (4 bytes, least significant first) or,
// for system pages, count bytes. Tag % 5: 0 data page, 1 system page, 2 constants, 3 argument
// words, 4 instruction words; tag bit 7 moves the key into the subroutine range (0x10000 + key).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "core/compiler/binary_image.h"
#include "core/compiler/block_compilers.h"
#include "core/link/app_environment.h"
#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/env/manager_var_reader.h"
#include "core/env/plc_type.h"
#include "core/program/compile_report.h"
#include "core/project/project_services.h"
#include "core/project/data_block_table.h"
#include "core/project/local_var_table.h"
#include "core/project/project.h"
#include "core/project/symbol_table.h"
#include "core/project/system_block_table.h"
#include "platform/text_codec.h"

namespace {

std::wstring FixtureFile(const char* type, const char* name) {
  const std::filesystem::path folder =
      std::filesystem::path(__FILE__).parent_path() / ".." / "fixtures" / "catalog" / "Orvisto" / type;
  return (folder / name).wstring();
}

// One environment per fixture type, with a pristine copy of the tables the decoders change.
struct TypeSetup {
  Brenno::PlcType type;
  Brenno::AppEnvironment environment;
  Brenno::SymbolTable symbols;
  Brenno::DataBlockTable dataBlocks;
  Brenno::SystemBlockTable systemBlocks;
  Brenno::ProgramBlock program;
  Brenno::InstructionLibrary instructions;

  explicit TypeSetup(const char* folder) {
    type.Description.DataBlock = {4, 1, 64, 4};
    type.Description.SystemBlockSizePage = 4;
    type.Description.SystemBlockSizeBinary = 0x400;
    type.Description.ProgramBlock.SizeBinaryConst = 0x800;
    type.Description.ProgramBlock.SizeBinaryInstruction = 0x4000;
    environment.ProjectList.emplace_back();
    Brenno::Project& project = environment.ProjectList.back();
    project.Type = &type;
    Brenno::ReadManagerFun(project.Instructions, FixtureFile(folder, "ManagerFun.xml"), 4);
    Brenno::ReadManagerVar(project.MemoryAreas, FixtureFile(folder, "ManagerVar.xml"));
    Brenno::SymbolVarSizes sizes;
    sizes.SizeItemInt = 16;
    sizes.SizeItemInitInt = 1;
    sizes.SizeItemSbr = 16;
    sizes.SizeItemInitSbr = 1;
    Brenno::ResetSymbolTable(project.Symbols, sizes);
    Brenno::ResetDataBlockTable(project.DataBlocks, type.Description.DataBlock);
    Brenno::BuildSystemReferencePages(project.SystemBlocks, type);
    Brenno::InstallEnvironment(&environment);
    Brenno::ProgramBlockSizes limits;
    limits.SizePageInt = 2;
    limits.SizePageInitInt = 1;
    limits.SizeItemInt = 16;
    limits.SizeItemInitInt = 1;
    limits.SizePageSbr = 4;
    limits.SizePageInitSbr = 1;
    limits.SizeItemSbr = 16;
    limits.SizeItemInitSbr = 1;
    project.Program.CreateDefaultBlocks(limits, sizes, project.Instructions.ReservedNames);
    project.Program.FillDefaultProgramBlocks();
    symbols = project.Symbols;
    dataBlocks = project.DataBlocks;
    systemBlocks = project.SystemBlocks;
    program = project.Program;
    instructions = project.Instructions;
  }

  void Restore() {
    Brenno::Project& project = environment.ProjectList.back();
    project.Symbols = symbols;
    project.DataBlocks = dataBlocks;
    project.SystemBlocks = systemBlocks;
    project.Program = program;
    project.Instructions = instructions;
  }
};

TypeSetup& Setup(int which) {
  static std::unique_ptr<TypeSetup> setups[2];
  if (!setups[which]) setups[which] = std::make_unique<TypeSetup>(which == 0 ? "TypeA" : "TypeFx");
  return *setups[which];
}

uint32_t Word(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

void ReadImage(const uint8_t* data, size_t size, Brenno::BinaryImage& image) {
  size_t at = 0;
  while (size - at >= 4) {
    const uint8_t tag = data[at];
    int key = data[at + 1] | data[at + 2] << 8;
    if (tag & 0x80) key += 0x10000;
    const size_t count = data[at + 3];
    at += 4;
    if (tag % 5 == 1) {
      const size_t n = std::min(count, size - at);
      image.SystemPages[key].assign(data + at, data + at + n);
      at += n;
      continue;
    }
    std::vector<uint32_t> words;
    for (size_t i = 0; i < count && size - at >= 4; ++i, at += 4) words.push_back(Word(data + at));
    switch (tag % 5) {
      case 0: image.DataPages[key] = std::move(words); break;
      case 2: image.ProgramConsts.insert(image.ProgramConsts.end(), words.begin(), words.end()); break;
      case 3: image.ProgramArguments[key] = std::move(words); break;
      default: image.ProgramInstructions[key] = std::move(words); break;
    }
  }
}

[[noreturn]] void Fail(const std::vector<std::wstring>& lines) {
  for (const std::wstring& line : lines) std::fprintf(stderr, "%s\n", platform::ToUtf8Lossy(line).c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  TypeSetup& setup = Setup(data[0] & 1);
  Brenno::InstallEnvironment(&setup.environment);
  Brenno::InstallCurrentProjectServices();
  setup.environment.Config.SymbolicAddr = (data[0] & 2) ? 1 : 0;
  setup.Restore();

  Brenno::BinaryImage image;
  ReadImage(data + 1, size - 1, image);

  Brenno::CompileReport report(false);
  int errors = 0;
  try {
    Brenno::DecodeDataBlocks(report, image);
    Brenno::DecodeSystemBlock(report, image);
    Brenno::DecodeProgramBlocks(report, image);
    errors = report.TotalErrors();
  } catch (const Brenno::ExceptionError& error) {
    Fail({L"decode: " + error.Message()});  // a bad image must be counted, not thrown
  }
  if (errors != 0) return 0;

  // What was accepted compiles again.
  Brenno::BinaryImage again;
  Brenno::CompileReport encode(true);  // kept for the crash report
  try {
    Brenno::EncodeDataBlocks(encode, again);
    Brenno::EncodeSystemBlock(encode, again);
    Brenno::EncodeProgramBlocks(encode, again);
    if (encode.TotalErrors() != 0) Fail(encode.Lines);
  } catch (const Brenno::ExceptionError& error) {
    Fail({error.Message()});
  }
  return 0;
}
