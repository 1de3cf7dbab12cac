// Moves system pages 0 to 3 between the library's current pages and the fields of the
// property sheet: decoded before the sheet is shown, encoded back when the user confirms.
// Pages 4 and 5 are never touched.
#pragma once

#include "sysblock/model/force_table_page.h"
#include "sysblock/model/modules/module_types.h"
#include "sysblock/model/page_map.h"
#include "sysblock/model/port_settings_page.h"
#include "sysblock/model/system_config_page.h"

namespace corvell {

// The fields of the sheet that pages 0 to 3 fill: the port page, the system configuration
// page, and on the System module page its module list and the force states shown by the
// controller's sub-dialog.
struct SystemBlockSheetFields {
  SystemBlockSheetFields() { ForceStates.fill(kNotForced); }

  PortSettingsPage PortPage;
  SystemConfigPage ConfigPage;
  ForceStateArray ForceStates;
  ::corvell::ModuleList ModuleList;
};

// Decodes pages 0 to 3 of the current pages into the fields. A page 2 whose length differs
// from the sample's is first replaced in the current pages by the sample. A page that does
// not hold its format (page 0 shorter than 32 bytes, page 1 shorter than 24, a page 3 too
// short or ending inside a record) is read from its sample instead.
void LoadPagesToSheet(PageMap& currentPages, const PageMap& samplePages, SystemBlockSheetFields& sheet);

// Encodes the fields into pages 0 to 3 of the current pages. A module list too long for the
// page 3 header leaves page 3 as it was.
void StorePagesFromSheet(const SystemBlockSheetFields& sheet, const PageMap& samplePages, PageMap& currentPages);

}  // namespace corvell
