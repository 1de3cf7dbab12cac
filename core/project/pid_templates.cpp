#include "core/project/pid_templates.h"

#include <cstdint>
#include <cwchar>

namespace Brenno {

namespace {

constexpr int kByte = 1;
constexpr int kUsint = 7;
constexpr int kReal = 10;

constexpr wchar_t kMb[] = L"MB%d";
constexpr wchar_t kMd[] = L"MD%d";

// The operation cycle and the first range, shared by the PID and PIDF blocks.
constexpr wchar_t kCycle[] = L"运算周期（0:200ms;1:100ms;2:50ms)";
constexpr wchar_t kGain[] = L"比例增益（单位：100%）";
constexpr wchar_t kIntegral[] = L"积分时间（单位：秒）";
constexpr wchar_t kDerivative[] = L"微分时间（单位：秒）";
constexpr wchar_t kSpHigh[] = L"SP/PV的上量程";
constexpr wchar_t kSpLow[] = L"SP/PV的下量程";
constexpr wchar_t kOpUpper[] = L"OP输出的上限值";
constexpr wchar_t kOpLower[] = L"OP输出的下限值";
constexpr wchar_t kOpHigh[] = L"OP输出的上量程";
constexpr wchar_t kOpLow[] = L"OP输出的下量程";

// The address text of a format at a position; the position is written with all its digits even
// when it lies beyond the int range.
std::wstring FormatAddress(const wchar_t* format, int64_t position) {
  const bool isByte = std::wcscmp(format, kMb) == 0;
  return (isByte ? L"MB" : L"MD") + std::to_wstring(position);
}

int InsertTemplateBlock(DataBlockTable& table, const std::vector<PidTemplateRow>& rows, int headAddress) {
  const std::vector<int> free = ListFreeTablePageKeys(table);
  if (free.empty()) return -1;
  const int key = free.front();
  std::wstring number;
  IntToWString(key, number);
  table.Working.insert_or_assign(key, MakeDataBlockPage(kDataBlockPagePrefix + (L"_" + number),
                                                        kDataBlockPagePrefix + number, std::wstring(),
                                                        MakePidTemplateRows(rows, headAddress)));
  ValidateDataRows(table);
  return key;
}

}  // namespace

const std::vector<PidTemplateRow>& PidTemplateRows() {
  static const std::vector<PidTemplateRow> rows = {
      {kMb, 0, kByte, L"0", kCycle},
      {kMb, 1, kByte, L"0", L"0:正左右；1：反作用"},
      {kMb, 2, kByte, L"0", L"备用"},
      {kMb, 3, kByte, L"0", L"备用"},
      {kMd, 4, kReal, L"30", kGain},
      {kMd, 8, kReal, L"2", kIntegral},
      {kMd, 12, kReal, L"0", kDerivative},
      {kMd, 16, kReal, L"100", kSpHigh},
      {kMd, 20, kReal, L"0", kSpLow},
      {kMd, 24, kReal, L"100", kOpUpper},
      {kMd, 28, kReal, L"0", kOpLower},
      {kMd, 32, kReal, L"100", kOpHigh},
      {kMd, 36, kReal, L"0", kOpLow},
  };
  return rows;
}

const std::vector<PidTemplateRow>& PidfTemplateRows() {
  static const std::vector<PidTemplateRow> rows = {
      {kMb, 0, kUsint, L"0", kCycle},
      {kMb, 1, kUsint, L"10", L"斜率计算时间"},
      {kMd, 4, kReal, L"7.5", kGain},
      {kMd, 8, kReal, L"550", kIntegral},
      {kMd, 12, kReal, L"150", kDerivative},
      {kMd, 16, kReal, L"200", kSpHigh},
      {kMd, 20, kReal, L"0", kSpLow},
      {kMd, 24, kReal, L"100", kOpUpper},
      {kMd, 28, kReal, L"0", kOpLower},
      {kMd, 32, kReal, L"100", kOpHigh},
      {kMd, 36, kReal, L"0", kOpLow},
      {kMd, 40, kReal, L"60", L"计算P用"},
      {kMd, 44, kReal, L"60", L"计算I用"},
      {kMd, 48, kReal, L"60", L"计算T用"},
      {kMd, 52, kReal, L"0.5", L"P修正值"},
      {kMd, 56, kReal, L"0.95", L"PID检测时用的设定温度比例"},
      {kMd, 60, kReal, L"0", L"计算出的斜率"},
      {kMd, 64, kReal, L"1", L"纯延时时间"},
      {kMd, 68, kReal, L"10", L"加热截止偏差"},
  };
  return rows;
}

const std::vector<PidTemplateRow>& DpidTemplateRows() {
  static const std::vector<PidTemplateRow> rows = {
      {kMd, 0, kReal, L"8", L"加热比例增益"},
      {kMd, 4, kReal, L"200", L"加热积分系数"},
      {kMd, 8, kReal, L"0", L"加热微分系数1"},
      {kMd, 12, kReal, L"500", L"加热微分系数2"},
      {kMd, 16, kReal, L"2", L"制冷比例增益"},
      {kMd, 20, kReal, L"250", L"制冷积分系数"},
      {kMd, 24, kReal, L"0", L"制冷微分系数1"},
      {kMd, 28, kReal, L"500", L"制冷微分系数2"},
      {kMd, 32, kReal, L"10", L"加热截止偏差"},
      {kMd, 36, kReal, L"10", L"制冷截止偏差"},
      {kMd, 40, kReal, L"10", L"加热冷却死区"},
      {kMd, 44, kReal, L"0", L"加热输出"},
      {kMd, 48, kReal, L"0", L"冷却输出"},
      {kMd, 52, kReal, L"0", L"温度变化率"},
      {kMd, 56, kReal, L"", L"温偏差"},
  };
  return rows;
}

std::vector<DataRow> MakePidTemplateRows(const std::vector<PidTemplateRow>& rows, int headAddress) {
  std::vector<DataRow> out;
  out.reserve(rows.size());
  for (const PidTemplateRow& row : rows) {
    DataRow data;
    data.Type = row.Type;
    data.Address = FormatAddress(row.Format, static_cast<int64_t>(headAddress) + row.Offset);
    data.Value = row.Value;
    data.Comment = row.Comment;
    out.push_back(std::move(data));
  }
  return out;
}

int InsertPidDataBlock(DataBlockTable& table, int headAddress) {
  return InsertTemplateBlock(table, PidTemplateRows(), headAddress);
}

int InsertPidfDataBlock(DataBlockTable& table, int headAddress) {
  return InsertTemplateBlock(table, PidfTemplateRows(), headAddress);
}

int InsertDpidDataBlock(DataBlockTable& table, int headAddress) {
  return InsertTemplateBlock(table, DpidTemplateRows(), headAddress);
}

}  // namespace Brenno
