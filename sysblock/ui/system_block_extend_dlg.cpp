#include "sysblock/ui/system_block_extend_dlg.h"

#include <QContextMenuEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "sysblock/model/modules/analog_limit_validation.h"
#include "sysblock/model/modules/module_records.h"
#include "sysblock/model/text_value.h"
#include "sysblock/ui/message_box.h"
#include "sysblock/ui/module_list_rows.h"
#include "sysblock/ui/plc_sub_dlg_controller.h"
#include "sysblock/ui/plc_sub_dlg_analog_input.h"
#include "sysblock/ui/plc_sub_dlg_analog_output.h"
#include "sysblock/ui/plc_sub_dlg_digital.h"

namespace corvell {

const std::array<AddModuleItem, 23> kAddModuleItems = {{
    {1, 30506, false},  {2, 30507, false},  {7, 30782, false},  {8, 30784, false},  {13, 40038, false},
    {14, 40039, false}, {20, 60072, false}, {4, 30508, true},   {18, 30500, true},  {3, 30509, true},
    {11, 40036, true},  {19, 40159, true},  {6, 30510, true},   {5, 30511, true},   {9, 30868, true},
    {10, 30953, true},  {12, 60011, true},  {16, 60013, true},  {17, 60015, true},  {15, 60017, true},
    {21, 60071, true},  {22, 60078, true},  {23, 60083, true},
}};

namespace {

QString T(int language, const wchar_t* english, const wchar_t* chinese) {
  return QString::fromWCharArray(PickText(language, english, chinese));
}

// The module list: reports left clicks after the view has updated its selection, and right
// clicks as a context menu request.
class ModuleListView : public QTreeWidget {
 public:
  using QTreeWidget::QTreeWidget;
  std::function<void()> LeftClicked;
  std::function<void(const QPoint&)> ContextMenuRequested;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && LeftClicked) LeftClicked();
  }
  void contextMenuEvent(QContextMenuEvent* event) override {
    if (ContextMenuRequested) ContextMenuRequested(event->globalPos());
  }
};

}  // namespace

CSystemBlockExtendDlg::CSystemBlockExtendDlg(ModuleList& modules, ForceStateArray& forceStates, int language,
                                             QWidget* parent)
    : CPropertyPage(T(language, L"System module", L"系统模块"), parent), modules_(modules), language_(language) {
  auto* page = new QVBoxLayout(this);
  auto* view = new ModuleListView(this);
  view->LeftClicked = [this] { OnModuleListClick(); };
  view->ContextMenuRequested = [this](const QPoint& pos) { ShowContextMenu(pos); };
  list_ = view;
  list_->setObjectName(ControlName(kModuleListControl));
  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->header()->setSectionsMovable(true);
  list_->header()->setDefaultAlignment(Qt::AlignLeft);
  list_->setColumnCount(6);
  struct Column {
    const wchar_t* english;
    int englishWidth;
    const wchar_t* chinese;
    int chineseWidth;
  };
  const Column columns[6] = {{L"Serial number", 100, L"序号", 40},  {L"Module Type", 100, L"模块类型", 100},
                             {L"X Address", 80, L"X地址", 100},     {L"Y Address", 80, L"Y地址", 100},
                             {L"AI Address", 80, L"AI地址", 100},   {L"AQ Address", 80, L"AQ地址", 100}};
  QStringList heads;
  for (const Column& c : columns) heads << T(language, c.english, c.chinese);
  list_->setHeaderLabels(heads);
  for (int c = 0; c < 6; ++c) list_->setColumnWidth(c, language == 1 ? columns[c].englishWidth : columns[c].chineseWidth);
  page->addWidget(list_, 1);

  controller_ = new CPlcSubDlgControllerCls(forceStates, language, this);
  subDialogs_[0] = controller_;
  page->addWidget(controller_);
  for (int type = 1; type <= kMaxModuleType; ++type) {
    QWidget* dialog = CreateDigitalModuleSubDialog(type, Parameters, language, this);
    if (dialog == nullptr) dialog = CreateAnalogOutputSubDialog(type, Parameters, language, this);
    if (dialog == nullptr) dialog = CreateAnalogInputSubDialog(type, Parameters, language, this);
    if (dialog != nullptr) {
      dialog->hide();
      subDialogs_[type] = dialog;
      page->addWidget(dialog);
      continue;
    }
    // Every type has a sub-dialog; should one be missing, a frame titled with the model stands in.
    auto* frame = new QGroupBox(QString::fromWCharArray(ModuleModelName(type)), this);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(new QLabel(QString::fromWCharArray(ModuleModelName(type)), frame));
    frame->hide();
    subDialogs_[type] = frame;
    page->addWidget(frame);
  }
  page->addWidget(new QLabel(T(language, L"Configuration parameters must be downloaded before they take effect",
                               L"系统块设置参数必须下载才能生效"),
                             this));
}

CSystemBlockExtendDlg::~CSystemBlockExtendDlg() = default;

void CSystemBlockExtendDlg::OnInitDialog() {
  RefreshModuleList();
  controller_->ControlsFromStates();
  ShowSubDialog(CurrentModuleType);
}

void CSystemBlockExtendDlg::RefreshModuleList() {
  list_->clear();
  for (const ModuleRecord& record : modules_) {
    const ModuleListRow row = ModuleListRowTexts(record);
    QStringList texts;
    for (const std::wstring& text : row) texts << QString::fromStdWString(text);
    list_->addTopLevelItem(new QTreeWidgetItem(texts));
  }
}

void CSystemBlockExtendDlg::ShowSubDialog(int type) {
  for (int t = 0; t <= kMaxModuleType; ++t) subDialogs_[t]->setVisible(t == type);
}

void CSystemBlockExtendDlg::SelectRow(int row) {
  list_->clearSelection();
  if (QTreeWidgetItem* item = list_->topLevelItem(row)) {
    list_->setCurrentItem(item);
    item->setSelected(true);
  }
}

void CSystemBlockExtendDlg::ShowContextMenu(const QPoint& globalPos) {
  QMenu menu(this);
  connect(menu.addAction(T(language_, L"Delete", L"删除")), &QAction::triggered, this, [this] { OnDeleteModule(); });
  menu.addSeparator();
  QMenu* add = menu.addMenu(T(language_, L"Add", L"添加"));
  QMenu* digital = add->addMenu(T(language_, L"Switch Module", L"开关量模块"));
  QMenu* analog = add->addMenu(T(language_, L"Analog Module", L"模拟量模块"));
  for (const AddModuleItem& item : kAddModuleItems) {
    QAction* action = (item.analog ? analog : digital)->addAction(QString::fromWCharArray(ModuleModelName(item.type)));
    const uint8_t type = item.type;
    connect(action, &QAction::triggered, this, [this, type] { OnAddModule(type); });
  }
  menu.exec(globalPos);
}

bool CSystemBlockExtendDlg::CommitCurrentModule() {
  if (CurrentModuleType >= 1 && CurrentModuleType <= kMaxModuleType && CurrentModulePosition < modules_.size()) {
    if (auto* digital = dynamic_cast<CDigitalModuleSubDlg*>(subDialogs_[CurrentModuleType])) digital->UpdateData(true);
    if (auto* analog = dynamic_cast<CAnalogOutputModuleSubDlg*>(subDialogs_[CurrentModuleType])) analog->UpdateData(true);
    ModuleRecord record = BuildModuleRecord(CurrentModuleType, Parameters, CurrentModulePosition, modules_);
    if (!record.empty()) modules_[CurrentModulePosition] = std::move(record);
  }
  if (auto violation = ValidateAnalogLimits(Parameters)) {
    ShowMessageBox(this, language_, violation->message);
    return false;
  }
  return true;
}

void CSystemBlockExtendDlg::LoadModuleRecord() {
  if (CurrentModuleType >= 1 && CurrentModuleType <= kMaxModuleType && CurrentModulePosition < modules_.size()) {
    corvell::LoadModuleRecord(modules_[CurrentModulePosition], Parameters);
    if (auto* digital = dynamic_cast<CDigitalModuleSubDlg*>(subDialogs_[CurrentModuleType])) digital->UpdateData(false);
    if (auto* analog = dynamic_cast<CAnalogOutputModuleSubDlg*>(subDialogs_[CurrentModuleType])) analog->UpdateData(false);
  }
}

void CSystemBlockExtendDlg::OnModuleListClick() {
  if (CurrentModulePosition != 0 && !CommitCurrentModule()) return;
  int row = -1;
  for (QTreeWidgetItem* item : list_->selectedItems()) row = std::max(row, list_->indexOfTopLevelItem(item));
  CurrentModulePosition = row < 0 ? kNoModule : static_cast<uint8_t>(row);
  if (modules_.empty() || row < 0 || static_cast<size_t>(row) >= modules_.size() || modules_[row].size() < 2) {
    CurrentModuleType = kNoModule;
    ShowSubDialog(-1);
    return;
  }
  CurrentModuleType = modules_[row][1];
  ShowSubDialog(CurrentModuleType);
  LoadModuleRecord();
}

void CSystemBlockExtendDlg::OnAddModule(uint8_t type) {
  if (type < 1 || type > kMaxModuleType) return;
  if (!CommitCurrentModule()) return;
  if (modules_.size() >= kMaxModuleListRecords) {
    ShowMessageBox(this, language_, L"列表已满!");
    return;
  }
  ResetModuleParameters(type, Parameters);
  CurrentModulePosition = static_cast<uint8_t>(modules_.size());
  CurrentModuleType = type;
  ModuleRecord record = BuildModuleRecord(type, Parameters, CurrentModulePosition, modules_);
  modules_.push_back(std::move(record));
  RefreshModuleList();
  SelectRow(CurrentModulePosition);
  LoadModuleRecord();
  ShowSubDialog(type);
}

void CSystemBlockExtendDlg::OnDeleteModule() {
  std::vector<int> rows;
  for (QTreeWidgetItem* item : list_->selectedItems()) rows.push_back(list_->indexOfTopLevelItem(item));
  std::sort(rows.begin(), rows.end());
  for (size_t k = 0; k < rows.size(); ++k) {
    const int d = rows[k] - static_cast<int>(k);
    if (d == 0) {
      ShowMessageBox(this, language_, L"控制器不能被删除!");
      return;
    }
    if (d < 0 || !RemoveModuleRecord(modules_, static_cast<size_t>(d))) continue;
    RefreshModuleList();
    SelectRow(d);
    if (static_cast<size_t>(d) >= modules_.size()) {
      CurrentModulePosition = kNoModule;
      CurrentModuleType = kNoModule;
      ShowSubDialog(-1);
    } else {
      CurrentModulePosition = static_cast<uint8_t>(d);
      CurrentModuleType = modules_[d].size() > 1 ? modules_[d][1] : kNoModule;
      ShowSubDialog(CurrentModuleType);
      LoadModuleRecord();
    }
  }
}

bool CSystemBlockExtendDlg::OnKillActive() {
  if (!IsInitialized()) return true;
  if (CurrentModulePosition != 0 && !CommitCurrentModule()) return false;
  controller_->StatesFromControls();
  return true;
}

}  // namespace corvell
