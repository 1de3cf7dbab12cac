// A workbench environment for the program editor tests: a program directory with the fixture
// type CPU-A16 and the test plug-ins, the environment loaded from it with its default project
// (main program MAIN and subroutine SBR_0, ladder view), installed with the program services
// of the current project, an in-memory clipboard and recording message boxes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/env/app_environment.h"
#include "core/env/environment_loader.h"
#include "core/env/language.h"
#include "core/program/ladder_metrics.h"
#include "core/program/program_services.h"
#include "core/program/project_services.h"
#include "core/project/message_box.h"
#include "core/project/project.h"
#include "core/project/project_commands.h"
#include "support/memory_clipboard.h"
#include "support/test_paths.h"

namespace progviewtest {

namespace fs = std::filesystem;

class RecordingBoxes : public Brenno::MessageBoxServices {
 public:
  int MessageBoxOk(const std::wstring& text, int) override {
    shown.push_back(text);
    return Brenno::kMessageResultOk;
  }
  int MessageBoxYesNo(const std::wstring& text, int) override {
    shown.push_back(text);
    return Brenno::kMessageResultNo;
  }
  std::vector<std::wstring> shown;
};

class ProgramEditorEnv : public ::testing::Test {
 protected:
  void SetUp() override {
    Brenno::SetCurrentLanguage(Brenno::kLanguageEnglish);
    const fs::path type = fs::path(dir_.path()) / "Orvisto" / "TypeA";
    fs::create_directories(type);
    fs::copy(testsupport::FixturePath("catalog/Orvisto/TypeA"), type, fs::copy_options::recursive);
    const fs::path plugins = fs::path(testsupport::BinaryDir()) / "tests" / "core" / "plugins";
    for (const char* library : {"libFakeSysBlock.so", "libFakeExchange.so"}) {
      ASSERT_TRUE(fs::exists(plugins / library)) << (plugins / library) << " is not built";
      fs::copy_file(plugins / library, type / library);
    }
    fs::copy_file(testsupport::FixturePath("config/orvisto_no_attributes.xml"), fs::path(dir_.path()) / "Orvisto.xml");
    Brenno::LoadEnvironment(env_, fs::path(dir_.path()).wstring());
    Brenno::InstallEnvironment(&env_);
    Brenno::InstallCurrentProjectServices();
    Brenno::InstallMessageBoxServices(&boxes_);
    ASSERT_TRUE(Brenno::TryNewProject());
    Brenno::SetLadderMetrics(100, false);
  }

  void TearDown() override {
    Brenno::InstallMessageBoxServices(nullptr);
    Brenno::InstallProgramServices(nullptr);
    Brenno::InstallEnvironment(nullptr);
    Brenno::SetLadderMetrics(100, false);
  }

  Brenno::Project& Current() { return env_.ProjectList.back(); }
  Brenno::ProgramBlock& Program() { return Current().Program; }
  Brenno::ProgramPage& Page(int key) { return Program().GetProgramPage(key); }

  testsupport::TempDir dir_;
  Brenno::AppEnvironment env_;
  RecordingBoxes boxes_;
  testsupport::MemoryClipboard clipboard_;
};

}  // namespace progviewtest
