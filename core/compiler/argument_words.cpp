#include "core/compiler/argument_words.h"

#include "core/compiler/data_words.h"
#include "core/env/exception_error.h"
#include "core/env/operand_address.h"
#include "core/env/operand_format.h"
#include "core/env/operand_word.h"
#include "core/project/project.h"

namespace Brenno {

namespace {

const std::wstring& LocalFormat(const SymbolTable& table, int type) {
  if (type < 0 || type >= kDataRowTypeCount || static_cast<size_t>(type) >= table.LocalAddressFormats.size()) {
    throw ExceptionParseBinaryArgumentError();
  }
  return table.LocalAddressFormats[static_cast<size_t>(type)];
}

}  // namespace

std::wstring MakeArgumentName(int area, int number) {
  switch (area) {
    case kVarAreaIn: return L"IN" + std::to_wstring(number);
    case kVarAreaInOut: return L"IN_OUT" + std::to_wstring(number);
    case kVarAreaOut: return L"OUT" + std::to_wstring(number);
    default: throw MakeLogicError(L"\r\n  MakeArgumentName: no argument area " + std::to_wstring(area));
  }
}

void EncodeArguments(const LocalVarTable& variables, std::vector<uint32_t>& words) {
  const Project& project = CurrentProject();
  const MemoryAreaManager& manager = project.MemoryAreas;
  for (const VarEntry& entry : variables) {
    if (entry.CheckFlags != kVarEntryComplete) continue;
    if (entry.Area != kVarAreaIn && entry.Area != kVarAreaInOut && entry.Area != kVarAreaOut) continue;
    const std::wstring& format = LocalFormat(project.Symbols, entry.Type);
    OperandAddress address;
    OperandFields fields;
    if (!ScanOperandText(entry.Address, address)) throw ExceptionParseBinaryArgumentError();
    if (!MatchOperandTextWithFormat(format, manager, address, fields)) throw ExceptionParseBinaryArgumentError();
    if (fields.kind != kKindValue || fields.slot != manager.LocalSlot) throw ExceptionParseBinaryArgumentError();
    fields.kind = entry.Area;
    fields.slot = entry.Type;
    OperandWord word = 0;
    try {
      PackOperandWordRaw(word, manager, fields);
    } catch (const ExceptionLogicError&) {
      throw ExceptionParseBinaryArgumentError();
    }
    words.push_back(word);
  }
}

void DecodeArguments(LocalVarTable& variables, const std::vector<uint32_t>& words) {
  const Project& project = CurrentProject();
  const MemoryAreaManager& manager = project.MemoryAreas;
  int counters[3] = {1, 1, 1};
  for (const uint32_t word : words) {
    if (word == kEmptyImageWord) continue;
    OperandFields fields;
    UnpackOperandWordRaw(word, manager, fields);
    const int area = fields.kind;
    const int type = fields.slot;
    if (area < kVarAreaIn || area > kVarAreaOut) throw ExceptionParseBinaryArgumentError();
    const std::wstring& format = LocalFormat(project.Symbols, type);
    VarEntry entry;
    entry.CheckFlags = kVarEntryComplete;
    entry.Area = area;
    entry.Type = type;
    entry.Name = MakeArgumentName(area, counters[area]++);
    fields.slot = manager.LocalSlot;
    fields.kind = kKindValue;
    OperandAddress address;
    if (!MatchOperandWordWithFormat(format, manager, fields, address)) throw ExceptionParseBinaryArgumentError();
    if (!PrintOperandAddress(address, entry.Address)) throw ExceptionParseBinaryArgumentError();
    variables.push_back(std::move(entry));
  }
}

}  // namespace Brenno
