// Program unit passwords: the password word, the two tables and the lock test, and the input
// and set dialogs run offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "core/link/app_environment.h"
#include "tests/ui/shell/scripted_message_facade.h"
#include "ui/shell/unit_password.h"
#include "ui/shell/unit_password_dlgs.h"

namespace Brenno {
namespace {

constexpr int kSubroutine3 = 0x10003;

// Runs `act` on the dialog of that class once it is the open modal dialog.
template <typename Dialog>
void WhenShown(std::function<void(Dialog*)> act, int tries = 200) {
  QTimer::singleShot(0, [act, tries] {
    if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
      act(dialog);
    } else if (tries > 0) {
      WhenShown<Dialog>(act, tries - 1);
    } else {
      ADD_FAILURE() << "the dialog did not open";
    }
  });
}

TEST(UnitPassword, WordKeepsLeadingZerosAndLength) {
  struct Case {
    const wchar_t* text;
    uint32_t word;
    const wchar_t* back;
  };
  const Case cases[] = {
      {L"007", 7u | 3u << 28 | kPasswordSetFlag, L"007"},
      {L"7", 7u | 1u << 28 | kPasswordSetFlag, L"7"},
      {L"99999999", 99999999u | 8u << 28 | kPasswordSetFlag, L"99999999"},
      {L"00000000", 8u << 28 | kPasswordSetFlag, L"00000000"},
      // Other characters end the number; the length still counts them.
      {L"12ab", 12u | 4u << 28 | kPasswordSetFlag, L"0012"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PasswordWordFromText(c.text), c.word) << c.text;
    EXPECT_EQ(PasswordTextFromWord(c.word), c.back) << c.text;
  }
  EXPECT_EQ(PasswordTextFromWord(0), L"");
  EXPECT_EQ(PasswordTextFromWord(7u | 1u << 28), L"");  // no set flag
}

TEST(UnitPassword, SlotsTablesAndLock) {
  EXPECT_FALSE(HasPasswordSlot(0));        // the main program
  EXPECT_FALSE(HasPasswordSlot(5));        // an interrupt routine
  EXPECT_TRUE(HasPasswordSlot(0x10000));
  EXPECT_TRUE(HasPasswordSlot(0x1001F));
  EXPECT_FALSE(HasPasswordSlot(0x10020));  // unit 32 has no slot

  AppEnvironment env;
  UnitPasswordTable(env, kSubroutine3).Set(0x38000007);
  // Unit 3 is the fourth little-endian word of the 128-byte table.
  EXPECT_EQ(env.PasswordTable1[12], 0x07);
  EXPECT_EQ(env.PasswordTable1[15], 0x38);
  EXPECT_EQ(PasswordWordAt(env.PasswordTable1, 3), 0x38000007u);
  EXPECT_TRUE(IsUnitLocked(env, kSubroutine3));
  EnteredPasswordTable(env, kSubroutine3).Set(0x38000007);
  EXPECT_FALSE(IsUnitLocked(env, kSubroutine3));
  // No slot: reads 0, writes nothing, never locked.
  UnitPasswordTable(env, 0x10020).Set(0xFFFFFFFF);
  EXPECT_EQ(UnitPasswordTable(env, 0x10020).Get(), 0u);
  for (int i = 0; i < 128; ++i) {
    if (i < 12 || i > 15) {
      EXPECT_EQ(env.PasswordTable1[static_cast<size_t>(i)], 0) << i;
    }
  }
  EXPECT_FALSE(IsPasswordLocked(7u | 1u << 28, 0));  // no set flag: no password

  EXPECT_EQ(CheckPasswordInput(L""), PasswordInputCheck::Empty);
  EXPECT_EQ(CheckPasswordInput(L"123456789"), PasswordInputCheck::TooLong);
  EXPECT_EQ(CheckPasswordSet(true, L"12", L"13"), PasswordSetCheck::Mismatch);
  EXPECT_EQ(CheckPasswordSet(true, L"", L""), PasswordSetCheck::Empty);
  EXPECT_EQ(CheckPasswordSet(false, L"12", L"13"), PasswordSetCheck::Ok);
}

TEST(UnitPasswordDialogs, LeadingZerosSurviveAndOnlyTheFullTextUnlocks) {
  shelltest::ScriptedMessageFacade facade;
  AppEnvironment env;
  // Set "007": the unit is protected and stays open for the user who set it.
  WhenShown<CDlgPassSet>([&](CDlgPassSet* dialog) {
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("密码保护"));
    EXPECT_FALSE(dialog->ProtectBox()->isChecked());
    EXPECT_FALSE(dialog->PasswordEdit()->isEnabled());
    dialog->ProtectBox()->click();
    EXPECT_TRUE(dialog->PasswordEdit()->isEnabled());
    dialog->PasswordEdit()->setText(QStringLiteral("007"));
    dialog->ConfirmationEdit()->setText(QStringLiteral("07"));
    dialog->accept();  // mismatch: stays open
    EXPECT_TRUE(dialog->isVisible());
    dialog->ConfirmationEdit()->setText(QStringLiteral("007"));
    dialog->findChild<QPushButton*>(QStringLiteral("IDOK"))->click();
  });
  ASSERT_TRUE(RunPasswordProtect(nullptr, env, kSubroutine3));
  ASSERT_EQ(facade.asked.size(), 2u);
  EXPECT_EQ(facade.asked[0].Text, L"密码不一致，请重新输入密码!");
  EXPECT_EQ(facade.asked[0].Icon, MessageIcon::Exclamation);
  EXPECT_EQ(facade.asked[1].Text, L"设置成功");
  EXPECT_EQ(facade.asked[1].Icon, MessageIcon::Asterisk);  // an information, not a warning
  EXPECT_EQ(UnitPasswordTable(env, kSubroutine3).Get(), PasswordWordFromText(L"007"));
  EXPECT_FALSE(IsUnitLocked(env, kSubroutine3));

  // The editor frame closed: the entered words are gone and the unit is locked.
  env.PasswordTable2.fill(0);
  ASSERT_TRUE(IsUnitLocked(env, kSubroutine3));
  // Reopening the set dialog shows the zeros in both boxes.
  CDlgPassSet reopened(nullptr, UnitPasswordTable(env, kSubroutine3), EnteredPasswordTable(env, kSubroutine3));
  EXPECT_TRUE(reopened.ProtectBox()->isChecked());
  EXPECT_EQ(reopened.PasswordEdit()->text(), QStringLiteral("007"));
  EXPECT_EQ(reopened.ConfirmationEdit()->text(), QStringLiteral("007"));

  facade.asked.clear();
  // "7" is a wrong password: reported, the dialog still ends with OK, the unit stays locked.
  for (const char* typed : {"", "7", "007"}) {
    WhenShown<CDlgPassInput>([typed](CDlgPassInput* dialog) {
      EXPECT_EQ(dialog->windowTitle(), QStringLiteral("输入密码"));
      dialog->Edit()->setText(QString::fromLatin1(typed));
      dialog->accept();
      if (dialog->isVisible()) dialog->reject();  // the empty text kept it open
    });
    const bool accepted = RunPasswordInput(nullptr, env, kSubroutine3);
    EXPECT_EQ(accepted, *typed != '\0') << typed;
    EXPECT_EQ(IsUnitLocked(env, kSubroutine3), std::string(typed) != "007") << typed;
  }
  ASSERT_EQ(facade.asked.size(), 2u);
  EXPECT_EQ(facade.asked[0].Text, L"密码不得为空!");
  EXPECT_EQ(facade.asked[1].Text, L"密码校验错误");
}

TEST(UnitPasswordDialogs, ProtectCommandUnlocksFirstAndClearingRemovesThePassword) {
  shelltest::ScriptedMessageFacade facade;
  AppEnvironment env;
  UnitPasswordTable(env, kSubroutine3).Set(PasswordWordFromText(L"42"));
  // Locked: Cancel in the input dialog ends the command before the set dialog.
  WhenShown<CDlgPassInput>([](CDlgPassInput* dialog) { dialog->reject(); });
  EXPECT_FALSE(RunPasswordProtect(nullptr, env, kSubroutine3));
  // A wrong password ends it too.
  WhenShown<CDlgPassInput>([](CDlgPassInput* dialog) {
    dialog->Edit()->setText(QStringLiteral("41"));
    dialog->accept();
  });
  EXPECT_FALSE(RunPasswordProtect(nullptr, env, kSubroutine3));
  EXPECT_EQ(facade.asked.back().Text, L"密码校验错误");
  // The right one leads to the set dialog, where clearing the box removes the password.
  WhenShown<CDlgPassInput>([](CDlgPassInput* input) {
    input->Edit()->setText(QStringLiteral("42"));
    WhenShown<CDlgPassSet>([](CDlgPassSet* set) {
      EXPECT_TRUE(set->ProtectBox()->isChecked());
      set->ProtectBox()->click();
      EXPECT_FALSE(set->PasswordEdit()->isEnabled());
      set->accept();
    });
    input->accept();
  });
  EXPECT_TRUE(RunPasswordProtect(nullptr, env, kSubroutine3));
  EXPECT_EQ(UnitPasswordTable(env, kSubroutine3).Get(), 0u);
  EXPECT_EQ(EnteredPasswordTable(env, kSubroutine3).Get(), 0u);
  EXPECT_FALSE(IsUnitLocked(env, kSubroutine3));
  // A checked box with an empty password is refused.
  facade.asked.clear();
  WhenShown<CDlgPassSet>([](CDlgPassSet* set) {
    set->ProtectBox()->click();
    set->accept();
    EXPECT_TRUE(set->isVisible());
    set->reject();
  });
  EXPECT_FALSE(RunPasswordProtect(nullptr, env, kSubroutine3));
  ASSERT_EQ(facade.asked.size(), 1u);
  EXPECT_EQ(facade.asked[0].Text, L"密码不得为空!");
  EXPECT_EQ(UnitPasswordTable(env, kSubroutine3).Get(), 0u);
  // Pages without a slot are not protected.
  EXPECT_FALSE(RunPasswordProtect(nullptr, env, 0));
}

}  // namespace
}  // namespace Brenno
