// The commands of the PLC link, one function per command code. Each builds its request data,
// runs it through RunLinkRequest (or a two-step read: a length request answered by a 16-bit
// big-endian length, then that many bytes read in frames), checks the size of the reply and
// decodes it. Word data travel as 32-bit words, least significant byte first; a reply's 1 to 3
// bytes beyond the last whole word are dropped. A reply of the wrong size throws
// ExceptionExchUnexpectedReceiveError with the task's Describe text; every error of the request
// layer passes through unchanged.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "core/link/link_settings.h"
#include "core/program/online_cache.h"

namespace Brenno {

class AppEnvironment;
class LinkTask;

enum LinkCommandCode : uint16_t {
  kCodeClearPlc = 0x0100,
  kCodeAttachPlc = 0x0110,
  kCodeDetachPlc = 0x0111,
  kCodeGetPlcInformation = 0x0121,
  kCodeListDataBlocks = 0x0210,
  kCodeReadDataBlockLength = 0x0220,
  kCodeReadDataBlockData = 0x0230,
  kCodeWriteDataBlock = 0x0240,
  kCodeListSystemPages = 0x0260,
  kCodeReadSystemPageLength = 0x0270,
  kCodeReadSystemPageData = 0x0280,
  kCodeWriteSystemPage = 0x0290,
  kCodeReadPasswordLength = 0x02A0,
  kCodeReadPasswordData = 0x02B0,
  kCodeWritePassword = 0x02C0,
  kCodeListProgramPages = 0x0300,
  kCodeReadConstantsLength = 0x0310,
  kCodeReadConstantsData = 0x0311,
  kCodeWriteConstants = 0x0312,
  kCodeReadArgumentsLength = 0x0400,
  kCodeReadArgumentsData = 0x0500,
  kCodeWriteArguments = 0x0600,
  kCodeReadInstructionsLength = 0x0700,
  kCodeReadInstructionsData = 0x0800,
  kCodeWriteInstructions = 0x0900,
  kCodeReadStatus = 0x0A00,
  kCodeWriteStatus = 0x0A01,
  kCodeForceScan = 0x0A02,
  kCodeForceReset = 0x0A03,
  kCodeReadVariables = 0x0A10,
  kCodeWriteVariables = 0x0A11,
  kCodeReadForcedVariables = 0x0A20,
  kCodeWriteForcedVariables = 0x0A21,
  kCodeReadDebugStatus = 0x0A30,
  kCodeWriteDebugStatus = 0x0A31,
  kCodeForceDebugScan = 0x0A32,
  kCodeForceDebugReset = 0x0A33,
  kCodeReadBreakPoint = 0x0A34,
  kCodeWriteBreakPoint = 0x0A35,
  kCodeReadClock = 0x0A40,
  kCodeWriteClock = 0x0A41,
};

// The PLC clock on the link: seven binary bytes.
struct PlcClock {
  uint8_t Second = 0;
  uint8_t Minute = 0;
  uint8_t Hour = 0;
  uint8_t Day = 0;      // day of the month
  uint8_t Weekday = 0;  // 0 Sunday
  uint8_t Month = 0;
  uint8_t Year = 0;     // year - 2000

  std::array<uint8_t, 7> ToBytes() const;
  static PlcClock FromBytes(const std::array<uint8_t, 7>& bytes);
  friend bool operator==(const PlcClock&, const PlcClock&) = default;
};
// The clock of a local time; false for a year outside 2000..2255, which the clock cannot hold.
bool MakePlcClock(const std::tm& time, PlcClock& clock);

// Program page keys: 0 main, i interrupt i, 0x10000 + i subroutine i. On the wire a key is
// folded into the page number in bits 0-6 and bit 7 for subroutines.
uint16_t FoldProgramPageKey(uint32_t key);
uint32_t UnfoldProgramPageKey(uint8_t folded);

// Little-endian 32-bit words and their bytes.
std::vector<uint8_t> WordsToBytes(const std::vector<uint32_t>& words);
std::vector<uint32_t> BytesToWords(const std::vector<uint8_t>& bytes);

void CmdClearPlc(AppEnvironment& env, LinkTask& task, LinkSettings& settings);
// Attaches with the empty password; when the PLC refuses, asks the user for the password once
// (ExceptionExchUserCancelError when cancelled) and tries once more with it.
void CmdAttachPlc(AppEnvironment& env, LinkTask& task, LinkSettings& settings);
void CmdDetachPlc(AppEnvironment& env, LinkTask& task, LinkSettings& settings);
// The 64-byte information text (up to its first NUL, byte 63 taken as NUL).
std::wstring CmdGetPlcInformation(AppEnvironment& env, LinkTask& task, LinkSettings& settings);

std::vector<uint32_t> CmdListDataBlocks(AppEnvironment& env, LinkTask& task, LinkSettings& settings);
std::vector<uint32_t> CmdReadDataBlock(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint32_t blockKey);
void CmdWriteDataBlock(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint32_t blockKey,
                       const std::vector<uint32_t>& words);

std::vector<uint32_t> CmdListSystemPages(AppEnvironment& env, LinkTask& task, LinkSettings& settings);
std::vector<uint8_t> CmdReadSystemPage(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint32_t pageKey);
void CmdWriteSystemPage(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint32_t pageKey,
                        const std::vector<uint8_t>& bytes);

// The unit password table. False, `bytes` unchanged, for a malformed reply; true when at least
// 128 bytes were read. Link errors still throw.
bool CmdReadPassword(AppEnvironment& env, LinkTask& task, LinkSettings& settings, std::vector<uint8_t>& bytes);
// True when the PLC answered with an empty reply.
bool CmdWritePassword(AppEnvironment& env, LinkTask& task, LinkSettings& settings, const std::vector<uint8_t>& bytes);

std::vector<uint32_t> CmdListProgramPages(AppEnvironment& env, LinkTask& task, LinkSettings& settings);
std::vector<uint32_t> CmdReadProgramConstants(AppEnvironment& env, LinkTask& task, LinkSettings& settings);
void CmdWriteProgramConstants(AppEnvironment& env, LinkTask& task, LinkSettings& settings,
                              const std::vector<uint32_t>& words);
std::vector<uint32_t> CmdReadProgramArguments(AppEnvironment& env, LinkTask& task, LinkSettings& settings,
                                              uint32_t pageKey);
void CmdWriteProgramArguments(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint32_t pageKey,
                              const std::vector<uint32_t>& words);
std::vector<uint32_t> CmdReadProgramInstructions(AppEnvironment& env, LinkTask& task, LinkSettings& settings,
                                                 uint32_t pageKey);
void CmdWriteProgramInstructions(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint32_t pageKey,
                                 const std::vector<uint32_t>& words);

// The run state byte (bit 0: running).
uint8_t CmdReadStatus(AppEnvironment& env, LinkTask& task, LinkSettings& settings);
void CmdWriteStatus(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint8_t status);
void CmdForceScan(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint8_t scans);
void CmdForceReset(AppEnvironment& env, LinkTask& task, LinkSettings& settings);

// The request words are replaced by the reply's words (the reply must be as long as the request).
void CmdReadVariables(AppEnvironment& env, LinkTask& task, LinkSettings& settings, std::vector<uint32_t>& words);
void CmdWriteVariables(AppEnvironment& env, LinkTask& task, LinkSettings& settings,
                       const std::vector<uint32_t>& words);
void CmdReadForcedVariables(AppEnvironment& env, LinkTask& task, LinkSettings& settings,
                            std::vector<uint32_t>& words);
void CmdWriteForcedVariables(AppEnvironment& env, LinkTask& task, LinkSettings& settings,
                             const std::vector<uint32_t>& words);

// The debug state byte (bit 0: the program runs in debug mode).
uint8_t CmdReadDebugStatus(AppEnvironment& env, LinkTask& task, LinkSettings& settings);
void CmdWriteDebugStatus(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint8_t status);
// 1 step in, 2 step over, 3 step out.
void CmdForceDebugScan(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint8_t step);
void CmdForceDebugReset(AppEnvironment& env, LinkTask& task, LinkSettings& settings);
// The 16-byte break-point reply decoded into words 0 to 9 of the record: break page key, network
// and step, current page key, network and step, stack data, stack helper, stack pointer, error
// code. Words 10 and 11 stay 0.
DebugRecord CmdReadBreakPoint(AppEnvironment& env, LinkTask& task, LinkSettings& settings);
void CmdWriteBreakPoint(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint32_t breakPageKey,
                        uint32_t network, uint32_t step);
PlcClock CmdReadClock(AppEnvironment& env, LinkTask& task, LinkSettings& settings);
void CmdWriteClock(AppEnvironment& env, LinkTask& task, LinkSettings& settings, const PlcClock& clock);

}  // namespace Brenno
