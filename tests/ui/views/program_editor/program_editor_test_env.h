// A workbench environment for the program editor tests: a program directory with the fixture
// type CPU-A16 and the test plug-ins, the environment loaded from it with its default project
// (main program MAIN and subroutine SBR_0, ladder view), installed with the program services
// of the current project, an in-memory clipboard and recording message boxes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/link/app_environment.h"
#include "core/project/environment_loader.h"
#include "core/env/language.h"
#include "core/program/ladder_metrics.h"
#include "core/program/program_services.h"
#include "core/project/project_services.h"
#include "core/project/message_box.h"
#include "core/project/project.h"
#include "core/project/project_commands.h"
#include "support/memory_clipboard.h"
#include "support/test_paths.h"
#include "support/type_a_environment.h"

namespace progviewtest {

namespace fs = std::filesystem;

class ProgramEditorEnv : public testsupport::TypeAEnvironmentTest {
 protected:
  void SetUp() override {
    TypeAEnvironmentTest::SetUp();
    if (HasFatalFailure()) return;
    Brenno::SetLadderMetrics(100, false);
  }

  void TearDown() override {
    TypeAEnvironmentTest::TearDown();
    Brenno::SetLadderMetrics(100, false);
  }

  Brenno::ProgramBlock& Program() { return Current().Program; }
  Brenno::ProgramPage& Page(int key) { return Program().GetProgramPage(key); }

  testsupport::MemoryClipboard clipboard_;
};

}  // namespace progviewtest
