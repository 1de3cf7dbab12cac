// The sub-dialogs of the digital extension modules on the "System module" page, offscreen: a
// module is added, its controls are changed, and the record rebuilt on commit is compared byte
// by byte; Default and loading a stored record are seen through the controls.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/crc16.h"
#include "sysblock/model/modules/module_list_page.h"
#include "sysblock/ui/plc_sub_dlg_digital.h"
#include "sysblock/ui/property_page.h"
#include "sysblock/ui/system_block_extend_dlg.h"
#include "module_page_fixture.h"
#include "ui_test_support.h"

namespace corvell {
namespace {

using Bytes = std::vector<uint8_t>;

class DigitalModuleDialogTest : public test::ModulePageTest {
 public:
  // Bytes first..last of record `row`.
  Bytes Params(size_t row, size_t first, size_t last) const {
    return Bytes(modules_.at(row).begin() + first, modules_.at(row).begin() + last + 1);
  }
};

// Record length, the last parameter byte the CRC covers, and the parameter bytes of a new
// module.
struct NewModuleCase {
  uint8_t type;
  size_t length;
  size_t crcLast;
  Bytes params;
  const char* outerCaption;
  int outerId;  // 0: the outer group box has no id
  int defaultId;
};

const std::vector<NewModuleCase> kNewModules = {
    {1, 15, 12, {2, 2, 0xFF, 0xFF, 0xFF, 0xFF}, "Parlune", 30518, 30519},
    {13, 21, 18, {2, 2, 2, 2, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "Fennick", 30518, 30519},
    {2, 17, 10, {0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0}, "Voskel", 30524, 30525},
    {7, 17, 14, Bytes(8, 0xFF), "Belquin", 30741, 30742},
    {8, 17, 14, Bytes(8, 0xFF), "Dorvane", 30786, 30787},
    {14, 25, 22, Bytes(16, 0xFF), "Glostra", 30741, 50051},
    {20, 16, 12, {2, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "Hulvern", 0, 30519},
};

TEST_F(DigitalModuleDialogTest, NewModulesShowTheirDialogAndStoreTheConstructionValues) {
  for (int language : {1, 2}) {
    for (const NewModuleCase& c : kNewModules) {
      SCOPED_TRACE(testing::Message() << "type " << int(c.type) << " language " << language);
      CSystemBlockExtendDlg& page = OpenPage(language);
      page.OnAddModule(c.type);
      ASSERT_EQ(modules_.size(), 2u);
      const Bytes& record = modules_[1];
      ASSERT_EQ(record.size(), c.length);
      EXPECT_EQ(Params(1, 7, c.length - 3), c.params);
      EXPECT_EQ(StoredCrc(record), platform::Crc16Modbus(record.data() + 7, c.crcLast - 6));
      EXPECT_TRUE(Dialog(c.type).isVisible());
      EXPECT_TRUE(dynamic_cast<CDigitalModuleSubDlg*>(&Dialog(c.type)) != nullptr);
      QGroupBox* outer = Dialog(c.type).findChild<QGroupBox*>();
      ASSERT_NE(outer, nullptr);
      EXPECT_EQ(outer->title(), QString::fromLatin1(c.outerCaption));
      if (c.outerId != 0) {
        EXPECT_EQ(outer->objectName(), CPropertyPage::ControlName(c.outerId));
      }
      QPushButton* defaults = Ctl<QPushButton>(c.type, c.defaultId);
      ASSERT_NE(defaults, nullptr);
      EXPECT_EQ(defaults->text(), language == 1 ? QStringLiteral("Default") : QStringLiteral("默认"));
      // Committing without a change keeps the record.
      ASSERT_TRUE(page.CommitCurrentModule());
      EXPECT_EQ(modules_[1], record);
    }
  }
}

// A change made through the controls, and the parameter bytes it gives on commit.
struct ChangeCase {
  const char* name;
  uint8_t type;
  std::function<void(DigitalModuleDialogTest&)> change;
  size_t first;
  Bytes expected;
  bool crcChanges;
};

TEST_F(DigitalModuleDialogTest, ControlChangesReachTheRecordOnCommit) {
  using T = DigitalModuleDialogTest;
  const std::vector<ChangeCase> cases = {
      {"Parlune input 0 ticked, input 1 cleared, 5 ms for inputs 0-7", 1,
       [](T& t) {
         t.Ctl<QCheckBox>(1, 30662)->setCheckState(Qt::Checked);
         t.Ctl<QCheckBox>(1, 30663)->setCheckState(Qt::Unchecked);
         t.Ctl<QComboBox>(1, 30633)->setCurrentIndex(0);
       },
       7, {0, 2, 0xFC, 0xFF, 0xFE, 0xFF}, true},
      {"Parlune input 15 clicked once: indeterminate to cleared", 1,
       [](T& t) { t.Ctl<QCheckBox>(1, 30677)->click(); }, 9, {0xFF, 0x7F, 0xFF, 0xFF}, true},
      {"Parlune input 15 clicked twice: cleared to ticked", 1,
       [](T& t) {
         for (int i = 0; i < 2; ++i) t.Ctl<QCheckBox>(1, 30677)->click();
       },
       9, {0xFF, 0x7F, 0xFF, 0x7F}, true},
      {"Parlune input 15 clicked three times: back to indeterminate", 1,
       [](T& t) {
         for (int i = 0; i < 3; ++i) t.Ctl<QCheckBox>(1, 30677)->click();
       },
       9, {0xFF, 0xFF, 0xFF, 0xFF}, false},
      {"Fennick 5, 10, 20, 40 ms stored from the highest group", 13,
       [](T& t) {
         for (int g = 0; g < 4; ++g) t.Ctl<QComboBox>(13, 50011 + g)->setCurrentIndex(g);
       },
       7, {3, 2, 1, 0}, true},
      {"Fennick input 31 ticked", 13, [](T& t) { t.Ctl<QCheckBox>(13, 50050)->setCheckState(Qt::Checked); }, 11,
       {0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x7F}, true},
      {"Voskel force of output 0 ticked leaves the CRC", 2,
       [](T& t) { t.Ctl<QCheckBox>(2, 30681)->setCheckState(Qt::Checked); }, 7,
       {0xFF, 0, 0xFF, 0, 0xFE, 0, 0xFE, 0}, false},
      {"Voskel All Choose", 2, [](T& t) { t.Ctl<QCheckBox>(2, 30528)->click(); }, 7, {0, 0, 0, 0, 0xFF, 0, 0xFF, 0},
       true},
      {"Belquin All Choose ticks all sixteen", 7, [](T& t) { t.Ctl<QCheckBox>(7, 30745)->click(); }, 7,
       {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}, true},
      {"Belquin All Choose ticked then cleared", 7,
       [](T& t) {
         t.Ctl<QCheckBox>(7, 30745)->click();
         t.Ctl<QCheckBox>(7, 30745)->click();
       },
       7, {0, 0, 0xFF, 0xFF}, true},
      {"Dorvane force of output 15 cleared", 8, [](T& t) { t.Ctl<QCheckBox>(8, 30826)->setCheckState(Qt::Unchecked); },
       11, {0xFF, 0x7F, 0xFF, 0xFF}, true},
      {"Glostra communication failure of output 31 ticked", 14,
       [](T& t) { t.Ctl<QCheckBox>(14, 50084)->setCheckState(Qt::Checked); }, 7,
       {0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x7F}, true},
      {"Glostra Select all leaves the force boxes", 14, [](T& t) { t.Ctl<QCheckBox>(14, 50052)->click(); }, 7,
       {0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, true},
      {"Hulvern output 3 ticked on communication failure", 20,
       [](T& t) { t.Ctl<QCheckBox>(20, 60042)->setCheckState(Qt::Checked); }, 10, {0xF7, 0xF7}, true},
      {"Hulvern input 0 cleared, 40 ms", 20,
       [](T& t) {
         t.Ctl<QCheckBox>(20, 60021)->setCheckState(Qt::Unchecked);
         t.Ctl<QComboBox>(20, 60019)->setCurrentIndex(3);
       },
       7, {3, 0xFE, 0xFF}, true},
      {"Hulvern output 7 forced cleared changes byte 12 and the CRC", 20,
       [](T& t) { t.Ctl<QCheckBox>(20, 60054)->setCheckState(Qt::Unchecked); }, 12, {0x7F, 0xFF}, true},
  };
  for (const ChangeCase& c : cases) {
    SCOPED_TRACE(c.name);
    CSystemBlockExtendDlg& page = OpenPage(2);
    page.OnAddModule(c.type);
    const Bytes before = modules_.at(1);
    c.change(*this);
    EXPECT_EQ(modules_[1], before) << "the record changes only on commit";
    ASSERT_TRUE(page.CommitCurrentModule());
    const Bytes& after = modules_[1];
    EXPECT_EQ(Params(1, c.first, c.first + c.expected.size() - 1), c.expected);
    EXPECT_EQ(Bytes(after.begin(), after.begin() + 7), Bytes(before.begin(), before.begin() + 7));
    EXPECT_EQ(StoredCrc(after) != StoredCrc(before), c.crcChanges);
  }
}

TEST_F(DigitalModuleDialogTest, HulvernOutputForceBetweenClearedAndTickedLeavesTheCrc) {
  CSystemBlockExtendDlg& page = OpenPage(1);
  page.OnAddModule(20);
  QCheckBox* box = Ctl<QCheckBox>(20, 60047);
  box->setCheckState(Qt::Unchecked);
  ASSERT_TRUE(page.CommitCurrentModule());
  const Bytes cleared = modules_[1];
  box->setCheckState(Qt::Checked);
  ASSERT_TRUE(page.CommitCurrentModule());
  const Bytes ticked = modules_[1];
  EXPECT_EQ(cleared[12], 0xFE);
  EXPECT_EQ(ticked[12], 0xFE);
  EXPECT_EQ(cleared[13], 0xFF);
  EXPECT_EQ(ticked[13], 0xFE);
  EXPECT_EQ(StoredCrc(cleared), StoredCrc(ticked));
}

TEST_F(DigitalModuleDialogTest, DefaultRestoresTheConstructionValuesAndKeepsTheLabels) {
  for (const NewModuleCase& c : kNewModules) {
    SCOPED_TRACE(testing::Message() << "type " << int(c.type));
    CSystemBlockExtendDlg& page = OpenPage(1);
    page.OnAddModule(c.type);
    QList<QLabel*> labels = Dialog(c.type).findChildren<QLabel*>();
    QStringList labelTexts;
    for (QLabel* label : labels) labelTexts << label->text();
    // Every box ticked, every list on its first entry.
    for (QCheckBox* box : Dialog(c.type).findChildren<QCheckBox*>()) box->setCheckState(Qt::Checked);
    for (QComboBox* list : Dialog(c.type).findChildren<QComboBox*>()) list->setCurrentIndex(0);
    ASSERT_TRUE(page.CommitCurrentModule());
    EXPECT_NE(Params(1, 7, c.length - 3), c.params);

    QPushButton* defaults = Ctl<QPushButton>(c.type, c.defaultId);
    ASSERT_NE(defaults, nullptr);
    defaults->click();
    for (QCheckBox* box : Dialog(c.type).findChildren<QCheckBox*>())
      EXPECT_EQ(box->checkState(), box->isTristate() ? Qt::PartiallyChecked : Qt::Unchecked)
          << box->objectName().toStdString();
    for (QComboBox* list : Dialog(c.type).findChildren<QComboBox*>()) EXPECT_EQ(list->currentIndex(), 2);
    for (int i = 0; i < labels.size(); ++i) EXPECT_EQ(labels[i]->text(), labelTexts[i]);
    ASSERT_TRUE(page.CommitCurrentModule());
    EXPECT_EQ(Params(1, 7, c.length - 3), c.params);
  }
}

TEST_F(DigitalModuleDialogTest, FilterListsHoldTheFourTimesInOrder) {
  for (int language : {1, 2}) {
    OpenPage(language);
    for (auto [type, id] : {std::pair{1, 30633}, {1, 30523}, {13, 50011}, {13, 50014}, {20, 60019}}) {
      QComboBox* list = Ctl<QComboBox>(type, id);
      ASSERT_NE(list, nullptr);
      ASSERT_EQ(list->count(), kFilterTimeCount);
      EXPECT_EQ(list->itemText(0), QStringLiteral("5"));
      EXPECT_EQ(list->itemText(1), QStringLiteral("10"));
      EXPECT_EQ(list->itemText(2), QStringLiteral("20"));
      EXPECT_EQ(list->itemText(3), QStringLiteral("40"));
      EXPECT_EQ(list->isEditable(), language == 1 && type == 1);
    }
  }
}

TEST_F(DigitalModuleDialogTest, ParluneEnglishListWithAnUnknownTextStoresNoSelection) {
  CSystemBlockExtendDlg& page = OpenPage(1);
  page.OnAddModule(1);
  QComboBox* list = Ctl<QComboBox>(1, 30523);
  list->setEditText(QStringLiteral("15"));
  ASSERT_TRUE(page.CommitCurrentModule());
  EXPECT_EQ(modules_[1][8], 0xFF);
  // Loading the index back leaves the list without a selection; committing keeps 255.
  page.LoadModuleRecord();
  EXPECT_EQ(list->currentIndex(), -1);
  ASSERT_TRUE(page.CommitCurrentModule());
  EXPECT_EQ(modules_[1][8], 0xFF);
}

TEST_F(DigitalModuleDialogTest, SelectingAModuleLoadsItsValuesAndAddressLabels) {
  CSystemBlockExtendDlg& page = OpenPage(2);
  page.OnAddModule(1);  // row 1: inputs from 14
  Ctl<QCheckBox>(1, 30662)->setCheckState(Qt::Checked);
  Ctl<QCheckBox>(1, 30663)->setCheckState(Qt::Unchecked);
  Ctl<QComboBox>(1, 30523)->setCurrentIndex(3);
  page.OnAddModule(1);  // row 2 commits row 1 and starts from the construction values
  EXPECT_EQ(Ctl<QCheckBox>(1, 30662)->checkState(), Qt::PartiallyChecked);
  EXPECT_EQ(Ctl<QLabel>(1, 30678)->text(), QStringLiteral("I3.6 - I4.5:"));
  page.OnAddModule(7);   // row 3: outputs from 0
  page.OnAddModule(2);   // row 4: outputs from 16
  page.OnAddModule(20);  // row 5: inputs from 46, outputs from 24

  SelectRow(1);
  EXPECT_TRUE(Dialog(1).isVisible());
  EXPECT_EQ(Ctl<QCheckBox>(1, 30662)->checkState(), Qt::Checked);
  EXPECT_EQ(Ctl<QCheckBox>(1, 30663)->checkState(), Qt::Unchecked);
  EXPECT_EQ(Ctl<QCheckBox>(1, 30664)->checkState(), Qt::PartiallyChecked);
  EXPECT_EQ(Ctl<QComboBox>(1, 30523)->currentIndex(), 3);
  EXPECT_EQ(Ctl<QComboBox>(1, 30633)->currentIndex(), 2);
  EXPECT_EQ(Ctl<QLabel>(1, 30678)->text(), QStringLiteral("I1.6 - I2.5:"));
  EXPECT_EQ(Ctl<QLabel>(1, 30679)->text(), QStringLiteral("I2.6 - I3.5:"));

  SelectRow(3);
  EXPECT_EQ(Ctl<QLabel>(7, 30744)->text(), QStringLiteral("Q0.0 - Q1.7"));
  EXPECT_EQ(Ctl<QLabel>(7, 30764)->text(), QStringLiteral("Q0.0 - Q0.7:"));
  EXPECT_EQ(Ctl<QLabel>(7, 30765)->text(), QStringLiteral("Q1.0 - Q1.7:"));
  SelectRow(4);
  EXPECT_EQ(Ctl<QLabel>(2, 30527)->text(), QStringLiteral("Q2.0 - Q2.7"));
  EXPECT_EQ(Ctl<QLabel>(2, 30689)->text(), QStringLiteral("Q2.0 - Q2.7:"));
  SelectRow(5);
  EXPECT_EQ(Ctl<QLabel>(20, 60073)->text(), QStringLiteral("I5.6 - I6.5:"));
  EXPECT_EQ(Ctl<QLabel>(20, 60074)->text(), QStringLiteral("Q3.0 - Q3.7:"));
  EXPECT_EQ(Ctl<QLabel>(20, 60075)->text(), QStringLiteral("Q3.0 - Q3.7"));

  // Default keeps the labels of the loaded module.
  Ctl<QPushButton>(20, 30519)->click();
  EXPECT_EQ(Ctl<QLabel>(20, 60073)->text(), QStringLiteral("I5.6 - I6.5:"));
}

TEST_F(DigitalModuleDialogTest, CaptionsFollowTheLanguage) {
  struct Caption {
    uint8_t type;
    int id;
    const char16_t* english;
    const char16_t* chinese;
  };
  const Caption captions[] = {
      {1, 30520, u"Filter Time Config", u"滤波时间设置"},
      {1, 30521, u"Filter Time(1-8channel)：", u"滤波时间(1-8通道)："},
      {1, 30661, u"Force", u"强制"},
      {13, 30522, u"Fliter Time(9-16channel):", u"滤波时间(9-16通道)："},
      {13, 30661, u"Forced", u"强制"},
      {2, 30526, u"Communication Failures Output", u"通讯故障输出"},
      {2, 30528, u"All Choose", u"全选"},
      {2, 30529, u"Address Range：", u"地址范围："},
      {8, 30790, u"All Choose", u"全选"},
      {14, 30743, u"Communication Error", u"通讯故障输出"},
      {14, 50052, u"Select all", u"全选"},
      {14, 30746, u"Address：", u"地址范围："},
      {14, 30763, u"Forced", u"强制"},
  };
  for (int language : {1, 2}) {
    OpenPage(language);
    for (const Caption& c : captions) {
      SCOPED_TRACE(testing::Message() << "type " << int(c.type) << " control " << c.id << " language " << language);
      QWidget* control = Ctl<QWidget>(c.type, c.id);
      ASSERT_NE(control, nullptr);
      QString text;
      if (auto* group = qobject_cast<QGroupBox*>(control)) text = group->title();
      else if (auto* label = qobject_cast<QLabel*>(control)) text = label->text();
      else if (auto* button = qobject_cast<QAbstractButton*>(control)) text = button->text();
      EXPECT_EQ(text, QString::fromUtf16(language == 1 ? c.english : c.chinese));
    }
    // Fennick's English captions of the upper two filter groups carry no id.
    EXPECT_EQ(Dialog(13).findChild<QLabel*>(CPropertyPage::ControlName(30524)) != nullptr, language != 1);
  }
}

}  // namespace
}  // namespace corvell
