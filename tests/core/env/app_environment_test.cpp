#include "core/link/app_environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/program_paths.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"

using namespace Brenno;

namespace {

std::wstring Wide(const std::string& utf8) { return platform::FromUtf8Lossy(utf8); }

struct LanguageGuard {
  ~LanguageGuard() { SetCurrentLanguage(kLanguageEnglish); }
};

}  // namespace

TEST(AppEnvironment, StartsOfflineInEnglishWithTheLinkDefaults) {
  AppEnvironment env;
  EXPECT_EQ(env.Language(), 1);
  EXPECT_EQ(env.ResourceIdBase(), 100);
  EXPECT_EQ(env.CommandIdBase(), 1000);
  EXPECT_TRUE(env.Config == PlcConfig());
  EXPECT_TRUE(env.PlcTypeCatalog.empty());
  EXPECT_TRUE(env.ProjectList.empty());
  EXPECT_TRUE(env.ProjectPath.empty());
  EXPECT_FALSE(env.Modified);
  EXPECT_FALSE(env.MonitorWait);
  EXPECT_EQ(env.CommState.load(), 0);
  EXPECT_EQ(env.LinkBuffer, std::vector<uint8_t>(1024, 0));
  EXPECT_EQ(env.Link.AttemptsPerFrame, 3);
  EXPECT_EQ(env.Link.RetryPauseMs, 100);
  EXPECT_EQ(env.Link.ReplyCheckLevel, 4);
  EXPECT_EQ(env.Link.CancelRequest, 0);
  EXPECT_EQ(env.Port.PortKind, 0);
  EXPECT_FALSE(env.Monitor.Signalled);
  for (uint8_t b : env.ImageStamps) EXPECT_EQ(b, 0);
}

TEST(AppEnvironment, TheConfiguredLanguageSetsLanguageAndIdBases) {
  LanguageGuard guard;
  testsupport::TempDir dir;
  const std::string path = dir.File("Orvisto.xml");
  // "16#2" is Chinese; every other value than 1 or 2 is refused with the bare message.
  struct Case {
    const char* lang;
    bool ok;
    int language, resourceBase, commandBase;
  };
  const Case cases[] = {
      {"1", true, 1, 100, 1000}, {"16#2", true, 2, 200, 2000}, {"10#1", true, 1, 100, 1000},
      {"3", false, 0, 0, 0},     {"0", false, 0, 0, 0},        {"-1", false, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SetCurrentLanguage(kLanguageEnglish);
    std::ofstream(path, std::ios::binary) << "<PlcConfig Lang=\"" << c.lang << "\"/>";
    AppEnvironment env;
    env.Config.ReadPlcConfig(Wide(path));
    if (c.ok) {
      env.ApplyConfiguredLanguage();
      EXPECT_EQ(env.Language(), c.language) << c.lang;
      EXPECT_EQ(CurrentLanguage(), c.language) << c.lang;
      EXPECT_EQ(env.ResourceIdBase(), c.resourceBase) << c.lang;
      EXPECT_EQ(env.CommandIdBase(), c.commandBase) << c.lang;
    } else {
      try {
        env.ApplyConfiguredLanguage();
        ADD_FAILURE() << "language " << c.lang << " must be refused";
      } catch (const ExceptionParseXmlError& e) {
        EXPECT_EQ(e.Message(), L"Parse XML Error");
      }
      EXPECT_EQ(env.Language(), 1) << c.lang;
    }
  }
}

TEST(AppEnvironment, ConfigurationFileLiesInTheProgramDirectory) {
  EXPECT_EQ(AppEnvironment::ConfigFilePath(), GetProgramDirectory() + L"/Orvisto.xml");
  EXPECT_FALSE(GetProgramDirectory().empty());
  EXPECT_NE(GetProgramDirectory().back(), L'/');
}

TEST(ProgramPaths, ListSubdirectoriesSkipsFilesAndDotFolders) {
  testsupport::TempDir dir;
  namespace fs = std::filesystem;
  for (const char* name : {"PLC-B", "PLC-A", ".hidden", "中文"}) fs::create_directory(fs::path(dir.path()) / name);
  std::ofstream(dir.File("file.txt")) << "x";
  std::vector<std::wstring> list{L"stale"};
  const std::wstring folder = Wide(dir.path());
  ListSubdirectories(list, folder);
  EXPECT_EQ(list, (std::vector<std::wstring>{folder + L"/PLC-A", folder + L"/PLC-B", folder + L"/中文"}));

  ListSubdirectories(list, folder + L"/missing");
  EXPECT_TRUE(list.empty());
}

TEST(ProgramPaths, PathVariableComesWholeHoweverLong) {
  const char* saved = std::getenv("PATH");
  const std::string keep = saved == nullptr ? "" : saved;
  std::string longPath;
  while (longPath.size() < 3000) longPath += "/opt/some/long/folder/name:";
  setenv("PATH", longPath.c_str(), 1);
  EXPECT_EQ(GetPathVariable(), Wide(longPath));
  unsetenv("PATH");
  EXPECT_EQ(GetPathVariable(), L"");
  if (saved != nullptr) setenv("PATH", keep.c_str(), 1);
}
