// "TrendConf.CFG": defaults, clamping, the DCBEx struct form and what saving keeps.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/text_codec.h"
#include "support/test_paths.h"
#include "trend/config/trend_config.h"

using namespace vandrel;

namespace {

std::wstring W(const std::string& s) { return platform::FromUtf8Lossy(s); }

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

TEST(TrendConfig, MissingFileGivesDefaultsAndNoCurves) {
  testsupport::TempDir dir;
  TrendSettings settings;
  settings.MBType = 5;
  CurveList curves;
  curves.push_back(std::make_unique<TrendCurve>());
  LoadTrendConfig(W(dir.File("TrendConf.CFG")), settings, curves);
  EXPECT_EQ(settings, TrendSettings());
  EXPECT_EQ(settings.HostIP, "127.0.0.1");
  EXPECT_EQ(settings.HostPort, 20086);
  EXPECT_EQ(settings.DCBEx, (DcbEx{9600, 1, 0, 8, 0, 0}));
  EXPECT_TRUE(curves.empty());
}

TEST(TrendConfig, BlockLengthIsMadeEvenAndKeptInRange) {
  const struct {
    int stored;
    int read;
  } cases[] = {{33, 32}, {129, 128}, {128, 128}, {2, 2}, {3, 2}, {1, 32}, {0, 32}, {130, 32}, {200, 32}, {-4, 32}};
  for (const auto& c : cases) EXPECT_EQ(NormaliseBlockNum(c.stored), c.read) << c.stored;
}

TEST(TrendConfig, ReadsEveryKeyWithItsDefaultAndBoundsTheCounts) {
  platform::IniFile ini;
  ini.Parse(
      "[ComSet]\nMBType=1\nTimeout=250\nHostIP=192.168.100.200.300.400.500.600.700\nHostPort=70000\n"
      "DCBEx=garbage\n"
      "[Trend]\nCount=3\nStart0=100\nCount0=10\nColor0=255\nDevNo0=258\nBlockNum0=33\nRegType0=3\nDataType0=1\n"
      "Count1=999999\n"
      "Count2=-8\n");
  TrendSettings s;
  CurveList curves;
  ReadTrendConfig(ini, s, curves);
  EXPECT_EQ(s.MBType, 1);
  EXPECT_EQ(s.Timeout, 250);
  EXPECT_EQ(s.HostIP.size(), 31u);  // cut to its room
  EXPECT_EQ(s.HostPort, 70000 & 0xFFFF);
  EXPECT_EQ(s.DCBEx, DcbEx{});  // an invalid struct leaves the initial values
  ASSERT_EQ(curves.size(), 3u);
  EXPECT_EQ(curves[0]->Start, 100);
  EXPECT_EQ(curves[0]->Count, 10);
  EXPECT_EQ(curves[0]->Color, 255);
  EXPECT_EQ(curves[0]->DevNo, 2);  // low byte kept
  EXPECT_EQ(curves[0]->BlockNum, 32);
  EXPECT_EQ(curves[0]->DataType, 1);
  // Defaults of a curve with no keys, and point counts held to the point slots.
  EXPECT_EQ(curves[1]->Start, 2000);
  EXPECT_EQ(curves[1]->Count, kCurvePointSlots);
  EXPECT_EQ(curves[1]->Color, 500);
  EXPECT_EQ(curves[1]->DevNo, 1);
  EXPECT_EQ(curves[1]->BlockNum, 32);
  EXPECT_EQ(curves[1]->RegType, 3);
  EXPECT_EQ(curves[1]->DataType, 0);
  EXPECT_EQ(curves[2]->Count, 0);
  EXPECT_EQ(curves[1]->Points.size(), static_cast<size_t>(kCurvePointSlots));

  platform::IniFile many;
  many.Parse("[Trend]\nCount=2000000000\n");
  ReadTrendConfig(many, s, curves);
  EXPECT_EQ(curves.size(), static_cast<size_t>(kMaxCurvesInFile));
}

TEST(TrendConfig, CommSettingsRoundTripThroughTheStructForm) {
  testsupport::TempDir dir;
  const std::wstring path = W(dir.File("TrendConf.CFG"));
  TrendSettings s;
  s.MBType = 1;
  s.Timeout = 3600000;
  s.HostIP = "10.1.2.3";
  s.HostPort = 502;
  s.DCBEx = DcbEx{115200, 3, 2, 7, 1, 0};
  ASSERT_TRUE(SaveCommSettings(path, s));
  const std::string text = ReadText(dir.File("TrendConf.CFG"));
  // 115200 = 0x0001C200, lowest byte first; the checksum byte closes the struct.
  EXPECT_NE(text.find("DCBEx=00C201000300000002000000070000000100000000000000D0\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Timeout=3600000\r\n"), std::string::npos);
  TrendSettings back;
  CurveList curves;
  LoadTrendConfig(path, back, curves);
  EXPECT_EQ(back, s);
}

TEST(TrendConfig, SavingRenumbersCurvesAndLeavesOldKeysBehind) {
  testsupport::TempDir dir;
  const std::wstring path = W(dir.File("TrendConf.CFG"));
  CurveList curves;
  for (int i = 0; i < 5; ++i) {
    auto c = std::make_unique<TrendCurve>();
    c->Start = 1000 + 100 * i;
    curves.push_back(std::move(c));
  }
  ASSERT_TRUE(SaveTrendConfig(path, curves));
  curves.erase(curves.begin() + 3);
  curves.erase(curves.begin() + 1);
  ASSERT_TRUE(SaveTrendConfig(path, curves));

  const std::string text = ReadText(dir.File("TrendConf.CFG"));
  EXPECT_NE(text.find("Count=3\r\n"), std::string::npos);
  EXPECT_NE(text.find("Start4=1400\r\n"), std::string::npos);  // stays, ignored
  TrendSettings s;
  CurveList back;
  LoadTrendConfig(path, s, back);
  ASSERT_EQ(back.size(), 3u);
  EXPECT_EQ(back[0]->Start, 1000);
  EXPECT_EQ(back[1]->Start, 1200);
  EXPECT_EQ(back[2]->Start, 1400);
}

TEST(TrendConfig, UnreadableFileIsNeitherReadNorReplaced) {
  testsupport::TempDir dir;
  const std::string folder = dir.File("TrendConf.CFG");
  std::filesystem::create_directory(folder);
  CurveList curves;
  EXPECT_FALSE(SaveTrendConfig(W(folder), curves));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}
