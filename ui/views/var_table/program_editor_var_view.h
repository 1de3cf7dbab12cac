// The variable table above the program editor's pages: a grid of the local variables of the page
// in view. It lives in the program editor's upper row, which hands it the update codes 0x8900 to
// 0x8902 and the commands that reach it while it has the focus.
#pragma once

#include "ui/shell/main_frame_commands.h"
#include "ui/views/model_table_view.h"
#include "ui/views/program_editor/program_editor_frm.h"
#include "ui/views/table_commands.h"
#include "ui/views/var_table/program_var_table.h"

namespace Brenno {

class CProgramEditorVarView : public ModelTableView<ProgramVarTable>, public ProgramEditorVarRowView {
 public:
  explicit CProgramEditorVarView(QWidget* parent = nullptr);

  // Shows the first program page (interrupt table, else subroutine table), then builds the
  // window with the check-mark images.
  bool Create(QWidget* parent, int controlId) override;
  int ShownPageKey() const { return Rows().ShownPageKey(); }

  // 0x8900 reloads the rows, 0x8901 repaints, 0x8902 shows page `value` and reloads.
  void OnPaneUpdate(uint16_t code, intptr_t value) override;
  bool OnEditorCommand(int offset) override;
  bool UpdateEditorCommand(int offset, CommandStatus& status) override;
  static const std::vector<TableMenuItem>& MenuItems();

 protected:
  const std::vector<TableMenuItem>& ContextMenuItems() const override { return MenuItems(); }

 private:
  void SelectAndReload(int record);
};

// Makes the program editor build this view in its upper row (start-up).
void InstallProgramEditorVarView();

}  // namespace Brenno
