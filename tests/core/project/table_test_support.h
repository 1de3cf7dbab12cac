// An installed environment with one project of the fixture type "TypeA" (its instruction
// library and memory map) and a PLC type record whose table sizes each test sets, for the tests
// of the data block table, the status chart and the system block table. Global symbols are
// entered as complete entries of one working symbol page.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/link/app_environment.h"
#include "core/env/instruction_library.h"
#include "core/env/language.h"
#include "core/env/manager_var_reader.h"
#include "core/env/plc_type.h"
#include "core/project/project.h"
#include "core/project/symbol_table.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"

namespace tabletest {

inline std::wstring TypeAFile(const std::string& name) {
  return platform::FromUtf8Lossy(testsupport::FixturePath("catalog/Orvisto/TypeA/" + name));
}

inline std::wstring PluginPath(const std::string& file) {
  return platform::FromUtf8Lossy(std::string(ORVISTO_TEST_PLUGIN_DIR) + "/" + file);
}

class TableFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Brenno::SetCurrentLanguage(Brenno::kLanguageEnglish);
    type_ = std::make_unique<Brenno::PlcType>();
    type_->Description.DataBlock = {8, 1, 256, 16};
    type_->Description.StatusChart = {4, 1, 64, 4};
    type_->Description.SystemBlockSizePage = 6;
    environment_ = std::make_unique<Brenno::AppEnvironment>();
    environment_->Config.SymbolicAddr = 0;
    environment_->ProjectList.emplace_back();
    Brenno::Project& project = environment_->ProjectList.back();
    project.Type = type_.get();
    Brenno::ReadManagerFun(project.Instructions, TypeAFile("ManagerFun.xml"), 16);
    Brenno::ReadManagerVar(project.MemoryAreas, TypeAFile("ManagerVar.xml"));
    // As a project reset does: the cache sizes its images (force images included) from the map.
    Brenno::RebuildOnlineCache(project.Online, project.MemoryAreas);
    Brenno::InstallEnvironment(environment_.get());
  }

  void TearDown() override {
    Brenno::InstallEnvironment(nullptr);
    environment_.reset();
    type_.reset();
  }

  Brenno::Project& Project() { return environment_->ProjectList.back(); }
  Brenno::PlcType& Type() { return *type_; }
  Brenno::AppEnvironment& Environment() { return *environment_; }
  void SetSymbolic(bool on) { environment_->Config.SymbolicAddr = on ? 1 : 0; }

  // A complete global symbol (the address in canonical form).
  void AddSymbol(const std::wstring& name, const std::wstring& address, int type = 0) {
    Brenno::VarEntry entry;
    entry.CheckFlags = Brenno::kVarEntryComplete;
    entry.Type = type;
    entry.Name = name;
    entry.Address = address;
    auto& page = Project().Symbols.Working[0];
    page.Name = L"USR_0";
    page.Address = L"USR0";
    page.Rows.push_back(entry);
  }

 private:
  std::unique_ptr<Brenno::PlcType> type_;
  std::unique_ptr<Brenno::AppEnvironment> environment_;
};

}  // namespace tabletest
