// render_windows [--program FOLDER] OUTPUT_FOLDER
//
// Starts the workbench offscreen on a copy of a program directory (by default the one the build
// lays out), once in English and once in Chinese, and renders to PNG files: the main window at
// 1280 x 800, the statement-list view of a new project (empty networks, then the comment editor
// open), the program editor with a few rungs in ladder and statement list (also in an 800 x 600
// window), the find and replace dialog, the device detail,
// instruction reference, PLC type, communication settings (also with its port list open, which
// shows the serial devices of the machine or of ORVISTO_DEVICE_ROOT), progress and About dialogs,
// the message boxes of every kind, those the tables show for entries they do not take and what the
// program editor says about input it refuses, the notice of a copy that a stopped save left beside
// a project file, the main window after Write File and after a compile that failed, and a sheet
// of the command icons. The files are named after the window and the language
// ("main_window_en.png", "about_zh.png"). Nothing of the user's own configuration or window
// layout is read or written.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPixmap>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "core/compiler/image_stamp_compiler.h"
#include "core/env/exception_error.h"
#include "core/link/app_environment.h"
#include "core/env/instruction_library.h"
#include "core/link/link_ui.h"
#include "core/program/edit_advice.h"
#include "core/program/ladder_edit.h"
#include "core/program/ladder_grid.h"
#include "core/program/network.h"
#include "core/program/program_block.h"
#include "core/program/program_page.h"
#include "core/project/message_box.h"
#include "core/project/project_file.h"
#include "platform/file_util.h"
#include "core/project/status_chart.h"
#include "core/project/stream_text_places.h"
#include "core/project/project.h"
#include "ui/shell/brenno_lad_app.h"
#include "ui/shell/comm_settings_dlg.h"
#include "ui/shell/find_and_replace_dlg.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/main_progress_dlg.h"
#include "ui/shell/message_facade.h"
#include "ui/shell/notify_codes.h"
#include "ui/views/instruction/instruction_dialog_runner.h"
#include "ui/views/program_editor/program_editor_frm.h"
#include "ui/views/program_editor/program_editor_main_view.h"
#include "ui/views/status_chart/status_chart_pane.h"
#include "ui/views/status_chart/status_chart_view.h"
#include "ui/views/symbols/fun_symbol_table.h"
#include "ui/widgets/command_icons.h"

namespace {

namespace fs = std::filesystem;
using namespace Brenno;

int Usage() {
  std::fprintf(stderr, "usage: render_windows [--program FOLDER] OUTPUT_FOLDER\n");
  return 2;
}

class Renderer {
 public:
  Renderer(QDir output, fs::path program) : output_(std::move(output)), program_(std::move(program)) {}

  bool RenderLanguage(int language) {
    suffix_ = language == 2 ? QStringLiteral("_zh") : QStringLiteral("_en");
    QTemporaryDir scratch;
    if (!scratch.isValid()) return Fail("cannot make a scratch folder");
    // The workbench keeps its window layout in the user's profile: here one of its own.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, scratch.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, scratch.path());
    const fs::path dir = fs::path(scratch.path().toStdString()) / "program";
    std::error_code error;
    fs::create_directories(dir, error);
    fs::copy(program_ / "Orvisto", dir / "Orvisto", fs::copy_options::recursive, error);
    if (error) return Fail("cannot copy the catalog of " + program_.string());
    {
      std::ofstream config(dir / "Orvisto.xml", std::ios::binary | std::ios::trunc);
      config << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<PlcConfig Lang=\"10#" << language << "\"/>\n";
    }

    CBrennoLadApp app;
    if (!app.InitInstance({QStringLiteral("orvisto")}, dir.wstring())) return Fail("the workbench did not start");
    CMainFrame* frame = app.MainFrame();
    bool ok = true;

    // The main window at the width the tool bars must fit.
    frame->setWindowState(Qt::WindowNoState);
    frame->resize(1280, 800);
    Settle();
    ok = Save(frame->grab(), "main_window") && ok;

    // The statement-list view of a new project: empty networks, each with its comment box and
    // its program box; then the comment editor open on an empty comment.
    Pick(frame, CmdViewProgramEditor);
    if (QMdiArea* area = frame->findChild<QMdiArea*>()) {
      if (QMdiSubWindow* window = area->activeSubWindow()) window->showMaximized();
    }
    Pick(frame, CmdViewStl);
    Settle();
    ok = Save(frame->grab(), "program_editor_stl_empty") && ok;
    if (CProgramEditorMainView* view = ActiveProgramView(frame)) {
      ProgramPage& page = app.Environment().ProjectList.back().Program.GetProgramPage(view->BlockKey());
      page.ViewState.CurrentNetwork = 1;
      const int top = kPageHeaderHeight + page.NetworksHeight(0, 1);
      const Rect comment = Network::CommentRect(page.Networks()[1], page.ViewState, 0, top);
      page.OpenCommentEditorAt(PagePoint{comment.left + 20, comment.top + 5});
      view->ShowCommentEditor();
      Settle();
      ok = Save(frame->grab(), "program_editor_stl_comment") && ok;
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QApplication::sendEvent(&view->CommentEditor(), &escape);
      Settle();
      page.ClearSelection();
    }
    Pick(frame, CmdViewLad);

    // The program editor with a few rungs, first in ladder, then in statement list.
    ShowSampleProgram(app.Environment());
    Pick(frame, CmdViewLad);
    Settle();
    ok = Save(frame->grab(), "program_editor_lad") && ok;
    Pick(frame, CmdViewStl);
    Settle();
    ok = Save(frame->grab(), "program_editor_stl") && ok;
    Pick(frame, CmdViewLad);

    // A small screen: the docked panes give way to the program.
    frame->resize(800, 600);
    Settle();
    ok = Save(frame->grab(), "program_editor_800x600") && ok;
    frame->resize(1280, 800);
    Settle();

    // The find and replace dialog as Edit > Find And Replace opens it.
    if (CFindAndReplaceDlg* find = frame->FindReplaceDialog()) {
      find->show();
      Settle();
      ok = Save(find->grab(), "find_replace") && ok;
      find->hide();
    }

    // The progress dialog, modeless, as a transfer shows it.
    ProgressInfo progress{language == 2 ? L"下载 程序块" : L"Download program block", 40, 70};
    frame->RouteUpdate(UpdProgress, reinterpret_cast<intptr_t>(&progress));
    Settle();
    ok = Save(frame->ProgressDialog()->grab(), "progress") && ok;
    ProgressInfo done{L"", 100, 100};
    frame->RouteUpdate(UpdProgress, reinterpret_cast<intptr_t>(&done));

    // The modal dialogs, each pictured once it is up, then cancelled.
    ok = Capture("about", [&] { Pick(frame, CmdHelpAbout); }) && ok;
    ok = Capture("plc_type", [&] { Pick(frame, CmdPlcType); }) && ok;
    ok = Capture("communication", [&] { Pick(frame, CmdViewCommunications); }) && ok;
    {
      // The port list open, with a configured port the machine does not have.
      const std::wstring configured = app.Environment().Config.LinkPortPath;
      app.Environment().Config.LinkPortPath = L"COM9";
      ok = Capture("communication_ports", [&] { Pick(frame, CmdViewCommunications); }, PictureWithPortList) && ok;
      app.Environment().Config.LinkPortPath = configured;
    }
    ok = Capture("device_detail", [&] {
      std::wstring operand = L"I0.0";
      RunDeviceDetailDialog(L"Tv:", operand, -1, -1, frame);
    }) && ok;
    ok = Capture("instruction_reference", [&] {
      std::wstring name = SampleInstructionName(app.Environment());
      RunInstructionReferDialog(name, -1, frame);
    }) && ok;
    const bool chinese = language == 2;
    ok = Capture("message_information", [&] { MessageBoxOk(L"设置成功", 0x40); }) && ok;
    ok = Capture("message_warning", [&] {
      MessageBoxOk(chinese ? L"请输入一个整数。" : L"Please enter an integer.", 0x30);
    }) && ok;
    ok = Capture("message_error", [&] {
      MessageBoxOk(chinese ? L"无法打开文件 \"/home/user/DravomelFiles/motor.lqw\"。"
                           : L"Cannot open the file \"/home/user/DravomelFiles/motor.lqw\".",
                   0x10);
    }) && ok;
    ok = Capture("message_question", [&] { MessageBoxYesNoCancel(TextAskSaveChanges()); }) && ok;
    // What an open says of texts it read as empty.
    ok = Capture("message_emptied_texts", [&] {
      StreamTextPlaces places;
      places.Listed = chinese ? std::vector<std::wstring>{L"MAIN (INT0)，NETWORK 3，注释第 1 行", L"数据块，DAT_0 (DAT0)，第 4 行，注释"}
                              : std::vector<std::wstring>{L"MAIN (INT0), NETWORK 3, comment line 1",
                                                          L"Data Block, DAT_0 (DAT0), row 4, comment"};
      places.Further = 12;
      MessageBoxOk(EmptiedTextsMessage(places), kMessageIconWarning);
    }) && ok;
    // What the program editor says about input it cannot take as it stands.
    PageViewState cell;
    cell.PageId = 0;
    cell.ViewMode = kViewModeLad;
    cell.CursorColumn = 0;
    cell.CursorRow = 0;
    ok = Capture("message_refused_stl_name", [&] {
      MessageBoxOk(ExplainRefusedElementText(L"MOVW VW200, VW202", cell), kMessageIconWarning);
    }) && ok;
    ok = Capture("message_refused_call", [&] {
      MessageBoxOk(ExplainRefusedElementText(L"CALL SBR0", cell), kMessageIconWarning);
    }) && ok;
    ok = Capture("message_refused_operands", [&] {
      MessageBoxOk(ExplainRefusedElementText(L"MOVW VW200, IB3", cell), kMessageIconWarning);
    }) && ok;
    LadElement box;
    if (ParseLadElementText(L"ADD_I VW0, VW2, VW4", box, cell)) {
      ok = Capture("message_first_column", [&] { MessageBoxOk(ExplainRefusedPlacement(box, cell), kMessageIconWarning); }) &&
           ok;
      ok = Capture("message_remove_for_placement", [&] {
        MessageBoxYesNo(AskRemoveForPlacement(PlacedLineText(false), 0, {box}, cell),
                        kMessageIconQuestion | kMessageDefaultNo);
      }) && ok;
    }
    ok = Capture("message_needs_cell", [&] { MessageBoxOk(TextPlaceNeedsCell(), kMessageIconWarning); }) && ok;
    ok = Capture("message_comment_to_program", [&] {
      cell.ViewMode = kViewModeStl;
      MessageBoxYesNo(AskMoveCommentToProgram(1, {L"LD I0.0", L"TON T37, 100"}), kMessageIconQuestion);
    }) && ok;
    ok = Capture("message_long", [&] {
      std::wstring text;
      for (int i = 1; i <= 40; ++i) {
        text += (chinese ? L"网络 " : L"Network ") + std::to_wstring(i) +
                (chinese ? L": 操作数超出范围\n" : L": operand out of range\n");
      }
      MessageBoxOk(text, 0x10);
    }) && ok;
    // What an open or a save of a project file says while a stopped save's copy stands beside it.
    ok = Capture("message_kept_copy", [&] {
      const fs::path projects = fs::path(scratch.path().toStdString()) / "projects";
      fs::create_directories(projects);
      const std::vector<uint8_t> content = {'x'};
      platform::WriteFileBytes((projects / "motor.lqw").wstring(), content);
      platform::WriteFileBytes((projects / "motor.lqw.orvisto-copy").wstring(), content);
      MessageBoxOk(KeptCopiesNotice((projects / "motor.lqw").wstring()), kMessageIconWarning);
    }) && ok;

    // What the tables say of an entry they do not take.
    const auto warn = [](const std::wstring& text) { MessageBoxOk(text, kMessageIconWarning); };
    ok = Capture("message_chart_address", [&] {
      warn(ChartAddressRefusedMessage(L"Motor_1", ListChartAddressExamples(3)));
    }) && ok;
    ok = Capture("message_chart_range", [&] {
      warn(ChartAddressRefusedMessage(L"VB0-QW2", ListChartAddressExamples(3)));
    }) && ok;
    ok = Capture("message_chart_value_offline", [&] {
      warn(ChartValueRefusedMessage(ChartValueRefusal::Offline, L"12", L"VW4", L""));
    }) && ok;
    ok = Capture("message_chart_value_no_address", [&] {
      warn(ChartValueRefusedMessage(ChartValueRefusal::NoAddress, L"12", L"", L""));
    }) && ok;
    ok = Capture("message_chart_value_type", [&] {
      warn(ChartValueRefusedMessage(ChartValueRefusal::NotOfType, L"abc", L"VW4", L"INT"));
    }) && ok;
    ok = Capture("message_chart_force_offline", [&] {
      warn(ChartValueRefusedMessage(ChartValueRefusal::ForceOffline, L"", L"I0.0", L""));
    }) && ok;
    ok = Capture("message_unit_name", [&] { warn(BlockNameRefusedMessage(L"9 lives", L"SBR0")); }) && ok;
    ok = Capture("message_unit_address", [&] { warn(BlockAddressTakenMessage(L"SBR1")); }) && ok;

    // Help without a browser: the box names the file to open.
    app.UseUrlOpener([](const QUrl&) { return false; });
    ok = Capture("message_help_not_shown", [&] { Pick(frame, CmdHelpFile); }) && ok;

    // Write File: the output pane names the file written in the current folder.
    const QString folder = QDir::currentPath();
    QDir::setCurrent(scratch.path());
    Pick(frame, CmdFileWriteFlash);
    QDir::setCurrent(folder);
    Settle();
    ok = Save(frame->grab(), "write_file") && ok;

    // A download of a program that does not compile: the output pane comes to the front with
    // the report. The status chart is put in front first, as it is at start.
    frame->StatusChartPane()->raise();
    AddRungWithoutOutput(app.Environment());
    try {
      CompileProjectImage(true);
    } catch (const ExceptionError&) {
    }
    Settle();
    ok = Save(frame->grab(), "download_compile_failed") && ok;

    // The sample rungs are not to be saved.
    app.Environment().Modified = false;
    frame->close();
    app.ExitInstance();
    return ok;
  }

  // Every picture of the resources at 16, 24 and 48 pixels, one row each, with its name.
  bool RenderIconSheet() {
    suffix_.clear();
    const QStringList names = QDir(QStringLiteral(":/orvisto/icons")).entryList({QStringLiteral("*.svg")});
    const int rowHeight = 52;
    QPixmap sheet(420, rowHeight * static_cast<int>(names.size()) + 8);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    int y = 4;
    for (const QString& file : names) {
      const QString name = file.chopped(4);
      const QIcon icon = NamedIcon(name);
      painter.drawPixmap(8, y + 16, icon.pixmap(16, 16));
      painter.drawPixmap(32, y + 12, icon.pixmap(24, 24));
      painter.drawPixmap(64, y, icon.pixmap(48, 48));
      painter.drawPixmap(120, y + 16, icon.pixmap(QSize(16, 16), QIcon::Disabled));
      painter.drawText(QRect(150, y, 260, 48), Qt::AlignVCenter, name);
      y += rowHeight;
    }
    painter.end();
    return Save(sheet, "icons");
  }

 private:
  bool Fail(const std::string& what) {
    std::fprintf(stderr, "render_windows: %s\n", what.c_str());
    return false;
  }

  bool Save(const QPixmap& picture, const char* name) {
    const QString path = output_.filePath(QString::fromLatin1(name) + suffix_ + QStringLiteral(".png"));
    if (picture.isNull() || !picture.save(path, "PNG")) return Fail("cannot write " + path.toStdString());
    std::printf("%s (%dx%d)\n", qPrintable(path), picture.width(), picture.height());
    return true;
  }

  static void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
  }

  static void Pick(CMainFrame* frame, int offset) {
    frame->UpdateCommandStates();
    if (QAction* action = frame->Command(offset); action != nullptr && action->isEnabled()) action->trigger();
    Settle();
  }

  static QPixmap PictureOf(QWidget* modal) { return modal->grab(); }

  // The communication dialog with its port list dropped down over it.
  static QPixmap PictureWithPortList(QWidget* modal) {
    auto* dialog = qobject_cast<CMainCommunicationDlg*>(modal);
    if (dialog == nullptr) return modal->grab();
    QComboBox* ports = dialog->PortList();
    ports->showPopup();
    Settle();
    QWidget* popup = ports->view()->window();
    const QPoint origin = dialog->mapToGlobal(QPoint(0, 0));
    const QRect popupRect(popup->mapToGlobal(QPoint(0, 0)) - origin, popup->size());
    const QRect whole = QRect(QPoint(0, 0), dialog->size()).united(popupRect);
    QPixmap picture(whole.size());
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawPixmap(-whole.topLeft(), dialog->grab());
    painter.drawPixmap(popupRect.topLeft() - whole.topLeft(), popup->grab());
    painter.end();
    ports->hidePopup();
    return picture;
  }

  // Runs `open`, which shows a modal dialog, pictures the dialog once it is up and cancels it.
  bool Capture(const char* name, const std::function<void()>& open,
               const std::function<QPixmap(QWidget*)>& picture = PictureOf) {
    bool saved = false;
    bool found = false;
    QWidget* seen = nullptr;
    QElapsedTimer waited;
    waited.start();
    QTimer poll;
    poll.setInterval(30);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      // Pictured on the second look, once its layout has run.
      if (modal == nullptr || modal != seen) {
        seen = modal;
        if (waited.elapsed() > 5000) poll.stop();
        return;
      }
      poll.stop();
      found = true;
      saved = Save(picture(modal), name);
      if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
      } else {
        modal->close();
      }
    });
    poll.start();
    open();
    poll.stop();
    if (!found) return Fail(std::string("no dialog came up for ") + name);
    return saved;
  }

  static CProgramEditorMainView* ActiveProgramView(CMainFrame* frame) {
    CProgramEditorFrm* editor = frame->ProgramEditor();
    return editor != nullptr ? editor->MainPane()->ActiveView() : nullptr;
  }

  // Four rungs written as statement list on the main page; the LAD command converts them.
  static void ShowSampleProgram(AppEnvironment& env) {
    auto line = [](const wchar_t* mnemonic, std::vector<std::wstring> operands) {
      StlLine l;
      l.Mnemonic = mnemonic;
      l.Operands = std::move(operands);
      return l;
    };
    auto network = [](std::vector<StlLine> lines, std::wstring comment) {
      Network n;
      n.Kind = kNetworkStl;
      n.Lines = std::move(lines);
      if (!comment.empty()) n.Comments = {std::move(comment)};
      return n;
    };
    ProgramBlock& program = env.ProjectList.back().Program;
    ProgramPage& page = program.GetProgramPage(0);
    page.UndoLog.Networks = {
        network({line(L"LD", {L"I0.0"}), line(L"O", {L"Q0.0"}), line(L"AN", {L"I0.1"}), line(L"=", {L"Q0.0"})},
                L"Motor on while the start button is held, off with the stop button / 启动电机"),
        network({line(L"NEXT", {})}, L"End of the loop / 循环结束"),
        network({line(L"LD", {L"I0.2"}), line(L"A", {L"M0.0"}), line(L"S", {L"Q0.1", L"1"})}, L""),
        network({line(L"LD", {L"I0.3"}), line(L"R", {L"Q0.1", L"1"})}, L"Reset / 复位"),
    };
    page.ViewState.ViewMode = kViewModeStl;
    program.ViewMode = kViewModeStl;
  }

  // A fourth rung with a contact and nothing to drive, which the compiler refuses.
  static void AddRungWithoutOutput(AppEnvironment& env) {
    LadElement contact;
    contact.InCell = true;
    contact.Kind = kLadKindCont;
    contact.Name = L" ";
    contact.PowerIn = {{0, L"IN"}};
    contact.PowerOut = {{0, L"OUT"}};
    contact.OperandIn = {{0, L"bit", L"I0.4"}};
    Network n;
    n.Kind = kNetworkLad;
    n.Grid.Elements = {contact};
    UpdateLadderExtent(n.Grid);
    env.ProjectList.back().Program.GetProgramPage(0).UndoLog.Networks.push_back(n);
  }

  // An instruction of the type's ladder catalog that comes in several widths, so that the
  // reference dialog shows its width choice.
  static std::wstring SampleInstructionName(AppEnvironment& env) {
    const InstructionLibrary& library = env.ProjectList.back().Instructions;
    std::wstring first;
    for (const LadInstructionGroup& group : library.LadInstructionCatalog) {
      for (const LadInstructionItem& item : group.Items) {
        if (item.Variants.empty()) continue;
        const std::wstring& name = library.FunLadList[item.Variants.front().Definition].Name;
        if (first.empty()) first = name;
        if (item.Variants.size() > 1) return name;
      }
    }
    return first;
  }

  QDir output_;
  fs::path program_;
  QString suffix_;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QString program = QString::fromUtf8(ORVISTO_PROGRAM_DIR);
  QString output;
  const QStringList args = QApplication::arguments();
  for (int i = 1; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--program") && i + 1 < args.size()) {
      program = args[++i];
    } else if (output.isEmpty() && !args[i].startsWith(QLatin1Char('-'))) {
      output = args[i];
    } else {
      return Usage();
    }
  }
  if (output.isEmpty()) return Usage();
  QDir folder(output);
  if (!folder.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "render_windows: cannot create %s\n", qPrintable(output));
    return 1;
  }
  Renderer renderer(folder, fs::path(program.toStdString()));
  bool ok = true;
  for (int language : {1, 2}) ok = renderer.RenderLanguage(language) && ok;
  ok = renderer.RenderIconSheet() && ok;
  return ok ? 0 : 1;
}
