#include "core/link/exchange_transfer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/compiler/image_stamp_compiler.h"
#include "core/env/plugin_library.h"
#include "core/link/comm_state.h"
#include "core/link/upload_job.h"
#include "core/project/local_var_table.h"
#include "core/project/project_list.h"
#include "transfer_test_support.h"

using namespace Brenno;
using transfertest::RecordingUi;

namespace {

// An entry table whose every entry appends a line to a log.
std::vector<std::string> g_log;
bool g_result = true;
std::vector<uint8_t> g_constPage;  // what GetPageProgramConst hands out

void Note(const std::string& entry) { g_log.push_back(entry); }
void Page(const char* name, int key, int size) { Note(std::string(name) + " " + std::to_string(key) + " " + std::to_string(size)); }

void SetCommPort(int station, const char16_t* port, int baudrate, int parity) {
  std::string narrow;
  for (; port && *port; ++port) narrow.push_back(static_cast<char>(*port));
  Note("SetCommPort " + std::to_string(station) + " " + narrow + " " + std::to_string(baudrate) + " " +
       std::to_string(parity));
}
void SetCommPortAdvabced(const int* times, int count) {
  Note("SetCommPortAdvabced " + std::to_string(count) + " " + std::to_string(times[1]) + " " +
       std::to_string(times[10]));
}
void ClearData() { Note("ClearData"); }
void ClearSystem() { Note("ClearSystem"); }
void ClearConst() { Note("ClearProgramConst"); }
void ClearArgument() { Note("ClearProgramArgument"); }
void ClearInstruction() { Note("ClearProgramInstruction"); }
void SetData(int key, const void*, int size) { Page("SetPageData", key, size); }
void SetSystem(int key, const void*, int size) { Page("SetPageSystem", key, size); }
void SetConst(int key, const void*, int size) { Page("SetPageProgramConst", key, size); }
void SetArgument(int key, const void*, int size) { Page("SetPageProgramArgument", key, size); }
void SetInstruction(int key, const void*, int size) { Page("SetPageProgramInstruction", key, size); }
void Absent(const void** data, int* size) {
  *data = nullptr;
  *size = 0;
}
void GetData(int key, const void** data, int* size) { Page("GetPageData", key, 0); Absent(data, size); }
void GetSystem(int key, const void** data, int* size) { Page("GetPageSystem", key, 0); Absent(data, size); }
void GetConst(int key, const void** data, int* size) {
  Page("GetPageProgramConst", key, 0);
  Absent(data, size);
  if (!g_constPage.empty()) {
    *data = g_constPage.data();
    *size = static_cast<int>(g_constPage.size());
  }
}
void GetArgument(int key, const void** data, int* size) { Page("GetPageProgramArgument", key, 0); Absent(data, size); }
void GetInstruction(int key, const void** data, int* size) {
  Page("GetPageProgramInstruction", key, 0);
  Absent(data, size);
}
bool Download() {
  Note("ExcuteUserDownload");
  return g_result;
}
bool Upload() {
  Note("ExcuteUserUpload");
  return g_result;
}

std::vector<void*> RecordingEntries() {
  std::vector<void*> entries(kExchangeSlotCount, nullptr);
  const auto put = [&](int slot, auto fn) { entries[static_cast<size_t>(slot)] = reinterpret_cast<void*>(fn); };
  put(kExSetCommPort, &SetCommPort);
  put(kExSetCommPortAdvabced, &SetCommPortAdvabced);
  put(kExClearData, &ClearData);
  put(kExSetPageData, &SetData);
  put(kExGetPageData, &GetData);
  put(kExClearSystem, &ClearSystem);
  put(kExSetPageSystem, &SetSystem);
  put(kExGetPageSystem, &GetSystem);
  put(kExClearProgramConst, &ClearConst);
  put(kExSetPageProgramConst, &SetConst);
  put(kExGetPageProgramConst, &GetConst);
  put(kExClearProgramArgument, &ClearArgument);
  put(kExSetPageProgramArgument, &SetArgument);
  put(kExGetPageProgramArgument, &GetArgument);
  put(kExClearProgramInstruction, &ClearInstruction);
  put(kExSetPageProgramInstruction, &SetInstruction);
  put(kExGetPageProgramInstruction, &GetInstruction);
  put(kExExcuteUserDownload, &Download);
  put(kExExcuteUserUpload, &Upload);
  return entries;
}

class ExchangeEntriesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_log.clear();
    g_result = true;
    g_constPage.clear();
    env_.Config.LinkStation = 3;
    env_.Config.LinkPortPath = L"/dev/ttyS1";
    env_.Config.LinkBaudrate = 9600;
    env_.Config.LinkParity = 1;
    env_.Config.LinkTimeWaitReceive = 1234;
    env_.Config.LinkTimeWriteTotalTimeoutConstant = 77;
  }
  AppEnvironment env_;
};

TEST_F(ExchangeEntriesTest, DownloadOffersTheNonEmptyPagesKindByKind) {
  BinaryImage image;
  image.DataPages = {{0, {1, 2}}, {3, {}}, {5, {7, 8, 9, 10}}};
  image.SystemPages = {{1, {1, 2, 3}}, {2, {}}};
  image.ProgramArguments = {{0x10000, {4}}};
  image.ProgramInstructions = {{0, {3, 3}}, {0x10000, {3}}};
  DownloadImageThroughEntries(env_, RecordingEntries(), image);
  const std::vector<std::string> expected = {
      "ClearData", "SetPageData 0 8", "SetPageData 5 16", "ClearSystem", "SetPageSystem 1 3",
      "ClearProgramConst",  // no constants: nothing set
      "ClearProgramArgument", "SetPageProgramArgument 65536 4", "ClearProgramInstruction",
      "SetPageProgramInstruction 0 8", "SetPageProgramInstruction 65536 4", "SetCommPort 3 /dev/ttyS1 9600 1",
      "SetCommPortAdvabced 11 1234 77", "ExcuteUserDownload"};
  EXPECT_EQ(g_log, expected);

  g_log.clear();
  image.ProgramConsts = {5, 6, 7};
  g_result = false;
  EXPECT_THROW(DownloadImageThroughEntries(env_, RecordingEntries(), image), ExceptionInitDownloadDataError);
  EXPECT_NE(std::find(g_log.begin(), g_log.end(), "SetPageProgramConst 0 12"), g_log.end());
}

TEST_F(ExchangeEntriesTest, ATableWithAMissingEntryCallsNothing) {
  std::vector<void*> entries = RecordingEntries();
  entries[kExGetPageSystem] = nullptr;
  EXPECT_THROW(DownloadImageThroughEntries(env_, entries, BinaryImage()), ExceptionInitPlcTypeError);
  entries.resize(5);
  EXPECT_THROW(UploadThroughEntries(env_, entries), ExceptionInitPlcTypeError);
  EXPECT_TRUE(g_log.empty());
}

// The whole transfers on the type whose transfers go through its library.
class ExchangeTransferTest : public compilertest::FxCompilerFixture {
 protected:
  void SetUp() override {
    FxCompilerFixture::SetUp();
    g_log.clear();
    g_result = true;
    g_constPage.clear();
    transfertest::FillProject(Current());
  }
  void TearDown() override {
    for (PlcType& type : Environment().PlcTypeCatalog) type.ExchangeLibrary.Release();
    FxCompilerFixture::TearDown();
  }
  RecordingUi ui_;
};

TEST_F(ExchangeTransferTest, UploadAsksForEveryPageTheTypeCanHave) {
  g_constPage = {1, 0, 0, 0, 2, 0};  // six bytes: one whole word
  const size_t before = Environment().ProjectList.size();
  PushProjectOfSameType();
  EXPECT_NO_THROW(UploadThroughEntries(Environment(), RecordingEntries()));
  ASSERT_GE(g_log.size(), 3u);
  EXPECT_EQ(g_log[0].rfind("SetCommPort ", 0), 0u);
  EXPECT_EQ(g_log[1].rfind("SetCommPortAdvabced 11", 0), 0u);
  EXPECT_EQ(g_log[2], "ExcuteUserUpload");
  std::vector<std::string> expected(g_log.begin(), g_log.begin() + 3);
  for (int key : ListReferencePageKeys(Current().DataBlocks)) expected.push_back("GetPageData " + std::to_string(key) + " 0");
  for (int key : ListReferencePageKeys(Current().SystemBlocks))
    expected.push_back("GetPageSystem " + std::to_string(key) + " 0");
  expected.push_back("GetPageProgramConst 0 0");
  for (int key : CollectProgramUnitKeys(Current().Program)) {
    expected.push_back("GetPageProgramArgument " + std::to_string(key) + " 0");
    expected.push_back("GetPageProgramInstruction " + std::to_string(key) + " 0");
  }
  EXPECT_EQ(g_log, expected);
  DropNewestProject();
  EXPECT_EQ(Environment().ProjectList.size(), before);

  // A failed upload asks for no page.
  g_log.clear();
  g_result = false;
  PushProjectOfSameType();
  EXPECT_THROW(UploadThroughEntries(Environment(), RecordingEntries()), ExceptionInitUploadDataError);
  EXPECT_EQ(g_log.back(), "ExcuteUserUpload");
  DropNewestProject();
}

TEST_F(ExchangeTransferTest, DownloadAndUploadThroughTheStandInLibrary) {
  PlcType& type = transfertest::CurrentTypeEntry(Environment());
  type.ExchangeLibrary.Release();
  BindExchangeLibrary(type.ExchangeLibrary, compilertest::W(ORVISTO_EXCHANGE_LIBRARY));
  const BinaryImage original = transfertest::EncodeCurrent();
  AppEnvironment& env = Environment();

  DownloadThroughLibrary(env);
  EXPECT_TRUE(ui_.Messages.empty());
  EXPECT_TRUE(ui_.Notifications.empty());
  EXPECT_EQ(env.CommState.load(), CommOffline);

  const Project* before = &Current();
  env.ProjectPath = L"/tmp/p.lqw";
  UploadThroughLibrary(env);
  EXPECT_TRUE(ui_.Messages.empty()) << platform::ToUtf8Lossy(ui_.Messages.empty() ? L"" : ui_.Messages[0]);
  ASSERT_EQ(env.ProjectList.size(), 1u);
  EXPECT_NE(&Current(), before);
  EXPECT_EQ(transfertest::EncodeCurrent(), original);
  EXPECT_TRUE(env.ProjectPath.empty());
  EXPECT_TRUE(env.Modified.load());
  EXPECT_EQ(ui_.Notifications, (std::vector<int>{kNotifyCommChanged, kNotifyProjectReplaced, kNotifyCommChanged}));
  EXPECT_EQ(env.CommState.load(), CommOffline);
}

TEST_F(ExchangeTransferTest, FailedTransfersChangeNothing) {
  // A project that does not compile reaches no library entry.
  Current().DataBlocks.Working.at(0).Rows[1] = {kDataRowComplete, 1, L"VB9", L"999", L""};
  DownloadThroughLibrary(Environment());
  EXPECT_EQ(ui_.Messages, std::vector<std::wstring>{L"Parse Binary Error"});

  // A job holds the command state: the upload is refused before anything is pushed.
  ui_.Messages.clear();
  Environment().CommState = CommCommand;
  const Project* before = &Current();
  UploadThroughLibrary(Environment());
  EXPECT_EQ(ui_.Messages.size(), 1u);
  EXPECT_EQ(&Current(), before);
  EXPECT_EQ(Environment().ProjectList.size(), 1u);
  Environment().CommState = CommOffline;

  // A type whose library is not bound: the fresh project is dropped again.
  ui_.Messages.clear();
  ui_.Notifications.clear();
  transfertest::CurrentTypeEntry(Environment()).ExchangeLibrary.Release();
  UploadThroughLibrary(Environment());
  EXPECT_EQ(ui_.Messages.size(), 1u);
  EXPECT_EQ(&Current(), before);
  EXPECT_EQ(Environment().ProjectList.size(), 1u);
  EXPECT_EQ(ui_.Notifications, (std::vector<int>{kNotifyCommChanged, kNotifyCommChanged}));
  EXPECT_EQ(Environment().CommState.load(), CommOffline);
}

}  // namespace
