// A program directory holding a copy of the fixture catalog (with the sample-serving
// system-block library), a loaded and installed environment, and a new project of the chosen
// fixture type: "CPU-A16" (FxMode 0) or "CPU-FX32" (FxMode 1). Helpers make fresh projects (as
// an upload does) and fill pages with statement-list networks.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/compiler/binary_image.h"
#include "core/compiler/block_compilers.h"
#include "core/link/app_environment.h"
#include "core/project/environment_loader.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/program/compile_report.h"
#include "core/program/program_services.h"
#include "core/project/project_services.h"
#include "core/project/project.h"
#include "core/project/project_file.h"
#include "core/project/status_chart.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"

namespace compilertest {

inline constexpr wchar_t kTypeA[] = L"CPU-A16";
inline constexpr wchar_t kTypeFx[] = L"CPU-FX32";

inline std::wstring W(const std::string& s) { return platform::FromUtf8Lossy(s); }

// One statement-list line.
inline Brenno::StlLine Line(const std::wstring& mnemonic, std::vector<std::wstring> operands = {},
                            int variant = 0) {
  Brenno::StlLine line;
  line.Mnemonic = mnemonic;
  line.Variant = variant;
  line.Operands = std::move(operands);
  return line;
}

inline Brenno::Network StlNetwork(std::vector<Brenno::StlLine> lines) {
  Brenno::Network network;
  network.Kind = Brenno::kNetworkStl;
  network.Lines = std::move(lines);
  return network;
}

class CompilerFixture : public ::testing::Test {
 protected:
  void SetUp() override { Load(kTypeA); }

  void TearDown() override {
    Brenno::InstallProgramServices(nullptr);
    Brenno::InstallEnvironment(nullptr);
    Brenno::SetCurrentLanguage(Brenno::kLanguageEnglish);
  }

  // Loads the environment with the given configured type and makes its first project new.
  void Load(const wchar_t* typeName) {
    Brenno::SetCurrentLanguage(Brenno::kLanguageEnglish);
    namespace fs = std::filesystem;
    fs::copy(testsupport::FixturePath("catalog/Orvisto"), dir_.File("Orvisto"), fs::copy_options::recursive);
    for (const auto& type : fs::directory_iterator(dir_.File("Orvisto"))) {
      fs::copy_file(std::string(ORVISTO_TEST_PLUGIN_DIR) + "/libFakeSysBlockSamples.so",
                    type.path() / "libFakeSysBlock.so");
      fs::copy_file(std::string(ORVISTO_TEST_PLUGIN_DIR) + "/libFakeExchange.so", type.path() / "libFakeExchange.so");
    }
    Brenno::PlcConfig config;
    config.PlcName = typeName;
    config.WritePlcConfig(W(dir_.path()) + L"/Orvisto.xml");
    Brenno::LoadEnvironment(env_, W(dir_.path()));
    env_.Config.SymbolicAddr = 0;
    Brenno::InstallEnvironment(&env_);
    Brenno::InstallCurrentProjectServices();
    NewProject(Brenno::CurrentProject());
  }

  // A new project of its type: default symbol, data, system, program and chart pages.
  static void NewProject(Brenno::Project& project) {
    Brenno::ResetProjectForType(project);
    Brenno::FillDefaultSymbolTables(project.Symbols);
    Brenno::FillDefaultDataBlocks(project.DataBlocks);
    Brenno::CopyDefaultSystemPages(project.SystemBlocks);
    project.Program.FillDefaultProgramBlocks();
    Brenno::FillDefaultStatusCharts(project.StatusChart);
  }

  // Appends a fresh project of the current type as an upload does: reset to the type, with
  // nothing filled in; it becomes the current project.
  Brenno::Project& AppendFreshProject() {
    const Brenno::PlcType* type = Brenno::CurrentProject().Type;
    env_.ProjectList.emplace_back();
    EXPECT_TRUE(Brenno::SelectPlcType(env_, type->Name()));
    Brenno::Project& fresh = env_.ProjectList.back();
    Brenno::ResetProjectForType(fresh);
    return fresh;
  }

  void DropNewestProject() { env_.ProjectList.pop_back(); }

  Brenno::Project& Current() { return Brenno::CurrentProject(); }
  Brenno::AppEnvironment& Environment() { return env_; }
  const testsupport::TempDir& Dir() const { return dir_; }

  // Encodes the current project with a silent report; returns the total.
  int EncodeAll(Brenno::BinaryImage& image, Brenno::CompileReport& report) {
    Brenno::EncodeDataBlocks(report, image);
    Brenno::EncodeSystemBlock(report, image);
    Brenno::EncodeProgramBlocks(report, image);
    return report.TotalErrors();
  }

  int DecodeAll(const Brenno::BinaryImage& image, Brenno::CompileReport& report) {
    Brenno::DecodeDataBlocks(report, image);
    Brenno::DecodeSystemBlock(report, image);
    Brenno::DecodeProgramBlocks(report, image);
    return report.TotalErrors();
  }

 private:
  testsupport::TempDir dir_;
  Brenno::AppEnvironment env_;
};

}  // namespace compilertest

namespace compilertest {

// The same with a new project of the FX fixture type.
class FxCompilerFixture : public CompilerFixture {
 protected:
  void SetUp() override { Load(kTypeFx); }
};

}  // namespace compilertest
