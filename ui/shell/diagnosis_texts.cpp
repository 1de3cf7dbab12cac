#include "ui/shell/diagnosis_texts.h"

namespace Brenno {

const std::array<const wchar_t*, kDiagnosisControllerRows> kDiagnosisControllerRowNames = {
    L"控制器硬件版本", L"控制器软件版本", L"用户指令区空间使用情况", L"控制器复位次数", L"控制器运行时间(分)",
};

const std::array<const wchar_t*, kDiagnosisModuleRows> kDiagnosisModuleRowNames = {
    L"扩展模块类型",     L"扩展模块配置状态", L"扩展模块校准开关", L"扩展模块通讯状态",
    L"扩展模块硬件版本", L"扩展模块软件版本", L"扩展模块复位次数", L"扩展模块通讯错误次数",
};

std::wstring DiagnosisModuleGroupName(int module) { return L"扩展模块" + std::to_wstring(module); }

std::wstring DiagnosisVersionText(uint8_t version) {
  return std::to_wstring(version >> 4) + L"." + std::to_wstring(version & 0x0F);
}

std::wstring DiagnosisModuleModelName(int code) {
  static const wchar_t* const kNames[] = {
      L"Parlune", L"Voskel",  L"Kavrin",  L"Istrel",  L"Oskavel", L"Nuvask",  L"Belquin", L"Dorvane",
      L"Pruvel",  L"Quenlow", L"Lumbrek", L"Rastok",  L"Fennick", L"Glostra", L"Uvendar", L"Solvind",
      L"Trevasse", L"Jorlith", L"Mordale", L"Hulvern", L"Varnock", L"Weskarn", L"Yolvask",
  };
  constexpr int count = static_cast<int>(sizeof(kNames) / sizeof(kNames[0]));
  return code >= 1 && code <= count ? kNames[code - 1] : L"";
}

std::wstring DiagnosisConfigStatusText(int code) {
  switch (code) {
    case 1: return L"正确";
    case 2: return L"模块配置crc错误";
    case 3: return L"模块配置地址错误";
    case 4: return L"模块配置特征码错误";
    case 5: return L"模块配置类型不匹配";
    case 6: return L"模块配置通讯超时";
    default: return L"";
  }
}

std::wstring DiagnosisSwitchText(int value) {
  return value == 0 ? L"关闭" : value == 1 ? L"打开" : L"";
}

std::wstring DiagnosisLinkText(int value) {
  return value == 0 ? L"离线" : value == 1 ? L"在线" : L"";
}

DiagnosisTexts FormatDiagnosisTexts(const DiagnosisData& data) {
  DiagnosisTexts texts;
  texts.Controller = {
      DiagnosisVersionText(data.ControllerByte0),
      DiagnosisVersionText(data.ControllerByte1),
      std::to_wstring(data.ControllerWord),
      // The controller's counters are signed 32-bit numbers.
      std::to_wstring(static_cast<int32_t>(data.ControllerDword0)),
      std::to_wstring(static_cast<int32_t>(data.ControllerDword1)),
  };
  for (size_t k = 0; k < static_cast<size_t>(kDiagnosisModuleCount); ++k) {
    const int type = data.ModuleBytes[0][k];
    texts.ModuleTypes[k] = type;
    texts.Modules[k] = {
        DiagnosisModuleModelName(type),
        DiagnosisConfigStatusText(data.ModuleBytes[1][k]),
        DiagnosisSwitchText(data.ModuleBytes[2][k]),
        DiagnosisLinkText(data.ModuleBytes[3][k]),
        DiagnosisVersionText(data.ModuleBytes[4][k]),
        DiagnosisVersionText(data.ModuleBytes[5][k]),
        std::to_wstring(data.ModuleWords[0][k]),
        std::to_wstring(data.ModuleWords[1][k]),
    };
  }
  return texts;
}

}  // namespace Brenno
