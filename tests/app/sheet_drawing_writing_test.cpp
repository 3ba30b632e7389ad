// The "Write Sheet Drawing" command: its two dialogs, the drawing it writes (which converts
// back to the shapes it was drawn from), and what the user sees when a step fails.
#include "app/sheet_drawing_writing.h"

#include <gtest/gtest.h>

#include "app/dialog_paths.h"
#include "conversion/conversion_run.h"
#include "shell_fakes.h"
#include "test_support.h"

namespace korvex::shell {
namespace {

using korvex::test::ScriptedFileChooser;

class SheetDrawingWritingTest : public korvex::test::KorvexTest {
 protected:
  // The example drawing's shapes, as Korvex writes them.
  std::string WriteExampleShapes() {
    const auto shapes = Scratch("shapes.shp");
    EXPECT_EQ(ConvertDrawing(test::SourceFolder() / "examples" / "shapes.dxf", shapes),
              Outcome::kDone);
    frontend_.messages.clear();
    return platform::PathText(shapes);
  }

  ScriptedFileChooser chooser_;
  SheetDrawingWriting writing_{chooser_};
};

TEST_F(SheetDrawingWritingTest, TheShownFileIsProposedAndItsSheetConvertsBackToItsShapes) {
  const std::string shapes = WriteExampleShapes();
  const std::string folder = FolderWithSeparator(shapes);
  // The user keeps the proposed shape file and types a name without its extension.
  chooser_.answers = {shapes, folder + "edit"};
  const auto written = writing_.WriteSheetDrawing(shapes, "/elsewhere/");
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(*written, folder + "edit.dxf");

  ASSERT_EQ(chooser_.requests.size(), 2u);
  EXPECT_EQ(chooser_.requests[0].kind, FileDialogKind::kOpen);
  EXPECT_EQ(chooser_.requests[0].filterPattern, "*.shp;*.shx");
  EXPECT_EQ(chooser_.requests[0].startFolder, folder);
  EXPECT_EQ(chooser_.requests[0].fileName, shapes);
  EXPECT_EQ(chooser_.requests[1].kind, FileDialogKind::kSave);
  EXPECT_EQ(chooser_.requests[1].filterPattern, "*.dxf");
  EXPECT_EQ(chooser_.requests[1].fileName, folder + "shapes.dxf");

  ASSERT_EQ(frontend_.messages.size(), 1u);
  EXPECT_EQ(frontend_.MessageFlags(0), platform::kMessageInformation);
  EXPECT_EQ(frontend_.MessageText(0).rfind("Sheet drawing written to " + *written + "\n", 0), 0u)
      << frontend_.MessageText(0);

  // Drawn back and converted again, Korvex's own shapes come back byte for byte.
  ASSERT_EQ(ConvertDrawing(platform::PathFromUtf8(*written), Scratch("again.shp")), Outcome::kDone);
  EXPECT_EQ(test::ReadFileBytes(Scratch("again.shp")), test::ReadFileBytes(Scratch("shapes.shp")));
}

TEST_F(SheetDrawingWritingTest, WithNothingShownTheOpenDialogStartsWhereTheUserLastWas) {
  chooser_.answers = {std::nullopt};
  EXPECT_FALSE(writing_.WriteSheetDrawing("", "/home/ann/").has_value());
  ASSERT_EQ(chooser_.requests.size(), 1u);
  EXPECT_EQ(chooser_.requests[0].startFolder, "/home/ann/");
  EXPECT_EQ(chooser_.requests[0].fileName, "");
  EXPECT_TRUE(frontend_.messages.empty());
}

TEST_F(SheetDrawingWritingTest, ACancelledSaveWritesNothing) {
  const std::string shapes = WriteExampleShapes();
  chooser_.answers = {shapes, std::nullopt};
  EXPECT_FALSE(writing_.WriteSheetDrawing(shapes, "").has_value());
  EXPECT_EQ(chooser_.requests.size(), 2u);
  EXPECT_EQ(ScratchNames(), (std::set<std::string>{"shapes.shp"}));
  EXPECT_TRUE(frontend_.messages.empty());
}

TEST_F(SheetDrawingWritingTest, AFileThatIsNoShapeFileIsReportedAndNothingIsWritten) {
  test::WriteFileBytes(Scratch("notes.shp"), "this is no shape file\n");
  const std::string notes = platform::PathText(Scratch("notes.shp"));
  chooser_.answers = {notes, platform::PathText(Scratch("notes.dxf"))};
  EXPECT_FALSE(writing_.WriteSheetDrawing("", "").has_value());
  EXPECT_FALSE(frontend_.messages.empty());
  for (const auto& message : frontend_.messages) {
    EXPECT_EQ(message.text.find("Sheet drawing written"), std::string::npos) << message.text;
  }
  EXPECT_EQ(ScratchNames(), (std::set<std::string>{"notes.shp"}));
}

}  // namespace
}  // namespace korvex::shell
