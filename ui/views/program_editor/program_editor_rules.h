// The decisions of the program editor view that need no window: which page operation a key
// runs, which characters open the instruction editor, which commands are enabled and ticked,
// the zoom steps, the scroll steps, where the in-place editors go and how a selection band
// selects networks. The view asks these and does what they say.
#pragma once

#include <optional>
#include <vector>

#include "core/env/utilities.h"
#include "core/program/ladder_metrics.h"
#include "core/program/page_view_state.h"
#include "ui/shell/main_frame_commands.h"

namespace Brenno {

class ProgramPage;

// The element the left button places in ladder view; 0 selects.
enum ElementTool : int {
  kToolSelect = 0,
  kToolVertLine = 1,
  kToolHorzLine = 2,
  kToolContact = 3,
  kToolCoil = 4,
  kToolBox = 5,
};

// Key codes the view acts on (the values of the Windows virtual keys).
enum ProgramKey : int {
  kKeyEnter = 13,
  kKeyEscape = 27,
  kKeyPageUp = 33,
  kKeyPageDown = 34,
  kKeyLeft = 37,
  kKeyUp = 38,
  kKeyRight = 39,
  kKeyDown = 40,
  kKeyDelete = 46,
  kKeyH = 72,
  kKeyV = 86,
  kKeyF2 = 113,
  kKeyF3 = 114,
  kKeyF4 = 115,
  kKeyF5 = 116,
  kKeyF6 = 117,
  kKeyF7 = 118,
  kKeyF8 = 119,
  kKeyF9 = 120,
  kKeyF10 = 121,
  kKeyF11 = 122,
};

// Command offsets of the program editor view (added to the command-id base).
enum ProgramViewCommand : int {
  PvUndo = 20121,
  PvRedo = 20122,
  PvCut = 20123,
  PvCopy = 20124,
  PvPaste = 20125,
  PvTextCut = 20126,
  PvTextCopy = 20127,
  PvTextPaste = 20128,
  PvSelectAll = 20129,
  PvFindReplace = 20130,
  PvErase = 20141,
  PvToolSelect = 20142,
  PvToolVertLine = 20143,
  PvToolHorzLine = 20144,
  PvToolContact = 20145,
  PvToolCoil = 20146,
  PvToolBox = 20147,
  PvDeleteRow = 20148,
  PvInsertRow = 20149,
  PvDeleteColumn = 20150,
  PvInsertColumn = 20151,
  PvDeleteNetwork = 20152,
  PvInsertNetwork = 20153,
  PvInsertNetworkBelow = 20154,
  PvZoom100 = 20155,
  PvZoom125 = 20156,
  PvZoom150 = 20157,
  PvZoom175 = 20158,
  PvZoom200 = 20159,
  PvOpenContact = 20241,
  PvCloseContact = 20242,
  PvPositiveContact = 20243,
  PvNegativeContact = 20244,
  PvOutputCoil = 20245,
  PvFunctionBlock = 20246,
  PvHorzLineKey = 20247,
  PvVertLineKey = 20248,
  PvInvertLine = 20249,
  PvInsertInterrupt = 20342,
  PvInsertSubroutine = 20343,
  PvDeleteInterrupt = 20344,
  PvDeleteSubroutine = 20345,
  PvZoom75 = 20393,
  PvZoom50 = 20394,
  PvZoom25 = 20395,
  PvShowContext = 20397,
  PvPasswordProtected = 20398,
};

// ---- Keys.

enum class ProgramKeyAction {
  None,
  OpenOperandEditor,
  ChooseSelectTool,
  PageUp,
  PageDown,
  MoveLeft,
  MoveRight,
  MoveUp,
  MoveDown,
  Erase,
  InsertHorizontalLine,
  InsertVerticalLine,
  InputPositiveTransition,  // F2: instruction input box with the library's LDP text
  InputNegativeTransition,  // F3: LDF
  InsertInvert,             // F4: the INV element placed at once
  InputOpenContact,         // F5: LD
  InputCloseContact,        // F6: LDI
  InputCoil,                // F7: the coil text
  InputEmpty,               // F8: the input box empty
  ListContacts,             // F9
  ListCoils,                // F10
  ListBoxes,                // F11
};

// What a key press does on a page: nothing while the page may not be edited or Ctrl is held;
// the page keys and cursor keys in every view mode, the element keys in ladder view only.
ProgramKeyAction DecideProgramKey(int key, bool ctrl, bool canEdit, int viewMode);
// Whether a typed character opens the instruction text editor (ladder view, editable page):
// letters except H and V, and = < > + - * /.
bool OpensInstructionEditor(wchar_t ch);
// The key that a click with an element tool sends: 'V', 'H', F9, F10, F11; 0 for the select tool.
int ToolKey(int tool);
// The element kind that a choice-list key lists: FX-style kinds 5 to 7, else 2 to 4; -1 for
// another action.
int ElementListKind(ProgramKeyAction action, bool fxMode);

// ---- Commands.

struct ProgramCommandGates {
  bool Shown = false;   // the view's tab is the active one
  bool Locked = false;  // the page's password lock
  int CommState = 0;
  int Tool = kToolSelect;
  int ViewZoom = 100;
  int UndoPosition = 0;
  int UndoSteps = 0;
  bool CanErase = false;
  bool CanDeleteRow = false;
  bool CanInsertRow = false;
  bool CanDeleteColumn = false;
  bool CanInsertColumn = false;
  bool CanAddInterrupt = false;
  bool CanAddSubroutine = false;
  bool InInterruptTable = false;
  bool InSubroutineTable = false;
};

// True for every command the view handles.
bool IsProgramViewCommand(int offset);
// Enabled and ticked state of a view command; both off for another offset.
CommandStatus ProgramCommandStatus(int offset, const ProgramCommandGates& gates);
// The zoom in percent of a zoom command; 0 for another offset.
int ZoomPercentOfCommand(int offset);
// The eight zoom commands, from 25 % to 200 %.
const std::vector<int>& ZoomCommands();

// ---- Geometry.

// Vertical line step (also the wheel's): 13 in statement-list view, the cell width in ladder
// view, 1 otherwise. Horizontal: 13, the cell height, 1.
int VerticalLineStep(int viewMode, const LadderMetrics& metrics);
int HorizontalLineStep(int viewMode, const LadderMetrics& metrics);

// The scroll positions that bring the selection into the part of the page in view (both in page
// coordinates): each axis is centred on the selection when the selection fits and is not
// strictly inside; nullopt for an axis that stays. Nothing for a selection of zero width.
struct ScrollTarget {
  std::optional<int> Horizontal;
  std::optional<int> Vertical;
};
ScrollTarget CentreSelection(const Rect& inView, const Rect& selection);
// The least scroll that brings a rectangle (page coordinates) into view, axis by axis: one that
// reaches beyond the bottom (right) edge comes up until its bottom (right) edge is the view's, one
// above (left of) the view comes down to its top (left) edge, one larger than the view shows its
// top (left) part. Empty on an axis where it already stands in view.
ScrollTarget RevealRect(const Rect& inView, const Rect& rect);

// Places an editor rectangle into a client area of the given size: moved up or left by what
// reaches beyond the bottom or right edge, then clipped to the top or left edge.
Rect FitIntoClient(Rect rect, int clientWidth, int clientHeight);
// The instruction text editor below the cursor cell (client coordinates): two cells wide, 17
// high; nullopt when the client area is smaller than one cell.
std::optional<Rect> PlaceInstructionEditor(const Rect& cell, int clientWidth, int clientHeight,
                                           const LadderMetrics& metrics);
// The element choice list over the cursor cell: as wide as the larger of the list width and the
// cell, `height` high; nullopt when the client area is smaller than one cell.
std::optional<Rect> PlaceElementList(const Rect& cell, int listWidth, int height, int clientWidth,
                                     int clientHeight, const LadderMetrics& metrics);

// The selection a band from the press point to the current point makes: the selection is
// cleared and the band stored; one network met gets the cursor and elements inside the band,
// several are selected as whole networks, none leaves nothing selected.
void ApplySelectionBand(ProgramPage& page, PagePoint press, PagePoint current);

}  // namespace Brenno
