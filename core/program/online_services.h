// What the program model and the status chart ask of the PLC link: the current project's online
// values judged by the communication state and the age limits of the configuration, and the
// writes they start (the break point, forced and plain variables). The link installs its
// implementation at start-up (InstallLinkOnlineServices, core/link/online_access.h); without
// one everything reads as offline and no write starts.
#pragma once

#include <cstdint>
#include <string>

#include "core/program/online_cache.h"

namespace Brenno {

class OnlineServices {
 public:
  virtual ~OnlineServices() = default;

  // A snapshot of the current project's cache: online or not by the communication state, with
  // the configured age limits and the project's memory map and instruction set. Without a
  // project: an offline snapshot of nothing.
  virtual OnlineCacheSnapshot TakeCurrentSnapshot() const = 0;
  // Writes the request ticks of the snapshot back into the current project's cache.
  virtual void StampCurrentRequests(const OnlineCacheSnapshot& snapshot) const = 0;

  // Writes to the PLC through the write jobs, each only while online and with the current
  // project's memory map; each returns true when it started a job.
  // - WriteDebugBreakPoint: the break point of the debug record;
  // - WriteForcedVariable: a forceable operand of slots 0 to 3; the job gets {operand word,
  //   force flag} with the flag 0 for state 2 (release) and 1 otherwise;
  // - WriteVariable: a plain variable whose bytes lie inside the value image and whose text
  //   parses for the type without an index register, or any other operand kind with the text
  //   parsed for the type (an index register suffix dropped); the job gets {operand word, value}.
  virtual void WriteDebugBreakPoint(const DebugRecord& record) const = 0;
  virtual bool WriteForcedVariable(OnlineCache& cache, const OperandFields& operand, uint8_t state) const = 0;
  virtual bool WriteVariable(OnlineCache& cache, const OperandFields& operand, const std::wstring& text,
                             int dataType) const = 0;
};

// Installs the services (null removes them). Not owned.
void InstallOnlineServices(const OnlineServices* services);
const OnlineServices* InstalledOnlineServices();

// Through the installed services; without them an offline snapshot, nothing stamped, no write.
OnlineCacheSnapshot TakeCurrentOnlineSnapshot();
void StampCurrentOnlineRequests(const OnlineCacheSnapshot& snapshot);
void WriteDebugBreakPoint(const DebugRecord& record);
bool WriteForcedVariable(OnlineCache& cache, const OperandFields& operand, uint8_t state);
bool WriteVariable(OnlineCache& cache, const OperandFields& operand, const std::wstring& text, int dataType);

}  // namespace Brenno
