// What the device detail dialog shows for one operand under one operand format: the candidate
// rows of the "Kind of Device" list (value, address and pointer ranges and the constant range),
// the bit group and index register choices, the symbols offered by name, and for an operand text
// the row it matches and the state of every option control. The dialog only copies these states
// into its controls.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/env/memory_area_manager.h"

namespace Brenno {

class Project;

// Kind bits of a candidate row: one of address, value (with the index-register bit 8 when the
// format admits an index there), pointer, or the constant row.
inline constexpr int kCandidateConstant = 16;

struct DeviceCandidateRow {
  int Kind = 0;
  const MemoryRegion* Region = nullptr;
  const MemoryAccess* Access = nullptr;
};

// A drop-down list: enabled or not, and the selected line (-1 none).
struct ChoiceState {
  bool Enabled = false;
  int Selection = -1;
  bool operator==(const ChoiceState&) const = default;
};

// A radio button: enabled or not, ticked or not.
struct ToggleState {
  bool Enabled = false;
  bool Checked = false;
  bool operator==(const ToggleState&) const = default;
};

// The state the dialog shows after a recognition or a row choice.
struct DeviceDetailView {
  bool Valid = false;
  int CurrentRow = -1;
  // The text the edit is to show; absent when the edit keeps what it has.
  std::optional<std::wstring> EditText;
  ChoiceState BitGroup;
  ToggleState AsValue;
  ToggleState AsAddress;
  ToggleState AsPointer;
  ChoiceState IndexRegister;
};

// The option controls as the user left them; a disabled list counts as no selection.
struct DeviceDetailOptions {
  int BitGroupLine = -1;
  bool AsValue = false;
  bool AsAddress = false;
  bool AsPointer = false;
  int IndexLine = -1;
};

// One line of the "Address symbol" list and the address it stands for.
struct AddressSymbol {
  std::wstring Line;
  std::wstring Address;
  bool operator==(const AddressSymbol&) const = default;
};

class DeviceDetailModel {
 public:
  // Reads the format against the memory map. A malformed format leaves no rows and no bit
  // groups (every operand is then not valid); a data type outside 0..10 leaves out the constant
  // row. The manager must outlive the model.
  DeviceDetailModel(const MemoryAreaManager& manager, const std::wstring& format, int dataType);

  const std::vector<DeviceCandidateRow>& Rows() const { return rows_; }
  const std::vector<std::wstring>& RowLines() const { return rowLines_; }
  // "K1".."K2" for a byte format, "K1".."K4" word, "K1".."K8" double word, none for bits.
  const std::vector<std::wstring>& BitGroupLines() const { return bitGroupLines_; }
  // "NONE", "Z", "Z1".."Z7", "V", "V1".."V7": line i > 0 is index register i - 1.
  static std::vector<std::wstring> IndexRegisterLines();

  // The recognition that rewrites the edit: the operand without "&", "*", bit group and index,
  // which the option controls show instead.
  DeviceDetailView ShowOperand(const std::wstring& text) const;
  // The recognition of a typed text with the option controls applied; the edit is kept.
  DeviceDetailView ApplyOptions(const std::wstring& text, const DeviceDetailOptions& options) const;
  // A row chosen in the list: the first operand of its range (or the constant 0) and the option
  // controls of that row.
  DeviceDetailView SelectRow(int row) const;
  // The text OK returns: the typed text with the options applied when it then fits the format,
  // otherwise the text as typed.
  std::wstring ComposeResult(const std::wstring& text, const DeviceDetailOptions& options) const;

 private:
  DeviceDetailView Recognize(const std::wstring& text, const DeviceDetailOptions* options) const;
  void ShowRowOptions(DeviceDetailView& view, int row, int group, int index) const;
  bool BitGroupsAllowed(const DeviceCandidateRow& row) const;

  const MemoryAreaManager& manager_;
  std::wstring format_;
  int dataType_ = -1;
  int formatFlags_ = 0;
  std::vector<DeviceCandidateRow> rows_;
  std::vector<std::wstring> rowLines_;
  std::vector<std::wstring> bitGroupLines_;
};

// The symbols the dialog offers: the valid local variables of the block with that key ("#" and
// the name), then the valid global symbols, pages in key order, rows in order.
std::vector<AddressSymbol> ListAddressSymbols(const Project& project, int blockKey);

}  // namespace Brenno
