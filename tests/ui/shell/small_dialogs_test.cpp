// The small dialogs: the scan count check, the type lookup, and the dialogs run offscreen.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <list>

#include "core/env/language.h"
#include "core/env/plc_type.h"
#include "tests/ui/shell/scripted_message_facade.h"
#include "ui/shell/small_dialogs.h"

namespace Brenno {
namespace {

TEST(SmallDialogs, ScanCountCheck) {
  struct Case {
    const wchar_t* text;
    ScanCountCheck check;
    int count;
  };
  const Case cases[] = {
      {L"1", ScanCountCheck::Ok, 1},           {L"255", ScanCountCheck::Ok, 255},
      {L"1,0", ScanCountCheck::Ok, 10},        {L"  +7 scans", ScanCountCheck::Ok, 7},
      {L"0", ScanCountCheck::OutOfRange, 0},   {L"256", ScanCountCheck::OutOfRange, 0},
      {L"-3", ScanCountCheck::OutOfRange, 0},  {L"99999999999999999999", ScanCountCheck::OutOfRange, 0},
      {L"abc", ScanCountCheck::NoNumber, 0},   {L"", ScanCountCheck::NoNumber, 0},
      {L",,", ScanCountCheck::NoNumber, 0},    {L"- 5", ScanCountCheck::NoNumber, 0},
  };
  for (const Case& c : cases) {
    uint8_t count = 0;
    EXPECT_EQ(CheckScanCountText(c.text, &count), c.check) << c.text;
    EXPECT_EQ(count, c.count) << c.text;
  }
  SetCurrentLanguage(kLanguageEnglish);
  EXPECT_EQ(ScanCountMessage(ScanCountCheck::OutOfRange), L"Execute Scans\r\nInput number out of range");
  EXPECT_EQ(ScanCountMessage(ScanCountCheck::NoNumber), L"Execute Scans\r\nPlease input a number");
  EXPECT_EQ(ScanCountMessage(ScanCountCheck::Ok), L"");
}

// Runs `act` on the dialog once its modal loop has started.
void WhenOpen(const std::function<void()>& act) { QTimer::singleShot(0, act); }

TEST(SmallDialogs, ScansDialogRefusesOutOfRangeAndAcceptsTheCheckedCount) {
  SetCurrentLanguage(kLanguageEnglish);
  shelltest::ScriptedMessageFacade facade;
  CMainExecuteScansDlg dialog(nullptr, 1);
  EXPECT_EQ(dialog.Edit()->text(), QStringLiteral("1"));
  WhenOpen([&] {
    dialog.Edit()->setText(QStringLiteral("256"));
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());  // refused, the dialog stays open
    dialog.Edit()->setText(QStringLiteral("1,0"));
    dialog.findChild<QPushButton*>(QStringLiteral("IDOK"))->click();
  });
  ASSERT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(dialog.Count(), 10);
  ASSERT_EQ(facade.asked.size(), 1u);
  EXPECT_EQ(facade.asked[0].Icon, MessageIcon::Hand);
  EXPECT_EQ(facade.asked[0].Text, L"Execute Scans\r\nInput number out of range");
}

TEST(SmallDialogs, PasswordAndInputStringDialogs) {
  CMainPasswordDlg password(nullptr);
  EXPECT_EQ(password.Edit()->echoMode(), QLineEdit::Password);
  EXPECT_EQ(password.Edit()->maxLength(), 8);
  CMainInputStrDlg input(nullptr, L"Please input the symbol:", L"old");
  WhenOpen([&] {
    input.Edit()->setText(QString());
    input.accept();
  });
  ASSERT_EQ(input.exec(), QDialog::Accepted);
  EXPECT_EQ(input.Text(), L"");
}

TEST(SmallDialogs, PlcTypeDialogShowsItemNamesWholeInBothLanguages) {
  for (int language : {kLanguageEnglish, kLanguageChinese}) {
    SetCurrentLanguage(language);
    std::list<PlcType> catalog;
    PlcType& type = catalog.emplace_back();
    type.Description.Name = L"T1";
    type.Description.Items = {{PickText(L"Order number", L"订货号"), L"FDR-CM3-0001"},
                              {PickText(L"Program memory of the controller", L"控制器的程序存储器"), L"16#8000"}};
    CMainPlcTypeDlg dialog(nullptr, catalog, &catalog.front());
    dialog.show();
    EXPECT_GE(dialog.Items()->columnWidth(0), static_cast<const QAbstractItemView*>(dialog.Items())->sizeHintForColumn(0))
        << language;
  }
  SetCurrentLanguage(kLanguageEnglish);
}

TEST(SmallDialogs, PlcTypeDialogShowsTheChosenTypeAndLookupNeedsAKnownName) {
  std::list<PlcType> catalog;
  for (const wchar_t* name : {L"T1", L"T2"}) {
    PlcType& type = catalog.emplace_back();
    type.Description.Name = name;
    type.Description.Information = std::wstring(name) + L" info";
    type.MemoryAreas.ModbusAddressList = std::wstring(name) + L" memory";
    type.Instructions.StlInstructionText = std::wstring(name) + L" LD";
  }
  catalog.back().Description.Items = {{L"a", L"1"}, {L"b", L"2"}};
  EXPECT_EQ(FindPlcTypeIndex(catalog, L"T2"), 1);
  EXPECT_EQ(FindPlcTypeIndex(catalog, L"T3"), -1);
  std::wstring name = L"T3";
  EXPECT_FALSE(AskPlcType(nullptr, catalog, name));
  EXPECT_EQ(name, L"T3");

  CMainPlcTypeDlg dialog(nullptr, catalog, &catalog.front());
  EXPECT_EQ(dialog.TypeList()->currentIndex(), 0);
  EXPECT_EQ(dialog.Items()->topLevelItemCount(), 0);
  EXPECT_EQ(dialog.MemoryText()->toPlainText(), QStringLiteral("T1 memory"));
  WhenOpen([&] {
    dialog.TypeList()->setCurrentIndex(1);
    emit dialog.TypeList()->activated(1);
    EXPECT_EQ(dialog.Items()->topLevelItemCount(), 2);
    EXPECT_EQ(dialog.Items()->topLevelItem(1)->text(1), QStringLiteral("2"));
    EXPECT_EQ(dialog.MemoryText()->toPlainText(), QStringLiteral("T2 memory"));
    EXPECT_EQ(dialog.InstructionText()->toPlainText(), QStringLiteral("T2 LD"));
    dialog.accept();
  });
  ASSERT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(dialog.Selected(), &catalog.back());
}

}  // namespace
}  // namespace Brenno
