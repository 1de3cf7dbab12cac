// One program unit (main program, interrupt routine or subroutine): its view state, its
// networks with their undo history, and its local variables. The program editor works on one
// page at a time through the operations here, one operation per command; every command that
// changes networks does so through ApplyNetworkEdit, so each is exactly one undo step. The
// operations announce nothing; the view repaints when they return true.
//
// Points are in page coordinates: x from the left edge of the left bars, y from the top of the
// page, whose first 17 pixels are the page header strip; network i starts at
// y = 17 + NetworksHeight(0, i).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/program/ladder_grid.h"
#include "core/program/network.h"
#include "core/program/network_undo_log.h"
#include "core/program/page_view_state.h"
#include "core/program/program_search_hit.h"
#include "core/program/var_entry.h"

namespace Brenno {

inline constexpr int kPageHeaderHeight = 17;
inline constexpr int kDefaultPageNetworks = 8;

class ProgramPage {
 public:
  PageViewState ViewState;
  NetworkUndoLog UndoLog;
  LocalVarTable LocalVars;

  // A page with n default (empty ladder) networks and no undo history: the page as created is
  // where undoing ends. Page id and view mode stay -1 until the block collection stamps the
  // page. Create uses n = 8.
  static void Create(ProgramPage& page);
  static void CreateSized(ProgramPage& page, size_t n);

  const std::vector<Network>& Networks() const { return UndoLog.Networks; }
  int NetworkCount() const { return static_cast<int>(UndoLog.Networks.size()); }

  // ---- Selection states.
  bool HasNetworkRange() const;
  bool IsAtCommentLevel() const;
  bool HasCursor() const;
  bool IsCommentEditorOpen() const;
  bool IsStlEditorOpen() const;
  bool IsOperandEditorOpen() const;
  bool IsCursorInCurrentNetwork() const;
  bool IsPinMarkerActive() const;

  // First, last, column and row to -1; the selected cells emptied.
  void ClearSelection();

  // ---- Geometry of the stacked networks.
  // Sum of the heights of networks from ... to-1.
  int NetworksHeight(int from, int to);
  // Largest body width + 48 over networks from ... to-1; 0 for an empty range.
  int MaxNetworkWidth(int from, int to);
  int CursorRowCount(int index);

  // ---- Debug markers. A click on line L of network i's left margin sets the PLC break point
  // there, or clears it when it is already there; nothing happens without a fresh debug
  // record of the online cache.
  void ToggleBreakpoint(int network, int line);

  // ---- Selection and mouse.
  void OnMouseDown(PagePoint point);
  void SelectAt(PagePoint point);
  void SelectAtAdding(PagePoint point);
  void ExtendSelectionTo(PagePoint point);
  bool SetSelection(int first, int last, int column, int row);
  void SelectAllNetworks();

  // ---- In-place editors.
  void OpenCommentEditorAt(PagePoint point);
  void CloseCommentEditor();
  bool ApplyCommentEdit(const std::vector<std::wstring>& lines);
  void OpenStlEditorAt(PagePoint point);
  void CloseStlEditor();
  bool ApplyStlEdit(const std::vector<std::wstring>& textLines);
  void OpenOperandEditorAt(PagePoint point);
  void OpenOperandEditorAtCursor();
  // After an operand was written: the operand editor goes on to the next operand of the same
  // element not written yet, or ends closed when there is none.
  void OpenNextEmptyOperand();
  bool GetOperandEditor(Rect& area, PagePoint& point, std::wstring& text, std::wstring& hint) const;
  bool ApplyOperandEdit(const std::wstring& text);

  // ---- Cursor keys; false when the page has no networks or the key does nothing.
  bool CollapseRange();
  bool MoveCursorLeft();
  bool MoveCursorRight();
  bool MoveCursorUp();
  bool MoveCursorDown();

  // ---- Networks and clipboard.
  bool CutNetworks(std::vector<Network>& out);
  void CopyNetworks(std::vector<Network>& out) const;
  bool PasteNetworks(const std::vector<Network>& networks);
  bool CutNetworksAsText(std::wstring& text, std::wstring_view separator);
  void CopyNetworksAsText(std::wstring& text, std::wstring_view separator) const;
  // Pastes the networks read from the text; the text is rewritten in the normal form of the
  // networks read.
  bool PasteNetworksFromText(std::wstring& text, std::wstring_view separator);
  bool DeleteNetworks();
  bool InsertNetwork();
  bool InsertNetworkBelow();
  bool ReplaceInNetwork(const ProgramSearchHit& hit, const std::wstring& find, const std::wstring& replace);
  // The networks become those read from the text, the history is cleared and the text is
  // rewritten in normal form.
  void LoadFromText(std::wstring_view separator, std::wstring& text);
  bool Undo();
  bool Redo();

  // ---- Ladder commands: view mode 2, a cell cursor and a ladder network under it; one undo
  // step when the network changed.
  bool CutLadderCells(std::vector<LadElement>& out);
  bool CopyLadderCells(std::vector<LadElement>& out);
  bool PasteLadderCells(const std::vector<LadElement>& elements);
  bool MoveSelectedElements();
  bool EraseSelectedElements();
  bool InsertVerticalLine();
  bool InsertHorizontalLine();
  bool InsertElementByDef(int definitionIndex);
  bool InsertElementByText(const std::wstring& text);
  bool DeleteLadderRow();
  bool InsertLadderRow();
  bool DeleteLadderColumn();
  bool InsertLadderColumn();

  // Whether the ladder command would change the network; the page is never changed.
  bool CanMoveSelectedElements() const;
  bool CanEraseSelectedElements() const;
  bool CanDeleteLadderRow() const;
  bool CanInsertLadderRow() const;
  bool CanDeleteLadderColumn() const;
  bool CanInsertLadderColumn() const;
  // An empty text asks only whether view mode and cursor allow an element at all.
  bool CanInsertElementByText(const std::wstring& text) const;

  // What a placement at the cursor would remove of the cursor's network besides what it
  // overwrites in its own cells: the elements that make room for it, in network order, except
  // a contact, coil or line standing in a cell the placement fills. The page is not changed;
  // empty when the placement fits, overwrites only, or cannot be made.
  std::vector<LadElement> ElementsRemovedByLine(bool vertical) const;
  std::vector<LadElement> ElementsRemovedByText(const std::wstring& text) const;
  std::vector<LadElement> ElementsRemovedByDef(int definitionIndex) const;
  std::vector<LadElement> ElementsRemovedByPaste(const std::vector<LadElement>& elements) const;
  // The element in the cursor cell becomes the selection (so that Enter opens its first operand
  // not written yet, whatever was edited before); nothing without a cell cursor on a ladder
  // network.
  void SelectCursorElement();
  // The cursor goes on along the rung from the element in its cell to the cell after it (on the
  // row of its power output), the selection staying on the element; false (nothing moves) when
  // the cell holds no element or one that ends the rung (a coil, a box without power output).
  bool MoveCursorAlongRung();
  // The open comment editor's lines become the statement list of its network, whose comment
  // stays as it was: one undo step. False unless the comment editor is open on a statement-list
  // network in statement-list view.
  bool ApplyCommentAsProgram(const std::vector<std::wstring>& lines);

 private:
  bool InNetworks(int index) const { return index >= 0 && index < NetworkCount(); }
  // Network i measured with the view state's current network set to it.
  int MeasureHeight(int index);
  // The network whose area holds y, with its top; -1 when none.
  int NetworkAtY(int y, int& top);
  // Records {index, one placeholder, [copy]} when the copy differs from the network.
  bool RecordNetworkEdit(int index, const Network& copy);
  void PlaceCursorAtOwnRect();
  // Runs `move` (a Network operand editor operation) on the cursor's network and brings the
  // editor's rectangle and point into page coordinates.
  void MoveOperandEditor(void (*move)(const Network&, PageViewState&));
  void OpenCommentEditorOn(int index, bool atBottom);
  void OpenStlEditorOn(int index, bool atBottom);
  int ViewModeChecked() const;
};

void DestroyProgramPage(ProgramPage& page);

}  // namespace Brenno
