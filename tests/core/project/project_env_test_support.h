// A program directory with a copy of the fixture catalog (types "CPU-A16" and "CPU-FX32", each
// with a system-block library that serves sample pages), an environment loaded from it and
// installed with the program services of the current project, and message boxes that record
// what they were asked to show. The environment starts with the one default project that
// loading leaves; tests make their first project with TryNewProject.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/link/app_environment.h"
#include "core/project/environment_loader.h"
#include "core/env/language.h"
#include "core/env/plc_config.h"
#include "core/program/program_services.h"
#include "core/project/project_services.h"
#include "core/project/message_box.h"
#include "core/project/project.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"

namespace projecttest {

inline constexpr wchar_t kTypeA[] = L"CPU-A16";
inline constexpr wchar_t kTypeFx[] = L"CPU-FX32";

inline std::wstring W(const std::string& s) { return platform::FromUtf8Lossy(s); }

struct ShownMessage {
  std::wstring Text;
  int Icon = 0;
};

class RecordingMessageBoxes : public Brenno::MessageBoxServices {
 public:
  int MessageBoxOk(const std::wstring& text, int icon) override {
    Shown.push_back({text, icon});
    return Brenno::kMessageResultOk;
  }
  int MessageBoxYesNo(const std::wstring& text, int icon) override {
    Shown.push_back({text, icon});
    return Brenno::kMessageResultNo;
  }
  std::vector<ShownMessage> Shown;
};

class ProjectEnvFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    namespace fs = std::filesystem;
    Brenno::SetCurrentLanguage(Brenno::kLanguageEnglish);
    fs::copy(testsupport::FixturePath("catalog/Orvisto"), dir_.File("Orvisto"), fs::copy_options::recursive);
    for (const auto& type : fs::directory_iterator(dir_.File("Orvisto"))) {
      fs::copy_file(std::string(ORVISTO_TEST_PLUGIN_DIR) + "/libFakeSysBlockSamples.so", type.path() / "libFakeSysBlock.so");
      fs::copy_file(std::string(ORVISTO_TEST_PLUGIN_DIR) + "/libFakeExchange.so", type.path() / "libFakeExchange.so");
    }
    Brenno::PlcConfig config;
    config.PlcName = kTypeA;
    config.WritePlcConfig(W(dir_.path()) + L"/Orvisto.xml");
    Brenno::LoadEnvironment(env_, W(dir_.path()));
    Brenno::InstallEnvironment(&env_);
    Brenno::InstallCurrentProjectServices();
    Brenno::InstallMessageBoxServices(&boxes_);
  }

  void TearDown() override {
    Brenno::InstallMessageBoxServices(nullptr);
    Brenno::InstallProgramServices(nullptr);
    Brenno::InstallEnvironment(nullptr);
    Brenno::SetCurrentLanguage(Brenno::kLanguageEnglish);
  }

  Brenno::Project& Current() { return env_.ProjectList.back(); }
  std::wstring Path(const std::string& name) const { return W(dir_.File(name)); }

  testsupport::TempDir dir_;
  Brenno::AppEnvironment env_;
  RecordingMessageBoxes boxes_;
};

}  // namespace projecttest
