// Statement-list lines typed by the user: the parser (against the fixture type's instruction
// definitions, operand formats and symbols), the plain split it falls back to, the text form
// and the symbol/address rewriting.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/program/stl_line.h"
#include "fuzz_program_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzprogram::InstallFixtureProject();
  if (size == 0) return 0;
  Brenno::PageViewState page;
  page.PageId = 0;
  page.ViewMode = 1;
  page.Symbolic = (data[0] & 1) != 0;
  const std::wstring text = fuzzprogram::InputText(data + 1, size - 1);

  Brenno::StlLine line;
  if (!Brenno::ParseStlLine(text, line, page)) Brenno::SplitStlLinePlain(text, line);
  std::wstring written;
  Brenno::FormatStlLine(line, written);

  // Reading the written form again gives the same tokens.
  Brenno::StlLine again;
  Brenno::SplitStlLinePlain(written, again);
  if (line.Comments.empty() && line.Mnemonic.find(L"//") == std::wstring::npos &&
      (again.Mnemonic != line.Mnemonic || again.Variant != line.Variant)) {
    bool separatorInside = false;
    for (wchar_t c : line.Mnemonic) separatorInside |= c == L' ' || c == L'\t' || c == L',';
    if (!separatorInside && !line.Mnemonic.empty()) std::abort();
  }

  std::vector<Brenno::StlLine> lines = {line};
  Brenno::StlLinesToSymbols(0, lines);
  Brenno::StlLinesToAddresses(0, lines);
  std::vector<std::wstring> texts;
  Brenno::StlLinesToText(texts, lines);
  return 0;
}
