// What the project tree lists and what each of its items means, without any window: the kinds
// of items, their texts and images, the page branches and the instruction catalogue built from
// the current project, the event an item opens, which items take a context menu or a new name,
// and the info tip of an item.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Brenno {

class Project;

enum class TreeItemKind {
  None,
  ProjectRoot,
  DataBlockFolder,
  SystemBlock,
  ProgramBlockFolder,
  FunctionSymbol,
  VariableSymbolFolder,
  StatusChartFolder,
  CrossReference,
  DataBlockPage,
  ProgramPage,
  VariableTablePage,
  StatusChartPage,
  CatalogueRoot,
  InstructionGroup,
  Instruction,
};

// One item: its kind and its data (a page key, a definition index, else 0).
struct TreeItemRef {
  TreeItemKind Kind = TreeItemKind::None;
  int Data = 0;
  bool operator==(const TreeItemRef&) const = default;
};

// Image indices of the tree's image strip.
enum TreeImage : int {
  TreeImageProject = 0,
  TreeImageDataBlockFolder = 1,
  TreeImageSystemBlock = 2,
  TreeImageProgramBlockFolder = 3,
  TreeImageFunctionSymbol = 4,
  TreeImageVariableSymbolFolder = 5,
  TreeImageStatusChartFolder = 6,
  TreeImageCrossReference = 7,
  TreeImageInstructions = 9,
  TreeImageDataBlock = 10,
  TreeImageProgramPage = 11,
  TreeImageVariableTable = 12,
  TreeImageStatusChart = 13,
  TreeImageStlGroup = 14,
  TreeImageStlInstruction = 16,
  TreeImageLadGroup = 17,
  TreeImageSubroutineCall = 18,
  TreeImageContact = 19,
  TreeImageCoil = 20,
  TreeImageBox = 21,
  TreeImageFxContactLd = 22,
  TreeImageFxContactLdi = 23,
  TreeImageFxContactLdp = 24,
  TreeImageFxContactLdf = 25,
  TreeImageFxContactInv = 26,
  TreeImageFxCoil = 27,
  TreeImageFxBox = 28,
  TreeImageCount = 29,
};

// The seven items under the project root, in their order.
inline constexpr TreeItemKind kProjectChildren[] = {
    TreeItemKind::DataBlockFolder,      TreeItemKind::SystemBlock,       TreeItemKind::ProgramBlockFolder,
    TreeItemKind::FunctionSymbol,       TreeItemKind::VariableSymbolFolder, TreeItemKind::StatusChartFolder,
    TreeItemKind::CrossReference};

// The four folders that hold pages.
inline constexpr TreeItemKind kPageFolders[] = {TreeItemKind::DataBlockFolder, TreeItemKind::ProgramBlockFolder,
                                                TreeItemKind::VariableSymbolFolder, TreeItemKind::StatusChartFolder};

bool IsPageFolder(TreeItemKind kind);
bool IsPageItem(TreeItemKind kind);
// The page kind of a folder's children, and the folder of a page kind (None for others).
TreeItemKind PageKindOfFolder(TreeItemKind folder);
TreeItemKind FolderOfPageKind(TreeItemKind page);

// The items the user can open: folders, pages, System Block, Function Symbol, Cross Reference
// and instructions. They are also the items that have a context menu.
bool IsOpenableItem(TreeItemKind kind);

// The text and image of a fixed item (the project root reads "Project [<type information>]").
std::wstring FixedItemText(TreeItemKind kind);
std::wstring ProjectRootText(const Project& project);
int FixedItemImage(TreeItemKind kind);

// One item of a branch.
struct TreeEntry {
  std::wstring Text;
  int Image = 0;
  int Data = 0;
  bool operator==(const TreeEntry&) const = default;
};

// The children of a page folder: one per working page, titled "<name> (<address>)", data the
// page key: data blocks, variable tables and status charts in ascending key order, program
// pages main and interrupts first, then subroutines.
std::vector<TreeEntry> BuildPageBranch(const Project& project, TreeItemKind folder);

// One group of the catalogue with its instruction items.
struct CatalogueGroup {
  std::wstring Name;
  int Image = 0;
  std::vector<TreeEntry> Items;
  bool operator==(const CatalogueGroup&) const = default;
};

// The catalogue of instructions by the program's view mode: statement-list groups and
// instructions, or ladder groups and elements; empty for any other view mode. Item data is the
// definition's index in its table. A subroutine call is shown as the title of its subroutine
// and left out when that page does not exist.
std::vector<CatalogueGroup> BuildCatalogue(const Project& project);

// The event that opening the item sends (a folder asks for the page of key 0); none for the
// project root, the catalogue root and the groups.
struct TreeEvent {
  uint32_t Event = 0;
  intptr_t Value = 0;
  bool operator==(const TreeEvent&) const = default;
};
std::optional<TreeEvent> OpenEventOf(TreeItemRef item);

// Label editing may begin only offline and only on page items.
bool CanEditLabel(TreeItemKind kind, int commState);

// The communication states in which info tips are given: every state but those of a job that
// opened the port from the offline state.
bool ShowsInfoTips(int commState);

// The tip of an item: a page's comment, an instruction's comment; empty for other items, an
// empty comment, a definition index outside the table or a state without tips. A page key that
// has no page throws ExceptionLogicError.
std::wstring InfoTipText(const Project& project, TreeItemRef item, int commState);

// The tip cut to the size of the control's tip buffer (its last place holds the terminator).
inline constexpr size_t kInfoTipBufferSize = 1024;
std::wstring CutInfoTip(const std::wstring& text);

// The title of a page item ("<name> (<address>)"); empty when the page does not exist.
std::wstring PageItemTitle(const Project& project, TreeItemRef item);

}  // namespace Brenno
