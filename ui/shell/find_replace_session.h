// What the find and replace dialog does, without its window: searching the current project's
// program for an operand text, placing the current result relative to where the user stands in
// the program editor, stepping through the results, replacing operands and marking each result
// "Replaced" or "Failed". The hits and results live in the project's search index
// (program_search.h); the session only drives it and tells the dialog what to announce.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/project/cross_reference.h"
#include "ui/views/program_location.h"

namespace Brenno {

class AppEnvironment;
class Project;

// One row of the result list as the dialog shows it.
struct FindResultRowText {
  std::wstring Status;  // empty, or "Replaced" / "Failed" in the current language
  std::wstring Location;
  std::wstring Context;
  bool operator==(const FindResultRowText&) const = default;
};

// What a command asks the dialog to do after it: announce that the program was edited, show a
// location in the program editor, show an error (the command then ended early).
struct FindStepOutcome {
  bool ProgramEdited = false;
  std::optional<ProgramLocation> GoTo;
  std::optional<std::wstring> Error;
};

// The place a search result names, as the location requests carry it.
ProgramLocation ToProgramLocation(const CrossReferLocation& location);

class FindReplaceSession {
 public:
  explicit FindReplaceSession(AppEnvironment& env);

  // The program editor's active page key (-1 when none); without a source no editor is open.
  void SetActivePageKeySource(std::function<int()> source) { activePageKey_ = std::move(source); }

  // Stepping, searching and taking a clicked result act in every state except while a command
  // job holds the project (2, 6, 7); replacing only offline.
  bool CanStep() const;
  bool CanReplace() const;

  // A fresh search: hits and results emptied, every operand equal to the text found (an empty
  // text finds nothing), the results sorted, and the current result placed at the user's
  // cursor: with `up` the last result at or before it (else the last), otherwise the first at
  // or after it (else the first). Error: the active page is in neither block table.
  FindStepOutcome Search(const std::wstring& text, bool up);
  // To the previous (up) or next result not yet handled, wrapping; shows it.
  FindStepOutcome Next(bool up);
  // Replaces the operand of the current result when it is not yet handled, marks it and moves on
  // to the next result not yet handled; shows that one.
  FindStepOutcome Replace(const std::wstring& find, const std::wstring& replacement, bool up);
  // Replace repeated until every result is handled.
  FindStepOutcome ReplaceAll(const std::wstring& find, const std::wstring& replacement, bool up);
  // The result of a clicked row becomes the current one (a row outside the results: none is
  // taken); shows the current result.
  FindStepOutcome TakeRow(int row);

  // The rows of the result list and the row of the current result (-1 when none).
  std::vector<FindResultRowText> Rows() const;
  int CurrentRow() const;

  // Where the user stands: {2, key, network, 0, 0} in statement-list view, {3, key, network,
  // column, row, 0, -1, -1} in ladder view; the key is the active page key, and without an
  // active page the key and every position are 0. Throws ExceptionLogicError when the page is
  // in neither block table.
  CrossReferLocation CursorLocation() const;

 private:
  Project* CurrentProjectOrNull() const;
  // Replace steps 2 and 3 on the current result; true when the operand was replaced.
  bool ReplaceCurrent(Project& project, const std::wstring& find, const std::wstring& replacement, bool up);
  void Step(const std::wstring& status, bool up);
  void ShowCurrent(FindStepOutcome& outcome) const;

  AppEnvironment& env_;
  std::function<int()> activePageKey_;
};

}  // namespace Brenno
