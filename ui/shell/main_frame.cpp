#include "ui/shell/main_frame.h"

#include <algorithm>
#include <iterator>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QKeySequence>
#include <QMenuBar>
#include <QProcess>
#include <QProgressBar>
#include <QResizeEvent>
#include <QShowEvent>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

#include "core/link/app_environment.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/plc_type.h"
#include "core/env/program_paths.h"
#include "core/link/link_ui.h"
#include "core/link/online_access.h"
#include "core/compiler/image_stamp_compiler.h"
#include "core/compiler/write_flash_image.h"
#include "core/link/comm_state.h"
#include "core/link/download_job.h"
#include "core/link/exchange_transfer.h"
#include "core/link/monitor_write_jobs.h"
#include "core/program/online_cache.h"
#include "core/link/plc_command_jobs.h"
#include "core/link/upload_job.h"
#include "core/project/message_box.h"
#include "core/project/operand_names.h"
#include "core/project/project.h"
#include "core/compiler/compile_commands.h"
#include "core/project/project_commands.h"
#include "core/program/compile_report.h"
#include "core/convert/program_view_switch.h"
#include "core/project/cross_reference.h"
#include "core/project/data_block_table.h"
#include "core/project/status_chart.h"
#include "core/project/system_block_table.h"
#include "ui/shell/comm_settings_dlg.h"
#include "ui/shell/debug_infor_pane.h"
#include "ui/shell/diagnose_dlg.h"
#include "ui/shell/find_and_replace_dlg.h"
#include "ui/shell/infor_output_pane.h"
#include "ui/shell/modbus_address_dlg.h"
#include "ui/shell/main_progress_dlg.h"
#include "ui/shell/message_facade.h"
#include "ui/shell/small_dialogs.h"
#include "ui/views/instruction/editor_input_dlg.h"
#include "ui/views/data_blocks/data_block_frm.h"
#include "ui/views/program_editor/program_editor_frm.h"
#include "ui/views/project_tree/project_manager_pane.h"
#include "ui/views/project_tree/shared_image_lists.h"
#include "ui/views/status_chart/status_chart_pane.h"
#include "ui/views/table_frames.h"
#include "ui/views/instruction/instruction_dialog_runner.h"
#include "ui/widgets/command_icons.h"

namespace Brenno {

namespace {

QString Pick(const wchar_t* english, const wchar_t* chinese) { return QString::fromWCharArray(PickText(english, chinese)); }

// Qt reads "[*]" in a window title as the place of the modified mark; doubling it keeps a
// literal "[*]" (the caption of a changed project that was never saved).
QString EscapeTitle(const std::wstring& caption) {
  QString title = QString::fromStdWString(caption);
  title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
  return title;
}

void CentreOn(QWidget* widget, const QWidget* owner) {
  const QRect area = owner->frameGeometry();
  widget->move(area.center() - widget->rect().center());
}

// The commands of the Edit menu and the element commands, which the focused view handles.
constexpr int kViewCommands[] = {20121, 20122, 20123, 20124, 20125, 20126, 20127, 20128, 20129, 20130,
                                 20141, 20142, 20143, 20144, 20145, 20146, 20147,
                                 20241, 20242, 20243, 20244, 20245, 20246, 20247, 20248, 20249};

bool IsViewCommand(int offset) {
  return std::find(std::begin(kViewCommands), std::end(kViewCommands), offset) != std::end(kViewCommands);
}

bool IsElementCommand(int offset) { return offset >= 20241 && offset <= 20246; }

// The child frame a View > Component command opens, or -1.
int ChildFrameKindOfCommand(int offset) {
  switch (offset) {
    case CmdViewDataBlock: return static_cast<int>(ChildFrameKind::DataBlocks);
    case CmdViewProgramEditor: return static_cast<int>(ChildFrameKind::ProgramEditor);
    case CmdViewFunctionSymbol: return static_cast<int>(ChildFrameKind::FunctionSymbols);
    case CmdViewVariableSymbol: return static_cast<int>(ChildFrameKind::VariableSymbols);
    case CmdViewCrossReference: return static_cast<int>(ChildFrameKind::CrossReference);
    default: return -1;
  }
}

}  // namespace

CMainFrame::CMainFrame(AppEnvironment& env, AppCommands* app) : env_(env), app_(app) {
  setObjectName(QStringLiteral("MainFrame"));
  closeRules_ = std::make_unique<MainFrameCloseRules>(env_, *this);
  closeTimer_.setInterval(200);
  connect(&closeTimer_, &QTimer::timeout, this, &CMainFrame::OnCloseTimer);
  // Toolbar buttons follow the communication state the way menus do when they open.
  updateTimer_.setInterval(250);
  connect(&updateTimer_, &QTimer::timeout, this, &CMainFrame::UpdateCommandStates);
}

CMainFrame::~CMainFrame() {
  if (InstalledMainFrameSink() == this) InstallMainFrameSink(nullptr);
  delete diagnoseDlg_;  // a window of its own, without a parent
}

bool CMainFrame::OnCreate() {
  mdiArea_ = new QMdiArea(this);
  mdiArea_->setObjectName(QStringLiteral("MdiArea"));
  setCentralWidget(mdiArea_);
  setDockNestingEnabled(true);
  BuildMenus();
  BuildStatusBar();
  BuildToolBars();
  progress_ = new CMainProgressDlg(this);
  progress_->hide();
  // The find and replace dialog is made once and afterwards only shown and hidden.
  findDlg_ = new CFindAndReplaceDlg(env_, this);
  findDlg_->hide();
  // So is the instruction input box.
  instructionInput_ = new CEditorInputDlg(this);
  instructionInput_->hide();
  modbusOperandPicker_ = [](QWidget* parent, const std::wstring& format, std::wstring& operand) {
    return RunDeviceDetailDialog(format, operand, -1, -1, parent);
  };
  instructionInput_->SetTargetLookup([this]() -> InstructionInputTarget* { return ProgramEditor(); });
  findDlg_->SetActivePageKeySource([this] {
    CProgramEditorFrm* editor = ProgramEditor();
    return editor != nullptr ? editor->GetActiveBlockId() : -1;
  });
  SetChildFrameFactory(ChildFrameKind::ProgramEditor, [this] {
    auto* frame = new CProgramEditorFrm(env_);
    return ChildFrameParts{frame, frame, [frame](int offset, CommandStatus& status) { return frame->UpdateCommand(offset, status); },
                           [frame](int offset) { return frame->OnCommand(offset); }};
  });
  // The symbol tables, the cross reference and the program editor's variable table.
  RegisterTableViewFrames(*this);
  SetChildFrameFactory(ChildFrameKind::DataBlocks, [] {
    auto* frame = new CDataBlockFrm();
    return ChildFrameParts{frame, frame,
                           [frame](int offset, CommandStatus& status) { return frame->UpdateEditorCommand(offset, status); },
                           [frame](int offset) { return frame->OnEditorCommand(offset); }};
  });
  BuildPanes();
  UpdateCaption();
  UpdateCommandStates();
  updateTimer_.start();
  return true;
}

QAction* CMainFrame::AddCommand(QMenu* menu, int offset, const wchar_t* english, const wchar_t* chinese) {
  auto* action = new QAction(Pick(english, chinese), this);
  action->setObjectName(QStringLiteral("cmd%1").arg(offset));
  action->setData(env_.CommandIdBase() + offset);
  action->setEnabled(false);
  if (menu != nullptr) menu->addAction(action);
  commands_[offset] = action;
  return action;
}

QAction* CMainFrame::Command(int offset) const {
  const auto found = commands_.find(offset);
  return found == commands_.end() ? nullptr : found->second;
}

void CMainFrame::BuildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MenuBar"));

  QMenu* file = bar->addMenu(Pick(L"&File", L"文件(&F)"));
  file->setObjectName(QStringLiteral("FileMenu"));
  AddCommand(file, CmdFileNew, L"&New\tCtrl+N", L"新建(&N)\tCtrl+N");
  AddCommand(file, CmdFileOpen, L"&Open...\tCtrl+O", L"打开...(&O)\tCtrl+O");
  AddCommand(file, CmdFileOpenPmw, L"Open &PMW File...\tCtrl+P", L"打开PMW文件...(&P)\tCtrl+P");
  file->addSeparator();
  // Write File has no key (Ctrl+W is in no accelerator table): its entry shows none.
  AddCommand(file, CmdFileWriteFlash, L"&Write File", L"写文件(&W)");
  AddCommand(file, CmdFileReadFile, L"&Read File", L"读文件(&R)");
  file->addSeparator();
  AddCommand(file, CmdFileSave, L"&Save\tCtrl+S", L"保存(&S)\tCtrl+S");
  AddCommand(file, CmdFileSaveAs, L"Save &As...", L"另存为...(&A)");
  file->addSeparator();
  AddCommand(file, CmdFileUpload, L"&Upload...\tCtrl+U", L"连线上载...(&U)\tCtrl+U");
  AddCommand(file, CmdFileDownload, L"&Download...\tCtrl+D", L"连线下载...(&D)\tCtrl+D");
  file->addSeparator();
  AddCommand(file, CmdFileExit, L"E&xit", L"退出(&X)");

  QMenu* edit = bar->addMenu(Pick(L"&Edit", L"编辑(&E)"));
  edit->setObjectName(QStringLiteral("EditMenu"));
  AddCommand(edit, 20121, L"&Undo\tCtrl+Z", L"撤销(&U)\tCtrl+Z");
  AddCommand(edit, 20122, L"&Redo\tCtrl+Y", L"重复(&R)\tCtrl+Y");
  edit->addSeparator();
  AddCommand(edit, 20123, L"Cu&t\tCtrl+X", L"剪切(&T)\tCtrl+X");
  AddCommand(edit, 20124, L"&Copy\tCtrl+C", L"复制(&C)\tCtrl+C");
  AddCommand(edit, 20125, L"&Paste\tCtrl+V", L"粘贴(&P)\tCtrl+V");
  edit->addSeparator();
  AddCommand(edit, 20129, L"Select &All\tCtrl+A", L"全选(&A)\tCtrl+A");
  edit->addSeparator();
  AddCommand(edit, 20130, L"&Find And Replace\tCtrl+F", L"查找替换(&F)\tCtrl+F");

  // The View menu sits at index 2: the list of open child windows goes there.
  QMenu* view = bar->addMenu(Pick(L"&View", L"视图(&V)"));
  view->setObjectName(QStringLiteral("ViewMenu"));
  // The open child windows are listed at the end of the View menu each time it opens.
  connect(view, &QMenu::aboutToShow, this, [this, view] {
    for (QAction* action : view->actions()) {
      if (action->property("childWindowEntry").toBool()) {
        view->removeAction(action);
        action->deleteLater();
      }
    }
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
    for (int i = 0; i < windows.size(); ++i) {
      QMdiSubWindow* window = windows[i];
      QAction* action = i == 0 ? view->addSeparator() : nullptr;
      if (action != nullptr) action->setProperty("childWindowEntry", true);
      action = view->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(window->windowTitle()));
      action->setProperty("childWindowEntry", true);
      action->setCheckable(true);
      action->setChecked(window == mdiArea_->activeSubWindow());
      connect(action, &QAction::triggered, this, [this, target = QPointer<QMdiSubWindow>(window)] {
        if (target.isNull()) return;
        if (target->isMinimized()) target->showNormal();
        mdiArea_->setActiveSubWindow(target);
      });
    }
  });
  AddCommand(view, 20161, L"&STL", L"STL(&S)")->setCheckable(true);
  AddCommand(view, 20162, L"&LAD", L"LAD(&L)")->setCheckable(true);
  view->addSeparator();
  QMenu* component = view->addMenu(Pick(L"&Component", L"组件(&C)"));
  AddCommand(component, 20163, L"&Data Block", L"数据块(&D)")->setCheckable(true);
  AddCommand(component, 20164, L"&System Block", L"系统块(&S)");
  AddCommand(component, 20165, L"&Program Editor", L"程序编辑(&P)")->setCheckable(true);
  AddCommand(component, 20166, L"&Function Symbol", L"函数符号(&F)")->setCheckable(true);
  AddCommand(component, 20167, L"&Variable Symbol", L"变量符号(&V)")->setCheckable(true);
  AddCommand(component, 20168, L"Cross &Reference", L"交叉引用(&R)")->setCheckable(true);
  AddCommand(component, 20169, L"Co&mmunications", L"通讯设置(&M)");
  AddCommand(view, 20170, L"Symbolic &Addressing", L"符号编址(&A)")->setCheckable(true);
  QMenu* toolbars = view->addMenu(Pick(L"&Toolbars", L"工具条(&T)"));
  AddCommand(toolbars, CmdToolbarStandard, L"&Standard", L"标准(&S)")->setCheckable(true);
  AddCommand(toolbars, CmdToolbarDebug, L"&Debug", L"调试(&D)")->setCheckable(true);
  AddCommand(toolbars, CmdToolbarInstruction, L"&Instruction", L"指令(&I)")->setCheckable(true);
  AddCommand(toolbars, CmdToolbarInstructionFx, L"I&nstruction (FxMode)", L"指令(FxMode)(&N)");
  QMenu* frames = view->addMenu(Pick(L"Fra&me", L"浮动窗口(&M)"));
  AddCommand(frames, CmdFrameStatusChart, L"Status &Chart", L"状态表(&C)")->setCheckable(true);
  AddCommand(frames, CmdFrameProjectManager, L"&Project Manager", L"项目管理(&P)")->setCheckable(true);
  AddCommand(frames, CmdFrameOutput, L"&Information Output", L"信息输出(&I)")->setCheckable(true);
  AddCommand(frames, CmdFrameDebug, L"&Debug Information", L"调试信息(&D)")->setCheckable(true);

  QMenu* plc = bar->addMenu(Pick(L"&PLC", L"PLC(&P)"));
  plc->setObjectName(QStringLiteral("PlcMenu"));
  AddCommand(plc, 20181, L"&Run", L"运行(&R)")->setCheckable(true);
  AddCommand(plc, 20182, L"&Stop", L"停止(&S)")->setCheckable(true);
  AddCommand(plc, 20183, L"Sin&gle Scan", L"单次扫描(&G)");
  AddCommand(plc, 20184, L"&Multiple Scans...", L"多次扫描...(&M)");
  AddCommand(plc, 20185, L"Power-&Up Reset", L"电源启动重设(&U)");
  plc->addSeparator();
  AddCommand(plc, 20186, L"&Compile", L"编译(&C)");
  AddCommand(plc, 20187, L"Compile &All", L"全部编译(&A)");
  plc->addSeparator();
  AddCommand(plc, 20388, L"Diagnose &Information", L"诊断(&Z)");
  AddCommand(plc, 20396, L"Trend", L"曲线");
  AddCommand(plc, 20188, L"C&lear...", L"清除...(&L)");
  AddCommand(plc, 20189, L"&Information...", L"信息...(&I)");
  AddCommand(plc, 20190, L"Read PLC's &Date and Time...", L"读取PLC日期时间...(&D)");
  AddCommand(plc, 20191, L"&Write PC's Date and Time To PLC...", L"将PC日期时间写入PLC...(&W)");
  AddCommand(plc, 20192, L"&Type...", L"类型...(&T)");
  AddCommand(plc, 20193, L"M&ODBUS Address Query...", L"MODBUS地址查询...(&O)");

  QMenu* debug = bar->addMenu(Pick(L"&Debug", L"调试(&D)"));
  debug->setObjectName(QStringLiteral("DebugMenu"));
  AddCommand(debug, 30116, L"&Connect", L"连线(&C)");
  AddCommand(debug, 20202, L"&Disconnect", L"离线(&D)");
  debug->addSeparator();
  AddCommand(debug, 20203, L"&Run", L"运行(&R)")->setCheckable(true);
  AddCommand(debug, 20204, L"&Stop", L"停止(&S)")->setCheckable(true);
  AddCommand(debug, 20205, L"Step &In", L"单步跳入(&I)");
  AddCommand(debug, 20206, L"Step &Over", L"单步跳过(&O)");
  AddCommand(debug, 20207, L"Step Ou&t", L"单步跳出(&T)");
  AddCommand(debug, 20208, L"Power-&Up Debug Reset", L"电源调试启动重设(&U)");
  debug->addSeparator();
  AddCommand(debug, 30114, L"Co&mmunication", L"通讯(&M)");

  QMenu* help = bar->addMenu(Pick(L"&Help", L"帮助(&H)"));
  help->setObjectName(QStringLiteral("HelpMenu"));
  AddCommand(help, CmdHelpAbout, L"&About...", L"关于...(&A)");
  QMenu* language = help->addMenu(Pick(L"&Select Language", L"选择语言(&S)"));
  AddCommand(language, CmdHelpEnglish, L"&English (United States)", L"英语(美国)(&E)")->setCheckable(true);
  AddCommand(language, CmdHelpChinese, L"&Chinese (Simplified)", L"中文(简体)(&C)")->setCheckable(true);
  AddCommand(help, CmdHelpFile, L"&Call Help File...", L"调用帮助文件...(&C)");

  // Commands that exist only as toolbar buttons or keys.
  AddCommand(nullptr, CmdFileDownloadDirect, L"Download", L"下载");
  AddCommand(nullptr, 20201, L"Connect", L"连线");

  // Keys of the accelerator table.
  const std::pair<int, QKeySequence> keys[] = {
      {CmdFileNew, QKeySequence(Qt::CTRL | Qt::Key_N)},   {CmdFileOpen, QKeySequence(Qt::CTRL | Qt::Key_O)},
      {CmdFileOpenPmw, QKeySequence(Qt::CTRL | Qt::Key_P)}, {CmdFileSave, QKeySequence(Qt::CTRL | Qt::Key_S)},
      {CmdFileUpload, QKeySequence(Qt::CTRL | Qt::Key_U)}, {CmdFileDownloadDirect, QKeySequence(Qt::CTRL | Qt::Key_D)},
      // The Edit commands, which go to the view that holds the focus (an in-place line editor
      // keeps its own standard keys).
      {20121, QKeySequence(Qt::CTRL | Qt::Key_Z)},        {20122, QKeySequence(Qt::CTRL | Qt::Key_Y)},
      {20123, QKeySequence(Qt::CTRL | Qt::Key_X)},        {20124, QKeySequence(Qt::CTRL | Qt::Key_C)},
      {20125, QKeySequence(Qt::CTRL | Qt::Key_V)},        {20129, QKeySequence(Qt::CTRL | Qt::Key_A)},
      {20130, QKeySequence(Qt::CTRL | Qt::Key_F)},
  };
  for (const auto& [offset, key] : keys) {
    QAction* action = Command(offset);
    action->setShortcut(key);
    addAction(action);
  }

  for (QMenu* menu : {file, edit, view, plc, debug, help}) {
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
  }

  ConnectCommands();
  ConnectViewCommands();
  connect(Command(CmdHelpAbout), &QAction::triggered, this, [this] {
    if (app_ != nullptr && IsIdleState(env_.CommState.load())) app_->OnAppAbout();
  });
  connect(Command(CmdHelpEnglish), &QAction::triggered, this, [this] {
    if (app_ != nullptr) app_->OnSelectLanguage(kLanguageEnglish);
    UpdateCommandStates();
  });
  connect(Command(CmdHelpChinese), &QAction::triggered, this, [this] {
    if (app_ != nullptr) app_->OnSelectLanguage(kLanguageChinese);
    UpdateCommandStates();
  });
  connect(Command(CmdHelpFile), &QAction::triggered, this, [this] {
    if (app_ != nullptr && IsIdleState(env_.CommState.load())) app_->OnCallHelpFile();
  });
}

void CMainFrame::BuildToolBars() {
  auto makeBar = [this](const char* name, const wchar_t* english, const wchar_t* chinese) {
    auto* bar = new QToolBar(Pick(english, chinese), this);
    bar->setObjectName(QString::fromLatin1(name));
    // Icons only; the command's name and key are in the button's tooltip.
    bar->setIconSize(QSize(24, 24));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setFloatable(true);
    bar->setMovable(true);
    addToolBar(Qt::TopToolBarArea, bar);
    return bar;
  };
  // One row: standard, debug, instruction.
  standardBar_ = makeBar("StandardToolBar", L"Standard", L"标准");
  debugBar_ = makeBar("DebugToolBar", L"Debug", L"调试");
  instructionBar_ = makeBar("InstructionToolBar", L"Instruction", L"指令");

  for (int offset : std::initializer_list<int>{CmdFileNew, CmdFileOpen, CmdFileSave, 0, CmdFileUpload, CmdFileDownloadDirect, 0, 20121, 20122,
                     20123, 20124, 20125, 0, 20186, 20187, 20170}) {
    if (offset == 0) {
      standardBar_->addSeparator();
    } else {
      standardBar_->addAction(Command(offset));
    }
  }
  for (int offset : {20181, 20182, 0, 20201, 20202, 0, 20203, 20204, 20205, 20206, 20207, 20208}) {
    // Power-Up Debug Reset has a button on the English debug toolbar only (the menu entry is in both).
    if (offset == CmdDebugPowerUpReset && env_.Language() != kLanguageEnglish) continue;
    if (offset == 0) {
      debugBar_->addSeparator();
    } else {
      debugBar_->addAction(Command(offset));
    }
  }

  // The element tool bar: Erase, then the six drawing tools, all handled by the program editor.
  static const wchar_t* const kTools[][2] = {
      {L"&Erase\tDELETE", L"擦除(&E)\tDELETE"},      {L"&Select\tESC", L"选择(&S)\tESC"},
      {L"&Vert Line\tV", L"竖直线(&V)\tV"},           {L"&Horz Line\tH", L"水平线(&H)\tH"},
      {L"Horz &Contact\tF9", L"水平触点(&C)\tF9"},    {L"Horz C&oil\tF10", L"水平线圈(&O)\tF10"},
      {L"Horz &Block\tF11", L"水平功能块(&B)\tF11"}};
  for (int i = 0; i < 7; ++i) {
    QAction* action = AddCommand(nullptr, 20141 + i, kTools[i][0], kTools[i][1]);
    action->setCheckable(i > 0);
    instructionBar_->addAction(action);
    if (i == 0) instructionBar_->addSeparator();
  }

  struct BarToggle {
    int offset;
    QToolBar* bar;
  };
  for (const BarToggle& toggle : {BarToggle{CmdToolbarStandard, standardBar_}, BarToggle{CmdToolbarDebug, debugBar_},
                                  BarToggle{CmdToolbarInstruction, instructionBar_}}) {
    QToolBar* bar = toggle.bar;
    connect(Command(toggle.offset), &QAction::triggered, this, [this, bar] {
      if (IsIdleState(env_.CommState.load())) bar->setVisible(!bar->isVisible());
      UpdateCommandStates();
    });
  }

  // Every command (menu entry, button, key) shows its picture in the menus and on the bars.
  for (const auto& [offset, action] : commands_) DecorateCommand(action, offset);
}

void CMainFrame::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("StatusBar"));
  commPane_ = new QLabel(bar);
  commPane_->setObjectName(QStringLiteral("CommStatusPane"));
  commPane_->setMinimumWidth(200);
  commPane_->setProperty("paneId", kCommStatusPaneId);
  commPane_->setToolTip(QStringLiteral("通讯信息"));
  bar->addPermanentWidget(commPane_);
  SetStatusText(kStatusOfflineText, false);
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  GiveWayAfterLayout();
}

void CMainFrame::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  GiveWayAfterLayout();
}

void CMainFrame::GiveWayAfterLayout() {
  // The panes get their sizes for a new window size, or at the first showing, only when the
  // layout runs; they are looked at after that.
  if (giveWayPending_) return;
  giveWayPending_ = true;
  QTimer::singleShot(0, this, [this] {
    giveWayPending_ = false;
    GiveWayToTheEditors();
  });
}

void CMainFrame::GiveWayToTheEditors() {
  // Docked panes keep their size when the window gets smaller; on a small screen they would
  // leave the program a strip.
  const QWidget* central = centralWidget();
  if (central == nullptr) return;
  const QList<QDockWidget*> docks = findChildren<QDockWidget*>(QString(), Qt::FindDirectChildrenOnly);
  for (const Qt::Orientation orientation : {Qt::Vertical, Qt::Horizontal}) {
    const bool vertical = orientation == Qt::Vertical;
    const std::array<Qt::DockWidgetArea, 2> sides =
        vertical ? std::array{Qt::TopDockWidgetArea, Qt::BottomDockWidgetArea}
                 : std::array{Qt::LeftDockWidgetArea, Qt::RightDockWidgetArea};
    // One pane of each side stands for it (panes tabbed together share their size).
    std::array<QDockWidget*, 2> first{};
    std::array<int, 2> extent{};
    for (size_t i = 0; i < sides.size(); ++i) {
      for (QDockWidget* dock : docks) {
        if (dock->isFloating() || !dock->isVisible() || dockWidgetArea(dock) != sides[i]) continue;
        if (first[i] == nullptr) first[i] = dock;
        extent[i] = std::max(extent[i], vertical ? dock->height() : dock->width());
      }
    }
    const int area = (vertical ? central->height() : central->width()) + extent[0] + extent[1];
    const int limit = area / 3;
    for (size_t i = 0; i < sides.size(); ++i) {
      if (first[i] != nullptr && extent[i] > limit) resizeDocks({first[i]}, {limit}, orientation);
    }
  }
}

void CMainFrame::BuildPanes() {
  imageLists_ = std::make_unique<SharedImageLists>();
  statusChartPane_ = new CStatusChartPane(Pick(L"Status Chart", L"状态表"), this);
  statusChartPane_->setObjectName(QStringLiteral("StatusChartPane"));
  projectPane_ = new CProjectManagerPane(env_, Pick(L"Project Manager", L"项目管理"), this, imageLists_.get());
  projectPane_->setObjectName(QStringLiteral("ProjectManagerPane"));
  outputPane_ = new CInforOutputPane(Pick(L"Information Output", L"信息输出"), this);
  outputPane_->setObjectName(QStringLiteral("InforOutputPane"));
  debugPane_ = new CDebugInforPane(env_, Pick(L"Debug Information", L"调试信息"), this);
  debugPane_->setObjectName(QStringLiteral("DebugInforPane"));

  for (QDockWidget* pane : {static_cast<QDockWidget*>(statusChartPane_), static_cast<QDockWidget*>(projectPane_),
                            static_cast<QDockWidget*>(outputPane_), static_cast<QDockWidget*>(debugPane_)}) {
    pane->setAllowedAreas(Qt::AllDockWidgetAreas);
    pane->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    pane->resize(200, 200);
  }
  addDockWidget(Qt::LeftDockWidgetArea, projectPane_);
  addDockWidget(Qt::BottomDockWidgetArea, statusChartPane_);
  // The output and debug panes share the status chart's tabbed area; the status chart stays in
  // front.
  tabifyDockWidget(statusChartPane_, outputPane_);
  tabifyDockWidget(outputPane_, debugPane_);
  statusChartPane_->raise();

  struct PaneCommand {
    int offset;
    QDockWidget* pane;
  };
  for (const PaneCommand& entry :
       {PaneCommand{CmdFrameStatusChart, statusChartPane_}, PaneCommand{CmdFrameProjectManager, projectPane_},
        PaneCommand{CmdFrameOutput, outputPane_}, PaneCommand{CmdFrameDebug, debugPane_}}) {
    QDockWidget* pane = entry.pane;
    connect(Command(entry.offset), &QAction::triggered, this, [this, pane] {
      if (IsIdleState(env_.CommState.load())) ShowPane(pane);
      UpdateCommandStates();
    });
  }
}

QDockWidget* CMainFrame::DebugPane() const { return debugPane_; }

void CMainFrame::UpdateCommandStates() {
  const CommandGates gates = ReadCommandGates();
  const MainFrameCommands rules(gates);
  const bool idle = IsIdleState(gates.CommState);
  for (const auto& [offset, action] : commands_) {
    bool enabled = false;
    bool checked = false;
    if (MainFrameCommands::Knows(offset)) {
      const CommandStatus status = rules.Status(offset);
      enabled = status.Enabled;
      checked = status.Checked;
      if (const int kind = ChildFrameKindOfCommand(offset); kind >= 0) {
        checked = ChildFrame(static_cast<ChildFrameKind>(kind)) != nullptr;
      }
      action->setEnabled(enabled);
      if (action->isCheckable()) action->setChecked(checked);
      continue;
    }
    switch (offset) {
      case CmdHelpAbout:
      case CmdHelpFile:
        enabled = idle;
        break;
      case CmdHelpEnglish:
      case CmdHelpChinese:
        enabled = idle;
        checked = env_.Language() == (offset == CmdHelpEnglish ? kLanguageEnglish : kLanguageChinese);
        break;
      case CmdToolbarStandard:
        enabled = idle;
        checked = standardBar_ != nullptr && standardBar_->isVisible();
        break;
      case CmdToolbarDebug:
        enabled = idle;
        checked = debugBar_ != nullptr && debugBar_->isVisible();
        break;
      case CmdToolbarInstruction:
        enabled = idle;
        checked = instructionBar_ != nullptr && instructionBar_->isVisible();
        break;
      case CmdFrameStatusChart:
      case CmdFrameProjectManager:
      case CmdFrameOutput:
      case CmdFrameDebug: {
        QDockWidget* pane = offset == CmdFrameStatusChart      ? static_cast<QDockWidget*>(statusChartPane_)
                            : offset == CmdFrameProjectManager ? static_cast<QDockWidget*>(projectPane_)
                            : offset == CmdFrameOutput         ? static_cast<QDockWidget*>(outputPane_)
                                                               : static_cast<QDockWidget*>(debugPane_);
        enabled = idle;
        checked = pane != nullptr && pane->isVisible();
        break;
      }
      default: {
        CommandStatus status;
        if (IsViewCommand(offset) && UpdateViewCommand(offset, status)) {
          enabled = status.Enabled;
          checked = status.Checked;
        }
        break;
      }
    }
    action->setEnabled(enabled);
    if (action->isCheckable()) action->setChecked(checked);
  }
}

void CMainFrame::RouteUpdate(uint16_t code, intptr_t value) { RoutePaneUpdate(code, value, *this); }

PaneRequestReceiver* CMainFrame::FindReceiver(PaneReceiver receiver) {
  switch (receiver) {
    case PaneReceiver::Frame: return this;
    case PaneReceiver::StatusChartPane: return statusChartPane_;
    case PaneReceiver::ProjectPane: return projectPane_;
    case PaneReceiver::OutputPane: return outputPane_;
    case PaneReceiver::DebugPane: return debugPane_;
    case PaneReceiver::DataBlockFrame: return OpenChildReceiver(ChildFrameKind::DataBlocks);
    case PaneReceiver::ProgramEditorFrame: return OpenChildReceiver(ChildFrameKind::ProgramEditor);
    case PaneReceiver::FunctionSymbolFrame: return OpenChildReceiver(ChildFrameKind::FunctionSymbols);
    case PaneReceiver::VariableSymbolFrame: return OpenChildReceiver(ChildFrameKind::VariableSymbols);
    case PaneReceiver::CrossReferenceFrame: return OpenChildReceiver(ChildFrameKind::CrossReference);
    case PaneReceiver::DiagnoseWindow: return diagnoseDlg_;
    default: return nullptr;
  }
}

PaneRequestReceiver* CMainFrame::OpenChildReceiver(ChildFrameKind kind) const {
  const OpenChild& child = childFrames_[static_cast<size_t>(kind)];
  return child.Window.isNull() ? nullptr : child.Receiver;
}

CProgramEditorFrm* CMainFrame::ProgramEditor() const {
  return qobject_cast<CProgramEditorFrm*>(ChildFrame(ChildFrameKind::ProgramEditor));
}

QWidget* CMainFrame::ChildFrame(ChildFrameKind kind) const {
  const OpenChild& child = childFrames_[static_cast<size_t>(kind)];
  return child.Window.isNull() ? nullptr : child.Window->widget();
}

void CMainFrame::SetChildFrameFactory(ChildFrameKind kind, ChildFrameFactory factory) {
  childFactories_[static_cast<size_t>(kind)] = std::move(factory);
}

void CMainFrame::OpenChildFrame(ChildFrameKind kind) {
  if (!IsIdleState(env_.CommState.load())) return;
  OpenChild& child = childFrames_[static_cast<size_t>(kind)];
  if (!child.Window.isNull()) {
    if (child.Window->isMinimized()) child.Window->showNormal();
    // A search going on in the find dialog keeps the focus there.
    if (kind == ChildFrameKind::ProgramEditor && findDlg_ != nullptr && findDlg_->IsFocusInDialog()) return;
    mdiArea_->setActiveSubWindow(child.Window);
    child.Window->widget()->setFocus();
    return;
  }
  const ChildFrameFactory& factory = childFactories_[static_cast<size_t>(kind)];
  if (!factory) return;
  if (kind == ChildFrameKind::CrossReference && !env_.ProjectList.empty()) {
    RebuildCrossReferIndex(env_.ProjectList.back());
  }
  static const wchar_t* const kTitles[][2] = {{L"Data Block", L"数据块"},
                                              {L"Program Editor", L"程序编辑"},
                                              {L"Function Symbol", L"函数符号"},
                                              {L"Variable Symbol", L"变量符号"},
                                              {L"Cross Reference", L"交叉引用"}};
  const ChildFrameParts parts = factory();
  if (parts.Window == nullptr) return;
  // The frame goes with its window: closing it destroys the frame and its views.
  QMdiSubWindow* window = mdiArea_->addSubWindow(parts.Window);
  window->setAttribute(Qt::WA_DeleteOnClose);
  // The child window's own menu keeps its entries but not their keys: the workbench's key
  // table gives Ctrl+W and Ctrl+F4 no meaning, and a key must not close an editor unasked.
  if (QMenu* menu = window->systemMenu()) {
    for (QAction* action : menu->actions()) action->setShortcuts({});
  }
  window->setWindowTitle(Pick(kTitles[static_cast<size_t>(kind)][0], kTitles[static_cast<size_t>(kind)][1]));
  child.Window = window;
  child.Receiver = parts.Receiver;
  child.UpdateCommand = parts.UpdateCommand;
  child.RunCommand = parts.RunCommand;
  window->showMaximized();
  parts.Window->setFocus();
}

void CMainFrame::OnPaneRequest(uint16_t code, intptr_t value) {
  switch (code) {
    case UpdFrameCaption: UpdateCaption(); break;
    case UpdShowStatusChartPane: ShowPane(statusChartPane_); break;
    case UpdShowProjectPane: ShowPane(projectPane_); break;
    case UpdShowOutputPane: {
      ShowPane(outputPane_);
      // The pane gets its size when the layout runs; then its last line (a report's total) is
      // scrolled into view.
      QTimer::singleShot(0, outputPane_->View(), &QAbstractItemView::scrollToBottom);
      break;
    }
    case UpdShowDebugPane: ShowPane(debugPane_); break;
    case UpdOpenInstructionInput:
      if (instructionInput_ != nullptr) {
        instructionInput_->SetInstructionText(value != 0 ? reinterpret_cast<const wchar_t*>(value) : L"");
        instructionInput_->ShowBox();
      }
      break;
    case UpdShowFindReplace:
      if (findDlg_ != nullptr) {
        // A dialog already shown stays where the user put it.
        if (!findDlg_->isVisible()) {
          if (findDlg_->isMinimized()) findDlg_->showNormal();
          CentreOn(findDlg_, this);
        }
        findDlg_->ShowDialog();
      }
      break;
    case UpdProgress: ShowProgress(reinterpret_cast<const ProgressInfo*>(value)); break;
    case UpdOpenProgramEditor: OpenChildFrame(ChildFrameKind::ProgramEditor); break;
    case UpdOpenFunctionSymbols: OpenChildFrame(ChildFrameKind::FunctionSymbols); break;
    case UpdOpenVariableSymbols: OpenChildFrame(ChildFrameKind::VariableSymbols); break;
    case UpdOpenDataBlocks: OpenChildFrame(ChildFrameKind::DataBlocks); break;
    case UpdOpenCrossReference: OpenChildFrame(ChildFrameKind::CrossReference); break;
    case UpdOpenCommunication:
      if (MainFrameCommands(ReadCommandGates()).Acts(CmdViewCommunications)) OnCommunications();
      break;
    case UpdOpenSystemBlock:
      if (MainFrameCommands(ReadCommandGates()).Acts(CmdViewSystemBlock)) OnSystemBlock();
      break;
    default: break;
  }
}

bool CMainFrame::StatusChartTakes(int offset) const {
  // The status chart's own commands (the Edit commands it knows, insert and delete chart); the
  // others go on to the active child frame.
  static constexpr int kChartCommands[] = {20123, 20124, 20125, 20129, 20301, 20302};
  return statusChartPane_ != nullptr && statusChartPane_->IsActivePageFocused() &&
         std::find(std::begin(kChartCommands), std::end(kChartCommands), offset) != std::end(kChartCommands);
}

const CMainFrame::OpenChild* CMainFrame::ActiveChild() const {
  QMdiSubWindow* active = mdiArea_ != nullptr ? mdiArea_->activeSubWindow() : nullptr;
  if (active == nullptr) return nullptr;
  for (const OpenChild& child : childFrames_) {
    if (child.Window == active) return &child;
  }
  return nullptr;
}

bool CMainFrame::UpdateViewCommand(int offset, CommandStatus& status) {
  if (StatusChartTakes(offset)) {
    status.Enabled = statusChartPane_->IsCommandEnabled(offset);
    return true;
  }
  if (projectPane_ != nullptr && projectPane_->IsTreeFocused() && projectPane_->HasCommand(offset)) {
    status.Enabled = projectPane_->IsCommandEnabled(offset);
    return true;
  }
  if (const OpenChild* child = ActiveChild(); child != nullptr && child->UpdateCommand) {
    if (child->UpdateCommand(offset, status)) return true;
  }
  if (IsElementCommand(offset)) {
    status.Enabled = instructionInput_ != nullptr && instructionInput_->isVisible() &&
                     IsOfflineState(env_.CommState.load());
    return true;
  }
  return false;
}

void CMainFrame::RunViewCommand(int offset) {
  if (StatusChartTakes(offset)) {
    statusChartPane_->OnCmdMsg(offset);
    return;
  }
  if (projectPane_ != nullptr && projectPane_->IsTreeFocused() && projectPane_->OnCommand(offset)) return;
  if (const OpenChild* child = ActiveChild(); child != nullptr && child->RunCommand) {
    if (child->RunCommand(offset)) return;
  }
  // An element command outside the program editor puts its element into the instruction box.
  if (!IsElementCommand(offset) || instructionInput_ == nullptr || !instructionInput_->isVisible() ||
      !IsOfflineState(env_.CommState.load()) || env_.ProjectList.empty()) {
    return;
  }
  const InstructionLibrary& library = env_.ProjectList.back().Instructions;
  const std::wstring texts[] = {library.LadFxNameLd,   library.LadFxNameLdi,  library.LadFxNameLdp,
                                library.LadFxNameLdf,  library.LadFxNameCoil, std::wstring()};
  instructionInput_->SetInstructionText(texts[offset - 20241]);
}

void CMainFrame::ConnectViewCommands() {
  // The element commands have no menu of the frame's own: their keys still reach the frame.
  static const wchar_t* const kElements[][2] = {
      {L"Normal &Open Contact\tF5", L"常开触点(&O)\tF5"},
      {L"Normal &Close Contact\tF6", L"常闭触点(&C)\tF6"},
      {L"&Positive Transition Contact\tF2", L"上升沿触点(&P)\tF2"},
      {L"&Negative Transition Contact\tF3", L"下降沿触点(&N)\tF3"},
      {L"O&utput Coil\tF7", L"输出线圈(&U)\tF7"},
      {L"Function &Block\tF8", L"功能块(&B)\tF8"},
      {L"&Horz Line\tH", L"水平线(&H)\tH"},
      {L"&Vert Line\tV", L"竖直线(&V)\tV"},
      {L"&Invert Line\tF4", L"能流取反(&I)\tF4"}};
  // Their keys (F2 to F8, H, V, F4) are the program editor view's own keys, not accelerators.
  for (int i = 0; i < 9; ++i) {
    if (commands_.count(20241 + i) == 0) AddCommand(nullptr, 20241 + i, kElements[i][0], kElements[i][1]);
  }
  for (const int offset : kViewCommands) {
    QAction* action = Command(offset);
    if (action == nullptr) continue;
    connect(action, &QAction::triggered, this, [this, offset] {
      RunViewCommand(offset);
      UpdateCommandStates();
    });
  }
}

void CMainFrame::SetStatusText(const std::wstring& text, bool blue) {
  if (commPane_ == nullptr) return;
  commPane_->setText(QString::fromStdWString(text));
  commPane_->setStyleSheet(blue ? QStringLiteral("color: rgb(0, 0, 255);") : QStringLiteral("color: rgb(255, 0, 0);"));
  commPane_->repaint();
}

void CMainFrame::UpdateCaption() { setWindowTitle(EscapeTitle(FrameCaptionText(env_.ProjectPath, env_.Modified.load()))); }

void CMainFrame::ShowPane(QDockWidget* pane) {
  if (pane == nullptr) return;
  pane->show();
  pane->raise();
  pane->setFocus();
}

void CMainFrame::ShowProgress(const ProgressInfo* info) {
  if (progress_ == nullptr || info == nullptr) return;
  if (info->Percent1 >= 100) {
    progress_->hide();
    if (savedFocus_) savedFocus_->setFocus();
    return;
  }
  if (!progress_->isVisible()) {
    savedFocus_ = QApplication::focusWidget();
    progress_->showNormal();
    CentreOn(progress_, this);
    progress_->show();
  }
  if (!info->Text.empty()) progress_->TextLine()->setText(QString::fromStdWString(info->Text));
  progress_->FirstBar()->setValue(std::max(0, info->Percent1));
  if (info->Percent2 < 100) {
    progress_->SecondBar()->show();
    progress_->SecondBar()->setValue(std::max(0, info->Percent2));
  } else {
    progress_->SecondBar()->hide();
  }
}

CommandGates CMainFrame::ReadCommandGates() {
  CommandGates gates;
  gates.CommState = env_.CommState.load();
  gates.SymbolicAddr = env_.Config.SymbolicAddr != 0;
  if (!env_.ProjectList.empty()) gates.ViewMode = env_.ProjectList.back().Program.ViewMode;
  if (!MainFrameCommands::NeedsCachedStates(gates.CommState) || env_.ProjectList.empty()) return gates;
  OnlineCache& cache = env_.ProjectList.back().Online;
  cache.Update([](OnlineCacheData& data) { data.RequestFlag = true; });
  ReadCachedRunState(cache, gates.RunState);
  ReadCachedDebugState(cache, gates.DebugState);
  cache.Update([](OnlineCacheData& data) { data.RequestFlag = false; });
  return gates;
}

void CMainFrame::OnCommand(int offset, std::function<void()> handler) {
  connect(Command(offset), &QAction::triggered, this, [this, offset, handler = std::move(handler)] {
    // Through an accelerator a command may arrive while its entry is disabled: it acts only when
    // the rules allow it now.
    if (!MainFrameCommands(ReadCommandGates()).Acts(offset)) return;
    handler();
    UpdateCommandStates();
  });
}

void CMainFrame::ConnectCommands() {
  OnCommand(CmdFileNew, [this] { OnFileNew(); });
  OnCommand(CmdFileOpen, [this] { OnFileOpen(); });
  OnCommand(CmdFileOpenPmw, [this] { OnFileOpenPmw(); });
  OnCommand(CmdFileWriteFlash, [this] { OnFileWriteFlash(); });
  OnCommand(CmdFileSave, [this] { SaveProjectAs(false); });
  OnCommand(CmdFileSaveAs, [this] { SaveProjectAs(true); });
  OnCommand(CmdFileUpload, [this] { OnFileUpload(); });
  OnCommand(CmdFileDownloadDirect, [this] { OnFileDownload(); });
  // The menu entry shows the communication settings first and downloads whatever the answer,
  // as long as no job has taken the port meanwhile.
  OnCommand(CmdFileDownload, [this] {
    EditCommunicationSettings(this, env_.Config);
    if (IsOfflineState(env_.CommState.load())) OnFileDownload();
  });
  OnCommand(CmdFileExit, [this] { close(); });
  OnCommand(CmdViewStl, [this] { OnViewMode(kViewModeStl); });
  OnCommand(CmdViewLad, [this] { OnViewMode(kViewModeLad); });
  OnCommand(CmdViewSymbolic, [this] { OnSymbolicAddressing(); });
  OnCommand(CmdViewSystemBlock, [this] { OnSystemBlock(); });
  for (const int offset : {CmdViewDataBlock, CmdViewProgramEditor, CmdViewFunctionSymbol, CmdViewVariableSymbol,
                           CmdViewCrossReference}) {
    const auto kind = static_cast<ChildFrameKind>(ChildFrameKindOfCommand(offset));
    OnCommand(offset, [this, kind] { OpenChildFrame(kind); });
  }

  OnCommand(CmdPlcCompile, [this] { OnPlcCompile(false); });
  OnCommand(CmdPlcCompileAll, [this] { OnPlcCompile(true); });
  OnCommand(CmdPlcRun, [this] { StartPlcRun(env_); });
  OnCommand(CmdPlcStop, [this] { StartPlcStop(env_); });
  OnCommand(CmdPlcSingleScan, [this] { StartLinkJobThread([this] { ForceScanThreadProc(env_, 1); }); });
  OnCommand(CmdPlcMultipleScans, [this] { OnPlcMultipleScans(); });
  OnCommand(CmdPlcType, [this] { OnPlcType(); });
  OnCommand(CmdPlcTrend, [this] { OnPlcTrend(); });
  OnCommand(CmdPlcPowerUpReset, [this] { StartLinkJobThread([this] { ForceResetThreadProc(env_); }); });
  OnCommand(CmdPlcClear, [this] { OnPlcClear(); });
  OnCommand(CmdPlcInformation, [this] { StartLinkJobThread([this] { GetPlcInformationThreadProc(env_); }); });
  OnCommand(CmdPlcReadClock, [this] { StartLinkJobThread([this] { ReadPlcClockThreadProc(env_); }); });
  OnCommand(CmdPlcWriteClock, [this] { StartLinkJobThread([this] { WritePlcClockThreadProc(env_); }); });

  OnCommand(CmdDebugConnect, [this] { OnConnect(); });
  OnCommand(CmdDebugConnectMenu, [this] {
    EditCommunicationSettings(this, env_.Config);
    if (IsOfflineState(env_.CommState.load())) OnConnect();
  });
  OnCommand(CmdDebugCommunication, [this] { OnCommunications(); });
  OnCommand(CmdViewCommunications, [this] { OnCommunications(); });
  OnCommand(CmdPlcModbusQuery, [this] { OnModbusQuery(); });
  OnCommand(CmdPlcDiagnose, [this] {
    // Made at its first use, then only moved back to its place and shown.
    if (diagnoseDlg_ == nullptr) diagnoseDlg_ = new CDiagnoseDlg(nullptr);
    diagnoseDlg_->ShowAtDefaultPlace();
  });
  OnCommand(CmdDebugDisconnect, [this] { OnDisconnect(); });
  OnCommand(CmdDebugRun, [this] { StartDebugRun(env_); });
  OnCommand(CmdDebugStop, [this] { StartDebugStop(env_); });
  for (const auto& [offset, step] : {std::pair<int, uint8_t>{CmdDebugStepIn, 1}, std::pair<int, uint8_t>{CmdDebugStepOver, 2},
                                    std::pair<int, uint8_t>{CmdDebugStepOut, 3}}) {
    const uint8_t byte = step;
    OnCommand(offset, [this, byte] { StartLinkJobThread([this, byte] { ForceDebugScanThreadProc(env_, byte); }); });
  }
  OnCommand(CmdDebugPowerUpReset, [this] { StartLinkJobThread([this] { ForceDebugResetThreadProc(env_); }); });
}

bool CMainFrame::AskSaveChanges() {
  if (!env_.Modified.load()) return true;
  const int answer = MessageBoxYesNoCancel(TextAskSaveChanges());
  if (answer == kIdYes) {
    // A save that failed or whose file dialog was cancelled leaves the changes unsaved: the
    // command stops rather than drop them.
    SaveProjectAs(false);
    return !env_.Modified.load();
  }
  return answer == kIdNo;
}

void CMainFrame::CloseTableFrames() {
  for (const ChildFrameKind kind : {ChildFrameKind::DataBlocks, ChildFrameKind::FunctionSymbols, ChildFrameKind::VariableSymbols}) {
    OpenChild& child = childFrames_[static_cast<size_t>(kind)];
    if (child.Window.isNull() || !child.Window->close()) continue;
    // Its window goes later; its codes stop now.
    child = OpenChild{};
  }
}

void CMainFrame::OnFileNew() {
  // These frames close before the question, so they stay closed when the user cancels it.
  CloseTableFrames();
  if (!AskSaveChanges()) return;
  if (!TryNewProject()) return;
  env_.ProjectPath.clear();
  env_.Modified = false;
  NotifyMainFrame(EvProjectReplaced, intptr_t{0});
}

void CMainFrame::OnFileOpen() {
  CloseTableFrames();
  if (!AskSaveChanges()) return;
  std::wstring path = env_.ProjectPath;
  if (!AskOpenProjectPath(path)) return;
  if (!TryOpenProject(path)) return;
  env_.ProjectPath = path;
  env_.Modified = false;
  NotifyMainFrame(EvProjectReplaced, intptr_t{0});
}

void CMainFrame::OnFileOpenPmw() {
  if (!AskSaveChanges()) return;
  std::wstring path = env_.ProjectPath;
  if (!AskPmwFilePath(path)) return;
  if (!TryImportPmw(path)) return;
  // The imported program is saved as a project under a name the user chooses, never over the
  // .pmw file.
  env_.ProjectPath.clear();
  env_.Modified = true;
  NotifyMainFrame(EvProjectReplaced, intptr_t{0});
}

void CMainFrame::OnFileWriteFlash() {
  // The report and the path of the written file go to the output pane, as a compile's do.
  ShowPane(outputPane_);
  try {
    WriteFlashImage();
  } catch (const ExceptionError& error) {
    if (!error.Message().empty()) MessageBoxOk(error.Message(), kMessageIconStop);
  }
}

void CMainFrame::OnFileUpload() {
  if (!AskSaveChanges()) return;
  if (env_.ProjectList.empty()) return;
  const PlcType* type = env_.ProjectList.back().Type;
  if (type != nullptr && type->Description.ExchSelf != 0) {
    StartLinkJobThread([this] { UploadThreadProc(env_); });
  } else {
    UploadThroughLibrary(env_);
  }
}

bool CMainFrame::ProgramCompilesForTransfer() {
  try {
    CompileProjectImage(false);
    return true;
  } catch (const ExceptionError&) {
  }
  // Once more with the report printed: it names the page and network and brings the output
  // pane to the front; the error is said once, and no port is opened for a program that cannot
  // go to the PLC.
  try {
    CompileProjectImage(true);
    return true;
  } catch (const ExceptionError& error) {
    if (!error.Message().empty()) MessageBoxOk(error.Message(), kMessageIconStop);
  }
  return false;
}

void CMainFrame::OnFileDownload() {
  if (env_.ProjectList.empty()) return;
  if (!ProgramCompilesForTransfer()) return;
  const PlcType* type = env_.ProjectList.back().Type;
  if (type != nullptr && type->Description.ExchSelf != 0) {
    StartLinkJobThread([this] { DownloadThreadProc(env_); });
  } else {
    DownloadThroughLibrary(env_);
  }
}

void CMainFrame::OnPlcMultipleScans() {
  uint8_t count = 1;
  if (!AskScanCount(this, count)) return;
  StartLinkJobThread([this, count] { ForceScanThreadProc(env_, count); });
}

void CMainFrame::OnPlcType() {
  if (env_.ProjectList.empty() || env_.ProjectList.back().Type == nullptr) return;
  const std::wstring current = env_.ProjectList.back().Type->Name();
  std::wstring chosen = current;
  if (!AskPlcType(this, env_.PlcTypeCatalog, chosen) || chosen == current) return;
  if (!AskSaveChanges()) return;
  if (!TryChangePlcType(chosen)) return;
  env_.ProjectPath.clear();
  env_.Modified = true;
  NotifyMainFrame(EvProjectReplaced, intptr_t{0});
}

void CMainFrame::OnPlcTrend() {
  // The trend viewer is a program of its own beside this one; whether it started is not looked at.
  QProcess::startDetached(QString::fromStdWString(GetProgramDirectory()) + QStringLiteral("/Vandrel"), {});
}

void CMainFrame::OnPlcCompile(bool all) {
  ShowPane(outputPane_);
  if (all) {
    CompileAllBlocks();
  } else {
    CompileProgramBlock();
  }
  NotifyMainFrame(EvProgramShownAsLad, intptr_t{0});
}

void CMainFrame::OnViewMode(int mode) {
  if (env_.ProjectList.empty()) return;
  CompileReport report(true);
  try {
    SwitchProgramView(env_.ProjectList.back().Program, report, mode);
  } catch (const ExceptionError& error) {
    report.PrintTotal();
    if (!error.Message().empty()) MessageBoxOk(error.Message(), kMessageIconStop);
    return;
  }
  NotifyMainFrame(mode == kViewModeStl ? EvProgramShownAsStl : EvProgramShownAsLad, intptr_t{0});
  report.PrintTotal();
}

void CMainFrame::OnSymbolicAddressing() {
  if (env_.ProjectList.empty()) return;
  Project& project = env_.ProjectList.back();
  if (env_.Config.SymbolicAddr != 0) {
    env_.Config.SymbolicAddr = 0;
    ShowProjectAddresses(project);
  } else {
    env_.Config.SymbolicAddr = 1;
    ShowProjectSymbols(project);
  }
  NotifyMainFrame(EvSymbolicAddressingToggled, intptr_t{0});
}

void CMainFrame::OnPlcClear() {
  MessageFacade* facade = InstalledMessageFacade();
  if (facade == nullptr) return;
  const int answer = facade->ShowMessage(
      MessageButtons::YesNo, MessageIcon::Exclamation,
      PickText(L"Clear PLC will destroy all data in target PLC, Do you want to continue?",
               L"清除PLC将清除目标PLC中所有的数据,您要继续吗?"));
  if (answer != kIdYes) return;
  StartLinkJobThread([this] { ClearPlcThreadProc(env_); });
}

void CMainFrame::OnCommunications() { EditCommunicationSettings(this, env_.Config); }

void CMainFrame::OnModbusQuery() {
  if (env_.ProjectList.empty()) return;
  RunModbusAddressQuery(this, env_.ProjectList.back().MemoryAreas, modbusOperandPicker_);
}

void CMainFrame::OnSystemBlock() {
  if (env_.ProjectList.empty() || env_.ProjectList.back().Type == nullptr) return;
  Project& project = env_.ProjectList.back();
  // The library's sheet is modal on the GUI thread; the pages come back only when confirmed.
  try {
    if (!RunSystemBlockConfig(project.SystemBlocks, *project.Type, reinterpret_cast<void*>(winId()))) return;
  } catch (const ExceptionError& error) {
    if (!error.Message().empty()) MessageBoxOk(error.Message(), kMessageIconStop);
    return;
  }
  NotifyMainFrame(EvSystemBlockChanged, intptr_t{0});
}

void CMainFrame::OnConnect() {
  if (!env_.ProjectList.empty() && !ProgramCompilesForTransfer()) return;
  monitor_.Start(env_);
}

void CMainFrame::OnDisconnect() {
  RequestMonitorStop(env_);
  NotifyMainFrame(EvOnlineStopping, intptr_t{0});
}

void CMainFrame::SaveProject() { SaveProjectAs(false); }

void CMainFrame::SaveProjectAs(bool askPath) {
  std::wstring path = env_.ProjectPath;
  if (askPath || path.empty()) {
    if (!AskSaveProjectPath(path)) return;
  }
  if (!TrySaveProject(path)) return;
  env_.ProjectPath = path;
  env_.Modified = false;
  NotifyMainFrame(EvCaptionChanged, intptr_t{0});
}

void CMainFrame::StartCloseTimer() { closeTimer_.start(); }
void CMainFrame::StopCloseTimer() { closeTimer_.stop(); }

void CMainFrame::OnCloseTimer() {
  if (closeRules_->OnCloseTimer() == CloseDecision::Close) {
    closeApproved_ = true;
    close();
  }
}

namespace {

// The profile where the window layout is kept between runs.
QSettings LayoutProfile() { return QSettings(QStringLiteral("BrennoSoftware"), QStringLiteral("BrennoLad")); }

}  // namespace

void CMainFrame::SaveLayout() {
  QSettings profile = LayoutProfile();
  profile.setValue(QStringLiteral("MainFrame/Geometry"), saveGeometry());
  profile.setValue(QStringLiteral("MainFrame/State"), saveState());
}

void CMainFrame::ShowAsLeft() {
  QSettings profile = LayoutProfile();
  // The window's place and size as the user left it (maximised or not); the first time, and
  // when the entry is missing or damaged, maximised over a window that already covers most of
  // the screen, for desktops that do not maximise.
  const QByteArray geometry = profile.value(QStringLiteral("MainFrame/Geometry")).toByteArray();
  if (geometry.isEmpty() || !restoreGeometry(geometry)) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect available = screen->availableGeometry();
      QRect area(QPoint(0, 0), available.size() * 9 / 10);
      area.moveCenter(available.center());
      setGeometry(area);
    }
    setWindowState(windowState() | Qt::WindowMaximized);
  }
  show();
  // Bars and panes as the user left them, once the window is shown, so that the bars the user
  // hid stay hidden; a missing or damaged entry keeps the built layout.
  const QByteArray state = profile.value(QStringLiteral("MainFrame/State")).toByteArray();
  if (!state.isEmpty()) restoreState(state);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (closeApproved_ || closeRules_->OnCloseRequest() == CloseDecision::Close) {
    closeApproved_ = true;
    SaveLayout();
    closeTimer_.stop();
    updateTimer_.stop();
    progress_->hide();
    event->accept();
    return;
  }
  event->ignore();
}

}  // namespace Brenno
