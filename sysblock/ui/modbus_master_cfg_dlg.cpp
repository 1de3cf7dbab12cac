#include "sysblock/ui/modbus_master_cfg_dlg.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "sysblock/model/text_value.h"
#include "sysblock/ui/message_box.h"
#include "sysblock/ui/modbus_master_dialogs.h"
#include "sysblock/ui/property_page.h"

namespace corvell {

namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kObjectRole = Qt::UserRole + 1;

QString T(int language, const wchar_t* english, const wchar_t* chinese) {
  return QString::fromWCharArray(PickText(language, english, chinese));
}

// The four node images: controller, port, slave, data block.
QIcon NodeIcon(MasterNodeKind kind) {
  static const QColor colours[] = {QColor(40, 90, 160), QColor(40, 140, 60), QColor(200, 130, 20),
                                   QColor(120, 120, 120)};
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(Qt::black);
  painter.setBrush(colours[static_cast<int>(kind)]);
  switch (kind) {
    case MasterNodeKind::Controller: painter.drawRect(1, 2, 13, 11); break;
    case MasterNodeKind::Port: painter.drawEllipse(2, 2, 11, 11); break;
    case MasterNodeKind::Slave: painter.drawRoundedRect(2, 3, 11, 9, 3, 3); break;
    case MasterNodeKind::Block: painter.drawRect(3, 1, 9, 13); break;
  }
  return QIcon(pixmap);
}

template <typename T>
T* ObjectOf(const QTreeWidgetItem* item) {
  return item == nullptr ? nullptr : static_cast<T*>(item->data(0, kObjectRole).value<void*>());
}

void CollectRows(const CDataBlockDataCls& block, std::vector<const CTag*>& rows) {
  for (const auto& row : block.Rows) rows.push_back(row.get());
}
void CollectRows(const CSlaveDataCls& slave, std::vector<const CTag*>& rows) {
  for (const auto& block : slave.Blocks) CollectRows(*block, rows);
}
void CollectRows(const CPortDataCls& port, std::vector<const CTag*>& rows) {
  for (const auto& slave : port.Slaves) CollectRows(*slave, rows);
}

}  // namespace

CModbusMasterCfgDlg::CModbusMasterCfgDlg(int language, QWidget* parent)
    : QDialog(parent), MasterRecords{PageBytes(kMasterHeaderSize, 0)}, language_(language) {
  setWindowTitle(QStringLiteral("Modbus主站配置"));
  resize(1030, 670);
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  tree_ = new QTreeWidget(this);
  tree_->setObjectName(CPropertyPage::ControlName(kMasterTreeControl));
  tree_->setHeaderHidden(true);
  tree_->setIconSize(QSize(16, 16));
  tree_->setFixedWidth(language == 1 ? 200 : 222);
  tree_->viewport()->installEventFilter(this);
  connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) { OnNodeClicked(item); });
  row->addWidget(tree_);
  list_ = new QTableWidget(0, 7, this);
  list_->setObjectName(CPropertyPage::ControlName(kMasterListControl));
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setShowGrid(true);
  list_->verticalHeader()->hide();
  list_->horizontalHeader()->setSectionsMovable(true);
  list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft);
  const QString heads[7] = {T(language, L"Number", L"序号"),          T(language, L"Slave Number", L"从站号"),
                            T(language, L"IO Type", L"IO 类型"),       T(language, L"Physical Address", L"物理地址"),
                            T(language, L"Modbus Address", L"Modbus地址"), T(language, L"Quote Address", L"引用地址"),
                            T(language, L"Refresh Level", L"刷新级别")};
  const int widths[7] = {60, 100, 120, 100, 100, 100, 100};
  for (int c = 0; c < 7; ++c) {
    list_->setHorizontalHeaderItem(c, new QTableWidgetItem(heads[c]));
    list_->setColumnWidth(c, widths[c]);
  }
  row->addWidget(list_, 1);
  layout->addLayout(row);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  AskSlaveAddress = [this](int& address) {
    CSlaveAddrDlg dialog(language_, this);
    if (dialog.exec() != QDialog::Accepted) return false;
    address = dialog.SlaveAddress;
    return true;
  };
  AskRefreshLevel = [this](int& level) {
    CRefreshLevelDlg dialog(language_, level, this);
    if (dialog.exec() != QDialog::Accepted) return false;
    level = dialog.RefreshLevel;
    return true;
  };
  AskDataBlock = [this](DataBlockFields& values) {
    CDataBlockDlg dialog(language_, values, this);
    if (dialog.exec() != QDialog::Accepted) return false;
    values = dialog.Values;
    return true;
  };
}

CModbusMasterCfgDlg::~CModbusMasterCfgDlg() {
  // The nodes point into the controller: drop them first.
  tree_->clear();
}

MasterNodeKind CModbusMasterCfgDlg::KindOf(const QTreeWidgetItem* item) {
  return static_cast<MasterNodeKind>(item->data(0, kKindRole).toInt());
}

void CModbusMasterCfgDlg::OnInitDialog() {
  tree_->clear();
  ClearRows();
  controller_ = std::make_unique<CControllerDataCls>();

  root_ = new QTreeWidgetItem(tree_, QStringList(T(language_, L"CPU(PLC)", L"控制器(PLC)")));
  root_->setIcon(0, NodeIcon(MasterNodeKind::Controller));
  root_->setData(0, kKindRole, static_cast<int>(MasterNodeKind::Controller));
  root_->setData(0, kObjectRole, QVariant::fromValue<void*>(controller_.get()));
  QFont bold = root_->font(0);
  bold.setBold(true);
  root_->setFont(0, bold);
  const QString portNames[kMasterPortCount] = {T(language_, L"Port 1(RS232 port)", L"端口1(RS232 端口)"),
                                               T(language_, L"Port 2(RS485 port)", L"端口2(RS485 端口)"),
                                               QStringLiteral("Port3"), QStringLiteral("Port4"),
                                               QStringLiteral("Port5")};
  for (int p = 0; p < kMasterPortCount; ++p) {
    ports_[p] = new QTreeWidgetItem(root_, QStringList(portNames[p]));
    ports_[p]->setIcon(0, NodeIcon(MasterNodeKind::Port));
    ports_[p]->setData(0, kKindRole, static_cast<int>(MasterNodeKind::Port));
    ports_[p]->setData(0, kObjectRole, QVariant::fromValue<void*>(controller_->Ports[p].get()));
  }
  root_->setExpanded(true);

  FillMasterTree(MasterRecords, *controller_);
  for (int p = 0; p < kMasterPortCount; ++p) {
    for (const auto& slave : controller_->Ports[p]->Slaves) {
      QTreeWidgetItem* slaveNode = AddSlaveNode(ports_[p], slave.get());
      for (const auto& block : slave->Blocks) AddBlockNode(slaveNode, block.get());
    }
  }
}

int CModbusMasterCfgDlg::exec() {
  OnInitDialog();
  return QDialog::exec();
}

void CModbusMasterCfgDlg::open() {
  OnInitDialog();
  QDialog::open();
}

void CModbusMasterCfgDlg::accept() {
  MasterRecordList records;
  if (!BuildMasterRecords(*controller_, records)) {
    ShowMessageBox(this, language_, L"数据块数量不能超过255个！");
    return;
  }
  MasterRecords = std::move(records);
  QDialog::accept();
}

QTreeWidgetItem* CModbusMasterCfgDlg::AddSlaveNode(QTreeWidgetItem* portNode, CSlaveDataCls* slave) {
  auto* node = new QTreeWidgetItem(portNode, QStringList(QString::fromStdWString(SlaveNodeText(slave->AddressMinusOne + 1))));
  node->setIcon(0, NodeIcon(MasterNodeKind::Slave));
  node->setData(0, kKindRole, static_cast<int>(MasterNodeKind::Slave));
  node->setData(0, kObjectRole, QVariant::fromValue<void*>(slave));
  portNode->setExpanded(true);
  return node;
}

QTreeWidgetItem* CModbusMasterCfgDlg::AddBlockNode(QTreeWidgetItem* slaveNode, CDataBlockDataCls* block) {
  auto* node = new QTreeWidgetItem(slaveNode, QStringList(QString::fromStdWString(block->Name)));
  node->setIcon(0, NodeIcon(MasterNodeKind::Block));
  node->setData(0, kKindRole, static_cast<int>(MasterNodeKind::Block));
  node->setData(0, kObjectRole, QVariant::fromValue<void*>(block));
  slaveNode->setExpanded(true);
  return node;
}

bool CModbusMasterCfgDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == tree_->viewport() && event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    QTreeWidgetItem* item = tree_->itemAt(mouse->position().toPoint());
    if (mouse->button() == Qt::LeftButton && item == nullptr) {
      tree_->clearSelection();
      tree_->setCurrentItem(nullptr);
      return true;
    }
    if (mouse->button() == Qt::RightButton) {
      if (item != nullptr) {
        tree_->setCurrentItem(item);
        ShowContextMenu(item, mouse->globalPosition().toPoint());
      }
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void CModbusMasterCfgDlg::ShowContextMenu(QTreeWidgetItem* item, const QPoint& globalPos) {
  const int l = language_;
  QMenu menu(this);
  auto add = [&menu](const QString& text, void (CModbusMasterCfgDlg::*handler)(), CModbusMasterCfgDlg* self) {
    QObject::connect(menu.addAction(text), &QAction::triggered, self, [self, handler] { (self->*handler)(); });
  };
  switch (KindOf(item)) {
    case MasterNodeKind::Controller:
      menu.setTitle(T(l, L"CPU", L"控制器"));
      add(T(l, L"Port &Refresh Level", L"端口刷新级别(&R)"), &CModbusMasterCfgDlg::OnRefreshLevel, this);
      break;
    case MasterNodeKind::Port:
      menu.setTitle(T(l, L"Port", L"端口"));
      add(T(l, L"Add &Slave", L"添加从站(&S)"), &CModbusMasterCfgDlg::OnAddSlave, this);
      break;
    case MasterNodeKind::Slave:
      menu.setTitle(T(l, L"Slave", L"从站"));
      add(T(l, L"&Add Block", L"添加Block(&A)"), &CModbusMasterCfgDlg::OnAddBlock, this);
      add(T(l, L"&Delete Slave", L"删除Slave(&D)"), &CModbusMasterCfgDlg::OnDeleteSlave, this);
      break;
    case MasterNodeKind::Block:
      menu.setTitle(T(l, L"Block", L"数据块"));
      add(T(l, L"&Modify Block", L"修改Block(&M)"), &CModbusMasterCfgDlg::OnModifyBlock, this);
      add(T(l, L"&Delete Block", L"删除Block(&D)"), &CModbusMasterCfgDlg::OnDeleteBlock, this);
      break;
  }
  menu.exec(globalPos);
}

QTreeWidgetItem* CModbusMasterCfgDlg::Selected() const {
  QTreeWidgetItem* item = tree_->currentItem();
  return item != nullptr && item->isSelected() ? item : nullptr;
}

void CModbusMasterCfgDlg::OnNodeClicked(QTreeWidgetItem* item) {
  if (item == nullptr) return;
  tree_->setCurrentItem(item);
  ShowRowsUnder(item);
}

void CModbusMasterCfgDlg::ShowRowsUnder(QTreeWidgetItem* item) {
  std::vector<const CTag*> rows;
  switch (KindOf(item)) {
    case MasterNodeKind::Block: CollectRows(*ObjectOf<CDataBlockDataCls>(item), rows); break;
    case MasterNodeKind::Slave: CollectRows(*ObjectOf<CSlaveDataCls>(item), rows); break;
    case MasterNodeKind::Port: CollectRows(*ObjectOf<CPortDataCls>(item), rows); break;
    case MasterNodeKind::Controller:
      for (const auto& port : controller_->Ports) CollectRows(*port, rows);
      break;
  }
  ShowRows(rows);
}

void CModbusMasterCfgDlg::ShowRows(const std::vector<const CTag*>& rows) {
  list_->setRowCount(0);
  list_->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r)
    for (int c = 0; c < 7; ++c)
      list_->setItem(r, c, new QTableWidgetItem(QString::fromStdWString(rows[r]->Texts[c])));
}

void CModbusMasterCfgDlg::ClearRows() { list_->setRowCount(0); }

void CModbusMasterCfgDlg::OnAddSlave() {
  QTreeWidgetItem* node = Selected();
  if (node == nullptr || KindOf(node) != MasterNodeKind::Port) return;
  int address = 0;
  if (!AskSlaveAddress(address)) return;
  CPortDataCls* port = ObjectOf<CPortDataCls>(node);
  if (port->HasSlaveAddress(address - 1)) {
    ShowMessageBox(this, language_, L"当前端口下已配置端口为" + std::to_wstring(address) + L"的从站");
    return;
  }
  AddSlaveNode(node, port->AddSlave(address - 1));
}

void CModbusMasterCfgDlg::OnRefreshLevel() {
  int level = controller_->RefreshLevel;
  if (AskRefreshLevel(level) && level >= 0 && level < kRefreshLevelCount) {
    controller_->RefreshLevel = level;
    for (const auto& port : controller_->Ports)
      for (const auto& slave : port->Slaves)
        for (const auto& block : slave->Blocks) {
          block->Rows.clear();
          block->BuildTagRows(slave->AddressMinusOne, level);
        }
  }
  ClearRows();
}

void CModbusMasterCfgDlg::OnAddBlock() {
  QTreeWidgetItem* node = Selected();
  if (node == nullptr || KindOf(node) != MasterNodeKind::Slave) return;
  DataBlockFields values;
  if (!AskDataBlock(values)) return;
  if (controller_->IsReferenceOverlapping(values.FunctionIndex, static_cast<uint32_t>(values.ReferenceStart),
                                          static_cast<uint32_t>(values.Length))) {
    ShowMessageBox(this, language_, L"引用地址有重复！");
    return;
  }
  CSlaveDataCls* slave = ObjectOf<CSlaveDataCls>(node);
  CDataBlockDataCls* block = slave->AddBlock();
  block->Name = values.Name;
  block->FunctionIndex = values.FunctionIndex;
  block->StartAddressMinusOne = static_cast<int>(values.FirstAddress) - 1;
  block->ReferenceStart = static_cast<int>(values.ReferenceStart);
  block->Length = static_cast<int>(values.Length);
  AddBlockNode(node, block);
  block->BuildTagRows(slave->AddressMinusOne, controller_->RefreshLevel);
  std::vector<const CTag*> rows;
  CollectRows(*block, rows);
  ShowRows(rows);
}

void CModbusMasterCfgDlg::OnModifyBlock() {
  QTreeWidgetItem* node = Selected();
  if (node == nullptr || KindOf(node) != MasterNodeKind::Block) return;
  CDataBlockDataCls* block = ObjectOf<CDataBlockDataCls>(node);
  DataBlockFields values;
  values.Name = block->Name;
  values.FunctionIndex = block->FunctionIndex;
  values.FirstAddress = static_cast<unsigned long long>(std::max(block->StartAddressMinusOne + 1, 0));
  values.ReferenceStart = static_cast<unsigned long long>(std::max(block->ReferenceStart, 0));
  values.Length = static_cast<unsigned long long>(std::max(block->Length, 0));
  if (!AskDataBlock(values)) return;
  node->setText(0, QString::fromStdWString(values.Name));
  block->Name = values.Name;
  block->FunctionIndex = values.FunctionIndex;
  block->StartAddressMinusOne = static_cast<int>(values.FirstAddress) - 1;
  block->ReferenceStart = static_cast<int>(values.ReferenceStart);
  block->Length = static_cast<int>(values.Length);
  block->Rows.clear();
  block->BuildTagRows(block->Owner->AddressMinusOne, controller_->RefreshLevel);
  std::vector<const CTag*> rows;
  CollectRows(*block, rows);
  ShowRows(rows);
}

void CModbusMasterCfgDlg::OnDeleteSlave() {
  QTreeWidgetItem* node = Selected();
  if (node == nullptr || KindOf(node) != MasterNodeKind::Slave) return;
  CSlaveDataCls* slave = ObjectOf<CSlaveDataCls>(node);
  delete node;
  slave->Owner->RemoveSlave(slave);
  ClearRows();
}

void CModbusMasterCfgDlg::OnDeleteBlock() {
  QTreeWidgetItem* node = Selected();
  if (node == nullptr || KindOf(node) != MasterNodeKind::Block) return;
  QTreeWidgetItem* parent = node->parent();
  const int index = parent->indexOfChild(node);
  QTreeWidgetItem* previous = index > 0 ? parent->child(index - 1) : nullptr;
  QTreeWidgetItem* next = index + 1 < parent->childCount() ? parent->child(index + 1) : nullptr;
  CDataBlockDataCls* block = ObjectOf<CDataBlockDataCls>(node);
  delete node;
  block->Owner->RemoveBlock(block);
  QTreeWidgetItem* follow = previous != nullptr ? previous : next;
  if (follow == nullptr) {
    ClearRows();
    return;
  }
  tree_->setCurrentItem(follow);
  ShowRowsUnder(follow);
}

}  // namespace corvell
