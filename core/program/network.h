// One rung-sized unit of a program page: a block of statement-list lines or a ladder grid, with
// its comment lines. Networks are values: copying copies every line, element and comment.
//
// The geometry and editor routines take the page's view state, because the open editors, the
// selection and the markers live there; the caller sets the state's current network to the
// network it passes. Which behaviour applies depends on the network's kind and the page's view
// mode, written (kind, view): (1,1) statement list shown as such, (2,2) ladder shown as such,
// (1,2) and (2,1) a network that could not be converted to the page's view ("INVALID"). Any
// other pair throws ExceptionLogicError.
#pragma once

#include <string>
#include <vector>

#include "core/env/utilities.h"
#include "core/program/ladder_grid.h"
#include "core/program/page_view_state.h"
#include "core/program/program_search_hit.h"
#include "core/program/stl_line.h"

namespace Brenno {

enum NetworkKind : int {
  kNetworkStl = 1,
  kNetworkLad = 2,
};

// Pixel sizes of the network frame.
inline constexpr int kNetworkHeaderHeight = 17;
inline constexpr int kNetworkLeftBarWidth = 32;
inline constexpr int kNetworkRightBarWidth = 16;
inline constexpr int kNetworkLineHeight = 13;
inline constexpr int kStlBodyWidth = 420;
// A statement-list network in the ladder view: eight default cell widths less two thirds of
// one (8 x 102 - 68); it does not follow the ladder zoom.
inline constexpr int kInvalidLadBodyWidth = 748;
inline constexpr int kInvalidBodyHeight = 26;

struct Network {
  int Kind = kNetworkLad;
  std::vector<StlLine> Lines;  // the statement-list form (kind 1)
  LadderGrid Grid;             // the ladder form (kind 2)
  std::vector<std::wstring> Comments;  // one entry per comment line

  // Kind, every line, the grid and every comment line equal.
  static bool Equals(const Network& a, const Network& b);

  // Heights and widths in pixels.
  static int CommentHeight(const PageViewState& page, const Network& net);
  static int BodyWidth(const Network& net, const PageViewState& page);
  static int BodyHeight(const Network& net, const PageViewState& page);
  // Header + comment + body.
  static int Height(const Network& net, const PageViewState& page);
  static int CursorRowCount(const PageViewState& page, const Network& net);
  // Steps the PLC counts in the network: lines of a statement list (0 allowed), rows of a
  // ladder grid, 1 for a network shown in the other view.
  static int StepCount(const Network& net, const PageViewState& page);

  // Rectangles of a network whose top-left corner is (x, y).
  static Rect LeftBarRect(const Network& net, const PageViewState& page, int x, int y);
  static Rect CommentRect(const Network& net, const PageViewState& page, int x, int y);
  static Rect BodyRect(const Network& net, const PageViewState& page, int x, int y);
  static Rect CursorRect(const Network& net, const PageViewState& page, int x, int y);
  // (2,2): the hit rectangles of the selected elements; otherwise the list is emptied.
  static void SelectedElementRects(const Network& net, const PageViewState& page, int x, int y,
                                   std::vector<Rect>& out);

  // Sets the cursor from a rectangle relative to the network's corner (a point is the
  // rectangle (x, y, x+1, y+1)).
  static void PlaceCursorAt(const Network& net, PageViewState& page, const Rect& area);
  // Left margin hit test, point relative to the network corner: line 0 is the header, line
  // L >= 1 the L-th statement-list line. False when nothing is hit.
  static bool HitMarginLine(const Network& net, const PageViewState& page, int x, int y, int& line);

  // Open the ladder operand editor at a point relative to the network's corner, or at the
  // next operand of the selected elements. The editor's rectangle and point end in network
  // coordinates.
  static void OpenOperandEditorAt(const Network& net, PageViewState& page, int x, int y);
  static void OpenOperandEditorAtCursor(const Network& net, PageViewState& page);
  // From the operand just written to the next one of its element not written yet; closed when
  // there is none.
  static void OpenNextEmptyOperand(const Network& net, PageViewState& page);

  // (2,2): the instruction text of the element in the cursor cell; the text is left unchanged
  // otherwise.
  static void CursorElementText(const PageViewState& page, const Network& net, std::wstring& text);
  // Find-and-replace of one operand that the program search found.
  static bool ReplaceHit(Network& net, const PageViewState& page, const ProgramSearchHit& hit,
                         const std::wstring& find, const std::wstring& replace);
  // The statement-list editor's lines; false unless kind and view are both 1.
  static bool LoadStlEditorLines(const PageViewState& page, const Network& net, std::vector<std::wstring>& lines);
  // Fills the network from text lines first ... last-1: a line in which "//" follows nothing
  // but blanks and tabs adds the text after "//" to the comment lines; every other line (empty
  // ones too) replaces the statement-list lines, parsed or split plainly. Always true.
  static bool ParseTextLines(const PageViewState& page, Network& net, const std::vector<std::wstring>& lines,
                             size_t first, size_t last);
};

inline bool operator==(const Network& a, const Network& b) { return Network::Equals(a, b); }

void DestroyNetwork(Network& net);

}  // namespace Brenno
