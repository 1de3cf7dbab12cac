// Data, compile, search: rows typed into the data block window, PLC > Compile All reporting in
// the output pane (a bad value as an error until the user mends it), and Find And Replace
// renaming an input all over the program.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include "core/project/data_block_table.h"
#include "tests/ui/e2e/e2e_workbench.h"
#include "ui/shell/find_and_replace_dlg.h"
#include "ui/shell/infor_output_pane.h"
#include "ui/views/data_blocks/data_block_frm.h"
#include "ui/views/data_blocks/data_block_rows.h"
#include "ui/views/data_blocks/data_block_view.h"

namespace Brenno::e2e {
namespace {

class E2eCompile : public E2eWorkbench {
 protected:
  // A click on the cell, Enter opens its choice list, the entry picked with Enter.
  static void ChooseCell(CExtendListCtrl& grid, int record, int column, const QString& choice) {
    ClickGridCell(grid, record, column);
    Key(&grid, Qt::Key_Return, QStringLiteral("\r"));
    ASSERT_TRUE(grid.InplaceList().isVisible());
    const QList<QListWidgetItem*> found = grid.InplaceList().findItems(choice, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << choice.toStdString();
    grid.InplaceList().setCurrentItem(found[0]);
    Key(&grid.InplaceList(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_FALSE(grid.InplaceList().isVisible());
  }
  QStringList OutputLines() {
    QStringList lines;
    CInforOutputView* view = frame_->OutputPane()->View();
    for (int i = 0; i < view->count(); ++i) lines << view->item(i)->text();
    return lines;
  }
};

TEST_F(E2eCompile, DataRowsCompileAndFindReplaceRenamesAnInput) {
  Start();
  // Two words in the first data block, the second with a value no word can hold (drawn red and
  // left out of the image, without an error).
  ASSERT_TRUE(Pick(CmdViewDataBlock));
  auto* blocks = dynamic_cast<CDataBlockFrm*>(frame_->ChildFrame(ChildFrameKind::DataBlocks));
  ASSERT_NE(blocks, nullptr);
  CDataBlockView* data = blocks->ActiveView();
  ASSERT_NE(data, nullptr);
  const int key = data->Key();
  TypeCell(*data, 0, DataBlockRows::kColumnAddress, QStringLiteral("VW0"));
  ChooseCell(*data, 0, DataBlockRows::kColumnType, QStringLiteral("WORD"));
  TypeCell(*data, 0, DataBlockRows::kColumnValue, QStringLiteral("1234"));
  TypeCell(*data, 1, DataBlockRows::kColumnAddress, QStringLiteral("VW2"));
  ChooseCell(*data, 1, DataBlockRows::kColumnType, QStringLiteral("WORD"));
  TypeCell(*data, 1, DataBlockRows::kColumnValue, QStringLiteral("99999"));
  const DataBlockTable& table = Current().DataBlocks;
  EXPECT_EQ(GetDataRowAddress(table, key, 0), L"VW0");
  EXPECT_EQ(GetDataRowValue(table, key, 0), L"16#04D2");  // a word's value is shown in hex
  EXPECT_EQ(GetDataRowValue(table, key, 1), L"99999");
  EXPECT_TRUE(Env().Modified.load());

  // A rung in the program, using I0.0 twice.
  CProgramEditorMainView* program = OpenProgramEditor();
  ASSERT_NE(program, nullptr);
  TypeRung(program, 0, QStringLiteral("I0.0"), QStringLiteral("Q0.0"));
  TypeRung(program, 1, QStringLiteral("I0.0"), QStringLiteral("Q0.1"));

  // PLC > Compile All: the output pane comes forward; only the complete row is in the image.
  ASSERT_TRUE(Pick(CmdPlcCompileAll));
  EXPECT_TRUE(frame_->OutputPane()->isVisible());
  QStringList lines = OutputLines();
  EXPECT_TRUE(lines.contains(QStringLiteral("Size of Data Block : 8 Byte(s) (0.0%)"))) << lines.join('\n').toStdString();
  ASSERT_FALSE(lines.isEmpty());
  EXPECT_EQ(lines.back(), QStringLiteral("Total 0 Error(s)"));

  // Mended and compiled again: both rows.
  ASSERT_TRUE(Pick(CmdViewDataBlock));
  TypeCell(*data, 1, DataBlockRows::kColumnValue, QStringLiteral("999"));
  EXPECT_EQ(GetDataRowValue(table, key, 1), L"16#03E7");
  NotifyMainFrame(EvOutputClear, intptr_t{0});
  ASSERT_TRUE(Pick(CmdPlcCompileAll));
  lines = OutputLines();
  EXPECT_TRUE(lines.contains(QStringLiteral("Size of Data Block : 16 Byte(s) (0.1%)"))) << lines.join('\n').toStdString();
  ASSERT_FALSE(lines.isEmpty());
  EXPECT_EQ(lines.back(), QStringLiteral("Total 0 Error(s)"));

  // Edit > Find And Replace from the program editor: I0.0 becomes I0.1 everywhere.
  ASSERT_TRUE(Pick(CmdViewProgramEditor));
  program->setFocus();
  QApplication::processEvents();
  ASSERT_TRUE(Pick(PvFindReplace));
  CFindAndReplaceDlg* find = frame_->FindReplaceDialog();
  ASSERT_TRUE(find->isVisible());
  Type(find->SearchEdit(), QStringLiteral("I0.0"));
  EXPECT_EQ(find->ResultList()->topLevelItemCount(), 2);
  Type(find->ReplaceEdit(), QStringLiteral("I0.1"));
  find->UpdateButtons();
  ASSERT_TRUE(find->ReplaceAllButton()->isEnabled());
  find->ReplaceAllButton()->click();
  QApplication::processEvents();
  for (int network : {0, 1}) {
    const std::vector<LadElement>& elements = MainPage().Networks()[static_cast<size_t>(network)].Grid.Elements;
    ASSERT_FALSE(elements.empty());
    const bool renamed = std::any_of(elements.begin(), elements.end(), [](const LadElement& e) {
      return !e.OperandIn.empty() && e.OperandIn[0].Text == L"I0.1";
    });
    EXPECT_TRUE(renamed) << "network " << network;
  }
  EXPECT_TRUE(facade_.asked.empty());
}

}  // namespace
}  // namespace Brenno::e2e
