#include "ui/shell/brenno_lad_app.h"

#include <QApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <sstream>

#include "core/compiler/image_stamp_compiler.h"
#include "core/link/image_stamp_pages.h"
#include "core/link/online_access.h"
#include "core/project/environment_loader.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/program_paths.h"
#include "core/project/project_services.h"
#include "core/project/project.h"
#include "core/project/message_box.h"
#include "core/project/project_commands.h"
#include "platform/file_util.h"
#include "platform/text_codec.h"
#include "ui/shell/close_rules.h"
#include "ui/shell/message_facade.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/widgets/command_icons.h"
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
  InstallOnlineServices(nullptr);
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

  // Every window of the workbench, the system-block library's sheets included, shows the
  // application icon unless it has one of its own.
  QApplication::setWindowIcon(ApplicationIcon());

  InstallUiDispatcher(&dispatcher_);
  InstallMessageFacade(facadeOverride_ != nullptr ? facadeOverride_ : &facade_);
  InstallClipboardService(&clipboard_);
  InstallLinkUiServices(&linkUi_);
  InstallMonitorUiServices(&monitorUi_);
  InstallEnvironment(&env_);
  InstallCurrentProjectServices();
  // The program editor and the status chart read the PLC's values and start writes through the
  // link.
  InstallLinkOnlineServices();
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
  frame_->ShowAsLeft();

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

std::wstring CBrennoLadApp::HelpPagePath() const {
  return programDirectory_ + (CurrentLanguage() == kLanguageChinese ? L"/help/zh/index.html" : L"/help/en/index.html");
}

void CBrennoLadApp::OnCallHelpFile() {
  // The help is HTML in the program directory, shown by the desktop's browser; what the browser
  // does with a missing page is left to it. Without a browser the user is told which file to
  // open.
  const std::wstring path = HelpPagePath();
  const QUrl page = QUrl::fromLocalFile(QString::fromStdWString(path));
  auto tell = [path] { MessageBoxOk(HelpNotShownMessage(path), kMessageIconWarning); };
  if (urlOpener_) {
    if (!urlOpener_(page)) tell();
  } else {
    OpenInBrowser(page, frame_.get(), tell);
  }
}

void OpenInBrowser(const QUrl& page, QObject* owner, const std::function<void()>& failed) {
  const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (opener.isEmpty()) {
    if (!QDesktopServices::openUrl(page)) failed();
    return;
  }
  // xdg-open is what Qt itself would start, but Qt does not wait for its answer: a browser that
  // cannot start (none installed, or one that refuses to run) would leave the command silent.
  // xdg-open runs the browser as its child, so ending it with the owner leaves the browser up.
  auto* process = new QProcess(owner);
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(QProcess::nullDevice());
  // The browser gets the file-size signal as programs have it, not as the workbench sets it.
  process->setChildProcessModifier([] { platform::DefaultFileSizeLimitSignal(); });
  QObject::connect(process, &QProcess::errorOccurred, process, [process, failed](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    process->deleteLater();
    failed();
  });
  QObject::connect(process, &QProcess::finished, process, [process, failed](int code, QProcess::ExitStatus status) {
    process->deleteLater();
    if (status != QProcess::NormalExit || code != 0) failed();
  });
  process->start(opener, {page.toString()});
}

std::wstring HelpNotShownMessage(const std::wstring& path) {
  return std::wstring(PickText(L"No web browser could be started to show the help. Open this file in a browser:",
                               L"无法启动网页浏览器显示帮助。请用浏览器打开此文件:")) +
         L"\r\n" + path;
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
  layout->setContentsMargins(0, 0, 0, 12);

  // The banner across the top (drawn below, once the width of the text is known).
  auto* bannerLabel = new QLabel(this);
  bannerLabel->setObjectName(QStringLiteral("Banner"));
  layout->addWidget(bannerLabel);

  // The application icon at the left of the text lines.
  auto* body = new QHBoxLayout;
  body->setContentsMargins(18, 8, 18, 4);
  body->setSpacing(16);
  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("AppIcon"));
  icon->setPixmap(ApplicationIcon().pixmap(48, 48));
  icon->setAlignment(Qt::AlignTop);
  body->addWidget(icon, 0, Qt::AlignTop);
  auto* lines = new QVBoxLayout;
  auto* version = new QLabel(this);
  version->setObjectName(QStringLiteral("VersionText"));
  version->setText(QString::fromWCharArray(PickText(L"Orvisto Editor Version 2.1", L"  Orvisto Editor 版本 2.1")) +
                   QStringLiteral(" (") + QString::fromStdWString(AboutBuildDate(__DATE__)) + QStringLiteral(")"));
  lines->addWidget(version);
  lines->addWidget(new QLabel(QStringLiteral("Orvisto Editor, the programming workbench of the Brenno PLCs."), this));
  lines->addWidget(new QLabel(QStringLiteral("https://www.brenno-plc.example"), this));
  lines->addWidget(new QLabel(QStringLiteral("support@brenno-plc.example"), this));
  body->addLayout(lines, 1);
  layout->addLayout(body);

  auto* ok = new QPushButton(QString::fromWCharArray(PickText(L"OK", L"确认")), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  // The banner as wide as the dialog (measured with the fonts the style gives the texts), with
  // the product's name on it.
  ensurePolished();
  for (QWidget* child : findChildren<QWidget*>()) child->ensurePolished();
  QPixmap banner = BannerPixmap(QSize(std::max(440, layout->sizeHint().width()), 90));
  {
    QPainter painter(&banner);
    painter.setRenderHint(QPainter::Antialiasing);
    ApplicationIcon().paint(&painter, QRect(18, 17, 52, 52));
    QFont name = font();
    name.setPointSizeF(name.pointSizeF() * 2);
    name.setBold(true);
    painter.setFont(name);
    painter.setPen(Qt::white);
    painter.drawText(QRect(84, 0, banner.width() - 84, banner.height() - 6), Qt::AlignVCenter | Qt::AlignLeft,
                     QStringLiteral("Orvisto Editor"));
  }
  bannerLabel->setPixmap(banner);
}

}  // namespace Brenno
