#include "core/env/exception_error.h"

#include <gtest/gtest.h>

#include "core/env/language.h"

using namespace Brenno;

namespace {

struct LanguageGuard {
  explicit LanguageGuard(int language) { SetCurrentLanguage(language); }
  ~LanguageGuard() { SetCurrentLanguage(kLanguageEnglish); }
};

template <class Group, class Leaf>
bool CaughtBy(const Leaf& leaf) {
  try {
    throw leaf;
  } catch (const Group&) {
    return true;
  } catch (const ExceptionError&) {
    return false;
  }
}

}  // namespace

TEST(ExceptionError, LeafCarriesOnlyItsOwnTextInEitherLanguage) {
  EXPECT_EQ(ExceptionAnalyzeError_Stl_LogicStackError().Message(), L"STL, Logic Stack Error");
  EXPECT_EQ(ExceptionExchReceiveDataError().Message(), L"Recevie Data Error");
  LanguageGuard chinese(kLanguageChinese);
  EXPECT_EQ(ExceptionAnalyzeError_Stl_LogicStackError().Message(), L"STL, 逻辑栈出错");
  EXPECT_EQ(ExceptionSwitchNetworkReceiveNone().Message(), L"网络没有接收到服务器端的数据");
  EXPECT_EQ(ExceptionInitPlcTypeError().Message(), L"PLC类型错误");
}

TEST(ExceptionError, BuildersAppendTheDetailDirectly) {
  const std::wstring detail = L"\r\n  Folder \"Orvisto\" is Empty!";
  EXPECT_EQ(MakeLogicError(detail).Message(), L"Logic Error" + detail);
  EXPECT_EQ(MakeParseXmlError(L"").Message(), L"Parse XML Error");
  EXPECT_EQ(MakeParseLibraryError(L"\r\n  x").Message(), L"Parse Library Error\r\n  x");
  EXPECT_EQ(ExceptionExchUnsupportedPackCodeError(L"\r\n  0x21").Message(), L"Unsupported Pack Code\r\n  0x21");
  LanguageGuard chinese(kLanguageChinese);
  EXPECT_EQ(MakeParseBinaryPmwError(L"!").Message(), L"解析PMW数据错误!");
  EXPECT_EQ(ExceptionExchUnexpectedReceiveError(L"").Message(), L"接收到非预期的数据");
}

TEST(ExceptionError, ObjectKeepsTheLanguageItWasBuiltIn) {
  ExceptionFormatError english;
  LanguageGuard chinese(kLanguageChinese);
  ExceptionFormatError copy = english;
  EXPECT_EQ(copy.Message(), L"Format Error");
}

TEST(ExceptionError, GroupsCatchTheirLeaves) {
  EXPECT_TRUE((CaughtBy<ExceptionExchError>(ExceptionSwitchNetworkBadError())));
  EXPECT_TRUE((CaughtBy<ExceptionExchError>(ExceptionSwitchNetworkSendFailError())));
  EXPECT_FALSE((CaughtBy<ExceptionExchError>(ExceptionSwitchNetworkConnectError())));
  EXPECT_TRUE((CaughtBy<ExceptionSwitchError>(ExceptionSwitchNetworkConnectError())));
  EXPECT_TRUE((CaughtBy<ExceptionParseBinaryError>(ExceptionParseBinaryInstructionError())));
  EXPECT_FALSE((CaughtBy<ExceptionParseBinaryError>(ExceptionParseBinaryPmwParamError())));
  EXPECT_TRUE((CaughtBy<ExceptionParseBinaryPmwError>(ExceptionParseBinaryPmwDictateError())));
  EXPECT_TRUE((CaughtBy<ExceptionAnalyzeIgnore>(ExceptionAnalyzeIgnore_Lad_LadEmpty())));
  EXPECT_FALSE((CaughtBy<ExceptionAnalyzeError>(ExceptionAnalyzeIgnore_Stl_StlEmpty())));
  EXPECT_TRUE((CaughtBy<ExceptionInitError>(ExceptionInitUserCancelError())));
  EXPECT_FALSE((CaughtBy<ExceptionExchError>(ExceptionInitUserCancelError())));
}

TEST(ExceptionError, RethrownWithAddedDetailKeepsClassAndText) {
  try {
    try {
      throw ExceptionExchPackReceiveCodeError();
    } catch (ExceptionExchError& e) {
      e.AppendDetail(L"\r\n  frame 3");
      throw;
    }
  } catch (const ExceptionExchPackReceiveCodeError& e) {
    EXPECT_EQ(e.Message(), L"Receive Data Code Error\r\n  frame 3");
  }
}
