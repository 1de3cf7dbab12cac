// The instruction set of one PLC type, read from its "ManagerFun.xml": logic units,
// statement-list instruction definitions, ladder element definitions, conversion rules, and
// the tables derived from them after reading (subroutine entries, system units, group names,
// resolved and ordered rules, reserved names, the mnemonic text and the ladder catalog).
//
// Definitions and units are referred to everywhere by their index in FunOrgList, FunStlList
// and FunLadList, so those lists keep their order once read. The last SubroutineCount entries
// of the three definition lists and of the four rule lists belong to the subroutines,
// subroutine i at position (size - SubroutineCount + i).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/env/instruction_records.h"

namespace Brenno {

class InstructionLibrary {
 public:
  // Everything empty, SubroutineCount and FxMode 0, the system unit indices -1; the
  // definition and rule lists are given room for 1024 entries. Copy and assignment are deep.
  InstructionLibrary();

  int SubroutineCount = 0;
  int FxMode = 0;  // non-zero: FX-style instruction set
  std::wstring SbrComment;
  std::wstring SbrParent;
  std::wstring LadFxNameLd;
  std::wstring LadFxNameLdi;
  std::wstring LadFxNameLdp;
  std::wstring LadFxNameLdf;
  std::wstring LadFxNameInv;
  std::wstring LadFxNameCoil;

  std::vector<FunOrgRecord> FunOrgList;
  std::vector<FunStlRecord> FunStlList;
  std::vector<FunLadRecord> FunLadList;

  // Derived tables.
  std::vector<std::wstring> FunStlGroups;  // distinct Parent texts of FunStlList, first appearance order
  std::vector<std::wstring> FunLadGroups;  // the same for FunLadList
  int SysAnd = -1;  // FunOrgList indices of the system units
  int SysOr = -1;
  int SysLps = -1;
  int SysLrd = -1;
  int SysLpp = -1;
  std::vector<ConvertRule> StlToUnitRules;  // Left: FunStl instructions, Right: logic units
  std::vector<ConvertRule> LadToUnitRules;  // Left: FunLad definitions, Right: logic units
  std::vector<ConvertRule> UnitToStlRules;  // StlToUnitRules with Left and Right exchanged
  std::vector<ConvertRule> UnitToLadRules;  // LadToUnitRules with Left and Right exchanged
  std::vector<std::wstring> ReservedNames;  // FunStl names, then FunLad keywords
  std::wstring StlInstructionText;          // FunStl names, six to a line
  std::vector<LadInstructionGroup> LadInstructionCatalog;
  // For each FunLad definition, the place of each of its operands (OperandId, OperandIn,
  // OperandOut taken as one sequence) in the instruction as statement list writes it: the
  // operand's character in the logic unit's key of the definition's rule. A box whose inputs and
  // outputs interleave (BMOV S D n: n an input after the output D) is written, drawn and typed in
  // this order; where no rule orders the operands, the sequence order stands.
  std::vector<std::vector<int>> LadOperandPositions;
};

// Reads the instruction library file at `path` and builds the derived tables, with
// `subroutineCount` subroutine pages (0 .. 0x10000). The library is replaced only when
// everything succeeded. Every failure throws ExceptionParseXmlError: a subroutine count out of
// range ("Subroutine count error : n"), file open and empty-file errors, expat errors and the
// element/attribute errors with file, row and column, and the checks of the derived tables.
void ReadManagerFun(InstructionLibrary& library, const std::wstring& path, int subroutineCount);

// ---- The steps that complete a library after reading, in the order ReadManagerFun runs them.

// Appends the FunOrg, FunStl and FunLad entries and the two rules of every subroutine.
void AppendSubroutineUnits(InstructionLibrary& library);
// Finds the units AND, OR, LPS, LRD, LPP; each must exist exactly once.
void XmlCreateSys(InstructionLibrary& library);
// Fills FunStlGroups and FunLadGroups.
void BuildGroupNameLists(InstructionLibrary& library);
// Resolves every rule item's Slot, checks the key sets of each rule, builds the exchanged
// lists and puts the four lists into their working order. An item that names several
// definitions of one name and operand count (in a rule of one item on each side) names the one
// whose operand slots are those of the unit on the other side.
void XmlCreateConvert(InstructionLibrary& library);
void BuildReservedNames(InstructionLibrary& library);
void BuildStlInstructionText(InstructionLibrary& library);
void BuildLadInstructionCatalog(InstructionLibrary& library);
// Fills LadOperandPositions from the resolved single-item ConvertLad rules.
void BuildLadOperandPositions(InstructionLibrary& library);

// The place in the instruction of each operand of the definition (see LadOperandPositions); the
// sequence order for a definition the table does not cover (a subroutine box whose interface
// changed, a record of another library).
std::vector<int> LadOperandOrder(const InstructionLibrary& library, const FunLadRecord& def);
// The same without a copy: the table's entry, or null where the sequence order stands.
const std::vector<int>* LadOperandPositionsOf(const InstructionLibrary& library, const FunLadRecord& def);

// ---- Subroutine names.

constexpr int kSubroutineUnitIdBase = 0x10000;

// "SBR" + low 16 bits of the id in decimal for ids 0x10000 .. 0x1FFFF, "#INVALID" otherwise.
std::wstring SubroutineName(int unitId);
// The same with "SBR_".
std::wstring SubroutineSymbolName(int unitId);

// ---- Definition lookups. Each empties its output, then appends pointers to every matching
// record of the library in list order. Names compare exactly (case-sensitive, whole).

void FindFunOrgDefsByName(std::vector<const FunOrgRecord*>& out, const InstructionLibrary& library,
                          const std::wstring& name);
// Units of that name whose Operands hold exactly `count` entries.
void FindFunOrgDefs(std::vector<const FunOrgRecord*>& out, const InstructionLibrary& library,
                    const std::wstring& name, std::size_t count);

// FunStl definitions whose Name equals the mnemonic and whose Operands hold exactly `count`.
void FindStlInstructionDefs(const InstructionLibrary& library, const std::wstring& mnemonic, std::size_t count,
                            std::vector<const FunStlRecord*>& out);
// FunStl definitions whose Slot (instruction code) equals `code` with exactly `count` operands.
void FindStlInstructionDefsByCode(std::vector<const FunStlRecord*>& out, const InstructionLibrary& library,
                                  int code, std::size_t count);

// What identifies a ladder element's definition: its kind, its name and its operand counts.
struct LadElementKey {
  int Kind = kLadLookNone;
  std::wstring Name;
  std::size_t IdCount = 0;
  std::size_t InCount = 0;
  std::size_t OutCount = 0;
};

// FunLad definitions whose Look, Keyword and three operand list sizes equal the key.
void FindLadElementDefs(const InstructionLibrary& library, const LadElementKey& key,
                        std::vector<const FunLadRecord*>& out);
// FunLad definitions whose Name equals the name.
void FilterLadElementDefsByName(std::vector<const FunLadRecord*>& out, const InstructionLibrary& library,
                                const std::wstring& name);
// FunLad definitions of that Name whose OperandId, OperandIn and OperandOut hold `count`
// entries together.
void FilterLadElementDefsByOperandCount(std::vector<const FunLadRecord*>& out, const InstructionLibrary& library,
                                        const std::wstring& name, std::size_t count);

// The index of a record in its list of the library, from its position. A record that does not
// lie in that list throws ExceptionLogicError.
int LadElementDefIndex(const InstructionLibrary& library, const FunLadRecord& record);
int StlInstructionDefIndex(const InstructionLibrary& library, const FunStlRecord& record);
int FunOrgDefIndex(const InstructionLibrary& library, const FunOrgRecord& record);

}  // namespace Brenno
