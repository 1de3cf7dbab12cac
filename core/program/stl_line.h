// The statement-list form of a network: one StlLine per instruction, with its text form (what
// the statement-list editor shows and the text clipboard carries), the parser that turns typed
// text back into lines, and the rewriting of operands between symbols and addresses.
//
// Parsing never throws for bad text: a line that matches no instruction definition keeps what
// was typed, token by token, so nothing the user wrote is lost. The parser and the rewrites
// read the current project through CurrentProgramServices() (program_services.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/env/utilities.h"
#include "core/program/page_view_state.h"
#include "core/program/program_search_hit.h"

namespace Brenno {

struct StlLine {
  // Instruction name as stored, without the variant suffix; empty for a blank line; the
  // address of a subroutine page for a call of that subroutine (its page name on a symbolic
  // page).
  std::wstring Mnemonic;
  // 0 = none; n picks the n-th definition variant, written Mnemonic + "#" + n.
  int Variant = 0;
  std::vector<std::wstring> Operands;
  // The line comment; only the first entry is written and shown.
  std::vector<std::wstring> Comments;
};

// Mnemonic, variant, operand list and comment list all equal.
bool StlLinesEqual(const StlLine& a, const StlLine& b);
inline bool operator==(const StlLine& a, const StlLine& b) { return StlLinesEqual(a, b); }

void DestroyStlLine(StlLine& line);
void DestroyStlLines(std::vector<StlLine>& lines, size_t first, size_t last);

// Text form of one line: "LD  I0.0", "A  I0.0, I0.1  //why", "//only a comment". Always true.
bool FormatStlLine(const StlLine& line, std::wstring& text);
// Replaces `out` with the text form of every line.
void StlLinesToText(std::vector<std::wstring>& out, const std::vector<StlLine>& lines);

// Cuts the part of the text before the first "//" at tabs, blanks and commas; runs of
// separators make no empty tokens. A text without any token gives one empty token.
std::vector<std::wstring> TokenizeStlText(std::wstring_view text);

// Parses one typed line against the current project's instruction definitions and operand
// formats. The text after the first "//" is appended to the line's comments before anything is
// checked, so it stays even when the parse fails. False (mnemonic and operands untouched) when
// the text has no token or no definition matches the mnemonic and operand count.
bool ParseStlLine(std::wstring_view text, StlLine& line, const PageViewState& page);
// The fallback when ParseStlLine fails: the first token becomes mnemonic and variant, the
// other tokens the operands, exactly as typed.
void SplitStlLinePlain(std::wstring_view text, StlLine& line);
// Replaces the lines by one line per text line (parsed, or split plainly when the parse
// fails). Always true.
bool ParseStlTextLines(std::vector<StlLine>& lines, const std::vector<std::wstring>& textLines,
                       const PageViewState& page);

// The hit's line and operand, when both exist and the operand equals `find` exactly, becomes
// `replace`.
bool ReplaceStlOperand(std::vector<StlLine>& lines, const ProgramSearchHit& hit, const std::wstring& find,
                       const std::wstring& replace);

// Subroutine calls between address and page name, operands between address and symbol (the
// page's local variables by page id). Texts that are neither stay as they are.
void StlLinesToSymbols(int pageId, std::vector<StlLine>& lines);
void StlLinesToAddresses(int pageId, std::vector<StlLine>& lines);

// Lines the body shows: the open statement-list editor's line count when it is open on the
// page's current network, else the number of lines; at least 1.
int StlBodyLineCount(const PageViewState& page, const std::vector<StlLine>& lines);
// Cursor placement from a point relative to the body origin: column 0, row (y - 2) / 13 when
// it names a line, else 0; the selected cells are emptied.
void PlaceStlCursor(int x, int y, PageViewState& page, const std::vector<StlLine>& lines);
// The cursor line of a body at the origin: (x+6, y+2+13*row)-(x+414, y+15+13*row).
void StlLineRect(Rect& out, int x, int y, const PageViewState& page);

}  // namespace Brenno
