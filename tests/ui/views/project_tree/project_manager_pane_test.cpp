// The project manager pane in a main window: its update codes reach the tree, the focus goes to
// the tree and the tree's commands are offered while it has the focus; and the shared image
// strips.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>

#include "core/project/status_chart.h"
#include "tests/ui/views/project_tree/project_tree_test_env.h"
#include "ui/shell/notify_codes.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/shell/update_router.h"
#include "ui/views/project_tree/project_manager_pane.h"
#include "ui/views/project_tree/project_manager_view.h"
#include "ui/views/project_tree/shared_image_lists.h"

namespace Brenno {
namespace {

class ProjectManagerPaneTest : public treetest::ProjectTreeEnv {};

TEST_F(ProjectManagerPaneTest, RoutesCodesAndCommandsToTheTree) {
  QMainWindow window;
  auto* other = new QLineEdit(&window);
  window.setCentralWidget(other);
  auto* pane = new CProjectManagerPane(env_, QStringLiteral("Project Manager"), &window);
  window.addDockWidget(Qt::LeftDockWidgetArea, pane);
  std::vector<treetest::SentEvent> events;
  pane->View()->SetNotifier([&](uint32_t event, intptr_t value) { events.push_back({event, value}); });
  window.show();
  window.activateWindow();
  QApplication::processEvents();

  ASSERT_EQ(AddFirstFreeStatusChart(Current().StatusChart), 1);
  // Routed the way the main frame routes group 0x83.
  EXPECT_EQ(ReceiverOfUpdate(UpdTreeStatusCharts), PaneReceiver::ProjectPane);
  static_cast<PaneRequestReceiver*>(pane)->OnPaneRequest(UpdTreeStatusCharts, 1);
  EXPECT_EQ(pane->View()->SelectedItem(), (TreeItemRef{TreeItemKind::StatusChartPage, 1}));

  other->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), other);
  EXPECT_FALSE(pane->IsTreeFocused());
  pane->setFocus();  // passes the focus on to the tree
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), pane->View());
  EXPECT_TRUE(pane->IsTreeFocused());

  EXPECT_TRUE(pane->HasCommand(TreeCmdDeleteStatusChart));
  EXPECT_FALSE(pane->HasCommand(20101));
  EXPECT_TRUE(pane->IsCommandEnabled(TreeCmdDeleteStatusChart));
  EXPECT_TRUE(pane->OnCommand(TreeCmdDeleteStatusChart));
  EXPECT_EQ(Current().StatusChart.ListKeys(), std::vector<int>{0});
  EXPECT_EQ(pane->View()->SelectedItem(), (TreeItemRef{TreeItemKind::StatusChartPage, 0}));
  EXPECT_EQ(events, (std::vector<treetest::SentEvent>{{EvTreeStatusChartRemoved, 0}}));
  EXPECT_FALSE(pane->OnCommand(20101));
}

// A main frame stand-in: takes the hub's codes, routes group 0x83 to the pane and records the
// rest.
class FrameStandIn : public MainFrameSink, public PaneReceiverLookup {
 public:
  explicit FrameStandIn(CProjectManagerPane* pane) : pane_(pane) { InstallMainFrameSink(this); }
  ~FrameStandIn() override { InstallMainFrameSink(nullptr); }
  void RouteUpdate(uint16_t code, intptr_t value) override {
    codes.push_back({code, value});
    RoutePaneUpdate(code, value, *this);
  }
  void SetStatusText(const std::wstring&, bool) override {}
  PaneRequestReceiver* FindReceiver(PaneReceiver receiver) override {
    return receiver == PaneReceiver::ProjectPane ? pane_ : nullptr;
  }
  std::vector<PaneUpdateCall> codes;

 private:
  CProjectManagerPane* pane_;
};

TEST_F(ProjectManagerPaneTest, ThroughTheHub) {
  CProjectManagerPane pane(env_, QStringLiteral("Project Manager"), nullptr);
  FrameStandIn frame(&pane);
  CProjectManagerView* view = pane.View();
  view->setCurrentItem(view->FindItem({TreeItemKind::ProgramPage, 0x10000}));
  EXPECT_TRUE(pane.OnCommand(TreeCmdOpen));
  EXPECT_EQ(frame.codes, (std::vector<PaneUpdateCall>{{UpdOpenProgramEditor, 0}, {UpdVarTableSetPage, 0x10000},
                                                      {UpdPageTabSelect, 0x10000}}));
  // DPID: the hub's answer rebuilds the tree's data block branch and selects the new block.
  view->SetAddressAsker([](unsigned& address) { return address == 2000; });
  pane.show();
  EXPECT_TRUE(pane.OnCommand(TreeCmdInsertDpidDataBlock));
  EXPECT_EQ(view->SelectedItem(), (TreeItemRef{TreeItemKind::DataBlockPage, 1}));
  EXPECT_TRUE(env_.Modified.load());
}

TEST(SharedImageLists, StripsOfSixteenPixelPictures) {
  const SharedImageLists images;
  EXPECT_EQ(images.Count(SharedImageLists::kTreeList), 29);
  EXPECT_EQ(images.Count(SharedImageLists::kFunctionSymbolList), 2);
  EXPECT_EQ(images.Count(SharedImageLists::kTableList), 2);
  const QImage& tree = images.Strip(SharedImageLists::kTreeList);
  EXPECT_EQ(tree.height(), 16);
  EXPECT_EQ(tree.width(), 29 * 16);
  // Unused places and the empty image are all mask colour; the check mark is not.
  const auto allMask = [](const QImage& strip, int index) {
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        if (strip.pixelColor(index * 16 + x, y) != QColor(255, 0, 255)) return false;
      }
    }
    return true;
  };
  EXPECT_TRUE(allMask(tree, 8));
  EXPECT_FALSE(allMask(tree, 19));
  EXPECT_FALSE(allMask(images.Strip(SharedImageLists::kTableList), 0));
  EXPECT_TRUE(allMask(images.Strip(SharedImageLists::kTableList), 1));
  const QImage icon = images.Icon(SharedImageLists::kTreeList, 0).pixmap(16, 16).toImage();
  EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0);  // magenta became transparent
  EXPECT_TRUE(images.Icon(SharedImageLists::kTreeList, 29).isNull());
}

}  // namespace
}  // namespace Brenno
