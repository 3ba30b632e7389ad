// The conversion dialog without its window: the paths it holds, typed or chosen, the file
// dialogs it asks for, the last-file setting it keeps, the messages it answers with (one
// box per outcome, the conversion's reasons in it), where the focus goes, and what it tells
// the main window's sheet.
#include "app/conversion_dialog_rules.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>
#include <system_error>

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

// The success message names the file written.
std::string Generated(const std::string& output) {
  return std::string(kGenerated) + "\n\nWritten to " + output;
}

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
  ConversionDialogRules rules_{lastFile_, chooser_, converter_, "/home/ann"};
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
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{Generated("C:\\work\\shapes.shp"),
                                                      Generated("C:\\work\\shapes.shp")}));
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
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{Generated(output)});
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

  EXPECT_EQ(MessageTexts(), std::vector<std::string>{Generated(output + ".shp")});
  const std::string written = korvex::test::ReadFileBytes(Scratch("shapes.shp"));
  ASSERT_FALSE(written.empty());
  EXPECT_EQ(written.back(), '\x1A');
  // The same bytes as the conversion library writes when called directly.
  ASSERT_EQ(ConvertDrawing(platform::PathFromUtf8(input), Scratch("direct.shp")), Outcome::kDone);
  EXPECT_EQ(written, korvex::test::ReadFileBytes(Scratch("direct.shp")));
}

// The run's own messages give the reason; the summary comes first, in the one box the
// failure shows.
TEST_F(ConversionDialogRulesTest, RemovedInputIsReportedInOneBoxWithItsReason) {
  ConversionRunConverter realConverter;
  ConversionDialogRules rules(lastFile_, chooser_, realConverter);
  const std::string removed = platform::PathText(Scratch("removed.dxf"));
  OpenWith(removed);
  rules.Open();
  chooser_.answers = {platform::PathText(Scratch("out.shp"))};
  rules.BrowseOutput();
  rules.Generate();

  EXPECT_EQ(MessageTexts(),
            std::vector<std::string>{std::string(kNotGenerated) + "\n\nError opening DXF file " +
                                     removed + "\n" + std::generic_category().message(ENOENT) +
                                     "\n\nError processing dxf file " + removed});
  EXPECT_EQ(frontend_.MessageFlags(0), platform::kMessageOk);
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

// A typed input is taken when the focus leaves its box: a name alone lies in the folder of
// the last file, and a new input is remembered and clears the output, as a chosen one does.
TEST_F(ConversionDialogRulesTest, TypedInputIsTakenWhenTheFocusLeavesItsBox) {
  OpenWith("/home/ann/drawings/shapes.dxf");
  chooser_.answers = {std::string("/home/ann/drawings/shapes.shp")};
  rules_.BrowseOutput();

  rules_.TypeInput("other.dxf");
  EXPECT_EQ(rules_.InputText(), "other.dxf");
  EXPECT_EQ(rules_.InputPath(), "/home/ann/drawings/shapes.dxf") << "not taken while typing";
  EXPECT_TRUE(rules_.CommitInput());
  EXPECT_EQ(rules_.InputPath(), "/home/ann/drawings/other.dxf");
  EXPECT_EQ(rules_.InputText(), "/home/ann/drawings/other.dxf");
  EXPECT_EQ(store_.entries[kLastFileEntry], "/home/ann/drawings/other.dxf");
  EXPECT_EQ(rules_.OutputPath(), "");
  EXPECT_FALSE(rules_.CommitInput()) << "nothing typed since";

  // The same path typed again keeps the output.
  chooser_.answers.push_back(std::string("/home/ann/drawings/other.shp"));
  rules_.BrowseOutput();
  const int writes = store_.writes;
  rules_.TypeInput("/home/ann/drawings/other.dxf");
  EXPECT_FALSE(rules_.CommitInput());
  EXPECT_EQ(rules_.OutputPath(), "/home/ann/drawings/other.shp");
  EXPECT_EQ(store_.writes, writes);
}

TEST_F(ConversionDialogRulesTest, AnEmptiedInputBoxIsNoChoice) {
  OpenWith("/home/ann/shapes.dxf");
  chooser_.answers = {std::string("/home/ann/shapes.shp")};
  rules_.BrowseOutput();
  rules_.TypeInput("  ");
  rules_.Generate();
  EXPECT_TRUE(converter_.calls.empty());
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{kNoInput});
  EXPECT_EQ(rules_.Focus(), DialogControl::kInputBox);
  EXPECT_EQ(store_.entries[kLastFileEntry], "/home/ann/shapes.dxf") << "not forgotten";
}

// What is typed is what is converted: the output ends in .shp or .shx as a chosen one does
// and lies beside the input when it names no folder.
TEST_F(ConversionDialogRulesTest, TypedPathsAreWhatIsConverted) {
  const struct {
    const char* input;
    const char* output;
    const char* converted;
  } cases[] = {
      {"/home/ann/shapes.dxf", "/home/ann/out/result.shp", "/home/ann/out/result.shp"},
      {"/home/ann/shapes.dxf", "result", "/home/ann/result.shp"},
      {"/home/ann/shapes.dxf", "result.txt", "/home/ann/result.txt.shp"},
      {"/home/ann/shapes.dxf", "~/compiled.SHX", "/home/ann/compiled.SHX"},
      {" \"/home/ann/my shapes.dxf\" ", "file:///home/ann/my%20shapes.shp",
       "/home/ann/my shapes.shp"},
  };
  OpenWith("");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.output);
    converter_.calls.clear();
    rules_.TypeInput(c.input);
    rules_.TypeOutput(c.output);
    rules_.Generate();
    ASSERT_EQ(converter_.calls.size(), 1u);
    EXPECT_EQ(converter_.calls[0].input, TypedPath(c.input, "", ""));
    EXPECT_EQ(converter_.calls[0].output, c.converted);
    EXPECT_EQ(rules_.OutputText(), c.converted) << "the box shows what was written";
  }
}

// The save dialog asks before an existing file is replaced; a typed name is asked about
// once, when Generate would first write over it.
TEST_F(ConversionDialogRulesTest, TypedOutputReplacesAFileOnlyWhenTheUserAgrees) {
  const std::string existing = platform::PathText(Scratch("old.shp"));
  korvex::test::WriteFileBytes(Scratch("old.shp"), "old");
  OpenWith("/home/ann/shapes.dxf");
  rules_.TypeOutput(existing);
  frontend_.answers = {platform::kAnswerNo, platform::kAnswerYes};

  rules_.Generate();
  EXPECT_TRUE(converter_.calls.empty()) << "declined";
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{ReplaceQuestion(existing)});
  EXPECT_EQ(frontend_.MessageFlags(0), platform::kMessageYesNoWarning);
  EXPECT_EQ(rules_.Focus(), DialogControl::kOutputBox);

  rules_.Generate();
  EXPECT_EQ(converter_.calls.size(), 1u) << "agreed";
  rules_.Generate();
  EXPECT_EQ(converter_.calls.size(), 2u);
  EXPECT_EQ(frontend_.messages.size(), 4u) << "asked twice, then two conversions: " << existing;

  // A name chosen in the save dialog was asked about there.
  frontend_.messages.clear();
  chooser_.answers = {existing};
  rules_.BrowseOutput();
  rules_.Generate();
  EXPECT_EQ(converter_.calls.size(), 3u);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{Generated(existing)});
}

// A typed path gets the same checks as a chosen one: the conversion run says what is
// wrong with the input or the output, under the dialog's summary.
TEST_F(ConversionDialogRulesTest, TypedPathsGetTheChecksOfChosenOnes) {
  ConversionRunConverter realConverter;
  ConversionDialogRules rules(lastFile_, chooser_, realConverter);
  OpenWith("");
  rules.Open();

  const std::string missing = platform::PathText(Scratch("missing.dxf"));
  rules.TypeInput(missing);
  rules.TypeOutput(platform::PathText(Scratch("out.shp")));
  rules.Generate();
  ASSERT_EQ(frontend_.messages.size(), 1u);
  EXPECT_EQ(frontend_.MessageText(0).rfind(
                std::string(kNotGenerated) + "\n\nError opening DXF file " + missing + "\n", 0),
            0u)
      << frontend_.MessageText(0);

  frontend_.messages.clear();
  const std::string unwritable = platform::PathText(Scratch("no-such-folder") / "out.shp");
  rules.TypeInput(ShippedExample());
  rules.TypeOutput(unwritable);
  rules.Generate();
  ASSERT_EQ(frontend_.messages.size(), 1u);
  const std::string heading =
      std::string(kNotGenerated) + "\n\nError creating SHP file " + unwritable + "\n";
  EXPECT_EQ(frontend_.MessageText(0).rfind(heading, 0), 0u) << frontend_.MessageText(0);
  EXPECT_GT(frontend_.MessageText(0).size(), heading.size()) << "with the system's reason";
  EXPECT_EQ(ScratchNames(), std::set<std::string>{}) << "nothing written";
}

// The focus goes where the user acts next: on to the next box, or to Generate, once a
// Browse has filled its box; back to the box a refusal was about; else it stays.
TEST_F(ConversionDialogRulesTest, FocusGoesWhereTheUserActsNext) {
  OpenWith("");
  EXPECT_EQ(rules_.Focus(), DialogControl::kInputBox) << "at opening";
  rules_.BrowseOutput();
  EXPECT_EQ(rules_.Focus(), DialogControl::kInputBox) << "no input yet";
  rules_.Generate();
  EXPECT_EQ(rules_.Focus(), DialogControl::kInputBox) << "neither path yet";

  const struct {
    void (ConversionDialogRules::*action)();
    std::optional<std::string> answer;
    DialogControl focus;
  } steps[] = {
      {&ConversionDialogRules::BrowseInput, std::nullopt, DialogControl::kBrowseInput},
      {&ConversionDialogRules::BrowseInput, "/home/ann/shapes.dxf", DialogControl::kOutputBox},
      {&ConversionDialogRules::Generate, std::nullopt, DialogControl::kOutputBox},
      {&ConversionDialogRules::BrowseOutput, std::nullopt, DialogControl::kBrowseOutput},
      {&ConversionDialogRules::BrowseOutput, "/home/ann/shapes.shp", DialogControl::kGenerate},
      {&ConversionDialogRules::Generate, std::nullopt, DialogControl::kGenerate},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.answer.value_or("cancel"));
    if (step.action != &ConversionDialogRules::Generate) chooser_.answers.push_back(step.answer);
    (rules_.*step.action)();
    EXPECT_EQ(rules_.Focus(), step.focus);
  }
  EXPECT_EQ(converter_.calls.size(), 1u);
}

// The main window's sheet follows every outcome while the dialog stays open.
TEST_F(ConversionDialogRulesTest, TheSheetFollowsEveryOutcome) {
  korvex::test::RecordingPreview preview;
  rules_.SetPreview(&preview);
  OpenWith("");
  ChooseInputAndProposedOutput("/home/ann/shapes.dxf");
  rules_.Generate();
  converter_.result = Outcome::kRefused;
  rules_.Generate();
  rules_.TypeOutput("");
  rules_.Generate();  // refused before converting: the sheet stays as it is
  EXPECT_EQ(preview.calls, (std::vector<std::string>{"written /home/ann/shapes.shp", "failed"}));
}

// The library shows a message where it finds a fault, and its caller adds its own: the
// user sees one box, the dialog's outcome first and the reasons under it.
TEST_F(ConversionDialogRulesTest, TheConversionsMessagesAreGatheredUnderTheOutcome) {
  OpenWith("");
  ChooseInputAndProposedOutput("/home/ann/shapes.dxf");
  converter_.result = Outcome::kRefused;
  converter_.messages = {
      {"Invalid input DXF file\nThis is not a DXF file.", platform::kMessageInformation},
      {"Error processing dxf file /home/ann/shapes.dxf", platform::kMessageOk}};
  rules_.Generate();
  EXPECT_EQ(MessageTexts(),
            std::vector<std::string>{"Shape File Not Generated\n\n"
                                     "Invalid input DXF file\nThis is not a DXF file.\n\n"
                                     "Error processing dxf file /home/ann/shapes.dxf"});
  EXPECT_EQ(frontend_.MessageFlags(0), platform::kMessageInformation) << "the reason's icon";

  // A written file with a remark: the remark follows the success.
  frontend_.messages.clear();
  converter_.result = Outcome::kDone;
  converter_.messages = {{"A remark", platform::kMessageOk}};
  rules_.Generate();
  EXPECT_EQ(MessageTexts(),
            std::vector<std::string>{Generated("/home/ann/shapes.shp") + "\n\nA remark"});
}

// A stop ends the program: its message is shown first, alone.
TEST_F(ConversionDialogRulesTest, AStopShowsItsMessageBeforeTheProgramEnds) {
  OpenWith("");
  ChooseInputAndProposedOutput("/home/ann/shapes.dxf");
  converter_.result = Outcome::kStopped;
  converter_.messages = {
      {"Maximum number of shape entities exceeded!\nExiting application!", platform::kMessageOk}};
  EXPECT_THROW(rules_.Generate(), platform::ProcessEnded);
  EXPECT_EQ(
      MessageTexts(),
      std::vector<std::string>{"Maximum number of shape entities exceeded!\nExiting application!"});
}

}  // namespace
}  // namespace korvex::shell
