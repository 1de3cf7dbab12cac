#include "ui/views/instruction/editor_instruction_refer_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "core/project/project.h"

namespace Brenno {

namespace {

const ResizeRule kEditColumn{{0, 1}, {0, 1}, {1, 3}, {0, 1}};
const ResizeRule kGroupColumn{{1, 3}, {0, 1}, {1, 3}, {1, 1}};
const ResizeRule kEntryColumn{{2, 3}, {0, 1}, {1, 3}, {1, 1}};
const ResizeRule kWidthLabel{{2, 3}, {1, 1}, {0, 1}, {0, 1}};
const ResizeRule kWidthControls{{2, 3}, {1, 1}, {1, 3}, {0, 1}};
const ResizeRule kButtons{{1, 1}, {0, 1}, {0, 1}, {0, 1}};

const InstructionLibrary& NoLibrary() {
  static const InstructionLibrary empty;
  return empty;
}

void FillList(QListWidget* list, const std::vector<std::wstring>& lines) {
  list->clear();
  for (const std::wstring& line : lines) list->addItem(QString::fromStdWString(line));
}

}  // namespace

CEditorInstructionReferDlg::CEditorInstructionReferDlg(QWidget* parent) : CInstructionDialogBase(parent) {
  setWindowTitle(PickQ(L"Instruction Refer", L"指令参照"));
  Place(new QLabel(PickQ(L"Instruction", L"指令"), this), "InstructionLabel", 30092, QRect(7, 7, 88, 8), kEditColumn);
  validIcon_ = Place(new QLabel(this), "ValidIcon", 30093, QRect(7, 18, 10, 10));
  edit_ = Place(new QLineEdit(this), "InstructionEdit", 30094, QRect(19, 17, 76, 12), kEditColumn);
  Place(new QLabel(PickQ(L"Instruction Type", L"指令类型"), this), "GroupLabel", 30095, QRect(100, 7, 70, 8),
        ResizeRule{{1, 3}, {0, 1}, {1, 3}, {0, 1}});
  groupList_ = Place(new QListWidget(this), "GroupList", 30096, QRect(100, 17, 70, 119), kGroupColumn);
  Place(new QLabel(PickQ(L"Instruction", L"指令"), this), "EntryLabel", 30097, QRect(175, 7, 75, 8),
        ResizeRule{{2, 3}, {0, 1}, {1, 3}, {0, 1}});
  entryList_ = Place(new QListWidget(this), "EntryList", 30098, QRect(175, 17, 75, 86), kEntryColumn);
  widthLabel_ = Place(new QLabel(PickQ(L"Use Width", L"使用宽度"), this), "WidthLabel", 30099, QRect(175, 109, 30, 8),
                      kWidthLabel);
  widthLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  widthList_ = Place(new QComboBox(this), "WidthList", 30100, QRect(207, 107, 43, 12), kWidthControls);
  pulseCheck_ = Place(new QCheckBox(PickQ(L"Pulse Instruction", L"脉冲指令"), this), "PulseCheck", 30101,
                      QRect(175, 123, 75, 10), kWidthControls);
  auto* ok = Place(new QPushButton(PickQ(L"OK", L"确认"), this), "IDOK", -1, QRect(256, 7, 46, 14), kButtons);
  ok->setDefault(true);
  auto* cancel =
      Place(new QPushButton(PickQ(L"Cancel", L"取消"), this), "IDCANCEL", -2, QRect(256, 24, 46, 14), kButtons);
  Place(new QPushButton(PickQ(L"Help", L"帮助"), this), "IDHELP", -9, QRect(256, 41, 46, 14), kButtons);
  connect(ok, &QPushButton::clicked, this, &CEditorInstructionReferDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CEditorInstructionReferDlg::reject);
  connect(edit_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (Guarded()) return;
    GuardScope guard(guard_);
    RecognizeText(text.toStdWString(), false);
  });
  connect(groupList_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (Guarded() || row < 0) return;
    GuardScope guard(guard_);
    ChooseGroup(row);
  });
  connect(entryList_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (Guarded() || row < 0) return;
    GuardScope guard(guard_);
    ChooseEntry(row);
  });
  FinishLayout(309, 143, true);
  ShowValidity(validIcon_, false);
}

CEditorInstructionReferDlg::~CEditorInstructionReferDlg() = default;

void CEditorInstructionReferDlg::SetArguments(const std::wstring& instructionText, int blockKey) {
  instructionText_ = instructionText;
  blockKey_ = blockKey;
}

void CEditorInstructionReferDlg::OnInitDialog() {
  initialised_ = true;
  GuardScope guard(guard_);
  const Project* project = CurrentProjectOrNull();
  model_ = std::make_unique<InstructionReferModel>(project != nullptr ? project->Instructions : NoLibrary());
  FillList(groupList_, model_->GroupLines());
  groupList_->setCurrentRow(-1);
  RecognizeText(instructionText_, true);
}

int CEditorInstructionReferDlg::exec() {
  if (!initialised_) OnInitDialog();
  return CInstructionDialogBase::exec();
}

void CEditorInstructionReferDlg::RecognizeText(const std::wstring& text, bool atInit) {
  const std::optional<ReferChoice> choice = model_->Recognize(text);
  if (!choice) {
    ShowNothing();
    if (atInit) edit_->setText(QString::fromStdWString(text));
    return;
  }
  ShowEntry(*choice);
  if (atInit) edit_->setText(QString::fromStdWString(model_->Entry(choice->Group, choice->Entry)->Name));
}

void CEditorInstructionReferDlg::ShowEntry(const ReferChoice& choice) {
  const LadInstructionItem* item = model_->Entry(choice.Group, choice.Entry);
  if (item == nullptr) {
    ShowNothing();
    return;
  }
  currentGroup_ = choice.Group;
  currentEntry_ = choice.Entry;
  ShowValidity(validIcon_, true);
  groupList_->setCurrentRow(choice.Group);
  FillList(entryList_, model_->EntryLines(choice.Group));
  entryList_->setCurrentRow(choice.Entry);
  const std::vector<std::wstring> widths = InstructionReferModel::WidthLines(item->Flags);
  widthList_->clear();
  for (const std::wstring& line : widths) widthList_->addItem(QString::fromStdWString(line));
  widthLabel_->setEnabled(!widths.empty());
  widthList_->setEnabled(!widths.empty());
  widthList_->setCurrentIndex(InstructionReferModel::WidthLineForFlags(item->Flags, choice.VariantFlags));
  const bool pulse = (item->Flags & kLadVariantPulse) != 0;
  pulseCheck_->setEnabled(pulse);
  pulseCheck_->setChecked(pulse && (choice.VariantFlags & kLadVariantPulse) != 0);
}

void CEditorInstructionReferDlg::ShowNothing() {
  currentGroup_ = -1;
  currentEntry_ = -1;
  ShowValidity(validIcon_, false);
  groupList_->setCurrentRow(-1);
  groupList_->clearSelection();
  entryList_->clear();
  widthList_->clear();
  widthList_->setCurrentIndex(-1);
  widthLabel_->setEnabled(false);
  widthList_->setEnabled(false);
  pulseCheck_->setChecked(false);
  pulseCheck_->setEnabled(false);
}

void CEditorInstructionReferDlg::ShowEntryOptions(int mask) {
  const std::wstring shown = widthList_->isEnabled() && widthList_->currentIndex() >= 0
                                 ? widthList_->currentText().toStdWString()
                                 : std::wstring();
  const std::vector<std::wstring> widths = InstructionReferModel::WidthLines(mask);
  widthList_->clear();
  for (const std::wstring& line : widths) widthList_->addItem(QString::fromStdWString(line));
  widthLabel_->setEnabled(!widths.empty());
  widthList_->setEnabled(!widths.empty());
  int selection = widths.empty() ? -1 : 0;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    if (widths[i] == shown) selection = static_cast<int>(i);
  }
  widthList_->setCurrentIndex(selection);
  const bool pulse = (mask & kLadVariantPulse) != 0;
  pulseCheck_->setEnabled(pulse);
  if (!pulse) pulseCheck_->setChecked(false);
}

void CEditorInstructionReferDlg::ChooseGroup(int group) {
  if (group == currentGroup_) return;
  const std::optional<ReferChoice> first = model_->FirstEntryOf(group);
  if (!first) return;
  currentGroup_ = group;
  currentEntry_ = 0;
  ShowValidity(validIcon_, true);
  const LadInstructionItem* item = model_->Entry(group, 0);
  edit_->setText(QString::fromStdWString(item->Name));
  FillList(entryList_, model_->EntryLines(group));
  entryList_->setCurrentRow(0);
  ShowEntryOptions(item->Flags);
}

void CEditorInstructionReferDlg::ChooseEntry(int entry) {
  if (entry == currentEntry_) return;
  const LadInstructionItem* item = model_->Entry(currentGroup_, entry);
  if (item == nullptr) return;
  currentEntry_ = entry;
  ShowValidity(validIcon_, true);
  edit_->setText(QString::fromStdWString(item->Name));
  ShowEntryOptions(item->Flags);
}

void CEditorInstructionReferDlg::accept() {
  GetWindowWideText(edit_, instructionText_);
  std::wstring width;
  if (widthList_->isEnabled()) GetWindowWideText(widthList_, width);
  if (model_ != nullptr) instructionText_ = model_->Resolve(instructionText_, width, pulseCheck_->isChecked());
  CInstructionDialogBase::accept();
}

}  // namespace Brenno
