// Symbols in daily use: global symbols typed into the variable symbol table name the operands of
// a ladder rung at once while symbolic addressing is on; the cross reference lists the uses and its
// Location takes the user back to the rung in the program editor.
#include <QMdiArea>
#include <QMdiSubWindow>

#include "core/project/symbol_table.h"
#include "tests/ui/e2e/e2e_workbench.h"
#include "ui/views/symbols/symbol_var_view.h"
#include "ui/views/symbols/var_symbol_table.h"
#include "ui/views/xref/cross_refer_view.h"

namespace Brenno::e2e {
namespace {

class E2eSymbols : public E2eWorkbench {
 protected:
  // Types the text into a cell of a table view: a click on the cell, the characters (the first
  // opens the cell's edit), Enter.
  void TypeCell(CExtendListCtrl& grid, int record, int column, const QString& text) {
    const Rect r = grid.GetSubItemRect(record, column + 1);
    grid.setFocus();
    Click(grid.viewport(), QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    Type(&grid, text.left(1));
    ASSERT_TRUE(grid.InplaceEdit().isVisible()) << text.toStdString();
    Type(&grid.InplaceEdit(), text.mid(1));
    Key(&grid.InplaceEdit(), Qt::Key_Return, QStringLiteral("\r"));
  }
  // The operand texts of the elements of a ladder network, in element order.
  std::vector<std::wstring> Operands(int network) {
    std::vector<std::wstring> texts;
    for (const LadElement& element : MainPage().Networks()[static_cast<size_t>(network)].Grid.Elements) {
      for (const auto* list : {&element.OperandId, &element.OperandIn, &element.OperandOut}) {
        for (const ElementOperand& operand : *list) texts.push_back(operand.Text);
      }
    }
    return texts;
  }
};

TEST_F(E2eSymbols, SymbolsNameTheRungAndTheCrossReferenceLeadsBackToIt) {
  Start();
  CProgramEditorMainView* program = OpenProgramEditor();
  ASSERT_NE(program, nullptr);
  TypeRung(program, 1, QStringLiteral("I0.0"), QStringLiteral("Q0.0"));
  ASSERT_EQ(Operands(1), (std::vector<std::wstring>{L"I0.0", L"Q0.0"}));

  // The global symbols, typed into the first page of the variable symbol table.
  ASSERT_TRUE(Pick(CmdViewVariableSymbol));
  auto* symbols = dynamic_cast<CSymbolVarFrm*>(frame_->ChildFrame(ChildFrameKind::VariableSymbols));
  ASSERT_NE(symbols, nullptr);
  CSymbolVarView* table = symbols->ActiveView();
  ASSERT_NE(table, nullptr);
  TypeCell(*table, 0, VarSymbolTable::kColumnSymbol, QStringLiteral("Start"));
  TypeCell(*table, 0, VarSymbolTable::kColumnAddress, QStringLiteral("I0.0"));
  TypeCell(*table, 1, VarSymbolTable::kColumnSymbol, QStringLiteral("Lamp"));
  TypeCell(*table, 1, VarSymbolTable::kColumnAddress, QStringLiteral("Q0.0"));
  EXPECT_EQ(GetSymbolEntryName(Current().Symbols, table->PageKey(), 0), L"Start");
  EXPECT_EQ(GetSymbolEntryName(Current().Symbols, table->PageKey(), 1), L"Lamp");

  // Symbolic addressing is on from the start: the rung typed before its symbols existed names
  // its operands as soon as the table gives them; switched off and on, the same.
  frame_->UpdateCommandStates();
  EXPECT_TRUE(frame_->Command(CmdViewSymbolic)->isChecked());
  EXPECT_EQ(Operands(1), (std::vector<std::wstring>{L"Start", L"Lamp"}));
  ASSERT_TRUE(Pick(CmdViewSymbolic));
  EXPECT_FALSE(frame_->Command(CmdViewSymbolic)->isChecked());
  EXPECT_EQ(Operands(1), (std::vector<std::wstring>{L"I0.0", L"Q0.0"}));
  ASSERT_TRUE(Pick(CmdViewSymbolic));
  EXPECT_TRUE(frame_->Command(CmdViewSymbolic)->isChecked());
  EXPECT_EQ(Operands(1), (std::vector<std::wstring>{L"Start", L"Lamp"}));

  // The cross reference lists both uses with their symbols.
  ASSERT_TRUE(Pick(CmdViewCrossReference));
  auto* xref = dynamic_cast<CCrossReferFrm*>(frame_->ChildFrame(ChildFrameKind::CrossReference));
  ASSERT_NE(xref, nullptr);
  CCrossReferView* uses = xref->ValueView();
  int lampRow = -1;
  for (int record = 0; record < uses->GetRecordCount(); ++record) {
    if (uses->Rows().GetCellContent(record, 0, 0, 1).Text == L"Lamp") lampRow = record;
  }
  ASSERT_GE(lampRow, 0) << "records: " << uses->GetRecordCount();
  EXPECT_EQ(uses->Rows().GetCellContent(lampRow, 0, 0, 0).Text, L"Q0.0");

  // Away in the program editor, then a double click on the use of Lamp: the editor comes to the
  // front with the coil of network 1 selected.
  ASSERT_TRUE(MainPage().SetSelection(5, 5, 0, 0));
  const Rect r = uses->GetSubItemRect(lampRow, 2);
  uses->setFocus();
  Click(uses->viewport(), QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2), true);
  QApplication::processEvents();
  QMdiArea* area = frame_->findChild<QMdiArea*>(QStringLiteral("MdiArea"));
  ASSERT_NE(area->activeSubWindow(), nullptr);
  EXPECT_EQ(area->activeSubWindow()->widget(), frame_->ProgramEditor());
  EXPECT_EQ(MainPage().ViewState.SelectionFirst, 1);
  EXPECT_EQ(MainPage().ViewState.CurrentNetwork, 1);

  // Symbolic addressing off again: the addresses are back in the rung.
  ASSERT_TRUE(Pick(CmdViewSymbolic));
  EXPECT_EQ(Operands(1), (std::vector<std::wstring>{L"I0.0", L"Q0.0"}));

  // On again, a symbol renamed shows its new name in the rung at once; a symbol moved to another
  // address leaves the rung's operand where it was, shown as its address.
  ASSERT_TRUE(Pick(CmdViewSymbolic));
  ASSERT_TRUE(Pick(CmdViewVariableSymbol));
  TypeCell(*table, 1, VarSymbolTable::kColumnSymbol, QStringLiteral("Light"));
  EXPECT_EQ(Operands(1), (std::vector<std::wstring>{L"Start", L"Light"}));
  TypeCell(*table, 0, VarSymbolTable::kColumnAddress, QStringLiteral("I0.1"));
  EXPECT_EQ(Operands(1), (std::vector<std::wstring>{L"I0.0", L"Light"}));
}

}  // namespace
}  // namespace Brenno::e2e
