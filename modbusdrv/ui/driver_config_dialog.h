// "Modbus Driver": the configuration dialog. It edits a channel list of its own, loaded from
// and saved to "Modbus.cfg"; the running driver takes the file only through DrvSetConfigEx.
#pragma once

#include <QDialog>

#include "modbusdrv/ui/config_pages.h"

class QAction;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace modbusdrv {

// Image indexes of the tree's nodes; the commands and the page switching go by them.
enum NodeImage { kRootNode = 0, kComNode = 1, kDeviceNode = 2, kBlockNode = 3, kTcpNode = 8 };

// Fills a tree with a root "MODBUS" and one node per channel, device and block, all expanded,
// the root selected.
void FillChannelTree(QTreeWidget& tree, const ChannelList& channels);
int NodeImageOf(const QTreeWidgetItem* item);
void* NodeObjectOf(const QTreeWidgetItem* item);

class CDriverConfigDlg : public QDialog, public PageHost {
  Q_OBJECT
 public:
  explicit CDriverConfigDlg(const std::wstring& configPath, QWidget* parent = nullptr);
  ~CDriverConfigDlg() override;

  // Commands of the toolbar.
  void OnAddComChannel();
  void OnAddTcpChannel();
  void OnAddDevice();
  void OnAddDataBlock();
  void OnDeleteNode();
  void OnSave();
  void RebuildConfigTree();
  // The close request (close box): applies the pages, asks to save unsaved changes, closes.
  void RequestClose();

  // PageHost
  ChannelList& Channels() override { return ConfigChannels; }
  const std::wstring& ConfigFilePath() const override { return configPath_; }
  void MarkUnsaved() override { Saved = 0; }
  void NodeNameChanged(const void* object) override;
  void ShowDuplicateName() override;

  // Questions and messages; tests replace them.
  virtual bool AskSave();
  virtual void ShowSaveFailed(const std::wstring& reason);

  int Modified = 0;
  int Saved = 0;
  ChannelList ConfigChannels;
  CSystemInfoPage* InfoPage;
  CChannelPage* ChannelPage;
  CDevicePage* DevicePage;
  CDataBlockPage* DataBlockPage;
  QTreeWidget* Tree;
  QToolBar* ToolBar;
  QAction* AddDeviceAction;
  QAction* AddDataBlockAction;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void OnSelectionChanged();
  void ApplyPages();
  void ShowPage(QWidget* page);
  // Pages let go of an object that is about to be deleted, or of anything inside it.
  void ForgetObject(const void* object);
  QTreeWidgetItem* SelectedNode() const;
  QTreeWidgetItem* FindNode(QTreeWidgetItem* from, const void* object) const;

  std::wstring configPath_;
  bool closing_ = false;
  bool built_ = false;
};

// "Modbus枚举测点": picks a data block of the running configuration.
class CTagBrowseDlg : public QDialog {
  Q_OBJECT
 public:
  CTagBrowseDlg(const ChannelList& running, QWidget* parent = nullptr);
  // OK: a block must be selected.
  void OnOk();
  virtual void ShowNothingChosen();

  QTreeWidget* Tree;
  std::wstring ChosenAddress;
};

}  // namespace modbusdrv
