#include "core/link/exchange_transfer.h"

#include <cstring>
#include <string>
#include <utility>

#include "core/compiler/binary_image.h"
#include "core/compiler/image_stamp_compiler.h"
#include "core/link/app_environment.h"
#include "core/env/exception_error.h"
#include "core/env/plugin_library.h"
#include "core/link/comm_state.h"
#include "core/link/monitor_ui.h"
#include "core/link/upload_job.h"
#include "core/project/local_var_table.h"
#include "core/project/message_box.h"
#include "core/project/paged_table.h"
#include "core/project/project.h"
#include "core/project/project_list.h"
#include "core/project/project_reset.h"
#include "platform/plugin_abi.h"

namespace Brenno {

namespace {

void CheckEntries(const std::vector<void*>& entries) {
  if (entries.size() < kExchangeSlotCount) throw ExceptionInitPlcTypeError();
  for (size_t slot = kExSetCommPort; slot < kExchangeSlotCount; ++slot) {
    if (entries[slot] == nullptr) throw ExceptionInitPlcTypeError();
  }
}

template <class Fn>
Fn EntryAt(const std::vector<void*>& entries, int slot) {
  return reinterpret_cast<Fn>(entries[static_cast<size_t>(slot)]);
}

int ByteSize(size_t bytes) {
  if (bytes > 0x7FFFFFFF) throw ExceptionLogicError();
  return static_cast<int>(bytes);
}

template <class Map>
void SetWordPages(const std::vector<void*>& entries, int clearSlot, int setSlot, const Map& pages) {
  EntryAt<ExchClearFn>(entries, clearSlot)();
  const auto set = EntryAt<ExchSetPageFn>(entries, setSlot);
  for (const auto& [key, words] : pages) {
    if (words.empty()) continue;
    set(key, words.data(), ByteSize(words.size() * sizeof(uint32_t)));
  }
}

void SetLinkSettings(AppEnvironment& env, const std::vector<void*>& entries) {
  const PlcConfig& c = env.Config;
  const std::u16string port(c.LinkPortPath.begin(), c.LinkPortPath.end());
  EntryAt<ExchSetCommPortFn>(entries, kExSetCommPort)(c.LinkStation, port.c_str(), c.LinkBaudrate, c.LinkParity);
  const int times[11] = {c.LinkTimeWaitSend,
                         c.LinkTimeWaitReceive,
                         c.LinkTimeUpdateUi,
                         c.LinkTimeUpdateSleep,
                         c.LinkTimeUpdateMark,
                         c.LinkTimeUpdateError,
                         c.LinkTimeReadIntervalTimeout,
                         c.LinkTimeReadTotalTimeoutMultiplier,
                         c.LinkTimeReadTotalTimeoutConstant,
                         c.LinkTimeWriteTotalTimeoutMultiplier,
                         c.LinkTimeWriteTotalTimeoutConstant};
  EntryAt<ExchSetCommPortAdvabcedFn>(entries, kExSetCommPortAdvabced)(times, 11);
}

// Asks the library for one page; false when it is absent (null pointer or a length of 0 or
// less). The bytes are copied at once: they stay the library's.
bool GetPage(const std::vector<void*>& entries, int slot, int key, std::vector<uint8_t>& bytes) {
  const void* data = nullptr;
  int size = 0;
  EntryAt<ExchGetPageFn>(entries, slot)(key, &data, &size);
  if (data == nullptr || size <= 0) return false;
  const auto* begin = static_cast<const uint8_t*>(data);
  bytes.assign(begin, begin + size);
  return true;
}

// A word page: whole words only, the bytes of a partial last word are dropped.
bool GetWordPage(const std::vector<void*>& entries, int slot, int key, std::vector<uint32_t>& words) {
  std::vector<uint8_t> bytes;
  if (!GetPage(entries, slot, key, bytes)) return false;
  words.assign(bytes.size() / 4, 0);
  if (!words.empty()) std::memcpy(words.data(), bytes.data(), words.size() * 4);
  return true;
}

std::vector<void*> CurrentExchangeEntries() {
  const PlcType* type = CurrentProject().Type;
  if (type == nullptr) throw ExceptionInitPlcTypeError();
  return type->ExchangeLibrary.Entries();
}

}  // namespace

void DownloadImageThroughEntries(AppEnvironment& env, const std::vector<void*>& entries, const BinaryImage& image) {
  CheckEntries(entries);
  SetWordPages(entries, kExClearData, kExSetPageData, image.DataPages);
  EntryAt<ExchClearFn>(entries, kExClearSystem)();
  const auto setSystem = EntryAt<ExchSetPageFn>(entries, kExSetPageSystem);
  for (const auto& [key, bytes] : image.SystemPages) {
    if (!bytes.empty()) setSystem(key, bytes.data(), ByteSize(bytes.size()));
  }
  EntryAt<ExchClearFn>(entries, kExClearProgramConst)();
  if (!image.ProgramConsts.empty()) {
    EntryAt<ExchSetPageFn>(entries, kExSetPageProgramConst)(0, image.ProgramConsts.data(),
                                                             ByteSize(image.ProgramConsts.size() * 4));
  }
  SetWordPages(entries, kExClearProgramArgument, kExSetPageProgramArgument, image.ProgramArguments);
  SetWordPages(entries, kExClearProgramInstruction, kExSetPageProgramInstruction, image.ProgramInstructions);
  SetLinkSettings(env, entries);
  if (!EntryAt<ExchExcuteFn>(entries, kExExcuteUserDownload)()) throw ExceptionInitDownloadDataError();
}

void UploadThroughEntries(AppEnvironment& env, const std::vector<void*>& entries) {
  CheckEntries(entries);
  SetLinkSettings(env, entries);
  if (!EntryAt<ExchExcuteFn>(entries, kExExcuteUserUpload)()) throw ExceptionInitUploadDataError();

  BinaryImage image;
  Project& project = CurrentProject();
  // The reset makes the reference pages name the pages the type can have.
  ResetProjectForType(project);
  for (const int key : ListReferencePageKeys(project.DataBlocks)) {
    std::vector<uint32_t> words;
    if (GetWordPage(entries, kExGetPageData, key, words)) image.DataPages.emplace(key, std::move(words));
  }
  for (const int key : ListReferencePageKeys(project.SystemBlocks)) {
    std::vector<uint8_t> bytes;
    if (GetPage(entries, kExGetPageSystem, key, bytes)) image.SystemPages.emplace(key, std::move(bytes));
  }
  {
    std::vector<uint32_t> words;
    if (GetWordPage(entries, kExGetPageProgramConst, 0, words)) image.ProgramConsts = std::move(words);
  }
  for (const int key : CollectProgramUnitKeys(project.Program)) {
    std::vector<uint32_t> words;
    if (GetWordPage(entries, kExGetPageProgramArgument, key, words)) {
      image.ProgramArguments.emplace(key, std::move(words));
    }
    words.clear();
    if (GetWordPage(entries, kExGetPageProgramInstruction, key, words)) {
      image.ProgramInstructions.emplace(key, std::move(words));
    }
  }
  DecodeImageIntoCurrentProject(std::move(image), false);
}

void DownloadThroughLibrary(AppEnvironment& env) {
  try {
    const BinaryImage image = CompileProjectImage(true);
    DownloadImageThroughEntries(env, CurrentExchangeEntries(), image);
  } catch (const ExceptionError& error) {
    if (!error.Message().empty()) MessageBoxOk(error.Message(), kMessageIconStop);
  }
}

void UploadThroughLibrary(AppEnvironment& env) {
  try {
    EnterCommandWithoutPort(env);
  } catch (const ExceptionSwitchError& error) {
    MessageBoxOk(error.Message(), kMessageIconStop);
    return;
  }
  MonitorNotify(kNotifyCommChanged, 0);
  const size_t projectsBefore = env.ProjectList.size();
  try {
    PushProjectOfSameType();
    UploadThroughEntries(env, CurrentExchangeEntries());
    CommitReplacedProject(env);
  } catch (const ExceptionError& error) {
    if (env.ProjectList.size() > projectsBefore) DropNewestProject();
    if (!error.Message().empty()) MessageBoxOk(error.Message(), kMessageIconStop);
  }
  try {
    LeaveCommandWithoutPort(env);
  } catch (const ExceptionSwitchError& error) {
    MessageBoxOk(error.Message(), kMessageIconStop);
  }
  MonitorNotify(kNotifyCommChanged, 0);
}

}  // namespace Brenno
