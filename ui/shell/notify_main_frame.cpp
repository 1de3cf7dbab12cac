#include "ui/shell/notify_main_frame.h"

#include <atomic>

#include "core/link/app_environment.h"
#include "core/program/program_block.h"
#include "core/project/project.h"
#include "ui/shell/ui_dispatcher.h"

namespace Brenno {

namespace {

std::atomic<MainFrameSink*> g_sink{nullptr};

// The codes of a location request: a data block row (kind 0) or a program location (1 to 3).
void PlanLocation(NotifyPlan& plan, intptr_t value) {
  if (value == 0) return;
  const auto* record = *reinterpret_cast<const int32_t* const*>(value);
  if (record == nullptr) return;
  const int32_t kind = record[0];
  const intptr_t key = record[1];
  if (kind == 0) {
    plan.Calls = {{UpdOpenDataBlocks, 0}, {UpdDataPageSelect, key}, {UpdDataRowsLocate, value}};
  } else if (kind >= 1 && kind <= 3) {
    plan.Calls = {{UpdOpenProgramEditor, 0}, {UpdVarTableSetPage, key}, {UpdPageTabSelect, key}, {UpdLadLocate, value}};
  }
}

template <class Table>
int SmallestWorkingKey(const Table& table) {
  return table.Working.empty() ? -1 : table.Working.begin()->first;
}

}  // namespace

void InstallMainFrameSink(MainFrameSink* sink) { g_sink.store(sink); }
MainFrameSink* InstalledMainFrameSink() { return g_sink.load(); }

int FirstProgramPageKey(const ProgramBlock& program) {
  if (!program.InterruptTable.Working.empty()) return program.InterruptTable.Working.begin()->first;
  if (!program.SubroutineTable.Working.empty()) return program.SubroutineTable.Working.begin()->first;
  return -1;
}

ReplacedProjectKeys KeysOfCurrentProject(const AppEnvironment* env) {
  ReplacedProjectKeys keys;
  if (env == nullptr || env->ProjectList.empty()) return keys;
  const Project& project = env->ProjectList.back();
  keys.DataBlock = SmallestWorkingKey(project.DataBlocks);
  keys.ProgramPage = FirstProgramPageKey(project.Program);
  keys.VariableTable = SmallestWorkingKey(project.Symbols);
  return keys;
}

NotifyPlan PlanNotifyEvent(uint32_t event, intptr_t value, const ReplacedProjectKeys& keys) {
  NotifyPlan plan;
  auto& c = plan.Calls;
  const intptr_t v = value;
  auto changed = [&plan] { plan.SetsChanged = true; };
  switch (event) {
    case EvCaptionChanged:
      c = {{UpdFrameCaption, 0}};
      break;
    case EvProjectReplaced:
      c = {{UpdFrameCaption, 0},       {UpdOpenProgramEditor, 0},
           {UpdChartPagesRebuild, 0},  {UpdTreeRebuild, 0},
           {UpdOutputClear, 0},        {UpdDataPagesRebuild, 0},
           {UpdDataPageSelect, keys.DataBlock},
           {UpdVarTableSetPage, keys.ProgramPage},
           {UpdPageTabsRebuild, 0},    {UpdPageTabSelect, keys.ProgramPage},
           {UpdLadRelayout, 0},        {UpdLadRedraw, 0},
           {UpdFunSymbolsRebuild, 0},  {UpdVarTablesRebuild, 0},
           {UpdVarTableSelect, keys.VariableTable}};
      break;
    case EvCommChanged:
      c = {{UpdChartPagesRetitle, 0}, {UpdDataRowsRefresh, 0}, {UpdVarTableRefresh, 0},
           {UpdLadRedraw, 0},         {UpdFunSymbolsRedraw, 0}, {UpdVarSymbolsRedraw, 0}};
      break;
    case EvProgramShownAsStl:
    case EvProgramShownAsLad:
      changed();
      c = {{UpdFrameCaption, 0}, {UpdTreeInstructions, 0}, {UpdOpenProgramEditor, 0}, {UpdLadRelayout, 0}, {UpdLadRedraw, 0}};
      break;
    case EvSymbolicAddressingToggled:
      c = {{UpdChartRefresh, 0}, {UpdDataRowsRefresh, 0}, {UpdLadRedraw, 0}};
      break;
    case EvOutputClear:
      c = {{UpdOutputClear, v}};
      break;
    case EvOutputAppend:
      c = {{UpdOutputAppend, v}};
      break;
    case EvOutputReplaceLast:
      c = {{UpdOutputReplaceLast, v}};
      break;
    case EvOnlineStopping:
      c = {{UpdDiagnoseHide, 0}};
      break;
    case EvMonitorTick:
      c = {{UpdChartOnline, 0}, {UpdDebugOnline, 0}, {UpdLadOnline, 0}, {UpdDiagnoseRefresh, 0}};
      break;
    case EvStatusChartEdited:
    case EvDataRowsEdited:
    case EvSystemBlockChanged:
      changed();
      c = {{UpdFrameCaption, 0}};
      break;
    case EvVarTableEdited:
      // The program views show local symbols by what the table now says.
      changed();
      c = {{UpdFrameCaption, 0}, {UpdLadRedraw, 0}};
      break;
    case EvProgramEdited:
      // Whoever changed a page (the view itself, find and replace), the program view in front
      // shows the page as it is now.
      changed();
      c = {{UpdFrameCaption, 0}, {UpdLadRelayout, 0}, {UpdLadRedraw, 0}};
      break;
    case EvStatusChartAdded:
    case EvStatusChartRemoved:
      changed();
      c = {{UpdFrameCaption, 0}, {UpdTreeStatusCharts, v}, {UpdChartPagesRebuild, 0}, {UpdChartPageSelect, v}};
      break;
    case EvTreeOpenDataBlock:
      c = {{UpdOpenDataBlocks, 0}, {UpdDataPageSelect, v}};
      break;
    case EvTreeDataBlockRenamed:
    case EvTreeDataBlockCommented:
      changed();
      c = {{UpdFrameCaption, 0}, {UpdDataPagesRetitle, 0}, {UpdDataPageSelect, v}};
      break;
    case EvTreeDataBlockReaddressed:
    case EvTreeDataBlockRemoved:
    case EvTreeDataBlockAdded:
      changed();
      c = {{UpdFrameCaption, 0}, {UpdDataPagesRebuild, 0}, {UpdDataPageSelect, v}};
      break;
    case EvTreeOpenSystemBlock:
      c = {{UpdOpenSystemBlock, 0}};
      break;
    case EvTreeOpenProgramPage:
    case EvFunctionSymbolOpen:
      c = {{UpdOpenProgramEditor, 0}, {UpdVarTableSetPage, v}, {UpdPageTabSelect, v}};
      break;
    case EvTreeProgramPageRenamed:
    case EvTreeProgramPageCommented:
      changed();
      c = {{UpdFrameCaption, 0}, {UpdFunSymbolsRedraw, 0}, {UpdVarTableSetPage, v}, {UpdPageTabsRetitle, 0}, {UpdPageTabSelect, v}};
      break;
    case EvTreeProgramPageReaddressed:
    case EvTreeProgramPageAdded:
    case EvTreeProgramPageRemoved:
      changed();
      c = {{UpdFrameCaption, 0}, {UpdFunSymbolsRebuild, 0}, {UpdVarTableSetPage, v}, {UpdPageTabsRebuild, 0}, {UpdPageTabSelect, v}};
      break;
    case EvTreeOpenFunctionSymbols:
      c = {{UpdOpenFunctionSymbols, 0}};
      break;
    case EvTreeOpenVariableTable:
      c = {{UpdOpenVariableSymbols, 0}, {UpdVarTableSelect, v}};
      break;
    case EvTreeVariableTableRenamed:
    case EvTreeVariableTableCommented:
      changed();
      c = {{UpdFrameCaption, 0}, {UpdVarTablesRetitle, 0}, {UpdVarTableSelect, v}};
      break;
    case EvTreeVariableTableReaddressed:
    case EvTreeVariableTableAdded:
    case EvTreeVariableTableRemoved:
      changed();
      c = {{UpdFrameCaption, 0}, {UpdVarTablesRebuild, 0}, {UpdVarTableSelect, v}};
      break;
    case EvTreeOpenStatusChart:
      c = {{UpdShowStatusChartPane, 0}, {UpdChartPageSelect, v}};
      break;
    case EvTreeStatusChartRenamed:
    case EvTreeStatusChartCommented:
      changed();
      c = {{UpdFrameCaption, 0}, {UpdChartPagesRetitle, 0}, {UpdChartPageSelect, v}};
      break;
    case EvTreeStatusChartReaddressed:
    case EvTreeStatusChartAdded:
    case EvTreeStatusChartRemoved:
      changed();
      c = {{UpdFrameCaption, 0}, {UpdChartPagesRebuild, 0}, {UpdChartPageSelect, v}};
      break;
    case EvTreeOpenCrossReference:
      c = {{UpdOpenCrossReference, v}};
      break;
    case EvTreeOpenCommunication:
      c = {{UpdOpenCommunication, v}};
      break;
    case EvTreeInsertInstruction:
      c = {{UpdLadInsertElement, v}};
      break;
    case EvDataBlockInserted:
    case EvDataBlockDeleted:
      changed();
      c = {{UpdFrameCaption, 0}, {UpdTreeDataBlocks, v}, {UpdDataPagesRebuild, 0}, {UpdDataPageSelect, v}};
      break;
    case EvVarTablePageAdded:
    case EvVarTablePageRemoved:
    case EvProgramPageAdded:
    case EvProgramPageRemoved:
      changed();
      c = {{UpdFrameCaption, 0},     {UpdTreeProgramPages, v}, {UpdTreeInstructions, 0}, {UpdFunSymbolsRebuild, 0},
           {UpdVarTableSetPage, v},  {UpdPageTabsRebuild, 0},  {UpdPageTabSelect, v}};
      break;
    case EvGoToLocation:
    case EvCrossReferenceLocate:
      PlanLocation(plan, value);
      break;
    case EvOpenInstructionInput:
      c = {{UpdOpenInstructionInput, v}};
      break;
    case EvOpenFindReplace:
      c = {{UpdShowFindReplace, 0}};
      break;
    case EvProgramTabChanged:
      c = {{UpdVarTableSetPage, v}};
      break;
    case EvFunctionSymbolEdited:
      changed();
      c = {{UpdFrameCaption, 0}, {UpdTreeProgramPages, v}, {UpdTreeInstructions, 0}, {UpdPageTabsRetitle, 0}, {UpdPageTabSelect, v}};
      break;
    case EvFunctionSymbolChanged:
    case EvFunctionSymbolAdded:
    case EvFunctionSymbolRemoved:
      changed();
      c = {{UpdFrameCaption, 0},    {UpdTreeProgramPages, v}, {UpdTreeInstructions, 0},
           {UpdVarTableSetPage, v}, {UpdPageTabsRebuild, 0},  {UpdPageTabSelect, v}};
      break;
    case EvVariableSymbolsEdited:
      // With symbolic addressing on, the chart and data rows name their operands by the table too.
      changed();
      c = {{UpdFrameCaption, 0}, {UpdChartRefresh, 0}, {UpdDataRowsRefresh, 0}, {UpdLadRedraw, 0}};
      break;
    case EvVariableTableInserted:
    case EvVariableTableDeleted:
      changed();
      c = {{UpdFrameCaption, 0}, {UpdTreeVariableTables, v}, {UpdVarTablesRebuild, 0}, {UpdVarTableSelect, v}, {UpdLadRedraw, 0}};
      break;
    case EvCrossReferenceRefreshed:
      c = {{UpdXrefRebuild, 0}};
      break;
    default:
      // Announcements without receivers (value written, tab changed) and unknown codes.
      break;
  }
  return plan;
}

void NotifyMainFrame(uint32_t event, intptr_t value) {
  AppEnvironment* env = InstalledAppEnvironment();
  // The project keys are read only for the one event that sends them.
  const ReplacedProjectKeys keys = event == EvProjectReplaced ? KeysOfCurrentProject(env) : ReplacedProjectKeys{};
  const NotifyPlan plan = PlanNotifyEvent(event, value, keys);
  if (plan.SetsChanged && env != nullptr) env->Modified = true;
  for (const PaneUpdateCall& call : plan.Calls) {
    RunOnUiThread([&call] {
      if (MainFrameSink* sink = InstalledMainFrameSink()) sink->RouteUpdate(call.Code, call.Value);
    });
  }
}

void ShowStatusText(const std::wstring& text, bool blue) {
  RunOnUiThread([&] {
    if (MainFrameSink* sink = InstalledMainFrameSink()) sink->SetStatusText(text, blue);
  });
}

}  // namespace Brenno
