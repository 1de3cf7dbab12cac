#include "ui/views/instruction/device_detail_model.h"

#include "core/env/constant.h"
#include "core/env/exception_error.h"
#include "core/env/operand_address.h"
#include "core/env/operand_format.h"
#include "core/project/project.h"
#include "core/project/symbol_resolution.h"

namespace Brenno {

namespace {

constexpr int kNoneLine = 0;

// Steps the option controls add to a scanned text: a bit group chosen in the list when the text
// has none, and the kind the radio buttons and the index register list give.
void ApplyOptionsToAddress(OperandAddress& address, const DeviceDetailOptions& options) {
  if (address.groups == -1 && options.BitGroupLine >= 0) address.groups = options.BitGroupLine + 1;
  if (!options.AsValue) {
    if (options.AsAddress) {
      address.kind = kKindAddress;
    } else if (options.AsPointer) {
      address.kind = kKindPointer;
    }
  } else if (address.index != -1) {
    // An index register written in the text takes precedence over the list.
    address.kind = kKindIndexed;
  } else if (options.IndexLine > kNoneLine) {
    address.kind = kKindIndexed;
    address.index = options.IndexLine - 1;
  } else {
    address.kind = kKindValue;
  }
}

void DisableOptions(DeviceDetailView& view) {
  view.BitGroup = ChoiceState{};
  view.AsValue = ToggleState{};
  view.AsAddress = ToggleState{};
  view.AsPointer = ToggleState{};
  view.IndexRegister = ChoiceState{};
}

}  // namespace

DeviceDetailModel::DeviceDetailModel(const MemoryAreaManager& manager, const std::wstring& format, int dataType)
    : manager_(manager), format_(format), dataType_(dataType) {
  try {
    formatFlags_ = ParseOperandFormatFlags(format_);
    const int width = ParseOperandFormatWidth(format_);
    const int groups = width == kWidthByte ? 2 : width == kWidthWord ? 4 : width == kWidthDword ? 8 : 0;
    for (int n = 1; n <= groups; ++n) bitGroupLines_.push_back(L"K" + std::to_wstring(n));
    std::vector<OperandCandidate> candidates;
    GroupOperandCandidates(manager_, format_, candidates);
    for (const OperandCandidate& candidate : candidates) {
      std::wstring first;
      std::wstring last;
      DescribeAccessRange(*candidate.region, *candidate.access, first, last);
      const std::wstring mark = candidate.flags == kKindAddress ? L"&" : candidate.flags == kKindPointer ? L"*" : L"";
      rows_.push_back({candidate.flags, candidate.region, candidate.access});
      rowLines_.push_back(mark + first + L" ~ " + mark + last);
    }
  } catch (const ExceptionError&) {
    // A malformed format: nothing can be chosen and nothing matches.
    formatFlags_ = 0;
    rows_.clear();
    rowLines_.clear();
    bitGroupLines_.clear();
  }
  if ((formatFlags_ & kFormatConstant) != 0) {
    try {
      std::wstring range;
      FormatTypeRangeText(manager_, range, dataType_);
      rows_.push_back({kCandidateConstant, nullptr, nullptr});
      rowLines_.push_back(range);
    } catch (const ExceptionError&) {
      // No constant range for a data type outside 0..10: no constant row.
    }
  }
}

std::vector<std::wstring> DeviceDetailModel::IndexRegisterLines() {
  std::vector<std::wstring> lines{L"NONE", L"Z"};
  for (int i = 1; i <= 7; ++i) lines.push_back(L"Z" + std::to_wstring(i));
  lines.push_back(L"V");
  for (int i = 1; i <= 7; ++i) lines.push_back(L"V" + std::to_wstring(i));
  return lines;
}

bool DeviceDetailModel::BitGroupsAllowed(const DeviceCandidateRow& row) const {
  return row.Region != nullptr && row.Access != nullptr && row.Region->GroupEnable != 0 &&
         row.Access->Width != kWidthBit && row.Access->Offset == 0;
}

void DeviceDetailModel::ShowRowOptions(DeviceDetailView& view, int row, int group, int index) const {
  DisableOptions(view);
  const DeviceCandidateRow& candidate = rows_[row];
  if (candidate.Kind == kCandidateConstant) return;
  if (BitGroupsAllowed(candidate)) {
    view.BitGroup.Enabled = true;
    view.BitGroup.Selection = group >= 0 && group < static_cast<int>(bitGroupLines_.size()) ? group : -1;
  }
  if ((candidate.Kind & kKindValue) != 0) {
    view.AsValue = ToggleState{true, true};
    if ((candidate.Kind & kKindIndexed) != 0) {
      view.IndexRegister.Enabled = true;
      view.IndexRegister.Selection = index >= 0 && index <= 15 ? index + 1 : kNoneLine;
    }
  } else if (candidate.Kind == kKindAddress) {
    view.AsAddress = ToggleState{true, true};
  } else if (candidate.Kind == kKindPointer) {
    view.AsPointer = ToggleState{true, true};
  }
}

DeviceDetailView DeviceDetailModel::Recognize(const std::wstring& text, const DeviceDetailOptions* options) const {
  DeviceDetailView view;
  const bool rewrite = options == nullptr;
  try {
    OperandAddress address;
    if (ScanOperandText(text, address)) {
      if (options != nullptr) ApplyOptionsToAddress(address, *options);
      OperandFields fields;
      const MemoryRegion* region = nullptr;
      const MemoryAccess* access = nullptr;
      if (MatchOperandTextWithFormat(format_, manager_, address, fields, &region, &access)) {
        for (std::size_t row = 0; row < rows_.size(); ++row) {
          const DeviceCandidateRow& candidate = rows_[row];
          if (candidate.Region != region || candidate.Access != access || (candidate.Kind & fields.kind) == 0) {
            continue;
          }
          view.Valid = true;
          view.CurrentRow = static_cast<int>(row);
          if (rewrite) {
            OperandAddress plain = address;
            plain.kind = kKindValue;
            plain.groups = -1;
            plain.index = -1;
            std::wstring shown;
            if (PrintOperandAddress(plain, shown)) view.EditText = shown;
          }
          const bool grouped = address.groups != -1;
          ShowRowOptions(view, view.CurrentRow, grouped ? fields.group : 0,
                         fields.kind == kKindIndexed ? fields.index : -1);
          return view;
        }
      }
    }
    if ((formatFlags_ & kFormatConstant) != 0 && !rows_.empty() && rows_.back().Kind == kCandidateConstant) {
      ConstantOperand constant;
      if (ParseConstantOperand(constant, manager_, dataType_, text)) {
        view.Valid = true;
        view.CurrentRow = static_cast<int>(rows_.size()) - 1;
        if (rewrite) view.EditText = text;
        DisableOptions(view);
        return view;
      }
    }
  } catch (const ExceptionError&) {
    // A malformed format or data type: not valid.
  }
  view = DeviceDetailView{};
  if (rewrite) view.EditText = text;
  return view;
}

DeviceDetailView DeviceDetailModel::ShowOperand(const std::wstring& text) const { return Recognize(text, nullptr); }

DeviceDetailView DeviceDetailModel::ApplyOptions(const std::wstring& text, const DeviceDetailOptions& options) const {
  return Recognize(text, &options);
}

DeviceDetailView DeviceDetailModel::SelectRow(int row) const {
  DeviceDetailView view;
  if (row < 0 || row >= static_cast<int>(rows_.size())) return view;
  view.Valid = true;
  view.CurrentRow = row;
  const DeviceCandidateRow& candidate = rows_[row];
  try {
    if (candidate.Kind == kCandidateConstant) {
      std::wstring zero;
      FormatConstantOperand(manager_, ConstantOperand{0, -1}, dataType_, zero);
      view.EditText = zero;
      DisableOptions(view);
      return view;
    }
    std::wstring first;
    std::wstring last;
    DescribeAccessRange(*candidate.Region, *candidate.Access, first, last);
    OperandAddress address;
    std::wstring shown = first;
    if (ScanOperandText(first, address)) {
      address.groups = -1;
      address.index = -1;
      if (address.kind == kKindIndexed) address.kind = kKindValue;
      PrintOperandAddress(address, shown);
    }
    view.EditText = shown;
  } catch (const ExceptionError&) {
    // Nothing to show for this row; its options all the same.
    view.EditText = std::wstring();
  }
  ShowRowOptions(view, row, 0, -1);
  return view;
}

std::wstring DeviceDetailModel::ComposeResult(const std::wstring& text, const DeviceDetailOptions& options) const {
  try {
    OperandAddress address;
    if (!ScanOperandText(text, address)) return text;
    ApplyOptionsToAddress(address, options);
    OperandFields fields;
    std::wstring result;
    if (MatchOperandTextWithFormat(format_, manager_, address, fields) && PrintOperandAddress(address, result)) {
      return result;
    }
  } catch (const ExceptionError&) {
    // A malformed format: the text as typed.
  }
  return text;
}

std::vector<AddressSymbol> ListAddressSymbols(const Project& project, int blockKey) {
  std::vector<AddressSymbol> symbols;
  if (const LocalVarTable* locals = FindLocalVarTable(project.Program, blockKey)) {
    for (const VarEntry& entry : *locals) {
      if (IsValidVarEntry(entry)) symbols.push_back({L"#" + entry.Name, entry.Address});
    }
  }
  for (const auto& [key, page] : project.Symbols.Working) {
    for (const VarEntry& entry : page.Rows) {
      if (IsValidVarEntry(entry)) symbols.push_back({entry.Name, entry.Address});
    }
  }
  return symbols;
}

}  // namespace Brenno
