#include "sysblock/ui/module_list_rows.h"

namespace corvell {

namespace {

std::wstring N(int value) { return std::to_wstring(value); }

std::wstring BitRange(const wchar_t* area, int start, int count) {
  const int end = start + count - 1;
  return area + N(start / 8) + L"." + N(start % 8) + L" - " + area + N(end / 8) + L"." + N(end % 8);
}

std::wstring ChannelRange(const wchar_t* area, int start, int count) {
  return area + N(start) + L" - " + area + N(start + count - 1);
}

}  // namespace

ModuleListRow ModuleListRowTexts(const ModuleRecord& record) {
  ModuleListRow row;
  if (record.empty()) return row;
  row[0] = N(record[0]);
  if (record.size() < 6) return row;
  const int type = record[1];
  const int inStart = record[2], inCount = record[3], outStart = record[4], outCount = record[5];
  if (FindModuleType(type) == nullptr) return row;
  row[1] = ModuleModelName(type);
  switch (type) {
    case 0:
    case 1:
    case 13: row[2] = BitRange(L"I", inStart, inCount); break;
    case 2:
    case 7:
    case 8:
    case 14: row[3] = BitRange(L"Q", outStart, outCount); break;
    case 20:
      row[2] = BitRange(L"I", inStart, inCount);
      row[3] = BitRange(L"Q", outStart, outCount);
      break;
    case 22: row[4] = L"AI" + N(inStart); break;
    case 23: row[4] = L"AI" + N(inStart) + L" - AI" + N(inStart + 3); break;
    case 3:
    case 11:
    case 16:
    case 17:
    case 19: row[5] = ChannelRange(L"AO", outStart, outCount); break;
    case 15:
      row[4] = ChannelRange(L"AI", inStart, inCount);
      row[5] = ChannelRange(L"AO", outStart, outCount);
      break;
    default: row[4] = ChannelRange(L"AI", inStart, inCount); break;  // 4, 5, 6, 9, 10, 12, 18, 21
  }
  return row;
}

}  // namespace corvell
