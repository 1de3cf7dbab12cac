// The sub-dialogs of the temperature input modules Oskavel (type 5) and Nuvask (type 6) and of
// the two-bank thermocouple module Varnock (type 21) on the "System module" page, offscreen:
// new modules, control changes reaching the record on commit and coming back on load, the
// labels the record's addresses give, the Default button and the limit check of the commit.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "../modules/module_test_bytes.h"
#include "module_page_fixture.h"
#include "sysblock/ui/plc_sub_dlg_temperature.h"
#include "sysblock/ui/plc_sub_dlg_varnock.h"

namespace corvell {
namespace {

using moduletest::Cat;
using moduletest::F32;
using moduletest::Rep;
using test::Bytes;

struct TempType {
  uint8_t type;
  size_t channels;
  int lists[6];
  int lower, upper, label, forceValue, forceBox, defaultButton;
};
const TempType kOskavel = {5, 6, {30583, 30584, 30585, 30586, 30593, 30594}, 30597, 30625, 30646, 30714, 30720, 30581};
const TempType kNuvask = {6, 4, {30566, 30567, 30568, 30569, 0, 0}, 30576, 30619, 30642, 30705, 30709, 30564};

class TemperatureDialogTest : public test::ModulePageTest {
 public:
  QComboBox* List(const TempType& t, size_t ch) { return Ctl<QComboBox>(t.type, t.lists[ch]); }
  QLineEdit* Lower(const TempType& t, size_t ch) { return Ctl<QLineEdit>(t.type, t.lower + static_cast<int>(ch)); }
  QLineEdit* Upper(const TempType& t, size_t ch) { return Ctl<QLineEdit>(t.type, t.upper + static_cast<int>(ch)); }
  QLineEdit* Force(const TempType& t, size_t ch) { return Ctl<QLineEdit>(t.type, t.forceValue + static_cast<int>(ch)); }
  QCheckBox* Box(const TempType& t, size_t ch) { return Ctl<QCheckBox>(t.type, t.forceBox + static_cast<int>(ch)); }
  QLabel* Label(const TempType& t, size_t ch) { return Ctl<QLabel>(t.type, t.label + static_cast<int>(ch)); }
  std::vector<int> Shown(const TempType& t) {
    std::vector<int> shown;
    for (size_t ch = 0; ch < t.channels; ++ch)
      if (!Force(t, ch)->isHidden()) shown.push_back(static_cast<int>(ch));
    return shown;
  }
};

TEST_F(TemperatureDialogTest, NewModulesStoreAndShowTheirDefaults) {
  for (int language : {1, 2}) {
    SCOPED_TRACE(testing::Message() << "language " << language);
    CSystemBlockExtendDlg& page = OpenPage(language);
    // Before any record is loaded the labels show their fixed captions.
    EXPECT_EQ(Label(kOskavel, 5)->text(), QStringLiteral("TC5："));
    EXPECT_EQ(Label(kNuvask, 3)->text(), QStringLiteral("RTD3"));
    page.OnAddModule(5);
    page.OnAddModule(6);
    ASSERT_EQ(modules_.size(), 3u);
    EXPECT_EQ(Params(1, 0, 7), (Bytes{1, 5, 0, 6, 0, 0, 89}));
    EXPECT_EQ(Params(1, 7, 80), Cat({Rep(3, 6), {0}, F32(0.0f, 6), F32(1000.0f, 6), F32(500.0f, 6), {0}}));
    EXPECT_EQ(Params(2, 0, 7), (Bytes{2, 6, 6, 4, 0, 0, 62}));
    EXPECT_EQ(Params(2, 7, 53), Cat({Rep(3, 4), {0}, F32(0.0f, 4), F32(1000.0f, 4), F32(500.0f, 4)}));
    EXPECT_EQ(StoredCrc(modules_[1]), CrcOver(modules_[1], 85));
    EXPECT_EQ(StoredCrc(modules_[2]), CrcOver(modules_[2], 59));

    // The Nuvask sub-dialog shows the Default values, not the constructor's 0 and 1000.
    EXPECT_EQ(Lower(kNuvask, 0)->text(), QStringLiteral("0.00"));
    EXPECT_EQ(Upper(kNuvask, 3)->text(), QStringLiteral("1000.00"));
    EXPECT_EQ(Force(kNuvask, 1)->text(), QStringLiteral("500.00"));
    for (size_t ch = 0; ch < 4; ++ch) EXPECT_EQ(Label(kNuvask, ch)->text(), QStringLiteral("RTD%1:").arg(6 + ch));
    const QStringList rtd =
        language == 1
            ? QStringList{"Pt100 Thermal Resistance", "Cu50 Thermal Resistance",   "Cu100 Thermal Resistance",
                          "Show Resistance",          "Pt1000 Thermal Resistance", "NI1000 Thermal Resistance"}
            : QStringList{"Pt100热电阻", "Cu50热电阻", "Cu100热电阻", "显示阻值", "Pt1000热电阻", "NI1000热电阻"};
    EXPECT_EQ(Entries(List(kNuvask, 2)), rtd);
    EXPECT_EQ(List(kNuvask, 2)->currentIndex(), 3);
    EXPECT_EQ(List(kNuvask, 2)->isEditable(), language == 1);
    QStringList nuvaskCaptions = Captions(6);
    EXPECT_TRUE(
        nuvaskCaptions.contains(language == 1 ? QStringLiteral("Sensor Type：") : QStringLiteral("传感器类型：")));
    EXPECT_TRUE(
        nuvaskCaptions.contains(language == 1 ? QStringLiteral("Temperature Cap：") : QStringLiteral("温度上限：")));
    EXPECT_TRUE(Shown(kNuvask).empty());

    SelectRow(1);
    const QStringList tc = language == 1 ? QStringList{"S Thermocouple", "K Thermocouple", "B Thermocouple",
                                                       "Show Potential", "J Thermocouple"}
                                         : QStringList{"S热电偶", "K热电偶", "B热电偶", "显示电势值", "J热电偶"};
    EXPECT_EQ(Entries(List(kOskavel, 5)), tc);
    EXPECT_EQ(List(kOskavel, 5)->currentIndex(), 3);
    QComboBox* cold = Ctl<QComboBox>(5, 30871);
    EXPECT_EQ(Entries(cold), language == 1 ? QStringList({"Cu50", "25 degrees", "No compensation"})
                                           : QStringList({"Cu50", "25度", "不补偿"}));
    EXPECT_TRUE(cold->isEditable());
    EXPECT_EQ(cold->currentIndex(), 0);
    const QStringList oskavelCaptions = Captions(5);
    EXPECT_TRUE(oskavelCaptions.contains(QStringLiteral("冷端补偿：")));
    EXPECT_TRUE(
        oskavelCaptions.contains(language == 1 ? QStringLiteral("Signal Type：") : QStringLiteral("信号类型：")));
    EXPECT_EQ(Ctl<QPushButton>(5, kOskavel.defaultButton)->text(),
              language == 1 ? QStringLiteral("Default") : QStringLiteral("默认"));
    EXPECT_EQ(Label(kOskavel, 0)->text(), QStringLiteral("TC0:"));
    EXPECT_EQ(Upper(kOskavel, 5)->text(), QStringLiteral("1000.00"));
    const Bytes oskavel = modules_[1];
    ASSERT_TRUE(page.CommitCurrentModule());
    EXPECT_EQ(modules_[1], oskavel);
    EXPECT_TRUE(messages_.Texts.empty());
  }
}

TEST_F(TemperatureDialogTest, ChangesReachTheRecordAndLoadBack) {
  CSystemBlockExtendDlg& page = OpenPage(1);
  page.OnAddModule(5);
  const Bytes fresh = modules_[1];
  // The cold junction lies outside the CRC.
  Ctl<QComboBox>(5, 30871)->setCurrentIndex(2);
  ASSERT_TRUE(page.CommitCurrentModule());
  EXPECT_EQ(modules_[1][86], 2);
  EXPECT_EQ(Params(1, 7, 79), Bytes(fresh.begin() + 7, fresh.begin() + 86));
  EXPECT_EQ(StoredCrc(modules_[1]), StoredCrc(fresh));

  Box(kOskavel, 0)->click();
  Box(kOskavel, 5)->click();
  EXPECT_EQ(Shown(kOskavel), (std::vector<int>{0, 5}));
  List(kOskavel, 1)->setCurrentIndex(4);
  List(kOskavel, 4)->setEditText(QStringLiteral("T Thermocouple"));
  Lower(kOskavel, 2)->setText(QStringLiteral("-40.5"));
  Upper(kOskavel, 2)->setText(QStringLiteral("1.234"));
  Force(kOskavel, 5)->setText(QStringLiteral("12.5"));
  ASSERT_TRUE(page.CommitCurrentModule());
  EXPECT_EQ(Params(1, 7, 7), (Bytes{3, 4, 3, 3, 0xFF, 3, 0x21}));
  EXPECT_EQ(Params(1, 14 + 8, 4), F32(-40.5f));
  EXPECT_EQ(Params(1, 38 + 8, 4), F32(1.234f));
  EXPECT_EQ(Params(1, 62 + 20, 4), F32(12.5f));
  EXPECT_EQ(StoredCrc(modules_[1]), CrcOver(modules_[1], 85));

  page.OnAddModule(5);
  EXPECT_TRUE(Shown(kOskavel).empty());
  EXPECT_EQ(Label(kOskavel, 0)->text(), QStringLiteral("TC6:"));
  SelectRow(1);
  EXPECT_EQ(Shown(kOskavel), (std::vector<int>{0, 5}));
  EXPECT_EQ(List(kOskavel, 4)->currentIndex(), -1);
  EXPECT_EQ(List(kOskavel, 1)->currentIndex(), 4);
  EXPECT_EQ(Ctl<QComboBox>(5, 30871)->currentIndex(), 2);
  EXPECT_EQ(Upper(kOskavel, 2)->text(), QStringLiteral("1.23"));
  EXPECT_EQ(Label(kOskavel, 5)->text(), QStringLiteral("TC5:"));

  // Default: everything but the labels; every force value edit hidden.
  Ctl<QPushButton>(5, kOskavel.defaultButton)->click();
  EXPECT_TRUE(Shown(kOskavel).empty());
  EXPECT_FALSE(Box(kOskavel, 0)->isChecked());
  EXPECT_EQ(Label(kOskavel, 5)->text(), QStringLiteral("TC5:"));
  ASSERT_TRUE(page.CommitCurrentModule());
  EXPECT_EQ(modules_[1], fresh);

  // Nuvask: every parameter byte is under the CRC; its value edits filter what is typed.
  page.OnAddModule(6);
  const Bytes nuvask = modules_[3];
  Force(kNuvask, 3)->clear();
  Type(Force(kNuvask, 3), QStringLiteral("x7,5"));
  EXPECT_EQ(Force(kNuvask, 3)->text(), QStringLiteral("75"));
  ASSERT_TRUE(page.CommitCurrentModule());
  EXPECT_EQ(Params(3, 44 + 12, 4), F32(75.0f));
  EXPECT_NE(StoredCrc(modules_[3]), StoredCrc(nuvask));
  EXPECT_EQ(StoredCrc(modules_[3]), CrcOver(modules_[3], 59));
  EXPECT_TRUE(messages_.Texts.empty());
}

TEST_F(TemperatureDialogTest, UpperLimitsMustLieAboveLowerLimits) {
  struct Case {
    const TempType* t;
    size_t ch;
    const char* lower;
    const char* upper;
    const wchar_t* message;
  };
  const Case cases[] = {
      {&kNuvask, 3, "100", "100", L"Nuvask工程量的上限值要大于下限值!"},
      {&kOskavel, 5, "abc", "-1", L"Oskavel工程量的上限值要大于下限值!"},
      {&kOskavel, 5, "-2", "-1", nullptr},
  };
  for (int language : {1, 2}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << int(c.t->type) << " " << c.lower << " language " << language);
      messages_.Texts.clear();
      CSystemBlockExtendDlg& page = OpenPage(language);
      page.OnAddModule(c.t->type);
      Lower(*c.t, c.ch)->setText(QString::fromLatin1(c.lower));
      Upper(*c.t, c.ch)->setText(QString::fromLatin1(c.upper));
      EXPECT_EQ(page.CommitCurrentModule(), c.message == nullptr);
      if (c.message != nullptr) {
        ASSERT_EQ(messages_.Texts.size(), 1u);
        EXPECT_EQ(messages_.Texts[0], c.message);
        // The refused commit has stored the record all the same.
        EXPECT_EQ(Params(1, c.t->type == 5 ? 14 + 20 : 12 + 12, 4), F32(c.t->type == 5 ? 0.0f : 100.0f));
      }
    }
  }
}

// Varnock: bank 1 is channels 0-5, bank 2 channels 6-11.
int VarnockList(size_t ch) {
  static const int ids[12] = {30583, 30584, 30585, 30586, 30593, 30594, 30588, 30589, 30590, 30591, 30595, 30596};
  return ids[ch];
}
int VarnockId(size_t ch, int bank1, int bank2) {
  return ch < 6 ? bank1 + static_cast<int>(ch) : bank2 + static_cast<int>(ch) - 6;
}

class VarnockDialogTest : public TemperatureDialogTest {
 public:
  QLineEdit* Lower(size_t ch) { return Ctl<QLineEdit>(21, VarnockId(ch, 30597, 33001)); }
  QLineEdit* Upper(size_t ch) { return Ctl<QLineEdit>(21, VarnockId(ch, 30625, 33007)); }
  QLineEdit* Force(size_t ch) { return Ctl<QLineEdit>(21, VarnockId(ch, 30714, 33032)); }
  QCheckBox* Box(size_t ch) { return Ctl<QCheckBox>(21, VarnockId(ch, 30720, 33039)); }
  QLabel* Label(size_t ch) { return Ctl<QLabel>(21, VarnockId(ch, 30646, 33079)); }
  QComboBox* List(size_t ch) { return Ctl<QComboBox>(21, VarnockList(ch)); }
  std::vector<int> Shown() {
    std::vector<int> shown;
    for (size_t ch = 0; ch < 12; ++ch)
      if (!Force(ch)->isHidden()) shown.push_back(static_cast<int>(ch));
    return shown;
  }
  CPlcSubDlgVarnock& Varnock() { return dynamic_cast<CPlcSubDlgVarnock&>(Dialog(21)); }
};

const Bytes kNewVarnock = Cat({Rep(3, 6), {0}, F32(0.0f, 6), F32(1000.0f, 6), F32(500.0f, 6), {0}});

TEST_F(VarnockDialogTest, NewModuleRecordLabelsAndBanks) {
  for (int language : {1, 2}) {
    SCOPED_TRACE(testing::Message() << "language " << language);
    CSystemBlockExtendDlg& page = OpenPage(language);
    EXPECT_EQ(Varnock().SecondBank()->isHidden(), language != 1) << "bank 2 only in the English form";
    for (size_t ch = 0; ch < 6; ++ch) EXPECT_EQ(Label(ch)->text(), QStringLiteral("TC%1：").arg(ch));
    EXPECT_EQ(Label(9)->text(), QStringLiteral("TC9："));
    EXPECT_EQ(Label(11)->text(), QStringLiteral("TC11:"));
    page.OnAddModule(21);
    EXPECT_EQ(Params(1, 0, 7), (Bytes{1, 21, 0, 12, 0, 0, 89}));
    EXPECT_EQ(Params(1, 7, 80), kNewVarnock);
    EXPECT_EQ(StoredCrc(modules_[1]), CrcOver(modules_[1], 85));
    for (size_t ch = 0; ch < 6; ++ch)
      EXPECT_EQ(Label(ch)->text(), QStringLiteral("TC%1-%2:").arg(2 * ch).arg(2 * ch + 1));
    EXPECT_EQ(List(0)->currentIndex(), 3);
    EXPECT_EQ(List(0)->isEditable(), language == 1);
    EXPECT_EQ(List(0)->itemText(4), language == 1 ? QStringLiteral("J Thermocouple") : QStringLiteral("J热电偶"));
    EXPECT_EQ(Ctl<QComboBox>(21, 30871)->itemText(1),
              language == 1 ? QStringLiteral("25 degrees") : QStringLiteral("25度"));
    EXPECT_EQ(Lower(7)->text(), QStringLiteral("0"));
    EXPECT_EQ(Upper(0)->text(), QStringLiteral("1000"));
    EXPECT_EQ(Force(5)->text(), QStringLiteral("500"));
    EXPECT_TRUE(Shown().empty());
    EXPECT_TRUE(
        Captions(21).contains(language == 1 ? QStringLiteral("Temperature Floor：") : QStringLiteral("温度下限：")));
    const Bytes record = modules_[1];
    ASSERT_TRUE(page.CommitCurrentModule());
    EXPECT_EQ(modules_[1], record);
  }
  // Behind an eight-channel analog input module the labels start at input 8.
  CSystemBlockExtendDlg& page = OpenPage(1);
  page.OnAddModule(4);
  page.OnAddModule(21);
  EXPECT_EQ(modules_[2][2], 8);
  EXPECT_EQ(Label(0)->text(), QStringLiteral("TC8-9:"));
  EXPECT_EQ(Label(5)->text(), QStringLiteral("TC18-19:"));
}

TEST_F(VarnockDialogTest, Bank1TravelsInTheRecordAndBank2StaysInTheDialog) {
  CSystemBlockExtendDlg& page = OpenPage(1);
  page.OnAddModule(21);
  const Bytes fresh = modules_[1];
  Box(0)->click();
  Box(5)->click();
  Box(8)->click();
  EXPECT_EQ(Shown(), (std::vector<int>{0, 5, 8}));
  List(2)->setCurrentIndex(0);
  Lower(1)->setText(QStringLiteral("-20"));
  Upper(1)->setText(QStringLiteral("-30"));  // below the lower limit: stored as it is
  Force(5)->setText(QStringLiteral("12.5"));
  Lower(9)->setText(QStringLiteral("77"));  // bank 2
  List(10)->setCurrentIndex(1);
  ASSERT_TRUE(page.CommitCurrentModule());
  EXPECT_EQ(Params(1, 7, 7), (Bytes{3, 3, 0, 3, 3, 3, 0x21}));
  EXPECT_EQ(Params(1, 14 + 4, 4), F32(-20.0f));
  EXPECT_EQ(Params(1, 38 + 4, 4), F32(-30.0f));
  EXPECT_EQ(Params(1, 62 + 20, 4), F32(12.5f));
  EXPECT_EQ(StoredCrc(modules_[1]), CrcOver(modules_[1], 85));
  const Bytes changed = modules_[1];

  // A second Varnock starts afresh in bank 1; bank 2 keeps what was typed.
  page.OnAddModule(21);
  EXPECT_EQ(Params(2, 7, 80), kNewVarnock);
  EXPECT_EQ(Lower(9)->text(), QStringLiteral("0")) << "the Add command runs the Default action";
  Lower(9)->setText(QStringLiteral("77"));
  ASSERT_TRUE(page.CommitCurrentModule());
  SelectRow(1);
  EXPECT_EQ(Lower(9)->text(), QStringLiteral("77"));
  EXPECT_EQ(Shown(), (std::vector<int>{0, 5}));
  EXPECT_EQ(Lower(1)->text(), QStringLiteral("-20"));
  EXPECT_EQ(Force(5)->text(), QStringLiteral("12.5"));
  EXPECT_EQ(List(2)->currentIndex(), 0);
  ASSERT_TRUE(page.CommitCurrentModule());
  EXPECT_EQ(modules_[1], changed);

  // Only the cold junction changed: byte 86 differs, the CRC does not.
  Ctl<QComboBox>(21, 30871)->setCurrentIndex(1);
  ASSERT_TRUE(page.CommitCurrentModule());
  EXPECT_EQ(modules_[1][86], 1);
  EXPECT_EQ(Params(1, 0, 86), Bytes(changed.begin(), changed.begin() + 86));
  EXPECT_EQ(StoredCrc(modules_[1]), StoredCrc(changed));

  // Default: both banks and the cold junction; the loaded labels stay.
  Ctl<QPushButton>(21, 30581)->click();
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(Lower(9)->text(), QStringLiteral("0"));
  EXPECT_EQ(Label(0)->text(), QStringLiteral("TC0-1:"));
  ASSERT_TRUE(page.CommitCurrentModule());
  EXPECT_EQ(Params(1, 7, 80), kNewVarnock);
  EXPECT_TRUE(messages_.Texts.empty());
}

// A value that is not a number is refused with the exchange's message; it and the fields after
// it in exchange order keep their previous values.
TEST_F(VarnockDialogTest, RefusedValueKeepsItAndTheFieldsAfterIt) {
  for (int language : {1, 2}) {
    messages_.Texts.clear();
    CSystemBlockExtendDlg& page = OpenPage(language);
    page.OnAddModule(21);
    List(0)->setCurrentIndex(1);
    Lower(0)->setText(QStringLiteral("5"));
    Lower(2)->setText(QStringLiteral("5x"));
    Lower(3)->setText(QStringLiteral("6"));
    Upper(0)->setText(QStringLiteral("900"));
    Ctl<QComboBox>(21, 30871)->setCurrentIndex(2);
    Box(4)->setChecked(true);
    page.CommitCurrentModule();
    ASSERT_EQ(messages_.Texts.size(), 1u);
    EXPECT_EQ(messages_.Texts[0], language == 1 ? L"Please enter a number." : L"请输入一个数字。");
    EXPECT_EQ(modules_[1][7], 1) << "the type lists come first";
    EXPECT_EQ(Params(1, 14, 16), Cat({F32(5.0f), F32(0.0f), F32(0.0f), F32(0.0f)}));
    EXPECT_EQ(Params(1, 38, 4), F32(1000.0f));
    EXPECT_EQ(modules_[1][13], 0);
    EXPECT_EQ(modules_[1][86], 0);
  }
}

}  // namespace
}  // namespace corvell
