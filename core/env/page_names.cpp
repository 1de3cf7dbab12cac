#include "core/env/page_names.h"

#include "core/env/utilities.h"

namespace Brenno {

std::wstring DefaultProgramUnitName(int key) {
  if (IsSubroutineUnitKey(key)) return L"SBR_" + std::to_wstring(ProgramUnitNumber(key));
  if (key == kMainProgramKey) return L"MAIN";
  return L"INT_" + std::to_wstring(ProgramUnitNumber(key));
}

std::wstring ProgramUnitAddress(int key) {
  return (IsSubroutineUnitKey(key) ? L"SBR" : L"INT") + std::to_wstring(ProgramUnitNumber(key));
}

std::wstring NormalizeNumberedName(std::wstring_view text) {
  size_t digits_from = text.size();
  while (digits_from > 1 && text[digits_from - 1] >= L'0' && text[digits_from - 1] <= L'9') --digits_from;
  const std::wstring_view prefix = text.substr(0, digits_from);
  const std::wstring_view digits = text.substr(digits_from);
  int number = 0;
  if (digits.empty() || !ParseIntWithBase(10, digits, number)) return std::wstring(prefix);
  return std::wstring(prefix) + std::to_wstring(number);
}

std::wstring IndentText(std::wstring_view text) { return L"    " + std::wstring(text); }

bool IntToText(int value, std::wstring& text) {
  text = std::to_wstring(value);
  return true;
}

TextRun& MakeTextRun(std::wstring_view text, TextRun& run, int colour) {
  run.text.assign(text);
  run.colour = colour;
  return run;
}

}  // namespace Brenno
