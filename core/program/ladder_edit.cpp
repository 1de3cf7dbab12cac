#include "core/program/ladder_edit.h"


#include <algorithm>

#include "core/env/constant.h"
#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/env/ip_address.h"
#include "core/env/memory_area_manager.h"
#include "core/env/operand_format.h"
#include "core/env/operand_slot.h"
#include "core/env/utilities.h"
#include "core/program/ladder_metrics.h"
#include "core/program/definition_choice.h"
#include "core/program/program_services.h"

namespace Brenno {

namespace {

// Index of the first element with that cell and InCell, or -1.
int FindCellElement(const LadderGrid& grid, int column, int row, bool inCell) {
  for (std::size_t i = 0; i < grid.Elements.size(); ++i) {
    const LadElement& e = grid.Elements[i];
    if (e.Column == column && e.Row == row && e.InCell == inCell) return static_cast<int>(i);
  }
  return -1;
}

// The elements the selected cells refer to, in selection order, each once; cells without an
// element are left out.
std::vector<int> SelectedElementIndexes(const LadderGrid& grid, const PageViewState& state) {
  std::vector<int> indexes;
  for (const SelectedCell& cell : state.SelectedCells) {
    const int index = FindCellElement(grid, cell.Column, cell.Row, cell.InCell);
    if (index >= 0 && std::find(indexes.begin(), indexes.end(), index) == indexes.end()) indexes.push_back(index);
  }
  return indexes;
}

void RemoveElements(LadderGrid& grid, std::vector<int> indexes) {
  std::sort(indexes.begin(), indexes.end(), std::greater<int>());
  for (int index : indexes) grid.Elements.erase(grid.Elements.begin() + index);
}

void CopySelection(std::vector<LadElement>& out, const LadderGrid& grid, const PageViewState& state,
                   const std::vector<int>& indexes) {
  out.clear();
  for (int index : indexes) {
    LadElement copy = grid.Elements[index];
    copy.Column -= state.CursorColumn;
    copy.Row -= state.CursorRow;
    out.push_back(std::move(copy));
  }
}

// The placement rule of the place primitives.
bool PlaceAtCursor(LadElement element, const PageViewState& state, LadderGrid& grid) {
  element.Column = state.CursorColumn;
  element.Row = state.CursorRow;
  if (!CanPlaceElement(grid.Elements, element)) {
    bool changed = false;
    if (!PlaceElementReplacing(grid.Elements, element, changed)) return false;
  }
  grid.Elements.push_back(std::move(element));
  UpdateLadderExtent(grid);
  return true;
}

// Round a pixel distance to whole cells, halves away from zero.
int CellsFromPixels(int distance, int cell) {
  if (cell <= 0) return 0;
  return distance > 0 ? (distance + cell / 2) / cell : (distance - cell / 2) / cell;
}

// Shared tail of the row and column edits.
bool FinishGridEdit(LadderGrid& grid) {
  if (!IsLadderGridConsistent(grid.Elements)) return false;
  UpdateLadderExtent(grid);
  return true;
}

template <class Removed, class Shift>
bool EditGridLines(LadderGrid& grid, Removed removed, Shift shift) {
  for (const LadElement& e : grid.Elements) CheckLadElement(e);
  std::vector<LadElement> kept;
  kept.reserve(grid.Elements.size());
  for (LadElement& e : grid.Elements) {
    if (removed(e)) continue;
    shift(e);
    kept.push_back(std::move(e));
  }
  grid.Elements = std::move(kept);
  return FinishGridEdit(grid);
}

// The element of a definition (step shared by the text parser and the definition builder):
// kind, keyword, variant and pins; the operand lists are left to the caller.
LadElement ElementShellFromDef(const FunLadRecord& def, int variant) {
  LadElement e;
  e.Column = 0;
  e.Row = 0;
  e.InCell = true;
  e.Kind = def.Look;
  e.Name = def.Keyword;
  e.Variant = variant;
  for (std::size_t i = 0; i < def.PowerIn.size(); ++i) e.PowerIn.push_back({static_cast<int>(i), def.PowerIn[i]});
  for (std::size_t i = 0; i < def.PowerOut.size(); ++i) e.PowerOut.push_back({static_cast<int>(i), def.PowerOut[i]});
  return e;
}

template <class Element, class Visit>
void ForEachOperandList(Element& e, Visit visit) {
  visit(e.OperandId);
  visit(e.OperandIn);
  visit(e.OperandOut);
}

}  // namespace

// ---- Definitions and instruction text.

void DealOperandsOfDef(LadElement& element, const InstructionLibrary& library, const FunLadRecord& def,
                       const std::vector<std::wstring>& texts,
                       const std::function<std::wstring(const std::wstring&, const OperandDef&)>& prepare) {
  const std::vector<int> order = LadOperandOrder(library, def);
  const bool byPlace = LadElement::SlotIsInstructionPlace(def.Look);
  std::size_t k = 0;
  auto deal = [&](std::vector<ElementOperand>& list, const std::vector<OperandDef>& defs) {
    list.clear();
    for (std::size_t i = 0; i < defs.size(); ++i, ++k) {
      const std::size_t place = static_cast<std::size_t>(order[k]);
      const std::wstring text = place < texts.size() ? prepare(texts[place], defs[i]) : std::wstring(L"???");
      list.push_back({static_cast<int>(byPlace ? place : i), defs[i].Name, text});
    }
  };
  deal(element.OperandId, def.OperandId);
  deal(element.OperandIn, def.OperandIn);
  deal(element.OperandOut, def.OperandOut);
}

bool UpgradeLadElementToLibrary(LadElement& element, const InstructionLibrary& library,
                                const std::vector<const FunLadRecord*>& sameKeyword) {
  if (!element.InCell || !LadElement::SlotIsInstructionPlace(element.Kind) || element.Kind == kLadKindLine) {
    return false;
  }
  const std::size_t ids = element.OperandId.size();
  const std::size_t ins = element.OperandIn.size();
  const std::size_t count = ids + ins + element.OperandOut.size();
  // The definitions of the element's kind and operand count whose lists it fits (bound) or not
  // (regroup); a list of them is made only where one keyword has several of a shape.
  auto fits = [&](const FunLadRecord& def) { return def.OperandId.size() == ids && def.OperandIn.size() == ins; };
  auto candidates = [&](bool fitting) {
    std::vector<const FunLadRecord*> list;
    for (const FunLadRecord* def : sameKeyword) {
      if (def->Look == element.Kind && def->OperandCount() == count && fits(*def) == fitting) list.push_back(def);
    }
    return list;
  };
  const FunLadRecord* bound = nullptr;
  const FunLadRecord* regroup = nullptr;
  int bindings = 0;
  int regroupings = 0;
  for (const FunLadRecord* def : sameKeyword) {
    if (def->Look != element.Kind || def->OperandCount() != count) continue;
    if (fits(*def)) {
      bound = def;
      ++bindings;
    } else {
      regroup = def;
      ++regroupings;
    }
  }
  if (bindings > 1) bound = ChooseElementDefinition(candidates(true), element);
  if (bound != nullptr) {
    // In line with its definition: only the places may be those of an older set (each list
    // counted from 0), and they are mended where they stand.
    const std::vector<int>* positions = LadOperandPositionsOf(library, *bound);
    bool changed = false;
    std::size_t k = 0;
    ForEachOperandList(element, [&](std::vector<ElementOperand>& list) {
      for (ElementOperand& operand : list) {
        const int place = positions != nullptr ? (*positions)[k] : static_cast<int>(k);
        if (operand.Slot != place) {
          operand.Slot = place;
          changed = true;
        }
        ++k;
      }
    });
    return changed;
  }
  if (regroup == nullptr) return false;  // nothing tells which definition is meant
  // An older set listed the operands in the order of the instruction.
  std::vector<std::wstring> texts;
  ForEachOperandList(element, [&](const std::vector<ElementOperand>& list) {
    for (const ElementOperand& operand : list) texts.push_back(operand.Text);
  });
  // Of definitions that share the shape, the one the operands are written for.
  if (regroupings > 1) regroup = ChooseTypedDefinition(library, candidates(false), texts);
  DealOperandsOfDef(element, library, *regroup, texts, [](const std::wstring& text, const OperandDef&) { return text; });
  return true;
}

const FunLadRecord* LadElement::FindDefinition(const LadElement& element) {
  const ProgramServices& services = CurrentProgramServices();
  std::wstring name = element.Name;
  services.ReplacePageNameByReferenceName(name);
  LadElementKey key;
  key.Kind = element.Kind;
  key.Name = name;
  key.IdCount = element.OperandId.size();
  key.InCount = element.OperandIn.size();
  key.OutCount = element.OperandOut.size();
  std::vector<const FunLadRecord*> found;
  FindLadElementDefs(services.Library(), key, found);
  return ChooseElementDefinition(found, element);
}

bool LadElement::ToInstructionText(const LadElement& element, const PageViewState& state, std::wstring& text) {
  const FunLadRecord* def = FindDefinition(element);
  if (def == nullptr) return false;
  std::wstring mnemonic = def->Name;
  if (state.Symbolic) CurrentProgramServices().ReplacePageAddressByName(mnemonic);
  std::wstring result;
  ComposeIndexedName(result, mnemonic, element.Variant);
  result += L"  ";
  bool first = true;
  for (const ElementOperand* operand : OperandsInInstructionOrder(element)) {
    if (!first) result += L", ";
    result += operand->Text;
    first = false;
  }
  if (!element.Comments.empty()) result += L"//" + element.Comments.front();
  text = std::move(result);
  return true;
}

std::wstring NormalizeLadderOperand(const std::wstring& text, const OperandDef& definition,
                                    const PageViewState& state) {
  const ProgramServices& services = CurrentProgramServices();
  const MemoryAreaManager& map = services.MemoryMap();
  std::wstring result = text;
  services.LookupSymbolNamePrefixed(result, state.PageId);
  OperandWord word{};
  std::wstring address;
  if (ParseOperandText(result, map, definition.Capacity, word) &&
      FormatOperandWord(map, definition.Capacity, word, address)) {
    result = std::move(address);
  } else if (definition.Const >= 0 && definition.Const <= 10) {
    // Tidies a valid constant into its canonical form; other text stays as typed and the
    // painter marks it.
    CheckSlotConstant(map, definition, result);
  }
  if (state.Symbolic) services.LookupOperandSymbolPrefixed(result, state.PageId);
  return result;
}

std::vector<std::wstring> TokenizeInstruction(const std::wstring& text) {
  std::vector<std::wstring> tokens;
  std::wstring token;
  for (wchar_t c : text) {
    if (c == L'\t' || c == L' ' || c == L',') {
      if (!token.empty()) tokens.push_back(std::move(token));
      token.clear();
    } else {
      token.push_back(c);
    }
  }
  if (!token.empty()) tokens.push_back(std::move(token));
  return tokens;
}

const FunLadRecord* PickTypedLadDefinition(const InstructionLibrary& library, const std::wstring& name,
                                           const std::vector<std::wstring>& texts, int pageId) {
  std::vector<const FunLadRecord*> defs;
  FilterLadElementDefsByOperandCount(defs, library, name, texts.size());
  if (defs.empty()) FilterLadElementDefsByName(defs, library, name);
  return ChooseTypedDefinition(library, defs, texts, pageId);
}

bool ParseLadElementText(const std::wstring& text, LadElement& element, const PageViewState& state) {
  const ProgramServices& services = CurrentProgramServices();
  std::wstring body = text;
  bool hasComment = false;
  std::wstring comment;
  if (const auto at = text.find(L"//"); at != std::wstring::npos) {
    hasComment = true;
    comment = text.substr(at + 2);
    body = text.substr(0, at);
  }
  const std::vector<std::wstring> tokens = TokenizeInstruction(body);
  if (tokens.empty()) return false;

  std::wstring name;
  int variant = 0;
  SplitIndexedName(name, tokens.front(), variant);
  services.ReplacePageNameByAddress(name);

  // The operands are typed in the order of the instruction; each goes to its list.
  std::vector<std::wstring> texts(tokens.begin() + 1, tokens.end());
  const FunLadRecord* chosen = PickTypedLadDefinition(services.Library(), name, texts, state.PageId);
  if (chosen == nullptr) return false;
  const FunLadRecord& def = *chosen;
  // More operands than the definition takes would be lost: refuse the text instead.
  if (texts.size() > def.OperandCount()) return false;

  LadElement result = ElementShellFromDef(def, variant);
  DealOperandsOfDef(result, services.Library(), def, texts, [&](const std::wstring& typed, const OperandDef& slot) {
    return NormalizeLadderOperand(typed, slot, state);
  });
  if (hasComment) result.Comments.push_back(comment);
  if (state.Symbolic) services.ReplaceReferenceNameByPageName(result.Name);
  element = std::move(result);
  return true;
}

bool BuildLadElementFromDef(int definitionIndex, LadElement& element, const PageViewState& state) {
  const ProgramServices& services = CurrentProgramServices();
  const std::vector<FunLadRecord>& list = services.Library().FunLadList;
  if (definitionIndex < 0 || static_cast<std::size_t>(definitionIndex) >= list.size()) return false;
  const FunLadRecord& def = list[definitionIndex];
  LadElement result = ElementShellFromDef(def, 0);
  DealOperandsOfDef(result, services.Library(), def, {},
                    [](const std::wstring& typed, const OperandDef&) { return typed; });
  if (state.Symbolic) services.ReplaceReferenceNameByPageName(result.Name);
  element = std::move(result);
  return true;
}

// ---- Clipboard, move, erase.

bool CutLadderElements(std::vector<LadElement>& out, LadderGrid& grid, PageViewState& state) {
  if (state.SelectedCells.empty()) return false;
  const std::vector<int> indexes = SelectedElementIndexes(grid, state);
  CopySelection(out, grid, state, indexes);
  RemoveElements(grid, indexes);
  state.SelectedCells.clear();
  if (indexes.empty()) return false;
  UpdateLadderExtent(grid);
  return true;
}

bool CopyLadderElements(std::vector<LadElement>& out, const LadderGrid& grid, const PageViewState& state) {
  if (state.SelectedCells.empty()) return false;
  CopySelection(out, grid, state, SelectedElementIndexes(grid, state));
  return false;
}

bool PasteLadderElements(LadderGrid& grid, const PageViewState& state, const std::vector<LadElement>& elements) {
  const int dc = state.CursorColumn;
  const int dr = state.CursorRow;
  bool changed = false;
  if (!CheckLadderFit(elements, grid.Elements, dc, dr)) {
    if (!PlaceReplacingOverlaps(elements, changed, grid.Elements, dc, dr)) return false;
  }
  for (LadElement e : elements) {
    e.Column += dc;
    e.Row += dr;
    grid.Elements.push_back(std::move(e));
    changed = true;
  }
  if (changed) UpdateLadderExtent(grid);
  return changed;
}

bool MoveLadderElements(LadderGrid& grid, PageViewState& state) {
  const LadderMetrics& metrics = GetLadderMetrics();
  const int dx = CellsFromPixels(state.MousePoint.x - state.PressPoint.x, metrics.CellWidth);
  const int dy = CellsFromPixels(state.MousePoint.y - state.PressPoint.y, metrics.CellHeight);
  if (dx == 0 && dy == 0) return false;
  const std::vector<int> indexes = SelectedElementIndexes(grid, state);
  if (indexes.empty()) return false;
  for (int index : indexes) {
    grid.Elements[index].Column += dx;
    grid.Elements[index].Row += dy;
  }
  if (!IsLadderGridConsistent(grid.Elements)) return false;
  for (SelectedCell& cell : state.SelectedCells) {
    cell.Column += dx;
    cell.Row += dy;
  }
  UpdateLadderExtent(grid);
  return true;
}

bool EraseLadderElements(LadderGrid& grid, PageViewState& state) {
  bool removed = false;
  while (!state.SelectedCells.empty()) {
    const SelectedCell cell = state.SelectedCells.back();
    state.SelectedCells.pop_back();
    const int index = FindCellElement(grid, cell.Column, cell.Row, cell.InCell);
    if (index < 0) continue;
    grid.Elements.erase(grid.Elements.begin() + index);
    removed = true;
  }
  if (removed) UpdateLadderExtent(grid);
  return removed;
}

// ---- Placing.

bool PlaceVerticalLink(const PageViewState& state, LadderGrid& grid) {
  LadElement link;
  link.InCell = false;
  link.Kind = kLadKindLine;
  return PlaceAtCursor(std::move(link), state, grid);
}

bool PlaceHorizontalLine(const PageViewState& state, LadderGrid& grid) {
  LadElement line;
  line.InCell = true;
  line.Kind = kLadKindLine;
  return PlaceAtCursor(std::move(line), state, grid);
}

bool PlaceElementByDef(const PageViewState& state, LadderGrid& grid, int definitionIndex) {
  LadElement element;
  if (!BuildLadElementFromDef(definitionIndex, element, state)) return false;
  return PlaceAtCursor(std::move(element), state, grid);
}

bool PlaceElementByText(const PageViewState& state, const std::wstring& text, LadderGrid& grid) {
  LadElement element;
  if (!ParseLadElementText(text, element, state)) return false;
  return PlaceAtCursor(std::move(element), state, grid);
}

// ---- Rows and columns.

bool DeleteGridRow(LadderGrid& grid, const PageViewState& state) {
  const int row = state.CursorRow;
  return EditGridLines(
      grid, [row](const LadElement& e) { return e.Row == row; },
      [row](LadElement& e) {
        if (e.Row > row) --e.Row;
      });
}

bool InsertGridRow(LadderGrid& grid, const PageViewState& state) {
  const int row = state.CursorRow;
  return EditGridLines(
      grid, [](const LadElement&) { return false; },
      [row](LadElement& e) {
        if (e.Row >= row) ++e.Row;
      });
}

bool DeleteGridColumn(LadderGrid& grid, const PageViewState& state) {
  const int column = state.CursorColumn;
  return EditGridLines(
      grid, [column](const LadElement& e) { return e.Column == column; },
      [column](LadElement& e) {
        if (e.Column > column) --e.Column;
      });
}

bool InsertGridColumn(LadderGrid& grid, const PageViewState& state) {
  const int column = state.CursorColumn;
  return EditGridLines(
      grid, [](const LadElement&) { return false; },
      [column](LadElement& e) {
        if (e.Column >= column) ++e.Column;
      });
}

// ---- Operands.

bool ApplyLadderOperandEdit(LadderGrid& grid, const PageViewState& state, const std::wstring& text) {
  const OperandEditorState& editor = state.OperandEditor;
  const int index = FindCellElement(grid, editor.Column, editor.Row, true);
  if (index < 0) return false;
  LadElement& element = grid.Elements[index];
  CheckLadElement(element);

  std::vector<ElementOperand>* list = nullptr;
  int slot = -1;
  int listKind = 0;  // 0 id, 1 in, 2 out
  if (editor.IdIndex != -1) {
    list = &element.OperandId;
    slot = editor.IdIndex;
  } else if (editor.InIndex == -1) {
    if (editor.OutIndex == -1) throw ExceptionLogicError();
    list = &element.OperandOut;
    slot = editor.OutIndex;
    listKind = 2;
  } else {
    list = &element.OperandIn;
    slot = editor.InIndex;
    listKind = 1;
  }
  if (slot < 0 || static_cast<std::size_t>(slot) >= list->size()) return false;

  std::wstring stored;
  if (element.Name == kIpAddressElementName && listKind == 1 && slot == 0) {
    // The module's IPv4 address: anything that is no address is refused rather than stored
    // as 255.255.255.255.
    if (!CanonicalIpv4Text(text, stored)) return false;
  } else {
    stored = text;
    const FunLadRecord* def = LadElement::FindDefinition(element);
    if (def != nullptr) {
      const std::vector<OperandDef>& defs =
          listKind == 0 ? def->OperandId : (listKind == 1 ? def->OperandIn : def->OperandOut);
      if (static_cast<std::size_t>(slot) < defs.size()) stored = NormalizeLadderOperand(text, defs[slot], state);
    }
  }
  (*list)[slot].Text = std::move(stored);
  UpdateLadderExtent(grid);
  return true;
}

bool ReplaceLadderOperandText(LadderGrid& grid, const ProgramSearchHit& hit, const std::wstring& searchText,
                              const std::wstring& replacement) {
  const int index = FindCellElement(grid, hit.Column, hit.Row, true);
  if (index < 0) return false;
  LadElement& element = grid.Elements[index];
  CheckLadElement(element);
  std::vector<ElementOperand>* list = nullptr;
  int slot = -1;
  if (hit.IdIndex != -1) {
    list = &element.OperandId;
    slot = hit.IdIndex;
  } else if (hit.InIndex != -1) {
    list = &element.OperandIn;
    slot = hit.InIndex;
  } else if (hit.OutIndex != -1) {
    list = &element.OperandOut;
    slot = hit.OutIndex;
  }
  if (list == nullptr || slot < 0 || static_cast<std::size_t>(slot) >= list->size()) return false;
  ElementOperand& operand = (*list)[slot];
  if (operand.Text != searchText) return false;
  operand.Text = replacement;
  UpdateLadderExtent(grid);
  return true;
}

namespace {

void ConvertLadderNetwork(int pageId, LadderGrid& grid, bool toSymbols) {
  const ProgramServices& services = CurrentProgramServices();
  for (LadElement& e : grid.Elements) {
    CheckLadElement(e);
    if (!e.InCell || e.Kind == kLadKindLine) continue;
    if (toSymbols) {
      services.ReplaceReferenceNameByPageName(e.Name);
    } else {
      services.ReplacePageNameByReferenceName(e.Name);
    }
    ForEachOperandList(e, [&](std::vector<ElementOperand>& list) {
      for (ElementOperand& operand : list) {
        if (toSymbols) {
          services.LookupOperandSymbolPrefixed(operand.Text, pageId);
        } else {
          services.LookupSymbolNamePrefixed(operand.Text, pageId);
        }
      }
    });
  }
}

}  // namespace

void ConvertLadderNetworkToSymbols(int pageId, LadderGrid& grid) { ConvertLadderNetwork(pageId, grid, true); }

void ConvertLadderNetworkToAddresses(int pageId, LadderGrid& grid) { ConvertLadderNetwork(pageId, grid, false); }

}  // namespace Brenno
