#include "core/convert/program_view_switch.h"

#include "core/env/exception_error.h"
#include "core/program/ladder_edit.h"
#include "core/convert/page_conversion.h"

namespace Brenno {

namespace {

template <class Visit>
void ForEachWorkingPage(ProgramBlock& program, Visit visit) {
  for (BlockTable* table : {&program.InterruptTable, &program.SubroutineTable}) {
    for (auto& [key, record] : table->Working) visit(key, record.Page);
  }
}

void ShowOperands(ProgramBlock& program, bool symbolic) {
  ForEachWorkingPage(program, [symbolic](int key, ProgramPage& page) {
    page.ViewState.Symbolic = symbolic;
    RewriteUndoLogOperands(symbolic, key, page.UndoLog);
  });
}

}  // namespace

void RewriteNetworkOperands(bool symbolic, int pageKey, Network& network) {
  if (network.Kind == kNetworkStl) {
    if (symbolic) {
      StlLinesToSymbols(pageKey, network.Lines);
    } else {
      StlLinesToAddresses(pageKey, network.Lines);
    }
  } else if (network.Kind == kNetworkLad) {
    if (symbolic) {
      ConvertLadderNetworkToSymbols(pageKey, network.Grid);
    } else {
      ConvertLadderNetworkToAddresses(pageKey, network.Grid);
    }
  } else {
    throw ExceptionLogicError();
  }
}

void RewriteUndoLogOperands(bool symbolic, int pageKey, NetworkUndoLog& log) {
  for (Network& network : log.Networks) RewriteNetworkOperands(symbolic, pageKey, network);
  for (NetworkUndoStep& step : log.Steps) {
    for (NetworkEditRecord& record : step) {
      for (Network& network : record.Before) RewriteNetworkOperands(symbolic, pageKey, network);
      for (Network& network : record.After) RewriteNetworkOperands(symbolic, pageKey, network);
    }
  }
}

namespace {

void SwitchView(ProgramBlock& program, CompileReport& report, int mode, PreparedStlForms* prepared) {
  if (mode == program.ViewMode) return;
  if (mode != kViewModeStl && mode != kViewModeLad) throw ExceptionLogicError();
  program.ViewMode = mode;
  if (report.Print) ReportCompilingProgramBlock(report);
  const bool symbolic = ConfiguredSymbolicAddressing();
  ForEachWorkingPage(program, [&](int key, ProgramPage& page) {
    if (report.Print) ReportProgramPageName(report, program, key);
    page.ViewState.Symbolic = false;
    RewriteUndoLogOperands(false, key, page.UndoLog);
    std::vector<std::optional<StlForm>>* forms = nullptr;
    if (prepared != nullptr) {
      const auto found = prepared->find(key);
      if (found != prepared->end()) forms = &found->second;
    }
    ConvertPageView(page, mode, report, program, forms);
    if (symbolic) {
      page.ViewState.Symbolic = true;
      RewriteUndoLogOperands(true, key, page.UndoLog);
    }
  });
}

}  // namespace

void SwitchProgramView(ProgramBlock& program, CompileReport& report, int mode) {
  SwitchView(program, report, mode, nullptr);
}

void SwitchProgramView(ProgramBlock& program, CompileReport& report, int mode, PreparedStlForms& prepared) {
  SwitchView(program, report, mode, &prepared);
}

void ShowProgramSymbols(ProgramBlock& program) { ShowOperands(program, true); }

void ShowProgramAddresses(ProgramBlock& program) { ShowOperands(program, false); }

}  // namespace Brenno
