#include "ui/shell/brenno_lad_app.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include <clocale>
#include <cstdlib>
#include <sstream>

#include "core/compiler/image_stamp_compiler.h"
#include "core/env/environment_loader.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/program_paths.h"
#include "core/program/project_services.h"
#include "core/project/project.h"
#include "core/project/message_box.h"
#include "core/project/project_commands.h"
#include "platform/text_codec.h"
#include "ui/shell/close_rules.h"
#include "ui/shell/message_facade.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/widgets/qt_draw_context.h"

namespace Brenno {

CBrennoLadApp::CBrennoLadApp() = default;

CBrennoLadApp::~CBrennoLadApp() {
  frame_.reset();
  RemoveServices();
}

void CBrennoLadApp::RemoveServices() {
  InstallMainFrameSink(nullptr);
  InstallLinkUiServices(nullptr);
  InstallMonitorUiServices(nullptr);
  InstallClipboardService(nullptr);
  InstallMessageFacade(nullptr);
  InstallUiDispatcher(nullptr);
  if (InstalledEnvironment() == &env_) InstallEnvironment(nullptr);
}

bool CBrennoLadApp::InitInstance(const QStringList& arguments) { return InitInstance(arguments, GetProgramDirectory()); }

bool CBrennoLadApp::InitInstance(const QStringList& arguments, const std::wstring& programDirectory) {
  programDirectory_ = programDirectory;

  // The type folders' libraries are found beside the program too.
  const std::wstring oldPath = GetPathVariable();
  const std::wstring newPath = oldPath.empty() ? programDirectory : oldPath + L":" + programDirectory;
  setenv("PATH", platform::ToUtf8Lossy(newPath).c_str(), 1);

  // Texts keep the user's character classification; numbers are read and written with "." as
  // the decimal mark whatever the user's locale says. The code page of the project file's texts
  // is converted explicitly (CP936), not through the locale.
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");

  InstallUiDispatcher(&dispatcher_);
  InstallMessageFacade(facadeOverride_ != nullptr ? facadeOverride_ : &facade_);
  InstallClipboardService(&clipboard_);
  InstallLinkUiServices(&linkUi_);
  InstallMonitorUiServices(&monitorUi_);
  InstallEnvironment(&env_);
  InstallCurrentProjectServices();
  // The monitor compares the PLC's image stamps with those of the project's compiled images.
  InstallImageStampCompiler();

  try {
    LoadEnvironment(env_, programDirectory);
  } catch (const ExceptionError& error) {
    MessageBoxOk(error.Message(), kMessageIconStop);
    return false;
  }
  environmentLoaded_ = true;
  // The first, empty project of the selected type (its error has been shown).
  if (!TryNewProject()) return false;

  SetSystemColoursFromPalette(QApplication::palette());

  frame_ = std::make_unique<CMainFrame>(env_, this);
  if (!frame_->OnCreate()) {
    frame_.reset();
    return false;
  }
  facade_.SetOwner(frame_.get());
  InstallMainFrameSink(frame_.get());
  frame_->showMaximized();
  frame_->RestoreLayout();

  for (qsizetype i = 1; i < arguments.size(); ++i) {
    if (arguments[i].startsWith(QLatin1Char('-'))) continue;
    OpenStartupProject(arguments[i].toStdWString());
    break;
  }
  return true;
}

void CBrennoLadApp::OpenStartupProject(const std::wstring& path) {
  if (!TryOpenProject(path)) return;  // the empty first project stays
  env_.ProjectPath = path;
  env_.Modified = false;
  NotifyMainFrame(EvProjectReplaced, intptr_t{0});
}

int CBrennoLadApp::ExitInstance() {
  InstallMainFrameSink(nullptr);
  facade_.SetOwner(nullptr);
  frame_.reset();
  if (environmentLoaded_) {
    environmentLoaded_ = false;
    try {
      SaveEnvironment(env_, programDirectory_);
    } catch (const ExceptionError& error) {
      MessageBoxOk(error.Message(), kMessageIconStop);
    }
  }
  RemoveServices();
  return 0;
}

void CBrennoLadApp::OnAppAbout() {
  CAboutDlg dialog(frame_.get());
  dialog.exec();
}

void CBrennoLadApp::OnSelectLanguage(int language) {
  SwitchLanguage(env_, language, [this] {
    if (frame_) frame_->close();
  });
}

void CBrennoLadApp::OnCallHelpFile() {
  // What the viewer does with a missing file is left to it.
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdWString(programDirectory_ + L"/OrvistoHelp.chm")));
}

std::wstring AboutBuildDate(const char* compilerDate) {
  std::istringstream in(compilerDate != nullptr ? compilerDate : "");
  std::string month, day, year;
  in >> month >> day >> year;
  return platform::Utf8ToWide(month + " " + day + " " + year).value_or(L"");
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutDlg"));
  setWindowTitle(QString::fromWCharArray(PickText(L"About Orvisto Editor", L"关于Orvisto Editor")));
  auto* layout = new QVBoxLayout(this);
  auto* version = new QLabel(this);
  version->setObjectName(QStringLiteral("VersionText"));
  version->setText(QString::fromWCharArray(PickText(L"Orvisto Editor Version 2.1", L"  Orvisto Editor 版本 2.1")) +
                   QStringLiteral(" (") + QString::fromStdWString(AboutBuildDate(__DATE__)) + QStringLiteral(")"));
  layout->addWidget(version);
  layout->addWidget(new QLabel(QStringLiteral("Orvisto Editor, the programming workbench of the Brenno PLCs."), this));
  layout->addWidget(new QLabel(QStringLiteral("https://www.brenno-plc.example"), this));
  layout->addWidget(new QLabel(QStringLiteral("support@brenno-plc.example"), this));
  auto* ok = new QPushButton(QString::fromWCharArray(PickText(L"OK", L"确认")), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
}

}  // namespace Brenno
