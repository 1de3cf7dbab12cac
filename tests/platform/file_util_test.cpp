#include "platform/file_util.h"

#include <fstream>
#include <filesystem>
#include <sys/stat.h>
#include <gtest/gtest.h>

#include "platform/text_codec.h"
#include "support/test_paths.h"

using namespace platform;

TEST(FileUtil, ListingsAreSortedAndSeparateFoldersFromFiles) {
  testsupport::TempDir dir;
  for (const char* name : {"b", "A", "a", "c10", "c2"}) std::filesystem::create_directory(dir.File(name));
  std::ofstream(dir.File("file.txt")) << "x";
  std::vector<std::wstring> folders, files;
  ASSERT_TRUE(ListSubfolders(FromUtf8Lossy(dir.path()), folders));
  EXPECT_EQ(folders, (std::vector<std::wstring>{L"A", L"a", L"b", L"c10", L"c2"}));
  ASSERT_TRUE(ListFiles(FromUtf8Lossy(dir.path()), files));
  EXPECT_EQ(files, (std::vector<std::wstring>{L"file.txt"}));
  EXPECT_FALSE(ListSubfolders(FromUtf8Lossy(dir.File("missing")), folders));
  EXPECT_TRUE(folders.empty());
}

TEST(FileUtil, WriteReplacesWholeAndReadsBack) {
  testsupport::TempDir dir;
  const std::wstring path = FromUtf8Lossy(dir.File("data.bin"));
  const std::vector<uint8_t> first = {1, 2, 3}, second = {9, 8};
  ASSERT_TRUE(WriteFileBytes(path, first));
  ASSERT_TRUE(WriteFileBytes(path, second));
  std::vector<uint8_t> read;
  ASSERT_TRUE(ReadFileBytes(path, read));
  EXPECT_EQ(read, second);
  // No temporary file stays behind.
  std::vector<std::wstring> files;
  ListFiles(FromUtf8Lossy(dir.path()), files);
  EXPECT_EQ(files, (std::vector<std::wstring>{L"data.bin"}));
}

TEST(FileUtil, FailedWriteLeavesOldFileUntouched) {
  if (geteuid() == 0) {
    // Root ignores folder permissions; use a target that is a folder instead.
    testsupport::TempDir dir;
    std::filesystem::create_directory(dir.File("target"));
    std::wstring error;
    EXPECT_FALSE(WriteFileBytes(FromUtf8Lossy(dir.File("target")), std::vector<uint8_t>{1}, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(FolderExists(FromUtf8Lossy(dir.File("target"))));
    std::vector<std::wstring> files;
    ListFiles(FromUtf8Lossy(dir.path()), files);
    EXPECT_TRUE(files.empty());
    return;
  }
  testsupport::TempDir dir;
  const std::wstring path = FromUtf8Lossy(dir.File("keep.bin"));
  ASSERT_TRUE(WriteFileBytes(path, std::vector<uint8_t>{7}));
  chmod(dir.path().c_str(), 0555);
  EXPECT_FALSE(WriteFileBytes(path, std::vector<uint8_t>{1, 2}));
  chmod(dir.path().c_str(), 0755);
  std::vector<uint8_t> read;
  ASSERT_TRUE(ReadFileBytes(path, read));
  EXPECT_EQ(read, std::vector<uint8_t>{7});
}

TEST(FileUtil, ProgramDirectoryHoldsTheTestProgram) {
  const std::wstring dir = GetProgramDirectory();
  EXPECT_TRUE(FileExists(JoinPath(dir, L"platform_tests")));
  EXPECT_EQ(GetModuleDirectoryOf(reinterpret_cast<const void*>(&GetProgramDirectory)), dir);
}
