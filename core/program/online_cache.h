// The PLC values that the online monitor reads, held in the project, and the reads that the
// program painters, the debug markers and the status chart make of it.
//
// The monitor thread writes the cache while the UI thread paints from it. All data sit behind
// one mutex: a writer changes them only inside OnlineCache::Update, and a reader copies them
// whole into an OnlineCacheSnapshot (OnlineCache::TakeSnapshot) and reads the copy. A paint
// therefore sees every value either before or after one complete update of the monitor, never
// a value half-way through being written, and all values of one paint belong together.
//
// A reader that runs with the request flag set records what it read in its snapshot;
// OnlineCache::StampRequests writes those request ticks back afterwards, so the monitor keeps
// polling what the windows show.
//
// The PLC link fills the cache (its monitor) and judges it by the communication state; what
// the program and the status chart ask of it goes through core/program/online_services.h.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "core/env/operand_word.h"

namespace Brenno {

struct FunStlRecord;
struct FunLadRecord;
struct MemoryAreaManager;

// The communication states in which the monitor's port is open (online, a job waiting for
// the port, a job using it, a job handing it back).
constexpr int kCommOffline = 0;
constexpr int kCommOnline = 3;
constexpr int kCommCommandRequested = 5;
constexpr int kCommCommandInOnline = 8;
constexpr int kCommReturningOnline = 9;
bool IsOnlineCommState(int state);

// The 48-byte debug record of the PLC. The program model uses the first six ints: break-point
// page key, network (1-based, 0 = before the first network), step (0-based), current-step page
// key, network, step. Words 10 and 11 carry the record's request and update ticks.
struct DebugRecord {
  std::array<int32_t, 12> Words{};

  int BreakPage() const { return Words[0]; }
  int BreakNetwork() const { return Words[1]; }
  int BreakStep() const { return Words[2]; }
  int StepPage() const { return Words[3]; }
  int StepNetwork() const { return Words[4]; }
  int StepStep() const { return Words[5]; }
  uint32_t RequestTick() const { return static_cast<uint32_t>(Words[10]); }
  uint32_t UpdateTick() const { return static_cast<uint32_t>(Words[11]); }
  void SetRequestTick(uint32_t tick) { Words[10] = static_cast<int32_t>(tick); }
  void SetUpdateTick(uint32_t tick) { Words[11] = static_cast<int32_t>(tick); }

  friend bool operator==(const DebugRecord&, const DebugRecord&) = default;
};

// One byte of PLC memory (or eight force flags) with its two ticks.
struct ImageCell {
  uint8_t Value = 0;
  uint32_t RequestTick = 0;
  uint32_t UpdateTick = 0;
  friend bool operator==(const ImageCell&, const ImageCell&) = default;
};

// The value of an operand that is not a plain memory variable.
struct RequestedVariable {
  static constexpr uint32_t kFree = 0xFFFFFFFFu;
  uint32_t Word = kFree;
  int32_t Value = 0;
  uint32_t RequestTick = 0;
  uint32_t UpdateTick = 0;
  friend bool operator==(const RequestedVariable&, const RequestedVariable&) = default;
};

// Everything the cache holds. Plain values: copying it copies all.
struct OnlineCacheData {
  static constexpr size_t kRequestedVariableCount = 512;

  bool StopRequest = false;
  // Set by a window around a series of reads; every read made then stamps a request tick.
  bool RequestFlag = false;
  uint8_t RunState = 0;
  uint32_t RunRequestTick = 0;
  uint32_t RunUpdateTick = 0;
  uint8_t DebugState = 0;
  uint32_t DebugRequestTick = 0;
  uint32_t DebugUpdateTick = 0;
  DebugRecord Debug;  // with its request and update tick in words 10 and 11
  // Indexed by memory-area slot: force flags and values, one cell per byte.
  std::vector<std::vector<ImageCell>> ForceImages;
  std::vector<std::vector<ImageCell>> ValueImages;
  std::vector<RequestedVariable> RequestedVariables;

  friend bool operator==(const OnlineCacheData&, const OnlineCacheData&) = default;
};

// A consistent copy of the cache with what the readers need to judge it: whether the port was
// online when it was taken, the tick of that moment, the age limit of fresh values and the
// project's memory map and instruction set. Readers note in it what they read while the
// request flag was set.
struct OnlineCacheSnapshot {
  OnlineCacheData Data;
  bool Online = false;
  uint32_t Now = 0;
  uint32_t MaxAge = 4000;       // LinkTimeUpdateError: a value older than this is stale
  uint32_t RequestLimit = 2000; // LinkTimeUpdateMark: request entries older than 4 x this are free
  const MemoryAreaManager* MemoryMap = nullptr;  // formats the value texts; null: no values
  int InstructionFxMode = 0;    // the instruction set the power flow is judged by

  // Cells (slot, byte) and operand words read while the request flag was set.
  struct WantedCell {
    int Slot = 0;
    int Byte = 0;
  };
  std::vector<WantedCell> WantedCells;       // cells of the value images
  std::vector<WantedCell> WantedForceCells;  // cells of the force images
  std::vector<uint32_t> WantedWords;
  bool DebugRecordWanted = false;
  bool RunStateWanted = false;
  bool DebugStateWanted = false;

  // An update tick of 0 means "never stored" (the monitor never stores 0, see StoredTick), so
  // a freshly rebuilt cache has no fresh value even while the tick counter is still small.
  bool IsFresh(uint32_t updateTick) const {
    return updateTick != 0 && static_cast<uint32_t>(Now - updateTick) < MaxAge;
  }
};

// The tick to store for "now": never 0, which marks a value never stored or never requested.
inline uint32_t StoredTick(uint32_t now) { return now == 0 ? 1u : now; }

class OnlineCache {
 public:
  OnlineCache() = default;
  OnlineCache(const OnlineCache& other);
  OnlineCache& operator=(const OnlineCache& other);

  // Runs the change on the data under the lock: the writer's (monitor's) way in. Readers see
  // the data before or after the whole change.
  void Update(const std::function<void(OnlineCacheData&)>& change);
  // A copy of the data, taken under the lock.
  OnlineCacheData Data() const;

  // The window's request flag, set around a series of reads.
  void SetRequestFlag(bool set);
  // The stop request of the monitor's polling loop: set by the main frame, taken (tested and
  // cleared) by the loop.
  void SetStopRequest(bool set);
  bool StopRequested() const;
  bool TakeStopRequest();
  // Cell counts of a slot's force and value image (0 for a slot outside the images).
  size_t ForceImageSize(int slot) const;
  size_t ValueImageSize(int slot) const;

  // A copy of the data for one series of reads (one paint).
  OnlineCacheSnapshot TakeSnapshot(bool online, uint32_t now, uint32_t maxAge, uint32_t requestLimit,
                                   const MemoryAreaManager* memoryMap, int instructionFxMode) const;
  // Stores the snapshot's tick as the request tick of everything read from it with the
  // request flag set, and takes over free requested-variable entries for words not held yet.
  void StampRequests(const OnlineCacheSnapshot& snapshot);

  friend bool operator==(const OnlineCache& a, const OnlineCache& b) { return a.Data() == b.Data(); }

 private:
  mutable std::mutex mutex_;
  OnlineCacheData data_;
};

// Milliseconds of a steady clock, wrapping at 2^32 like the system tick counter.
uint32_t OnlineTickCount();

// Resets the cache for a memory map: flags, states, ticks and debug record zero; one force and
// one value image per slot, sized from the regions; 512 free requested-variable entries.
void RebuildOnlineCache(OnlineCache& cache, const MemoryAreaManager& memoryMap);
void DestroyOnlineCache(OnlineCache& cache);

// Copies the debug record (with its two ticks) and returns true only while online and while
// the record is fresh; else false and the record untouched.
bool ReadCachedDebugRecord(OnlineCacheSnapshot& snapshot, DebugRecord& record);

// The run state (bit 0 of the status byte: running) and the debug state: out 1 set, 2 clear,
// 255 unknown (offline, stale or never read). ReadCachedRunState returns true only when out was
// set from a fresh value. (The PLC link judges a cache by its communication state:
// core/link/online_access.h.)
bool ReadCachedRunState(OnlineCacheSnapshot& snapshot, uint8_t& out);
void ReadCachedDebugState(OnlineCacheSnapshot& snapshot, uint8_t& out);

// The force flag of a bit operand: out 1 forced, 2 not forced, 255 unknown (offline, stale, no
// force image, outside the image). Slots 0 and 1 keep a flag per bit of each byte; slots 2 and 3
// one flag per 4-byte element (element = byte / 4, cell element / 8, bit element % 8).
void ReadCachedBit(OnlineCacheSnapshot& snapshot, const OperandFields& operand, uint8_t& out);
// A plain variable of a slot whose force image has cells: a bit, or in slots 2 and 3 a double
// word at a multiple of 4.
bool IsForceableOperand(const OnlineCache& cache, const OperandFields& operand);

// The value of an operand as text in a data type. The text is emptied; not online: false.
// Online and a plain variable (kind value): the text becomes "Unknown" / "未知" until a value
// is found: the operand's bytes in the value image (one bit, 1 to 4 bytes little-endian, or
// 4 x (group + 1) bits for a digit-group operand), formatted by FormatConstantOperand; true.
// Other operand kinds are read through the requested-variable table (ReadRequestedValueText).
bool ReadCachedValueText(OnlineCacheSnapshot& snapshot, const OperandFields& operand, bool digitGroups,
                         int dataType, std::wstring& text);
bool ReadRequestedValueText(OnlineCacheSnapshot& snapshot, const OperandFields& operand, int dataType,
                            std::wstring& text);

// An operand's value as the power-flow evaluation takes it: {known, value}.
struct OperandValueFlag {
  int Known = 0;
  int Value = 0;
  friend bool operator==(const OperandValueFlag&, const OperandValueFlag&) = default;
};

// Power flow of a statement-list instruction or a ladder element from its operand values, by
// the instruction set of the snapshot: 1 on, 2 off, -1 unknown (not online, an operand without
// value, an instruction not evaluated).
int EvaluateStlPowerFlow(const OnlineCacheSnapshot& snapshot, const std::vector<OperandValueFlag>& operands,
                         const FunStlRecord& definition);
int EvaluateLadPowerFlow(const OnlineCacheSnapshot& snapshot, const FunLadRecord& definition,
                         const std::vector<OperandValueFlag>& operands);

}  // namespace Brenno
