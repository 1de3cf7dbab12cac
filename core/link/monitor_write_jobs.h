// The write jobs that the online cache starts for the windows: a break point, forced values and
// values. Each runs on a worker thread of its own: it enters the command state (borrowing the
// monitor's port while online), runs its one link command under a progress title, shows any
// error in a message box, and always leaves the command state again. A second job started while
// one runs is refused at once with "Enter Command State Error".
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/program/online_cache.h"

namespace Brenno {

class AppEnvironment;
class LinkTask;

// The common body of a job: EnterCommand (a refusal is shown and ends the job), a shown
// LinkTask with the title of the current language over 0 to 100, the work, its error shown when
// its message is not empty, the task closed, LeaveCommand (a failure is shown). Returns 0.
int RunLinkJob(AppEnvironment& env, const wchar_t* englishTitle, const wchar_t* chineseTitle,
               const std::function<void(AppEnvironment&, LinkTask&)>& work);

// "Write Debug Break Point": sends the break page key, network and step of the record.
int WriteBreakPointThreadProc(AppEnvironment& env, DebugRecord record);
// "Write Forced Variable": the words as pairs {operand word, force flag}.
int WriteForcedVariableThreadProc(AppEnvironment& env, std::vector<uint32_t> words);
// "Write Variable": the words as pairs {operand word, value}.
int WriteVariableThreadProc(AppEnvironment& env, std::vector<uint32_t> words);

// Runs a job body on a new worker thread. The threads are kept so that they can be joined.
void StartLinkJobThread(std::function<void()> body);
// Waits for every job thread started so far. Not on the user-interface thread while a job may
// still show a message (the job waits for that thread).
void JoinLinkJobThreads();

}  // namespace Brenno
