// The sheet preview of the example drawing's shapes, as PNG and as SVG, and the image the
// desktop program will show: each shape in its box, where the drawing had it.
#include "shape_files/sheet_preview.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "conversion/compiled_conversion.h"
#include "conversion/conversion_run.h"
#include "test_support.h"

namespace korvex {
namespace {

using test::KorvexTest;
using test::ReadFileBytes;

ShapeSource& Source() {
  static const std::unique_ptr<ShapeSource> source = std::make_unique<ShapeSource>();
  return *source;
}

// Big-endian 32-bit number at the offset: PNG's width and height in its IHDR chunk.
unsigned BigEndianAt(const std::string& bytes, std::size_t at) {
  unsigned value = 0;
  for (std::size_t i = 0; i < 4; ++i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

class SheetPreviewTest : public KorvexTest {
 protected:
  // Converts the example drawing and reads its .shp file into the tables.
  void ReadExampleShapes() {
    shp_ = Convert(ReadFileBytes(test::SourceFolder() / "examples" / "shapes.dxf"));
    ASSERT_FALSE(shp_.empty());
    SourceProblemList problems;
    ReadShapeSource(shp_, Source(), problems);
    ASSERT_EQ(problems.Total(), 0) << problems.items[0].text;
    ASSERT_GT(Source().shapeCount, 5);
  }

  std::string shp_;
};

TEST_F(SheetPreviewTest, ExamplePreviewAsPngHasTheSignatureAndSize) {
  ReadExampleShapes();
  std::string error;
  SheetSummary summary;
  ASSERT_TRUE(WriteSheetPreview(Source(), Scratch("sheet.png"), error, &summary)) << error;
  EXPECT_EQ(summary.drawn, Source().shapeCount);
  EXPECT_EQ(summary.stopped, 0);
  EXPECT_EQ(summary.offSheet, 0);
  const std::string png = ReadFileBytes(Scratch("sheet.png"));
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  EXPECT_EQ(png.substr(12, 4), "IHDR");
  EXPECT_EQ(BigEndianAt(png, 16), static_cast<unsigned>(kPreviewFileSize));
  EXPECT_EQ(BigEndianAt(png, 20), static_cast<unsigned>(kPreviewFileSize));
  for (const auto& entry : std::filesystem::directory_iterator(scratch_)) {
    EXPECT_NE(entry.path().extension(), ".tmp") << "no temporary file is left behind";
  }
}

TEST_F(SheetPreviewTest, ExamplePreviewAsSvgHoldsPaths) {
  ReadExampleShapes();
  std::string error;
  ASSERT_TRUE(WriteSheetPreview(Source(), Scratch("Sheet.SVG"), error)) << error;
  const std::string svg = ReadFileBytes(Scratch("Sheet.SVG"));
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("width=\"1600pt\""), std::string::npos);
  // One path for the boxes and at least one for each shape's strokes.
  std::size_t paths = 0;
  for (std::size_t at = svg.find("<path"); at != std::string::npos;
       at = svg.find("<path", at + 1)) {
    ++paths;
  }
  EXPECT_GT(paths, static_cast<std::size_t>(Source().shapeCount));
}

TEST_F(SheetPreviewTest, RefusesUnknownFormatsAndUnwritableFolders) {
  std::string error;
  EXPECT_FALSE(WriteSheetPreview(Source(), Scratch("sheet.jpg"), error));
  EXPECT_NE(error.find(".png or .svg"), std::string::npos);
  error.clear();
  EXPECT_FALSE(WriteSheetPreview(Source(), Scratch("missing-folder") / "sheet.png", error));
  EXPECT_NE(error.find("cannot"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Scratch("missing-folder")));
}

// The colour of the device pixel at a drawing point of a surface filling size x size.
struct Pixel {
  int red, green, blue;
};
// A surface taller than wide holds the sheet centred; top is where its view starts.
Pixel PixelAt(cairo_surface_t* surface, int size, double x, double y, double top = 0) {
  const double scale = size / (1975.0 + 80.0);
  const int px = static_cast<int>((x + 40) * scale);
  const int py = static_cast<int>(top + (1975 + 40 - y) * scale);
  cairo_surface_flush(surface);
  const unsigned char* row =
      cairo_image_surface_get_data(surface) + py * cairo_image_surface_get_stride(surface);
  const std::uint32_t argb = reinterpret_cast<const std::uint32_t*>(row)[px];
  return {static_cast<int>(argb >> 16 & 0xFF), static_cast<int>(argb >> 8 & 0xFF),
          static_cast<int>(argb & 0xFF)};
}

TEST_F(SheetPreviewTest, ShapesLandWhereTheDrawingHadThem) {
  // Shape 18's line runs from (135,1760) to (215,1760) in the drawing; shape 40 is empty.
  const std::string shp = Convert(test::DxfBuilder().Markers().Line(135, 1760, 215, 1760).Build());
  ASSERT_FALSE(shp.empty());
  test::WriteFileBytes(Scratch("one.shp"), shp);
  constexpr int kSize = 2055;  // one pixel to the drawing unit
  std::string error;
  cairo_surface_t* surface = RenderShapeFileSheet(Scratch("one.shp"), kSize, kSize, error);
  ASSERT_NE(surface, nullptr) << error;
  EXPECT_EQ(cairo_image_surface_get_width(surface), kSize);
  EXPECT_EQ(cairo_image_surface_get_height(surface), kSize);
  const Pixel onLine = PixelAt(surface, kSize, 175, 1760);
  EXPECT_LT(onLine.red, 128);  // the stroke colour is a dark blue
  EXPECT_GT(onLine.blue, onLine.red);
  const Pixel offLine = PixelAt(surface, kSize, 175, 1780);
  EXPECT_EQ(offLine.red, 255);
  EXPECT_EQ(offLine.blue, 255);
  // The insertion cross at the box's lower-left corner is red (its edges antialiased).
  const Pixel cross = PixelAt(surface, kSize, 125 + 3, 1750);
  EXPECT_GT(cross.red, 180);
  EXPECT_GT(cross.red - cross.blue, 60);
  cairo_surface_destroy(surface);
}

// What the conversion left out is drawn where it lies, dashed in orange; without the
// record nothing is drawn there.
TEST_F(SheetPreviewTest, LeftOutEntitiesAreDrawnWhereTheyLie) {
  const std::filesystem::path input = Drawing(
      test::DxfBuilder().Markers().Line(135, 1760, 215, 1760).Line(150, 1780, 228, 1780).Build());
  ASSERT_EQ(ConvertDrawing(input, Scratch("one.shp"), true), Outcome::kDone);
  ASSERT_EQ(LeftOut().kept, 1);
  constexpr int kSize = 2055;
  std::string error;
  for (const bool marked : {true, false}) {
    SCOPED_TRACE(marked);
    cairo_surface_t* surface = RenderShapeFileSheet(Scratch("one.shp"), kSize, kSize, error,
                                                    marked ? &LeftOut() : nullptr);
    ASSERT_NE(surface, nullptr) << error;
    const Pixel dropped = PixelAt(surface, kSize, 152, 1780);
    if (marked) {
      EXPECT_GT(dropped.red, 200);
      EXPECT_LT(dropped.blue, 100);
    } else {
      EXPECT_EQ(dropped.blue, 255);
    }
    cairo_surface_destroy(surface);
  }
}

// The desktop program shows a compiled file as it shows its source.
TEST_F(SheetPreviewTest, ACompiledFileIsDrawnAsItsSource) {
  const std::filesystem::path input =
      Drawing(test::DxfBuilder().Markers().Line(135, 1760, 215, 1760).Build());
  ASSERT_EQ(ConvertDrawingToShx(input, Scratch("one.shx"), {}, false), Outcome::kDone);
  constexpr int kSize = 2055;
  std::string error;
  cairo_surface_t* surface = RenderShapeFileSheet(Scratch("one.shx"), kSize, kSize, error);
  ASSERT_NE(surface, nullptr) << error;
  const Pixel onLine = PixelAt(surface, kSize, 175, 1760);
  EXPECT_LT(onLine.red, 128);
  EXPECT_GT(onLine.blue, onLine.red);
  cairo_surface_destroy(surface);
}

TEST_F(SheetPreviewTest, DesktopRenderingReportsAnUnreadableFile) {
  std::string error;
  EXPECT_EQ(RenderShapeFileSheet(Scratch("absent.shp"), 100, 100, error), nullptr);
  EXPECT_NE(error.find("absent.shp"), std::string::npos);
}

TEST_F(SheetPreviewTest, ShapesOffTheSheetAndStoppedShapesAreCounted) {
  SourceProblemList problems;
  ReadShapeSource("*0,4,F\n6,2,0,0\n*300,2,BIG\n010,0\n*5,3,BAD\n7,9,0\n*6,2,OK\n010,0\n", Source(),
                  problems);
  ASSERT_EQ(problems.Total(), 0);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 200, 200);
  cairo_t* cr = cairo_create(surface);
  const SheetSummary summary = DrawSheet(cr, Source(), 200, 200);
  EXPECT_EQ(cairo_status(cr), CAIRO_STATUS_SUCCESS);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  EXPECT_EQ(summary.drawn, 2);
  EXPECT_EQ(summary.offSheet, 1);
  EXPECT_EQ(summary.stopped, 1);
}

// A view zoomed in shows the part of a sheet drawn that much larger: the sheet at zoom 2 in
// a 400 x 400 view, moved by (160, 170), is the 800 x 800 sheet seen through a window at
// (200 - 160, 200 - 170), where the example's first rows of shapes are. Lines keep their
// width in pixels either way.
TEST_F(SheetPreviewTest, AZoomedViewShowsPartOfALargerSheet) {
  ReadExampleShapes();
  test::WriteFileBytes(Scratch("shapes.shp"), shp_);
  std::string error;
  SheetFrame frame;
  frame.zoom = 2;
  frame.shiftX = 160;
  frame.shiftY = 170;
  cairo_surface_t* zoomed =
      RenderShapeFileSheet(Scratch("shapes.shp"), 400, 400, error, nullptr, -1, frame);
  cairo_surface_t* large = RenderShapeFileSheet(Scratch("shapes.shp"), 800, 800, error);
  ASSERT_NE(zoomed, nullptr) << error;
  ASSERT_NE(large, nullptr) << error;
  cairo_surface_flush(zoomed);
  cairo_surface_flush(large);
  int differing = 0;
  int inked = 0;
  for (int y = 0; y < 400; ++y) {
    const auto* zoomedRow = reinterpret_cast<const std::uint32_t*>(
        cairo_image_surface_get_data(zoomed) + y * cairo_image_surface_get_stride(zoomed));
    const auto* largeRow = reinterpret_cast<const std::uint32_t*>(
        cairo_image_surface_get_data(large) + (y + 30) * cairo_image_surface_get_stride(large));
    for (int x = 0; x < 400; ++x) {
      if (zoomedRow[x] != largeRow[x + 40]) ++differing;
      if ((zoomedRow[x] & 0xFF) < 200) ++inked;
    }
  }
  cairo_surface_destroy(zoomed);
  cairo_surface_destroy(large);
  EXPECT_GT(inked, 1000) << "the part shown holds shapes";
  EXPECT_LT(differing, 40) << "at most a few antialiased pixels";
}

// On a small sheet the labels keep a readable size; one too long for its column then shows
// its number alone.
TEST_F(SheetPreviewTest, LabelsKeepTheirLeastSize) {
  SourceProblemList problems;
  Source().Clear();
  ReadShapeSource("*1,2,A\n010,0\n*2,2,A_LONG_SHAPE_NAME\n010,0\n", Source(), problems);
  ASSERT_EQ(problems.Total(), 0);
  constexpr int kSize = 416;  // a cell 20 pixels wide, its own label 2.8 pixels high
  const auto labelInk = [](double minLabelSize, int column) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSize, kSize);
    cairo_t* cr = cairo_create(surface);
    SheetFrame frame;
    frame.minLabelSize = minLabelSize;
    DrawSheet(cr, Source(), kSize, kSize, nullptr, -1, frame);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    // The band above the box, up to twelve pixels above it (margin 40 units = 8 pixels).
    int ink = 0;
    const double scale = kSize / 2080.0;
    const int left = static_cast<int>((40 + 125 * column) * scale);
    const int right = static_cast<int>((40 + 125 * column + 123) * scale);
    for (int y = 0; y < static_cast<int>(40 * scale) + 4; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(
          cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface));
      for (int x = left; x < right; ++x) ink += 255 - static_cast<int>(row[x] & 0xFF);
    }
    cairo_surface_destroy(surface);
    return ink;
  };
  EXPECT_GT(labelInk(9, 0), 2 * labelInk(0, 0)) << "drawn larger than the sheet's own size";
  // "2" alone, not "2 A_LONG_SHAPE_NAME" cut at the column: about as much ink as "1 A".
  EXPECT_LT(labelInk(9, 1), labelInk(9, 0));
}

// A text font's sample line is set under the sheet, in room of its own: its first letter,
// a T, stands where the font sets it.
TEST_F(SheetPreviewTest, AFontsSampleLineIsSetUnderTheSheet) {
  const std::string glyphT = "*84,21,T\n2,8,(2,0),1,8,(0,6),2,8,(-2,0),1,8,(4,0),2,8,(2,-6),0\n";
  // 2055 drawing units wide, and 70 more under the sheet for the line: one pixel to the unit.
  constexpr int kWidth = 2055;
  constexpr int kHeight = 2055 + 70;
  for (const bool font : {true, false}) {
    SCOPED_TRACE(font);
    test::WriteFileBytes(Scratch("font.shp"), (font ? "*0,4,F\n6,2,0,0\n" : "") + glyphT);
    std::string error;
    cairo_surface_t* surface = RenderShapeFileSheet(Scratch("font.shp"), kWidth, kHeight, error);
    ASSERT_NE(surface, nullptr) << error;
    // The T's stem: 2 units in, 6 high, set 30 units high on the baseline 75 under the sheet.
    const double top = font ? 0 : (kHeight - kWidth) / 2.0;
    const Pixel stem = PixelAt(surface, kWidth, 10, -60, top);
    if (font) {
      EXPECT_LT(stem.red, 128);
      EXPECT_GT(stem.blue, stem.red);
    } else {
      EXPECT_EQ(stem.red, 255);
    }
    cairo_surface_destroy(surface);
  }
}

}  // namespace
}  // namespace korvex
