// A small plug-in for the binding tests. Built twice: as a system-block library and as an
// exchange library (FAKE_EXCHANGE). FAKE_OMIT names one entry to leave out, for the test of a
// library that lacks an entry. Every call is appended to a log the test reads through FakeLog.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

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
#ifdef FAKE_SAMPLES
// Sample pages 0 to 3 (46, 24, 16 and 5 bytes; byte i of page p is p * 16 + i), a damaged
// report for page 7 (a block with a negative length), and the
// acceptance rule of a real library: pages 0, 1, 3 and 4 whatever their bytes, page 2 (the force
// table) with exactly 16 bytes, no other page. Every check is logged as "Check page size null".
namespace {
const uint8_t* SamplePage(int page, int& size) {
  static uint8_t pages[4][46];
  static const int sizes[4] = {46, 24, 16, 5};
  if (page < 0 || page > 3) return nullptr;
  for (int i = 0; i < sizes[page]; ++i) pages[page][i] = static_cast<uint8_t>(page * 16 + i);
  size = sizes[page];
  return pages[page];
}
}  // namespace
EXPORT bool CheckPageCompatible(int page, const uint8_t* data, int size) {
  Note("Check " + std::to_string(page) + " " + std::to_string(size) + (data == nullptr ? " null" : " data"));
  if (page == 2) return size == 16;
  return page == 0 || page == 1 || page == 3 || page == 4;
}
EXPORT void GetPageSample(int page, const uint8_t** data, int* size) {
  *data = nullptr;
  *size = 0;
  int length = 0;
  const uint8_t* bytes = SamplePage(page, length);
  if (bytes != nullptr) {
    *data = bytes;
    *size = length;
  }
  if (page == 7) {
    static const uint8_t damaged[1] = {0};
    *data = damaged;
    *size = -5;
  }
}
#else
EXPORT bool CheckPageCompatible(int page, const uint8_t*, int size) { return page <= 4; }
EXPORT void GetPageSample(int, const uint8_t** data, int* size) { *data = nullptr; *size = 0; }
#endif
// The pages handed in are kept; the editor's answer is scripted by FakeSetConfigAnswer: 0 the
// user cancels, 1 the user confirms and every page gets the byte 0xEE appended, 2 confirms and
// every page is reported empty, 3 confirms without a change.
namespace {
std::map<int, std::vector<uint8_t>>& Pages() {
  static std::map<int, std::vector<uint8_t>> pages;
  return pages;
}
int g_configAnswer = 0;
}  // namespace
EXPORT void FakeSetConfigAnswer(int answer) { g_configAnswer = answer; }
EXPORT void SetPageData(int page, const uint8_t* data, int size) {
  Note("Set " + std::to_string(page) + " " + std::to_string(size) + (data == nullptr ? " null" : " data"));
  Pages()[page] = data == nullptr || size <= 0 ? std::vector<uint8_t>() : std::vector<uint8_t>(data, data + size);
}
EXPORT void GetPageData(int page, const uint8_t** data, int* size) {
  Note("Get " + std::to_string(page));
  const auto found = Pages().find(page);
  *data = found == Pages().end() || found->second.empty() ? nullptr : found->second.data();
  *size = found == Pages().end() ? 0 : static_cast<int>(found->second.size());
}
#if !defined(FAKE_OMIT_ExcuteUserConfig)
EXPORT bool ExcuteUserConfig(void*) {
  Note("Config");
  if (g_configAnswer == 1) {
    for (auto& entry : Pages()) entry.second.push_back(0xEE);
  } else if (g_configAnswer == 2) {
    for (auto& entry : Pages()) entry.second.clear();
  }
  return g_configAnswer != 0;
}
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
