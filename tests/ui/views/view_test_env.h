// The environment the table view tests work in: a program directory made of the fixture type
// TypeA with the test plug-ins, loaded and installed with a fresh project, an in-memory
// clipboard, and a main frame sink that records every update the hub routes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/env/app_environment.h"
#include "core/env/environment_loader.h"
#include "core/env/language.h"
#include "core/link/comm_state.h"
#include "core/program/program_services.h"
#include "core/program/project_services.h"
#include "core/project/message_box.h"
#include "core/project/project.h"
#include "core/project/project_commands.h"
#include "tests/support/memory_clipboard.h"
#include "tests/support/test_paths.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/views/grid_table_model.h"

namespace viewtest {

namespace fs = std::filesystem;

class SilentMessageBoxes : public Brenno::MessageBoxServices {
 public:
  int MessageBoxOk(const std::wstring& text, int) override {
    Shown.push_back(text);
    return Brenno::kMessageResultOk;
  }
  int MessageBoxYesNo(const std::wstring& text, int) override {
    Shown.push_back(text);
    return Brenno::kMessageResultNo;
  }
  std::vector<std::wstring> Shown;
};

class RecordingFrame : public Brenno::MainFrameSink {
 public:
  void RouteUpdate(uint16_t code, intptr_t value) override {
    Calls.push_back({code, value});
    if (Forward) Forward(code, value);
  }
  void SetStatusText(const std::wstring&, bool) override {}
  bool Routed(uint16_t code, intptr_t value) const {
    for (const auto& call : Calls) {
      if (call.Code == code && call.Value == value) return true;
    }
    return false;
  }
  bool RoutedCode(uint16_t code) const {
    for (const auto& call : Calls) {
      if (call.Code == code) return true;
    }
    return false;
  }
  std::vector<Brenno::PaneUpdateCall> Calls;
  // Hands the codes on as the main frame would route them to the windows under test.
  std::function<void(uint16_t, intptr_t)> Forward;
};

class ViewEnvTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Brenno::SetCurrentLanguage(Brenno::kLanguageEnglish);
    const fs::path type = fs::path(dir_.path()) / "Orvisto" / "TypeA";
    fs::create_directories(type);
    fs::copy(testsupport::FixturePath("catalog/Orvisto/TypeA"), type, fs::copy_options::recursive);
    const fs::path plugins = fs::path(testsupport::BinaryDir()) / "tests" / "core" / "plugins";
    for (const char* library : {"libFakeSysBlock.so", "libFakeExchange.so"}) {
      fs::copy_file(plugins / library, type / library);
    }
    fs::copy_file(testsupport::FixturePath("config/orvisto_no_attributes.xml"), fs::path(dir_.path()) / "Orvisto.xml");
    Brenno::LoadEnvironment(env_, fs::path(dir_.path()).wstring());
    Brenno::InstallEnvironment(&env_);
    Brenno::InstallCurrentProjectServices();
    Brenno::InstallMessageBoxServices(&boxes_);
    ASSERT_TRUE(Brenno::TryNewProject());
    Brenno::InstallMainFrameSink(&frame_);
  }

  void TearDown() override {
    Brenno::InstallMainFrameSink(nullptr);
    Brenno::InstallMessageBoxServices(nullptr);
    Brenno::InstallProgramServices(nullptr);
    Brenno::InstallEnvironment(nullptr);
    Brenno::SetCurrentLanguage(Brenno::kLanguageEnglish);
  }

  Brenno::Project& Current() { return env_.ProjectList.back(); }
  void SetCommState(int state) { env_.CommState.store(state); }

  testsupport::TempDir dir_;
  Brenno::AppEnvironment env_;
  SilentMessageBoxes boxes_;
  testsupport::MemoryClipboard clipboard_;
  RecordingFrame frame_;
};

// A cursor on a single cell with the selection over records [first, end) of group 0.
inline Brenno::GridCursor CursorOn(int record, int column, int first = -2, int end = -2) {
  Brenno::GridCursor cursor;
  cursor.FocusRecord = record;
  cursor.FocusGroup = 0;
  cursor.FocusLine = 0;
  cursor.FocusColumn = column;
  cursor.FirstRecord = first == -2 ? record : first;
  cursor.EndRecord = end == -2 ? record + 1 : end;
  cursor.FirstGroup = 0;
  cursor.EndGroup = 1;
  return cursor;
}

}  // namespace viewtest
