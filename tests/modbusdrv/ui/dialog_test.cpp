// The configuration and browse dialogs, driven without a screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTreeWidget>

#include "modbusdrv/driver/config_file.h"
#include "modbusdrv/ui/driver_config_dialog.h"
#include "platform/file_util.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"

using namespace modbusdrv;

namespace {

class ScriptedConfigDlg : public CDriverConfigDlg {
 public:
  using CDriverConfigDlg::CDriverConfigDlg;
  bool AskSave() override {
    ++questions;
    return answerOk;
  }
  void ShowDuplicateName() override { ++duplicates; }
  void ShowSaveFailed(const std::wstring&) override { ++saveFailures; }
  int questions = 0, duplicates = 0, saveFailures = 0;
  bool answerOk = false;
};

class ScriptedBrowseDlg : public CTagBrowseDlg {
 public:
  using CTagBrowseDlg::CTagBrowseDlg;
  void ShowNothingChosen() override { ++refusals; }
  int refusals = 0;
};

std::wstring W(const std::string& s) { return platform::FromUtf8Lossy(s); }

std::string FileText(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!platform::ReadFileBytes(W(path), bytes)) return "<missing>";
  return {bytes.begin(), bytes.end()};
}

void Select(CDriverConfigDlg& dlg, const QString& text) {
  const auto found = dlg.Tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
  ASSERT_EQ(found.size(), 1) << text.toStdString();
  dlg.Tree->setCurrentItem(found[0]);
}

QStringList Children(QTreeWidgetItem* node) {
  QStringList names;
  for (int i = 0; i < node->childCount(); ++i) names << node->child(i)->text(0);
  return names;
}

const char kExample[] =
    "$ComChannel,ComChannel0,,50,1000,1,1,COM1,115200,8,0,1,0\r\n"
    "$Device,Device0,,5,1\r\n"
    "$DataBlock,DataBlock0,,400001,100,4,50,3\r\n"
    "$TcpChannel,TcpChannel0,,50,1000,1,1,127.0.0.1,502\r\n";

}  // namespace

TEST(ModbusdrvDialog, CommandsBuildTheTreeAndTheFile) {
  testsupport::TempDir dir;
  const std::string path = dir.File("Modbus.cfg");
  ScriptedConfigDlg dlg(W(path));
  QTreeWidgetItem* root = dlg.Tree->topLevelItem(0);
  EXPECT_EQ(root->text(0), "MODBUS");
  EXPECT_EQ(root->childCount(), 0);
  dlg.OnSave();
  EXPECT_EQ(FileText(path), "");
  EXPECT_EQ(dlg.Saved, 1);

  for (int i = 0; i < 3; ++i) dlg.OnAddComChannel();
  EXPECT_EQ(Children(root), (QStringList{"ComChannel0", "ComChannel1", "ComChannel2"}));
  EXPECT_EQ(dlg.Tree->currentItem(), root);
  EXPECT_FALSE(dlg.AddDeviceAction->isEnabled());
  dlg.OnAddDevice();  // root selected: nothing
  EXPECT_TRUE(dlg.ConfigChannels[0]->Devices.empty());

  Select(dlg, "ComChannel1");
  dlg.OnAddDevice();
  Select(dlg, "Device0");
  dlg.OnAddDevice();  // a device selected: the new one joins the same channel
  EXPECT_EQ(dlg.ConfigChannels[1]->Devices.size(), 2u);
  Select(dlg, "Device1");
  dlg.OnAddDataBlock();
  EXPECT_EQ(dlg.ConfigChannels[1]->Devices[1]->Blocks.size(), 1u);
  Select(dlg, "DataBlock0");
  EXPECT_FALSE(dlg.AddDeviceAction->isEnabled());
  EXPECT_TRUE(dlg.AddDataBlockAction->isEnabled());

  dlg.Tree->setCurrentItem(root);
  dlg.OnDeleteNode();  // the root stays
  EXPECT_EQ(dlg.ConfigChannels.size(), 3u);
  Select(dlg, "ComChannel0");
  dlg.OnDeleteNode();
  EXPECT_EQ(dlg.ConfigChannels.size(), 2u);
  EXPECT_EQ(dlg.Modified, 1);
  dlg.OnSave();
  ChannelList loaded;
  ASSERT_TRUE(LoadConfigFile(W(path), loaded));
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[0]->Name, L"ComChannel1");
  EXPECT_EQ(loaded[0]->Devices[1]->Blocks[0]->Start, 400001u);

  // A save into a folder that does not exist is refused and reported.
  ScriptedConfigDlg nowhere(W(dir.File("missing/Modbus.cfg")));
  nowhere.OnSave();
  EXPECT_EQ(nowhere.saveFailures, 1);
  EXPECT_EQ(nowhere.Saved, 0);
}

TEST(ModbusdrvDialog, PagesCheckNamesAndRenameNodes) {
  testsupport::TempDir dir;
  const std::string path = dir.File("Modbus.cfg");
  ASSERT_TRUE(platform::WriteFileBytes(W(path), kExample, sizeof kExample - 1));
  ScriptedConfigDlg dlg(W(path));
  Select(dlg, "ComChannel0");
  ASSERT_EQ(dlg.ChannelPage->ShownChannel(), dlg.ConfigChannels[0].get());
  dlg.ChannelPage->name->setText("comchannel0");
  dlg.ChannelPage->ApplyName();
  EXPECT_EQ(dlg.ChannelPage->name->text(), "ComChannel0");
  dlg.ChannelPage->name->setText("TCPCHANNEL0");
  dlg.ChannelPage->ApplyName();
  EXPECT_EQ(dlg.duplicates, 1);
  dlg.ChannelPage->name->setText("Line 1");
  dlg.ChannelPage->timeout->setText("49");
  dlg.ChannelPage->ApplyEdits();
  EXPECT_EQ(dlg.ConfigChannels[0]->Name, L"Line 1");
  EXPECT_EQ(dlg.ConfigChannels[0]->TimeoutMs, 1000u);
  EXPECT_EQ(dlg.ChannelPage->timeout->text(), "1000");
  EXPECT_EQ(dlg.Tree->topLevelItem(0)->child(0)->text(0), "Line 1");

  Select(dlg, "Device0");
  dlg.DevicePage->name->setText("device0");
  dlg.DevicePage->unit->setText("33");
  dlg.DevicePage->ApplyEdits();
  EXPECT_EQ(dlg.ConfigChannels[0]->Devices[0]->Name, L"device0");
  EXPECT_EQ(dlg.ConfigChannels[0]->Devices[0]->UnitId, 1);
  dlg.DevicePage->Step(1);
  EXPECT_EQ(dlg.ConfigChannels[0]->Devices[0]->UnitId, 2);

  Select(dlg, "DataBlock0");
  dlg.DataBlockPage->start->setText("499950");
  dlg.DataBlockPage->ApplyStart();
  ModbusDataBlock& block = *dlg.ConfigChannels[0]->Devices[0]->Blocks[0];
  EXPECT_EQ(block.Start, 499950u);
  EXPECT_EQ(block.Length, 49u);
  EXPECT_EQ(block.Values.size(), 99u);
  EXPECT_EQ(dlg.DataBlockPage->length->text(), "49");
  dlg.DataBlockPage->start->setText("200001");
  dlg.DataBlockPage->ApplyStart();
  EXPECT_EQ(dlg.DataBlockPage->start->text(), "499950");
  dlg.DataBlockPage->start->setText("1");
  dlg.DataBlockPage->ApplyStart();
  EXPECT_EQ(dlg.DataBlockPage->start->text(), "000001");
  EXPECT_EQ(block.Area, 0u);
  dlg.DataBlockPage->length->setText("99999");
  dlg.DataBlockPage->ApplyLength();
  EXPECT_EQ(block.Length, 49u);
  dlg.DataBlockPage->length->setText("99998");
  dlg.DataBlockPage->ApplyLength();
  EXPECT_EQ(block.Length, 99998u);
}

TEST(ModbusdrvDialog, ClosingAsksOnlyForUnsavedChanges) {
  testsupport::TempDir dir;
  const std::string path = dir.File("Modbus.cfg");
  ASSERT_TRUE(platform::WriteFileBytes(W(path), kExample, sizeof kExample - 1));
  {
    ScriptedConfigDlg dlg(W(path));
    dlg.OnAddTcpChannel();
    dlg.RequestClose();  // Cancel: nothing written
    EXPECT_EQ(dlg.questions, 1);
    EXPECT_EQ(FileText(path), kExample);
    EXPECT_EQ(dlg.Modified, 1);
  }
  {
    ScriptedConfigDlg dlg(W(path));
    Select(dlg, "TcpChannel0");
    dlg.ChannelPage->tcpPage->port->setText("1502");
    dlg.answerOk = true;
    dlg.RequestClose();  // a page change alone counts; OK writes
    EXPECT_EQ(dlg.questions, 1);
    EXPECT_NE(FileText(path).find("127.0.0.1,1502"), std::string::npos);
  }
  {
    ScriptedConfigDlg dlg(W(path));
    dlg.OnAddComChannel();
    dlg.OnSave();
    dlg.RequestClose();  // saved, nothing changed since: no question
    EXPECT_EQ(dlg.questions, 0);
    EXPECT_EQ(dlg.Modified, 1);
  }
}

TEST(ModbusdrvDialog, BrowseGivesTheAddressOfTheChosenBlock) {
  ChannelList running;
  ASSERT_TRUE(LoadConfigBytes(std::vector<uint8_t>(kExample, kExample + sizeof kExample - 1), running));
  ScriptedBrowseDlg dlg(running);
  QTreeWidgetItem* root = dlg.Tree->topLevelItem(0);
  EXPECT_EQ(Children(root), (QStringList{"ComChannel0", "TcpChannel0"}));
  dlg.Tree->setCurrentItem(root->child(0)->child(0));  // Device0
  dlg.OnOk();
  EXPECT_EQ(dlg.refusals, 1);
  EXPECT_EQ(dlg.result(), 0);
  dlg.Tree->setCurrentItem(root->child(0)->child(0)->child(0));
  dlg.OnOk();
  EXPECT_EQ(dlg.ChosenAddress, L"Device0:400001");
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
