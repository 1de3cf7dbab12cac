// The reader of "ManagerFun.xml": a state machine over the element tree that fills the records
// of an instruction library, then the steps that build its derived tables.
#include <string>
#include <vector>

#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/env/utilities.h"
#include "core/env/xml_parse_area.h"

namespace Brenno {

namespace {

// Parse states: where in the element tree the reader stands.
enum ManagerFunState : int {
  kStateNone = 0,
  kStateManagerFun = 1,
  kStateFunOrg = 2,
  kStateOrgUnit = 3,
  kStateOrgOperand = 4,
  kStateOrgFunOperand = 5,
  kStateFunStl = 6,
  kStateStlUnit = 7,
  kStateStlOperand = 8,
  kStateStlFunOperand = 9,
  kStateFunLad = 10,
  kStateLadUnit = 11,
  kStatePowerIn = 12,
  kStatePowerInFunPower = 13,
  kStatePowerOut = 14,
  kStatePowerOutFunPower = 15,
  kStateOperandId = 16,
  kStateOperandIdFunOperand = 17,
  kStateOperandIn = 18,
  kStateOperandInFunOperand = 19,
  kStateOperandOut = 20,
  kStateOperandOutFunOperand = 21,
  kStateConvertStl = 22,
  kStateStlRule = 23,
  kStateStlLeft = 24,
  kStateStlLeftItem = 25,
  kStateStlRight = 26,
  kStateStlRightItem = 27,
  kStateConvertLad = 28,
  kStateLadRule = 29,
  kStateLadLeft = 30,
  kStateLadLeftItem = 31,
  kStateLadRight = 32,
  kStateLadRightItem = 33,
  kStateCount = 34,
};

// Which attribute set an element carries.
enum AttributeSet { kNoAttributes, kRootAttributes, kOrgUnitAttributes, kStlUnitAttributes, kLadUnitAttributes,
                    kOperandAttributes, kPowerAttributes, kItemAttributes };

struct ChildRule {
  const wchar_t* name;
  int state;
  AttributeSet attributes;
};

struct StateRule {
  int parent;                      // the state at the end of the element
  std::vector<ChildRule> children;  // empty: the element accepts no child
};

const StateRule& RuleOf(int state) {
  static const StateRule kRules[kStateCount] = {
      /* 0 */ {kStateNone, {{L"ManagerFun", kStateManagerFun, kRootAttributes}}},
      /* 1 */ {kStateNone, {{L"FunOrg", kStateFunOrg, kNoAttributes},
                            {L"FunStl", kStateFunStl, kNoAttributes},
                            {L"FunLad", kStateFunLad, kNoAttributes},
                            {L"ConvertStl", kStateConvertStl, kNoAttributes},
                            {L"ConvertLad", kStateConvertLad, kNoAttributes}}},
      /* 2 */ {kStateManagerFun, {{L"Unit", kStateOrgUnit, kOrgUnitAttributes}}},
      /* 3 */ {kStateFunOrg, {{L"Operand", kStateOrgOperand, kNoAttributes}}},
      /* 4 */ {kStateOrgUnit, {{L"FunOperand", kStateOrgFunOperand, kOperandAttributes}}},
      /* 5 */ {kStateOrgOperand, {}},
      /* 6 */ {kStateManagerFun, {{L"Unit", kStateStlUnit, kStlUnitAttributes}}},
      /* 7 */ {kStateFunStl, {{L"Operand", kStateStlOperand, kNoAttributes}}},
      /* 8 */ {kStateStlUnit, {{L"FunOperand", kStateStlFunOperand, kOperandAttributes}}},
      /* 9 */ {kStateStlOperand, {}},
      /* 10 */ {kStateManagerFun, {{L"Unit", kStateLadUnit, kLadUnitAttributes}}},
      /* 11 */ {kStateFunLad, {{L"PowerIn", kStatePowerIn, kNoAttributes},
                               {L"PowerOut", kStatePowerOut, kNoAttributes},
                               {L"OperandId", kStateOperandId, kNoAttributes},
                               {L"OperandIn", kStateOperandIn, kNoAttributes},
                               {L"OperandOut", kStateOperandOut, kNoAttributes}}},
      /* 12 */ {kStateLadUnit, {{L"FunPower", kStatePowerInFunPower, kPowerAttributes}}},
      /* 13 */ {kStatePowerIn, {}},
      /* 14 */ {kStateLadUnit, {{L"FunPower", kStatePowerOutFunPower, kPowerAttributes}}},
      /* 15 */ {kStatePowerOut, {}},
      /* 16 */ {kStateLadUnit, {{L"FunOperand", kStateOperandIdFunOperand, kOperandAttributes}}},
      /* 17 */ {kStateOperandId, {}},
      /* 18 */ {kStateLadUnit, {{L"FunOperand", kStateOperandInFunOperand, kOperandAttributes}}},
      /* 19 */ {kStateOperandIn, {}},
      /* 20 */ {kStateLadUnit, {{L"FunOperand", kStateOperandOutFunOperand, kOperandAttributes}}},
      /* 21 */ {kStateOperandOut, {}},
      /* 22 */ {kStateManagerFun, {{L"Unit", kStateStlRule, kNoAttributes}}},
      /* 23 */ {kStateConvertStl, {{L"Left", kStateStlLeft, kNoAttributes},
                                   {L"Right", kStateStlRight, kNoAttributes}}},
      /* 24 */ {kStateStlRule, {{L"Item", kStateStlLeftItem, kItemAttributes}}},
      /* 25 */ {kStateStlLeft, {}},
      /* 26 */ {kStateStlRule, {{L"Item", kStateStlRightItem, kItemAttributes}}},
      /* 27 */ {kStateStlRight, {}},
      /* 28 */ {kStateManagerFun, {{L"Unit", kStateLadRule, kNoAttributes}}},
      /* 29 */ {kStateConvertLad, {{L"Left", kStateLadLeft, kNoAttributes},
                                   {L"Right", kStateLadRight, kNoAttributes}}},
      /* 30 */ {kStateLadRule, {{L"Item", kStateLadLeftItem, kItemAttributes}}},
      /* 31 */ {kStateLadLeft, {}},
      /* 32 */ {kStateLadRule, {{L"Item", kStateLadRightItem, kItemAttributes}}},
      /* 33 */ {kStateLadRight, {}},
  };
  return kRules[state];
}

// The record expat hands to the element handlers: the parse area, then the values of the root
// element, the records under construction and the lists read so far.
struct ManagerFunReader {
  XmlParseArea Area;

  int FxMode = 0;
  std::wstring SbrComment;
  std::wstring SbrParent;
  std::wstring LadFxNameLd;
  std::wstring LadFxNameLdi;
  std::wstring LadFxNameLdp;
  std::wstring LadFxNameLdf;
  std::wstring LadFxNameInv;
  std::wstring LadFxNameCoil;

  std::wstring PowerName;
  OperandDef Operand;
  FunOrgRecord OrgUnit;
  FunStlRecord StlUnit;
  FunLadRecord LadUnit;
  std::vector<FunOrgRecord> FunOrgList;
  std::vector<FunStlRecord> FunStlList;
  std::vector<FunLadRecord> FunLadList;
  ElementOperand Item;
  ConvertRule Rule;
  std::vector<ConvertRule> ConvertStlRules;
  std::vector<ConvertRule> ConvertLadRules;

  ManagerFunReader() {
    Item = MakeElementOperand(-1, L"", L"");
    FunOrgList.reserve(1024);
    FunStlList.reserve(1024);
    FunLadList.reserve(1024);
    ConvertStlRules.reserve(1024);
    ConvertLadRules.reserve(1024);
  }
};

[[noreturn]] void Fail(const ManagerFunReader& reader, const wchar_t* text) { ThrowXmlParseError(reader.Area, text); }

void ReadText(const ManagerFunReader& reader, const std::wstring& value, std::wstring& field) {
  if (!SelectLocalizedText(value, field)) Fail(reader, L"Value error");
}

void ReadInteger(const ManagerFunReader& reader, const std::wstring& value, int& field) {
  if (!ParseBasedInteger(field, value)) Fail(reader, L"Value error");
}

// The pieces of an attribute value separated by ","; an empty value is one empty piece.
std::vector<std::wstring> ListPieces(const std::wstring& value) {
  std::vector<std::wstring> pieces;
  SplitText(pieces, value, L",");
  if (pieces.empty()) pieces.emplace_back();
  return pieces;
}

// "minimum~maximum", both integers as the other numbers of the file are written; several
// ranges separated by ",".
void ReadRange(const ManagerFunReader& reader, const std::wstring& value, OperandDef& operand) {
  std::vector<ValueRange> ranges;
  for (const std::wstring& piece : ListPieces(value)) {
    const size_t mark = piece.find(L'~');
    int low = 0;
    int high = 0;
    if (mark == std::wstring::npos || !ParseBasedInteger(low, piece.substr(0, mark)) ||
        !ParseBasedInteger(high, piece.substr(mark + 1)) || low > high) {
      Fail(reader, L"Value error");
    }
    ranges.push_back(ValueRange{low, high});
  }
  operand.Ranges = std::move(ranges);
}

// "first~last" or a single address, several separated by ","; the texts are read against the
// memory map where the slot is used.
void ReadAddresses(const ManagerFunReader& reader, const std::wstring& value, OperandDef& operand) {
  std::vector<AddressRange> ranges;
  for (const std::wstring& piece : ListPieces(value)) {
    const size_t mark = piece.find(L'~');
    AddressRange range{piece.substr(0, mark), mark == std::wstring::npos ? piece : piece.substr(mark + 1)};
    if (range.First.empty() || range.Last.empty()) Fail(reader, L"Value error");
    ranges.push_back(std::move(range));
  }
  operand.Addresses = std::move(ranges);
}

void ReadFlag(const ManagerFunReader& reader, const std::wstring& value, const wchar_t* word, bool& field) {
  if (value != word) Fail(reader, L"Value error");
  field = true;
}

void ReadWord(const ManagerFunReader& reader, int code, int& field) {
  if (code < 0) Fail(reader, L"Value error");
  field = code;
}

// Stores one attribute of an element with attributes; false when the name is not one of them.
bool ReadAttribute(ManagerFunReader& reader, AttributeSet set, const std::wstring& name, const std::wstring& value) {
  switch (set) {
    case kRootAttributes:
      if (name == L"FxMode") return ReadInteger(reader, value, reader.FxMode), true;
      if (name == L"SbrComment") return ReadText(reader, value, reader.SbrComment), true;
      if (name == L"SbrParent") return ReadText(reader, value, reader.SbrParent), true;
      if (name == L"LadFxNameLd") return ReadText(reader, value, reader.LadFxNameLd), true;
      if (name == L"LadFxNameLdi") return ReadText(reader, value, reader.LadFxNameLdi), true;
      if (name == L"LadFxNameLdp") return ReadText(reader, value, reader.LadFxNameLdp), true;
      if (name == L"LadFxNameLdf") return ReadText(reader, value, reader.LadFxNameLdf), true;
      if (name == L"LadFxNameInv") return ReadText(reader, value, reader.LadFxNameInv), true;
      if (name == L"LadFxNameCoil") return ReadText(reader, value, reader.LadFxNameCoil), true;
      return false;
    case kOrgUnitAttributes:
      if (name == L"Name") return ReadText(reader, value, reader.OrgUnit.Name), true;
      if (name == L"Comment") return ReadText(reader, value, reader.OrgUnit.Comment), true;
      if (name == L"Parent") return ReadText(reader, value, reader.OrgUnit.Parent), true;
      if (name == L"Type") return ReadWord(reader, FunOrgTypeFromWord(value), reader.OrgUnit.Type), true;
      if (name == L"Node") return ReadInteger(reader, value, reader.OrgUnit.Node), true;
      return false;
    case kStlUnitAttributes:
      if (name == L"Name") return ReadText(reader, value, reader.StlUnit.Name), true;
      if (name == L"Comment") return ReadText(reader, value, reader.StlUnit.Comment), true;
      if (name == L"Parent") return ReadText(reader, value, reader.StlUnit.Parent), true;
      if (name == L"Slot") return ReadInteger(reader, value, reader.StlUnit.Slot), true;
      return false;
    case kLadUnitAttributes:
      if (name == L"Name") return ReadText(reader, value, reader.LadUnit.Name), true;
      if (name == L"Comment") return ReadText(reader, value, reader.LadUnit.Comment), true;
      if (name == L"Parent") return ReadText(reader, value, reader.LadUnit.Parent), true;
      if (name == L"Look") return ReadWord(reader, LadLookFromWord(value), reader.LadUnit.Look), true;
      if (name == L"Keyword") return ReadText(reader, value, reader.LadUnit.Keyword), true;
      if (name == L"GroupName") return ReadText(reader, value, reader.LadUnit.GroupName), true;
      return false;
    case kOperandAttributes:
      if (name == L"Name") return ReadText(reader, value, reader.Operand.Name), true;
      if (name == L"Capacity") return ReadText(reader, value, reader.Operand.Capacity), true;
      if (name == L"Const") return ReadWord(reader, DataTypeFromWord(value), reader.Operand.Const), true;
      if (name == L"Marker") return ReadInteger(reader, value, reader.Operand.Marker), true;
      if (name == L"Range") return ReadRange(reader, value, reader.Operand), true;
      if (name == L"Addresses") return ReadAddresses(reader, value, reader.Operand), true;
      if (name == L"Counts") return ReadText(reader, value, reader.Operand.Counts), true;
      if (name == L"AtMost") return ReadText(reader, value, reader.Operand.AtMost), true;
      if (name == L"Routine") return ReadFlag(reader, value, L"Interrupt", reader.Operand.InterruptRoutine), true;
      if (name == L"ReadWrite") return ReadFlag(reader, value, L"1", reader.Operand.ReadWrite), true;
      return false;
    case kPowerAttributes:
      if (name == L"Name") return ReadText(reader, value, reader.PowerName), true;
      return false;
    case kItemAttributes:
      if (name == L"Name") return ReadText(reader, value, reader.Item.Name), true;
      if (name == L"Key") return ReadText(reader, value, reader.Item.Text), true;
      return false;
    case kNoAttributes:
      return true;
  }
  return false;
}

void ManagerFunStartElement(void* record, const std::wstring& name, const XmlAttributeList& attributes) {
  auto& reader = *static_cast<ManagerFunReader*>(record);
  if (attributes.size() % 2 != 0) Fail(reader, L"Attribute size error");
  const int state = reader.Area.ParseState;
  if (state < 0 || state >= kStateCount) Fail(reader, L"Status error");
  const StateRule& rule = RuleOf(state);
  if (rule.children.empty()) Fail(reader, L"Status error");
  const ChildRule* child = nullptr;
  for (const ChildRule& candidate : rule.children) {
    if (name == candidate.name) {
      child = &candidate;
      break;
    }
  }
  if (child == nullptr) Fail(reader, L"Name error");
  reader.Area.ParseState = child->state;
  if (child->attributes == kNoAttributes) return;
  for (std::size_t i = 0; i + 1 < attributes.size(); i += 2) {
    if (!ReadAttribute(reader, child->attributes, attributes[i], attributes[i + 1])) {
      Fail(reader, L"Attribute error");
    }
  }
}

void ManagerFunEndElement(void* record, const std::wstring& /*name*/) {
  auto& reader = *static_cast<ManagerFunReader*>(record);
  const int state = reader.Area.ParseState;
  // expat pairs every end tag with its start tag, so the state is always inside the root here.
  if (state <= kStateNone || state >= kStateCount) Fail(reader, L"Status error");
  switch (state) {
    case kStateOrgUnit:
      reader.FunOrgList.push_back(std::move(reader.OrgUnit));
      reader.OrgUnit = FunOrgRecord{};
      break;
    case kStateOrgFunOperand:
      reader.OrgUnit.Operands.push_back(std::move(reader.Operand));
      reader.Operand = OperandDef{};
      break;
    case kStateStlUnit:
      reader.FunStlList.push_back(std::move(reader.StlUnit));
      reader.StlUnit = FunStlRecord{};
      break;
    case kStateStlFunOperand:
      reader.StlUnit.Operands.push_back(std::move(reader.Operand));
      reader.Operand = OperandDef{};
      break;
    case kStateLadUnit:
      reader.FunLadList.push_back(std::move(reader.LadUnit));
      reader.LadUnit = FunLadRecord{};
      break;
    case kStatePowerInFunPower:
      reader.LadUnit.PowerIn.push_back(std::move(reader.PowerName));
      reader.PowerName.clear();
      break;
    case kStatePowerOutFunPower:
      reader.LadUnit.PowerOut.push_back(std::move(reader.PowerName));
      reader.PowerName.clear();
      break;
    case kStateOperandIdFunOperand:
      reader.LadUnit.OperandId.push_back(std::move(reader.Operand));
      reader.Operand = OperandDef{};
      break;
    case kStateOperandInFunOperand:
      reader.LadUnit.OperandIn.push_back(std::move(reader.Operand));
      reader.Operand = OperandDef{};
      break;
    case kStateOperandOutFunOperand:
      reader.LadUnit.OperandOut.push_back(std::move(reader.Operand));
      reader.Operand = OperandDef{};
      break;
    case kStateStlRule:
      reader.ConvertStlRules.push_back(std::move(reader.Rule));
      reader.Rule = ConvertRule{};
      break;
    case kStateLadRule:
      reader.ConvertLadRules.push_back(std::move(reader.Rule));
      reader.Rule = ConvertRule{};
      break;
    case kStateStlLeftItem:
    case kStateLadLeftItem:
      reader.Rule.Left.push_back(std::move(reader.Item));
      reader.Item = MakeElementOperand(-1, L"", L"");
      break;
    case kStateStlRightItem:
    case kStateLadRightItem:
      reader.Rule.Right.push_back(std::move(reader.Item));
      reader.Item = MakeElementOperand(-1, L"", L"");
      break;
    default:
      break;
  }
  reader.Area.ParseState = RuleOf(state).parent;
}

// Subroutine pages of a type beyond this have no name ("SBR" + a 16-bit number) and no
// instruction code of their own.
constexpr int kMaxSubroutineCount = 0x10000;

}  // namespace

void ReadManagerFun(InstructionLibrary& library, const std::wstring& path, int subroutineCount) {
  if (subroutineCount < 0 || subroutineCount > kMaxSubroutineCount) {
    throw MakeParseXmlError(L"\r\n  Subroutine count error : " + std::to_wstring(subroutineCount));
  }
  const std::vector<uint8_t> bytes = ReadXmlFileBytes(path);

  ManagerFunReader reader;
  ParseXmlBuffer(reader.Area, path, bytes.data(), bytes.size(), &reader, ManagerFunStartElement,
                 ManagerFunEndElement);

  // Everything is built on a fresh library, which replaces the caller's only when complete.
  InstructionLibrary result;
  result.SubroutineCount = subroutineCount;
  result.FxMode = reader.FxMode;
  result.SbrComment = std::move(reader.SbrComment);
  result.SbrParent = std::move(reader.SbrParent);
  result.LadFxNameLd = std::move(reader.LadFxNameLd);
  result.LadFxNameLdi = std::move(reader.LadFxNameLdi);
  result.LadFxNameLdp = std::move(reader.LadFxNameLdp);
  result.LadFxNameLdf = std::move(reader.LadFxNameLdf);
  result.LadFxNameInv = std::move(reader.LadFxNameInv);
  result.LadFxNameCoil = std::move(reader.LadFxNameCoil);
  result.FunOrgList = std::move(reader.FunOrgList);
  result.FunStlList = std::move(reader.FunStlList);
  result.FunLadList = std::move(reader.FunLadList);
  result.StlToUnitRules = std::move(reader.ConvertStlRules);
  result.LadToUnitRules = std::move(reader.ConvertLadRules);

  AppendSubroutineUnits(result);
  XmlCreateSys(result);
  BuildGroupNameLists(result);
  XmlCreateConvert(result);
  BuildLadOperandPositions(result);
  BuildReservedNames(result);
  BuildStlInstructionText(result);
  BuildLadInstructionCatalog(result);
  library = std::move(result);
}

}  // namespace Brenno
