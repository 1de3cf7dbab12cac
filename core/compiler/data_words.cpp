#include "core/compiler/data_words.h"

#include <string>

#include "core/env/constant.h"
#include "core/env/exception_error.h"
#include "core/env/operand_address.h"
#include "core/env/operand_format.h"
#include "core/env/operand_word.h"
#include "core/project/project.h"

namespace Brenno {

namespace {

const std::wstring& AddressTemplate(const DataBlockTable& table, int type) {
  if (type < 0 || type >= kDataRowTypeCount || static_cast<size_t>(type) >= table.AddressTemplates.size()) {
    throw ExceptionParseBinaryDataError();
  }
  return table.AddressTemplates[static_cast<size_t>(type)];
}

uint32_t EncodeRowAddress(const DataRow& row, const DataBlockTable& table, const MemoryAreaManager& manager) {
  const std::wstring& format = AddressTemplate(table, row.Type);
  OperandAddress address;
  OperandFields fields;
  if (!ScanOperandText(row.Address, address)) throw ExceptionParseBinaryDataError();
  if (!MatchOperandTextWithFormat(format, manager, address, fields)) throw ExceptionParseBinaryDataError();
  OperandWord word = 0;
  try {
    if (manager.FxMode == 0) {
      fields.kind = row.Type;
      PackOperandWordRaw(word, manager, fields);
    } else {
      fields.index = row.Type;
      PackOperandWord(word, manager, fields);
    }
  } catch (const ExceptionLogicError&) {
    // The address does not fit the word's fields (or its kind has no code there).
    throw ExceptionParseBinaryDataError();
  }
  // The pair would read as an empty one.
  if (word == kEmptyImageWord) throw ExceptionParseBinaryDataError();
  return word;
}

}  // namespace

void EncodeDataRows(const std::vector<DataRow>& rows, std::vector<uint32_t>& words) {
  const Project& project = CurrentProject();
  const MemoryAreaManager& manager = project.MemoryAreas;
  words.reserve(words.size() + 2 * rows.size());
  for (const DataRow& row : rows) {
    if (row.CheckFlags != kDataRowComplete) continue;
    words.push_back(EncodeRowAddress(row, project.DataBlocks, manager));
    ConstantOperand value;
    bool parsed = false;
    try {
      parsed = ParseConstantOperand(value, manager, row.Type, row.Value);
    } catch (const ExceptionError&) {
      parsed = false;
    }
    if (!parsed || value.index != -1) throw ExceptionParseBinaryDataError();
    words.push_back(value.value);
  }
}

void DecodeDataRows(std::vector<DataRow>& rows, const std::vector<uint32_t>& words) {
  if (words.size() % 2 != 0) throw ExceptionParseBinaryDataError();
  const Project& project = CurrentProject();
  const MemoryAreaManager& manager = project.MemoryAreas;
  for (size_t i = 0; i < words.size(); i += 2) {
    const uint32_t word = words[i];
    const uint32_t value = words[i + 1];
    if (word == kEmptyImageWord) continue;
    OperandFields fields;
    int type = 0;
    try {
      if (manager.FxMode == 0) {
        UnpackOperandWordRaw(word, manager, fields);
        type = fields.kind;
        fields.kind = kKindValue;
      } else {
        UnpackOperandWord(word, manager, fields);
        type = fields.index;
        fields.index = 0;
      }
    } catch (const ExceptionLogicError&) {
      // A kind code the layout does not define: the word came damaged from outside.
      throw ExceptionParseBinaryDataError();
    }
    DataRow row;
    row.CheckFlags = kDataRowComplete;
    row.Type = type;
    const std::wstring& format = AddressTemplate(project.DataBlocks, type);
    OperandAddress address;
    if (!MatchOperandWordWithFormat(format, manager, fields, address)) throw ExceptionParseBinaryDataError();
    if (!PrintOperandAddress(address, row.Address)) throw ExceptionParseBinaryDataError();
    bool formatted = false;
    try {
      formatted = FormatConstantOperand(manager, ConstantOperand{value, -1}, type, row.Value);
    } catch (const ExceptionError&) {
      formatted = false;
    }
    if (!formatted) throw ExceptionParseBinaryDataError();
    rows.push_back(std::move(row));
  }
}

void DestroyDataRow(DataRow& row) {
  std::wstring().swap(row.Address);
  std::wstring().swap(row.Value);
  std::wstring().swap(row.Comment);
}

}  // namespace Brenno
