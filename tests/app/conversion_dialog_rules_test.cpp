// The conversion dialog without its window: the paths it holds, the file dialogs it asks
// for, the last-file setting it keeps, and the messages it answers with.
#include "app/conversion_dialog_rules.h"

#include <gtest/gtest.h>

#include "app/dialog_paths.h"
#include "conversion/conversion_run.h"
#include "shell_fakes.h"
#include "test_support.h"

namespace korvex::shell {
namespace {

using korvex::test::MemorySettingsStore;
using korvex::test::RecordingConverter;
using korvex::test::ScriptedFileChooser;

constexpr const char* kNoInput = "Please enter input Shapes dxf file first";
constexpr const char* kNoOutput =
    "You must specify both the Input DXF file\nand the Output SHP file";
constexpr const char* kGenerated =
    "Shape File Generated!\nCompile the generated shp file in AutoCAD\n"
    "to create the shx file for your shapes.\nThen load the shx file to use your shapes!";
constexpr const char* kNotGenerated = "Shape File Not Generated";

class ConversionDialogRulesTest : public korvex::test::KorvexTest {
 protected:
  // Opens the dialog with the given last file remembered from an earlier run.
  void OpenWith(const std::string& lastFile) {
    if (!lastFile.empty()) store_.entries[kLastFileEntry] = lastFile;
    lastFile_.Load(store_);
    rules_.Open();
  }
  // Chooses an input, then accepts the output the save dialog proposes.
  void ChooseInputAndProposedOutput(const std::string& input) {
    chooser_.answers.push_back(input);
    chooser_.answers.push_back(DefaultOutputName(input));
    rules_.BrowseInput();
    rules_.BrowseOutput();
  }
  static std::string ShippedExample() {
    return platform::PathText(korvex::test::SourceFolder() / "examples" / "shapes.dxf");
  }
  // Opens the dialog with the real converter, chooses the shipped example and the output,
  // and presses Generate; returns the output path the dialog took.
  std::string GenerateShippedExample(ConversionRunConverter& converter, const std::string& output) {
    ConversionDialogRules rules(lastFile_, chooser_, converter);
    lastFile_.Load(store_);
    rules.Open();
    chooser_.answers = {ShippedExample(), output};
    rules.BrowseInput();
    rules.BrowseOutput();
    rules.Generate();
    return rules.OutputPath();
  }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& message : frontend_.messages) texts.push_back(message.text);
    return texts;
  }

  MemorySettingsStore store_;
  LastFileSetting lastFile_;
  ScriptedFileChooser chooser_;
  RecordingConverter converter_;
  ConversionDialogRules rules_{lastFile_, chooser_, converter_};
};

TEST_F(ConversionDialogRulesTest, FirstRunOpensBlankAndRefusesTheOutputBrowse) {
  OpenWith("");
  EXPECT_EQ(rules_.InputPath(), "");
  EXPECT_EQ(rules_.OutputPath(), "");

  rules_.BrowseOutput();
  EXPECT_TRUE(chooser_.requests.empty()) << "no save dialog without an input";
  ASSERT_EQ(frontend_.messages.size(), 1u);
  EXPECT_EQ(frontend_.MessageText(0), kNoInput);
  EXPECT_EQ(frontend_.MessageFlags(0), platform::kMessageOk);
}

TEST_F(ConversionDialogRulesTest, RememberedInputButNoOutputAtOpening) {
  OpenWith("C:\\work\\shapes.dxf");
  EXPECT_EQ(rules_.InputPath(), "C:\\work\\shapes.dxf");
  EXPECT_EQ(rules_.OutputPath(), "");
  EXPECT_EQ(rules_.OutputFolder(), "");

  rules_.Generate();
  EXPECT_TRUE(converter_.calls.empty());
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{kNoOutput});
  EXPECT_EQ(frontend_.MessageFlags(0), platform::kMessageOk);
}

TEST_F(ConversionDialogRulesTest, InputDialogStartsAtTheLastFile) {
  OpenWith("C:\\work\\shapes.dxf");
  rules_.BrowseInput();
  const FileDialogRequest expected{FileDialogKind::kOpen,
                                   "Select DXF file to Convert to AutoCAD SHP files",
                                   "Shapes DXF files (*.dxf)",
                                   "*.dxf",
                                   "dxf",
                                   "C:\\work\\",
                                   "C:\\work\\shapes.dxf",
                                   "",
                                   ""};
  EXPECT_EQ(chooser_.requests, std::vector<FileDialogRequest>{expected});
}

TEST_F(ConversionDialogRulesTest, ChosenInputIsRememberedAtOnce) {
  OpenWith("");
  chooser_.answers = {"C:\\work\\shapes.dxf"};
  rules_.BrowseInput();
  EXPECT_EQ(chooser_.requests.at(0).startFolder, "") << "without a last file the platform chooses";
  EXPECT_EQ(rules_.InputPath(), "C:\\work\\shapes.dxf");
  EXPECT_EQ(store_.entries[kLastFileEntry], "C:\\work\\shapes.dxf");
  EXPECT_EQ(store_.writes, 1);
  EXPECT_TRUE(frontend_.messages.empty());
}

TEST_F(ConversionDialogRulesTest, ProposedOutputLiesBesideTheInput) {
  OpenWith("");
  ChooseInputAndProposedOutput("C:\\work\\shapes.dxf");
  ASSERT_EQ(chooser_.requests.size(), 2u);
  EXPECT_EQ(chooser_.requests[1],
            (FileDialogRequest{FileDialogKind::kSave, "Save To shp", "Shape SHP files (*.shp)",
                               "*.shp", "shp", "C:\\work\\", "C:\\work\\shapes.shp",
                               "Compiled shape SHX files (*.shx)", "*.shx"}));
  EXPECT_EQ(rules_.OutputFolder(), "C:\\work\\");
  EXPECT_EQ(rules_.OutputPath(), "C:\\work\\shapes.shp");
}

TEST_F(ConversionDialogRulesTest, TypedOutputNamesEndInShp) {
  const struct {
    const char* typed;
    const char* output;
  } cases[] = {
      {"C:\\work\\result", "C:\\work\\result.shp"},
      {"C:\\work\\result.txt", "C:\\work\\result.txt.shp"},
      {"C:\\work\\RESULT.SHP", "C:\\work\\RESULT.SHP"},
      {"C:\\my.files\\out", "C:\\my.files\\out.shp"},
  };
  OpenWith("C:\\work\\shapes.dxf");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    chooser_.answers.push_back(std::string(c.typed));
    rules_.BrowseOutput();
    EXPECT_EQ(rules_.OutputPath(), c.output);
  }
}

TEST_F(ConversionDialogRulesTest, AnotherInputClearsTheOutput) {
  OpenWith("");
  // Compared exactly: a name that differs only in case is another input.
  for (const char* other : {"C:\\work\\other.dxf", "C:\\work\\SHAPES.dxf"}) {
    SCOPED_TRACE(other);
    ChooseInputAndProposedOutput("C:\\work\\shapes.dxf");
    ASSERT_EQ(rules_.OutputPath(), "C:\\work\\shapes.shp");
    chooser_.answers.push_back(std::string(other));
    rules_.BrowseInput();
    EXPECT_EQ(rules_.InputPath(), other);
    EXPECT_EQ(rules_.OutputPath(), "");
    EXPECT_EQ(store_.entries[kLastFileEntry], other);
  }
}

TEST_F(ConversionDialogRulesTest, SameInputAgainOrCancelKeepsTheOutput) {
  OpenWith("");
  ChooseInputAndProposedOutput("C:\\work\\shapes.dxf");
  const int writes = store_.writes;

  chooser_.answers.push_back(std::string("C:\\work\\shapes.dxf"));
  rules_.BrowseInput();
  EXPECT_EQ(rules_.OutputPath(), "C:\\work\\shapes.shp");

  chooser_.answers.push_back(std::nullopt);
  rules_.BrowseInput();
  EXPECT_EQ(rules_.InputPath(), "C:\\work\\shapes.dxf");
  EXPECT_EQ(rules_.OutputPath(), "C:\\work\\shapes.shp");
  EXPECT_EQ(store_.writes, writes) << "an unchanged input is not written again";
}

TEST_F(ConversionDialogRulesTest, CancelledSaveKeepsTheEarlierOutput) {
  OpenWith("C:\\work\\shapes.dxf");
  chooser_.answers = {std::nullopt};
  rules_.BrowseOutput();
  EXPECT_EQ(rules_.OutputPath(), "") << "the proposal is not adopted by a cancel";

  chooser_.answers.push_back(std::string("C:\\work\\mine.shp"));
  rules_.BrowseOutput();
  chooser_.answers.push_back(std::nullopt);
  rules_.BrowseOutput();
  EXPECT_EQ(rules_.OutputPath(), "C:\\work\\mine.shp");
  EXPECT_TRUE(frontend_.messages.empty()) << "a cancel is no error";
}

TEST_F(ConversionDialogRulesTest, GenerateConvertsAndStaysReady) {
  OpenWith("");
  ChooseInputAndProposedOutput("C:\\work\\shapes.dxf");
  rules_.Generate();
  rules_.Generate();

  ASSERT_EQ(converter_.calls.size(), 2u);
  EXPECT_EQ(converter_.calls[0].input, "C:\\work\\shapes.dxf");
  EXPECT_EQ(converter_.calls[0].output, "C:\\work\\shapes.shp");
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{kGenerated, kGenerated}));
  EXPECT_EQ(frontend_.MessageFlags(0), platform::kMessageOk);
  EXPECT_EQ(rules_.InputPath(), "C:\\work\\shapes.dxf");
  EXPECT_EQ(rules_.OutputPath(), "C:\\work\\shapes.shp");
}

TEST_F(ConversionDialogRulesTest, FailedConversionSaysNotGenerated) {
  OpenWith("");
  ChooseInputAndProposedOutput("C:\\work\\shapes.dxf");
  converter_.result = Outcome::kRefused;
  rules_.Generate();
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{kNotGenerated});
  EXPECT_EQ(frontend_.MessageFlags(0), platform::kMessageOk);
}

TEST_F(ConversionDialogRulesTest, EachOpeningStartsFromTheRememberedInput) {
  OpenWith("");
  ChooseInputAndProposedOutput("C:\\work\\shapes.dxf");

  ScriptedFileChooser nextChooser;
  ConversionDialogRules nextOpening(lastFile_, nextChooser, converter_);
  nextOpening.Open();
  EXPECT_EQ(nextOpening.InputPath(), "C:\\work\\shapes.dxf");
  EXPECT_EQ(nextOpening.OutputPath(), "") << "the output is never remembered";

  // The next run of the program reads the stored setting.
  LastFileSetting nextRun;
  nextRun.Load(store_);
  EXPECT_EQ(nextRun.Value(), "C:\\work\\shapes.dxf");
}

// Choosing a .shx output writes the compiled file CAD programs load, and the converter
// hands it to the main window, which shows it as it shows a .shp.
TEST_F(ConversionDialogRulesTest, ACompiledOutputIsWrittenCompiled) {
  ConversionRunConverter realConverter;
  const std::string output = platform::PathText(Scratch("shapes.shx"));
  EXPECT_EQ(GenerateShippedExample(realConverter, output), output);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{kGenerated});
  EXPECT_EQ(korvex::test::ReadFileBytes(Scratch("shapes.shx")).substr(0, 21),
            "AutoCAD-86 shapes 1.0");
  EXPECT_EQ(realConverter.LastWritten(), output);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch_),
                          std::filesystem::directory_iterator()),
            1);  // no .shp and no temporary file beside it
}

TEST_F(ConversionDialogRulesTest, ShippedExampleConvertsEndToEnd) {
  ConversionRunConverter realConverter;
  const std::string input = ShippedExample();
  const std::string output = platform::PathText(Scratch("shapes"));
  EXPECT_EQ(GenerateShippedExample(realConverter, output), output + ".shp");

  EXPECT_EQ(MessageTexts(), std::vector<std::string>{kGenerated});
  const std::string written = korvex::test::ReadFileBytes(Scratch("shapes.shp"));
  ASSERT_FALSE(written.empty());
  EXPECT_EQ(written.back(), '\x1A');
  // The same bytes as the conversion library writes when called directly.
  ASSERT_EQ(ConvertDrawing(platform::PathFromUtf8(input), Scratch("direct.shp")), Outcome::kDone);
  EXPECT_EQ(written, korvex::test::ReadFileBytes(Scratch("direct.shp")));
}

TEST_F(ConversionDialogRulesTest, RemovedInputIsReportedByTheRunThenNotGenerated) {
  ConversionRunConverter realConverter;
  ConversionDialogRules rules(lastFile_, chooser_, realConverter);
  OpenWith(platform::PathText(Scratch("removed.dxf")));
  rules.Open();
  chooser_.answers = {platform::PathText(Scratch("out.shp"))};
  rules.BrowseOutput();
  rules.Generate();

  // The run's own messages come first, then the dialog's summary.
  ASSERT_GE(frontend_.messages.size(), 2u);
  EXPECT_NE(frontend_.MessageText(0), kNotGenerated);
  EXPECT_EQ(frontend_.MessageText(frontend_.messages.size() - 1), kNotGenerated);
  EXPECT_FALSE(std::filesystem::exists(Scratch("out.shp")));
}

TEST_F(ConversionDialogRulesTest, ExitProgramEndsWithStatusZero) {
  OpenWith("C:\\work\\shapes.dxf");
  try {
    rules_.ExitProgram();
    ADD_FAILURE() << "Exit Program returned";
  } catch (const platform::ProcessEnded& ended) {
    EXPECT_EQ(ended.status, 0);
  }
}

// A conversion stopped at a limit ends the program, as its message said it would, and no
// summary follows.
TEST_F(ConversionDialogRulesTest, AStoppedConversionEndsTheProgram) {
  OpenWith("");
  ChooseInputAndProposedOutput("C:\\work\\shapes.dxf");
  converter_.result = Outcome::kStopped;
  try {
    rules_.Generate();
    ADD_FAILURE() << "Generate returned after a stop";
  } catch (const platform::ProcessEnded& ended) {
    EXPECT_EQ(ended.status, platform::kExitStopped);
  }
  EXPECT_TRUE(frontend_.messages.empty());
}

}  // namespace
}  // namespace korvex::shell
