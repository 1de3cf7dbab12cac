// An environment loaded from a program directory made of the fixture catalog (type TypeA with
// the test plug-ins), installed as the current one with a fresh project, message boxes that
// record what they were asked to show, and a main-frame stand-in that records the update codes
// the notification hub sends (with the location a location code carries).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/env/app_environment.h"
#include "core/env/environment_loader.h"
#include "core/env/language.h"
#include "core/program/program_services.h"
#include "core/program/project_services.h"
#include "core/project/message_box.h"
#include "core/project/project.h"
#include "core/project/project_commands.h"
#include "tests/support/test_paths.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/views/program_location.h"

namespace shelltest {

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

class RecordingFrameSink : public Brenno::MainFrameSink {
 public:
  struct Call {
    uint16_t Code;
    intptr_t Value;
    std::optional<Brenno::ProgramLocation> Location;  // read from UpdLadLocate's value
  };
  void RouteUpdate(uint16_t code, intptr_t value) override {
    Call call{code, value, std::nullopt};
    if (code == Brenno::UpdLadLocate && value != 0) {
      const auto* record = *reinterpret_cast<const Brenno::ProgramLocation* const*>(value);
      if (record != nullptr) call.Location = *record;
    }
    Calls.push_back(call);
  }
  void SetStatusText(const std::wstring&, bool) override {}

  int Count(uint16_t code) const {
    int n = 0;
    for (const Call& call : Calls) n += call.Code == code ? 1 : 0;
    return n;
  }
  std::vector<Brenno::ProgramLocation> Locations() const {
    std::vector<Brenno::ProgramLocation> out;
    for (const Call& call : Calls) {
      if (call.Location) out.push_back(*call.Location);
    }
    return out;
  }
  std::vector<Call> Calls;
};

class ShellProjectFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    namespace fs = std::filesystem;
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
    env_.Modified = false;
    Brenno::InstallMainFrameSink(&sink_);
  }

  void TearDown() override {
    Brenno::InstallMainFrameSink(nullptr);
    Brenno::InstallMessageBoxServices(nullptr);
    Brenno::InstallProgramServices(nullptr);
    Brenno::InstallEnvironment(nullptr);
    Brenno::SetCurrentLanguage(Brenno::kLanguageEnglish);
  }

  Brenno::Project& Current() { return env_.ProjectList.back(); }

  testsupport::TempDir dir_;
  Brenno::AppEnvironment env_;
  RecordingMessageBoxes boxes_;
  RecordingFrameSink sink_;
};

}  // namespace shelltest
