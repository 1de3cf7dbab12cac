#include "core/env/plc_type.h"

#include <algorithm>
#include <cwctype>
#include <map>

#include "core/env/exception_error.h"
#include "core/env/utilities.h"
#include "platform/file_util.h"

namespace Brenno {

namespace {

// Attributes of the size elements live in nested groups; resolve them through accessors.
using IntAccessor = int& (*)(PlcTypeDescription&);
using TextAccessor = std::wstring& (*)(PlcTypeDescription&);

struct Attribute {
  const wchar_t* name;
  IntAccessor number;  // set for integer attributes
  TextAccessor text;   // set for text attributes
};

#define INT_ATTR(attr, expr) {L"" #attr, [](PlcTypeDescription& d) -> int& { return d.expr; }, nullptr}
#define TEXT_ATTR(attr, expr) {L"" #attr, nullptr, [](PlcTypeDescription& d) -> std::wstring& { return d.expr; }}

const std::vector<Attribute>& AttributesOf(int state) {
  static const std::map<int, std::vector<Attribute>> table = {
      {kPtPlcType, {TEXT_ATTR(Name, Name), TEXT_ATTR(Information, Information), INT_ATTR(FxMode, FxMode)}},
      {kPtDescribe, {TEXT_ATTR(ImgFile, ImgFile)}},
      {kPtItem, {}},  // handled separately: Key and Value go to the item being read
      {kPtSymbolVar,
       {INT_ATTR(SizeItemInt, SymbolVar.SizeItemInt), INT_ATTR(SizeItemInitInt, SymbolVar.SizeItemInitInt),
        INT_ATTR(SizeItemSbr, SymbolVar.SizeItemSbr), INT_ATTR(SizeItemInitSbr, SymbolVar.SizeItemInitSbr),
        INT_ATTR(SizePageUser, SymbolVar.SizePageUser), INT_ATTR(SizePageInitUser, SymbolVar.SizePageInitUser),
        INT_ATTR(SizeItemUser, SymbolVar.SizeItemUser), INT_ATTR(SizeItemInitUser, SymbolVar.SizeItemInitUser)}},
      {kPtDataBlock,
       {INT_ATTR(SizePage, DataBlock.SizePage), INT_ATTR(SizePageInit, DataBlock.SizePageInit),
        INT_ATTR(SizeItem, DataBlock.SizeItem), INT_ATTR(SizeItemInit, DataBlock.SizeItemInit)}},
      {kPtSystemBlock,
       {TEXT_ATTR(FileName, SystemBlockFileName), INT_ATTR(SizePage, SystemBlockSizePage),
        INT_ATTR(SizeBinary, SystemBlockSizeBinary)}},
      {kPtProgramBlock,
       {INT_ATTR(SizePageInt, ProgramBlock.SizePageInt), INT_ATTR(SizePageInitInt, ProgramBlock.SizePageInitInt),
        INT_ATTR(SizeItemInt, ProgramBlock.SizeItemInt), INT_ATTR(SizeItemInitInt, ProgramBlock.SizeItemInitInt),
        INT_ATTR(SizePageSbr, ProgramBlock.SizePageSbr), INT_ATTR(SizePageInitSbr, ProgramBlock.SizePageInitSbr),
        INT_ATTR(SizeItemSbr, ProgramBlock.SizeItemSbr), INT_ATTR(SizeItemInitSbr, ProgramBlock.SizeItemInitSbr),
        INT_ATTR(SizeBinaryConst, ProgramBlock.SizeBinaryConst),
        INT_ATTR(SizeBinaryInstruction, ProgramBlock.SizeBinaryInstruction)}},
      {kPtStatusChart,
       {INT_ATTR(SizePage, StatusChart.SizePage), INT_ATTR(SizePageInit, StatusChart.SizePageInit),
        INT_ATTR(SizeItemRow, StatusChart.SizeItemRow), INT_ATTR(SizeItemColumn, StatusChart.SizeItemColumn)}},
      {kPtCommunication,
       {TEXT_ATTR(FileName, CommunicationFileName), INT_ATTR(ExchSelf, ExchSelf),
        INT_ATTR(ExchPackSize, ExchPackSize), TEXT_ATTR(ExchSupport, ExchSupport)}},
  };
  return table.at(state);
}

#undef INT_ATTR
#undef TEXT_ATTR

const std::map<std::wstring, int>& ChildrenOfRoot() {
  static const std::map<std::wstring, int> children = {
      {L"Describe", kPtDescribe},       {L"SymbolVar", kPtSymbolVar},       {L"DataBlock", kPtDataBlock},
      {L"SystemBlock", kPtSystemBlock}, {L"ProgramBlock", kPtProgramBlock}, {L"StatusChart", kPtStatusChart},
      {L"Communication", kPtCommunication}};
  return children;
}

const wchar_t* ElementNameOf(int state) {
  for (const auto& [name, s] : ChildrenOfRoot()) {
    if (s == state) return name.c_str();
  }
  return L"";
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

std::wstring FolderOf(const std::wstring& path) {
  const auto slash = path.find_last_of(L'/');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool LooksLikeImage(const std::vector<uint8_t>& bytes) {
  static const uint8_t png[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (bytes.size() >= 8 && std::equal(png, png + 8, bytes.begin())) return true;
  return bytes.size() >= 26 && bytes[0] == 'B' && bytes[1] == 'M';
}

}  // namespace

PlcType::~PlcType() {
  // The exchange library goes first, then the system-block library.
  ExchangeLibrary.Release();
  SystemBlockLibrary.Release();
}

bool PlcType::IsPackCodeSupported(uint16_t code) const {
  return std::any_of(SupportList.begin(), SupportList.end(),
                     [code](const ExchSupportEntry& e) { return (code & e.Mask) == e.Value; });
}

void ResetPlcTypeParse(PlcType& record) {
  record.ParseArea.Reset();
  record.ParseSlots = PlcTypeDescription();
  record.ParseItem = KeyValueItem();
}

void PlcType::PlcTypeStartElement(void* user, const std::wstring& name, const XmlAttributeList& attributes) {
  auto& record = *static_cast<PlcType*>(user);
  XmlParseArea& area = record.ParseArea;
  if (attributes.size() % 2 != 0) ThrowXmlParseError(area, L"Attribute size error");

  switch (area.ParseState) {
    case kPtBeforeRoot:
      if (name != L"PlcType") ThrowXmlParseError(area, L"Name error");
      area.ParseState = kPtPlcType;
      break;
    case kPtPlcType: {
      const auto it = ChildrenOfRoot().find(name);
      if (it == ChildrenOfRoot().end()) ThrowXmlParseError(area, L"Name error");
      area.ParseState = it->second;
      break;
    }
    case kPtDescribe:
      if (name != L"Item") ThrowXmlParseError(area, L"Name error");
      area.ParseState = kPtItem;
      break;
    default:
      ThrowXmlParseError(area, L"Status error");
  }

  for (size_t i = 0; i + 1 < attributes.size(); i += 2) {
    const std::wstring& attr = attributes[i];
    const std::wstring& value = attributes[i + 1];
    if (area.ParseState == kPtItem) {
      std::wstring* slot = attr == L"Key" ? &record.ParseItem.Key : attr == L"Value" ? &record.ParseItem.Value : nullptr;
      if (slot == nullptr) ThrowXmlParseError(area, L"Attribute error");
      if (!SelectLocalizedText(value, *slot)) ThrowXmlParseError(area, L"Value error");
      continue;
    }
    const auto& table = AttributesOf(area.ParseState);
    const auto found = std::find_if(table.begin(), table.end(), [&](const Attribute& a) { return attr == a.name; });
    if (found == table.end()) ThrowXmlParseError(area, L"Attribute error");
    const bool ok = found->number ? ParseBasedInteger(found->number(record.ParseSlots), value)
                                  : SelectLocalizedText(value, found->text(record.ParseSlots));
    if (!ok) ThrowXmlParseError(area, L"Value error");
  }
}

void PlcType::PlcTypeEndElement(void* user, const std::wstring& name) {
  auto& record = *static_cast<PlcType*>(user);
  XmlParseArea& area = record.ParseArea;
  switch (area.ParseState) {
    case kPtBeforeRoot:
      ThrowXmlParseError(area, L"Status error");
    case kPtPlcType:
      if (name != L"PlcType") ThrowXmlParseError(area, L"Name error");
      area.ParseState = kPtBeforeRoot;
      break;
    case kPtDescribe:
      if (name != L"Describe") ThrowXmlParseError(area, L"Name error");
      area.ParseState = kPtPlcType;
      break;
    case kPtItem:
      if (name != L"Item") ThrowXmlParseError(area, L"Name error");
      record.ParseSlots.Items.push_back(record.ParseItem);
      record.ParseItem = KeyValueItem();
      area.ParseState = kPtDescribe;
      break;
    default:
      if (name != ElementNameOf(area.ParseState)) ThrowXmlParseError(area, L"Name error");
      area.ParseState = kPtPlcType;
      break;
  }
}

void LoadPlcTypeImage(PlcType& record) {
  const std::wstring path = record.TypeFolder + L"/" + record.Description.ImgFile;
  std::vector<uint8_t> bytes;
  if (record.Description.ImgFile.empty() || !platform::ReadFileBytes(path, bytes) || !LooksLikeImage(bytes)) {
    throw MakeParseXmlError(L"\r\n  Open image file error : " + Quoted(path));
  }
  record.Image.swap(bytes);
}

void LoadPlcTypeInstructions(PlcType& record) {
  ReadManagerFun(record.Instructions, record.TypeFolder + L"/ManagerFun.xml", record.Description.ProgramBlock.SizePageSbr);
}

void LoadPlcTypeMemoryAreas(PlcType& record) {
  ReadManagerVar(record.MemoryAreas, record.TypeFolder + L"/ManagerVar.xml");
}

void LoadPlcTypeSystemBlockLibrary(PlcType& record) {
  BindSystemBlockLibrary(record.SystemBlockLibrary, record.TypeFolder + L"/" + record.Description.SystemBlockFileName);
}

void LoadPlcTypeExchangeLibrary(PlcType& record) {
  BindExchangeLibrary(record.ExchangeLibrary, record.TypeFolder + L"/" + record.Description.CommunicationFileName);
}

bool ParseUShortWithBase(int base, const std::wstring& text, uint16_t& value) {
  int parsed = 0;
  if (!ParseIntWithBase(base, text, parsed) || parsed < 0 || parsed > 0xFFFF) return false;
  value = static_cast<uint16_t>(parsed);
  return true;
}

void BuildExchSupportList(PlcType& record) {
  const std::wstring error = L"\r\n  Create exch support mask error : " + Quoted(record.DescriptionPath);
  std::vector<std::wstring> pieces;
  if (!record.Description.ExchSupport.empty()) SplitText(pieces, record.Description.ExchSupport, L"|");
  if (pieces.size() % 2 != 0) throw MakeParseXmlError(error);
  std::vector<ExchSupportEntry> list;
  for (size_t i = 0; i < pieces.size(); i += 2) {
    ExchSupportEntry entry;
    if (!ParseUShortWithBase(16, pieces[i], entry.Mask) || !ParseUShortWithBase(16, pieces[i + 1], entry.Value)) {
      throw MakeParseXmlError(error);
    }
    list.push_back(entry);
  }
  record.SupportList.swap(list);
}

void CheckPlcTypeValues(PlcType& record) {
  const PlcTypeDescription& d = record.Description;
  const std::wstring where = L" : " + Quoted(record.DescriptionPath);
  if (d.FxMode != 0 && d.FxMode != 1) throw MakeParseXmlError(L"\r\n  FxMode must be 0 or 1" + where);
  if (d.ExchSelf == 0) return;
  // The link cuts every command into frames of this many data bytes and numbers them with a
  // 15-bit index: the largest transfer must fit.
  if (d.ExchPackSize <= 0) throw MakeParseXmlError(L"\r\n  ExchPackSize must be positive" + where);
  const int64_t largest = std::max<int64_t>({int64_t{d.SystemBlockSizeBinary}, int64_t{d.ProgramBlock.SizeBinaryConst},
                                            int64_t{d.ProgramBlock.SizeBinaryInstruction},
                                            int64_t{d.DataBlock.SizeItem} * 4, int64_t{128}});
  if ((largest + d.ExchPackSize - 1) / d.ExchPackSize > 0x7FFF) {
    throw MakeParseXmlError(L"\r\n  ExchPackSize too small for the largest transfer" + where);
  }
}

void ReadPlcTypeDescription(PlcType& record, const std::wstring& path) {
  const std::vector<uint8_t> bytes = ReadXmlFileBytes(path);
  ResetPlcTypeParse(record);
  ParseXmlBuffer(record.ParseArea, path, bytes.data(), bytes.size(), &record, &PlcType::PlcTypeStartElement,
                 &PlcType::PlcTypeEndElement);
  record.Description = record.ParseSlots;
  record.DescriptionPath = path;
  record.TypeFolder = FolderOf(path);
  ResetPlcTypeParse(record);
}

void ReadPlcType(PlcType& record, const std::wstring& path) {
  ReadPlcTypeDescription(record, path);
  CheckPlcTypeValues(record);
  LoadPlcTypeImage(record);
  LoadPlcTypeInstructions(record);
  LoadPlcTypeMemoryAreas(record);
  LoadPlcTypeSystemBlockLibrary(record);
  LoadPlcTypeExchangeLibrary(record);
  BuildExchSupportList(record);
}

}  // namespace Brenno
