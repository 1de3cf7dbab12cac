// The local variables of the program units and the call interfaces of the subroutines.
//
// Every program unit (main program key 0, interrupt routine i key i, subroutine i key
// 0x10000 | i) keeps a `LocalVarTable` in its program page. Normalising a table puts the areas
// the unit needs in place (a subroutine IN, IN_OUT, OUT and TEMP; other units TEMP only), cuts
// it to the unit's limit, recomputes the check flags and places every complete variable in the
// PLC's local memory region: table order, BOOL variables sharing a byte bit by bit, every other
// variable starting on a byte boundary.
//
// A subroutine's complete IN, IN_OUT and OUT variables are its call interface: they are
// published as the operand definitions of the subroutine's call records in the project's own
// copy of the instruction library, where the editors, the converter and the compiler find them.
//
// The forms without a program block work on the current project.
#pragma once

#include <string>
#include <vector>

#include "core/env/instruction_library.h"
#include "core/env/memory_area_manager.h"
#include "core/project/symbol_table.h"

namespace Brenno {

class ProgramBlock;

// Every program-unit key the PLC type defines: the interrupt table's reference keys, then the
// subroutine table's, each ascending.
std::vector<int> CollectProgramUnitKeys(const ProgramBlock& program);

// The unit's row limit: SizeItemInt for a unit of the interrupt table, SizeItemSbr for a
// subroutine, 0 for a key neither table knows.
int LocalVarLimit(const ProgramBlock& program, const SymbolTable& table, int key);

// Normalises one table for a unit of the given kind. Entries out of area order or of an area
// the unit does not have throw ExceptionLogicError and leave the table unchanged.
void NormalizeLocalVars(LocalVarTable& variables, bool subroutine, int limit, const SymbolTable& table,
                        const MemoryAreaManager& manager);

// Nothing when the key has no working page. The memory map is that of the project owning the
// program block (the current project's for a block outside the project list).
void NormalizeLocalVarTable(ProgramBlock& program, int key, const SymbolTable& table);
void NormalizeLocalVarTable(int key, const SymbolTable& table);
void NormalizeAllLocalVarTables(ProgramBlock& program, const SymbolTable& table);
void NormalizeAllLocalVarTables(const SymbolTable& table);

// Republishes a subroutine's interface into the library; nothing for other units. A
// subroutine without a working page gets an empty interface.
void UpdateSubroutineInterface(const ProgramBlock& program, InstructionLibrary& library, const SymbolTable& table,
                               int key);
void UpdateSubroutineInterface(const SymbolTable& table, int key);
// Into the library of the project owning the program block; nothing for a block that belongs
// to no project of the list.
void UpdateAllSubroutineInterfaces(const ProgramBlock& program, const SymbolTable& table);
void UpdateAllSubroutineInterfaces(const SymbolTable& table);

// Subroutine n's records: the entries (list size - subroutine count + n) of each list.
// ExceptionLogicError unless 0x10000 <= key <= 0x1FFFF and n is below the subroutine count.
FunOrgRecord& GetSubroutineFunOrg(int key, InstructionLibrary& library);
FunStlRecord& GetSubroutineFunStl(int key, InstructionLibrary& library);
FunLadRecord& GetSubroutineFunLad(int key, InstructionLibrary& library);
ConvertRule& GetSubroutineConvertStl(int key, InstructionLibrary& library);
ConvertRule& GetSubroutineConvertLad(int key, InstructionLibrary& library);

// ---- Rows of the variable pane (current project). A unit key without a working page and a
// row outside the table throw ExceptionLogicError.

int InsertLocalVar(const SymbolTable& table, int key, int row);
int InsertLocalVarBelow(const SymbolTable& table, int key, int row);
bool CanInsertLocalVar(const SymbolTable& table, int key, int row);
int DeleteLocalVars(const SymbolTable& table, int key, int first, int end);
bool CanDeleteLocalVars(int key, int first, int end);

const VarEntry& GetLocalVar(int key, int row);
int GetLocalVarArea(int key, int row);
int GetLocalVarType(int key, int row);
const std::wstring& GetLocalVarName(int key, int row);
const std::wstring& GetLocalVarAddress(int key, int row);
const std::wstring& GetLocalVarComment(int key, int row);

// False, nothing done, when the value is already stored.
bool SetLocalVarType(const SymbolTable& table, int key, int row, int type);
bool SetLocalVarName(const SymbolTable& table, int key, int row, const std::wstring& name);
bool SetLocalVarComment(const SymbolTable& table, int key, int row, const std::wstring& comment);

// Per entry address TAB name TAB area name TAB type name TAB comment CR LF; false for a bad
// range.
bool CopyLocalVarsAsText(const SymbolTable& table, int key, int first, int end, std::wstring& text);

}  // namespace Brenno
