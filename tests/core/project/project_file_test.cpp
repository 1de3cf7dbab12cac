#include "core/project/project_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "core/link/app_environment.h"
#include "core/project/environment_loader.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/program/ladder_metrics.h"
#include "core/program/program_services.h"
#include "core/project/project_services.h"
#include "core/project/program_stream.h"
#include "core/project/stream_text_places.h"
#include "core/project/symbol_resolution.h"
#include "platform/file_util.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"

using namespace Brenno;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

std::wstring W(const std::string& s) { return platform::FromUtf8Lossy(s); }

constexpr wchar_t kTypeA[] = L"CPU-A16";
constexpr wchar_t kTypeFx[] = L"CPU-FX32";

// A program directory holding a copy of the fixture catalog with a system-block library that
// serves sample pages, a loaded and installed environment, and a new project of type A.
class ProjectFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetCurrentLanguage(kLanguageEnglish);
    fs::copy(testsupport::FixturePath("catalog/Orvisto"), dir_.File("Orvisto"), fs::copy_options::recursive);
    for (const auto& type : fs::directory_iterator(dir_.File("Orvisto"))) {
      fs::copy_file(std::string(ORVISTO_TEST_PLUGIN_DIR) + "/libFakeSysBlockSamples.so", type.path() / "libFakeSysBlock.so");
      fs::copy_file(std::string(ORVISTO_TEST_PLUGIN_DIR) + "/libFakeExchange.so", type.path() / "libFakeExchange.so");
    }
    PlcConfig config;
    config.PlcName = kTypeA;
    config.WritePlcConfig(W(dir_.path()) + L"/Orvisto.xml");
    LoadEnvironment(env_, W(dir_.path()));
    InstallEnvironment(&env_);
    InstallCurrentProjectServices();
    NewProject();
  }

  void TearDown() override {
    InstallProgramServices(nullptr);
    InstallEnvironment(nullptr);
    SetCurrentLanguage(kLanguageEnglish);
  }

  // The current project becomes a new project of its type, with some content of every kind
  // when `content` is set (addresses of type A).
  void NewProject(bool content = true) {
    Project& project = CurrentProject();
    ResetProjectForType(project);
    FillDefaultSymbolTables(project.Symbols);
    FillDefaultDataBlocks(project.DataBlocks);
    CopyDefaultSystemPages(project.SystemBlocks);
    project.Program.FillDefaultProgramBlocks();
    FillDefaultStatusCharts(project.StatusChart);
    if (!content) return;

    ASSERT_TRUE(SetSymbolEntryName(project.Symbols, 0, 0, L"Start"));
    ASSERT_TRUE(SetSymbolEntryAddress(project.Symbols, 0, 0, L"I0.0"));
    ASSERT_TRUE(SetSymbolEntryComment(project.Symbols, 0, 0, L"\x542F\x52A8"));
    ASSERT_TRUE(SetDataRowType(project.DataBlocks, 0, 1, 2));
    ASSERT_TRUE(SetDataRowAddress(project.DataBlocks, 0, 1, L"VW0"));
    ASSERT_TRUE(SetDataRowValue(project.DataBlocks, 0, 1, L"100"));
    project.SystemBlocks.Working.at(1).Rows[3] = 0xEE;
    ASSERT_TRUE(SetChartAddress(project.StatusChart, 0, 2, 1, L"Q0.1"));

    project.Program.ViewMode = kViewModeStl;
    ProgramPage& main = project.Program.GetProgramPage(0);
    Network network;
    network.Kind = kNetworkStl;
    StlLine load;
    load.Mnemonic = L"LD";
    load.Operands = {L"I0.0"};
    network.Lines = {load};
    network.Comments = {L"\x7B2C\x4E00"};
    main.UndoLog.Networks[0] = network;
    project.Program.InterruptTable.Working.at(0).Comment = L"main";

    env_.PasswordTable1.fill(0);
    env_.PasswordTable1[0] = 0x12;
    env_.PasswordTable1[127] = 0xFE;
  }

  std::wstring Path(const std::string& name) const { return W(dir_.File(name)); }

  Bytes Save(const std::string& name) {
    SaveProjectFile(Path(name));
    Bytes bytes;
    EXPECT_TRUE(platform::ReadFileBytes(Path(name), bytes));
    return bytes;
  }

  void WriteFile(const std::string& name, const Bytes& bytes) {
    ASSERT_TRUE(platform::WriteFileBytes(Path(name), bytes));
  }

  // Opening fails with the expected class and message, and nothing the user had changes.
  template <class Error>
  void ExpectRefused(const std::string& name, const std::wstring& message) {
    const Project* before = &CurrentProject();
    const StreamBytes content = BuildProjectFileBytes(*before, env_.PasswordTable1);
    const auto passwords = env_.PasswordTable1;
    const std::wstring plcName = env_.Config.PlcName;
    const int cellWidth = GetLadderMetrics().CellWidth;
    try {
      OpenProjectAsCurrent(Path(name));
      ADD_FAILURE() << "opened " << name;
    } catch (const Error& error) {
      EXPECT_EQ(error.Message().substr(0, message.size()), message) << name;
    }
    EXPECT_EQ(env_.ProjectList.size(), 1u);
    EXPECT_EQ(&CurrentProject(), before);
    EXPECT_EQ(BuildProjectFileBytes(CurrentProject(), env_.PasswordTable1), content);
    EXPECT_EQ(env_.PasswordTable1, passwords);
    EXPECT_EQ(env_.Config.PlcName, plcName);
    EXPECT_EQ(GetLadderMetrics().CellWidth, cellWidth);
  }

  // What the file stores of a project, copied (a project itself is not copyable).
  struct Snapshot {
    const PlcType* Type = nullptr;
    SymbolTable::PageMap Symbols;
    DataBlockTable::PageMap DataBlocks;
    SystemBlockTable::PageMap SystemBlocks;
    StatusChart::PageMap Charts;
    int ViewMode = 0;
    std::map<int, BlockRecord> Interrupts;
    std::map<int, BlockRecord> Subroutines;
  };

  static Snapshot Take(const Project& project) {
    return Snapshot{project.Type,
                    project.Symbols.Working,
                    project.DataBlocks.Working,
                    project.SystemBlocks.Working,
                    project.StatusChart.Working,
                    project.Program.ViewMode,
                    project.Program.InterruptTable.Working,
                    project.Program.SubroutineTable.Working};
  }

  static void ExpectSameProject(const Snapshot& a, const Project& project) {
    const Snapshot b = Take(project);
    EXPECT_EQ(a.Type, b.Type);
    EXPECT_EQ(a.Symbols, b.Symbols);
    EXPECT_EQ(a.DataBlocks, b.DataBlocks);
    EXPECT_EQ(a.SystemBlocks, b.SystemBlocks);
    EXPECT_EQ(a.Charts, b.Charts);
    EXPECT_EQ(a.ViewMode, b.ViewMode);
    const auto sameUnits = [](const std::map<int, BlockRecord>& x, const std::map<int, BlockRecord>& y) {
      ASSERT_EQ(x.size(), y.size());
      for (const auto& [key, record] : x) {
        ASSERT_TRUE(y.count(key)) << key;
        const BlockRecord& other = y.at(key);
        EXPECT_EQ(record.Name, other.Name);
        EXPECT_EQ(record.Address, other.Address);
        EXPECT_EQ(record.Comment, other.Comment);
        EXPECT_EQ(record.Page.Networks(), other.Page.Networks());
        EXPECT_EQ(record.Page.LocalVars, other.Page.LocalVars);
      }
    };
    sameUnits(a.Interrupts, b.Interrupts);
    sameUnits(a.Subroutines, b.Subroutines);
  }

  // The saved bytes with the top-level records rewritten by `edit(key, record bytes, out)`.
  static Bytes Rewrite(const Bytes& bytes,
                       const std::function<void(std::string_view, const Bytes&, Bytes&)>& edit) {
    StreamRecords records;
    SplitStreamRecords(bytes, records);
    Bytes out;
    for (const StreamRecordRef& record : records) {
      edit(RecordKey(bytes, record), Bytes(bytes.begin() + record.KeyOffset, bytes.begin() + record.EndOffset), out);
    }
    return out;
  }

  static void Keep(std::string_view, const Bytes& record, Bytes& out) {
    out.insert(out.end(), record.begin(), record.end());
  }

  static Bytes WithMarker(const Bytes& bytes, const std::wstring& marker) {
    return Rewrite(bytes, [&](std::string_view key, const Bytes& record, Bytes& out) {
      if (key == kFileVerKey) {
        EncodeStringField(out, kFileVerKey, marker);
      } else {
        Keep(key, record, out);
      }
    });
  }

  testsupport::TempDir dir_;
  AppEnvironment env_;
};

}  // namespace

TEST_F(ProjectFileTest, SavedFileStartsWithTheVersionAndOpensToTheSameProject) {
  const Bytes bytes = Save("p.lqw");
  const std::string marker = "MERIDAX-POLVENT 1.2";
  Bytes head = {'F', 'i', 'l', 'e', 'V', 'e', 'r', 0, 26, 0, 0, 0, ':', 's', 0, 19, 0, 0, 0};
  head.insert(head.end(), marker.begin(), marker.end());
  ASSERT_GE(bytes.size(), head.size());
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + head.size()), head);

  StreamRecords records;
  SplitStreamRecords(bytes, records);
  std::vector<std::string> keys;
  for (const auto& record : records) keys.emplace_back(RecordKey(bytes, record));
  std::vector<std::string> expected = {"FileVer", "PlcType", "SymbolVar", "DataBlock", "SystemBlock", "ProgramBlock",
                                       "StatusChart"};
  expected.insert(expected.end(), 128, "Password");
  expected.push_back("TypeLevel");
  EXPECT_EQ(keys, expected);

  // Open into a fresh project: the same working pages, view mode and passwords.
  const Snapshot saved = Take(CurrentProject());
  env_.PasswordTable1.fill(0x55);
  OpenProjectAsCurrent(Path("p.lqw"));
  ASSERT_EQ(env_.ProjectList.size(), 1u);
  ExpectSameProject(saved, CurrentProject());
  // The opened symbols resolve in both directions.
  std::wstring text = L"Start";
  EXPECT_TRUE(LookupSymbolName(text, -1, CurrentProject().Symbols));
  EXPECT_EQ(text, L"I0.0");
  EXPECT_TRUE(LookupOperandSymbol(CurrentProject().Symbols, text, -1));
  EXPECT_EQ(text, L"Start");
  EXPECT_EQ(CurrentProject().Program.GetProgramPage(0).UndoLog.Steps.size(), 0u);
  EXPECT_EQ(env_.PasswordTable1[0], 0x12);
  EXPECT_EQ(env_.PasswordTable1[1], 0x00);
  EXPECT_EQ(env_.PasswordTable1[127], 0xFE);
  // Saving the opened project writes the same bytes.
  EXPECT_EQ(Save("again.lqw"), bytes);
}

TEST_F(ProjectFileTest, OtherMarkersAreRefusedBeforeAnythingChanges) {
  const Bytes bytes = Save("p.lqw");
  const std::wstring markers[] = {L"MERIDAX-POLVENT 1.3", L"meridax-polvent 1.2", L"MERIDAX-POLVENT 1.2 ", L""};
  for (const std::wstring& marker : markers) {
    WriteFile("v.lqw", WithMarker(bytes, marker));
    ExpectRefused<ExceptionInitFileVerError>("v.lqw", L"File Version Error");
  }
  // The version is judged before the type.
  Bytes badBoth = Rewrite(WithMarker(bytes, L"X"), [](std::string_view key, const Bytes& record, Bytes& out) {
    if (key == kPlcTypeKey) {
      EncodeStringField(out, kPlcTypeKey, L"NO-SUCH-TYPE");
    } else {
      Keep(key, record, out);
    }
  });
  WriteFile("v.lqw", badBoth);
  ExpectRefused<ExceptionInitFileVerError>("v.lqw", L"File Version Error");

  SetCurrentLanguage(kLanguageChinese);
  ExpectRefused<ExceptionInitFileVerError>("v.lqw", L"文件版本错误");
}

TEST_F(ProjectFileTest, UnknownTypeAndUnreadableFilesAreRefused) {
  const Bytes bytes = Save("p.lqw");
  WriteFile("t.lqw", Rewrite(bytes, [](std::string_view key, const Bytes& record, Bytes& out) {
              if (key == kPlcTypeKey) {
                EncodeStringField(out, kPlcTypeKey, L"CPU-A16X");
              } else {
                Keep(key, record, out);
              }
            }));
  ExpectRefused<ExceptionInitPlcTypeError>("t.lqw", L"PLC Type Error");

  WriteFile("empty.lqw", {});
  ExpectRefused<ExceptionParseStreamError>("empty.lqw", L"Parse Stream Error");
  ExpectRefused<ExceptionParseStreamError>("missing.lqw", L"Parse Stream Error");
}

// A file larger than the format can address is refused from its size, before it is read (a
// sparse file: reading it whole would take 4 GB of memory).
TEST_F(ProjectFileTest, AFileLargerThanAnyProjectIsRefusedUnread) {
  const Bytes bytes = Save("p.lqw");
  std::ofstream(dir_.File("huge.lqw")) << "FileVer";
  ASSERT_EQ(truncate(dir_.File("huge.lqw").c_str(), static_cast<off_t>(kProjectFileMaxSize) + 1), 0);
  ExpectRefused<ExceptionParseStreamError>("huge.lqw", L"Parse Stream Error");
  try {
    OpenProjectAsCurrent(Path("huge.lqw"));
    ADD_FAILURE() << "opened";
  } catch (const ExceptionParseStreamError& error) {
    EXPECT_NE(error.Message().find(L"larger than any project file"), std::wstring::npos) << error.Message();
  }
}

TEST_F(ProjectFileTest, DamagedFilesLoseNothing) {
  const Bytes bytes = Save("p.lqw");
  StreamRecords records;
  SplitStreamRecords(bytes, records);
  // Cut inside each top-level record (its key, its length, its value), and drop each section.
  std::vector<Bytes> damaged;
  for (size_t i = 0; i < 8; ++i) {
    const StreamRecordRef& record = records[i];
    damaged.emplace_back(bytes.begin(), bytes.begin() + record.KeyOffset + 2);
    damaged.emplace_back(bytes.begin(), bytes.begin() + record.ValueOffset - 2);
    damaged.emplace_back(bytes.begin(), bytes.begin() + (record.ValueOffset + record.EndOffset) / 2);
  }
  for (const std::string_view section : {"SymbolVar", "DataBlock", "SystemBlock", "ProgramBlock", "StatusChart"}) {
    damaged.push_back(Rewrite(bytes, [&](std::string_view key, const Bytes& record, Bytes& out) {
      if (key != section) Keep(key, record, out);
    }));
  }
  // A length field claiming more than the file holds.
  Bytes longLength = bytes;
  longLength[records[2].ValueOffset - 1] = 0x7F;
  damaged.push_back(longLength);

  for (size_t i = 0; i < damaged.size(); ++i) {
    WriteFile("d.lqw", damaged[i]);
    SCOPED_TRACE(i);
    ExpectRefused<ExceptionParseStreamError>("d.lqw", L"Parse Stream Error");
  }
}

TEST_F(ProjectFileTest, FailureAfterTheTypeWasSelectedPutsTheTypeBack) {
  // A file of the FX type whose program section is broken: the FX type is selected while the file
  // is read, then the read fails; the configured type and the ladder metrics of type A stay.
  Project& current = CurrentProject();
  const PlcType* typeA = current.Type;
  env_.ProjectList.emplace_back();
  ASSERT_TRUE(SelectPlcType(env_, kTypeFx));
  NewProject(false);
  Bytes fx = Save("fx.lqw");
  env_.ProjectList.pop_back();
  ASSERT_TRUE(SelectPlcType(env_, kTypeA));
  ASSERT_EQ(CurrentProject().Type, typeA);
  const int cellWidthA = GetLadderMetrics().CellWidth;

  Bytes broken = Rewrite(fx, [](std::string_view key, const Bytes& record, Bytes& out) {
    if (key == kProgramBlockKey) {
      EncodeStructField(out, kProgramBlockKey, [](StreamBytes& value) { EncodeStringField(value, "#1", L"x"); });
    } else {
      Keep(key, record, out);
    }
  });
  WriteFile("fx-broken.lqw", broken);
  ExpectRefused<ExceptionParseStreamError>("fx-broken.lqw", L"Parse Stream Error");
  EXPECT_EQ(env_.Config.PlcName, kTypeA);
  EXPECT_EQ(GetLadderMetrics().CellWidth, cellWidthA);

  // The intact file opens as an FX project.
  OpenProjectAsCurrent(Path("fx.lqw"));
  EXPECT_EQ(CurrentProject().Type->Name(), kTypeFx);
  EXPECT_EQ(env_.Config.PlcName, kTypeFx);
  EXPECT_NE(GetLadderMetrics().CellWidth, cellWidthA);  // the FX type draws compact cells
}

TEST_F(ProjectFileTest, Version11KeepsThePasswordsAndSavesAsVersion12) {
  const Bytes bytes = Save("p.lqw");
  const Snapshot saved = Take(CurrentProject());
  Bytes v11 = Rewrite(WithMarker(bytes, kProjectFileVersion11), [](std::string_view key, const Bytes& record, Bytes& out) {
    if (key != kPasswordKey) Keep(key, record, out);
  });
  WriteFile("v11.lqw", v11);
  env_.PasswordTable1.fill(0x33);
  OpenProjectAsCurrent(Path("v11.lqw"));
  ExpectSameProject(saved, CurrentProject());
  EXPECT_EQ(env_.PasswordTable1[0], 0x33);

  const Bytes resaved = Save("v12.lqw");
  StreamRecords records;
  SplitStreamRecords(resaved, records);
  Bytes passwords;
  ReadByteRecords(passwords, kPasswordKey, records, resaved);
  EXPECT_EQ(passwords, Bytes(128, 0x33));
  std::wstring marker;
  DecodeStringField(kFileVerKey, resaved, records, marker);
  EXPECT_EQ(marker, kProjectFileVersion12);
}

TEST_F(ProjectFileTest, RecordOrderAndUnknownRecordsDoNotMatter) {
  const Bytes bytes = Save("p.lqw");
  const Snapshot saved = Take(CurrentProject());
  StreamRecords records;
  SplitStreamRecords(bytes, records);
  Bytes shuffled;
  EncodeStringField(shuffled, "Comment", L"written by another tool");
  for (auto it = records.rbegin(); it != records.rend(); ++it) {
    shuffled.insert(shuffled.end(), bytes.begin() + it->KeyOffset, bytes.begin() + it->EndOffset);
  }
  // A second "ProgramBlock" after the first one counts for nothing.
  WriteProgramBlockSection(shuffled, kProgramBlockKey, ProgramBlock());
  WriteFile("s.lqw", shuffled);
  env_.PasswordTable1.fill(0);
  OpenProjectAsCurrent(Path("s.lqw"));
  ExpectSameProject(saved, CurrentProject());
  // The passwords came in reverse order.
  EXPECT_EQ(env_.PasswordTable1[0], 0xFE);
  EXPECT_EQ(env_.PasswordTable1[127], 0x12);
}

TEST_F(ProjectFileTest, ShortPasswordListClearsTheRestOfTheTable) {
  const Bytes bytes = Save("p.lqw");
  int kept = 0;
  Bytes cut = Rewrite(bytes, [&](std::string_view key, const Bytes& record, Bytes& out) {
    if (key == kPasswordKey && kept++ >= 4) return;
    Keep(key, record, out);
  });
  WriteByteRecords(cut, kPasswordKey, Bytes(200, 0x77));  // 4 + 200 records
  WriteFile("pw.lqw", cut);
  env_.PasswordTable1.fill(0x99);
  OpenProjectAsCurrent(Path("pw.lqw"));
  EXPECT_EQ(env_.PasswordTable1[0], 0x12);
  EXPECT_EQ(env_.PasswordTable1[4], 0x77);
  EXPECT_EQ(env_.PasswordTable1[127], 0x77);

  cut = Rewrite(bytes, [&](std::string_view key, const Bytes& record, Bytes& out) {
    if (key != kPasswordKey) Keep(key, record, out);
  });
  WriteByteRecords(cut, kPasswordKey, Bytes{1, 2});
  WriteFile("pw2.lqw", cut);
  OpenProjectAsCurrent(Path("pw2.lqw"));
  EXPECT_EQ(env_.PasswordTable1[1], 2);
  EXPECT_EQ(env_.PasswordTable1[2], 0);
  EXPECT_EQ(env_.PasswordTable1[127], 0);
}

TEST_F(ProjectFileTest, FailedSaveKeepsTheOldFile) {
  const Bytes bytes = Save("p.lqw");
  // A comment the code page cannot hold: an error naming it, and the old file stays.
  ASSERT_TRUE(SetSymbolEntryComment(CurrentProject().Symbols, 0, 0, L"snow \x2603"));
  try {
    SaveProjectFile(Path("p.lqw"));
    FAIL() << "saved";
  } catch (const ExceptionParseStreamError& error) {
    EXPECT_NE(error.Message().find(L"snow \x2603"), std::wstring::npos);
  }
  Bytes read;
  ASSERT_TRUE(platform::ReadFileBytes(Path("p.lqw"), read));
  EXPECT_EQ(read, bytes);

  ASSERT_TRUE(SetSymbolEntryComment(CurrentProject().Symbols, 0, 0, L""));
  EXPECT_THROW(SaveProjectFile(Path("no/such/folder/p.lqw")), ExceptionParseStreamError);
  EXPECT_THROW(WriteWholeFile({}, Path("p.lqw")), ExceptionParseStreamError);
  ASSERT_TRUE(platform::ReadFileBytes(Path("p.lqw"), read));
  EXPECT_EQ(read, bytes);
}

namespace {

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

// A save the file system refuses is a file error naming the file and why, in the user's
// language; the old file stays as it was and nothing is left beside it. A file of the user's
// whose name looks like a temporary file survives saves.
TEST_F(ProjectFileTest, ASaveTheFileSystemRefusesIsAFileErrorAndKeepsTheOldFile) {
  fs::create_directory(dir_.File("files"));
  const std::string path = dir_.File("files/p.lqw");
  std::ofstream(dir_.File("files/p.lqw.tmpBACKUP")) << "the user's";
  const Bytes old = Save("files/p.lqw");
  const std::vector<std::string> files = {"p.lqw", "p.lqw.tmpBACKUP"};
  EXPECT_EQ(FilesIn(dir_.File("files")), files);

  struct Case {
    const char* what;
    int language;
    std::wstring reason;
  };
  const Case cases[] = {
      {"read-only", kLanguageEnglish, L"The file is read-only"},
      {"read-only", kLanguageChinese, L"文件为只读"},
      {"size limit", kLanguageEnglish, L"The file is larger than the system allows"},
      {"size limit", kLanguageChinese, L"文件大小超出系统限制"},
  };
  for (const Case& c : cases) {
    SetCurrentLanguage(c.language);
    const bool readOnly = std::string(c.what) == "read-only";
    if (readOnly) {
      ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    }
    try {
      std::optional<testsupport::ScopedFileSizeLimit> limit;
      if (!readOnly) limit.emplace(old.size() / 2);
      SaveProjectFile(W(path));
      ADD_FAILURE() << "saved: " << c.what;
    } catch (const ExceptionParseStreamError& error) {
      const std::wstring expected = c.language == kLanguageEnglish
                                        ? L"Parse Stream Error\r\n  Write file error : \"" + W(path) + L"\"\r\n  "
                                        : L"解析流错误\r\n  写文件错误 : \"" + W(path) + L"\"\r\n  ";
      EXPECT_EQ(error.Message(), expected + c.reason) << c.what;
    }
    if (readOnly) {
      ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    }
    Bytes read;
    ASSERT_TRUE(platform::ReadFileBytes(W(path), read));
    EXPECT_EQ(read, old) << c.what;
    EXPECT_EQ(FilesIn(dir_.File("files")), files) << c.what;
  }
  SetCurrentLanguage(kLanguageEnglish);
  Save("files/p.lqw");
  EXPECT_EQ(FilesIn(dir_.File("files")), files);
}

// A file of many texts that do not read lists the first places and counts the others. The work
// of finding them (counted in records split, not timed) grows with the file, not with its
// square.
TEST_F(ProjectFileTest, ManyUnreadableTextsAreListedUpToAScreenfulAndCounted) {
  uint64_t work[2] = {};
  ProjectOpenNotes notes;
  for (const size_t count : {1000u, 2000u}) {
    Network& network = CurrentProject().Program.GetProgramPage(0).UndoLog.Networks[0];
    network.Comments.assign(count, L"~~~~");
    StreamBytes bytes = BuildProjectFileBytes(CurrentProject(), env_.PasswordTable1);
    const std::string text = "~~~~";
    size_t damaged = 0;
    for (auto at = bytes.begin(); (at = std::search(at, bytes.end(), text.begin(), text.end())) != bytes.end(); at += 4) {
      at[0] = 0xFF;
      at[1] = 0x20;
      ++damaged;
    }
    ASSERT_EQ(damaged, count);
    WriteFile("many.lqw", bytes);

    const uint64_t before = ThreadStreamWorkCount().RecordsSplit;
    notes = OpenProjectAsCurrent(Path("many.lqw"));
    work[count == 2000u] = ThreadStreamWorkCount().RecordsSplit - before;
    ASSERT_EQ(notes.EmptiedTexts.Listed.size(), kMostTextPlacesListed);
    EXPECT_EQ(notes.EmptiedTexts.Listed.front(), L"MAIN (INT0), NETWORK 0, comment line 1");
    EXPECT_EQ(notes.EmptiedTexts.Further, count - kMostTextPlacesListed);
  }
  EXPECT_LE(work[1], 2 * work[0]);

  const std::wstring english = EmptiedTextsMessage(notes.EmptiedTexts);
  EXPECT_EQ(english.substr(english.rfind(L"\r\n")), L"\r\n  ... and 1980 more");
  SetCurrentLanguage(kLanguageChinese);
  const std::wstring chinese = EmptiedTextsMessage(notes.EmptiedTexts);
  EXPECT_EQ(chinese.substr(chinese.rfind(L"\r\n")), L"\r\n  ……另有 1980 处");
  SetCurrentLanguage(kLanguageEnglish);
}

// A file whose instruction name is many "#" opens in work (counted, not timed) that doubles with
// the length of the name instead of growing fourfold: each "#" split off looks only at its own
// part of the name.
TEST_F(ProjectFileTest, ANameOfManyHashesOpensInWorkInProportionToItsLength) {
  for (const std::wstring& head : {std::wstring(), std::wstring(L"AB#7")}) {
    uint64_t work[2] = {};
    for (const size_t length : {4000u, 8000u}) {
      StlLine& line = CurrentProject().Program.GetProgramPage(0).UndoLog.Networks[0].Lines[0];
      line.Mnemonic = head + std::wstring(length, L'#');
      line.Variant = 0;
      Save("hashes.lqw");
      const uint64_t before = ThreadStreamWorkCount().NameCharactersSplit;
      OpenProjectAsCurrent(Path("hashes.lqw"));
      work[length == 8000u] = ThreadStreamWorkCount().NameCharactersSplit - before;
      const StlLine& read = CurrentProject().Program.GetProgramPage(0).Networks()[0].Lines[0];
      EXPECT_EQ(read.Mnemonic, head.empty() ? L"" : L"AB");
      EXPECT_EQ(read.Variant, head.empty() ? 0 : 7);
    }
    EXPECT_GE(work[0], 4000u);
    EXPECT_LE(work[1], 2 * work[0]);
  }
}

namespace {

// One version-1.0 list map entry: "key" and one "value" per element.
template <class T, class Encode>
void LegacyEntry(StreamBytes& out, std::string_view field, int key, const std::vector<T>& values, Encode encode) {
  EncodeStructField(out, field, [&](StreamBytes& entry) {
    EncodeKeyField(entry, "key", key);
    EncodeStructList(entry, "value", values, encode);
  });
}

void TitlesEntry(StreamBytes& out, std::string_view field, int key, const PageTitles& titles) {
  EncodeStructField(out, field, [&](StreamBytes& entry) {
    EncodeKeyField(entry, "key", key);
    EncodeTitlesField(entry, "value", titles);
  });
}

void ProgramUnitEntry(StreamBytes& out, std::string_view field, int key, const std::vector<Network>& networks) {
  EncodeStructField(out, field, [&](StreamBytes& entry) {
    EncodeKeyField(entry, "key", key);
    EncodeStructField(entry, "value", [&](StreamBytes& unit) {
      EncodeKeyField(unit, "#1", key);
      EncodeIntField(unit, "#2", 0);
      EncodeFlagField(unit, "#3", static_cast<uint8_t>(0));
      EncodeNetworkList(unit, "#4", networks);
    });
  });
}

}  // namespace

TEST_F(ProjectFileTest, Version10SectionsAreMergedIntoTheReferencePages) {
  const VarEntry symbol{0, 0, 1, L"Level", L"VB4", L""};
  const VarEntry local{0, kVarAreaTemp, 0, L"flag", L"L0.0", L""};
  DataRow row;
  row.Type = 1;
  row.Address = L"VB8";
  row.Value = L"7";
  StatusRow cell;
  cell.FormatIndex = 0;
  cell.Address = L"I0.3";
  Network network;
  network.Kind = kNetworkStl;
  StlLine line;
  line.Mnemonic = L"LD";
  line.Operands = {L"I0.2"};
  network.Lines = {line};

  const auto build = [&](bool withSymbolFun) {
    StreamBytes file;
    EncodeStringField(file, kFileVerKey, kProjectFileVersion10);
    EncodeStringField(file, kPlcTypeKey, kTypeA);
    EncodeStructField(file, kSymbolVarKey, [&](StreamBytes& v) {
      LegacyEntry(v, "#1", 0, std::vector<VarEntry>{symbol}, EncodeVarEntry);
      LegacyEntry(v, "#1", 99, std::vector<VarEntry>{symbol}, EncodeVarEntry);  // no such page
      LegacyEntry(v, "#2", 0, std::vector<VarEntry>{local}, EncodeVarEntry);
      LegacyEntry(v, "#3", 0x10000, std::vector<VarEntry>{}, EncodeVarEntry);
    });
    if (withSymbolFun) {
      EncodeStructField(file, kSymbolFunKey, [&](StreamBytes& v) {
        TitlesEntry(v, "#1", 0, PageTitles{L"MAIN", L"OB1", L"old main"});
        TitlesEntry(v, "#2", 0x10000, PageTitles{L"SBR_0", L"SBR0", L""});
      });
    }
    EncodeStructField(file, kDataBlockKey,
                      [&](StreamBytes& v) { LegacyEntry(v, "#1", 0, std::vector<DataRow>{row}, EncodeDataRow); });
    EncodeStructField(file, kSystemBlockKey, [&](StreamBytes& v) {
      EncodeStructField(v, "#1", [&](StreamBytes& entry) {
        EncodeKeyField(entry, "key", 2);
        WriteByteRecords(entry, "value", Bytes(16, 0xAB));
      });
    });
    EncodeStructField(file, kProgramBlockKey, [&](StreamBytes& v) {
      EncodeKeyField(v, "#1", kViewModeStl);
      EncodeFlagField(v, "#2", static_cast<uint8_t>(1));
      ProgramUnitEntry(v, "#3", 0, {network});
      ProgramUnitEntry(v, "#4", 0x10000, {});
    });
    EncodeStructField(file, kStatusChartKey, [&](StreamBytes& v) {
      LegacyEntry(v, "#1", 0, std::vector<StatusRow>{cell}, EncodeStatusRow);
      LegacyEntry(v, "#1", 42, std::vector<StatusRow>{cell}, EncodeStatusRow);
    });
    return file;
  };

  WriteFile("old.lqw", build(false));
  ExpectRefused<ExceptionParseStreamError>("old.lqw", L"Parse Stream Error");

  WriteFile("old.lqw", build(true));
  env_.PasswordTable1.fill(0x44);
  OpenProjectAsCurrent(Path("old.lqw"));
  const Project& project = CurrentProject();
  EXPECT_EQ(env_.PasswordTable1[0], 0x44);  // version 1.0 files hold no passwords

  ASSERT_EQ(project.Symbols.ListKeys(), std::vector<int>{0});
  const auto& symbols = project.Symbols.Working.at(0);
  EXPECT_EQ(symbols.Name, project.Symbols.Reference.at(0).Name);
  ASSERT_FALSE(symbols.Rows.empty());
  EXPECT_EQ(symbols.Rows[0].Name, L"Level");
  EXPECT_EQ(symbols.Rows[0].Address, L"VB4");

  const auto& data = project.DataBlocks.Working.at(0);
  EXPECT_EQ(data.Address, project.DataBlocks.Reference.at(0).Address);
  ASSERT_FALSE(data.Rows.empty());
  EXPECT_EQ(data.Rows[0].Address, L"VB8");
  EXPECT_NE(data.Rows[0].Value.find(L"7"), std::wstring::npos);  // in the table's canonical form

  EXPECT_EQ(project.SystemBlocks.Working.at(2).Rows, Bytes(16, 0xAB));
  EXPECT_EQ(project.SystemBlocks.Working.at(0).Rows, project.SystemBlocks.Reference.at(0).Rows);

  ASSERT_EQ(project.StatusChart.ListKeys(), std::vector<int>{0});
  EXPECT_EQ(project.StatusChart.Working.at(0).Rows[0].Address, L"I0.3");

  EXPECT_EQ(project.Program.ViewMode, kViewModeStl);
  const BlockRecord& main = project.Program.InterruptTable.Working.at(0);
  EXPECT_EQ(main.Comment, L"old main");
  EXPECT_EQ(main.Page.Networks(), std::vector<Network>{network});
  ASSERT_FALSE(main.Page.LocalVars.empty());
  EXPECT_EQ(main.Page.LocalVars.back().Name, L"flag");
  EXPECT_TRUE(project.Program.SubroutineTable.HasWorkingPage(0x10000));
}

// Version-1.0 sections keep their texts in other layouts: a text that is not code page 936 is
// named there too.
TEST_F(ProjectFileTest, Version10TextsThatAreNotCodePage936AreNamed) {
  Network network;
  network.Kind = kNetworkStl;
  StlLine line;
  line.Mnemonic = L"LD";
  line.Operands = {L"I0.2"};
  line.Comments = {L"main cm"};
  network.Lines = {line};
  StreamBytes file;
  EncodeStringField(file, kFileVerKey, kProjectFileVersion10);
  EncodeStringField(file, kPlcTypeKey, kTypeA);
  EncodeStructField(file, kSymbolVarKey, [&](StreamBytes& v) {
    LegacyEntry(v, "#2", 0, std::vector<VarEntry>{{0, kVarAreaTemp, 0, L"flag", L"L0.0", L"temp cm"}}, EncodeVarEntry);
  });
  EncodeStructField(file, kSymbolFunKey,
                    [&](StreamBytes& v) { TitlesEntry(v, "#1", 0, PageTitles{L"MAIN", L"OB1", L"old main"}); });
  EncodeStructField(file, kDataBlockKey, [](StreamBytes&) {});
  EncodeStructField(file, kSystemBlockKey, [](StreamBytes&) {});
  EncodeStructField(file, kProgramBlockKey, [&](StreamBytes& v) {
    EncodeKeyField(v, "#1", kViewModeStl);
    EncodeFlagField(v, "#2", static_cast<uint8_t>(1));
    ProgramUnitEntry(v, "#3", 0, {network});
  });
  EncodeStructField(file, kStatusChartKey, [](StreamBytes&) {});
  for (const std::string marker : {"main cm", "temp cm"}) {
    const auto at = std::search(file.begin(), file.end(), marker.begin(), marker.end());
    ASSERT_NE(at, file.end());
    at[0] = 0xFF;
    at[1] = 0x20;
  }
  WriteFile("old.lqw", file);

  const ProjectOpenNotes notes = OpenProjectAsCurrent(Path("old.lqw"));
  EXPECT_EQ(notes.EmptiedTexts.Listed, (std::vector<std::wstring>{L"MAIN (INT0), local variables, row 1, comment",
                                                           L"MAIN (INT0), NETWORK 0, statement-list line 1, comment"}));
  const BlockRecord& main = CurrentProject().Program.InterruptTable.Working.at(0);
  EXPECT_EQ(main.Page.Networks()[0].Lines[0].Comments, std::vector<std::wstring>{L""});
  EXPECT_EQ(main.Page.Networks()[0].Lines[0].Operands, std::vector<std::wstring>{L"I0.2"});
  EXPECT_EQ(main.Comment, L"old main");
}
