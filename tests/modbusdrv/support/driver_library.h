// The built driver library as an outside host sees it: copied into a folder of its own (so
// that its "Modbus.cfg" lies beside it), loaded with dlopen and bound by name.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "modbusdrv/modbus_driver_api.h"

namespace modbusdrv_test {

struct SinkRecord {
  std::vector<uint8_t> value;  // 8 bytes
  uint32_t size = 0, type = 0, quality = 1;
  int reports = 0;
};

// What the callbacks received (shared by every loaded copy; reset by each DriverLibrary).
class SinkLog {
 public:
  static SinkLog& Instance();
  void Clear();
  SinkRecord Last(uint32_t id);
  std::vector<std::string> Messages();
  static int ValueSink(uint32_t tagId, void* value, uint32_t size, uint32_t* type, uint32_t* quality);
  static int MessageSink(const char* text, int level);

 private:
  std::mutex mutex_;
  std::map<uint32_t, SinkRecord> values_;
  std::vector<std::string> messages_;
};

class DriverLibrary {
 public:
  // Copies the library into `folder`, writes `config` (bytes as given) beside it as
  // "Modbus.cfg" unless it is null, and loads it.
  DriverLibrary(const std::string& folder, const char* config);
  ~DriverLibrary();
  DriverLibrary(const DriverLibrary&) = delete;
  DriverLibrary& operator=(const DriverLibrary&) = delete;

  void* Symbol(const char* name) const;
  template <typename F>
  F Get(const char* name) const {
    return reinterpret_cast<F>(Symbol(name));
  }
  std::string ConfigPath() const { return folder_ + "/Modbus.cfg"; }
  void WriteConfig(const std::string& text) const;

  // Bound entry points.
  decltype(&DrvRegValSinkEx) RegValSink;
  decltype(&DrvRegMsgSinkEx) RegMsgSink;
  decltype(&DrvStartEx) StartEx;
  decltype(&DrvStopEx) StopEx;
  decltype(&DrvAddTagEx) AddTagEx;
  decltype(&DrvDelTagEx) DelTagEx;
  decltype(&DrvEditTagEx) EditTagEx;
  decltype(&DrvGetValByIDEx) GetValByIDEx;
  decltype(&DrvSetValByIDEx) SetValByIDEx;
  decltype(&DrvGetAddsFmtEx) GetAddsFmtEx;
  decltype(&DrvSetConfigEx) SetConfigEx;
  decltype(&DrvGetVal) GetVal;
  decltype(&DrvSetVal) SetVal;

 private:
  std::string folder_;
  void* handle_ = nullptr;
};

}  // namespace modbusdrv_test
