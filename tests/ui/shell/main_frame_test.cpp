// The workbench started offscreen on a program directory made of the fixture catalog: the main
// frame's menus, bars and panes, the output pane fed through the notification hub (also from a
// worker thread), the progress dialog, the caption, the close question, the language switch and
// the configuration written back at exit.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QThread>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QProgressBar>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWindow>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "core/link/app_environment.h"
#include "core/env/language.h"
#include "core/link/comm_state.h"
#include "core/project/project.h"
#include "core/project/system_block_table.h"
#include "tests/support/test_paths.h"
#include "tests/ui/shell/scripted_message_facade.h"
#include "ui/shell/brenno_lad_app.h"
#include "ui/shell/diagnose_dlg.h"
#include "ui/shell/find_and_replace_dlg.h"
#include "core/program/program_block.h"
#include "core/program/program_page.h"
#include "ui/views/program_editor/program_editor_frm.h"
#include "ui/views/program_editor/program_editor_main_view.h"
#include "ui/views/project_tree/project_manager_pane.h"
#include "ui/views/status_chart/status_chart_pane.h"
#include "ui/shell/infor_output_pane.h"
#include "ui/shell/main_progress_dlg.h"
#include "ui/shell/shell_link_ui.h"

// Qt's own entry for a key press that may be a shortcut (what its test library sends).
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text, bool autorep = false, ushort count = 1);

namespace Brenno {
namespace {

namespace fs = std::filesystem;

// A program directory: "Orvisto.xml" and the fixture type TypeA with the test plug-ins.
class ProgramDirectory {
 public:
  ProgramDirectory() {
    const fs::path type = fs::path(dir_.path()) / "Orvisto" / "TypeA";
    fs::create_directories(type);
    fs::copy(testsupport::FixturePath("catalog/Orvisto/TypeA"), type, fs::copy_options::recursive);
    const fs::path plugins = fs::path(testsupport::BinaryDir()) / "tests" / "core" / "plugins";
    for (const char* library : {"libFakeSysBlock.so", "libFakeExchange.so"}) {
      // Built with the core tests (targets FakeSysBlock and FakeExchange).
      EXPECT_TRUE(fs::exists(plugins / library)) << (plugins / library) << " is not built";
      fs::copy_file(plugins / library, type / library);
    }
    fs::copy_file(testsupport::FixturePath("config/orvisto_no_attributes.xml"), ConfigPath());
  }
  std::wstring Path() const { return fs::path(dir_.path()).wstring(); }
  fs::path TypeFolder() const { return fs::path(dir_.path()) / "Orvisto" / "TypeA"; }
  fs::path ConfigPath() const { return fs::path(dir_.path()) / "Orvisto.xml"; }

 private:
  testsupport::TempDir dir_;
};

class MainFrameTest : public ::testing::Test {
 protected:
  MainFrameTest() { app.UseMessageFacade(&facade); }
  ~MainFrameTest() override { app.ExitInstance(); }

  bool Start(QStringList arguments = {QStringLiteral("orvisto")}) {
    const bool started = app.InitInstance(arguments, program.Path());
    frame = app.MainFrame();
    return started;
  }
  QStringList MenuTitles() {
    QStringList titles;
    for (QAction* action : frame->menuBar()->actions()) titles << action->text();
    return titles;
  }
  QStringList OutputLines() {
    QStringList lines;
    CInforOutputView* view = frame->OutputPane()->View();
    for (int i = 0; i < view->count(); ++i) lines << view->item(i)->text();
    return lines;
  }

  ProgramDirectory program;
  shelltest::ScriptedMessageFacade facade{false};
  CBrennoLadApp app;
  CMainFrame* frame = nullptr;
};

TEST_F(MainFrameTest, StartsWithMenusBarsAndPanes) {
  ASSERT_TRUE(Start());
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(facade.asked.empty());
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(MenuTitles(), (QStringList{"&File", "&Edit", "&View", "&PLC", "&Debug", "&Help"}));
  for (int offset : std::initializer_list<int>{CmdFileNew, CmdFileSave, CmdFileExit, 20161, 20186, 20202, CmdHelpAbout, CmdHelpChinese}) {
    ASSERT_NE(frame->Command(offset), nullptr) << offset;
    EXPECT_EQ(frame->Command(offset)->data().toInt(), 1000 + offset);
  }
  frame->UpdateCommandStates();
  EXPECT_TRUE(frame->Command(CmdFileExit)->isEnabled());
  EXPECT_TRUE(frame->Command(CmdHelpEnglish)->isChecked());
  EXPECT_FALSE(frame->Command(CmdHelpChinese)->isChecked());
  EXPECT_EQ(frame->StandardToolBar()->windowTitle(), QStringLiteral("Standard"));
  EXPECT_EQ(frame->InstructionToolBar()->windowTitle(), QStringLiteral("Instruction"));
  EXPECT_TRUE(frame->DebugToolBar()->actions().contains(frame->Command(CmdDebugPowerUpReset)));

  // Offline in red right after start-up.
  EXPECT_EQ(frame->CommStatusPane()->text(), QStringLiteral("脱机"));
  EXPECT_TRUE(frame->CommStatusPane()->styleSheet().contains(QStringLiteral("255, 0, 0")));

  // The output and debug panes share the status chart's area, the status chart in front.
  const QList<QDockWidget*> tabbed = frame->tabifiedDockWidgets(frame->StatusChartPane());
  EXPECT_TRUE(tabbed.contains(frame->OutputPane()));
  EXPECT_TRUE(tabbed.contains(frame->DebugPane()));
  EXPECT_EQ(frame->dockWidgetArea(frame->ProjectManagerPane()), Qt::LeftDockWidgetArea);
  EXPECT_EQ(frame->OutputPane()->windowTitle(), QStringLiteral("Information Output"));

  // Worker status text arrives through the same path.
  std::thread worker([] { ShowStatusText(L"在线", true); });
  while (frame->CommStatusPane()->text() != QStringLiteral("在线")) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  worker.join();
  EXPECT_TRUE(frame->CommStatusPane()->styleSheet().contains(QStringLiteral("0, 0, 255")));
}

TEST_F(MainFrameTest, ChineseStartShowsOfflineInRedAndTheChineseDebugToolbar) {
  {
    std::ofstream config(program.ConfigPath(), std::ios::binary | std::ios::trunc);
    config << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<PlcConfig Lang=\"10#2\"/>\n";
  }
  ASSERT_TRUE(Start());
  EXPECT_EQ(app.Environment().Language(), 2);
  EXPECT_EQ(MenuTitles().front(), QStringLiteral("文件(&F)"));
  EXPECT_EQ(frame->Command(CmdFileNew)->data().toInt(), 2000 + CmdFileNew);
  EXPECT_EQ(frame->CommStatusPane()->text(), QStringLiteral("脱机"));
  EXPECT_TRUE(frame->CommStatusPane()->styleSheet().contains(QStringLiteral("255, 0, 0")));
  EXPECT_EQ(frame->DebugToolBar()->windowTitle(), QStringLiteral("调试"));
  // Power-Up Debug Reset is in the menu but has no button on the Chinese debug toolbar.
  EXPECT_FALSE(frame->DebugToolBar()->actions().contains(frame->Command(CmdDebugPowerUpReset)));
  EXPECT_TRUE(frame->DebugToolBar()->actions().contains(frame->Command(CmdDebugStepOut)));
}

TEST_F(MainFrameTest, OutputPaneTakesTheHubsLines) {
  ASSERT_TRUE(Start());
  NotifyMainFrame(EvOutputReplaceLast, L"first");  // on an empty pane: added
  EXPECT_EQ(OutputLines(), QStringList{"first"});
  NotifyMainFrame(EvOutputAppend, L"Compiling MAIN");
  NotifyMainFrame(EvOutputAppend, L"Total 0 Error(s)");
  EXPECT_EQ(OutputLines(), (QStringList{"first", "Compiling MAIN", "Total 0 Error(s)"}));
  NotifyMainFrame(EvOutputReplaceLast, L"step 1");
  NotifyMainFrame(EvOutputReplaceLast, L"step 2");
  EXPECT_EQ(OutputLines(), (QStringList{"first", "Compiling MAIN", "step 2"}));
  NotifyMainFrame(EvOutputClear, intptr_t{0});
  EXPECT_TRUE(OutputLines().isEmpty());

  // Lines from a worker thread (the link's output) arrive in order on the GUI thread.
  ShellLinkUi link;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int i = 0; i < 3; ++i) link.AppendOutputLine(L"Write Data Page " + std::to_wstring(i));
    done = true;
  });
  while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  worker.join();
  EXPECT_EQ(OutputLines(), (QStringList{"Write Data Page 0", "Write Data Page 1", "Write Data Page 2"}));
}

TEST_F(MainFrameTest, ProgressDialogFollowsTheLinksPercent) {
  ASSERT_TRUE(Start());
  ShellLinkUi link;
  CMainProgressDlg* progress = frame->ProgressDialog();
  EXPECT_FALSE(progress->isVisible());
  link.UpdProgress({L"", 100, 100});  // hiding a dialog never shown is harmless
  EXPECT_FALSE(progress->isVisible());
  link.UpdProgress({L"Write Data Page", 50, 100});
  EXPECT_TRUE(progress->isVisible());
  EXPECT_EQ(progress->FirstBar()->value(), 50);
  EXPECT_FALSE(progress->SecondBar()->isVisible());
  link.UpdProgress({L"", 60, 30});
  EXPECT_TRUE(progress->SecondBar()->isVisible());
  EXPECT_EQ(progress->SecondBar()->value(), 30);
  link.UpdProgress({L"", 100, 0});
  EXPECT_FALSE(progress->isVisible());
}

TEST_F(MainFrameTest, CaptionMarksChangesAndCloseAsksToSave) {
  ASSERT_TRUE(Start());
  ASSERT_NE(frame->windowHandle(), nullptr);
  EXPECT_EQ(frame->windowHandle()->title(), QStringLiteral("Orvisto Editor - []"));
  NotifyMainFrame(EvProgramEdited, intptr_t{0});
  EXPECT_TRUE(app.Environment().Modified);
  EXPECT_EQ(frame->windowHandle()->title(), QStringLiteral("Orvisto Editor - [*]"));

  facade.answers = {kIdCancel};
  frame->close();
  EXPECT_TRUE(frame->isVisible());
  facade.answers = {kIdNo};
  frame->close();
  EXPECT_FALSE(frame->isVisible());
  ASSERT_EQ(facade.asked.size(), 2u);
  EXPECT_EQ(facade.asked[1].Text, L"Do you want to save the changes to your project?");
}

TEST_F(MainFrameTest, SystemBlockTakesThePagesBackOnlyWhenTheSheetIsConfirmed) {
  ASSERT_TRUE(Start());
  // The type's test library, as the workbench bound it: its editor's answer is scripted.
  void* library = dlopen((program.TypeFolder() / "libFakeSysBlock.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(library, nullptr);
  const auto answer = reinterpret_cast<void (*)(int)>(dlsym(library, "FakeSetConfigAnswer"));
  ASSERT_NE(answer, nullptr);
  SystemBlockTable& pages = app.Environment().ProjectList.back().SystemBlocks;
  ASSERT_FALSE(pages.Working.empty());
  const auto before = pages.Working;

  answer(0);
  frame->Command(CmdViewSystemBlock)->trigger();
  EXPECT_EQ(pages.Working, before);
  EXPECT_FALSE(app.Environment().Modified);
  EXPECT_EQ(frame->windowHandle()->title(), QStringLiteral("Orvisto Editor - []"));

  // Confirmed: the caption shows the change even though no page differs.
  answer(3);
  NotifyMainFrame(EvTreeOpenSystemBlock, intptr_t{0});
  EXPECT_EQ(pages.Working, before);
  EXPECT_TRUE(app.Environment().Modified);
  EXPECT_EQ(frame->windowHandle()->title(), QStringLiteral("Orvisto Editor - [*]"));
  answer(0);
  dlclose(library);
}

// A child frame's window that records the codes routed to it.
class RecordingChild : public QWidget, public PaneRequestReceiver {
 public:
  explicit RecordingChild(std::vector<uint16_t>& codes) : codes_(codes) {}
  void OnPaneRequest(uint16_t code, intptr_t) override { codes_.push_back(code); }

 private:
  std::vector<uint16_t>& codes_;
};

TEST_F(MainFrameTest, ChildFramesOpenOnceTakeTheirCodesAndGoWithTheirWindow) {
  ASSERT_TRUE(Start());
  std::vector<uint16_t> codes;
  int made = 0;
  frame->SetChildFrameFactory(ChildFrameKind::ProgramEditor, [&] {
    ++made;
    auto* child = new RecordingChild(codes);
    return ChildFrameParts{child, child, {}, {}};
  });
  // Codes for a frame that is not open are dropped.
  frame->RouteUpdate(0x8A03, 0);
  EXPECT_EQ(frame->ChildFrame(ChildFrameKind::ProgramEditor), nullptr);

  frame->UpdateCommandStates();
  EXPECT_FALSE(frame->Command(CmdViewProgramEditor)->isChecked());
  frame->Command(CmdViewProgramEditor)->trigger();
  NotifyMainFrame(EvGoToLocation, intptr_t{0});  // a null location opens nothing more
  frame->RouteUpdate(UpdOpenProgramEditor, 0);   // activates the open frame
  EXPECT_EQ(made, 1);
  QWidget* window = frame->ChildFrame(ChildFrameKind::ProgramEditor);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->parentWidget()->windowTitle(), QStringLiteral("Program Editor"));
  frame->UpdateCommandStates();
  EXPECT_TRUE(frame->Command(CmdViewProgramEditor)->isChecked());
  // The View menu lists the open child window.
  QMenu* viewMenu = frame->findChild<QMenu*>(QStringLiteral("ViewMenu"));
  ASSERT_NE(viewMenu, nullptr);
  emit viewMenu->aboutToShow();
  emit viewMenu->aboutToShow();  // listed once however often the menu opens
  const QList<QAction*> entries = viewMenu->actions();
  EXPECT_EQ(entries.back()->text(), QStringLiteral("&1 Program Editor"));
  EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                          [](QAction* a) { return a->property("childWindowEntry").toBool() && !a->isSeparator(); }),
            1);
  frame->RouteUpdate(0x8900, 0);
  frame->RouteUpdate(0x8B01, 0);
  frame->RouteUpdate(0x8C00, 0);  // the function symbol frame is not open
  EXPECT_EQ(codes, (std::vector<uint16_t>{0x8900, 0x8B01}));

  // Closing the frame destroys it; its codes are dropped again and a new one can be opened.
  window->parentWidget()->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(frame->ChildFrame(ChildFrameKind::ProgramEditor), nullptr);
  frame->RouteUpdate(0x8A00, 0);
  EXPECT_EQ(codes.size(), 2u);

  // While a job owns the port nothing opens.
  app.Environment().CommState = CommCommand;
  frame->OpenChildFrame(ChildFrameKind::ProgramEditor);
  EXPECT_EQ(made, 1);
  app.Environment().CommState = CommOffline;
  frame->OpenChildFrame(ChildFrameKind::ProgramEditor);
  EXPECT_EQ(made, 2);
}

TEST_F(MainFrameTest, FindDialogOpensCentredAndAShownOneStaysInPlace) {
  ASSERT_TRUE(Start());
  CFindAndReplaceDlg* dialog = frame->FindReplaceDialog();
  ASSERT_NE(dialog, nullptr);
  dialog->move(0, 0);
  frame->RouteUpdate(UpdShowFindReplace, 0);
  ASSERT_TRUE(dialog->isVisible());
  EXPECT_LE((dialog->frameGeometry().center() - frame->frameGeometry().center()).manhattanLength(), 4);
  dialog->move(7, 9);
  frame->RouteUpdate(UpdShowFindReplace, 0);
  EXPECT_EQ(dialog->pos(), QPoint(7, 9));
  dialog->hide();
}

TEST_F(MainFrameTest, DiagnosisWindowIsMadeOnceAndTakesItsCodes) {
  ASSERT_TRUE(Start());
  frame->RouteUpdate(UpdDiagnoseHide, 0);  // dropped: there is no window yet
  EXPECT_EQ(frame->DiagnoseDialog(), nullptr);
  app.Environment().CommState = CommOnline;
  frame->UpdateCommandStates();
  frame->Command(CmdPlcDiagnose)->trigger();
  CDiagnoseDlg* dialog = frame->DiagnoseDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  dialog->move(10, 10);
  frame->RouteUpdate(UpdDiagnoseHide, 0);
  EXPECT_FALSE(dialog->isVisible());
  frame->Command(CmdPlcDiagnose)->trigger();
  EXPECT_EQ(frame->DiagnoseDialog(), dialog);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->pos(), QPoint(400, 150));
  app.Environment().CommState = CommOffline;
}

TEST_F(MainFrameTest, EditCommandsReachTheProgramEditorViewThatHoldsTheFocus) {
  ASSERT_TRUE(Start());
  frame->Command(CmdViewProgramEditor)->trigger();
  CProgramEditorFrm* editor = frame->ProgramEditor();
  ASSERT_NE(editor, nullptr);
  CProgramEditorMainView* view = editor->MainPane()->ActiveView();
  ASSERT_NE(view, nullptr);
  frame->activateWindow();
  view->setFocus();
  QCoreApplication::processEvents();
  ASSERT_TRUE(view->hasFocus());
  frame->UpdateCommandStates();
  EXPECT_TRUE(frame->Command(20129)->isEnabled());  // Select All
  EXPECT_FALSE(frame->Command(20122)->isEnabled());  // nothing to redo
  // Ctrl+A goes through the frame's keys to the focused view (the view takes no Ctrl keys itself).
  for (const auto& [offset, key] : {std::pair{20121, Qt::Key_Z}, std::pair{20122, Qt::Key_Y}, std::pair{20123, Qt::Key_X},
                                    std::pair{20124, Qt::Key_C}, std::pair{20125, Qt::Key_V}, std::pair{20129, Qt::Key_A},
                                    std::pair{20130, Qt::Key_F}}) {
    EXPECT_EQ(frame->Command(offset)->shortcut(), QKeySequence(Qt::CTRL | key)) << offset;
  }
  ASSERT_TRUE(qt_sendShortcutOverrideEvent(view, 0, Qt::Key_A, Qt::ControlModifier, QString(QChar(1))));
  const ProgramPage& page = app.Environment().ProjectList.back().Program.GetProgramPage(view->BlockKey());
  EXPECT_EQ(page.ViewState.SelectionFirst, 0);
  EXPECT_EQ(page.ViewState.SelectionLast, static_cast<int>(page.Networks().size()));

  // With the focus in the project tree the editor no longer takes them.
  frame->ProjectManagerPane()->setFocus();
  QCoreApplication::processEvents();
  frame->UpdateCommandStates();
  EXPECT_FALSE(frame->Command(20129)->isEnabled());
}

TEST_F(MainFrameTest, TheLayoutOfBarsAndPanesComesBackAtTheNextStart) {
  ASSERT_TRUE(Start());
  EXPECT_TRUE(frame->DebugToolBar()->isVisible());
  frame->Command(CmdToolbarDebug)->trigger();
  EXPECT_FALSE(frame->DebugToolBar()->isVisible());
  frame->close();
  app.ExitInstance();

  CBrennoLadApp second;
  second.UseMessageFacade(&facade);
  ASSERT_TRUE(second.InitInstance({QStringLiteral("orvisto")}, program.Path()));
  EXPECT_FALSE(second.MainFrame()->DebugToolBar()->isVisible());
  EXPECT_TRUE(second.MainFrame()->StandardToolBar()->isVisible());
  second.MainFrame()->close();
  second.ExitInstance();
}

TEST_F(MainFrameTest, CloseWhileOnlineWaitsForTheMonitor) {
  ASSERT_TRUE(Start());
  AppEnvironment& env = app.Environment();
  env.CommState = CommOnline;
  frame->close();
  EXPECT_TRUE(frame->isVisible());
  EXPECT_TRUE(frame->CloseTimerActive());
  EXPECT_TRUE(env.ProjectList.back().Online.Data().StopRequest);
  env.CommState = CommOffline;  // the monitor has left
  QElapsedTimer waited;
  waited.start();
  while (frame->isVisible() && waited.elapsed() < 3000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
  EXPECT_GE(waited.elapsed(), 150);  // closed by the 200 ms timer, not at once
  EXPECT_FALSE(frame->isVisible());
  EXPECT_FALSE(frame->CloseTimerActive());
}

TEST_F(MainFrameTest, LanguageChoiceClosesAndIsWrittenAtExit) {
  ASSERT_TRUE(Start());
  facade.answers = {kIdYes};
  frame->Command(CmdHelpChinese)->trigger();
  EXPECT_FALSE(frame->isVisible());
  EXPECT_EQ(app.Environment().Language(), 1);
  EXPECT_EQ(app.ExitInstance(), 0);

  AppEnvironment reread;
  reread.Config.ReadPlcConfig(program.ConfigPath().wstring());
  EXPECT_EQ(reread.Config.Lang, 2);
  EXPECT_EQ(reread.Config.PlcName, L"CPU-A16");
  std::ifstream in(program.ConfigPath(), std::ios::binary);
  char bom[2] = {};
  in.read(bom, 2);
  EXPECT_EQ(static_cast<unsigned char>(bom[0]), 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(bom[1]), 0xFE);
}

TEST_F(MainFrameTest, ProjectOnTheCommandLineThatFailsLeavesTheEmptyProject) {
  ASSERT_TRUE(Start({QStringLiteral("orvisto"), QString::fromStdWString(program.Path() + L"/missing.lqw")}));
  ASSERT_EQ(facade.asked.size(), 1u);
  EXPECT_EQ(facade.asked[0].Icon, MessageIcon::Hand);
  EXPECT_TRUE(frame->isVisible());
  EXPECT_TRUE(app.Environment().ProjectPath.empty());
  EXPECT_EQ(app.Environment().ProjectList.size(), 1u);
}

TEST(StartUp, CatalogErrorIsShownAndNothingIsWritten) {
  testsupport::TempDir empty;
  fs::copy_file(testsupport::FixturePath("config/orvisto_no_attributes.xml"), empty.File("Orvisto.xml"));
  const auto before = fs::last_write_time(empty.File("Orvisto.xml"));
  shelltest::ScriptedMessageFacade facade{false};
  CBrennoLadApp app;
  app.UseMessageFacade(&facade);
  EXPECT_FALSE(app.InitInstance({QStringLiteral("orvisto")}, fs::path(empty.path()).wstring()));
  EXPECT_EQ(app.MainFrame(), nullptr);
  ASSERT_EQ(facade.asked.size(), 1u);
  EXPECT_EQ(facade.asked[0].Icon, MessageIcon::Hand);
  EXPECT_EQ(facade.asked[0].Buttons, MessageButtons::Ok);
  app.ExitInstance();
  EXPECT_EQ(fs::last_write_time(empty.File("Orvisto.xml")), before);
}

// The workbench started with the language of the parameter in its configuration.
class MainFrameInLanguage : public MainFrameTest, public ::testing::WithParamInterface<int> {
 protected:
  bool StartInLanguage() {
    {
      std::ofstream config(program.ConfigPath(), std::ios::binary | std::ios::trunc);
      config << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<PlcConfig Lang=\"10#" << GetParam() << "\"/>\n";
    }
    return Start();
  }
  bool Chinese() const { return GetParam() == kLanguageChinese; }
};

TEST_P(MainFrameInLanguage, ToolBarsShowIconsWithNamedTooltipsAndFitA1280PixelWindow) {
  ASSERT_TRUE(StartInLanguage());
  frame->setWindowState(Qt::WindowNoState);
  frame->resize(1280, 800);
  QCoreApplication::processEvents();
  for (QToolBar* bar : {frame->StandardToolBar(), frame->DebugToolBar(), frame->InstructionToolBar()}) {
    ASSERT_TRUE(bar->isVisible());
    // Nothing is put away behind the bar's overflow button.
    auto* overflow = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
    EXPECT_TRUE(overflow == nullptr || !overflow->isVisible()) << bar->objectName().toStdString();
    for (QAction* action : bar->actions()) {
      if (action->isSeparator()) continue;
      const QString tip = action->toolTip();
      auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action));
      ASSERT_NE(button, nullptr) << tip.toStdString();
      EXPECT_TRUE(button->isVisible()) << tip.toStdString();
      EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly) << tip.toStdString();
      EXPECT_FALSE(action->icon().pixmap(24, 24).isNull()) << tip.toStdString();
      // The name without its mnemonic, and the key in brackets.
      EXPECT_FALSE(tip.isEmpty());
      EXPECT_FALSE(tip.contains(QLatin1Char('&')) || tip.contains(QLatin1Char('\t'))) << tip.toStdString();
      if (!action->shortcut().isEmpty()) {
        EXPECT_TRUE(tip.endsWith(QStringLiteral(" (%1)").arg(action->shortcut().toString(QKeySequence::NativeText))))
            << tip.toStdString();
      }
    }
  }
  EXPECT_EQ(frame->Command(CmdFileNew)->toolTip(), Chinese() ? QStringLiteral("新建 (Ctrl+N)") : QStringLiteral("New (Ctrl+N)"));
  EXPECT_EQ(frame->Command(20145)->toolTip(), Chinese() ? QStringLiteral("水平触点 (F9)") : QStringLiteral("Horz Contact (F9)"));
  // The menus show the same pictures.
  EXPECT_FALSE(frame->Command(CmdPlcTrend)->icon().isNull());
  EXPECT_FALSE(frame->Command(CmdHelpFile)->icon().isNull());
}

// A key shown beside a menu entry is a key of the window (Download... shows Ctrl+D, which
// downloads without the dialog); Write File shows none, since Ctrl+W is no key of the window.
TEST_P(MainFrameInLanguage, EveryKeyAMenuShowsIsAKeyOfTheWindow) {
  ASSERT_TRUE(StartInLanguage());
  QList<QKeySequence> keys;
  for (QAction* action : frame->actions()) keys << action->shortcuts();
  QList<QMenu*> menus;
  for (QAction* title : frame->menuBar()->actions()) {
    if (title->menu() != nullptr) menus << title->menu();
  }
  int shown = 0;
  while (!menus.isEmpty()) {
    QMenu* menu = menus.takeFirst();
    for (QAction* action : menu->actions()) {
      if (action->menu() != nullptr) menus << action->menu();
      const qsizetype tab = action->text().indexOf(QLatin1Char('\t'));
      if (tab < 0) continue;
      ++shown;
      const QKeySequence key(action->text().mid(tab + 1));
      EXPECT_TRUE(keys.contains(key)) << action->text().toStdString();
    }
  }
  EXPECT_EQ(shown, 13);
  EXPECT_EQ(frame->Command(CmdFileWriteFlash)->text(), Chinese() ? QStringLiteral("写文件(&W)") : QStringLiteral("&Write File"));
}

TEST_P(MainFrameInLanguage, HelpOpensTheGuideOfTheLanguageInTheProgramDirectory) {
  std::vector<QUrl> opened;
  app.UseUrlOpener([&](const QUrl& url) {
    opened.push_back(url);
    return true;
  });
  ASSERT_TRUE(StartInLanguage());
  frame->UpdateCommandStates();
  frame->Command(CmdHelpFile)->trigger();
  ASSERT_EQ(opened.size(), 1u);
  const fs::path page = fs::path(program.Path()) / "help" / (Chinese() ? "zh" : "en") / "index.html";
  EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromStdString(page.string())));
  EXPECT_TRUE(facade.asked.empty());

  // No browser took it: the user is told so, and which file to open.
  app.UseUrlOpener([](const QUrl&) { return false; });
  frame->Command(CmdHelpFile)->trigger();
  ASSERT_EQ(facade.asked.size(), 1u);
  EXPECT_EQ(facade.asked[0].Text, (Chinese() ? L"无法启动网页浏览器显示帮助。请用浏览器打开此文件:\r\n"
                                             : L"No web browser could be started to show the help. Open this file in a browser:\r\n") +
                                      page.wstring());
  EXPECT_EQ(facade.asked[0].Icon, MessageIcon::Exclamation);
}

TEST_F(MainFrameTest, HelpTellsWhenTheDesktopsOpenerFindsNoBrowser) {
  ASSERT_TRUE(Start());
  // xdg-open as the desktop has it: one that finds no usable browser ends with 4 (the action
  // failed), one that handed the page over with 0.
  testsupport::TempDir bin;
  const std::string path = qEnvironmentVariable("PATH").toStdString();
  qputenv("PATH", QByteArray::fromStdString(bin.path() + ":" + path));
  const fs::path page = fs::path(program.Path()) / "help" / "en" / "index.html";
  for (const int code : {4, 0}) {
    {
      std::ofstream script(bin.File("xdg-open"), std::ios::trunc);
      script << "#!/bin/sh\nexit " << code << "\n";
    }
    fs::permissions(bin.File("xdg-open"), fs::perms::owner_all);
    facade.asked.clear();
    frame->UpdateCommandStates();
    frame->Command(CmdHelpFile)->trigger();
    QElapsedTimer waited;
    waited.start();
    while (facade.asked.empty() && waited.elapsed() < (code == 0 ? 500 : 5000)) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    if (code == 0) {
      EXPECT_TRUE(facade.asked.empty());
    } else {
      ASSERT_EQ(facade.asked.size(), 1u);
      EXPECT_EQ(facade.asked[0].Text, HelpNotShownMessage(page.wstring()));
    }
  }
  qputenv("PATH", QByteArray::fromStdString(path));
}

TEST_P(MainFrameInLanguage, WindowsCarryTheApplicationIconAndTheProgressItsTitle) {
  ASSERT_TRUE(StartInLanguage());
  EXPECT_FALSE(QApplication::windowIcon().isNull());
  EXPECT_EQ(frame->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
  EXPECT_EQ(frame->ProgressDialog()->windowTitle(), Chinese() ? QStringLiteral("进度") : QStringLiteral("Progress"));
  CAboutDlg about(frame);
  for (const char* picture : {"Banner", "AppIcon"}) {
    auto* label = about.findChild<QLabel*>(QString::fromLatin1(picture));
    ASSERT_NE(label, nullptr) << picture;
    EXPECT_FALSE(label->pixmap().isNull()) << picture;
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, MainFrameInLanguage, ::testing::Values(kLanguageEnglish, kLanguageChinese));

TEST_F(MainFrameTest, OpensLargeTheFirstTimeAndThenAsItWasLeft) {
  ASSERT_TRUE(Start());
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_GE(frame->width(), screen.width() * 9 / 10);
  EXPECT_GE(frame->height(), screen.height() * 9 / 10);
  frame->setWindowState(Qt::WindowNoState);
  frame->setGeometry(40, 30, 700, 500);
  const QSize left = frame->size();
  frame->close();
  app.ExitInstance();

  CBrennoLadApp second;
  second.UseMessageFacade(&facade);
  ASSERT_TRUE(second.InitInstance({QStringLiteral("orvisto")}, program.Path()));
  EXPECT_FALSE(second.MainFrame()->isMaximized());
  EXPECT_EQ(second.MainFrame()->size(), left);
  second.MainFrame()->close();
  second.ExitInstance();
}

TEST(StartUp, AboutDateHasTheMonthDayYearForm) {
  EXPECT_EQ(AboutBuildDate("Dec 12 2014"), L"Dec 12 2014");
  EXPECT_EQ(AboutBuildDate("Jan  2 2025"), L"Jan 2 2025");
}

}  // namespace
}  // namespace Brenno
