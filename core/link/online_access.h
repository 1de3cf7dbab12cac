// The online cache as the PLC link judges it: by the installed application environment's
// communication state and the age limits of its configuration, with the current project's
// memory map. The link serves the program model and the status chart through OnlineServices
// (core/program/online_services.h) and starts their writes as link jobs.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/program/online_cache.h"
#include "core/program/online_services.h"

namespace Brenno {

// Installs the link's OnlineServices (start-up and tests): snapshots of the current project's
// cache judged by the installed application environment, and writes as link jobs.
void InstallLinkOnlineServices();

// Copies the debug record (with its two ticks) and returns true only while online and while
// the record is fresh; else false and the record untouched.
bool ReadCachedDebugRecord(const OnlineCache& cache, DebugRecord& record);
// The run state and the debug state of a cache, judged as above; the request ticks are written
// back.
bool ReadCachedRunState(OnlineCache& cache, uint8_t& out);
void ReadCachedDebugState(OnlineCache& cache, uint8_t& out);

// Installs what a break-point write hands the record to; null restores the default, the job
// that writes the break point to the PLC (WriteBreakPointThreadProc on a job thread).
void SetDebugBreakPointWriter(std::function<void(const DebugRecord&)> writer);

// While an environment is installed: the text parsed for the type (an index register suffix is
// dropped) and written to the operand by a job; true when it started one.
bool WriteOperandValue(const OperandFields& operand, const std::wstring& text, int dataType);

}  // namespace Brenno
