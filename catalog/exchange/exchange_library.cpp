// Minimal exchange library. It has no transport of its own: a download stores the pages it was
// given as the "PLC" content, and an upload hands that content back page by page.
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/plugin_abi.h"

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {

enum Kind { kData, kSystem, kConst, kArgument, kInstruction, kKindCount };

using PageMap = std::map<int, std::vector<uint8_t>>;

struct State {
  std::mutex lock;
  int language = 1;
  std::u16string folder;
  PageMap pending[kKindCount];   // set since the last Clear, waiting for a download
  PageMap device[kKindCount];    // what the last download delivered
  PageMap uploaded[kKindCount];  // what the last upload read
};

State& Shared() {
  static State state;
  return state;
}

void Clear(Kind kind) {
  State& s = Shared();
  std::lock_guard<std::mutex> guard(s.lock);
  s.pending[kind].clear();
}

void Set(Kind kind, int page, const void* data, int size) {
  State& s = Shared();
  std::lock_guard<std::mutex> guard(s.lock);
  if (data == nullptr || size <= 0) {
    s.pending[kind].erase(page);
    return;
  }
  const auto* bytes = static_cast<const uint8_t*>(data);
  s.pending[kind][page].assign(bytes, bytes + size);
}

void Get(Kind kind, int page, const void** data, int* size) {
  State& s = Shared();
  std::lock_guard<std::mutex> guard(s.lock);
  if (data) *data = nullptr;
  if (size) *size = 0;
  auto it = s.uploaded[kind].find(page);
  if (it == s.uploaded[kind].end() || it->second.empty()) return;
  if (data) *data = it->second.data();
  if (size) *size = static_cast<int>(it->second.size());
}

}  // namespace

EXPORT const char16_t* GetPlcName() { return u"Exchange"; }
EXPORT const char16_t* GetPlcInfor() { return u"Exchange library stand-in"; }
EXPORT void SetLang(int language) {
  if (language == 1 || language == 2) Shared().language = language;
}
EXPORT void SetFolder(const char16_t* folder) { Shared().folder = folder ? folder : u""; }
EXPORT void SetCommPort(int, const char16_t*, int, int) {}
EXPORT void SetCommPortAdvabced(const int*, int) {}

EXPORT void ClearData() { Clear(kData); }
EXPORT void SetPageData(int page, const void* data, int size) { Set(kData, page, data, size); }
EXPORT void GetPageData(int page, const void** data, int* size) { Get(kData, page, data, size); }
EXPORT void ClearSystem() { Clear(kSystem); }
EXPORT void SetPageSystem(int page, const void* data, int size) { Set(kSystem, page, data, size); }
EXPORT void GetPageSystem(int page, const void** data, int* size) { Get(kSystem, page, data, size); }
EXPORT void ClearProgramConst() { Clear(kConst); }
EXPORT void SetPageProgramConst(int page, const void* data, int size) { Set(kConst, page, data, size); }
EXPORT void GetPageProgramConst(int page, const void** data, int* size) { Get(kConst, page, data, size); }
EXPORT void ClearProgramArgument() { Clear(kArgument); }
EXPORT void SetPageProgramArgument(int page, const void* data, int size) { Set(kArgument, page, data, size); }
EXPORT void GetPageProgramArgument(int page, const void** data, int* size) { Get(kArgument, page, data, size); }
EXPORT void ClearProgramInstruction() { Clear(kInstruction); }
EXPORT void SetPageProgramInstruction(int page, const void* data, int size) { Set(kInstruction, page, data, size); }
EXPORT void GetPageProgramInstruction(int page, const void** data, int* size) { Get(kInstruction, page, data, size); }

EXPORT bool ExcuteUserDownload() {
  State& s = Shared();
  std::lock_guard<std::mutex> guard(s.lock);
  for (int k = 0; k < kKindCount; ++k) s.device[k] = s.pending[k];
  return true;
}

EXPORT bool ExcuteUserUpload() {
  State& s = Shared();
  std::lock_guard<std::mutex> guard(s.lock);
  for (int k = 0; k < kKindCount; ++k) s.uploaded[k] = s.device[k];
  return true;
}
