// Binding of the two libraries that each PLC type names: its system-block library and its
// exchange library. Each is loaded from the type folder and its entries are resolved by name
// into a fixed slot table; then the library is told the language and its folder.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/dynamic_library.h"
#include "platform/plugin_abi.h"

namespace Brenno {

// Slot order of the system-block library's entries.
enum SystemBlockSlot {
  kSbGetPlcName, kSbGetPlcInfor, kSbSetLang, kSbSetFolder, kSbCheckPageCompatible,
  kSbSetPageData, kSbGetPageData, kSbGetPageSample, kSbExcuteUserConfig, kSystemBlockSlotCount
};

// Slot order of the exchange library's entries.
enum ExchangeSlot {
  kExGetPlcName, kExGetPlcInfor, kExSetLang, kExSetFolder, kExSetCommPort, kExSetCommPortAdvabced,
  kExClearData, kExSetPageData, kExGetPageData,
  kExClearSystem, kExSetPageSystem, kExGetPageSystem,
  kExClearProgramConst, kExSetPageProgramConst, kExGetPageProgramConst,
  kExClearProgramArgument, kExSetPageProgramArgument, kExGetPageProgramArgument,
  kExClearProgramInstruction, kExSetPageProgramInstruction, kExGetPageProgramInstruction,
  kExExcuteUserDownload, kExExcuteUserUpload, kExchangeSlotCount
};

extern const std::array<const char*, kSystemBlockSlotCount> SystemBlockLibraryEntryNames;
extern const std::array<const char*, kExchangeSlotCount> ExchangeLibraryEntryNames;

// One loaded library with its resolved entries, in the order of its name table.
class PluginLibrary {
 public:
  PluginLibrary() = default;
  ~PluginLibrary();
  PluginLibrary(PluginLibrary&&) noexcept = default;
  PluginLibrary& operator=(PluginLibrary&&) noexcept = default;

  bool IsLoaded() const { return m_module.IsLoaded(); }
  const std::vector<void*>& Entries() const { return m_entries; }

  // The entry of a slot as a function pointer of the given type (null when not bound).
  template <class Fn>
  Fn Entry(int slot) const {
    return slot >= 0 && static_cast<size_t>(slot) < m_entries.size() ? reinterpret_cast<Fn>(m_entries[slot]) : nullptr;
  }

  // Loads, resolves every name of the table, then calls SetLang and SetFolder (slots 2 and 3).
  // Throws ExceptionParseLibraryError: with the "Load dll error" detail when the library does
  // not load, with the class text alone when an entry is missing.
  void Bind(const std::wstring& libraryPath, const char* const* names, size_t count);

  void Release();

 private:
  platform::DynamicLibrary m_module;
  std::vector<void*> m_entries;
};

void BindSystemBlockLibrary(PluginLibrary& binding, const std::wstring& libraryPath);
void BindExchangeLibrary(PluginLibrary& binding, const std::wstring& libraryPath);

}  // namespace Brenno
