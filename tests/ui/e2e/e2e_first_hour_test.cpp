// The first hour at the workbench, where typed work used to vanish without a word: a program
// typed just under a network's header (its comment), names a ladder cell does not know, a line
// placed beside a box, Ctrl+W, the keyboard after inserting a box and in the instruction tree,
// a double click on an operand, and a subroutine call from the tree.
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "core/program/ladder_grid.h"
#include "core/program/network.h"
#include "core/program/stl_line.h"
#include "platform/text_codec.h"
#include "tests/ui/e2e/e2e_workbench.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/shell/infor_output_pane.h"
#include "ui/views/project_tree/project_manager_pane.h"
#include "ui/views/project_tree/project_manager_view.h"

namespace Brenno::e2e {
namespace {

class E2eFirstHour : public E2eWorkbench {
 protected:
  // The statement-list lines of a network, "mnemonic operands" each.
  std::vector<std::wstring> Lines(int network) {
    std::vector<std::wstring> lines;
    for (const StlLine& line : MainPage().Networks()[static_cast<size_t>(network)].Lines) {
      std::wstring text = line.Mnemonic;
      for (size_t i = 0; i < line.Operands.size(); ++i) text += (i == 0 ? L" " : L", ") + line.Operands[i];
      lines.push_back(text);
    }
    return lines;
  }
  QString OutputText() {
    QStringList lines;
    CInforOutputView* view = frame_->OutputPane()->View();
    for (int i = 0; i < view->count(); ++i) lines << view->item(i)->text();
    return lines.join('\n');
  }
  // The program size line of PLC > Compile All, with its error total.
  QString CompiledProgramSize() {
    NotifyMainFrame(EvOutputClear, intptr_t{0});
    EXPECT_TRUE(Pick(CmdPlcCompileAll));
    const QString text = OutputText();
    EXPECT_TRUE(text.endsWith(QStringLiteral("Total 0 Error(s)"))) << text.toStdString();
    for (const QString& line : text.split('\n')) {
      if (line.startsWith(QStringLiteral("Size of Program Block"))) return line;
    }
    ADD_FAILURE() << text.toStdString();
    return {};
  }
  // Types one line of instruction text into a ladder cell: its first character opens the
  // cell's instruction editor, Enter ends it.
  void TypeIntoCell(CProgramEditorMainView* view, int network, int column, int row, const QString& text) {
    ClickCell(view, network, column, row);
    Key(view, text[0].toUpper().unicode(), text.left(1));
    ASSERT_TRUE(view->InstructionEditor().isVisible()) << text.toStdString();
    Type(&view->InstructionEditor(), text.mid(1));
    Key(&view->InstructionEditor(), Qt::Key_Return, QStringLiteral("\r"));
    QApplication::processEvents();
  }
  CProjectManagerView* Tree() { return frame_->findChild<CProjectManagerView*>(); }
  // The item of the instruction catalogue whose text is `text`.
  QTreeWidgetItem* InstructionItem(const QString& text) {
    CProjectManagerView* tree = Tree();
    const QList<QTreeWidgetItem*> found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    for (QTreeWidgetItem* item : found) {
      if (tree->ItemRef(item).Kind == TreeItemKind::Instruction) return item;
    }
    return nullptr;
  }
};

TEST_F(E2eFirstHour, AProgramTypedUnderTheNetworkHeaderBecomesTheProgram) {
  Start();
  CProgramEditorMainView* view = OpenProgramEditor();
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(Pick(CmdViewStl));
  view->setFocus();
  QApplication::processEvents();
  const QString emptySize = CompiledProgramSize();

  // An empty comment and an empty program do not look alike.
  ProgramPage& page = MainPage();
  ASSERT_EQ(page.ViewState.ViewMode, kViewModeStl);
  page.ViewState.CurrentNetwork = 0;
  const Network& net = page.Networks()[0];
  const Rect comment = Network::CommentRect(net, page.ViewState, 0, kPageHeaderHeight);
  const Rect body = Network::BodyRect(net, page.ViewState, 0, kPageHeaderHeight);
  const Rect visible = view->PageRectInView();
  const QImage shot = view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  auto area = [&](const Rect& r) {
    return shot.copy(QRect(r.left - visible.left, r.top - visible.top, r.right - r.left, 13));
  };
  EXPECT_NE(area(comment), area(body));

  // A click just under "NETWORK 0" opens the comment editor, which says what it edits; the
  // program typed there is offered to the program when the editor closes.
  Click(view->viewport(), QPoint(comment.left + 20 - visible.left, comment.top + 6 - visible.top));
  ASSERT_TRUE(view->CommentEditor().isVisible());
  EXPECT_TRUE(view->CommentEditor().placeholderText().contains(QStringLiteral("comment")));
  Type(&view->CommentEditor(), QStringLiteral("LD I0.0"));
  Key(&view->CommentEditor(), Qt::Key_Return, QStringLiteral("\r"));
  Type(&view->CommentEditor(), QStringLiteral("TON T37, 100"));
  facade_.answers = {kIdYes};
  Click(view->viewport(), QPoint(100 - visible.left, 3 - visible.top));
  QApplication::processEvents();
  EXPECT_FALSE(view->CommentEditor().isVisible());
  ASSERT_EQ(facade_.asked.size(), 1u);
  EXPECT_TRUE(Asked(L"The comment of NETWORK 0 reads as statement list")) << platform::ToUtf8Lossy(facade_.asked[0].Text);
  EXPECT_EQ(Lines(0), (std::vector<std::wstring>{L"LD I0.0", L"TON T37, 100"}));
  EXPECT_TRUE(MainPage().Networks()[0].Comments.empty() || MainPage().Networks()[0].Comments == std::vector<std::wstring>{L""});

  // A click into the program box of the next network types its program directly.
  page.ViewState.CurrentNetwork = 1;
  const int top1 = kPageHeaderHeight + page.NetworksHeight(0, 1);
  const Rect body1 = Network::BodyRect(page.Networks()[1], page.ViewState, 0, top1);
  Click(view->viewport(), QPoint(body1.left + 20 - visible.left, body1.top + 5 - visible.top));
  ASSERT_TRUE(view->StlEditor().isVisible());
  Type(&view->StlEditor(), QStringLiteral("LD T37"));
  Key(&view->StlEditor(), Qt::Key_Return, QStringLiteral("\r"));
  Type(&view->StlEditor(), QStringLiteral("= Q0.0"));
  Click(view->viewport(), QPoint(100 - visible.left, 3 - visible.top));
  QApplication::processEvents();
  EXPECT_EQ(Lines(1), (std::vector<std::wstring>{L"LD T37", L"= Q0.0"}));
  EXPECT_EQ(facade_.asked.size(), 1u);

  // Compiled: the program is in the image.
  EXPECT_NE(CompiledProgramSize(), emptySize);

  // Answered No, the text stays the comment it was typed as.
  page.ViewState.CurrentNetwork = 2;
  const int top2 = kPageHeaderHeight + page.NetworksHeight(0, 2);
  const Rect comment2 = Network::CommentRect(page.Networks()[2], page.ViewState, 0, top2);
  Click(view->viewport(), QPoint(comment2.left + 20 - visible.left, comment2.top + 6 - visible.top));
  ASSERT_TRUE(view->CommentEditor().isVisible());
  Type(&view->CommentEditor(), QStringLiteral("LD I0.1"));
  facade_.answers = {kIdNo};
  Click(view->viewport(), QPoint(100 - visible.left, 3 - visible.top));
  QApplication::processEvents();
  EXPECT_EQ(facade_.asked.size(), 2u);
  EXPECT_EQ(MainPage().Networks()[2].Comments, std::vector<std::wstring>{L"LD I0.1"});
  EXPECT_TRUE(Lines(2).empty());
}

TEST_F(E2eFirstHour, ALadderCellSaysWhatItExpectsInsteadOfDroppingTheEntry) {
  Start();
  CProgramEditorMainView* view = OpenProgramEditor();
  ASSERT_NE(view, nullptr);
  const std::vector<LadElement> before = Elements(0);

  struct Case {
    QString typed;
    std::vector<std::wstring> said;
  } cases[] = {
      {QStringLiteral("MOVW VW200, VW202"), {L"\"MOVW\" is a statement-list instruction", L"MOV_W  VW200, VW202"}},
      {QStringLiteral("CALL SBR0"), {L"A subroutine is called by its name alone", L"SBR_0"}},
      {QStringLiteral("MOV_W VW0, VW2, VW4"), {L"MOV_W takes 2 operand(s)", L"Nothing was placed."}},
  };
  // The refused text stays in the cell's editor for correction; Escape gives it up.
  CInplaceEdit& editor = view->InstructionEditor();
  for (const Case& c : cases) {
    facade_.asked.clear();
    TypeIntoCell(view, 0, 1, 0, c.typed);
    ASSERT_EQ(facade_.asked.size(), 1u) << c.typed.toStdString();
    for (const std::wstring& part : c.said) EXPECT_TRUE(Asked(part)) << platform::ToUtf8Lossy(facade_.asked[0].Text);
    EXPECT_EQ(Elements(0), before) << c.typed.toStdString();
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.text(), c.typed);
    Key(&editor, Qt::Key_Escape);
    EXPECT_TRUE(editor.isHidden());
  }

  // A box cannot stand in the first column with its inputs left of it: the cell says so.
  facade_.asked.clear();
  TypeIntoCell(view, 0, 0, 0, QStringLiteral("MOV_W VW0, VW2"));
  ASSERT_EQ(facade_.asked.size(), 1u);
  EXPECT_TRUE(Asked(L"MOV_W cannot stand in the first column"));
  Key(&editor, Qt::Key_Escape);

  // What the cell takes goes in without a word; Enter then opens the box's first operand.
  facade_.asked.clear();
  TypeIntoCell(view, 0, 1, 0, QStringLiteral("MOV_W"));
  EXPECT_TRUE(facade_.asked.empty());
  ASSERT_NE(ElementAt(0, 1, 0), nullptr);
  EXPECT_EQ(ElementAt(0, 1, 0)->Name, L"MOV_W");
  Key(view, Qt::Key_Return, QStringLiteral("\r"));
  ASSERT_TRUE(view->OperandEditor().isVisible());
  EXPECT_EQ(view->OperandEditor().text(), QStringLiteral("???"));
  EXPECT_EQ(view->OperandEditor().selectedText(), QStringLiteral("???"));
  Type(&view->OperandEditor(), QStringLiteral("VW0"));
  Key(&view->OperandEditor(), Qt::Key_Return, QStringLiteral("\r"));
  ASSERT_FALSE(ElementAt(0, 1, 0)->OperandIn.empty());
  EXPECT_EQ(ElementAt(0, 1, 0)->OperandIn[0].Text, L"VW0");
}

TEST_F(E2eFirstHour, APlacementBesideABoxAsksBeforeRemovingIt) {
  Start();
  CProgramEditorMainView* view = OpenProgramEditor();
  ASSERT_NE(view, nullptr);
  TypeIntoCell(view, 0, 2, 0, QStringLiteral("ADD_I VW0, VW2, VW4"));
  ASSERT_NE(ElementAt(0, 2, 0), nullptr);
  const std::vector<LadElement> withBox = Elements(0);

  // "h" left of ADD_I on its IN1 row (a click there edits IN1; the cursor comes by key): the line
  // would take the cell the box's inputs are written in.
  ClickCell(view, 0, 0, 1);
  Key(view, Qt::Key_Right);
  ASSERT_EQ(MainPage().ViewState.CursorColumn, 1);
  ASSERT_EQ(MainPage().ViewState.CursorRow, 1);
  facade_.asked.clear();
  facade_.answers = {kIdNo};
  Key(view, Qt::Key_H, QStringLiteral("h"));
  ASSERT_EQ(facade_.asked.size(), 1u);
  EXPECT_EQ(facade_.asked[0].Buttons, MessageButtons::YesNoDefaultNo);
  EXPECT_TRUE(Asked(L"Placing the horizontal line here removes from NETWORK 0:\n    ADD_I  VW0, VW2, VW4"))
      << platform::ToUtf8Lossy(facade_.asked[0].Text);
  EXPECT_EQ(Elements(0), withBox);

  // Yes: the line goes in, the box goes, and Undo brings it back.
  facade_.answers = {kIdYes};
  Key(view, Qt::Key_H, QStringLiteral("h"));
  EXPECT_EQ(facade_.asked.size(), 2u);
  EXPECT_EQ(ElementAt(0, 2, 0), nullptr);
  ASSERT_NE(ElementAt(0, 1, 1), nullptr);
  ASSERT_TRUE(Pick(PvUndo));
  EXPECT_EQ(Elements(0), withBox);

  // A line over a contact only overwrites that cell: no question.
  TypeIntoCell(view, 0, 0, 0, QStringLiteral("LD I0.0"));
  ClickCell(view, 0, 0, 0);
  facade_.asked.clear();
  Key(view, Qt::Key_H, QStringLiteral("h"));
  EXPECT_TRUE(facade_.asked.empty());
  ASSERT_NE(ElementAt(0, 0, 0), nullptr);
  EXPECT_EQ(ElementAt(0, 0, 0)->Kind, kLadKindLine);
}

TEST_F(E2eFirstHour, TypingAfterADoubleClickOnAnOperandReplacesIt) {
  Start();
  CProgramEditorMainView* view = OpenProgramEditor();
  ASSERT_NE(view, nullptr);
  TypeRung(view, 0, QStringLiteral("I0.0"), QStringLiteral("Q0.0"));
  ClickCell(view, 0, 0, 0);  // the contact selected
  // A double click on its operand: the first click opens the operand editor under the pointer,
  // the second lands in it.
  ProgramPage probe = MainPage();
  ASSERT_TRUE(probe.SetSelection(0, 0, 0, 0));
  const Rect cell = GetCursorRect(probe);
  const Rect visible = view->PageRectInView();
  const QPoint at((cell.left + cell.right) / 2 - visible.left, cell.top + 9 - visible.top);
  Click(view->viewport(), at);
  CInplaceEdit& editor = view->OperandEditor();
  ASSERT_TRUE(editor.isVisible());
  const QPoint inEditor = editor.mapFrom(view->viewport(), at);
  QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(inEditor), QPointF(editor.mapToGlobal(inEditor)), Qt::LeftButton,
                  Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&editor, &dbl);
  QMouseEvent up(QEvent::MouseButtonRelease, QPointF(inEditor), QPointF(editor.mapToGlobal(inEditor)), Qt::LeftButton,
                 Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&editor, &up);
  Type(&editor, QStringLiteral("I0.7"));
  EXPECT_EQ(editor.text(), QStringLiteral("I0.7"));
  Key(&editor, Qt::Key_Return, QStringLiteral("\r"));
  ASSERT_NE(ElementAt(0, 0, 0), nullptr);
  EXPECT_EQ(ElementAt(0, 0, 0)->OperandIn[0].Text, L"I0.7");
}

TEST_F(E2eFirstHour, CtrlWLeavesTheProgramEditorOpen) {
  Start();
  CProgramEditorMainView* view = OpenProgramEditor();
  ASSERT_NE(view, nullptr);
  QMdiArea* area = frame_->findChild<QMdiArea*>(QStringLiteral("MdiArea"));
  ASSERT_NE(area, nullptr);
  const int windows = static_cast<int>(area->subWindowList().size());
  // As the key reaches the window: its shortcuts are tried first.
  Key(view, Qt::Key_W, QStringLiteral("\x17"), Qt::ControlModifier);
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_NE(frame_->ProgramEditor(), nullptr);
  EXPECT_EQ(static_cast<int>(area->subWindowList().size()), windows);
}

TEST_F(E2eFirstHour, TheInstructionTreeInsertsWithEnterAndDoubleClick) {
  Start();
  CProgramEditorMainView* view = OpenProgramEditor();
  ASSERT_NE(view, nullptr);
  CProjectManagerView* tree = Tree();
  ASSERT_NE(tree, nullptr);

  // Enter on an instruction inserts it at the cursor cell.
  ClickCell(view, 0, 1, 0);
  QTreeWidgetItem* move = InstructionItem(QStringLiteral("MOV_W"));
  ASSERT_NE(move, nullptr);
  tree->setFocus();
  tree->setCurrentItem(move);
  Key(tree, Qt::Key_Return, QStringLiteral("\r"));
  QApplication::processEvents();
  ASSERT_NE(ElementAt(0, 1, 0), nullptr);
  EXPECT_EQ(ElementAt(0, 1, 0)->Name, L"MOV_W");

  // A subroutine call double-clicked goes in too, also in the first column.
  ClickCell(view, 1, 0, 0);
  QTreeWidgetItem* call = InstructionItem(QStringLiteral("SBR_0 (SBR0)"));
  ASSERT_NE(call, nullptr);
  tree->setFocus();
  tree->setCurrentItem(call);
  const QRect label = tree->visualItemRect(call);
  Click(tree->viewport(), label.center(), true);
  QApplication::processEvents();
  ASSERT_NE(ElementAt(1, 0, 0), nullptr);
  EXPECT_EQ(ElementAt(1, 0, 0)->Name, L"SBR_0");
  EXPECT_TRUE(facade_.asked.empty());

  // Without a cell to go into, the tree's instruction is refused with a word.
  ASSERT_TRUE(MainPage().SetSelection(0, 1, 0, 0));
  tree->setFocus();
  tree->setCurrentItem(move);
  Key(tree, Qt::Key_Return, QStringLiteral("\r"));
  QApplication::processEvents();
  ASSERT_EQ(facade_.asked.size(), 1u);
  EXPECT_TRUE(Asked(L"Click the cell of a ladder network where the instruction goes"));
}

}  // namespace
}  // namespace Brenno::e2e
