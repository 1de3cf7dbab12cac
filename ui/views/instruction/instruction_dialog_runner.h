// The entry points that run the instruction editor dialogs modally, as the UI facade offers them
// to the instruction input box, to the dialogs themselves and to the MODBUS address query. Each
// returns true when the user confirmed and then writes the result into the in/out text; on
// cancel the text stays as it was. Tests may install a runner that stands in for the dialogs.
#pragma once

#include <string>

class QWidget;

namespace Brenno {

class InstructionDialogRunner {
 public:
  virtual ~InstructionDialogRunner() = default;
  virtual bool RunDeviceDetailDialog(const std::wstring& format, std::wstring& text, int blockKey, int dataType) = 0;
  virtual bool RunDeviceDialog(std::wstring& text, int blockKey) = 0;
  virtual bool RunInstructionDialog(std::wstring& text, int blockKey) = 0;
  virtual bool RunInstructionReferDialog(std::wstring& text, int blockKey) = 0;
};

// Installs a stand-in (not owned); null restores the real dialogs.
void InstallInstructionDialogRunner(InstructionDialogRunner* runner);

// The device detail dialog on one operand: its format text (never written back), the operand
// text, the block whose local variables are offered (-1 none) and the operand's data type (-1
// none). A null parent uses the active window.
bool RunDeviceDetailDialog(const std::wstring& format, std::wstring& text, int blockKey, int dataType,
                           QWidget* parent = nullptr);
// The device dialog on the operands of a coil.
bool RunDeviceDialog(std::wstring& text, int blockKey, QWidget* parent = nullptr);
// The instruction dialog on a box instruction.
bool RunInstructionDialog(std::wstring& text, int blockKey, QWidget* parent = nullptr);
// The instruction reference dialog on an instruction name.
bool RunInstructionReferDialog(std::wstring& text, int blockKey, QWidget* parent = nullptr);

}  // namespace Brenno
