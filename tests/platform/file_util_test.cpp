#include "platform/file_util.h"

#include <fstream>
#include <filesystem>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
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

namespace {

// Leaves a file as a write killed part-way would: named like our temporary files, with or
// without our mark.
void MakeLeftover(const std::string& path, bool marked) {
  std::ofstream(path) << "stale";
  if (marked) {
    ASSERT_EQ(setxattr(path.c_str(), "user.orvisto.temporary", "1", 1, 0), 0) << std::strerror(errno);
  }
}

bool XattrsWork(const std::string& folder) {
  const std::string probe = folder + "/probe";
  std::ofstream(probe) << "x";
  const bool works = setxattr(probe.c_str(), "user.probe", "1", 1, 0) == 0;
  unlink(probe.c_str());
  return works;
}

}  // namespace

// Temporary files of the target that no running write holds (left by a write killed part-way)
// go with the next write of that target: only those of our pattern that carry our mark. A
// user's file that merely looks like one stays, whatever its name.
TEST(FileUtil, NextWriteRemovesOnlyItsOwnStaleTemporaries) {
  testsupport::TempDir dir;
  if (!XattrsWork(dir.path())) GTEST_SKIP() << "the file system keeps no extended attributes";
  MakeLeftover(dir.File(".p.lqw.orvisto-Ab12Cd"), true);
  MakeLeftover(dir.File(".p.lqw.orvisto-Held01"), true);
  MakeLeftover(dir.File(".q.lqw.orvisto-Ab12Cd"), true);
  MakeLeftover(dir.File(".p.lqw.orvisto-Longer1"), true);
  MakeLeftover(dir.File(".p.lqw.orvisto-User01"), false);
  for (const char* name : {"p.lqw.tmpBACKUP", "p.lqw.tmpAb12Cd", "p.lqw.bak"}) MakeLeftover(dir.File(name), false);
  // One held by a write that is still running (it keeps its temporary file locked).
  const int held = open(dir.File(".p.lqw.orvisto-Held01").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(flock(held, LOCK_EX), 0);

  ASSERT_TRUE(WriteFileBytes(FromUtf8Lossy(dir.File("p.lqw")), std::vector<uint8_t>{7}));
  close(held);
  EXPECT_EQ(FilesIn(dir.path()),
            (std::vector<std::wstring>{L".p.lqw.orvisto-Held01", L".p.lqw.orvisto-Longer1", L".p.lqw.orvisto-User01",
                                       L".q.lqw.orvisto-Ab12Cd", L"p.lqw", L"p.lqw.bak", L"p.lqw.tmpAb12Cd",
                                       L"p.lqw.tmpBACKUP"}));
  // The saved file does not keep the mark of the temporary file it was.
  char value[8];
  EXPECT_LT(getxattr(dir.File("p.lqw").c_str(), "user.orvisto.temporary", value, sizeof(value)), 0);
}

namespace {

struct Stat {
  explicit Stat(const std::string& path) { EXPECT_EQ(stat(path.c_str(), &st), 0) << path; }
  mode_t Mode() const { return st.st_mode & 07777; }
  struct stat st {};
};

std::vector<uint8_t> Read(const std::string& path) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(ReadFileBytes(FromUtf8Lossy(path), bytes)) << path;
  return bytes;
}

// Sets the umask for the life of the object.
class ScopedUmask {
 public:
  explicit ScopedUmask(mode_t mask) : old_(umask(mask)) {}
  ~ScopedUmask() { umask(old_); }

 private:
  mode_t old_;
};

}  // namespace

// A read-only target (no write bit, which root could otherwise write: refused for everyone) and
// a target that is no regular file are refused, and nothing changes.
TEST(FileUtil, ReadOnlyAndOtherTargetsAreRefusedUntouched) {
  testsupport::TempDir dir;
  const std::string readOnly = dir.File("ro.lqw");
  std::ofstream(readOnly) << "old";
  ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
  const std::string fifo = dir.File("fifo.lqw");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);

  const struct {
    std::string path;
    FileWriteFailure::Kind expected;
  } cases[] = {{readOnly, FileWriteFailure::ReadOnly}, {fifo, FileWriteFailure::NotAFile}};
  for (const auto& c : cases) {
    const Stat before(c.path);
    FileWriteFailure failure;
    EXPECT_FALSE(WriteFileBytes(FromUtf8Lossy(c.path), "new", 3, failure)) << c.path;
    EXPECT_EQ(failure.What, c.expected) << c.path;
    const Stat after(c.path);
    EXPECT_EQ(after.st.st_ino, before.st.st_ino) << c.path;
    EXPECT_EQ(after.Mode(), before.Mode()) << c.path;
  }
  EXPECT_EQ(Read(readOnly), (std::vector<uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::wstring>{L"ro.lqw"}));  // a FIFO is no file
}

// A new file gets what the umask leaves of 0666; a replaced one keeps its mode and, where the
// user may give it, its owner and group.
TEST(FileUtil, NewFilesFollowTheUmaskAndReplacedOnesKeepModeAndOwner) {
  testsupport::TempDir dir;
  for (const mode_t mask : {022, 027, 077}) {
    const ScopedUmask scoped(mask);
    const std::string path = dir.File("new" + std::to_string(mask) + ".lqw");
    ASSERT_TRUE(WriteFileBytes(FromUtf8Lossy(path), std::vector<uint8_t>{1}));
    EXPECT_EQ(Stat(path).Mode(), 0666 & ~mask) << std::oct << mask;
  }

  const ScopedUmask scoped(022);
  const std::string path = dir.File("kept.lqw");
  for (const mode_t mode : {0600, 0640, 0604, 0664}) {
    ASSERT_TRUE(WriteFileBytes(FromUtf8Lossy(path), std::vector<uint8_t>{1}));
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
    ASSERT_TRUE(WriteFileBytes(FromUtf8Lossy(path), std::vector<uint8_t>{2}));
    EXPECT_EQ(Stat(path).Mode(), mode) << std::oct << mode;
  }
  if (geteuid() == 0) {
    ASSERT_EQ(chown(path.c_str(), 4321, 8765), 0);
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileBytes(FromUtf8Lossy(path), std::vector<uint8_t>{3}));
    const Stat after(path);
    EXPECT_EQ(after.st.st_uid, 4321u);
    EXPECT_EQ(after.st.st_gid, 8765u);
    EXPECT_EQ(after.Mode(), 0640u);
  }
  EXPECT_EQ(Read(path), std::vector<uint8_t>{geteuid() == 0 ? uint8_t{3} : uint8_t{2}});
}

// A target with other hard links keeps them: every name shows the new content, longer or
// shorter than the old, and no copy stays beside it.
TEST(FileUtil, ATargetWithHardLinksIsWrittenInPlace) {
  testsupport::TempDir dir;
  const std::string path = dir.File("p.lqw");
  const std::string other = dir.File("other.lqw");
  ASSERT_TRUE(WriteFileBytes(FromUtf8Lossy(path), std::vector<uint8_t>{1, 2, 3}));
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  ASSERT_EQ(link(path.c_str(), other.c_str()), 0);
  const Stat before(path);
  for (const std::vector<uint8_t>& content : {std::vector<uint8_t>(100000, 9), std::vector<uint8_t>{4, 5}}) {
    ASSERT_TRUE(WriteFileBytes(FromUtf8Lossy(path), content));
    EXPECT_EQ(Read(path), content);
    EXPECT_EQ(Read(other), content);
    const Stat after(path);
    EXPECT_EQ(after.st.st_ino, before.st.st_ino);
    EXPECT_EQ(after.st.st_nlink, 2u);
    EXPECT_EQ(after.Mode(), 0640u);
  }
  EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::wstring>{L"other.lqw", L"p.lqw"}));
}

// A write that the system refuses part-way (here a file size limit: a full disk fails the same
// way) is told as such; the old file stays as it was, and nothing is left beside it, whether it
// is replaced by a rename or, having other hard links, in place.
TEST(FileUtil, AWriteErrorLeavesTheOldFileAndNothingElse) {
  for (const bool linked : {false, true}) {
    testsupport::TempDir dir;
    const std::string path = dir.File("p.lqw");
    const std::vector<uint8_t> old(1000, 7);
    ASSERT_TRUE(WriteFileBytes(FromUtf8Lossy(path), old));
    if (linked) {
      ASSERT_EQ(link(path.c_str(), dir.File("other.lqw").c_str()), 0);
    }
    FileWriteFailure failure;
    {
      const testsupport::ScopedFileSizeLimit limit(64 * 1024);
      const std::vector<uint8_t> big(1 << 20, 9);
      EXPECT_FALSE(WriteFileBytes(FromUtf8Lossy(path), big.data(), big.size(), failure)) << linked;
    }
    EXPECT_EQ(failure.What, FileWriteFailure::System) << linked;
    EXPECT_EQ(failure.Errno, EFBIG) << linked;
    EXPECT_EQ(Read(path), old) << linked;
    EXPECT_EQ(FilesIn(dir.path()).size(), linked ? 2u : 1u) << linked;
  }
}

namespace {

// Ends the writing process before the second megabyte of an overwrite in place, as a kill would.
void DieAfterTheFirstPiece(size_t written) {
  if (written > 0) _exit(0);
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

// A write of a target with other hard links that dies in the overwrite in place leaves the
// target grown only by what was written (no zeros ahead of the content) and the whole new
// content in a copy beside it under a fixed name, which KeptCopiesBeside names. The copy stays
// through later writes of other content (their own copies go) and goes with the write of its
// content.
TEST(FileUtil, AWriteKilledInPlaceKeepsAWholeCopyBesideTheTarget) {
  testsupport::TempDir dir;
  const std::string path = dir.File("p.lqw");
  const std::string other = dir.File("other.lqw");
  const std::vector<uint8_t> old((3 << 20) / 2, 0x11);
  const std::vector<uint8_t> fresh(3 << 20, 0x22);
  ASSERT_TRUE(WriteFileBytes(FromUtf8Lossy(path), old));
  ASSERT_EQ(link(path.c_str(), other.c_str()), 0);

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    SetInPlaceWriteHook(DieAfterTheFirstPiece);
    WriteFileBytes(FromUtf8Lossy(path), fresh);
    _exit(1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the write was not stopped in place";

  const std::vector<uint8_t> firstMegabyte(fresh.begin(), fresh.begin() + (1 << 20));
  const std::vector<uint8_t> mixed = Concat(firstMegabyte, std::vector<uint8_t>(old.begin() + (1 << 20), old.end()));
  EXPECT_TRUE(Read(path) == mixed);
  EXPECT_TRUE(Read(other) == mixed);
  const std::string copy = dir.File("p.lqw.orvisto-copy");
  EXPECT_TRUE(Read(copy) == fresh);
  EXPECT_EQ(KeptCopiesBeside(FromUtf8Lossy(path)), std::vector<std::wstring>{FromUtf8Lossy(copy)});
  EXPECT_EQ(KeptCopiesBeside(FromUtf8Lossy(other)), std::vector<std::wstring>{});

  // Other content: written in place, the copy stays.
  const std::vector<uint8_t> third = {3, 3, 3};
  ASSERT_TRUE(WriteFileBytes(FromUtf8Lossy(path), third));
  EXPECT_EQ(Read(other), third);
  EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::wstring>{L"other.lqw", L"p.lqw", L"p.lqw.orvisto-copy"}));
  // The copy's content: the copy goes.
  ASSERT_TRUE(WriteFileBytes(FromUtf8Lossy(path), fresh));
  EXPECT_TRUE(Read(other) == fresh);
  EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::wstring>{L"other.lqw", L"p.lqw"}));
  EXPECT_TRUE(KeptCopiesBeside(FromUtf8Lossy(path)).empty());
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
