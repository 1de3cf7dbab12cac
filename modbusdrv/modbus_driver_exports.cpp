// The library's exported C functions, its initialisation on load and its exit on unload.
#include <cstring>
#include <filesystem>

#include "modbusdrv/driver/driver_entry.h"
#include "modbusdrv/driver/driver_state.h"
#include "modbusdrv/modbus_driver_api.h"
#include "modbusdrv/ui/dialog_host.h"
#include "platform/file_util.h"
#include "platform/text_codec.h"

using namespace modbusdrv;

namespace {

std::wstring FromHost(const char* text) {
  if (text == nullptr) return {};
  auto wide = platform::Cp936ToWide(text);
  // A text that is not CP936 names no device: it is kept as is, so it resolves to nothing.
  return wide ? *wide : platform::FromUtf8Lossy(text);
}

// Longest address (with its NUL) the documented output buffer holds.
constexpr size_t kAddressBufferSize = 268;

bool ToHost(const std::wstring& text, char* out) {
  if (out == nullptr) return false;
  auto bytes = platform::WideToCp936(text);
  if (!bytes || bytes->size() + 1 > kAddressBufferSize) return false;
  std::memcpy(out, bytes->c_str(), bytes->size() + 1);
  return true;
}

__attribute__((constructor)) void LibraryLoad() {
  const std::wstring folder = platform::GetModuleDirectoryOf(reinterpret_cast<const void*>(&LibraryLoad));
  if (!folder.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(platform::ToUtf8Lossy(folder), ec);
  }
  DriverInit(folder.empty() ? std::wstring() : platform::JoinPath(folder, L"Modbus.cfg"));
}

__attribute__((destructor)) void LibraryUnload() {
  DriverExit();
  DriverState::Destroy();
}

}  // namespace

extern "C" {

int DrvRegValSinkEx(DrvValueSink sink) {
  DriverState::Instance().ValueSink = reinterpret_cast<ValueSinkFn>(sink);
  return 0;
}

int DrvRegMsgSinkEx(DrvMessageSink sink) {
  DriverState::Instance().MessageSink = reinterpret_cast<MessageSinkFn>(sink);
  return 0;
}

int DrvStartEx(void) {
  DriverStartAll();
  return 0;
}

int DrvStopEx(void) {
  DriverStopAll();
  return 0;
}

int DrvAddTagEx(const char* address, uint32_t tagId) { return DriverAddTag(FromHost(address), tagId); }

int DrvDelTagEx(uint32_t tagId) { return DriverDeleteTag(tagId); }

int DrvEditTagEx(const char* address, uint32_t tagId) { return DriverEditTag(FromHost(address), tagId); }

int DrvGetValByIDEx(uint32_t tagId, void* value, void* unused, uint32_t* type, uint32_t* quality) {
  uint8_t scratch[8] = {};
  uint8_t* buffer = value != nullptr ? static_cast<uint8_t*>(value) : scratch;
  return DriverGetValue(tagId, buffer, type, quality);
}

int DrvSetValByIDEx(uint32_t tagId, const void* value, int length) {
  return DriverSetValue(tagId, static_cast<const uint8_t*>(value), length);
}

int DrvEnuTagEx(char* address) {
  std::wstring chosen;
  if (!RunTagBrowseDialog(chosen)) return 1;
  return ToHost(chosen, address) ? 0 : 1;
}

int DrvGetAddsFmtEx(char* address) {
  if (address != nullptr) std::memcpy(address, "Device0:400001", 15);
  return 0;
}

int DrvGetConfigEx(void) {
  const int modified = RunConfigDialog();
  DriverSetConfig();
  return modified;
}

int DrvSetConfigEx(void) { return DriverSetConfig(); }

int DrvStart(void) {
  DrvStartEx();
  return 1;
}

int DrvStop(void) { return DrvStopEx(); }

int DrvClear(void) {
  DrvDelTagEx(0xFFFFFFFFu);
  return 0;
}

int DrvConfig(void) {
  DrvGetConfigEx();
  DrvSetConfigEx();
  return 0;
}

int DrvEnuTag(char* address) { return DrvEnuTagEx(address) == 0 ? 1 : 0; }

uint32_t DrvAddTag(const char* address) {
  uint32_t id;
  {
    std::lock_guard<std::recursive_mutex> lock(DriverState::Instance().TagLock);
    id = ++DriverState::Instance().TagCounter;
  }
  DrvAddTagEx(address, id);
  return id;
}

int DrvDelTag(int, uint32_t tagId) { return DrvDelTagEx(tagId); }

int DrvGetVal(uint32_t tagId, double* value) { return DriverGetDouble(tagId, value); }

int DrvSetVal(uint32_t tagId, double value) { return DriverSetDouble(tagId, value); }

int DrvAddFmt(void) { return 0; }

int DrvChkFmt(void) { return 1; }
int DrvGetValByAddsEx(void) { return 1; }
int DrvSetAddsFmtEx(void) { return 1; }
int DrvSetValByAddsEx(void) { return 1; }
int DrvGetMsg(void) { return 0; }
int DrvChkAddsFmtEx(void) { return 0; }
int DrvGetDesc(void) { return 0; }

}  // extern "C"
