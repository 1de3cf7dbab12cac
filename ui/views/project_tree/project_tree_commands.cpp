#include "ui/views/project_tree/project_tree_commands.h"

#include "core/link/app_environment.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/link/comm_state.h"
#include "core/program/program_block.h"
#include "core/project/data_block_table.h"
#include "core/project/local_var_table.h"
#include "core/project/pid_templates.h"
#include "core/project/project.h"
#include "core/project/status_chart.h"
#include "core/project/symbol_table.h"
#include "ui/shell/fixed_texts.h"
#include "ui/shell/notify_codes.h"
#include "ui/views/project_tree/table_page_operations.h"

namespace Brenno {

namespace {

struct CommandTexts {
  int Command;
  const wchar_t* MenuEnglish;
  const wchar_t* MenuChinese;
  const wchar_t* StatusEnglish;
  const wchar_t* StatusChinese;
};

constexpr CommandTexts kCommandTexts[] = {
    {TreeCmdOpen, L"&Open", L"打开(&O)", L"Open", L"打开"},
    {TreeCmdEditSymbol, L"Edit &Symbol", L"编辑符号(&S)", L"Edit Symbol", L"编辑符号"},
    {TreeCmdEditAddress, L"Edit &Address", L"编辑地址(&A)", L"Edit Address", L"编辑地址"},
    {TreeCmdEditComment, L"Edit &Comment", L"编辑注释(&C)", L"Edit Comment", L"编辑注释"},
    {TreeCmdInsertDataBlock, L"&Data Block", L"数据块(&D)", L"Insert Data Block", L"插入数据块"},
    {TreeCmdInsertPidDataBlock, L"&PID Data Block", L"PID数据块(&P)", L"", L""},
    {TreeCmdInsertPidfDataBlock, L"PID&F Data Block", L"PIDF数据块(&F)", L"", L""},
    {TreeCmdInsertDpidDataBlock, L"DPID Data Block", L"DPID数据块", L"", L""},
    {TreeCmdDeleteDataBlock, L"&Data Block", L"数据块(&D)", L"Delete Data Block", L"删除数据块"},
    {TreeCmdInsertInterrupt, L"&Interrupt", L"中断(&I)", L"Insert Interrupt", L"插入中断"},
    {TreeCmdInsertSubroutine, L"&Subroutine", L"子程序(&S)", L"Insert Subroutine", L"插入子程序"},
    {TreeCmdDeleteInterrupt, L"&Interrupt", L"中断(&I)", L"Delete Interrupt", L"删除中断"},
    {TreeCmdDeleteSubroutine, L"&Subroutine", L"子程序(&S)", L"Delete Subroutine", L"删除子程序"},
    {TreeCmdInsertVariableTable, L"&Variable Symbol", L"变量符号(&V)", L"Insert Symbol Table", L"插入符号表"},
    {TreeCmdDeleteVariableTable, L"&Variable Symbol", L"变量符号(&V)", L"Delete Symbol Table", L"删除符号表"},
    {TreeCmdInsertStatusChart, L"Status &Chart", L"状态表(&C)", L"Insert Status Chart", L"插入状态表"},
    {TreeCmdDeleteStatusChart, L"Status &Chart", L"状态表(&C)", L"Delete Status Chart", L"删除状态表"},
};

const CommandTexts* FindTexts(int command) {
  for (const CommandTexts& texts : kCommandTexts) {
    if (texts.Command == command) return &texts;
  }
  return nullptr;
}

// The events of a page's rename, readdress and comment change, by its folder.
struct PageEvents {
  NotifyEvent Renamed;
  NotifyEvent Readdressed;
  NotifyEvent Commented;
};

PageEvents EventsOf(TreeItemKind page) {
  switch (page) {
    case TreeItemKind::DataBlockPage:
      return {EvTreeDataBlockRenamed, EvTreeDataBlockReaddressed, EvTreeDataBlockCommented};
    case TreeItemKind::ProgramPage:
      return {EvTreeProgramPageRenamed, EvTreeProgramPageReaddressed, EvTreeProgramPageCommented};
    case TreeItemKind::VariableTablePage:
      return {EvTreeVariableTableRenamed, EvTreeVariableTableReaddressed, EvTreeVariableTableCommented};
    default:
      return {EvTreeStatusChartRenamed, EvTreeStatusChartReaddressed, EvTreeStatusChartCommented};
  }
}

// Runs the operation on the paged table of a page item (not a program page).
template <class Operation>
auto OnPagedTable(Project& project, TreeItemKind kind, Operation operation) {
  switch (kind) {
    case TreeItemKind::DataBlockPage: return operation(project.DataBlocks);
    case TreeItemKind::VariableTablePage: return operation(project.Symbols);
    case TreeItemKind::StatusChartPage: return operation(project.StatusChart);
    default: throw ExceptionLogicError();
  }
}

}  // namespace

std::wstring ProjectTreeMenuText(int command) {
  const CommandTexts* texts = FindTexts(command);
  return texts == nullptr ? std::wstring() : PickText(texts->MenuEnglish, texts->MenuChinese);
}

std::wstring ProjectTreeStatusText(int command) {
  const CommandTexts* texts = FindTexts(command);
  return texts == nullptr ? std::wstring() : PickText(texts->StatusEnglish, texts->StatusChinese);
}

bool ProjectTreeCommands::Knows(int command) { return FindTexts(command) != nullptr; }

Project& ProjectTreeCommands::CurrentProjectOf() const {
  if (env_.ProjectList.empty()) throw ExceptionLogicError();
  return env_.ProjectList.back();
}

bool ProjectTreeCommands::Offline() const { return env_.CommState.load() == CommOffline; }

bool ProjectTreeCommands::IsEnabled(int command, TreeItemRef selected) const {
  if (command == TreeCmdOpen) return IsOpenableItem(selected.Kind);
  if (!Knows(command) || !Offline() || env_.ProjectList.empty()) return false;
  const Project& project = CurrentProjectOf();
  const int key = selected.Data;
  switch (command) {
    case TreeCmdEditSymbol:
    case TreeCmdEditAddress:
    case TreeCmdEditComment:
      return IsPageItem(selected.Kind);
    case TreeCmdInsertDataBlock:
    case TreeCmdInsertPidDataBlock:
    case TreeCmdInsertPidfDataBlock:
      return CanAddTablePage(project.DataBlocks);
    case TreeCmdInsertDpidDataBlock:
      return host_.IsTreeShown() && CanAddTablePage(project.DataBlocks);
    case TreeCmdDeleteDataBlock:
      return selected.Kind == TreeItemKind::DataBlockPage && project.DataBlocks.HasWorkingPage(key);
    case TreeCmdInsertInterrupt:
      return project.Program.CanAddInterrupt();
    case TreeCmdInsertSubroutine:
      return project.Program.CanAddSubroutine();
    case TreeCmdDeleteInterrupt:
      return selected.Kind == TreeItemKind::ProgramPage && project.Program.InterruptTable.HasWorkingPage(key);
    case TreeCmdDeleteSubroutine:
      return selected.Kind == TreeItemKind::ProgramPage && project.Program.SubroutineTable.HasWorkingPage(key);
    case TreeCmdInsertVariableTable:
      return CanAddTablePage(project.Symbols);
    case TreeCmdDeleteVariableTable:
      return selected.Kind == TreeItemKind::VariableTablePage && project.Symbols.HasWorkingPage(key);
    case TreeCmdInsertStatusChart:
      return CanAddTablePage(project.StatusChart);
    case TreeCmdDeleteStatusChart:
      return selected.Kind == TreeItemKind::StatusChartPage && project.StatusChart.HasWorkingPage(key);
    default:
      return false;
  }
}

bool ProjectTreeCommands::Run(int command, TreeItemRef selected) {
  if (!Knows(command)) return false;
  if (command == TreeCmdOpen) {
    if (const auto event = OpenEventOf(selected)) host_.Notify(event->Event, event->Value);
    return true;
  }
  switch (command) {
    case TreeCmdEditSymbol: EditSymbol(selected); return true;
    case TreeCmdEditAddress: EditAddress(selected); return true;
    case TreeCmdEditComment: EditComment(selected); return true;
    case TreeCmdInsertPidDataBlock:
    case TreeCmdInsertPidfDataBlock:
    case TreeCmdInsertDpidDataBlock:
      InsertPidBlock(command);
      return true;
    default:
      break;
  }
  if (!Offline()) return true;
  Project& project = CurrentProjectOf();
  const int key = selected.Data;
  switch (command) {
    case TreeCmdInsertDataBlock: {
      const int added = InsertDataBlock(project.DataBlocks);
      if (added == -1) break;
      host_.RebuildBranch(TreeItemKind::DataBlockFolder, added);
      host_.Notify(EvTreeDataBlockAdded, added);
      break;
    }
    case TreeCmdDeleteDataBlock: {
      if (selected.Kind != TreeItemKind::DataBlockPage) break;
      const int next = RemoveDataBlock(project.DataBlocks, key);
      if (next == -1) break;
      ValidateDataRows(project.DataBlocks);
      host_.RebuildBranch(TreeItemKind::DataBlockFolder, next);
      host_.Notify(EvTreeDataBlockRemoved, next);
      break;
    }
    case TreeCmdInsertInterrupt: {
      const int added = project.Program.AddInterrupt();
      if (added == -1) break;
      host_.RebuildBranch(TreeItemKind::ProgramBlockFolder, added);
      host_.Notify(EvTreeProgramPageAdded, added);
      break;
    }
    case TreeCmdInsertSubroutine: {
      const int added = project.Program.AddSubroutine();
      if (added == -1) break;
      host_.RebuildBranch(TreeItemKind::ProgramBlockFolder, added);
      host_.RebuildCatalogue();
      host_.Notify(EvTreeProgramPageAdded, added);
      break;
    }
    case TreeCmdDeleteInterrupt: {
      if (selected.Kind != TreeItemKind::ProgramPage) break;
      const int next = project.Program.RemoveInterrupt(key);
      if (next == -1) break;
      host_.RebuildBranch(TreeItemKind::ProgramBlockFolder, next);
      host_.Notify(EvTreeProgramPageRemoved, next);
      break;
    }
    case TreeCmdDeleteSubroutine: {
      if (selected.Kind != TreeItemKind::ProgramPage) break;
      const int next = project.Program.RemoveSubroutine(key);
      if (next == -1) break;
      host_.RebuildBranch(TreeItemKind::ProgramBlockFolder, next);
      host_.RebuildCatalogue();
      host_.Notify(EvTreeProgramPageRemoved, next);
      break;
    }
    case TreeCmdInsertVariableTable: {
      const int added = InsertSymbolTable(project.Symbols);
      if (added == -1) break;
      host_.RebuildBranch(TreeItemKind::VariableSymbolFolder, added);
      host_.Notify(EvTreeVariableTableAdded, added);
      break;
    }
    case TreeCmdDeleteVariableTable: {
      if (selected.Kind != TreeItemKind::VariableTablePage) break;
      const int next = RemoveSymbolTable(project.Symbols, key);
      if (next == -1) break;
      ValidateSymbolEntries(project.Symbols);
      host_.RebuildBranch(TreeItemKind::VariableSymbolFolder, next);
      host_.Notify(EvTreeVariableTableRemoved, next);
      break;
    }
    case TreeCmdInsertStatusChart: {
      const int added = AddFirstFreeStatusChart(project.StatusChart);
      if (added == -1) break;
      host_.RebuildBranch(TreeItemKind::StatusChartFolder, added);
      host_.Notify(EvTreeStatusChartAdded, added);
      break;
    }
    case TreeCmdDeleteStatusChart: {
      if (selected.Kind != TreeItemKind::StatusChartPage) break;
      const int next = RemoveStatusChart(project.StatusChart, key);
      if (next == -1) break;
      host_.RebuildBranch(TreeItemKind::StatusChartFolder, next);
      host_.Notify(EvTreeStatusChartRemoved, next);
      break;
    }
    default:
      break;
  }
  return true;
}

void ProjectTreeCommands::InsertPidBlock(int command) {
  if (command == TreeCmdInsertDpidDataBlock) host_.FocusTree();
  if (!Offline()) return;
  unsigned address = kPidDefaultHeadAddress;
  if (!host_.AskPidHeadAddress(address) || !Offline()) return;
  DataBlockTable& table = CurrentProjectOf().DataBlocks;
  const int head = static_cast<int>(address);
  const int added = command == TreeCmdInsertPidDataBlock    ? InsertPidDataBlock(table, head)
                    : command == TreeCmdInsertPidfDataBlock ? InsertPidfDataBlock(table, head)
                                                            : InsertDpidDataBlock(table, head);
  if (added == -1) return;
  if (command == TreeCmdInsertDpidDataBlock) {
    // The hub rebuilds the tree's data block branch for this event.
    host_.Notify(EvDataBlockInserted, added);
    return;
  }
  host_.RebuildBranch(TreeItemKind::DataBlockFolder, added);
  host_.Notify(EvTreeDataBlockAdded, added);
}

bool ProjectTreeCommands::RenamePage(TreeItemRef item, const std::wstring& name) {
  if (!Offline() || !IsPageItem(item.Kind)) return false;
  Project& project = CurrentProjectOf();
  bool renamed = false;
  if (item.Kind == TreeItemKind::ProgramPage) {
    renamed = project.Program.RenameBlock(item.Data, name);
  } else {
    renamed = OnPagedTable(project, item.Kind, [&](auto& table) { return RenameTablePage(table, item.Data, name); });
  }
  if (!renamed) return false;
  host_.SetItemLabel(item, PageItemTitle(project, item));
  if (item.Kind == TreeItemKind::ProgramPage) host_.RebuildCatalogue();
  host_.Notify(EventsOf(item.Kind).Renamed, item.Data);
  return true;
}

void ProjectTreeCommands::EditSymbol(TreeItemRef item) {
  if (!IsPageItem(item.Kind) || !Offline()) return;
  Project& project = CurrentProjectOf();
  std::wstring text = item.Kind == TreeItemKind::ProgramPage
                          ? project.Program.GetBlockName(item.Data)
                          : OnPagedTable(project, item.Kind, [&](auto& table) { return GetTablePageName(table, item.Data); });
  if (!host_.AskText(TextAskSymbol(), text)) return;
  RenamePage(item, text);
}

void ProjectTreeCommands::EditAddress(TreeItemRef item) {
  if (!IsPageItem(item.Kind) || !Offline()) return;
  Project& project = CurrentProjectOf();
  std::wstring text = item.Kind == TreeItemKind::ProgramPage
                          ? project.Program.GetBlockAddress(item.Data)
                          : OnPagedTable(project, item.Kind, [&](auto& table) { return GetTablePageAddress(table, item.Data); });
  if (!host_.AskText(TextAskAddress(), text) || !Offline()) return;
  int newKey = -1;
  bool moved = false;
  switch (item.Kind) {
    case TreeItemKind::DataBlockPage: moved = ChangeDataBlockAddress(project.DataBlocks, text, item.Data, newKey); break;
    case TreeItemKind::VariableTablePage: moved = ChangeSymbolTableAddress(project.Symbols, text, item.Data, newKey); break;
    case TreeItemKind::StatusChartPage: moved = ChangeStatusChartAddress(project.StatusChart, text, item.Data, newKey); break;
    default: {
      ProgramBlock& program = project.Program;
      moved = program.ChangeBlockAddress(item.Data, text, newKey);
      if (moved) {
        // A subroutine's call interface is published under its number: the call of the new
        // number takes it over and the old number's call is emptied. The pages are stamped
        // again as after every change of a block table.
        const bool symbolic = env_.Config.SymbolicAddr != 0;
        program.InterruptTable.StampBlockPages(symbolic, program.ViewMode);
        program.SubroutineTable.StampBlockPages(symbolic, program.ViewMode);
        UpdateAllSubroutineInterfaces(program, project.Symbols);
      }
      break;
    }
  }
  if (!moved) return;
  const TreeItemKind folder = FolderOfPageKind(item.Kind);
  host_.RebuildBranch(folder, newKey);
  if (item.Kind == TreeItemKind::ProgramPage) host_.RebuildCatalogue();
  host_.Notify(EventsOf(item.Kind).Readdressed, newKey);
}

void ProjectTreeCommands::EditComment(TreeItemRef item) {
  if (!IsPageItem(item.Kind) || !Offline()) return;
  Project& project = CurrentProjectOf();
  std::wstring text = item.Kind == TreeItemKind::ProgramPage
                          ? project.Program.GetBlockComment(item.Data)
                          : OnPagedTable(project, item.Kind, [&](auto& table) { return GetTablePageComment(table, item.Data); });
  if (!host_.AskText(TextAskComment(), text) || !Offline()) return;
  const bool changed = item.Kind == TreeItemKind::ProgramPage
                           ? project.Program.SetBlockComment(item.Data, text)
                           : OnPagedTable(project, item.Kind, [&](auto& table) { return SetTablePageComment(table, item.Data, text); });
  if (!changed) return;
  host_.SetItemLabel(item, PageItemTitle(project, item));
  host_.Notify(EventsOf(item.Kind).Commented, item.Data);
}

}  // namespace Brenno
