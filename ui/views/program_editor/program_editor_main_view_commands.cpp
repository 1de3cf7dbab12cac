// The commands of the program editor view: undo and redo, the network and element clipboard,
// the text-mode clipboard, select all, find and replace, the element tools and keys, rows,
// columns and networks, interrupt routines and subroutines, zoom and the page passwords; and
// the two context menus that offer them.
#include <QAction>

#include "core/link/app_environment.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/utilities.h"
#include "core/link/comm_state.h"
#include "core/program/edit_advice.h"
#include "core/program/ladder_metrics.h"
#include "core/program/program_block.h"
#include "core/program/program_page.h"
#include "core/project/clipboard_records.h"
#include "core/project/local_var_table.h"
#include "core/project/message_box.h"
#include "core/project/project.h"
#include "core/project/stream_text_places.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/views/program_editor/program_editor_main_view.h"
#include "ui/views/program_editor/program_page_lock.h"
#include "ui/views/program_editor/program_password_dialogs.h"
#include "ui/widgets/command_icons.h"

namespace Brenno {

namespace {

constexpr intptr_t kNoValue = 0;
constexpr wchar_t kTextSeparator[] = L"\r\n";

QString Pick(const wchar_t* english, const wchar_t* chinese) {
  return QString::fromWCharArray(PickText(english, chinese));
}

}  // namespace

// ---- Context menus ----------------------------------------------------------------------------

QAction* CProgramEditorMainView::AddMenuCommand(QMenu* menu, int offset, const wchar_t* english,
                                                const wchar_t* chinese) {
  QAction* action = menu->addAction(Pick(english, chinese));
  action->setObjectName(QStringLiteral("cmd%1").arg(offset));
  action->setData(env_.CommandIdBase() + offset);
  action->setIcon(CommandIcon(offset));
  action->setCheckable(ZoomPercentOfCommand(offset) != 0 || (offset >= PvToolSelect && offset <= PvToolBox));
  connect(action, &QAction::triggered, this, [this, offset] { OnCommand(offset); });
  menuActions_.push_back(action);
  return action;
}

void CProgramEditorMainView::BuildContextMenus() {
  auto undoRedo = [this](QMenu* m) {
    AddMenuCommand(m, PvUndo, L"&Undo\tCtrl+Z", L"撤销(&U)\tCtrl+Z");
    AddMenuCommand(m, PvRedo, L"&Redo\tCtrl+Y", L"重复(&R)\tCtrl+Y");
    m->addSeparator();
  };
  auto clip = [this](QMenu* m) {
    AddMenuCommand(m, PvCut, L"Cu&t\tCtrl+X", L"剪切(&T)\tCtrl+X");
    AddMenuCommand(m, PvCopy, L"&Copy\tCtrl+C", L"复制(&C)\tCtrl+C");
    AddMenuCommand(m, PvPaste, L"&Paste\tCtrl+V", L"粘贴(&P)\tCtrl+V");
  };
  auto selectFind = [this](QMenu* m) {
    AddMenuCommand(m, PvSelectAll, L"Select &All\tCtrl+A", L"全选(&A)\tCtrl+A");
    m->addSeparator();
    AddMenuCommand(m, PvFindReplace, L"&Find And Replace\tCtrl+F", L"查找替换(&F)\tCtrl+F");
    m->addSeparator();
  };
  auto pages = [this](QMenu* m, bool insert) {
    if (insert) {
      AddMenuCommand(m, PvInsertInterrupt, L"&Interrupt", L"中断(&I)");
      AddMenuCommand(m, PvInsertSubroutine, L"&Subroutine", L"子程序(&S)");
    } else {
      AddMenuCommand(m, PvDeleteInterrupt, L"&Interrupt", L"中断(&I)");
      AddMenuCommand(m, PvDeleteSubroutine, L"&Subroutine", L"子程序(&S)");
    }
  };
  auto passwords = [this](QMenu* m) {
    AddMenuCommand(m, PvShowContext, L"Show Context", L"显示内容");
    AddMenuCommand(m, PvPasswordProtected, L"Password Protected", L"密码保护");
  };

  stlMenu_ = new QMenu(this);
  stlMenu_->setObjectName(QStringLiteral("StlContextMenu"));
  undoRedo(stlMenu_);
  clip(stlMenu_);
  QMenu* text = stlMenu_->addMenu(Pick(L"Text &Mode", L"文本模式(&M)"));
  AddMenuCommand(text, PvTextCut, L"Cu&t", L"剪切(&T)");
  AddMenuCommand(text, PvTextCopy, L"&Copy", L"复制(&C)");
  AddMenuCommand(text, PvTextPaste, L"&Paste", L"粘贴(&P)");
  selectFind(stlMenu_);
  QMenu* insert = stlMenu_->addMenu(Pick(L"&Insert", L"插入(&I)"));
  AddMenuCommand(insert, PvInsertNetwork, L"&Network", L"网络(&N)");
  AddMenuCommand(insert, PvInsertNetworkBelow, L"Network &Below", L"网络于下方(&B)");
  insert->addSeparator();
  pages(insert, true);
  QMenu* remove = stlMenu_->addMenu(Pick(L"&Delete", L"删除(&D)"));
  AddMenuCommand(remove, PvDeleteNetwork, L"&Network", L"网络(&N)");
  remove->addSeparator();
  pages(remove, false);
  stlMenu_->addSeparator();
  passwords(stlMenu_);

  ladMenu_ = new QMenu(this);
  ladMenu_->setObjectName(QStringLiteral("LadderContextMenu"));
  undoRedo(ladMenu_);
  clip(ladMenu_);
  selectFind(ladMenu_);
  insert = ladMenu_->addMenu(Pick(L"&Insert", L"插入(&I)"));
  AddMenuCommand(insert, PvInsertRow, L"&Row", L"行(&R)");
  AddMenuCommand(insert, PvInsertColumn, L"&Column", L"列(&C)");
  insert->addSeparator();
  AddMenuCommand(insert, PvInsertNetwork, L"&Network", L"网络(&N)");
  AddMenuCommand(insert, PvInsertNetworkBelow, L"Network &Below", L"网络于下方(&B)");
  insert->addSeparator();
  pages(insert, true);
  remove = ladMenu_->addMenu(Pick(L"&Delete", L"删除(&D)"));
  AddMenuCommand(remove, PvDeleteRow, L"&Row", L"行(&R)");
  AddMenuCommand(remove, PvDeleteColumn, L"&Column", L"列(&C)");
  remove->addSeparator();
  AddMenuCommand(remove, PvDeleteNetwork, L"&Network", L"网络(&N)");
  remove->addSeparator();
  pages(remove, false);
  ladMenu_->addSeparator();
  QMenu* place = ladMenu_->addMenu(Pick(L"Place &Element", L"放置元件(&P)"));
  QMenu* siemens = place->addMenu(Pick(L"&SIEMENS Style", L"西门子风格(&S)"));
  AddMenuCommand(siemens, PvErase, L"&Erase\tDELETE", L"擦除(&E)\tDELETE");
  siemens->addSeparator();
  AddMenuCommand(siemens, PvToolSelect, L"&Select\tESC", L"选择(&S)\tESC");
  AddMenuCommand(siemens, PvToolVertLine, L"&Vert Line\tV", L"竖直线(&V)\tV");
  AddMenuCommand(siemens, PvToolHorzLine, L"&Horz Line\tH", L"水平线(&H)\tH");
  AddMenuCommand(siemens, PvToolContact, L"Horz &Contact\tF9", L"水平触点(&C)\tF9");
  AddMenuCommand(siemens, PvToolCoil, L"Horz C&oil\tF10", L"水平线圈(&O)\tF10");
  AddMenuCommand(siemens, PvToolBox, L"Horz &Block\tF11", L"水平功能块(&B)\tF11");
  QMenu* mitsubishi = place->addMenu(Pick(L"&MITSUBISHI Style", L"三菱风格(&M)"));
  AddMenuCommand(mitsubishi, PvOpenContact, L"Normal &Open Contact\tF5", L"常开触点(&O)\tF5");
  AddMenuCommand(mitsubishi, PvCloseContact, L"Normal &Close Contact\tF6", L"常闭触点(&C)\tF6");
  AddMenuCommand(mitsubishi, PvPositiveContact, L"&Positive Transition Contact\tF2", L"上升沿触点(&P)\tF2");
  AddMenuCommand(mitsubishi, PvNegativeContact, L"&Negative Transition Contact\tF3", L"下降沿触点(&N)\tF3");
  AddMenuCommand(mitsubishi, PvOutputCoil, L"O&utput Coil\tF7", L"输出线圈(&U)\tF7");
  AddMenuCommand(mitsubishi, PvFunctionBlock, L"Function &Block\tF8", L"功能块(&B)\tF8");
  mitsubishi->addSeparator();
  AddMenuCommand(mitsubishi, PvVertLineKey, L"&Vert Line\tV", L"竖直线(&V)\tV");
  AddMenuCommand(mitsubishi, PvHorzLineKey, L"&Horz Line\tH", L"水平线(&H)\tH");
  AddMenuCommand(mitsubishi, PvInvertLine, L"&Invert Line\tF4", L"能流取反(&I)\tF4");
  ladMenu_->addSeparator();
  QMenu* zoom = ladMenu_->addMenu(NamedIcon(QStringLiteral("zoom")), Pick(L"&Zoom", L"缩放(&Z)"));
  const wchar_t* zoomTexts[] = {L"&1 25%",  L"&2 50%",  L"&3 75%",  L"&4 100%",
                                L"&5 125%", L"&6 150%", L"&7 175%", L"&8 200%"};
  for (size_t i = 0; i < ZoomCommands().size(); ++i)
    AddMenuCommand(zoom, ZoomCommands()[i], zoomTexts[i], zoomTexts[i]);
  ladMenu_->addSeparator();
  passwords(ladMenu_);
}

QMenu* CProgramEditorMainView::ContextMenuForPage() const {
  if (!PageExists()) return nullptr;
  const int mode = ViewMode();
  return mode == kViewModeStl ? stlMenu_ : mode == kViewModeLad ? ladMenu_ : nullptr;
}

void CProgramEditorMainView::UpdateMenuStates(QMenu*) {
  for (QAction* action : menuActions_) {
    CommandStatus status;
    UpdateCommand(action->data().toInt() - env_.CommandIdBase(), status);
    action->setEnabled(status.Enabled);
    if (action->isCheckable()) action->setChecked(status.Checked);
  }
}

// ---- Command states ---------------------------------------------------------------------------

ProgramCommandGates CProgramEditorMainView::CommandGates() const {
  ProgramCommandGates g;
  g.Shown = isVisible();
  g.CommState = env_.CommState.load();
  g.Tool = tool_;
  g.ViewZoom = env_.Config.ViewZoom;
  if (!PageExists()) {
    g.Shown = false;
    return g;
  }
  g.Locked = IsLocked();
  if (!CanEditProgramBlock(g.CommState, g.Locked)) return g;
  const ProgramBlock& program = CurrentProject().Program;
  const ProgramPage& page = program.GetProgramPage(blockKey_);
  g.UndoPosition = page.UndoLog.Position;
  g.UndoSteps = static_cast<int>(page.UndoLog.Steps.size());
  g.CanErase = page.CanEraseSelectedElements();
  g.CanDeleteRow = page.CanDeleteLadderRow();
  g.CanInsertRow = page.CanInsertLadderRow();
  g.CanDeleteColumn = page.CanDeleteLadderColumn();
  g.CanInsertColumn = page.CanInsertLadderColumn();
  g.CanAddInterrupt = program.CanAddInterrupt();
  g.CanAddSubroutine = program.CanAddSubroutine();
  g.InInterruptTable = program.InterruptTable.HasWorkingPage(blockKey_);
  g.InSubroutineTable = program.SubroutineTable.HasWorkingPage(blockKey_);
  return g;
}

bool CProgramEditorMainView::UpdateCommand(int offset, CommandStatus& status) const {
  if (!IsProgramViewCommand(offset)) return false;
  status = ProgramCommandStatus(offset, CommandGates());
  return true;
}

// ---- Commands ---------------------------------------------------------------------------------

bool CProgramEditorMainView::OnCommand(int offset) {
  if (!IsProgramViewCommand(offset)) return false;
  if (!PageExists()) return true;
  switch (offset) {
    case PvCut:
      CutOrCopy(true);
      return true;
    case PvCopy:
      CutOrCopy(false);
      return true;
    case PvPaste:
      Paste();
      return true;
    case PvTextCut:
    case PvTextCopy:
    case PvTextPaste:
      TextMode(offset);
      return true;
    case PvHorzLineKey:
      OnKeyDown(kKeyH, false);
      return true;
    case PvVertLineKey:
      OnKeyDown(kKeyV, false);
      return true;
    case PvInvertLine:
      OnKeyDown(kKeyF4, false);
      return true;
    case PvShowContext:
      ShowContext();
      return true;
    case PvPasswordProtected:
      PasswordProtected();
      return true;
    default:
      break;
  }
  setFocus(Qt::OtherFocusReason);
  if (const int zoom = ZoomPercentOfCommand(offset); zoom != 0) {
    Zoom(zoom);
    return true;
  }
  if (!CanEditBlock()) return true;
  ProgramPage& page = Page();
  auto publishIf = [this](bool changed) {
    if (changed) PublishChange();
  };
  switch (offset) {
    case PvUndo:
      publishIf(page.Undo());
      break;
    case PvRedo:
      publishIf(page.Redo());
      break;
    case PvSelectAll:
      page.SelectAllNetworks();
      UpdateScrollBars();
      viewport()->update();
      break;
    case PvFindReplace:
      NotifyMainFrame(EvOpenFindReplace, kNoValue);
      break;
    case PvErase:
      publishIf(page.EraseSelectedElements());
      break;
    case PvToolSelect:
    case PvToolVertLine:
    case PvToolHorzLine:
    case PvToolContact:
    case PvToolCoil:
    case PvToolBox:
      SetTool(offset - PvToolSelect);
      break;
    case PvDeleteRow:
      publishIf(page.DeleteLadderRow());
      break;
    case PvInsertRow:
      publishIf(page.InsertLadderRow());
      break;
    case PvDeleteColumn:
      publishIf(page.DeleteLadderColumn());
      break;
    case PvInsertColumn:
      publishIf(page.InsertLadderColumn());
      break;
    case PvDeleteNetwork:
      publishIf(page.DeleteNetworks());
      break;
    case PvInsertNetwork:
      if (page.InsertNetwork()) PublishNewNetworks();
      break;
    case PvInsertNetworkBelow:
      if (page.InsertNetworkBelow()) PublishNewNetworks();
      break;
    case PvOpenContact:
      OnKeyDown(kKeyF5, false);
      break;
    case PvCloseContact:
      OnKeyDown(kKeyF6, false);
      break;
    case PvPositiveContact:
      OnKeyDown(kKeyF2, false);
      break;
    case PvNegativeContact:
      OnKeyDown(kKeyF3, false);
      break;
    case PvOutputCoil:
      OnKeyDown(kKeyF7, false);
      break;
    case PvFunctionBlock:
      OnKeyDown(kKeyF8, false);
      break;
    case PvInsertInterrupt:
    case PvInsertSubroutine:
    case PvDeleteInterrupt:
    case PvDeleteSubroutine:
      ProgramPages(offset);
      break;
    default:
      break;
  }
  return true;
}

void CProgramEditorMainView::SetTool(int tool) {
  tool_ = tool;
  UpdatePointerShape();
}

bool CProgramEditorMainView::HasValidRange() const {
  const PageViewState& s = Page().ViewState;
  return s.SelectionFirst >= 0 && s.SelectionLast >= 0 && s.SelectionFirst < s.SelectionLast &&
         s.SelectionFirst < Page().NetworkCount() && s.SelectionLast <= Page().NetworkCount();
}

void CProgramEditorMainView::CutOrCopy(bool cut) {
  if (!CanEditBlock()) return;
  ProgramPage& page = Page();
  try {
    if (HasValidRange()) {
      setFocus(Qt::OtherFocusReason);
      // The block is built and placed before anything is cut, so that a network the clipboard
      // cannot take is never removed from the page.
      std::vector<Network> networks;
      page.CopyNetworks(networks);
      if (networks.empty()) return;
      if (!PutClipboardBlock(MakeClipNetworksBlock(networks, page.ViewState.SelectionFirst))) return;
      if (cut && page.CutNetworks(networks)) PublishChange();
      return;
    }
    if (page.IsAtCommentLevel()) {
      if (commentEdit_.isVisible()) cut ? commentEdit_.cut() : commentEdit_.copy();
      return;
    }
    if (!page.HasCursor()) return;
    if (ViewMode() == kViewModeStl) {
      if (stlEdit_.isVisible()) cut ? stlEdit_.cut() : stlEdit_.copy();
      return;
    }
    if (!IsLadder()) return;
    if (operandEdit_.isVisible()) {
      cut ? operandEdit_.cut() : operandEdit_.copy();
      return;
    }
    setFocus(Qt::OtherFocusReason);
    std::vector<LadElement> elements;
    const bool copyChanged = page.CopyLadderCells(elements);
    if (copyChanged) PublishChange();
    if (elements.empty()) return;
    if (!PutClipboardBlock(MakeClipElementsBlock(elements))) return;
    if (cut && page.CutLadderCells(elements)) PublishChange();
  } catch (const ExceptionParseStreamError& error) {
    // A text the clipboard block cannot hold: nothing is cut, and the user is told which.
    TellUser(error.Message(), kMessageIconStop);
  }
}

void CProgramEditorMainView::Paste() {
  if (!CanEditBlock()) return;
  ProgramPage& page = Page();
  ClipBlockContent content;
  if (HasValidRange()) {
    setFocus(Qt::OtherFocusReason);
    content = ReadClipboardForPaste(false, page.ViewState.SelectionFirst);
  } else {
    if (page.IsAtCommentLevel()) {
      if (commentEdit_.isVisible()) commentEdit_.paste();
      return;
    }
    if (!page.HasCursor()) return;
    if (ViewMode() == kViewModeStl) {
      if (stlEdit_.isVisible()) stlEdit_.paste();
      return;
    }
    if (!IsLadder()) return;
    if (operandEdit_.isVisible()) {
      operandEdit_.paste();
      return;
    }
    setFocus(Qt::OtherFocusReason);
    content = ReadClipboardForPaste(true, page.ViewState.SelectionFirst);
  }
  // A block that does not read pastes nothing; one whose texts are partly unreadable pastes
  // what reads and says which texts came in empty.
  bool pasted = false;
  if (content.Held == ClipBlockContent::Networks) {
    pasted = !content.NetworkList.empty() && page.PasteNetworks(content.NetworkList);
    if (pasted) PublishNewNetworks();
  } else if (content.Held == ClipBlockContent::Elements && !content.ElementList.empty()) {
    pasted = PlaceAsking(page.ElementsRemovedByPaste(content.ElementList), PlacedPasteText(),
                         [&] { return page.PasteLadderCells(content.ElementList); });
  }
  if (pasted && !content.EmptiedTexts.empty()) TellUser(EmptiedTextsMessage(content.EmptiedTexts), kMessageIconWarning);
}

void CProgramEditorMainView::TextMode(int offset) {
  if (!CanEditBlock() || !HasValidRange()) return;
  setFocus(Qt::OtherFocusReason);
  ProgramPage& page = Page();
  std::wstring text;
  if (offset == PvTextPaste) {
    if (GetClipboardText(text) && !text.empty() && page.PasteNetworksFromText(text, kTextSeparator)) {
      PublishNewNetworks();
    }
    return;
  }
  // Copied first and placed before a cut removes anything, like the network clipboard.
  page.CopyNetworksAsText(text, kTextSeparator);
  if (text.empty() || !PutClipboardText(text)) return;
  if (offset == PvTextCut && page.CutNetworksAsText(text, kTextSeparator)) PublishChange();
}

void CProgramEditorMainView::Zoom(int percent) {
  if (!CanShowBlock()) return;
  env_.Config.ViewZoom = percent;
  const Project& project = CurrentProject();
  SetLadderMetrics(percent, project.Type != nullptr && project.Type->IsFxMode());
  UpdateScrollBars();
  viewport()->update();
}

void CProgramEditorMainView::ProgramPages(int offset) {
  Project& project = CurrentProject();
  ProgramBlock& program = project.Program;
  const bool symbolic = env_.Config.SymbolicAddr != 0;
  switch (offset) {
    case PvInsertInterrupt: {
      const int key = program.InterruptTable.AddFirstFreeBlockPage();
      if (key == -1) return;
      program.InterruptTable.StampBlockPages(symbolic, program.ViewMode);
      NormalizeAllLocalVarTables(program, project.Symbols);
      NotifyMainFrame(EvProgramPageAdded, static_cast<intptr_t>(key));
      return;
    }
    case PvInsertSubroutine: {
      const int key = program.AddSubroutine();
      if (key != -1) NotifyMainFrame(EvProgramPageAdded, static_cast<intptr_t>(key));
      return;
    }
    case PvDeleteInterrupt: {
      if (!program.InterruptTable.HasWorkingPage(blockKey_)) return;
      const int next = program.InterruptTable.RemoveBlockPage(blockKey_);
      if (next == -1) return;
      program.InterruptTable.StampBlockPages(symbolic, program.ViewMode);
      NormalizeAllLocalVarTables(program, project.Symbols);
      // The hub rebuilds the tabs, which lets this view go.
      NotifyMainFrame(EvProgramPageRemoved, static_cast<intptr_t>(next));
      return;
    }
    case PvDeleteSubroutine: {
      if (!program.SubroutineTable.HasWorkingPage(blockKey_)) return;
      const int next = program.RemoveSubroutine(blockKey_);
      if (next != -1) NotifyMainFrame(EvProgramPageRemoved, static_cast<intptr_t>(next));
      return;
    }
    default:
      return;
  }
}

void CProgramEditorMainView::ShowContext() {
  if (!HasProgramUnitPasswordSlot(blockKey_)) return;
  if (!RunProgramPasswordInput(this, env_, blockKey_)) return;
  UpdateScrollBars();
  viewport()->update();
}

void CProgramEditorMainView::PasswordProtected() {
  // Only subroutine pages carry a password; the runner first unlocks a locked unit and shows
  // "设置成功" after OK.
  if (((blockKey_ >> 16) & 0xFFFF) != 1) return;
  if (!RunProgramPasswordProtect(this, env_, blockKey_)) return;
  UpdateScrollBars();
  viewport()->update();
}

}  // namespace Brenno
