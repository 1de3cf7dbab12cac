// A program directory with a copy of the fixture catalog (types "CPU-A16" and "CPU-FX32" with
// the test plug-ins), an environment loaded from it and installed with the program services,
// a scripted UI facade, and a fresh project of the type "CPU-A16" (main program, SBR_0, one data
// block, one variable table, one status chart).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/link/app_environment.h"
#include "core/project/environment_loader.h"
#include "core/env/language.h"
#include "core/env/plc_config.h"
#include "core/link/comm_state.h"
#include "core/program/program_services.h"
#include "core/project/project_services.h"
#include "core/project/project.h"
#include "core/project/project_commands.h"
#include "tests/support/test_paths.h"
#include "tests/ui/shell/scripted_message_facade.h"

namespace treetest {

namespace fs = std::filesystem;

struct SentEvent {
  uint32_t Event;
  intptr_t Value;
  bool operator==(const SentEvent&) const = default;
};

inline void PrintTo(const SentEvent& e, std::ostream* os) { *os << std::hex << "{0x" << e.Event << ", " << std::dec << e.Value << "}"; }

class ProjectTreeEnv : public ::testing::Test {
 protected:
  void SetUp() override {
    Brenno::SetCurrentLanguage(Brenno::kLanguageEnglish);
    const fs::path catalog = fs::path(dir_.path()) / "Orvisto";
    fs::copy(testsupport::FixturePath("catalog/Orvisto"), catalog, fs::copy_options::recursive);
    const fs::path plugins = fs::path(testsupport::BinaryDir()) / "tests" / "core" / "plugins";
    for (const auto& type : fs::directory_iterator(catalog)) {
      for (const char* library : {"libFakeSysBlock.so", "libFakeExchange.so"}) {
        fs::copy_file(plugins / library, type.path() / library);
      }
    }
    Brenno::PlcConfig config;
    config.PlcName = L"CPU-A16";
    config.WritePlcConfig(fs::path(dir_.File("Orvisto.xml")).wstring());
    Brenno::LoadEnvironment(env_, fs::path(dir_.path()).wstring());
    Brenno::InstallEnvironment(&env_);
    Brenno::InstallCurrentProjectServices();
    ASSERT_TRUE(Brenno::TryNewProject());
  }

  void TearDown() override {
    Brenno::InstallProgramServices(nullptr);
    Brenno::InstallEnvironment(nullptr);
    Brenno::SetCurrentLanguage(Brenno::kLanguageEnglish);
  }

  Brenno::Project& Current() { return env_.ProjectList.back(); }
  void SetCommState(int state) { env_.CommState.store(state); }

  testsupport::TempDir dir_;
  shelltest::ScriptedMessageFacade facade_;
  Brenno::AppEnvironment env_;
};

}  // namespace treetest
