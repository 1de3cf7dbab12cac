// Feeds arbitrary bytes to the configuration reader. Whatever reads must also write, and the
// written file must read back to the same values and write to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/env/exception_error.h"
#include "core/env/plc_config.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Brenno::PlcConfig config;
  try {
    config.ReadPlcConfigFromBytes(data, size, L"fuzz/Orvisto.xml");
  } catch (const Brenno::ExceptionError&) {
    if (!(config == Brenno::PlcConfig())) std::abort();  // a failed read changes nothing
    return 0;
  }
  if (config.ParseArea.Parser != nullptr) std::abort();

  std::vector<uint8_t> written;
  if (!config.FormatPlcConfig(written)) std::abort();
  Brenno::PlcConfig again;
  try {
    again.ReadPlcConfigFromBytes(written.data(), written.size(), L"fuzz/Orvisto.xml");
  } catch (const Brenno::ExceptionError&) {
    std::abort();
  }
  std::vector<uint8_t> rewritten;
  if (!(again == config) || !again.FormatPlcConfig(rewritten) || rewritten != written) std::abort();
  return 0;
}
