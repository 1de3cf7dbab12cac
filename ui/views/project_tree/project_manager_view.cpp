#include "ui/views/project_tree/project_manager_view.h"

#include "ui/views/data_blocks/pid_addr_dlg.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QToolTip>

#include "core/draw/gdi_resource_set.h"
#include "core/link/app_environment.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/project/message_box.h"
#include "core/project/project.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/shell/small_dialogs.h"
#include "ui/widgets/qt_draw_context.h"
#include "ui/views/project_tree/shared_image_lists.h"

namespace Brenno {

namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kDataRole = Qt::UserRole + 1;
// The PLC > Type command of the main window, relative to the command base.
constexpr int kPlcTypeCommand = 20192;

QString ToQ(const std::wstring& text) { return QString::fromStdWString(text); }


}  // namespace

CProjectManagerView::CProjectManagerView(AppEnvironment& env, const SharedImageLists* images, QWidget* parent)
    : QTreeWidget(parent), env_(env), images_(images), commands_(env, *this) {
  setObjectName(QStringLiteral("ProjectManagerView"));
  if (images_ == nullptr) {
    ownImages_ = std::make_unique<SharedImageLists>();
    images_ = ownImages_.get();
  }
  setHeaderHidden(true);
  setColumnCount(1);
  setRootIsDecorated(true);
  setIconSize(QSize(SharedImageLists::kImageSize, SharedImageLists::kImageSize));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
  setItemDelegate(new ProjectTreeLabelDelegate(this));
  setContextMenuPolicy(Qt::DefaultContextMenu);
  setFont(MakeQtFont(SharedGdiResources().Fonts(0)));
  RebuildAll();
}

CProjectManagerView::~CProjectManagerView() = default;

template <class Handler>
void CProjectManagerView::Guarded(Handler handler) {
  try {
    handler();
  } catch (const ExceptionError& error) {
    MessageBoxOk(error.Message(), 0x10);
  }
}

const Project* CProjectManagerView::CurrentProjectOrNull() const {
  return env_.ProjectList.empty() ? nullptr : &env_.ProjectList.back();
}

QIcon CProjectManagerView::ImageIcon(int index) const { return images_->Icon(SharedImageLists::kTreeList, index); }

QTreeWidgetItem* CProjectManagerView::AddItem(QTreeWidgetItem* parent, TreeItemKind kind, const std::wstring& text,
                                              int image, int data) {
  auto* item = parent == nullptr ? new QTreeWidgetItem(this) : new QTreeWidgetItem(parent);
  item->setText(0, ToQ(text));
  item->setIcon(0, ImageIcon(image));
  item->setData(0, kKindRole, static_cast<int>(kind));
  item->setData(0, kDataRole, data);
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (IsPageItem(kind)) flags |= Qt::ItemIsEditable;
  item->setFlags(flags);
  return item;
}

TreeItemRef CProjectManagerView::ItemRef(const QTreeWidgetItem* item) const {
  if (item == nullptr) return {};
  return {static_cast<TreeItemKind>(item->data(0, kKindRole).toInt()), item->data(0, kDataRole).toInt()};
}

QTreeWidgetItem* CProjectManagerView::FixedItem(TreeItemKind kind) const {
  if (kind == TreeItemKind::ProjectRoot) return projectRoot_;
  if (kind == TreeItemKind::CatalogueRoot) return catalogueRoot_;
  for (size_t i = 0; i < std::size(kProjectChildren); ++i) {
    if (kProjectChildren[i] == kind) return folders_[i];
  }
  return nullptr;
}

QTreeWidgetItem* CProjectManagerView::FindItem(TreeItemRef ref) const {
  if (IsPageItem(ref.Kind)) {
    QTreeWidgetItem* folder = FixedItem(FolderOfPageKind(ref.Kind));
    for (int i = 0; folder != nullptr && i < folder->childCount(); ++i) {
      if (ItemRef(folder->child(i)) == ref) return folder->child(i);
    }
    return nullptr;
  }
  if (ref.Kind == TreeItemKind::Instruction && catalogueRoot_ != nullptr) {
    for (int g = 0; g < catalogueRoot_->childCount(); ++g) {
      QTreeWidgetItem* group = catalogueRoot_->child(g);
      for (int i = 0; i < group->childCount(); ++i) {
        if (ItemRef(group->child(i)) == ref) return group->child(i);
      }
    }
    return nullptr;
  }
  return FixedItem(ref.Kind);
}

void CProjectManagerView::RebuildAll() {
  setUpdatesEnabled(false);
  clear();
  projectRoot_ = nullptr;
  catalogueRoot_ = nullptr;
  std::fill(std::begin(folders_), std::end(folders_), nullptr);
  const Project* project = CurrentProjectOrNull();
  const std::wstring rootText = project != nullptr ? ProjectRootText(*project) : FixedItemText(TreeItemKind::ProjectRoot) + L" []";
  projectRoot_ = AddItem(nullptr, TreeItemKind::ProjectRoot, rootText, TreeImageProject, 0);
  for (size_t i = 0; i < std::size(kProjectChildren); ++i) {
    const TreeItemKind kind = kProjectChildren[i];
    folders_[i] = AddItem(projectRoot_, kind, FixedItemText(kind), FixedItemImage(kind), 0);
  }
  projectRoot_->setExpanded(true);
  catalogueRoot_ = AddItem(nullptr, TreeItemKind::CatalogueRoot, FixedItemText(TreeItemKind::CatalogueRoot),
                           TreeImageInstructions, 0);
  Guarded([&] {
    for (const TreeItemKind folder : kPageFolders) FillBranch(folder, -1);
    FillCatalogue();
  });
  scrollToTop();
  setUpdatesEnabled(true);
  viewport()->update();
}

void CProjectManagerView::FillBranch(TreeItemKind folder, int selectKey) {
  QTreeWidgetItem* folderItem = FixedItem(folder);
  const Project* project = CurrentProjectOrNull();
  if (folderItem == nullptr || project == nullptr) return;
  qDeleteAll(folderItem->takeChildren());
  const TreeItemKind pageKind = PageKindOfFolder(folder);
  for (const TreeEntry& entry : BuildPageBranch(*project, folder)) {
    QTreeWidgetItem* item = AddItem(folderItem, pageKind, entry.Text, entry.Image, entry.Data);
    if (entry.Data == selectKey) {
      setCurrentItem(item);
      scrollToItem(item);
    }
  }
  if (folderItem->childCount() > 0) folderItem->setExpanded(true);
}

void CProjectManagerView::FillCatalogue() {
  const Project* project = CurrentProjectOrNull();
  if (catalogueRoot_ == nullptr || project == nullptr) return;
  qDeleteAll(catalogueRoot_->takeChildren());
  for (const CatalogueGroup& group : BuildCatalogue(*project)) {
    QTreeWidgetItem* groupItem = AddItem(catalogueRoot_, TreeItemKind::InstructionGroup, group.Name, group.Image, 0);
    for (const TreeEntry& entry : group.Items) AddItem(groupItem, TreeItemKind::Instruction, entry.Text, entry.Image, entry.Data);
  }
  if (catalogueRoot_->childCount() > 0) catalogueRoot_->setExpanded(true);
}

void CProjectManagerView::RebuildBranch(TreeItemKind folder, int selectKey) {
  if (FixedItem(folder) == nullptr) return;
  setUpdatesEnabled(false);
  Guarded([&] { FillBranch(folder, selectKey); });
  setUpdatesEnabled(true);
  viewport()->update();
}

void CProjectManagerView::RebuildCatalogue() {
  setUpdatesEnabled(false);
  Guarded([&] { FillCatalogue(); });
  setUpdatesEnabled(true);
  viewport()->update();
}

void CProjectManagerView::HandleUpdate(uint16_t code, intptr_t value) {
  const int key = static_cast<int>(value);
  switch (code) {
    case UpdTreeRebuild: RebuildAll(); break;
    case UpdTreeDataBlocks: RebuildBranch(TreeItemKind::DataBlockFolder, key); break;
    case UpdTreeProgramPages: RebuildBranch(TreeItemKind::ProgramBlockFolder, key); break;
    case UpdTreeVariableTables: RebuildBranch(TreeItemKind::VariableSymbolFolder, key); break;
    case UpdTreeStatusCharts: RebuildBranch(TreeItemKind::StatusChartFolder, key); break;
    case UpdTreeInstructions: RebuildCatalogue(); break;
    default: break;
  }
}

void CProjectManagerView::SetItemLabel(TreeItemRef item, const std::wstring& text) {
  if (QTreeWidgetItem* found = FindItem(item)) found->setText(0, ToQ(text));
}

bool CProjectManagerView::AskText(const std::wstring& prompt, std::wstring& text) {
  if (textAsker_) return textAsker_(prompt, text);
  return AskInputString(window(), prompt, text);
}

bool CProjectManagerView::AskPidHeadAddress(unsigned& address) {
  if (addressAsker_) return addressAsker_(address);
  return Brenno::AskPidHeadAddress(window(), address);
}

void CProjectManagerView::Notify(uint32_t event, intptr_t value) {
  if (notifier_) {
    notifier_(event, value);
  } else {
    NotifyMainFrame(event, value);
  }
}

void CProjectManagerView::FocusTree() { setFocus(Qt::OtherFocusReason); }

bool CProjectManagerView::IsTreeShown() const { return isVisible(); }

bool CProjectManagerView::IsCommandEnabled(int command) const {
  try {
    return commands_.IsEnabled(command, SelectedItem());
  } catch (const ExceptionError&) {
    return false;
  }
}

bool CProjectManagerView::OnCommand(int command) {
  if (!ProjectTreeCommands::Knows(command)) return false;
  if (!IsCommandEnabled(command)) return true;
  const TreeItemRef selected = SelectedItem();
  Guarded([&] { commands_.Run(command, selected); });
  return true;
}

bool CProjectManagerView::OpenItem(const QTreeWidgetItem* item) {
  const TreeItemRef ref = ItemRef(item);
  if (ref.Kind == TreeItemKind::ProjectRoot) {
    emit PlcTypeCommandRequested();
    // The main window is the outermost ancestor, also while the pane floats.
    QWidget* main = this;
    while (main->parentWidget() != nullptr) main = main->parentWidget();
    if (auto* action = main->findChild<QAction*>(QStringLiteral("cmd%1").arg(kPlcTypeCommand))) {
      QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
    }
    return true;
  }
  const auto event = OpenEventOf(ref);
  if (!event) return false;
  Notify(event->Event, event->Value);
  return true;
}

void CProjectManagerView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    // A right click does not select: its menu opens only on the item selected before.
    setFocus(Qt::MouseFocusReason);
    event->accept();
    return;
  }
  // A click gives label editing back, so a later click on the selected label starts it.
  labelEditing_ = true;
  QTreeWidget::mousePressEvent(event);
}

void CProjectManagerView::mouseDoubleClickEvent(QMouseEvent* event) {
  QTreeWidgetItem* item = itemAt(event->position().toPoint());
  const bool onSelectedLabel = item != nullptr && item == currentItem() &&
                               visualItemRect(item).contains(event->position().toPoint());
  const TreeItemKind kind = ItemRef(item).Kind;
  if (event->button() != Qt::LeftButton || !onSelectedLabel ||
      (!IsOpenableItem(kind) && kind != TreeItemKind::ProjectRoot)) {
    QTreeWidget::mouseDoubleClickEvent(event);
    return;
  }
  // The double click opens; it neither starts label editing nor expands or collapses.
  if (kind != TreeItemKind::ProjectRoot) labelEditing_ = false;
  Guarded([&] { OpenItem(item); });
  event->accept();
}

void CProjectManagerView::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  QTreeWidgetItem* item = currentItem();
  const TreeItemKind kind = ItemRef(item).Kind;
  if (!enter || state() == QAbstractItemView::EditingState || item == nullptr ||
      (!IsOpenableItem(kind) && kind != TreeItemKind::ProjectRoot)) {
    QTreeWidget::keyPressEvent(event);
    return;
  }
  Guarded([&] { OpenItem(item); });
  event->accept();
}

QMenu* CProjectManagerView::CreateContextMenu() {
  if (!IsOpenableItem(SelectedItem().Kind)) return nullptr;
  auto* menu = new QMenu(this);
  menu->setObjectName(QStringLiteral("ProjectTreeMenu"));
  auto add = [this](QMenu* target, int command) {
    QAction* action = target->addAction(ToQ(ProjectTreeMenuText(command)));
    action->setObjectName(QStringLiteral("treeCmd%1").arg(command));
    action->setData(env_.CommandIdBase() + command);
    action->setStatusTip(ToQ(ProjectTreeStatusText(command)));
    action->setEnabled(IsCommandEnabled(command));
    connect(action, &QAction::triggered, this, [this, command] { OnCommand(command); });
  };
  add(menu, TreeCmdOpen);
  menu->addSeparator();
  add(menu, TreeCmdEditSymbol);
  add(menu, TreeCmdEditAddress);
  add(menu, TreeCmdEditComment);
  menu->addSeparator();
  QMenu* insert = menu->addMenu(ToQ(PickText(L"&Insert", L"插入(&I)")));
  insert->setObjectName(QStringLiteral("ProjectTreeInsertMenu"));
  for (const int command : std::initializer_list<int>{TreeCmdInsertDataBlock, TreeCmdInsertPidDataBlock, TreeCmdInsertPidfDataBlock,
                            TreeCmdInsertDpidDataBlock, 0, TreeCmdInsertInterrupt, TreeCmdInsertSubroutine, 0,
                            TreeCmdInsertVariableTable, TreeCmdInsertStatusChart}) {
    if (command == 0) {
      insert->addSeparator();
    } else {
      add(insert, command);
    }
  }
  QMenu* remove = menu->addMenu(ToQ(PickText(L"&Delete", L"删除(&D)")));
  remove->setObjectName(QStringLiteral("ProjectTreeDeleteMenu"));
  for (const int command : std::initializer_list<int>{TreeCmdDeleteDataBlock, 0, TreeCmdDeleteInterrupt, TreeCmdDeleteSubroutine, 0,
                            TreeCmdDeleteVariableTable, TreeCmdDeleteStatusChart}) {
    if (command == 0) {
      remove->addSeparator();
    } else {
      add(remove, command);
    }
  }
  return menu;
}

void CProjectManagerView::contextMenuEvent(QContextMenuEvent* event) {
  if (event->reason() != QContextMenuEvent::Mouse) {
    event->ignore();
    return;
  }
  QTreeWidgetItem* item = itemAt(event->pos());
  if (item == nullptr || item != currentItem()) {
    event->ignore();
    return;
  }
  std::unique_ptr<QMenu> menu(CreateContextMenu());
  if (!menu) {
    event->ignore();
    return;
  }
  menu->exec(event->globalPos());
  event->accept();
}

QString CProjectManagerView::InfoTipFor(const QTreeWidgetItem* item) const {
  const Project* project = CurrentProjectOrNull();
  if (item == nullptr || project == nullptr) return QString();
  try {
    return ToQ(CutInfoTip(InfoTipText(*project, ItemRef(item), env_.CommState.load())));
  } catch (const ExceptionError&) {
    return QString();
  }
}

bool CProjectManagerView::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = InfoTipFor(itemAt(help->pos()));
    if (tip.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(help->globalPos(), tip, viewport());
    }
    return true;
  }
  return QTreeWidget::viewportEvent(event);
}

bool CProjectManagerView::CanBeginLabelEdit(const QTreeWidgetItem* item) const {
  return labelEditing_ && item != nullptr && CanEditLabel(ItemRef(item).Kind, env_.CommState.load());
}

void CProjectManagerView::EndLabelEdit(QTreeWidgetItem* item, const std::wstring& text) {
  if (item == nullptr) return;
  const TreeItemRef ref = ItemRef(item);
  Guarded([&] { commands_.RenamePage(ref, text); });
}

ProjectTreeLabelDelegate::ProjectTreeLabelDelegate(CProjectManagerView* view) : QStyledItemDelegate(view), view_(view) {}

QWidget* ProjectTreeLabelDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                                const QModelIndex& index) const {
  if (!view_->CanBeginLabelEdit(view_->ItemOfIndex(index))) return nullptr;
  return QStyledItemDelegate::createEditor(parent, option, index);
}

void ProjectTreeLabelDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
  auto* edit = qobject_cast<QLineEdit*>(editor);
  if (edit == nullptr) return;
  // The tree sets the label itself when the page takes the name; the typed text never becomes
  // the label directly.
  view_->EndLabelEdit(view_->ItemOfIndex(index), edit->text().toStdWString());
}

}  // namespace Brenno
