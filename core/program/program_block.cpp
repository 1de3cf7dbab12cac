#include "core/program/program_block.h"

#include <algorithm>
#include <climits>

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/page_names.h"
#include "core/program/program_services.h"

namespace Brenno {

namespace {

// min of two sizes compared as unsigned, as the type description gives them; a result that is
// no valid count gives 0.
size_t InitialCount(int limit, int initial) {
  const unsigned smaller = std::min(static_cast<unsigned>(limit), static_cast<unsigned>(initial));
  return smaller > static_cast<unsigned>(INT_MAX) ? 0 : smaller;
}

size_t NonNegative(int value) { return value < 0 ? 0 : static_cast<size_t>(value); }

// The project's work on the local variables after units changed (nothing without services).
void NormalizeLocalVariables(ProgramBlock& program) {
  if (const ProgramServices* services = InstalledProgramServices()) services->NormalizeLocalVariables(program);
}

void UpdateSubroutineInterfaces(const ProgramBlock& program) {
  if (const ProgramServices* services = InstalledProgramServices()) services->UpdateSubroutineInterfaces(program);
}

// Cuts what the type does not allow from the end of a loaded page, and says what was cut.
void CutToLimits(int key, ProgramPage& page, int networkLimit, int variableLimit, std::vector<ProgramBlockCut>& cuts) {
  const size_t networks = NonNegative(networkLimit);
  if (page.UndoLog.Networks.size() > networks) {
    cuts.push_back({key, ProgramBlockCut::Networks, networkLimit,
                    static_cast<int>(page.UndoLog.Networks.size() - networks)});
    page.UndoLog.Networks.resize(networks);
    // The steps of the history may name networks that are gone.
    page.UndoLog.ClearHistory();
  }
  const size_t variables = NonNegative(variableLimit);
  if (page.LocalVars.size() > variables) {
    cuts.push_back({key, ProgramBlockCut::LocalVariables, variableLimit,
                    static_cast<int>(page.LocalVars.size() - variables)});
    ResizeLocalVarTable(variables, page.LocalVars);
  }
}

void NormalizeTable(BlockTable& table, int networkLimit, int variableLimit, int viewMode,
                    std::vector<ProgramBlockCut>& cuts) {
  const bool symbolic = ConfiguredSymbolicAddressing();
  for (const int key : table.ListBlockPageKeys()) {
    table.SyncBlockTitles(key);
    if (!table.BlockTitlesMatchReference(key)) {
      table.Working.insert_or_assign(key, table.Reference.at(key));
      table.StampBlockPage(symbolic, key, viewMode);
      continue;
    }
    CutToLimits(key, table.GetBlockPage(key), networkLimit, variableLimit, cuts);
  }
  if (table.Working.empty()) {
    const int key = table.AddFirstFreeBlockPage();
    if (key != -1) table.StampBlockPage(symbolic, key, viewMode);
  }
}

void FillTable(BlockTable& table, int count, int viewMode) {
  const bool symbolic = ConfiguredSymbolicAddressing();
  const std::vector<int> keys = table.ListReferenceBlockKeys();
  const size_t fill = std::min(keys.size(), NonNegative(count));
  for (size_t i = 0; i < fill; ++i) {
    table.Working.insert_or_assign(keys[i], table.Reference.at(keys[i]));
    table.StampBlockPage(symbolic, keys[i], viewMode);
  }
  // A program without a main program (or without any subroutine page) cannot be edited or
  // compiled; a type that starts with none still gets its first unit.
  if (table.Working.empty()) {
    const int key = table.AddFirstFreeBlockPage();
    if (key != -1) table.StampBlockPage(symbolic, key, viewMode);
  }
}

std::wstring NumberText(int value) { return std::to_wstring(value); }

}  // namespace

bool ConfiguredSymbolicAddressing() {
  const ProgramServices* services = InstalledProgramServices();
  return services != nullptr && services->SymbolicAddressing();
}

std::wstring DescribeProgramBlockCut(const ProgramBlockCut& cut, const std::wstring& unitDescription) {
  const bool networks = cut.Cut == ProgramBlockCut::Networks;
  if (CurrentLanguage() == kLanguageChinese) {
    return unitDescription + L": " + NumberText(cut.Dropped) + (networks ? L" 个网络超出上限 " : L" 个局部变量超出上限 ") +
           NumberText(cut.Limit) + L"，已删除";
  }
  return unitDescription + L": " + NumberText(cut.Dropped) + (networks ? L" networks" : L" local variables") +
         L" beyond the limit of " + NumberText(cut.Limit) + L" removed";
}

void ResizeLocalVarTable(size_t n, LocalVarTable& variables) {
  if (variables.size() > n) {
    variables.resize(n);
    return;
  }
  while (variables.size() < n) variables.push_back(MakeEmptyVarEntry());
}

// ---------------------------------------------------------------- building

void ProgramBlock::CreateDefaultBlocks(const ProgramBlockSizes& limits, const SymbolVarSizes& symbolSizes,
                                       const std::vector<std::wstring>& reservedNames) {
  InterruptTable = BlockTable();
  SubroutineTable = BlockTable();
  ViewMode = kViewModeLad;
  Limits = limits;
  InterruptTable.ReservedNames = reservedNames;
  SubroutineTable.ReservedNames = reservedNames;

  for (int i = 0; i < limits.SizePageInt; ++i) {
    const int key = InterruptUnitKey(i);
    BlockRecord record{DefaultProgramUnitName(key), ProgramUnitAddress(key), L"", ProgramPage()};
    ProgramPage::CreateSized(record.Page, InitialCount(limits.SizeItemInt, limits.SizeItemInitInt));
    for (size_t n = 0; n < NonNegative(symbolSizes.SizeItemInitInt); ++n) {
      record.Page.LocalVars.push_back(MakeAreaVarEntry(kVarAreaTemp));
    }
    InterruptTable.Reference.insert_or_assign(key, std::move(record));
  }
  for (int i = 0; i < limits.SizePageSbr; ++i) {
    const int key = SubroutineUnitKey(i);
    BlockRecord record{DefaultProgramUnitName(key), ProgramUnitAddress(key), L"", ProgramPage()};
    ProgramPage::CreateSized(record.Page, InitialCount(limits.SizeItemSbr, limits.SizeItemInitSbr));
    for (const int area : {kVarAreaIn, kVarAreaInOut, kVarAreaOut, kVarAreaTemp}) {
      for (size_t n = 0; n < NonNegative(symbolSizes.SizeItemInitSbr); ++n) {
        record.Page.LocalVars.push_back(MakeAreaVarEntry(area));
      }
    }
    SubroutineTable.Reference.insert_or_assign(key, std::move(record));
  }
}

void ProgramBlock::FillDefaultProgramBlocks() {
  FillTable(InterruptTable, Limits.SizePageInitInt, ViewMode);
  FillTable(SubroutineTable, Limits.SizePageInitSbr, ViewMode);
  NormalizeUnits();
}

std::vector<ProgramBlockCut> ProgramBlock::NormalizeProgramBlocks() {
  const ProgramServices* services = InstalledProgramServices();
  const SymbolVarSizes* sizes = services != nullptr ? services->SymbolSizes() : nullptr;
  if (sizes == nullptr) throw ExceptionLogicError();
  return NormalizeProgramBlocks(*sizes);
}

std::vector<ProgramBlockCut> ProgramBlock::NormalizeProgramBlocks(const SymbolVarSizes& symbolSizes) {
  const bool symbolic = ConfiguredSymbolicAddressing();
  InterruptTable.PruneBlockPages();
  SubroutineTable.PruneBlockPages();
  InterruptTable.StampBlockPages(symbolic, ViewMode);
  SubroutineTable.StampBlockPages(symbolic, ViewMode);
  std::vector<ProgramBlockCut> cuts;
  NormalizeTable(InterruptTable, Limits.SizeItemInt, symbolSizes.SizeItemInt, ViewMode, cuts);
  NormalizeTable(SubroutineTable, Limits.SizeItemSbr, symbolSizes.SizeItemSbr, ViewMode, cuts);
  NormalizeUnits();
  return cuts;
}

void ProgramBlock::NormalizeUnits() {
  NormalizeLocalVariables(*this);
  UpdateSubroutineInterfaces(*this);
}

// ---------------------------------------------------------------- lists

std::vector<int> ProgramBlock::ListProgramBlockKeys() const {
  std::vector<int> keys = InterruptTable.ListBlockPageKeys();
  const std::vector<int> subroutines = SubroutineTable.ListBlockPageKeys();
  keys.insert(keys.end(), subroutines.begin(), subroutines.end());
  return keys;
}

int ProgramBlock::CountProgramBlocks() const {
  return static_cast<int>(InterruptTable.Working.size() + SubroutineTable.Working.size());
}

int ProgramBlock::BlockKeyAt(int index) const {
  if (index < 0) return -1;
  const std::vector<int> keys = ListProgramBlockKeys();
  return static_cast<size_t>(index) < keys.size() ? keys[static_cast<size_t>(index)] : -1;
}

const ProgramPage* ProgramBlock::FindProgramPage(int key) const {
  if (const BlockRecord* record = FindBlockRecord(InterruptTable, key)) return &record->Page;
  if (const BlockRecord* record = FindBlockRecord(SubroutineTable, key)) return &record->Page;
  return nullptr;
}

const ProgramPage& ProgramBlock::GetProgramPage(int key) const {
  const ProgramPage* page = FindProgramPage(key);
  if (page == nullptr) throw ExceptionLogicError();
  return *page;
}

ProgramPage& ProgramBlock::GetProgramPage(int key) {
  return const_cast<ProgramPage&>(static_cast<const ProgramBlock&>(*this).GetProgramPage(key));
}

int ProgramBlock::StoreProgramPage(int key, const ProgramPage& page) {
  if (InterruptTable.HasReferencePage(key)) return InterruptTable.StoreBlockPage(page, key);
  if (SubroutineTable.HasReferencePage(key)) return SubroutineTable.StoreBlockPage(page, key);
  return -1;
}

namespace {

const BlockRecord& WorkingRecord(const ProgramBlock& block, int key) {
  if (const BlockRecord* record = FindBlockRecord(block.InterruptTable, key)) return *record;
  if (const BlockRecord* record = FindBlockRecord(block.SubroutineTable, key)) return *record;
  throw ExceptionLogicError();
}

}  // namespace

std::wstring ProgramBlock::GetBlockName(int key) const { return WorkingRecord(*this, key).Name; }
std::wstring ProgramBlock::GetBlockAddress(int key) const { return WorkingRecord(*this, key).Address; }
std::wstring ProgramBlock::GetBlockComment(int key) const { return WorkingRecord(*this, key).Comment; }
std::wstring ProgramBlock::GetBlockNameAt(int index) const { return GetBlockName(BlockKeyAt(index)); }
std::wstring ProgramBlock::GetBlockAddressAt(int index) const { return GetBlockAddress(BlockKeyAt(index)); }
std::wstring ProgramBlock::GetBlockCommentAt(int index) const { return GetBlockComment(BlockKeyAt(index)); }

// ---------------------------------------------------------------- titles and addresses

BlockTable* ProgramBlock::ReferenceTableOf(int key) {
  if (InterruptTable.HasReferencePage(key)) return &InterruptTable;
  if (SubroutineTable.HasReferencePage(key)) return &SubroutineTable;
  return nullptr;
}

const BlockTable* ProgramBlock::ReferenceTableOf(int key) const {
  return const_cast<ProgramBlock*>(this)->ReferenceTableOf(key);
}

bool ProgramBlock::RenameBlock(int key, const std::wstring& name) {
  BlockTable* table = ReferenceTableOf(key);
  return table != nullptr && table->RenameBlockPage(name, key);
}

bool ProgramBlock::ChangeBlockAddress(int key, const std::wstring& address, int& newKey) {
  newKey = -1;
  BlockTable* table = ReferenceTableOf(key);
  return table != nullptr && table->ChangeBlockPageAddress(address, key, newKey);
}

bool ProgramBlock::SetBlockComment(int key, const std::wstring& comment) {
  BlockTable* table = ReferenceTableOf(key);
  return table != nullptr && table->SetBlockPageComment(key, comment);
}

int ProgramBlock::GetBlockAddressIndex(int key) const {
  const BlockTable* table = ReferenceTableOf(key);
  return table == nullptr ? -1 : table->BlockPageAddressIndex(key);
}

bool ProgramBlock::ChangeBlockAddressByIndex(int key, int index, int& newKey) {
  newKey = -1;
  BlockTable* table = ReferenceTableOf(key);
  return table != nullptr && table->ChangeBlockPageAddressByIndex(index, key, newKey);
}

std::vector<std::wstring> ProgramBlock::ListBlockAddressChoices(int key) const {
  const BlockTable* table = ReferenceTableOf(key);
  return table == nullptr ? std::vector<std::wstring>() : table->ListBlockAddresses();
}

bool ProgramBlock::ChangeBlockAddressAt(int index, int addressIndex, int& newKey) {
  const int key = BlockKeyAt(index);
  if (key == -1) {
    newKey = 0;
    return false;
  }
  if (!ChangeBlockAddressByIndex(key, addressIndex, newKey)) {
    newKey = -1;
    return false;
  }
  const bool symbolic = ConfiguredSymbolicAddressing();
  InterruptTable.StampBlockPages(symbolic, ViewMode);
  SubroutineTable.StampBlockPages(symbolic, ViewMode);
  UpdateSubroutineInterfaces(*this);
  return true;
}

std::vector<std::wstring> ProgramBlock::ListBlockAddressChoicesAt(int index) const {
  return ListBlockAddressChoices(BlockKeyAt(index));
}

bool ProgramBlock::CopyBlockTitlesAsText(int first, int end, std::wstring& text) const {
  if (first < 0 || first >= end || end > CountProgramBlocks()) return false;
  std::wstring out;
  for (int i = first; i < end; ++i) {
    const BlockRecord& record = WorkingRecord(*this, BlockKeyAt(i));
    out += record.Name + L"\t" + record.Address + L"\t" + record.Comment + L"\r\n";
  }
  text = std::move(out);
  return true;
}

// ---------------------------------------------------------------- adding and removing

bool ProgramBlock::CanAddInterrupt() const { return !InterruptTable.ListFreeBlockKeys().empty(); }
bool ProgramBlock::CanAddSubroutine() const { return !SubroutineTable.ListFreeBlockKeys().empty(); }

int ProgramBlock::AddInterrupt() {
  const int key = InterruptTable.AddFirstFreeBlockPage();
  if (key != -1) {
    InterruptTable.StampBlockPages(ConfiguredSymbolicAddressing(), ViewMode);
    NormalizeUnits();
  }
  return key;
}

int ProgramBlock::AddSubroutine() {
  const int key = SubroutineTable.AddFirstFreeBlockPage();
  if (key != -1) {
    SubroutineTable.StampBlockPages(ConfiguredSymbolicAddressing(), ViewMode);
    NormalizeUnits();
  }
  return key;
}

int ProgramBlock::RemoveInterrupt(int key) {
  const int next = InterruptTable.RemoveBlockPage(key);
  if (next != -1) {
    InterruptTable.StampBlockPages(ConfiguredSymbolicAddressing(), ViewMode);
    NormalizeLocalVariables(*this);
  }
  return next;
}

int ProgramBlock::RemoveSubroutine(int key) {
  const int next = SubroutineTable.RemoveBlockPage(key);
  if (next != -1) {
    SubroutineTable.StampBlockPages(ConfiguredSymbolicAddressing(), ViewMode);
    NormalizeUnits();
  }
  return next;
}

bool ProgramBlock::DescribeProgramUnitKey(int key, std::wstring& text) const {
  if (DescribeProgramPageKey(InterruptTable, key, text)) return true;
  return DescribeProgramPageKey(SubroutineTable, key, text);
}

// ---------------------------------------------------------------- copies

void CopyProgramBlock(const ProgramBlock& source, ProgramBlock& target) { target = source; }

void CopyBlockTablePair(const ProgramBlock& source, ProgramBlock& target) {
  target.InterruptTable = source.InterruptTable;
  target.SubroutineTable = source.SubroutineTable;
}

void DestroyBlockTable(BlockTable& table) {
  std::vector<std::wstring>().swap(table.ReservedNames);
  table.Working.clear();
  table.Reference.clear();
}

}  // namespace Brenno
