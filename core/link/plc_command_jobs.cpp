#include "core/link/plc_command_jobs.h"

#include <string>

#include "core/link/app_environment.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/link/comm_state.h"
#include "core/link/link_request.h"
#include "core/link/monitor_ui.h"
#include "core/link/monitor_write_jobs.h"

namespace Brenno {

namespace {

// A result of a job: an information box owned by the main window.
void ShowResult(const std::wstring& text) { MonitorMessageBoxOk(text, kIconInformation); }

void SetStep(LinkTask& task, const wchar_t* englishTitle, const wchar_t* chineseTitle, int start, int end) {
  task.Title = PickText(englishTitle, chineseTitle);
  task.StartPercent = start;
  task.EndPercent = end;
  task.FrameIndex = -1;
  task.FrameCount = -1;
}

}  // namespace

int ForceScanThreadProc(AppEnvironment& env, uint8_t scans) {
  return RunLinkJob(env, L"Force Scan", L"强制扫描",
                    [&](AppEnvironment& e, LinkTask& task) { CmdForceScan(e, task, e.Link, scans); });
}

int ForceResetThreadProc(AppEnvironment& env) {
  return RunLinkJob(env, L"Force Reset", L"强制复位",
                    [&](AppEnvironment& e, LinkTask& task) { CmdForceReset(e, task, e.Link); });
}

int ClearPlcThreadProc(AppEnvironment& env) {
  return RunLinkJob(env, L"Clear PLC", L"清除PLC", [&](AppEnvironment& e, LinkTask& task) {
    SetStep(task, L"Clear PLC", L"清除PLC", 0, 50);
    CmdClearPlc(e, task, e.Link);
    SetStep(task, L"Force Reset", L"强制复位", 50, 100);
    CmdForceReset(e, task, e.Link);
  });
}

int GetPlcInformationThreadProc(AppEnvironment& env) {
  return RunLinkJob(env, L"Get PLC Information", L"获取PLC信息", [&](AppEnvironment& e, LinkTask& task) {
    ShowResult(CmdGetPlcInformation(e, task, e.Link));
  });
}

int ReadPlcClockThreadProc(AppEnvironment& env) {
  return RunLinkJob(env, L"Read PLC's Date and Time", L"读PLC日期时间", [&](AppEnvironment& e, LinkTask& task) {
    ShowResult(PlcClockText(CmdReadClock(e, task, e.Link)));
  });
}

int WritePlcClockThreadProc(AppEnvironment& env) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return WritePlcClockThreadProc(env, local);
}

int WritePlcClockThreadProc(AppEnvironment& env, const std::tm& localTime) {
  return RunLinkJob(env, L"Write PLC's Date and Time", L"写PLC日期时间", [&](AppEnvironment& e, LinkTask& task) {
    PlcClock clock;
    // The clock keeps the year as year - 2000 in one byte; a year it cannot hold would be set
    // to a wrong date, so it is refused before anything is sent.
    if (!MakePlcClock(localTime, clock)) throw ExceptionExchSendDataError();
    CmdWriteClock(e, task, e.Link, clock);
    ShowResult(PlcClockText(clock));
  });
}

int ForceDebugScanThreadProc(AppEnvironment& env, uint8_t step) {
  return RunLinkJob(env, L"Force Debug Scan", L"强制调试扫描",
                    [&](AppEnvironment& e, LinkTask& task) { CmdForceDebugScan(e, task, e.Link, step); });
}

int ForceDebugResetThreadProc(AppEnvironment& env) {
  return RunLinkJob(env, L"Force Debug Reset", L"强制调试复位",
                    [&](AppEnvironment& e, LinkTask& task) { CmdForceDebugReset(e, task, e.Link); });
}

int WriteStatusThreadProc(AppEnvironment& env, uint8_t status) {
  return RunLinkJob(env, L"Write Status", L"写状态",
                    [&](AppEnvironment& e, LinkTask& task) { CmdWriteStatus(e, task, e.Link, status); });
}

int WriteDebugStatusThreadProc(AppEnvironment& env, uint8_t status) {
  return RunLinkJob(env, L"Write Debug Status", L"写调试状态",
                    [&](AppEnvironment& e, LinkTask& task) { CmdWriteDebugStatus(e, task, e.Link, status); });
}

std::wstring PlcClockText(const PlcClock& clock) {
  std::wstring text;
  text += PickText(L"Date", L"日期");
  text += L" : " + std::to_wstring(clock.Year) + L"-" + std::to_wstring(clock.Month) + L"-" +
          std::to_wstring(clock.Day) + L"\r\n";
  text += PickText(L"Weekday", L"星期");
  text += L" : " + std::to_wstring(clock.Weekday) + L"\r\n";
  text += PickText(L"Time", L"时间");
  text += L" : " + std::to_wstring(clock.Hour) + L":" + std::to_wstring(clock.Minute) + L":" +
          std::to_wstring(clock.Second) + L"\r\n";
  return text;
}

namespace {

bool StartStatusJob(AppEnvironment& env, int (*job)(AppEnvironment&, uint8_t), uint8_t status) {
  if (!IsOnline(env)) return false;
  StartLinkJobThread([&env, job, status] { job(env, status); });
  return true;
}

}  // namespace

bool StartPlcRun(AppEnvironment& env) { return StartStatusJob(env, &WriteStatusThreadProc, 1); }
bool StartPlcStop(AppEnvironment& env) { return StartStatusJob(env, &WriteStatusThreadProc, 0); }
bool StartDebugRun(AppEnvironment& env) { return StartStatusJob(env, &WriteDebugStatusThreadProc, 1); }
bool StartDebugStop(AppEnvironment& env) { return StartStatusJob(env, &WriteDebugStatusThreadProc, 0); }

}  // namespace Brenno
