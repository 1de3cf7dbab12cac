// The project tree widget offscreen on a real project: its items, its update codes, opening by
// double click, label editing, the context menu, info tips, the pane and the image strips.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include "core/program/program_block.h"
#include "core/project/data_block_table.h"
#include "tests/ui/views/project_tree/project_tree_test_env.h"
#include "ui/shell/notify_codes.h"
#include "ui/views/project_tree/project_manager_pane.h"
#include "ui/views/project_tree/project_manager_view.h"
#include "ui/views/project_tree/shared_image_lists.h"
#include "ui/views/project_tree/table_page_operations.h"

namespace Brenno {
namespace {

using treetest::SentEvent;

QStringList Texts(const QTreeWidgetItem* parent) {
  QStringList texts;
  for (int i = 0; parent != nullptr && i < parent->childCount(); ++i) texts << parent->child(i)->text(0);
  return texts;
}

class ProjectManagerViewTest : public treetest::ProjectTreeEnv {
 protected:
  void SetUp() override {
    treetest::ProjectTreeEnv::SetUp();
    window = std::make_unique<QMainWindow>();
    plcType = new QAction(window.get());
    plcType->setObjectName(QStringLiteral("cmd20192"));
    QObject::connect(plcType, &QAction::triggered, [this] { ++plcTypeTriggered; });
    view = new CProjectManagerView(env_, &images, window.get());
    window->setCentralWidget(view);
    view->SetNotifier([this](uint32_t event, intptr_t value) { events.push_back({event, value}); });
    window->resize(400, 900);
    window->show();
  }
  void TearDown() override {
    window.reset();
    treetest::ProjectTreeEnv::TearDown();
  }

  QTreeWidgetItem* Folder(TreeItemKind kind) { return view->FixedItem(kind); }
  QTreeWidgetItem* Page(TreeItemKind kind, int key) { return view->FindItem({kind, key}); }

  void DoubleClick(QTreeWidgetItem* item) {
    view->scrollToItem(item);
    const QPoint point = view->visualItemRect(item).center();
    QMouseEvent event(QEvent::MouseButtonDblClick, QPointF(point), QPointF(view->viewport()->mapToGlobal(point)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &event);
  }

  QLineEdit* Editor() { return view->viewport()->findChild<QLineEdit*>(); }
  // Ends label editing with the text, as Enter in the edit box does.
  void Commit(QLineEdit* editor, const QString& text) {
    editor->setText(text);
    emit view->itemDelegate()->commitData(editor);
    emit view->itemDelegate()->closeEditor(editor);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  SharedImageLists images;
  std::unique_ptr<QMainWindow> window;
  QAction* plcType = nullptr;
  int plcTypeTriggered = 0;
  CProjectManagerView* view = nullptr;
  std::vector<SentEvent> events;
};

TEST_F(ProjectManagerViewTest, ListsTheProjectAndTheCatalogue) {
  ASSERT_EQ(view->topLevelItemCount(), 2);
  QTreeWidgetItem* root = view->topLevelItem(0);
  EXPECT_EQ(root->text(0), QStringLiteral("Project [CPU-A16 (16 DI / 16 DO)]"));
  EXPECT_TRUE(root->isExpanded());
  EXPECT_EQ(Texts(root), (QStringList{"Data Block", "System Block", "Program Block", "Function Symbol", "Variable Symbol",
                                      "Status Chart", "Cross Reference"}));
  EXPECT_EQ(Texts(Folder(TreeItemKind::DataBlockFolder)), QStringList{"DAT_0 (DAT0)"});
  EXPECT_EQ(Texts(Folder(TreeItemKind::ProgramBlockFolder)), (QStringList{"MAIN (INT0)", "SBR_0 (SBR0)"}));
  EXPECT_TRUE(Folder(TreeItemKind::ProgramBlockFolder)->isExpanded());
  EXPECT_EQ(view->topLevelItem(1)->text(0), QStringLiteral("Instructions"));
  EXPECT_EQ(view->topLevelItem(1)->childCount(), static_cast<int>(Current().Instructions.FunLadGroups.size()));
  EXPECT_FALSE(root->icon(0).isNull());
  EXPECT_EQ(view->currentItem(), nullptr);

  // A project without data blocks shows the folder without children and without a button; the
  // catalogue root stays even when its catalogue is empty.
  Current().DataBlocks.Working.clear();
  Current().Program.ViewMode = 0;
  view->HandleUpdate(UpdTreeRebuild, 0);
  EXPECT_EQ(Folder(TreeItemKind::DataBlockFolder)->childCount(), 0);
  EXPECT_EQ(Folder(TreeItemKind::DataBlockFolder)->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicatorWhenChildless);
  ASSERT_EQ(view->topLevelItemCount(), 2);
  EXPECT_EQ(view->topLevelItem(1)->childCount(), 0);
}

TEST_F(ProjectManagerViewTest, UpdateCodesRebuildABranchAndSelect) {
  ASSERT_EQ(InsertDataBlock(Current().DataBlocks), 1);
  view->HandleUpdate(UpdTreeDataBlocks, 1);
  EXPECT_EQ(Texts(Folder(TreeItemKind::DataBlockFolder)), (QStringList{"DAT_0 (DAT0)", "DAT_1 (DAT1)"}));
  EXPECT_EQ(view->SelectedItem(), (TreeItemRef{TreeItemKind::DataBlockPage, 1}));

  ASSERT_TRUE(Current().Program.RenameBlock(0x10000, L"Pump"));
  view->HandleUpdate(0x8302, 0);  // not a tree code
  EXPECT_EQ(Texts(Folder(TreeItemKind::ProgramBlockFolder)), (QStringList{"MAIN (INT0)", "SBR_0 (SBR0)"}));
  view->HandleUpdate(UpdTreeProgramPages, 0x10000);
  EXPECT_EQ(Texts(Folder(TreeItemKind::ProgramBlockFolder)), (QStringList{"MAIN (INT0)", "Pump (SBR0)"}));
  EXPECT_EQ(view->SelectedItem(), (TreeItemRef{TreeItemKind::ProgramPage, 0x10000}));
  EXPECT_EQ(view->FindItem({TreeItemKind::Instruction, static_cast<int>(Current().Instructions.FunLadList.size()) -
                                                           Current().Instructions.SubroutineCount})
                ->text(0),
            QStringLiteral("SBR_0 (SBR0)"));
  view->HandleUpdate(UpdTreeInstructions, 0);
  EXPECT_EQ(view->FindItem({TreeItemKind::Instruction, static_cast<int>(Current().Instructions.FunLadList.size()) -
                                                           Current().Instructions.SubroutineCount})
                ->text(0),
            QStringLiteral("Pump (SBR0)"));
}

TEST_F(ProjectManagerViewTest, DoubleClickOpensTheSelectedItem) {
  QTreeWidgetItem* sbr = Page(TreeItemKind::ProgramPage, 0x10000);
  DoubleClick(sbr);  // not selected: the control's own handling, nothing sent
  EXPECT_TRUE(events.empty());
  view->setCurrentItem(sbr);
  DoubleClick(sbr);
  QTreeWidgetItem* folder = Folder(TreeItemKind::StatusChartFolder);
  view->setCurrentItem(folder);
  DoubleClick(folder);
  EXPECT_TRUE(folder->isExpanded());  // the label's double click neither collapses nor expands
  QTreeWidgetItem* instruction = view->topLevelItem(1)->child(0)->child(0);
  view->setCurrentItem(instruction);
  DoubleClick(instruction);
  EXPECT_EQ(events, (std::vector<SentEvent>{{EvTreeOpenProgramPage, 0x10000},
                                            {EvTreeOpenStatusChart, 0},
                                            {EvTreeInsertInstruction, view->ItemRef(instruction).Data}}));
  // The double click that opened a page does not start label editing.
  EXPECT_FALSE(view->CanBeginLabelEdit(sbr));

  // The project root posts PLC > Type to the main window.
  view->setCurrentItem(view->topLevelItem(0));
  DoubleClick(view->topLevelItem(0));
  EXPECT_TRUE(view->topLevelItem(0)->isExpanded());
  EXPECT_EQ(plcTypeTriggered, 0);
  QApplication::processEvents();
  EXPECT_EQ(plcTypeTriggered, 1);
  EXPECT_EQ(events.size(), 3u);
}

TEST_F(ProjectManagerViewTest, LabelEditingRenamesPagesOffline) {
  QTreeWidgetItem* block = Page(TreeItemKind::DataBlockPage, 0);
  view->setCurrentItem(block);
  view->editItem(block);
  QLineEdit* editor = Editor();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text(), QStringLiteral("DAT_0 (DAT0)"));  // starts with the whole label
  Commit(editor, QStringLiteral("Recipe"));
  EXPECT_EQ(Page(TreeItemKind::DataBlockPage, 0)->text(0), QStringLiteral("Recipe (DAT0)"));
  EXPECT_EQ(GetTablePageName(Current().DataBlocks, 0), L"Recipe");
  EXPECT_EQ(events, (std::vector<SentEvent>{{EvTreeDataBlockRenamed, 0}}));

  // A refused name keeps the label and sends nothing.
  EXPECT_EQ(Editor(), nullptr);
  view->editItem(block);
  editor = Editor();
  ASSERT_NE(editor, nullptr);
  Commit(editor, QStringLiteral("DAT_3"));
  EXPECT_EQ(block->text(0), QStringLiteral("Recipe (DAT0)"));
  EXPECT_EQ(events.size(), 1u);

  // Only page items, and only offline.
  EXPECT_FALSE(view->CanBeginLabelEdit(Folder(TreeItemKind::DataBlockFolder)));
  EXPECT_FALSE(view->CanBeginLabelEdit(view->topLevelItem(1)->child(0)->child(0)));
  SetCommState(CommOnline);
  view->editItem(block);
  EXPECT_EQ(Editor(), nullptr);
}

TEST_F(ProjectManagerViewTest, ContextMenuCommands) {
  EXPECT_EQ(view->CreateContextMenu(), nullptr);  // nothing selected
  view->setCurrentItem(view->topLevelItem(0));
  EXPECT_EQ(view->CreateContextMenu(), nullptr);  // the project root has no menu

  view->setCurrentItem(Page(TreeItemKind::DataBlockPage, 0));
  std::unique_ptr<QMenu> menu(view->CreateContextMenu());
  ASSERT_NE(menu, nullptr);
  QStringList texts;
  for (QAction* action : menu->actions()) texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
  EXPECT_EQ(texts, (QStringList{"&Open", "-", "Edit &Symbol", "Edit &Address", "Edit &Comment", "-", "&Insert", "&Delete"}));
  auto* insert = menu->findChild<QMenu*>(QStringLiteral("ProjectTreeInsertMenu"));
  ASSERT_NE(insert, nullptr);
  EXPECT_EQ(insert->actions().size(), 10);
  EXPECT_TRUE(menu->findChild<QAction*>(QStringLiteral("treeCmd20364"))->isEnabled());
  EXPECT_FALSE(menu->findChild<QAction*>(QStringLiteral("treeCmd20344"))->isEnabled());
  EXPECT_EQ(menu->findChild<QAction*>(QStringLiteral("treeCmd20363"))->statusTip(), QStringLiteral("Insert Data Block"));

  menu->findChild<QAction*>(QStringLiteral("treeCmd20363"))->trigger();
  EXPECT_EQ(Texts(Folder(TreeItemKind::DataBlockFolder)), (QStringList{"DAT_0 (DAT0)", "DAT_1 (DAT1)"}));
  EXPECT_EQ(view->SelectedItem(), (TreeItemRef{TreeItemKind::DataBlockPage, 1}));
  EXPECT_EQ(events, (std::vector<SentEvent>{{EvTreeDataBlockAdded, 1}}));

  // Edit Symbol through the prompt; while online only Open is enabled.
  std::wstring prompt;
  view->SetTextAsker([&](const std::wstring& asked, std::wstring& text) {
    prompt = asked + L"|" + text;
    text = L"Mixer";
    return true;
  });
  EXPECT_TRUE(view->OnCommand(TreeCmdEditSymbol));
  EXPECT_EQ(prompt, L"Please input the symbol:|DAT_1");
  EXPECT_EQ(view->currentItem()->text(0), QStringLiteral("Mixer (DAT1)"));
  SetCommState(CommOnline);
  menu.reset(view->CreateContextMenu());
  for (QAction* action : menu->findChildren<QAction*>()) {
    if (action->objectName().startsWith(QStringLiteral("treeCmd"))) {
      EXPECT_EQ(action->isEnabled(), action->objectName() == QStringLiteral("treeCmd20321")) << action->objectName().toStdString();
    }
  }
  EXPECT_FALSE(view->OnCommand(20101));  // not a tree command
}

TEST_F(ProjectManagerViewTest, RightClickKeepsTheSelection) {
  QTreeWidgetItem* selected = Page(TreeItemKind::DataBlockPage, 0);
  view->setCurrentItem(selected);
  QTreeWidgetItem* other = Page(TreeItemKind::ProgramPage, 0);
  const QPoint point = view->visualItemRect(other).center();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(point), QPointF(view->viewport()->mapToGlobal(point)),
                    Qt::RightButton, Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(view->viewport(), &press);
  EXPECT_EQ(view->currentItem(), selected);
}

TEST_F(ProjectManagerViewTest, PidHeadAddressDialogChecksTheRange) {
  std::vector<QString> seen;
  // Types into the dialog when it runs: first a number out of range (refused, the dialog stays),
  // then a good one.
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("HeadAddress"));
    ASSERT_NE(edit, nullptr);
    seen.push_back(edit->text());
    for (const char* text : {"7501", "", "2100"}) {
      edit->setText(QString::fromLatin1(text));
      dialog->accept();
      seen.push_back(dialog->isVisible() ? QStringLiteral("open") : QStringLiteral("closed"));
    }
  });
  // Never left waiting on a dialog that the script could not end.
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
  });
  guard.start(5000);
  unsigned address = kPidDefaultHeadAddress;
  ASSERT_TRUE(view->AskPidHeadAddress(address));
  EXPECT_EQ(address, 2100u);
  EXPECT_EQ(seen, (std::vector<QString>{"2000", "open", "open", "closed"}));
  EXPECT_EQ(facade_.asked.size(), 2u);
}

TEST_F(ProjectManagerViewTest, InfoTipsShowComments) {
  ASSERT_TRUE(SetTablePageComment(Current().StatusChart, 0, L"Watch the pumps"));
  EXPECT_EQ(view->InfoTipFor(Page(TreeItemKind::StatusChartPage, 0)), QStringLiteral("Watch the pumps"));
  EXPECT_EQ(view->InfoTipFor(Folder(TreeItemKind::StatusChartFolder)), QString());
  SetCommState(CommCommand);
  EXPECT_EQ(view->InfoTipFor(Page(TreeItemKind::StatusChartPage, 0)), QString());
  // An item whose page is gone gives no tip instead of an error leaving the event loop.
  SetCommState(CommOffline);
  Current().StatusChart.Working.clear();
  EXPECT_EQ(view->InfoTipFor(Page(TreeItemKind::StatusChartPage, 0)), QString());
}


}  // namespace
}  // namespace Brenno
