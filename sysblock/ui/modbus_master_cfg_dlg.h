// "Modbus主站配置": the PLC's Modbus master configuration as a tree of the controller, its
// five ports, their slaves and data blocks, beside the tag rows of the clicked node.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

#include "sysblock/model/modbus_master_config.h"
#include "sysblock/model/modbus_master_image.h"
#include "sysblock/ui/data_block_fields.h"

class QTreeWidget;
class QTreeWidgetItem;
class QTableWidget;

namespace corvell {

constexpr int kMasterTreeControl = 40072;
constexpr int kMasterListControl = 40073;

// Kind of a tree node, which is also its image: 0 controller, 1 port, 2 slave, 3 data block.
enum class MasterNodeKind { Controller = 0, Port = 1, Slave = 2, Block = 3 };

class CModbusMasterCfgDlg : public QDialog {
 public:
  explicit CModbusMasterCfgDlg(int language, QWidget* parent = nullptr);
  ~CModbusMasterCfgDlg() override;

  // The image as records: filled by the port page before each run, rewritten on OK.
  MasterRecordList MasterRecords;

  // The small dialogs; tests may replace them. Each returns true on OK with the chosen value.
  std::function<bool(int& slaveAddress)> AskSlaveAddress;
  std::function<bool(int& refreshLevel)> AskRefreshLevel;
  std::function<bool(DataBlockFields& values)> AskDataBlock;

  // Rebuilds the controller and the tree from MasterRecords; run by exec() and open().
  void OnInitDialog();
  int exec() override;
  void open() override;
  // Writes the configuration into MasterRecords and closes with OK.
  void accept() override;

  // Click on a node: it becomes the selection and its rows (or those under it) are shown.
  void OnNodeClicked(QTreeWidgetItem* item);
  // The commands of the context menus, acting on the selected node.
  void OnAddSlave();
  void OnRefreshLevel();
  void OnAddBlock();
  void OnDeleteSlave();
  void OnModifyBlock();
  void OnDeleteBlock();

  QTreeWidget* Tree() const { return tree_; }
  QTableWidget* List() const { return list_; }
  QTreeWidgetItem* RootNode() const { return root_; }
  QTreeWidgetItem* PortNode(int port) const { return ports_[port]; }
  const CControllerDataCls& Controller() const { return *controller_; }
  static MasterNodeKind KindOf(const QTreeWidgetItem* item);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowContextMenu(QTreeWidgetItem* item, const QPoint& globalPos);
  QTreeWidgetItem* Selected() const;
  QTreeWidgetItem* AddSlaveNode(QTreeWidgetItem* portNode, CSlaveDataCls* slave);
  QTreeWidgetItem* AddBlockNode(QTreeWidgetItem* slaveNode, CDataBlockDataCls* block);
  void ShowRows(const std::vector<const CTag*>& rows);
  void ShowRowsUnder(QTreeWidgetItem* item);
  void ClearRows();

  int language_;
  QTreeWidget* tree_;
  QTableWidget* list_;
  QTreeWidgetItem* root_ = nullptr;
  QTreeWidgetItem* ports_[kMasterPortCount] = {};
  std::unique_ptr<CControllerDataCls> controller_;
};

}  // namespace corvell
