#include "core/link/monitor_write_jobs.h"

#include <atomic>
#include <list>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "core/link/app_environment.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/link/comm_state.h"
#include "core/link/link_commands.h"
#include "core/link/link_request.h"
#include "core/link/monitor_ui.h"

namespace Brenno {

int RunLinkJob(AppEnvironment& env, const wchar_t* englishTitle, const wchar_t* chineseTitle,
               const std::function<void(AppEnvironment&, LinkTask&)>& work) {
  try {
    EnterCommand(env);
  } catch (const ExceptionSwitchError& error) {
    MonitorMessageBoxOk(error.Message(), kIconStop);
    return 0;
  }
  {
    LinkTask task(true, PickText(englishTitle, chineseTitle));
    task.StartPercent = 0;
    task.EndPercent = 100;
    try {
      work(env, task);
    } catch (const ExceptionError& error) {
      // The port lock stays with this job while the message is shown; the monitor waits for it
      // and the user-interface thread never does.
      MonitorShowError(error.Message());
    } catch (const std::exception&) {
      // Nothing to show; the command state is still left below.
    }
  }
  try {
    LeaveCommand(env);
  } catch (const ExceptionSwitchError& error) {
    MonitorMessageBoxOk(error.Message(), kIconStop);
  }
  return 0;
}

int WriteBreakPointThreadProc(AppEnvironment& env, DebugRecord record) {
  return RunLinkJob(env, L"Write Debug Break Point", L"写取调试信息", [&](AppEnvironment& e, LinkTask& task) {
    CmdWriteBreakPoint(e, task, e.Link, static_cast<uint32_t>(record.BreakPage()),
                       static_cast<uint32_t>(record.BreakNetwork()), static_cast<uint32_t>(record.BreakStep()));
  });
}

int WriteForcedVariableThreadProc(AppEnvironment& env, std::vector<uint32_t> words) {
  return RunLinkJob(env, L"Write Forced Variable", L"写强制变量", [&](AppEnvironment& e, LinkTask& task) {
    CmdWriteForcedVariables(e, task, e.Link, words);
  });
}

int WriteVariableThreadProc(AppEnvironment& env, std::vector<uint32_t> words) {
  return RunLinkJob(env, L"Write Variable", L"写变量", [&](AppEnvironment& e, LinkTask& task) {
    CmdWriteVariables(e, task, e.Link, words);
  });
}

namespace {

struct JobThread {
  std::thread Thread;
  std::shared_ptr<std::atomic<bool>> Done;
};

// The job threads started so far. At exit the threads still running are waited for: a
// std::thread destroyed while joinable would end the process.
struct JobThreadList : std::list<JobThread> {
  ~JobThreadList() {
    for (JobThread& job : *this) {
      if (job.Thread.joinable()) job.Thread.join();
    }
  }
};

std::mutex g_jobsMutex;
JobThreadList g_jobs;

}  // namespace

void StartLinkJobThread(std::function<void()> body) {
  std::list<JobThread> finished;
  {
    std::lock_guard<std::mutex> lock(g_jobsMutex);
    // Threads that have ended are joined here, so the list does not grow.
    for (auto it = g_jobs.begin(); it != g_jobs.end();) {
      auto next = std::next(it);
      if (it->Done->load()) finished.splice(finished.end(), g_jobs, it);
      it = next;
    }
    auto done = std::make_shared<std::atomic<bool>>(false);
    g_jobs.push_back(JobThread{std::thread([body = std::move(body), done] {
                                 body();
                                 done->store(true);
                               }),
                               done});
  }
  for (JobThread& job : finished) job.Thread.join();
}

void JoinLinkJobThreads() {
  for (;;) {
    std::list<JobThread> jobs;
    {
      std::lock_guard<std::mutex> lock(g_jobsMutex);
      jobs.swap(g_jobs);
    }
    if (jobs.empty()) return;
    for (JobThread& job : jobs) job.Thread.join();
  }
}

}  // namespace Brenno
