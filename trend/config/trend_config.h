// The viewer's link settings and curve list, and their settings file "TrendConf.CFG".
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ini_file.h"
#include "trend/link/serial_link.h"

namespace vandrel {

// A chart point: x and y.
struct tagDataPoint {
  double x = 0;
  double y = 0;
  bool operator==(const tagDataPoint&) const = default;
};

// Point slots of every curve: a curve never has more values than this.
constexpr int kCurvePointSlots = 2000;
// Most curves taken from the settings file.
constexpr int kMaxCurvesInFile = 256;

struct TrendSettings {
  int32_t MBType = 0;  // 0 RTU frames over TCP, anything else the serial line
  int32_t Timeout = 1000;
  std::string HostIP = "127.0.0.1";
  uint16_t HostPort = 20086;
  DcbEx DCBEx;
  bool operator==(const TrendSettings&) const = default;
};

struct TrendCurve {
  TrendCurve();
  int32_t Start = 2000;  // first holding register
  int32_t Count = 500;   // number of values (two registers each)
  uint8_t DevNo = 1;     // slave address
  uint8_t BlockNum = 32; // registers per request
  uint8_t RegType = 3;
  uint8_t DataType = 0;  // 0 high word first, else low word first
  int32_t Color = 500;
  std::vector<tagDataPoint> Points;  // kCurvePointSlots entries

  // Same definition (everything but the points).
  bool SameDefinition(const TrendCurve& other) const;
};

using CurveList = std::vector<std::unique_ptr<TrendCurve>>;

// BlockNum as read from the file: rounded down to even, 32 when outside 2..128.
uint8_t NormaliseBlockNum(int32_t value);

// Reads settings and curves from a profile. The curve list is emptied first.
void ReadTrendConfig(const platform::IniFile& ini, TrendSettings& settings, CurveList& curves);
// Writes the "ComSet" section.
void WriteCommSettings(platform::IniFile& ini, const TrendSettings& settings);
// Writes the "Trend" section: Count and the keys of every curve (keys of curves beyond the
// new count stay in the file; Count bounds the reading).
void WriteTrendCurves(platform::IniFile& ini, const CurveList& curves);

// The file forms. Loading a missing or unreadable file gives the defaults and no curves.
// Saving keeps every other line of the file and writes nothing when the present file
// cannot be read; false when the file could not be written.
void LoadTrendConfig(const std::wstring& path, TrendSettings& settings, CurveList& curves);
bool SaveTrendConfig(const std::wstring& path, const CurveList& curves);
bool SaveCommSettings(const std::wstring& path, const TrendSettings& settings);

}  // namespace vandrel
