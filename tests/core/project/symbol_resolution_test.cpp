#include "core/project/symbol_resolution.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

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

// The global lookups go through an index of the table that its validation rebuilds. Every way
// the table changes is followed by lookups in both directions: they find what the table holds
// after the change, never what it held before.
TEST_F(SymbolResolution, LookupsFollowEveryChangeOfTheTable) {
  using Brenno::SymbolTable;
  struct Case {
    const char* change;
    std::function<void(SymbolTable&)> apply;
    // Symbol name -> the address it resolves to (null: it resolves to nothing).
    std::vector<std::pair<const wchar_t*, const wchar_t*>> names;
    // Address -> the symbol it shows as (null: none).
    std::vector<std::pair<const wchar_t*, const wchar_t*>> addresses;
  };
  const auto addPage = [](SymbolTable& table) {
    Brenno::TablePage<VarEntry> page;
    page.Name = L"USR_1";
    page.Address = L"USR1";
    table.Reference.emplace(1, page);
    ASSERT_EQ(Brenno::InsertSymbolTable(table), 1);
    ASSERT_EQ(Brenno::InsertSymbolEntry(table, 1, 0), 0);
    ASSERT_TRUE(Brenno::SetSymbolEntryName(table, 1, 0, L"Fan"));
    ASSERT_TRUE(Brenno::SetSymbolEntryAddress(table, 1, 0, L"Q0.2"));
  };
  // Rows of page 0: Motor Q0.0, Speed VW10 (INT), Both M0.0, Shadow (invalid).
  const std::vector<Case> cases = {
      {"nothing", [](SymbolTable&) {},
       {{L"Motor", L"Q0.0"}, {L"Speed", L"VW10"}, {L"Both", L"M0.0"}, {L"Shadow", nullptr}},
       {{L"Q0.0", L"Motor"}, {L"VW10", L"Speed"}, {L"L0.0", nullptr}}},
      {"rename", [](SymbolTable& t) { ASSERT_TRUE(Brenno::SetSymbolEntryName(t, 0, 0, L"Pump")); },
       {{L"Pump", L"Q0.0"}, {L"Motor", nullptr}, {L"Speed", L"VW10"}},
       {{L"Q0.0", L"Pump"}}},
      {"new address", [](SymbolTable& t) { ASSERT_TRUE(Brenno::SetSymbolEntryAddress(t, 0, 1, L"VW20")); },
       {{L"Speed", L"VW20"}},
       {{L"VW10", nullptr}, {L"VW20", L"Speed"}}},
      {"data type that does not fit the address", [](SymbolTable& t) { ASSERT_TRUE(Brenno::SetSymbolEntryType(t, 0, 1, 0)); },
       {{L"Speed", nullptr}, {L"Motor", L"Q0.0"}},
       {{L"VW10", nullptr}}},
      {"name taken twice", [](SymbolTable& t) { ASSERT_TRUE(Brenno::SetSymbolEntryName(t, 0, 2, L"Motor")); },
       {{L"Motor", nullptr}, {L"Both", nullptr}},
       {{L"Q0.0", nullptr}, {L"M0.0", nullptr}, {L"VW10", L"Speed"}}},
      {"first row deleted", [](SymbolTable& t) { ASSERT_EQ(Brenno::DeleteSymbolEntries(t, 0, 0, 1), 0); },
       {{L"Motor", nullptr}, {L"Speed", L"VW10"}, {L"Both", L"M0.0"}},
       {{L"Q0.0", nullptr}, {L"VW10", L"Speed"}, {L"M0.0", L"Both"}}},
      {"row cut", [](SymbolTable& t) {
         std::wstring text;
         ASSERT_EQ(Brenno::CutSymbolEntriesAsText(t, 0, 1, 2, text), 1);
       },
       {{L"Speed", nullptr}, {L"Motor", L"Q0.0"}, {L"Both", L"M0.0"}},
       {{L"VW10", nullptr}, {L"M0.0", L"Both"}}},
      {"row inserted in front and filled", [](SymbolTable& t) {
         ASSERT_EQ(Brenno::InsertSymbolEntry(t, 0, 0), 0);
         ASSERT_TRUE(Brenno::SetSymbolEntryName(t, 0, 0, L"Valve"));
         ASSERT_TRUE(Brenno::SetSymbolEntryAddress(t, 0, 0, L"Q0.1"));
       },
       {{L"Valve", L"Q0.1"}, {L"Motor", L"Q0.0"}, {L"Both", L"M0.0"}},
       {{L"Q0.1", L"Valve"}, {L"Q0.0", L"Motor"}, {L"M0.0", L"Both"}}},
      {"rows pasted as text", [](SymbolTable& t) {
         ASSERT_EQ(Brenno::PasteSymbolEntriesFromText(t, 0, 1, L"Fan\tQ0.2\tBOOL\t\r\nLevel\tVW12\tINT\t\r\n"), 1);
       },
       {{L"Fan", L"Q0.2"}, {L"Level", L"VW12"}, {L"Speed", L"VW10"}, {L"Both", L"M0.0"}},
       {{L"Q0.2", L"Fan"}, {L"VW12", L"Level"}, {L"M0.0", L"Both"}}},
      {"rows pasted from the clipboard", [](SymbolTable& t) {
         VarEntry entry = Brenno::MakeEmptyVarEntry();
         entry.Name = L"Fan";
         entry.Address = L"Q0.2";
         ASSERT_EQ(Brenno::PasteSymbolEntries(t, 0, 0, {entry}), 0);
       },
       {{L"Fan", L"Q0.2"}, {L"Motor", L"Q0.0"}, {L"Both", L"M0.0"}},
       {{L"Q0.2", L"Fan"}, {L"Q0.0", L"Motor"}}},
      {"page added", addPage,
       {{L"Fan", L"Q0.2"}, {L"Motor", L"Q0.0"}},
       {{L"Q0.2", L"Fan"}, {L"Q0.0", L"Motor"}}},
      // Looked up before the caller revalidates, as a view does when it redraws.
      {"page removed", [](SymbolTable& t) { Brenno::RemoveSymbolTable(t, 0); },
       {{L"Motor", nullptr}, {L"Speed", nullptr}},
       {{L"Q0.0", nullptr}, {L"VW10", nullptr}}},
      {"reset", [](SymbolTable& t) { Brenno::ResetSymbolTable(t, programtest::ExampleSymbolSizes()); },
       {{L"Motor", nullptr}},
       {{L"Q0.0", nullptr}}},
      // A change of PLC type and an open put pages in as a whole and normalise the table.
      {"pages replaced and normalised", [](SymbolTable& t) {
         SymbolTable other = t;
         ASSERT_TRUE(Brenno::SetSymbolEntryName(other, 0, 0, L"Pump"));
         ASSERT_EQ(Brenno::DeleteSymbolEntries(other, 0, 1, 2), 1);
         t.Working = other.Working;
         Brenno::NormalizeSymbolTable(t);
       },
       {{L"Pump", L"Q0.0"}, {L"Motor", nullptr}, {L"Speed", nullptr}, {L"Both", L"M0.0"}},
       {{L"Q0.0", L"Pump"}, {L"VW10", nullptr}, {L"M0.0", L"Both"}}},
      // A row written directly and not yet revalidated is not found under its old text.
      {"row renamed in place", [](SymbolTable& t) { t.GetPage(0)[0].Name = L"Pump"; },
       {{L"Motor", nullptr}, {L"Speed", L"VW10"}},
       {}},
  };
  Symbols().Sizes.SizeItemUser = 64;  // room for the rows the cases add
  const SymbolTable original = Symbols();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.change);
    Symbols() = original;
    c.apply(Symbols());
    for (const auto& [name, address] : c.names) {
      std::wstring text = name;
      EXPECT_EQ(Brenno::LookupSymbolName(text, -1, Symbols()), address != nullptr) << name;
      EXPECT_EQ(text, address != nullptr ? address : name);
    }
    for (const auto& [address, name] : c.addresses) {
      std::wstring text = address;
      EXPECT_EQ(Brenno::LookupOperandSymbol(Symbols(), text, -1), name != nullptr) << address;
      EXPECT_EQ(text, name != nullptr ? name : address);
    }
  }
}

TEST_F(SymbolResolution, ACopyOfTheTableLooksUpItsOwnRows) {
  auto copy = std::make_unique<Brenno::SymbolTable>(Symbols());
  ASSERT_TRUE(Brenno::SetSymbolEntryName(Symbols(), 0, 0, L"Pump"));
  Brenno::SymbolTable second = *copy;
  copy.reset();  // the copy's copy outlives it
  std::wstring text = L"Motor";
  EXPECT_TRUE(Brenno::LookupSymbolName(text, -1, second));
  EXPECT_EQ(text, L"Q0.0");
  EXPECT_TRUE(Brenno::LookupOperandSymbol(second, text, -1));
  EXPECT_EQ(text, L"Motor");
  EXPECT_TRUE(Brenno::LookupOperandSymbol(Symbols(), text = L"Q0.0", -1));
  EXPECT_EQ(text, L"Pump");
}

TEST_F(SymbolResolution, OfTwoCompleteEntriesWithOneTextTheFirstInTableOrderIsFound) {
  // A second complete "Motor" and a second complete Q0.0, as rows read from a file are before
  // the table is validated; the index is rebuilt over them as they stand.
  VarEntry again = Brenno::MakeEmptyVarEntry();
  again.CheckFlags = Brenno::kVarEntryComplete;
  again.Name = L"Motor";
  again.Address = L"Q0.1";
  Symbols().Working.at(0).Rows.push_back(again);
  again.Name = L"Pump";
  again.Address = L"Q0.0";
  Symbols().Working.at(0).Rows.push_back(again);
  for (const bool indexed : {false, true}) {
    if (indexed) Symbols().Index.Rebuild(Symbols().Working);
    std::wstring text = L"Motor";
    EXPECT_TRUE(Brenno::LookupSymbolName(text, -1, Symbols()));
    EXPECT_EQ(text, L"Q0.0");
    EXPECT_TRUE(Brenno::LookupOperandSymbol(Symbols(), text = L"Q0.0", -1));
    EXPECT_EQ(text, L"Motor");
    EXPECT_TRUE(Brenno::LookupSymbolName(text = L"Pump", -1, Symbols()));
    EXPECT_EQ(text, L"Q0.0");
  }
}

TEST_F(SymbolResolution, TheProgramServicesUseTheCurrentProject) {
  std::wstring text = L"&x";
  EXPECT_TRUE(Brenno::CurrentProgramServices().LookupSymbolNamePrefixed(text, kMain));
  EXPECT_EQ(text, L"&L0.0");
  EXPECT_TRUE(Brenno::CurrentProgramServices().LookupOperandSymbolPrefixed(text, kMain));
  EXPECT_EQ(text, L"&#x");
}

}  // namespace
