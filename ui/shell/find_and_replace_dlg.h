// The find and replace dialog: modeless, built hidden with the main frame and afterwards only
// shown and hidden. Every change of the search text searches the program again and lists the
// hits with their place and context; "Next" walks through them, "Replace" and "Replace All"
// replace operands and mark each hit. The behaviour is FindReplaceSession's; the dialog shows
// its results and announces through the notification hub what the program editor must show.
#pragma once

#include <QDialog>
#include <QRect>
#include <QTimer>

#include <array>
#include <functional>

#include "ui/shell/find_replace_session.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace Brenno {

class AppEnvironment;

class CFindAndReplaceDlg : public QDialog {
  Q_OBJECT
 public:
  CFindAndReplaceDlg(AppEnvironment& env, QWidget* parent);

  // The program editor frame's GetActiveBlockId (-1 when no page is active); without one the
  // search starts from the top of the main program.
  void SetActivePageKeySource(std::function<int()> source) { session_.SetActivePageKeySource(std::move(source)); }
  // Shows the dialog in front with the focus in the search text (the Find command).
  void ShowDialog();
  // Whether the keyboard focus is on the dialog or one of its controls.
  bool IsFocusInDialog() const;

  // Enables "Next" by CanStep and the two replace buttons by CanReplace (the 100 ms timer while
  // shown).
  void UpdateButtons();
  // Makes the list show the session's rows, the current one selected and scrolled into view.
  void RefreshList();

  FindReplaceSession& Session() { return session_; }
  QLineEdit* SearchEdit() const { return searchEdit_; }
  QLineEdit* ReplaceEdit() const { return replaceEdit_; }
  QRadioButton* FindUpButton() const { return findUp_; }
  QRadioButton* FindDownButton() const { return findDown_; }
  QTreeWidget* ResultList() const { return list_; }
  QPushButton* NextButton() const { return next_; }
  QPushButton* ReplaceButton() const { return replace_; }
  QPushButton* ReplaceAllButton() const { return replaceAll_; }

  // Esc, the close box and Enter outside the buttons: the focus back to the search text, both
  // texts emptied (the results stay) and the dialog hidden.
  void accept() override;
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void OnSearchTextChanged();
  void OnNext();
  void OnReplace();
  void OnReplaceAll();
  void OnListClicked();
  void Finish(const FindStepOutcome& outcome);
  void HideAndClear();
  bool Up() const;
  void Layout();

  FindReplaceSession session_;
  QLabel* findLabel_ = nullptr;
  QLabel* replaceLabel_ = nullptr;
  QLineEdit* searchEdit_ = nullptr;
  QLineEdit* replaceEdit_ = nullptr;
  QRadioButton* findUp_ = nullptr;
  QRadioButton* findDown_ = nullptr;
  QTreeWidget* list_ = nullptr;
  QPushButton* next_ = nullptr;
  QPushButton* replace_ = nullptr;
  QPushButton* replaceAll_ = nullptr;
  QTimer timer_;
  // The dialog's size and each control's rectangle when it was built, for the layout.
  QSize initialSize_;
  std::array<QWidget*, 10> controls_{};
  std::array<QRect, 10> initialRects_{};
};

}  // namespace Brenno
