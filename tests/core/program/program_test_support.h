// An installed environment with one project of the fixture type "TypeA" (its instruction
// library and memory map, a symbol table, and a program with the type's limits), and the
// program services over it. Everything installed is removed again when the fixture ends.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/link/app_environment.h"
#include "core/env/instruction_library.h"
#include "core/env/language.h"
#include "core/env/manager_var_reader.h"
#include "core/program/program_block.h"
#include "core/program/program_services.h"
#include "core/project/project_services.h"
#include "core/project/project.h"
#include "platform/text_codec.h"
#include "support/symbol_test_support.h"
#include "support/test_paths.h"

namespace programtest {

inline std::wstring FixtureFile(const std::string& name) {
  return platform::FromUtf8Lossy(testsupport::FixturePath("catalog/Orvisto/TypeA/" + name));
}

// The limits of the examples: 8 interrupt-table units (1 in a new project), 64 subroutines
// (1 in a new project), 256 networks per page (8 in a new page).
inline Brenno::ProgramBlockSizes ExampleLimits() {
  Brenno::ProgramBlockSizes limits;
  limits.SizePageInt = 8;
  limits.SizePageInitInt = 1;
  limits.SizeItemInt = 256;
  limits.SizeItemInitInt = 8;
  limits.SizePageSbr = 64;
  limits.SizePageInitSbr = 1;
  limits.SizeItemSbr = 256;
  limits.SizeItemInitSbr = 8;
  return limits;
}

inline Brenno::SymbolVarSizes ExampleSymbolSizes() {
  Brenno::SymbolVarSizes sizes;
  sizes.SizeItemInt = 64;
  sizes.SizeItemInitInt = 2;
  sizes.SizeItemSbr = 64;
  sizes.SizeItemInitSbr = 1;
  return sizes;
}

class ProjectFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Brenno::SetCurrentLanguage(Brenno::kLanguageEnglish);
    environment_ = std::make_unique<Brenno::AppEnvironment>();
    environment_->Config.SymbolicAddr = 0;
    environment_->ProjectList.emplace_back();
    Brenno::Project& project = environment_->ProjectList.back();
    Brenno::ReadManagerFun(project.Instructions, FixtureFile("ManagerFun.xml"), ExampleLimits().SizePageSbr);
    Brenno::ReadManagerVar(project.MemoryAreas, FixtureFile("ManagerVar.xml"));
    Brenno::ResetSymbolTable(project.Symbols, ExampleSymbolSizes());
    Brenno::InstallEnvironment(environment_.get());
    Brenno::InstallCurrentProjectServices();
    Program().CreateDefaultBlocks(ExampleLimits(), ExampleSymbolSizes(), project.Instructions.ReservedNames);
    Program().FillDefaultProgramBlocks();
  }

  void TearDown() override {
    Brenno::InstallProgramServices(nullptr);
    Brenno::InstallEnvironment(nullptr);
    environment_.reset();
  }

  Brenno::Project& Project() { return environment_->ProjectList.back(); }
  Brenno::ProgramBlock& Program() { return Project().Program; }
  Brenno::AppEnvironment& Environment() { return *environment_; }

 private:
  std::unique_ptr<Brenno::AppEnvironment> environment_;
};

}  // namespace programtest
