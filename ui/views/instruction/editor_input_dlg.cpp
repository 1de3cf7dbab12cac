#include "ui/views/instruction/editor_input_dlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/project/project.h"
#include "ui/views/instruction/instruction_dialog_runner.h"

namespace Brenno {

namespace {

const ResizeRule kLeftIcons{{0, 1}, {1, 2}, {0, 1}, {0, 1}};
const ResizeRule kEdit{{0, 1}, {1, 2}, {1, 1}, {0, 1}};
const ResizeRule kButtons{{1, 2}, {1, 1}, {0, 1}, {0, 1}};

const InstructionLibrary& CurrentLibrary() {
  static const InstructionLibrary empty;
  const Project* project = CurrentProjectOrNull();
  return project != nullptr ? project->Instructions : empty;
}

}  // namespace

CEditorInputDlg::CEditorInputDlg(QWidget* parent) : CInstructionDialogBase(parent) {
  setModal(false);
  setWindowTitle(PickQ(L"Input istruction", L"输入指令"));
  kindIcon_ = Place(new QLabel(this), "KindIcon", 30041, QRect(7, 7, 20, 20), kLeftIcons);
  kindIcon_->setAlignment(Qt::AlignCenter);
  keep_ = Place(new QCheckBox(PickQ(L"Keep this dialog box", L"保持这个对话框"), this), "KeepCheck", 30042,
                QRect(32, 8, 120, 10), kLeftIcons);
  validIcon_ = Place(new QLabel(this), "ValidIcon", 30043, QRect(32, 29, 10, 10), kLeftIcons);
  validIcon_->setAlignment(Qt::AlignCenter);
  edit_ = Place(new QLineEdit(this), "InstructionEdit", 30044, QRect(45, 28, 183, 12), kEdit);
  auto* ok = Place(new QPushButton(PickQ(L"OK", L"确认"), this), "IDOK", -1, QRect(28, 50, 42, 14), kButtons);
  ok->setDefault(true);
  reference_ = Place(new QPushButton(PickQ(L"Referece", L"参照"), this), "ReferenceButton", 30045,
                     QRect(74, 50, 42, 14), kButtons);
  auto* cancel =
      Place(new QPushButton(PickQ(L"Cancel", L"取消"), this), "IDCANCEL", -2, QRect(120, 50, 42, 14), kButtons);
  Place(new QPushButton(PickQ(L"Help", L"帮助"), this), "IDHELP", -9, QRect(166, 50, 42, 14), kButtons);
  connect(ok, &QPushButton::clicked, this, &CEditorInputDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CEditorInputDlg::reject);
  connect(reference_, &QPushButton::clicked, this, &CEditorInputDlg::OnReference);
  connect(edit_, &QLineEdit::textChanged, this, [this] {
    if (Guarded()) return;
    GuardScope guard(guard_);
    ValidateInstructionText();
  });
  FinishLayout(235, 71, true);
  GuardScope guard(guard_);
  ParseInstructionText();
}

InstructionInputTarget* CEditorInputDlg::Target() const { return targetLookup_ ? targetLookup_() : nullptr; }

void CEditorInputDlg::SetInstructionText(const std::wstring& text) {
  {
    GuardScope guard(guard_);
    const std::optional<std::wstring> shown = model_.Parse(CurrentLibrary(), text);
    ShowIcon(kindIcon_, kIconKindFirst + model_.Kind());
    if (shown) edit_->setText(QString::fromStdWString(*shown));
    ValidateInstructionText();
  }
  edit_->setFocus();
  edit_->selectAll();
}

void CEditorInputDlg::ParseInstructionText() {
  const std::optional<std::wstring> shown = model_.Parse(CurrentLibrary(), model_.InstructionText());
  ShowIcon(kindIcon_, kIconKindFirst + model_.Kind());
  if (shown) edit_->setText(QString::fromStdWString(*shown));
  ValidateInstructionText();
}

void CEditorInputDlg::ValidateInstructionText() {
  std::wstring text;
  GetWindowWideText(edit_, text);
  valid_ = model_.Validate(CurrentProjectOrNull(), text, activeBlockKey_);
  ShowValidity(validIcon_, valid_);
}

void CEditorInputDlg::ShowBox() {
  if (!isVisible()) {
    showNormal();
    if (QWidget* owner = parentWidget()) {
      const QRect frame = owner->frameGeometry();
      move(frame.center() - rect().center());
    }
  }
  raise();
  activateWindow();
}

void CEditorInputDlg::OnReference() {
  activeBlockKey_ = -1;
  if (InstructionInputTarget* target = Target()) activeBlockKey_ = target->GetActiveBlockId();
  std::wstring text;
  GetWindowWideText(edit_, text);
  const InputReference reference = model_.Reference(CurrentLibrary());
  bool confirmed = false;
  switch (reference.Which) {
    case InputReference::DeviceDetail:
      confirmed = RunDeviceDetailDialog(reference.Slot.Format, text, activeBlockKey_, reference.Slot.DataType, this);
      break;
    case InputReference::Device:
      confirmed = RunDeviceDialog(text, activeBlockKey_, this);
      break;
    case InputReference::Instruction:
      confirmed = RunInstructionDialog(text, activeBlockKey_, this);
      break;
    case InputReference::None:
      return;
  }
  ReturnKeyboardTo(edit_);
  if (!confirmed) return;
  const QString shown = QString::fromStdWString(text);
  if (edit_->text() != shown) {
    edit_->setText(shown);
  } else if (!Guarded()) {
    GuardScope guard(guard_);
    ValidateInstructionText();
  }
}

void CEditorInputDlg::accept() {
  if (IsCommOfflineNow()) {
    if (InstructionInputTarget* target = Target()) {
      // A copy: the receiver may set a new text into the box while it handles this one.
      const std::wstring text = model_.InstructionText();
      target->InsertInstructionText(text);
    }
  }
  if (keep_->isChecked()) return;
  ClearAndHide();
}

void CEditorInputDlg::reject() { ClearAndHide(); }

void CEditorInputDlg::ClearAndHide() {
  edit_->setFocus();
  if (edit_->text().isEmpty()) {
    if (!Guarded()) {
      GuardScope guard(guard_);
      ValidateInstructionText();
    }
  } else {
    edit_->clear();
  }
  hide();
}

}  // namespace Brenno
