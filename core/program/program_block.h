// The program of a project: the main program, the interrupt routines and the subroutines, each
// a ProgramPage with a name, an address and a comment, in two block tables. Keys: main program
// 0, interrupt routine i key i, subroutine i key 0x10000 | i. Every list of all units gives the
// interrupt table's pages in key order, then the subroutine table's.
//
// CreateDefaultBlocks gives the collection the reference pages of the project's PLC type; then
// FillDefaultProgramBlocks (new project) or the loaded pages and NormalizeProgramBlocks (open,
// type change, upload) set the working pages. The operations without explicit sizes read the
// current project's symbol sizes and the configured addressing through the program services,
// which also fit the local variables after units change.
#pragma once

#include <string>
#include <vector>

#include "core/env/plc_type.h"
#include "core/program/block_table.h"
#include "core/program/var_entry.h"

namespace Brenno {

inline constexpr int kViewModeStl = 1;
inline constexpr int kViewModeLad = 2;

// What NormalizeProgramBlocks had to cut from a loaded page to fit the PLC type.
struct ProgramBlockCut {
  enum What { Networks, LocalVariables };
  int Key = 0;
  What Cut = Networks;
  int Limit = 0;    // what the type allows
  int Dropped = 0;  // how many were removed from the end

  bool operator==(const ProgramBlockCut&) const = default;
};

// One line per cut for the user: "MAIN (INT0): 2 networks beyond the limit of 256 removed".
std::wstring DescribeProgramBlockCut(const ProgramBlockCut& cut, const std::wstring& unitDescription);

class ProgramBlock {
 public:
  int ViewMode = kViewModeLad;
  BlockTable InterruptTable;
  BlockTable SubroutineTable;
  // The eight program limits of the PLC type (the two binary sizes are not used here).
  ProgramBlockSizes Limits;

  // ---- Building for a PLC type.
  void CreateDefaultBlocks(const ProgramBlockSizes& limits, const SymbolVarSizes& symbolSizes,
                           const std::vector<std::wstring>& reservedNames);
  void FillDefaultProgramBlocks();
  // Makes loaded pages consistent with the type. A page with more networks or local variables
  // than the type allows keeps what fits; every cut is returned so the user can be told.
  std::vector<ProgramBlockCut> NormalizeProgramBlocks();
  std::vector<ProgramBlockCut> NormalizeProgramBlocks(const SymbolVarSizes& symbolSizes);

  // ---- Lists of all working pages.
  std::vector<int> ListProgramBlockKeys() const;
  int CountProgramBlocks() const;
  // -1 past the end or for a negative index.
  int BlockKeyAt(int index) const;

  ProgramPage& GetProgramPage(int key);
  const ProgramPage& GetProgramPage(int key) const;
  // Null when the key has no working page.
  const ProgramPage* FindProgramPage(int key) const;
  int StoreProgramPage(int key, const ProgramPage& page);

  std::wstring GetBlockName(int key) const;
  std::wstring GetBlockAddress(int key) const;
  std::wstring GetBlockComment(int key) const;
  std::wstring GetBlockNameAt(int index) const;
  std::wstring GetBlockAddressAt(int index) const;
  std::wstring GetBlockCommentAt(int index) const;

  // On the table whose reference pages hold the key; false, -1 or an empty list when neither
  // does.
  bool RenameBlock(int key, const std::wstring& name);
  bool ChangeBlockAddress(int key, const std::wstring& address, int& newKey);
  bool SetBlockComment(int key, const std::wstring& comment);
  int GetBlockAddressIndex(int key) const;
  bool ChangeBlockAddressByIndex(int key, int index, int& newKey);
  std::vector<std::wstring> ListBlockAddressChoices(int key) const;
  // By list position: new key 0 when the index names no page, -1 when the move was refused.
  bool ChangeBlockAddressAt(int index, int addressIndex, int& newKey);
  std::vector<std::wstring> ListBlockAddressChoicesAt(int index) const;

  // Lines name TAB address TAB comment CR LF for the pages first ... end-1.
  bool CopyBlockTitlesAsText(int first, int end, std::wstring& text) const;

  bool CanAddInterrupt() const;
  bool CanAddSubroutine() const;
  // New key, or -1 when every unit the type allows is in use.
  int AddInterrupt();
  int AddSubroutine();
  // Key of the page to show next, or -1 when the key has no working page.
  int RemoveInterrupt(int key);
  int RemoveSubroutine(int key);

  // "name (address)" of the unit; empty when neither table has the key.
  bool DescribeProgramUnitKey(int key, std::wstring& text) const;

 private:
  BlockTable* ReferenceTableOf(int key);
  const BlockTable* ReferenceTableOf(int key) const;
  void NormalizeUnits();
};

void CopyProgramBlock(const ProgramBlock& source, ProgramBlock& target);
void CopyBlockTablePair(const ProgramBlock& source, ProgramBlock& target);
void DestroyBlockTable(BlockTable& table);

// Cuts the list to n entries, or appends empty rows up to n.
void ResizeLocalVarTable(size_t n, LocalVarTable& variables);

// The configuration's symbolic addressing (false when no environment is installed).
bool ConfiguredSymbolicAddressing();

}  // namespace Brenno
