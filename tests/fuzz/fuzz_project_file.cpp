// Opening project files: the input is the file's bytes, opened into a fresh project of an
// environment whose catalog holds the fixture type "CPU-A16" (without its plug-in libraries, so
// every system page is accepted). A failed open must leave the current project and the password
// table alone; a project that opened must save, and the saved file must open again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <vector>

#include "core/link/app_environment.h"
#include "core/project/environment_loader.h"
#include "core/env/exception_error.h"
#include "core/env/plc_type.h"
#include "core/project/project_services.h"
#include "core/project/project.h"
#include "core/project/project_file.h"

namespace {

std::wstring FixtureFolder() {
  return (std::filesystem::path(__FILE__).parent_path() / ".." / "fixtures" / "catalog" / "Orvisto" / "TypeA").wstring();
}

Brenno::AppEnvironment& Environment() {
  static Brenno::AppEnvironment* environment = [] {
    auto* created = new Brenno::AppEnvironment();
    Brenno::PlcType& type = created->PlcTypeCatalog.emplace_back();
    type.Description.Name = L"CPU-A16";
    type.Description.SymbolVar = {64, 8, 64, 4, 4, 1, 256, 32};
    type.Description.DataBlock = {8, 1, 256, 16};
    type.Description.SystemBlockSizePage = 5;
    type.Description.ProgramBlock.SizePageInt = 8;
    type.Description.ProgramBlock.SizePageInitInt = 1;
    type.Description.ProgramBlock.SizeItemInt = 256;
    type.Description.ProgramBlock.SizeItemInitInt = 8;
    type.Description.ProgramBlock.SizePageSbr = 16;
    type.Description.ProgramBlock.SizePageInitSbr = 1;
    type.Description.ProgramBlock.SizeItemSbr = 256;
    type.Description.ProgramBlock.SizeItemInitSbr = 8;
    type.Description.StatusChart = {4, 1, 64, 4};
    type.TypeFolder = FixtureFolder();
    Brenno::LoadPlcTypeInstructions(type);
    Brenno::LoadPlcTypeMemoryAreas(type);
    created->ProjectList.emplace_back();
    Brenno::InstallEnvironment(created);
    Brenno::InstallCurrentProjectServices();
    if (!Brenno::SelectPlcType(*created, L"CPU-A16")) std::abort();
    return created;
  }();
  return *environment;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Brenno::AppEnvironment& environment = Environment();
  const Brenno::Project* before = &environment.ProjectList.back();
  const auto passwords = environment.PasswordTable1;

  environment.ProjectList.emplace_back();
  bool opened = false;
  try {
    Brenno::OpenProjectBytes(std::vector<uint8_t>(data, data + size));
    opened = true;
  } catch (const Brenno::ExceptionError&) {
  }
  if (!opened) {
    environment.ProjectList.pop_back();
    if (&environment.ProjectList.back() != before || environment.PasswordTable1 != passwords) std::abort();
    if (environment.Config.PlcName != L"CPU-A16") std::abort();
    return 0;
  }

  std::vector<uint8_t> saved;
  try {
    saved = Brenno::BuildProjectFileBytes(environment.ProjectList.back(), environment.PasswordTable1);
  } catch (const Brenno::ExceptionParseStreamError&) {
    // A decoded text the code page cannot hold again: refused, never written empty.
  }
  if (!saved.empty()) {
    environment.ProjectList.emplace_back();
    Brenno::OpenProjectBytes(saved);  // must open: an uncaught error here is a finding
    environment.ProjectList.pop_back();
  }
  environment.ProjectList.pop_back();
  environment.PasswordTable1 = passwords;
  return 0;
}
