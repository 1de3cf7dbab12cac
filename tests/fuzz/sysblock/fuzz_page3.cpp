// Feeds arbitrary bytes to the page 3 decoder, then puts every record it gives through the
// record loader, builder, limit check and renumbering. A decoded page must encode and decode
// again to the same records; a refused page must give no records.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "sysblock/model/modules/analog_limit_validation.h"
#include "sysblock/model/modules/module_list_page.h"
#include "sysblock/model/modules/module_records.h"

using namespace corvell;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto decoded = DecodeModuleListPage(std::span<const uint8_t>(data, size));
  if (!decoded.ok()) {
    if (!decoded.modules.empty() || decoded.Describe().empty()) std::abort();
    return 0;
  }
  const auto page = EncodeModuleListPage(decoded.modules);
  if (!page || page->size() > size) std::abort();
  const auto again = DecodeModuleListPage(*page);
  if (!again.ok() || again.modules != decoded.modules) std::abort();

  ModuleList list = decoded.modules;
  ModuleParameterSet params;
  for (size_t i = 0; i < list.size(); ++i) {
    const ModuleRecord& record = list[i];
    if (!LoadModuleRecord(record, params)) continue;
    const ModuleRecord rebuilt = BuildModuleRecord(record[1], params, static_cast<uint8_t>(i), list);
    if (rebuilt.size() != record.size()) std::abort();
  }
  (void)ValidateAnalogLimits(params);
  while (list.size() > 1) RemoveModuleRecord(list, 1);
  return 0;
}
