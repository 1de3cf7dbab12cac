#include "core/env/instruction_library.h"

#include <algorithm>
#include <functional>
#include <set>
#include <tuple>

#include "core/env/exception_error.h"
#include "core/env/utilities.h"

namespace Brenno {

namespace {

constexpr std::size_t kListRoom = 1024;

const wchar_t* const kFunOrgTypeWords[] = {L"Sys", L"Input", L"MultiInput", L"Output", L"MultiOutput",
                                           L"GeneratrixOutput"};
const wchar_t* const kLadLookWords[] = {L"Cont", L"Coil", L"Block", L"FxCont", L"FxCoil", L"FxBlock"};

// The subroutine count as a list length; a negative count adds nothing.
std::size_t SubroutineEntries(const InstructionLibrary& library) {
  return library.SubroutineCount > 0 ? static_cast<std::size_t>(library.SubroutineCount) : 0;
}

template <typename Record>
int IndexInList(const std::vector<Record>& list, const Record& record) {
  const Record* p = &record;
  std::less<const Record*> less;
  if (list.empty() || less(p, list.data()) || !less(p, list.data() + list.size())) {
    throw MakeLogicError(L"\r\n  the record is not a definition of the instruction library");
  }
  return static_cast<int>(p - list.data());
}

// The indices in `list` of the records `found` points to.
template <class R>
std::vector<int> IndicesInList(const std::vector<R>& list, const std::vector<const R*>& found) {
  std::vector<int> indices;
  indices.reserve(found.size());
  for (const R* record : found) indices.push_back(IndexInList(list, *record));
  return indices;
}

[[noreturn]] void ThrowConvertItemError(const std::wstring& name) {
  throw MakeParseXmlError(L"\r\n  ::XmlCreateConvert() \"" + name + L"\"");
}

// Resolves the Slot of every item of one side of a rule and collects its key characters. The
// lookup gives the indices of the definitions of the item's name and operand count; `choose`
// picks one of several (-1: none).
template <typename Lookup, typename Choose>
void ResolveItems(std::vector<ElementOperand>& items, std::set<wchar_t>& keys, Lookup lookup, Choose choose) {
  for (ElementOperand& item : items) {
    const std::vector<int> found = lookup(item.Name, item.Text.size());
    const int index = found.size() == 1 ? found.front() : found.empty() ? -1 : choose(found);
    if (index < 0) ThrowConvertItemError(item.Name);
    item.Slot = index;
    keys.insert(item.Text.begin(), item.Text.end());
  }
}

// What a slot takes, whatever it is called or shows: its format, data type, ranges and addresses.
using SlotShape = std::tuple<std::wstring, int, std::vector<ValueRange>, std::vector<AddressRange>>;

std::vector<SlotShape> SlotShapes(std::initializer_list<const std::vector<OperandDef>*> lists) {
  std::vector<SlotShape> shapes;
  for (const std::vector<OperandDef>* list : lists) {
    for (const OperandDef& def : *list) shapes.emplace_back(def.Capacity, def.Const, def.Ranges, def.Addresses);
  }
  std::sort(shapes.begin(), shapes.end());
  return shapes;
}

// Definitions that share a name and operand count (the FX timer and counter coil of the 16-bit
// devices and that of the 32-bit counters) are told apart by a rule of one item on each side:
// its item names the definition whose operand slots are those of the unit it stands for.
template <typename LeftLookup, typename Shapes>
void ResolveRules(std::vector<ConvertRule>& rules, const InstructionLibrary& library, LeftLookup leftLookup,
                  Shapes leftShapes) {
  std::vector<const FunOrgRecord*> units;
  auto rightLookup = [&](const std::wstring& name, std::size_t count) {
    FindFunOrgDefs(units, library, name, count);
    return IndicesInList(library.FunOrgList, units);
  };
  auto none = [](const std::vector<int>&) { return -1; };
  for (ConvertRule& rule : rules) {
    std::set<wchar_t> leftKeys;
    std::set<wchar_t> rightKeys;
    ResolveItems(rule.Right, rightKeys, rightLookup, none);
    auto byUnit = [&](const std::vector<int>& found) {
      if (rule.Left.size() != 1 || rule.Right.size() != 1) return -1;
      const std::vector<SlotShape> unit = SlotShapes({&library.FunOrgList[rule.Right.front().Slot].Operands});
      int chosen = -1;
      for (const int index : found) {
        if (leftShapes(index) != unit) continue;
        if (chosen != -1) return -1;
        chosen = index;
      }
      return chosen;
    };
    ResolveItems(rule.Left, leftKeys, leftLookup, byUnit);
    if (leftKeys != rightKeys) {
      throw MakeParseXmlError(L"\r\n  ::XmlCreateConvert() \"lcKeyLeft != lcKeyRight\"");
    }
  }
}

std::vector<ConvertRule> ExchangedRules(const std::vector<ConvertRule>& rules) {
  std::vector<ConvertRule> result;
  result.reserve(std::max(rules.size(), kListRoom));
  for (const ConvertRule& rule : rules) result.push_back(ConvertRule{rule.Right, rule.Left});
  return result;
}

// Working order: of the rules before the last `tail`, those whose Left holds two items or more
// first, then the others, each group in its order; the last `tail` rules stay where they are.
void PutIntoWorkingOrder(std::vector<ConvertRule>& rules, std::size_t tail) {
  std::size_t head = rules.size() - std::min(tail, rules.size());
  std::stable_partition(rules.begin(), rules.begin() + static_cast<std::ptrdiff_t>(head),
                        [](const ConvertRule& rule) { return rule.Left.size() > 1; });
}

void CollectGroups(std::vector<std::wstring>& groups, const std::wstring& parent) {
  if (std::find(groups.begin(), groups.end(), parent) == groups.end()) groups.push_back(parent);
}

}  // namespace

int FunOrgTypeFromWord(const std::wstring& word) {
  for (int i = 0; i < 6; ++i) {
    if (word == kFunOrgTypeWords[i]) return i;
  }
  return -1;
}

int LadLookFromWord(const std::wstring& word) {
  for (int i = 0; i < 6; ++i) {
    if (word == kLadLookWords[i]) return i + kLadLookCont;
  }
  return -1;
}

InstructionLibrary::InstructionLibrary() {
  FunOrgList.reserve(kListRoom);
  FunStlList.reserve(kListRoom);
  FunLadList.reserve(kListRoom);
  StlToUnitRules.reserve(kListRoom);
  LadToUnitRules.reserve(kListRoom);
  UnitToStlRules.reserve(kListRoom);
  UnitToLadRules.reserve(kListRoom);
}

// ---- Subroutine names

std::wstring SubroutineName(int unitId) {
  if (unitId < kSubroutineUnitIdBase || unitId > 0x1FFFF) return L"#INVALID";
  return L"SBR" + std::to_wstring(unitId & 0xFFFF);
}

std::wstring SubroutineSymbolName(int unitId) {
  if (unitId < kSubroutineUnitIdBase || unitId > 0x1FFFF) return L"#INVALID";
  return L"SBR_" + std::to_wstring(unitId & 0xFFFF);
}

// ---- Lookups

void FindFunOrgDefsByName(std::vector<const FunOrgRecord*>& out, const InstructionLibrary& library,
                          const std::wstring& name) {
  out.clear();
  for (const FunOrgRecord& unit : library.FunOrgList) {
    if (unit.Name == name) out.push_back(&unit);
  }
}

void FindFunOrgDefs(std::vector<const FunOrgRecord*>& out, const InstructionLibrary& library,
                    const std::wstring& name, std::size_t count) {
  out.clear();
  for (const FunOrgRecord& unit : library.FunOrgList) {
    if (unit.Name == name && unit.Operands.size() == count) out.push_back(&unit);
  }
}

void FindStlInstructionDefs(const InstructionLibrary& library, const std::wstring& mnemonic, std::size_t count,
                            std::vector<const FunStlRecord*>& out) {
  out.clear();
  for (const FunStlRecord& def : library.FunStlList) {
    if (def.Name == mnemonic && def.Operands.size() == count) out.push_back(&def);
  }
}

void FindStlInstructionDefsByCode(std::vector<const FunStlRecord*>& out, const InstructionLibrary& library,
                                  int code, std::size_t count) {
  out.clear();
  for (const FunStlRecord& def : library.FunStlList) {
    if (def.Slot == code && def.Operands.size() == count) out.push_back(&def);
  }
}

void FindLadElementDefs(const InstructionLibrary& library, const LadElementKey& key,
                        std::vector<const FunLadRecord*>& out) {
  out.clear();
  for (const FunLadRecord& def : library.FunLadList) {
    if (def.Look == key.Kind && def.Keyword == key.Name && def.OperandId.size() == key.IdCount &&
        def.OperandIn.size() == key.InCount && def.OperandOut.size() == key.OutCount) {
      out.push_back(&def);
    }
  }
}

void FilterLadElementDefsByName(std::vector<const FunLadRecord*>& out, const InstructionLibrary& library,
                                const std::wstring& name) {
  out.clear();
  for (const FunLadRecord& def : library.FunLadList) {
    if (def.Name == name) out.push_back(&def);
  }
}

void FilterLadElementDefsByOperandCount(std::vector<const FunLadRecord*>& out, const InstructionLibrary& library,
                                        const std::wstring& name, std::size_t count) {
  out.clear();
  for (const FunLadRecord& def : library.FunLadList) {
    if (def.Name == name && def.OperandCount() == count) out.push_back(&def);
  }
}

int LadElementDefIndex(const InstructionLibrary& library, const FunLadRecord& record) {
  return IndexInList(library.FunLadList, record);
}

int StlInstructionDefIndex(const InstructionLibrary& library, const FunStlRecord& record) {
  return IndexInList(library.FunStlList, record);
}

int FunOrgDefIndex(const InstructionLibrary& library, const FunOrgRecord& record) {
  return IndexInList(library.FunOrgList, record);
}

// ---- Steps after reading

void AppendSubroutineUnits(InstructionLibrary& library) {
  const std::size_t n = SubroutineEntries(library);
  if (n == 0) return;
  library.FunOrgList.reserve(library.FunOrgList.size() + n);
  for (std::size_t i = 0; i < n; ++i) {
    FunOrgRecord unit;
    unit.Name = SubroutineName(kSubroutineUnitIdBase + static_cast<int>(i));
    unit.Comment = library.SbrComment;
    unit.Parent = library.SbrParent;
    unit.Type = kFunOrgTypeOutput;
    unit.Node = 1;
    library.FunOrgList.push_back(std::move(unit));
  }
  library.FunStlList.reserve(library.FunStlList.size() + n);
  for (std::size_t i = 0; i < n; ++i) {
    FunStlRecord def;
    def.Name = SubroutineName(kSubroutineUnitIdBase + static_cast<int>(i));
    def.Comment = library.SbrComment;
    def.Parent = library.SbrParent;
    def.Slot = kSubroutineUnitIdBase + static_cast<int>(i);
    library.FunStlList.push_back(std::move(def));
  }
  library.FunLadList.reserve(library.FunLadList.size() + n);
  for (std::size_t i = 0; i < n; ++i) {
    FunLadRecord def;
    def.Name = SubroutineName(kSubroutineUnitIdBase + static_cast<int>(i));
    def.Comment = library.SbrComment;
    def.Parent = library.SbrParent;
    def.Look = kLadLookBlock;
    def.Keyword = SubroutineSymbolName(kSubroutineUnitIdBase + static_cast<int>(i));
    def.PowerIn.push_back(L"EN");
    library.FunLadList.push_back(std::move(def));
  }
  for (std::vector<ConvertRule>* rules : {&library.StlToUnitRules, &library.LadToUnitRules}) {
    rules->reserve(rules->size() + n);
    for (std::size_t i = 0; i < n; ++i) {
      std::wstring name = SubroutineName(kSubroutineUnitIdBase + static_cast<int>(i));
      ConvertRule rule;
      rule.Left.push_back(MakeElementOperand(-1, name, L""));
      rule.Right.push_back(MakeElementOperand(-1, name, L""));
      rules->push_back(std::move(rule));
    }
  }
}

void XmlCreateSys(InstructionLibrary& library) {
  struct SysUnit {
    const wchar_t* name;
    int InstructionLibrary::*index;
  };
  static const SysUnit kUnits[] = {{L"AND", &InstructionLibrary::SysAnd},
                                   {L"OR", &InstructionLibrary::SysOr},
                                   {L"LPS", &InstructionLibrary::SysLps},
                                   {L"LRD", &InstructionLibrary::SysLrd},
                                   {L"LPP", &InstructionLibrary::SysLpp}};
  std::vector<const FunOrgRecord*> found;
  for (const SysUnit& unit : kUnits) {
    FindFunOrgDefsByName(found, library, unit.name);
    if (found.size() != 1) {
      throw MakeParseXmlError(std::wstring(L"\r\n  ::XmlCreateSys() \"") + unit.name + L"\"");
    }
    library.*unit.index = FunOrgDefIndex(library, *found.front());
  }
}

void BuildGroupNameLists(InstructionLibrary& library) {
  library.FunStlGroups.clear();
  for (const FunStlRecord& def : library.FunStlList) CollectGroups(library.FunStlGroups, def.Parent);
  library.FunLadGroups.clear();
  for (const FunLadRecord& def : library.FunLadList) CollectGroups(library.FunLadGroups, def.Parent);
}

void XmlCreateConvert(InstructionLibrary& library) {
  std::vector<const FunStlRecord*> stlDefs;
  ResolveRules(
      library.StlToUnitRules, library,
      [&](const std::wstring& name, std::size_t count) {
        FindStlInstructionDefs(library, name, count, stlDefs);
        return IndicesInList(library.FunStlList, stlDefs);
      },
      [&](int index) { return SlotShapes({&library.FunStlList[index].Operands}); });
  std::vector<const FunLadRecord*> ladDefs;
  ResolveRules(
      library.LadToUnitRules, library,
      [&](const std::wstring& name, std::size_t count) {
        FilterLadElementDefsByOperandCount(ladDefs, library, name, count);
        return IndicesInList(library.FunLadList, ladDefs);
      },
      [&](int index) {
        const FunLadRecord& def = library.FunLadList[index];
        return SlotShapes({&def.OperandId, &def.OperandIn, &def.OperandOut});
      });
  library.UnitToStlRules = ExchangedRules(library.StlToUnitRules);
  library.UnitToLadRules = ExchangedRules(library.LadToUnitRules);
  const std::size_t n = SubroutineEntries(library);
  PutIntoWorkingOrder(library.StlToUnitRules, n);
  PutIntoWorkingOrder(library.LadToUnitRules, n);
  PutIntoWorkingOrder(library.UnitToStlRules, n);
  PutIntoWorkingOrder(library.UnitToLadRules, n);
}

void BuildLadOperandPositions(InstructionLibrary& library) {
  std::vector<std::vector<int>> positions(library.FunLadList.size());
  for (const ConvertRule& rule : library.LadToUnitRules) {
    if (rule.Left.size() != 1 || rule.Right.size() != 1) continue;
    const int d = rule.Left.front().Slot;
    if (d < 0 || static_cast<std::size_t>(d) >= positions.size() || !positions[d].empty()) continue;
    const std::wstring& left = rule.Left.front().Text;
    const std::wstring& right = rule.Right.front().Text;
    if (left.size() != library.FunLadList[d].OperandCount() || right.size() != left.size()) continue;
    // Only a rule that names every operand once orders them.
    std::vector<int> order(left.size(), -1);
    std::vector<bool> taken(left.size(), false);
    bool whole = true;
    for (std::size_t k = 0; k < left.size() && whole; ++k) {
      const std::size_t at = right.find(left[k]);
      whole = at != std::wstring::npos && !taken[at] && left.find(left[k]) == k;
      if (whole) {
        order[k] = static_cast<int>(at);
        taken[at] = true;
      }
    }
    if (whole) positions[d] = std::move(order);
  }
  library.LadOperandPositions = std::move(positions);
}

const std::vector<int>* LadOperandPositionsOf(const InstructionLibrary& library, const FunLadRecord& def) {
  const FunLadRecord* first = library.FunLadList.data();
  if (&def < first || &def >= first + library.FunLadList.size()) return nullptr;
  const std::size_t d = static_cast<std::size_t>(&def - first);
  if (d >= library.LadOperandPositions.size() || library.LadOperandPositions[d].size() != def.OperandCount()) {
    return nullptr;
  }
  return &library.LadOperandPositions[d];
}

std::vector<int> LadOperandOrder(const InstructionLibrary& library, const FunLadRecord& def) {
  if (const std::vector<int>* positions = LadOperandPositionsOf(library, def)) return *positions;
  const std::size_t count = def.OperandCount();
  std::vector<int> order(count);
  for (std::size_t k = 0; k < count; ++k) order[k] = static_cast<int>(k);
  return order;
}

void BuildReservedNames(InstructionLibrary& library) {
  library.ReservedNames.clear();
  library.ReservedNames.reserve(library.FunStlList.size() + library.FunLadList.size());
  for (const FunStlRecord& def : library.FunStlList) library.ReservedNames.push_back(def.Name);
  for (const FunLadRecord& def : library.FunLadList) library.ReservedNames.push_back(def.Keyword);
}

void BuildStlInstructionText(InstructionLibrary& library) {
  std::wstring text;
  const std::size_t count = library.FunStlList.size();
  for (std::size_t k = 1; k <= count; ++k) {
    text += library.FunStlList[k - 1].Name;
    if (k < count) text += (k % 6 == 0) ? L"\r\n" : L" ";
  }
  library.StlInstructionText = std::move(text);
}

void BuildLadInstructionCatalog(InstructionLibrary& library) {
  static const struct {
    const wchar_t* mark;
    int flag;
  } kMarks[] = {{L"+T", kLadVariantBit},
                {L"+B", kLadVariantByte},
                {L"+W", kLadVariantWord},
                {L"+D", kLadVariantDword},
                {L"+P", kLadVariantPulse}};
  std::vector<LadInstructionGroup> catalog;
  for (std::size_t d = 0; d < library.FunLadList.size(); ++d) {
    const FunLadRecord& def = library.FunLadList[d];
    std::vector<std::wstring> parts;
    if (!def.GroupName.empty()) {
      SplitText(parts, def.GroupName, L"|");
      parts.resize(3);
    } else {
      parts = {def.Name, L"", def.Comment};
    }
    auto group = std::find_if(catalog.begin(), catalog.end(),
                              [&](const LadInstructionGroup& g) { return g.Name == def.Parent; });
    if (group == catalog.end()) {
      catalog.push_back(LadInstructionGroup{def.Parent, {}});
      group = catalog.end() - 1;
    }
    auto item = std::find_if(group->Items.begin(), group->Items.end(),
                             [&](const LadInstructionItem& i) { return i.Name == parts[0]; });
    if (item == group->Items.end()) {
      group->Items.push_back(LadInstructionItem{parts[0], {}, L"", 0});
      item = group->Items.end() - 1;
    }
    int flags = 0;
    for (const auto& mark : kMarks) {
      if (parts[1].find(mark.mark) != std::wstring::npos) flags |= mark.flag;
    }
    if (item->Description.empty() && !parts[2].empty()) item->Description = parts[2];
    item->Flags |= flags;
    item->Variants.push_back(LadInstructionVariant{flags, static_cast<int>(d)});
  }
  library.LadInstructionCatalog = std::move(catalog);
}

}  // namespace Brenno
