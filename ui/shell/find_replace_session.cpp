#include "ui/shell/find_replace_session.h"

#include <algorithm>

#include "core/link/app_environment.h"
#include "core/env/exception_error.h"
#include "core/link/comm_state.h"
#include "core/program/program_block.h"
#include "core/project/program_search.h"
#include "core/project/project.h"
#include "ui/shell/fixed_texts.h"

namespace Brenno {

ProgramLocation ToProgramLocation(const CrossReferLocation& location) {
  ProgramLocation place;
  const auto at = [&](size_t i) { return i < location.size() ? location[i] : 0; };
  place.Kind = at(0);
  place.PageKey = at(1);
  place.Network = at(2);
  place.LineOrColumn = at(3);
  place.Row = place.Kind == kLocationLadOperand ? at(4) : 0;
  return place;
}

FindReplaceSession::FindReplaceSession(AppEnvironment& env) : env_(env) {}

Project* FindReplaceSession::CurrentProjectOrNull() const {
  return env_.ProjectList.empty() ? nullptr : &env_.ProjectList.back();
}

bool FindReplaceSession::CanStep() const {
  const int state = env_.CommState.load();
  return state != CommOpeningCommand && state != CommCommand && state != CommLeavingCommand;
}

bool FindReplaceSession::CanReplace() const { return env_.CommState.load() == CommOffline; }

CrossReferLocation FindReplaceSession::CursorLocation() const {
  const Project* project = CurrentProjectOrNull();
  if (project == nullptr) throw ExceptionLogicError();
  const int active = activePageKey_ ? activePageKey_() : -1;
  const int key = active == -1 ? 0 : active;
  const ProgramPage& page = project->Program.GetProgramPage(key);
  int network = 0;
  int column = 0;
  int row = 0;
  if (active != -1) {
    // The network of the user's cursor (or of the start of the selection).
    network = std::max(page.ViewState.SelectionFirst, 0);
    column = page.ViewState.CursorColumn;
    row = page.ViewState.CursorRow;
  }
  if (project->Program.ViewMode == kViewModeStl) return {kLocationStlOperand, key, network, 0, 0};
  return {kLocationLadOperand, key, network, column, row, 0, -1, -1};
}

void FindReplaceSession::Step(const std::wstring& status, bool up) {
  Project* project = CurrentProjectOrNull();
  if (project == nullptr) return;
  if (up) {
    StepSearchResultBack(status, project->CrossReferences);
  } else {
    StepSearchResultForward(status, project->CrossReferences);
  }
}

void FindReplaceSession::ShowCurrent(FindStepOutcome& outcome) const {
  const Project* project = CurrentProjectOrNull();
  if (project == nullptr || !project->CrossReferences.HasCurrentResult()) return;
  const CrossReferIndex& index = project->CrossReferences;
  outcome.GoTo = ToProgramLocation(index.SearchResults[index.CurrentResult].Location);
}

FindStepOutcome FindReplaceSession::Search(const std::wstring& text, bool up) {
  FindStepOutcome outcome;
  Project* project = CurrentProjectOrNull();
  if (!CanStep() || project == nullptr) return outcome;
  CrossReferIndex& index = project->CrossReferences;
  ClearProgramSearch(index);
  // No operand is looked for by an empty text: the list just empties.
  if (!text.empty()) FindInPrograms(text, index, *project);
  SortSearchResults(index, *project);
  try {
    const CrossReferLocation cursor = CursorLocation();
    if (up) {
      SeekSearchResultBefore(index, cursor);
    } else {
      SeekSearchResultAfter(index, cursor);
    }
  } catch (const ExceptionError& error) {
    outcome.Error = error.Message();
  }
  return outcome;
}

FindStepOutcome FindReplaceSession::Next(bool up) {
  FindStepOutcome outcome;
  if (!CanStep()) return outcome;
  Step(L"", up);
  ShowCurrent(outcome);
  return outcome;
}

bool FindReplaceSession::ReplaceCurrent(Project& project, const std::wstring& find, const std::wstring& replacement,
                                        bool up) {
  CrossReferIndex& index = project.CrossReferences;
  std::wstring status;
  bool replaced = false;
  if (index.HasCurrentResult() && index.SearchResults[index.CurrentResult].Address.empty()) {
    status = kSearchStatusFailed;
    int key = 0;
    ProgramSearchHit hit;
    if (SearchLocationToHit(index.SearchResults[index.CurrentResult].Location, key, hit)) {
      ProgramPage& page = project.Program.GetProgramPage(key);  // throws when the page is gone
      if (page.ReplaceInNetwork(hit, find, replacement)) {
        status = kSearchStatusReplaced;
        replaced = true;
      }
    }
  }
  Step(status, up);
  return replaced;
}

FindStepOutcome FindReplaceSession::Replace(const std::wstring& find, const std::wstring& replacement, bool up) {
  FindStepOutcome outcome;
  Project* project = CurrentProjectOrNull();
  if (!CanReplace() || project == nullptr) return outcome;
  try {
    outcome.ProgramEdited = ReplaceCurrent(*project, find, replacement, up);
  } catch (const ExceptionError& error) {
    outcome.Error = error.Message();
    return outcome;
  }
  ShowCurrent(outcome);
  return outcome;
}

FindStepOutcome FindReplaceSession::ReplaceAll(const std::wstring& find, const std::wstring& replacement, bool up) {
  FindStepOutcome outcome;
  Project* project = CurrentProjectOrNull();
  if (!CanReplace() || project == nullptr) return outcome;
  CrossReferIndex& index = project->CrossReferences;
  try {
    // Every pass marks the current result, so the loop ends once each result is handled.
    while (index.HasCurrentResult() && index.SearchResults[index.CurrentResult].Address.empty()) {
      if (ReplaceCurrent(*project, find, replacement, up)) outcome.ProgramEdited = true;
    }
  } catch (const ExceptionError& error) {
    // The replacements made before the error stay made and are still announced.
    outcome.Error = error.Message();
    return outcome;
  }
  ShowCurrent(outcome);
  return outcome;
}

FindStepOutcome FindReplaceSession::TakeRow(int row) {
  FindStepOutcome outcome;
  Project* project = CurrentProjectOrNull();
  if (!CanStep() || project == nullptr) return outcome;
  CrossReferIndex& index = project->CrossReferences;
  if (row >= 0 && static_cast<size_t>(row) < index.SearchResults.size()) index.CurrentResult = static_cast<size_t>(row);
  ShowCurrent(outcome);
  return outcome;
}

std::vector<FindResultRowText> FindReplaceSession::Rows() const {
  std::vector<FindResultRowText> rows;
  const Project* project = CurrentProjectOrNull();
  if (project == nullptr) return rows;
  for (const CrossReferRow& result : project->CrossReferences.SearchResults) {
    FindResultRowText row;
    if (result.Address == kSearchStatusReplaced) {
      row.Status = TextReplaced();
    } else if (result.Address == kSearchStatusFailed) {
      row.Status = TextFailed();
    } else {
      row.Status = result.Address;
    }
    row.Location = result.LocationText;
    row.Context = result.Context;
    rows.push_back(std::move(row));
  }
  return rows;
}

int FindReplaceSession::CurrentRow() const {
  const Project* project = CurrentProjectOrNull();
  if (project == nullptr || !project->CrossReferences.HasCurrentResult()) return -1;
  return static_cast<int>(project->CrossReferences.CurrentResult);
}

}  // namespace Brenno
