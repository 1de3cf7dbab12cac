// The sub-dialogs of the analog input modules (Istrel, Pruvel, Quenlow, Rastok, Jorlith) on the
// "System module" page, offscreen: new modules, control changes reaching the record on commit
// and coming back on load, the Default button, the character filter of the value edits, and
// the limit check of the commit as the dialogs feed it. Also: every module type has its own
// sub-dialog.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <string>

#include "../modules/module_test_bytes.h"
#include "module_page_fixture.h"
#include "sysblock/model/modules/module_types.h"
#include "sysblock/ui/plc_sub_dlg_analog_input.h"
#include "sysblock/ui/plc_sub_dlg_digital.h"
#include "sysblock/ui/value_edit_filter.h"

namespace corvell {
namespace {

using moduletest::Cat;
using moduletest::F32;
using moduletest::Hex;
using test::Bytes;

enum Column { kLabel, kList, kEngLower, kEngUpper, kAlarmLower, kAlarmUpper, kForceValue, kForceBox, kColumns };

// Control id of channel `ch` in a column: channels 0-3 from the first id, 4-7 from the second.
struct IdColumn {
  int low, high;
};
struct AiType {
  uint8_t type;
  const char* model;
  size_t channels;
  int defaultButton;
  IdColumn ids[kColumns];
  QStringList entries;  // channels 0-3
  QStringList highEntries;
};

const AiType kIstrel = {4,
                        "Istrel",
                        8,
                        30539,
                        {{30634, 40036},
                         {30541, 40040},
                         {30603, 40044},
                         {30607, 40048},
                         {30735, 40052},
                         {30730, 40056},
                         {30726, 40060},
                         {40064, 40068}},
                        {"0-20mA", "4-20mA"},
                        {"0-5V", "0-10V"}};
const AiType kPruvel = {
    9,
    "Pruvel",
    4,
    30828,
    {{30845, 0}, {30830, 0}, {30835, 0}, {30839, 0}, {30863, 0}, {30858, 0}, {30854, 0}, {30850, 0}},
    {"0-5V", "0-10V"},
    {}};
const AiType kQuenlow = {10,
                         "Quenlow",
                         8,
                         30871,
                         {{30873, 30877},
                          {30882, 30886},
                          {30901, 30905},
                          {30910, 30914},
                          {30919, 30923},
                          {30928, 30932},
                          {30937, 30941},
                          {30945, 30949}},
                         {"0-20mA", "4-20mA"},
                         {"0-20mA", "4-20mA"}};
const AiType kRastok = {12,
                        "Rastok",
                        8,
                        40087,
                        {{40089, 40093},
                         {40098, 40102},
                         {40107, 40111},
                         {40116, 40120},
                         {40125, 40129},
                         {40134, 40138},
                         {40143, 40147},
                         {40151, 40155}},
                        {"0-5V", "0-10V"},
                        {"0-5V", "0-10V"}};
const AiType kJorlith = {18,
                         "Jorlith",
                         8,
                         30539,
                         {{30634, 40036},
                          {30541, 40040},
                          {30603, 40044},
                          {30607, 40048},
                          {30735, 40052},
                          {30730, 40056},
                          {30726, 40060},
                          {40064, 40068}},
                         {"0-10V", "0-5V", "0-20mA", "4-20mA"},
                         {"0-10V", "0-5V", "0-20mA", "4-20mA"}};

class AnalogInputDialogTest : public test::ModulePageTest {
 public:
  template <typename T>
  T* At(const AiType& t, Column column, size_t ch) {
    const IdColumn c = t.ids[column];
    return Ctl<T>(t.type, ch < 4 ? c.low + static_cast<int>(ch) : c.high + static_cast<int>(ch) - 4);
  }
  QLineEdit* EditAt(const AiType& t, Column column, size_t ch) { return At<QLineEdit>(t, column, ch); }
  std::vector<int> ShownForceEdits(const AiType& t) {
    std::vector<int> shown;
    for (size_t ch = 0; ch < t.channels; ++ch)
      if (!EditAt(t, kForceValue, ch)->isHidden()) shown.push_back(static_cast<int>(ch));
    return shown;
  }
};

// Defaults of a new module: signal indexes, engineering and alarm ranges per channel group.
struct NewAiCase {
  AiType t;
  Bytes signalBytes;
  float upperLow, upperHigh;  // engineering upper of channels 0-3 and 4-7
  const char* crcTail;
};

TEST_F(AnalogInputDialogTest, NewModulesStoreAndShowTheirDefaults) {
  const NewAiCase cases[] = {
      {kIstrel, Hex("00 00 00 00 01 01 01 01"), 20.0f, 10.0f, "95 DD"},
      {kJorlith, Hex("00 00 00 00 01 01 01 01"), 20.0f, 10.0f, "95 DD"},
      {kQuenlow, Bytes(8, 0), 20.0f, 20.0f, "00 C0"},
      {kRastok, Bytes(8, 0), 20.0f, 20.0f, "00 C0"},
      {kPruvel, Bytes(4, 1), 10.0f, 10.0f, "69 56"},
  };
  for (int language : {1, 2}) {
    for (const NewAiCase& c : cases) {
      const AiType& t = c.t;
      SCOPED_TRACE(testing::Message() << t.model << " language " << language);
      CSystemBlockExtendDlg& page = OpenPage(language);
      page.OnAddModule(1);  // a digital module first: the analog addresses still start at 0
      page.OnAddModule(t.type);
      ASSERT_EQ(modules_.size(), 3u);
      const Bytes record = modules_[2];
      const size_t n = t.channels;
      ASSERT_EQ(record.size(), n == 8 ? 178u : 94u);
      EXPECT_EQ(Params(2, 0, 7),
                (Bytes{2, t.type, 0, static_cast<uint8_t>(n), 0, 0, static_cast<uint8_t>(record.size())}));
      EXPECT_EQ(Params(2, 7, n + 1), Cat({c.signalBytes, {0}}));
      const size_t values = 8 + n;
      EXPECT_EQ(Params(2, values + 4 * n, 4), F32(c.upperLow));
      EXPECT_EQ(Params(2, values + 4 * (2 * n - 1), 4), F32(c.upperHigh));
      EXPECT_EQ(Params(2, values + 4 * 4 * n, 4 * n), F32(500.0f, n));
      EXPECT_EQ(Params(2, record.size() - 2, 2), Hex(c.crcTail));

      QWidget& dialog = Dialog(t.type);
      EXPECT_TRUE(dialog.isVisible());
      EXPECT_EQ(dialog.findChild<QGroupBox*>()->title(), QString::fromLatin1(t.model));
      const bool english = language == 1 && t.type == 9;
      EXPECT_EQ(Ctl<QPushButton>(t.type, t.defaultButton)->text(),
                english ? QStringLiteral("Default") : QStringLiteral("默认"));
      QStringList captions;
      for (QLabel* label : dialog.findChildren<QLabel*>()) captions << label->text();
      EXPECT_TRUE(captions.contains(english ? QStringLiteral("Alarm Cap：") : QStringLiteral("报警上限：")))
          << captions.join(' ').toStdString();
      for (size_t ch = 0; ch < n; ++ch) {
        QComboBox* list = At<QComboBox>(t, kList, ch);
        QStringList entries;
        for (int e = 0; e < list->count(); ++e) entries << list->itemText(e);
        EXPECT_EQ(entries, ch < 4 ? t.entries : t.highEntries);
        EXPECT_EQ(list->currentIndex(), c.signalBytes[ch]);
        EXPECT_EQ(list->isEditable(), language == 1);
        EXPECT_EQ(EditAt(t, kEngLower, ch)->text(), QStringLiteral("0.00"));
        EXPECT_EQ(EditAt(t, kAlarmLower, ch)->text(), QStringLiteral("1.00"));
        EXPECT_EQ(EditAt(t, kForceValue, ch)->text(), QStringLiteral("500.00"));
        EXPECT_FALSE(At<QCheckBox>(t, kForceBox, ch)->isChecked());
        EXPECT_EQ(At<QLabel>(t, kLabel, ch)->text(), QStringLiteral("AI%1:").arg(ch));
      }
      EXPECT_TRUE(ShownForceEdits(t).empty());
      ASSERT_TRUE(page.CommitCurrentModule());
      EXPECT_EQ(modules_[2], record);
      EXPECT_TRUE(messages_.Texts.empty());
    }
  }
}

TEST_F(AnalogInputDialogTest, ControlChangesReachTheRecordAndLoadBackWithTwoDecimals) {
  const AiType& t = kIstrel;
  CSystemBlockExtendDlg& page = OpenPage(1);
  page.OnAddModule(4);
  At<QCheckBox>(t, kForceBox, 3)->click();
  EXPECT_EQ(ShownForceEdits(t), std::vector<int>{3});
  At<QCheckBox>(t, kForceBox, 3)->click();
  EXPECT_TRUE(ShownForceEdits(t).empty());
  At<QCheckBox>(t, kForceBox, 0)->click();
  At<QCheckBox>(t, kForceBox, 5)->click();
  EXPECT_EQ(ShownForceEdits(t), (std::vector<int>{0, 5}));
  At<QComboBox>(t, kList, 1)->setCurrentIndex(1);
  At<QComboBox>(t, kList, 2)->setEditText(QStringLiteral("0-30mA"));  // typed, matches no entry
  // Channels 4 to 7 are outside the limit check: any text reaches the record.
  EditAt(t, kEngLower, 4)->setText(QString());
  EditAt(t, kEngLower, 5)->setText(QStringLiteral("-"));
  EditAt(t, kEngLower, 6)->setText(QStringLiteral("1.2.3"));
  EditAt(t, kEngLower, 7)->setText(QStringLiteral("-.5"));
  EditAt(t, kAlarmUpper, 7)->setText(QStringLiteral("-12.5"));
  EditAt(t, kForceValue, 6)->setText(QStringLiteral("1.005"));
  ASSERT_TRUE(page.CommitCurrentModule());
  EXPECT_EQ(Params(1, 7, 9), Hex("00 01 FF 00 01 01 01 01 21"));
  EXPECT_EQ(Params(1, 16 + 16, 16), Cat({F32(0.0f), F32(0.0f), F32(1.2f), F32(-0.5f)}));
  EXPECT_EQ(Params(1, 112 + 28, 4), F32(-12.5f));
  EXPECT_EQ(Params(1, 144 + 24, 4), F32(1.005f));
  EXPECT_EQ(Params(1, 144, 4), F32(500.0f)) << "force values are stored whether forced or not";
  EXPECT_EQ(StoredCrc(modules_[1]), CrcOver(modules_[1], 175));
  const Bytes changed = modules_[1];

  page.OnAddModule(4);
  EXPECT_TRUE(ShownForceEdits(t).empty());
  EXPECT_EQ(At<QLabel>(t, kLabel, 0)->text(), QStringLiteral("AI8:"));
  SelectRow(1);
  EXPECT_EQ(At<QLabel>(t, kLabel, 7)->text(), QStringLiteral("AI7:"));
  EXPECT_EQ(ShownForceEdits(t), (std::vector<int>{0, 5}));
  EXPECT_TRUE(At<QCheckBox>(t, kForceBox, 5)->isChecked());
  EXPECT_EQ(At<QComboBox>(t, kList, 1)->currentIndex(), 1);
  EXPECT_EQ(At<QComboBox>(t, kList, 2)->currentIndex(), -1);
  EXPECT_EQ(At<QComboBox>(t, kList, 2)->currentText(), QString());
  EXPECT_EQ(EditAt(t, kEngLower, 5)->text(), QStringLiteral("0.00"));
  EXPECT_EQ(EditAt(t, kEngLower, 6)->text(), QStringLiteral("1.20"));
  EXPECT_EQ(EditAt(t, kEngLower, 7)->text(), QStringLiteral("-0.50"));
  EXPECT_EQ(EditAt(t, kForceValue, 6)->text(), QStringLiteral("1.00"));
  ASSERT_TRUE(page.CommitCurrentModule());
  EXPECT_EQ(Params(1, 7, 168 - 4 * 2), Bytes(changed.begin() + 7, changed.begin() + 175 - 8));
  EXPECT_EQ(Params(1, 144 + 24, 4), F32(1.0f)) << "the shown text is what is stored again";
  EXPECT_TRUE(messages_.Texts.empty());
}

TEST_F(AnalogInputDialogTest, PruvelForcesAndAQuenlowBehindAnIstrel) {
  CSystemBlockExtendDlg& page = OpenPage(2);
  // Before any Pruvel is loaded its form shows the force value edits; the others hide them.
  EXPECT_EQ(ShownForceEdits(kPruvel), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_TRUE(ShownForceEdits(kIstrel).empty());
  page.OnAddModule(9);
  EXPECT_TRUE(ShownForceEdits(kPruvel).empty());
  for (size_t ch = 0; ch < 4; ++ch) At<QCheckBox>(kPruvel, kForceBox, ch)->click();
  ASSERT_TRUE(page.CommitCurrentModule());
  EXPECT_EQ(modules_[1][11], 0x0F);
  page.OnAddModule(4);
  page.OnAddModule(10);
  EXPECT_EQ(modules_[3][2], 12);  // 4 Pruvel + 8 Istrel channels before it
  for (size_t ch = 0; ch < 8; ++ch)
    EXPECT_EQ(At<QLabel>(kQuenlow, kLabel, ch)->text(), QStringLiteral("AI%1:").arg(12 + ch));
}

TEST_F(AnalogInputDialogTest, DefaultResetsQuenlowLabelsButKeepsIstrelLabels) {
  CSystemBlockExtendDlg& page = OpenPage(1);
  page.OnAddModule(10);
  const Bytes fresh = modules_[1];
  At<QCheckBox>(kQuenlow, kForceBox, 2)->click();
  At<QComboBox>(kQuenlow, kList, 0)->setCurrentIndex(1);
  EditAt(kQuenlow, kAlarmUpper, 7)->setText(QStringLiteral("7"));
  Ctl<QPushButton>(10, kQuenlow.defaultButton)->click();
  EXPECT_TRUE(ShownForceEdits(kQuenlow).empty());
  EXPECT_FALSE(At<QCheckBox>(kQuenlow, kForceBox, 2)->isChecked());
  EXPECT_EQ(At<QComboBox>(kQuenlow, kList, 0)->currentIndex(), 0);
  EXPECT_EQ(EditAt(kQuenlow, kAlarmUpper, 7)->text(), QStringLiteral("19.00"));
  for (size_t ch = 0; ch < 8; ++ch)
    EXPECT_EQ(At<QLabel>(kQuenlow, kLabel, ch)->text(), QStringLiteral("AI08%1:").arg(ch));
  ASSERT_TRUE(page.CommitCurrentModule());
  EXPECT_EQ(modules_[1], fresh);

  page.OnAddModule(4);
  Ctl<QPushButton>(4, kIstrel.defaultButton)->click();
  EXPECT_EQ(At<QLabel>(kIstrel, kLabel, 0)->text(), QStringLiteral("AI8:"));

  // Rastok's Default differs from its construction values: signal 0 and the 0-20 range.
  page.OnAddModule(12);
  EXPECT_EQ(At<QComboBox>(kRastok, kList, 0)->currentIndex(), 0);
  EXPECT_EQ(EditAt(kRastok, kEngUpper, 0)->text(), QStringLiteral("20.00"));
}

TEST_F(AnalogInputDialogTest, ValueEditsTakeDigitsPointMinusAndBackspaceOnly) {
  CSystemBlockExtendDlg& page = OpenPage(1);
  page.OnAddModule(4);
  QGuiApplication::clipboard()->setText(QStringLiteral("77"));
  // A plain edit pastes on Ctrl+V: the key events below are the ones an edit acts on.
  QLineEdit plain;
  Press(&plain, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
  ASSERT_EQ(plain.text(), QStringLiteral("77"));

  for (QLineEdit* edit :
       {EditAt(kIstrel, kEngLower, 0), EditAt(kIstrel, kAlarmUpper, 6), EditAt(kIstrel, kForceValue, 3)}) {
    edit->clear();
    Type(edit, QStringLiteral("a1,2 b"));
    EXPECT_EQ(edit->text(), QStringLiteral("12"));
    edit->clear();
    Type(edit, QStringLiteral("-12.5"));
    EXPECT_EQ(edit->text(), QStringLiteral("-12.5"));
    Press(edit, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    EXPECT_EQ(edit->text(), QStringLiteral("-12."));
    Press(edit, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
    Press(edit, Qt::Key_V, Qt::ControlModifier, QString());
    EXPECT_EQ(edit->text(), QStringLiteral("-12."));
    // Text an input method commits passes character by character.
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("5，a6"));
    QApplication::sendEvent(edit, &commit);
    EXPECT_EQ(edit->text(), QStringLiteral("-12.56"));
    EXPECT_FALSE(edit->acceptDrops());
  }
  // The signal lists are not filtered.
  QComboBox* list = At<QComboBox>(kIstrel, kList, 0);
  list->lineEdit()->clear();
  Type(list->lineEdit(), QStringLiteral("mA"));
  EXPECT_EQ(list->currentText(), QStringLiteral("mA"));
}

TEST(ValueEditFilter, AcceptsOnlyTheNumberCharacters) {
  struct Case {
    int key;
    Qt::KeyboardModifiers modifiers;
    QString text;
    bool accepted;
  } cases[] = {
      {Qt::Key_5, Qt::NoModifier, "5", true},
      {Qt::Key_Minus, Qt::NoModifier, "-", true},
      {Qt::Key_Period, Qt::NoModifier, ".", true},
      {Qt::Key_Backspace, Qt::NoModifier, "\b", true},
      {Qt::Key_Comma, Qt::NoModifier, ",", false},
      {Qt::Key_E, Qt::NoModifier, "e", false},
      {Qt::Key_Plus, Qt::NoModifier, "+", false},
      {Qt::Key_Space, Qt::NoModifier, " ", false},
      {Qt::Key_V, Qt::ControlModifier, "\x16", false},
      {Qt::Key_C, Qt::ControlModifier, "", false},
      {Qt::Key_Left, Qt::NoModifier, "", true},
      {Qt::Key_Left, Qt::ControlModifier, "", true},
      {Qt::Key_Delete, Qt::NoModifier, "\x7f", true},
      {Qt::Key_Tab, Qt::NoModifier, "\t", true},
      {Qt::Key_Return, Qt::NoModifier, "\r", true},
      {Qt::Key_1, Qt::KeypadModifier, "1", true},
      {0, Qt::NoModifier, QString(QChar(0x3002)), false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ValueEditAcceptsKey(c.key, c.modifiers, c.text), c.accepted) << c.key << " " << c.text.toStdString();
}

// The limit check reads the Istrel and Pruvel values whichever module is committed.
TEST_F(AnalogInputDialogTest, LimitCheckOfTheCommit) {
  struct Case {
    const char* name;
    const AiType* t;
    size_t ch;
    Column lowerColumn;
    const char* lower;
    const char* upper;
    const wchar_t* message;  // null: accepted
  };
  const Case cases[] = {
      {"Istrel channel 2 engineering 5 and 5", &kIstrel, 2, kEngLower, "5", "5", L"Istrel工程量的上限值要大于下限值!"},
      {"Istrel channel 0 alarm 19 over 1", &kIstrel, 0, kAlarmLower, "19.00", "1.00",
       L"Istrel报警的上限值要大于下限值!"},
      {"Istrel channel 5 is not checked", &kIstrel, 5, kEngLower, "5", "1", nullptr},
      {"empty lower against 0", &kIstrel, 1, kEngLower, "", "0", L"Istrel工程量的上限值要大于下限值!"},
      {"empty lower against 0.01", &kIstrel, 1, kEngLower, "", "0.01", nullptr},
      {"pasted 1 followed by letters counts as 1", &kIstrel, 3, kEngLower, "1", "1abc",
       L"Istrel工程量的上限值要大于下限值!"},
      {"and passes above 0.5", &kIstrel, 3, kEngLower, "0.5", "1abc", nullptr},
      {"Pruvel alarm", &kPruvel, 3, kAlarmLower, "9", "-9", L"Pruvel报警的上限值要大于下限值!"},
      {"Quenlow is not checked", &kQuenlow, 0, kEngLower, "30", "20", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages_.Texts.clear();
    CSystemBlockExtendDlg& page = OpenPage(2);
    page.OnAddModule(c.t->type);
    EditAt(*c.t, c.lowerColumn, c.ch)->setText(QString::fromUtf8(c.lower));
    EditAt(*c.t, static_cast<Column>(c.lowerColumn + 1), c.ch)->setText(QString::fromUtf8(c.upper));
    EXPECT_EQ(page.CommitCurrentModule(), c.message == nullptr);
    if (c.message == nullptr) {
      EXPECT_TRUE(messages_.Texts.empty());
    } else {
      ASSERT_EQ(messages_.Texts.size(), 1u);
      EXPECT_EQ(messages_.Texts[0], c.message);
    }
  }
}

TEST_F(AnalogInputDialogTest, AHiddenViolatingPruvelRefusesEveryCommit) {
  CSystemBlockExtendDlg& page = OpenPage(1);
  page.OnAddModule(9);
  EditAt(kPruvel, kEngLower, 1)->setText(QStringLiteral("10.00"));
  EditAt(kPruvel, kEngUpper, 1)->setText(QStringLiteral("0.00"));
  page.OnAddModule(2);
  ASSERT_EQ(messages_.Texts.size(), 1u);
  EXPECT_EQ(messages_.Texts[0], L"Pruvel工程量的上限值要大于下限值!");
  EXPECT_EQ(modules_.size(), 2u);
  EXPECT_EQ(modules_[1][28 + 4 + 3], 0x00) << "the refused commit stored the violating record";
  EXPECT_EQ(Params(1, 12 + 4, 4), F32(10.0f));
  // Both violate: only the Istrel message is shown.
  page.Parameters.istrel.channels[0].alarmUpper = L"0";
  messages_.Texts.clear();
  EXPECT_FALSE(page.CommitCurrentModule());
  ASSERT_EQ(messages_.Texts.size(), 1u);
  EXPECT_EQ(messages_.Texts[0], L"Istrel报警的上限值要大于下限值!");
}

// Every module type has a sub-dialog of its own, shown alone while its module is selected, and
// a new module's record survives a commit through its controls unchanged.
TEST_F(AnalogInputDialogTest, EveryModuleTypeOpensItsOwnSubDialog) {
  for (int language : {1, 2}) {
    OpenPage(language);
    for (int type = 1; type <= kMaxModuleType; ++type) {
      SCOPED_TRACE(testing::Message() << "type " << type << " language " << language);
      if (modules_.size() == kMaxModuleListRecords) OpenPage(language);
      CSystemBlockExtendDlg& page = *page_;
      page.OnAddModule(static_cast<uint8_t>(type));
      const int row = static_cast<int>(modules_.size()) - 1;
      ASSERT_EQ(modules_[row][1], type);
      QWidget* dialog = page.SubDialog(type);
      EXPECT_TRUE(dynamic_cast<CAnalogOutputModuleSubDlg*>(dialog) != nullptr ||
                  dynamic_cast<CDigitalModuleSubDlg*>(dialog) != nullptr);
      EXPECT_TRUE(dialog->isVisible());
      for (int other = 0; other <= kMaxModuleType; ++other) {
        if (other != type) {
          EXPECT_FALSE(page.SubDialog(other)->isVisible()) << other;
        }
      }
      EXPECT_EQ(dialog->findChild<QGroupBox*>()->title(), QString::fromWCharArray(ModuleModelName(type)));
      const Bytes record = modules_[row];
      ASSERT_TRUE(page.CommitCurrentModule());
      EXPECT_EQ(modules_[row], record);
      SelectRow(0);
      EXPECT_FALSE(dialog->isVisible());
      SelectRow(row);
      EXPECT_TRUE(dialog->isVisible());
      ASSERT_TRUE(page.CommitCurrentModule());
      EXPECT_EQ(modules_[row], record);
    }
  }
  EXPECT_TRUE(messages_.Texts.empty());
}

}  // namespace
}  // namespace corvell
