// The sub-dialogs of the fixed-range analog output modules (Solvind, Trevasse) on the "System
// module" page, offscreen: a module is added, its controls are changed, and the record rebuilt
// on commit is compared byte by byte; loading a stored record and Default are seen through the
// controls, and a refused edit through the message and the bytes it leaves alone.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/crc16.h"
#include "sysblock/model/modules/param_text.h"
#include "sysblock/model/modules/module_list_page.h"
#include "sysblock/ui/plc_sub_dlg_analog_output.h"
#include "sysblock/ui/property_page.h"
#include "sysblock/ui/system_block_extend_dlg.h"
#include "ui_test_support.h"

namespace corvell {
namespace {

using Bytes = std::vector<uint8_t>;

// Per type: record length, channels and the control id of channel 0's stop output edit
// (force value edit +1, force box +2, next channel +3), and the Default button.
struct TypeCase {
  uint8_t type;
  size_t length;
  int channels;
  int firstId;
  int defaultId;
  const char* model;
};

const TypeCase kSolvind = {16, 51, 8, 50124, 50148, "Solvind"};
const TypeCase kTrevasse = {17, 41, 6, 50149, 50167, "Trevasse"};

class AnalogOutputDialogTest : public ::testing::Test {
 public:
  void SetUp() override { test::EnsureApplication(); }

  CSystemBlockExtendDlg& OpenPage(int language) {
    modules_ = {BuildControllerRecord()};
    forceStates_.fill(2);
    page_ = std::make_unique<CSystemBlockExtendDlg>(modules_, forceStates_, language);
    page_->show();
    page_->OnSetActive();
    return *page_;
  }
  template <typename T>
  T* Ctl(const TypeCase& c, int id) {
    T* control = page_->SubDialog(c.type)->findChild<T*>(CPropertyPage::ControlName(id));
    EXPECT_NE(control, nullptr) << "control " << id << " of type " << int(c.type);
    return control;
  }
  QLineEdit* StopEdit(const TypeCase& c, int ch) { return Ctl<QLineEdit>(c, c.firstId + 3 * ch); }
  QLineEdit* ForceEdit(const TypeCase& c, int ch) { return Ctl<QLineEdit>(c, c.firstId + 3 * ch + 1); }
  QCheckBox* ForceBox(const TypeCase& c, int ch) { return Ctl<QCheckBox>(c, c.firstId + 3 * ch + 2); }
  // Channels whose force value edit is shown.
  std::vector<int> ShownForceEdits(const TypeCase& c) {
    std::vector<int> shown;
    for (int ch = 0; ch < c.channels; ++ch)
      if (!ForceEdit(c, ch)->isHidden()) shown.push_back(ch);
    return shown;
  }
  Bytes Params(size_t row, size_t first, size_t count) const {
    return Bytes(modules_.at(row).begin() + first, modules_.at(row).begin() + first + count);
  }
  void SelectRow(int row) {
    page_->List()->clearSelection();
    page_->List()->topLevelItem(row)->setSelected(true);
    page_->OnModuleListClick();
  }

  ModuleList modules_;
  ForceStateArray forceStates_{};
  std::unique_ptr<CSystemBlockExtendDlg> page_;
  test::RecordedMessages messages_;
};

// The parameter bytes of a new module: flags and stop outputs 0, every force value 500.0.
Bytes NewParams(int channels) {
  Bytes bytes(2 + channels, 0);
  for (int ch = 0; ch < channels; ++ch) bytes.insert(bytes.end(), {0x00, 0x00, 0xFA, 0x43});
  return bytes;
}

TEST_F(AnalogOutputDialogTest, NewModulesShowTheirDialogAndStoreTheConstructionValues) {
  for (int language : {1, 2}) {
    for (const TypeCase& c : {kSolvind, kTrevasse}) {
      SCOPED_TRACE(testing::Message() << "type " << int(c.type) << " language " << language);
      CSystemBlockExtendDlg& page = OpenPage(language);
      page.OnAddModule(c.type);
      ASSERT_EQ(modules_.size(), 2u);
      const Bytes record = modules_[1];
      ASSERT_EQ(record.size(), c.length);
      EXPECT_EQ(Params(1, 7, c.length - 9), NewParams(c.channels));
      EXPECT_EQ(record[c.length - 2] | record[c.length - 1] << 8,
                platform::Crc16Modbus(record.data() + 7, c.length - 9));
      QWidget* dialog = page.SubDialog(c.type);
      EXPECT_TRUE(dialog->isVisible());
      EXPECT_NE(dynamic_cast<CAnalogOutputModuleSubDlg*>(dialog), nullptr);
      QGroupBox* outer = dialog->findChild<QGroupBox*>();
      ASSERT_NE(outer, nullptr);
      EXPECT_EQ(outer->title(), QString::fromLatin1(c.model));
      QPushButton* defaults = Ctl<QPushButton>(c, c.defaultId);
      ASSERT_NE(defaults, nullptr);
      EXPECT_EQ(defaults->text(), language == 1 ? QStringLiteral("Defalut") : QStringLiteral("默认"));
      QStringList captions;
      for (QLabel* label : dialog->findChildren<QLabel*>()) captions << label->text();
      const QString floor = language == 1 ? QStringLiteral("Project Floor：") : QStringLiteral("工程下限：");
      const QString output = language == 1 ? QStringLiteral("Output：") : QStringLiteral("停机输出：");
      EXPECT_TRUE(captions.contains(floor) && captions.contains(output));
      EXPECT_TRUE(captions.contains(QStringLiteral("AO%1").arg(c.channels - 1)));
      EXPECT_EQ(captions.count(QStringLiteral("100")), c.channels);
      for (int ch = 0; ch < c.channels; ++ch) {
        EXPECT_EQ(StopEdit(c, ch)->text(), QStringLiteral("0"));
        EXPECT_EQ(ForceEdit(c, ch)->text(), QStringLiteral("500"));
        EXPECT_FALSE(ForceBox(c, ch)->isChecked());
      }
      EXPECT_TRUE(ShownForceEdits(c).empty());
      ASSERT_TRUE(page.CommitCurrentModule());
      EXPECT_EQ(modules_[1], record);
    }
  }
}

struct ChangeCase {
  const char* name;
  TypeCase type;
  std::function<void(AnalogOutputDialogTest&)> change;
  size_t first;
  Bytes expected;
  std::vector<int> shownForceEdits;
};

TEST_F(AnalogOutputDialogTest, ControlChangesReachTheRecordOnCommitAndLoadBack) {
  using T = AnalogOutputDialogTest;
  const std::vector<ChangeCase> cases = {
      {"Solvind forces on channels 1 and 5", kSolvind,
       [](T& t) {
         t.ForceBox(kSolvind, 1)->click();
         t.ForceBox(kSolvind, 5)->click();
       },
       7, {0x02, 0x02}, {1, 5}},
      {"Solvind force set and cleared again", kSolvind,
       [](T& t) {
         t.ForceBox(kSolvind, 3)->click();
         t.ForceBox(kSolvind, 7)->click();
         t.ForceBox(kSolvind, 3)->click();
       },
       7, {0x00, 0x08}, {7}},
      {"Trevasse forces on channels 0 and 5", kTrevasse,
       [](T& t) {
         t.ForceBox(kTrevasse, 0)->click();
         t.ForceBox(kTrevasse, 5)->click();
       },
       7, {0x01, 0x02}, {0, 5}},
      {"Solvind force value 12.5 on channel 2", kSolvind,
       [](T& t) { t.ForceEdit(kSolvind, 2)->setText(QStringLiteral("12.5")); }, 17 + 4 * 2, {0x00, 0x00, 0x48, 0x41},
       {}},
      {"Solvind stop outputs 255 on channel 0 and 7 on channel 7", kSolvind,
       [](T& t) {
         t.StopEdit(kSolvind, 0)->setText(QStringLiteral("255"));
         t.StopEdit(kSolvind, 7)->setText(QStringLiteral(" 7 "));
       },
       9, {0xFF, 0, 0, 0, 0, 0, 0, 0x07}, {}},
      {"Trevasse stop output 100 on channel 5 and force value -1 on channel 0", kTrevasse,
       [](T& t) {
         t.StopEdit(kTrevasse, 5)->setText(QStringLiteral("100"));
         t.ForceEdit(kTrevasse, 0)->setText(QStringLiteral("-1"));
       },
       14, {0x64, 0x00, 0x00, 0x80, 0xBF}, {}},
  };
  for (const ChangeCase& c : cases) {
    SCOPED_TRACE(c.name);
    CSystemBlockExtendDlg& page = OpenPage(1);
    page.OnAddModule(c.type.type);
    const Bytes before = modules_.at(1);
    c.change(*this);
    EXPECT_EQ(ShownForceEdits(c.type), c.shownForceEdits);
    EXPECT_EQ(modules_[1], before) << "the record changes only on commit";
    ASSERT_TRUE(page.CommitCurrentModule());
    const Bytes changed = modules_[1];
    EXPECT_EQ(Params(1, c.first, c.expected.size()), c.expected);
    EXPECT_EQ(Bytes(changed.begin(), changed.begin() + 7), Bytes(before.begin(), before.begin() + 7));
    EXPECT_EQ(changed[c.type.length - 2] | changed[c.type.length - 1] << 8,
              platform::Crc16Modbus(changed.data() + 7, c.type.length - 9));
    EXPECT_TRUE(messages_.Texts.empty());

    // A second module of the same type starts afresh; selecting the first loads it back.
    page.OnAddModule(c.type.type);
    ASSERT_EQ(modules_.size(), 3u);
    EXPECT_TRUE(ShownForceEdits(c.type).empty());
    SelectRow(1);
    EXPECT_EQ(ShownForceEdits(c.type), c.shownForceEdits);
    ASSERT_TRUE(page.CommitCurrentModule());
    EXPECT_EQ(modules_[1], changed);
  }
}

TEST_F(AnalogOutputDialogTest, ForceValueReadsBackAsEntered) {
  CSystemBlockExtendDlg& page = OpenPage(1);
  page.OnAddModule(16);
  ForceBox(kSolvind, 2)->click();
  ForceEdit(kSolvind, 2)->setText(QStringLiteral("12.5"));
  page.OnAddModule(17);
  SelectRow(1);
  EXPECT_EQ(ForceEdit(kSolvind, 2)->text(), QStringLiteral("12.5"));
  EXPECT_EQ(ShownForceEdits(kSolvind), std::vector<int>{2});
}

TEST_F(AnalogOutputDialogTest, DefaultRestoresTheConstructionValues) {
  for (const TypeCase& c : {kSolvind, kTrevasse}) {
    SCOPED_TRACE(c.model);
    CSystemBlockExtendDlg& page = OpenPage(2);
    page.OnAddModule(c.type);
    const Bytes fresh = modules_[1];
    for (int ch = 0; ch < c.channels; ++ch) {
      ForceBox(c, ch)->click();
      StopEdit(c, ch)->setText(QStringLiteral("9"));
      ForceEdit(c, ch)->setText(QStringLiteral("3.25"));
    }
    ASSERT_TRUE(page.CommitCurrentModule());
    ASSERT_NE(modules_[1], fresh);
    Ctl<QPushButton>(c, c.defaultId)->click();
    EXPECT_TRUE(ShownForceEdits(c).empty());
    for (int ch = 0; ch < c.channels; ++ch) {
      EXPECT_EQ(StopEdit(c, ch)->text(), QStringLiteral("0"));
      EXPECT_EQ(ForceEdit(c, ch)->text(), QStringLiteral("500"));
      EXPECT_FALSE(ForceBox(c, ch)->isChecked());
    }
    ASSERT_TRUE(page.CommitCurrentModule());
    EXPECT_EQ(modules_[1], fresh);
  }
}

// A refused edit shows the exchange's message; it and everything after it in exchange order
// (stop outputs, then force values, then force flags) keep their previous values.
TEST_F(AnalogOutputDialogTest, RefusedEditKeepsItAndTheFieldsAfterIt) {
  struct RefusedCase {
    const char* name;
    int stopChannel;  // the edit given `text`; -1: a force value edit instead
    int forceChannel;
    const char* text;
    int language;
    std::wstring message;
    Bytes stopBytes;  // bytes 9-16 after the commit
    uint8_t flagByte7;
    uint8_t forceByte20;  // highest byte of channel 0's force value
  };
  const std::vector<RefusedCase> cases = {
      {"stop output 256", 3, -1, "256", 1, L"Please enter an integer between 0 and 255.", {9, 9, 9, 0, 0, 0, 0, 0}, 0,
       0x43},
      {"stop output -1", 0, -1, "-1", 2, L"请输入一个正整数。", {0, 0, 0, 0, 0, 0, 0, 0}, 0, 0x43},
      {"force value not a number", -1, 1, "1.5x", 1, L"Please enter a number.", {9, 9, 9, 9, 9, 9, 9, 9}, 0, 0x3F},
      {"force value beyond a float", -1, 7, "1e39", 2, L"请输入一个数字。", {9, 9, 9, 9, 9, 9, 9, 9}, 0, 0x3F},
  };
  for (const RefusedCase& c : cases) {
    SCOPED_TRACE(c.name);
    messages_.Texts.clear();
    CSystemBlockExtendDlg& page = OpenPage(c.language);
    page.OnAddModule(16);
    for (int ch = 0; ch < 8; ++ch) StopEdit(kSolvind, ch)->setText(QStringLiteral("9"));
    ForceEdit(kSolvind, 0)->setText(QStringLiteral("1.5"));
    ForceBox(kSolvind, 0)->setChecked(true);
    if (c.stopChannel >= 0)
      StopEdit(kSolvind, c.stopChannel)->setText(QString::fromLatin1(c.text));
    else
      ForceEdit(kSolvind, c.forceChannel)->setText(QString::fromLatin1(c.text));
    page.CommitCurrentModule();
    ASSERT_EQ(messages_.Texts.size(), 1u);
    EXPECT_EQ(messages_.Texts[0], c.message);
    EXPECT_EQ(Params(1, 9, 8), c.stopBytes);
    EXPECT_EQ(modules_[1][7], c.flagByte7);
    EXPECT_EQ(modules_[1][20], c.forceByte20);
  }
}

// A force box clicked while another field holds a refused text: the message, and every control
// stays as the user left it (the typed text and the click); the force value edit follows the box.
TEST_F(AnalogOutputDialogTest, ForceClickWithARefusedFieldKeepsWhatWasTyped) {
  OpenPage(1);
  page_->OnAddModule(16);
  StopEdit(kSolvind, 2)->setText(QStringLiteral("256"));
  ForceEdit(kSolvind, 4)->setText(QStringLiteral("7.25"));
  ForceBox(kSolvind, 4)->click();
  ASSERT_EQ(messages_.Texts.size(), 1u);
  EXPECT_EQ(StopEdit(kSolvind, 2)->text(), QStringLiteral("256"));
  EXPECT_EQ(ForceEdit(kSolvind, 4)->text(), QStringLiteral("7.25"));
  EXPECT_TRUE(ForceBox(kSolvind, 4)->isChecked());
  EXPECT_EQ(ShownForceEdits(kSolvind), std::vector<int>{4});
}

// The four-channel modules Kavrin (3), Lumbrek (11) and Mordale (19): record length 66.
namespace ao {
constexpr int kStop = 30555, kLower = 30559, kUpper = 30613, kLabel = 30638, kForceValue = 30696, kForceBox = 30700,
              kList = 30549, kDefault = 30547;
}  // namespace ao

class FourChannelOutputTest : public AnalogOutputDialogTest {
 public:
  // Control ids of Lumbrek, from the ids of Kavrin and Mordale.
  static int Id(uint8_t type, int blockA) {
    if (type != 11) return blockA;
    if (blockA == ao::kDefault) return 40001;
    const struct {
      int a, b;
    } groups[] = {{ao::kList, 40003}, {ao::kStop, 40009}, {ao::kLower, 40013}, {ao::kUpper, 40017},
                  {ao::kLabel, 40023}, {ao::kForceValue, 40028}, {ao::kForceBox, 40032}};
    for (const auto& g : groups)
      if (blockA >= g.a && blockA < g.a + 4) return g.b + (blockA - g.a);
    return -1;
  }
  template <typename T>
  T* C(uint8_t type, int blockA) {
    T* control = page_->SubDialog(type)->findChild<T*>(CPropertyPage::ControlName(Id(type, blockA)));
    EXPECT_NE(control, nullptr) << "control " << blockA << " of type " << int(type);
    return control;
  }
  std::vector<int> Shown(uint8_t type) {
    std::vector<int> shown;
    for (int ch = 0; ch < 4; ++ch)
      if (!C<QLineEdit>(type, ao::kForceValue + ch)->isHidden()) shown.push_back(ch);
    return shown;
  }
  static Bytes FloatBytes(float value) {
    Bytes bytes;
    AppendFloatLe(bytes, value);
    return bytes;
  }
};

TEST_F(FourChannelOutputTest, NewModulesStoreTheirDefaults) {
  struct Case {
    uint8_t type;
    float upper;
    const char* upperText;
    int entries;
    const char* englishDefault;
  };
  for (int language : {1, 2}) {
    for (const Case& c : {Case{3, 20.0f, "20.00", 3, "Default"}, Case{11, 1000.0f, "1000.00", 2, "默认"},
                          Case{19, 20.0f, "20.00", 5, "Default"}}) {
      SCOPED_TRACE(testing::Message() << "type " << int(c.type) << " language " << language);
      CSystemBlockExtendDlg& page = OpenPage(language);
      page.OnAddModule(c.type);
      const Bytes record = modules_.at(1);
      ASSERT_EQ(record.size(), 66u);
      Bytes expected = {1, 1, 1, 1, 0, 0, 0, 0, 0};
      for (float v : {0.0f, 0.0f, 0.0f, 0.0f, c.upper, c.upper, c.upper, c.upper, 500.0f, 500.0f, 500.0f, 500.0f}) {
        const Bytes f = FloatBytes(v);
        expected.insert(expected.end(), f.begin(), f.end());
      }
      EXPECT_EQ(Params(1, 7, 57), expected);
      EXPECT_EQ(record[64] | record[65] << 8, platform::Crc16Modbus(record.data() + 7, 57));
      EXPECT_TRUE(page.SubDialog(c.type)->isVisible());
      EXPECT_EQ(C<QLineEdit>(c.type, ao::kUpper + 2)->text(), QString::fromLatin1(c.upperText));
      EXPECT_EQ(C<QLineEdit>(c.type, ao::kForceValue + 3)->text(), QStringLiteral("500.00"));
      EXPECT_EQ(C<QLabel>(c.type, ao::kLabel + 1)->text(), QStringLiteral("AO1:"));
      QComboBox* list = C<QComboBox>(c.type, ao::kList + 3);
      EXPECT_EQ(list->count(), c.entries);
      EXPECT_EQ(list->currentIndex(), 1);
      EXPECT_EQ(list->itemText(0), language == 1 ? QStringLiteral("Stop Output") : QStringLiteral("禁止输出"));
      EXPECT_EQ(list->isEditable(), language == 1);
      EXPECT_EQ(C<QPushButton>(c.type, ao::kDefault)->text(),
                language == 1 ? QString::fromUtf8(c.englishDefault) : QStringLiteral("默认"));
      EXPECT_TRUE(Shown(c.type).empty());
      ASSERT_TRUE(page.CommitCurrentModule());
      EXPECT_EQ(modules_[1], record);
    }
  }
}

TEST_F(FourChannelOutputTest, ChangesReachTheRecordAndLoadBack) {
  for (uint8_t type : {3, 11, 19}) {
    SCOPED_TRACE(testing::Message() << "type " << int(type));
    CSystemBlockExtendDlg& page = OpenPage(1);
    page.OnAddModule(type);
    C<QCheckBox>(type, ao::kForceBox + 1)->click();
    C<QCheckBox>(type, ao::kForceBox + 3)->click();
    EXPECT_EQ(Shown(type), (std::vector<int>{1, 3}));
    C<QComboBox>(type, ao::kList + 0)->setCurrentIndex(0);
    C<QComboBox>(type, ao::kList + 2)->setEditText(QStringLiteral("no such range"));
    C<QLineEdit>(type, ao::kStop + 2)->setText(QStringLiteral("255"));
    C<QLineEdit>(type, ao::kLower + 0)->setText(QStringLiteral("abc"));
    C<QLineEdit>(type, ao::kLower + 1)->setText(QStringLiteral("1.234"));
    C<QLineEdit>(type, ao::kForceValue + 3)->setText(QStringLiteral("12.5"));
    ASSERT_TRUE(page.CommitCurrentModule());
    EXPECT_EQ(Params(1, 7, 9), (Bytes{0, 1, 255, 1, 0x0A, 0, 0, 255, 0}));
    EXPECT_EQ(Params(1, 16, 4), FloatBytes(0.0f));
    EXPECT_EQ(Params(1, 20, 4), FloatBytes(1.234f));
    EXPECT_EQ(Params(1, 60, 4), FloatBytes(12.5f));
    const Bytes changed = modules_[1];

    page.OnAddModule(type);
    EXPECT_TRUE(Shown(type).empty());
    SelectRow(1);
    EXPECT_EQ(Shown(type), (std::vector<int>{1, 3}));
    EXPECT_TRUE(C<QCheckBox>(type, ao::kForceBox + 3)->isChecked());
    EXPECT_EQ(C<QComboBox>(type, ao::kList + 2)->currentIndex(), -1);
    EXPECT_EQ(C<QComboBox>(type, ao::kList + 2)->currentText(), QString());
    EXPECT_EQ(C<QLineEdit>(type, ao::kLower + 0)->text(), QStringLiteral("0.00"));
    EXPECT_EQ(C<QLineEdit>(type, ao::kLower + 1)->text(), QStringLiteral("1.23"));
    EXPECT_EQ(C<QLineEdit>(type, ao::kStop + 2)->text(), QStringLiteral("255"));
    // Recommitting stores what the controls show: 1.234 became 1.23, the rest is unchanged.
    ASSERT_TRUE(page.CommitCurrentModule());
    EXPECT_EQ(Params(1, 20, 4), FloatBytes(1.23f));
    EXPECT_EQ(Params(1, 7, 13), Bytes(changed.begin() + 7, changed.begin() + 20));
    EXPECT_EQ(Params(1, 24, 40), Bytes(changed.begin() + 24, changed.begin() + 64));
    EXPECT_TRUE(messages_.Texts.empty());

    // Default restores everything but the labels.
    C<QPushButton>(type, ao::kDefault)->click();
    EXPECT_TRUE(Shown(type).empty());
    EXPECT_EQ(C<QComboBox>(type, ao::kList + 0)->currentIndex(), 1);
    EXPECT_EQ(C<QLineEdit>(type, ao::kLower + 1)->text(), QStringLiteral("0.00"));
    EXPECT_EQ(C<QLabel>(type, ao::kLabel + 0)->text(), QStringLiteral("AO0:"));
    ASSERT_TRUE(page.CommitCurrentModule());
    EXPECT_EQ(Params(1, 7, 59), Params(2, 7, 59));
  }
}

// A stop output beyond one byte is refused with the range message instead of being cut to its
// low byte; the record keeps the previous value.
TEST_F(FourChannelOutputTest, StopOutputBeyondAByteIsRefused) {
  CSystemBlockExtendDlg& page = OpenPage(1);
  page.OnAddModule(19);
  C<QLineEdit>(19, ao::kStop + 0)->setText(QStringLiteral("7"));
  C<QLineEdit>(19, ao::kStop + 1)->setText(QStringLiteral("300"));
  page.CommitCurrentModule();
  ASSERT_EQ(messages_.Texts.size(), 1u);
  EXPECT_EQ(messages_.Texts[0], L"Please enter an integer between 0 and 255.");
  EXPECT_EQ(Params(1, 12, 4), (Bytes{7, 0, 0, 0}));
}

TEST_F(FourChannelOutputTest, LabelsFollowTheOutputStartAndOnlyKavrinChecksItsLimits) {
  {
    CSystemBlockExtendDlg& page = OpenPage(2);
    page.OnAddModule(19);
    C<QLineEdit>(19, ao::kUpper + 0)->setText(QStringLiteral("-5"));
    EXPECT_TRUE(page.CommitCurrentModule());
  }
  CSystemBlockExtendDlg& page = OpenPage(2);
  page.OnAddModule(11);
  C<QLineEdit>(11, ao::kUpper + 0)->setText(QStringLiteral("-5"));
  EXPECT_TRUE(page.CommitCurrentModule());
  EXPECT_TRUE(messages_.Texts.empty());
  page.OnAddModule(3);
  for (int ch = 0; ch < 4; ++ch) EXPECT_EQ(C<QLabel>(3, ao::kLabel + ch)->text(), QStringLiteral("AO%1:").arg(4 + ch));
  C<QLineEdit>(3, ao::kUpper + 0)->setText(QStringLiteral("-5"));
  EXPECT_FALSE(page.CommitCurrentModule());
  EXPECT_EQ(messages_.Texts.size(), 1u);
}

}  // namespace
}  // namespace corvell
