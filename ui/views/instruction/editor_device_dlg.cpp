#include "ui/views/instruction/editor_device_dlg.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/project/project.h"
#include "ui/views/instruction/instruction_dialog_runner.h"

namespace Brenno {

namespace {

const ResizeRule kGroupRow{{0, 1}, {1, 2}, {1, 1}, {0, 1}};
const ResizeRule kIconRow{{0, 1}, {1, 2}, {0, 1}, {0, 1}};
const ResizeRule kReferenceRow{{1, 1}, {1, 2}, {0, 1}, {0, 1}};
const ResizeRule kButtons{{1, 1}, {0, 1}, {0, 1}, {0, 1}};

}  // namespace

CEditorDeviceDlg::CEditorDeviceDlg(QWidget* parent) : CInstructionDialogBase(parent) {
  setWindowTitle(PickQ(L"Device", L"元件"));
  const char* groupNames[2] = {"DeviceGroup", "SetValueGroup"};
  const char* iconNames[2] = {"DeviceIcon", "SetValueIcon"};
  const char* editNames[2] = {"DeviceEdit", "SetValueEdit"};
  const char* referenceNames[2] = {"DeviceReference", "SetValueReference"};
  const QString titles[2] = {PickQ(L"Device", L"元件"), PickQ(L"Set Value", L"数据设置")};
  for (int row = 0; row < 2; ++row) {
    const int top = 4 + 30 * row;
    const int offset = 30046 + 4 * row;
    Place(new QGroupBox(titles[row], this), groupNames[row], offset, QRect(7, top, 213, 28), kGroupRow);
    icons_[row] = Place(new QLabel(this), iconNames[row], offset + 1, QRect(14, top + 12, 10, 10), kIconRow);
    edits_[row] = Place(new QLineEdit(this), editNames[row], offset + 2, QRect(28, top + 11, 138, 12), kGroupRow);
    references_[row] = Place(new QPushButton(PickQ(L"Reference", L"参照"), this), referenceNames[row], offset + 3,
                             QRect(172, top + 10, 42, 14), kReferenceRow);
    connect(edits_[row], &QLineEdit::textChanged, this, [this] {
      if (Guarded()) return;
      GuardScope guard(guard_);
      ValidateDeviceOperands();
    });
    connect(references_[row], &QPushButton::clicked, this, [this, row] { OnReference(row); });
  }
  auto* ok = Place(new QPushButton(PickQ(L"OK", L"确认"), this), "IDOK", -1, QRect(61, 68, 50, 14), kButtons);
  ok->setDefault(true);
  auto* cancel =
      Place(new QPushButton(PickQ(L"Cancel", L"取消"), this), "IDCANCEL", -2, QRect(115, 68, 50, 14), kButtons);
  Place(new QPushButton(PickQ(L"Help", L"帮助"), this), "IDHELP", -9, QRect(170, 68, 50, 14), kButtons);
  connect(ok, &QPushButton::clicked, this, &CEditorDeviceDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CEditorDeviceDlg::reject);
  FinishLayout(227, 89, true);
  for (QLabel* icon : icons_) ShowValidity(icon, false);
}

void CEditorDeviceDlg::SetArguments(const std::wstring& operandText, int blockKey) {
  operandText_ = operandText;
  blockKey_ = blockKey;
}

void CEditorDeviceDlg::OnInitDialog() {
  initialised_ = true;
  GuardScope guard(guard_);
  const std::vector<std::wstring> tokens = SplitInstructionText(operandText_);
  edits_[0]->setText(tokens.empty() ? QString() : QString::fromStdWString(tokens[0]));
  edits_[1]->setText(tokens.size() < 2 ? QString() : QString::fromStdWString(tokens[1]));
  ValidateDeviceOperands();
}

int CEditorDeviceDlg::exec() {
  if (!initialised_) OnInitDialog();
  return CInstructionDialogBase::exec();
}

void CEditorDeviceDlg::ValidateDeviceOperands() {
  std::wstring texts[2];
  GetWindowWideText(edits_[0], texts[0]);
  GetWindowWideText(edits_[1], texts[1]);
  const Project* project = CurrentProjectOrNull();
  coils_ = project != nullptr ? FindCoilDefinitions(*project, texts[0], texts[1], blockKey_) : CoilDefinitions{};
  slots_ = ChooseDeviceSlots(coils_, texts[1].empty());
  for (int row = 0; row < 2; ++row) {
    const OperandSlot& slot = Slot(row);
    references_[row]->setEnabled(slot.HasFormat());
    ShowValidity(icons_[row],
                 slot.HasFormat() && project != nullptr && CheckOperandText(*project, texts[row], slot, blockKey_));
  }
}

void CEditorDeviceDlg::OnReference(int row) {
  const OperandSlot slot = Slot(row);
  if (!slot.HasFormat()) return;
  std::wstring text;
  GetWindowWideText(edits_[row], text);
  const bool confirmed = RunDeviceDetailDialog(slot.Format, text, blockKey_, slot.DataType, this);
  ReturnKeyboardTo(edits_[row]);
  if (!confirmed) return;
  const QString shown = QString::fromStdWString(text);
  if (edits_[row]->text() == shown) {
    GuardScope guard(guard_);
    ValidateDeviceOperands();
  } else {
    edits_[row]->setText(shown);
  }
}

void CEditorDeviceDlg::accept() {
  std::wstring device;
  std::wstring setValue;
  GetWindowWideText(edits_[0], device);
  GetWindowWideText(edits_[1], setValue);
  operandText_ = ComposeDeviceOperands(device, setValue);
  CInstructionDialogBase::accept();
}

}  // namespace Brenno
