// The pending file behind every output: whole or not at all when a run is interrupted, when
// runs write one target at once, when leftovers of killed runs lie about, when the target's
// name is as long as the system allows, and when the disk refuses the bytes.
#include "platform/pending_file.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "conversion/conversion_run.h"
#include "dxf/template_drawing.h"
#include "platform/platform.h"
#include "test_support.h"

#ifdef _WIN32
#include <process.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <thread>

extern char** environ;
#endif

namespace korvex {
namespace {

using test::DxfBuilder;
using test::KorvexTest;
using test::ReadFileBytes;
using test::WriteFileBytes;

long ThisProcess() {
#ifdef _WIN32
  return static_cast<long>(_getpid());
#else
  return static_cast<long>(getpid());
#endif
}

class PendingFileTest : public KorvexTest {
 protected:
  bool AnyPendingFile() const {
    for (const std::string& name : ScratchNames()) {
      if (name.rfind(".korvex-", 0) == 0) return true;
    }
    return false;
  }

  // A drawing whose one shape passes the warning: converting it asks whether to stop
  // while the output is being written.
  static std::string DrawingNearTheByteLimit(int lines = 700) {
    DxfBuilder drawing;
    drawing.Markers();
    for (int i = 0; i < lines; ++i) {
      const int x = 135 + (i % 2) * 10;
      drawing.Line(x, 1880, 280 - x, 1880);
    }
    return drawing.Build();
  }
};

TEST_F(PendingFileTest, EachPendingFileIsNewAndItsOwn) {
  const std::filesystem::path target = Scratch("out.shp");
  std::filesystem::path first, second;
  std::error_code error;
  std::FILE* a = platform::OpenPendingFile(target, first, error);
  std::FILE* b = platform::OpenPendingFile(target, second, error);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(first.parent_path(), target.parent_path());
  std::fputs("first", a);
  std::fputs("second", b);
  ASSERT_TRUE(platform::CommitPendingFile(b, second, target, error)) << error.message();
  ASSERT_TRUE(platform::CommitPendingFile(a, first, target, error)) << error.message();
  EXPECT_EQ(ReadFileBytes(target), "first");
  EXPECT_EQ(ScratchNames(), std::set<std::string>{"out.shp"});
}

// Leftovers of killed runs, under the names of earlier versions and under ours, neither
// block a conversion nor are touched by it.
TEST_F(PendingFileTest, LeftoversOfOtherRunsNeverBlockARun) {
  std::set<std::string> leftovers;
  for (int i = 0; i < 100; ++i) leftovers.insert("o.shp.korvex-" + std::to_string(i) + ".tmp");
  leftovers.insert(".korvex-" + std::to_string(ThisProcess()) + "-0.tmp");
  for (const std::string& name : leftovers) WriteFileBytes(Scratch(name), "left over");
  const std::filesystem::path input =
      Drawing(DxfBuilder().Markers().Line(135, 1760, 215, 1760).Build());
  EXPECT_EQ(ConvertDrawing(input, Scratch("o.shp")), Outcome::kDone);
  std::set<std::string> expected = leftovers;
  expected.insert({"in.dxf", "o.shp"});
  EXPECT_EQ(ScratchNames(), expected);
}

#ifndef _WIN32
// The temporary name does not grow with the target's: a name as long as the system allows
// (255 bytes here) is written like any other.
TEST_F(PendingFileTest, TheLongestLegalTargetNameIsWritten) {
  const std::filesystem::path input =
      Drawing(DxfBuilder().Markers().Line(135, 1760, 215, 1760).Build());
  const std::string longName = std::string(251, 'n') + ".shp";
  EXPECT_EQ(ConvertDrawing(input, Scratch(longName)), Outcome::kDone);
  EXPECT_FALSE(ReadFileBytes(Scratch(longName)).empty());
  EXPECT_FALSE(AnyPendingFile());
}
#endif

TEST_F(PendingFileTest, TemplateCopyNeverReplacesUnlessAllowed) {
  const std::filesystem::path target = Scratch("mine.dxf");
  WriteFileBytes(target, "my drawing");
  std::error_code error;
  EXPECT_FALSE(platform::CopyFileByPath(TemplateDrawingPath(), target, false, error));
  EXPECT_EQ(error, std::errc::file_exists);
  EXPECT_EQ(ReadFileBytes(target), "my drawing");
  EXPECT_TRUE(platform::CopyFileByPath(TemplateDrawingPath(), target, true, error));
  EXPECT_EQ(ReadFileBytes(target), ReadFileBytes(TemplateDrawingPath()));
  EXPECT_EQ(ScratchNames(), std::set<std::string>{"mine.dxf"});
}

#ifndef _WIN32

// Files may grow to `bytes` only while this lives, and a write past that fails with EFBIG
// instead of ending the process: a full disk, made on purpose.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }

 private:
  rlimit saved_ = {};
  void (*previous_)(int) = nullptr;
};

int OpenDescriptors() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    ++count;
  }
  return count;
}

TEST_F(PendingFileTest, AFailedWriteLeavesNoFileAndNoHandle) {
  const std::filesystem::path input = Drawing(DrawingNearTheByteLimit(500));
  const std::filesystem::path target = Scratch("out.shp");
  WriteFileBytes(target, "precious");
  const int descriptors = OpenDescriptors();
  {
    const FileSizeLimit limit(1024);
    EXPECT_EQ(ConvertDrawing(input, target), Outcome::kRefused);
  }
  EXPECT_EQ(OpenDescriptors(), descriptors);
  EXPECT_EQ(ReadFileBytes(target), "precious");
  EXPECT_EQ(ScratchNames(), (std::set<std::string>{"in.dxf", "out.shp"}));
  EXPECT_EQ(frontend_.MessageText(0),
            "Error writing SHP file " + target.string() + "\nFile too large");
}

TEST_F(PendingFileTest, ATemplateCopyThatFailsLeavesTheOldDrawing) {
  const std::filesystem::path target = Scratch("mine.dxf");
  WriteFileBytes(target, "my drawing");
  std::error_code error;
  {
    const FileSizeLimit limit(4096);
    EXPECT_FALSE(platform::CopyFileByPath(TemplateDrawingPath(), target, true, error));
  }
  EXPECT_EQ(error, std::errc::file_too_large);
  EXPECT_EQ(ReadFileBytes(target), "my drawing");
  EXPECT_EQ(ScratchNames(), std::set<std::string>{"mine.dxf"});
}

// korvex-cli started with its arguments; standard input and error on the given descriptor
// (a terminal, for a run that asks), or on /dev/null.
pid_t StartCli(const std::vector<std::string>& arguments, const char* terminal = nullptr) {
  std::vector<std::string> texts = {(test::BinFolder() / test::kCliFileName).string()};
  texts.insert(texts.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& text : texts) argv.push_back(text.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const char* in = terminal != nullptr ? terminal : "/dev/null";
  posix_spawn_file_actions_addopen(&actions, 0, in, O_RDWR, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, 0, 2);
  pid_t child = -1;
  if (posix_spawn(&child, texts[0].c_str(), &actions, nullptr, argv.data(), environ) != 0) {
    child = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  return child;
}

// Interrupted while it asks whether to stop, with the output half written, the run ends as
// the signal ends it and leaves neither a temporary file nor a changed target.
TEST_F(PendingFileTest, InterruptedRunsLeaveNothingBehind) {
  const std::filesystem::path input = Drawing(DrawingNearTheByteLimit());
  const std::filesystem::path target = Scratch("out.shp");
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(strsignal(signalNumber));
    WriteFileBytes(target, "precious");
    const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(grantpt(terminal), 0);
    ASSERT_EQ(unlockpt(terminal), 0);
    const pid_t child =
        StartCli({"convert", input.string(), "-o", target.string()}, ptsname(terminal));
    ASSERT_GT(child, 0);
    // The question waits for an answer; the pending file exists from before it.
    bool asked = false;
    for (int i = 0; i < 1000 && !asked; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      asked = AnyPendingFile();
    }
    EXPECT_TRUE(asked);
    kill(child, signalNumber);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    close(terminal);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber) << status;
    EXPECT_EQ(ReadFileBytes(target), "precious");
    EXPECT_EQ(ScratchNames(), (std::set<std::string>{"in.dxf", "out.shp"}));
  }
}

// Twenty runs convert twenty drawings to one target at once: each writes its whole output
// and says so, and the target is always one of those outputs, whole.
TEST_F(PendingFileTest, ConcurrentRunsToOneTargetEachCommitWhole) {
  constexpr int kRuns = 20;
  std::set<std::string> outputs;
  std::vector<std::filesystem::path> inputs;
  for (int run = 0; run < kRuns; ++run) {
    DxfBuilder drawing;
    drawing.Markers();
    for (int i = 0; i <= run * 10; ++i) drawing.Line(135, 1760 + i % 50, 215, 1760 + i % 50);
    inputs.push_back(Drawing(drawing.Build(), "in" + std::to_string(run) + ".dxf"));
    ASSERT_EQ(ConvertDrawing(inputs.back(), Scratch("alone.shp")), Outcome::kDone);
    outputs.insert(ReadFileBytes(Scratch("alone.shp")));
  }
  std::filesystem::remove(Scratch("alone.shp"));
  ASSERT_EQ(outputs.size(), static_cast<std::size_t>(kRuns));

  const std::filesystem::path target = Scratch("shared.shp");
  std::vector<pid_t> children;
  for (const std::filesystem::path& input : inputs) {
    children.push_back(StartCli({"convert", input.string(), "-o", target.string()}));
  }
  for (const pid_t child : children) {
    ASSERT_GT(child, 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  EXPECT_EQ(outputs.count(ReadFileBytes(target)), 1u);
  EXPECT_FALSE(AnyPendingFile());
}

#endif  // !_WIN32

}  // namespace
}  // namespace korvex
