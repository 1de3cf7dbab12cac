#include "ui/views/instruction/editor_instruction_dlg.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/link/app_environment.h"
#include "core/project/project.h"
#include "ui/views/instruction/instruction_dialog_runner.h"

namespace Brenno {

namespace {

const ResizeRule kStretch{{0, 1}, {1, 2}, {1, 1}, {0, 1}};
const ResizeRule kIcon{{0, 1}, {1, 2}, {0, 1}, {0, 1}};
const ResizeRule kRight{{1, 1}, {1, 2}, {0, 1}, {0, 1}};

const char* const kIconNames[] = {"OperandIcon0", "OperandIcon1", "OperandIcon2",
                                  "OperandIcon3", "OperandIcon4", "OperandIcon5"};
const char* const kEditNames[] = {"OperandEdit0", "OperandEdit1", "OperandEdit2",
                                  "OperandEdit3", "OperandEdit4", "OperandEdit5"};
const char* const kReferenceNames[] = {"OperandReference0", "OperandReference1", "OperandReference2",
                                       "OperandReference3", "OperandReference4", "OperandReference5"};

bool SymbolicAddressingOn() {
  const AppEnvironment* environment = InstalledAppEnvironment();
  return environment != nullptr && environment->Config.SymbolicAddr != 0;
}

}  // namespace

CEditorInstructionDlg::CEditorInstructionDlg(QWidget* parent) : CInstructionDialogBase(parent) {
  setWindowTitle(PickQ(L"Instruction", L"指令"));
  Place(new QGroupBox(PickQ(L"Instruction", L"指令"), this), "InstructionGroup", 30054, QRect(7, 4, 160, 28), kStretch);
  nameIcon_ = Place(new QLabel(this), "NameIcon", 30055, QRect(13, 16, 10, 10), kIcon);
  nameEdit_ = Place(new QLineEdit(this), "NameEdit", 30056, QRect(26, 15, 92, 12), kStretch);
  nameReference_ = Place(new QPushButton(PickQ(L"Reference", L"参照"), this), "NameReference", 30057,
                         QRect(122, 14, 40, 14), kRight);
  Place(new QGroupBox(PickQ(L"Device", L"元件"), this), "DeviceGroup", 30058, QRect(7, 38, 160, 118), kStretch);
  for (int k = 0; k < static_cast<int>(kInstructionOperandRows); ++k) {
    const int top = 51 + 17 * k;
    icons_[k] = Place(new QLabel(this), kIconNames[k], 30059 + 3 * k, QRect(13, top + 1, 10, 10), kIcon);
    edits_[k] = Place(new QLineEdit(this), kEditNames[k], 30060 + 3 * k, QRect(26, top, 92, 12), kStretch);
    references_[k] = Place(new QPushButton(PickQ(L"Reference", L"参照"), this), kReferenceNames[k], 30061 + 3 * k,
                           QRect(122, top - 1, 40, 14), kRight);
    connect(edits_[k], &QLineEdit::textChanged, this, [this, k] {
      if (Guarded()) return;
      GuardScope guard(guard_);
      ValidateInstructionOperand(k);
    });
    connect(references_[k], &QPushButton::clicked, this, [this, k] { OnOperandReference(k); });
  }
  auto* ok = Place(new QPushButton(PickQ(L"OK", L"确认"), this), "IDOK", -1, QRect(173, 8, 48, 14), kRight);
  ok->setDefault(true);
  auto* cancel =
      Place(new QPushButton(PickQ(L"Cancel", L"取消"), this), "IDCANCEL", -2, QRect(173, 26, 48, 14), kRight);
  Place(new QPushButton(PickQ(L"Help", L"帮助"), this), "IDHELP", -9, QRect(173, 44, 48, 14), kRight);
  connect(ok, &QPushButton::clicked, this, &CEditorInstructionDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CEditorInstructionDlg::reject);
  connect(nameEdit_, &QLineEdit::textChanged, this, [this] {
    if (Guarded()) return;
    GuardScope guard(guard_);
    ValidateInstructionOperands();
  });
  connect(nameReference_, &QPushButton::clicked, this, &CEditorInstructionDlg::OnNameReference);
  FinishLayout(227, 162, true);
  ShowValidity(nameIcon_, false);
  for (QLabel* icon : icons_) ShowValidity(icon, false);
}

void CEditorInstructionDlg::SetArguments(const std::wstring& instructionText, int blockKey) {
  instructionText_ = instructionText;
  blockKey_ = blockKey;
}

void CEditorInstructionDlg::OnInitDialog() {
  initialised_ = true;
  GuardScope guard(guard_);
  const std::vector<std::wstring> tokens = SplitInstructionText(instructionText_);
  if (!tokens.empty()) nameEdit_->setText(QString::fromStdWString(tokens[0]));
  for (std::size_t k = 0; k < kInstructionOperandRows; ++k) {
    edits_[k]->setText(k + 1 < tokens.size() ? QString::fromStdWString(tokens[k + 1]) : QString());
  }
  ValidateInstructionOperands();
}

int CEditorInstructionDlg::exec() {
  if (!initialised_) OnInitDialog();
  return CInstructionDialogBase::exec();
}

void CEditorInstructionDlg::ValidateInstructionOperands() {
  std::wstring name;
  GetWindowWideText(nameEdit_, name);
  const Project* project = CurrentProjectOrNull();
  const std::optional<OperandSlotRow> recognised =
      project != nullptr ? RecognizeInstructionName(*project, name) : std::nullopt;
  if (recognised) slots_ = *recognised;
  ShowValidity(nameIcon_, recognised.has_value());
  for (int k = 0; k < static_cast<int>(kInstructionOperandRows); ++k) {
    const bool enabled = recognised && slots_[k].HasFormat();
    edits_[k]->setEnabled(enabled);
    references_[k]->setEnabled(enabled);
    if (enabled) {
      ValidateInstructionOperand(k);
    } else {
      ShowValidity(icons_[k], false);
    }
  }
}

void CEditorInstructionDlg::ValidateInstructionOperand(int k) {
  if (!slots_[k].HasFormat()) return;
  std::wstring text;
  GetWindowWideText(edits_[k], text);
  const Project* project = CurrentProjectOrNull();
  ShowValidity(icons_[k], project != nullptr && CheckOperandText(*project, text, slots_[k], blockKey_));
}

void CEditorInstructionDlg::PutText(QLineEdit* edit, const std::wstring& text, int row) {
  const QString shown = QString::fromStdWString(text);
  if (edit->text() != shown) {
    edit->setText(shown);
    return;
  }
  if (Guarded()) return;
  GuardScope guard(guard_);
  if (row < 0) {
    ValidateInstructionOperands();
  } else {
    ValidateInstructionOperand(row);
  }
}

void CEditorInstructionDlg::OnNameReference() {
  std::wstring text;
  GetWindowWideText(nameEdit_, text);
  const Project* project = CurrentProjectOrNull();
  if (project != nullptr) ReplaceProgramPageName(*project, text, false);
  const bool confirmed = RunInstructionReferDialog(text, blockKey_, this);
  ReturnKeyboardTo(nameEdit_);
  if (!confirmed) return;
  project = CurrentProjectOrNull();
  if (project != nullptr && SymbolicAddressingOn()) ReplaceProgramPageAddress(*project, text);
  PutText(nameEdit_, text, -1);
}

void CEditorInstructionDlg::OnOperandReference(int k) {
  if (!slots_[k].HasFormat()) return;
  std::wstring text;
  GetWindowWideText(edits_[k], text);
  const bool confirmed = RunDeviceDetailDialog(slots_[k].Format, text, blockKey_, slots_[k].DataType, this);
  ReturnKeyboardTo(edits_[k]);
  if (!confirmed) return;
  PutText(edits_[k], text, k);
}

void CEditorInstructionDlg::accept() {
  std::wstring name;
  GetWindowWideText(nameEdit_, name);
  std::vector<std::wstring> operands;
  std::size_t count = 0;
  while (count < kInstructionOperandRows && slots_[count].HasFormat()) {
    std::wstring text;
    GetWindowWideText(edits_[count], text);
    operands.push_back(text);
    ++count;
  }
  instructionText_ = ComposeInstructionText(name, operands, count);
  CInstructionDialogBase::accept();
}

}  // namespace Brenno
