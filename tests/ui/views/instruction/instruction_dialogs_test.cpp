// The instruction input box and the four instruction editor dialogs, offscreen, on the fixture
// types. The dialogs that a Reference button opens are stood in for by a scripted runner, except
// where a test runs the real modal dialog and closes it itself.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "ui/views/instruction/editor_device_detail_dlg.h"
#include "ui/views/instruction/editor_device_dlg.h"
#include "ui/views/instruction/editor_input_dlg.h"
#include "ui/views/instruction/editor_instruction_dlg.h"
#include "ui/views/instruction/editor_instruction_refer_dlg.h"
#include "ui/views/instruction/instruction_dialog_runner.h"
#include "ui/views/instruction/instruction_test_support.h"

using namespace Brenno;

namespace {

struct RunnerCall {
  std::string dialog;
  std::wstring format;
  std::wstring text;
  int blockKey = 0;
  int dataType = 0;
};

class ScriptedRunner : public InstructionDialogRunner {
 public:
  bool RunDeviceDetailDialog(const std::wstring& format, std::wstring& text, int blockKey, int dataType) override {
    return Answer({"detail", format, text, blockKey, dataType}, text);
  }
  bool RunDeviceDialog(std::wstring& text, int blockKey) override {
    return Answer({"device", L"", text, blockKey, 0}, text);
  }
  bool RunInstructionDialog(std::wstring& text, int blockKey) override {
    return Answer({"instruction", L"", text, blockKey, 0}, text);
  }
  bool RunInstructionReferDialog(std::wstring& text, int blockKey) override {
    return Answer({"refer", L"", text, blockKey, 0}, text);
  }

  std::vector<RunnerCall> Calls;
  bool Confirm = true;
  std::wstring Reply;

 private:
  bool Answer(RunnerCall call, std::wstring& text) {
    Calls.push_back(std::move(call));
    if (Confirm) text = Reply;
    return Confirm;
  }
};

class RecordingTarget : public InstructionInputTarget {
 public:
  int GetActiveBlockId() override { return ActiveBlock; }
  void InsertInstructionText(const std::wstring& text) override { Inserted.push_back(text); }
  int ActiveBlock = 0;
  std::vector<std::wstring> Inserted;
};

class InstructionDialogs : public instructiontest::InstructionEnvFixture {
 protected:
  void SetUp() override { InstallInstructionDialogRunner(&runner_); }
  void TearDown() override {
    InstallInstructionDialogRunner(nullptr);
    InstructionEnvFixture::TearDown();
  }

  void Type(QLineEdit* edit, const wchar_t* text) { edit->setText(QString::fromWCharArray(text)); }
  static std::wstring Text(const QLineEdit* edit) { return edit->text().toStdWString(); }

  // An input box wired to the recording target.
  std::unique_ptr<CEditorInputDlg> MakeBox() {
    auto box = std::make_unique<CEditorInputDlg>();
    box->SetTargetLookup([this]() -> InstructionInputTarget* { return targetOpen_ ? &target_ : nullptr; });
    box->ShowBox();
    return box;
  }

  ScriptedRunner runner_;
  RecordingTarget target_;
  bool targetOpen_ = true;
};

}  // namespace

TEST_F(InstructionDialogs, ContactMnemonicKeepsTheTypedOperandAndOkSendsTheWholeInstruction) {
  Load("TypeFx");
  auto box = MakeBox();
  EXPECT_EQ(ShownIcon(box->KindIcon()), kIconKindFirst + kElementBox);
  Type(box->Edit(), L"X1");
  EXPECT_EQ(ShownIcon(box->ValidIcon()), kIconInvalid);  // a box named X1 does not exist

  box->SetInstructionText(L"LD");
  EXPECT_EQ(ShownIcon(box->KindIcon()), kIconKindFirst + kElementContactNo);
  EXPECT_EQ(Text(box->Edit()), L"X1");
  EXPECT_EQ(ShownIcon(box->ValidIcon()), kIconValid);
  EXPECT_EQ(box->InstructionText(), L"LD  X1");
  // The mnemonic is implied: typing it as well makes the text invalid.
  Type(box->Edit(), L"LD X1");
  EXPECT_EQ(ShownIcon(box->ValidIcon()), kIconInvalid);
  Type(box->Edit(), L"start");  // a global symbol
  EXPECT_EQ(ShownIcon(box->ValidIcon()), kIconValid);

  box->accept();
  EXPECT_EQ(target_.Inserted, (std::vector<std::wstring>{L"LD  start"}));
  EXPECT_FALSE(box->isVisible());
  EXPECT_EQ(Text(box->Edit()), L"");
  EXPECT_EQ(box->ElementKind(), kElementContactNo);  // hiding keeps the kind
}

TEST_F(InstructionDialogs, BoxInstructionsAreSentNormalised) {
  Load("TypeFx");
  auto box = MakeBox();
  box->SetInstructionText(L"LDI X2");
  EXPECT_EQ(Text(box->Edit()), L"X2");
  EXPECT_EQ(ShownIcon(box->KindIcon()), kIconKindFirst + kElementContactNc);
  box->SetInstructionText(L"ADD\tD0,,K1  D2");
  EXPECT_EQ(Text(box->Edit()), L"ADD  D0, K1, D2");
  EXPECT_EQ(ShownIcon(box->ValidIcon()), kIconValid);
  box->KeepCheck()->setChecked(true);
  box->accept();
  box->accept();
  EXPECT_EQ(target_.Inserted, (std::vector<std::wstring>(2, L"ADD  D0, K1, D2")));
  EXPECT_TRUE(box->isVisible());
  EXPECT_EQ(Text(box->Edit()), L"ADD  D0, K1, D2");
  // The empty text only switches to the box kind and keeps the edit.
  box->SetInstructionText(L"");
  EXPECT_EQ(Text(box->Edit()), L"ADD  D0, K1, D2");
}

TEST_F(InstructionDialogs, OkSendsOnlyWhileOfflineAndWithAnEditor) {
  Load("TypeFx");
  auto box = MakeBox();
  box->SetInstructionText(L"OUT Y0");
  Environment().CommState = CommOnline;
  box->accept();
  EXPECT_TRUE(target_.Inserted.empty());
  EXPECT_FALSE(box->isVisible());
  Environment().CommState = CommOffline;
  targetOpen_ = false;
  box->ShowBox();
  box->SetInstructionText(L"OUT Y0");
  box->accept();
  EXPECT_TRUE(target_.Inserted.empty());
  targetOpen_ = true;
  box->ShowBox();
  box->SetInstructionText(L"garbage here");
  box->accept();  // not checked before sending
  EXPECT_EQ(target_.Inserted, (std::vector<std::wstring>{L"garbage  here"}));
  box->ShowBox();
  Type(box->Edit(), L"X0");
  box->reject();
  EXPECT_EQ(target_.Inserted.size(), 1u);
  EXPECT_EQ(Text(box->Edit()), L"");
}

TEST_F(InstructionDialogs, ReferenceOpensTheDialogOfTheElementKind) {
  Load("TypeFx");
  auto box = MakeBox();
  target_.ActiveBlock = 0;
  box->SetInstructionText(L"LD X0");
  runner_.Reply = L"X7";
  box->OnReference();
  ASSERT_EQ(runner_.Calls.size(), 1u);
  EXPECT_EQ(runner_.Calls[0].dialog, "detail");
  EXPECT_EQ(runner_.Calls[0].format, L"Tv:");
  EXPECT_EQ(runner_.Calls[0].text, L"X0");
  EXPECT_EQ(runner_.Calls[0].dataType, 0);
  EXPECT_EQ(box->ActiveBlockKey(), 0);
  EXPECT_EQ(Text(box->Edit()), L"X7");
  EXPECT_EQ(box->InstructionText(), L"LD  X7");

  box->SetInstructionText(L"OUT Y0");
  runner_.Confirm = false;
  box->OnReference();
  EXPECT_EQ(runner_.Calls.back().dialog, "device");
  EXPECT_EQ(Text(box->Edit()), L"Y0");  // cancelled: unchanged

  box->SetInstructionText(L"MOV K1 D0");
  targetOpen_ = false;
  box->OnReference();
  EXPECT_EQ(runner_.Calls.back().dialog, "instruction");
  EXPECT_EQ(runner_.Calls.back().text, L"MOV  K1, D0");
  EXPECT_EQ(runner_.Calls.back().blockKey, -1);

  // An edge contact's bit is its output operand: Reference edits it under that operand's format.
  targetOpen_ = true;
  box->SetInstructionText(L"LDP X0");
  runner_.Confirm = true;
  runner_.Reply = L"X3";
  box->OnReference();
  EXPECT_EQ(runner_.Calls.back().dialog, "detail");
  EXPECT_EQ(runner_.Calls.back().format, L"Tv:");
  EXPECT_EQ(runner_.Calls.back().text, L"X0");
  EXPECT_EQ(box->InstructionText(), L"LDP  X3");

  // Without a single edge contact of that shape Reference does nothing.
  for (FunLadRecord& record : Project().Instructions.FunLadList) {
    if (record.Name == L"LDF") std::swap(record.OperandIn, record.OperandOut);
  }
  const std::size_t before = runner_.Calls.size();
  box->SetInstructionText(L"LDF X0");
  box->OnReference();
  EXPECT_EQ(runner_.Calls.size(), before);
  EXPECT_EQ(Text(box->Edit()), L"X0");
}

TEST_F(InstructionDialogs, LocalNamesResolveAgainstTheBlockOfTheLastReference) {
  Load("TypeFx");
  auto box = MakeBox();
  box->SetInstructionText(L"MOV #speed D0");
  EXPECT_EQ(ShownIcon(box->ValidIcon()), kIconInvalid);  // no Reference yet: no block
  runner_.Confirm = false;
  target_.ActiveBlock = 0;
  box->OnReference();
  Type(box->Edit(), L"MOV  #speed, D1");
  EXPECT_EQ(ShownIcon(box->ValidIcon()), kIconValid);
}

TEST_F(InstructionDialogs, InputBoxGrowsOnlyItsEditAndCentresItsButtons) {
  Load("TypeFx");
  auto box = MakeBox();
  const QSize initial = box->size();
  EXPECT_EQ(box->minimumSize(), initial);
  auto* ok = box->findChild<QPushButton*>(QStringLiteral("IDOK"));
  const QRect edit = box->Edit()->geometry();
  const QRect button = ok->geometry();
  const QRect kindIcon = box->KindIcon()->geometry();
  box->resize(initial + QSize(100, 40));
  EXPECT_EQ(box->Edit()->geometry(), QRect(edit.x(), edit.y() + 20, edit.width() + 100, edit.height()));
  EXPECT_EQ(ok->geometry(), button.translated(50, 40));
  EXPECT_EQ(box->KindIcon()->geometry(), kindIcon.translated(0, 20));
}

TEST_F(InstructionDialogs, DeviceDetailListsShareTheGrowthInThirds) {
  Load("TypeA");
  CEditorDeviceDetailDlg dialog;
  dialog.show();
  const QSize initial = dialog.size();
  const QRect kinds = dialog.KindList()->geometry();
  const QRect symbols = dialog.SymbolList()->geometry();
  const QRect icon = dialog.ValidIcon()->geometry();
  const QRect edit = dialog.DeviceEdit()->geometry();
  dialog.resize(initial + QSize(90, 30));
  EXPECT_EQ(dialog.KindList()->geometry(), QRect(kinds.x() + 30, kinds.y(), kinds.width() + 30, kinds.height() + 30));
  EXPECT_EQ(dialog.SymbolList()->geometry(),
            QRect(symbols.x() + 60, symbols.y(), symbols.width() + 30, symbols.height() + 30));
  EXPECT_EQ(dialog.ValidIcon()->geometry(), icon);
  EXPECT_EQ(dialog.DeviceEdit()->geometry(), QRect(edit.x(), edit.y(), edit.width() + 30, edit.height()));
  // Never smaller than at the start: a shrink leaves every control where it began.
  dialog.resize(initial - QSize(40, 40));
  EXPECT_EQ(dialog.KindList()->geometry(), kinds);
}

TEST_F(InstructionDialogs, SubroutineNamesAreValidAndSentAsTyped) {
  Load("TypeA");
  auto box = MakeBox();
  box->SetInstructionText(L"SBR_0");
  EXPECT_EQ(ShownIcon(box->ValidIcon()), kIconValid);
  box->accept();
  EXPECT_EQ(target_.Inserted, (std::vector<std::wstring>{L"SBR_0"}));
}

TEST_F(InstructionDialogs, DeviceDialogSplitsChecksAndJoinsTheCoilOperands) {
  Load("TypeFx");
  CEditorDeviceDlg dialog;
  dialog.SetArguments(L"D0 K10 dropped", -1);
  dialog.OnInitDialog();
  EXPECT_EQ(Text(dialog.Edit(0)), L"D0");
  EXPECT_EQ(Text(dialog.Edit(1)), L"K10");
  EXPECT_EQ(dialog.Slot(0), (OperandSlot{L"Wv:", 2}));
  EXPECT_EQ(ShownIcon(dialog.ValidIcon(0)), kIconValid);
  EXPECT_EQ(ShownIcon(dialog.ValidIcon(1)), kIconValid);
  EXPECT_TRUE(dialog.ReferenceButton(0)->isEnabled());
  EXPECT_TRUE(dialog.ReferenceButton(1)->isEnabled());
  // Without a set value the device is checked as the one-operand coil's bit.
  Type(dialog.Edit(1), L"");
  EXPECT_EQ(dialog.Slot(0), (OperandSlot{L"Tv:", 0}));
  EXPECT_EQ(ShownIcon(dialog.ValidIcon(0)), kIconInvalid);
  EXPECT_TRUE(dialog.ReferenceButton(1)->isEnabled());
  Type(dialog.Edit(0), L"Y3");
  EXPECT_EQ(ShownIcon(dialog.ValidIcon(0)), kIconValid);
  EXPECT_EQ(ShownIcon(dialog.ValidIcon(1)), kIconInvalid);

  runner_.Reply = L"K20";
  dialog.ReferenceButton(1)->click();
  ASSERT_EQ(runner_.Calls.size(), 1u);
  EXPECT_EQ(runner_.Calls[0].format, L"Wvc:");
  EXPECT_EQ(runner_.Calls[0].dataType, 5);
  EXPECT_EQ(Text(dialog.Edit(1)), L"K20");
  EXPECT_EQ(dialog.Slot(0), (OperandSlot{L"Wv:", 2}));  // a set value switches to the timer coil
  dialog.accept();
  EXPECT_EQ(dialog.OperandText(), L"Y3, K20");

  CEditorDeviceDlg single;
  single.SetArguments(L"Y1", -1);
  single.OnInitDialog();
  single.accept();
  EXPECT_EQ(single.OperandText(), L"Y1");
}

TEST_F(InstructionDialogs, DeviceDialogWithoutCoilDefinitionsStillReturnsTheText) {
  Load("TypeFx");
  // A library whose coil mnemonic names no definition.
  Project().Instructions.LadFxNameCoil = L"COIL";
  CEditorDeviceDlg dialog;
  dialog.SetArguments(L"Y0", 0);
  dialog.OnInitDialog();
  for (int row = 0; row < 2; ++row) {
    EXPECT_FALSE(dialog.ReferenceButton(row)->isEnabled());
    EXPECT_EQ(ShownIcon(dialog.ValidIcon(row)), kIconInvalid);
  }
  dialog.ReferenceButton(0)->click();
  EXPECT_TRUE(runner_.Calls.empty());
  Type(dialog.Edit(1), L"K3");
  dialog.accept();
  EXPECT_EQ(dialog.OperandText(), L"Y0, K3");
}

TEST_F(InstructionDialogs, DeviceDetailDialogShowsTheAddressFormAndReturnsIt) {
  Load("TypeA");
  CEditorDeviceDetailDlg dialog;
  dialog.SetArguments(L"Dvap:", L"&VB100", 0, -1);
  dialog.OnInitDialog();
  EXPECT_EQ(Text(dialog.DeviceEdit()), L"VB100");
  EXPECT_EQ(ShownIcon(dialog.ValidIcon()), kIconValid);
  EXPECT_TRUE(dialog.AsAddressButton()->isChecked());
  EXPECT_FALSE(dialog.AsValueButton()->isEnabled());
  EXPECT_EQ(dialog.KindList()->currentItem()->text(), QStringLiteral("&VB0 ~ &VB8191"));
  EXPECT_TRUE(dialog.BitGroupList()->count() == 8 && !dialog.BitGroupList()->isEnabled());
  EXPECT_EQ(dialog.IndexList()->count(), 17);
  ASSERT_EQ(dialog.SymbolList()->count(), 3);
  EXPECT_EQ(dialog.SymbolList()->item(0)->text(), QStringLiteral("#speed"));
  dialog.accept();
  EXPECT_EQ(dialog.OperandText(), L"&VB100");
}

TEST_F(InstructionDialogs, DeviceDetailDialogFollowsRowsSymbolsAndTyping) {
  Load("TypeA");
  CEditorDeviceDetailDlg dialog;
  dialog.SetArguments(L"Wvc:", L"", -1, 5);
  dialog.OnInitDialog();
  EXPECT_EQ(ShownIcon(dialog.ValidIcon()), kIconInvalid);
  EXPECT_EQ(dialog.SymbolList()->count(), 2);  // no block: globals only
  const int constantRow = dialog.KindList()->count() - 1;
  dialog.KindList()->setCurrentRow(constantRow);
  EXPECT_EQ(Text(dialog.DeviceEdit()), L"0");
  EXPECT_EQ(dialog.CurrentRow(), constantRow);
  EXPECT_FALSE(dialog.AsValueButton()->isEnabled());
  dialog.SymbolList()->setCurrentRow(1);  // "level" -> VW10
  EXPECT_EQ(Text(dialog.DeviceEdit()), L"VW10");
  EXPECT_TRUE(dialog.AsValueButton()->isChecked());
  EXPECT_EQ(ShownIcon(dialog.ValidIcon()), kIconValid);
  Type(dialog.DeviceEdit(), L"nonsense");
  EXPECT_EQ(ShownIcon(dialog.ValidIcon()), kIconInvalid);
  EXPECT_EQ(dialog.CurrentRow(), -1);
  EXPECT_FALSE(dialog.AsValueButton()->isEnabled());
  EXPECT_FALSE(dialog.AsValueButton()->isChecked());
  Type(dialog.DeviceEdit(), L"VW12");
  EXPECT_EQ(ShownIcon(dialog.ValidIcon()), kIconValid);
  dialog.accept();
  EXPECT_EQ(dialog.OperandText(), L"VW12");
}

// Every label, check box and radio button of the dialog is as wide as its text needs.
static void ExpectTextsWhole(const QWidget& dialog) {
  for (const QWidget* widget : dialog.findChildren<QWidget*>()) {
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
      text = label->text();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget);
               button != nullptr && qobject_cast<const QPushButton*>(widget) == nullptr) {
      text = button->text();
    }
    if (text.isEmpty()) continue;
    EXPECT_LE(widget->sizeHint().width(), widget->width())
        << dialog.windowTitle().toStdString() << ": " << text.toStdString() << " is cut";
  }
}

TEST_F(InstructionDialogs, DetailAndReferenceDialogsShowTheirTextsWholeInBothLanguages) {
  Load("TypeA");
  for (int language : {kLanguageEnglish, kLanguageChinese}) {
    SetCurrentLanguage(language);
    CEditorDeviceDetailDlg detail;
    ExpectTextsWhole(detail);
    CEditorInstructionReferDlg reference;
    ExpectTextsWhole(reference);
  }
  SetCurrentLanguage(kLanguageEnglish);
}

TEST_F(InstructionDialogs, ChineseDeviceDetailDialogCannotBeResized) {
  Load("TypeFx");
  SetCurrentLanguage(kLanguageChinese);
  CEditorDeviceDetailDlg dialog;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("元件详细"));
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
  CEditorDeviceDetailDlg* english = nullptr;
  SetCurrentLanguage(kLanguageEnglish);
  english = new CEditorDeviceDetailDlg;
  EXPECT_NE(english->minimumSize(), english->maximumSize());
  delete english;
}

TEST_F(InstructionDialogs, InstructionDialogEnablesTheRowsOfTheRecognisedElement) {
  Load("TypeA");
  CEditorInstructionDlg dialog;
  dialog.SetArguments(L"MOV_B VB0 16#0G a b c d e f", 0);
  dialog.OnInitDialog();
  EXPECT_EQ(Text(dialog.NameEdit()), L"MOV_B");
  EXPECT_EQ(Text(dialog.OperandEdit(5)), L"d");  // the tokens after the seventh are lost
  EXPECT_EQ(ShownIcon(dialog.NameIcon()), kIconValid);
  EXPECT_EQ(ShownIcon(dialog.OperandIcon(0)), kIconValid);
  EXPECT_EQ(ShownIcon(dialog.OperandIcon(1)), kIconInvalid);
  EXPECT_TRUE(dialog.OperandEdit(1)->isEnabled());
  EXPECT_FALSE(dialog.OperandEdit(2)->isEnabled());
  EXPECT_FALSE(dialog.OperandReference(2)->isEnabled());
  Type(dialog.OperandEdit(1), L"VB1");
  EXPECT_EQ(ShownIcon(dialog.OperandIcon(1)), kIconValid);

  runner_.Reply = L"VB9";
  dialog.OperandReference(1)->click();
  EXPECT_EQ(runner_.Calls.back().format, L"Bv:");
  EXPECT_EQ(runner_.Calls.back().text, L"VB1");
  EXPECT_EQ(Text(dialog.OperandEdit(1)), L"VB9");

  // An unknown name disables the rows, but OK still returns as many operands as MOV_B had.
  Type(dialog.NameEdit(), L"NOPE");
  EXPECT_EQ(ShownIcon(dialog.NameIcon()), kIconInvalid);
  EXPECT_FALSE(dialog.OperandEdit(0)->isEnabled());
  dialog.accept();
  EXPECT_EQ(dialog.InstructionText(), L"NOPE  VB0, VB9");
}

TEST_F(InstructionDialogs, InstructionDialogNameReferenceSwapsPageNamesAndAddresses) {
  Load("TypeA");
  CEditorInstructionDlg dialog;
  dialog.SetArguments(L"SBR_0", -1);
  dialog.OnInitDialog();
  EXPECT_EQ(ShownIcon(dialog.NameIcon()), kIconValid);
  runner_.Reply = L"SBR0";
  dialog.NameReference()->click();
  EXPECT_EQ(runner_.Calls.back().dialog, "refer");
  EXPECT_EQ(runner_.Calls.back().text, L"SBR0");
  EXPECT_EQ(Text(dialog.NameEdit()), L"SBR0");  // symbolic addressing off
  Environment().Config.SymbolicAddr = 1;
  dialog.NameReference()->click();
  EXPECT_EQ(Text(dialog.NameEdit()), L"SBR_0");
  dialog.accept();
  EXPECT_EQ(dialog.InstructionText(), L"SBR_0");
}

TEST_F(InstructionDialogs, ReferenceDialogShowsTheFormOfAMnemonicAndReturnsIt) {
  Load("TypeA");
  CEditorInstructionReferDlg dialog;
  dialog.SetArguments(L"MOV_W", -1);
  dialog.OnInitDialog();
  EXPECT_EQ(Text(dialog.Edit()), L"MOV");
  EXPECT_EQ(ShownIcon(dialog.ValidIcon()), kIconValid);
  EXPECT_EQ(dialog.GroupList()->currentItem()->text(), QStringLiteral("Move"));
  EXPECT_EQ(dialog.WidthList()->currentText(), QStringLiteral("WORD"));
  EXPECT_FALSE(dialog.PulseCheck()->isEnabled());
  dialog.accept();
  EXPECT_EQ(dialog.InstructionText(), L"MOV_W");

  CEditorInstructionReferDlg unknown;
  unknown.SetArguments(L"XYZ", -1);
  unknown.OnInitDialog();
  EXPECT_EQ(Text(unknown.Edit()), L"XYZ");
  EXPECT_EQ(ShownIcon(unknown.ValidIcon()), kIconInvalid);
  EXPECT_EQ(unknown.EntryList()->count(), 0);
  EXPECT_FALSE(unknown.WidthList()->isEnabled());
  unknown.accept();
  EXPECT_EQ(unknown.InstructionText(), L"XYZ");
}

TEST_F(InstructionDialogs, ReferenceDialogKeepsTheWidthAcrossEntries) {
  Load("TypeA");
  // A second entry in the Move group with BYTE and WORD forms.
  InstructionLibrary& library = Project().Instructions;
  const int movB = static_cast<int>(library.FunLadList.size());
  for (const wchar_t* name : {L"SWP_B", L"SWP_W"}) {
    FunLadRecord record;
    record.Name = name;
    library.FunLadList.push_back(record);
  }
  for (LadInstructionGroup& group : library.LadInstructionCatalog) {
    if (group.Name == L"Move") group.Items.push_back(LadInstructionItem{L"SWP", {{2, movB}, {4, movB + 1}}, L"", 6});
  }
  CEditorInstructionReferDlg dialog;
  dialog.SetArguments(L"MOV_W", -1);
  dialog.OnInitDialog();
  dialog.EntryList()->setCurrentRow(1);
  EXPECT_EQ(Text(dialog.Edit()), L"SWP");
  EXPECT_EQ(dialog.WidthList()->currentText(), QStringLiteral("WORD"));
  dialog.accept();
  EXPECT_EQ(dialog.InstructionText(), L"SWP_W");
}

TEST_F(InstructionDialogs, RealDialogsRunModallyThroughTheRunner) {
  Load("TypeA");
  InstallInstructionDialogRunner(nullptr);
  std::wstring text = L"MOV_B VB0 VB1";
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<CEditorInstructionDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->OperandEdit(1)->setText(QStringLiteral("VB2"));
    dialog->accept();
  });
  EXPECT_TRUE(RunInstructionDialog(text, -1));
  EXPECT_EQ(text, L"MOV_B  VB0, VB2");

  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
  EXPECT_FALSE(RunDeviceDetailDialog(L"Bv:", text, -1, 1));
  EXPECT_EQ(text, L"MOV_B  VB0, VB2");
}

TEST_F(InstructionDialogs, ReferenceDialogShowsAPulseDoubleWidthFormAndReturnsItUnchanged) {
  Load("TypeA");
  InstructionLibrary& library = Project().Instructions;
  const int first = static_cast<int>(library.FunLadList.size());
  for (const wchar_t* name : {L"INC_W", L"INC_D", L"INCP_D"}) {
    FunLadRecord record;
    record.Name = name;
    library.FunLadList.push_back(record);
  }
  library.LadInstructionCatalog.push_back(LadInstructionGroup{
      L"Math",
      {LadInstructionItem{L"INC", {{4, first}, {8, first + 1}, {8 | 16, first + 2}}, L"Increment", 4 | 8 | 16}}});
  CEditorInstructionReferDlg dialog;
  dialog.SetArguments(L"INCP_D", -1);
  dialog.OnInitDialog();
  EXPECT_EQ(Text(dialog.Edit()), L"INC");
  EXPECT_EQ(dialog.GroupList()->currentItem()->text(), QStringLiteral("Math"));
  EXPECT_EQ(dialog.EntryList()->currentItem()->text(), QStringLiteral("INC    [Increment]"));
  EXPECT_EQ(dialog.WidthList()->currentText(), QStringLiteral("DWORD"));
  EXPECT_TRUE(dialog.PulseCheck()->isEnabled());
  EXPECT_TRUE(dialog.PulseCheck()->isChecked());
  // Typing does not rewrite the edit; a text naming nothing clears the choice.
  Type(dialog.Edit(), L"IN");
  EXPECT_EQ(Text(dialog.Edit()), L"IN");
  EXPECT_EQ(dialog.CurrentGroup(), -1);
  EXPECT_FALSE(dialog.PulseCheck()->isEnabled());
  Type(dialog.Edit(), L"INCP_D");
  dialog.accept();
  EXPECT_EQ(dialog.InstructionText(), L"INCP_D");
}

TEST_F(InstructionDialogs, ChoosingAGroupShowsItsFirstEntry) {
  Load("TypeA");
  CEditorInstructionReferDlg dialog;
  dialog.SetArguments(L"", -1);
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.CurrentGroup(), -1);
  const QList<QListWidgetItem*> move = dialog.GroupList()->findItems(QStringLiteral("Move"), Qt::MatchExactly);
  ASSERT_EQ(move.size(), 1);
  dialog.GroupList()->setCurrentItem(move.front());
  EXPECT_EQ(Text(dialog.Edit()), L"MOV");
  EXPECT_EQ(ShownIcon(dialog.ValidIcon()), kIconValid);
  EXPECT_EQ(dialog.EntryList()->currentRow(), 0);
  EXPECT_EQ(dialog.WidthList()->currentText(), QStringLiteral("BYTE"));
  dialog.accept();
  EXPECT_EQ(dialog.InstructionText(), L"MOV_B");
}
