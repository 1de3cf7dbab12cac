// The error class tree of the workbench. Every failure is thrown as an object of one of these
// classes; each carries one message chosen in English or Chinese when the object is built, so a
// catcher can show it as it stands. Catch sites select by group (ExceptionExchError,
// ExceptionSwitchError, ExceptionAnalyzeError, ...), so the base of each class decides behaviour.
#pragma once

#include <string>

namespace Brenno {

class ExceptionError {
 public:
  ExceptionError(const ExceptionError&) = default;
  ExceptionError& operator=(const ExceptionError&) = default;
  virtual ~ExceptionError();

  const std::wstring& Message() const { return m_message; }
  // A catcher may add a further detail before throwing the object on.
  void AppendDetail(const std::wstring& detail) { m_message += detail; }

 protected:
  ExceptionError() = default;
  // Replaces the message with the class text of the current language, then the detail.
  void SetMessage(const wchar_t* english, const wchar_t* chinese, const std::wstring& detail = {});

 private:
  std::wstring m_message;
};


class ExceptionLogicError : public ExceptionError {
 public:
  ExceptionLogicError();
  ~ExceptionLogicError() override;
 protected:
  struct WithDetail {};
  ExceptionLogicError(WithDetail, const std::wstring& detail);
};

class ExceptionFormatError : public ExceptionError {
 public:
  ExceptionFormatError();
  ~ExceptionFormatError() override;
};

class ExceptionParseXmlError : public ExceptionError {
 public:
  ExceptionParseXmlError();
  ~ExceptionParseXmlError() override;
 protected:
  struct WithDetail {};
  ExceptionParseXmlError(WithDetail, const std::wstring& detail);
};

class ExceptionParseLibraryError : public ExceptionError {
 public:
  ExceptionParseLibraryError();
  ~ExceptionParseLibraryError() override;
 protected:
  struct WithDetail {};
  ExceptionParseLibraryError(WithDetail, const std::wstring& detail);
};

class ExceptionParseStreamError : public ExceptionError {
 public:
  ExceptionParseStreamError();
  ~ExceptionParseStreamError() override;
};

class ExceptionParseBinaryError : public ExceptionError {
 public:
  ExceptionParseBinaryError();
  ~ExceptionParseBinaryError() override;
};

class ExceptionParseBinaryPmwError : public ExceptionError {
 public:
  ExceptionParseBinaryPmwError();
  ~ExceptionParseBinaryPmwError() override;
 protected:
  struct WithDetail {};
  ExceptionParseBinaryPmwError(WithDetail, const std::wstring& detail);
};

class ExceptionAnalyzeIgnore : public ExceptionError {
 public:
  ExceptionAnalyzeIgnore();
  ~ExceptionAnalyzeIgnore() override;
};

class ExceptionAnalyzeError : public ExceptionError {
 public:
  ExceptionAnalyzeError();
  ~ExceptionAnalyzeError() override;
};

class ExceptionExchError : public ExceptionError {
 public:
  ExceptionExchError();
  ~ExceptionExchError() override;
};

class ExceptionSwitchError : public ExceptionError {
 public:
  ExceptionSwitchError();
  ~ExceptionSwitchError() override;
};

class ExceptionInitError : public ExceptionError {
 public:
  ExceptionInitError();
  ~ExceptionInitError() override;
};

class ExceptionParseBinaryDataError : public ExceptionParseBinaryError {
 public:
  ExceptionParseBinaryDataError();
  ~ExceptionParseBinaryDataError() override;
};

class ExceptionParseBinaryArgumentError : public ExceptionParseBinaryError {
 public:
  ExceptionParseBinaryArgumentError();
  ~ExceptionParseBinaryArgumentError() override;
};

class ExceptionParseBinaryInstructionError : public ExceptionParseBinaryError {
 public:
  ExceptionParseBinaryInstructionError();
  ~ExceptionParseBinaryInstructionError() override;
};

class ExceptionParseBinaryPmwParamError : public ExceptionParseBinaryPmwError {
 public:
  ExceptionParseBinaryPmwParamError();
  ~ExceptionParseBinaryPmwParamError() override;
};

class ExceptionParseBinaryPmwDictateError : public ExceptionParseBinaryPmwError {
 public:
  ExceptionParseBinaryPmwDictateError();
  ~ExceptionParseBinaryPmwDictateError() override;
};

class ExceptionAnalyzeIgnore_Lad_LadEmpty : public ExceptionAnalyzeIgnore {
 public:
  ExceptionAnalyzeIgnore_Lad_LadEmpty();
  ~ExceptionAnalyzeIgnore_Lad_LadEmpty() override;
};

class ExceptionAnalyzeIgnore_Stl_StlEmpty : public ExceptionAnalyzeIgnore {
 public:
  ExceptionAnalyzeIgnore_Stl_StlEmpty();
  ~ExceptionAnalyzeIgnore_Stl_StlEmpty() override;
};

class ExceptionAnalyzeError_Lad_LadElementError : public ExceptionAnalyzeError {
 public:
  ExceptionAnalyzeError_Lad_LadElementError();
  ~ExceptionAnalyzeError_Lad_LadElementError() override;
};

class ExceptionAnalyzeError_Lad_PowerFlowError : public ExceptionAnalyzeError {
 public:
  ExceptionAnalyzeError_Lad_PowerFlowError();
  ~ExceptionAnalyzeError_Lad_PowerFlowError() override;
};

class ExceptionAnalyzeError_Lad_GeneratrixOutputPlaceError : public ExceptionAnalyzeError {
 public:
  ExceptionAnalyzeError_Lad_GeneratrixOutputPlaceError();
  ~ExceptionAnalyzeError_Lad_GeneratrixOutputPlaceError() override;
};

class ExceptionAnalyzeError_Lad_NoInputElement : public ExceptionAnalyzeError {
 public:
  ExceptionAnalyzeError_Lad_NoInputElement();
  ~ExceptionAnalyzeError_Lad_NoInputElement() override;
};

class ExceptionAnalyzeError_Lad_NoOutputElement : public ExceptionAnalyzeError {
 public:
  ExceptionAnalyzeError_Lad_NoOutputElement();
  ~ExceptionAnalyzeError_Lad_NoOutputElement() override;
};

class ExceptionAnalyzeError_Lad_UselessElement : public ExceptionAnalyzeError {
 public:
  ExceptionAnalyzeError_Lad_UselessElement();
  ~ExceptionAnalyzeError_Lad_UselessElement() override;
};

class ExceptionAnalyzeError_Lad_SimplifyError : public ExceptionAnalyzeError {
 public:
  ExceptionAnalyzeError_Lad_SimplifyError();
  ~ExceptionAnalyzeError_Lad_SimplifyError() override;
};

class ExceptionAnalyzeError_Lad_PowerNotFromGeneratrix : public ExceptionAnalyzeError {
 public:
  ExceptionAnalyzeError_Lad_PowerNotFromGeneratrix();
  ~ExceptionAnalyzeError_Lad_PowerNotFromGeneratrix() override;
};

class ExceptionAnalyzeError_Lad_UnacceptLrdOrLpp : public ExceptionAnalyzeError {
 public:
  ExceptionAnalyzeError_Lad_UnacceptLrdOrLpp();
  ~ExceptionAnalyzeError_Lad_UnacceptLrdOrLpp() override;
};

class ExceptionAnalyzeError_Lad_LinkMismatch : public ExceptionAnalyzeError {
 public:
  ExceptionAnalyzeError_Lad_LinkMismatch();
  ~ExceptionAnalyzeError_Lad_LinkMismatch() override;
};

class ExceptionAnalyzeError_Lad_ConvertElementError : public ExceptionAnalyzeError {
 public:
  ExceptionAnalyzeError_Lad_ConvertElementError();
  ~ExceptionAnalyzeError_Lad_ConvertElementError() override;
};

class ExceptionAnalyzeError_Stl_StlElementError : public ExceptionAnalyzeError {
 public:
  ExceptionAnalyzeError_Stl_StlElementError();
  ~ExceptionAnalyzeError_Stl_StlElementError() override;
};

class ExceptionAnalyzeError_Stl_ConvertElementError : public ExceptionAnalyzeError {
 public:
  ExceptionAnalyzeError_Stl_ConvertElementError();
  ~ExceptionAnalyzeError_Stl_ConvertElementError() override;
};

class ExceptionAnalyzeError_Stl_NoOutputElement : public ExceptionAnalyzeError {
 public:
  ExceptionAnalyzeError_Stl_NoOutputElement();
  ~ExceptionAnalyzeError_Stl_NoOutputElement() override;
};

class ExceptionAnalyzeError_Stl_UnacceptLrdOrLpp : public ExceptionAnalyzeError {
 public:
  ExceptionAnalyzeError_Stl_UnacceptLrdOrLpp();
  ~ExceptionAnalyzeError_Stl_UnacceptLrdOrLpp() override;
};

class ExceptionAnalyzeError_Stl_LinkMismatch : public ExceptionAnalyzeError {
 public:
  ExceptionAnalyzeError_Stl_LinkMismatch();
  ~ExceptionAnalyzeError_Stl_LinkMismatch() override;
};

class ExceptionAnalyzeError_Stl_GeneratrixOutputPlaceError : public ExceptionAnalyzeError {
 public:
  ExceptionAnalyzeError_Stl_GeneratrixOutputPlaceError();
  ~ExceptionAnalyzeError_Stl_GeneratrixOutputPlaceError() override;
};

class ExceptionAnalyzeError_Stl_DataStackError : public ExceptionAnalyzeError {
 public:
  ExceptionAnalyzeError_Stl_DataStackError();
  ~ExceptionAnalyzeError_Stl_DataStackError() override;
};

class ExceptionAnalyzeError_Stl_LogicStackError : public ExceptionAnalyzeError {
 public:
  ExceptionAnalyzeError_Stl_LogicStackError();
  ~ExceptionAnalyzeError_Stl_LogicStackError() override;
};

class ExceptionExchCrcUnpackError : public ExceptionExchError {
 public:
  ExceptionExchCrcUnpackError();
  ~ExceptionExchCrcUnpackError() override;
};

class ExceptionExchModbusUnpackError : public ExceptionExchError {
 public:
  ExceptionExchModbusUnpackError();
  ~ExceptionExchModbusUnpackError() override;
};

class ExceptionExchUnsupportedPackCodeError : public ExceptionExchError {
 public:
  explicit ExceptionExchUnsupportedPackCodeError(const std::wstring& detail);
  ~ExceptionExchUnsupportedPackCodeError() override;
};

class ExceptionExchOpenPortError : public ExceptionExchError {
 public:
  ExceptionExchOpenPortError();
  ~ExceptionExchOpenPortError() override;
};

class ExceptionExchSendDataLengthError : public ExceptionExchError {
 public:
  ExceptionExchSendDataLengthError();
  ~ExceptionExchSendDataLengthError() override;
};

class ExceptionExchSendDataError : public ExceptionExchError {
 public:
  ExceptionExchSendDataError();
  ~ExceptionExchSendDataError() override;
};

class ExceptionExchTimeoutError : public ExceptionExchError {
 public:
  ExceptionExchTimeoutError();
  ~ExceptionExchTimeoutError() override;
};

class ExceptionExchReceiveDataError : public ExceptionExchError {
 public:
  ExceptionExchReceiveDataError();
  ~ExceptionExchReceiveDataError() override;
};

class ExceptionExchReceiveDataLengthError : public ExceptionExchError {
 public:
  ExceptionExchReceiveDataLengthError();
  ~ExceptionExchReceiveDataLengthError() override;
};

class ExceptionExchPackReceiveLengthError : public ExceptionExchError {
 public:
  ExceptionExchPackReceiveLengthError();
  ~ExceptionExchPackReceiveLengthError() override;
};

class ExceptionExchPackReceiveCodeError : public ExceptionExchError {
 public:
  ExceptionExchPackReceiveCodeError();
  ~ExceptionExchPackReceiveCodeError() override;
};

class ExceptionExchPackReceiveIndexError : public ExceptionExchError {
 public:
  ExceptionExchPackReceiveIndexError();
  ~ExceptionExchPackReceiveIndexError() override;
};

class ExceptionExchUserCancelError : public ExceptionExchError {
 public:
  ExceptionExchUserCancelError();
  ~ExceptionExchUserCancelError() override;
};

class ExceptionExchUnexpectedReceiveError : public ExceptionExchError {
 public:
  explicit ExceptionExchUnexpectedReceiveError(const std::wstring& detail);
  ~ExceptionExchUnexpectedReceiveError() override;
};

class ExceptionSwitchNetworkSendFailError : public ExceptionExchError {
 public:
  ExceptionSwitchNetworkSendFailError();
  ~ExceptionSwitchNetworkSendFailError() override;
};

class ExceptionSwitchNetworkReceiveNone : public ExceptionExchError {
 public:
  ExceptionSwitchNetworkReceiveNone();
  ~ExceptionSwitchNetworkReceiveNone() override;
};

class ExceptionSwitchNetworkReceiveDataError : public ExceptionExchError {
 public:
  ExceptionSwitchNetworkReceiveDataError();
  ~ExceptionSwitchNetworkReceiveDataError() override;
};

class ExceptionSwitchNetworkBadError : public ExceptionExchError {
 public:
  ExceptionSwitchNetworkBadError();
  ~ExceptionSwitchNetworkBadError() override;
};

class ExceptionSwitchOpenPortError : public ExceptionSwitchError {
 public:
  ExceptionSwitchOpenPortError();
  ~ExceptionSwitchOpenPortError() override;
};

class ExceptionSwitchNetworkConnectError : public ExceptionSwitchError {
 public:
  ExceptionSwitchNetworkConnectError();
  ~ExceptionSwitchNetworkConnectError() override;
};

class ExceptionSwitchOnlineEnterError : public ExceptionSwitchError {
 public:
  ExceptionSwitchOnlineEnterError();
  ~ExceptionSwitchOnlineEnterError() override;
};

class ExceptionSwitchOnlineLeaveError : public ExceptionSwitchError {
 public:
  ExceptionSwitchOnlineLeaveError();
  ~ExceptionSwitchOnlineLeaveError() override;
};

class ExceptionSwitchCommandEnterError : public ExceptionSwitchError {
 public:
  ExceptionSwitchCommandEnterError();
  ~ExceptionSwitchCommandEnterError() override;
};

class ExceptionSwitchCommandLeaveError : public ExceptionSwitchError {
 public:
  ExceptionSwitchCommandLeaveError();
  ~ExceptionSwitchCommandLeaveError() override;
};

class ExceptionInitFileVerError : public ExceptionInitError {
 public:
  ExceptionInitFileVerError();
  ~ExceptionInitFileVerError() override;
};

class ExceptionInitPlcTypeError : public ExceptionInitError {
 public:
  ExceptionInitPlcTypeError();
  ~ExceptionInitPlcTypeError() override;
};

class ExceptionInitUserCancelError : public ExceptionInitError {
 public:
  ExceptionInitUserCancelError();
  ~ExceptionInitUserCancelError() override;
};

class ExceptionInitUploadDataError : public ExceptionInitError {
 public:
  ExceptionInitUploadDataError();
  ~ExceptionInitUploadDataError() override;
};

class ExceptionInitDownloadDataError : public ExceptionInitError {
 public:
  ExceptionInitDownloadDataError();
  ~ExceptionInitDownloadDataError() override;
};


// Builders of the classes that carry a detail text; each detail line starts with "\r\n  ".
ExceptionLogicError MakeLogicError(const std::wstring& detail);
ExceptionParseXmlError MakeParseXmlError(const std::wstring& detail);
ExceptionParseLibraryError MakeParseLibraryError(const std::wstring& detail);
ExceptionParseBinaryPmwError MakeParseBinaryPmwError(const std::wstring& detail);

}  // namespace Brenno
