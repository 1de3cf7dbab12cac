#include "core/project/cross_reference.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <tuple>
#include <vector>

#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/env/operand_address.h"
#include "core/env/operand_format.h"
#include "core/env/operand_slot.h"
#include "core/env/page_names.h"
#include "core/program/ladder_grid.h"
#include "core/program/network.h"
#include "core/project/project.h"
#include "core/project/symbol_resolution.h"

namespace Brenno {

namespace {

// Parses an operand text (already turned from a symbol into an address) under the format; false
// for anything that is not an operand of the type in that format.
bool ParseUse(const std::wstring& text, const MemoryAreaManager& manager, const std::wstring& format,
              CrossReferKey& key) {
  try {
    OperandWord word = 0;
    if (!ParseOperandText(text, manager, format, word)) return false;
    OperandFields fields;
    UnpackOperandWord(word, manager, fields);
    key = CrossReferKey{word, fields.slot, fields.width, fields.byte, fields.bit, fields.kind};
    return true;
  } catch (const ExceptionError&) {
    return false;
  }
}

// The uses one collecting operation records, put into the use map together: sorted once and
// appended in order, instead of each one searching the map for its place.
class UseBatch {
 public:
  void Record(const CrossReferKey& key, CrossReferLocation location, const std::wstring& context,
              const std::wstring& format) {
    keys_.push_back(key);
    uses_.push_back(CrossReferUse{std::move(location), context, format});
  }

  // Each use goes after every use of an equal operand already in the map, and the batch's uses
  // of equal operands stay in the order they were recorded: as inserting them one by one would.
  void AddTo(CrossReferIndex& index) {
    std::vector<uint32_t> order(keys_.size());
    for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [this](uint32_t a, uint32_t b) { return keys_[a] < keys_[b]; });
    std::multimap<CrossReferKey, CrossReferUse> merged;
    auto old = index.Uses.begin();
    const auto takeOld = [&] {
      const auto next = std::next(old);
      merged.insert(merged.end(), index.Uses.extract(old));
      old = next;
    };
    for (const uint32_t i : order) {
      while (old != index.Uses.end() && !(keys_[i] < old->first)) takeOld();
      merged.emplace_hint(merged.end(), keys_[i], std::move(uses_[i]));
    }
    while (old != index.Uses.end()) takeOld();
    index.Uses.swap(merged);
    keys_.clear();
    uses_.clear();
  }

 private:
  std::vector<CrossReferKey> keys_;
  std::vector<CrossReferUse> uses_;
};

void RecordStlNetwork(UseBatch& batch, const Project& project, int unitKey, int networkIndex,
                      const Network& network, const SymbolScope& scope) {
  for (size_t l = 0; l < network.Lines.size(); ++l) {
    const StlLine& line = network.Lines[l];
    std::wstring mnemonic = line.Mnemonic;
    ReplacePageNameByAddress(project.Program.SubroutineTable, mnemonic);
    std::vector<const FunStlRecord*> definitions;
    FindStlInstructionDefs(project.Instructions, mnemonic, line.Operands.size(), definitions);
    const FunStlRecord* chosen = definitions.size() == 1 ? definitions.front() : nullptr;
    if (definitions.size() > 1) {
      std::vector<std::wstring> texts = line.Operands;
      for (std::wstring& text : texts) LookupSymbolNamePrefixed(text, project.Symbols, scope);
      chosen = ChooseStlDefinition(definitions, texts, project.MemoryAreas);
    }
    if (chosen == nullptr) continue;
    const FunStlRecord& definition = *chosen;
    for (size_t i = 0; i < line.Operands.size(); ++i) {
      std::wstring text = line.Operands[i];
      LookupSymbolNamePrefixed(text, project.Symbols, scope);
      const std::wstring& format = definition.Operands[i].Capacity;
      CrossReferKey key;
      if (!ParseUse(text, project.MemoryAreas, format, key)) continue;
      batch.Record(key,
                MakeStlOperandLocation(unitKey, networkIndex, static_cast<int>(l), static_cast<int>(i)),
                line.Mnemonic, format);
    }
  }
}

void RecordLadNetwork(UseBatch& batch, const Project& project, int unitKey, int networkIndex,
                      const Network& network, const SymbolScope& scope) {
  for (const LadElement& element : network.Grid.Elements) {
    std::wstring name = element.Name;
    ReplacePageNameByReferenceName(project.Program.SubroutineTable, name);
    const LadElementKey elementKey{element.Kind, name, element.OperandId.size(), element.OperandIn.size(),
                                   element.OperandOut.size()};
    std::vector<const FunLadRecord*> definitions;
    FindLadElementDefs(project.Instructions, elementKey, definitions);
    const FunLadRecord* chosen = definitions.size() == 1 ? definitions.front() : nullptr;
    if (definitions.size() > 1) {
      std::vector<std::wstring> texts;
      for (const auto* list : {&element.OperandId, &element.OperandIn, &element.OperandOut}) {
        for (const ElementOperand& operand : *list) {
          texts.push_back(operand.Text);
          LookupSymbolNamePrefixed(texts.back(), project.Symbols, scope);
        }
      }
      chosen = ChooseLadDefinition(definitions, texts, project.MemoryAreas);
    }
    if (chosen == nullptr) continue;
    const FunLadRecord& definition = *chosen;
    const std::wstring context = DecorateElementName(element.Kind, element.Name);
    const std::vector<ElementOperand>* lists[3] = {&element.OperandId, &element.OperandIn, &element.OperandOut};
    const std::vector<OperandDef>* formats[3] = {&definition.OperandId, &definition.OperandIn, &definition.OperandOut};
    for (int list = 0; list < 3; ++list) {
      for (size_t j = 0; j < lists[list]->size(); ++j) {
        std::wstring text = (*lists[list])[j].Text;
        LookupSymbolNamePrefixed(text, project.Symbols, scope);
        const std::wstring& format = (*formats[list])[j].Capacity;
        CrossReferKey key;
        if (!ParseUse(text, project.MemoryAreas, format, key)) continue;
        const int at = static_cast<int>(j);
        batch.Record(key,
                  MakeLadOperandLocation(unitKey, networkIndex, element.Column, element.Row, list == 0 ? at : -1,
                                         list == 1 ? at : -1, list == 2 ? at : -1),
                  context, format);
      }
    }
  }
}

void RecordBlockTable(UseBatch& batch, const Project& project, const BlockTable& table) {
  const int viewMode = project.Program.ViewMode;
  for (const auto& [key, record] : table.Working) {
    const SymbolScope scope{&record.Page.LocalVars, &project.MemoryAreas};
    const std::vector<Network>& networks = record.Page.Networks();
    for (size_t n = 0; n < networks.size(); ++n) {
      const Network& network = networks[n];
      if (network.Kind != viewMode) continue;
      if (network.Kind == kNetworkStl) {
        RecordStlNetwork(batch, project, key, static_cast<int>(n), network, scope);
      } else if (network.Kind == kNetworkLad) {
        RecordLadNetwork(batch, project, key, static_cast<int>(n), network, scope);
      }
    }
  }
}

// The address of bit 0 of a byte of a slot, printed as a value operand under the first of the
// formats that prints; empty when none does.
std::wstring UsageRowAddress(const MemoryAreaManager& manager, int slot, int byte, const wchar_t* const* formats) {
  for (int f = 0; f < 4; ++f) {
    try {
      const std::wstring format = formats[f];
      OperandFields fields;
      fields.kind = kKindValue;
      fields.slot = slot;
      fields.width = ParseOperandFormatWidth(format);
      fields.byte = byte;
      OperandAddress address;
      std::wstring text;
      if (MatchOperandWordWithFormat(format, manager, fields, address) && PrintOperandAddress(address, text)) {
        return text;
      }
    } catch (const ExceptionError&) {
    }
  }
  return {};
}

struct SlotRows {
  size_t FirstBitRow = 0;
  size_t FirstByteRow = 0;
  int64_t Bytes = 0;
};

void MarkBits(CrossReferIndex& index, const SlotRows& rows, int64_t firstBit, int64_t count, wchar_t mark) {
  for (int64_t b = firstBit; b < firstBit + count; ++b) {
    const int64_t byte = b / 8;
    if (b < 0 || byte >= rows.Bytes) continue;  // never beyond the region's own rows
    index.BitUsage[rows.FirstBitRow + static_cast<size_t>(byte)].Marks[static_cast<size_t>(b % 8)] = mark;
  }
}

void MarkBytes(CrossReferIndex& index, const SlotRows& rows, int64_t firstByte, int64_t count, wchar_t mark) {
  for (int64_t k = firstByte; k < firstByte + count; ++k) {
    if (k < 0 || k >= rows.Bytes) continue;
    index.ByteUsage[rows.FirstByteRow + static_cast<size_t>(k / kByteUsageCells)].Marks[static_cast<size_t>(
        k % kByteUsageCells)] = mark;
  }
}

void MarkUse(CrossReferIndex& index, const MemoryAreaManager& manager, const std::map<int, SlotRows>& slots,
             OperandWord word, const std::wstring& format) {
  OperandFields fields;
  OperandAddress address;
  try {
    UnpackOperandWord(word, manager, fields);
    if (!MatchOperandWordWithFormat(format, manager, fields, address)) return;
  } catch (const ExceptionError&) {
    return;
  }
  const auto found = slots.find(fields.slot);
  if (found == slots.end()) return;
  const SlotRows& rows = found->second;
  const int64_t firstBit = static_cast<int64_t>(fields.byte) * 8 + fields.bit;
  if (address.groups > 0) {
    // A digit-group operand (K4M10) covers four bits per group from its bit on.
    const int64_t count = static_cast<int64_t>(fields.group) * 4 + 4;
    MarkBits(index, rows, firstBit, count, L'K');
    MarkBytes(index, rows, firstBit / 8, (firstBit + count - 1) / 8 - firstBit / 8 + 1, L'K');
    return;
  }
  const int64_t byte = fields.byte;
  switch (fields.width) {
    case kWidthBit:
      MarkBits(index, rows, firstBit, 1, L'b');
      MarkBytes(index, rows, byte, 1, L'b');
      break;
    case kWidthByte:
      MarkBits(index, rows, byte * 8, 8, L'B');
      MarkBytes(index, rows, byte, 1, L'B');
      break;
    case kWidthWord:
      MarkBits(index, rows, byte * 8, 16, L'W');
      MarkBytes(index, rows, byte, 2, L'W');
      break;
    case kWidthDword:
      MarkBits(index, rows, byte * 8, 32, L'D');
      MarkBytes(index, rows, byte, 4, L'D');
      break;
    default:
      break;
  }
}

}  // namespace

// ---------------------------------------------------------------- locations and keys

CrossReferLocation MakeDataRowLocation(int pageKey, int row) { return {kLocationDataRow, pageKey, row}; }

CrossReferLocation MakeNetworkLocation(int unitKey, int network) { return {kLocationNetwork, unitKey, network}; }

CrossReferLocation MakeStlOperandLocation(int unitKey, int network, int line, int operand) {
  return {kLocationStlOperand, unitKey, network, line, operand};
}

CrossReferLocation MakeLadOperandLocation(int unitKey, int network, int column, int row, int idIndex, int inIndex,
                                          int outIndex) {
  return {kLocationLadOperand, unitKey, network, column, row, idIndex, inIndex, outIndex};
}

bool CrossReferKey::operator<(const CrossReferKey& other) const {
  return std::tie(Slot, Width, Byte, Bit, Kind) < std::tie(other.Slot, other.Width, other.Byte, other.Bit, other.Kind);
}

std::wstring DecorateElementName(int kind, const std::wstring& name) {
  switch (kind) {
    case kLadKindCont:
      return L"-|" + name + L"|-";
    case kLadKindCoil:
      return L"-(" + name + L")";
    case kLadKindBlock:
      return L"-[" + name + L"]";
    default:
      return name;
  }
}

// ---------------------------------------------------------------- lifecycle

void ResetCrossReferIndex(CrossReferIndex& index) { AssignCrossReferIndex(index, CrossReferIndex()); }

void AssignCrossReferIndex(CrossReferIndex& index, const CrossReferIndex& other) { index = other; }

void ClearCrossReferences(CrossReferIndex& index) {
  index.Uses.clear();
  index.Rows.clear();
  index.BitUsage.clear();
  index.ByteUsage.clear();
  index.BitCells.clear();
  index.ByteCells.clear();
}

// ---------------------------------------------------------------- collecting uses

void CollectDataBlockReferences(CrossReferIndex& index) { CollectDataBlockReferences(index, CurrentProject()); }

void CollectDataBlockReferences(CrossReferIndex& index, const Project& project) {
  const DataBlockTable& table = project.DataBlocks;
  const SymbolScope globalOnly{nullptr, &project.MemoryAreas};
  UseBatch batch;
  for (const auto& [key, page] : table.Working) {
    for (size_t r = 0; r < page.Rows.size(); ++r) {
      const DataRow& row = page.Rows[r];
      if ((row.CheckFlags & kDataRowComplete) != kDataRowComplete) continue;
      if (row.Type < 0 || static_cast<size_t>(row.Type) >= table.AddressTemplates.size()) continue;
      std::wstring text = row.Address;
      LookupSymbolName(text, globalOnly, project.Symbols);
      const std::wstring& format = table.AddressTemplates[static_cast<size_t>(row.Type)];
      CrossReferKey useKey;
      if (!ParseUse(text, project.MemoryAreas, format, useKey)) continue;
      batch.Record(useKey, MakeDataRowLocation(key, static_cast<int>(r)), row.Value, format);
    }
  }
  batch.AddTo(index);
}

void BuildCrossReference(CrossReferIndex& index) { BuildCrossReference(index, CurrentProject()); }

void BuildCrossReference(CrossReferIndex& index, const Project& project) {
  UseBatch batch;
  RecordBlockTable(batch, project, project.Program.InterruptTable);
  RecordBlockTable(batch, project, project.Program.SubroutineTable);
  batch.AddTo(index);
}

// ---------------------------------------------------------------- views

void BuildCrossReferViews(CrossReferIndex& index) { BuildCrossReferViews(index, CurrentProject()); }

void BuildCrossReferViews(CrossReferIndex& index, const Project& project) {
  const MemoryAreaManager& manager = project.MemoryAreas;
  const SymbolScope globalOnly{nullptr, &manager};

  index.Rows.clear();
  index.Rows.reserve(index.Uses.size());
  for (const auto& [key, use] : index.Uses) {
    CrossReferRow row;
    row.Word = key.Word;
    row.Location = use.Location;
    try {
      FormatOperandWord(manager, use.Format, key.Word, row.Address);
    } catch (const ExceptionError&) {
      row.Address.clear();
    }
    std::wstring symbol = row.Address;
    if (!row.Address.empty() && LookupOperandSymbolPrefixed(symbol, project.Symbols, globalOnly) &&
        symbol != row.Address) {
      row.Symbol = symbol;
    }
    FormatSearchLocation(use.Location, project, row.LocationText);
    row.Context = use.Context;
    index.Rows.push_back(std::move(row));
  }

  static const wchar_t* const kBitFormats[4] = {L"Tv:", L"Bv:", L"Wv:", L"Dv:"};
  static const wchar_t* const kByteFormats[4] = {L"Bv:", L"Wv:", L"Dv:", L"Tv:"};
  index.BitUsage.clear();
  index.ByteUsage.clear();
  index.BitCells.clear();
  index.ByteCells.clear();
  std::map<int, SlotRows> slots;
  for (const MemoryRegion& region : manager.Regions) {
    if (region.Area != kAreaDi && region.Area != kAreaDo && region.Area != kAreaRi && region.Area != kAreaRo) continue;
    const int64_t bytes = region.Size();
    if (bytes <= 0 || slots.count(region.Slot) != 0) continue;
    slots[region.Slot] = SlotRows{index.BitUsage.size(), index.ByteUsage.size(), bytes};
    for (int64_t k = 0; k < bytes; ++k) {
      index.BitUsage.push_back(
          UsageRow{UsageRowAddress(manager, region.Slot, static_cast<int>(k), kBitFormats), std::wstring(kBitUsageCells, L' ')});
      index.BitCells.emplace_back(kBitUsageCells, true);
    }
    for (int64_t r = 0; r * kByteUsageCells < bytes; ++r) {
      const int64_t first = r * kByteUsageCells;
      index.ByteUsage.push_back(UsageRow{UsageRowAddress(manager, region.Slot, static_cast<int>(first), kByteFormats),
                                         std::wstring(kByteUsageCells, L' ')});
      UsageCellSet cells(kByteUsageCells, false);
      for (int j = 0; j < kByteUsageCells; ++j) cells[static_cast<size_t>(j)] = first + j < bytes;
      index.ByteCells.push_back(std::move(cells));
    }
  }

  for (const auto& [key, use] : index.Uses) MarkUse(index, manager, slots, key.Word, use.Format);
}

void RebuildCrossReferIndex() { RebuildCrossReferIndex(CurrentProject()); }

void RebuildCrossReferIndex(Project& project) {
  CrossReferIndex& index = project.CrossReferences;
  ClearCrossReferences(index);
  CollectDataBlockReferences(index, project);
  BuildCrossReference(index, project);
  BuildCrossReferViews(index, project);
}

// ---------------------------------------------------------------- texts and order

bool FormatSearchLocation(const CrossReferLocation& location, std::wstring& text) {
  return FormatSearchLocation(location, CurrentProject(), text);
}

bool FormatSearchLocation(const CrossReferLocation& location, const Project& project, std::wstring& text) {
  if (location.empty()) return false;
  const size_t count = location.size();
  const int kind = location[0];
  std::wstring result;
  if (kind == kLocationDataRow && count == 3) {
    result = DescribeTablePageKey(project.DataBlocks, location[1]) + L"  Ln " + std::to_wstring(location[2]);
  } else if ((kind == kLocationNetwork && count == 3) || (kind == kLocationStlOperand && count == 5) ||
             (kind == kLocationLadOperand && count == 8)) {
    project.Program.DescribeProgramUnitKey(location[1], result);
    result += L"  NETWORK " + std::to_wstring(location[2]);
    if (kind == kLocationStlOperand) result += L"  Ln " + std::to_wstring(location[3]);
    if (kind == kLocationLadOperand) {
      result += L"  Col " + std::to_wstring(location[3]) + L"  Row " + std::to_wstring(location[4]);
    }
  } else {
    return false;
  }
  text = std::move(result);
  return true;
}

bool CompareOperandWords(OperandWord a, OperandWord b) { return CompareOperandWords(CurrentProject().MemoryAreas, a, b); }

bool CompareOperandWords(const MemoryAreaManager& manager, OperandWord a, OperandWord b) {
  OperandFields x;
  OperandFields y;
  UnpackOperandWord(a, manager, x);
  UnpackOperandWord(b, manager, y);
  return std::tie(x.slot, x.width, x.byte, x.bit, x.kind) < std::tie(y.slot, y.width, y.byte, y.bit, y.kind);
}

}  // namespace Brenno
