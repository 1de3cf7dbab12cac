// The property sheet offscreen: pages opened on the sample pages, fields changed through their
// controls, OK and Cancel, and the page bytes that result.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>

#include "sysblock/model/corvell_app.h"
#include "sysblock/model/modbus_master_image.h"
#include "sysblock/ui/modbus_master_cfg_dlg.h"
#include "sysblock/ui/plc_sub_dlg_controller.h"
#include "sysblock/ui/system_block_dlg.h"
#include "sysblock/ui/system_block_editor.h"
#include "sysblock/ui/system_block_extend_dlg.h"
#include "sysblock/ui/system_block_password_dlg.h"
#include "sysblock/ui/system_block_port_dlg.h"
#include "support/when_modal.h"
#include "ui_test_support.h"

namespace corvell {
namespace {

using test::EnsureApplication;
using test::RecordedMessages;
using testsupport::WhenModal;
using Bytes = std::vector<uint8_t>;

class SheetTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApplication(); }

  // A sheet loaded from the app's current pages and shown on its first page.
  std::unique_ptr<CSystemBlockDlg> OpenSheet() {
    auto sheet = std::make_unique<CSystemBlockDlg>(app.Language);
    LoadPagesToSheet(app.CurrentPages, app.SamplePages, sheet->Fields);
    sheet->show();
    return sheet;
  }
  // OK as the button does it; true when the sheet closed, and the pages are then stored.
  bool PressOk(CSystemBlockDlg& sheet) {
    sheet.OkButton()->click();
    if (sheet.isVisible()) return false;
    StorePagesFromSheet(sheet.Fields, app.SamplePages, app.CurrentPages);
    return true;
  }

  CCorvellApp app;
  RecordedMessages messages;
};

TEST_F(SheetTest, OpensOnTheSystemModulePageWithItsTabsAndButtons) {
  app.SetLang(2);
  auto sheet = OpenSheet();
  EXPECT_EQ(sheet->windowTitle(), QStringLiteral("系统块"));
  ASSERT_EQ(sheet->Tabs()->count(), 3);
  EXPECT_EQ(sheet->Tabs()->tabText(0), QStringLiteral("系统模块"));
  EXPECT_EQ(sheet->Tabs()->tabText(1), QStringLiteral("通讯端口"));
  EXPECT_EQ(sheet->Tabs()->tabText(2), QStringLiteral("系统设置"));
  EXPECT_EQ(sheet->Tabs()->currentIndex(), 0);
  EXPECT_EQ(sheet->OkButton()->text(), QStringLiteral("确认"));
  EXPECT_EQ(sheet->CancelButton()->text(), QStringLiteral("取消"));
}

TEST_F(SheetTest, OkWithoutOpeningAPageStoresTheSamePages) {
  app.CurrentPages = app.SamplePages;
  app.CurrentPages[0][2] = 9;  // out of range: the port page's initial baud index 4 is stored
  app.CurrentPages[1][18] = 9;  // below 10: timed interrupt 0 stays at 200
  app.CurrentPages[5] = {1, 2, 3};
  auto sheet = OpenSheet();
  ASSERT_TRUE(PressOk(*sheet));
  PageMap expected = app.SamplePages;
  expected[0][2] = 4;
  expected[1][18] = 200;
  expected[5] = {1, 2, 3};
  EXPECT_EQ(app.CurrentPages, expected);
}

TEST_F(SheetTest, PortPageEditsAreStoredOnOk) {
  app.CurrentPages = app.SamplePages;
  auto sheet = OpenSheet();
  sheet->Tabs()->setCurrentIndex(1);
  CSystemBlockPortDlg* page = sheet->PortPage();
  EXPECT_EQ(page->ListControl(kPort0ProtocolControl)->itemText(2), QStringLiteral("自由口"));
  EXPECT_EQ(page->ListControl(30102)->currentText(), QStringLiteral("38400 bps"));
  page->EditControl(kPort0PlcAddressControl)->setText(QStringLiteral("17"));
  page->ListControl(30124)->setCurrentIndex(2);  // port 1 parity EVEN
  page->EditControl(kTcpPortControl)->setText(QStringLiteral("502"));
  page->IpControl(0)->Octet(3)->setValue(77);
  ASSERT_TRUE(PressOk(*sheet));
  const Bytes& page0 = app.CurrentPages[0];
  EXPECT_EQ(page0[1], 17);
  EXPECT_EQ(page0[12], 2);
  EXPECT_EQ(page0[16 + 3], 77);
  EXPECT_EQ(page0[28], 502 & 0xFF);
  EXPECT_EQ(page0[29], 502 >> 8);
  EXPECT_TRUE(messages.Texts.empty());
}

TEST_F(SheetTest, PortPageRefusesBadFieldsOfModbusSlavePortsOnly) {
  struct Case {
    int language;
    int protocolControl;
    int protocol;
    int control;
    const char* text;
    const wchar_t* message;  // null: accepted
  };
  const Case cases[] = {
      {1, kPort0ProtocolControl, 0, kPort0PlcAddressControl, "256", L"PLC Address\r\nInput number out of range"},
      {1, kPort1ProtocolControl, 0, kPort1ResponseTimeoutControl, "", L"Response Timeout\r\nPlease input a number"},
      {2, kPort1ProtocolControl, 0, kPort1ResponseTimeoutControl, "", L"响应超时\r\n请输入一个数字"},
      {1, kPort0ProtocolControl, 0, kPort0FrameDelayControl, "0", L"Interval Frame Delay\r\nInput number out of range"},
      {1, kPort0ProtocolControl, 1, kPort0PlcAddressControl, "300", nullptr},
      {1, kPort0ProtocolControl, 2, kPort0PlcAddressControl, "300", nullptr},
      {1, kPort0ProtocolControl, 0, kTcpPortControl, "0", L"Please enter an integer between 1 and 65535."},
      {1, kPort0ProtocolControl, 0, kTcpPortControl, "65536", L"Please enter an integer between 1 and 65535."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    app.SetLang(c.language);
    app.CurrentPages = app.SamplePages;
    messages.Texts.clear();
    auto sheet = OpenSheet();
    sheet->Tabs()->setCurrentIndex(1);
    CSystemBlockPortDlg* page = sheet->PortPage();
    page->ListControl(c.protocolControl)->setCurrentIndex(c.protocol);
    page->EditControl(c.control)->setText(QString::fromUtf8(c.text));
    if (c.message == nullptr) {
      EXPECT_TRUE(PressOk(*sheet));
      EXPECT_TRUE(messages.Texts.empty());
      EXPECT_EQ(app.CurrentPages[0][1], 1) << "the sample's byte for an address out of range";
      continue;
    }
    // Neither another tab nor OK leaves the page.
    sheet->Tabs()->setCurrentIndex(2);
    EXPECT_EQ(sheet->Tabs()->currentIndex(), 1);
    EXPECT_FALSE(PressOk(*sheet));
    ASSERT_EQ(messages.Texts.size(), 2u);
    EXPECT_EQ(messages.Texts[0], c.message);
    EXPECT_EQ(sheet->focusWidget(), page->EditControl(c.control));
  }
}

TEST_F(SheetTest, FreePortHidesTheModbusControlsAndDefaultsBringThemBack) {
  auto sheet = OpenSheet();
  sheet->Tabs()->setCurrentIndex(1);
  CSystemBlockPortDlg* page = sheet->PortPage();
  page->ListControl(kPort0ProtocolControl)->setCurrentIndex(2);
  EXPECT_FALSE(page->ListControl(30102)->isVisible());
  EXPECT_FALSE(page->EditControl(kPort0FrameDelayControl)->isVisible());
  EXPECT_TRUE(page->findChild<QWidget*>(CPropertyPage::ControlName(30110))->isVisible());
  EXPECT_TRUE(page->findChild<QWidget*>(CPropertyPage::ControlName(30116))->isVisible());
  EXPECT_TRUE(page->ListControl(30122)->isVisible()) << "port 1 stays on Modbus slave";
  page->OnDefaults();
  EXPECT_EQ(page->ListControl(kPort0ProtocolControl)->currentIndex(), 0);
  EXPECT_TRUE(page->ListControl(30102)->isVisible());
  EXPECT_FALSE(page->findChild<QWidget*>(CPropertyPage::ControlName(30110))->isVisible());
}

TEST_F(SheetTest, AdvancedOptionsCancelledLeavesTheImageAndOkTakesTheDialogsRecords) {
  app.CurrentPages = app.SamplePages;
  auto sheet = OpenSheet();
  sheet->Tabs()->setCurrentIndex(1);
  CSystemBlockPortDlg* page = sheet->PortPage();
  const Bytes before = sheet->Fields.PortPage.ModbusMasterImage;

  WhenModal([](QDialog& dialog) {
    auto& master = dynamic_cast<CModbusMasterCfgDlg&>(dialog);
    master.AskSlaveAddress = [](int& address) { return address = 5, true; };
    master.Tree()->setCurrentItem(master.PortNode(1));
    master.OnAddSlave();
    dialog.reject();
  });
  page->OnAdvancedOptions();
  EXPECT_EQ(sheet->Fields.PortPage.ModbusMasterImage, before);

  WhenModal([](QDialog& dialog) {
    auto& master = dynamic_cast<CModbusMasterCfgDlg&>(dialog);
    master.AskSlaveAddress = [](int& address) { return address = 5, true; };
    master.AskDataBlock = [](DataBlockFields& values) {
      values.FunctionIndex = 2, values.FirstAddress = 17, values.ReferenceStart = 32, values.Length = 4;
      return true;
    };
    master.Tree()->setCurrentItem(master.PortNode(1));
    master.OnAddSlave();
    master.Tree()->setCurrentItem(master.PortNode(1)->child(0));
    master.OnAddBlock();
    dialog.accept();
  });
  page->OnAdvancedOptions();
  ASSERT_TRUE(PressOk(*sheet));
  const Bytes& page0 = app.CurrentPages[0];
  ASSERT_EQ(page0.size(), 32u + 14 + 8);
  EXPECT_EQ(Bytes(page0.begin() + 32, page0.begin() + 38), (Bytes{0, 1, 0, 1, 1, 1}));
  EXPECT_EQ(Bytes(page0.begin() + 46, page0.end()), (Bytes{5, 3, 16, 0, 32, 0, 4, 0}));
}

TEST_F(SheetTest, SystemConfigPageChecksAndStores) {
  struct Case {
    int control;
    const char* text;
    const wchar_t* message;
    int focus;
  };
  const Case cases[] = {
      {kVerificationControl, "abcd", L"A password(eight word max) must be specified and verified", kPasswordControl},
      {kTimedInterrupt0Control, "9", L"Time Interrupt 0\r\nInput number out of range", kTimedInterrupt0Control},
      {kTimedInterrupt1Control, "", L"Time Interrupt 1\r\nPlease input a number", kTimedInterrupt1Control},
      {kExecutionCycleControl, "501", L"Please enter an integer between 0 and 500.", kExecutionCycleControl},
      {kRetentiveEndControl, "8064", L"Please enter an integer between 0 and 8063.", kRetentiveEndControl},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    app.CurrentPages = app.SamplePages;
    messages.Texts.clear();
    auto sheet = OpenSheet();
    sheet->Tabs()->setCurrentIndex(2);
    CSystemBlockPasswordDlg* page = sheet->PasswordPage();
    page->EditControl(kPasswordControl)->setText(QStringLiteral("abc"));
    page->EditControl(kVerificationControl)->setText(QStringLiteral("abc"));
    page->EditControl(c.control)->setText(QString::fromUtf8(c.text));
    EXPECT_FALSE(PressOk(*sheet));
    ASSERT_EQ(messages.Texts.size(), 1u);
    EXPECT_EQ(messages.Texts[0], c.message);
    EXPECT_EQ(sheet->focusWidget(), page->EditControl(c.focus));
  }

  app.CurrentPages = app.SamplePages;
  messages.Texts.clear();
  auto sheet = OpenSheet();
  sheet->Tabs()->setCurrentIndex(2);
  CSystemBlockPasswordDlg* page = sheet->PasswordPage();
  page->EditControl(kPasswordControl)->setText(QStringLiteral("pw12"));
  page->EditControl(kVerificationControl)->setText(QStringLiteral("pw12"));
  page->EditControl(kExecutionCycleControl)->setText(QStringLiteral("500"));
  page->EditControl(kRetentiveStartControl)->setText(QStringLiteral("5000"));
  page->EditControl(kRetentiveEndControl)->setText(QStringLiteral("100"));
  ASSERT_TRUE(PressOk(*sheet));
  EXPECT_TRUE(messages.Texts.empty());
  EXPECT_EQ(app.CurrentPages[1], (Bytes{'p', 'w', '1', '2', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                        0xFF, 0xFF, 0xFF, 0xFF, 0xF4, 0x01, 200, 200, 0x88, 0x13, 100, 0}));
}

TEST_F(SheetTest, StoredPasswordShowsInBothEditsAndDefaultsKeepTheTypedOne) {
  app.CurrentPages = app.SamplePages;
  Bytes& block = app.CurrentPages[1];
  block[0] = 'a', block[1] = 'b', block[2] = 'c';
  auto sheet = OpenSheet();
  sheet->Tabs()->setCurrentIndex(2);
  CSystemBlockPasswordDlg* page = sheet->PasswordPage();
  EXPECT_EQ(page->EditControl(kPasswordControl)->text(), QStringLiteral("abc"));
  EXPECT_EQ(page->EditControl(kVerificationControl)->text(), QStringLiteral("abc"));
  EXPECT_EQ(page->EditControl(kPasswordControl)->echoMode(), QLineEdit::Password);
  page->EditControl(kPasswordControl)->setText(QStringLiteral("new"));
  page->EditControl(kVerificationControl)->setText(QStringLiteral("new"));
  page->EditControl(kTimedInterrupt0Control)->setText(QStringLiteral("50"));
  page->OnDefaults();
  EXPECT_EQ(page->EditControl(kPasswordControl)->text(), QStringLiteral("new"));
  EXPECT_EQ(page->EditControl(kTimedInterrupt0Control)->text(), QStringLiteral("200"));
  EXPECT_EQ(page->EditControl(kRetentiveEndControl)->text(), QStringLiteral("3071"));
}

TEST_F(SheetTest, ForceStatesAndModulesAreStoredFromTheSystemModulePage) {
  app.CurrentPages = app.SamplePages;
  auto sheet = OpenSheet();
  CSystemBlockExtendDlg* page = sheet->ExtendPage();
  ASSERT_EQ(page->List()->topLevelItemCount(), 1);
  EXPECT_EQ(page->List()->topLevelItem(0)->text(1), QStringLiteral("Drovenk"));
  EXPECT_EQ(page->List()->topLevelItem(0)->text(2), QStringLiteral("I0.0 - I1.5"));
  CPlcSubDlgControllerCls* controller = page->ControllerSubDialog();
  EXPECT_TRUE(controller->isVisible());
  EXPECT_TRUE(controller->Box(13)->isVisible());
  EXPECT_FALSE(controller->Box(14)->isVisible());
  EXPECT_FALSE(controller->Box(32)->isVisible());
  controller->Box(0)->setCheckState(Qt::Checked);    // I0.0 forced on
  controller->Box(1)->setCheckState(Qt::Unchecked);  // I0.1 forced off

  page->OnAddModule(1);  // Parlune
  ASSERT_EQ(page->List()->topLevelItemCount(), 2);
  EXPECT_EQ(page->List()->topLevelItem(1)->text(1), QStringLiteral("Parlune"));
  EXPECT_EQ(page->List()->topLevelItem(1)->text(2), QStringLiteral("I1.6 - I3.5"));
  EXPECT_TRUE(page->SubDialog(1)->isVisible());
  EXPECT_FALSE(controller->isVisible());

  ASSERT_TRUE(PressOk(*sheet));
  Bytes page2(16, 0xFF);
  page2[0] = 0xFC, page2[8] = 0xFE;
  EXPECT_EQ(app.CurrentPages[2], page2);
  const Bytes& page3 = app.CurrentPages[3];
  ASSERT_EQ(page3.size(), 2u + 9 + 15);
  EXPECT_EQ(page3[0], 26);
  EXPECT_EQ(page3[2 + 9 + 1], 1) << "type byte of the added module";
}

TEST_F(SheetTest, ModuleListRefusesANinthModuleAndTheControllersDeletion) {
  app.CurrentPages = app.SamplePages;
  auto sheet = OpenSheet();
  CSystemBlockExtendDlg* page = sheet->ExtendPage();
  for (int i = 0; i < 7; ++i) page->OnAddModule(2);
  EXPECT_TRUE(messages.Texts.empty());
  page->OnAddModule(4);
  ASSERT_EQ(messages.Texts.size(), 1u);
  EXPECT_EQ(messages.Texts[0], L"列表已满!");
  EXPECT_EQ(page->List()->topLevelItemCount(), 8);

  page->List()->topLevelItem(0)->setSelected(true);
  page->List()->topLevelItem(3)->setSelected(true);
  page->OnDeleteModule();
  ASSERT_EQ(messages.Texts.size(), 2u);
  EXPECT_EQ(messages.Texts[1], L"控制器不能被删除!");
  EXPECT_EQ(page->List()->topLevelItemCount(), 8);

  page->List()->clearSelection();
  page->List()->topLevelItem(7)->setSelected(true);
  page->OnDeleteModule();
  EXPECT_EQ(page->List()->topLevelItemCount(), 7);
  EXPECT_EQ(page->CurrentModulePosition, kNoModule);
  for (int t = 0; t <= kMaxModuleType; ++t) EXPECT_FALSE(page->SubDialog(t)->isVisible()) << t;
}

TEST_F(SheetTest, EditorStoresOnOkAndLeavesThePagesOnCancel) {
  app.CurrentPages = app.SamplePages;
  app.CurrentPages[2] = Bytes(15, 0);
  const PageMap pushed = app.CurrentPages;

  WhenModal([](QDialog& dialog) { dialog.reject(); });
  EXPECT_FALSE(RunSystemBlockEditor(app));
  for (int p : {0, 1, 3}) EXPECT_EQ(app.CurrentPages[p], pushed.at(p)) << p;
  EXPECT_EQ(app.CurrentPages[2], Bytes(16, 0xFF)) << "a page 2 of the wrong length is replaced on loading";

  WhenModal([](QDialog& dialog) {
    auto& sheet = dynamic_cast<CSystemBlockDlg&>(dialog);
    sheet.Tabs()->setCurrentIndex(2);
    sheet.PasswordPage()->EditControl(kTimedInterrupt1Control)->setText(QStringLiteral("1,00"));
    sheet.OkButton()->click();
  });
  EXPECT_TRUE(RunSystemBlockEditor(app));
  EXPECT_EQ(app.CurrentPages[1][19], 100);
}

}  // namespace
}  // namespace corvell
