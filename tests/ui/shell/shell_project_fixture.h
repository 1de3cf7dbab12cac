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

#include "core/link/app_environment.h"
#include "core/project/environment_loader.h"
#include "core/env/language.h"
#include "core/program/program_services.h"
#include "core/project/project_services.h"
#include "core/project/message_box.h"
#include "core/project/project.h"
#include "core/project/project_commands.h"
#include "tests/support/test_paths.h"
#include "tests/support/type_a_environment.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/views/program_location.h"

namespace shelltest {

using RecordingMessageBoxes = testsupport::RecordingMessageBoxes;

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

class ShellProjectFixture : public testsupport::TypeAEnvironmentTest {
 protected:
  void SetUp() override {
    TypeAEnvironmentTest::SetUp();
    if (HasFatalFailure()) return;
    env_.Modified = false;
    Brenno::InstallMainFrameSink(&sink_);
  }

  void TearDown() override {
    Brenno::InstallMainFrameSink(nullptr);
    TypeAEnvironmentTest::TearDown();
  }

  RecordingFrameSink sink_;
};

}  // namespace shelltest
