// The PLC values that the online monitor reads, held in the project, and the reads that the
// program painters and the debug markers make of it. This is the offline form of the cache:
// there is no monitor yet, so every read answers "not online" and the break-point write has no
// PLC to go to.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace Brenno {

struct FunStlRecord;
struct FunLadRecord;

class OnlineCache {
 public:
  bool operator==(const OnlineCache&) const = default;
};

// The 48-byte debug record of the PLC; the program model uses the first six ints: break-point
// page key, network (1-based, 0 = before the first network), step (0-based), current-step page
// key, network, step.
struct DebugRecord {
  std::array<int32_t, 12> Words{};

  int BreakPage() const { return Words[0]; }
  int BreakNetwork() const { return Words[1]; }
  int BreakStep() const { return Words[2]; }
  int StepPage() const { return Words[3]; }
  int StepNetwork() const { return Words[4]; }
  int StepStep() const { return Words[5]; }
};

// An operand's value as the painters ask for it: {known, value}.
struct OperandValueFlag {
  int Known = 0;
  int Value = 0;
};

// Copies the cached debug record; true only while online and while the record is fresh.
bool ReadCachedDebugRecord(const OnlineCache& cache, DebugRecord& record);
// When online, starts the job that writes the break point (first three ints) to the PLC.
void WriteDebugBreakPoint(const DebugRecord& record);
// The value text of an operand; false with an empty text outside the online states.
bool ReadCachedValueText(const OnlineCache& cache, const std::wstring& operand, bool fxDigitGroups, int dataType,
                         std::wstring& text);
// Power flow of a statement-list instruction or a ladder element: 1 on, 2 off, -1 unknown.
int EvaluateStlPowerFlow(const std::vector<OperandValueFlag>& operands, const FunStlRecord& definition);
int EvaluateLadPowerFlow(const FunLadRecord& definition, const std::vector<OperandValueFlag>& operands);

}  // namespace Brenno
