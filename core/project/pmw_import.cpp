// Import of .pmw programs: file layout, instruction words, operand encodings and the grouping
// of the instructions into networks.
#include "core/project/pmw_import.h"

#include <climits>
#include <memory>

#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/env/language.h"
#include "core/env/nary_tree.h"
#include "core/project/fx_code_table.h"
#include "core/project/project.h"
#include "platform/file_util.h"

namespace Brenno {

namespace {

// File layout: the program length sits at offset 78; the instruction words start at offset
// 348 and end at offset 252 + length, so a length below 96 describes no valid range.
constexpr size_t kLengthOffset = 78;
constexpr size_t kMinimumFileSize = 80;
constexpr size_t kWordsBegin = 348;
constexpr size_t kWordsEndBase = 252;

uint16_t WordAt(const uint8_t* bytes) {
  return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

bool IsOperandWord(uint16_t word) {
  const unsigned top = word >> 12;
  return top == 0x8 || top == 0x9 || top == 0xA;
}

std::wstring Decimal(uint32_t value) { return std::to_wstring(value); }

std::wstring Octal3(unsigned value) {
  wchar_t buffer[8];
  swprintf(buffer, 8, L"%03o", value & 0xFFu);
  return buffer;
}

std::wstring Hex(uint32_t value, int digits) {
  wchar_t buffer[16];
  swprintf(buffer, 16, L"%0*X", digits, value);
  return buffer;
}

[[noreturn]] void ThrowParam() { throw ExceptionParseBinaryPmwParamError(); }
[[noreturn]] void ThrowDictate() { throw ExceptionParseBinaryPmwDictateError(); }

// The bit device of an instruction word's low 12 bits.
std::wstring DeviceInWord(unsigned d) {
  if (d <= 0x3FF) return L"S" + Decimal(d);
  if (d <= 0x4FF) return L"X" + Octal3(d & 0xFF);
  if (d <= 0x5FF) return L"Y" + Octal3(d & 0xFF);
  if (d <= 0x6FF) return L"T" + Decimal(d & 0xFF);
  if (d <= 0x7FF) ThrowParam();
  if (d <= 0xDFF) return L"M" + Decimal(d - 0x800);
  if (d <= 0xEFF) return L"C" + Decimal(d & 0xFF);
  return L"M" + Decimal(8000 + (d & 0xFF));
}

// The bit device of one operand word (high byte b, low byte l).
std::wstring DeviceInOperandWord(unsigned b, unsigned l) {
  if (b >= 0x80 && b <= 0x83) return L"S" + Decimal((b & 3) * 256 + l);
  if (b == 0x84) return L"X" + Octal3(l);
  if (b == 0x85) return L"Y" + Octal3(l);
  if (b == 0x86) return L"T" + Decimal(l);
  if (b >= 0x88 && b <= 0x8D) return L"M" + Decimal((b & 7) * 256 + l);
  if (b == 0x8E) return L"C" + Decimal(l);
  if (b == 0x8F) return L"M" + Decimal(8000 + l);
  if (b >= 0xA8 && b <= 0xAD) return L"M" + Decimal(((b & 7) + 6) * 256 + l);
  ThrowParam();
}

// The device of a digit-designated operand, selected by s, numbered from l1 and l2.
std::wstring DigitDevice(unsigned s, unsigned l1, unsigned l2) {
  if (s <= 0x03) return L"S" + Decimal((l2 & 3) * 256 + l1);
  if (s == 0x04) return L"X" + Octal3(l1);
  if (s == 0x05) return L"Y" + Octal3(l1);
  if (s == 0x06) return L"T" + Decimal(l1);
  if (s >= 0x08 && s <= 0x0D) return L"M" + Decimal((l2 & 7) * 256 + l1);
  if (s == 0x0E) return L"C" + Decimal(l1);
  if (s == 0x0F) return L"M" + Decimal(8000 + l1);
  if (s >= 0x28 && s <= 0x2D) return L"M" + Decimal(((l2 & 7) + 6) * 256 + l1);
  ThrowParam();
}

// A data register; those that stand for the index registers are written as such.
// `indexed` is false for those, so that no index suffix follows them.
std::wstring DataRegister(unsigned number, bool& indexed) {
  indexed = false;
  if (number == 8028) return L"Z";
  if (number == 8029) return L"V";
  if (number >= 8182 && number <= 8195) {
    if (number % 2 == 0) return L"Z" + Decimal((number - 8180) / 2);
    return L"V" + Decimal((number - 8181) / 2);
  }
  indexed = true;
  return L"D" + Decimal(number);
}

// The index suffix chosen by the first hex digit of the first operand word's high byte.
std::wstring IndexSuffix(unsigned bank, unsigned reg) {
  if (bank == 0x8) return {};
  const std::wstring number = reg == 0 ? std::wstring() : Decimal(reg);
  return (bank == 0x9 ? L"V" : L"Z") + number;
}

// Forms 4 and 8: the operand spread over two (or four) operand words.
std::wstring MultiWordOperand(const uint8_t* bytes, int form) {
  const uint16_t first = WordAt(bytes);
  const uint16_t t = WordAt(bytes + 2);
  const unsigned b1 = first >> 8;
  const unsigned l1 = first & 0xFF;
  const unsigned l2 = t & 0xFF;
  const unsigned s = t & 0x3F;
  const unsigned r = (t >> 6) & 0x7;
  const unsigned n = (t >> 9) & 0xF;
  const unsigned x = (t >> 8) & 0xF;
  const unsigned bank = b1 >> 4;
  if (bank != 0x8 && bank != 0x9 && bank != 0xA) ThrowParam();

  switch (b1 & 0xF) {
    case 0x0:
    case 0x2: {
      uint32_t value = l2 * 256u + l1;
      if (form == 8) {
        const uint32_t l3 = WordAt(bytes + 4) & 0xFFu;
        const uint32_t l4 = WordAt(bytes + 6) & 0xFFu;
        value |= (l3 << 16) | (l4 << 24);
      }
      const std::wstring number = (b1 & 0xF) == 0 ? L"K" + Decimal(value) : L"H" + Hex(value, form == 8 ? 8 : 4);
      return number + IndexSuffix(bank, x);
    }
    case 0x4: {
      std::wstring text = n != 0 ? L"K" + Decimal(n) : std::wstring();
      return text + DigitDevice(s, l1, l2) + IndexSuffix(bank, r);
    }
    case 0x6: {
      const unsigned a = (s * 256 + l1) / 2;
      bool indexed = true;
      std::wstring text;
      switch (n) {
        case 0: text = DataRegister(8000 + a, indexed); break;
        case 1: text = L"T" + Decimal(a); break;
        case 2: text = L"C" + Decimal(a); break;
        case 3: text = DataRegister(a, indexed); break;
        case 4: text = DataRegister(1000 + a, indexed); break;
        default: ThrowParam();
      }
      return indexed ? text + IndexSuffix(bank, r) : text;
    }
    case 0x8: {
      if (n != 0) ThrowParam();
      const unsigned a = (s * 256 + l1) / 2;
      return L"P" + Decimal(a) + IndexSuffix(bank, r);
    }
    default:
      ThrowParam();
  }
}

const FxInstructionCode& CodeRecord(const PmwInstruction& instruction) {
  if (instruction.codeIndex < 0 || static_cast<size_t>(instruction.codeIndex) >= FxInstructionCodeCount) ThrowDictate();
  return FxInstructionCodeTable[instruction.codeIndex];
}

void AppendOperandTexts(std::wstring& text, const std::vector<std::wstring>& operands) {
  if (operands.empty()) return;
  text += L"  ";
  for (size_t i = 0; i < operands.size(); ++i) {
    if (i != 0) text += L" ";
    text += operands[i];
  }
}

std::wstring RightAligned(int value, int width) {
  std::wstring text = std::to_wstring(value);
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), L' ');
  return text;
}

using BlockTree = NaryTree<int>;
using BlockStack = std::vector<std::unique_ptr<BlockTree>>;

std::unique_ptr<BlockTree> SingleBlock(int index) {
  auto tree = std::make_unique<BlockTree>();
  tree->InsertBefore(index, tree->End());
  return tree;
}

// The instruction that opens the block: its leftmost leaf.
int FirstInstructionOf(const BlockTree& tree) {
  BlockTree::Position node = tree.Begin();
  while (node->first_child != nullptr) node = tree.PreOrderNext(node);
  return node->value;
}

// A block whose root is the instruction and that takes in the given blocks, in order. Each
// taken-in block is kept as its first instruction only: the leftmost leaf, which is all the
// network marking reads, stays the same, and the work per instruction stays constant (copying
// whole blocks would make a long series of contacts quadratic in its length).
std::unique_ptr<BlockTree> CombinedBlock(int index, std::initializer_list<const BlockTree*> children) {
  auto tree = SingleBlock(index);
  BlockTree::Position root = tree->Begin();
  for (const BlockTree* child : children) {
    tree->AppendChild(FirstInstructionOf(*child), BlockTree::SiblingPosition{nullptr, root});
  }
  return tree;
}

// The mark behind each unsupported instruction of the report; the shell offers the same text
// to the windows, which the core cannot reach.
const wchar_t* UnsupportedInstructionMark() { return PickText(L" [Unsupport Dictation]", L" [不支持的指令]"); }

}  // namespace

void ReadPmwFile(const std::wstring& path, std::vector<uint8_t>& bytes) {
  std::vector<uint8_t> file;
  if (!platform::ReadFileBytes(path, file)) {
    throw MakeParseBinaryPmwError(L"\r\n  Open file error : \"" + path + L"\"");
  }
  const auto sizeError = [&path] { return MakeParseBinaryPmwError(L"\r\n  File size error: \"" + path + L"\""); };
  if (file.size() < kMinimumFileSize) throw sizeError();
  const size_t length = WordAt(file.data() + kLengthOffset);
  if (file.size() < length + kWordsEndBase) throw sizeError();
  // A length that ends the instruction words before they begin describes no program.
  if (length + kWordsEndBase < kWordsBegin) throw sizeError();
  bytes.assign(file.begin() + kWordsBegin, file.begin() + (length + kWordsEndBase));
}

void DecodePmwOperand(const uint8_t* bytes, size_t size, int form, std::wstring& text) {
  switch (form) {
    case 1:
      if (bytes == nullptr || size < 2) ThrowParam();
      text = DeviceInWord(WordAt(bytes) & 0x0FFF);
      return;
    case 2:
      if (bytes == nullptr || size < 2) ThrowParam();
      text = DeviceInOperandWord(bytes[1], bytes[0]);
      return;
    case 4:
    case 8:
      if (bytes == nullptr || size < static_cast<size_t>(form)) ThrowParam();
      text = MultiWordOperand(bytes, form);
      return;
    default:
      return;
  }
}

void DecodePmwInstructions(const std::vector<uint8_t>& bytes, std::vector<PmwInstruction>& instructions) {
  instructions.clear();
  if (bytes.empty() || bytes.size() % 2 != 0 || bytes.size() > static_cast<size_t>(INT32_MAX)) ThrowDictate();

  std::vector<PmwInstruction> result;
  const size_t wordCount = bytes.size() / 2;
  const uint8_t* const data = bytes.data();
  size_t position = 0;  // word index
  while (position < wordCount) {
    const uint16_t w = WordAt(data + 2 * position);
    const uint8_t* const following = data + 2 * (position + 1);
    PmwInstruction instruction;
    instruction.offset = static_cast<int32_t>(2 * position);
    size_t consumedWords = 1;
    int32_t code = w;

    // Reads one operand of the given form from the operand words, `byteOffset` bytes in.
    const auto operand = [&](size_t byteOffset, int form) {
      instruction.operands.emplace_back();
      DecodePmwOperand(following + byteOffset, 2 * (consumedWords - 1) - byteOffset, form, instruction.operands.back());
    };
    // The MC/MCR nesting level: operand word 0x80nn with nn below 8.
    const auto nesting = [&]() {
      const uint16_t word = WordAt(following);
      if ((word >> 8) != 0x80 || (word & 0xFF) >= 8) ThrowDictate();
      instruction.operands.push_back(L"N" + Decimal(word & 0xFF));
    };

    if (w < 0x2000) {
      size_t operandWords = 0;
      while (position + 1 + operandWords < wordCount &&
             IsOperandWord(WordAt(data + 2 * (position + 1 + operandWords)))) {
        ++operandWords;
      }
      const size_t e = 2 * operandWords;
      consumedWords = 1 + operandWords;
      const auto require = [e](size_t expected) {
        if (e != expected) ThrowDictate();
      };
      if (w >= 0x0002 && w <= 0x0009) {
        require(2);
        code = FindFxInstructionCode(w);
        operand(0, 2);
      } else if (w == 0x000A) {
        require(4);
        code = FindFxInstructionCode(w);
        nesting();
        operand(2, 2);
      } else if (w == 0x000B) {
        require(2);
        code = FindFxInstructionCode(w);
        nesting();
      } else if (w == 0x000C) {
        require(2);
        code = FindFxInstructionCode(w);
        operand(0, 2);
      } else if (w == 0x000D) {
        require(4);
        code = FindFxInstructionCode(w);
        operand(0, 4);
      } else if (w == 0x000E) {
        ThrowDictate();
      } else if (w == 0x000F) {
        require(0);
        code = FindFxInstructionCode(w);
      } else if (w >= 0x01CA && w <= 0x01CF) {
        require(2);
        code = FindFxInstructionCode(w);
        operand(0, 2);
      } else if ((w & 0xFF00) == 0x0600 || (w & 0xFF00) == 0x0E00) {
        require(4);
        const bool timer = (w & 0xFF00) == 0x0600;
        code = FindFxInstructionCode(timer ? 0x06FF : 0x0EFF);
        instruction.operands.push_back((timer ? L"T" : L"C") + Decimal(w & 0xFF));
        operand(0, 4);
      } else {
        const size_t m = (w & 1) != 0 ? 8 : 4;
        if (e % m != 0) ThrowDictate();
        code = FindFxInstructionCode(w);
        for (size_t at = 0; at < e; at += m) operand(at, static_cast<int>(m));
      }
    } else if (w <= 0x7FFF || (w >= 0xC000 && w <= 0xEFFF)) {
      code = FindFxInstructionCode(w | 0x0FFF);
      instruction.operands.emplace_back();
      DecodePmwOperand(data + 2 * position, 2, 1, instruction.operands.back());
    } else if (w <= 0xAFFF) {
      ThrowDictate();  // an operand word where an instruction is expected
    } else if (w <= 0xBFFF) {
      code = FindFxInstructionCode(0xBFFF);
      instruction.operands.push_back(((w & 0x0800) != 0 ? L"I" : L"P") + Decimal(w & 0x07FF));
    } else if (w <= 0xF0FF) {
      code = FindFxInstructionCode(0xF0FF);
      // The state number is the low byte of the next word, which is not consumed; the last
      // word of the program has none, and its operand shows as "S?".
      instruction.operands.push_back(position + 1 < wordCount ? L"S" + Decimal(WordAt(following) & 0xFF)
                                                              : std::wstring(L"S?"));
    } else if (w >= 0xF700 && w <= 0xF7FF) {
      code = FindFxInstructionCode(0xF7FF);
    } else if (w >= 0xFFF8 && w <= 0xFFFD) {
      code = FindFxInstructionCode(w);
    } else if (w == 0xFFFF) {
      position += 1;
      continue;
    } else {
      ThrowDictate();
    }
    instruction.codeIndex = code;
    result.push_back(std::move(instruction));
    position += consumedWords;
  }
  instructions = std::move(result);
}

void GroupPmwNetworks(std::vector<PmwInstruction>& instructions) {
  GroupPmwNetworks(instructions, CurrentProject().Instructions);
}

void GroupPmwNetworks(std::vector<PmwInstruction>& instructions, const InstructionLibrary& library) {
  // Pass 1: every instruction must have a definition in the library (of several of one mnemonic
  // and operand count, the FX timer and counter coils, the operands later choose).
  std::wstring report;
  std::vector<const FunStlRecord*> definitions;
  for (const PmwInstruction& instruction : instructions) {
    const FxInstructionCode& record = CodeRecord(instruction);
    FindStlInstructionDefs(library, record.mnemonic, instruction.operands.size(), definitions);
    if (!definitions.empty() && record.kind != FxKindStepLadder) continue;
    report += L"\r\n  " + RightAligned(instruction.offset / 2, 6) + L" : " + record.mnemonic;
    AppendOperandTexts(report, instruction.operands);
    report += UnsupportedInstructionMark();
  }
  if (!report.empty()) {
    ExceptionParseBinaryPmwDictateError error;
    error.AppendDetail(report);
    throw error;
  }

  // Pass 2: the block structure. The flags are set on a copy so that a refused program leaves
  // the list as it was.
  std::vector<bool> starts(instructions.size(), false);
  BlockStack blocks;
  BlockStack branches;
  for (size_t i = 0; i < instructions.size(); ++i) {
    const int index = static_cast<int>(i);
    switch (CodeRecord(instructions[i]).kind) {
      case FxKindBlockAnd:
      case FxKindBlockOr: {
        if (blocks.size() < 2) ThrowDictate();
        auto block = CombinedBlock(index, {blocks[blocks.size() - 2].get(), blocks.back().get()});
        blocks.pop_back();
        blocks.back() = std::move(block);
        break;
      }
      case FxKindPushBranch:
        if (blocks.empty()) ThrowDictate();
        branches.push_back(SingleBlock(index));
        break;
      case FxKindReadBranch:
        if (branches.empty()) ThrowDictate();
        blocks.push_back(SingleBlock(index));
        break;
      case FxKindPopBranch:
        if (branches.empty()) ThrowDictate();
        blocks.push_back(SingleBlock(index));
        branches.pop_back();
        break;
      case FxKindLoad:
        blocks.push_back(SingleBlock(index));
        break;
      case FxKindSeries:
      case FxKindParallel:
      case FxKindInvert:
        if (blocks.empty()) ThrowDictate();
        blocks.back() = CombinedBlock(index, {blocks.back().get()});
        break;
      case FxKindOutput:
        if (blocks.empty()) ThrowDictate();
        break;
      case FxKindStandalone:
        starts[i] = true;
        break;
      default:
        ThrowDictate();
    }
  }
  for (const auto& block : blocks) {
    const int first = FirstInstructionOf(*block);
    if (CodeRecord(instructions[first]).kind == FxKindLoad) starts[first] = true;
  }
  for (size_t i = 0; i < instructions.size(); ++i) instructions[i].networkStart = starts[i];
}

void FormatPmwListing(const std::vector<PmwInstruction>& instructions, std::wstring& text) {
  std::wstring listing;
  for (const PmwInstruction& instruction : instructions) {
    if (instruction.networkStart) listing += L"NETWORK\r\n";
    listing += CodeRecord(instruction).mnemonic;
    AppendOperandTexts(listing, instruction.operands);
    listing += L"\r\n";
  }
  text = std::move(listing);
}

}  // namespace Brenno
