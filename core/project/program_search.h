// The model side of the find and replace dialog: collecting the places where an operand text
// stands in the program, ordering them by their place, positioning a current result relative to
// the user's cursor and stepping from result to result while recording which were handled.
// Hits and results live in the project's CrossReferIndex.
//
// A search compares whole operand texts exactly (case-sensitive, no symbol translation, no
// part-word match) and reads only networks in the program's current view form. A search runs:
// ClearProgramSearch, FindInPrograms, SortSearchResults, then SeekSearchResultBefore (Up) or
// SeekSearchResultAfter (Down); each Find Next or Replace then steps with StepSearchResultBack
// or StepSearchResultForward.
#pragma once

#include <string>

#include "core/program/program_search_hit.h"
#include "core/project/cross_reference.h"

namespace Brenno {

class Project;

// The status words stored in a handled result (the dialog shows them in the user's language).
inline constexpr wchar_t kSearchStatusReplaced[] = L"Replaced";
inline constexpr wchar_t kSearchStatusFailed[] = L"Failed";

// Hits and results emptied; no current result.
void ClearProgramSearch(CrossReferIndex& index);

// Appends a hit for every operand equal to the text: statement-list operands
// {2, unit, network, line, operand} with the line's mnemonic as context, ladder operands
// {3, unit, network, column, row, id, in, out} with the decorated element name.
void FindInPrograms(const std::wstring& text, CrossReferIndex& index);
void FindInPrograms(const std::wstring& text, CrossReferIndex& index, const Project& project);

// The results from the hits in location order (hits at one place keep their order); no current
// result.
void SortSearchResults(CrossReferIndex& index);
void SortSearchResults(CrossReferIndex& index, const Project& project);

// Whether a lies before b. Only locations of the same kind 2 or 3 are ever ordered.
bool CompareLocations(const CrossReferLocation& a, const CrossReferLocation& b);
bool CompareRowLocations(const CrossReferRow& a, const CrossReferRow& b);

// The last result not after the location (the last result when every one is after it), or the
// first result not before it (the first when none is). Nothing changes without results.
void SeekSearchResultBefore(CrossReferIndex& index, const CrossReferLocation& location);
void SeekSearchResultAfter(CrossReferIndex& index, const CrossReferLocation& location);

// Stores a non-empty status into the current result, then moves back or forward around the list
// to the next result without a status (or back to where it started). Nothing happens without a
// current result.
void StepSearchResultBack(const std::wstring& status, CrossReferIndex& index);
void StepSearchResultForward(const std::wstring& status, CrossReferIndex& index);

// The program place of an operand location (kind 2 or 3) as the page's replace operation reads
// it; false for any other location.
bool SearchLocationToHit(const CrossReferLocation& location, int& unitKey, ProgramSearchHit& hit);

}  // namespace Brenno
