// The texts of the diagnosis window: the names of its rows and the formatting of the PLC's
// diagnosis record into the value texts the window shows. The row names and the status texts
// exist in Chinese only and are shown in both languages.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/link/online_monitor.h"

namespace Brenno {

inline constexpr int kDiagnosisModuleCount = 7;
inline constexpr int kDiagnosisControllerRows = 5;
inline constexpr int kDiagnosisModuleRows = 8;
// Every value row: the controller's and eight for each module.
inline constexpr int kDiagnosisValueRows = kDiagnosisControllerRows + kDiagnosisModuleCount * kDiagnosisModuleRows;

// The group rows and the value rows, in the order the window shows them.
inline constexpr const wchar_t* kDiagnosisControllerGroup = L"控制器";
inline constexpr const wchar_t* kDiagnosisModulesGroup = L"扩展模块";
extern const std::array<const wchar_t*, kDiagnosisControllerRows> kDiagnosisControllerRowNames;
extern const std::array<const wchar_t*, kDiagnosisModuleRows> kDiagnosisModuleRowNames;
// "扩展模块1" to "扩展模块7" for module 1 to 7.
std::wstring DiagnosisModuleGroupName(int module);

// One diagnosis record as text: the controller's five values (hardware version, software
// version, program area usage, reset count, run time in minutes) and, for each module position
// 1 to 7 (index 0 to 6), its eight values (model, configuration status, calibration switch, link
// state, hardware version, software version, reset count, link error count), whatever its type.
struct DiagnosisTexts {
  std::array<std::wstring, kDiagnosisControllerRows> Controller;
  std::array<std::array<std::wstring, kDiagnosisModuleRows>, kDiagnosisModuleCount> Modules;
  // The module type codes of the record, 0 where no module is present.
  std::array<int, kDiagnosisModuleCount> ModuleTypes{};
};
DiagnosisTexts FormatDiagnosisTexts(const DiagnosisData& data);

// "<high nibble>.<low nibble>" in decimal: 0x21 gives "2.1", 0xA0 "10.0".
std::wstring DiagnosisVersionText(uint8_t version);
// The model name of a module type code 1 to 23; any other code gives the empty text.
std::wstring DiagnosisModuleModelName(int code);
// 1 "正确", 2 to 6 the configuration errors; 0 and any other code the empty text.
std::wstring DiagnosisConfigStatusText(int code);
// 0 "关闭", 1 "打开", else empty.
std::wstring DiagnosisSwitchText(int value);
// 0 "离线", 1 "在线", else empty.
std::wstring DiagnosisLinkText(int value);

}  // namespace Brenno
