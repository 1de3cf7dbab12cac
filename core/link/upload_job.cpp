#include "core/link/upload_job.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/compiler/binary_image.h"
#include "core/compiler/block_compilers.h"
#include "core/compiler/instruction_words.h"
#include "core/link/app_environment.h"
#include "core/env/exception_error.h"
#include "core/link/comm_state.h"
#include "core/link/download_job.h"
#include "core/link/link_commands.h"
#include "core/link/link_request.h"
#include "core/link/monitor_ui.h"
#include "core/program/compile_report.h"
#include "core/project/project.h"
#include "core/project/project_list.h"
#include "core/project/project_reset.h"
#include "core/project/status_chart.h"
#include "core/project/symbol_table.h"

namespace Brenno {

namespace {
constexpr size_t kImageStampSize = 6;
}  // namespace

void DecodeImageIntoCurrentProject(BinaryImage image, bool withStamps) {
  Project& project = CurrentProject();
  ResetProjectForType(project);
  const auto first = image.SystemPages.find(1);
  const auto reference = project.SystemBlocks.Reference.find(1);
  if (withStamps && first != image.SystemPages.end() && reference != project.SystemBlocks.Reference.end() &&
      first->second.size() == reference->second.Rows.size() + kImageStampSize) {
    first->second.resize(reference->second.Rows.size());
  }
  CompileReport report(false);
  DecodeDataBlocks(report, image);
  DecodeSystemBlock(report, image);
  DecodeProgramBlocks(report, image);
  const int total = report.TotalErrors();
  report.PrintTotal();
  if (total != 0) throw ExceptionParseBinaryError();
  FillDefaultSymbolTables(project.Symbols);
  FillDefaultStatusCharts(project.StatusChart);
}

void CommitReplacedProject(AppEnvironment& env) {
  DropOldestProject();
  env.ProjectPath.clear();
  env.Modified = true;
  MonitorNotify(kNotifyProjectReplaced, 0);
}

namespace {

// Steps 3 to 7 of the upload: the transfer table, then the decode into the fresh project.
void RunUploadTransfer(AppEnvironment& env) {
  LinkTask task(true);
  BinaryImage image;
  LinkSettings& settings = env.Link;

  SetTaskStep(task, L"Attach PLC", L"连线PLC", 0, 5);
  CmdAttachPlc(env, task, settings);

  SetTaskStep(task, L"Ask Data Block", L"查询数据块", 10, 15);
  std::vector<uint32_t> keys = CmdListDataBlocks(env, task, settings);
  for (size_t i = 0; i < keys.size(); ++i) {
    const std::array<int, 2> range =
        PageStepPercents(15, 15, static_cast<int>(i), static_cast<int>(keys.size()));
    SetTaskStep(task, L"Read Data Page", L"读数据页", range[0], range[1]);
    std::vector<uint32_t> words = CmdReadDataBlock(env, task, settings, keys[i]);
    image.DataPages.emplace(static_cast<int>(keys[i]), std::move(words));
  }
  keys.clear();

  SetTaskStep(task, L"Ask System Block", L"查询系统块", 30, 35);
  keys = CmdListSystemPages(env, task, settings);
  for (size_t i = 0; i < keys.size(); ++i) {
    const std::array<int, 2> range =
        PageStepPercents(35, 15, static_cast<int>(i), static_cast<int>(keys.size()));
    SetTaskStep(task, L"Read System Page", L"读系统页", range[0], range[1]);
    std::vector<uint8_t> bytes = CmdReadSystemPage(env, task, settings, keys[i]);
    image.SystemPages.emplace(static_cast<int>(keys[i]), std::move(bytes));
  }
  keys.clear();

  SetTaskStep(task, L"Read Program Constant", L"读程序常数", 50, 55);
  image.ProgramConsts = CmdReadProgramConstants(env, task, settings);

  SetTaskStep(task, L"Ask Program Block", L"查询程序", 55, 60);
  keys = CmdListProgramPages(env, task, settings);
  const int n = static_cast<int>(keys.size());
  for (int i = 0; i < n; ++i) {
    const std::array<int, 2> range = PageStepPercents(60, 15, i, n);
    SetTaskStep(task, L"Read Program Argument", L"读程序参数", range[0], range[1]);
    std::vector<uint32_t> words = CmdReadProgramArguments(env, task, settings, keys[i]);
    image.ProgramArguments.emplace(static_cast<int>(keys[i]), std::move(words));
  }
  for (int i = 0; i < n; ++i) {
    const std::array<int, 2> range = PageStepPercents(75, 15, i, n);
    SetTaskStep(task, L"Read Program Instruction", L"读程序指令", range[0], range[1]);
    std::vector<uint32_t> words = CmdReadProgramInstructions(env, task, settings, keys[i]);
    image.ProgramInstructions.emplace(static_cast<int>(keys[i]), std::move(words));
  }
  keys.clear();

  SetTaskStep(task, L"Detach PLC", L"离线PLC", 90, 95);
  std::vector<uint8_t> block;
  bool read = false;
  try {
    read = CmdReadPassword(env, task, settings, block);
  } catch (const ExceptionError&) {
    read = false;
  }
  if (read && block.size() >= env.PasswordTable1.size()) {
    std::copy_n(block.begin(), env.PasswordTable1.size(), env.PasswordTable1.begin());
    env.PasswordTable2.fill(0);
  } else {
    env.PasswordTable1.fill(0);
  }

  SetTaskStep(task, L"Detach PLC", L"离线PLC", 95, 100);
  CmdDetachPlc(env, task, settings);

  // A PLC without program pages gives the main program and the first subroutine, each of eight
  // empty networks, in the separator word of the type's layout.
  if (image.ProgramInstructions.empty()) {
    const PlcType* type = CurrentProject().Type;
    const uint32_t separator = NetworkSeparatorWord(type != nullptr ? type->Description.FxMode : 0);
    image.ProgramInstructions.emplace(0, std::vector<uint32_t>(8, separator));
    image.ProgramInstructions.emplace(0x10000, std::vector<uint32_t>(8, separator));
  }

  DecodeImageIntoCurrentProject(std::move(image), true);
  CommitReplacedProject(env);
}

}  // namespace

int UploadThreadProc(AppEnvironment& env) {
  try {
    EnterCommand(env);
  } catch (const ExceptionSwitchError& error) {
    MonitorMessageBoxOk(error.Message(), kIconStop);
    return 0;
  }
  MonitorNotify(kNotifyCommChanged, 0);
  const size_t projectsBefore = env.ProjectList.size();
  try {
    PushProjectOfSameType();
    RunUploadTransfer(env);
  } catch (const ExceptionError& error) {
    // Only a project this upload appended is dropped; the previous one is current again.
    if (env.ProjectList.size() > projectsBefore) DropNewestProject();
    MonitorShowError(error.Message());
  } catch (const std::exception&) {
    if (env.ProjectList.size() > projectsBefore) DropNewestProject();
  }
  try {
    LeaveCommand(env);
  } catch (const ExceptionSwitchError& error) {
    MonitorMessageBoxOk(error.Message(), kIconStop);
  }
  MonitorNotify(kNotifyCommChanged, 0);
  return 0;
}

}  // namespace Brenno
