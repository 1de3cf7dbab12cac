// The workbench's main window: menu bar, three toolbars, status bar with the communication text,
// the four docking panes, the progress dialog and the area of the editor child frames. It is the
// one window the core and the worker threads talk to: it routes the `PaneUpdate` codes of the
// notification hub to their windows, handles the codes of its own group, shows the status text
// and decides when the workbench may close.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <array>
#include <functional>

#include <map>
#include <memory>

#include "core/link/online_monitor.h"
#include "ui/shell/close_rules.h"
#include "ui/shell/main_frame_commands.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/shell/update_router.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace Brenno {

class AppEnvironment;
class CInforOutputPane;
class CStatusChartPane;
class CProjectManagerPane;
class SharedImageLists;
class CDebugInforPane;
class CDiagnoseDlg;
class CFindAndReplaceDlg;
class CEditorInputDlg;
class CProgramEditorFrm;
class CMainProgressDlg;
struct ProgressInfo;

// The application-level commands of the Help menu, carried by the application object.
class AppCommands {
 public:
  virtual ~AppCommands() = default;
  virtual void OnAppAbout() = 0;
  virtual void OnSelectLanguage(int language) = 0;
  virtual void OnCallHelpFile() = 0;
};


// The editor child frames the main frame opens in its window area, one of each kind.
enum class ChildFrameKind { DataBlocks, ProgramEditor, FunctionSymbols, VariableSymbols, CrossReference, Count };

// A new child frame: its window and the handler of its group of update codes.
// The view commands (edit and element commands) go to the window that holds the keyboard focus:
// UpdateCommand gives the command's state and RunCommand runs it, both false when that window
// does not take the command now.
struct ChildFrameParts {
  QWidget* Window = nullptr;
  PaneRequestReceiver* Receiver = nullptr;
  std::function<bool(int, CommandStatus&)> UpdateCommand;
  std::function<bool(int)> RunCommand;
};
using ChildFrameFactory = std::function<ChildFrameParts()>;

// The id of the status bar's communication pane.
inline constexpr int kCommStatusPaneId = 22386;

class CMainFrame : public QMainWindow,
                   public MainFrameSink,
                   public PaneRequestReceiver,
                   public PaneReceiverLookup,
                   public CloseHost {
  Q_OBJECT
 public:
  CMainFrame(AppEnvironment& env, AppCommands* app);
  ~CMainFrame() override;

  // Builds bars, menus, panes and dialogs; false when a step fails.
  bool OnCreate();
  // Shows the window with the place, size, bars and panes of the last run, kept in the user's
  // profile; maximised the first time.
  void ShowAsLeft();

  // MainFrameSink: the route-update and status-text messages.
  void RouteUpdate(uint16_t code, intptr_t value) override;
  void SetStatusText(const std::wstring& text, bool blue) override;
  // The codes of group 0x80.
  void OnPaneRequest(uint16_t code, intptr_t value) override;
  PaneRequestReceiver* FindReceiver(PaneReceiver receiver) override;

  // CloseHost.
  void SaveProject() override;
  void StartCloseTimer() override;
  void StopCloseTimer() override;
  bool CloseTimerActive() const { return closeTimer_.isActive(); }

  // The menu or toolbar command with the offset (null when the frame has none).
  QAction* Command(int offset) const;
  // Recomputes the enabled and checked state of every command from the environment.
  void UpdateCommandStates();

  QLabel* CommStatusPane() const { return commPane_; }
  CInforOutputPane* OutputPane() const { return outputPane_; }
  CStatusChartPane* StatusChartPane() const { return statusChartPane_; }
  CProjectManagerPane* ProjectManagerPane() const { return projectPane_; }
  QDockWidget* DebugPane() const;
  CMainProgressDlg* ProgressDialog() const { return progress_; }
  CFindAndReplaceDlg* FindReplaceDialog() const { return findDlg_; }
  CEditorInputDlg* InstructionInputBox() const { return instructionInput_; }
  CDiagnoseDlg* DiagnoseDialog() const { return diagnoseDlg_; }
  QToolBar* StandardToolBar() const { return standardBar_; }
  QToolBar* DebugToolBar() const { return debugBar_; }
  QToolBar* InstructionToolBar() const { return instructionBar_; }

  // Opens the child frame of the kind, or brings the open one forward (only while no job owns
  // the port). A new cross-reference frame first rebuilds the project's cross reference.
  void OpenChildFrame(ChildFrameKind kind);
  // The open child frame's window of the kind, or null.
  QWidget* ChildFrame(ChildFrameKind kind) const;
  CProgramEditorFrm* ProgramEditor() const;
  // What makes a new child frame of the kind; a kind without one is not opened.
  void SetChildFrameFactory(ChildFrameKind kind, ChildFrameFactory factory);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolBars();
  void BuildStatusBar();
  void BuildPanes();
  // Docked panes on one side of the window take at most a third of its working area, so that a
  // small window leaves the editors room. Run once the layout has placed them for a new size.
  void GiveWayToTheEditors();
  void GiveWayAfterLayout();
  // The current project compiles; otherwise its report is in the output pane in front and its
  // error has been shown (once).
  bool ProgramCompilesForTransfer();
  QAction* AddCommand(QMenu* menu, int offset, const wchar_t* english, const wchar_t* chinese);
  void UpdateCaption();
  void ShowPane(QDockWidget* pane);
  void ShowProgress(const ProgressInfo* info);
  void SaveProjectAs(bool askPath);
  void ConnectCommands();
  // The gates of the commands now: the communication state and, while online, the current
  // project's cached run and debug states.
  CommandGates ReadCommandGates();
  // Connects the command to a handler that runs only when the rules let it act now.
  void OnCommand(int offset, std::function<void()> handler);
  // The save question before the project is dropped: false when the user cancelled.
  bool AskSaveChanges();
  // Closes the data block, function symbol and variable symbol frames that are open.
  void CloseTableFrames();
  void OnFileNew();
  void OnFileOpen();
  void OnFileOpenPmw();
  void OnFileWriteFlash();
  void OnFileUpload();
  void OnFileDownload();
  void OnPlcCompile(bool all);
  void OnPlcMultipleScans();
  void OnPlcType();
  void OnPlcTrend();
  void OnPlcClear();
  void OnViewMode(int mode);
  void OnSymbolicAddressing();
  void SaveLayout();
  void OnSystemBlock();
  void OnCommunications();
  void OnModbusQuery();
  void OnConnect();
  void OnDisconnect();
  void OnCloseTimer();

  AppEnvironment& env_;
  AppCommands* app_;
  std::unique_ptr<MainFrameCloseRules> closeRules_;
  QTimer closeTimer_;
  QTimer updateTimer_;
  bool giveWayPending_ = false;
  bool closeApproved_ = false;

  QMdiArea* mdiArea_ = nullptr;
  struct OpenChild {
    QPointer<QMdiSubWindow> Window;
    PaneRequestReceiver* Receiver = nullptr;
    std::function<bool(int, CommandStatus&)> UpdateCommand;
    std::function<bool(int)> RunCommand;
  };
  // The view commands: offered to the status chart pane, the project tree and the active child
  // frame when they hold the focus, in this order; the element commands then fall to the
  // instruction input box.
  void ConnectViewCommands();
  bool UpdateViewCommand(int offset, CommandStatus& status);
  void RunViewCommand(int offset);
  const OpenChild* ActiveChild() const;
  bool StatusChartTakes(int offset) const;
  std::array<OpenChild, static_cast<size_t>(ChildFrameKind::Count)> childFrames_;
  std::array<ChildFrameFactory, static_cast<size_t>(ChildFrameKind::Count)> childFactories_;
  // Picks an operand for the MODBUS address query's Reference button.
  std::function<bool(QWidget*, const std::wstring&, std::wstring&)> modbusOperandPicker_;
  PaneRequestReceiver* OpenChildReceiver(ChildFrameKind kind) const;
  QLabel* commPane_ = nullptr;
  QToolBar* standardBar_ = nullptr;
  QToolBar* debugBar_ = nullptr;
  QToolBar* instructionBar_ = nullptr;
  std::map<int, QAction*> commands_;
  std::unique_ptr<SharedImageLists> imageLists_;
  CStatusChartPane* statusChartPane_ = nullptr;
  CProjectManagerPane* projectPane_ = nullptr;
  CInforOutputPane* outputPane_ = nullptr;
  CDebugInforPane* debugPane_ = nullptr;
  CFindAndReplaceDlg* findDlg_ = nullptr;
  CEditorInputDlg* instructionInput_ = nullptr;
  CDiagnoseDlg* diagnoseDlg_ = nullptr;
  CMainProgressDlg* progress_ = nullptr;
  QPointer<QWidget> savedFocus_;
  OnlineMonitor monitor_;
};

}  // namespace Brenno
