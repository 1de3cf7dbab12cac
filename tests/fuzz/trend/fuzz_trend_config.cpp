// "TrendConf.CFG" as it may be found on disk: any bytes go through the profile reader and
// the settings loader, and what is read must survive a write and a second read unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/ini_file.h"
#include "trend/config/trend_config.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::IniFile ini;
  ini.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  vandrel::TrendSettings settings;
  vandrel::CurveList curves;
  vandrel::ReadTrendConfig(ini, settings, curves);
  for (const auto& c : curves) {
    if (c->Count < 0 || c->Count > vandrel::kCurvePointSlots) abort();
    if (c->BlockNum < 2 || c->BlockNum > 128 || (c->BlockNum & 1)) abort();
  }
  if (settings.HostIP.size() > 31) abort();

  uint8_t block[24];
  (void)ini.GetStruct("ComSet", "DCBEx", block, sizeof block);

  platform::IniFile written;
  vandrel::WriteCommSettings(written, settings);
  vandrel::WriteTrendCurves(written, curves);
  platform::IniFile reread;
  reread.Parse(written.Serialize());
  vandrel::TrendSettings settings2;
  vandrel::CurveList curves2;
  vandrel::ReadTrendConfig(reread, settings2, curves2);
  // A text value with line breaks or blanks at its ends cannot round-trip; everything else must.
  if (settings2.MBType != settings.MBType || settings2.DCBEx != settings.DCBEx || curves2.size() != curves.size())
    abort();
  for (size_t i = 0; i < curves.size(); ++i)
    if (!curves[i]->SameDefinition(*curves2[i])) abort();
  return 0;
}
