#include "core/env/exception_error.h"

#include "core/env/language.h"

namespace Brenno {

ExceptionError::~ExceptionError() = default;

void ExceptionError::SetMessage(const wchar_t* english, const wchar_t* chinese, const std::wstring& detail) {
  m_message = PickText(english, chinese);
  m_message += detail;
}


ExceptionLogicError::ExceptionLogicError() { SetMessage(L"Logic Error", L"逻辑错误"); }
ExceptionLogicError::ExceptionLogicError(WithDetail, const std::wstring& detail) { SetMessage(L"Logic Error", L"逻辑错误", detail); }
ExceptionLogicError::~ExceptionLogicError() = default;

ExceptionFormatError::ExceptionFormatError() { SetMessage(L"Format Error", L"格式错误"); }
ExceptionFormatError::~ExceptionFormatError() = default;

ExceptionParseXmlError::ExceptionParseXmlError() { SetMessage(L"Parse XML Error", L"解析XML错误"); }
ExceptionParseXmlError::ExceptionParseXmlError(WithDetail, const std::wstring& detail) { SetMessage(L"Parse XML Error", L"解析XML错误", detail); }
ExceptionParseXmlError::~ExceptionParseXmlError() = default;

ExceptionParseLibraryError::ExceptionParseLibraryError() { SetMessage(L"Parse Library Error", L"解析库错误"); }
ExceptionParseLibraryError::ExceptionParseLibraryError(WithDetail, const std::wstring& detail) { SetMessage(L"Parse Library Error", L"解析库错误", detail); }
ExceptionParseLibraryError::~ExceptionParseLibraryError() = default;

ExceptionParseStreamError::ExceptionParseStreamError() { SetMessage(L"Parse Stream Error", L"解析流错误"); }
ExceptionParseStreamError::~ExceptionParseStreamError() = default;

ExceptionParseBinaryError::ExceptionParseBinaryError() { SetMessage(L"Parse Binary Error", L"解析数据错误"); }
ExceptionParseBinaryError::~ExceptionParseBinaryError() = default;

ExceptionParseBinaryPmwError::ExceptionParseBinaryPmwError() { SetMessage(L"Parse PMW Binary Error", L"解析PMW数据错误"); }
ExceptionParseBinaryPmwError::ExceptionParseBinaryPmwError(WithDetail, const std::wstring& detail) { SetMessage(L"Parse PMW Binary Error", L"解析PMW数据错误", detail); }
ExceptionParseBinaryPmwError::~ExceptionParseBinaryPmwError() = default;

ExceptionAnalyzeIgnore::ExceptionAnalyzeIgnore() { SetMessage(L"Analyze Ignore", L"分析忽略"); }
ExceptionAnalyzeIgnore::~ExceptionAnalyzeIgnore() = default;

ExceptionAnalyzeError::ExceptionAnalyzeError() { SetMessage(L"Analyze Error", L"分析错误"); }
ExceptionAnalyzeError::~ExceptionAnalyzeError() = default;

ExceptionExchError::ExceptionExchError() { SetMessage(L"Exchange Error", L"交换错误"); }
ExceptionExchError::~ExceptionExchError() = default;

ExceptionSwitchError::ExceptionSwitchError() { SetMessage(L"Switch Error", L"切换错误"); }
ExceptionSwitchError::~ExceptionSwitchError() = default;

ExceptionInitError::ExceptionInitError() { SetMessage(L"Initiate Error", L"初始化错误"); }
ExceptionInitError::~ExceptionInitError() = default;

ExceptionParseBinaryDataError::ExceptionParseBinaryDataError() { SetMessage(L"Parse Data Block Error", L"解析数据块错误"); }
ExceptionParseBinaryDataError::~ExceptionParseBinaryDataError() = default;

ExceptionParseBinaryArgumentError::ExceptionParseBinaryArgumentError() { SetMessage(L"Parse Program Block (Argument) Error", L"解析程序块(参数)错误"); }
ExceptionParseBinaryArgumentError::~ExceptionParseBinaryArgumentError() = default;

ExceptionParseBinaryInstructionError::ExceptionParseBinaryInstructionError() { SetMessage(L"Parse Program Block (Instruction) Error", L"解析程序块(指令)错误"); }
ExceptionParseBinaryInstructionError::~ExceptionParseBinaryInstructionError() = default;

ExceptionParseBinaryPmwParamError::ExceptionParseBinaryPmwParamError() { SetMessage(L"Parse PMW Binary Parameter Error", L"解析PMW数据参数错误"); }
ExceptionParseBinaryPmwParamError::~ExceptionParseBinaryPmwParamError() = default;

ExceptionParseBinaryPmwDictateError::ExceptionParseBinaryPmwDictateError() { SetMessage(L"Parse PMW Binary Dictate Error", L"解析PMW数据指令错误"); }
ExceptionParseBinaryPmwDictateError::~ExceptionParseBinaryPmwDictateError() = default;

ExceptionAnalyzeIgnore_Lad_LadEmpty::ExceptionAnalyzeIgnore_Lad_LadEmpty() { SetMessage(L"LAD, LAD Empty", L"LAD, LAD 为空"); }
ExceptionAnalyzeIgnore_Lad_LadEmpty::~ExceptionAnalyzeIgnore_Lad_LadEmpty() = default;

ExceptionAnalyzeIgnore_Stl_StlEmpty::ExceptionAnalyzeIgnore_Stl_StlEmpty() { SetMessage(L"STL, STL Empty", L"STL, STL 为空"); }
ExceptionAnalyzeIgnore_Stl_StlEmpty::~ExceptionAnalyzeIgnore_Stl_StlEmpty() = default;

ExceptionAnalyzeError_Lad_LadElementError::ExceptionAnalyzeError_Lad_LadElementError() { SetMessage(L"LAD, Element Error", L"LAD, 元件错误"); }
ExceptionAnalyzeError_Lad_LadElementError::~ExceptionAnalyzeError_Lad_LadElementError() = default;

ExceptionAnalyzeError_Lad_PowerFlowError::ExceptionAnalyzeError_Lad_PowerFlowError() { SetMessage(L"LAD, Power Flow Error", L"LAD, 能流错误"); }
ExceptionAnalyzeError_Lad_PowerFlowError::~ExceptionAnalyzeError_Lad_PowerFlowError() = default;

ExceptionAnalyzeError_Lad_GeneratrixOutputPlaceError::ExceptionAnalyzeError_Lad_GeneratrixOutputPlaceError() { SetMessage(L"LAD, Generatrix Output Instruction Placement Error", L"LAD, 母线输出指令位置错误"); }
ExceptionAnalyzeError_Lad_GeneratrixOutputPlaceError::~ExceptionAnalyzeError_Lad_GeneratrixOutputPlaceError() = default;

ExceptionAnalyzeError_Lad_NoInputElement::ExceptionAnalyzeError_Lad_NoInputElement() { SetMessage(L"LAD, No Input Element", L"LAD, 不存在输入元件"); }
ExceptionAnalyzeError_Lad_NoInputElement::~ExceptionAnalyzeError_Lad_NoInputElement() = default;

ExceptionAnalyzeError_Lad_NoOutputElement::ExceptionAnalyzeError_Lad_NoOutputElement() { SetMessage(L"LAD, No Output Element", L"LAD, 不存在输出元件"); }
ExceptionAnalyzeError_Lad_NoOutputElement::~ExceptionAnalyzeError_Lad_NoOutputElement() = default;

ExceptionAnalyzeError_Lad_UselessElement::ExceptionAnalyzeError_Lad_UselessElement() { SetMessage(L"LAD, Useless Element", L"LAD, 存在无用元件"); }
ExceptionAnalyzeError_Lad_UselessElement::~ExceptionAnalyzeError_Lad_UselessElement() = default;

ExceptionAnalyzeError_Lad_SimplifyError::ExceptionAnalyzeError_Lad_SimplifyError() { SetMessage(L"LAD, Simplify Error", L"LAD, 简化图错误"); }
ExceptionAnalyzeError_Lad_SimplifyError::~ExceptionAnalyzeError_Lad_SimplifyError() = default;

ExceptionAnalyzeError_Lad_PowerNotFromGeneratrix::ExceptionAnalyzeError_Lad_PowerNotFromGeneratrix() { SetMessage(L"LAD, Power Flow Not From Generatrix", L"LAD, 能流未从母线开始"); }
ExceptionAnalyzeError_Lad_PowerNotFromGeneratrix::~ExceptionAnalyzeError_Lad_PowerNotFromGeneratrix() = default;

ExceptionAnalyzeError_Lad_UnacceptLrdOrLpp::ExceptionAnalyzeError_Lad_UnacceptLrdOrLpp() { SetMessage(L"LAD, Unaccept LRD or LPP", L"LAD, 不能处理的LRD和LPP指令"); }
ExceptionAnalyzeError_Lad_UnacceptLrdOrLpp::~ExceptionAnalyzeError_Lad_UnacceptLrdOrLpp() = default;

ExceptionAnalyzeError_Lad_LinkMismatch::ExceptionAnalyzeError_Lad_LinkMismatch() { SetMessage(L"LAD, Link Mismatch", L"LAD, 连接错误"); }
ExceptionAnalyzeError_Lad_LinkMismatch::~ExceptionAnalyzeError_Lad_LinkMismatch() = default;

ExceptionAnalyzeError_Lad_ConvertElementError::ExceptionAnalyzeError_Lad_ConvertElementError() { SetMessage(L"LAD, Convert Element Error", L"LAD, 转换元件错误"); }
ExceptionAnalyzeError_Lad_ConvertElementError::~ExceptionAnalyzeError_Lad_ConvertElementError() = default;

ExceptionAnalyzeError_Stl_StlElementError::ExceptionAnalyzeError_Stl_StlElementError() { SetMessage(L"STL, Element Error", L"STL, 元件错误"); }
ExceptionAnalyzeError_Stl_StlElementError::~ExceptionAnalyzeError_Stl_StlElementError() = default;

ExceptionAnalyzeError_Stl_ConvertElementError::ExceptionAnalyzeError_Stl_ConvertElementError() { SetMessage(L"STL, Convert Element Error", L"STL, 转换元件错误"); }
ExceptionAnalyzeError_Stl_ConvertElementError::~ExceptionAnalyzeError_Stl_ConvertElementError() = default;

ExceptionAnalyzeError_Stl_NoOutputElement::ExceptionAnalyzeError_Stl_NoOutputElement() { SetMessage(L"STL, No Output Element", L"STL, 不存在输出元件"); }
ExceptionAnalyzeError_Stl_NoOutputElement::~ExceptionAnalyzeError_Stl_NoOutputElement() = default;

ExceptionAnalyzeError_Stl_UnacceptLrdOrLpp::ExceptionAnalyzeError_Stl_UnacceptLrdOrLpp() { SetMessage(L"STL, Unaccept LRD or LPP", L"STL, 不能处理的LRD和LPP指令"); }
ExceptionAnalyzeError_Stl_UnacceptLrdOrLpp::~ExceptionAnalyzeError_Stl_UnacceptLrdOrLpp() = default;

ExceptionAnalyzeError_Stl_LinkMismatch::ExceptionAnalyzeError_Stl_LinkMismatch() { SetMessage(L"STL, Link Mismatch", L"STL, 连接错误"); }
ExceptionAnalyzeError_Stl_LinkMismatch::~ExceptionAnalyzeError_Stl_LinkMismatch() = default;

ExceptionAnalyzeError_Stl_GeneratrixOutputPlaceError::ExceptionAnalyzeError_Stl_GeneratrixOutputPlaceError() { SetMessage(L"STL, Generatrix Output Instruction Placement Error", L"STL, 母线输出指令位置错误"); }
ExceptionAnalyzeError_Stl_GeneratrixOutputPlaceError::~ExceptionAnalyzeError_Stl_GeneratrixOutputPlaceError() = default;

ExceptionAnalyzeError_Stl_DataStackError::ExceptionAnalyzeError_Stl_DataStackError() { SetMessage(L"STL, Data Stack Error", L"STL, 数据栈出错"); }
ExceptionAnalyzeError_Stl_DataStackError::~ExceptionAnalyzeError_Stl_DataStackError() = default;

ExceptionAnalyzeError_Stl_LogicStackError::ExceptionAnalyzeError_Stl_LogicStackError() { SetMessage(L"STL, Logic Stack Error", L"STL, 逻辑栈出错"); }
ExceptionAnalyzeError_Stl_LogicStackError::~ExceptionAnalyzeError_Stl_LogicStackError() = default;

ExceptionExchCrcUnpackError::ExceptionExchCrcUnpackError() { SetMessage(L"CRC Unpack Error", L"CRC解包错误"); }
ExceptionExchCrcUnpackError::~ExceptionExchCrcUnpackError() = default;

ExceptionExchModbusUnpackError::ExceptionExchModbusUnpackError() { SetMessage(L"MODBUS Unpack Error", L"MODBUS解包错误"); }
ExceptionExchModbusUnpackError::~ExceptionExchModbusUnpackError() = default;

ExceptionExchUnsupportedPackCodeError::ExceptionExchUnsupportedPackCodeError(const std::wstring& detail) { SetMessage(L"Unsupported Pack Code", L"不支持的包号", detail); }
ExceptionExchUnsupportedPackCodeError::~ExceptionExchUnsupportedPackCodeError() = default;

ExceptionExchOpenPortError::ExceptionExchOpenPortError() { SetMessage(L"Open COM Port Error", L"打开串口错误"); }
ExceptionExchOpenPortError::~ExceptionExchOpenPortError() = default;

ExceptionExchSendDataLengthError::ExceptionExchSendDataLengthError() { SetMessage(L"Send Data Length Error", L"发送数据长度错误"); }
ExceptionExchSendDataLengthError::~ExceptionExchSendDataLengthError() = default;

ExceptionExchSendDataError::ExceptionExchSendDataError() { SetMessage(L"Send Data Error", L"发送数据错误"); }
ExceptionExchSendDataError::~ExceptionExchSendDataError() = default;

ExceptionExchTimeoutError::ExceptionExchTimeoutError() { SetMessage(L"Timeout Waiting COM Port", L"等待串口超时"); }
ExceptionExchTimeoutError::~ExceptionExchTimeoutError() = default;

ExceptionExchReceiveDataError::ExceptionExchReceiveDataError() { SetMessage(L"Recevie Data Error", L"接收数据错误"); }
ExceptionExchReceiveDataError::~ExceptionExchReceiveDataError() = default;

ExceptionExchReceiveDataLengthError::ExceptionExchReceiveDataLengthError() { SetMessage(L"Receive Data Length Error", L"接收数据长度错误"); }
ExceptionExchReceiveDataLengthError::~ExceptionExchReceiveDataLengthError() = default;

ExceptionExchPackReceiveLengthError::ExceptionExchPackReceiveLengthError() { SetMessage(L"Receive Data Length Error", L"接收数据长度错误"); }
ExceptionExchPackReceiveLengthError::~ExceptionExchPackReceiveLengthError() = default;

ExceptionExchPackReceiveCodeError::ExceptionExchPackReceiveCodeError() { SetMessage(L"Receive Data Code Error", L"接收数据代码错误"); }
ExceptionExchPackReceiveCodeError::~ExceptionExchPackReceiveCodeError() = default;

ExceptionExchPackReceiveIndexError::ExceptionExchPackReceiveIndexError() { SetMessage(L"Receive Data Index Error", L"接收数据编号错误"); }
ExceptionExchPackReceiveIndexError::~ExceptionExchPackReceiveIndexError() = default;

ExceptionExchUserCancelError::ExceptionExchUserCancelError() { SetMessage(L"Operation Canceled", L"操作被取消"); }
ExceptionExchUserCancelError::~ExceptionExchUserCancelError() = default;

ExceptionExchUnexpectedReceiveError::ExceptionExchUnexpectedReceiveError(const std::wstring& detail) { SetMessage(L"Receive Unexpected Data", L"接收到非预期的数据", detail); }
ExceptionExchUnexpectedReceiveError::~ExceptionExchUnexpectedReceiveError() = default;

ExceptionSwitchNetworkSendFailError::ExceptionSwitchNetworkSendFailError() { SetMessage(L"Network Send Data Fail", L"网络发送数据失败"); }
ExceptionSwitchNetworkSendFailError::~ExceptionSwitchNetworkSendFailError() = default;

ExceptionSwitchNetworkReceiveNone::ExceptionSwitchNetworkReceiveNone() { SetMessage(L"Network Not received Data", L"网络没有接收到服务器端的数据"); }
ExceptionSwitchNetworkReceiveNone::~ExceptionSwitchNetworkReceiveNone() = default;

ExceptionSwitchNetworkReceiveDataError::ExceptionSwitchNetworkReceiveDataError() { SetMessage(L"Network Receive Data Error", L"网络接收数据出错"); }
ExceptionSwitchNetworkReceiveDataError::~ExceptionSwitchNetworkReceiveDataError() = default;

ExceptionSwitchNetworkBadError::ExceptionSwitchNetworkBadError() { SetMessage(L"Network Bad", L"网络已损坏"); }
ExceptionSwitchNetworkBadError::~ExceptionSwitchNetworkBadError() = default;

ExceptionSwitchOpenPortError::ExceptionSwitchOpenPortError() { SetMessage(L"Open COM Port Error", L"打开串口错误"); }
ExceptionSwitchOpenPortError::~ExceptionSwitchOpenPortError() = default;

ExceptionSwitchNetworkConnectError::ExceptionSwitchNetworkConnectError() { SetMessage(L"Network Connect Error", L"网络连接错误"); }
ExceptionSwitchNetworkConnectError::~ExceptionSwitchNetworkConnectError() = default;

ExceptionSwitchOnlineEnterError::ExceptionSwitchOnlineEnterError() { SetMessage(L"Enter Online State Error", L"进入在线模式出错"); }
ExceptionSwitchOnlineEnterError::~ExceptionSwitchOnlineEnterError() = default;

ExceptionSwitchOnlineLeaveError::ExceptionSwitchOnlineLeaveError() { SetMessage(L"Leave Online State Error", L"退出在线模式出错"); }
ExceptionSwitchOnlineLeaveError::~ExceptionSwitchOnlineLeaveError() = default;

ExceptionSwitchCommandEnterError::ExceptionSwitchCommandEnterError() { SetMessage(L"Enter Command State Error", L"进入命令模式出错"); }
ExceptionSwitchCommandEnterError::~ExceptionSwitchCommandEnterError() = default;

ExceptionSwitchCommandLeaveError::ExceptionSwitchCommandLeaveError() { SetMessage(L"Leave Command State Error", L"退出命令模式出错"); }
ExceptionSwitchCommandLeaveError::~ExceptionSwitchCommandLeaveError() = default;

ExceptionInitFileVerError::ExceptionInitFileVerError() { SetMessage(L"File Version Error", L"文件版本错误"); }
ExceptionInitFileVerError::~ExceptionInitFileVerError() = default;

ExceptionInitPlcTypeError::ExceptionInitPlcTypeError() { SetMessage(L"PLC Type Error", L"PLC类型错误"); }
ExceptionInitPlcTypeError::~ExceptionInitPlcTypeError() = default;

ExceptionInitUserCancelError::ExceptionInitUserCancelError() { SetMessage(L"Operation Canceled", L"操作被取消"); }
ExceptionInitUserCancelError::~ExceptionInitUserCancelError() = default;

ExceptionInitUploadDataError::ExceptionInitUploadDataError() { SetMessage(L"Upload Data Error", L"上载数据出错"); }
ExceptionInitUploadDataError::~ExceptionInitUploadDataError() = default;

ExceptionInitDownloadDataError::ExceptionInitDownloadDataError() { SetMessage(L"Download Data Error", L"下载数据出错"); }
ExceptionInitDownloadDataError::~ExceptionInitDownloadDataError() = default;

namespace {
// Gives the builders access to the protected detail constructors.
template <class E>
struct Detailed : E {
  explicit Detailed(const std::wstring& detail) : E(typename E::WithDetail{}, detail) {}
};
}  // namespace

ExceptionLogicError MakeLogicError(const std::wstring& detail) { return Detailed<ExceptionLogicError>(detail); }
ExceptionParseXmlError MakeParseXmlError(const std::wstring& detail) { return Detailed<ExceptionParseXmlError>(detail); }
ExceptionParseLibraryError MakeParseLibraryError(const std::wstring& detail) { return Detailed<ExceptionParseLibraryError>(detail); }
ExceptionParseBinaryPmwError MakeParseBinaryPmwError(const std::wstring& detail) {
  return Detailed<ExceptionParseBinaryPmwError>(detail);
}

}  // namespace Brenno
