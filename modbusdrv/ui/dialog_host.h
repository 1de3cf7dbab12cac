// Runs the driver's dialogs for the exported functions, with an application object of the
// library's own when the host has none.
#pragma once

#include <string>

namespace modbusdrv {

// Shows the configuration dialog modally; returns its modified mark.
int RunConfigDialog();
// Shows the tag browse dialog modally; true with the chosen address on OK.
bool RunTagBrowseDialog(std::wstring& address);

}  // namespace modbusdrv
