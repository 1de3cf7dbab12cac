#include "core/env/language.h"

#include <atomic>

namespace Brenno {

namespace {
// Written during start-up before any worker thread exists, read everywhere afterwards.
std::atomic<int> g_language{kLanguageEnglish};
}  // namespace

int CurrentLanguage() { return g_language.load(std::memory_order_relaxed); }

void SetCurrentLanguage(int language) { g_language.store(language, std::memory_order_relaxed); }

}  // namespace Brenno
