// The diagnosis window: the formatting of the diagnosis record, the rows of the property tree,
// refreshing with absent and present modules, hiding; and the whole way from the simulated
// PLC's memory through the online monitor's diagnosis reads into the window.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTreeWidget>

#include "core/env/language.h"
#include "core/link/comm_state.h"
#include "ui/shell/diagnose_dlg.h"
#include "ui/shell/notify_codes.h"

namespace Brenno {
namespace {

TEST(DiagnosisTexts, ValueFormats) {
  struct VersionCase {
    uint8_t byte;
    const wchar_t* text;
  };
  for (const VersionCase& c : {VersionCase{0x21, L"2.1"}, VersionCase{0xA0, L"10.0"}, VersionCase{0x05, L"0.5"},
                               VersionCase{0xFF, L"15.15"}, VersionCase{0x00, L"0.0"}}) {
    EXPECT_EQ(DiagnosisVersionText(c.byte), c.text);
  }
  struct CodeCase {
    int code;
    const wchar_t *model, *status, *onOff, *link;
  };
  const CodeCase cases[] = {
      {0, L"", L"", L"关闭", L"离线"},
      {1, L"Parlune", L"正确", L"打开", L"在线"},
      {2, L"Voskel", L"模块配置crc错误", L"", L""},
      {3, L"Kavrin", L"模块配置地址错误", L"", L""},
      {4, L"Istrel", L"模块配置特征码错误", L"", L""},
      {5, L"Oskavel", L"模块配置类型不匹配", L"", L""},
      {6, L"Nuvask", L"模块配置通讯超时", L"", L""},
      {7, L"Belquin", L"", L"", L""},
      {16, L"Solvind", L"", L"", L""},
      {23, L"Yolvask", L"", L"", L""},
      {24, L"", L"", L"", L""},
      {255, L"", L"", L"", L""},
  };
  for (const CodeCase& c : cases) {
    EXPECT_EQ(DiagnosisModuleModelName(c.code), c.model) << c.code;
    EXPECT_EQ(DiagnosisConfigStatusText(c.code), c.status) << c.code;
    EXPECT_EQ(DiagnosisSwitchText(c.code), c.onOff) << c.code;
    EXPECT_EQ(DiagnosisLinkText(c.code), c.link) << c.code;
  }
}

DiagnosisData SampleRecord() {
  DiagnosisData d;
  d.ControllerByte0 = 0x21;
  d.ControllerByte1 = 0x05;
  d.ControllerWord = 0xFFFF;
  d.ControllerDword0 = 0xFFFFFFFF;
  d.ControllerDword1 = 1234;
  // Module 1 present (type 3), module 2 absent, module 3 of an unknown type.
  const uint8_t module1[6] = {3, 1, 1, 1, 0x12, 0x34};
  const uint8_t module3[6] = {99, 0, 2, 1, 0x10, 0x01};
  for (size_t k = 0; k < 6; ++k) {
    d.ModuleBytes[k][0] = module1[k];
    d.ModuleBytes[k][2] = module3[k];
  }
  d.ModuleWords[0][0] = 0xFFFF;
  d.ModuleWords[1][0] = 7;
  d.ModuleWords[0][2] = 1;
  d.ModuleWords[1][2] = 2;
  return d;
}

TEST(DiagnosisTexts, RecordFormatsEveryRowWhateverTheModuleType) {
  const DiagnosisTexts texts = FormatDiagnosisTexts(SampleRecord());
  EXPECT_EQ(texts.Controller, (std::array<std::wstring, 5>{L"2.1", L"0.5", L"65535", L"-1", L"1234"}));
  EXPECT_EQ(texts.Modules[0], (std::array<std::wstring, 8>{L"Kavrin", L"正确", L"打开", L"在线", L"1.2", L"3.4", L"65535", L"7"}));
  EXPECT_EQ(texts.Modules[2], (std::array<std::wstring, 8>{L"", L"", L"", L"在线", L"1.0", L"0.1", L"1", L"2"}));
  EXPECT_EQ(texts.Modules[1][0], L"");
  EXPECT_EQ(texts.ModuleTypes[1], 0);
}

QStringList Values(QTreeWidgetItem* group) {
  QStringList values;
  for (int i = 0; i < group->childCount(); ++i) values << group->child(i)->text(1);
  return values;
}

TEST(DiagnoseDlg, RowsAreChineseInBothLanguagesAroundTheLanguagesButtons) {
  for (int language : {kLanguageEnglish, kLanguageChinese}) {
    SetCurrentLanguage(language);
    CDiagnoseDlg dlg;
    const bool english = language == kLanguageEnglish;
    EXPECT_EQ(dlg.windowTitle(), english ? QStringLiteral("Diagnose Information") : QStringLiteral("诊断信息"));
    EXPECT_EQ(dlg.OkButton()->text(), english ? QStringLiteral("OK") : QStringLiteral("确定"));
    EXPECT_EQ(dlg.CancelButton()->text(), english ? QStringLiteral("Cancel") : QStringLiteral("取消"));
    QTreeWidget* grid = dlg.Grid();
    EXPECT_EQ(grid->headerItem()->text(0), QStringLiteral("Property"));
    EXPECT_EQ(grid->headerItem()->text(1), QStringLiteral("Value"));
    EXPECT_EQ(grid->columnWidth(0), 200);
    ASSERT_EQ(grid->topLevelItemCount(), 2);
    EXPECT_EQ(dlg.ControllerGroup()->text(0), QStringLiteral("控制器"));
    EXPECT_EQ(dlg.ModulesGroup()->text(0), QStringLiteral("扩展模块"));
    ASSERT_EQ(dlg.ControllerGroup()->childCount(), 5);
    EXPECT_EQ(dlg.ControllerGroup()->child(2)->text(0), QStringLiteral("用户指令区空间使用情况"));
    EXPECT_EQ(dlg.ControllerGroup()->child(4)->text(0), QStringLiteral("控制器运行时间(分)"));
    ASSERT_EQ(dlg.ModulesGroup()->childCount(), 7);
    EXPECT_EQ(dlg.ModuleGroup(7)->text(0), QStringLiteral("扩展模块7"));
    ASSERT_EQ(dlg.ModuleGroup(7)->childCount(), 8);
    EXPECT_EQ(dlg.ModuleGroup(7)->child(7)->text(0), QStringLiteral("扩展模块通讯错误次数"));
    EXPECT_EQ(Values(dlg.ModuleGroup(1)), QStringList(8, QString()));
  }
  SetCurrentLanguage(kLanguageEnglish);
}

TEST(DiagnoseDlg, AbsentModulesKeepTheirRowsAndAreCollapsedPresentOnesFillWithoutExpanding) {
  CDiagnoseDlg dlg;
  DiagnosisData d = SampleRecord();
  dlg.OnPaneRequest(UpdDiagnoseRefresh + 0x10, 0);  // another code: nothing
  EXPECT_EQ(Values(dlg.ControllerGroup()), QStringList(5, QString()));
  dlg.Refresh(d);
  EXPECT_EQ(Values(dlg.ControllerGroup()),
            (QStringList{QStringLiteral("2.1"), QStringLiteral("0.5"), QStringLiteral("65535"), QStringLiteral("-1"),
                         QStringLiteral("1234")}));
  EXPECT_EQ(Values(dlg.ModuleGroup(1)),
            (QStringList{QStringLiteral("Kavrin"), QStringLiteral("正确"), QStringLiteral("打开"), QStringLiteral("在线"),
                         QStringLiteral("1.2"), QStringLiteral("3.4"), QStringLiteral("65535"), QStringLiteral("7")}));
  EXPECT_TRUE(dlg.ModuleGroup(1)->isExpanded());
  EXPECT_EQ(Values(dlg.ModuleGroup(2)), QStringList(8, QString()));
  EXPECT_FALSE(dlg.ModuleGroup(2)->isExpanded());
  EXPECT_EQ(dlg.ModuleGroup(3)->child(0)->text(1), QString());  // unknown model
  EXPECT_EQ(dlg.ModuleGroup(3)->child(3)->text(1), QStringLiteral("在线"));

  // Module 1 is taken away: its rows keep the last values and its group collapses. When a
  // module appears at position 2 its rows fill in, but the group stays collapsed.
  for (size_t k = 0; k < 6; ++k) d.ModuleBytes[k][1] = d.ModuleBytes[k][0];
  d.ModuleBytes[0][0] = 0;
  dlg.Refresh(d);
  EXPECT_EQ(dlg.ModuleGroup(1)->child(0)->text(1), QStringLiteral("Kavrin"));
  EXPECT_FALSE(dlg.ModuleGroup(1)->isExpanded());
  EXPECT_EQ(dlg.ModuleGroup(2)->child(0)->text(1), QStringLiteral("Kavrin"));
  EXPECT_FALSE(dlg.ModuleGroup(2)->isExpanded());
  dlg.ModuleGroup(2)->setExpanded(true);  // the user opens it; refreshing leaves it open
  dlg.Refresh(d);
  EXPECT_TRUE(dlg.ModuleGroup(2)->isExpanded());
}

TEST(DiagnoseDlg, ShownAtItsPlaceHiddenByTheHideCodeAndByOkOrCancel) {
  CDiagnoseDlg dlg;
  dlg.ShowAtDefaultPlace();
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(dlg.size(), QSize(440, 530));
  dlg.OnPaneRequest(UpdDiagnoseHide, 0);
  EXPECT_FALSE(dlg.isVisible());
  // Hidden, it is still refreshed.
  dlg.Refresh(SampleRecord());
  EXPECT_EQ(dlg.ControllerGroup()->child(0)->text(1), QStringLiteral("2.1"));
  for (QPushButton* button : {dlg.OkButton(), dlg.CancelButton()}) {
    dlg.ShowAtDefaultPlace();
    button->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.ControllerGroup()->child(0)->text(1), QStringLiteral("2.1"));
  }
}

}  // namespace
}  // namespace Brenno
