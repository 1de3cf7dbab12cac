// The sub-dialogs of the analog input and output module Uvendar (type 15), the filter-type
// module Weskarn (type 22) and the pulse input module Yolvask (type 23) on the "System module"
// page, offscreen: new modules, control changes reaching the record on commit, stored records
// loading into the controls, and refused values.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "../modules/module_test_bytes.h"
#include "module_page_fixture.h"

namespace corvell {
namespace {

using moduletest::Cat;
using moduletest::F32;
using moduletest::Rep;
using test::Bytes;

namespace uv {
constexpr int kDefault = 30955, kAiList = 30956, kAiEngLower = 30960, kAiEngUpper = 30964, kAiAlarmLower = 30968,
              kAiAlarmUpper = 30972, kAiForce = 30977, kAiBox = 30981, kAoList = 30985, kAoEngLower = 30987,
              kAoEngUpper = 30989, kAoStop = 30991, kAoForce = 30993, kAoBox = 30995;
}  // namespace uv

const Bytes kNewUvendar =
    Cat({Rep(1, 4), F32(20.0f, 4), F32(0.0f, 4), F32(19.0f, 4), F32(1.0f, 4), F32(500.0f, 4), Rep(0, 4), Rep(1, 2),
         F32(20.0f, 2), F32(0.0f, 2), F32(0.0f, 2), F32(500.0f, 2), Rep(0, 2)});

class MixedModuleDialogTest : public test::ModulePageTest {
 public:
  QLineEdit* Edit(int type, int id) { return Ctl<QLineEdit>(type, id); }
  QComboBox* List(int type, int id) { return Ctl<QComboBox>(type, id); }
  // The Uvendar force value edits shown: 0-3 the inputs, 4-5 the outputs.
  std::vector<int> ShownForceEdits() {
    std::vector<int> shown;
    for (int b = 0; b < 6; ++b)
      if (!Edit(15, b < 4 ? uv::kAiForce + b : uv::kAoForce + b - 4)->isHidden()) shown.push_back(b);
    return shown;
  }
};

TEST_F(MixedModuleDialogTest, NewUvendarStoresAndShowsItsDefaults) {
  for (int language : {1, 2}) {
    SCOPED_TRACE(testing::Message() << "language " << language);
    CSystemBlockExtendDlg& page = OpenPage(language);
    page.OnAddModule(15);
    page.OnAddModule(15);
    ASSERT_EQ(modules_.size(), 3u);
    EXPECT_EQ(Params(1, 0, 7), (Bytes{1, 15, 0, 4, 0, 2, 133}));
    EXPECT_EQ(Params(2, 0, 7), (Bytes{2, 15, 4, 4, 2, 2, 133}));
    EXPECT_EQ(Params(2, 7, 124), kNewUvendar);
    EXPECT_EQ(StoredCrc(modules_[2]), CrcOver(modules_[2], 130));
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(List(15, uv::kAiList + k)->currentText(), QStringLiteral("0-5V"));
      EXPECT_EQ(Edit(15, uv::kAiEngLower + k)->text(), QStringLiteral("0"));
      EXPECT_EQ(Edit(15, uv::kAiEngUpper + k)->text(), QStringLiteral("20"));
      EXPECT_EQ(Edit(15, uv::kAiAlarmLower + k)->text(), QStringLiteral("1"));
      EXPECT_EQ(Edit(15, uv::kAiAlarmUpper + k)->text(), QStringLiteral("19"));
      EXPECT_EQ(Edit(15, uv::kAiForce + k)->text(), QStringLiteral("500"));
    }
    EXPECT_EQ(Entries(List(15, uv::kAiList + 3)), QStringList({"0-10V", "0-5V", "0-20mA", "4-20mA"}));
    QComboBox* ao = List(15, uv::kAoList + 1);
    EXPECT_EQ(ao->currentText(), QStringLiteral("0-10V"));
    EXPECT_EQ(Entries(ao),
              QStringList({language == 1 ? "Stop Output" : "禁止输出", "0-10V", "0-5V", "0-20mA", "4-20mA"}));
    EXPECT_FALSE(ao->isEditable());
    EXPECT_EQ(Edit(15, uv::kAoStop + 1)->text(), QStringLiteral("0"));
    EXPECT_TRUE(ShownForceEdits().empty());
    const QStringList captions = Captions(15);
    for (const char* en : {"single type：", "Project Lower：", "Alarm upper：", "Stopped output：", "AI3", "AO1"}) {
      const QString english = QString::fromUtf8(en);
      QString expected = english;
      if (language == 2) {
        if (english == "single type：") expected = "信号类型：";
        if (english == "Project Lower：") expected = "工程下限：";
        if (english == "Alarm upper：") expected = "报警上限：";
        if (english == "Stopped output：") expected = "停机输出：";
      }
      EXPECT_TRUE(captions.contains(expected)) << expected.toStdString();
    }
    EXPECT_EQ(Ctl<QPushButton>(15, uv::kDefault)->text(),
              language == 1 ? QStringLiteral("Default") : QStringLiteral("默认"));
    ASSERT_TRUE(page.CommitCurrentModule());
    EXPECT_EQ(Params(2, 7, 124), kNewUvendar);
  }
}

TEST_F(MixedModuleDialogTest, UvendarChangesReachTheRecordAndStoredRecordsLoad) {
  CSystemBlockExtendDlg& page = OpenPage(1);
  page.OnAddModule(15);
  Ctl<QCheckBox>(15, uv::kAiBox + 0)->click();
  Ctl<QCheckBox>(15, uv::kAoBox + 1)->click();
  EXPECT_EQ(ShownForceEdits(), (std::vector<int>{0, 5}));
  List(15, uv::kAiList + 2)->setCurrentIndex(3);
  List(15, uv::kAoList + 0)->setCurrentIndex(4);
  Edit(15, uv::kAiEngUpper + 1)->setText(QStringLiteral("-5"));  // below its lower limit: no check
  Edit(15, uv::kAoStop + 1)->setText(QStringLiteral("2.5"));
  Edit(15, uv::kAoForce + 1)->setText(QStringLiteral("12.5"));
  ASSERT_TRUE(page.CommitCurrentModule());
  EXPECT_EQ(Params(1, 7, 4), (Bytes{1, 1, 3, 1}));
  EXPECT_EQ(Params(1, 15, 4), F32(-5.0f));
  EXPECT_EQ(Params(1, 91, 6), (Bytes{1, 0, 0, 0, 4, 1}));
  EXPECT_EQ(Params(1, 117, 4), F32(2.5f));
  EXPECT_EQ(Params(1, 125, 6), Cat({F32(12.5f), {0, 1}}));
  EXPECT_EQ(StoredCrc(modules_[1]), CrcOver(modules_[1], 130));
  EXPECT_TRUE(messages_.Texts.empty());

  // A stored record with AI channel 2 forced and AO channel 1 at "4-20mA".
  page.OnAddModule(15);
  EXPECT_TRUE(ShownForceEdits().empty());
  SelectRow(1);
  EXPECT_EQ(ShownForceEdits(), (std::vector<int>{0, 5}));
  EXPECT_EQ(Edit(15, uv::kAoForce + 1)->text(), QStringLiteral("12.5"));
  modules_[2][93] = 1;
  modules_[2][96] = 4;
  SelectRow(2);
  EXPECT_EQ(ShownForceEdits(), std::vector<int>{2});
  EXPECT_TRUE(Ctl<QCheckBox>(15, uv::kAiBox + 2)->isChecked());
  EXPECT_EQ(List(15, uv::kAoList + 1)->currentText(), QStringLiteral("4-20mA"));

  // Default resets every value and hides the force edits.
  Ctl<QPushButton>(15, uv::kDefault)->click();
  EXPECT_TRUE(ShownForceEdits().empty());
  ASSERT_TRUE(page.CommitCurrentModule());
  EXPECT_EQ(Params(2, 7, 124), kNewUvendar);
}

// A value that is not a number is refused with the exchange's message; it and the fields after
// it in exchange order (input limits, force values, signal types, output values, force boxes)
// keep their previous values.
TEST_F(MixedModuleDialogTest, UvendarRefusedValueKeepsItAndTheFieldsAfterIt) {
  CSystemBlockExtendDlg& page = OpenPage(2);
  page.OnAddModule(15);
  Edit(15, uv::kAiEngLower + 3)->setText(QStringLiteral("3"));
  Edit(15, uv::kAiEngUpper + 0)->setText(QStringLiteral("30"));
  Edit(15, uv::kAiAlarmLower + 1)->setText(QStringLiteral("1..5"));
  Edit(15, uv::kAiAlarmLower + 2)->setText(QStringLiteral("2"));
  List(15, uv::kAiList + 0)->setCurrentIndex(0);
  Edit(15, uv::kAoStop + 0)->setText(QStringLiteral("7"));
  Ctl<QCheckBox>(15, uv::kAoBox + 0)->setChecked(true);
  page.CommitCurrentModule();
  ASSERT_EQ(messages_.Texts.size(), 1u);
  EXPECT_EQ(messages_.Texts[0], L"请输入一个数字。");
  EXPECT_EQ(Params(1, 27 + 12, 4), F32(3.0f));
  EXPECT_EQ(Params(1, 11, 4), F32(30.0f));
  Bytes expected = kNewUvendar;
  std::copy_n(F32(3.0f).begin(), 4, expected.begin() + 27 + 12 - 7);
  std::copy_n(F32(30.0f).begin(), 4, expected.begin() + 11 - 7);
  EXPECT_EQ(Params(1, 7, 124), expected);
}

TEST_F(MixedModuleDialogTest, WeskarnAndYolvaskListsRecordsAndAddresses) {
  for (int language : {1, 2}) {
    SCOPED_TRACE(testing::Message() << "language " << language);
    CSystemBlockExtendDlg& page = OpenPage(language);
    page.OnAddModule(22);
    page.OnAddModule(23);
    page.OnAddModule(22);
    EXPECT_EQ(Params(1, 0, 8), (Bytes{1, 22, 0, 1, 0, 0, 10, 0}));
    EXPECT_EQ(Params(2, 0, 11), (Bytes{2, 23, 1, 4, 0, 0, 13, 0, 0, 0, 0}));
    EXPECT_EQ(modules_[3][2], 5);
    EXPECT_EQ(StoredCrc(modules_[1]), CrcOver(modules_[1], 7));
    EXPECT_EQ(StoredCrc(modules_[2]), CrcOver(modules_[2], 9));

    QComboBox* filter = List(22, 60077);
    EXPECT_EQ(Entries(filter), QStringList({"0", "1", "2"}));
    EXPECT_EQ(filter->currentIndex(), 0);
    EXPECT_EQ(filter->isEditable(), language == 1);
    EXPECT_TRUE(Captions(22).contains(language == 1 ? QStringLiteral("Fliter Type:") : QStringLiteral("滤波类型：")));
    filter->setCurrentIndex(2);
    ASSERT_TRUE(page.CommitCurrentModule());
    EXPECT_EQ(modules_[3][7], 2);
    EXPECT_EQ(StoredCrc(modules_[3]), CrcOver(modules_[3], 7));

    SelectRow(2);
    EXPECT_TRUE(Dialog(23).isVisible());
    EXPECT_EQ(Captions(23), QStringList({"编码类型", "通道1：", "通道2：", "通道3：", "通道4："}));
    for (int ch = 0; ch < 4; ++ch) {
      QComboBox* list = List(23, 60079 + ch);
      EXPECT_EQ(Entries(list), QStringList({"AB方式", "脉冲加方向"}));
      EXPECT_FALSE(list->isEditable());
      EXPECT_EQ(list->currentIndex(), 0);
    }
    // Channel 4's encoding lies outside the CRC; channel 1's does not.
    const Bytes fresh = modules_[2];
    List(23, 60082)->setCurrentIndex(1);
    ASSERT_TRUE(page.CommitCurrentModule());
    EXPECT_EQ(modules_[2][10], 1);
    EXPECT_EQ(StoredCrc(modules_[2]), StoredCrc(fresh));
    List(23, 60079)->setCurrentIndex(1);
    ASSERT_TRUE(page.CommitCurrentModule());
    EXPECT_EQ(Params(2, 7, 4), (Bytes{1, 0, 0, 1}));
    EXPECT_NE(StoredCrc(modules_[2]), StoredCrc(fresh));

    // Loading puts the stored indexes back.
    SelectRow(1);
    EXPECT_EQ(filter->currentIndex(), 0);
    SelectRow(3);
    EXPECT_EQ(filter->currentIndex(), 2);
    SelectRow(2);
    EXPECT_EQ(List(23, 60079)->currentIndex(), 1);
    EXPECT_EQ(List(23, 60082)->currentIndex(), 1);
  }
}

TEST_F(MixedModuleDialogTest, FilterTypeWithoutSelectionStores255AndLoadsAsNone) {
  CSystemBlockExtendDlg& page = OpenPage(1);
  page.OnAddModule(23);
  page.OnAddModule(22);
  EXPECT_EQ(modules_[2][2], 4);
  List(22, 60077)->setEditText(QStringLiteral("7"));
  ASSERT_TRUE(page.CommitCurrentModule());
  EXPECT_EQ(modules_[2][7], 255);
  SelectRow(1);
  SelectRow(2);
  EXPECT_EQ(List(22, 60077)->currentIndex(), -1);
  EXPECT_EQ(List(22, 60077)->currentText(), QString());
}

}  // namespace
}  // namespace corvell
