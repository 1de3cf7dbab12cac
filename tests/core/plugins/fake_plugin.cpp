// A small plug-in for the binding tests. Built twice: as a system-block library and as an
// exchange library (FAKE_EXCHANGE). FAKE_OMIT names one entry to leave out, for the test of a
// library that lacks an entry. Every call is appended to a log the test reads through FakeLog.
#include <cstdint>
#include <string>

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {
std::string& Log() {
  static std::string log;
  return log;
}
void Note(const std::string& entry) { Log() += entry + ";"; }
std::string Narrow(const char16_t* text) {
  std::string out;
  for (; text && *text; ++text) out.push_back(*text < 0x80 ? static_cast<char>(*text) : '?');
  return out;
}
}  // namespace


EXPORT const char* FakeLog() { return Log().c_str(); }
EXPORT void FakeLogClear() { Log().clear(); }

EXPORT const char16_t* GetPlcName() { return u"Fake"; }
EXPORT const char16_t* GetPlcInfor() { return u"Fake plug-in"; }
EXPORT void SetLang(int language) { Note("SetLang " + std::to_string(language)); }
EXPORT void SetFolder(const char16_t* folder) { Note("SetFolder " + Narrow(folder)); }

#ifndef FAKE_EXCHANGE
EXPORT bool CheckPageCompatible(int page, const uint8_t*, int size) { return page <= 4; }
EXPORT void SetPageData(int, const uint8_t*, int) {}
EXPORT void GetPageData(int, const uint8_t** data, int* size) { *data = nullptr; *size = 0; }
EXPORT void GetPageSample(int, const uint8_t** data, int* size) { *data = nullptr; *size = 0; }
#if !defined(FAKE_OMIT_ExcuteUserConfig)
EXPORT bool ExcuteUserConfig(void*) { return false; }
#endif
#else
EXPORT void SetCommPort(int, const char16_t*, int, int) {}
EXPORT void SetCommPortAdvabced(const int*, int count) { Note("SetCommPortAdvabced " + std::to_string(count)); }
#define PAGE_KIND(Kind)                                              \
  EXPORT void Clear##Kind() {}                                       \
  EXPORT void SetPage##Kind(int, const void*, int) {}                \
  EXPORT void GetPage##Kind(int, const void** d, int* s) { *d = nullptr; *s = 0; }
EXPORT void ClearData() {}
EXPORT void SetPageData(int, const void*, int) {}
EXPORT void GetPageData(int, const void** d, int* s) { *d = nullptr; *s = 0; }
PAGE_KIND(System)
PAGE_KIND(ProgramConst)
PAGE_KIND(ProgramArgument)
PAGE_KIND(ProgramInstruction)
EXPORT bool ExcuteUserDownload() { return true; }
EXPORT bool ExcuteUserUpload() { return true; }
#endif
