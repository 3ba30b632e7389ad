#include "conversion/conversion_run.h"

#include <gtest/gtest.h>

#include <string>

#include "sheet/entity_table.h"
#include "test_support.h"

namespace korvex {
namespace {

using test::DxfBuilder;
using test::KorvexTest;
using test::ReadFileBytes;
using test::WriteFileBytes;

class ConversionRunTest : public KorvexTest {
 protected:
  std::size_t FilesInScratch() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(scratch_),
                                                  std::filesystem::directory_iterator()));
  }
};

const std::string kTextDrawing = DxfBuilder()
                                     .Markers()
                                     .Text(20, 1900, 10, "Hi")
                                     .Text(10, 1980, 5, "greeting")
                                     .Point(15, 1890)
                                     .Line(260, 1890, 280, 1890)
                                     .Build();
const std::string kLineDrawing = DxfBuilder().Markers().Line(135, 1760, 215, 1760).Build();

TEST_F(ConversionRunTest, EachRunGivesWhatItsDrawingGivesAlone) {
  const std::string textAlone = Convert(kTextDrawing);
  ASSERT_FALSE(textAlone.empty());
  ResetConversionTables();
  const std::string lineAlone = Convert(kLineDrawing);
  // Runs in one process: nothing of the drawing before carries over.
  EXPECT_EQ(Convert(kTextDrawing), textAlone);
  EXPECT_EQ(Convert(kLineDrawing), lineAlone);
  EXPECT_EQ(Convert(kTextDrawing), textAlone);
}

TEST_F(ConversionRunTest, RefusedDrawingLeavesAnExistingOutputAlone) {
  const std::filesystem::path output = Scratch("out.shp");
  WriteFileBytes(output, "precious");
  const std::filesystem::path input = Drawing(DxfBuilder().Line(135, 1760, 215, 1760).Build());
  EXPECT_NE(ConvertDrawing(input, output), Outcome::kDone);
  EXPECT_EQ(ReadFileBytes(output), "precious");
  ASSERT_EQ(frontend_.messages.size(), 2u);
  EXPECT_EQ(frontend_.MessageText(0).rfind("Invalid input DXF file\n", 0), 0u);
  EXPECT_EQ(frontend_.MessageText(1), "Error processing dxf file " + input.string());
  EXPECT_EQ(frontend_.MessageFlags(1), platform::kMessageOk);
  EXPECT_EQ(FilesInScratch(), 2u);
}

TEST_F(ConversionRunTest, OutputsThatCannotBeWrittenAreRefusedWithoutHarm) {
  const std::filesystem::path input = Drawing(kLineDrawing);
  struct Case {
    std::filesystem::path target;
    std::string reason;
  } cases[] = {
      {Scratch("no-such-folder") / "out.shp", "No such file or directory"},
      {scratch_, "It is a folder, not a file."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target.string());
    frontend_.messages.clear();
    EXPECT_EQ(ConvertDrawing(input, c.target), Outcome::kRefused);
    ASSERT_EQ(frontend_.messages.size(), 1u);
    EXPECT_EQ(frontend_.MessageText(0),
              "Error creating SHP file " + c.target.string() + "\n" + c.reason);
  }
  EXPECT_EQ(FilesInScratch(), 1u);
  EXPECT_EQ(ReadFileBytes(input), kLineDrawing);
}

TEST_F(ConversionRunTest, InputIsNeverItsOwnOutput) {
  const std::filesystem::path input = Drawing(kLineDrawing);
  EXPECT_NE(ConvertDrawing(input, input), Outcome::kDone);
  EXPECT_EQ(ReadFileBytes(input), kLineDrawing);
  EXPECT_EQ(frontend_.MessageText(frontend_.messages.size() - 1),
            "Cannot write the SHP file over its own drawing " + input.string());
}

TEST_F(ConversionRunTest, ReadOnlyOutputIsLeftAsItWas) {
  if (test::ReadOnlyFilesAreWritable(scratch_)) {
    GTEST_SKIP() << "this user may write read-only files (root, or Wine run by root)";
  }
  const std::filesystem::path output = Scratch("out.shp");
  WriteFileBytes(output, "precious");
  std::filesystem::permissions(output, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  EXPECT_NE(ConvertDrawing(Drawing(kLineDrawing), output), Outcome::kDone);
  EXPECT_EQ(ReadFileBytes(output), "precious");
  std::filesystem::permissions(output, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
}

TEST_F(ConversionRunTest, ExistingOutputIsReplacedWhole) {
  const std::filesystem::path output = Scratch("out.shp");
  WriteFileBytes(output, std::string(5000, 'x'));
  ASSERT_EQ(ConvertDrawing(Drawing(kLineDrawing), output), Outcome::kDone);
  EXPECT_EQ(ReadFileBytes(output), "*18,11,SHAPE18\r\n3,100,2,8,(10,10),1,8,(80,0),0\r\n\x1a");
  EXPECT_EQ(FilesInScratch(), 2u);
}

TEST_F(ConversionRunTest, RunStoppedPartWayLeavesNoPartialFile) {
  // Shape 1 is written, then shape 2 passes the byte limit and the run stops.
  DxfBuilder drawing;
  drawing.Markers().Line(10, 1880, 90, 1880);
  for (int i = 0; i < 700; ++i) {
    const int x = 135 + (i % 2) * 10;
    drawing.Line(x, 1880, 280 - x, 1880);
  }
  const std::filesystem::path input = Drawing(drawing.Build());
  const std::filesystem::path output = Scratch("out.shp");
  WriteFileBytes(output, "precious");
  EXPECT_EQ(ConvertDrawing(input, output), Outcome::kStopped);
  EXPECT_EQ(ReadFileBytes(output), "precious");
  EXPECT_EQ(FilesInScratch(), 2u);
}

}  // namespace
}  // namespace korvex
