// The find and replace dialog on a real project: searching as the user types, where the first
// hit is chosen relative to the editor's cursor, stepping, replacing and marking hits, the
// gating by the communication state, what the hub is asked to show, hiding, and the layout.
#include <gtest/gtest.h>

#include <array>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSizeGrip>
#include <QRadioButton>
#include <QTreeWidget>

#include "core/env/exception_error.h"
#include "core/link/comm_state.h"
#include "core/program/ladder_grid.h"
#include "core/program/network.h"
#include "core/project/program_search.h"
#include "tests/ui/shell/shell_project_fixture.h"
#include "ui/shell/find_and_replace_dlg.h"

namespace Brenno {
namespace {

LadElement Contact(int column, int row, const std::wstring& operand) {
  LadElement element;
  element.Column = column;
  element.Row = row;
  element.InCell = true;
  element.Kind = kLadKindCont;
  element.Name = L" ";
  element.OperandIn.push_back(ElementOperand{0, L"", operand});
  return element;
}

Network LadNetwork(const std::vector<LadElement>& elements) {
  Network network;
  network.Kind = kNetworkLad;
  network.Grid.Columns = 6;
  network.Grid.Rows = 2;
  network.Grid.Elements = elements;
  return network;
}

using Place = std::array<int, 5>;
Place Lad(int key, int network, int column, int row) { return Place{3, key, network, column, row}; }
Place PlaceOf(const ProgramLocation& l) { return Place{l.Kind, l.PageKey, l.Network, l.LineOrColumn, l.Row}; }

class FindAndReplaceTest : public shelltest::ShellProjectFixture {
 protected:
  void SetUp() override {
    ShellProjectFixture::SetUp();
    if (HasFatalFailure()) return;
    subroutine_ = Current().Program.AddSubroutine();
    ASSERT_GT(subroutine_, 0);
    // Hits of "M0.0": main network 1 at (0, 0) and (3, 1), main network 4 at (2, 0), the
    // subroutine's network 0 at (1, 0). "M0.1" only once.
    Networks(0)[1] = LadNetwork({Contact(3, 1, L"M0.0"), Contact(0, 0, L"M0.0")});
    Networks(0)[4] = LadNetwork({Contact(2, 0, L"M0.0"), Contact(4, 0, L"M0.1")});
    Networks(subroutine_)[0] = LadNetwork({Contact(1, 0, L"M0.0")});
    dlg_ = std::make_unique<CFindAndReplaceDlg>(env_, nullptr);
    dlg_->SetActivePageKeySource([this] { return activeKey_; });
    dlg_->show();
  }
  void TearDown() override {
    dlg_.reset();
    ShellProjectFixture::TearDown();
  }

  std::vector<Network>& Networks(int key) { return Current().Program.GetProgramPage(key).UndoLog.Networks; }
  // Places the cursor of the page in ladder cell (column, row) of the network.
  void Cursor(int key, int network, int column, int row) {
    activeKey_ = key;
    PageViewState& state = Current().Program.GetProgramPage(key).ViewState;
    state.SelectionFirst = state.SelectionLast = network;
    state.CursorColumn = column;
    state.CursorRow = row;
  }
  void Type(const QString& text) {
    dlg_->SearchEdit()->clear();
    for (const QChar c : text) dlg_->SearchEdit()->insert(QString(c));
  }
  QStringList Column(int column) {
    QStringList texts;
    for (int i = 0; i < dlg_->ResultList()->topLevelItemCount(); ++i) texts << dlg_->ResultList()->topLevelItem(i)->text(column);
    return texts;
  }
  int SelectedRow() {
    const QList<QTreeWidgetItem*> selected = dlg_->ResultList()->selectedItems();
    return selected.size() == 1 ? dlg_->ResultList()->indexOfTopLevelItem(selected[0]) : -1;
  }
  std::wstring OperandAt(int key, int network, size_t element) {
    return Networks(key)[static_cast<size_t>(network)].Grid.Elements[element].OperandIn[0].Text;
  }

  std::vector<Place> Shown() {
    std::vector<Place> places;
    for (const ProgramLocation& l : sink_.Locations()) places.push_back(PlaceOf(l));
    return places;
  }

  int subroutine_ = -1;
  int activeKey_ = -1;
  std::unique_ptr<CFindAndReplaceDlg> dlg_;
};

TEST_F(FindAndReplaceTest, SearchesAfterEveryCharacterAndListsHitsInProgramOrder) {
  Type(QStringLiteral("M0.0"));
  EXPECT_EQ(Column(1), (QStringList{QStringLiteral("MAIN (INT0)  NETWORK 1  Col 0  Row 0"),
                                    QStringLiteral("MAIN (INT0)  NETWORK 1  Col 3  Row 1"),
                                    QStringLiteral("MAIN (INT0)  NETWORK 4  Col 2  Row 0"),
                                    QString::fromStdWString(Current().CrossReferences.SearchResults[3].LocationText)}));
  EXPECT_EQ(Column(2), QStringList(4, QStringLiteral("-| |-")));
  EXPECT_EQ(Column(0), QStringList(4, QString()));
  // No editor: the search starts at the top of the main program, so the first hit is current.
  EXPECT_EQ(SelectedRow(), 0);
  // Each character searched again: "M0.01" matches nothing and empties the list; back to
  // "M0.0" lists the four again.
  dlg_->SearchEdit()->insert(QStringLiteral("1"));
  EXPECT_EQ(dlg_->ResultList()->topLevelItemCount(), 0);
  dlg_->SearchEdit()->backspace();
  EXPECT_EQ(dlg_->ResultList()->topLevelItemCount(), 4);
  dlg_->SearchEdit()->clear();
  EXPECT_EQ(dlg_->ResultList()->topLevelItemCount(), 0);
  // Searching shows nothing in the editor yet.
  EXPECT_TRUE(sink_.Locations().empty());
  // Resized by its border: no size grip's dots in its bottom margin.
  for (const QSizeGrip* grip : dlg_->findChildren<QSizeGrip*>()) EXPECT_FALSE(grip->isVisible());
}

TEST_F(FindAndReplaceTest, TheFirstHitIsChosenFromTheCursorInTheSearchDirection) {
  struct Case {
    int key, network, column, row;
    bool up;
    int selected;
  };
  const Case cases[] = {
      {0, 1, 0, 0, false, 0},  // on a hit: that hit
      {0, 1, 1, 0, false, 1},  // between hits, down: the next one
      {0, 1, 1, 0, true, 0},   // between hits, up: the previous one
      {0, 9, 0, 0, false, 3},  // down from behind the main program's hits: the subroutine's
      {-2, 0, 0, 0, false, 0}, // after the last hit, down: wraps to the first
      {0, 0, 0, 0, true, 3},   // before the first hit, up: wraps to the last
  };
  for (const Case& c : cases) {
    if (c.key == -2) {
      Cursor(subroutine_, 5, 0, 0);
    } else {
      Cursor(c.key, c.network, c.column, c.row);
    }
    (c.up ? dlg_->FindUpButton() : dlg_->FindDownButton())->click();
    EXPECT_EQ(dlg_->FindUpButton()->isChecked(), c.up);
    EXPECT_EQ(dlg_->FindDownButton()->isChecked(), !c.up);
    Type(QStringLiteral("M0.0"));
    EXPECT_EQ(SelectedRow(), c.selected) << c.network << " " << c.column << " " << c.up;
  }
}

TEST_F(FindAndReplaceTest, NextWalksTheHitsAndShowsEachInTheEditor) {
  Cursor(0, 4, 0, 0);
  Type(QStringLiteral("M0.0"));
  ASSERT_EQ(SelectedRow(), 2);
  dlg_->NextButton()->click();
  dlg_->NextButton()->click();
  dlg_->FindUpButton()->click();
  dlg_->NextButton()->click();
  EXPECT_EQ(SelectedRow(), 3);
  EXPECT_EQ(Shown(), (std::vector<Place>{Lad(subroutine_, 0, 1, 0), Lad(0, 1, 0, 0), Lad(subroutine_, 0, 1, 0)}));
  // The hub opens the editor on the page before it passes the location on.
  ASSERT_GE(sink_.Calls.size(), 4u);
  EXPECT_EQ(sink_.Calls[0].Code, UpdOpenProgramEditor);
  EXPECT_EQ(sink_.Calls[2].Code, UpdPageTabSelect);
  EXPECT_EQ(sink_.Calls[2].Value, subroutine_);
  // Clicking a row takes its hit and shows it.
  QTreeWidgetItem* item = dlg_->ResultList()->topLevelItem(1);
  dlg_->ResultList()->setCurrentItem(item);
  emit dlg_->ResultList()->itemClicked(item, 0);
  EXPECT_EQ(Shown().back(), Lad(0, 1, 3, 1));
  EXPECT_EQ(Current().CrossReferences.CurrentResult, 1u);
}

TEST_F(FindAndReplaceTest, ReplaceAllMarksEveryHitOnceAndASecondRunDoesNothing) {
  Cursor(0, 1, 2, 0);
  Type(QStringLiteral("M0.0"));
  dlg_->ReplaceEdit()->setText(QStringLiteral("M7.7"));
  ASSERT_EQ(SelectedRow(), 1);
  dlg_->ReplaceAllButton()->click();
  EXPECT_EQ(Column(0), QStringList(4, QStringLiteral("Replaced")));
  EXPECT_EQ(OperandAt(0, 1, 0), L"M7.7");
  EXPECT_EQ(OperandAt(0, 1, 1), L"M7.7");
  EXPECT_EQ(OperandAt(0, 4, 0), L"M7.7");
  EXPECT_EQ(OperandAt(0, 4, 1), L"M0.1");
  EXPECT_EQ(OperandAt(subroutine_, 0, 0), L"M7.7");
  // One announcement of the edit (the caption) and the project marked changed; every change is
  // one undo step of its page.
  EXPECT_EQ(sink_.Count(UpdFrameCaption), 1);
  EXPECT_TRUE(env_.Modified.load());
  // The last change of the main program was the wrapped-around hit at (0, 0) of network 1.
  EXPECT_TRUE(Current().Program.GetProgramPage(0).Undo());
  EXPECT_EQ(OperandAt(0, 1, 1), L"M0.0");
  EXPECT_EQ(OperandAt(0, 1, 0), L"M7.7");
  EXPECT_TRUE(Current().Program.GetProgramPage(0).Redo());

  sink_.Calls.clear();
  dlg_->ReplaceAllButton()->click();
  dlg_->ReplaceButton()->click();
  EXPECT_EQ(sink_.Count(UpdFrameCaption), 0);
  EXPECT_EQ(Column(0), QStringList(4, QStringLiteral("Replaced")));
  // Next, with every hit handled, stays where it is.
  const size_t current = Current().CrossReferences.CurrentResult;
  dlg_->NextButton()->click();
  EXPECT_EQ(Current().CrossReferences.CurrentResult, current);
}

TEST_F(FindAndReplaceTest, ReplaceMarksFailedWhenTheOperandIsNoLongerThereAndMovesOn) {
  SetCurrentLanguage(kLanguageChinese);
  Type(QStringLiteral("M0.0"));
  // The first hit's operand was changed since the search: its replacement fails.
  Networks(0)[1].Grid.Elements[1].OperandIn[0].Text = L"M9.9";
  dlg_->ReplaceEdit()->setText(QStringLiteral("M1.0"));
  dlg_->ReplaceButton()->click();
  EXPECT_EQ(sink_.Count(UpdFrameCaption), 0);
  EXPECT_EQ(OperandAt(0, 1, 1), L"M9.9");
  dlg_->ReplaceButton()->click();
  EXPECT_EQ(Column(0), (QStringList{QStringLiteral("失败"), QStringLiteral("替换"), QString(), QString()}));
  EXPECT_EQ(SelectedRow(), 2);
  EXPECT_EQ(OperandAt(0, 1, 0), L"M1.0");
  EXPECT_EQ(sink_.Count(UpdFrameCaption), 1);
  EXPECT_EQ(Shown().back(), Lad(0, 4, 2, 0));
  // Up from there: back past the handled ones, wrapping to the last.
  dlg_->FindUpButton()->click();
  dlg_->NextButton()->click();
  EXPECT_EQ(SelectedRow(), 3);
}

TEST_F(FindAndReplaceTest, AVanishedPageEndsReplaceAllWithALogicErrorButKeepsWhatWasReplaced) {
  Cursor(0, 0, 0, 0);
  Type(QStringLiteral("M0.0"));
  dlg_->ReplaceEdit()->setText(QStringLiteral("M2.0"));
  ASSERT_GE(Current().Program.RemoveSubroutine(subroutine_), -1);
  ASSERT_EQ(Current().Program.FindProgramPage(subroutine_), nullptr);
  dlg_->ReplaceAllButton()->click();
  ASSERT_EQ(boxes_.Shown.size(), 1u);
  EXPECT_EQ(boxes_.Shown[0], ExceptionLogicError().Message());
  EXPECT_EQ(OperandAt(0, 4, 0), L"M2.0");
  // The three replacements made before the error are announced, so the project counts as
  // changed.
  EXPECT_EQ(sink_.Count(UpdFrameCaption), 1);
  EXPECT_TRUE(env_.Modified.load());
  EXPECT_TRUE(sink_.Locations().empty());
  EXPECT_EQ(Column(0), (QStringList{QStringLiteral("Replaced"), QStringLiteral("Replaced"), QStringLiteral("Replaced"), QString()}));

  // An editor still showing the vanished page: the search lists the hits but cannot place the
  // current one.
  activeKey_ = subroutine_;
  Type(QStringLiteral("M0.1"));
  EXPECT_EQ(boxes_.Shown.size(), 6u);  // once per change of the text: emptied, then 4 characters
  EXPECT_EQ(dlg_->ResultList()->topLevelItemCount(), 1);
  EXPECT_EQ(SelectedRow(), -1);
}

TEST_F(FindAndReplaceTest, ButtonsAndHandlersFollowTheCommunicationState) {
  Type(QStringLiteral("M0.0"));
  dlg_->ReplaceEdit()->setText(QStringLiteral("M3.0"));
  env_.CommState = CommOnline;
  dlg_->UpdateButtons();
  EXPECT_TRUE(dlg_->NextButton()->isEnabled());
  EXPECT_FALSE(dlg_->ReplaceButton()->isEnabled());
  EXPECT_FALSE(dlg_->ReplaceAllButton()->isEnabled());
  dlg_->NextButton()->click();
  EXPECT_EQ(SelectedRow(), 1);
  // Through a handler that runs anyway, nothing is replaced while online.
  EXPECT_FALSE(dlg_->Session().Replace(L"M0.0", L"M3.0", false).ProgramEdited);
  EXPECT_EQ(OperandAt(0, 1, 0), L"M0.0");

  env_.CommState = CommCommand;  // a job started offline holds the project
  dlg_->UpdateButtons();
  EXPECT_FALSE(dlg_->NextButton()->isEnabled());
  Type(QStringLiteral("M0.1"));
  EXPECT_EQ(Current().CrossReferences.SearchResults.size(), 4u);  // no search
  EXPECT_FALSE(dlg_->Session().Next(false).GoTo.has_value());
  env_.CommState = CommOffline;
  dlg_->UpdateButtons();
  EXPECT_TRUE(dlg_->ReplaceAllButton()->isEnabled());
}

TEST_F(FindAndReplaceTest, HidingEmptiesTheTextsButKeepsTheHits) {
  dlg_->ShowDialog();
  Type(QStringLiteral("M0.1"));
  dlg_->ReplaceEdit()->setText(QStringLiteral("X"));
  dlg_->reject();
  EXPECT_FALSE(dlg_->isVisible());
  EXPECT_TRUE(dlg_->SearchEdit()->text().isEmpty());
  EXPECT_TRUE(dlg_->ReplaceEdit()->text().isEmpty());
  EXPECT_EQ(Current().CrossReferences.SearchResults.size(), 1u);
  dlg_->ShowDialog();
  EXPECT_TRUE(dlg_->isVisible());
  EXPECT_EQ(dlg_->ResultList()->topLevelItemCount(), 1);
}

TEST_F(FindAndReplaceTest, GrowingTheDialogMovesAndStretchesTheControlsByTheirShares) {
  const QSize start = dlg_->size();
  const QRect label = dlg_->findChildren<QLabel*>()[0]->geometry();
  const QRect edit = dlg_->SearchEdit()->geometry();
  const QRect up = dlg_->FindUpButton()->geometry();
  const QRect list = dlg_->ResultList()->geometry();
  const QRect next = dlg_->NextButton()->geometry();
  dlg_->resize(start + QSize(80, 40));
  EXPECT_EQ(dlg_->findChildren<QLabel*>()[0]->geometry(), label.adjusted(0, 0, 20, 0));
  EXPECT_EQ(dlg_->SearchEdit()->geometry(), edit.adjusted(20, 0, 80, 0));
  EXPECT_EQ(dlg_->FindUpButton()->geometry(), up.translated(40, 0));
  EXPECT_EQ(dlg_->ResultList()->geometry(), list.adjusted(0, 0, 80, 40));
  EXPECT_EQ(dlg_->NextButton()->geometry(), next.translated(40, 40));
  EXPECT_EQ(dlg_->minimumSize(), QSize(start.width(), start.height() * 3 / 4));
}

// Every text of the dialog shows whole in both languages ("Replace Width:" is the longest
// label), and the edit boxes still line up after the labels.
TEST_F(FindAndReplaceTest, EveryTextShowsWholeInBothLanguages) {
  for (const int language : {kLanguageEnglish, kLanguageChinese}) {
    SetCurrentLanguage(language);
    CFindAndReplaceDlg dialog(env_, nullptr);
    dialog.show();
    QApplication::processEvents();
    QList<QWidget*> texts;
    for (QLabel* label : dialog.findChildren<QLabel*>()) texts << label;
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) texts << button;
    ASSERT_EQ(texts.size(), 7);
    for (QWidget* widget : texts) {
      const QString text = widget->property("text").toString();
      EXPECT_GE(widget->width(), widget->sizeHint().width()) << language << " " << text.toStdString();
    }
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
      EXPECT_LE(label->geometry().right(), dialog.SearchEdit()->geometry().left()) << label->text().toStdString();
    }
    EXPECT_EQ(dialog.SearchEdit()->geometry().left(), dialog.ReplaceEdit()->geometry().left());
  }
  SetCurrentLanguage(kLanguageEnglish);
}

}  // namespace
}  // namespace Brenno
