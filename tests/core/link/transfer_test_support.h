// Shared helpers of the transfer tests: a recording stand-in for the monitor's user-interface
// services and for the message boxes of the user-interface thread, and a compiler fixture
// whose project holds data rows, a changed system byte and a small statement-list program.
#pragma once

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "../compiler/compiler_test_support.h"
#include "core/link/monitor_ui.h"
#include "core/project/data_block_table.h"
#include "core/project/message_box.h"

namespace transfertest {

class RecordingUi : public Brenno::MonitorUiServices, public Brenno::MessageBoxServices {
 public:
  RecordingUi() {
    Brenno::InstallMonitorUiServices(this);
    Brenno::InstallMessageBoxServices(this);
  }
  ~RecordingUi() override {
    Brenno::InstallMonitorUiServices(nullptr);
    Brenno::InstallMessageBoxServices(nullptr);
  }

  void NotifyMainFrame(int event, intptr_t value) override {
    std::lock_guard<std::mutex> lock(mutex_);
    Notifications.push_back(event);
  }
  void ShowStatusText(const std::wstring& text, int colour) override {
    std::lock_guard<std::mutex> lock(mutex_);
    Statuses.push_back(text + L"/" + std::to_wstring(colour));
  }
  void MessageBoxOk(const std::wstring& text, unsigned icon) override {
    std::lock_guard<std::mutex> lock(mutex_);
    Messages.push_back(text);
  }
  int MessageBoxYesNo(const std::wstring& text, unsigned icon) override {
    std::lock_guard<std::mutex> lock(mutex_);
    Questions.push_back(text);
    return Answer;
  }
  int MessageBoxOk(const std::wstring& text, int icon) override {
    MessageBoxOk(text, static_cast<unsigned>(icon));
    return Brenno::kMessageResultOk;
  }
  int MessageBoxYesNo(const std::wstring& text, int icon) override {
    return MessageBoxYesNo(text, static_cast<unsigned>(icon));
  }

  int Answer = Brenno::kAnswerNo;
  std::vector<int> Notifications;
  std::vector<std::wstring> Statuses;
  std::vector<std::wstring> Messages;
  std::vector<std::wstring> Questions;

 private:
  std::mutex mutex_;
};

inline void SetRow(Brenno::DataBlockTable& table, int key, int index, int type, const std::wstring& address,
                   const std::wstring& value) {
  Brenno::SetDataRowType(table, key, index, type);
  Brenno::SetDataRowAddress(table, key, index, address);
  Brenno::SetDataRowValue(table, key, index, value);
  ASSERT_EQ(Brenno::GetDataRow(table, key, index).CheckFlags, Brenno::kDataRowComplete) << address;
}

// Data rows, one changed system byte and a statement-list main program and subroutine with
// constants, in the addresses of the type's layout.
inline void FillProject(Brenno::Project& project) {
  using compilertest::Line;
  using compilertest::StlNetwork;
  const bool fx = project.Type != nullptr && project.Type->IsFxMode();
  if (fx) {
    SetRow(project.DataBlocks, 0, 0, 5, L"D10", L"-2");
    SetRow(project.DataBlocks, 0, 1, 8, L"D11", L"K60000");
  } else {
    SetRow(project.DataBlocks, 0, 0, 2, L"VW0", L"100");
    SetRow(project.DataBlocks, 0, 1, 10, L"VD4", L"1.5");
  }
  project.SystemBlocks.Working.at(1).Rows[3] = 0xEE;
  Brenno::ProgramBlock& program = project.Program;
  program.ViewMode = Brenno::kViewModeStl;
  Brenno::ProgramPage& main = program.GetProgramPage(0);
  Brenno::ProgramPage& sbr = program.GetProgramPage(0x10000);
  if (fx) {
    main.UndoLog.Networks = {StlNetwork({Line(L"LD", {L"X0"}), Line(L"OUT", {L"Y0"})}),
                             StlNetwork({Line(L"LD=", {L"D0", L"K5"}), Line(L"MOV", {L"K10Z1", L"D2"})})};
    sbr.UndoLog.Networks = {StlNetwork({Line(L"LD", {L"M0"}), Line(L"OUT", {L"Y1"})})};
  } else {
    main.UndoLog.Networks = {StlNetwork({Line(L"LD", {L"I0.0"}), Line(L"=", {L"Q0.0"})}),
                             StlNetwork({Line(L"LD", {L"I0.1"}), Line(L"MOVW", {L"16#1234", L"VW2"})})};
    sbr.UndoLog.Networks = {StlNetwork({Line(L"LD", {L"I0.2"}), Line(L"MOVW", {L"16#55", L"VW8"})})};
  }
  main.ViewState.ViewMode = Brenno::kViewModeStl;
  sbr.ViewState.ViewMode = Brenno::kViewModeStl;
}

// The current project's image (silent report); fails the test on a compile error.
inline Brenno::BinaryImage EncodeCurrent() {
  Brenno::BinaryImage image;
  Brenno::CompileReport report(false);
  Brenno::EncodeDataBlocks(report, image);
  Brenno::EncodeSystemBlock(report, image);
  Brenno::EncodeProgramBlocks(report, image);
  EXPECT_EQ(report.TotalErrors(), 0);
  return image;
}

// The catalog entry of the current project's type, to adjust it for a test.
inline Brenno::PlcType& CurrentTypeEntry(Brenno::AppEnvironment& env) {
  for (Brenno::PlcType& type : env.PlcTypeCatalog) {
    if (&type == Brenno::CurrentProject().Type) return type;
  }
  throw std::logic_error("current type not in the catalog");
}

}  // namespace transfertest
