// One block table of the program: the pages of the main program and the interrupt routines, or
// those of the subroutines. A table holds the units the project uses (the working pages) and
// every unit the PLC type allows (the reference pages, with their default names, fixed
// addresses and empty default content), both ordered by key, and the names no unit may take.
//
// Lookups of a unit that has no working page throw ExceptionLogicError; refused edits (invalid
// or duplicate name, occupied or absent address, unchanged value) return false and change
// nothing.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/program/program_page.h"

namespace Brenno {

struct BlockRecord {
  std::wstring Name;     // editable
  std::wstring Address;  // fixed by the key
  std::wstring Comment;
  ProgramPage Page;
};

BlockRecord MakeBlockRecord(const std::wstring& name, const std::wstring& address, const std::wstring& comment,
                            const ProgramPage& page);

class BlockTable {
 public:
  std::map<int, BlockRecord> Working;
  std::map<int, BlockRecord> Reference;
  std::vector<std::wstring> ReservedNames;

  bool HasWorkingPage(int key) const { return Working.count(key) != 0; }
  bool HasReferencePage(int key) const { return Reference.count(key) != 0; }

  std::vector<int> ListBlockPageKeys() const;
  std::vector<int> ListReferenceBlockKeys() const;
  std::vector<int> ListFreeBlockKeys() const;

  ProgramPage& GetBlockPage(int key);
  const ProgramPage& GetBlockPage(int key) const;
  BlockRecord& GetBlockRecord(int key);
  const BlockRecord& GetBlockRecord(int key) const;

  // The smallest free reference key gets a copy of its reference record (not stamped);
  // -1 when every reference key is in use. The new page's empty networks take the form of the
  // view it is first stamped with.
  int AddFirstFreeBlockPage();
  // Erases the page; returns the key of the next working page, or of the new last one, or of
  // the page added because the table would be empty. -1 when the key has no working page.
  int RemoveBlockPage(int key);
  // Erases every working page whose key is not a reference key.
  void PruneBlockPages();
  // Sets the working entry of a reference key to the reference titles and a copy of the page
  // (replacing any page there); the key, or -1 when it is not a reference key.
  int StoreBlockPage(const ProgramPage& page, int key);

  bool RenameBlockPage(const std::wstring& name, int key);
  // Moves the page to the reference page with that address (normalised: INT005 is INT5). A
  // page still carrying its default name takes the default name of its new key.
  bool ChangeBlockPageAddress(std::wstring_view address, int key, int& newKey);
  // The same with the address at that index of ListBlockAddresses; false for an index outside
  // the list.
  bool ChangeBlockPageAddressByIndex(int index, int key, int& newKey);
  bool SetBlockPageComment(int key, const std::wstring& comment);
  // Position of the page's address in ListBlockAddresses, or the list's length.
  int BlockPageAddressIndex(int key) const;
  std::vector<std::wstring> ListBlockAddresses() const;

  bool IsValidBlockName(const std::wstring& name) const;
  // Used on a page's own name: refused forms, reserved names, reference addresses, other
  // units' default names, and names two working pages share are not unique.
  bool IsBlockNameUnique(const std::wstring& name, int key) const;

  // Address back to the reference address; a name that is not unique back to the default.
  // True when something changed.
  bool SyncBlockTitles(int key);
  bool BlockTitlesMatchReference(int key) const;

  // Page id = key, view mode, symbolic flag. A page added by AddFirstFreeBlockPage and stamped for
  // the first time turns its networks without program into that view's form, so that a page
  // added while the program is shown as statement list takes typing at once; every other page
  // keeps its networks as they are.
  void StampBlockPage(bool symbolic, int key, int viewMode);
  void StampBlockPages(bool symbolic, int viewMode);

 private:
  // Keys of pages added from their reference page that have not been stamped yet.
  std::set<int> added_;

  bool IsWellFormedName(const std::wstring& name) const;
  bool IsReservedName(const std::wstring& name) const;
  bool IsReferenceAddress(const std::wstring& name) const;
};

// The key order of page lists: ascending signed int.
const BlockRecord* FindBlockRecord(const BlockTable& table, int key);

}  // namespace Brenno
