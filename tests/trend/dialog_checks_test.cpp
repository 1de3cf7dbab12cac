// The checks and conversions behind the communication and curve dialogs.
#include <gtest/gtest.h>

#include "trend/config/dialog_checks.h"

using namespace vandrel;

namespace {

CommSetFields GoodTcp() {
  CommSetFields f = CommSetFieldsFrom(TrendSettings());
  EXPECT_EQ(f.Interface, 0);
  return f;
}

}  // namespace

TEST(TrendCommSetChecks, FirstFailingCheckGivesItsMessage) {
  const struct {
    void (*edit)(CommSetFields&);
    const wchar_t* message;  // nullptr: accepted
  } cases[] = {
      {[](CommSetFields&) {}, nullptr},
      {[](CommSetFields& f) { f.Interface = -1; }, L"请选择通讯接口！"},
      {[](CommSetFields& f) { f.TimeoutText = L"49"; }, L"请正确输入超时时间，范围为50 ～ 3600000(毫秒)！"},
      {[](CommSetFields& f) { f.TimeoutText = L"3600001"; }, L"请正确输入超时时间，范围为50 ～ 3600000(毫秒)！"},
      {[](CommSetFields& f) { f.TimeoutText = L"abc"; }, L"请正确输入超时时间，范围为50 ～ 3600000(毫秒)！"},
      {[](CommSetFields& f) { f.TimeoutText = L"50"; }, nullptr},
      {[](CommSetFields& f) { f.TimeoutText = L"3600000"; }, nullptr},
      {[](CommSetFields& f) { f.HostIpText = L"   "; }, L"请输入要连接的从站IP地址！"},
      {[](CommSetFields& f) { f.HostPortText = L"0"; }, L"请正确输入从站端口，不允许为0！"},
      {[](CommSetFields& f) { f.HostPortText = L"65536"; }, L"请正确输入从站端口，不允许为0！"},
      {[](CommSetFields& f) { f.HostPortText = L"65535"; }, nullptr},
      // The serial interface ignores the TCP fields but needs all five lists.
      {[](CommSetFields& f) { f.Interface = 1; f.HostIpText = L""; }, nullptr},
      {[](CommSetFields& f) { f.Interface = 1; f.Parity = -1; }, L"请正确设置串口参数！"},
      {[](CommSetFields& f) { f.Interface = 1; f.ComPort = -1; f.TimeoutText = L"1"; },
       L"请正确输入超时时间，范围为50 ～ 3600000(毫秒)！"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    CommSetFields f = GoodTcp();
    cases[i].edit(f);
    auto message = CheckCommSetFields(f);
    if (cases[i].message) {
      EXPECT_EQ(message.value_or(L"(accepted)"), cases[i].message) << i;
    } else {
      EXPECT_FALSE(message.has_value()) << i;
    }
  }
}

TEST(TrendCommSetChecks, FieldsAndSettingsConvertBothWays) {
  EXPECT_TRUE(TcpFieldsEnabled(0));
  EXPECT_FALSE(TcpFieldsEnabled(1));
  EXPECT_FALSE(TcpFieldsEnabled(-1));
  EXPECT_EQ(BaudIndexOf(9600), 3);
  EXPECT_EQ(BaudIndexOf(1234), 3);
  EXPECT_EQ(BaudIndexOf(256000), 9);
  EXPECT_EQ(BaudAt(7), 115200);
  EXPECT_EQ(BaudAt(42), 9600);

  TrendSettings s;
  s.DCBEx = DcbEx{19200, 4, 1, 7, 2, 0};
  CommSetFields f = CommSetFieldsFrom(s);
  EXPECT_EQ(f.ComPort, 3);
  EXPECT_EQ(f.Baud, 4);
  EXPECT_EQ(f.DataBits, 0);
  EXPECT_EQ(f.StopBits, 2);
  EXPECT_EQ(f.Parity, 1);
  f.Interface = 1;
  f.Baud = 7;
  f.DataBits = 1;
  f.TimeoutText = L"700";
  f.HostIpText = L" 10.0.0.9 ";
  TrendSettings out = CommSettingsFrom(f, s);
  EXPECT_EQ(out.MBType, 1);
  EXPECT_EQ(out.Timeout, 700);
  EXPECT_EQ(out.HostIP, "10.0.0.9");
  EXPECT_EQ(out.DCBEx, (DcbEx{115200, 4, 1, 8, 2, 0}));
}

TEST(TrendCurveParamChecks, FirstFailingCheckGivesItsMessage) {
  const wchar_t* dev = L"请正确输入设备号，范围为1 ～ 127 ！";
  const wchar_t* start = L"请正确输入寄存器首地址";
  const wchar_t* count = L"请正确输入数据总长度，范围为1 ～ 1000 ！";
  const wchar_t* block = L"请正确输入数据块长度，范围为2 ～ 128的偶数 ！";
  const struct {
    CurveParamFields fields;
    const wchar_t* message;
  } cases[] = {
      {{L"1", L"2000", L"500", L"32", 0}, nullptr},
      {{L"127", L"1", L"1000", L"128", 1}, nullptr},
      {{L"0", L"2000", L"500", L"32", 0}, dev},
      {{L"200", L"2000", L"500", L"32", 0}, dev},
      {{L"x", L"2000", L"500", L"32", 0}, dev},
      {{L"1", L"0", L"500", L"32", 0}, start},
      {{L"1", L"2000", L"0", L"32", 0}, count},
      {{L"1", L"2000", L"1001", L"32", 0}, count},
      {{L"1", L"2000", L"500", L"31", 0}, block},
      {{L"1", L"2000", L"500", L"130", 0}, block},
      {{L"1", L"2000", L"500", L"0", 0}, block},
      {{L"1", L"2000", L"500", L"32", -1}, L"请选择数据类型！"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    auto message = CheckCurveParamFields(cases[i].fields);
    if (cases[i].message) {
      EXPECT_EQ(message.value_or(L"(accepted)"), cases[i].message) << i;
    } else {
      EXPECT_FALSE(message.has_value()) << i;
    }
  }
}

TEST(TrendCurveParamChecks, AcceptedFieldsEditTheCurveAndShowInItsRow) {
  TrendCurve c;
  ApplyCurveParamFields({L"5", L"3000", L"20", L"16", 1}, c);
  EXPECT_EQ(c.DevNo, 5);
  EXPECT_EQ(c.Start, 3000);
  EXPECT_EQ(c.Count, 20);
  EXPECT_EQ(c.BlockNum, 16);
  EXPECT_EQ(c.DataType, 1);
  EXPECT_EQ(c.RegType, 3);
  EXPECT_EQ(CurveListRow(c), (std::vector<std::wstring>{L"5", L"MD3000", L"20", L"16", L"单精度浮点数(交换)"}));
  c.DataType = 0;
  EXPECT_EQ(CurveListRow(c)[4], L"单精度浮点数");
}
