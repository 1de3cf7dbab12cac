// The commands of the project tree, without any window: when each is enabled for the selected
// item and the communication state, and what it does to the current project. The tree widget
// supplies the host: rebuilding its branches, setting a label, asking the user, announcing the
// change.
#pragma once

#include <cstdint>
#include <string>

#include "ui/views/project_tree/project_tree_items.h"

namespace Brenno {

class AppEnvironment;
class Project;

// Command ids relative to the command-id base.
enum ProjectTreeCommand : int {
  TreeCmdOpen = 20321,
  TreeCmdEditSymbol = 20322,
  TreeCmdEditAddress = 20323,
  TreeCmdEditComment = 20324,
  TreeCmdInsertDataBlock = 20363,
  TreeCmdInsertPidDataBlock = 20385,
  TreeCmdInsertPidfDataBlock = 20391,
  TreeCmdInsertDpidDataBlock = 20392,
  TreeCmdDeleteDataBlock = 20364,
  TreeCmdInsertInterrupt = 20342,
  TreeCmdInsertSubroutine = 20343,
  TreeCmdDeleteInterrupt = 20344,
  TreeCmdDeleteSubroutine = 20345,
  TreeCmdInsertVariableTable = 20348,
  TreeCmdDeleteVariableTable = 20350,
  TreeCmdInsertStatusChart = 20301,
  TreeCmdDeleteStatusChart = 20302,
};

// The head address the PID dialog starts with.
inline constexpr unsigned kPidDefaultHeadAddress = 2000;

// The menu text and the status text (empty when it has none) of a command, in the current
// language.
std::wstring ProjectTreeMenuText(int command);
std::wstring ProjectTreeStatusText(int command);

class ProjectTreeHost {
 public:
  virtual ~ProjectTreeHost() = default;
  // Rebuilds the children of a page folder and selects the item of that key (-1: none).
  virtual void RebuildBranch(TreeItemKind folder, int selectKey) = 0;
  // Rebuilds the instruction catalogue.
  virtual void RebuildCatalogue() = 0;
  // Sets the label of the page item.
  virtual void SetItemLabel(TreeItemRef item, const std::wstring& text) = 0;
  // The one-line prompt; false on Cancel, the text written only on OK.
  virtual bool AskText(const std::wstring& prompt, std::wstring& text) = 0;
  // The PID head-address dialog; false on Cancel, the address written only on OK.
  virtual bool AskPidHeadAddress(unsigned& address) = 0;
  // Announces a change to the windows.
  virtual void Notify(uint32_t event, intptr_t value) = 0;
  virtual void FocusTree() {}
  virtual bool IsTreeShown() const { return true; }
};

class ProjectTreeCommands {
 public:
  ProjectTreeCommands(AppEnvironment& env, ProjectTreeHost& host) : env_(env), host_(host) {}

  static bool Knows(int command);
  // Whether the command is enabled for the selected item now.
  bool IsEnabled(int command, TreeItemRef selected) const;
  // Runs the command on the selected item (each checks its state again); false for a command
  // the tree does not have.
  bool Run(int command, TreeItemRef selected);

  // The new name of a page from label editing or Edit Symbol: offline only, for page items;
  // on success the label becomes the page's new title, the catalogue follows a program page
  // and the rename is announced. False when refused (nothing changed, nothing sent).
  bool RenamePage(TreeItemRef item, const std::wstring& name);

 private:
  Project& CurrentProjectOf() const;
  bool Offline() const;
  void EditSymbol(TreeItemRef item);
  void EditAddress(TreeItemRef item);
  void EditComment(TreeItemRef item);
  void InsertPidBlock(int command);

  AppEnvironment& env_;
  ProjectTreeHost& host_;
};

}  // namespace Brenno
