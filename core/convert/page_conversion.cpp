#include "core/convert/page_conversion.h"

#include <utility>
#include <vector>

#include "core/convert/stl_analysis.h"
#include "core/convert/stl_generation.h"
#include "core/env/exception_error.h"
#include "core/program/program_block.h"

namespace Brenno {

void ConvertPageView(ProgramPage& page, int mode, CompileReport& report, const ProgramBlock& program) {
  if (mode != kViewModeStl && mode != kViewModeLad) throw MakeLogicError(L"\r\n  ConvertPageView: no such view mode");
  if (page.ViewState.ViewMode == mode) return;

  // Converted aside: the page changes only once every network has been tried.
  std::vector<Network> networks = page.UndoLog.Networks;
  const int from = mode == kViewModeStl ? kNetworkLad : kNetworkStl;
  for (std::size_t i = 0; i < networks.size(); ++i) {
    if (networks[i].Kind != from) continue;
    try {
      if (mode == kViewModeStl) {
        ConvertToStl(networks[i]);
      } else {
        ConvertToLad(networks[i]);
      }
    } catch (const ExceptionError& error) {
      // Any failure of one network, an analysis error or an inconsistency the converter found
      // in it, is that network's alone: it is reported, keeps its form as it was, and the
      // others convert.
      networks[i] = page.UndoLog.Networks[i];
      ReportProgramNetworkError(program, page.ViewState.PageId, error, report, static_cast<int>(i));
    }
  }
  page.ViewState.ViewMode = mode;
  page.UndoLog.Networks = std::move(networks);
  page.UndoLog.ClearHistory();
}

void ConvertPageToStl(ProgramPage& page, CompileReport& report, const ProgramBlock& program) {
  ConvertPageView(page, kViewModeStl, report, program);
}

void ConvertPageToLad(ProgramPage& page, CompileReport& report, const ProgramBlock& program) {
  ConvertPageView(page, kViewModeLad, report, program);
}

void ConvertPageToMode(int mode, CompileReport& report, ProgramPage& page, const ProgramBlock& program) {
  ConvertPageView(page, mode, report, program);
}

}  // namespace Brenno
