#include "core/env/manager_var_reader.h"

#include "core/env/exception_error.h"

namespace Brenno {
namespace {

constexpr int kLevelOutside = 0;
constexpr int kLevelManagerVar = 1;
constexpr int kLevelRegion = 2;
constexpr int kLevelAccess = 3;
constexpr int kLevelMarker = 4;

[[noreturn]] void Fail(const ManagerVarReadState& state, const wchar_t* word) {
  ThrowXmlParseError(state.Area, word);
}

void ReadInteger(const ManagerVarReadState& state, const std::wstring& text, int32_t& field) {
  int value = 0;
  if (!ParseBasedInteger(value, text)) Fail(state, L"Value error");
  field = value;
}

void ReadText(const ManagerVarReadState& state, const std::wstring& text, std::wstring& field) {
  std::wstring value;
  if (!SelectLocalizedText(text, value)) Fail(state, L"Value error");
  field = value;
}

void ReadArea(const ManagerVarReadState& state, const std::wstring& text, int32_t& field) {
  static const wchar_t* const kWords[] = {L"Di", L"Do", L"Ri", L"Ro", L"Const", L"Local"};
  for (int code = 0; code < 6; ++code) {
    if (text == kWords[code]) {
      field = code;
      return;
    }
  }
  Fail(state, L"Value error");
}

void ReadWidth(const ManagerVarReadState& state, const std::wstring& text, int32_t& field) {
  static const wchar_t* const kWords[] = {L"Bit", L"Byte", L"Word", L"Dword"};
  for (int code = 0; code < 4; ++code) {
    if (text == kWords[code]) {
      field = code;
      return;
    }
  }
  Fail(state, L"Value error");
}

// Each of the letters A, V, P, Z anywhere in the text adds its kind; nothing else counts.
int32_t ReadUse(const std::wstring& text) {
  int32_t use = 0;
  if (text.find(L'A') != std::wstring::npos) use |= kKindAddress;
  if (text.find(L'V') != std::wstring::npos) use |= kKindValue;
  if (text.find(L'P') != std::wstring::npos) use |= kKindPointer;
  if (text.find(L'Z') != std::wstring::npos) use |= kKindIndexed;
  return use;
}

void ApplyManagerVarAttributes(ManagerVarReadState& state, const XmlAttributeList& attributes) {
  for (size_t i = 0; i + 1 < attributes.size(); i += 2) {
    const std::wstring& name = attributes[i];
    const std::wstring& value = attributes[i + 1];
    if (name == L"FxMode") {
      ReadInteger(state, value, state.FxMode);
      // Only these two operand word layouts exist.
      if (state.FxMode != 0 && state.FxMode != 1) Fail(state, L"Value error");
    } else if (name == L"Prefix8") {
      ReadText(state, value, state.Prefix8);
    } else if (name == L"Prefix10") {
      ReadText(state, value, state.Prefix10);
    } else if (name == L"Prefix16") {
      ReadText(state, value, state.Prefix16);
    } else if (name == L"PrefixAutoBase") {
      ReadInteger(state, value, state.PrefixAutoBase);
    } else {
      Fail(state, L"Attribute error");
    }
  }
  // The default radix is 8, 10 or 16, or 0 for a type whose constants always carry their prefix
  // (K100, H64); 0 needs the prefixes that make every constant readable.
  const bool prefixed = state.PrefixAutoBase == 0 && !state.Prefix10.empty() && !state.Prefix16.empty();
  if (!prefixed && state.PrefixAutoBase != 8 && state.PrefixAutoBase != 10 && state.PrefixAutoBase != 16) {
    Fail(state, L"Value error");
  }
}

void ApplyRegionAttributes(ManagerVarReadState& state, const XmlAttributeList& attributes) {
  MemoryRegion& region = state.Region;
  for (size_t i = 0; i + 1 < attributes.size(); i += 2) {
    const std::wstring& name = attributes[i];
    const std::wstring& value = attributes[i + 1];
    if (name == L"Slot") ReadInteger(state, value, region.Slot);
    else if (name == L"Name") ReadText(state, value, region.Name);
    else if (name == L"Area") ReadArea(state, value, region.Area);
    else if (name == L"AreaBegin") ReadInteger(state, value, region.AreaBegin);
    else if (name == L"AreaEnd") ReadInteger(state, value, region.AreaEnd);
    else if (name == L"Use") region.Use = ReadUse(value);
    else if (name == L"GroupEnable") ReadInteger(state, value, region.GroupEnable);
    else if (name == L"OffsetBegin") ReadInteger(state, value, region.OffsetBegin);
    else if (name == L"OffsetBase") ReadInteger(state, value, region.OffsetBase);
    else if (name == L"OffsetLength") ReadInteger(state, value, region.OffsetLength);
    else if (name == L"BitOffsetBegin") ReadInteger(state, value, region.BitOffsetBegin);
    else if (name == L"BitOffsetBase") ReadInteger(state, value, region.BitOffsetBase);
    else if (name == L"BitOffsetLength") ReadInteger(state, value, region.BitOffsetLength);
    else if (name == L"Comment") ReadText(state, value, region.Comment);
    else Fail(state, L"Attribute error");
  }
}

void ApplyAccessAttributes(ManagerVarReadState& state, const XmlAttributeList& attributes) {
  MemoryAccess& access = state.Access;
  for (size_t i = 0; i + 1 < attributes.size(); i += 2) {
    const std::wstring& name = attributes[i];
    const std::wstring& value = attributes[i + 1];
    if (name == L"Name") ReadText(state, value, access.Name);
    else if (name == L"Width") ReadWidth(state, value, access.Width);
    else if (name == L"Step") ReadWidth(state, value, access.Step);
    else if (name == L"Offset") ReadWidth(state, value, access.Offset);
    else Fail(state, L"Attribute error");
  }
}

void ApplyMarkerAttributes(ManagerVarReadState& state, const XmlAttributeList& attributes) {
  MemoryMarker& marker = state.Marker;
  for (size_t i = 0; i + 1 < attributes.size(); i += 2) {
    const std::wstring& name = attributes[i];
    const std::wstring& value = attributes[i + 1];
    if (name == L"Begin") ReadInteger(state, value, marker.Begin);
    else if (name == L"End") ReadInteger(state, value, marker.End);
    else if (name == L"BitBegin") ReadInteger(state, value, marker.BitBegin);
    else if (name == L"BitEnd") ReadInteger(state, value, marker.BitEnd);
    else if (name == L"Value") ReadText(state, value, marker.Value);
    else Fail(state, L"Attribute error");
  }
}

}  // namespace

void ResetManagerVarReadState(ManagerVarReadState& state) {
  state.Area.Reset();
  state.Region = MemoryRegion();
  state.Access = MemoryAccess();
  state.Marker = MemoryMarker();
  state.FxMode = 0;
  state.Prefix8.clear();
  state.Prefix10.clear();
  state.Prefix16.clear();
  state.PrefixAutoBase = 0;
  state.Regions.clear();
}

void ManagerVarStartElement(void* record, const std::wstring& name, const XmlAttributeList& attributes) {
  auto& state = *static_cast<ManagerVarReadState*>(record);
  if (attributes.size() % 2 != 0) Fail(state, L"Attribute size error");
  switch (state.Area.ParseState) {
    case kLevelOutside:
      if (name != L"ManagerVar") Fail(state, L"Name error");
      state.Area.ParseState = kLevelManagerVar;
      ApplyManagerVarAttributes(state, attributes);
      break;
    case kLevelManagerVar:
      if (name != L"Region") Fail(state, L"Name error");
      state.Area.ParseState = kLevelRegion;
      ApplyRegionAttributes(state, attributes);
      break;
    case kLevelRegion:
      if (name != L"Access") Fail(state, L"Name error");
      state.Area.ParseState = kLevelAccess;
      ApplyAccessAttributes(state, attributes);
      break;
    case kLevelAccess:
      if (name != L"Marker") Fail(state, L"Name error");
      state.Area.ParseState = kLevelMarker;
      ApplyMarkerAttributes(state, attributes);
      break;
    default:
      Fail(state, L"Status error");
  }
}

void ManagerVarEndElement(void* record, const std::wstring& name) {
  auto& state = *static_cast<ManagerVarReadState*>(record);
  switch (state.Area.ParseState) {
    case kLevelManagerVar:
      if (name != L"ManagerVar") Fail(state, L"Name error");
      state.Area.ParseState = kLevelOutside;
      break;
    case kLevelRegion:
      if (name != L"Region") Fail(state, L"Name error");
      state.Regions.push_back(std::move(state.Region));
      state.Region = MemoryRegion();
      state.Area.ParseState = kLevelManagerVar;
      break;
    case kLevelAccess:
      if (name != L"Access") Fail(state, L"Name error");
      state.Region.Accesses.push_back(std::move(state.Access));
      state.Access = MemoryAccess();
      state.Area.ParseState = kLevelRegion;
      break;
    case kLevelMarker:
      if (name != L"Marker") Fail(state, L"Name error");
      state.Access.Markers.push_back(std::move(state.Marker));
      state.Marker = MemoryMarker();
      state.Area.ParseState = kLevelAccess;
      break;
    default:
      Fail(state, L"Status error");
  }
}

void ReadManagerVar(MemoryAreaManager& manager, const std::wstring& path) {
  const std::vector<uint8_t> bytes = ReadXmlFileBytes(path);
  ManagerVarReadState state;
  ResetManagerVarReadState(state);
  ParseXmlBuffer(state.Area, path, bytes.data(), bytes.size(), &state, ManagerVarStartElement,
                 ManagerVarEndElement);

  MemoryAreaManager loaded;
  loaded.FxMode = state.FxMode;
  loaded.Prefix8 = std::move(state.Prefix8);
  loaded.Prefix10 = std::move(state.Prefix10);
  loaded.Prefix16 = std::move(state.Prefix16);
  loaded.PrefixAutoBase = state.PrefixAutoBase;
  loaded.Regions = std::move(state.Regions);
  ResetManagerVarReadState(state);
  ResolveSpecialRegions(loaded);
  BuildModbusAddressMap(loaded);
  manager = std::move(loaded);
}

}  // namespace Brenno
