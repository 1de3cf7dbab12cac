// The program views as a user meets them on a normal and on a small screen: the scroll bars
// follow every page's content (also a page whose view was switched while another tab was in
// front), the last network typed can be scrolled to and its editor is in view, pages inserted
// while the program is shown as statement list take typing at once, and at 800 x 600 the docked
// panes leave the program room.
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>

#include "core/program/ladder_metrics.h"
#include "core/program/network.h"
#include "core/program/stl_line.h"
#include "tests/ui/e2e/e2e_workbench.h"
#include "ui/views/project_tree/project_manager_pane.h"
#include "ui/views/status_chart/status_chart_pane.h"

namespace Brenno::e2e {
namespace {

class E2eViews : public E2eWorkbench {
 protected:
  // The workbench in a window of that size (not maximised).
  void StartAt(int width, int height) {
    Start();
    frame_->setWindowState(Qt::WindowNoState);
    frame_->resize(width, height);
    QApplication::processEvents();
  }
  CProgramEditorMainPane* Pane() { return frame_->ProgramEditor()->MainPane(); }
  // A click on the tab of the page.
  CProgramEditorMainView* ClickTab(int key) {
    QTabBar* bar = Pane()->Tabs()->tabBar();
    for (int i = 0; i < Pane()->Tabs()->count(); ++i) {
      auto* view = qobject_cast<CProgramEditorMainView*>(Pane()->Tabs()->widget(i));
      if (view == nullptr || view->BlockKey() != key) continue;
      Click(bar, bar->tabRect(i).center());
      QApplication::processEvents();
      return view;
    }
    return nullptr;
  }
  static int ContentHeight(CProgramEditorMainView* view) {
    Rect content;
    view->GetContentRect(content);
    return content.bottom - content.top;
  }
  // The vertical bar reaches exactly the end of the page: its last position shows the page's last
  // pixel row at the bottom of the view.
  static void ExpectBarFitsThePage(CProgramEditorMainView* view, const char* when) {
    const int content = ContentHeight(view);
    const int visible = view->viewport()->height();
    EXPECT_EQ(view->verticalScrollBar()->maximum(), std::max(0, content - visible)) << when;
    EXPECT_LE(view->PageRectInView().bottom, std::max(content, visible)) << when << ": scrolled past the page";
  }
  // Page Down until the view stops moving; the bottom of the page is then in view.
  static void PageDownToTheEnd(CProgramEditorMainView* view) {
    for (int i = 0; i < 100; ++i) {
      const int before = view->verticalScrollBar()->value();
      Key(view, Qt::Key_PageDown);
      if (view->verticalScrollBar()->value() == before) break;
    }
  }
  // The part of the widget that lies inside the view's client area, in the view's coordinates.
  static bool InsideTheView(CProgramEditorMainView* view, QWidget* editor) {
    const QRect r(editor->mapTo(view->viewport(), QPoint(0, 0)), editor->size());
    return view->viewport()->rect().contains(r);
  }
  // Chooses the type in PLC > Type... and says No to saving the old project.
  void ChooseType(const QString& name) {
    facade_.answers = {kIdNo};
    WhenModal([name](QDialog& dialog) {
      auto* list = dialog.findChild<QComboBox*>(QStringLiteral("TypeList"));
      const int index = list != nullptr ? list->findText(name, Qt::MatchContains) : -1;
      if (index < 0) return dialog.reject();
      list->setCurrentIndex(index);
      emit list->activated(index);
      dialog.findChild<QPushButton*>(QStringLiteral("IDOK"))->click();
    });
    ASSERT_TRUE(Pick(CmdPlcType));
  }
};

// The other page's scroll bars after View > LAD and View > STL while the main program's tab was
// in front: Page Down reaches the last of its eleven networks, and back in statement list the
// view is not scrolled beyond the page.
TEST_F(E2eViews, ScrollBarsFollowAViewSwitchMadeWhileAnotherPageWasInFront) {
  StartAt(1024, 768);
  CProgramEditorMainView* main = OpenProgramEditor();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(Pick(CmdViewStl));
  ASSERT_TRUE(PickInContextMenu(main, PvInsertInterrupt));
  CProgramEditorMainView* other = Pane()->ActiveView();
  ASSERT_NE(other, main);
  other->setFocus();
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(PickInContextMenu(other, PvInsertNetworkBelow));
  ASSERT_EQ(PageOf(other).NetworkCount(), 11);
  PageDownToTheEnd(other);
  ExpectBarFitsThePage(other, "statement list");

  for (const int command : {CmdViewLad, CmdViewStl}) {
    ASSERT_EQ(ClickTab(0), main);
    ASSERT_TRUE(Pick(command));
    ASSERT_EQ(ClickTab(other->BlockKey()), other);
    other->setFocus();
    ExpectBarFitsThePage(other, command == CmdViewLad ? "after LAD" : "after STL");
    PageDownToTheEnd(other);
    EXPECT_EQ(other->PageRectInView().bottom, ContentHeight(other)) << command;
  }
}

// A new project's main program starts at its top, wherever the last project's was scrolled to.
TEST_F(E2eViews, ANewProjectShowsItsProgramFromTheTop) {
  StartAt(1024, 768);
  CProgramEditorMainView* main = OpenProgramEditor();
  ASSERT_NE(main, nullptr);
  PageDownToTheEnd(main);
  ASSERT_GT(main->verticalScrollBar()->value(), 0);
  ASSERT_TRUE(Pick(CmdFileNew));
  QApplication::processEvents();
  CProgramEditorMainView* fresh = Pane()->ActiveView();
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->BlockKey(), 0);
  EXPECT_EQ(fresh->verticalScrollBar()->value(), 0);
  EXPECT_EQ(fresh->PageRectInView().top, 0);
}

// Networks 0 to 7 of a new FX project typed in statement list one after the other, in a small
// window: each editor opens in view and stays in view as it grows, and the last network can be
// scrolled to.
TEST_F(E2eViews, TheLastNetworkTypedAndItsEditorAreInView) {
  StartAt(800, 600);
  ChooseType(QStringLiteral("FX"));
  ASSERT_EQ(Current().Type->Name(), L"CPU-Feldrin-FX");
  CProgramEditorMainView* view = OpenProgramEditor();
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(Pick(CmdViewStl));
  ProgramPage& page = PageOf(view);
  const int count = page.NetworkCount();
  ASSERT_GE(count, 7);
  for (int n = 0; n < count; ++n) {
    ClickIntoStlNetwork(view, n);
    ASSERT_TRUE(view->StlEditor().isVisible()) << n;
    EXPECT_TRUE(InsideTheView(view, &view->StlEditor())) << n;
    Type(&view->StlEditor(), QStringLiteral("LD X%1").arg(n));
    for (const QString& line : {QStringLiteral("AND X%1").arg(n + 1), QStringLiteral("OUT Y%1").arg(n)}) {
      Key(&view->StlEditor(), Qt::Key_Return, QStringLiteral("\r"));
      Type(&view->StlEditor(), line);
    }
    QApplication::processEvents();
    EXPECT_TRUE(InsideTheView(view, &view->StlEditor()))
        << n << " grown: " << view->StlEditor().mapTo(view->viewport(), QPoint(0, 0)).y() << "+"
        << view->StlEditor().height() << " in " << view->viewport()->height();
    // A click in the page header ends the editing.
    Click(view->viewport(), QPoint(200, 3));
    QApplication::processEvents();
    ExpectBarFitsThePage(view, "typed");
  }
  for (int n = 0; n < count; ++n) EXPECT_EQ(Lines(page, n).size(), 3u) << n;
  PageDownToTheEnd(view);
  EXPECT_EQ(view->PageRectInView().bottom, ContentHeight(view));
}

// A network inserted below the last one is brought into view.
TEST_F(E2eViews, AnInsertedNetworkIsBroughtIntoView) {
  StartAt(1024, 768);
  CProgramEditorMainView* view = OpenProgramEditor();
  ASSERT_NE(view, nullptr);
  ProgramPage& page = PageOf(view);
  const int last = page.NetworkCount() - 1;
  ASSERT_TRUE(page.SetSelection(last, last + 1, 0, 0));
  ASSERT_TRUE(PickInContextMenu(view, PvInsertNetworkBelow));
  ASSERT_EQ(page.ViewState.SelectionFirst, last + 1);
  const Rect inserted = GetSelectionRect(page);
  const Rect visible = view->PageRectInView();
  EXPECT_TRUE(inserted.top >= visible.top && inserted.bottom <= visible.bottom)
      << inserted.top << ".." << inserted.bottom << " in " << visible.top << ".." << visible.bottom;
}

// An interrupt routine and a subroutine inserted while the program is shown as statement list:
// their networks are statement-list networks, and a click into one and typing gives its program.
TEST_F(E2eViews, APageInsertedInStatementListViewTakesTyping) {
  StartAt(1024, 768);
  CProgramEditorMainView* main = OpenProgramEditor();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(Pick(CmdViewStl));
  for (const int command : {PvInsertInterrupt, PvInsertSubroutine}) {
    ASSERT_EQ(ClickTab(0), main);
    main->setFocus();
    ASSERT_TRUE(PickInContextMenu(main, command)) << command;
    CProgramEditorMainView* view = Pane()->ActiveView();
    ASSERT_NE(view, main);
    ProgramPage& page = PageOf(view);
    ASSERT_GT(page.NetworkCount(), 1);
    for (const Network& net : page.Networks()) EXPECT_EQ(net.Kind, kNetworkStl) << command;
    ClickIntoStlNetwork(view, 1);
    ASSERT_TRUE(view->StlEditor().isVisible()) << command;
    Type(&view->StlEditor(), QStringLiteral("LD I0.1"));
    Key(&view->StlEditor(), Qt::Key_Return, QStringLiteral("\r"));
    Type(&view->StlEditor(), QStringLiteral("= Q0.1"));
    Click(view->viewport(), QPoint(200, 3));
    QApplication::processEvents();
    EXPECT_EQ(Lines(page, 1), (std::vector<std::wstring>{L"LD I0.1", L"= Q0.1"})) << command;
    EXPECT_TRUE(facade_.asked.empty());
  }
}

// At 800 x 600 the docked panes give way: the program editor keeps two thirds of the height
// and width between the bars, when the window opens on such a screen and when it is made that
// small.
TEST_F(E2eViews, AtEightHundredBySixHundredThePanesLeaveTheProgramRoom) {
  Start();
  const QWidget* central = frame_->centralWidget();
  const auto expectRoom = [&](const char* when) {
    EXPECT_GE(central->height(), 2 * frame_->StatusChartPane()->height()) << when;
    EXPECT_GE(central->width(), 2 * frame_->ProjectManagerPane()->width()) << when;
  };
  // Opened at that size (laid out while hidden, then shown).
  frame_->hide();
  frame_->setWindowState(Qt::WindowNoState);
  frame_->resize(800, 600);
  frame_->show();
  // The panes take their sizes when the window's layout has run once.
  WaitFor([&] { return central->height() >= 2 * frame_->StatusChartPane()->height(); }, 2000);
  expectRoom("opened");
  frame_->resize(1280, 800);
  QApplication::processEvents();
  CProgramEditorMainView* view = OpenProgramEditor();
  ASSERT_NE(view, nullptr);
  frame_->resize(800, 600);
  QApplication::processEvents();
  expectRoom("made small");
  // Three rows of ladder cells at least.
  EXPECT_GE(view->viewport()->height(), 3 * GetLadderMetrics().CellHeight);
}

}  // namespace
}  // namespace Brenno::e2e
