// The instruction reference dialog: picks an instruction from the PLC type's instruction
// catalogue, first its type, then the instruction, then where it exists in several forms the
// operand width and the pulse form; OK turns the choice into the mnemonic of that form. Modal;
// run through RunInstructionReferDialog.
#pragma once

#include <memory>
#include <string>

#include "ui/views/instruction/instruction_dialog_support.h"
#include "ui/views/instruction/instruction_refer_model.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace Brenno {

class CEditorInstructionReferDlg : public CInstructionDialogBase {
  Q_OBJECT
 public:
  explicit CEditorInstructionReferDlg(QWidget* parent = nullptr);
  ~CEditorInstructionReferDlg() override;

  void SetArguments(const std::wstring& instructionText, int blockKey);
  const std::wstring& InstructionText() const { return instructionText_; }

  void OnInitDialog();
  int exec() override;
  void accept() override;

  int CurrentGroup() const { return currentGroup_; }
  int CurrentEntry() const { return currentEntry_; }
  QLineEdit* Edit() const { return edit_; }
  QLabel* ValidIcon() const { return validIcon_; }
  QListWidget* GroupList() const { return groupList_; }
  QListWidget* EntryList() const { return entryList_; }
  QComboBox* WidthList() const { return widthList_; }
  QCheckBox* PulseCheck() const { return pulseCheck_; }

 private:
  // Recognises a text; at initialisation the edit then shows the entry's base name (or the text).
  void RecognizeText(const std::wstring& text, bool atInit);
  void ShowEntry(const ReferChoice& choice);
  void ShowNothing();
  void ChooseGroup(int group);
  void ChooseEntry(int entry);
  // Width and pulse controls for a newly chosen entry: the shown width kept when offered.
  void ShowEntryOptions(int mask);

  std::wstring instructionText_;
  int blockKey_ = -1;
  int currentGroup_ = -1;
  int currentEntry_ = -1;
  bool initialised_ = false;
  std::unique_ptr<InstructionReferModel> model_;

  QLabel* validIcon_ = nullptr;
  QLineEdit* edit_ = nullptr;
  QListWidget* groupList_ = nullptr;
  QListWidget* entryList_ = nullptr;
  QLabel* widthLabel_ = nullptr;
  QComboBox* widthList_ = nullptr;
  QCheckBox* pulseCheck_ = nullptr;
};

}  // namespace Brenno
