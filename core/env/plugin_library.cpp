#include "core/env/plugin_library.h"

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "platform/text_codec.h"

namespace Brenno {

// The exported names exactly as the libraries spell them (misspellings included).
const std::array<const char*, kSystemBlockSlotCount> SystemBlockLibraryEntryNames = {
    "GetPlcName", "GetPlcInfor", "SetLang", "SetFolder", "CheckPageCompatible",
    "SetPageData", "GetPageData", "GetPageSample", "ExcuteUserConfig"};

const std::array<const char*, kExchangeSlotCount> ExchangeLibraryEntryNames = {
    "GetPlcName", "GetPlcInfor", "SetLang", "SetFolder", "SetCommPort", "SetCommPortAdvabced",
    "ClearData", "SetPageData", "GetPageData",
    "ClearSystem", "SetPageSystem", "GetPageSystem",
    "ClearProgramConst", "SetPageProgramConst", "GetPageProgramConst",
    "ClearProgramArgument", "SetPageProgramArgument", "GetPageProgramArgument",
    "ClearProgramInstruction", "SetPageProgramInstruction", "GetPageProgramInstruction",
    "ExcuteUserDownload", "ExcuteUserUpload"};

PluginLibrary::~PluginLibrary() { Release(); }

void PluginLibrary::Release() {
  m_module.Release();
  m_entries.clear();
}

void PluginLibrary::Bind(const std::wstring& libraryPath, const char* const* names, size_t count) {
  const auto slash = libraryPath.find_last_of(L'/');
  const std::wstring folder = slash == std::wstring::npos ? std::wstring() : libraryPath.substr(0, slash);

  if (!m_module.Load(libraryPath)) {
    throw MakeParseLibraryError(L"\r\n  Load dll error : \"" + libraryPath + L"\"");
  }
  m_entries.assign(count, nullptr);
  for (size_t slot = 0; slot < count; ++slot) {
    void* address = m_module.Symbol(names[slot]);
    if (address == nullptr) throw ExceptionParseLibraryError();
    m_entries[slot] = address;
  }
  // Both tables share slots 2 and 3: SetLang, then SetFolder.
  Entry<SysBlockSetLangFn>(kSbSetLang)(CurrentLanguage());
  const std::u16string folder16 = platform::WideToUtf16(folder).value_or(std::u16string());
  Entry<SysBlockSetFolderFn>(kSbSetFolder)(folder16.c_str());
}

void BindSystemBlockLibrary(PluginLibrary& binding, const std::wstring& libraryPath) {
  binding.Bind(libraryPath, SystemBlockLibraryEntryNames.data(), SystemBlockLibraryEntryNames.size());
}

void BindExchangeLibrary(PluginLibrary& binding, const std::wstring& libraryPath) {
  binding.Bind(libraryPath, ExchangeLibraryEntryNames.data(), ExchangeLibraryEntryNames.size());
}

}  // namespace Brenno
