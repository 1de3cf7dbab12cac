#include "modbusdrv/ui/driver_config_dialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "modbusdrv/driver/config_file.h"
#include "modbusdrv/driver/driver_entry.h"

namespace modbusdrv {

namespace {

constexpr int kImageRole = Qt::UserRole;
constexpr int kObjectRole = Qt::UserRole + 1;

QIcon NodeIcon(int image) {
  static const QColor colors[] = {Qt::darkBlue, Qt::darkGreen, Qt::darkCyan, Qt::darkYellow, Qt::gray,
                                  Qt::gray,     Qt::gray,      Qt::gray,      Qt::darkMagenta};
  QPixmap pixmap(16, 15);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setBrush(colors[image]);
  painter.setPen(Qt::black);
  painter.drawRect(2, 2, 11, 10);
  return QIcon(pixmap);
}

QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const std::wstring& text, int image, void* object) {
  auto* item = new QTreeWidgetItem(parent, {ToQ(text)});
  item->setData(0, kImageRole, image);
  item->setData(0, kObjectRole, QVariant::fromValue(reinterpret_cast<quintptr>(object)));
  item->setIcon(0, NodeIcon(image));
  return item;
}

void SetupTree(QTreeWidget& tree) {
  tree.setHeaderHidden(true);
  tree.setRootIsDecorated(true);
  tree.setDragEnabled(false);
  tree.setSelectionMode(QAbstractItemView::SingleSelection);
}

}  // namespace

int NodeImageOf(const QTreeWidgetItem* item) { return item == nullptr ? -1 : item->data(0, kImageRole).toInt(); }

void* NodeObjectOf(const QTreeWidgetItem* item) {
  return item == nullptr ? nullptr : reinterpret_cast<void*>(item->data(0, kObjectRole).value<quintptr>());
}

void FillChannelTree(QTreeWidget& tree, const ChannelList& channels) {
  tree.setUpdatesEnabled(false);
  tree.clear();
  auto* root = new QTreeWidgetItem(&tree, {QStringLiteral("MODBUS")});
  root->setData(0, kImageRole, kRootNode);
  root->setData(0, kObjectRole, QVariant::fromValue(reinterpret_cast<quintptr>(&channels)));
  root->setIcon(0, NodeIcon(kRootNode));
  for (const auto& c : channels) {
    auto* channelNode = AddNode(root, c->Name, IsComChannel(*c) ? kComNode : kTcpNode, c.get());
    for (const auto& d : c->Devices) {
      auto* deviceNode = AddNode(channelNode, d->Name, kDeviceNode, d.get());
      for (const auto& b : d->Blocks) AddNode(deviceNode, b->Name, kBlockNode, b.get());
      deviceNode->setExpanded(true);
    }
    channelNode->setExpanded(true);
  }
  root->setExpanded(true);
  tree.setCurrentItem(root);
  tree.setFocus();
  tree.setUpdatesEnabled(true);
}

CDriverConfigDlg::CDriverConfigDlg(const std::wstring& configPath, QWidget* parent)
    : QDialog(parent), configPath_(configPath) {
  setWindowTitle(QStringLiteral("Modbus Driver"));
  LoadConfigFile(configPath_, ConfigChannels);
  auto* layout = new QVBoxLayout(this);
  ToolBar = new QToolBar(this);
  auto add = [this](const QString& tip, void (CDriverConfigDlg::*slot)()) {
    QAction* action = ToolBar->addAction(tip);
    action->setToolTip(tip);
    connect(action, &QAction::triggered, this, slot);
    return action;
  };
  add(QStringLiteral("保存"), &CDriverConfigDlg::OnSave);
  add(QStringLiteral("添加串口通道"), &CDriverConfigDlg::OnAddComChannel);
  add(QStringLiteral("添加网络通道"), &CDriverConfigDlg::OnAddTcpChannel);
  AddDeviceAction = add(QStringLiteral("添加设备"), &CDriverConfigDlg::OnAddDevice);
  AddDataBlockAction = add(QStringLiteral("添加数据块"), &CDriverConfigDlg::OnAddDataBlock);
  add(QStringLiteral("删除"), &CDriverConfigDlg::OnDeleteNode);
  layout->addWidget(ToolBar);
  auto* body = new QHBoxLayout();
  Tree = new QTreeWidget(this);
  SetupTree(*Tree);
  Tree->setMinimumWidth(220);
  body->addWidget(Tree);
  InfoPage = new CSystemInfoPage(*this, this);
  ChannelPage = new CChannelPage(*this, this);
  DevicePage = new CDevicePage(*this, this);
  DataBlockPage = new CDataBlockPage(*this, this);
  for (QWidget* page : {static_cast<QWidget*>(InfoPage), static_cast<QWidget*>(ChannelPage), static_cast<QWidget*>(DevicePage),
                        static_cast<QWidget*>(DataBlockPage)}) {
    body->addWidget(page, 1);
    page->hide();
  }
  layout->addLayout(body);
  connect(Tree, &QTreeWidget::itemSelectionChanged, this, [this] { OnSelectionChanged(); });
  RebuildConfigTree();
  resize(640, 440);
}

CDriverConfigDlg::~CDriverConfigDlg() = default;

void CDriverConfigDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!built_) {
    built_ = true;
    RebuildConfigTree();
  }
}

void CDriverConfigDlg::RebuildConfigTree() {
  FillChannelTree(*Tree, ConfigChannels);
  OnSelectionChanged();
}

QTreeWidgetItem* CDriverConfigDlg::SelectedNode() const { return Tree->currentItem(); }

void CDriverConfigDlg::ApplyPages() {
  ChannelPage->ApplyEdits();
  DevicePage->ApplyEdits();
  DataBlockPage->ApplyEdits();
}

void CDriverConfigDlg::ShowPage(QWidget* page) {
  for (QWidget* p : {static_cast<QWidget*>(InfoPage), static_cast<QWidget*>(ChannelPage), static_cast<QWidget*>(DevicePage),
                     static_cast<QWidget*>(DataBlockPage)})
    p->setVisible(p == page);
}

void CDriverConfigDlg::OnSelectionChanged() {
  ApplyPages();
  QTreeWidgetItem* node = SelectedNode();
  if (node == nullptr) return;
  void* object = NodeObjectOf(node);
  switch (NodeImageOf(node)) {
    case kRootNode:
      ChannelPage->SetChannels(nullptr, nullptr);
      InfoPage->Fill();
      ShowPage(InfoPage);
      AddDeviceAction->setEnabled(false);
      AddDataBlockAction->setEnabled(false);
      break;
    case kComNode:
    case kTcpNode:
      if (NodeImageOf(node) == kComNode)
        ChannelPage->SetChannels(static_cast<CComChannel*>(static_cast<ModbusChannel*>(object)), nullptr);
      else
        ChannelPage->SetChannels(nullptr, static_cast<CTcpChannel*>(static_cast<ModbusChannel*>(object)));
      ChannelPage->Fill();
      ShowPage(ChannelPage);
      AddDeviceAction->setEnabled(true);
      AddDataBlockAction->setEnabled(false);
      break;
    case kDeviceNode:
      DevicePage->SetDevice(static_cast<ModbusDevice*>(object));
      DevicePage->Fill();
      ShowPage(DevicePage);
      AddDeviceAction->setEnabled(true);
      AddDataBlockAction->setEnabled(true);
      break;
    case kBlockNode:
      DataBlockPage->SetBlock(static_cast<ModbusDataBlock*>(object));
      DataBlockPage->Fill();
      ShowPage(DataBlockPage);
      AddDeviceAction->setEnabled(false);
      AddDataBlockAction->setEnabled(true);
      break;
  }
}

void CDriverConfigDlg::OnAddComChannel() {
  ConfigChannels.push_back(std::make_unique<CComChannel>(ConfigChannels));
  QTreeWidgetItem* root = Tree->topLevelItem(0);
  AddNode(root, ConfigChannels.back()->Name, kComNode, ConfigChannels.back().get());
  Tree->setCurrentItem(root);
  root->setExpanded(true);
  Modified = 1;
  Saved = 0;
}

void CDriverConfigDlg::OnAddTcpChannel() {
  ConfigChannels.push_back(std::make_unique<CTcpChannel>(ConfigChannels));
  QTreeWidgetItem* root = Tree->topLevelItem(0);
  AddNode(root, ConfigChannels.back()->Name, kTcpNode, ConfigChannels.back().get());
  Tree->setCurrentItem(root);
  root->setExpanded(true);
  Modified = 1;
  Saved = 0;
}

void CDriverConfigDlg::OnAddDevice() {
  QTreeWidgetItem* node = SelectedNode();
  const int image = NodeImageOf(node);
  if (image != kComNode && image != kTcpNode && image != kDeviceNode) return;
  QTreeWidgetItem* channelNode = image == kDeviceNode ? node->parent() : node;
  auto* channel = static_cast<ModbusChannel*>(NodeObjectOf(channelNode));
  channel->Devices.push_back(std::make_unique<ModbusDevice>(channel, ConfigChannels));
  AddNode(channelNode, channel->Devices.back()->Name, kDeviceNode, channel->Devices.back().get());
  Tree->setCurrentItem(channelNode);
  channelNode->setExpanded(true);
  Modified = 1;
  Saved = 0;
}

void CDriverConfigDlg::OnAddDataBlock() {
  QTreeWidgetItem* node = SelectedNode();
  const int image = NodeImageOf(node);
  if (image != kDeviceNode && image != kBlockNode) return;
  QTreeWidgetItem* deviceNode = image == kBlockNode ? node->parent() : node;
  auto* device = static_cast<ModbusDevice*>(NodeObjectOf(deviceNode));
  device->Blocks.push_back(std::make_unique<ModbusDataBlock>(device));
  AddNode(deviceNode, device->Blocks.back()->Name, kBlockNode, device->Blocks.back().get());
  Tree->setCurrentItem(deviceNode);
  deviceNode->setExpanded(true);
  Modified = 1;
  Saved = 0;
}

void CDriverConfigDlg::ForgetObject(const void* object) {
  auto inside = [&](const void* shown) {
    if (shown == nullptr) return false;
    if (shown == object) return true;
    for (const auto& c : ConfigChannels) {
      if (c.get() != object) continue;
      for (const auto& d : c->Devices) {
        if (d.get() == shown) return true;
        for (const auto& b : d->Blocks)
          if (b.get() == shown) return true;
      }
    }
    for (const auto& c : ConfigChannels)
      for (const auto& d : c->Devices)
        if (d.get() == object)
          for (const auto& b : d->Blocks)
            if (b.get() == shown) return true;
    return false;
  };
  if (inside(ChannelPage->ShownChannel())) {
    ChannelPage->SetChannels(nullptr, nullptr);
    ChannelPage->Fill();
  }
  if (inside(DevicePage->ShownDevice())) DevicePage->SetDevice(nullptr);
  if (inside(DataBlockPage->ShownBlock())) DataBlockPage->SetBlock(nullptr);
}

void CDriverConfigDlg::OnDeleteNode() {
  QTreeWidgetItem* node = SelectedNode();
  const int image = NodeImageOf(node);
  if (image == kRootNode || image < 0) return;
  void* object = NodeObjectOf(node);
  ForgetObject(object);
  QTreeWidgetItem* parent = node->parent();
  // The selection moves before the node goes, so no page is applied to a deleted object.
  {
    const QSignalBlocker blocker(Tree);
    Tree->setCurrentItem(parent);
    delete node;
  }
  if (image == kComNode || image == kTcpNode) {
    std::erase_if(ConfigChannels, [&](const auto& c) { return c.get() == object; });
  } else if (image == kDeviceNode) {
    auto* channel = static_cast<ModbusChannel*>(NodeObjectOf(parent));
    std::erase_if(channel->Devices, [&](const auto& d) { return d.get() == object; });
  } else if (image == kBlockNode) {
    auto* device = static_cast<ModbusDevice*>(NodeObjectOf(parent));
    std::erase_if(device->Blocks, [&](const auto& b) { return b.get() == object; });
  }
  OnSelectionChanged();
  Modified = 1;
  Saved = 0;
}

void CDriverConfigDlg::OnSave() {
  ApplyPages();
  std::wstring error;
  if (SaveConfigFile(configPath_, ConfigChannels, &error))
    Saved = 1;
  else
    ShowSaveFailed(error);
}

QTreeWidgetItem* CDriverConfigDlg::FindNode(QTreeWidgetItem* from, const void* object) const {
  for (int i = 0; i < from->childCount(); ++i) {
    QTreeWidgetItem* child = from->child(i);
    if (NodeObjectOf(child) == object) return child;
    if (QTreeWidgetItem* found = FindNode(child, object)) return found;
  }
  return nullptr;
}

void CDriverConfigDlg::NodeNameChanged(const void* object) {
  QTreeWidgetItem* node = FindNode(Tree->topLevelItem(0), object);
  if (node == nullptr) return;
  switch (NodeImageOf(node)) {
    case kComNode:
    case kTcpNode: node->setText(0, ToQ(static_cast<const ModbusChannel*>(object)->Name)); break;
    case kDeviceNode: node->setText(0, ToQ(static_cast<const ModbusDevice*>(object)->Name)); break;
    case kBlockNode: node->setText(0, ToQ(static_cast<const ModbusDataBlock*>(object)->Name)); break;
  }
}

void CDriverConfigDlg::ShowDuplicateName() {
  QMessageBox::warning(this, windowTitle(), QStringLiteral("有重名！"), QMessageBox::Ok);
}

bool CDriverConfigDlg::AskSave() {
  return QMessageBox::question(this, windowTitle(), QStringLiteral("配置已被改变,是否保存?"), QMessageBox::Ok | QMessageBox::Cancel) ==
         QMessageBox::Ok;
}

void CDriverConfigDlg::ShowSaveFailed(const std::wstring& reason) {
  QMessageBox::warning(this, windowTitle(), QStringLiteral("File inValid!"), QMessageBox::Ok);
  (void)reason;
}

void CDriverConfigDlg::RequestClose() {
  ApplyPages();
  if (ChannelPage->Modified || DevicePage->Modified || DataBlockPage->Modified) Modified = 1;
  if (Modified == 1 && Saved == 0 && AskSave()) {
    std::wstring error;
    if (!SaveConfigFile(configPath_, ConfigChannels, &error)) ShowSaveFailed(error);
  }
  closing_ = true;
  done(QDialog::Accepted);
}

void CDriverConfigDlg::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    event->ignore();
    RequestClose();
    return;
  }
  QDialog::closeEvent(event);
}

void CDriverConfigDlg::keyPressEvent(QKeyEvent* event) {
  // Enter belongs to the field with the focus; it neither presses a button nor closes.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

// ---- browse ----

CTagBrowseDlg::CTagBrowseDlg(const ChannelList& running, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Modbus枚举测点"));
  auto* layout = new QVBoxLayout(this);
  Tree = new QTreeWidget(this);
  SetupTree(*Tree);
  layout->addWidget(Tree);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOk(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  FillChannelTree(*Tree, running);
  resize(360, 420);
}

void CTagBrowseDlg::OnOk() {
  QTreeWidgetItem* node = Tree->currentItem();
  if (NodeImageOf(node) != kBlockNode) {
    ShowNothingChosen();
    return;
  }
  const auto* block = static_cast<const ModbusDataBlock*>(NodeObjectOf(node));
  ChosenAddress = FormatTagAddress(block->Device->Name, block->Start);
  accept();
}

void CTagBrowseDlg::ShowNothingChosen() {
  QMessageBox::information(this, windowTitle(), QStringLiteral("还没选择！"), QMessageBox::Ok);
}

}  // namespace modbusdrv
