// What the tests that load a workbench environment share: a program directory made of the
// fixture type TypeA with the test plug-ins and the configuration file without attributes,
// message boxes that record what they were asked to show, and a fixture that loads and installs
// the environment of such a directory with a fresh project.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/env/language.h"
#include "core/link/app_environment.h"
#include "core/link/online_access.h"
#include "core/project/environment_loader.h"
#include "core/program/program_services.h"
#include "core/project/project_services.h"
#include "core/project/message_box.h"
#include "core/project/project.h"
#include "core/project/project_commands.h"
#include "tests/support/test_paths.h"

namespace testsupport {

// Lays the program directory out in `dir`: "Orvisto.xml" and the folder "Orvisto/TypeA" with the
// fixture catalog's TypeA and the fake plug-ins of the core tests (targets FakeSysBlock and
// FakeExchange). Call it under ASSERT_NO_FATAL_FAILURE: a plug-in that is not built fails there.
inline void MakeTypeAProgramDir(const std::filesystem::path& dir) {
  namespace fs = std::filesystem;
  const fs::path type = dir / "Orvisto" / "TypeA";
  fs::create_directories(type);
  fs::copy(FixturePath("catalog/Orvisto/TypeA"), type, fs::copy_options::recursive);
  const fs::path plugins = fs::path(BinaryDir()) / "tests" / "core" / "plugins";
  for (const char* library : {"libFakeSysBlock.so", "libFakeExchange.so"}) {
    ASSERT_TRUE(fs::exists(plugins / library)) << (plugins / library) << " is not built";
    fs::copy_file(plugins / library, type / library);
  }
  fs::copy_file(FixturePath("config/orvisto_no_attributes.xml"), dir / "Orvisto.xml");
}

// Message boxes that keep the texts they were asked to show and answer OK and No.
class RecordingMessageBoxes : public Brenno::MessageBoxServices {
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

// English texts; the environment of a TypeA program directory loaded, installed with the
// current project's services, the link's online services and the recording message boxes, and a
// new project made. Fixtures
// that add to it call SetUp first (and return on a fatal failure) and TearDown last.
class TypeAEnvironmentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Brenno::SetCurrentLanguage(Brenno::kLanguageEnglish);
    ASSERT_NO_FATAL_FAILURE(MakeTypeAProgramDir(dir_.path()));
    Brenno::LoadEnvironment(env_, std::filesystem::path(dir_.path()).wstring());
    Brenno::InstallEnvironment(&env_);
    Brenno::InstallCurrentProjectServices();
    Brenno::InstallLinkOnlineServices();
    Brenno::InstallMessageBoxServices(&boxes_);
    ASSERT_TRUE(Brenno::TryNewProject());
  }

  void TearDown() override {
    Brenno::InstallMessageBoxServices(nullptr);
    Brenno::InstallOnlineServices(nullptr);
    Brenno::InstallProgramServices(nullptr);
    Brenno::InstallEnvironment(nullptr);
    Brenno::SetCurrentLanguage(Brenno::kLanguageEnglish);
  }

  Brenno::Project& Current() { return env_.ProjectList.back(); }

  TempDir dir_;
  Brenno::AppEnvironment env_;
  RecordingMessageBoxes boxes_;
};

}  // namespace testsupport
