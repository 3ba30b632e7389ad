// korvex-cli as scripts use it: its exit statuses, its output and what it leaves on disk.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "cli/cli_options.h"
#include "test_support.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace korvex {
namespace {

using testing::DxfBuilder;
using testing::KorvexTest;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

class CliTest : public KorvexTest {
 protected:
  // Runs korvex-cli with the arguments (already quoted as the shell needs), standard input
  // closed; returns its exit status and keeps what it printed.
  int Run(const std::string& arguments) {
    const std::string command = "'" + (testing::BinFolder() / "korvex-cli").string() + "' " +
                                arguments + " >'" + Scratch("stdout.txt").string() + "' 2>'" +
                                Scratch("stderr.txt").string() + "' </dev/null";
    const int status = std::system(command.c_str());
    out_ = ReadFileBytes(Scratch("stdout.txt"));
    err_ = ReadFileBytes(Scratch("stderr.txt"));
    std::filesystem::remove(Scratch("stdout.txt"));
    std::filesystem::remove(Scratch("stderr.txt"));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Quoted(const std::filesystem::path& path) const { return "'" + path.string() + "'"; }

  // One shape of connected strokes whose bytes pass the warning level but stay under the
  // stop level: the warning is asked several times.
  std::filesystem::path NearLimitDrawing() {
    DxfBuilder drawing;
    drawing.Markers();
    for (int i = 0; i < 620; ++i) {
      const int x = (i % 2) * 10;
      drawing.Line(x, 0, 10 - x, 0);
    }
    return Drawing(drawing.Build(), "near.dxf");
  }

  std::string out_;
  std::string err_;
};

TEST_F(CliTest, HelpVersionAndUsageErrors) {
  EXPECT_EQ(Run("--help"), 0);
  EXPECT_NE(out_.find("korvex-cli convert DRAWING.dxf [-o OUT.shp]"), std::string::npos);
  EXPECT_EQ(Run("--version"), 0);
  EXPECT_EQ(out_, "korvex-cli 1.0.0.1\n");
  EXPECT_EQ(Run(""), cli::kExitUsage);
  EXPECT_NE(err_.find("Usage:"), std::string::npos);
  EXPECT_EQ(Run("convert"), cli::kExitUsage);
  EXPECT_EQ(Run("convert a.dxf --bogus"), cli::kExitUsage);
  EXPECT_EQ(Run("frobnicate"), cli::kExitUsage);
}

TEST_F(CliTest, ConvertWritesBesideTheDrawingByDefault) {
  const std::filesystem::path input =
      Drawing(DxfBuilder().Markers().Line(135, 1760, 215, 1760).Build(), "arrows.dxf");
  EXPECT_EQ(Run("convert " + Quoted(input)), cli::kExitWritten);
  EXPECT_EQ(ReadFileBytes(Scratch("arrows.shp")),
            "*18,11,SHAPE18\r\n3,100,2,8,(10,10),1,8,(80,0),0\r\n\x1a");
  EXPECT_NE(out_.find(Scratch("arrows.shp").string()), std::string::npos);
  EXPECT_EQ(Run("convert " + Quoted(input) + " -o " + Quoted(Scratch("other.shp"))), 0);
  EXPECT_TRUE(std::filesystem::exists(Scratch("other.shp")));
}

TEST_F(CliTest, RefusedDrawingExitsOneWithItsMessagesOnStderr) {
  const std::filesystem::path input = Drawing(DxfBuilder().Markers().Build(), "empty.dxf");
  EXPECT_EQ(Run("convert " + Quoted(input)), cli::kExitNotWritten);
  EXPECT_NE(err_.find("Korvex: No valid drawing entities found\n"), std::string::npos);
  EXPECT_NE(err_.find("Korvex: Error processing dxf file "), std::string::npos);
  EXPECT_TRUE(out_.empty());
  EXPECT_FALSE(std::filesystem::exists(Scratch("empty.shp")));
  EXPECT_EQ(Run("convert " + Quoted(Scratch("missing.dxf"))), cli::kExitNotWritten);
  EXPECT_NE(err_.find("Error opening DXF file"), std::string::npos);
}

TEST_F(CliTest, WarningsAreAnsweredNoUnlessAskedToStop) {
  const std::filesystem::path input = NearLimitDrawing();
  EXPECT_EQ(Run("convert " + Quoted(input)), cli::kExitWritten);
  EXPECT_NE(err_.find("approaching limit of 2000 bytes"), std::string::npos);
  EXPECT_NE(err_.find("answered No"), std::string::npos);
  std::filesystem::remove(Scratch("near.shp"));
  EXPECT_EQ(Run("convert " + Quoted(input) + " --stop-at-warning"), platform::kExitStopped);
  EXPECT_NE(err_.find("answered Yes"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Scratch("near.shp")));
}

TEST_F(CliTest, TemplateCopiesTheSupportDrawingAndKeepsExistingFiles) {
  const std::string templateBytes = ReadFileBytes(testing::BinFolder() / "Support" /
                                                  "ShapesTemplate.dxf");
  ASSERT_FALSE(templateBytes.empty());
  const std::filesystem::path target = Scratch("new.dxf");
  EXPECT_EQ(Run("template " + Quoted(target)), cli::kExitWritten);
  EXPECT_EQ(ReadFileBytes(target), templateBytes);
  WriteFileBytes(target, "my shapes");
  EXPECT_EQ(Run("template " + Quoted(target)), cli::kExitNotWritten);
  EXPECT_NE(err_.find("--force"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(target), "my shapes");
  EXPECT_EQ(Run("template " + Quoted(target) + " --force"), cli::kExitWritten);
  EXPECT_EQ(ReadFileBytes(target), templateBytes);
}

TEST(CliOptionsTest, ParsesTheCommandLine) {
  cli::CliOptions options = cli::ParseCliOptions({"convert", "dir/a.b/drawing.txt"});
  EXPECT_TRUE(options.error.empty());
  EXPECT_EQ(options.output, std::filesystem::path("dir/a.b/drawing.shp"));
  options = cli::ParseCliOptions({"convert", "dir.x/drawing"});
  EXPECT_EQ(options.output, std::filesystem::path("dir.x/drawing.shp"));
  options = cli::ParseCliOptions({"convert", "a.dxf", "-o"});
  EXPECT_FALSE(options.error.empty());
  options = cli::ParseCliOptions({"template", "a.dxf", "b.dxf"});
  EXPECT_FALSE(options.error.empty());
  options = cli::ParseCliOptions({"template", "a.dxf", "--stop-at-warning"});
  EXPECT_FALSE(options.error.empty());
  options = cli::ParseCliOptions({"convert", "a.dxf", "--help"});
  EXPECT_EQ(options.command, cli::Command::kHelp);
}

}  // namespace
}  // namespace korvex
