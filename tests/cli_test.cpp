// korvex-cli as scripts use it: its exit statuses, its output and what it leaves on disk.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "test_support.h"

namespace korvex {
namespace {

using test::DxfBuilder;
using test::KorvexTest;
using test::ReadFileBytes;
using test::WriteFileBytes;

class CliTest : public KorvexTest {
 protected:
  // Runs korvex-cli with the arguments, standard input empty; returns its exit status and
  // keeps what it printed.
  int Run(const std::vector<std::filesystem::path>& arguments) {
    const test::ProgramRun run =
        test::RunProgram(test::BinFolder() / test::kCliFileName, arguments, Scratch("run"));
    out_ = run.out;
    err_ = run.err;
    return run.status;
  }

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

  // Scripts tell the tool's own lines on standard error by their prefix.
  static void ExpectEveryLinePrefixed(const std::string& err) {
    std::size_t start = 0;
    while (start < err.size()) {
      EXPECT_EQ(err.compare(start, 12, "korvex-cli: "), 0) << err.substr(start);
      start = err.find('\n', start);
      start = start == std::string::npos ? err.size() : start + 1;
    }
  }

  std::string out_;
  std::string err_;
};

TEST_F(CliTest, HelpVersionAndUsageErrors) {
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_NE(out_.find("korvex-cli convert DRAWING.dxf [-o OUT.shp|OUT.shx] [--shx]"),
            std::string::npos);
  EXPECT_NE(out_.find("korvex-cli compile SHAPES.shp [-o SHAPES.shx]"), std::string::npos);
  EXPECT_NE(out_.find("korvex-cli source SHAPES.shx [-o SHAPES.shp]"), std::string::npos);
  EXPECT_EQ(Run({"compile"}), cli::kExitUsage);
  EXPECT_EQ(Run({"source", "a.shx", "--shx"}), cli::kExitUsage);
  EXPECT_EQ(Run({"source", "a.shx", "-o"}), cli::kExitUsage);
  EXPECT_EQ(Run({"--version"}), 0);
  EXPECT_EQ(out_.rfind("korvex-cli 1.0.0.1\n", 0), 0u) << out_;
  // Then the libraries it was built with: this test is built with the same compiler.
#ifdef KORVEX_HAVE_PREVIEW
  EXPECT_TRUE(std::regex_search(out_, std::regex("\npreviews: cairo [0-9]+\\.[0-9]+\\.[0-9]+")))
      << out_;
#else
  EXPECT_NE(out_.find("\nno previews (built without cairo)\n"), std::string::npos) << out_;
#endif
#if defined(__GNUC__) && !defined(__clang__)
  EXPECT_NE(out_.find("\nbuilt with GCC " __VERSION__ ", libstdc++ "), std::string::npos) << out_;
#endif
#ifdef __MINGW64_VERSION_STR
  EXPECT_NE(out_.find("\nWindows runtime: mingw-w64 " __MINGW64_VERSION_STR "\n"),
            std::string::npos)
      << out_;
#endif
  EXPECT_EQ(Run({}), cli::kExitUsage);
  EXPECT_NE(err_.find("Usage:"), std::string::npos);
  EXPECT_EQ(Run({"convert"}), cli::kExitUsage);
  EXPECT_EQ(Run({"convert", "a.dxf", "--bogus"}), cli::kExitUsage);
  EXPECT_EQ(Run({"frobnicate"}), cli::kExitUsage);
}

// Each argument reaches the program whole and as UTF-8, whatever it holds: blanks, quotes,
// backslashes (the Windows command line escapes these) and letters beyond ASCII.
TEST_F(CliTest, ArgumentsArriveWholeAsUtf8) {
  const char8_t* const arguments[] = {
      u8"two words",
      u8"say \"yes\"",
      u8"back\\slash\\",
      u8"trailing\\\\",
      u8"\u0416\u0443\u043a \u5f62\u72b6 caf\u00e9",
      u8"",
  };
  for (const char8_t* argument : arguments) {
    const std::u8string text(argument);
    SCOPED_TRACE(std::string(text.begin(), text.end()));
    EXPECT_EQ(Run({std::filesystem::path(text)}), cli::kExitUsage);
    EXPECT_EQ(
        err_.rfind("korvex-cli: unknown command '" + std::string(text.begin(), text.end()) + "'\n",
                   0),
        0u)
        << err_;
  }
}

TEST_F(CliTest, ConvertWritesBesideTheDrawingByDefault) {
  const std::filesystem::path input =
      Drawing(DxfBuilder().Markers().Line(135, 1760, 215, 1760).Build(), "arrows.dxf");
  EXPECT_EQ(Run({"convert", input}), cli::kExitWritten);
  EXPECT_EQ(ReadFileBytes(Scratch("arrows.shp")),
            "*18,11,SHAPE18\r\n3,100,2,8,(10,10),1,8,(80,0),0\r\n\x1a");
  EXPECT_NE(out_.find(platform::PathText(Scratch("arrows.shp"))), std::string::npos);
  EXPECT_EQ(Run({"convert", input, "-o", Scratch("other.shp")}), 0);
  EXPECT_TRUE(std::filesystem::exists(Scratch("other.shp")));
}

TEST_F(CliTest, RefusedDrawingExitsOneWithItsMessagesOnStderr) {
  const std::filesystem::path input = Drawing(DxfBuilder().Markers().Build(), "empty.dxf");
  EXPECT_EQ(Run({"convert", input}), cli::kExitNotWritten);
  EXPECT_NE(err_.find("korvex-cli: No valid drawing entities found\n"), std::string::npos);
  EXPECT_NE(err_.find("korvex-cli: Error processing dxf file "), std::string::npos);
  EXPECT_TRUE(out_.empty());
  EXPECT_FALSE(std::filesystem::exists(Scratch("empty.shp")));
  EXPECT_EQ(Run({"convert", Scratch("missing.dxf")}), cli::kExitNotWritten);
  EXPECT_NE(err_.find("Error opening DXF file"), std::string::npos);
}

TEST_F(CliTest, WarningsAreAnsweredNoUnlessAskedToStop) {
  const std::filesystem::path input = NearLimitDrawing();
  EXPECT_EQ(Run({"convert", input}), cli::kExitWritten);
  EXPECT_NE(err_.find("approaching limit of 2000 bytes"), std::string::npos);
  EXPECT_NE(err_.find("answered No"), std::string::npos);
  std::filesystem::remove(Scratch("near.shp"));
  EXPECT_EQ(Run({"convert", input, "--stop-at-warning"}), platform::kExitStopped);
  EXPECT_NE(err_.find("answered Yes"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Scratch("near.shp")));
}

TEST_F(CliTest, TemplateCopiesTheSupportDrawingAndKeepsExistingFiles) {
  const std::string templateBytes =
      ReadFileBytes(test::BinFolder() / "Support" / "ShapesTemplate.dxf");
  ASSERT_FALSE(templateBytes.empty());
  const std::filesystem::path target = Scratch("new.dxf");
  EXPECT_EQ(Run({"template", target}), cli::kExitWritten);
  EXPECT_EQ(ReadFileBytes(target), templateBytes);
  WriteFileBytes(target, "my shapes");
  EXPECT_EQ(Run({"template", target}), cli::kExitNotWritten);
  EXPECT_NE(err_.find("--force"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(target), "my shapes");
  EXPECT_EQ(Run({"template", target, "--force"}), cli::kExitWritten);
  EXPECT_EQ(ReadFileBytes(target), templateBytes);
}

#ifndef _WIN32
// The template's message ends with the command that converts the new drawing: typed into
// a shell with the same search path, it must work. The program is named by its full path
// unless the search path finds this very program first.
TEST_F(CliTest, TemplateAdviceIsACommandTheShellRuns) {
  const std::string bin = platform::PathText(test::BinFolder());
  const std::string other = platform::PathText(Scratch("other-bin"));
  std::filesystem::create_directories(Scratch("other-bin"));
  WriteFileBytes(Scratch("other-bin") / "korvex-cli", "#!/bin/sh\nexit 9\n");
  std::filesystem::permissions(Scratch("other-bin") / "korvex-cli",
                               std::filesystem::perms::owner_all);
  const std::string full = platform::PathText(test::BinFolder() / test::kCliFileName);
  // The test's own search path comes back however the test ends.
  struct SearchPathKept {
    const char* saved = std::getenv("PATH");
    std::string value = saved != nullptr ? saved : "";
    ~SearchPathKept() { saved != nullptr ? setenv("PATH", value.c_str(), 1) : unsetenv("PATH"); }
  } kept;
  const struct {
    std::string searchPath;
    std::string program;  // how the advice names the program
  } cases[] = {
      {"/usr/bin:/bin", full},
      {bin + ":/usr/bin:/bin", "korvex-cli"},
      {other + ":" + bin + ":/usr/bin:/bin", full},  // the shell would start the other one
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.searchPath);
    setenv("PATH", c.searchPath.c_str(), 1);
    const std::filesystem::path target = Scratch("my 'first' shapes.dxf");
    std::filesystem::remove(target);
    EXPECT_EQ(Run({"template", target}), cli::kExitWritten);
    const std::string drawing = platform::PathText(target);
    EXPECT_EQ(out_.rfind("Empty Shapes DXF Created in " + drawing + "\n", 0), 0u) << out_;
    const std::size_t command = out_.find("\n  ");
    ASSERT_NE(command, std::string::npos) << out_;
    const std::string line = out_.substr(command + 3, out_.find('\n', command + 3) - command - 3);
    EXPECT_EQ(line.rfind(c.program + " convert ", 0), 0u) << line;

    WriteFileBytes(target, ReadFileBytes(test::SourceFolder() / "examples" / "shapes.dxf"));
    const test::ProgramRun shell = test::RunProgram("/bin/sh", {"-c", line}, Scratch("shell"));
    EXPECT_EQ(shell.status, 0) << line << "\n" << shell.err;
    EXPECT_TRUE(std::filesystem::exists(Scratch("my 'first' shapes.shp"))) << line;
    std::filesystem::remove(Scratch("my 'first' shapes.shp"));
  }
}

// The sheet and the font sheet end their message with the command to run next, as for a
// template: one the shell takes as it stands.
TEST_F(CliTest, SheetAndFontSheetAdviceAreCommandsTheShellRuns) {
  const auto adviceLine = [this] {
    const std::size_t command = out_.find("\n  ");
    return command == std::string::npos
               ? std::string()
               : out_.substr(command + 3, out_.find('\n', command + 3) - command - 3);
  };
  ASSERT_EQ(Run({"convert", test::SourceFolder() / "examples" / "shapes.dxf", "-o",
                 Scratch("shapes.shp")}),
            cli::kExitWritten);
  const std::filesystem::path sheet = Scratch("my 'edit' sheet.dxf");
  ASSERT_EQ(Run({"sheet", Scratch("shapes.shp"), "-o", sheet}), cli::kExitWritten);
  EXPECT_EQ(out_.find('\n'), out_.find(" shapes)\n") + 8) << "the file named on the first line";
  test::ProgramRun shell = test::RunProgram("/bin/sh", {"-c", adviceLine()}, Scratch("shell"));
  EXPECT_EQ(shell.status, 0) << adviceLine() << "\n" << shell.err;
  EXPECT_EQ(ReadFileBytes(Scratch("my 'edit' sheet.shp")), ReadFileBytes(Scratch("shapes.shp")));

  const std::filesystem::path font = Scratch("my 'font'.dxf");
  ASSERT_EQ(Run({"template", "--font", font}), cli::kExitWritten);
  EXPECT_EQ(out_.rfind("Empty font sheet created in " + platform::PathText(font) + "\n", 0), 0u)
      << out_;
  // Nothing is drawn in it yet, so the command is refused for that, not for its words.
  shell = test::RunProgram("/bin/sh", {"-c", adviceLine()}, Scratch("shell"));
  EXPECT_EQ(shell.status, cli::kExitNotWritten) << adviceLine() << "\n" << shell.err;
  EXPECT_NE(shell.err.find("Draw your shapes in the boxes first"), std::string::npos) << shell.err;
}
#endif

TEST_F(CliTest, PreviewDrawsASheetBesideTheShapeFileOrWhereAsked) {
#ifndef KORVEX_HAVE_PREVIEW
  GTEST_SKIP() << "korvex-cli was built without cairo: no previews";
#endif
  WriteFileBytes(Scratch("arrows.shp"), "*18,11,SHAPE18\r\n3,100,2,8,(10,10),1,8,(80,0),0\r\n\x1a");
  EXPECT_EQ(Run({"preview", Scratch("arrows.shp")}), cli::kExitWritten);
  EXPECT_EQ(ReadFileBytes(Scratch("arrows.png")).substr(1, 3), "PNG");
  EXPECT_NE(out_.find("Preview written: " + Scratch("arrows.png").string() + " (1 shapes)"),
            std::string::npos);
  EXPECT_EQ(Run({"preview", Scratch("arrows.shp"), "-o", Scratch("s.svg")}), cli::kExitWritten);
  EXPECT_NE(ReadFileBytes(Scratch("s.svg")).find("<svg"), std::string::npos);
  EXPECT_EQ(Run({"preview", Scratch("arrows.shp"), "-o", Scratch("s.gif")}), cli::kExitUsage);
  EXPECT_EQ(Run({"preview", Scratch("missing.shp")}), cli::kExitNotWritten);
  EXPECT_NE(err_.find("missing.shp: cannot be opened: No such file or directory"),
            std::string::npos);
}

TEST_F(CliTest, CheckListsProblemsCompilerStyle) {
  WriteFileBytes(Scratch("good.shp"), "*230,6,DBOX\n014,010,01C,018,012,0\n");
  EXPECT_EQ(Run({"check", Scratch("good.shp")}), cli::kExitWritten);
  EXPECT_EQ(out_, Scratch("good.shp").string() + ": no problems (1 shapes)\n");
  WriteFileBytes(Scratch("bad.shp"), "; hand-written\n*1,5,A\n010,\n7,9,0\n*2,1,B\n1Z\n");
  EXPECT_EQ(Run({"check", Scratch("bad.shp")}), cli::kExitNotWritten);
  const std::string name = Scratch("bad.shp").string();
  EXPECT_EQ(out_, name + ":6: not a number: '1Z'\n" + name +
                      ":2: shape 1 (A): the header counts 5 bytes, the body has 4\n" + name +
                      ":4: shape 1 (A): code 7 draws shape 9, which the file does not define\n"
                      "3 problems\n");
}

// What the compiler would never read or would refuse at the end of a shape: bytes after its
// final 0, and a file spliced from two outputs, whose second half follows the first's 0x1A.
TEST_F(CliTest, CheckReadsTheWholeFile) {
  struct Case {
    const char* text;
    const char* listed;
  } cases[] = {
      {"*1,3,A\n010,0,2\n", ":2: shape 1 (A): 1 bytes after the final 0\n"},
      {"*1,2,A\n010,0\n\x1a*2,2,B\n020,0\n\x1a",
       ":3: a shape definition after the end-of-file byte 0x1A: the compiler never reads it\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    WriteFileBytes(Scratch("odd.shp"), c.text);
    EXPECT_EQ(Run({"check", Scratch("odd.shp")}), cli::kExitNotWritten);
    EXPECT_EQ(out_, Scratch("odd.shp").string() + c.listed + "1 problem\n");
  }
#ifndef _WIN32
  // A pipe with no writer is refused at once.
  ASSERT_EQ(mkfifo(Scratch("pipe.shp").c_str(), 0600), 0);
  EXPECT_EQ(Run({"check", Scratch("pipe.shp")}), cli::kExitNotWritten);
  EXPECT_NE(err_.find("pipe.shp: cannot be opened: It is a device or a pipe, not a file."),
            std::string::npos)
      << err_;
#endif
}

// Without --explain one line says how many entities were left out; with it, one line
// each, compiler style. Neither changes the exit status or the file written.
TEST_F(CliTest, ExplainListsWhatWasLeftOut) {
  const std::filesystem::path input = Drawing(DxfBuilder()
                                                  .Markers()
                                                  .Line(135, 1760, 215, 1760)
                                                  .Line(150, 1780, 228, 1780)
                                                  .Group(0, "SOLID")
                                                  .Group(8, "0")
                                                  .Build(),
                                              "faults.dxf");
  EXPECT_EQ(Run({"convert", input}), cli::kExitWritten);
  const std::string plain = ReadFileBytes(Scratch("faults.shp"));
  EXPECT_NE(err_.find("korvex-cli: 2 entities of the drawing were left out of the shapes or "
                      "kept only in part; --explain lists them\n"),
            std::string::npos)
      << err_;
  EXPECT_EQ(Run({"convert", input, "--explain", "--stop-at-warning"}), cli::kExitWritten);
  EXPECT_EQ(ReadFileBytes(Scratch("faults.shp")), plain);
  const std::string name = input.string();
  EXPECT_EQ(out_, name +
                      ":60: cell 18: LINE (150,1780)-(228,1780): end point 3 units right of "
                      "the box; left out\n" +
                      name +
                      ":76: SOLID: Korvex does not read SOLID entities: draw it with "
                      "lines, arcs, circles or polylines; left out\n"
                      "Shape file written: " +
                      Scratch("faults.shp").string() + "\n");
  // A refused drawing says what it left out as well.
  EXPECT_EQ(Run({"convert", Drawing(DxfBuilder().Markers().Line(150, 1780, 228, 1780).Build()),
                 "--explain"}),
            cli::kExitNotWritten);
  EXPECT_NE(out_.find("in.dxf:44: cell 18: LINE"), std::string::npos) << out_;
}

TEST_F(CliTest, ConvertCanDrawThePreviewOfWhatItWrote) {
#ifndef KORVEX_HAVE_PREVIEW
  GTEST_SKIP() << "korvex-cli was built without cairo: no previews";
#endif
  const std::filesystem::path input =
      Drawing(DxfBuilder().Markers().Line(135, 1760, 215, 1760).Build(), "arrows.dxf");
  EXPECT_EQ(Run({"convert", input, "--preview", Scratch("sheet.png")}), cli::kExitWritten);
  EXPECT_TRUE(std::filesystem::exists(Scratch("arrows.shp")));
  EXPECT_EQ(ReadFileBytes(Scratch("sheet.png")).substr(1, 3), "PNG");
  EXPECT_EQ(Run({"convert", input, "--preview", Scratch("no-folder") / "sheet.png"}),
            cli::kExitNotWritten);
  EXPECT_NE(err_.find("preview not written"), std::string::npos);
}

TEST(CliOptionsTest, ParsesThePreviewAndCheckCommands) {
  cli::CliOptions options = cli::ParseCliOptions({"preview", "dir.x/shapes.shp"});
  EXPECT_TRUE(options.error.empty());
  EXPECT_EQ(options.command, cli::Command::kPreview);
  EXPECT_EQ(options.output, std::filesystem::path("dir.x/shapes.png"));
  options = cli::ParseCliOptions({"preview", "a.shp", "-o", "b.SVG"});
  EXPECT_EQ(options.output, std::filesystem::path("b.SVG"));
  EXPECT_TRUE(options.error.empty());
  options = cli::ParseCliOptions({"preview", "a.shp", "-o", "b.pdf"});
  EXPECT_FALSE(options.error.empty());
  options = cli::ParseCliOptions({"convert", "a.dxf", "--preview", "s.png"});
  EXPECT_EQ(options.preview, std::filesystem::path("s.png"));
  EXPECT_EQ(options.output, std::filesystem::path("a.shp"));
  options = cli::ParseCliOptions({"convert", "a.dxf", "--preview"});
  EXPECT_FALSE(options.error.empty());
  options = cli::ParseCliOptions({"convert", "a.dxf", "--preview", "s.bmp"});
  EXPECT_FALSE(options.error.empty());
  options = cli::ParseCliOptions({"check", "a.shp"});
  EXPECT_EQ(options.command, cli::Command::kCheck);
  EXPECT_EQ(options.input, std::filesystem::path("a.shp"));
  EXPECT_FALSE(cli::ParseCliOptions({"check"}).error.empty());
  EXPECT_FALSE(cli::ParseCliOptions({"check", "a.shp", "-o", "b.png"}).error.empty());
  EXPECT_FALSE(cli::ParseCliOptions({"template", "a.dxf", "--preview", "s.png"}).error.empty());
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

TEST(CliOptionsTest, ParsesTheSheetAndFontCommands) {
  cli::CliOptions options = cli::ParseCliOptions({"sheet", "dir/fonts.shx"});
  EXPECT_TRUE(options.error.empty());
  EXPECT_EQ(options.command, cli::Command::kSheet);
  EXPECT_EQ(options.output, std::filesystem::path("dir/fonts.dxf"));
  EXPECT_FALSE(options.force);
  options = cli::ParseCliOptions({"sheet", "a.shp", "-o", "b.dxf", "--force"});
  EXPECT_EQ(options.output, std::filesystem::path("b.dxf"));
  EXPECT_TRUE(options.force);
  options = cli::ParseCliOptions({"template", "f.dxf", "--font"});
  EXPECT_TRUE(options.error.empty());
  EXPECT_TRUE(options.font);
  options = cli::ParseCliOptions({"convert", "f.dxf", "--font", "My Font", "-o", "f.shx"});
  EXPECT_TRUE(options.error.empty());
  EXPECT_TRUE(options.font);
  EXPECT_EQ(options.fontName, "My Font");
  for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
           {"convert", "f.dxf", "--font"},
           {"sheet", "a.shp", "--font"},
           {"sheet", "a.shp", "--shx"},
           {"template", "f.dxf", "--font", "NAME"},
       }) {
    EXPECT_FALSE(cli::ParseCliOptions(wrong).error.empty()) << wrong.back();
  }
}

// A shape file drawn back on a sheet beside it, never over a drawing that is there, and
// converted again into the same file.
TEST_F(CliTest, SheetDrawsAShapeFileBackAndConvertTakesItBack) {
  const std::filesystem::path shapes = Scratch("shapes.shp");
  ASSERT_EQ(Run({"convert", test::SourceFolder() / "examples" / "shapes.dxf", "-o", shapes}),
            cli::kExitWritten);
  const std::filesystem::path sheet = Scratch("shapes.dxf");
  WriteFileBytes(sheet, "the drawing they came from");
  EXPECT_EQ(Run({"sheet", shapes}), cli::kExitNotWritten);
  EXPECT_NE(err_.find("--force"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(sheet), "the drawing they came from");
  EXPECT_EQ(Run({"sheet", shapes, "--force"}), cli::kExitWritten);
  EXPECT_NE(out_.find("Shape sheet drawing written: "), std::string::npos);
  EXPECT_NE(out_.find("(14 shapes)"), std::string::npos);
  EXPECT_EQ(Run({"convert", sheet, "-o", Scratch("back.shp")}), cli::kExitWritten);
  EXPECT_EQ(ReadFileBytes(Scratch("back.shp")), ReadFileBytes(shapes));
  EXPECT_EQ(Run({"sheet", Scratch("missing.shx"), "-o", Scratch("x.dxf")}), cli::kExitNotWritten);
  EXPECT_NE(err_.find("korvex-cli: Error reading shape file "), std::string::npos);
  EXPECT_NE(err_.find("No such file or directory"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Scratch("x.dxf")));
}

// A new font sheet, a glyph drawn on it, and the font it gives.
TEST_F(CliTest, TemplateFontAndConvertFontWriteATextFont) {
  const std::filesystem::path sheet = Scratch("font.dxf");
  EXPECT_EQ(Run({"template", sheet, "--font"}), cli::kExitWritten);
  EXPECT_NE(out_.find("convert --font"), std::string::npos);
  EXPECT_EQ(Run({"template", sheet, "--font"}), cli::kExitNotWritten);
  // An L in cell 76 (its box from (1375, 1375)), from the cap line down to the baseline and
  // along it.
  std::string text = ReadFileBytes(sheet);
  const std::size_t end = text.rfind("  0\r\nENDSEC\r\n");
  ASSERT_NE(end, std::string::npos);
  text.insert(end,
              "  0\r\nLINE\r\n  8\r\nSHAPES\r\n 10\r\n1385\r\n 20\r\n1460\r\n 11\r\n1385\r\n"
              " 21\r\n1400\r\n  0\r\nLINE\r\n  8\r\nSHAPES\r\n 10\r\n1385\r\n 20\r\n1400\r\n"
              " 11\r\n1415\r\n 21\r\n1400\r\n");
  WriteFileBytes(sheet, text);
  const std::filesystem::path font = Scratch("font.shp");
  EXPECT_EQ(Run({"convert", sheet, "--font", "Test Font", "-o", font}), cli::kExitWritten);
  EXPECT_EQ(ReadFileBytes(font),
            "*0,4,Test Font\r\n60,25,0,0\r\n*10,5,LF\r\n2,8,(0,-100),0\r\n"
            "*32,5,SPACE\r\n2,8,(36,0),0\r\n"
            "*76,16,SHAPE76\r\n2,8,(10,60),1,8,(0,-60),8,(30,0),2,8,(12,0),0\r\n\x1a");
  EXPECT_EQ(Run({"convert", sheet, "--font", "Bad;Name", "-o", Scratch("bad.shp")}),
            cli::kExitNotWritten);
  EXPECT_FALSE(std::filesystem::exists(Scratch("bad.shp")));
}

// Every problem the compiler refuses stops compile with check's message, and leaves the
// target as it was.
TEST_F(CliTest, CompileRefusesWhatTheCompilerRefusesWithCheckMessages) {
  std::string tooLong = "*1,2001,LONG\n";
  for (int line = 0; line < 50; ++line) {
    for (int i = 0; i < 40; ++i) tooLong += "1,";
    tooLong += "\n";
  }
  tooLong += "0\n";
  std::string tooMany;
  for (int n = 1; n <= 1025; ++n) tooMany += "*" + std::to_string(n) + ",2,A\n010,0\n";
  struct Case {
    std::string text;
    std::string listed;  // after "korvex-cli: FILE"
  };
  const Case cases[] = {
      {"*1,2,A\n1Z,0\n", ":2: not a number: '1Z'"},
      {"*1,2,A\n010,0 ;" + std::string(130, 'x') + "\n",
       ":2: line of 137 characters: the compiler takes at most 128"},
      {"*1,3,A\n010,0\n", ":1: shape 1 (A): the header counts 3 bytes, the body has 2"},
      {tooLong, ":1: shape 1 (LONG): 2001 bytes, more than the 2000 a shape may hold"},
      {"*1,4,A\n8,(200,0),0\n", ":2: shape 1 (A): displacement 200 out of range (-128 to 127)"},
      {"*1,2,A\n010,020\n", ":2: shape 1 (A): no final 0"},
      {"*1,4,A\n9,(1,1),0\n", ":2: shape 1 (A): the shape ends inside the bytes of code 9"},
      {"*1,3,A\n010,0,2\n", ":2: shape 1 (A): 1 bytes after the final 0"},
      {"*1,2,A\n15,0\n", ":2: shape 1 (A): unknown code 15"},
      {"*1,3,A\n7,9,0\n", ":2: shape 1 (A): code 7 draws shape 9, which the file does not define"},
      {"*1,2,A\n010,0\n*1,2,B\n010,0\n", ":3: shape 1 (B): number already used on line 1"},
      {"*1,7,A\n5,5,5,5,5,6,0\n",
       ":2: shape 1 (A): position stack overflow: more than 4 positions pushed"},
      {"*1,2,A\n6,0\n", ":2: shape 1 (A): position stack underflow: a pop with none pushed"},
      {"*1,2,A\n010,0\n\x1a*2,2,B\n010,0\n",
       ":3: a shape definition after the end-of-file byte 0x1A: the compiler never reads it"},
      {tooMany, ":2049: too many shapes: more than 1024 in the file, the rest is not read"},
      {"; nothing\n", ": no shape definitions"},
  };
  const std::filesystem::path shx = Scratch("out.shx");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.listed);
    WriteFileBytes(Scratch("in.shp"), c.text);
    WriteFileBytes(shx, "keep");
    EXPECT_EQ(Run({"compile", Scratch("in.shp"), "-o", shx}), cli::kExitNotWritten);
    EXPECT_NE(err_.find("korvex-cli: " + Scratch("in.shp").string() + c.listed + "\n"),
              std::string::npos)
        << err_;
    EXPECT_NE(err_.find("korvex-cli: " + shx.string() + " not written: the compiler refuses"),
              std::string::npos)
        << err_;
    EXPECT_EQ(ReadFileBytes(shx), "keep");
    ExpectEveryLinePrefixed(err_);
  }
}

TEST_F(CliTest, CompileAndSourceRefuseWhatTheyCannotTurn) {
  const std::filesystem::path shx = Scratch("a.shx");
  WriteFileBytes(Scratch("a.shp"), "*1,2,A\n010,0\n");
  EXPECT_EQ(Run({"compile", Scratch("a.shp")}), cli::kExitWritten);
  EXPECT_EQ(out_, "Compiled shape file written: " + shx.string() + " (1 shapes)\n");
  const std::string compiled = ReadFileBytes(shx);
  EXPECT_EQ(Run({"compile", shx, "-o", Scratch("b.shx")}), cli::kExitNotWritten);
  EXPECT_EQ(err_, "korvex-cli: " + shx.string() +
                      " is compiled already (AutoCAD-86 shapes 1.0): korvex-cli source turns it "
                      "back into source text\n");
  EXPECT_EQ(Run({"source", Scratch("a.shp"), "-o", Scratch("b.shp")}), cli::kExitNotWritten);
  EXPECT_EQ(err_, "korvex-cli: " + Scratch("a.shp").string() +
                      " is shape source text, not a compiled shape file (.shx)\n");
  EXPECT_EQ(Run({"source", shx, "-o", shx}), cli::kExitNotWritten);
  EXPECT_EQ(err_, "korvex-cli: will not write " + shx.string() +
                      " over its own input: name another with -o\n");
  EXPECT_EQ(ReadFileBytes(shx), compiled);
  WriteFileBytes(Scratch("cut.shx"), compiled.substr(0, compiled.size() - 1));
  EXPECT_EQ(Run({"source", Scratch("cut.shx")}), cli::kExitNotWritten);
  EXPECT_EQ(err_, "korvex-cli: " + Scratch("cut.shx").string() +
                      ": AutoCAD-86 shapes 1.0, at byte 38: no EOF after the last record (cut "
                      "short?)\n");
  EXPECT_FALSE(std::filesystem::exists(Scratch("cut.shp")));
  // A compiled file with no shapes gives no source file.
  WriteFileBytes(Scratch("empty.shx"),
                 std::string("AutoCAD-86 unifont 1.0\r\n\x1a", 25) + std::string(2, '\0'));
  EXPECT_EQ(Run({"source", Scratch("empty.shx")}), cli::kExitNotWritten);
  EXPECT_NE(err_.find("empty.shx holds no shapes: nothing to write\n"), std::string::npos) << err_;
  EXPECT_FALSE(std::filesystem::exists(Scratch("empty.shp")));
}

// Warnings are shown, but the file is compiled: the compiler takes it.
TEST_F(CliTest, CompileShowsWarningsAndWritesTheFile) {
  WriteFileBytes(Scratch("w.shp"), "*1,4,Arc\n10,(1,-18),0\n");
  EXPECT_EQ(Run({"compile", Scratch("w.shp")}), cli::kExitWritten);
  const std::string name = "korvex-cli: " + Scratch("w.shp").string();
  EXPECT_EQ(err_, name +
                      ":1: warning: shape 1 (Arc): the name has lower-case letters: CAD "
                      "programs never find it by name; write it in upper case\n" +
                      name +
                      ":2: warning: shape 1 (Arc): negative octant byte -18 in decimal is read "
                      "differently by different programs: write it as -012\n");
  EXPECT_TRUE(std::filesystem::exists(Scratch("w.shx")));
  EXPECT_EQ(Run({"check", Scratch("w.shp")}), cli::kExitWritten);
  EXPECT_NE(out_.find("0 problems, 2 warnings\n"), std::string::npos) << out_;
}

// The drawing's .shp, compiled and turned back, is the same file byte for byte; convert
// writes the compiled file alone or beside the .shp, and nothing else.
TEST_F(CliTest, ConvertCompileAndSourceGoRoundToTheSameBytes) {
  const std::filesystem::path drawing =
      Drawing(ReadFileBytes(test::SourceFolder() / "examples" / "shapes.dxf"), "shapes.dxf");
  ASSERT_EQ(Run({"convert", drawing}), cli::kExitWritten);
  const std::string shp = ReadFileBytes(Scratch("shapes.shp"));
  ASSERT_EQ(Run({"compile", Scratch("shapes.shp")}), cli::kExitWritten);
  const std::string shx = ReadFileBytes(Scratch("shapes.shx"));
  ASSERT_EQ(Run({"source", Scratch("shapes.shx"), "-o", Scratch("back.shp")}), cli::kExitWritten);
  EXPECT_EQ(out_, "Shape source written: " + Scratch("back.shp").string() +
                      " (14 shapes, from AutoCAD-86 shapes 1.0)\n");
  EXPECT_EQ(ReadFileBytes(Scratch("back.shp")), shp);
  EXPECT_EQ(Run({"check", Scratch("shapes.shx")}), cli::kExitWritten);
  EXPECT_EQ(out_,
            Scratch("shapes.shx").string() + ": no problems (14 shapes, AutoCAD-86 shapes 1.0)\n");

  std::filesystem::create_directory(Scratch("only"));
  EXPECT_EQ(Run({"convert", drawing, "-o", Scratch("only") / "s.SHX"}), cli::kExitWritten);
  EXPECT_EQ(ReadFileBytes(Scratch("only") / "s.SHX"), shx);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Scratch("only")),
                          std::filesystem::directory_iterator()),
            1);
  std::filesystem::create_directory(Scratch("both"));
  EXPECT_EQ(Run({"convert", drawing, "--shx", "-o", Scratch("both") / "s.shp"}), cli::kExitWritten);
  EXPECT_EQ(ReadFileBytes(Scratch("both") / "s.shp"), shp);
  EXPECT_EQ(ReadFileBytes(Scratch("both") / "s.shx"), shx);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Scratch("both")),
                          std::filesystem::directory_iterator()),
            2);
#ifdef KORVEX_HAVE_PREVIEW
  EXPECT_EQ(Run({"preview", Scratch("shapes.shx")}), cli::kExitWritten);
  EXPECT_EQ(ReadFileBytes(Scratch("shapes.png")).substr(1, 3), "PNG");
  // The reader's problems are shown, each line with the prefix, and the sheet drawn.
  WriteFileBytes(Scratch("odd.shp"), "*1,2,A\n1Z,0\n*2,2,B\n2Z,0\n");
  EXPECT_EQ(Run({"preview", Scratch("odd.shp")}), cli::kExitWritten);
  EXPECT_NE(err_.find(":4: not a number: '2Z'"), std::string::npos) << err_;
  ExpectEveryLinePrefixed(err_);
#endif
}

}  // namespace
}  // namespace korvex
