#include "ui/views/instruction/instruction_dialog_runner.h"

#include <QApplication>

#include "ui/views/instruction/editor_device_detail_dlg.h"
#include "ui/views/instruction/editor_device_dlg.h"
#include "ui/views/instruction/editor_instruction_dlg.h"
#include "ui/views/instruction/editor_instruction_refer_dlg.h"

namespace Brenno {

namespace {

InstructionDialogRunner* g_runner = nullptr;

QWidget* OwnerOf(QWidget* parent) { return parent != nullptr ? parent : QApplication::activeWindow(); }

}  // namespace

void InstallInstructionDialogRunner(InstructionDialogRunner* runner) { g_runner = runner; }

bool RunDeviceDetailDialog(const std::wstring& format, std::wstring& text, int blockKey, int dataType,
                           QWidget* parent) {
  if (g_runner != nullptr) return g_runner->RunDeviceDetailDialog(format, text, blockKey, dataType);
  CEditorDeviceDetailDlg dialog(OwnerOf(parent));
  dialog.SetArguments(format, text, blockKey, dataType);
  if (dialog.exec() != QDialog::Accepted) return false;
  text = dialog.OperandText();
  return true;
}

bool RunDeviceDialog(std::wstring& text, int blockKey, QWidget* parent) {
  if (g_runner != nullptr) return g_runner->RunDeviceDialog(text, blockKey);
  CEditorDeviceDlg dialog(OwnerOf(parent));
  dialog.SetArguments(text, blockKey);
  if (dialog.exec() != QDialog::Accepted) return false;
  text = dialog.OperandText();
  return true;
}

bool RunInstructionDialog(std::wstring& text, int blockKey, QWidget* parent) {
  if (g_runner != nullptr) return g_runner->RunInstructionDialog(text, blockKey);
  CEditorInstructionDlg dialog(OwnerOf(parent));
  dialog.SetArguments(text, blockKey);
  if (dialog.exec() != QDialog::Accepted) return false;
  text = dialog.InstructionText();
  return true;
}

bool RunInstructionReferDialog(std::wstring& text, int blockKey, QWidget* parent) {
  if (g_runner != nullptr) return g_runner->RunInstructionReferDialog(text, blockKey);
  CEditorInstructionReferDlg dialog(OwnerOf(parent));
  dialog.SetArguments(text, blockKey);
  if (dialog.exec() != QDialog::Accepted) return false;
  text = dialog.InstructionText();
  return true;
}

}  // namespace Brenno
