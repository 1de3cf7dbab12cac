// The application object of the workbench: owns the environment, prepares the process, reads the
// configuration and the PLC type catalog, creates the first project and the main frame, opens a
// project named on the command line, and writes the configuration back at exit. It also carries
// the Help menu's application commands (About, language, help file).
#pragma once

#include <QDialog>
#include <QStringList>
#include <QUrl>

#include <functional>

#include <memory>
#include <string>

#include "core/link/app_environment.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/qt_clipboard_service.h"
#include "ui/shell/qt_message_facade.h"
#include "ui/shell/shell_link_ui.h"
#include "ui/shell/shell_monitor_ui.h"
#include "ui/shell/ui_dispatcher.h"

namespace Brenno {

class CBrennoLadApp : public AppCommands {
 public:
  CBrennoLadApp();
  ~CBrennoLadApp() override;
  CBrennoLadApp(const CBrennoLadApp&) = delete;
  CBrennoLadApp& operator=(const CBrennoLadApp&) = delete;

  // The start-up, run once after the QApplication exists. `arguments` as the application gives
  // them (the program first); `programDirectory` holds "Orvisto.xml" and the catalog folder
  // "Orvisto". False ends the program (its error has been shown).
  bool InitInstance(const QStringList& arguments, const std::wstring& programDirectory);
  bool InitInstance(const QStringList& arguments);
  // The shut-down after the main window has closed: drops the main frame, writes the
  // configuration back (an error is shown and the shut-down goes on) and removes the services.
  // Writes nothing when the start-up failed, so that a configuration file that could not be read
  // is never replaced.
  int ExitInstance();

  // A facade to install instead of the Qt one (tests answer the questions with a scripted one);
  // set before InitInstance. Not owned.
  void UseMessageFacade(MessageFacade* facade) { facadeOverride_ = facade; }

  // What hands a help page to the desktop's browser and says whether one took it; tests put a
  // recorder here. By default OpenInBrowser.
  void UseUrlOpener(std::function<bool(const QUrl&)> opener) { urlOpener_ = std::move(opener); }
  // The page the Help command opens: the user guide of the running language in the program
  // directory's folder "help" ("help/en/index.html", "help/zh/index.html").
  std::wstring HelpPagePath() const;

  AppEnvironment& Environment() { return env_; }
  CMainFrame* MainFrame() { return frame_.get(); }

  void OnAppAbout() override;
  void OnSelectLanguage(int language) override;
  void OnCallHelpFile() override;

 private:
  void OpenStartupProject(const std::wstring& path);
  void RemoveServices();

  AppEnvironment env_;
  std::wstring programDirectory_;
  bool environmentLoaded_ = false;
  UiDispatcher dispatcher_;
  QtMessageFacade facade_;
  MessageFacade* facadeOverride_ = nullptr;
  QtClipboardService clipboard_;
  ShellLinkUi linkUi_;
  ShellMonitorUi monitorUi_;
  std::unique_ptr<CMainFrame> frame_;
  std::function<bool(const QUrl&)> urlOpener_;
};

// The About box.
class CAboutDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CAboutDlg(QWidget* parent);
};

// The build date in the form "Dec 12 2014" from the compiler's date text ("Dec  2 2014" gives
// "Dec 2 2014").
std::wstring AboutBuildDate(const char* compilerDate);

// What the Help command says when no browser took the help page: the full path to open by hand.
std::wstring HelpNotShownMessage(const std::wstring& path);

// Hands the page to the desktop's browser through xdg-open and calls `failed` (on the GUI
// thread, now or once xdg-open has ended) when it cannot be started or reports that no browser
// took the page. A browser that keeps xdg-open waiting counts as shown. Without xdg-open, Qt's
// own opener decides. The watch ends with `owner`.
void OpenInBrowser(const QUrl& page, QObject* owner, const std::function<void()>& failed);

}  // namespace Brenno
