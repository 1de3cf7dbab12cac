#include "core/convert/page_conversion.h"

#include <utility>
#include <vector>

#include "core/convert/converter_model.h"
#include "core/convert/stl_analysis.h"
#include "core/convert/stl_generation.h"
#include "core/env/exception_error.h"
#include "core/program/program_block.h"

namespace Brenno {

namespace {

// Works out the new form of every network of the kind `from` aside (MakeForm), then puts them
// all in place (ApplyForm, which cannot fail): the page's networks change only once every
// network has been tried, and only the parts that change are made anew.
template <class Form, class MakeForm, class ApplyForm>
void ConvertNetworks(ProgramPage& page, int from, CompileReport& report, const ProgramBlock& program,
                     MakeForm makeForm, ApplyForm applyForm, std::vector<std::optional<Form>>* prepared = nullptr) {
  std::vector<Network>& networks = page.UndoLog.Networks;
  std::vector<std::pair<std::size_t, Form>> forms;
  forms.reserve(networks.size());
  for (std::size_t i = 0; i < networks.size(); ++i) {
    if (networks[i].Kind != from) continue;
    if (prepared != nullptr && i < prepared->size() && (*prepared)[i].has_value()) {
      forms.emplace_back(i, std::move(*(*prepared)[i]));
      (*prepared)[i].reset();
      continue;
    }
    try {
      forms.emplace_back(i, makeForm(ConverterLibrary(), networks[i]));
    } catch (const ExceptionError& error) {
      // Any failure of one network, an analysis error or an inconsistency the converter found
      // in it, is that network's alone: it is reported, keeps its form as it was, and the
      // others convert.
      ReportProgramNetworkError(program, page.ViewState.PageId, error, report, static_cast<int>(i));
    }
  }
  for (auto& [index, form] : forms) applyForm(form, networks[index]);
}

}  // namespace

void ConvertPageView(ProgramPage& page, int mode, CompileReport& report, const ProgramBlock& program) {
  ConvertPageView(page, mode, report, program, nullptr);
}

void ConvertPageView(ProgramPage& page, int mode, CompileReport& report, const ProgramBlock& program,
                     std::vector<std::optional<StlForm>>* prepared) {
  if (mode != kViewModeStl && mode != kViewModeLad) throw MakeLogicError(L"\r\n  ConvertPageView: no such view mode");
  if (page.ViewState.ViewMode == mode) return;

  if (mode == kViewModeStl) {
    ConvertNetworks<StlForm>(page, kNetworkLad, report, program, MakeStlForm, ApplyStlForm, prepared);
  } else {
    ConvertNetworks<LadForm>(page, kNetworkStl, report, program, MakeLadForm, ApplyLadForm);
  }
  page.ViewState.ViewMode = mode;
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
