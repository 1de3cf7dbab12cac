#include "platform/file_util.h"

#include <fstream>
#include <filesystem>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
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

namespace {

std::vector<std::wstring> FilesIn(const std::string& folder) {
  std::vector<std::wstring> files;
  ListFiles(FromUtf8Lossy(folder), files);
  return files;
}

}  // namespace

// A write killed part-way leaves the old file and nothing else. The writer is a child process
// whose file size limit lies inside the new content: the kernel kills it (SIGXFSZ) in the
// middle of writing, as a kill or a crash would.
TEST(FileUtil, WriteKilledPartWayLeavesNothingBehind) {
  testsupport::TempDir dir;
  const std::wstring path = FromUtf8Lossy(dir.File("big.lqw"));
  const std::vector<uint8_t> old = {1, 2, 3};
  ASSERT_TRUE(WriteFileBytes(path, old));
  const std::vector<uint8_t> big(4 << 20, 0x5A);

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    const rlimit oneMegabyte{1 << 20, 1 << 20};
    setrlimit(RLIMIT_FSIZE, &oneMegabyte);
    signal(SIGXFSZ, SIG_DFL);
    WriteFileBytes(path, big);
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the writer was not killed";
  EXPECT_EQ(WTERMSIG(status), SIGXFSZ);

  EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::wstring>{L"big.lqw"}));
  std::vector<uint8_t> read;
  ASSERT_TRUE(ReadFileBytes(path, read));
  EXPECT_EQ(read, old);
}

// Temporary files of the target that no running write holds (left by a write killed part-way
// by an earlier version) go with the next write of that target; nothing else is touched.
TEST(FileUtil, NextWriteRemovesStaleTemporariesOfItsTarget) {
  testsupport::TempDir dir;
  for (const char* name : {"p.lqw.tmpAb12Cd", "p.lqw.tmpXXXXXX", "p.lqw.tmpHeld01", "q.lqw.tmpAb12Cd",
                           "p.lqw.tmpLonger1", "p.lqw.bak"}) {
    std::ofstream(dir.File(name)) << "stale";
  }
  // One held by a write that is still running (it keeps its temporary file locked).
  const int held = open(dir.File("p.lqw.tmpHeld01").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(flock(held, LOCK_EX), 0);

  ASSERT_TRUE(WriteFileBytes(FromUtf8Lossy(dir.File("p.lqw")), std::vector<uint8_t>{7}));
  close(held);
  EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::wstring>{L"p.lqw", L"p.lqw.bak", L"p.lqw.tmpHeld01",
                                                             L"p.lqw.tmpLonger1", L"q.lqw.tmpAb12Cd"}));
}

// A target that is a symbolic link (or a chain of them, relative or absolute) stays a link; the
// file it names gets the content, and no temporary file stays in either folder.
TEST(FileUtil, WriteThroughASymbolicLinkReplacesTheFileItNames) {
  testsupport::TempDir dir;
  namespace fs = std::filesystem;
  fs::create_directory(dir.File("real"));
  std::ofstream(dir.File("real/p.lqw")) << "old";
  fs::create_symlink("real/p.lqw", dir.File("link.lqw"));
  fs::create_symlink(dir.File("link.lqw"), dir.File("chain.lqw"));
  fs::create_symlink("real/new.lqw", dir.File("dangling.lqw"));

  const std::vector<uint8_t> content = {4, 5, 6};
  ASSERT_TRUE(WriteFileBytes(FromUtf8Lossy(dir.File("chain.lqw")), content));
  ASSERT_TRUE(WriteFileBytes(FromUtf8Lossy(dir.File("dangling.lqw")), content));
  for (const char* link : {"link.lqw", "chain.lqw", "dangling.lqw"}) {
    EXPECT_TRUE(fs::is_symlink(dir.File(link))) << link;
  }
  std::vector<uint8_t> read;
  for (const char* file : {"real/p.lqw", "real/new.lqw"}) {
    ASSERT_TRUE(ReadFileBytes(FromUtf8Lossy(dir.File(file)), read)) << file;
    EXPECT_EQ(read, content) << file;
  }
  EXPECT_EQ(FilesIn(dir.File("real")), (std::vector<std::wstring>{L"new.lqw", L"p.lqw"}));
  EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::wstring>{L"chain.lqw", L"dangling.lqw", L"link.lqw"}));

  // A loop of links is refused.
  fs::create_symlink("loop2", dir.File("loop1"));
  fs::create_symlink("loop1", dir.File("loop2"));
  std::wstring error;
  EXPECT_FALSE(WriteFileBytes(FromUtf8Lossy(dir.File("loop1")), content, &error));
  EXPECT_FALSE(error.empty());
}

TEST(FileUtil, ReadingUpToALimitRefusesALargerFileUnread) {
  testsupport::TempDir dir;
  const std::wstring path = FromUtf8Lossy(dir.File("ten.bin"));
  const std::vector<uint8_t> ten(10, 3);
  ASSERT_TRUE(WriteFileBytes(path, ten));
  std::vector<uint8_t> read = {9};
  EXPECT_EQ(ReadFileBytesUpTo(path, 9, read), ReadFileResult::TooLarge);
  EXPECT_EQ(read, std::vector<uint8_t>{9});
  EXPECT_EQ(ReadFileBytesUpTo(path, 10, read), ReadFileResult::Ok);
  EXPECT_EQ(read, ten);
  std::wstring error;
  EXPECT_EQ(ReadFileBytesUpTo(FromUtf8Lossy(dir.File("none")), 10, read, &error), ReadFileResult::Failed);
  EXPECT_FALSE(error.empty());
  // Something that is not a regular file has no size to check first: it is read up to the limit.
  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  ASSERT_EQ(write(pipeFds[1], "0123456789A", 11), 11);
  close(pipeFds[1]);
  const std::wstring fromPipe = FromUtf8Lossy("/proc/self/fd/" + std::to_string(pipeFds[0]));
  EXPECT_EQ(ReadFileBytesUpTo(fromPipe, 10, read), ReadFileResult::TooLarge);
  close(pipeFds[0]);
}

TEST(FileUtil, ProgramDirectoryHoldsTheTestProgram) {
  const std::wstring dir = GetProgramDirectory();
  EXPECT_TRUE(FileExists(JoinPath(dir, L"platform_tests")));
  EXPECT_EQ(GetModuleDirectoryOf(reinterpret_cast<const void*>(&GetProgramDirectory)), dir);
}
