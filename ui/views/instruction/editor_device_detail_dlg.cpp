#include "ui/views/instruction/editor_device_detail_dlg.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "core/env/language.h"
#include "core/project/project.h"

namespace Brenno {

namespace {

const ResizeRule kLeftColumn{{0, 1}, {0, 1}, {1, 3}, {0, 1}};
const ResizeRule kKindList{{1, 3}, {0, 1}, {1, 3}, {1, 1}};
const ResizeRule kSymbolList{{2, 3}, {0, 1}, {1, 3}, {1, 1}};
const ResizeRule kButtons{{1, 1}, {0, 1}, {0, 1}, {0, 1}};

const MemoryAreaManager& NoMemoryAreas() {
  static const MemoryAreaManager empty;
  return empty;
}

void FillCombo(QComboBox* combo, const std::vector<std::wstring>& lines) {
  combo->clear();
  for (const std::wstring& line : lines) combo->addItem(QString::fromStdWString(line));
  combo->setCurrentIndex(-1);
}

void ShowChoice(QComboBox* combo, QLabel* label, const ChoiceState& state) {
  combo->setEnabled(state.Enabled);
  if (label != nullptr) label->setEnabled(state.Enabled);
  combo->setCurrentIndex(state.Enabled && state.Selection < combo->count() ? state.Selection : -1);
}

// Radio buttons of one group: all cleared first (the group is exclusive), then the ticked one.
void ShowToggles(std::initializer_list<std::pair<QRadioButton*, ToggleState>> toggles) {
  for (const auto& [button, state] : toggles) {
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setEnabled(state.Enabled);
  }
  for (const auto& [button, state] : toggles) {
    if (state.Checked) button->setChecked(true);
    button->setAutoExclusive(true);
  }
}

}  // namespace

CEditorDeviceDetailDlg::CEditorDeviceDetailDlg(QWidget* parent) : CInstructionDialogBase(parent) {
  const bool chinese = CurrentLanguage() == kLanguageChinese;
  setWindowTitle(PickQ(L"Device Details", L"元件详细"));
  Place(new QLabel(PickQ(L"Device", L"元件"), this), "DeviceLabel", 30077, QRect(7, 7, 62, 8), kLeftColumn);
  validIcon_ = Place(new QLabel(this), "ValidIcon", 30078, chinese ? QRect(7, 17, 21, 20) : QRect(7, 18, 10, 10));
  validIcon_->setAlignment(Qt::AlignCenter);
  edit_ = Place(new QLineEdit(this), "DeviceEdit", 30079, chinese ? QRect(30, 17, 39, 12) : QRect(19, 17, 50, 12),
                kLeftColumn);
  bitGroupLabel_ = Place(new QLabel(PickQ(L"Bit group modify", L"修改位元件组"), this), "BitGroupLabel", 30080,
                         QRect(7, 38, 62, 8), kLeftColumn);
  bitGroupList_ = Place(new QComboBox(this), "BitGroupList", 30081, QRect(7, 47, 62, 12), kLeftColumn);
  kindGroup_ = Place(new QGroupBox(this), "KindGroup", 30082, QRect(7, 61, 62, 42), kLeftColumn);
  asValue_ = Place(new QRadioButton(PickQ(L"Use as value", L"作为变量使用"), this), "AsValue", 30083,
                   QRect(11, 66, 56, 10), kLeftColumn);
  asAddress_ = Place(new QRadioButton(PickQ(L"Use as address", L"作为地址使用"), this), "AsAddress", 30084,
                     QRect(11, 78, 56, 10), kLeftColumn);
  asPointer_ = Place(new QRadioButton(PickQ(L"Use as poniter", L"作为指针使用"), this), "AsPointer", 30085,
                     QRect(11, 90, 56, 10), kLeftColumn);
  indexLabel_ = Place(new QLabel(PickQ(L"Offset by V,Z", L"V,Z偏移"), this), "IndexLabel", 30086, QRect(7, 107, 62, 8),
                      kLeftColumn);
  indexList_ = Place(new QComboBox(this), "IndexList", 30087, QRect(7, 116, 62, 12), kLeftColumn);
  const int kindWidth = chinese ? 98 : 80;
  const int symbolX = chinese ? 178 : 160;
  const int symbolWidth = chinese ? 72 : 90;
  Place(new QLabel(PickQ(L"Kind of Device", L"元件类型"), this), "KindLabel", 30088, QRect(76, 7, kindWidth, 8),
        ResizeRule{{1, 3}, {0, 1}, {1, 3}, {1, 1}});
  kindList_ = Place(new QListWidget(this), "KindList", 30089, QRect(76, 17, kindWidth, 119), kKindList);
  Place(new QLabel(PickQ(L"Address symbol", L"元件符号"), this), "SymbolLabel", 30090,
        QRect(symbolX, 7, symbolWidth, 8), ResizeRule{{2, 3}, {0, 1}, {1, 3}, {1, 1}});
  symbolList_ = Place(new QListWidget(this), "SymbolList", 30091, QRect(symbolX, 17, symbolWidth, 119), kSymbolList);
  auto* ok = Place(new QPushButton(PickQ(L"OK", L"确认"), this), "IDOK", -1, QRect(256, 7, 46, 14), kButtons);
  ok->setDefault(true);
  auto* cancel =
      Place(new QPushButton(PickQ(L"Cancel", L"取消"), this), "IDCANCEL", -2, QRect(256, 24, 46, 14), kButtons);
  Place(new QPushButton(PickQ(L"Help", L"帮助"), this), "IDHELP", -9, QRect(256, 41, 46, 14), kButtons);
  for (QWidget* widget : std::initializer_list<QWidget*>{asValue_, asAddress_, asPointer_}) widget->raise();
  connect(ok, &QPushButton::clicked, this, &CEditorDeviceDetailDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CEditorDeviceDetailDlg::reject);
  connect(edit_, &QLineEdit::textChanged, this, [this] {
    if (Guarded()) return;
    GuardScope guard(guard_);
    ApplyOperandOptions();
  });
  connect(kindList_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (Guarded() || row < 0) return;
    GuardScope guard(guard_);
    SelectOperandCandidate(row);
  });
  auto symbolChosen = [this](int line) {
    if (Guarded() || line < 0) return;
    GuardScope guard(guard_);
    SelectAddressSymbol(line);
  };
  connect(symbolList_, &QListWidget::currentRowChanged, this, symbolChosen);
  connect(symbolList_, &QListWidget::itemClicked, this,
          [this, symbolChosen](QListWidgetItem* item) { symbolChosen(symbolList_->row(item)); });
  // The English dialog has a sizing border, the Chinese one has none.
  FinishLayout(309, 143, !chinese);
  ShowValidity(validIcon_, false);
}

CEditorDeviceDetailDlg::~CEditorDeviceDetailDlg() = default;

void CEditorDeviceDetailDlg::SetArguments(const std::wstring& format, const std::wstring& operandText, int blockKey,
                                          int dataType) {
  format_ = format;
  operandText_ = operandText;
  blockKey_ = blockKey;
  dataType_ = dataType;
}

void CEditorDeviceDetailDlg::OnInitDialog() {
  initialised_ = true;
  GuardScope guard(guard_);
  const Project* project = CurrentProjectOrNull();
  model_ = std::make_unique<DeviceDetailModel>(project != nullptr ? project->MemoryAreas : NoMemoryAreas(), format_,
                                               dataType_);
  FillCombo(bitGroupList_, model_->BitGroupLines());
  FillCombo(indexList_, DeviceDetailModel::IndexRegisterLines());
  kindList_->clear();
  for (const std::wstring& line : model_->RowLines()) kindList_->addItem(QString::fromStdWString(line));
  kindList_->setCurrentRow(-1);
  symbolList_->clear();
  symbolAddresses_.clear();
  if (project != nullptr) {
    for (const AddressSymbol& symbol : ListAddressSymbols(*project, blockKey_)) {
      symbolList_->addItem(QString::fromStdWString(symbol.Line));
      symbolAddresses_.push_back(symbol.Address);
    }
  }
  symbolList_->setCurrentRow(-1);
  ShowOperandFromText();
}

int CEditorDeviceDetailDlg::exec() {
  if (!initialised_) OnInitDialog();
  return CInstructionDialogBase::exec();
}

void CEditorDeviceDetailDlg::ShowView(const DeviceDetailView& view) {
  currentRow_ = view.CurrentRow;
  ShowValidity(validIcon_, view.Valid);
  if (view.EditText) edit_->setText(QString::fromStdWString(*view.EditText));
  ShowChoice(bitGroupList_, bitGroupLabel_, view.BitGroup);
  ShowToggles({{asValue_, view.AsValue}, {asAddress_, view.AsAddress}, {asPointer_, view.AsPointer}});
  ShowChoice(indexList_, indexLabel_, view.IndexRegister);
  kindList_->setCurrentRow(view.CurrentRow);
  if (view.CurrentRow < 0) kindList_->clearSelection();
}

DeviceDetailOptions CEditorDeviceDetailDlg::ReadOptions() const {
  DeviceDetailOptions options;
  options.BitGroupLine = bitGroupList_->isEnabled() ? bitGroupList_->currentIndex() : -1;
  options.AsValue = asValue_->isChecked();
  options.AsAddress = asAddress_->isChecked();
  options.AsPointer = asPointer_->isChecked();
  options.IndexLine = indexList_->isEnabled() ? indexList_->currentIndex() : -1;
  return options;
}

void CEditorDeviceDetailDlg::ShowOperandFromText() { ShowView(model_->ShowOperand(operandText_)); }

void CEditorDeviceDetailDlg::ApplyOperandOptions() {
  if (model_ == nullptr) return;
  GetWindowWideText(edit_, operandText_);
  ShowView(model_->ApplyOptions(operandText_, ReadOptions()));
}

void CEditorDeviceDetailDlg::SelectOperandCandidate(int row) {
  if (model_ == nullptr || row == currentRow_) return;
  ShowView(model_->SelectRow(row));
}

void CEditorDeviceDetailDlg::SelectAddressSymbol(int line) {
  if (model_ == nullptr || line < 0 || line >= static_cast<int>(symbolAddresses_.size())) return;
  operandText_ = symbolAddresses_[line];
  ShowOperandFromText();
}

void CEditorDeviceDetailDlg::accept() {
  GetWindowWideText(edit_, operandText_);
  if (model_ != nullptr) operandText_ = model_->ComposeResult(operandText_, ReadOptions());
  CInstructionDialogBase::accept();
}

}  // namespace Brenno
