// Compiled and back: every shape source file of the test data, and the files conversions
// write, compiled and turned back into source give the same shapes (numbers, names, bytes).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "curve_drawing.h"
#include "platform/platform.h"
#include "shape_files/shp_check.h"
#include "shape_files/shp_text.h"
#include "shape_files/shx_file.h"
#include "sheet/cell_grid.h"
#include "test_support.h"

namespace korvex {
namespace {

using test::DxfBuilder;
using test::DxfStyle;

struct Shape {
  int number;
  std::string name;
  std::vector<int> bytes;
  bool operator==(const Shape&) const = default;
};

// The shapes of the tables in ascending number, as the compiled file orders them.
std::vector<Shape> ShapesOf(const ShapeSource& source) {
  std::vector<Shape> shapes;
  for (int s = 0; s < source.shapeCount; ++s) {
    const SourceShape& shape = source.shapes[s];
    const std::int16_t* bytes = source.BytesOf(shape);
    shapes.push_back({shape.number, shape.name, {bytes, bytes + shape.byteCount}});
  }
  std::sort(shapes.begin(), shapes.end(),
            [](const Shape& a, const Shape& b) { return a.number < b.number; });
  return shapes;
}

class ShxRoundTripTest : public test::KorvexTest {
 protected:
  void SetUp() override {
    KorvexTest::SetUp();
    source_ = std::make_unique<ShapeSource>();
  }

  // What the writer puts into a scratch file.
  std::string WrittenBy(bool (*write)(const ShapeSource&, std::FILE*)) {
    const std::filesystem::path path = Scratch("written");
    std::FILE* file = platform::OpenFile(path, "wb");
    EXPECT_NE(file, nullptr);
    EXPECT_TRUE(write(*source_, file));
    std::fclose(file);
    return test::ReadFileBytes(path);
  }

  // Compiles the clean source text, turns the result back into source and reads that.
  void ExpectRoundTrip(const std::string& text) {
    SourceProblemList problems;
    ReadShapeSource(text, *source_, problems);
    CheckShapeSource(*source_, problems);
    ASSERT_EQ(problems.Refusals(), 0) << problems.items[0].text;
    const std::vector<Shape> original = ShapesOf(*source_);
    const std::string compiled = WrittenBy(WriteShx);
    ShapeFileForm form;
    ASSERT_TRUE(ReadShx(compiled, *source_, problems, form)) << problems.items[0].text;
    const std::string back = WrittenBy(WriteShapeSourceText);
    problems.Clear();
    ReadShapeSource(back, *source_, problems);
    EXPECT_EQ(problems.Total(), 0) << problems.items[0].text;
    EXPECT_TRUE(ShapesOf(*source_) == original) << back;
  }

  std::unique_ptr<ShapeSource> source_;
};

TEST_F(ShxRoundTripTest, TheShippedGlyphFont) {
  ExpectRoundTrip(test::ReadFileBytes(test::SourceFolder() / "Support" / "SHPTXT.SHP"));
}

TEST_F(ShxRoundTripTest, HandWrittenFilesInEveryNotation) {
  const char* files[] = {
      "*230,6,DBOX\n014,010,01C,018,012,0\n",
      "*9,2,SUB\n010,0\n*1,3,USES\n7,9,0\n",
      "*1,20,ALL\n1,2,3,2,4,2,5,6,8,(-128,127),9,(1,1),(0,0),10,(1,-032),0\n"
      "*2,19,ARCS\n11,(56,28,0,3,012),12,(0,2,-127),13,(0,2,127),(0,0),14,010,0\n",
      "*0,4,Font description\n10,2,0,0\n*65,2,A\n010,0\n",
      "*UNIFONT,6,Unicode\n40,10,0,0,0,0\n*0100,2,X\n010,0\n*0101,7,Y\n7,(01,00),8,(-1,-2),0\n",
      "*1,4,lower\n10,(1,-18),0\n",  // warnings only
      "*BIGFONT 3,2,081,09F,0E0,0FC\n*0,5,Big\n8,0,2,0,0\n*08140,4,K\n8,(-1,2),0\n"
      "*0E041,2,L\n014,0\n",
  };
  for (const char* file : files) {
    SCOPED_TRACE(file);
    ExpectRoundTrip(file);
  }
}

TEST_F(ShxRoundTripTest, TheExampleDrawing) {
  const std::string drawing = test::ReadFileBytes(test::SourceFolder() / "examples" / "shapes.dxf");
  const std::string shp = Convert(drawing);
  ASSERT_FALSE(shp.empty());
  ExpectRoundTrip(shp);
}

// Lines, arcs, circles and texts in every cell, as the conversion round-trip tests draw them.
TEST_F(ShxRoundTripTest, ConvertedDrawingsOfEveryEntityKind) {
  std::mt19937 random(16);
  const auto uniform = [&random](double from, double to) {
    return std::uniform_real_distribution<double>(from, to)(random);
  };
  BuildCellTable();
  DxfBuilder drawing;
  drawing.Markers();
  for (int n = 1; n <= 255; ++n) {
    const CellCorner corner = CellCornerOf(n);
    const double x = corner.x;
    const double y = corner.y;
    test::AddLine(drawing, DxfStyle::kR12, x + uniform(2, 98), y + uniform(2, 98),
                  x + uniform(2, 98), y + uniform(2, 98), "0");
    test::AddCircle(drawing, DxfStyle::kR12, x + 50, y + 50, uniform(3, 45), "0");
    const double start = uniform(0, 360);
    test::AddArc(drawing, DxfStyle::kR12, x + 50, y + 50, uniform(3, 45), start,
                 std::fmod(start + uniform(1, 359), 360.0), "0");
    if (n % 5 == 0) drawing.Text(x + 5, y + 5, 10, "Ab1-" + std::to_string(n));
  }
  const std::string shp = Convert(drawing.Build());
  ASSERT_FALSE(shp.empty());
  ExpectRoundTrip(shp);
}

}  // namespace
}  // namespace korvex
