#include "core/link/online_cache.h"

namespace Brenno {

bool ReadCachedDebugRecord(const OnlineCache&, DebugRecord&) { return false; }

void WriteDebugBreakPoint(const DebugRecord&) {}

bool ReadCachedValueText(const OnlineCache&, const std::wstring&, bool, int, std::wstring& text) {
  text.clear();
  return false;
}

int EvaluateStlPowerFlow(const std::vector<OperandValueFlag>&, const FunStlRecord&) { return -1; }

int EvaluateLadPowerFlow(const FunLadRecord&, const std::vector<OperandValueFlag>&) { return -1; }

}  // namespace Brenno
