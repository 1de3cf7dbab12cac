#include "core/program/stl_line.h"

#include "core/env/constant.h"
#include "core/env/data_type.h"
#include "core/env/instruction_library.h"
#include "core/env/memory_area_manager.h"
#include "core/env/operand_format.h"
#include "core/env/operand_slot.h"
#include "core/env/operand_word.h"
#include "core/program/definition_choice.h"
#include "core/program/program_services.h"

namespace Brenno {

namespace {

constexpr std::wstring_view kCommentMark = L"//";

bool IsStlSeparator(wchar_t c) { return c == L'\t' || c == L' ' || c == L','; }

// The first token as mnemonic and variant. A suffix that is not a plain number ("X#a") would
// be lost by the split, so such a token is kept whole as the mnemonic.
void SplitMnemonicToken(const std::wstring& token, std::wstring& mnemonic, int& variant) {
  std::wstring name;
  int index = 0;
  SplitIndexedName(name, token, index);
  std::wstring again;
  ComposeIndexedName(again, name, index);
  if (again == token) {
    mnemonic = std::move(name);
    variant = index;
  } else {
    mnemonic = token;
    variant = 0;
  }
}

// One operand, normalised against its slot: a symbol becomes its address, an address of the
// slot's format is written canonically, anything else is tidied as a constant of the slot's
// type when it is one; on a symbolic page the address turns back into its symbol.
std::wstring NormalizeStlOperand(const std::wstring& token, const OperandDef& slot, const PageViewState& page,
                                 const ProgramServices& services) {
  std::wstring text = token;
  services.LookupSymbolNamePrefixed(text, page.PageId);
  OperandWord word = 0;
  std::wstring canonical;
  if (ParseOperandText(text, services.MemoryMap(), slot.Capacity, word) &&
      FormatOperandWord(services.MemoryMap(), slot.Capacity, word, canonical)) {
    text = std::move(canonical);
  } else if (slot.Const >= kDataTypeBit && slot.Const <= kDataTypeReal) {
    CheckSlotConstant(services.MemoryMap(), slot, text);
  }
  if (page.Symbolic) services.LookupOperandSymbolPrefixed(text, page.PageId);
  return text;
}

}  // namespace

bool StlLinesEqual(const StlLine& a, const StlLine& b) {
  return a.Mnemonic == b.Mnemonic && a.Variant == b.Variant && a.Operands == b.Operands &&
         a.Comments == b.Comments;
}

void DestroyStlLine(StlLine& line) {
  std::wstring().swap(line.Mnemonic);
  std::vector<std::wstring>().swap(line.Operands);
  std::vector<std::wstring>().swap(line.Comments);
}

void DestroyStlLines(std::vector<StlLine>& lines, size_t first, size_t last) {
  for (size_t i = first; i < last && i < lines.size(); ++i) DestroyStlLine(lines[i]);
}

bool FormatStlLine(const StlLine& line, std::wstring& text) {
  std::wstring out;
  ComposeIndexedName(out, line.Mnemonic, line.Variant);
  for (size_t i = 0; i < line.Operands.size(); ++i) {
    out += i == 0 ? L"  " : L", ";
    out += line.Operands[i];
  }
  if (!line.Comments.empty()) {
    if (!line.Mnemonic.empty()) out += L"  ";
    out += kCommentMark;
    out += line.Comments.front();
  }
  text = std::move(out);
  return true;
}

void StlLinesToText(std::vector<std::wstring>& out, const std::vector<StlLine>& lines) {
  std::vector<std::wstring> texts;
  texts.reserve(lines.size());
  for (const StlLine& line : lines) {
    std::wstring text;
    FormatStlLine(line, text);
    texts.push_back(std::move(text));
  }
  out = std::move(texts);
}

std::vector<std::wstring> TokenizeStlText(std::wstring_view text) {
  const size_t comment = text.find(kCommentMark);
  const std::wstring_view body = comment == std::wstring_view::npos ? text : text.substr(0, comment);
  std::vector<std::wstring> tokens;
  size_t i = 0;
  while (i < body.size()) {
    while (i < body.size() && IsStlSeparator(body[i])) ++i;
    const size_t start = i;
    while (i < body.size() && !IsStlSeparator(body[i])) ++i;
    if (i > start) tokens.emplace_back(body.substr(start, i - start));
  }
  if (tokens.empty()) tokens.emplace_back();
  return tokens;
}

bool ParseStlLine(std::wstring_view text, StlLine& line, const PageViewState& page) {
  const size_t comment = text.find(kCommentMark);
  if (comment != std::wstring_view::npos) line.Comments.emplace_back(text.substr(comment + kCommentMark.size()));

  const std::vector<std::wstring> tokens = TokenizeStlText(text);
  if (tokens.front().empty()) return false;

  const ProgramServices& services = CurrentProgramServices();
  std::wstring mnemonic;
  int variant = 0;
  SplitIndexedName(mnemonic, tokens.front(), variant);
  services.ReplacePageNameByAddress(mnemonic);

  const FunStlRecord* found =
      FindStlLineDefinition(services.Library(), mnemonic, std::span(tokens).subspan(1), page.PageId);
  if (found == nullptr) return false;

  const FunStlRecord& definition = *found;
  std::vector<std::wstring> operands;
  operands.reserve(tokens.size() - 1);
  for (size_t i = 1; i < tokens.size(); ++i) {
    operands.push_back(NormalizeStlOperand(tokens[i], definition.Operands[i - 1], page, services));
  }
  if (page.Symbolic) services.ReplacePageAddressByName(mnemonic);
  line.Mnemonic = std::move(mnemonic);
  line.Variant = variant;
  line.Operands = std::move(operands);
  return true;
}

void SplitStlLinePlain(std::wstring_view text, StlLine& line) {
  std::vector<std::wstring> tokens = TokenizeStlText(text);
  SplitMnemonicToken(tokens.front(), line.Mnemonic, line.Variant);
  line.Operands.assign(std::make_move_iterator(tokens.begin() + 1), std::make_move_iterator(tokens.end()));
}

bool ParseStlTextLines(std::vector<StlLine>& lines, const std::vector<std::wstring>& textLines,
                       const PageViewState& page) {
  std::vector<StlLine> parsed;
  parsed.reserve(textLines.size());
  for (const std::wstring& text : textLines) {
    StlLine line;
    if (!ParseStlLine(text, line, page)) SplitStlLinePlain(text, line);
    parsed.push_back(std::move(line));
  }
  lines = std::move(parsed);
  return true;
}

bool ReplaceStlOperand(std::vector<StlLine>& lines, const ProgramSearchHit& hit, const std::wstring& find,
                       const std::wstring& replace) {
  if (hit.Line < 0 || static_cast<size_t>(hit.Line) >= lines.size()) return false;
  StlLine& line = lines[static_cast<size_t>(hit.Line)];
  if (hit.Operand < 0 || static_cast<size_t>(hit.Operand) >= line.Operands.size()) return false;
  std::wstring& operand = line.Operands[static_cast<size_t>(hit.Operand)];
  if (operand != find) return false;
  operand = replace;
  return true;
}

void StlLinesToSymbols(int pageId, std::vector<StlLine>& lines) {
  const ProgramServices& services = CurrentProgramServices();
  for (StlLine& line : lines) {
    services.ReplacePageAddressByName(line.Mnemonic);
    for (std::wstring& operand : line.Operands) services.LookupOperandSymbolPrefixed(operand, pageId);
  }
}

void StlLinesToAddresses(int pageId, std::vector<StlLine>& lines) {
  const ProgramServices& services = CurrentProgramServices();
  for (StlLine& line : lines) {
    services.ReplacePageNameByAddress(line.Mnemonic);
    for (std::wstring& operand : line.Operands) services.LookupSymbolNamePrefixed(operand, pageId);
  }
}

int StlBodyLineCount(const PageViewState& page, const std::vector<StlLine>& lines) {
  const bool editorHere = page.StlEditor.Open && page.SelectionFirst == page.CurrentNetwork &&
                          page.SelectionFirst == page.SelectionLast && page.SelectionFirst != -1;
  const size_t count = editorHere ? page.StlEditor.Lines.size() : lines.size();
  return count < 1 ? 1 : static_cast<int>(count);
}

void PlaceStlCursor(int x, int y, PageViewState& page, const std::vector<StlLine>& lines) {
  page.CursorColumn = 0;
  const long long offset = static_cast<long long>(y) - 2;
  page.CursorRow = offset >= 0 && offset < 13LL * static_cast<long long>(lines.size()) ? static_cast<int>(offset / 13) : 0;
  page.SelectedCells.clear();
}

void StlLineRect(Rect& out, int x, int y, const PageViewState& page) {
  out = Rect{x + 6, y + 2 + 13 * page.CursorRow, x + 414, y + 15 + 13 * page.CursorRow};
}

}  // namespace Brenno
