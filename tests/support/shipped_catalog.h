// The shipped catalog as the build lays it out in the program directory (build/<config>/dist),
// loaded the way the workbench loads it: a copy of its "Orvisto" folder in a scratch program
// directory, a configuration that selects one of its types, the environment loaded and
// installed, and a new project of that type. Header only: the support library does not link
// the core.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/link/app_environment.h"
#include "core/project/environment_loader.h"
#include "core/env/language.h"
#include "core/env/utilities.h"
#include "core/program/program_services.h"
#include "core/project/project_services.h"
#include "core/project/project.h"
#include "core/project/project_reset.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"

namespace testsupport {

// The catalog folder of the built program directory.
inline std::filesystem::path ShippedCatalogDir() {
  return std::filesystem::path(BinaryDir()) / "dist" / "Orvisto";
}

// Its type folders, sorted.
inline std::vector<std::string> ShippedTypeNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(ShippedCatalogDir())) {
    if (entry.is_directory()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

inline constexpr char kShippedFxMode0Type[] = "CPU-Feldrin-CM3";
inline constexpr wchar_t kShippedTypeName[] = L"CPU-Feldrin-CM3";

// A program directory holding the shipped type as the build lays it out ("Orvisto/<type>" with
// its description files, image and its own libraries) and a configuration that selects it.
// Call it under ASSERT_NO_FATAL_FAILURE: a catalog that is not laid out fails there.
inline void MakeShippedProgramDir(const std::filesystem::path& dir) {
  namespace fs = std::filesystem;
  const fs::path shipped = ShippedCatalogDir() / kShippedFxMode0Type;
  ASSERT_TRUE(fs::exists(shipped / "libCorvell.so")) << shipped << " is not laid out";
  const fs::path type = dir / "Orvisto" / kShippedFxMode0Type;
  fs::create_directories(type);
  fs::copy(shipped, type, fs::copy_options::recursive);
  Brenno::PlcConfig config;
  config.PlcName = kShippedTypeName;
  config.WritePlcConfig((dir / "Orvisto.xml").wstring());
}

class ShippedEnvironment {
 public:
  // Loads the environment with the type selected, in the language given, and installs it with
  // a new project of that type (reset to the type, nothing filled in); throws what loading
  // throws.
  ShippedEnvironment(const std::string& typeName, int language) : env_(std::make_unique<Brenno::AppEnvironment>()) {
    Brenno::SetCurrentLanguage(language);
    std::filesystem::copy(ShippedCatalogDir(), std::filesystem::path(dir_.path()) / "Orvisto",
                          std::filesystem::copy_options::recursive);
    Brenno::PlcConfig config;
    config.PlcName = platform::FromUtf8Lossy(typeName);
    config.Lang = language;
    config.WritePlcConfig(platform::FromUtf8Lossy(dir_.File("Orvisto.xml")));
    Brenno::LoadEnvironment(*env_, platform::FromUtf8Lossy(dir_.path()));
    Brenno::InstallEnvironment(env_.get());
    Brenno::InstallCurrentProjectServices();
    Brenno::ResetProjectForType(Brenno::CurrentProject());
  }
  ~ShippedEnvironment() {
    Brenno::InstallProgramServices(nullptr);
    Brenno::InstallEnvironment(nullptr);
    Brenno::SetCurrentLanguage(Brenno::kLanguageEnglish);
  }
  ShippedEnvironment(const ShippedEnvironment&) = delete;
  ShippedEnvironment& operator=(const ShippedEnvironment&) = delete;

  Brenno::AppEnvironment& Env() { return *env_; }
  const TempDir& Dir() const { return dir_; }

 private:
  TempDir dir_;
  std::unique_ptr<Brenno::AppEnvironment> env_;
};

// Whether a shown text marks an error: one of its runs has the error colour (10).
inline bool MarksError(const std::vector<Brenno::ColorRun>& runs) {
  return std::any_of(runs.begin(), runs.end(), [](const Brenno::ColorRun& run) { return run.colour == 10; });
}

}  // namespace testsupport
