#include "trend/config/trend_config.h"

#include <algorithm>
#include <cstring>

namespace vandrel {

namespace {

constexpr const char* kComSet = "ComSet";
constexpr const char* kTrend = "Trend";

std::string Key(const char* name, size_t n) { return name + std::to_string(n); }

// DCBEx is stored as its 24 bytes, each integer lowest byte first.
void DcbToBytes(const DcbEx& dcb, uint8_t out[24]) {
  const int32_t values[6] = {dcb.BaudRate, dcb.Port, dcb.Parity, dcb.ByteSize, dcb.StopBits, dcb.Reserved};
  for (int i = 0; i < 6; ++i) {
    const auto v = static_cast<uint32_t>(values[i]);
    for (int b = 0; b < 4; ++b) out[4 * i + b] = static_cast<uint8_t>(v >> (8 * b));
  }
}

DcbEx DcbFromBytes(const uint8_t in[24]) {
  int32_t values[6];
  for (int i = 0; i < 6; ++i) {
    uint32_t v = 0;
    for (int b = 0; b < 4; ++b) v |= static_cast<uint32_t>(in[4 * i + b]) << (8 * b);
    values[i] = static_cast<int32_t>(v);
  }
  return DcbEx{values[0], values[1], values[2], values[3], values[4], values[5]};
}

}  // namespace

TrendCurve::TrendCurve() : Points(kCurvePointSlots) {}

bool TrendCurve::SameDefinition(const TrendCurve& o) const {
  return Start == o.Start && Count == o.Count && DevNo == o.DevNo && BlockNum == o.BlockNum &&
         RegType == o.RegType && DataType == o.DataType && Color == o.Color;
}

uint8_t NormaliseBlockNum(int32_t value) {
  const int32_t even = value - (value & 1);  // rounds down for negative values too
  return (even < 2 || even > 128) ? 32 : static_cast<uint8_t>(even);
}

void ReadTrendConfig(const platform::IniFile& ini, TrendSettings& settings, CurveList& curves) {
  curves.clear();
  settings.MBType = ini.GetInt(kComSet, "MBType", 0);
  settings.Timeout = ini.GetInt(kComSet, "Timeout", 1000);
  settings.HostIP = ini.GetString(kComSet, "HostIP", "127.0.0.1", 31);
  settings.HostPort = static_cast<uint16_t>(ini.GetInt(kComSet, "HostPort", 20086));
  uint8_t dcb[24];
  if (ini.GetStruct(kComSet, "DCBEx", dcb, sizeof dcb)) settings.DCBEx = DcbFromBytes(dcb);

  const int32_t count = ini.GetInt(kTrend, "Count", 0);
  if (count <= 0) return;
  const int32_t taken = std::min(count, kMaxCurvesInFile);
  for (int32_t i = 0; i < taken; ++i) {
    const auto n = static_cast<size_t>(i);
    auto curve = std::make_unique<TrendCurve>();
    curve->Start = ini.GetInt(kTrend, Key("Start", n), 2000);
    // A curve holds at most its point slots.
    curve->Count = std::clamp(ini.GetInt(kTrend, Key("Count", n), 500), 0, kCurvePointSlots);
    curve->Color = ini.GetInt(kTrend, Key("Color", n), 500);
    curve->DevNo = static_cast<uint8_t>(ini.GetInt(kTrend, Key("DevNo", n), 1));
    curve->BlockNum = NormaliseBlockNum(ini.GetInt(kTrend, Key("BlockNum", n), 32));
    curve->RegType = static_cast<uint8_t>(ini.GetInt(kTrend, Key("RegType", n), 3));
    curve->DataType = static_cast<uint8_t>(ini.GetInt(kTrend, Key("DataType", n), 0));
    curves.push_back(std::move(curve));
  }
}

void WriteCommSettings(platform::IniFile& ini, const TrendSettings& settings) {
  ini.SetInt(kComSet, "MBType", settings.MBType);
  ini.SetInt(kComSet, "Timeout", static_cast<uint32_t>(settings.Timeout));
  ini.SetString(kComSet, "HostIP", settings.HostIP);
  ini.SetInt(kComSet, "HostPort", settings.HostPort);
  uint8_t dcb[24];
  DcbToBytes(settings.DCBEx, dcb);
  ini.SetStruct(kComSet, "DCBEx", dcb, sizeof dcb);
}

void WriteTrendCurves(platform::IniFile& ini, const CurveList& curves) {
  ini.SetInt(kTrend, "Count", static_cast<int64_t>(curves.size()));
  for (size_t n = 0; n < curves.size(); ++n) {
    const TrendCurve& c = *curves[n];
    ini.SetInt(kTrend, Key("Start", n), static_cast<uint32_t>(c.Start));
    ini.SetInt(kTrend, Key("Count", n), c.Count);
    ini.SetInt(kTrend, Key("Color", n), c.Color);
    ini.SetInt(kTrend, Key("DevNo", n), c.DevNo);
    ini.SetInt(kTrend, Key("BlockNum", n), c.BlockNum);
    ini.SetInt(kTrend, Key("RegType", n), c.RegType);
    ini.SetInt(kTrend, Key("DataType", n), c.DataType);
  }
}

void LoadTrendConfig(const std::wstring& path, TrendSettings& settings, CurveList& curves) {
  platform::IniFile ini;
  if (!ini.Load(path)) ini = platform::IniFile();
  settings = TrendSettings();
  ReadTrendConfig(ini, settings, curves);
}

bool SaveTrendConfig(const std::wstring& path, const CurveList& curves) {
  platform::IniFile ini;
  if (!ini.Load(path)) return false;
  WriteTrendCurves(ini, curves);
  return ini.Save(path);
}

bool SaveCommSettings(const std::wstring& path, const TrendSettings& settings) {
  platform::IniFile ini;
  if (!ini.Load(path)) return false;
  WriteCommSettings(ini, settings);
  return ini.Save(path);
}

}  // namespace vandrel
