// The Modbus master dialogs offscreen: the tree commands, the rows shown and the records
// written on OK.
#include "sysblock/ui/modbus_master_cfg_dlg.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTreeWidget>

#include "sysblock/ui/modbus_master_dialogs.h"
#include "ui_test_support.h"

namespace corvell {
namespace {

using Bytes = std::vector<uint8_t>;

class MasterDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog.AskSlaveAddress = [this](int& address) { return address = nextSlave, true; };
    dialog.AskDataBlock = [this](DataBlockFields& values) {
      asked = values;
      values = nextBlock;
      return true;
    };
  }
  void Open(MasterRecordList records) {
    dialog.MasterRecords = std::move(records);
    dialog.OnInitDialog();
    dialog.show();
  }
  void Select(QTreeWidgetItem* item) { dialog.Tree()->setCurrentItem(item); }
  QString Cell(int row, int column) const { return dialog.List()->item(row, column)->text(); }

  QApplication& application = test::EnsureApplication();  // before the first widget
  CModbusMasterCfgDlg dialog{2};
  test::RecordedMessages messages;
  int nextSlave = 5;
  DataBlockFields nextBlock;
  DataBlockFields asked;
};

TEST_F(MasterDialogTest, OpensTheTreeFromTheRecords) {
  // Refresh level 1; one entry for port 1 (RS232), one for port 2: slave 7, function 3.
  Open({{1, 2, 1, 2, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0}, {3, 1, 0, 0, 0, 0, 2, 0}, {7, 3, 9, 0, 10, 0, 2, 0}});
  EXPECT_EQ(dialog.RootNode()->text(0), QStringLiteral("控制器(PLC)"));
  EXPECT_EQ(dialog.PortNode(1)->text(0), QStringLiteral("端口2(RS485 端口)"));
  EXPECT_EQ(dialog.PortNode(4)->text(0), QStringLiteral("Port5"));
  ASSERT_EQ(dialog.PortNode(1)->childCount(), 1);
  QTreeWidgetItem* slave = dialog.PortNode(1)->child(0);
  EXPECT_EQ(slave->text(0), QStringLiteral("SLAVE(7)"));
  ASSERT_EQ(slave->childCount(), 1);
  EXPECT_EQ(CModbusMasterCfgDlg::KindOf(slave->child(0)), MasterNodeKind::Block);

  dialog.OnNodeClicked(dialog.RootNode());
  EXPECT_EQ(dialog.List()->rowCount(), 4) << "every row under the controller";
  EXPECT_EQ(dialog.List()->horizontalHeaderItem(4)->text(), QStringLiteral("Modbus地址"));
  EXPECT_EQ(Cell(2, 1), QStringLiteral("7"));
  EXPECT_EQ(Cell(2, 6), QStringLiteral("100ms"));

  dialog.accept();
  EXPECT_EQ(dialog.MasterRecords,
            (MasterRecordList{{1, 2, 1, 2, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0}, {3, 1, 0, 0, 0, 0, 2, 0}, {7, 3, 9, 0, 10, 0, 2, 0}}));
}

TEST_F(MasterDialogTest, SlaveAddressesAreUniquePerPort) {
  Open({});
  Select(dialog.PortNode(1));
  dialog.OnAddSlave();
  dialog.OnAddSlave();
  ASSERT_EQ(messages.Texts.size(), 1u);
  EXPECT_EQ(messages.Texts[0], L"当前端口下已配置端口为5的从站");
  EXPECT_EQ(dialog.PortNode(1)->childCount(), 1);
  Select(dialog.PortNode(2));
  dialog.OnAddSlave();
  EXPECT_EQ(dialog.PortNode(2)->childCount(), 1);

  Select(dialog.PortNode(1)->child(0));
  dialog.OnDeleteSlave();
  EXPECT_EQ(dialog.PortNode(1)->childCount(), 0);
  Select(dialog.PortNode(1));
  dialog.OnAddSlave();
  EXPECT_EQ(dialog.PortNode(1)->childCount(), 1);
  EXPECT_EQ(messages.Texts.size(), 1u);
}

TEST_F(MasterDialogTest, BlocksAreAddedWithoutOverlapModifiedAndDeleted) {
  Open({});
  Select(dialog.PortNode(0));
  dialog.OnAddSlave();
  QTreeWidgetItem* slave = dialog.PortNode(0)->child(0);
  const char16_t* names[] = {u"A", u"B", u"C"};
  for (int i = 0; i < 3; ++i) {
    nextBlock.Name = std::wstring(names[i], names[i] + 1);
    nextBlock.FunctionIndex = 2, nextBlock.FirstAddress = 1, nextBlock.ReferenceStart = 10 * i, nextBlock.Length = 2 + i;
    Select(slave);
    dialog.OnAddBlock();
  }
  EXPECT_EQ(asked.Name, L"BlockName") << "a new block starts from the dialog's defaults";
  ASSERT_EQ(slave->childCount(), 3);
  EXPECT_EQ(dialog.List()->rowCount(), 4) << "the new block's rows";

  nextBlock.Name = L"D", nextBlock.ReferenceStart = 11, nextBlock.Length = 1;  // registers: bytes 11-12 overlap B
  Select(slave);
  dialog.OnAddBlock();
  ASSERT_EQ(messages.Texts.size(), 1u);
  EXPECT_EQ(messages.Texts[0], L"引用地址有重复！");
  EXPECT_EQ(slave->childCount(), 3);

  // Modifying into an overlapping range is accepted.
  nextBlock.Name = L"B2", nextBlock.ReferenceStart = 0, nextBlock.Length = 5;
  Select(slave->child(1));
  dialog.OnModifyBlock();
  EXPECT_EQ(asked.Name, L"B");
  EXPECT_EQ(asked.ReferenceStart, 10u);
  EXPECT_EQ(slave->child(1)->text(0), QStringLiteral("B2"));
  EXPECT_EQ(dialog.List()->rowCount(), 5);

  Select(slave->child(1));
  dialog.OnDeleteBlock();
  EXPECT_EQ(dialog.Tree()->currentItem(), slave->child(0)) << "the block before the deleted one";
  EXPECT_EQ(dialog.List()->rowCount(), 2);
  Select(slave->child(0));
  dialog.OnDeleteBlock();
  Select(slave->child(0));
  dialog.OnDeleteBlock();
  EXPECT_EQ(dialog.List()->rowCount(), 0);
}

TEST_F(MasterDialogTest, RefreshLevelRewritesEveryRowAndEmptiesTheList) {
  Open({{3, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0}, {2, 1, 0, 0, 0, 0, 3, 0}});
  int offered = -1;
  dialog.AskRefreshLevel = [&offered](int& level) {
    offered = level;
    level = 4;
    return true;
  };
  dialog.OnNodeClicked(dialog.RootNode());
  ASSERT_EQ(dialog.List()->rowCount(), 3);
  EXPECT_EQ(Cell(0, 6), QStringLiteral("500ms"));
  dialog.OnRefreshLevel();
  EXPECT_EQ(offered, 3);
  EXPECT_EQ(dialog.List()->rowCount(), 0);
  dialog.OnNodeClicked(dialog.RootNode());
  EXPECT_EQ(Cell(2, 6), QStringLiteral("1000ms"));
  dialog.accept();
  EXPECT_EQ(dialog.MasterRecords.front()[0], 4);
}

TEST_F(MasterDialogTest, DataBlockDialogLengthRuleAndChecks) {
  CDataBlockDlg block(1, DataBlockFields{});
  block.show();
  QLineEdit* length = block.Edit(kBlockLengthControl);
  length->setText(QStringLiteral("7"));
  block.FunctionList()->setCurrentIndex(4);  // "写单线圈(05)"
  EXPECT_EQ(length->text(), QStringLiteral("1"));
  EXPECT_FALSE(length->isEnabled());
  block.FunctionList()->setCurrentIndex(2);
  EXPECT_TRUE(length->isEnabled());
  EXPECT_EQ(length->text(), QStringLiteral("1"));

  length->setText(QStringLiteral("126"));
  block.Edit(kBlockFirstAddressControl)->setText(QStringLiteral("0"));
  block.accept();
  ASSERT_EQ(messages.Texts.size(), 1u);
  EXPECT_EQ(messages.Texts[0], L"数据长度必须在1到125之间！");
  EXPECT_TRUE(block.isVisible());
  length->setText(QStringLiteral("125"));
  block.accept();
  EXPECT_EQ(messages.Texts.back(), L"首地址必须在1到65535之间！");
  block.Edit(kBlockFirstAddressControl)->setText(QStringLiteral("65535"));
  block.Edit(kBlockNameControl)->setText(QStringLiteral("Temps"));
  block.accept();
  EXPECT_FALSE(block.isVisible());
  EXPECT_EQ(block.Values.Name, L"Temps");
  EXPECT_EQ(block.Values.FunctionIndex, 2);
  EXPECT_EQ(block.Values.FirstAddress, 65535u);
  EXPECT_EQ(block.Values.Length, 125u);
}

}  // namespace
}  // namespace corvell
