#include "ui/shell/debug_infor_painter.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "core/draw/text_drawing.h"
#include "core/env/language.h"
#include "core/env/page_names.h"
#include "core/link/comm_state.h"

namespace Brenno {

namespace {

constexpr int kWhitePen = 76;
constexpr int kWhiteBrush = 19;

std::wstring HexWord(int32_t value) {
  wchar_t text[16];
  std::swprintf(text, sizeof(text) / sizeof(text[0]), L"%08XH", static_cast<unsigned>(static_cast<uint32_t>(value)));
  return text;
}

std::wstring Unsigned(int32_t value) { return std::to_wstring(static_cast<uint32_t>(value)); }

}  // namespace

const wchar_t* DebugRowLabel(int row) {
  switch (row) {
    case 0: return PickText(L"Function", L"程序");
    case 1: return PickText(L"Network", L"网络");
    case 2: return PickText(L"Network Step", L"网络步");
    case 3: return PickText(L"Stack Data", L"数据栈");
    case 4: return PickText(L"Stack Helper", L"辅助栈");
    case 5: return PickText(L"Stack Poiter", L"栈指针");
    case 6: return PickText(L"Error Code", L"错误号");
    default: return L"";
  }
}

bool IsOfflineCommandState(int commState) {
  return commState == CommOpeningCommand || commState == CommCommand || commState == CommLeavingCommand;
}

std::array<std::wstring, kDebugRowCount> DebugValueTexts(int commState, const DebugRecord* fresh) {
  std::array<std::wstring, kDebugRowCount> texts;
  if (!IsOnlineCommState(commState)) return texts;
  if (fresh == nullptr) {
    texts.fill(PickText(L"Unknown", L"未知"));
    return texts;
  }
  const auto& w = fresh->Words;
  // Words 3 to 9: current page key, network, step, stack data, auxiliary stack, stack pointer,
  // error code. The network is counted from 1 by the PLC (0: before the first one); 64-bit
  // arithmetic keeps the smallest int from overflowing.
  const int64_t network = w[4] == 0 ? 0 : static_cast<int64_t>(w[4]) - 1;
  texts[0] = HexWord(w[3]);
  texts[1] = std::to_wstring(network);
  texts[2] = Unsigned(w[5]);
  texts[3] = HexWord(w[6]);
  texts[4] = HexWord(w[7]);
  texts[5] = Unsigned(w[8]);
  texts[6] = Unsigned(w[9]);
  return texts;
}

void PaintDebugInformation(const Rect& area, int commState, OnlineCacheSnapshot& snapshot, DrawContext& dc) {
  const int l = area.left;
  const int t = area.top;
  dc.DrawRectangle(Rect{0, 0, area.right - l, area.bottom - t}, kWhitePen, kWhiteBrush);

  DebugRecord record;
  const bool fresh = IsOnlineCommState(commState) && ReadCachedDebugRecord(snapshot, record);
  const std::array<std::wstring, kDebugRowCount> values = DebugValueTexts(commState, fresh ? &record : nullptr);

  for (int k = 0; k < kDebugRowCount; ++k) {
    const int top = 10 + 15 * k - t;
    const int bottom = 25 + 15 * k - t;
    const std::vector<TextRun> label = {
        TextRun(std::to_wstring(k) + L":", 0), TextRun(L" ", 0), TextRun(L"[", 5), TextRun(DebugRowLabel(k), 1),
        TextRun(L"]", 5),
    };
    DrawTextSegments(label, Rect{10 - l, top, 160 - l, bottom}, dc);
    DrawColoredText(dc, values[static_cast<size_t>(k)], 160 - l, top, 240 - l, bottom, 0, 6, kTextVCenter);
  }
}

}  // namespace Brenno
