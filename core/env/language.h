// The process-wide language value: 1 English, 2 Chinese. It starts at 1, is fixed by start-up
// from the configuration file, and every bilingual text of the workbench picks its form by it.
#pragma once

namespace Brenno {

constexpr int kLanguageEnglish = 1;
constexpr int kLanguageChinese = 2;

int CurrentLanguage();
void SetCurrentLanguage(int language);

// Picks the text for the current language (Chinese only for value 2).
inline const wchar_t* PickText(const wchar_t* english, const wchar_t* chinese) {
  return CurrentLanguage() == kLanguageChinese ? chinese : english;
}

}  // namespace Brenno
