#include "core/project/program_search.h"

#include <algorithm>
#include <tuple>

#include "core/program/ladder_grid.h"
#include "core/program/network.h"
#include "core/project/project.h"

namespace Brenno {

namespace {

void SearchBlockTable(const std::wstring& text, CrossReferIndex& index, const BlockTable& table, int viewMode) {
  for (const auto& [key, record] : table.Working) {
    const std::vector<Network>& networks = record.Page.Networks();
    for (size_t n = 0; n < networks.size(); ++n) {
      const Network& network = networks[n];
      if (network.Kind != viewMode) continue;
      const int net = static_cast<int>(n);
      if (network.Kind == kNetworkStl) {
        for (size_t l = 0; l < network.Lines.size(); ++l) {
          const StlLine& line = network.Lines[l];
          for (size_t i = 0; i < line.Operands.size(); ++i) {
            if (line.Operands[i] != text) continue;
            index.SearchHits.push_back(
                CrossReferUse{MakeStlOperandLocation(key, net, static_cast<int>(l), static_cast<int>(i)), line.Mnemonic, {}});
          }
        }
      } else if (network.Kind == kNetworkLad) {
        for (const LadElement& element : network.Grid.Elements) {
          const std::vector<ElementOperand>* lists[3] = {&element.OperandId, &element.OperandIn, &element.OperandOut};
          for (int list = 0; list < 3; ++list) {
            for (size_t j = 0; j < lists[list]->size(); ++j) {
              if ((*lists[list])[j].Text != text) continue;
              const int at = static_cast<int>(j);
              index.SearchHits.push_back(CrossReferUse{
                  MakeLadOperandLocation(key, net, element.Column, element.Row, list == 0 ? at : -1, list == 1 ? at : -1,
                                         list == 2 ? at : -1),
                  DecorateElementName(element.Kind, element.Name),
                  {}});
            }
          }
        }
      }
    }
  }
}

// A strict weak order for sorting the results: by kind, then by place (statement list: unit,
// network, line, operand; ladder: unit, network, cell). Results at one ladder cell compare equal
// and keep the order in which they were found (identifier, input, output operands, each list by
// index), which is the location order among them.
bool SortsBefore(const CrossReferLocation& a, const CrossReferLocation& b) {
  if (a.empty() || b.empty()) return a.size() < b.size();
  if (a[0] != b[0]) return a[0] < b[0];
  if (a[0] == kLocationStlOperand && a.size() == 5 && b.size() == 5) {
    return std::tie(a[1], a[2], a[3], a[4]) < std::tie(b[1], b[2], b[3], b[4]);
  }
  if (a[0] == kLocationLadOperand && a.size() == 8 && b.size() == 8) {
    return std::tie(a[1], a[2], a[3], a[4]) < std::tie(b[1], b[2], b[3], b[4]);
  }
  return false;
}

// Moves from the current result around the list, one step at a time, to the next result without
// a status, stopping where it started.
void StepSearchResult(const std::wstring& status, CrossReferIndex& index, bool forward) {
  if (!index.HasCurrentResult()) return;
  std::vector<CrossReferRow>& results = index.SearchResults;
  if (!status.empty()) results[index.CurrentResult].Address = status;
  const size_t start = index.CurrentResult;
  size_t at = start;
  do {
    if (forward) {
      at = at + 1 == results.size() ? 0 : at + 1;
    } else {
      at = at == 0 ? results.size() - 1 : at - 1;
    }
  } while (at != start && !results[at].Address.empty());
  index.CurrentResult = at;
}

}  // namespace

void ClearProgramSearch(CrossReferIndex& index) {
  index.SearchHits.clear();
  index.SearchResults.clear();
  index.CurrentResult = 0;
}

void FindInPrograms(const std::wstring& text, CrossReferIndex& index) { FindInPrograms(text, index, CurrentProject()); }

void FindInPrograms(const std::wstring& text, CrossReferIndex& index, const Project& project) {
  SearchBlockTable(text, index, project.Program.InterruptTable, project.Program.ViewMode);
  SearchBlockTable(text, index, project.Program.SubroutineTable, project.Program.ViewMode);
}

void SortSearchResults(CrossReferIndex& index) { SortSearchResults(index, CurrentProject()); }

void SortSearchResults(CrossReferIndex& index, const Project& project) {
  index.SearchResults.clear();
  index.SearchResults.reserve(index.SearchHits.size());
  for (const CrossReferUse& hit : index.SearchHits) {
    CrossReferRow row;
    row.Location = hit.Location;
    FormatSearchLocation(hit.Location, project, row.LocationText);
    row.Context = hit.Context;
    index.SearchResults.push_back(std::move(row));
  }
  std::stable_sort(index.SearchResults.begin(), index.SearchResults.end(),
                   [](const CrossReferRow& a, const CrossReferRow& b) { return SortsBefore(a.Location, b.Location); });
  index.CurrentResult = index.SearchResults.size();
}

bool CompareLocations(const CrossReferLocation& a, const CrossReferLocation& b) {
  if (a.empty() || b.empty() || a[0] != b[0]) return false;
  if (a[0] == kLocationStlOperand) {
    if (a.size() != 5 || b.size() != 5) return false;
    return std::tie(a[1], a[2], a[3], a[4]) < std::tie(b[1], b[2], b[3], b[4]);
  }
  if (a[0] == kLocationLadOperand) {
    if (a.size() != 8 || b.size() != 8) return false;
    if (std::tie(a[1], a[2], a[3], a[4]) != std::tie(b[1], b[2], b[3], b[4])) {
      return std::tie(a[1], a[2], a[3], a[4]) < std::tie(b[1], b[2], b[3], b[4]);
    }
    if (a[5] != -1 && a[5] < b[5]) return true;
    if (a[6] != -1 && a[6] < b[6]) return true;
    return a[7] != -1 && a[7] < b[7];
  }
  return false;
}

bool CompareRowLocations(const CrossReferRow& a, const CrossReferRow& b) { return CompareLocations(a.Location, b.Location); }

void SeekSearchResultBefore(CrossReferIndex& index, const CrossReferLocation& location) {
  const std::vector<CrossReferRow>& results = index.SearchResults;
  if (results.empty()) return;
  size_t at = results.size();
  while (at > 0 && CompareLocations(location, results[at - 1].Location)) --at;
  index.CurrentResult = at == 0 ? results.size() - 1 : at - 1;
}

void SeekSearchResultAfter(CrossReferIndex& index, const CrossReferLocation& location) {
  const std::vector<CrossReferRow>& results = index.SearchResults;
  if (results.empty()) return;
  size_t at = 0;
  while (at < results.size() && CompareLocations(results[at].Location, location)) ++at;
  index.CurrentResult = at == results.size() ? 0 : at;
}

void StepSearchResultBack(const std::wstring& status, CrossReferIndex& index) { StepSearchResult(status, index, false); }

void StepSearchResultForward(const std::wstring& status, CrossReferIndex& index) { StepSearchResult(status, index, true); }

bool SearchLocationToHit(const CrossReferLocation& location, int& unitKey, ProgramSearchHit& hit) {
  if (location.size() == 5 && location[0] == kLocationStlOperand) {
    unitKey = location[1];
    hit = ProgramSearchHit{};
    hit.Kind = kSearchHitStlOperand;
    hit.Network = location[2];
    hit.Line = location[3];
    hit.Operand = location[4];
    return true;
  }
  if (location.size() == 8 && location[0] == kLocationLadOperand) {
    unitKey = location[1];
    hit = ProgramSearchHit{};
    hit.Kind = kSearchHitLadOperand;
    hit.Network = location[2];
    hit.Column = location[3];
    hit.Row = location[4];
    hit.IdIndex = location[5];
    hit.InIndex = location[6];
    hit.OutIndex = location[7];
    return true;
  }
  return false;
}

}  // namespace Brenno
