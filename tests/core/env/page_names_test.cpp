#include "core/env/page_names.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <vector>

using namespace Brenno;

namespace {

struct Page {
  std::wstring name;
  std::wstring address;
  std::wstring comment;
};

// The layout of the project's page tables: working and reference maps by key.
struct Table {
  std::map<int, Page> working;
  std::map<int, Page> reference;
};

// The same through accessors, as a class-style table would offer it.
class AccessorPage {
 public:
  AccessorPage(std::wstring name, std::wstring address) : name_(std::move(name)), address_(std::move(address)) {}
  const std::wstring& Name() const { return name_; }
  const std::wstring& Address() const { return address_; }

 private:
  std::wstring name_, address_;
};

class AccessorTable {
 public:
  std::map<int, AccessorPage> working_, reference_;
  const std::map<int, AccessorPage>& WorkingPages() const { return working_; }
  const std::map<int, AccessorPage>& ReferencePages() const { return reference_; }
};

// And with capitalised fields.
struct FieldPage {
  std::wstring Name;
  std::wstring Address;
};
struct FieldTable {
  std::map<int, FieldPage> Working, Reference;
};

// Data blocks DAT0..DAT3 allowed, DAT1 and DAT3 in use.
Table DataBlocks() {
  Table table;
  for (int i = 0; i < 4; ++i) table.reference[i] = {L"DAT_" + std::to_wstring(i), L"DAT" + std::to_wstring(i), L""};
  table.working[1] = {L"DAT_1", L"DAT1", L""};
  table.working[3] = {L"DAT_3", L"DAT3", L""};
  return table;
}

// Subroutines SBR0..SBR3 allowed; 0 and 2 in use, 2 renamed by the user.
Table Subroutines() {
  Table table;
  for (int i = 0; i < 4; ++i) {
    const int key = SubroutineUnitKey(i);
    table.reference[key] = {DefaultProgramUnitName(key), ProgramUnitAddress(key), L""};
  }
  table.working[SubroutineUnitKey(0)] = {L"SBR_0", L"SBR0", L""};
  table.working[SubroutineUnitKey(2)] = {L"Motor", L"SBR2", L""};
  return table;
}

}  // namespace

TEST(PageNames, ProgramUnitKeysNamesAndAddresses) {
  struct Case {
    int key;
    std::wstring name;
    std::wstring address;
  };
  const Case cases[] = {
      {kMainProgramKey, L"MAIN", L"INT0"},
      {InterruptUnitKey(5), L"INT_5", L"INT5"},
      {SubroutineUnitKey(0), L"SBR_0", L"SBR0"},
      {SubroutineUnitKey(12), L"SBR_12", L"SBR12"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DefaultProgramUnitName(c.key), c.name);
    EXPECT_EQ(ProgramUnitAddress(c.key), c.address);
  }
  EXPECT_EQ(SubroutineUnitKey(3), 0x10003);
  EXPECT_TRUE(IsSubroutineUnitKey(0x10003));
  EXPECT_FALSE(IsSubroutineUnitKey(3));
  EXPECT_EQ(ProgramUnitNumber(0x10003), 3);
}

TEST(PageNames, NormalizeNumberedNameRewritesTrailingDigits) {
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"SBR_003", L"SBR_3"}, {L"DAT003", L"DAT3"}, {L"A00", L"A0"},     {L"7", L"7"},
      {L"007", L"07"},        {L"", L""},           {L"X-12", L"X-12"},  {L"MAIN", L"MAIN"},
      {L"T2147483647", L"T2147483647"},             {L"T2147483648", L"T"},
      {L"DAT00000000000000000001", L"DAT1"},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(NormalizeNumberedName(text), expected) << text;
}

TEST(PageNames, LookupsByKeyAddressAndName) {
  const Table table = DataBlocks();
  std::wstring text = L"stale";
  EXPECT_TRUE(GetPageAddressByKey(table, 3, kWorkingPages, text));
  EXPECT_EQ(text, L"DAT3");
  EXPECT_TRUE(GetPageNameByKey(table, 2, kReferencePages, text));
  EXPECT_EQ(text, L"DAT_2");
  EXPECT_FALSE(GetPageNameByKey(table, 2, kWorkingPages, text));
  EXPECT_EQ(text, L"");

  struct Case {
    bool by_address;
    std::wstring text;
    bool working;
    int key;
  };
  const Case cases[] = {
      {true, L"DAT3", kWorkingPages, 3},   {true, L"DAT003", kWorkingPages, 3}, {true, L"dat3", kWorkingPages, -1},
      {true, L"DAT2", kWorkingPages, -1},  {true, L"DAT02", kReferencePages, 2},
      {false, L"DAT_3", kWorkingPages, 3}, {false, L"DAT_03", kWorkingPages, -1}, {false, L"DAT_3 ", kWorkingPages, -1},
      {false, L"DAT_0", kReferencePages, 0},
  };
  for (const Case& c : cases) {
    bool found = c.key == -1;  // the opposite of the answer, so the test sees it written
    const int key = c.by_address ? FindPageKeyByAddress(table, c.text, c.working, &found)
                                 : FindPageKeyByName(table, c.text, c.working, &found);
    EXPECT_EQ(key, c.key) << c.text;
    EXPECT_EQ(found, c.key != -1) << c.text;
  }
  EXPECT_EQ(FindPageKeyByAddress(table, L"DAT1", kWorkingPages), 1);  // found flag may be omitted

  AccessorTable accessors;
  accessors.working_.emplace(4, AccessorPage(L"Pump", L"SBR4"));
  EXPECT_EQ(FindPageKeyByAddress(accessors, L"SBR04", kWorkingPages), 4);
  EXPECT_EQ(FindPageKeyByName(accessors, L"Pump", kReferencePages), -1);

  FieldTable fields;
  fields.Working[6] = {L"Fan", L"SBR6"};
  EXPECT_EQ(DescribeTablePageKey(fields, 6), L"Fan (SBR6)");
  EXPECT_EQ(FindPageKeyByName(fields, L"Fan", kWorkingPages), 6);
}

TEST(PageNames, ReplacementsChangeTheTextOnlyOnSuccess) {
  const Table table = Subroutines();
  using Replace = bool (*)(const Table&, std::wstring&);
  struct Case {
    Replace replace;
    std::wstring text;
    bool ok;
    std::wstring after;
  };
  const Case cases[] = {
      {ReplacePageAddressByName<Table>, L"SBR0", true, L"SBR_0"},
      {ReplacePageAddressByName<Table>, L"SBR002", true, L"Motor"},
      {ReplacePageAddressByName<Table>, L"SBR9", false, L"SBR9"},
      {ReplacePageAddressByName<Table>, L"SBR1", false, L"SBR1"},  // allowed but not in use
      {ReplacePageNameByAddress<Table>, L"Motor", true, L"SBR2"},
      {ReplacePageNameByAddress<Table>, L"SBR_2", false, L"SBR_2"},
      {ReplacePageNameByAddress<Table>, L"motor", false, L"motor"},
      {ReplaceReferenceNameByPageName<Table>, L"SBR_2", true, L"Motor"},
      {ReplaceReferenceNameByPageName<Table>, L"SBR_02", true, L"Motor"},
      {ReplaceReferenceNameByPageName<Table>, L"SBR_1", false, L"SBR_1"},
      {ReplacePageNameByReferenceName<Table>, L"Motor", true, L"SBR_2"},
      {ReplacePageNameByReferenceName<Table>, L"SBR_0", true, L"SBR_0"},
      {ReplacePageNameByReferenceName<Table>, L"Pump", false, L"Pump"},
  };
  for (const Case& c : cases) {
    std::wstring text = c.text;
    EXPECT_EQ(c.replace(table, text), c.ok) << c.text;
    EXPECT_EQ(text, c.after) << c.text;
  }
}

TEST(PageNames, DescriptionsAndDisplayTexts) {
  const Table data = DataBlocks();
  EXPECT_EQ(DescribeTablePageKey(data, 1), L"DAT_1 (DAT1)");
  EXPECT_EQ(DescribeTablePageKey(data, 2), L"");
  const Table subroutines = Subroutines();
  std::wstring text = L"stale";
  EXPECT_TRUE(DescribeProgramPageKey(subroutines, SubroutineUnitKey(2), text));
  EXPECT_EQ(text, L"Motor (SBR2)");
  EXPECT_FALSE(DescribeProgramPageKey(subroutines, SubroutineUnitKey(1), text));
  EXPECT_EQ(text, L"");

  EXPECT_EQ(IndentText(L"MAIN (INT0)"), L"    MAIN (INT0)");
  for (const auto& [value, expected] : {std::pair{-5, L"-5"}, std::pair{0, L"0"}, std::pair{INT_MIN, L"-2147483648"}}) {
    EXPECT_TRUE(IntToText(value, text));
    EXPECT_EQ(text, expected);
  }

  std::vector<TextRun> runs = {TextRun(L"LD", 2), TextRun(L"I0.0", 9)};
  EXPECT_EQ(&MakeTextRun(L"A", runs[1], 4), &runs[1]);
  EXPECT_EQ(runs[1], TextRun(L"A", 4));
  DestroyTextRuns(runs.begin(), runs.end());
  EXPECT_TRUE(runs[0].text.empty());
  EXPECT_TRUE(runs[1].text.empty());
  EXPECT_EQ(runs[0].colour, 2);
}
