#include "core/project/symbol_resolution.h"

#include <gtest/gtest.h>

#include "core/program/program_test_support.h"
#include "core/project/local_var_table.h"

namespace {

using Brenno::VarEntry;

constexpr int kMain = 0;

VarEntry Local(int type, const wchar_t* name) {
  VarEntry entry = Brenno::MakeAreaVarEntry(Brenno::kVarAreaTemp);
  entry.Type = type;
  entry.Name = name;
  return entry;
}

// Global symbols Motor (Q0.0), Speed (VW10) and Both (M0.0); in the main program the local
// variables x (L0.0), Both (L0.1), Speed2 (LW1) and an invalid one.
class SymbolResolution : public programtest::ProjectFixture {
 protected:
  void SetUp() override {
    ProjectFixture::SetUp();
    testsupport::AddGlobalSymbol(Symbols(), L"Motor", L"Q0.0");
    testsupport::AddGlobalSymbol(Symbols(), L"Speed", L"VW10", 2);
    testsupport::AddGlobalSymbol(Symbols(), L"Both", L"M0.0");
    testsupport::AddGlobalSymbol(Symbols(), L"Shadow", L"L0.0");  // refused: a local address
    Program().GetProgramPage(kMain).LocalVars = {Local(0, L"x"), Local(0, L"Both"), Local(2, L"Speed2"),
                                                 Local(0, L"9bad")};
    Brenno::NormalizeLocalVarTable(kMain, Symbols());
  }

  Brenno::SymbolTable& Symbols() { return Project().Symbols; }

  struct Case {
    const wchar_t* in;
    bool result;
    const wchar_t* out;
  };

  template <class Lookup>
  void Check(const std::vector<Case>& cases, Lookup lookup) {
    for (const Case& c : cases) {
      std::wstring text = c.in;
      EXPECT_EQ(lookup(text), c.result) << c.in;
      EXPECT_EQ(text, c.out) << c.in;
    }
  }
};

TEST_F(SymbolResolution, FixtureIsAsDescribed) {
  const Brenno::LocalVarTable& locals = Program().GetProgramPage(kMain).LocalVars;
  ASSERT_EQ(locals.size(), 4u);
  EXPECT_EQ(locals[1].Address, L"L0.1");
  EXPECT_EQ(locals[2].Address, L"LW1");
  EXPECT_NE(Symbols().GetPage(0)[3].CheckFlags, 31);
}

TEST_F(SymbolResolution, AddressesBecomeSymbols) {
  Check({{L"Q0.0", true, L"Motor"},
         {L"q0.0", true, L"Motor"},     // any accepted form
         {L"VW010", true, L"Speed"},
         {L"M0.0", true, L"Both"},      // a global symbol wins over a local variable
         {L"L0.0", true, L"#x"},
         {L"LW1", true, L"#Speed2"},
         {L"l0.1", true, L"#Both"},
         {L"Q0.1", false, L"Q0.1"},
         {L"vw20", false, L"VW20"},     // canonical rewriting stays
         {L"Speed", false, L"Speed"},   // already a symbol
         {L"x", false, L"#x"},          // a bare local name gets its mark
         {L"Both", false, L"Both"},     // a global name stays unmarked
         {L"#x", false, L"#x"},
         {L"Nothing", false, L"Nothing"},
         {L"9bad", false, L"9bad"},     // invalid entries are never found
         {L"", false, L""}},
        [&](std::wstring& text) { return Brenno::LookupOperandSymbol(Symbols(), text, kMain); });
}

TEST_F(SymbolResolution, SymbolsBecomeAddresses) {
  Check({{L"Motor", true, L"Q0.0"},
         {L"Both", true, L"M0.0"},
         {L"#Both", true, L"L0.1"},
         {L"x", true, L"L0.0"},
         {L"#x", true, L"L0.0"},
         {L"#Motor", false, L"Motor"},  // no such local: the mark is dropped
         {L"#y", false, L"y"},
         {L"Shadow", false, L"Shadow"},
         {L"9bad", false, L"9bad"},
         {L"Q0.0", false, L"Q0.0"},
         {L"", false, L""}},
        [&](std::wstring& text) { return Brenno::LookupSymbolName(text, kMain, Symbols()); });
}

TEST_F(SymbolResolution, PrefixedFormsKeepThePrefix) {
  Check({{L"&Q0.0", true, L"&Motor"},
         {L"*VW10", true, L"*Speed"},
         {L"&L0.0", true, L"&#x"},
         {L"&x", false, L"&#x"},
         {L"&", false, L"&"},
         {L"", false, L""}},
        [&](std::wstring& text) { return Brenno::LookupOperandSymbolPrefixed(text, Symbols(), kMain); });
  Check({{L"&Motor", true, L"&Q0.0"},
         {L"*Speed", true, L"*VW10"},
         {L"&#x", true, L"&L0.0"},
         {L"*#y", false, L"*y"},
         {L"Motor", true, L"Q0.0"}},
        [&](std::wstring& text) { return Brenno::LookupSymbolNamePrefixed(text, Symbols(), kMain); });
}

TEST_F(SymbolResolution, WithoutAUnitOnlyGlobalSymbolsCount) {
  for (const int unit : {-1, 0x10005}) {
    Check({{L"L0.0", false, L"L0.0"}, {L"x", false, L"x"}, {L"Q0.0", true, L"Motor"}},
          [&](std::wstring& text) { return Brenno::LookupOperandSymbol(Symbols(), text, unit); });
    Check({{L"#x", false, L"x"}, {L"x", false, L"x"}, {L"Motor", true, L"Q0.0"}},
          [&](std::wstring& text) { return Brenno::LookupSymbolName(text, unit, Symbols()); });
  }
}

TEST_F(SymbolResolution, FindOperationsChangeTheTextOnlyOnSuccess) {
  std::wstring text = L"VW10";
  EXPECT_TRUE(Brenno::FindGlobalSymbolByAddress(Symbols(), text));
  EXPECT_EQ(text, L"Speed");
  EXPECT_TRUE(Brenno::FindGlobalAddressBySymbol(Symbols(), text));
  EXPECT_EQ(text, L"VW10");
  text = L"vw10";  // no canonical rewriting here
  EXPECT_FALSE(Brenno::FindGlobalSymbolByAddress(Symbols(), text));
  EXPECT_EQ(text, L"vw10");
  text = L"LW1";
  EXPECT_TRUE(Brenno::FindLocalSymbolByAddress(kMain, text));
  EXPECT_EQ(text, L"Speed2");
  EXPECT_TRUE(Brenno::FindLocalAddressBySymbol(kMain, text));
  EXPECT_EQ(text, L"LW1");
  EXPECT_FALSE(Brenno::FindLocalAddressBySymbol(-1, text));
  EXPECT_EQ(text, L"LW1");
}

TEST_F(SymbolResolution, AnIndexOfTheGlobalSymbolsFindsWhatTheTableSearchFinds) {
  // A second complete "Motor" and a second complete Q0.0 (as before validation): the first wins.
  VarEntry again = Brenno::MakeEmptyVarEntry();
  again.CheckFlags = Brenno::kVarEntryComplete;
  again.Name = L"Motor";
  again.Address = L"Q0.1";
  Symbols().Working.at(0).Rows.push_back(again);
  again.Name = L"Pump";
  again.Address = L"Q0.0";
  Symbols().Working.at(0).Rows.push_back(again);

  const Brenno::GlobalSymbolIndex index(Symbols());
  const Brenno::SymbolTable other;
  const Brenno::GlobalSymbolIndex otherIndex(other);  // of another table: not used
  for (const Brenno::GlobalSymbolIndex* globals : {&index, &otherIndex}) {
    for (const int unit : {kMain, -1}) {
      Brenno::SymbolScope indexed = Brenno::CurrentSymbolScope(unit);
      indexed.Globals = globals;
      for (const wchar_t* in : {L"Q0.0", L"q0.0", L"Q0.1", L"VW010", L"M0.0", L"L0.0", L"l0.1", L"vw20", L"Motor",
                                L"Pump", L"Speed", L"Both", L"#Both", L"x", L"#x", L"#Motor", L"Shadow", L"9bad",
                                L"Nothing", L""}) {
        std::wstring expected = in, actual = in;
        EXPECT_EQ(Brenno::LookupOperandSymbol(Symbols(), actual, indexed),
                  Brenno::LookupOperandSymbol(Symbols(), expected, unit))
            << in;
        EXPECT_EQ(actual, expected) << in;
        expected = actual = in;
        EXPECT_EQ(Brenno::LookupSymbolName(actual, indexed, Symbols()), Brenno::LookupSymbolName(expected, unit, Symbols()))
            << in;
        EXPECT_EQ(actual, expected) << in;
      }
    }
  }
  std::wstring text = L"Motor";
  Brenno::SymbolScope scope;
  scope.Globals = &index;
  EXPECT_TRUE(Brenno::LookupSymbolName(text, scope, Symbols()));
  EXPECT_EQ(text, L"Q0.0");
}

TEST_F(SymbolResolution, TheProgramServicesUseTheCurrentProject) {
  std::wstring text = L"&x";
  EXPECT_TRUE(Brenno::CurrentProgramServices().LookupSymbolNamePrefixed(text, kMain));
  EXPECT_EQ(text, L"&L0.0");
  EXPECT_TRUE(Brenno::CurrentProgramServices().LookupOperandSymbolPrefixed(text, kMain));
  EXPECT_EQ(text, L"&#x");
}

}  // namespace
