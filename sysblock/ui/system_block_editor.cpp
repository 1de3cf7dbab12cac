#include "sysblock/ui/system_block_editor.h"

#include "sysblock/model/corvell_app.h"
#include "sysblock/model/system_block_codec.h"
#include "sysblock/ui/application_scope.h"
#include "sysblock/ui/system_block_dlg.h"

namespace corvell {

bool RunSystemBlockEditor(CCorvellApp& app) {
  ApplicationScope application;
  CSystemBlockDlg sheet(app.Language);
  LoadPagesToSheet(app.CurrentPages, app.SamplePages, sheet.Fields);
  if (sheet.exec() != QDialog::Accepted) return false;
  StorePagesFromSheet(sheet.Fields, app.SamplePages, app.CurrentPages);
  return true;
}

}  // namespace corvell
