#include "ui/views/table_frames.h"

#include "ui/shell/main_frame.h"
#include "ui/views/symbols/symbol_fun_view.h"
#include "ui/views/symbols/symbol_var_view.h"
#include "ui/views/var_table/program_editor_var_view.h"
#include "ui/views/xref/cross_refer_view.h"

namespace Brenno {

namespace {

template <class Frame>
ChildFrameParts MakeParts() {
  auto* window = new Frame;
  return ChildFrameParts{window, window,
                         [window](int offset, CommandStatus& status) { return window->UpdateEditorCommand(offset, status); },
                         [window](int offset) { return window->OnEditorCommand(offset); }};
}

}  // namespace

void RegisterTableViewFrames(CMainFrame& frame) {
  frame.SetChildFrameFactory(ChildFrameKind::FunctionSymbols, [] { return MakeParts<CSymbolFunFrm>(); });
  frame.SetChildFrameFactory(ChildFrameKind::VariableSymbols, [] { return MakeParts<CSymbolVarFrm>(); });
  frame.SetChildFrameFactory(ChildFrameKind::CrossReference, [] { return MakeParts<CCrossReferFrm>(); });
  InstallProgramEditorVarView();
}

bool UpdateTableFrameCommand(QWidget* child, int offset, CommandStatus& status) {
  if (auto* fun = dynamic_cast<CSymbolFunFrm*>(child)) return fun->UpdateEditorCommand(offset, status);
  if (auto* var = dynamic_cast<CSymbolVarFrm*>(child)) return var->UpdateEditorCommand(offset, status);
  if (auto* xref = dynamic_cast<CCrossReferFrm*>(child)) return xref->UpdateEditorCommand(offset, status);
  return false;
}

bool RunTableFrameCommand(QWidget* child, int offset) {
  if (auto* fun = dynamic_cast<CSymbolFunFrm*>(child)) return fun->OnEditorCommand(offset);
  if (auto* var = dynamic_cast<CSymbolVarFrm*>(child)) return var->OnEditorCommand(offset);
  if (auto* xref = dynamic_cast<CCrossReferFrm*>(child)) return xref->OnEditorCommand(offset);
  return false;
}

}  // namespace Brenno
