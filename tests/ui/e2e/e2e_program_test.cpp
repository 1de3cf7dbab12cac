// A PLC programmer's day in the program editor: a ladder network typed into the main program,
// looked at as statement list and back, saved, dropped by File > New and opened again.
#include <QLineEdit>

#include "tests/ui/e2e/e2e_workbench.h"
#include "ui/views/instruction/editor_input_dlg.h"

namespace Brenno::e2e {
namespace {

class E2eProgram : public E2eWorkbench {
 protected:
  // The statement-list text of network 0 of the main page, one "mnemonic operands" per line.
  std::vector<std::wstring> Network0Lines() {
    std::vector<std::wstring> lines;
    for (const StlLine& line : MainPage().Networks()[0].Lines) {
      std::wstring text = line.Mnemonic;
      for (const std::wstring& operand : line.Operands) text += L" " + operand;
      lines.push_back(text);
    }
    return lines;
  }
};

TEST_F(E2eProgram, TypedNetworkSurvivesStlSaveNewAndOpen) {
  Start();
  CProgramEditorMainView* view = OpenProgramEditor();
  ASSERT_NE(view, nullptr);
  ASSERT_EQ(view->BlockKey(), 0);

  // Network 0, first cell: the user types the contact into the in-place instruction editor.
  ClickCell(view, 0, 0, 0);
  Key(view, Qt::Key_L, QStringLiteral("L"));
  ASSERT_TRUE(view->InstructionEditor().isVisible());
  Type(&view->InstructionEditor(), QStringLiteral("D I0.0"));
  Key(&view->InstructionEditor(), Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_FALSE(view->InstructionEditor().isVisible());

  // The coil through F7 and the instruction input box, beside the contact: the box opens as the
  // instruction set's output coil, so the user types only its operand.
  ClickCell(view, 0, 1, 0);
  Key(view, Qt::Key_F7);
  CEditorInputDlg* box = frame_->InstructionInputBox();
  ASSERT_TRUE(box->isVisible());
  EXPECT_TRUE(box->Edit()->text().isEmpty());
  Type(box->Edit(), QStringLiteral("Q0.0"));
  EXPECT_TRUE(box->IsValid()) << box->Edit()->text().toStdString();
  Key(box->Edit(), Qt::Key_Return, QStringLiteral("\r"));  // OK, the box's default button
  EXPECT_FALSE(box->isVisible());
  EXPECT_TRUE(Env().Modified.load());

  // View > STL shows the network as statement list; View > LAD brings the ladder back.
  ASSERT_TRUE(Pick(CmdViewStl));
  EXPECT_EQ(MainPage().ViewState.ViewMode, kViewModeStl);
  EXPECT_EQ(Network0Lines(), (std::vector<std::wstring>{L"LD I0.0", L"= Q0.0"}));
  ASSERT_TRUE(Pick(CmdViewLad));
  EXPECT_EQ(MainPage().ViewState.ViewMode, kViewModeLad);
  const Network typed = MainPage().Networks()[0];
  ASSERT_GE(typed.Grid.Elements.size(), 2u);

  // Save As to a real file, File > New, Open: the network is back.
  facade_.chosenPath = File("plant.lqw");
  ASSERT_TRUE(Pick(CmdFileSaveAs));
  EXPECT_TRUE(fs::exists(fs::path(File("plant.lqw"))));
  EXPECT_FALSE(Env().Modified.load());
  ASSERT_TRUE(Pick(CmdFileNew));
  EXPECT_TRUE(facade_.asked.empty());
  EXPECT_TRUE(Env().ProjectPath.empty());
  EXPECT_TRUE(MainPage().Networks()[0].Grid.Elements.empty());
  ASSERT_TRUE(Pick(CmdFileOpen));
  EXPECT_EQ(Env().ProjectPath, File("plant.lqw"));
  ASSERT_FALSE(MainPage().Networks().empty());
  EXPECT_TRUE(Network::Equals(MainPage().Networks()[0], typed));
  // The editor shows the opened project's page.
  ASSERT_NE(frame_->ProgramEditor(), nullptr);
  EXPECT_NE(frame_->ProgramEditor()->MainPane()->ActiveView(), nullptr);
  EXPECT_TRUE(facade_.asked.empty());
}

}  // namespace
}  // namespace Brenno::e2e
