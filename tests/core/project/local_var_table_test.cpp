#include "core/project/local_var_table.h"

#include <gtest/gtest.h>

#include "core/env/exception_error.h"
#include "core/program/program_test_support.h"

namespace {

using Brenno::VarEntry;

constexpr int kMain = 0;
constexpr int kSbr0 = 0x10000;
constexpr int kSbr1 = 0x10001;

VarEntry Var(int area, int type, const wchar_t* name) {
  VarEntry entry = Brenno::MakeAreaVarEntry(area);
  entry.Type = type;
  entry.Name = name;
  return entry;
}

std::vector<int> Areas(const Brenno::LocalVarTable& variables) {
  std::vector<int> areas;
  for (const VarEntry& entry : variables) areas.push_back(entry.Area);
  return areas;
}

std::vector<std::wstring> Addresses(const Brenno::LocalVarTable& variables) {
  std::vector<std::wstring> addresses;
  for (const VarEntry& entry : variables) addresses.push_back(entry.Address);
  return addresses;
}

class LocalVarTableTest : public programtest::ProjectFixture {
 protected:
  void SetUp() override {
    ProjectFixture::SetUp();
    Symbols().Sizes.SizeItemInt = 6;
    Symbols().Sizes.SizeItemSbr = 8;
  }

  Brenno::SymbolTable& Symbols() { return Project().Symbols; }
  Brenno::LocalVarTable& Vars(int key) { return Program().GetProgramPage(key).LocalVars; }

  // Replaces the unit's variables and normalises them with the interface.
  void Load(int key, Brenno::LocalVarTable variables) {
    Vars(key) = std::move(variables);
    Brenno::NormalizeLocalVarTable(key, Symbols());
    Brenno::UpdateSubroutineInterface(Symbols(), key);
  }
};

TEST_F(LocalVarTableTest, UnitsGetTheirRequiredAreas) {
  EXPECT_EQ(Areas(Vars(kMain)), (std::vector<int>{3, 3}));
  EXPECT_EQ(Areas(Vars(kSbr0)), (std::vector<int>{0, 1, 2, 3}));
  for (const VarEntry& entry : Vars(kSbr0)) {
    EXPECT_EQ(entry.CheckFlags, 1 + 2 + 8 + 16);  // no name
    EXPECT_TRUE(entry.Address.empty());
  }
  Load(kMain, {});
  EXPECT_EQ(Areas(Vars(kMain)), std::vector<int>{3});
  Load(kSbr0, {Var(2, 0, L"b"), Var(2, 0, L"c")});
  EXPECT_EQ(Areas(Vars(kSbr0)), (std::vector<int>{0, 1, 2, 2, 3}));
  EXPECT_EQ(Program().AddSubroutine(), kSbr1);
  EXPECT_EQ(Areas(Vars(kSbr1)), (std::vector<int>{0, 1, 2, 3}));
}

TEST_F(LocalVarTableTest, TablesOutOfOrderOrWithForeignAreasAreRefused) {
  const Brenno::LocalVarTable bad[] = {
      {Var(1, 0, L"a"), Var(0, 0, L"b")},  // IN after IN_OUT
      {Var(3, 0, L"a"), Var(7, 0, L"b")},  // no such area
  };
  for (const Brenno::LocalVarTable& variables : bad) {
    Vars(kSbr0) = variables;
    EXPECT_THROW(Brenno::NormalizeLocalVarTable(kSbr0, Symbols()), Brenno::ExceptionLogicError);
    EXPECT_EQ(Vars(kSbr0), variables);
  }
  Vars(kMain) = {Var(0, 0, L"a")};  // IN in the main program
  EXPECT_THROW(Brenno::NormalizeLocalVarTable(kMain, Symbols()), Brenno::ExceptionLogicError);
  Brenno::NormalizeLocalVarTable(kSbr1, Symbols());  // no working page: nothing
}

TEST_F(LocalVarTableTest, CompleteVariablesArePackedInTableOrder) {
  Load(kMain, {Var(3, 0, L"a"), Var(3, 0, L"b"), Var(3, 1, L"gamma"), Var(3, 0, L"d"), Var(3, 2, L"e")});
  EXPECT_EQ(Addresses(Vars(kMain)), (std::vector<std::wstring>{L"L0.0", L"L0.1", L"LB1", L"L2.0", L"LW3"}));
  for (const VarEntry& entry : Vars(kMain)) EXPECT_EQ(entry.CheckFlags, 31);

  // Invalid and duplicate names get no address and leave no gap; a double word follows.
  Load(kMain, {Var(3, 0, L"a"), Var(3, 1, L"3x"), Var(3, 1, L"d"), Var(3, 1, L"d"), Var(3, 10, L"r"),
               Var(3, 11, L"zz")});
  EXPECT_EQ(Addresses(Vars(kMain)), (std::vector<std::wstring>{L"L0.0", L"", L"", L"", L"LD1", L""}));
  EXPECT_EQ(Vars(kMain)[1].CheckFlags, 31 - 4);
  EXPECT_EQ(Vars(kMain)[2].CheckFlags, 31 - 4);
  EXPECT_EQ(Vars(kMain)[5].CheckFlags, 31 - 2);

  // Names that are operands of the type ("c" is the counter C0) are refused like any address.
  Load(kMain, {Var(3, 0, L"c"), Var(3, 0, L"QB0"), Var(3, 0, L"ok")});
  EXPECT_EQ(Addresses(Vars(kMain)), (std::vector<std::wstring>{L"", L"", L"L0.0"}));
}

TEST_F(LocalVarTableTest, VariablesBeyondTheLocalRegionGetNoAddress) {
  Symbols().Sizes.SizeItemInt = 40;
  Brenno::LocalVarTable variables;
  for (int i = 0; i < 17; ++i) variables.push_back(Var(3, 3, (L"d" + std::to_wstring(i)).c_str()));
  variables.push_back(Var(3, 0, L"bit"));
  Load(kMain, variables);
  EXPECT_EQ(Vars(kMain)[15].Address, L"LD60");
  EXPECT_EQ(Vars(kMain)[16].Address, L"");  // 64 bytes are used up
  EXPECT_EQ(Vars(kMain)[16].CheckFlags, 31 - 8);
  EXPECT_EQ(Vars(kMain)[17].Address, L"");
}

TEST_F(LocalVarTableTest, StaleAddressesOfIncompleteVariablesAreCleared) {
  Load(kMain, {Var(3, 0, L"a"), Var(3, 0, L"b")});
  EXPECT_EQ(Vars(kMain)[1].Address, L"L0.1");
  EXPECT_TRUE(Brenno::SetLocalVarName(Symbols(), kMain, 0, L""));
  EXPECT_EQ(Addresses(Vars(kMain)), (std::vector<std::wstring>{L"", L"L0.0"}));
}

TEST_F(LocalVarTableTest, TablesLongerThanTheLimitAreCut) {
  Load(kMain, std::vector<VarEntry>(9, Var(3, 0, L"")));
  EXPECT_EQ(Vars(kMain).size(), 6u);
  Symbols().Sizes.SizeItemSbr = 2;
  Load(kSbr0, {});
  EXPECT_EQ(Areas(Vars(kSbr0)), (std::vector<int>{0, 1}));
}

TEST_F(LocalVarTableTest, SubroutineInterfaceIsPublished) {
  Load(kSbr0, {Var(0, 0, L"x"), Var(0, 0, L""), Var(1, 2, L"y"), Var(2, 1, L"z"), Var(3, 3, L"t")});
  Brenno::InstructionLibrary& library = Project().Instructions;
  const std::vector<Brenno::OperandDef> expected = {
      {L"x", L"Tcavp:", 0, 0}, {L"y", L"Wavp:", 2, 0}, {L"z", L"Bavp:", 1, 0}};
  EXPECT_EQ(Brenno::GetSubroutineFunOrg(kSbr0, library).Operands, expected);
  EXPECT_EQ(Brenno::GetSubroutineFunStl(kSbr0, library).Operands, expected);
  const Brenno::FunLadRecord& lad = Brenno::GetSubroutineFunLad(kSbr0, library);
  EXPECT_EQ(lad.Name, L"SBR0");
  EXPECT_TRUE(lad.OperandId.empty());
  EXPECT_EQ(lad.OperandIn, (std::vector<Brenno::OperandDef>{expected[0], expected[1]}));
  EXPECT_EQ(lad.OperandOut, std::vector<Brenno::OperandDef>{expected[2]});
  for (const auto* rules : {&library.StlToUnitRules, &library.LadToUnitRules, &library.UnitToStlRules,
                            &library.UnitToLadRules}) {
    const Brenno::ConvertRule& rule = (*rules)[rules->size() - library.SubroutineCount];
    EXPECT_EQ(rule.Left.back().Text, L"123");
    EXPECT_EQ(rule.Right.back().Text, L"123");
  }
  EXPECT_EQ(&Brenno::GetSubroutineConvertStl(kSbr0, library), &library.UnitToStlRules[library.UnitToStlRules.size() - 64]);

  // A subroutine the project no longer uses has an empty interface.
  EXPECT_EQ(Program().AddSubroutine(), kSbr1);
  EXPECT_EQ(Program().RemoveSubroutine(kSbr0), kSbr1);
  EXPECT_TRUE(Brenno::GetSubroutineFunOrg(kSbr0, library).Operands.empty());
  EXPECT_TRUE(Brenno::GetSubroutineFunLad(kSbr0, library).OperandIn.empty());
  EXPECT_EQ(Brenno::GetSubroutineConvertLad(kSbr0, library).Right.back().Text, L"");
}

TEST_F(LocalVarTableTest, InterfaceAccessorsCheckTheSubroutineNumber) {
  Brenno::InstructionLibrary& library = Project().Instructions;
  EXPECT_THROW(Brenno::GetSubroutineFunOrg(kMain, library), Brenno::ExceptionLogicError);
  EXPECT_THROW(Brenno::GetSubroutineFunStl(0x10000 + 64, library), Brenno::ExceptionLogicError);
  EXPECT_THROW(Brenno::GetSubroutineConvertStl(0x20000, library), Brenno::ExceptionLogicError);
  EXPECT_NO_THROW(Brenno::GetSubroutineFunLad(0x10000 + 63, library));
  Brenno::UpdateSubroutineInterface(Symbols(), kMain);  // not a subroutine: nothing
}

TEST_F(LocalVarTableTest, RowOperations) {
  // kSbr0: IN, IN_OUT, OUT, TEMP; at most 8.
  EXPECT_TRUE(Brenno::CanInsertLocalVar(Symbols(), kSbr0, 3));
  EXPECT_FALSE(Brenno::CanInsertLocalVar(Symbols(), kSbr0, 4));
  EXPECT_EQ(Brenno::InsertLocalVar(Symbols(), kSbr0, 4), -1);
  EXPECT_EQ(Brenno::InsertLocalVar(Symbols(), kSbr0, 1), 1);
  EXPECT_EQ(Brenno::InsertLocalVarBelow(Symbols(), kSbr0, 3), 4);
  EXPECT_EQ(Areas(Vars(kSbr0)), (std::vector<int>{0, 1, 1, 2, 2, 3}));

  // Deleting the only IN entry gives a blank IN entry back.
  EXPECT_TRUE(Brenno::SetLocalVarName(Symbols(), kSbr0, 0, L"x"));
  EXPECT_EQ(Brenno::DeleteLocalVars(Symbols(), kSbr0, 0, 1), 0);
  EXPECT_EQ(Areas(Vars(kSbr0)), (std::vector<int>{0, 1, 1, 2, 2, 3}));
  EXPECT_EQ(Brenno::GetLocalVarName(kSbr0, 0), L"");
  EXPECT_EQ(Brenno::DeleteLocalVars(Symbols(), kSbr0, 3, 5), 3);  // both OUT entries
  EXPECT_EQ(Areas(Vars(kSbr0)), (std::vector<int>{0, 1, 1, 2, 3}));
  EXPECT_FALSE(Brenno::CanDeleteLocalVars(kSbr0, 2, 2));
  EXPECT_EQ(Brenno::DeleteLocalVars(Symbols(), kSbr0, 4, 6), -1);

  for (int i = 0; i < 3; ++i) EXPECT_NE(Brenno::InsertLocalVar(Symbols(), kSbr0, 4), -1);
  EXPECT_EQ(Vars(kSbr0).size(), 8u);
  EXPECT_EQ(Brenno::InsertLocalVar(Symbols(), kSbr0, 0), -1);  // the limit

  EXPECT_THROW(Brenno::InsertLocalVar(Symbols(), kSbr1, 0), Brenno::ExceptionLogicError);
  EXPECT_THROW(Brenno::GetLocalVar(kSbr0, 8), Brenno::ExceptionLogicError);
  EXPECT_THROW(Brenno::SetLocalVarType(Symbols(), kSbr0, -1, 1), Brenno::ExceptionLogicError);
}

TEST_F(LocalVarTableTest, SettersAndText) {
  EXPECT_TRUE(Brenno::SetLocalVarName(Symbols(), kSbr0, 1, L"Level"));
  EXPECT_TRUE(Brenno::SetLocalVarType(Symbols(), kSbr0, 1, 5));
  EXPECT_TRUE(Brenno::SetLocalVarComment(Symbols(), kSbr0, 1, L"tank"));
  EXPECT_EQ(Brenno::GetLocalVarArea(kSbr0, 1), 1);
  EXPECT_EQ(Brenno::GetLocalVarType(kSbr0, 1), 5);
  EXPECT_EQ(Brenno::GetLocalVarAddress(kSbr0, 1), L"LW0");
  EXPECT_EQ(Brenno::GetLocalVarComment(kSbr0, 1), L"tank");
  EXPECT_EQ(Brenno::GetSubroutineFunOrg(kSbr0, Project().Instructions).Operands.size(), 1u);

  Vars(kSbr0)[0].CheckFlags = 0;  // would be reset by a normalisation
  EXPECT_FALSE(Brenno::SetLocalVarName(Symbols(), kSbr0, 1, L"Level"));
  EXPECT_FALSE(Brenno::SetLocalVarType(Symbols(), kSbr0, 1, 5));
  EXPECT_FALSE(Brenno::SetLocalVarComment(Symbols(), kSbr0, 1, L"tank"));
  EXPECT_EQ(Vars(kSbr0)[0].CheckFlags, 0);

  std::wstring text = L"old";
  EXPECT_FALSE(Brenno::CopyLocalVarsAsText(Symbols(), kSbr0, 1, 1, text));
  EXPECT_EQ(text, L"old");
  EXPECT_TRUE(Brenno::CopyLocalVarsAsText(Symbols(), kSbr0, 1, 3, text));
  EXPECT_EQ(text, L"LW0\tLevel\tIN_OUT\tINT\ttank\r\n\t\tOUT\tBOOL\t\r\n");
}

}  // namespace
