#include "core/env/instruction_library.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "core/env/data_type.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "platform/file_util.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"

using namespace Brenno;

namespace {

struct LanguageGuard {
  explicit LanguageGuard(int language) { SetCurrentLanguage(language); }
  ~LanguageGuard() { SetCurrentLanguage(kLanguageEnglish); }
};

std::wstring Wide(const std::string& text) { return *platform::Utf8ToWide(text); }

const char kSysUnits[] =
    "<FunOrg>"
    "<Unit Name=\"AND\" Type=\"Sys\"/><Unit Name=\"OR\" Type=\"Sys\"/><Unit Name=\"LPS\" Type=\"Sys\"/>"
    "<Unit Name=\"LRD\" Type=\"Sys\"/><Unit Name=\"LPP\" Type=\"Sys\"/>"
    "</FunOrg>";

// A library file in a scratch folder.
class LibraryFile {
 public:
  // `body` goes inside the root element; the five system units come first unless left out.
  static std::string Document(const std::string& body, bool withSysUnits = true,
                              const std::string& rootAttributes = "") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ManagerFun" + rootAttributes + ">" +
           (withSysUnits ? kSysUnits : "") + body + "</ManagerFun>\n";
  }

  void WriteRaw(const std::string& bytes) {
    std::ofstream out(dir_.File("ManagerFun.xml"), std::ios::binary);
    out << bytes;
  }
  std::wstring Path() const { return Wide(dir_.File("ManagerFun.xml")); }

  InstructionLibrary Read(const std::string& body, int subroutines = 0) {
    WriteRaw(Document(body));
    InstructionLibrary library;
    ReadManagerFun(library, Path(), subroutines);
    return library;
  }

  // The message of the error that reading the raw document raises; empty when it reads.
  std::wstring ErrorOf(const std::string& document, int subroutines = 0) {
    WriteRaw(document);
    InstructionLibrary library;
    try {
      ReadManagerFun(library, Path(), subroutines);
    } catch (const ExceptionParseXmlError& error) {
      return error.Message();
    }
    return L"";
  }

 private:
  testsupport::TempDir dir_;
};

std::wstring PositionDetail(const std::wstring& text, const std::wstring& path, int row, int column) {
  return L"Parse XML Error\r\n  " + text + L"\r\n  In file \"" + path + L"\"\r\n  row = " + std::to_wstring(row) +
         L" column = " + std::to_wstring(column);
}

std::vector<std::wstring> Names(const std::vector<ElementOperand>& items) {
  std::vector<std::wstring> names;
  for (const ElementOperand& item : items) names.push_back(item.Name);
  return names;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Data types

TEST(DataType, IntegerRangesAndWords) {
  EXPECT_EQ(IntegerTypeMax(kDataTypeDword), 4294967295LL);
  EXPECT_EQ(IntegerTypeMax(kDataTypeDint), 2147483647LL);
  EXPECT_EQ(IntegerTypeMax(kDataTypeBit), 1);
  EXPECT_EQ(IntegerTypeRangeTable[kDataTypeDint].Minimum, -2147483648LL);
  EXPECT_EQ(IntegerTypeRangeTable[kDataTypeSint].Minimum, -128);
  for (int type : {-1, 10, 11}) EXPECT_THROW(IntegerTypeMax(type), ExceptionLogicError) << type;
  try {
    IntegerTypeMax(kDataTypeReal);
  } catch (const ExceptionLogicError& error) {
    EXPECT_EQ(error.Message(), L"Logic Error");
  }
  EXPECT_EQ(DataTypeFromWord(L"Udint"), kDataTypeUdint);
  EXPECT_EQ(DataTypeFromWord(L"Real"), kDataTypeReal);
  EXPECT_EQ(DataTypeFromWord(L"real"), -1);
  EXPECT_EQ(DataTypeFromWord(L"Bit "), -1);
  EXPECT_STREQ(DataTypeWord(kDataTypeSint), L"Sint");
}

// ---------------------------------------------------------------------------------------------
// The fixture catalogs

TEST(InstructionLibraryFixtures, TypeAReadsWithSubroutines) {
  InstructionLibrary library;
  ReadManagerFun(library, Wide(testsupport::FixturePath("catalog/Orvisto/TypeA/ManagerFun.xml")), 16);
  EXPECT_EQ(library.FxMode, 0);
  EXPECT_EQ(library.SubroutineCount, 16);
  EXPECT_EQ(library.SbrParent, L"Subroutines");
  EXPECT_EQ(library.FunOrgList[library.SysAnd].Name, L"AND");
  EXPECT_EQ(library.FunOrgList[library.SysLpp].Name, L"LPP");

  std::vector<const FunStlRecord*> stl;
  FindStlInstructionDefs(library, L"LD", 1, stl);
  ASSERT_EQ(stl.size(), 1u);
  EXPECT_EQ(stl[0]->Slot, 1);
  EXPECT_EQ(stl[0]->Parent, L"Bit logic");
  EXPECT_EQ(stl[0]->Operands[0], (OperandDef{L"bit", L"Tv:", kDataTypeBit, 1}));
  FindStlInstructionDefs(library, L"LDB<", 2, stl);
  ASSERT_EQ(stl.size(), 1u);
  EXPECT_EQ(stl[0]->Slot, 0x23);

  std::vector<const FunLadRecord*> lad;
  FindLadElementDefs(library, LadElementKey{kLadLookCont, L" ", 0, 1, 0}, lad);
  ASSERT_EQ(lad.size(), 1u);
  EXPECT_EQ(lad[0]->Name, L"LD");
  FindLadElementDefs(library, LadElementKey{kLadLookBlock, L"CTU", 1, 1, 0}, lad);
  ASSERT_EQ(lad.size(), 1u);
  EXPECT_EQ(lad[0]->PowerIn, (std::vector<std::wstring>{L"CU", L"R"}));

  // Every rule item is resolved; the subroutine rules close each list.
  for (const auto* rules : {&library.StlToUnitRules, &library.LadToUnitRules, &library.UnitToStlRules,
                            &library.UnitToLadRules}) {
    for (const ConvertRule& rule : *rules) {
      for (const ElementOperand& item : rule.Left) EXPECT_GE(item.Slot, 0) << item.Name;
      for (const ElementOperand& item : rule.Right) EXPECT_GE(item.Slot, 0) << item.Name;
    }
    EXPECT_EQ(rules->back().Left[0].Name, L"SBR15");
  }
  // Units to statement list: "A a" (CONT a, AND) must be tried before "LD a" (CONT a).
  EXPECT_EQ(library.UnitToStlRules.front().Left.size(), 2u);
  const FunStlRecord& call = library.FunStlList[library.FunStlList.size() - 16 + 3];
  EXPECT_EQ(call.Name, L"SBR3");
  EXPECT_EQ(call.Slot, 0x10003);
  EXPECT_EQ(library.FunLadList.back().Keyword, L"SBR_15");
}

TEST(InstructionLibraryFixtures, TypeFxReadsInChineseAndFromUtf16) {
  const std::wstring path = Wide(testsupport::FixturePath("catalog/Orvisto/TypeFx/ManagerFun.xml"));
  InstructionLibrary english;
  ReadManagerFun(english, path, 2);
  EXPECT_EQ(english.FxMode, 1);
  EXPECT_EQ(english.LadFxNameLd, L"LD");
  EXPECT_EQ(english.LadFxNameLdi, L"LDI");
  EXPECT_EQ(english.LadFxNameLdp, L"LDP");
  EXPECT_EQ(english.LadFxNameLdf, L"LDF");
  EXPECT_EQ(english.LadFxNameInv, L"INV");
  EXPECT_EQ(english.LadFxNameCoil, L"OUT");

  // One mnemonic, two operand counts: two distinct definitions.
  std::vector<const FunStlRecord*> out1;
  std::vector<const FunStlRecord*> out2;
  FindStlInstructionDefs(english, L"OUT", 1, out1);
  FindStlInstructionDefs(english, L"OUT", 2, out2);
  ASSERT_EQ(out1.size(), 1u);
  ASSERT_EQ(out2.size(), 1u);
  EXPECT_NE(out1[0], out2[0]);
  // The set value of the timer coil is read and stands below the timer it drives: the ladder
  // definition lists it first, the instruction writes it second.
  std::vector<const FunLadRecord*> coil;
  FilterLadElementDefsByOperandCount(coil, english, L"OUT", 2);
  ASSERT_EQ(coil.size(), 1u);
  EXPECT_EQ(LadOperandOrder(english, *coil[0]), (std::vector<int>{1, 0}));
  FilterLadElementDefsByOperandCount(coil, english, L"OUT", 1);
  ASSERT_EQ(coil.size(), 1u);
  EXPECT_EQ(LadOperandOrder(english, *coil[0]), (std::vector<int>{0}));

  {
    LanguageGuard chinese(kLanguageChinese);
    InstructionLibrary library;
    ReadManagerFun(library, path, 2);
    EXPECT_EQ(library.SbrParent, L"子程序");
    EXPECT_EQ(library.FunStlGroups.front(), L"触点");
  }

  // The same document in UTF-16LE with a byte-order mark reads alike.
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(platform::ReadFileBytes(path, bytes));
  std::wstring text = Wide(std::string(bytes.begin(), bytes.end()));
  text.replace(text.find(L"UTF-8"), 5, L"UTF-16");
  std::vector<uint8_t> utf16 = {0xFF, 0xFE};
  std::vector<uint8_t> body = *platform::WideToUtf16LeBytes(text);
  utf16.insert(utf16.end(), body.begin(), body.end());
  testsupport::TempDir dir;
  const std::wstring utf16Path = Wide(dir.File("ManagerFun.xml"));
  ASSERT_TRUE(platform::WriteFileBytes(utf16Path, utf16));
  InstructionLibrary fromUtf16;
  ReadManagerFun(fromUtf16, utf16Path, 2);
  EXPECT_EQ(fromUtf16.FunLadList, english.FunLadList);
  EXPECT_EQ(fromUtf16.UnitToLadRules, english.UnitToLadRules);
  EXPECT_EQ(fromUtf16.StlInstructionText, english.StlInstructionText);
}

// ---------------------------------------------------------------------------------------------
// Reading: records, defaults and attribute values

TEST(ReadManagerFun, ReadsRecordsWithDefaultsAndAttributeForms) {
  LibraryFile file;
  InstructionLibrary library = file.Read(
      "<FunOrg foo=\"ignored\"><Unit Name=\"U\" Node=\"10#3\"><Operand bar=\"1\">"
      "<FunOperand Name=\"x\"/></Operand><Operand><FunOperand Name=\"y\"/></Operand></Unit></FunOrg>"
      "<FunStl><Unit Name=\"K\" Slot=\"16#1F\">"
      "<Operand><FunOperand Name=\"a\" Const=\"Real\" Marker=\"16#2\"/></Operand>"
      "<Operand><FunOperand Name=\"b\" Capacity=\"Bv:\" Range=\"-64~-1,1~16#40\" Addresses=\"T32~T63,T96\""
      " Counts=\"a\" Routine=\"Interrupt\"/></Operand></Unit>"
      "<Unit Name=\"${Start}${Anfang}\" Slot=\"10#12\"/></FunStl>"
      "<FunLad><Unit Name=\"L\" Look=\"FxBlock\" Keyword=\"KW\">"
      "<PowerIn x=\"y\"><FunPower Name=\"EN\"/></PowerIn><PowerIn><FunPower/></PowerIn>"
      "<OperandId><FunOperand Name=\"i\"/></OperandId><OperandIn><FunOperand Name=\"n\"/></OperandIn>"
      "<OperandOut><FunOperand Name=\"o\"/></OperandOut></Unit></FunLad>"
      "<ConvertStl><Unit Any=\"thing\"><Left q=\"1\"><Item Name=\"K\" Key=\"ab\"/></Left>"
      "<Right><Item Name=\"U\" Key=\"ba\"/></Right></Unit></ConvertStl>");

  ASSERT_EQ(library.FunOrgList.size(), 6u);
  const FunOrgRecord& unit = library.FunOrgList[5];
  EXPECT_EQ(unit.Name, L"U");
  EXPECT_EQ(unit.Type, -1);  // missing Type keeps the default
  EXPECT_EQ(unit.Node, 3);
  EXPECT_EQ(unit.Comment, L"");
  ASSERT_EQ(unit.Operands.size(), 2u);
  EXPECT_EQ(unit.Operands[0], (OperandDef{L"x", L"", -1, 0}));
  EXPECT_EQ(unit.Operands[1].Name, L"y");
  EXPECT_EQ(library.FunOrgList[0].Node, -1);

  ASSERT_EQ(library.FunStlList.size(), 2u);
  EXPECT_EQ(library.FunStlList[0].Slot, 31);
  // Two Operand groups make one list in document order.
  ASSERT_EQ(library.FunStlList[0].Operands.size(), 2u);
  EXPECT_EQ(library.FunStlList[0].Operands[0], (OperandDef{L"a", L"", kDataTypeReal, 2}));
  EXPECT_EQ(library.FunStlList[0].Operands[1].Ranges, (std::vector<ValueRange>{{-64, -1}, {1, 64}}));
  EXPECT_EQ(library.FunStlList[0].Operands[1].Addresses, (std::vector<AddressRange>{{L"T32", L"T63"}, {L"T96", L"T96"}}));
  EXPECT_EQ(library.FunStlList[0].Operands[1].Counts, L"a");
  EXPECT_TRUE(library.FunStlList[0].Operands[1].InterruptRoutine);
  EXPECT_EQ(library.FunStlList[0].Operands[1].Capacity, L"Bv:");
  EXPECT_EQ(library.FunStlList[1].Name, L"Start");
  EXPECT_EQ(library.FunStlList[1].Slot, 12);

  ASSERT_EQ(library.FunLadList.size(), 1u);
  const FunLadRecord& lad = library.FunLadList[0];
  EXPECT_EQ(lad.Look, kLadLookFxBlock);
  EXPECT_EQ(lad.PowerIn, (std::vector<std::wstring>{L"EN", L""}));
  EXPECT_EQ(lad.OperandId[0].Name, L"i");
  EXPECT_EQ(lad.OperandIn[0].Name, L"n");
  EXPECT_EQ(lad.OperandOut[0].Name, L"o");

  ASSERT_EQ(library.StlToUnitRules.size(), 1u);
  EXPECT_EQ(library.StlToUnitRules[0].Left[0], MakeElementOperand(0, L"K", L"ab"));
  EXPECT_EQ(library.StlToUnitRules[0].Right[0], MakeElementOperand(5, L"U", L"ba"));
}

TEST(ReadManagerFun, LocalizedTextsFollowTheLanguage) {
  LibraryFile file;
  const std::string body = "<FunStl><Unit Name=\"${Start}${Anfang}\"/></FunStl>";
  EXPECT_EQ(file.Read(body).FunStlList[0].Name, L"Start");
  {
    LanguageGuard chinese(kLanguageChinese);
    EXPECT_EQ(file.Read(body).FunStlList[0].Name, L"Anfang");
    EXPECT_NE(file.ErrorOf(LibraryFile::Document("<FunStl><Unit Name=\"${Start}\"/></FunStl>"))
                  .find(L"\r\n  Value error\r\n"),
              std::wstring::npos);
  }
  EXPECT_EQ(file.Read("<FunStl><Unit Name=\"${Start}\"/></FunStl>").FunStlList[0].Name, L"Start");
}

TEST(ReadManagerFun, RootValues) {
  LibraryFile file;
  file.WriteRaw(LibraryFile::Document("", true,
                                      " FxMode=\"16#1\" SbrComment=\"c\" SbrParent=\"p\" LadFxNameLd=\"1\""
                                      " LadFxNameLdi=\"2\" LadFxNameLdp=\"3\" LadFxNameLdf=\"4\""
                                      " LadFxNameInv=\"5\" LadFxNameCoil=\"6\""));
  InstructionLibrary library;
  ReadManagerFun(library, file.Path(), 0);
  EXPECT_EQ(library.FxMode, 1);
  EXPECT_EQ(library.SbrComment, L"c");
  EXPECT_EQ(library.SbrParent, L"p");
  EXPECT_EQ(library.LadFxNameLd + library.LadFxNameLdi + library.LadFxNameLdp + library.LadFxNameLdf +
                library.LadFxNameInv + library.LadFxNameCoil,
            L"123456");
}

// Each fault of the element checks carries its text with the file, row and column of the element.
TEST(ReadManagerFun, ElementAndAttributeErrorsCarryThePosition) {
  struct Case {
    std::string document;
    std::wstring text;
    int row;
    int column;
  };
  const std::string head = "<?xml version=\"1.0\"?>\n<ManagerFun>\n";
  const Case cases[] = {
      {"<?xml version=\"1.0\"?>\n<Manager/>\n", L"Name error", 2, 0},
      {head + "<FunOrg><Unit>\n  <FunOperand/></Unit></FunOrg></ManagerFun>", L"Name error", 4, 2},
      {head + "<FunStl><Unit><Operand><FunOperand>\n <X/></FunOperand></Operand></Unit></FunStl></ManagerFun>",
       L"Status error", 4, 1},
      {head + "<FunLad><Unit><PowerIn><FunPower>\n <FunPower/></FunPower></PowerIn></Unit></FunLad></ManagerFun>",
       L"Status error", 4, 1},
      {head + "<ConvertLad><Unit><Right><Item><Item/></Item></Right></Unit></ConvertLad></ManagerFun>",
       L"Status error", 3, 31},
      {head + "<FunOrg><Unit Type=\"sys\"/></FunOrg></ManagerFun>", L"Value error", 3, 8},
      {head + "<FunOrg><Unit Node=\"x\"/></FunOrg></ManagerFun>", L"Value error", 3, 8},
      {head + "<FunStl><Unit Slot=\"16#\"/></FunStl></ManagerFun>", L"Value error", 3, 8},
      {head + "<FunLad><Unit Look=\"cont\"/></FunLad></ManagerFun>", L"Value error", 3, 8},
      {head + "<FunLad><Unit><OperandIn><FunOperand Const=\"int\"/></OperandIn></Unit></FunLad></ManagerFun>",
       L"Value error", 3, 25},
      {head + "<FunLad><Unit><OperandIn><FunOperand Marker=\"2x\"/></OperandIn></Unit></FunLad></ManagerFun>",
       L"Value error", 3, 25},
      {head + "<FunLad><Unit><OperandIn><FunOperand Range=\"7~0\"/></OperandIn></Unit></FunLad></ManagerFun>",
       L"Value error", 3, 25},
      {head + "<FunLad><Unit><OperandIn><FunOperand Range=\"7\"/></OperandIn></Unit></FunLad></ManagerFun>",
       L"Value error", 3, 25},
      {head + "<FunLad><Unit><OperandIn><FunOperand Range=\"0~1,\"/></OperandIn></Unit></FunLad></ManagerFun>",
       L"Value error", 3, 25},
      {head + "<FunLad><Unit><OperandIn><FunOperand Addresses=\"T0~\"/></OperandIn></Unit></FunLad></ManagerFun>",
       L"Value error", 3, 25},
      {head + "<FunLad><Unit><OperandIn><FunOperand Routine=\"Sbr\"/></OperandIn></Unit></FunLad></ManagerFun>",
       L"Value error", 3, 25},
      {head + "<FunOrg><Unit name=\"U\"/></FunOrg></ManagerFun>", L"Attribute error", 3, 8},
      {head + "<FunStl><Unit Look=\"Cont\"/></FunStl></ManagerFun>", L"Attribute error", 3, 8},
      {"<ManagerFun Mode=\"1\"/>", L"Attribute error", 1, 0},
      {head + "<ConvertStl><Unit><Left><Item Slot=\"1\"/></Left></Unit></ConvertStl></ManagerFun>",
       L"Attribute error", 3, 24},
      {head + "<FunOrg><FunOrg/></FunOrg></ManagerFun>", L"Name error", 3, 8},
      {head + "<ConvertStl><Unit><Item/></Unit></ConvertStl></ManagerFun>", L"Name error", 3, 18},
      {head + "<FunOrg></FunStl></ManagerFun>", L"mismatched tag", 3, 10},
  };
  LibraryFile file;
  for (const Case& c : cases) {
    EXPECT_EQ(file.ErrorOf(c.document), PositionDetail(c.text, file.Path(), c.row, c.column)) << c.document;
  }
}

TEST(ReadManagerFun, FileErrors) {
  LibraryFile file;
  InstructionLibrary library;
  try {
    ReadManagerFun(library, file.Path(), 0);
    FAIL() << "a missing file must not read";
  } catch (const ExceptionParseXmlError& error) {
    EXPECT_EQ(error.Message(), L"Parse XML Error\r\n  Open file error : \"" + file.Path() + L"\"");
  }
  EXPECT_EQ(file.ErrorOf(""), L"Parse XML Error\r\n  File is empty : \"" + file.Path() + L"\"");
  LanguageGuard chinese(kLanguageChinese);
  EXPECT_EQ(file.ErrorOf(""), L"解析XML错误\r\n  File is empty : \"" + file.Path() + L"\"");
}

TEST(ReadManagerFun, EmptyRootReadsButLacksTheSystemUnits) {
  LibraryFile file;
  EXPECT_EQ(file.ErrorOf("<ManagerFun/>"), L"Parse XML Error\r\n  ::XmlCreateSys() \"AND\"");
}

// A failed read leaves the library as it was; a subroutine count that cannot be is refused.
TEST(ReadManagerFun, FailureLeavesTheLibraryUntouched) {
  LibraryFile file;
  InstructionLibrary library = file.Read("<FunStl><Unit Name=\"LD\"/></FunStl>", 1);
  const InstructionLibrary before = library;
  file.WriteRaw(LibraryFile::Document("<FunStl><Unit Name=\"LD\" Slot=\"z\"/></FunStl>"));
  EXPECT_THROW(ReadManagerFun(library, file.Path(), 0), ExceptionParseXmlError);
  file.WriteRaw(LibraryFile::Document("<ConvertStl><Unit><Left><Item Name=\"NONE\"/></Left></Unit></ConvertStl>"));
  EXPECT_THROW(ReadManagerFun(library, file.Path(), 0), ExceptionParseXmlError);
  EXPECT_EQ(library.FunStlList, before.FunStlList);
  EXPECT_EQ(library.SubroutineCount, 1);
  EXPECT_EQ(library.StlToUnitRules, before.StlToUnitRules);

  for (int count : {-1, 0x10001}) {
    EXPECT_EQ(file.ErrorOf(LibraryFile::Document(""), count),
              L"Parse XML Error\r\n  Subroutine count error : " + std::to_wstring(count));
  }
}

// ---------------------------------------------------------------------------------------------
// Subroutine entries

TEST(InstructionLibrarySubroutines, Names) {
  EXPECT_EQ(SubroutineName(0x10000), L"SBR0");
  EXPECT_EQ(SubroutineName(0x1000A), L"SBR10");
  EXPECT_EQ(SubroutineName(0x1FFFF), L"SBR65535");
  EXPECT_EQ(SubroutineName(0x0FFFF), L"#INVALID");
  EXPECT_EQ(SubroutineName(0x20000), L"#INVALID");
  EXPECT_EQ(SubroutineSymbolName(0x10002), L"SBR_2");
  EXPECT_EQ(SubroutineSymbolName(-1), L"#INVALID");
}

TEST(InstructionLibrarySubroutines, AppendedAfterTheFileEntries) {
  LibraryFile file;
  file.WriteRaw(LibraryFile::Document("<FunStl><Unit Name=\"LD\"/><Unit Name=\"A\"/></FunStl>", true,
                                      " SbrComment=\"call\" SbrParent=\"Subs\""));
  InstructionLibrary library;
  ReadManagerFun(library, file.Path(), 3);
  ASSERT_EQ(library.FunStlList.size(), 5u);
  for (int i = 0; i < 3; ++i) {
    const FunStlRecord& stl = library.FunStlList[2 + i];
    EXPECT_EQ(stl.Name, L"SBR" + std::to_wstring(i));
    EXPECT_EQ(stl.Slot, 0x10000 + i);
    EXPECT_EQ(stl.Comment, L"call");
    EXPECT_TRUE(stl.Operands.empty());
    const FunOrgRecord& org = library.FunOrgList[5 + i];
    EXPECT_EQ(org.Name, stl.Name);
    EXPECT_EQ(org.Type, kFunOrgTypeOutput);
    EXPECT_EQ(org.Node, 1);
    EXPECT_EQ(org.Parent, L"Subs");
    const FunLadRecord& lad = library.FunLadList[i];
    EXPECT_EQ(lad.Name, stl.Name);
    EXPECT_EQ(lad.Keyword, L"SBR_" + std::to_wstring(i));
    EXPECT_EQ(lad.Look, kLadLookBlock);
    EXPECT_EQ(lad.PowerIn, std::vector<std::wstring>{L"EN"});
    EXPECT_TRUE(lad.PowerOut.empty());
    for (const auto* rules : {&library.StlToUnitRules, &library.LadToUnitRules, &library.UnitToStlRules,
                              &library.UnitToLadRules}) {
      ASSERT_EQ(rules->size(), 3u);
      EXPECT_EQ(Names((*rules)[i].Left), std::vector<std::wstring>{stl.Name});
      EXPECT_EQ((*rules)[i].Left[0].Text, L"");
    }
    EXPECT_EQ(library.StlToUnitRules[i].Left[0].Slot, 2 + i);
    EXPECT_EQ(library.StlToUnitRules[i].Right[0].Slot, 5 + i);
    EXPECT_EQ(library.LadToUnitRules[i].Left[0].Slot, i);
    EXPECT_EQ(library.UnitToLadRules[i].Right[0].Slot, i);
  }
  EXPECT_EQ(library.FunStlGroups, (std::vector<std::wstring>{L"", L"Subs"}));

  InstructionLibrary none = file.Read("<FunStl><Unit Name=\"LD\"/></FunStl>", 0);
  EXPECT_EQ(none.FunStlList.size(), 1u);
  EXPECT_TRUE(none.StlToUnitRules.empty());
  EXPECT_TRUE(none.FunLadList.empty());
}

TEST(InstructionLibrarySubroutines, FileDefinitionWithASubroutineNameClashes) {
  LibraryFile file;
  EXPECT_EQ(file.ErrorOf(LibraryFile::Document("<FunStl><Unit Name=\"SBR0\"/></FunStl>"), 1),
            L"Parse XML Error\r\n  ::XmlCreateConvert() \"SBR0\"");
}

// ---------------------------------------------------------------------------------------------
// System units and rules

TEST(InstructionLibraryRules, SystemUnitsMustExistOnce) {
  LibraryFile file;
  const std::string twoOr =
      "<FunOrg><Unit Name=\"AND\"/><Unit Name=\"OR\" Type=\"Sys\"/><Unit Name=\"OR\" Type=\"Sys\"/>"
      "<Unit Name=\"LPS\"/><Unit Name=\"LRD\"/><Unit Name=\"LPP\"/></FunOrg>";
  EXPECT_EQ(file.ErrorOf(LibraryFile::Document(twoOr, false)), L"Parse XML Error\r\n  ::XmlCreateSys() \"OR\"");
  const std::string noLpp = "<FunOrg><Unit Name=\"AND\"/><Unit Name=\"OR\"/><Unit Name=\"LPS\"/><Unit Name=\"LRD\"/>"
                            "<Unit Name=\"lpp\"/></FunOrg>";
  EXPECT_EQ(file.ErrorOf(LibraryFile::Document(noLpp, false)), L"Parse XML Error\r\n  ::XmlCreateSys() \"LPP\"");

  // The type is not looked at; the indices are the units' positions.
  InstructionLibrary library = file.Read("<FunOrg><Unit Name=\"X\"/></FunOrg>");
  EXPECT_EQ(library.SysAnd, 0);
  EXPECT_EQ(library.SysOr, 1);
  EXPECT_EQ(library.SysLps, 2);
  EXPECT_EQ(library.SysLrd, 3);
  EXPECT_EQ(library.SysLpp, 4);
}

TEST(InstructionLibraryRules, KeySetsAndItemResolution) {
  const std::string defs =
      "<FunOrg><Unit Name=\"P\"><Operand><FunOperand/></Operand></Unit>"
      "<Unit Name=\"Q\"><Operand><FunOperand/><FunOperand/></Operand></Unit></FunOrg>"
      "<FunStl><Unit Name=\"X\"><Operand><FunOperand/><FunOperand/></Operand></Unit>"
      "<Unit Name=\"Y\"><Operand><FunOperand/><FunOperand/><FunOperand/></Operand></Unit></FunStl>";
  auto rule = [](const std::string& left, const std::string& right) {
    return "<ConvertStl><Unit><Left>" + left + "</Left><Right>" + right + "</Right></Unit></ConvertStl>";
  };
  struct Case {
    std::string rule;
    std::wstring error;  // empty: reads
  };
  const Case cases[] = {
      {rule("<Item Name=\"X\" Key=\"ab\"/>", "<Item Name=\"P\" Key=\"b\"/><Item Name=\"P\" Key=\"a\"/>"), L""},
      {rule("<Item Name=\"X\" Key=\"ab\"/>", "<Item Name=\"Q\" Key=\"ac\"/>"),
       L"\r\n  ::XmlCreateConvert() \"lcKeyLeft != lcKeyRight\""},
      {rule("<Item Name=\"X\" Key=\"aa\"/>", "<Item Name=\"P\" Key=\"a\"/>"), L""},
      // Key of two characters, definition of three operands: the item is not found.
      {rule("<Item Name=\"Y\" Key=\"ab\"/>", "<Item Name=\"Q\" Key=\"ac\"/>"), L"\r\n  ::XmlCreateConvert() \"Y\""},
      {rule("<Item Name=\"x\" Key=\"ab\"/>", ""), L"\r\n  ::XmlCreateConvert() \"x\""},
      {rule("<Item Name=\"X\" Key=\"ab\"/>", "<Item Name=\"P\" Key=\"ab\"/>"), L"\r\n  ::XmlCreateConvert() \"P\""},
  };
  LibraryFile file;
  for (const Case& c : cases) {
    std::wstring error = file.ErrorOf(LibraryFile::Document(defs + c.rule));
    EXPECT_EQ(error, c.error.empty() ? L"" : L"Parse XML Error" + c.error) << c.rule;
  }
  // Ladder items are looked up by Name and the operand count of all three groups together.
  const std::string lad =
      "<FunOrg><Unit Name=\"Q\"><Operand><FunOperand/><FunOperand/></Operand></Unit></FunOrg>"
      "<FunLad><Unit Name=\"B\" Keyword=\"k\"><OperandId><FunOperand/></OperandId>"
      "<OperandOut><FunOperand/></OperandOut></Unit><Unit Name=\"B\" Keyword=\"k\"/></FunLad>"
      "<ConvertLad><Unit><Left><Item Name=\"B\" Key=\"ab\"/></Left><Right><Item Name=\"Q\" Key=\"ab\"/></Right>"
      "</Unit></ConvertLad>";
  InstructionLibrary library = file.Read(lad);
  EXPECT_EQ(library.LadToUnitRules[0].Left[0].Slot, 0);
  EXPECT_EQ(library.LadToUnitRules[0].Right[0].Slot, 5);
  EXPECT_EQ(library.UnitToLadRules[0].Left[0], MakeElementOperand(5, L"Q", L"ab"));
  EXPECT_EQ(library.UnitToLadRules[0].Right[0], MakeElementOperand(0, L"B", L"ab"));
}

TEST(InstructionLibraryRules, WorkingOrderPutsLongerPatternsFirst) {
  LibraryFile file;
  std::string body = "<FunStl><Unit Name=\"S\"/></FunStl><FunOrg><Unit Name=\"U\"/></FunOrg><ConvertStl>";
  // Left sizes 1, 3, 0, 2 in file order; each rule's Right names its number of U items.
  const int leftSizes[] = {1, 3, 0, 2};
  for (int size : leftSizes) {
    body += "<Unit><Left>";
    for (int i = 0; i < size; ++i) body += "<Item Name=\"S\"/>";
    body += "</Left><Right>";
    for (int i = 0; i < 4 - size; ++i) body += "<Item Name=\"U\"/>";
    body += "</Right></Unit>";
  }
  body += "</ConvertStl>";
  InstructionLibrary library = file.Read(body, 2);
  std::vector<size_t> order;
  for (const ConvertRule& rule : library.StlToUnitRules) order.push_back(rule.Left.size());
  EXPECT_EQ(order, (std::vector<size_t>{3, 2, 1, 0, 1, 1}));
  EXPECT_EQ(library.StlToUnitRules[4].Left[0].Name, L"SBR0");
  EXPECT_EQ(library.StlToUnitRules[5].Left[0].Name, L"SBR1");

  // The exchanged list is ordered by its own Left side (the file's Right sides: 3, 1, 4, 2).
  order.clear();
  for (const ConvertRule& rule : library.UnitToStlRules) order.push_back(rule.Left.size());
  EXPECT_EQ(order, (std::vector<size_t>{3, 4, 2, 1, 1, 1}));
  EXPECT_EQ(library.UnitToStlRules[5].Right[0].Name, L"SBR1");
}

// ---------------------------------------------------------------------------------------------
// Lookups

TEST(InstructionLibraryLookups, ExactNamesAndCounts) {
  LibraryFile file;
  InstructionLibrary library = file.Read(
      "<FunStl><Unit Name=\"LD\" Slot=\"1\"><Operand><FunOperand/></Operand></Unit>"
      "<Unit Name=\"ld\" Slot=\"1\"><Operand><FunOperand/></Operand></Unit>"
      "<Unit Name=\"LDN\" Slot=\"2\"><Operand><FunOperand/></Operand></Unit>"
      "<Unit Name=\"LD\" Slot=\"3\"/>"
      "<Unit Name=\"LD\" Slot=\"1\"><Operand><FunOperand/></Operand></Unit></FunStl>"
      "<FunLad><Unit Name=\"C\" Look=\"Cont\" Keyword=\" \"><OperandIn><FunOperand/></OperandIn></Unit>"
      "<Unit Name=\"C\" Look=\"Coil\" Keyword=\" \"><OperandIn><FunOperand/></OperandIn></Unit>"
      "<Unit Name=\"C\" Look=\"Cont\" Keyword=\" \"><OperandId><FunOperand/></OperandId></Unit>"
      "<Unit Name=\"D\" Look=\"Cont\" Keyword=\" \"><OperandIn><FunOperand/></OperandIn></Unit></FunLad>");

  std::vector<const FunStlRecord*> stl = {nullptr};
  FindStlInstructionDefs(library, L"LD", 1, stl);
  ASSERT_EQ(stl.size(), 2u);
  EXPECT_EQ(stl[0], &library.FunStlList[0]);
  EXPECT_EQ(stl[1], &library.FunStlList[4]);
  FindStlInstructionDefs(library, L"LD", 0, stl);
  ASSERT_EQ(stl.size(), 1u);
  EXPECT_EQ(stl[0]->Slot, 3);
  FindStlInstructionDefs(library, L"Ld", 1, stl);
  EXPECT_TRUE(stl.empty());
  FindStlInstructionDefs(library, L"L", 1, stl);
  EXPECT_TRUE(stl.empty());
  FindStlInstructionDefs(library, L"LD", 2, stl);
  EXPECT_TRUE(stl.empty());
  FindStlInstructionDefsByCode(stl, library, 1, 1);
  EXPECT_EQ(stl.size(), 3u);
  FindStlInstructionDefsByCode(stl, library, 3, 1);
  EXPECT_TRUE(stl.empty());
  EXPECT_EQ(StlInstructionDefIndex(library, library.FunStlList[4]), 4);

  std::vector<const FunLadRecord*> lad;
  FindLadElementDefs(library, LadElementKey{kLadLookCont, L" ", 0, 1, 0}, lad);
  ASSERT_EQ(lad.size(), 2u);
  EXPECT_EQ(LadElementDefIndex(library, *lad[0]), 0);
  EXPECT_EQ(LadElementDefIndex(library, *lad[1]), 3);
  FindLadElementDefs(library, LadElementKey{kLadLookCont, L"", 0, 1, 0}, lad);
  EXPECT_TRUE(lad.empty());
  FilterLadElementDefsByName(lad, library, L"C");
  EXPECT_EQ(lad.size(), 3u);
  FilterLadElementDefsByOperandCount(lad, library, L"C", 1);
  EXPECT_EQ(lad.size(), 3u);
  FilterLadElementDefsByOperandCount(lad, library, L"C", 0);
  EXPECT_TRUE(lad.empty());

  std::vector<const FunOrgRecord*> org;
  FindFunOrgDefsByName(org, library, L"OR");
  ASSERT_EQ(org.size(), 1u);
  EXPECT_EQ(FunOrgDefIndex(library, *org[0]), 1);
  FindFunOrgDefs(org, library, L"OR", 1);
  EXPECT_TRUE(org.empty());

  // A record that is not part of the library has no index.
  FunLadRecord stranger;
  EXPECT_THROW(LadElementDefIndex(library, stranger), ExceptionLogicError);
  const InstructionLibrary copy = library;
  EXPECT_THROW(LadElementDefIndex(library, copy.FunLadList[0]), ExceptionLogicError);
  EXPECT_EQ(LadElementDefIndex(copy, copy.FunLadList[2]), 2);
}

// ---------------------------------------------------------------------------------------------
// Reserved names, the mnemonic text, group lists and the ladder catalog

TEST(InstructionLibraryTables, ReservedNamesAndGroups) {
  LibraryFile file;
  InstructionLibrary library = file.Read(
      "<FunStl><Unit Name=\"LD\" Parent=\"B\"/><Unit Name=\"LD\"/><Unit Name=\"OUT\" Parent=\"B\"/></FunStl>"
      "<FunLad><Unit Name=\"X\" Keyword=\"LD\" Parent=\"L\"/></FunLad>");
  EXPECT_EQ(library.ReservedNames, (std::vector<std::wstring>{L"LD", L"LD", L"OUT", L"LD"}));
  EXPECT_EQ(library.FunStlGroups, (std::vector<std::wstring>{L"B", L""}));
  EXPECT_EQ(library.FunLadGroups, std::vector<std::wstring>{L"L"});
}

TEST(InstructionLibraryTables, StlInstructionTextSixToALine) {
  InstructionLibrary library;
  BuildStlInstructionText(library);
  EXPECT_EQ(library.StlInstructionText, L"");
  for (const wchar_t* name : {L"A", L"B", L"C", L"D", L"E", L"F"}) {
    library.FunStlList.push_back(FunStlRecord{name, L"", L"", -1, {}});
  }
  BuildStlInstructionText(library);
  EXPECT_EQ(library.StlInstructionText, L"A B C D E F");
  library.FunStlList.push_back(FunStlRecord{L"G", L"", L"", -1, {}});
  BuildStlInstructionText(library);
  EXPECT_EQ(library.StlInstructionText, L"A B C D E F\r\nG");
}

TEST(InstructionLibraryTables, LadInstructionCatalog) {
  LibraryFile file;
  file.WriteRaw(LibraryFile::Document(
      "<FunLad>"
      "<Unit Name=\"MOVB\" Parent=\"Transfer\" GroupName=\"MOV|+B+W+D|Move data\"/>"
      "<Unit Name=\"CNT\" Parent=\"Counter\" Comment=\"counts\"/>"
      "<Unit Name=\"MOVP\" Parent=\"Transfer\" GroupName=\"MOV|+B+P|\"/>"
      "<Unit Name=\"FOUR\" Parent=\"Transfer\" GroupName=\"F|+T|first|extra\"/>"
      "<Unit Name=\"ONE\" Parent=\"Transfer\" GroupName=\"O\"/>"
      "<Unit Name=\"ALL\" Parent=\"Transfer\" GroupName=\"MOV|+d+T|Later text\"/>"
      "</FunLad>",
      true, " SbrComment=\"Call\" SbrParent=\"Subs\""));
  InstructionLibrary library;
  ReadManagerFun(library, file.Path(), 2);

  const std::vector<LadInstructionGroup> expected = {
      {L"Transfer",
       {{L"MOV", {{0x0E, 0}, {0x12, 2}, {0x01, 5}}, L"Move data", 0x1F},
        {L"F", {{0x01, 3}}, L"first", 0x01},
        {L"O", {{0, 4}}, L"", 0}}},
      {L"Counter", {{L"CNT", {{0, 1}}, L"counts", 0}}},
      {L"Subs", {{L"SBR0", {{0, 6}}, L"Call", 0}, {L"SBR1", {{0, 7}}, L"Call", 0}}},
  };
  EXPECT_EQ(library.LadInstructionCatalog, expected);
}

TEST(InstructionLibraryTables, CopiesAreDeepAndIndependent) {
  LibraryFile file;
  InstructionLibrary library = file.Read("<FunStl><Unit Name=\"LD\"><Operand><FunOperand/></Operand></Unit></FunStl>", 1);
  InstructionLibrary copy = library;
  copy.FunStlList.back().Operands.push_back(OperandDef{L"IN", L"Wv:", kDataTypeInt, 0});
  copy.StlToUnitRules.back().Left[0].Text = L"a";
  EXPECT_TRUE(library.FunStlList.back().Operands.empty());
  EXPECT_EQ(library.StlToUnitRules.back().Left[0].Text, L"");
  InstructionLibrary assigned;
  assigned = library;
  EXPECT_EQ(assigned.FunStlList, library.FunStlList);
  EXPECT_EQ(assigned.UnitToStlRules, library.UnitToStlRules);
  EXPECT_EQ(assigned.SysLpp, library.SysLpp);

  FunLadRecord target;
  CopyFunLadRecord(library.FunLadList[0], target);
  EXPECT_EQ(target, library.FunLadList[0]);
}
