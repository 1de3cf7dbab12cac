// Shared set-up of the program-model harnesses: one environment with a project of the fixture
// type "TypeA" (instruction library and memory map from the source tree's fixtures, a symbol
// table with a few symbols, and a new program), installed once for the whole run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/link/app_environment.h"
#include "core/env/instruction_library.h"
#include "core/env/manager_var_reader.h"
#include "core/project/project_services.h"
#include "core/project/project.h"
#include "core/project/local_var_table.h"
#include "platform/text_codec.h"
#include "../support/symbol_test_support.h"

namespace fuzzprogram {

inline std::wstring FixtureFile(const char* name) {
  const std::filesystem::path folder =
      std::filesystem::path(__FILE__).parent_path() / ".." / "fixtures" / "catalog" / "Orvisto" / "TypeA";
  return (folder / name).wstring();
}

inline void InstallFixtureProject() {
  static Brenno::AppEnvironment* environment = [] {
    auto* created = new Brenno::AppEnvironment();
    created->Config.SymbolicAddr = 0;
    created->ProjectList.emplace_back();
    Brenno::Project& project = created->ProjectList.back();
    Brenno::ReadManagerFun(project.Instructions, FixtureFile("ManagerFun.xml"), 16);
    Brenno::ReadManagerVar(project.MemoryAreas, FixtureFile("ManagerVar.xml"));
    Brenno::SymbolVarSizes sizes;
    sizes.SizeItemInt = 64;
    sizes.SizeItemInitInt = 1;
    sizes.SizeItemSbr = 64;
    sizes.SizeItemInitSbr = 1;
    Brenno::ResetSymbolTable(project.Symbols, sizes);
    Brenno::InstallEnvironment(created);
    testsupport::AddGlobalSymbol(project.Symbols, L"Start", L"I0.0");
    testsupport::AddGlobalSymbol(project.Symbols, L"Count", L"VW0", 2);
    Brenno::InstallCurrentProjectServices();
    Brenno::ProgramBlockSizes limits;
    limits.SizePageInt = 2;
    limits.SizePageInitInt = 1;
    limits.SizeItemInt = 16;
    limits.SizeItemInitInt = 1;
    limits.SizePageSbr = 16;
    limits.SizePageInitSbr = 1;
    limits.SizeItemSbr = 16;
    limits.SizeItemInitSbr = 1;
    project.Program.CreateDefaultBlocks(limits, sizes, project.Instructions.ReservedNames);
    project.Program.FillDefaultProgramBlocks();
    Brenno::VarEntry tmp = Brenno::MakeAreaVarEntry(Brenno::kVarAreaTemp);
    tmp.Name = L"tmp";
    project.Program.GetProgramPage(0).LocalVars = {tmp};
    Brenno::NormalizeLocalVarTable(project.Program, 0, project.Symbols);
    return created;
  }();
  (void)environment;
}

inline std::wstring InputText(const uint8_t* data, size_t size) {
  return platform::FromUtf8Lossy(std::string(reinterpret_cast<const char*>(data), size));
}

}  // namespace fuzzprogram
