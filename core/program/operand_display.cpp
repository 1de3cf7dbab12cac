#include "core/program/operand_display.h"

#include <algorithm>
#include <cwchar>

#include "core/env/constant.h"
#include "core/env/data_type.h"
#include "core/env/exception_error.h"
#include "core/env/ip_address.h"
#include "core/env/operand_address.h"
#include "core/env/operand_format.h"
#include "core/env/operand_slot.h"
#include "core/program/program_services.h"

namespace Brenno {

namespace {

bool IsDataType(int type) { return type >= kDataTypeBit && type <= kDataTypeReal; }

// The address's position and marker text when the text is an address the slot admits (its
// format and address ranges). A malformed format in the library admits nothing rather than
// breaking the paint.
bool MatchSlotMarker(const std::wstring& text, const OperandDef& slot, const MemoryAreaManager& map,
                     OperandAddress& address, OperandFields& fields, std::wstring& marker) {
  if (!ScanOperandText(text, address)) return false;
  try {
    const MemoryRegion* region = nullptr;
    const MemoryAccess* access = nullptr;
    return MatchSlotAddress(slot, map, address, fields, &region, &access) &&
           FindMarkerValue(address, *region, *access, marker);
  } catch (const ExceptionError&) {
    return false;
  }
}

bool SlotAdmitsConstants(const OperandDef& slot) {
  try {
    return (ParseOperandFormatFlags(slot.Capacity) & kFormatConstant) != 0;
  } catch (const ExceptionError&) {
    return false;
  }
}

}  // namespace

std::wstring CompactRealText(double value, int digits) {
  wchar_t buffer[64];
  std::swprintf(buffer, sizeof buffer / sizeof buffer[0], L"%.*g", std::clamp(digits, 1, 9), value);
  std::wstring text = buffer;
  // "e+06" -> "e6", "e-05" -> "e-5".
  const std::size_t e = text.find(L'e');
  if (e == std::wstring::npos) return text;
  std::wstring mantissa = text.substr(0, e);
  std::wstring exponent = text.substr(e + 1);
  std::wstring sign;
  if (!exponent.empty() && (exponent[0] == L'+' || exponent[0] == L'-')) {
    if (exponent[0] == L'-') sign = L"-";
    exponent.erase(0, 1);
  }
  const std::size_t digit = exponent.find_first_not_of(L'0');
  exponent = digit == std::wstring::npos ? L"0" : exponent.substr(digit);
  return mantissa + L"e" + sign + exponent;
}

bool SlotsOfInstruction(const std::vector<const OperandDef*>& slots, const std::vector<std::wstring>& written,
                        const PageViewState& page, std::vector<OperandDef>& limited) {
  const bool related =
      std::any_of(slots.begin(), slots.end(), [](const OperandDef* slot) { return slot->HasRelations(); });
  if (!related || slots.size() != written.size()) return false;
  const ProgramServices& services = CurrentProgramServices();
  std::vector<std::wstring> texts = written;
  for (std::wstring& text : texts) services.LookupSymbolNamePrefixed(text, page.PageId);
  limited.clear();
  for (std::size_t i = 0; i < slots.size(); ++i) {
    limited.push_back(SlotInInstruction(services.MemoryMap(), slots, texts, i));
  }
  return true;
}

void AppendRun(std::wstring& text, std::vector<ColorRun>& runs, const std::wstring& piece, int colour) {
  if (piece.empty()) return;
  text += piece;
  runs.push_back(ColorRun{static_cast<int>(piece.size()), colour});
}

void AppendOperandDisplay(const std::wstring& written, const OperandDef& slot, const PageViewState& page,
                          bool selected, OnlineCacheSnapshot& online, std::wstring& text,
                          std::vector<ColorRun>& runs, OperandValueFlag& flag, bool ipAddress,
                          OperandValueSpan* span) {
  auto colour = [selected](int c) { return selected ? 13 : c; };
  const ProgramServices& services = CurrentProgramServices();
  const MemoryAreaManager& map = services.MemoryMap();
  flag = OperandValueFlag{};

  std::wstring working = written;
  const bool symbol = services.LookupSymbolNamePrefixed(working, page.PageId);

  OperandAddress address;
  OperandFields fields;
  std::wstring marker;
  if (MatchSlotMarker(working, slot, map, address, fields, marker)) {
    AppendRun(text, runs, written, colour(symbol ? 3 : 0));
    std::wstring value;
    const bool known = ReadCachedValueText(online, fields, address.groups != -1, slot.Const, value);
    std::wstring shown;
    if (known) {
      shown = value;
      ConstantOperand parsed;
      if (IsDataType(slot.Const) && ParseConstantOperand(parsed, map, slot.Const, value)) {
        flag = OperandValueFlag{1, static_cast<int>(parsed.value)};
      }
    } else if (!value.empty()) {
      shown = value;  // online, value not read yet: "Unknown"
    } else if (slot.Marker != 0 && !marker.empty()) {
      shown = marker;
    }
    if (!shown.empty()) {
      AppendRun(text, runs, L" ", colour(0));
      AppendRun(text, runs, L"[", colour(5));
      if (span != nullptr) *span = OperandValueSpan{static_cast<int>(runs.size()), known && slot.Const == kDataTypeReal};
      AppendRun(text, runs, shown, colour(6));
      AppendRun(text, runs, L"]", colour(5));
    }
    return;
  }

  ConstantOperand constant;
  if (SlotAdmitsConstants(slot) && IsDataType(slot.Const) && ParseSlotConstant(constant, map, slot, working)) {
    AppendRun(text, runs, written, colour(6));
    if (constant.index == -1) flag = OperandValueFlag{1, static_cast<int>(constant.value)};
    return;
  }
  std::wstring dotted;
  if (ipAddress && CanonicalIpv4Text(working, dotted)) {
    AppendRun(text, runs, written, colour(6));
    return;
  }
  AppendRun(text, runs, written, colour(10));
}

}  // namespace Brenno
