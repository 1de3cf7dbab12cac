#include "core/link/download_job.h"

#include <algorithm>
#include <vector>

#include "core/compiler/binary_image.h"
#include "core/compiler/image_stamp_compiler.h"
#include "core/link/image_stamp_pages.h"
#include "core/link/app_environment.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/link/comm_state.h"
#include "core/link/link_commands.h"
#include "core/link/link_request.h"
#include "core/link/monitor_ui.h"
#include "core/link/online_monitor.h"

namespace Brenno {

void SetTaskStep(LinkTask& task, const wchar_t* englishTitle, const wchar_t* chineseTitle, int startPercent,
                 int endPercent) {
  task.Title = PickText(englishTitle, chineseTitle);
  task.StartPercent = startPercent;
  task.EndPercent = endPercent;
}

std::array<int, 2> PageStepPercents(int base, int width, int i, int n) {
  if (n <= 0) return {base, base};
  const int start = base + (width * i) / n;
  return {start, start + width / n};
}

namespace {

void SetPageStep(LinkTask& task, const wchar_t* englishTitle, const wchar_t* chineseTitle, int base, int width,
                 int i, int n) {
  const std::array<int, 2> range = PageStepPercents(base, width, i, n);
  SetTaskStep(task, englishTitle, chineseTitle, range[0], range[1]);
}

// Steps 4 to 6 of the download: compile, then the transfer table. The task and the image are
// released when this returns or throws.
void RunDownloadTransfer(AppEnvironment& env) {
  LinkTask task(true);
  BinaryImage image = CompileProjectImage(true);
  // The stamps go with the very image that is sent, so the monitor's check of them holds even
  // when the environment's stamps were computed from something else.
  std::array<std::vector<uint8_t>, 3> imageBytes;
  FillImageBytes(ImagePagesOf(image), imageBytes);
  const std::array<uint8_t, 6> stamps = ComputeStampBytes(imageBytes);
  LinkSettings& settings = env.Link;

  SetTaskStep(task, L"Attach PLC", L"连线PLC", 0, 5);
  CmdAttachPlc(env, task, settings);

  SetTaskStep(task, L"Read Status", L"读状态", 10, 15);
  const uint8_t runState = CmdReadStatus(env, task, settings);
  if (runState & 0x01) {
    const int answer = MonitorMessageBoxYesNo(PickText(L"PLC is running, stop it?", L"PLC正在运行,停止PLC?"),
                                              kIconQuestion);
    if (answer == kAnswerYes) {
      SetTaskStep(task, L"Write Status", L"写状态", 15, 15);
      CmdWriteStatus(env, task, settings, 0);
    } else {
      SetTaskStep(task, L"Detach PLC", L"离线PLC", 15, 15);
      CmdDetachPlc(env, task, settings);
      throw ExceptionInitUserCancelError();
    }
  }

  SetTaskStep(task, L"Clear PLC", L"清除PLC", 17, 20);
  CmdClearPlc(env, task, settings);

  {
    const int n = static_cast<int>(image.DataPages.size());
    int i = 0;
    for (const auto& [key, words] : image.DataPages) {
      SetPageStep(task, L"Write Data Page", L"写数据页", 20, 15, i++, n);
      CmdWriteDataBlock(env, task, settings, static_cast<uint32_t>(key), words);
    }
  }

  SetTaskStep(task, L"Ask System Block", L"查询系统块", 35, 40);
  const std::vector<uint32_t> listed = CmdListSystemPages(env, task, settings);
  std::vector<uint8_t>& firstPage = image.SystemPages[1];
  firstPage.insert(firstPage.end(), stamps.begin(), stamps.end());
  {
    const int n = static_cast<int>(image.SystemPages.size());
    int i = 0;
    for (const auto& [key, bytes] : image.SystemPages) {
      const int position = i++;
      if (std::find(listed.begin(), listed.end(), static_cast<uint32_t>(key)) == listed.end()) continue;
      SetPageStep(task, L"Write System Page", L"写系统页", 40, 10, position, n);
      CmdWriteSystemPage(env, task, settings, static_cast<uint32_t>(key), bytes);
    }
  }

  SetTaskStep(task, L"Write Program Constant", L"写程序常数", 50, 55);
  CmdWriteProgramConstants(env, task, settings, image.ProgramConsts);

  {
    const int n = static_cast<int>(image.ProgramArguments.size());
    int i = 0;
    for (const auto& [key, words] : image.ProgramArguments) {
      SetPageStep(task, L"Write Program Argument", L"写程序参数", 55, 15, i++, n);
      CmdWriteProgramArguments(env, task, settings, static_cast<uint32_t>(key), words);
    }
  }
  {
    const int n = static_cast<int>(image.ProgramInstructions.size());
    int i = 0;
    for (const auto& [key, words] : image.ProgramInstructions) {
      SetPageStep(task, L"Write Program Instruction", L"写程序指令", 70, 15, i++, n);
      CmdWriteProgramInstructions(env, task, settings, static_cast<uint32_t>(key), words);
    }
  }

  // The password table has no title of its own.
  SetTaskStep(task, L"Detach PLC", L"离线PLC", 85, 90);
  const std::vector<uint8_t> passwords(env.PasswordTable1.begin(), env.PasswordTable1.end());
  bool saved = false;
  try {
    saved = CmdWritePassword(env, task, settings, passwords);
  } catch (const ExceptionError&) {
    saved = false;
  }
  if (!saved) MonitorMessageBoxOk(kPasswordNotSavedText, kIconStop);

  SetTaskStep(task, L"Detach PLC", L"离线PLC", 90, 95);
  CmdDetachPlc(env, task, settings);

  SetTaskStep(task, L"Force Reset", L"强制复位", 95, 100);
  CmdForceReset(env, task, settings);
}

}  // namespace

int DownloadThreadProc(AppEnvironment& env) {
  try {
    EnterCommand(env);
  } catch (const ExceptionSwitchError& error) {
    MonitorMessageBoxOk(error.Message(), kIconStop);
    return 0;
  }
  MonitorNotify(kNotifyCommChanged, 0);
  try {
    // A project that does not compile shows its error here and fails the same way below.
    ComputeImageStamps(env);
    MonitorStatusText(kStatusTextDownloading, kStatusTextOnline);
    RunDownloadTransfer(env);
  } catch (const ExceptionError& error) {
    MonitorShowError(error.Message());
  } catch (const std::exception&) {
    // Nothing to show; the command state is still left below.
  }
  try {
    LeaveCommand(env);
  } catch (const ExceptionSwitchError& error) {
    MonitorMessageBoxOk(error.Message(), kIconStop);
  }
  MonitorNotify(kNotifyCommChanged, 0);
  MonitorStatusText(kStatusTextDisconnected, kStatusTextOffline);
  return 0;
}

}  // namespace Brenno
