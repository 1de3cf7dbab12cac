// Saves that the system stops: a save past the file-size limit is an error the workbench shows
// and survives, and a whole copy that a save stopped in place left beside a hard-linked project
// file is named at each open and save of the file until it is no longer needed.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/project/project_commands.h"
#include "core/project/project_file.h"
#include "core/project/project_list.h"
#include "platform/file_util.h"
#include "project_env_test_support.h"

using namespace Brenno;
using namespace projecttest;

namespace {

using Bytes = std::vector<uint8_t>;

class ProjectSaveSafetyTest : public ProjectEnvFixture {
 protected:
  void SetUp() override {
    ProjectEnvFixture::SetUp();
    ASSERT_TRUE(TryNewProject());
  }

  Bytes Read(const std::string& name) {
    Bytes bytes;
    EXPECT_TRUE(platform::ReadFileBytes(Path(name), bytes)) << name;
    return bytes;
  }

  // Runs `body` in a child process and gives what it wrote to the pipe; the child must end by
  // returning (its exit status 0), not by a signal.
  std::string InChild(const std::function<void(int)>& body) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) ADD_FAILURE() << "pipe";
    const pid_t child = fork();
    if (child == 0) {
      close(pipeEnds[0]);
      body(pipeEnds[1]);
      _exit(0);
    }
    close(pipeEnds[1]);
    std::string said;
    char chunk[256];
    for (ssize_t n; (n = read(pipeEnds[0], chunk, sizeof chunk)) > 0;) said.append(chunk, static_cast<size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << (WIFSIGNALED(status) ? "killed by signal " + std::to_string(WTERMSIG(status)) : std::string("exited"));
    return said;
  }
};

void Say(int fd, const std::wstring& text) {
  const std::string utf8 = platform::ToUtf8Lossy(text);
  if (write(fd, utf8.data(), utf8.size()) < 0) _exit(3);
}

// The workbench's signal set-up, then a save past the file-size limit: the save is refused with
// "Write file error" and why, the process lives on and the old file is as it was.
TEST_F(ProjectSaveSafetyTest, ASavePastTheFileSizeLimitIsAnErrorNotTheEnd) {
  ASSERT_TRUE(TrySaveProject(Path("p.lqw")));
  const Bytes old = Read("p.lqw");
  ASSERT_GT(old.size(), 200u);
  const std::string said = InChild([&](int fd) {
    signal(SIGXFSZ, SIG_DFL);
    platform::IgnoreFileSizeLimitSignal();
    const rlimit limit{old.size() / 2, RLIM_INFINITY};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(2);
    boxes_.Shown.clear();
    CurrentProject().Program.InterruptTable.Working.at(0).Comment = L"changed";
    Say(fd, TrySaveProject(Path("p.lqw")) ? L"saved" : boxes_.Shown.at(0).Text);
  });
  EXPECT_EQ(said, platform::ToUtf8Lossy(L"Parse Stream Error\r\n  Write file error : \"" + Path("p.lqw") +
                                         L"\"\r\n  The file is larger than the system allows"));
  EXPECT_EQ(Read("p.lqw"), old);
  EXPECT_EQ(platform::KeptCopiesBeside(Path("p.lqw")), std::vector<std::wstring>{});
}

void DieBeforeWritingInPlace(size_t) { _exit(0); }

// A save of a project file with another hard link dies in the overwrite in place: each open and
// save of the file names the whole copy beside it, in the user's language, until a save writes
// what the copy holds.
TEST_F(ProjectSaveSafetyTest, ACopyLeftBesideALinkedFileIsNamedUntilItIsNoLongerNeeded) {
  ASSERT_TRUE(TrySaveProject(Path("p.lqw")));
  ASSERT_EQ(link(dir_.File("p.lqw").c_str(), dir_.File("other.lqw").c_str()), 0);
  const Bytes old = Read("p.lqw");
  InChild([&](int) {
    platform::SetInPlaceWriteHook(DieBeforeWritingInPlace);
    CurrentProject().Program.InterruptTable.Working.at(0).Comment = L"changed";
    TrySaveProject(Path("p.lqw"));
    _exit(1);
  });
  const std::wstring copy = Path("p.lqw.orvisto-copy");
  const Bytes whole = Read("p.lqw.orvisto-copy");
  EXPECT_NE(whole, old);
  const std::wstring english = L"A save of \"" + Path("p.lqw") +
                               L"\" stopped part-way and left a whole copy of the content it was writing beside "
                               L"it:\r\n  \"" + copy + L"\"\r\nThe file may not hold that content.";
  const std::wstring chinese = L"保存 \"" + Path("p.lqw") + L"\" 时曾中途停止，旁边留有当时正在写入的完整内容的副本：\r\n  \"" +
                               copy + L"\"\r\n该文件可能没有这些内容。";
  auto expectNamed = [&](const std::wstring& start, int icon) {
    ASSERT_EQ(boxes_.Shown.size(), 1u);
    EXPECT_EQ(boxes_.Shown[0].Icon, icon);
    EXPECT_EQ(platform::ToUtf8Lossy(boxes_.Shown[0].Text.substr(0, start.size())), platform::ToUtf8Lossy(start));
    boxes_.Shown.clear();
  };

  // The open names it, in either language; so does a save of other content, which keeps it.
  ASSERT_TRUE(TryOpenProject(Path("p.lqw")));
  expectNamed(english, kMessageIconWarning);
  SetCurrentLanguage(kLanguageChinese);
  ASSERT_TRUE(TryOpenProject(Path("p.lqw")));
  expectNamed(chinese, kMessageIconWarning);
  SetCurrentLanguage(kLanguageEnglish);
  ASSERT_TRUE(TrySaveProject(Path("p.lqw")));
  expectNamed(english, kMessageIconWarning);
  EXPECT_EQ(Read("other.lqw"), old);
  EXPECT_EQ(Read("p.lqw.orvisto-copy"), whole);
  // A failed open names it after its error.
  ASSERT_TRUE(platform::WriteFileBytes(Path("p.lqw"), Bytes{'x'}));
  EXPECT_FALSE(TryOpenProject(Path("p.lqw")));
  ASSERT_EQ(boxes_.Shown.size(), 1u);
  EXPECT_NE(boxes_.Shown[0].Text.find(L"\r\n\r\n" + english), std::wstring::npos);
  boxes_.Shown.clear();

  // The copy opened and saved as the file: nothing more to say, and the copy is gone.
  ASSERT_TRUE(TryOpenProject(copy));
  EXPECT_TRUE(boxes_.Shown.empty());
  ASSERT_TRUE(TrySaveProject(Path("p.lqw")));
  EXPECT_TRUE(boxes_.Shown.empty());
  EXPECT_EQ(Read("other.lqw"), whole);
  EXPECT_EQ(platform::KeptCopiesBeside(Path("p.lqw")), std::vector<std::wstring>{});
  ASSERT_TRUE(TryOpenProject(Path("p.lqw")));
  EXPECT_TRUE(boxes_.Shown.empty());
}

}  // namespace
