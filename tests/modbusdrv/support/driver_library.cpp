#include "driver_library.h"

#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace modbusdrv_test {

SinkLog& SinkLog::Instance() {
  static SinkLog log;
  return log;
}

void SinkLog::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  values_.clear();
  messages_.clear();
}

SinkRecord SinkLog::Last(uint32_t id) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = values_.find(id);
  return it == values_.end() ? SinkRecord{} : it->second;
}

std::vector<std::string> SinkLog::Messages() {
  std::lock_guard<std::mutex> lock(mutex_);
  return messages_;
}

int SinkLog::ValueSink(uint32_t tagId, void* value, uint32_t size, uint32_t* type, uint32_t* quality) {
  SinkLog& log = Instance();
  std::lock_guard<std::mutex> lock(log.mutex_);
  SinkRecord& r = log.values_[tagId];
  const auto* bytes = static_cast<const uint8_t*>(value);
  r.value.assign(bytes, bytes + 8);
  r.size = size;
  r.type = *type;
  r.quality = *quality;
  ++r.reports;
  return 0;
}

int SinkLog::MessageSink(const char* text, int level) {
  SinkLog& log = Instance();
  std::lock_guard<std::mutex> lock(log.mutex_);
  log.messages_.push_back(std::string(text) + (level == 1 ? "" : " (level?)"));
  return 0;
}

DriverLibrary::DriverLibrary(const std::string& folder, const char* config) : folder_(folder) {
  // A host keeps the toolkit the driver's dialogs use loaded for good: Qt is not made to be
  // unloaded and loaded again, and each such cycle would leave its start-up allocations behind.
  static void* toolkit = dlopen("libQt6Widgets.so.6", RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
  (void)toolkit;
  SinkLog::Instance().Clear();
  const std::string copy = folder + "/libModbusDriver.so";
  std::filesystem::copy_file(MODBUSDRV_LIBRARY_PATH, copy, std::filesystem::copy_options::overwrite_existing);
  if (config != nullptr) WriteConfig(config);
  handle_ = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) throw std::runtime_error(std::string("dlopen: ") + dlerror());
  RegValSink = Get<decltype(RegValSink)>("DrvRegValSinkEx");
  RegMsgSink = Get<decltype(RegMsgSink)>("DrvRegMsgSinkEx");
  StartEx = Get<decltype(StartEx)>("DrvStartEx");
  StopEx = Get<decltype(StopEx)>("DrvStopEx");
  AddTagEx = Get<decltype(AddTagEx)>("DrvAddTagEx");
  DelTagEx = Get<decltype(DelTagEx)>("DrvDelTagEx");
  EditTagEx = Get<decltype(EditTagEx)>("DrvEditTagEx");
  GetValByIDEx = Get<decltype(GetValByIDEx)>("DrvGetValByIDEx");
  SetValByIDEx = Get<decltype(SetValByIDEx)>("DrvSetValByIDEx");
  GetAddsFmtEx = Get<decltype(GetAddsFmtEx)>("DrvGetAddsFmtEx");
  SetConfigEx = Get<decltype(SetConfigEx)>("DrvSetConfigEx");
  GetVal = Get<decltype(GetVal)>("DrvGetVal");
  SetVal = Get<decltype(SetVal)>("DrvSetVal");
  RegValSink(&SinkLog::ValueSink);
  RegMsgSink(&SinkLog::MessageSink);
}

DriverLibrary::~DriverLibrary() {
  if (handle_ != nullptr) dlclose(handle_);
}

void* DriverLibrary::Symbol(const char* name) const {
  void* s = dlsym(handle_, name);
  if (s == nullptr) throw std::runtime_error(std::string("missing export ") + name);
  return s;
}

void DriverLibrary::WriteConfig(const std::string& text) const {
  std::ofstream out(ConfigPath(), std::ios::binary | std::ios::trunc);
  out << text;
}

}  // namespace modbusdrv_test
