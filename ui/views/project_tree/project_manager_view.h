// The project tree: the project's data blocks, system block, program pages, function symbols,
// variable tables, status charts and cross reference under the project root, and the
// instruction catalogue as a second root. Every text and item's data come from the current
// project and are rebuilt from it on the tree's update codes. Opening an item, renaming a page
// by label editing and the context menu commands announce their changes through the hub.
#pragma once

#include <QStyledItemDelegate>
#include <QTreeWidget>

#include <functional>
#include <memory>

#include "ui/views/project_tree/project_tree_commands.h"
#include "ui/views/project_tree/project_tree_items.h"

class QMenu;

namespace Brenno {

class AppEnvironment;
class Project;
class SharedImageLists;

class CProjectManagerView : public QTreeWidget, public ProjectTreeHost {
  Q_OBJECT
 public:
  // Builds the whole tree from the current project. The image lists are borrowed (null: the
  // tree draws its own); the main window's PLC > Type command is looked up by its object name.
  CProjectManagerView(AppEnvironment& env, const SharedImageLists* images, QWidget* parent = nullptr);
  ~CProjectManagerView() override;

  // The tree's update codes (0x8300 to 0x8307); other codes are ignored.
  void HandleUpdate(uint16_t code, intptr_t value);

  // Algorithm of the full rebuild.
  void RebuildAll();

  // The commands of the tree (ids relative to the command base) on the selected item.
  bool IsCommandEnabled(int command) const;
  // Runs a tree command; false for an id the tree does not have.
  bool OnCommand(int command);

  TreeItemRef ItemRef(const QTreeWidgetItem* item) const;
  TreeItemRef SelectedItem() const { return ItemRef(currentItem()); }
  QTreeWidgetItem* FixedItem(TreeItemKind kind) const;
  // The page item of that kind and key, or the instruction item of that index.
  QTreeWidgetItem* FindItem(TreeItemRef ref) const;

  // The info tip of an item (empty: none), as the tree shows it.
  QString InfoTipFor(const QTreeWidgetItem* item) const;

  // The context menu of the selected item, its commands enabled as they are now; null for an
  // item that has no menu. The caller owns it.
  QMenu* CreateContextMenu();

  // Opening the item as a double click on its selected label does: the event of the item,
  // the PLC > Type command for the project root. False when the item opens nothing.
  bool OpenItem(const QTreeWidgetItem* item);

  // Label editing: whether it may begin on the item now, and its end with the typed text.
  bool CanBeginLabelEdit(const QTreeWidgetItem* item) const;
  void EndLabelEdit(QTreeWidgetItem* item, const std::wstring& text);
  QTreeWidgetItem* ItemOfIndex(const QModelIndex& index) const { return itemFromIndex(index); }

  // Replacements of the dialogs and of the hub, for tests.
  using TextAsker = std::function<bool(const std::wstring& prompt, std::wstring& text)>;
  using AddressAsker = std::function<bool(unsigned& address)>;
  using Notifier = std::function<void(uint32_t event, intptr_t value)>;
  void SetTextAsker(TextAsker asker) { textAsker_ = std::move(asker); }
  void SetAddressAsker(AddressAsker asker) { addressAsker_ = std::move(asker); }
  void SetNotifier(Notifier notifier) { notifier_ = std::move(notifier); }

  // ProjectTreeHost.
  void RebuildBranch(TreeItemKind folder, int selectKey) override;
  void RebuildCatalogue() override;
  void SetItemLabel(TreeItemRef item, const std::wstring& text) override;
  bool AskText(const std::wstring& prompt, std::wstring& text) override;
  bool AskPidHeadAddress(unsigned& address) override;
  void Notify(uint32_t event, intptr_t value) override;
  void FocusTree() override;
  bool IsTreeShown() const override;

 signals:
  // The project root was opened: the main window's PLC > Type command is posted.
  void PlcTypeCommandRequested();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  // Enter opens the selected item as a double click on its label does (for an instruction:
  // inserts it into the program), so that the keyboard reaches everything the mouse does.
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  const Project* CurrentProjectOrNull() const;
  QTreeWidgetItem* AddItem(QTreeWidgetItem* parent, TreeItemKind kind, const std::wstring& text, int image, int data);
  void FillBranch(TreeItemKind folder, int selectKey);
  void FillCatalogue();
  QIcon ImageIcon(int index) const;
  // Runs a handler and shows a core error in a message box instead of letting it leave the
  // event loop.
  template <class Handler>
  void Guarded(Handler handler);

  AppEnvironment& env_;
  const SharedImageLists* images_;
  std::unique_ptr<SharedImageLists> ownImages_;
  ProjectTreeCommands commands_;
  QTreeWidgetItem* projectRoot_ = nullptr;
  QTreeWidgetItem* catalogueRoot_ = nullptr;
  QTreeWidgetItem* folders_[7] = {};
  TextAsker textAsker_;
  AddressAsker addressAsker_;
  Notifier notifier_;
  // Cleared by a double click that opened an item, so that it does not start label editing;
  // the next press gives it back.
  bool labelEditing_ = true;
};

// Label editing of the tree: begins only where the tree allows it, starts with the whole
// label, and hands the typed text to the tree instead of writing it into the item.
class ProjectTreeLabelDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  explicit ProjectTreeLabelDelegate(CProjectManagerView* view);
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

 private:
  CProjectManagerView* view_;
};

}  // namespace Brenno
