// The "Open Shape File" command: its open dialog, and what the user sees when the chosen
// file can't be shown.
#include "app/shape_file_opening.h"

#include <gtest/gtest.h>

#include "shell_fakes.h"
#include "test_support.h"

namespace korvex::shell {
namespace {

using korvex::test::ScriptedFileChooser;

class RecordingViewer final : public ShapeFileViewer {
 public:
  bool ShowShapeFile(const std::string& path, std::string& why) override {
    shown.push_back(path);
    why = reason;
    return reason.empty();
  }
  std::vector<std::string> shown;
  std::string reason;  // empty: the file is shown
};

class ShapeFileOpeningTest : public korvex::test::KorvexTest {
 protected:
  ScriptedFileChooser chooser_;
  RecordingViewer viewer_;
  ShapeFileOpening opening_{chooser_, viewer_};
};

TEST_F(ShapeFileOpeningTest, AsksForEitherFormAndShowsTheChosenFile) {
  chooser_.answers = {std::string("/home/ann/compiled.shx")};
  EXPECT_TRUE(opening_.OpenShapeFile("/home/ann/"));
  ASSERT_EQ(chooser_.requests.size(), 1u);
  EXPECT_EQ(chooser_.requests[0], (FileDialogRequest{FileDialogKind::kOpen, "Open Shape File",
                                                     "Shape files (*.shp, *.shx)", "*.shp;*.shx",
                                                     "shp", "/home/ann/", "", "", ""}));
  EXPECT_EQ(viewer_.shown, std::vector<std::string>{"/home/ann/compiled.shx"});
  EXPECT_TRUE(frontend_.messages.empty());
}

TEST_F(ShapeFileOpeningTest, ACancelDoesNothing) {
  EXPECT_FALSE(opening_.OpenShapeFile(""));
  EXPECT_TRUE(viewer_.shown.empty());
  EXPECT_TRUE(frontend_.messages.empty());
}

TEST_F(ShapeFileOpeningTest, AFileThatCantBeShownIsReportedWithItsReason) {
  chooser_.answers = {std::string("/home/ann/cut.shx")};
  viewer_.reason = "/home/ann/cut.shx: the compiled file is cut short";
  EXPECT_FALSE(opening_.OpenShapeFile(""));
  ASSERT_EQ(frontend_.messages.size(), 1u);
  EXPECT_EQ(frontend_.MessageText(0),
            "Cannot show the shape file\n/home/ann/cut.shx: the compiled file is cut short");
  EXPECT_EQ(frontend_.MessageFlags(0), platform::kMessageOk);
}

}  // namespace
}  // namespace korvex::shell
