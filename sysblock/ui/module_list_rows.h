// The six columns of a row of the "System module" list: number, model, X, Y, AI and AQ
// address ranges, as the record's frame bytes give them.
#pragma once

#include <array>
#include <string>

#include "sysblock/model/modules/module_types.h"

namespace corvell {

using ModuleListRow = std::array<std::wstring, 6>;

// An empty row past column 0 for a record too short to hold its frame or of an unknown type.
ModuleListRow ModuleListRowTexts(const ModuleRecord& record);

}  // namespace corvell
