#include "core/project/local_var_table.h"

#include <algorithm>
#include <map>

#include "core/project/project_environment.h"
#include "core/env/exception_error.h"
#include "core/env/operand_address.h"
#include "core/env/operand_format.h"
#include "core/env/page_names.h"
#include "core/program/program_block.h"
#include "core/project/project.h"

namespace Brenno {

namespace {

const std::vector<int> kSubroutineAreas = {kVarAreaIn, kVarAreaInOut, kVarAreaOut, kVarAreaTemp};
const std::vector<int> kInterruptAreas = {kVarAreaTemp};

Project* CurrentProjectOrNull() {
  ProjectEnvironment* environment = InstalledEnvironment();
  if (environment == nullptr || environment->ProjectList.empty()) return nullptr;
  return &environment->ProjectList.back();
}

// The project of the list whose program block this is, or null.
Project* OwningProject(const ProgramBlock& program) {
  ProjectEnvironment* environment = InstalledEnvironment();
  if (environment == nullptr) return nullptr;
  for (Project& project : environment->ProjectList) {
    if (&project.Program == &program) return &project;
  }
  return nullptr;
}

const MemoryAreaManager& MemoryAreasFor(const ProgramBlock& program) {
  static const MemoryAreaManager kNoAreas;
  if (const Project* project = OwningProject(program)) return project->MemoryAreas;
  if (const Project* project = CurrentProjectOrNull()) return project->MemoryAreas;
  return kNoAreas;
}

// The working page of the unit, in the interrupt table first; null when neither table has it.
ProgramPage* FindUnitPage(ProgramBlock& program, int key) {
  if (program.InterruptTable.HasWorkingPage(key)) return &program.InterruptTable.GetBlockPage(key);
  if (program.SubroutineTable.HasWorkingPage(key)) return &program.SubroutineTable.GetBlockPage(key);
  return nullptr;
}

// The local address of a variable of the width class at the bit counter; false when the local
// region cannot hold it.
bool FormLocalAddress(const MemoryAreaManager& manager, const std::wstring& format, int widthClass, int counter,
                      std::wstring& address) {
  if (manager.LocalSlot < 0 || format.empty()) return false;
  OperandFields fields;
  fields.kind = kKindValue;
  fields.slot = manager.LocalSlot;
  fields.width = widthClass;
  fields.byte = counter / 8;
  fields.bit = counter % 8;
  try {
    OperandAddress operand;
    std::wstring text;
    if (!MatchOperandWordWithFormat(format, manager, fields, operand) || !PrintOperandAddress(operand, text)) {
      return false;
    }
    address = std::move(text);
    return true;
  } catch (const ExceptionError&) {
    return false;
  }
}

// Index of subroutine n's entry in a list of `size` entries whose last `count` belong to the
// subroutines.
size_t SubroutineIndex(int key, const InstructionLibrary& library, size_t size) {
  if (key < kSubroutineKeyFlag || key > 0x1FFFF) throw ExceptionLogicError();
  const int number = key - kSubroutineKeyFlag;
  const int count = library.SubroutineCount;
  if (number >= count || static_cast<size_t>(count) > size) throw ExceptionLogicError();
  return size - static_cast<size_t>(count) + static_cast<size_t>(number);
}

void SetLastItemText(std::vector<ElementOperand>& items, const std::wstring& text) {
  if (!items.empty()) items.back().Text = text;
}

void SetRuleTexts(int key, InstructionLibrary& library, const std::wstring& text) {
  for (std::vector<ConvertRule>* rules : {&library.StlToUnitRules, &library.LadToUnitRules, &library.UnitToStlRules,
                                          &library.UnitToLadRules}) {
    ConvertRule& rule = (*rules)[SubroutineIndex(key, library, rules->size())];
    SetLastItemText(rule.Left, text);
    SetLastItemText(rule.Right, text);
  }
}

// The current project's unit table for the row operations.
struct UnitTable {
  Project& project;
  LocalVarTable& variables;
};

UnitTable CurrentUnitTable(int key) {
  Project& project = CurrentProject();
  ProgramPage* page = FindUnitPage(project.Program, key);
  if (page == nullptr) throw ExceptionLogicError();
  return UnitTable{project, page->LocalVars};
}

void Renormalize(UnitTable& unit, const SymbolTable& table, int key) {
  NormalizeLocalVarTable(unit.project.Program, key, table);
  UpdateSubroutineInterface(unit.project.Program, unit.project.Instructions, table, key);
}

const VarEntry& VarAt(int key, int row) {
  const LocalVarTable& variables = CurrentUnitTable(key).variables;
  if (row < 0 || static_cast<size_t>(row) >= variables.size()) throw ExceptionLogicError();
  return variables[static_cast<size_t>(row)];
}

template <class Value>
bool SetVarIfChanged(const SymbolTable& table, int key, int row, Value VarEntry::*field, const Value& value) {
  UnitTable unit = CurrentUnitTable(key);
  if (row < 0 || static_cast<size_t>(row) >= unit.variables.size()) throw ExceptionLogicError();
  VarEntry& entry = unit.variables[static_cast<size_t>(row)];
  if (entry.*field == value) return false;
  entry.*field = value;
  Renormalize(unit, table, key);
  return true;
}

int InsertLocalVarAt(const SymbolTable& table, int key, int row, bool below) {
  if (!CanInsertLocalVar(table, key, row)) return -1;
  UnitTable unit = CurrentUnitTable(key);
  const int at = below ? row + 1 : row;
  unit.variables.insert(unit.variables.begin() + at, MakeAreaVarEntry(unit.variables[static_cast<size_t>(row)].Area));
  Renormalize(unit, table, key);
  return at;
}

}  // namespace

std::vector<int> CollectProgramUnitKeys(const ProgramBlock& program) {
  std::vector<int> keys = program.InterruptTable.ListReferenceBlockKeys();
  const std::vector<int> subroutines = program.SubroutineTable.ListReferenceBlockKeys();
  keys.insert(keys.end(), subroutines.begin(), subroutines.end());
  return keys;
}

int LocalVarLimit(const ProgramBlock& program, const SymbolTable& table, int key) {
  int limit = 0;
  if (program.InterruptTable.HasReferencePage(key)) {
    limit = table.Sizes.SizeItemInt;
  } else if (program.SubroutineTable.HasReferencePage(key)) {
    limit = table.Sizes.SizeItemSbr;
  }
  return std::max(limit, 0);
}

void NormalizeLocalVars(LocalVarTable& variables, bool subroutine, int limit, const SymbolTable& table,
                        const MemoryAreaManager& manager) {
  const std::vector<int>& required = subroutine ? kSubroutineAreas : kInterruptAreas;
  std::vector<bool> present(required.size(), false);
  size_t cursor = 0;
  for (const VarEntry& entry : variables) {
    while (cursor < required.size() && required[cursor] != entry.Area) ++cursor;
    if (cursor == required.size()) throw ExceptionLogicError();
    present[cursor] = true;
  }

  LocalVarTable result = variables;
  for (size_t i = 0; i < required.size(); ++i) {
    if (present[i]) continue;
    const int area = required[i];
    const auto after =
        std::find_if(result.begin(), result.end(), [area](const VarEntry& entry) { return entry.Area > area; });
    result.insert(after, MakeAreaVarEntry(area));
  }
  if (result.size() > static_cast<size_t>(std::max(limit, 0))) result.resize(static_cast<size_t>(std::max(limit, 0)));

  std::map<std::wstring, int> names;
  for (VarEntry& entry : result) {
    int flags = 0;
    if (entry.Area >= 0 && entry.Area < kVarAreaCount) flags |= kVarCheckArea;
    if (DataTypeWidthClass(entry.Type) >= 0) flags |= kVarCheckType;
    if (IsValidSymbolName(entry.Name, manager)) {
      flags |= kVarCheckName;
      ++names[entry.Name];
    }
    entry.CheckFlags = flags | kVarCheckAddress | kVarCheckDone;
  }
  for (VarEntry& entry : result) {
    if ((entry.CheckFlags & kVarCheckName) != 0 && names[entry.Name] > 1) entry.CheckFlags &= ~kVarCheckName;
  }

  int counter = 0;
  for (VarEntry& entry : result) {
    if (entry.CheckFlags != kVarEntryComplete) {
      // An incomplete variable takes no room; an address left from an earlier placement would
      // show a place that another variable may now hold.
      entry.Address.clear();
      continue;
    }
    const int widthClass = DataTypeWidthClass(entry.Type);
    if (widthClass != 0) counter = (counter + 7) / 8 * 8;
    std::wstring address;
    if (FormLocalAddress(manager, SymbolListText(table.LocalAddressFormats, entry.Type), widthClass, counter,
                         address)) {
      entry.Address = std::move(address);
      counter += widthClass == 0 ? 1 : 8 << (widthClass - 1);
    } else {
      entry.Address.clear();
      entry.CheckFlags &= ~kVarCheckAddress;
    }
  }
  variables = std::move(result);
}

void NormalizeLocalVarTable(ProgramBlock& program, int key, const SymbolTable& table) {
  bool subroutine = false;
  ProgramPage* page = nullptr;
  if (program.InterruptTable.HasWorkingPage(key)) {
    page = &program.InterruptTable.GetBlockPage(key);
  } else if (program.SubroutineTable.HasWorkingPage(key)) {
    page = &program.SubroutineTable.GetBlockPage(key);
    subroutine = true;
  }
  if (page == nullptr) return;
  NormalizeLocalVars(page->LocalVars, subroutine, LocalVarLimit(program, table, key), table, MemoryAreasFor(program));
}

void NormalizeLocalVarTable(int key, const SymbolTable& table) {
  NormalizeLocalVarTable(CurrentProject().Program, key, table);
}

void NormalizeAllLocalVarTables(ProgramBlock& program, const SymbolTable& table) {
  for (const int key : CollectProgramUnitKeys(program)) NormalizeLocalVarTable(program, key, table);
}

void NormalizeAllLocalVarTables(const SymbolTable& table) { NormalizeAllLocalVarTables(CurrentProject().Program, table); }

// ---------------------------------------------------------------- interfaces

FunOrgRecord& GetSubroutineFunOrg(int key, InstructionLibrary& library) {
  return library.FunOrgList[SubroutineIndex(key, library, library.FunOrgList.size())];
}

FunStlRecord& GetSubroutineFunStl(int key, InstructionLibrary& library) {
  return library.FunStlList[SubroutineIndex(key, library, library.FunStlList.size())];
}

FunLadRecord& GetSubroutineFunLad(int key, InstructionLibrary& library) {
  return library.FunLadList[SubroutineIndex(key, library, library.FunLadList.size())];
}

ConvertRule& GetSubroutineConvertStl(int key, InstructionLibrary& library) {
  return library.UnitToStlRules[SubroutineIndex(key, library, library.UnitToStlRules.size())];
}

ConvertRule& GetSubroutineConvertLad(int key, InstructionLibrary& library) {
  return library.UnitToLadRules[SubroutineIndex(key, library, library.UnitToLadRules.size())];
}

void UpdateSubroutineInterface(const ProgramBlock& program, InstructionLibrary& library, const SymbolTable& table,
                               int key) {
  if (!program.SubroutineTable.HasReferencePage(key)) return;
  if (!program.SubroutineTable.HasWorkingPage(key)) {
    GetSubroutineFunOrg(key, library).Operands.clear();
    GetSubroutineFunStl(key, library).Operands.clear();
    FunLadRecord& lad = GetSubroutineFunLad(key, library);
    lad.OperandId.clear();
    lad.OperandIn.clear();
    lad.OperandOut.clear();
    SetRuleTexts(key, library, L"");
    return;
  }
  const LocalVarTable& variables = program.GetProgramPage(key).LocalVars;
  std::vector<OperandDef> inputs;
  std::vector<OperandDef> outputs;
  std::vector<OperandDef> all;
  for (const VarEntry& entry : variables) {
    if (entry.CheckFlags != kVarEntryComplete || entry.Area == kVarAreaTemp) continue;
    OperandDef def;
    def.Name = entry.Name;
    def.Capacity = SymbolListText(entry.Area == kVarAreaIn ? table.InputOperandFormats : table.InOutOperandFormats,
                                  entry.Type);
    def.Const = entry.Type;
    def.Marker = 0;
    (entry.Area == kVarAreaOut ? outputs : inputs).push_back(def);
    all.push_back(std::move(def));
  }
  GetSubroutineFunOrg(key, library).Operands = all;
  GetSubroutineFunStl(key, library).Operands = all;
  FunLadRecord& lad = GetSubroutineFunLad(key, library);
  lad.OperandId.clear();
  lad.OperandIn = std::move(inputs);
  lad.OperandOut = std::move(outputs);
  std::wstring order;
  for (size_t i = 0; i < all.size(); ++i) order.push_back(static_cast<wchar_t>(L'1' + i));
  SetRuleTexts(key, library, order);
}

void UpdateSubroutineInterface(const SymbolTable& table, int key) {
  Project& project = CurrentProject();
  UpdateSubroutineInterface(project.Program, project.Instructions, table, key);
}

void UpdateAllSubroutineInterfaces(const ProgramBlock& program, const SymbolTable& table) {
  Project* project = OwningProject(program);
  if (project == nullptr) return;
  for (const int key : CollectProgramUnitKeys(program)) {
    UpdateSubroutineInterface(program, project->Instructions, table, key);
  }
}

void UpdateAllSubroutineInterfaces(const SymbolTable& table) { UpdateAllSubroutineInterfaces(CurrentProject().Program, table); }

// ---------------------------------------------------------------- rows

bool CanInsertLocalVar(const SymbolTable& table, int key, int row) {
  const Project& project = CurrentProject();
  const LocalVarTable& variables = CurrentUnitTable(key).variables;
  const size_t n = variables.size();
  return n < static_cast<size_t>(LocalVarLimit(project.Program, table, key)) && row >= 0 &&
         static_cast<size_t>(row) < n;
}

int InsertLocalVar(const SymbolTable& table, int key, int row) { return InsertLocalVarAt(table, key, row, false); }

int InsertLocalVarBelow(const SymbolTable& table, int key, int row) { return InsertLocalVarAt(table, key, row, true); }

bool CanDeleteLocalVars(int key, int first, int end) {
  const size_t n = CurrentUnitTable(key).variables.size();
  return first >= 0 && first < end && static_cast<size_t>(end) <= n;
}

int DeleteLocalVars(const SymbolTable& table, int key, int first, int end) {
  if (!CanDeleteLocalVars(key, first, end)) return -1;
  UnitTable unit = CurrentUnitTable(key);
  unit.variables.erase(unit.variables.begin() + first, unit.variables.begin() + end);
  Renormalize(unit, table, key);
  return first;
}

const VarEntry& GetLocalVar(int key, int row) { return VarAt(key, row); }
int GetLocalVarArea(int key, int row) { return VarAt(key, row).Area; }
int GetLocalVarType(int key, int row) { return VarAt(key, row).Type; }
const std::wstring& GetLocalVarName(int key, int row) { return VarAt(key, row).Name; }
const std::wstring& GetLocalVarAddress(int key, int row) { return VarAt(key, row).Address; }
const std::wstring& GetLocalVarComment(int key, int row) { return VarAt(key, row).Comment; }

bool SetLocalVarType(const SymbolTable& table, int key, int row, int type) {
  return SetVarIfChanged(table, key, row, &VarEntry::Type, type);
}

bool SetLocalVarName(const SymbolTable& table, int key, int row, const std::wstring& name) {
  return SetVarIfChanged(table, key, row, &VarEntry::Name, name);
}

bool SetLocalVarComment(const SymbolTable& table, int key, int row, const std::wstring& comment) {
  return SetVarIfChanged(table, key, row, &VarEntry::Comment, comment);
}

bool CopyLocalVarsAsText(const SymbolTable& table, int key, int first, int end, std::wstring& text) {
  const LocalVarTable& variables = CurrentUnitTable(key).variables;
  if (first < 0 || first >= end || static_cast<size_t>(end) > variables.size()) return false;
  std::wstring out;
  for (int i = first; i < end; ++i) {
    const VarEntry& entry = variables[static_cast<size_t>(i)];
    out += entry.Address + L"\t" + entry.Name + L"\t" + SymbolListText(table.AreaNames, entry.Area) + L"\t" +
           SymbolListText(table.TypeNames, entry.Type) + L"\t" + entry.Comment + L"\r\n";
  }
  text = std::move(out);
  return true;
}

}  // namespace Brenno
