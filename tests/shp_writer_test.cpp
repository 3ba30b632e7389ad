#include "shape_output/shp_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "conversion/conversion_run.h"
#include "shape_files/shape_interpreter.h"
#include "sheet/entity_table.h"
#include "test_support.h"

namespace korvex {
namespace {

using test::DxfBuilder;
using test::KorvexTest;

class ShpWriterTest : public KorvexTest {
 protected:
  std::string OneShape(DxfBuilder drawing) { return Convert(drawing.Markers().Build()); }
};

TEST_F(ShpWriterTest, WorkedExampleByteForByte) {
  EXPECT_EQ(OneShape(DxfBuilder().Line(135, 1760, 215, 1760)),
            std::string("*18,11,SHAPE18\r\n3,100,2,8,(10,10),1,8,(80,0),0\r\n\x1a"));
}

TEST_F(ShpWriterTest, ShapesComeInAscendingNumberWhateverTheDrawingsOrder) {
  const std::string shp = OneShape(DxfBuilder()
                                       .Line(125 * 7 + 10, 1635, 125 * 7 + 90, 1635)  // cell 40
                                       .Line(260, 1890, 280, 1890));                  // cell 3
  EXPECT_EQ(shp,
            "*3,11,SHAPE3\r\n3,100,2,8,(10,15),1,8,(20,0),0\r\n"
            "*40,11,SHAPE40\r\n3,100,2,8,(10,10),1,8,(80,0),0\r\n\x1a");
}

TEST_F(ShpWriterTest, BodyLinesAreCutAfterACommaFromThe62ndCharacterOn) {
  // Ten connected strokes of shape 241 give a text long enough to need cutting.
  DxfBuilder drawing;
  for (int i = 0; i < 30; ++i)
    drawing.Line(10 + i, 10 + (i % 2) * 50, 11 + i, 10 + ((i + 1) % 2) * 50);
  const std::string shp = OneShape(drawing);
  std::size_t start = shp.find("\r\n") + 2;
  std::string body;
  while (start < shp.size() - 1) {
    const std::size_t end = shp.find("\r\n", start);
    ASSERT_NE(end, std::string::npos);
    const std::string line = shp.substr(start, end - start);
    EXPECT_LE(line.size(), 62u + 9u) << line;
    if (end + 3 < shp.size()) {
      EXPECT_EQ(line.back(), ',') << line;
      EXPECT_GE(line.size(), 62u) << line;
      // The cut comes at the first comma from the 62nd character on.
      EXPECT_EQ(line.find(',', 61), line.size() - 1) << line;
    }
    body += line;
    start = end + 2;
  }
  EXPECT_EQ(body.find(",,"), std::string::npos);
  EXPECT_EQ(body.substr(body.size() - 2), ",0");
  EXPECT_EQ(shp.back(), '\x1a');
}

TEST_F(ShpWriterTest, CutsMatchTheWorkedExample) {
  // The worked example of shape 18, written straight from the tables.
  ResetConversionTables();
  auto add = [](int kind, int x1, int y1, int x2, int y2) -> DrawingEntityRecord& {
    DrawingEntityRecord& record = StartRecord(0, kKindLine, 0, 0);
    record = DrawingEntityRecord{};
    record.shapeNumber = 18;
    record.kind = static_cast<std::uint8_t>(kind);
    record.startX = static_cast<std::int16_t>(x1);
    record.startY = static_cast<std::int16_t>(y1);
    record.endX = static_cast<std::int16_t>(x2);
    record.endY = static_cast<std::int16_t>(y2);
    AdmitRecord(18);
    return record;
  };
  add(kKindLine, 135, 1760, 215, 1760);
  DrawingEntityRecord& circle = add(kKindCircle, 195, 1800, 0, 0);
  circle.radius = 20;
  DrawingEntityRecord& arc = add(kKindArc, 205, 1800, 175, 1830);
  arc.centreX = 175;
  arc.centreY = 1800;
  arc.radius = 30;
  arc.endAngle = 90;
  const std::filesystem::path path = Scratch("tables.shp");
  std::FILE* output = platform::OpenFile(path, "wb");
  ASSERT_EQ(WriteShapes(output), Outcome::kDone);
  std::fclose(output);
  EXPECT_EQ(test::ReadFileBytes(path),
            "*18,31,SHAPE18\r\n"
            "3,100,2,8,(10,10),1,8,(80,0),2,8,(-20,40),1,11,(0,0,0,20,000),\r\n"
            "2,8,(10,0),1,12,(-30,30,53),0\r\n\x1a");
}

TEST_F(ShpWriterTest, DrawingsWithTextNeedTheGlyphFileBesideTheProgram) {
  const std::filesystem::path output = Scratch("out.shp");
  test::WriteFileBytes(output, "precious");
  // The current folder holds a glyph file; the program's folder does not.
  std::filesystem::copy_file(test::BinFolder() / kGlyphFileName, Scratch(kGlyphFileName));
  const std::filesystem::path previousFolder = std::filesystem::current_path();
  std::filesystem::current_path(scratch_);
  frontend_.executableFolder = Scratch("empty");
  const std::filesystem::path input =
      Drawing(DxfBuilder().Markers().Text(20, 1900, 10, "A").Build());
  EXPECT_EQ(ConvertDrawing(input, output), Outcome::kStopped);
  EXPECT_EQ(frontend_.MessageText(0),
            "SHPTXT.SHP file not found\nTry Reinstalling KorvexExiting program!");
  EXPECT_EQ(frontend_.messages.size(), 1u);
  std::filesystem::current_path(previousFolder);
  EXPECT_EQ(test::ReadFileBytes(output), "precious");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch_),
                          std::filesystem::directory_iterator()),
            3);  // the drawing, the untouched output and the glyph file: no leftovers
}

TEST_F(ShpWriterTest, DrawingsWithoutTextConvertWithoutTheGlyphFile) {
  frontend_.executableFolder = Scratch("empty");
  EXPECT_FALSE(OneShape(DxfBuilder().Line(135, 1760, 215, 1760)).empty());
}

TEST_F(ShpWriterTest, UnknownProgramFolderIsReported) {
  frontend_.executableFolder.clear();
  EXPECT_TRUE(OneShape(DxfBuilder().Text(20, 1900, 10, "A")).empty());
  ASSERT_GE(frontend_.messages.size(), 1u);
  EXPECT_EQ(frontend_.MessageText(0), "Cannot locate KORVEX support file!\nReinstall Software.");
  EXPECT_FALSE(std::filesystem::exists(Scratch("out.shp")));
}

}  // namespace
}  // namespace korvex
