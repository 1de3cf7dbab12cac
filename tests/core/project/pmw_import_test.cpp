// .pmw files are built here byte by byte from the file layout: 348 header bytes (the program
// length, 96 + the size of the instruction words, at offset 78), the instruction words
// little-endian, then some trailing bytes that the reader must ignore.
#include "core/project/pmw_import.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/link/app_environment.h"
#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/env/language.h"
#include "core/env/manager_var_reader.h"
#include "core/program/program_block.h"
#include "core/project/project_services.h"
#include "core/project/fx_code_table.h"
#include "core/project/project.h"
#include "platform/file_util.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"

namespace {

using Brenno::ExceptionParseBinaryPmwDictateError;
using Brenno::ExceptionParseBinaryPmwError;
using Brenno::ExceptionParseBinaryPmwParamError;
using Brenno::PmwInstruction;

std::vector<uint8_t> WordBytes(const std::vector<uint16_t>& words) {
  std::vector<uint8_t> bytes;
  for (uint16_t word : words) {
    bytes.push_back(static_cast<uint8_t>(word & 0xFF));
    bytes.push_back(static_cast<uint8_t>(word >> 8));
  }
  return bytes;
}

// A whole file: header filler, the length word, the words and trailing bytes.
std::vector<uint8_t> PmwFile(const std::vector<uint16_t>& words, size_t trailing = 16) {
  std::vector<uint8_t> file(348);
  for (size_t i = 0; i < file.size(); ++i) file[i] = static_cast<uint8_t>(i * 7 + 3);
  const size_t length = 96 + 2 * words.size();
  file[78] = static_cast<uint8_t>(length & 0xFF);
  file[79] = static_cast<uint8_t>(length >> 8);
  const std::vector<uint8_t> body = WordBytes(words);
  file.insert(file.end(), body.begin(), body.end());
  file.insert(file.end(), trailing, 0xEE);
  return file;
}

std::wstring WritePmw(const testsupport::TempDir& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
  const std::wstring path = platform::FromUtf8Lossy(dir.File(name));
  EXPECT_TRUE(platform::WriteFileBytes(path, bytes));
  return path;
}

// One decoded instruction as "MNEMONIC op op".
std::wstring Describe(const PmwInstruction& instruction) {
  std::wstring text = Brenno::FxInstructionCodeTable[instruction.codeIndex].mnemonic;
  for (const std::wstring& operand : instruction.operands) text += L" " + operand;
  return text;
}

std::vector<std::wstring> Decode(const std::vector<uint16_t>& words) {
  std::vector<PmwInstruction> instructions;
  Brenno::DecodePmwInstructions(WordBytes(words), instructions);
  std::vector<std::wstring> texts;
  for (const PmwInstruction& instruction : instructions) texts.push_back(Describe(instruction));
  return texts;
}

// A library whose statement-list definitions are the given mnemonics with operand counts.
Brenno::InstructionLibrary Library(const std::vector<std::pair<std::wstring, int>>& definitions) {
  Brenno::InstructionLibrary library;
  for (const auto& [name, count] : definitions) {
    Brenno::FunStlRecord record;
    record.Name = name;
    record.Operands.resize(static_cast<size_t>(count));
    library.FunStlList.push_back(record);
  }
  return library;
}

PmwInstruction Instruction(int32_t code, std::vector<std::wstring> operands, int step) {
  PmwInstruction instruction;
  instruction.codeIndex = Brenno::FindFxInstructionCode(code);
  instruction.operands = std::move(operands);
  instruction.offset = 2 * step;
  return instruction;
}

std::vector<int> Starts(const std::vector<PmwInstruction>& instructions) {
  std::vector<int> starts;
  for (size_t i = 0; i < instructions.size(); ++i) {
    if (instructions[i].networkStart) starts.push_back(static_cast<int>(i));
  }
  return starts;
}

class PmwImport : public ::testing::Test {
 protected:
  void SetUp() override { Brenno::SetCurrentLanguage(Brenno::kLanguageEnglish); }
  void TearDown() override { Brenno::SetCurrentLanguage(Brenno::kLanguageEnglish); }
  testsupport::TempDir dir_;
};

// ---------------------------------------------------------------- reading the file

TEST_F(PmwImport, ReadsExactlyTheInstructionWords) {
  const std::vector<uint16_t> words = {0x2400, 0xFFFF, 0xC500};
  std::vector<uint8_t> bytes = {1, 2, 3};
  Brenno::ReadPmwFile(WritePmw(dir_, "a.pmw", PmwFile(words, 40)), bytes);
  EXPECT_EQ(bytes, WordBytes(words));
  // A file that ends right after the words is whole too.
  Brenno::ReadPmwFile(WritePmw(dir_, "b.pmw", PmwFile(words, 0)), bytes);
  EXPECT_EQ(bytes, WordBytes(words));
}

TEST_F(PmwImport, RefusesFilesThatCannotHoldTheProgram) {
  const std::wstring missing = platform::FromUtf8Lossy(dir_.File("missing.pmw"));
  std::vector<uint8_t> bytes = {9};
  try {
    Brenno::ReadPmwFile(missing, bytes);
    FAIL() << "no error";
  } catch (const ExceptionParseBinaryPmwError& error) {
    EXPECT_EQ(error.Message(), L"Parse PMW Binary Error\r\n  Open file error : \"" + missing + L"\"");
  }
  EXPECT_EQ(bytes, std::vector<uint8_t>{9});

  std::vector<uint8_t> lengthBelowHeader = PmwFile({}, 200);
  lengthBelowHeader[78] = 90;  // the words would end before they begin
  std::vector<uint8_t> lengthBeyondFile = PmwFile({0x2400, 0xC500}, 0);
  lengthBeyondFile.pop_back();
  const struct {
    const char* name;
    std::vector<uint8_t> file;
  } cases[] = {
      {"empty", {}},
      {"short", std::vector<uint8_t>(79, 0)},
      {"no_words", std::vector<uint8_t>(80, 0)},  // length 0: below the header
      {"below_header", lengthBelowHeader},
      {"beyond_file", lengthBeyondFile},
  };
  for (const auto& c : cases) {
    const std::wstring path = WritePmw(dir_, std::string(c.name) + ".pmw", c.file);
    try {
      Brenno::ReadPmwFile(path, bytes);
      ADD_FAILURE() << c.name << ": no error";
    } catch (const ExceptionParseBinaryPmwError& error) {
      EXPECT_EQ(error.Message(), L"Parse PMW Binary Error\r\n  File size error: \"" + path + L"\"") << c.name;
    }
  }
}

// ---------------------------------------------------------------- decoding

TEST_F(PmwImport, DecodesInstructionWordsAndOperandForms) {
  const struct {
    std::vector<uint16_t> words;
    std::vector<std::wstring> expected;
  } cases[] = {
      {{0x2400, 0xC500}, {L"LD X000", L"OUT Y000"}},
      // Timer and counter coils: number in the word, set value in two operand words.
      {{0x0605, 0x8064, 0x8000}, {L"OUT T5 K100"}},
      {{0x0E07, 0x80FF, 0x80FF}, {L"OUT C7 K65535"}},
      // Devices inside the instruction word.
      {{0x2F02, 0x3384, 0x440F, 0x560A, 0x6E03, 0x7800, 0xCDFF, 0xD000, 0xE50F},
       {L"LD M8002", L"LDI S900", L"AND X017", L"ANI T10", L"OR C3", L"ORI M0", L"OUT M1535", L"SET S0", L"RST Y017"}},
      // One operand word.
      {{0x0003, 0xA800, 0x0003, 0xADFF, 0x0004, 0x8F02, 0x0008, 0x8302, 0x01CA, 0x8410, 0x000C, 0x8E09},
       {L"SET M1536", L"SET M3071", L"RST M8002", L"PLS S770", L"LDP X020", L"RST C9"}},
      {{0x000D, 0x8614, 0x8600}, {L"RST D10"}},
      // Master control with its nesting level.
      {{0x000A, 0x8003, 0x8864, 0x000B, 0x8003}, {L"MC N3 M100", L"MCR N3"}},
      // 32-bit form: four operand words per operand.
      {{0x0029, 0x8078, 0x8056, 0x8034, 0x8012, 0x8614, 0x8600, 0x8000, 0x8000}, {L"DMOV K305419896 D10"}},
      {{0x0029, 0x82FF, 0x80FF, 0x80FF, 0x80FF, 0x8614, 0x8600, 0x8000, 0x8000}, {L"DMOV HFFFFFFFF D10"}},
      // Hex constant, index registers written for D8028 and D8182 .. D8195.
      {{0x0028, 0x82AB, 0x8000, 0x8638, 0x8000}, {L"MOV H00AB Z"}},
      {{0x0028, 0x866E, 0x8001, 0x86EE, 0x863F}, {L"MOV V1 V1"}},
      {{0x0028, 0x866C, 0x8001, 0x8614, 0x8800}, {L"MOV Z1 D1010"}},
      // Index suffixes, digit-designated devices and pointers.
      {{0x0038, 0xA005, 0x8300, 0x96C8, 0x8640, 0x8408, 0x8804}, {L"ADD K5Z3 D100V1 K4X010"}},
      {{0x0028, 0x840A, 0x8808, 0x9686, 0x8600}, {L"MOV K4M10 D67V"}},
      {{0x0028, 0x840F, 0x8404, 0x8603, 0x82C0}, {L"MOV K2X017 T1"}},
      {{0x0010, 0x880A, 0x8000}, {L"CJ P5"}},
      {{0x0010}, {L"CJ"}},
      // Labels, step ladder, block instructions; 0xFFFF leaves no trace.
      {{0xB005, 0xB80A, 0xFFFF, 0xF005, 0x2400, 0xF700}, {L"LBL P5", L"LBL I10", L"STL S0", L"LD X000", L"RET"}},
      {{0xFFF8, 0xFFF9, 0xFFFA, 0xFFFB, 0xFFFC, 0xFFFD, 0x000F}, {L"ANB", L"ORB", L"MPS", L"MRD", L"MPP", L"INV", L"END"}},
      // A step-ladder word at the very end has no word to take its number from.
      {{0xF005}, {L"STL S?"}},
      {{0xFFFF}, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Decode(c.words), c.expected) << (c.expected.empty() ? "empty" : platform::WideToUtf8(c.expected.front()).value_or(""));
  }
}

TEST_F(PmwImport, RecordsTheByteOffsetOfEachInstruction) {
  std::vector<PmwInstruction> instructions;
  Brenno::DecodePmwInstructions(WordBytes({0x2400, 0xFFFF, 0x0605, 0x8064, 0x8000, 0xC500}), instructions);
  ASSERT_EQ(instructions.size(), 3u);
  EXPECT_EQ(instructions[0].offset, 0);
  EXPECT_EQ(instructions[1].offset, 4);
  EXPECT_EQ(instructions[2].offset, 10);
  for (const PmwInstruction& instruction : instructions) EXPECT_FALSE(instruction.networkStart);
}

TEST_F(PmwImport, RefusesMalformedInstructionWords) {
  const std::vector<std::vector<uint8_t>> dictate = {
      {},
      {0x00, 0x24, 0x00},                        // odd size
      WordBytes({0x8000}),                       // operand word where an instruction is expected
      WordBytes({0x2400, 0xAFFF}),
      WordBytes({0x000E}), WordBytes({0x0000}), WordBytes({0x0001}), WordBytes({0x0011}),
      WordBytes({0xF100}), WordBytes({0xFFF7}), WordBytes({0xFFFE}),
      WordBytes({0x0002}),                        // operand word missing
      WordBytes({0x0002, 0x8400, 0x8400}),        // one too many
      WordBytes({0x000A, 0x8103, 0x8864}),        // nesting word with a wrong high byte
      WordBytes({0x000B, 0x8008}),                // nesting level 8
      WordBytes({0x000F, 0x8000}),
      WordBytes({0x0605, 0x8064}),
      WordBytes({0x0028, 0x8000, 0x8000, 0x8000}),  // 6 bytes: not a whole number of operands
      WordBytes({0x0029, 0x8000, 0x8000, 0x8000, 0x8000, 0x8000, 0x8000}),
  };
  for (const auto& bytes : dictate) {
    std::vector<PmwInstruction> instructions(2);
    EXPECT_THROW(Brenno::DecodePmwInstructions(bytes, instructions), ExceptionParseBinaryPmwDictateError)
        << bytes.size();
    EXPECT_TRUE(instructions.empty());
  }
  const std::vector<std::vector<uint16_t>> param = {
      {0x2700},                                  // device range 0x700
      {0x0002, 0x8700},                          // operand word 0x87..
      {0x0002, 0x9000},
      {0x0028, 0x8A00, 0x8000, 0x8000, 0x8000},  // unknown kind of a two-word operand
      {0x0028, 0x8600, 0x8A00, 0x8000, 0x8000},  // word device selector 5
      {0x0028, 0x8800, 0x8200, 0x8000, 0x8000},  // pointer with a selector
      {0x0028, 0x8400, 0x8007, 0x8000, 0x8000},  // digit device 0x07
  };
  for (const auto& words : param) {
    std::vector<PmwInstruction> instructions;
    EXPECT_THROW(Brenno::DecodePmwInstructions(WordBytes(words), instructions), ExceptionParseBinaryPmwParamError)
        << std::hex << words[0];
  }
}

TEST_F(PmwImport, OperandDecoderNeverReadsPastItsBytes) {
  const std::vector<uint8_t> bytes = WordBytes({0x8064, 0x8000, 0x8000, 0x8000});
  std::wstring text = L"kept";
  Brenno::DecodePmwOperand(bytes.data(), bytes.size(), 3, text);
  EXPECT_EQ(text, L"kept");
  Brenno::DecodePmwOperand(bytes.data(), 4, 4, text);
  EXPECT_EQ(text, L"K100");
  Brenno::DecodePmwOperand(bytes.data(), 8, 8, text);
  EXPECT_EQ(text, L"K100");
  for (int form : {1, 2, 4, 8}) {
    text = L"kept";
    EXPECT_THROW(Brenno::DecodePmwOperand(bytes.data(), static_cast<size_t>(form) - 1, form, text),
                 ExceptionParseBinaryPmwParamError)
        << form;
    EXPECT_EQ(text, L"kept");
  }
}

// ---------------------------------------------------------------- networks and listing

TEST_F(PmwImport, LoadsStartNetworksThatStayOnTopLevel) {
  const auto library = Library({{L"LD", 1}, {L"OUT", 1}, {L"OR", 1}, {L"AND", 1}, {L"MPS", 0}, {L"MPP", 0},
                                {L"ANB", 0}, {L"INV", 0}, {L"END", 0}, {L"LBL", 1}, {L"MRD", 0}});
  std::vector<PmwInstruction> program = {
      Instruction(0x2FFF, {L"X000"}, 0),  Instruction(0xCFFF, {L"Y000"}, 1),   // network
      Instruction(0x2FFF, {L"X001"}, 2),  Instruction(0x6FFF, {L"X002"}, 3),   // network
      Instruction(0xCFFF, {L"Y001"}, 4),  Instruction(0x2FFF, {L"X003"}, 5),   // network
      Instruction(0xFFFA, {}, 6),         Instruction(0x4FFF, {L"X004"}, 7),
      Instruction(0xCFFF, {L"Y002"}, 8),  Instruction(0xFFFB, {}, 9),
      Instruction(0xCFFF, {L"Y005"}, 10), Instruction(0xFFFC, {}, 11),
      Instruction(0x4FFF, {L"X005"}, 12), Instruction(0xCFFF, {L"Y003"}, 13),
      Instruction(0x2FFF, {L"X006"}, 14), Instruction(0x2FFF, {L"X007"}, 15),  // network
      Instruction(0xFFF8, {}, 16),        Instruction(0xFFFD, {}, 17),
      Instruction(0xCFFF, {L"Y004"}, 18), Instruction(0xBFFF, {L"P5"}, 19),    // network
      Instruction(0x2FFF, {L"X010"}, 20), Instruction(0xCFFF, {L"Y010"}, 21),  // network
      Instruction(0x000F, {}, 22),                                              // network
  };
  Brenno::GroupPmwNetworks(program, library);
  EXPECT_EQ(Starts(program), (std::vector<int>{0, 2, 5, 14, 19, 20, 22}));
}

// A long series of contacts is one block that each contact takes in again; the grouping must
// not copy the block each time (that took minutes for a few ten thousand contacts).
TEST_F(PmwImport, GroupsALongSeriesOfContactsQuickly) {
  std::vector<uint16_t> words = {0x2400};
  words.insert(words.end(), 30000, 0x4401);
  words.push_back(0xC500);
  std::vector<PmwInstruction> program;
  Brenno::DecodePmwInstructions(WordBytes(words), program);
  Brenno::GroupPmwNetworks(program, Library({{L"LD", 1}, {L"AND", 1}, {L"OUT", 1}}));
  EXPECT_EQ(Starts(program), std::vector<int>{0});
}

TEST_F(PmwImport, RefusesBrokenBlockStructureWithoutMarkingAnything) {
  const auto library = Library({{L"LD", 1}, {L"OUT", 1}, {L"ANB", 0}, {L"ORB", 0}, {L"MPS", 0}, {L"MRD", 0},
                                {L"MPP", 0}, {L"AND", 1}, {L"INV", 0}, {L"END", 0}});
  const std::vector<std::vector<PmwInstruction>> programs = {
      {Instruction(0x2FFF, {L"X000"}, 0), Instruction(0xFFF8, {}, 1)},   // ANB over one block
      {Instruction(0xFFF9, {}, 0)},                                       // ORB over none
      {Instruction(0x2FFF, {L"X000"}, 0), Instruction(0xFFFB, {}, 1)},   // MRD without MPS
      {Instruction(0x2FFF, {L"X000"}, 0), Instruction(0xFFFC, {}, 1)},   // MPP without MPS
      {Instruction(0xFFFA, {}, 0)},                                       // MPS without a block
      {Instruction(0xCFFF, {L"Y000"}, 0)},                                // output without a block
      {Instruction(0x4FFF, {L"X000"}, 0)},
      {Instruction(0xFFFD, {}, 0)},
      {Instruction(0x2FFF, {L"X000"}, 0), Instruction(0x000F, {}, 1), Instruction(0xFFF8, {}, 2)},
  };
  for (size_t i = 0; i < programs.size(); ++i) {
    std::vector<PmwInstruction> program = programs[i];
    program.front().networkStart = true;
    try {
      Brenno::GroupPmwNetworks(program, library);
      ADD_FAILURE() << "program " << i << " accepted";
    } catch (const ExceptionParseBinaryPmwDictateError& error) {
      EXPECT_EQ(error.Message(), L"Parse PMW Binary Dictate Error") << i;
    }
    EXPECT_TRUE(program.front().networkStart) << i;
    for (size_t j = 1; j < program.size(); ++j) EXPECT_FALSE(program[j].networkStart) << i;
  }
}

TEST_F(PmwImport, ReportsEveryUnsupportedInstructionWithItsStep) {
  // PLF and ORP are missing; OUT exists with one operand only; STL can never be imported.
  const auto library = Library({{L"LD", 1}, {L"OUT", 1}, {L"STL", 1}, {L"RET", 0}});
  std::vector<PmwInstruction> program;
  Brenno::DecodePmwInstructions(
      WordBytes({0x2400, 0x0009, 0x8800, 0xC500, 0x01CE, 0x8401, 0x0605, 0x8064, 0x8000, 0xF005, 0xF700}), program);
  for (const int language : {Brenno::kLanguageEnglish, Brenno::kLanguageChinese}) {
    Brenno::SetCurrentLanguage(language);
    const std::wstring mark = language == Brenno::kLanguageEnglish ? L" [Unsupport Dictation]" : L" [不支持的指令]";
    const std::wstring head = language == Brenno::kLanguageEnglish ? L"Parse PMW Binary Dictate Error" : L"解析PMW数据指令错误";
    try {
      Brenno::GroupPmwNetworks(program, library);
      ADD_FAILURE() << "accepted";
    } catch (const ExceptionParseBinaryPmwDictateError& error) {
      EXPECT_EQ(error.Message(), head + L"\r\n       1 : PLF  M0" + mark + L"\r\n       4 : ORP  X001" + mark +
                                     L"\r\n       6 : OUT  T5 K100" + mark + L"\r\n       9 : STL  S0" + mark +
                                     L"\r\n      10 : RET" + mark);
    }
  }
}

TEST_F(PmwImport, ListsNetworksAsStatementListText) {
  const auto library = Library({{L"LD", 1}, {L"OUT", 1}, {L"OUT", 2}, {L"LBL", 1}});
  std::vector<PmwInstruction> program;
  Brenno::DecodePmwInstructions(WordBytes({0x2400, 0xFFFF, 0xC500, 0xB005, 0x2401, 0x0605, 0x8064, 0x8000}), program);
  Brenno::GroupPmwNetworks(program, library);
  std::wstring text = L"old";
  Brenno::FormatPmwListing(program, text);
  EXPECT_EQ(text,
            L"NETWORK\r\nLD  X000\r\nOUT  Y000\r\nNETWORK\r\nLBL  P5\r\nNETWORK\r\nLD  X001\r\nOUT  T5 K100\r\n");
  Brenno::FormatPmwListing({}, text);
  EXPECT_EQ(text, L"");
}

// ---------------------------------------------------------------- the whole road into a page

class PmwImportProject : public PmwImport {
 protected:
  static std::wstring FixtureFile(const std::string& name) {
    return platform::FromUtf8Lossy(testsupport::FixturePath("catalog/Orvisto/TypeFx/" + name));
  }

  void SetUp() override {
    PmwImport::SetUp();
    environment_ = std::make_unique<Brenno::AppEnvironment>();
    environment_->ProjectList.emplace_back();
    Brenno::Project& project = environment_->ProjectList.back();
    Brenno::ReadManagerFun(project.Instructions, FixtureFile("ManagerFun.xml"), 8);
    Brenno::ReadManagerVar(project.MemoryAreas, FixtureFile("ManagerVar.xml"));
    Brenno::SymbolVarSizes sizes;
    sizes.SizeItemInt = 32;
    sizes.SizeItemInitInt = 1;
    sizes.SizeItemSbr = 32;
    sizes.SizeItemInitSbr = 1;
    Brenno::ResetSymbolTable(project.Symbols, sizes);
    Brenno::InstallEnvironment(environment_.get());
    Brenno::InstallCurrentProjectServices();
    Brenno::ProgramBlockSizes limits;
    limits.SizePageInt = 4;
    limits.SizePageInitInt = 1;
    limits.SizeItemInt = 128;
    limits.SizeItemInitInt = 4;
    limits.SizePageSbr = 8;
    limits.SizePageInitSbr = 1;
    limits.SizeItemSbr = 128;
    limits.SizeItemInitSbr = 4;
    project.Program.CreateDefaultBlocks(limits, sizes, project.Instructions.ReservedNames);
    project.Program.FillDefaultProgramBlocks();
  }

  void TearDown() override {
    Brenno::InstallProgramServices(nullptr);
    Brenno::InstallEnvironment(nullptr);
    environment_.reset();
    PmwImport::TearDown();
  }

  std::unique_ptr<Brenno::AppEnvironment> environment_;
};

TEST_F(PmwImportProject, ImportedListingLoadsIntoTheMainPage) {
  const std::wstring path = WritePmw(dir_, "prog.pmw",
                                     PmwFile({0x2400, 0xFFF8 + 2, 0x4401, 0xC500, 0xFFFC, 0x0605, 0x8064, 0x8000,
                                              0x2401, 0x7402, 0x0028, 0x800A, 0x8000, 0x8614, 0x8600, 0x000F}));
  std::vector<uint8_t> bytes;
  std::vector<PmwInstruction> program;
  std::wstring text;
  Brenno::ReadPmwFile(path, bytes);
  Brenno::DecodePmwInstructions(bytes, program);
  Brenno::GroupPmwNetworks(program);
  Brenno::FormatPmwListing(program, text);
  EXPECT_EQ(text,
            L"NETWORK\r\nLD  X000\r\nMPS\r\nAND  X001\r\nOUT  Y000\r\nMPP\r\nOUT  T5 K100\r\n"
            L"NETWORK\r\nLD  X001\r\nORI  X002\r\nMOV  K10 D10\r\nNETWORK\r\nEND\r\n");

  Brenno::ProgramPage& page = Brenno::CurrentProject().Program.GetProgramPage(0);
  page.LoadFromText(L"\r\n", text);
  ASSERT_EQ(page.NetworkCount(), 3);
  const auto& first = page.Networks()[0].Lines;
  ASSERT_EQ(first.size(), 6u);
  EXPECT_EQ(first[5].Mnemonic, L"OUT");
  EXPECT_EQ(first[5].Operands, (std::vector<std::wstring>{L"T5", L"K100"}));
  EXPECT_EQ(page.Networks()[1].Lines[2].Operands, (std::vector<std::wstring>{L"K10", L"D10"}));
  EXPECT_EQ(page.Networks()[2].Lines[0].Mnemonic, L"END");
}

TEST_F(PmwImportProject, UnsupportedInstructionsOfTheProjectTypeAreRefused) {
  // The fixture type has no PLF and no DMOV.
  std::vector<PmwInstruction> program;
  Brenno::DecodePmwInstructions(
      WordBytes({0x2400, 0x0009, 0x8800, 0x0029, 0x8000, 0x8000, 0x8000, 0x8000, 0x8614, 0x8600, 0x8000, 0x8000}),
      program);
  try {
    Brenno::GroupPmwNetworks(program);
    FAIL() << "accepted";
  } catch (const ExceptionParseBinaryPmwDictateError& error) {
    EXPECT_EQ(error.Message(), L"Parse PMW Binary Dictate Error\r\n       1 : PLF  M0 [Unsupport Dictation]"
                               L"\r\n       3 : DMOV  K0 D10 [Unsupport Dictation]");
  }
}

}  // namespace
