// The small modal dialogs of the workbench: a one-line text, the PLC access password, the number
// of scans and the PLC type selection, with the Ask functions that run them. The checks the
// dialogs make are plain functions so that they can be tested without windows.
#pragma once

#include <QDialog>

#include <cstdint>
#include <list>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTreeWidget;

namespace Brenno {

class PlcType;

// The reading of a scan count text.
enum class ScanCountCheck { Ok, NoNumber, OutOfRange };

// Reads the scan count the way the dialog does: every comma removed, then a decimal number at the
// start of the text (blanks and a sign allowed before it, anything after it ignored), which must
// lie in 1..255. On Ok the number is stored in `count`.
ScanCountCheck CheckScanCountText(const std::wstring& text, uint8_t* count);
// The message shown for a refused count ("Execute Scans", a line break, then the reason); empty
// for Ok.
std::wstring ScanCountMessage(ScanCountCheck check);

// Position of the type with that name in the catalog; -1 when there is none.
int FindPlcTypeIndex(const std::list<PlcType>& catalog, const std::wstring& name);

// A free text with a prompt; any text, the empty one too, is accepted.
class CMainInputStrDlg : public QDialog {
  Q_OBJECT
 public:
  CMainInputStrDlg(QWidget* parent, const std::wstring& prompt, const std::wstring& text);
  std::wstring Text() const;
  QLineEdit* Edit() const { return edit_; }

 private:
  QLineEdit* edit_ = nullptr;
};

// The PLC access password: at most 8 characters, shown as bullets.
class CMainPasswordDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CMainPasswordDlg(QWidget* parent);
  std::wstring Password() const;
  QLineEdit* Edit() const { return edit_; }

 private:
  QLineEdit* edit_ = nullptr;
};

// The number of scans; OK is refused (with a message and the focus back on the edit) until the
// text holds a number in 1..255.
class CMainExecuteScansDlg : public QDialog {
  Q_OBJECT
 public:
  CMainExecuteScansDlg(QWidget* parent, uint8_t count);
  void accept() override;
  // The count that passed the check on OK.
  uint8_t Count() const { return count_; }
  QLineEdit* Edit() const { return edit_; }

 private:
  QLineEdit* edit_ = nullptr;
  uint8_t count_ = 0;
};

// The PLC type selection: the catalog's types in a drop-down list, and for the chosen one its
// image, its description items, its memory areas and its instruction names.
class CMainPlcTypeDlg : public QDialog {
  Q_OBJECT
 public:
  // `selected` must be a type of `catalog`; neither is owned.
  CMainPlcTypeDlg(QWidget* parent, const std::list<PlcType>& catalog, const PlcType* selected);
  const PlcType* Selected() const { return selected_; }
  QComboBox* TypeList() const { return typeList_; }
  QTreeWidget* Items() const { return items_; }
  QPlainTextEdit* MemoryText() const { return memory_; }
  QPlainTextEdit* InstructionText() const { return instructions_; }
  QLabel* Picture() const { return picture_; }

 private:
  void OnSelEndOk(int index);
  void ShowType();

  const std::list<PlcType>& catalog_;
  const PlcType* selected_;
  QComboBox* typeList_ = nullptr;
  QLabel* picture_ = nullptr;
  QTreeWidget* items_ = nullptr;
  QPlainTextEdit* memory_ = nullptr;
  QPlainTextEdit* instructions_ = nullptr;
};

// Run the dialogs modally on the user-interface thread; the in/out argument is written only on OK.
bool AskInputString(QWidget* owner, const std::wstring& prompt, std::wstring& text);
// True with the 16-byte block when OK was pressed and the text fits the block.
bool AskPlcPasswordDialog(QWidget* owner, std::vector<uint8_t>& block);
bool AskScanCount(QWidget* owner, uint8_t& count);
// False without a dialog when no type of the catalog has that name.
bool AskPlcType(QWidget* owner, const std::list<PlcType>& catalog, std::wstring& typeName);

}  // namespace Brenno
