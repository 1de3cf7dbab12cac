#include "core/link/link_commands.h"

#include "core/link/app_environment.h"
#include "core/env/exception_error.h"
#include "core/env/utilities.h"
#include "core/link/link_request.h"
#include "core/link/link_ui.h"

namespace Brenno {

namespace {

[[noreturn]] void ThrowUnexpected(const LinkTask& task) { throw ExceptionExchUnexpectedReceiveError(task.Describe()); }

uint16_t GetU16(const std::vector<uint8_t>& bytes, size_t at) {
  return static_cast<uint16_t>((bytes[at] << 8) | bytes[at + 1]);
}

// Block and system page keys travel as the 16-bit parameter; a key that does not fit would
// address another block.
uint16_t KeyParameter(uint32_t key) {
  if (key > 0xFFFF) throw ExceptionLogicError();
  return static_cast<uint16_t>(key);
}

std::vector<uint8_t> Request(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint16_t code,
                             uint16_t parameter, std::vector<uint8_t> data = {}) {
  RunLinkRequest(env, task, data, settings, code, parameter);
  return data;
}

void RequestWithEmptyReply(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint16_t code,
                           uint16_t parameter, std::vector<uint8_t> data = {}) {
  if (!Request(env, task, settings, code, parameter, std::move(data)).empty()) ThrowUnexpected(task);
}

std::vector<uint8_t> RequestFixedSize(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint16_t code,
                                      size_t size) {
  std::vector<uint8_t> reply = Request(env, task, settings, code, 0);
  if (reply.size() != size) ThrowUnexpected(task);
  return reply;
}

// The second step of a two-step read: the announced length in frames of the type's size.
// False when the frames deliver another number of bytes.
bool ReadAnnounced(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint16_t dataCode,
                   uint16_t parameter, uint16_t length, std::vector<uint8_t>& out) {
  const int64_t frameSize = CurrentFrameSize(env);
  const int frames = static_cast<int>((length + frameSize - 1) / frameSize);
  std::vector<uint8_t> reply;
  RunLinkReadFrames(env, settings, reply, task, dataCode, frames, parameter);
  if (reply.size() != length) return false;
  out = std::move(reply);
  return true;
}

std::vector<uint8_t> TwoStepRead(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint16_t lengthCode,
                                 uint16_t dataCode, uint16_t parameter) {
  const std::vector<uint8_t> announced = Request(env, task, settings, lengthCode, parameter);
  if (announced.size() != 2) ThrowUnexpected(task);
  std::vector<uint8_t> bytes;
  if (!ReadAnnounced(env, task, settings, dataCode, parameter, GetU16(announced, 0), bytes)) ThrowUnexpected(task);
  return bytes;
}

std::vector<uint32_t> ByteKeys(const std::vector<uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

std::vector<uint8_t> ByteTwice(uint8_t value) { return {value, value}; }

}  // namespace

std::array<uint8_t, 7> PlcClock::ToBytes() const { return {Second, Minute, Hour, Day, Weekday, Month, Year}; }

PlcClock PlcClock::FromBytes(const std::array<uint8_t, 7>& b) {
  return PlcClock{b[0], b[1], b[2], b[3], b[4], b[5], b[6]};
}

bool MakePlcClock(const std::tm& time, PlcClock& clock) {
  const int year = time.tm_year + 1900;
  if (year < 2000 || year > 2255) return false;
  clock = PlcClock{static_cast<uint8_t>(time.tm_sec), static_cast<uint8_t>(time.tm_min),
                   static_cast<uint8_t>(time.tm_hour), static_cast<uint8_t>(time.tm_mday),
                   static_cast<uint8_t>(time.tm_wday), static_cast<uint8_t>(time.tm_mon + 1),
                   static_cast<uint8_t>(year - 2000)};
  return true;
}

uint16_t FoldProgramPageKey(uint32_t key) { return static_cast<uint16_t>((key & 0x7F) | ((key >> 9) & 0xFF80)); }

uint32_t UnfoldProgramPageKey(uint8_t folded) {
  return (static_cast<uint32_t>(folded >> 7) << 16) | (folded & 0x7Fu);
}

std::vector<uint8_t> WordsToBytes(const std::vector<uint32_t>& words) {
  std::vector<uint8_t> bytes;
  bytes.reserve(words.size() * 4);
  for (uint32_t w : words) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(w >> shift));
  }
  return bytes;
}

std::vector<uint32_t> BytesToWords(const std::vector<uint8_t>& bytes) {
  std::vector<uint32_t> words(bytes.size() / 4);
  for (size_t i = 0; i < words.size(); ++i) {
    words[i] = static_cast<uint32_t>(bytes[4 * i]) | (static_cast<uint32_t>(bytes[4 * i + 1]) << 8) |
               (static_cast<uint32_t>(bytes[4 * i + 2]) << 16) | (static_cast<uint32_t>(bytes[4 * i + 3]) << 24);
  }
  return words;
}

void CmdClearPlc(AppEnvironment& env, LinkTask& task, LinkSettings& settings) {
  RequestWithEmptyReply(env, task, settings, kCodeClearPlc, 0);
}

void CmdAttachPlc(AppEnvironment& env, LinkTask& task, LinkSettings& settings) {
  try {
    RequestWithEmptyReply(env, task, settings, kCodeAttachPlc, 0, std::vector<uint8_t>(kPasswordBlockSize, 0xFF));
    return;
  } catch (const ExceptionExchPackReceiveCodeError&) {
    // The PLC is protected: it refused the empty password.
  }
  std::vector<uint8_t> block;
  LinkUiServices* ui = InstalledLinkUiServices();
  if (ui == nullptr || !ui->AskPlcPassword(block) || block.size() != kPasswordBlockSize) {
    throw ExceptionExchUserCancelError();
  }
  RequestWithEmptyReply(env, task, settings, kCodeAttachPlc, 0, std::move(block));
}

void CmdDetachPlc(AppEnvironment& env, LinkTask& task, LinkSettings& settings) {
  RequestWithEmptyReply(env, task, settings, kCodeDetachPlc, 0);
}

std::wstring CmdGetPlcInformation(AppEnvironment& env, LinkTask& task, LinkSettings& settings) {
  std::vector<uint8_t> reply = RequestFixedSize(env, task, settings, kCodeGetPlcInformation, 64);
  reply[63] = 0;
  std::wstring text;
  if (!MultiByteToWString(std::string_view(reinterpret_cast<const char*>(reply.data())), text)) ThrowUnexpected(task);
  return text;
}

std::vector<uint32_t> CmdListDataBlocks(AppEnvironment& env, LinkTask& task, LinkSettings& settings) {
  return ByteKeys(Request(env, task, settings, kCodeListDataBlocks, 0));
}

std::vector<uint32_t> CmdReadDataBlock(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint32_t blockKey) {
  return BytesToWords(
      TwoStepRead(env, task, settings, kCodeReadDataBlockLength, kCodeReadDataBlockData, KeyParameter(blockKey)));
}

void CmdWriteDataBlock(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint32_t blockKey,
                       const std::vector<uint32_t>& words) {
  RequestWithEmptyReply(env, task, settings, kCodeWriteDataBlock, KeyParameter(blockKey), WordsToBytes(words));
}

std::vector<uint32_t> CmdListSystemPages(AppEnvironment& env, LinkTask& task, LinkSettings& settings) {
  return ByteKeys(Request(env, task, settings, kCodeListSystemPages, 0));
}

std::vector<uint8_t> CmdReadSystemPage(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint32_t pageKey) {
  return TwoStepRead(env, task, settings, kCodeReadSystemPageLength, kCodeReadSystemPageData, KeyParameter(pageKey));
}

void CmdWriteSystemPage(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint32_t pageKey,
                        const std::vector<uint8_t>& bytes) {
  RequestWithEmptyReply(env, task, settings, kCodeWriteSystemPage, KeyParameter(pageKey), bytes);
}

bool CmdReadPassword(AppEnvironment& env, LinkTask& task, LinkSettings& settings, std::vector<uint8_t>& bytes) {
  const std::vector<uint8_t> announced = Request(env, task, settings, kCodeReadPasswordLength, 0);
  if (announced.size() != 2) return false;
  std::vector<uint8_t> table;
  if (!ReadAnnounced(env, task, settings, kCodeReadPasswordData, 0, GetU16(announced, 0), table)) return false;
  bytes = std::move(table);
  return bytes.size() >= 128;
}

bool CmdWritePassword(AppEnvironment& env, LinkTask& task, LinkSettings& settings, const std::vector<uint8_t>& bytes) {
  return Request(env, task, settings, kCodeWritePassword, 0, bytes).empty();
}

std::vector<uint32_t> CmdListProgramPages(AppEnvironment& env, LinkTask& task, LinkSettings& settings) {
  const std::vector<uint8_t> reply = Request(env, task, settings, kCodeListProgramPages, 0);
  std::vector<uint32_t> keys;
  keys.reserve(reply.size());
  for (uint8_t b : reply) keys.push_back(UnfoldProgramPageKey(b));
  return keys;
}

std::vector<uint32_t> CmdReadProgramConstants(AppEnvironment& env, LinkTask& task, LinkSettings& settings) {
  return BytesToWords(TwoStepRead(env, task, settings, kCodeReadConstantsLength, kCodeReadConstantsData, 0));
}

void CmdWriteProgramConstants(AppEnvironment& env, LinkTask& task, LinkSettings& settings,
                              const std::vector<uint32_t>& words) {
  RequestWithEmptyReply(env, task, settings, kCodeWriteConstants, 0, WordsToBytes(words));
}

std::vector<uint32_t> CmdReadProgramArguments(AppEnvironment& env, LinkTask& task, LinkSettings& settings,
                                              uint32_t pageKey) {
  return BytesToWords(TwoStepRead(env, task, settings, kCodeReadArgumentsLength, kCodeReadArgumentsData,
                                  FoldProgramPageKey(pageKey)));
}

void CmdWriteProgramArguments(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint32_t pageKey,
                              const std::vector<uint32_t>& words) {
  RequestWithEmptyReply(env, task, settings, kCodeWriteArguments, FoldProgramPageKey(pageKey), WordsToBytes(words));
}

std::vector<uint32_t> CmdReadProgramInstructions(AppEnvironment& env, LinkTask& task, LinkSettings& settings,
                                                 uint32_t pageKey) {
  return BytesToWords(TwoStepRead(env, task, settings, kCodeReadInstructionsLength, kCodeReadInstructionsData,
                                  FoldProgramPageKey(pageKey)));
}

void CmdWriteProgramInstructions(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint32_t pageKey,
                                 const std::vector<uint32_t>& words) {
  RequestWithEmptyReply(env, task, settings, kCodeWriteInstructions, FoldProgramPageKey(pageKey),
                        WordsToBytes(words));
}

uint8_t CmdReadStatus(AppEnvironment& env, LinkTask& task, LinkSettings& settings) {
  return RequestFixedSize(env, task, settings, kCodeReadStatus, 2)[1];
}

void CmdWriteStatus(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint8_t status) {
  RequestWithEmptyReply(env, task, settings, kCodeWriteStatus, 0, ByteTwice(status));
}

void CmdForceScan(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint8_t scans) {
  RequestWithEmptyReply(env, task, settings, kCodeForceScan, 0, ByteTwice(scans));
}

void CmdForceReset(AppEnvironment& env, LinkTask& task, LinkSettings& settings) {
  RequestWithEmptyReply(env, task, settings, kCodeForceReset, 0);
}

namespace {

void ReadWords(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint16_t code,
               std::vector<uint32_t>& words) {
  const std::vector<uint8_t> request = WordsToBytes(words);
  const std::vector<uint8_t> reply = Request(env, task, settings, code, 0, request);
  if (reply.size() != request.size()) ThrowUnexpected(task);
  words = BytesToWords(reply);
}

}  // namespace

void CmdReadVariables(AppEnvironment& env, LinkTask& task, LinkSettings& settings, std::vector<uint32_t>& words) {
  ReadWords(env, task, settings, kCodeReadVariables, words);
}

void CmdWriteVariables(AppEnvironment& env, LinkTask& task, LinkSettings& settings,
                       const std::vector<uint32_t>& words) {
  RequestWithEmptyReply(env, task, settings, kCodeWriteVariables, 0, WordsToBytes(words));
}

void CmdReadForcedVariables(AppEnvironment& env, LinkTask& task, LinkSettings& settings,
                            std::vector<uint32_t>& words) {
  ReadWords(env, task, settings, kCodeReadForcedVariables, words);
}

void CmdWriteForcedVariables(AppEnvironment& env, LinkTask& task, LinkSettings& settings,
                             const std::vector<uint32_t>& words) {
  RequestWithEmptyReply(env, task, settings, kCodeWriteForcedVariables, 0, WordsToBytes(words));
}

uint8_t CmdReadDebugStatus(AppEnvironment& env, LinkTask& task, LinkSettings& settings) {
  return RequestFixedSize(env, task, settings, kCodeReadDebugStatus, 2)[1];
}

void CmdWriteDebugStatus(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint8_t status) {
  RequestWithEmptyReply(env, task, settings, kCodeWriteDebugStatus, 0, ByteTwice(status));
}

void CmdForceDebugScan(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint8_t step) {
  RequestWithEmptyReply(env, task, settings, kCodeForceDebugScan, 0, ByteTwice(step));
}

void CmdForceDebugReset(AppEnvironment& env, LinkTask& task, LinkSettings& settings) {
  RequestWithEmptyReply(env, task, settings, kCodeForceDebugReset, 0);
}

DebugRecord CmdReadBreakPoint(AppEnvironment& env, LinkTask& task, LinkSettings& settings) {
  const std::vector<uint8_t> r = RequestFixedSize(env, task, settings, kCodeReadBreakPoint, 16);
  DebugRecord record;
  record.Words[0] = static_cast<int32_t>(UnfoldProgramPageKey(r[0]));
  record.Words[1] = GetU16(r, 1);
  record.Words[2] = GetU16(r, 3);
  record.Words[3] = static_cast<int32_t>(UnfoldProgramPageKey(r[5]));
  record.Words[4] = GetU16(r, 6);
  record.Words[5] = GetU16(r, 8);
  record.Words[6] = GetU16(r, 10);
  record.Words[7] = GetU16(r, 12);
  record.Words[8] = r[14];
  record.Words[9] = r[15];
  return record;
}

void CmdWriteBreakPoint(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint32_t breakPageKey,
                        uint32_t network, uint32_t step) {
  std::vector<uint8_t> request(16, 0);
  request[0] = static_cast<uint8_t>(FoldProgramPageKey(breakPageKey) & 0xFF);
  request[1] = static_cast<uint8_t>(network >> 8);
  request[2] = static_cast<uint8_t>(network);
  request[3] = static_cast<uint8_t>(step >> 8);
  request[4] = static_cast<uint8_t>(step);
  RequestWithEmptyReply(env, task, settings, kCodeWriteBreakPoint, 0, std::move(request));
}

PlcClock CmdReadClock(AppEnvironment& env, LinkTask& task, LinkSettings& settings) {
  const std::vector<uint8_t> r = RequestFixedSize(env, task, settings, kCodeReadClock, 7);
  return PlcClock{r[0], r[1], r[2], r[3], r[4], r[5], r[6]};
}

void CmdWriteClock(AppEnvironment& env, LinkTask& task, LinkSettings& settings, const PlcClock& clock) {
  const std::array<uint8_t, 7> bytes = clock.ToBytes();
  RequestWithEmptyReply(env, task, settings, kCodeWriteClock, 0, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

}  // namespace Brenno
