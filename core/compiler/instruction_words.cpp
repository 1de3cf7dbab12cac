#include "core/compiler/instruction_words.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "core/convert/stl_analysis.h"
#include "core/convert/stl_generation.h"
#include "core/env/constant.h"
#include "core/env/exception_error.h"
#include "core/env/ip_address.h"
#include "core/env/instruction_library.h"
#include "core/env/language.h"
#include "core/env/operand_format.h"
#include "core/env/operand_slot.h"
#include "core/env/operand_word.h"
#include "core/env/page_names.h"
#include "core/program/compile_report.h"
#include "core/program/program_block.h"
#include "core/project/project.h"

namespace Brenno {

namespace {

constexpr uint32_t kCodeHighBit = 0x10000;

// Head word layouts.
struct HeadLayout {
  uint32_t lowMarker;
  uint32_t highMarker;
  uint32_t markerMask;
  int countShift;
  uint32_t countMax;
};

HeadLayout LayoutOf(int fxMode) {
  if (fxMode == 0) return {4, 5, 0xF, 8, 0xFF};
  if (fxMode == 1) return {5, 6, 0x7, 3, 0x7};
  throw MakeLogicError(L"\r\n  No instruction word layout for FxMode " + std::to_wstring(fxMode));
}

// Most constants the operand word's byte field can point at (4 bytes per entry).
size_t ConstantCapacity(int fxMode) { return fxMode == 0 ? 16384 : 2048; }

uint32_t MakeHeadWord(const FunStlRecord& definition, int variant, int fxMode) {
  const HeadLayout layout = LayoutOf(fxMode);
  if (definition.Slot < 0 || static_cast<uint32_t>(definition.Slot) > 0x1FFFF) {
    throw ExceptionParseBinaryInstructionError();
  }
  const uint32_t code = static_cast<uint32_t>(definition.Slot);
  if (definition.Operands.size() > layout.countMax) throw ExceptionParseBinaryInstructionError();
  const uint32_t count = static_cast<uint32_t>(definition.Operands.size());
  uint32_t head = (code & kCodeHighBit) ? layout.highMarker : layout.lowMarker;
  head |= count << layout.countShift;
  head |= (code & 0xFFFF) << 16;
  if (fxMode == 0) {
    if (variant < 0 || variant > 15) throw ExceptionParseBinaryInstructionError();
    head |= static_cast<uint32_t>(variant) << 4;
  }
  return head;
}

// The dotted IPv4 text as the 32-bit value with the first number in the most significant byte.
// The text goes through the constant parser of the operand's type as its decimal form, so a type
// too narrow for the address refuses it like any other constant.
uint32_t ParseIpAddressConstant(const std::wstring& text, const MemoryAreaManager& manager, int type) {
  std::array<uint8_t, 4> bytes{};
  if (!ParseIpv4Text(text, bytes)) throw ExceptionParseBinaryInstructionError();
  // The address in memory order (first number in the lowest byte), read as a little-endian
  // number, is what the decimal text carries; its bytes are then reversed.
  const uint32_t memoryOrder = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                               static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
  ConstantOperand parsed;
  if (!ParseConstantOperand(parsed, manager, type, std::to_wstring(memoryOrder)) || parsed.index != -1) {
    throw ExceptionParseBinaryInstructionError();
  }
  const uint32_t v = parsed.value;
  return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}

uint32_t EncodeConstantOperand(BinaryImage& image, const MemoryAreaManager& manager, const OperandDef& def,
                               const std::wstring& text, bool ipAddress) {
  if ((ParseOperandFormatFlags(def.Capacity) & kFormatConstant) == 0) throw ExceptionParseBinaryInstructionError();
  ConstantOperand constant;
  if (ipAddress) {
    constant.value = ParseIpAddressConstant(text, manager, def.Const);
  } else if (!ParseSlotConstant(constant, manager, def, text)) {
    throw ExceptionParseBinaryInstructionError();
  }
  const int width = ParseOperandFormatWidth(def.Capacity);
  // An FX program holds a 16-bit constant as its 16 bits: K-1 there is the value 0000FFFF, as
  // the FX program files and earlier versions, which wrote it K65535, have it.
  if (manager.FxMode != 0 && width == kWidthWord) constant.value &= 0xFFFFu;
  const auto& table = image.ProgramConsts;
  if (std::find(table.begin(), table.end(), constant.value) == table.end() &&
      table.size() >= ConstantCapacity(manager.FxMode)) {
    throw ExceptionParseBinaryInstructionError();
  }
  const int position = IndexOfValue(image, constant.value);
  OperandFields fields;
  fields.kind = constant.index < 0 ? kKindValue : kKindIndexed;
  fields.slot = manager.ConstSlot;
  fields.width = width;
  fields.byte = 4 * position;
  fields.bit = 0;
  fields.group = 0;
  fields.index = constant.index < 0 ? 0 : constant.index;
  OperandWord word = 0;
  try {
    PackOperandWord(word, manager, fields);
  } catch (const ExceptionLogicError&) {
    throw ExceptionParseBinaryInstructionError();
  }
  return word;
}

// "\r\n  PID LOOP 8 (0 ~ 7)": the instruction, the operand's name (or its number when it has
// none), the text that was refused and what the slot takes: the values of a slot that takes
// constants, the addresses it admits for a text written as an address ("DMOV S D7999 (D0 ~
// D4094, ...)").
std::wstring NameRefusedOperand(const FunStlRecord& definition, const OperandDef& def, size_t j,
                               const std::wstring& text) {
  std::wstring detail = L"\r\n  " + definition.Name + L" ";
  detail += def.Name.empty() ? std::wstring(PickText(L"operand ", L"操作数 ")) + std::to_wstring(j + 1) : def.Name;
  return detail + L" " + (text.empty() ? std::wstring(L"\"\"") : text);
}

std::wstring DescribeRefusedOperand(const MemoryAreaManager& manager, const FunStlRecord& definition,
                                    const OperandDef& def, size_t j, const std::wstring& text) {
  std::wstring detail = NameRefusedOperand(definition, def, j, text);
  try {
    const std::wstring takes = SlotTakesText(manager, def, text);
    if (!takes.empty()) detail += L" (" + takes + L")";
  } catch (const ExceptionError&) {
    // a malformed format names nothing
  }
  return detail;
}

// The constant names an interrupt routine (ATCH INT): the program must hold it.
void CheckInterruptRoutine(const Project& project, const MemoryAreaManager& manager, const FunStlRecord& definition,
                           const OperandDef& def, size_t j, const std::wstring& text) {
  ConstantOperand constant;
  if (!def.InterruptRoutine || !ParseSlotConstant(constant, manager, def, text) || constant.index != -1) return;
  const int key = InterruptUnitKey(static_cast<int>(SlotTypedValue(def, constant.value)));
  if (project.Program.InterruptTable.HasWorkingPage(key)) return;
  ExceptionParseBinaryInstructionError error;
  error.AppendDetail(NameRefusedOperand(definition, def, j, text) + L" (" +
                     PickText(L"the project has no interrupt routine ", L"项目中没有中断程序 ") + ProgramUnitAddress(key) +
                     L")");
  throw error;
}

// The operand texts of one instruction of the definition from its operand words.
std::vector<std::wstring> DecodeOperandWords(const FunStlRecord& definition, const MemoryAreaManager& manager,
                                             const std::vector<uint32_t>& constants,
                                             std::span<const uint32_t> words) {
  std::vector<std::wstring> operands;
  for (size_t j = 0; j < words.size(); ++j) {
    const OperandDef& def = definition.Operands[j];
    const uint32_t word = words[j];
    OperandFields fields;
    try {
      UnpackOperandWord(word, manager, fields);
    } catch (const ExceptionLogicError&) {
      throw ExceptionParseBinaryInstructionError();
    }
    std::wstring text;
    if (fields.slot == manager.ConstSlot) {
      if ((ParseOperandFormatFlags(def.Capacity) & kFormatConstant) == 0) {
        throw ExceptionParseBinaryInstructionError();
      }
      // A reference points at the start of a 4-byte entry.
      if (fields.byte % 4 != 0) throw ExceptionParseBinaryInstructionError();
      const size_t k = static_cast<size_t>(fields.byte) / 4;
      if (k >= constants.size()) throw ExceptionParseBinaryError();
      const ConstantOperand constant{constants[k], fields.kind == kKindValue ? -1 : fields.index};
      if (!FormatConstantOperand(manager, constant, def.Const, text)) throw ExceptionParseBinaryInstructionError();
    } else if (!FormatOperandWord(manager, def.Capacity, word, text)) {
      throw ExceptionParseBinaryInstructionError();
    }
    operands.push_back(std::move(text));
  }
  return operands;
}

}  // namespace

uint32_t NetworkSeparatorWord(int fxMode) { return fxMode == 0 ? 3u : 4u; }

int IndexOfValue(BinaryImage& image, uint32_t value) {
  auto& table = image.ProgramConsts;
  const auto found = std::find(table.begin(), table.end(), value);
  if (found != table.end()) return static_cast<int>(found - table.begin());
  table.push_back(value);
  return static_cast<int>(table.size() - 1);
}

void EncodeInstructions(BinaryImage& image, const std::vector<StlElement>& elements, std::vector<uint32_t>& words) {
  const Project& project = CurrentProject();
  const InstructionLibrary& library = project.Instructions;
  const MemoryAreaManager& manager = project.MemoryAreas;
  for (const StlElement& element : elements) {
    if (element.definition < 0 || static_cast<size_t>(element.definition) >= library.FunStlList.size()) {
      throw ExceptionParseBinaryInstructionError();
    }
    const FunStlRecord& definition = library.FunStlList[static_cast<size_t>(element.definition)];
    if (element.operands.size() != definition.Operands.size()) throw ExceptionParseBinaryInstructionError();
    words.push_back(MakeHeadWord(definition, element.variant, manager.FxMode));
    const bool related = std::any_of(definition.Operands.begin(), definition.Operands.end(),
                                     [](const OperandDef& slot) { return slot.HasRelations(); });
    std::vector<const OperandDef*> slots;
    if (related) {
      for (const OperandDef& def : definition.Operands) slots.push_back(&def);
    }
    for (size_t j = 0; j < definition.Operands.size(); ++j) {
      // The slot as the other operands of the instruction limit it (S Q15.0, N: N at most 8); a
      // slot without relations stays as it is.
      const OperandDef& plain = definition.Operands[j];
      std::optional<OperandDef> limited;
      const OperandDef& def =
          plain.HasRelations() ? limited.emplace(SlotInInstruction(manager, slots, element.operands, j)) : plain;
      const std::wstring& text = element.operands[j];
      OperandWord word = 0;
      if (ParseSlotAddress(text, manager, def, word)) {
        words.push_back(word);
        continue;
      }
      const bool ipAddress = element.definition == kIpAddressInstructionIndex && j == 0;
      try {
        words.push_back(EncodeConstantOperand(image, manager, def, text, ipAddress));
      } catch (ExceptionError& error) {
        error.AppendDetail(DescribeRefusedOperand(manager, definition, def, j, text));
        throw;
      }
      CheckInterruptRoutine(project, manager, definition, def, j, text);
    }
  }
}

void EncodeNetworks(BinaryImage& image, CompileReport& report, const ProgramBlock& program, int key,
                    const std::vector<Network>& networks, std::vector<uint32_t>& words) {
  const Project& project = CurrentProject();
  const uint32_t separator = NetworkSeparatorWord(project.MemoryAreas.FxMode);
  for (size_t i = 0; i < networks.size(); ++i) {
    try {
      const Network& network = networks[i];
      if (network.Kind != kNetworkStl) throw ExceptionParseBinaryInstructionError();
      words.push_back(separator);
      std::vector<StlElement> elements;
      try {
        ParseStlLines(project.Instructions, network.Lines, elements);
      } catch (const ExceptionAnalyzeIgnore&) {
        elements.clear();
      }
      std::vector<uint32_t> instructionWords;
      EncodeInstructions(image, elements, instructionWords);
      words.insert(words.end(), instructionWords.begin(), instructionWords.end());
    } catch (const ExceptionError& error) {
      ReportProgramNetworkError(program, key, error, report, static_cast<int>(i));
    }
  }
}

void DecodeInstructions(std::vector<StlElement>& elements, const std::vector<uint32_t>& constants,
                        const std::vector<uint32_t>& words) {
  const Project& project = CurrentProject();
  const InstructionLibrary& library = project.Instructions;
  const MemoryAreaManager& manager = project.MemoryAreas;
  const HeadLayout layout = LayoutOf(manager.FxMode);
  size_t position = 0;
  while (position < words.size()) {
    const uint32_t head = words[position++];
    const uint32_t marker = head & layout.markerMask;
    if (marker != layout.lowMarker && marker != layout.highMarker) throw ExceptionParseBinaryInstructionError();
    const size_t count = (head >> layout.countShift) & layout.countMax;
    const int variant = manager.FxMode == 0 ? static_cast<int>((head >> 4) & 0xF) : 0;
    if (count > words.size() - position) throw ExceptionParseBinaryInstructionError();
    const int code = static_cast<int>((head >> 16) | (marker == layout.highMarker ? kCodeHighBit : 0));
    std::vector<const FunStlRecord*> found;
    FindStlInstructionDefsByCode(found, library, code, count);
    if (found.empty()) throw ExceptionParseBinaryInstructionError();
    const std::span<const uint32_t> operandWords(words.data() + position, count);
    position += count;
    // Definitions of one code and operand count (the FX timer and counter coil of the 16-bit
    // devices and that of the 32-bit counters) take different operands: the first that reads
    // them is the one.
    StlElement element;
    for (size_t d = 0; d < found.size(); ++d) {
      try {
        element.operands = DecodeOperandWords(*found[d], manager, constants, operandWords);
        element.definition = StlInstructionDefIndex(library, *found[d]);
        break;
      } catch (const ExceptionError&) {
        if (d + 1 == found.size()) throw;
      }
    }
    element.variant = variant;
    elements.push_back(std::move(element));
  }
}

void DecodeNetworks(const BinaryImage& image, CompileReport& report, const ProgramBlock& program, int key,
                    ProgramPage& page, const std::vector<uint32_t>& words) {
  const Project& project = CurrentProject();
  const uint32_t separator = NetworkSeparatorWord(project.MemoryAreas.FxMode);
  std::vector<Network> networks;
  int decoded = 0;
  size_t position = 0;
  while (position < words.size()) {
    ++position;  // the separator; its value is not checked
    const auto end = std::find(words.begin() + static_cast<std::ptrdiff_t>(position), words.end(), separator);
    const std::vector<uint32_t> part(words.begin() + static_cast<std::ptrdiff_t>(position), end);
    position = static_cast<size_t>(end - words.begin());
    try {
      std::vector<StlElement> elements;
      DecodeInstructions(elements, image.ProgramConsts, part);
      Network network;
      network.Kind = kNetworkStl;
      try {
        FormatStlLines(project.Instructions, elements, network.Lines);
      } catch (const ExceptionAnalyzeIgnore&) {
        network.Lines.clear();
      }
      networks.push_back(std::move(network));
      ++decoded;
    } catch (const ExceptionError& error) {
      ReportProgramNetworkError(program, key, error, report, decoded);
    }
  }
  page.UndoLog.Networks = std::move(networks);
  page.UndoLog.ClearHistory();
}

}  // namespace Brenno
