// The status chart pane and its views on a fresh project of the fixture type: tabs follow the
// chart's pages, cells are edited through the grid, blocks travel over the clipboard, and jobs
// that own the port make the chart read-only or hide its rows.
#include "ui/views/status_chart/status_chart_view.h"

#include <gtest/gtest.h>

#include <QTabBar>
#include <QTabWidget>

#include "core/env/language.h"
#include "core/project/status_chart.h"
#include "tests/ui/views/view_test_env.h"
#include "tests/ui/widgets/widget_test_events.h"
#include "ui/shell/notify_codes.h"
#include "ui/views/status_chart/status_chart_pane.h"

namespace Brenno {
namespace {

using namespace testing_widgets;

class StatusChartViewTest : public viewtest::ViewEnvTest {
 protected:
  void SetUp() override {
    ViewEnvTest::SetUp();
    pane = std::make_unique<CStatusChartPane>(QStringLiteral("Status Chart"), nullptr);
    pane->resize(700, 400);
    ShowActive(*pane);
  }
  void TearDown() override {
    pane.reset();
    ViewEnvTest::TearDown();
  }
  StatusChart& Chart() { return Current().StatusChart; }
  CStatusChartView* View() { return pane->ActiveView(); }
  QPoint At(int record, int group, int column) {
    const GridShape shape = View()->Shape();
    const Rect r = View()->GetSubItemRect(ListItemOf(shape, record, 0), ListColumnOf(shape, group, column));
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  void ClickCell(int record, int group, int column) { Click(View()->viewport(), At(record, group, column)); }
  std::wstring CellText(int record, int group, int column) {
    ListCellInfo info;
    View()->GetCellContent(record, group, 0, column, info);
    return std::wstring(info.text, static_cast<size_t>(info.textLength));
  }
  bool Announced(uint16_t code) const { return frame_.RoutedCode(code); }

  std::unique_ptr<CStatusChartPane> pane;
};

TEST_F(StatusChartViewTest, TypingAnAddressAndChoosingItsType) {
  ASSERT_EQ(pane->TabCount(), static_cast<int>(Chart().ListKeys().size()));
  ASSERT_NE(View(), nullptr);
  EXPECT_EQ(pane->Tabs()->tabText(0).toStdWString(), DescribeTablePageKey(Chart(), Chart().ListKeys()[0]));
  EXPECT_EQ(View()->GetItemCount(), Chart().SizeItemRow);
  const int key = View()->PageKey();

  // An empty cell offers only its address and value for typing.
  ClickCell(1, 0, 1);
  Key(View(), Qt::Key_Return);
  EXPECT_TRUE(View()->InplaceList().isHidden());
  ClickCell(1, 0, 0);
  Type(View(), "v");  // the first character opens the edit, which then has the focus
  ASSERT_TRUE(View()->InplaceEdit().isVisible());
  EXPECT_TRUE(View()->InplaceEdit().hasFocus());
  Type(&View()->InplaceEdit(), "w10");
  Key(&View()->InplaceEdit(), Qt::Key_Return);
  EXPECT_EQ(GetChartAddress(Chart(), key, 1, 0), L"VW10");
  EXPECT_TRUE(Announced(UpdFrameCaption));
  EXPECT_TRUE(env_.Modified.load());
  EXPECT_EQ(CellText(1, 0, 0), L"VW10");
  EXPECT_EQ(CellText(1, 0, 1), L"INT");
  EXPECT_EQ(CellText(1, 0, 2), L"");  // offline: no value

  // The Data Type cell now drops its list of types; Down + Enter picks the next one.
  Key(View(), Qt::Key_Right);
  Key(View(), Qt::Key_Return);
  ASSERT_TRUE(View()->InplaceList().isVisible());
  EXPECT_EQ(View()->InplaceList().count(), 3);
  Key(&View()->InplaceList(), Qt::Key_Down);
  Key(&View()->InplaceList(), Qt::Key_Return);
  EXPECT_EQ(GetChartFormatIndex(Chart(), key, 1, 0), 1);
  EXPECT_EQ(CellText(1, 0, 1), L"UINT");

  // Delete on the address empties the cell again.
  Key(View(), Qt::Key_Left);
  Key(View(), Qt::Key_Delete);
  EXPECT_EQ(GetChartAddress(Chart(), key, 1, 0), L"");
  EXPECT_EQ(CellText(1, 0, 1), L"");
}

TEST_F(StatusChartViewTest, AnAddressTheChartCannotTakeStaysTypedAndIsExplained) {
  const int key = View()->PageKey();
  ASSERT_TRUE(SetChartAddress(Chart(), key, 2, 0, L"VB4"));
  const std::vector<std::wstring> examples = ListChartAddressExamples(3);
  ASSERT_EQ(examples.size(), 3u);
  const struct {
    int language;
    const wchar_t* typed;
    const wchar_t* says;
  } cases[] = {
      {kLanguageEnglish, L"Motor_1", L"is neither an operand of this PLC nor a global symbol"},
      {kLanguageEnglish, L"VB0-QW2", L"is not a range of this PLC"},
      {kLanguageChinese, L"Motor_1", L"既不是此 PLC 的操作数，也不是全局符号"},
  };
  for (const auto& c : cases) {
    SetCurrentLanguage(c.language);
    boxes_.Shown.clear();
    ClickCell(0, 0, 0);
    ClickCell(2, 0, 0);
    const QString typed = QString::fromWCharArray(c.typed);
    Type(View(), typed.left(1));
    Type(&View()->InplaceEdit(), typed.mid(1));
    Key(&View()->InplaceEdit(), Qt::Key_Return);
    // The text stays in the open editor; the cell keeps its address.
    ASSERT_TRUE(View()->InplaceEdit().isVisible()) << c.typed;
    EXPECT_EQ(View()->InplaceEdit().text().toStdWString(), c.typed);
    EXPECT_EQ(GetChartAddress(Chart(), key, 2, 0), L"VB4");
    QApplication::processEvents();
    ASSERT_EQ(boxes_.Shown.size(), 1u) << c.typed;
    const std::wstring& message = boxes_.Shown[0];
    EXPECT_NE(message.find(L"\"" + std::wstring(c.typed) + L"\""), std::wstring::npos) << message;
    EXPECT_NE(message.find(c.says), std::wstring::npos) << message;
    for (const std::wstring& example : examples) EXPECT_NE(message.find(example), std::wstring::npos) << message;
    EXPECT_NE(message.find(c.language == kLanguageChinese ? L"地址列" : L"The Address column"), std::wstring::npos);
    EXPECT_TRUE(View()->InplaceEdit().hasFocus());
    Key(&View()->InplaceEdit(), Qt::Key_Escape);
    EXPECT_TRUE(View()->InplaceEdit().isHidden());
    EXPECT_EQ(GetChartAddress(Chart(), key, 2, 0), L"VB4");
  }

  // The operands the message offers are addresses the chart takes.
  for (const std::wstring& example : examples) {
    EXPECT_TRUE(SetChartAddress(Chart(), key, 3, 0, example)) << example;
  }
}

TEST_F(StatusChartViewTest, AValueThatIsNotWrittenIsSaidSo) {
  const int key = View()->PageKey();
  ASSERT_TRUE(SetChartAddress(Chart(), key, 2, 0, L"VW4"));
  const struct {
    int record;
    const wchar_t* says;
  } cases[] = {
      {2, L"\"12\" was not written to VW4: values are written to the PLC only while the workbench is online."},
      {5, L"\"12\" was not written: this cell has no address."},
  };
  for (const auto& c : cases) {
    boxes_.Shown.clear();
    ClickCell(c.record, 0, 2);
    Type(View(), "1");
    Type(&View()->InplaceEdit(), "2");
    Key(&View()->InplaceEdit(), Qt::Key_Tab);
    EXPECT_TRUE(View()->InplaceEdit().isHidden());
    // Tab went on, past the Forced cell (nothing to force here), to the next Address cell.
    EXPECT_EQ(View()->FocusCell().column, 0) << c.record;
    QApplication::processEvents();
    ASSERT_EQ(boxes_.Shown.size(), 1u);
    EXPECT_EQ(boxes_.Shown[0].substr(0, std::wcslen(c.says)), c.says);
  }
}

TEST_F(StatusChartViewTest, BlocksTravelOverTheClipboard) {
  const int key = View()->PageKey();
  ASSERT_TRUE(SetChartAddress(Chart(), key, 0, 0, L"VB0"));
  ASSERT_TRUE(SetChartAddress(Chart(), key, 1, 0, L"VB1"));
  View()->setFocus();
  EXPECT_TRUE(pane->IsActivePageFocused());
  EXPECT_FALSE(pane->IsCommandEnabled(CStatusChartView::kCmdEditCopy));  // no selection yet
  ClickCell(0, 0, 0);
  Click(View()->viewport(), At(1, 0, 2), Qt::ShiftModifier);
  ASSERT_TRUE(pane->IsCommandEnabled(CStatusChartView::kCmdEditCut));
  ASSERT_TRUE(pane->OnCmdMsg(CStatusChartView::kCmdEditCut));
  EXPECT_EQ(clipboard_.text, L"VB0\tSINT\t\t\r\nVB1\tSINT\t\t\r\n");
  EXPECT_EQ(GetChartAddress(Chart(), key, 0, 0), L"");

  ClickCell(5, 0, 0);
  ASSERT_TRUE(pane->OnCmdMsg(CStatusChartView::kCmdEditPaste));
  EXPECT_EQ(GetChartAddress(Chart(), key, 5, 0), L"VB0");
  EXPECT_EQ(GetChartAddress(Chart(), key, 6, 0), L"VB1");

  // A paste that stops at a malformed line still announces the lines it applied.
  frame_.Calls.clear();
  env_.Modified = false;
  clipboard_.text = L"VB7\tBYTE\t\t\r\nVB8\tBYTE\t\t\t\r\n";
  ClickCell(10, 0, 0);
  pane->OnCmdMsg(CStatusChartView::kCmdEditPaste);
  EXPECT_EQ(GetChartAddress(Chart(), key, 10, 0), L"VB7");
  EXPECT_EQ(GetChartAddress(Chart(), key, 11, 0), L"");
  EXPECT_TRUE(Announced(UpdFrameCaption));
  EXPECT_TRUE(env_.Modified.load());
  // Nothing applied: nothing announced.
  frame_.Calls.clear();
  clipboard_.text = L"VB9\tBYTE\r\n";
  pane->OnCmdMsg(CStatusChartView::kCmdEditPaste);
  EXPECT_FALSE(Announced(UpdFrameCaption));

  // Select All covers every record and group; with the edit open it selects the edit's text.
  pane->OnCmdMsg(CStatusChartView::kCmdEditSelectAll);
  EXPECT_EQ(View()->Selection(), (GridSelection{0, Chart().SizeItemRow, 0, Chart().SizeItemColumn}));
  Key(View(), Qt::Key_Return);
  ASSERT_TRUE(View()->InplaceEdit().isVisible());
  View()->InplaceEdit().deselect();
  EXPECT_TRUE(pane->IsActivePageFocused());
  pane->OnCmdMsg(CStatusChartView::kCmdEditSelectAll);
  EXPECT_EQ(View()->InplaceEdit().selectedText(), "VB7");

  // Without the focus on the grid the pane takes no command.
  Key(&View()->InplaceEdit(), Qt::Key_Escape);
  pane->Tabs()->tabBar()->setFocus();
  EXPECT_FALSE(pane->IsActivePageFocused());
  EXPECT_FALSE(pane->OnCmdMsg(CStatusChartView::kCmdEditCopy));
}

TEST_F(StatusChartViewTest, TabsFollowInsertedAndDeletedPages) {
  const std::vector<int> before = Chart().ListKeys();
  CStatusChartView* first = View();
  first->setFocus();
  ClickCell(3, 0, 0);
  ASSERT_TRUE(first->IsCommandEnabled(CStatusChartView::kCmdInsertStatusChart));
  first->OnCmdMsg(CStatusChartView::kCmdInsertStatusChart);
  ASSERT_EQ(Chart().ListKeys().size(), before.size() + 1);
  const int added = Chart().ListKeys().back();
  EXPECT_TRUE(frame_.Routed(UpdChartPageSelect, added));
  // The hub's codes, as the main frame would route them.
  pane->OnPaneRequest(UpdChartPagesRebuild, 0);
  pane->OnPaneRequest(UpdChartPageSelect, added);
  EXPECT_EQ(pane->TabCount(), static_cast<int>(before.size()) + 1);
  EXPECT_EQ(View()->PageKey(), added);
  // The first page's view survived with its focus cell.
  EXPECT_EQ(pane->ViewOfKey(before[0]), first);
  EXPECT_EQ(first->FocusCell(), (GridCell{3, 0, 0, 0}));

  // Deleting the active page shows the page the model names.
  View()->setFocus();
  View()->OnCmdMsg(CStatusChartView::kCmdDeleteStatusChart);
  EXPECT_FALSE(Chart().HasWorkingPage(added));
  pane->OnPaneRequest(UpdChartPagesRebuild, 0);
  EXPECT_EQ(pane->TabCount(), static_cast<int>(before.size()));
  EXPECT_EQ(pane->ViewOfKey(added), nullptr);
  EXPECT_EQ(pane->ActiveView(), pane->ViewOfKey(before[0]));
}

TEST_F(StatusChartViewTest, JobsMakeTheChartReadOnlyOrHideItsRows) {
  const int key = View()->PageKey();
  ASSERT_TRUE(SetChartAddress(Chart(), key, 0, 0, L"VB0"));
  ClickCell(0, 0, 0);
  auto pixel = [&] {
    const QImage image = View()->viewport()->grab().toImage();
    const Rect r = View()->GetSubItemRect(2, 1);
    return QColor(image.pixel(r.left + 3, r.top + 3));
  };
  EXPECT_EQ(pixel(), QColor(240, 240, 240));  // the address column's background

  // A one-shot job while online: drawn, but nothing can be edited.
  SetCommState(CommCommandInOnline);
  EXPECT_EQ(pixel(), QColor(240, 240, 240));
  Key(View(), Qt::Key_Return);
  Type(View(), "x");
  EXPECT_TRUE(View()->InplaceEdit().isHidden());
  EXPECT_FALSE(View()->IsCommandEnabled(CStatusChartView::kCmdEditCopy));
  EXPECT_FALSE(View()->IsCommandEnabled(CStatusChartView::kCmdInsertStatusChart));

  // A job that started offline: no rows are drawn.
  SetCommState(CommCommand);
  EXPECT_NE(pixel(), QColor(240, 240, 240));
  SetCommState(CommOffline);
  EXPECT_EQ(pixel(), QColor(240, 240, 240));
}

}  // namespace
}  // namespace Brenno
