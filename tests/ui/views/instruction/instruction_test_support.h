// An installed environment whose current project is of one fixture type ("TypeA", FxMode 0, or
// "TypeFx", FxMode 1): its instruction library and memory map, a symbol table with two global
// symbols, a program with the main program and one subroutine page (SBR_0), and a local
// variable "speed" on the main program. Everything installed is removed when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/link/app_environment.h"
#include "core/env/instruction_library.h"
#include "core/env/language.h"
#include "core/env/manager_var_reader.h"
#include "core/link/comm_state.h"
#include "core/program/program_block.h"
#include "core/program/program_services.h"
#include "core/project/project_services.h"
#include "core/project/project.h"
#include "platform/text_codec.h"
#include "support/symbol_test_support.h"
#include "support/test_paths.h"

namespace instructiontest {

inline std::wstring FixtureFile(const std::string& type, const std::string& name) {
  return platform::FromUtf8Lossy(testsupport::FixturePath("catalog/Orvisto/" + type + "/" + name));
}

inline Brenno::ProgramBlockSizes Limits() {
  Brenno::ProgramBlockSizes limits;
  limits.SizePageInt = 8;
  limits.SizePageInitInt = 1;
  limits.SizeItemInt = 256;
  limits.SizeItemInitInt = 8;
  limits.SizePageSbr = 8;
  limits.SizePageInitSbr = 1;
  limits.SizeItemSbr = 256;
  limits.SizeItemInitSbr = 8;
  return limits;
}

inline Brenno::SymbolVarSizes SymbolSizes() {
  Brenno::SymbolVarSizes sizes;
  sizes.SizeItemInt = 64;
  sizes.SizeItemInitInt = 2;
  sizes.SizeItemSbr = 64;
  sizes.SizeItemInitSbr = 1;
  return sizes;
}

// A local variable entry that passed every check.
inline Brenno::VarEntry ValidLocal(const std::wstring& name, const std::wstring& address, int type) {
  Brenno::VarEntry entry = Brenno::MakeAreaVarEntry(3);
  entry.Name = name;
  entry.Address = address;
  entry.Type = type;
  entry.CheckFlags = 31;
  return entry;
}

class InstructionEnvFixture : public ::testing::Test {
 protected:
  void TearDown() override {
    Brenno::InstallProgramServices(nullptr);
    Brenno::InstallEnvironment(nullptr);
    Brenno::SetCurrentLanguage(Brenno::kLanguageEnglish);
    environment_.reset();
  }

  // Builds the project of the type; call first in each test (or in SetUp of a derived fixture).
  void Load(const std::string& type) {
    Brenno::SetCurrentLanguage(Brenno::kLanguageEnglish);
    environment_ = std::make_unique<Brenno::AppEnvironment>();
    environment_->Config.SymbolicAddr = 0;
    environment_->ProjectList.emplace_back();
    Brenno::Project& project = environment_->ProjectList.back();
    Brenno::ReadManagerFun(project.Instructions, FixtureFile(type, "ManagerFun.xml"), Limits().SizePageSbr);
    Brenno::ReadManagerVar(project.MemoryAreas, FixtureFile(type, "ManagerVar.xml"));
    Brenno::ResetSymbolTable(project.Symbols, SymbolSizes());
    Brenno::InstallEnvironment(environment_.get());
    Brenno::InstallCurrentProjectServices();
    project.Program.CreateDefaultBlocks(Limits(), SymbolSizes(), project.Instructions.ReservedNames);
    project.Program.FillDefaultProgramBlocks();
    const bool fx = type == "TypeFx";
    testsupport::AddGlobalSymbol(project.Symbols, L"start", fx ? L"X0" : L"I0.0", 0);
    testsupport::AddGlobalSymbol(project.Symbols, L"level", fx ? L"D10" : L"VW10", 5);
    project.Program.InterruptTable.GetBlockPage(0).LocalVars.push_back(ValidLocal(L"speed", fx ? L"D20" : L"VW20", 5));
  }

  Brenno::Project& Project() { return environment_->ProjectList.back(); }
  Brenno::AppEnvironment& Environment() { return *environment_; }

 private:
  std::unique_ptr<Brenno::AppEnvironment> environment_;
};

}  // namespace instructiontest
