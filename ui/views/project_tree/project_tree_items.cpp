#include "ui/views/project_tree/project_tree_items.h"

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/page_names.h"
#include "core/env/plc_type.h"
#include "core/link/comm_state.h"
#include "core/program/program_block.h"
#include "core/project/project.h"
#include "ui/shell/notify_codes.h"
#include "ui/views/project_tree/table_page_operations.h"

namespace Brenno {

namespace {

// The subroutine page a call definition names (by its address, in the interrupt table first,
// then in the subroutine table); -1 when there is none.
int SubroutinePageOfCall(const ProgramBlock& program, const std::wstring& address) {
  bool found = false;
  int key = FindPageKeyByAddress(program.InterruptTable, address, kWorkingPages, &found);
  if (found) return key;
  key = FindPageKeyByAddress(program.SubroutineTable, address, kWorkingPages, &found);
  return found ? key : -1;
}

// Whether the index is one of the subroutine-call definitions at the end of a table.
bool IsSubroutineCall(size_t index, size_t tableSize, int subroutineCount) {
  const size_t calls = subroutineCount > 0 ? static_cast<size_t>(subroutineCount) : 0;
  return calls <= tableSize && index >= tableSize - calls;
}

std::wstring CallTitle(const ProgramBlock& program, const std::wstring& address) {
  const int key = SubroutinePageOfCall(program, address);
  std::wstring title;
  if (key != -1) program.DescribeProgramUnitKey(key, title);
  return title;
}

std::wstring StlItemText(const FunStlRecord& record) {
  std::wstring text = record.Name + L"    ";
  for (size_t i = 0; i < record.Operands.size(); ++i) {
    if (i != 0) text += L",";
    text += record.Operands[i].Name;
  }
  return text;
}

int FxContactImage(const std::wstring& keyword) {
  if (keyword == L"LDI") return TreeImageFxContactLdi;
  if (keyword == L"LDP") return TreeImageFxContactLdp;
  if (keyword == L"LDF") return TreeImageFxContactLdf;
  if (keyword == L"INV") return TreeImageFxContactInv;
  return TreeImageFxContactLd;
}

// The text and image of a ladder definition that is not a subroutine call; false for a kind
// the catalogue does not show.
bool LadItem(const FunLadRecord& record, std::wstring& text, int& image) {
  switch (record.Look) {
    case kLadLookCont:
      text = L"-|" + record.Keyword + L"|-";
      image = TreeImageContact;
      return true;
    case kLadLookCoil:
      text = L"-(" + record.Keyword + L")";
      image = TreeImageCoil;
      return true;
    case kLadLookBlock:
      text = record.Keyword;
      image = TreeImageBox;
      return true;
    case kLadLookFxCont:
      text = record.Name;
      image = FxContactImage(record.Keyword);
      return true;
    case kLadLookFxCoil:
      text = record.Name;
      image = TreeImageFxCoil;
      return true;
    case kLadLookFxBlock:
      text = record.Name;
      image = TreeImageFxBox;
      return true;
    default:
      return false;
  }
}

template <class Record>
size_t IndexOf(const std::vector<Record>& table, const Record* record) {
  return static_cast<size_t>(record - table.data());
}

}  // namespace

bool IsPageFolder(TreeItemKind kind) { return PageKindOfFolder(kind) != TreeItemKind::None; }

bool IsPageItem(TreeItemKind kind) { return FolderOfPageKind(kind) != TreeItemKind::None; }

TreeItemKind PageKindOfFolder(TreeItemKind folder) {
  switch (folder) {
    case TreeItemKind::DataBlockFolder: return TreeItemKind::DataBlockPage;
    case TreeItemKind::ProgramBlockFolder: return TreeItemKind::ProgramPage;
    case TreeItemKind::VariableSymbolFolder: return TreeItemKind::VariableTablePage;
    case TreeItemKind::StatusChartFolder: return TreeItemKind::StatusChartPage;
    default: return TreeItemKind::None;
  }
}

TreeItemKind FolderOfPageKind(TreeItemKind page) {
  switch (page) {
    case TreeItemKind::DataBlockPage: return TreeItemKind::DataBlockFolder;
    case TreeItemKind::ProgramPage: return TreeItemKind::ProgramBlockFolder;
    case TreeItemKind::VariableTablePage: return TreeItemKind::VariableSymbolFolder;
    case TreeItemKind::StatusChartPage: return TreeItemKind::StatusChartFolder;
    default: return TreeItemKind::None;
  }
}

bool IsOpenableItem(TreeItemKind kind) {
  switch (kind) {
    case TreeItemKind::None:
    case TreeItemKind::ProjectRoot:
    case TreeItemKind::CatalogueRoot:
    case TreeItemKind::InstructionGroup:
      return false;
    default:
      return true;
  }
}

std::wstring FixedItemText(TreeItemKind kind) {
  switch (kind) {
    case TreeItemKind::ProjectRoot: return PickText(L"Project", L"项目");
    case TreeItemKind::DataBlockFolder: return PickText(L"Data Block", L"数据块");
    case TreeItemKind::SystemBlock: return PickText(L"System Block", L"系统块");
    case TreeItemKind::ProgramBlockFolder: return PickText(L"Program Block", L"程序块");
    case TreeItemKind::FunctionSymbol: return PickText(L"Function Symbol", L"函数符号");
    case TreeItemKind::VariableSymbolFolder: return PickText(L"Variable Symbol", L"变量符号");
    case TreeItemKind::StatusChartFolder: return PickText(L"Status Chart", L"状态表");
    case TreeItemKind::CrossReference: return PickText(L"Cross Reference", L"交叉引用");
    case TreeItemKind::CatalogueRoot: return PickText(L"Instructions", L"指令");
    default: return std::wstring();
  }
}

std::wstring ProjectRootText(const Project& project) {
  std::wstring text = FixedItemText(TreeItemKind::ProjectRoot) + L" [";
  if (project.Type != nullptr) text += project.Type->Description.Information;
  return text + L"]";
}

int FixedItemImage(TreeItemKind kind) {
  switch (kind) {
    case TreeItemKind::ProjectRoot: return TreeImageProject;
    case TreeItemKind::DataBlockFolder: return TreeImageDataBlockFolder;
    case TreeItemKind::SystemBlock: return TreeImageSystemBlock;
    case TreeItemKind::ProgramBlockFolder: return TreeImageProgramBlockFolder;
    case TreeItemKind::FunctionSymbol: return TreeImageFunctionSymbol;
    case TreeItemKind::VariableSymbolFolder: return TreeImageVariableSymbolFolder;
    case TreeItemKind::StatusChartFolder: return TreeImageStatusChartFolder;
    case TreeItemKind::CrossReference: return TreeImageCrossReference;
    case TreeItemKind::CatalogueRoot: return TreeImageInstructions;
    case TreeItemKind::DataBlockPage: return TreeImageDataBlock;
    case TreeItemKind::ProgramPage: return TreeImageProgramPage;
    case TreeItemKind::VariableTablePage: return TreeImageVariableTable;
    case TreeItemKind::StatusChartPage: return TreeImageStatusChart;
    default: return TreeImageProject;
  }
}

std::vector<TreeEntry> BuildPageBranch(const Project& project, TreeItemKind folder) {
  const TreeItemKind pageKind = PageKindOfFolder(folder);
  const int image = FixedItemImage(pageKind);
  std::vector<int> keys;
  switch (folder) {
    case TreeItemKind::DataBlockFolder: keys = project.DataBlocks.ListKeys(); break;
    case TreeItemKind::ProgramBlockFolder: keys = project.Program.ListProgramBlockKeys(); break;
    case TreeItemKind::VariableSymbolFolder: keys = project.Symbols.ListKeys(); break;
    case TreeItemKind::StatusChartFolder: keys = project.StatusChart.ListKeys(); break;
    default: return {};
  }
  std::vector<TreeEntry> entries;
  entries.reserve(keys.size());
  for (const int key : keys) entries.push_back({PageItemTitle(project, {pageKind, key}), image, key});
  return entries;
}

std::vector<CatalogueGroup> BuildCatalogue(const Project& project) {
  const InstructionLibrary& library = project.Instructions;
  const ProgramBlock& program = project.Program;
  std::vector<CatalogueGroup> groups;
  if (program.ViewMode == kViewModeStl) {
    std::vector<const FunStlRecord*> defs;
    for (const std::wstring& name : library.FunStlGroups) {
      CatalogueGroup group{name, TreeImageStlGroup, {}};
      ListStlDefsOfGroup(defs, library, name);
      for (const FunStlRecord* record : defs) {
        const size_t index = IndexOf(library.FunStlList, record);
        std::wstring text;
        if (IsSubroutineCall(index, library.FunStlList.size(), library.SubroutineCount)) {
          text = CallTitle(program, record->Name);
          if (text.empty()) continue;
        } else {
          text = StlItemText(*record);
        }
        group.Items.push_back({text, TreeImageStlInstruction, static_cast<int>(index)});
      }
      groups.push_back(std::move(group));
    }
  } else if (program.ViewMode == kViewModeLad) {
    std::vector<const FunLadRecord*> defs;
    for (const std::wstring& name : library.FunLadGroups) {
      CatalogueGroup group{name, TreeImageLadGroup, {}};
      ListLadDefsOfGroup(defs, library, name);
      for (const FunLadRecord* record : defs) {
        const size_t index = IndexOf(library.FunLadList, record);
        std::wstring text;
        int image = TreeImageSubroutineCall;
        if (IsSubroutineCall(index, library.FunLadList.size(), library.SubroutineCount)) {
          text = CallTitle(program, record->Name);
          if (text.empty()) continue;
        } else if (!LadItem(*record, text, image)) {
          continue;
        }
        group.Items.push_back({text, image, static_cast<int>(index)});
      }
      groups.push_back(std::move(group));
    }
  }
  return groups;
}

std::optional<TreeEvent> OpenEventOf(TreeItemRef item) {
  switch (item.Kind) {
    case TreeItemKind::DataBlockFolder:
    case TreeItemKind::DataBlockPage:
      return TreeEvent{EvTreeOpenDataBlock, item.Data};
    case TreeItemKind::SystemBlock:
      return TreeEvent{EvTreeOpenSystemBlock, 0};
    case TreeItemKind::ProgramBlockFolder:
    case TreeItemKind::ProgramPage:
      return TreeEvent{EvTreeOpenProgramPage, item.Data};
    case TreeItemKind::FunctionSymbol:
      return TreeEvent{EvTreeOpenFunctionSymbols, 0};
    case TreeItemKind::VariableSymbolFolder:
    case TreeItemKind::VariableTablePage:
      return TreeEvent{EvTreeOpenVariableTable, item.Data};
    case TreeItemKind::StatusChartFolder:
    case TreeItemKind::StatusChartPage:
      return TreeEvent{EvTreeOpenStatusChart, item.Data};
    case TreeItemKind::CrossReference:
      return TreeEvent{EvTreeOpenCrossReference, 0};
    case TreeItemKind::Instruction:
      return TreeEvent{EvTreeInsertInstruction, item.Data};
    default:
      return std::nullopt;
  }
}

bool CanEditLabel(TreeItemKind kind, int commState) { return commState == CommOffline && IsPageItem(kind); }

bool ShowsInfoTips(int commState) {
  return ShowsProject(commState);
}

std::wstring InfoTipText(const Project& project, TreeItemRef item, int commState) {
  if (!ShowsInfoTips(commState)) return std::wstring();
  switch (item.Kind) {
    case TreeItemKind::DataBlockPage: return GetTablePageComment(project.DataBlocks, item.Data);
    case TreeItemKind::ProgramPage: return project.Program.GetBlockComment(item.Data);
    case TreeItemKind::VariableTablePage: return GetTablePageComment(project.Symbols, item.Data);
    case TreeItemKind::StatusChartPage: return GetTablePageComment(project.StatusChart, item.Data);
    case TreeItemKind::Instruction: {
      if (item.Data < 0) return std::wstring();
      const size_t index = static_cast<size_t>(item.Data);
      const InstructionLibrary& library = project.Instructions;
      if (project.Program.ViewMode == kViewModeStl) {
        return index < library.FunStlList.size() ? library.FunStlList[index].Comment : std::wstring();
      }
      if (project.Program.ViewMode == kViewModeLad) {
        return index < library.FunLadList.size() ? library.FunLadList[index].Comment : std::wstring();
      }
      return std::wstring();
    }
    default:
      return std::wstring();
  }
}

std::wstring CutInfoTip(const std::wstring& text) {
  return text.size() < kInfoTipBufferSize ? text : text.substr(0, kInfoTipBufferSize - 1);
}

std::wstring PageItemTitle(const Project& project, TreeItemRef item) {
  std::wstring title;
  switch (item.Kind) {
    case TreeItemKind::DataBlockPage: return DescribeTablePageKey(project.DataBlocks, item.Data);
    case TreeItemKind::ProgramPage: project.Program.DescribeProgramUnitKey(item.Data, title); return title;
    case TreeItemKind::VariableTablePage: return DescribeTablePageKey(project.Symbols, item.Data);
    case TreeItemKind::StatusChartPage: return DescribeTablePageKey(project.StatusChart, item.Data);
    default: return title;
  }
}

}  // namespace Brenno
