// Shape files drawn back on a sheet and converted again: whatever the file, the shapes that
// come back draw as the file's own do, within a drawing unit of the sheet; a file this
// program wrote comes back byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "conversion/compiled_conversion.h"
#include "conversion/conversion_run.h"
#include "conversion/sheet_run.h"
#include "curve_drawing.h"
#include "shape_files/shape_interpreter.h"
#include "shape_files/shp_check.h"
#include "shape_files/shp_source.h"
#include "shape_files/shx_file.h"
#include "shape_files/source_shape_drawing.h"
#include "sheet/cell_grid.h"
#include "test_support.h"

namespace korvex {
namespace {

using test::DxfBuilder;
using test::DxfStyle;

// How far a point drawn back may lie from the file's own strokes, and theirs from it, in
// drawing units of the sheet. Arcs are drawn as chords of 5 degrees, which stand up to a
// tenth of a unit inside a curve of 100 units radius: both drawings are measured so.
constexpr double kTolerance = 1.0;
constexpr double kChordSlack = 0.1;

struct Stroke {
  double x1, y1, x2, y2;
};

void CollectStroke(void* context, double x1, double y1, double x2, double y2) {
  static_cast<std::vector<Stroke>*>(context)->push_back({x1, y1, x2, y2});
}

double DistanceToStroke(double px, double py, const Stroke& s) {
  const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - s.x1) * dx + (py - s.y1) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - (s.x1 + t * dx), py - (s.y1 + t * dy));
}

// Strokes sorted into square buckets, so that a point finds its near strokes at once.
class StrokeIndex {
 public:
  explicit StrokeIndex(const std::vector<Stroke>& strokes) : strokes_(strokes) {
    for (std::size_t i = 0; i < strokes.size(); ++i) {
      const Stroke& s = strokes[i];
      for (long bx = Bucket(std::min(s.x1, s.x2)); bx <= Bucket(std::max(s.x1, s.x2)); ++bx) {
        for (long by = Bucket(std::min(s.y1, s.y2)); by <= Bucket(std::max(s.y1, s.y2)); ++by) {
          buckets_[{bx, by}].push_back(i);
        }
      }
    }
  }
  // The distance to the nearest stroke, when it is within kBucket; else kBucket or more.
  double Nearest(double x, double y) const {
    double nearest = kBucket;
    for (long bx = Bucket(x) - 1; bx <= Bucket(x) + 1; ++bx) {
      for (long by = Bucket(y) - 1; by <= Bucket(y) + 1; ++by) {
        const auto found = buckets_.find({bx, by});
        if (found == buckets_.end()) continue;
        for (const std::size_t i : found->second) {
          nearest = std::min(nearest, DistanceToStroke(x, y, strokes_[i]));
        }
      }
    }
    return nearest;
  }

 private:
  static constexpr double kBucket = 4;
  static long Bucket(double v) { return static_cast<long>(std::floor(v / kBucket)); }
  const std::vector<Stroke>& strokes_;
  std::map<std::pair<long, long>, std::vector<std::size_t>> buckets_;
};

// The farthest any point of a's strokes (sampled every tenth of a unit) lies from b's.
double Deviation(const std::vector<Stroke>& a, const std::vector<Stroke>& b) {
  const StrokeIndex index(b);
  double worst = 0;
  for (const Stroke& s : a) {
    const double length = std::hypot(s.x2 - s.x1, s.y2 - s.y1);
    const int steps = 1 + static_cast<int>(length / 0.1);
    for (int k = 0; k <= steps; ++k) {
      const double t = static_cast<double>(k) / steps;
      worst = std::max(worst, index.Nearest(s.x1 + t * (s.x2 - s.x1), s.y1 + t * (s.y2 - s.y1)));
    }
  }
  return worst;
}

struct Drawn {
  std::vector<Stroke> strokes;
  DrawResult result;
};

Drawn Draw(const ShapeSource& source, const SourceShape& shape, double scale) {
  Drawn drawing;
  drawing.result = DrawSourceShape(source, shape, 0, 0, scale, CollectStroke, &drawing.strokes);
  return drawing;
}

// The drawing units per shape unit of a shape converted from a sheet: its leading scale
// codes divide by them.
double SheetScaleOf(const ShapeSource& source, const SourceShape& shape) {
  const std::int16_t* b = source.BytesOf(shape);
  double scale = 1;
  int at = 0;
  if (shape.byteCount > at + 1 && b[at] == 3) {
    scale = b[at + 1];
    at += 2;
  }
  if (shape.byteCount > at + 1 && b[at] == 4) scale /= b[at + 1];
  return scale;
}

struct Compared {
  int shapes = 0;    // shapes compared
  double worst = 0;  // the largest deviation, drawing units
  int worstShape = 0;
  int identical = 0;  // shapes whose bytes came back unchanged
};

class ShapeSheetTest : public test::KorvexTest {
 protected:
  void SetUp() override {
    KorvexTest::SetUp();
    original_ = std::make_unique<ShapeSource>();
    back_ = std::make_unique<ShapeSource>();
  }

  // Draws the shape file's sheet and converts the sheet again (as a font when fontName);
  // false when either step fails.
  bool SheetAndBack(const std::filesystem::path& shapeFile, const char* fontName = nullptr) {
    const std::filesystem::path sheet = Scratch("sheet.dxf");
    const std::filesystem::path back = Scratch("back.shp");
    if (WriteShapeSheet(shapeFile, sheet) != Outcome::kDone) return false;
    const Outcome converted = fontName != nullptr ? ConvertFontDrawing(sheet, back, fontName)
                                                  : ConvertDrawing(sheet, back);
    if (converted != Outcome::kDone) return false;
    SourceProblemList problems;
    ShapeFileForm form;
    EXPECT_TRUE(ReadShapeFile(shapeFile, *original_, problems, form));
    problems.Clear();
    EXPECT_TRUE(ReadShapeFile(back, *back_, problems, form));
    CheckShapeSource(*back_, problems);
    EXPECT_EQ(problems.Refusals(), 0) << problems.items[0].text;
    return true;
  }

  // Every shape 1 to 255 of the original that draws, against the shape of its number that
  // came back: both drawn at the cell's scale, each stroke within the tolerance of the other.
  // Fonts keep where each glyph leaves the pen too.
  Compared Compare(bool font = false) {
    Compared compared;
    for (int s = 0; s < original_->shapeCount; ++s) {
      const SourceShape& shape = original_->shapes[s];
      if (!IsShapeNumber(shape.number) || original_->Find(shape.number) != &shape) continue;
      const SourceShape* back = back_->Find(shape.number);
      const Drawn before = Draw(*original_, shape, 1);
      if (back == nullptr) {
        EXPECT_TRUE(before.strokes.empty() && !font) << "shape " << shape.number << " is missing";
        continue;
      }
      const double scale = SheetScaleOf(*back_, *back);
      const Drawn drawnBefore = Draw(*original_, shape, scale);
      const Drawn drawnAfter = Draw(*back_, *back, scale);
      EXPECT_TRUE(drawnAfter.result.ok) << "shape " << shape.number;
      const double deviation = std::max(Deviation(drawnBefore.strokes, drawnAfter.strokes),
                                        Deviation(drawnAfter.strokes, drawnBefore.strokes));
      EXPECT_LE(deviation, kTolerance + kChordSlack) << "shape " << shape.number;
      if (font) {
        EXPECT_NEAR(drawnAfter.result.penX, drawnBefore.result.penX, kTolerance)
            << "advance of glyph " << shape.number;
        EXPECT_NEAR(drawnAfter.result.penY, drawnBefore.result.penY, kTolerance)
            << "advance of glyph " << shape.number;
      }
      ++compared.shapes;
      if (deviation > compared.worst) {
        compared.worst = deviation;
        compared.worstShape = shape.number;
      }
      const std::int16_t* a = original_->BytesOf(shape);
      const std::int16_t* b = back_->BytesOf(*back);
      if (shape.byteCount == back->byteCount && std::equal(a, a + shape.byteCount, b)) {
        ++compared.identical;
      }
    }
    return compared;
  }

  // Every shape came back with its bytes (and name) unchanged.
  void ExpectSameShapes() {
    for (int s = 0; s < original_->shapeCount; ++s) {
      const SourceShape& shape = original_->shapes[s];
      SCOPED_TRACE(shape.number);
      const SourceShape* back = back_->Find(shape.number);
      ASSERT_NE(back, nullptr);
      EXPECT_STREQ(back->name, shape.name);
      const std::int16_t* a = original_->BytesOf(shape);
      EXPECT_TRUE(std::equal(a, a + shape.byteCount, back_->BytesOf(*back),
                             back_->BytesOf(*back) + back->byteCount));
    }
    EXPECT_EQ(back_->shapeCount, original_->shapeCount);
  }

  std::filesystem::path ShapeFile(const std::string& text, const std::string& name = "in.shp") {
    const std::filesystem::path path = Scratch(name);
    test::WriteFileBytes(path, text);
    return path;
  }

  std::unique_ptr<ShapeSource> original_;
  std::unique_ptr<ShapeSource> back_;
};

// ---- Files this program wrote: the same bytes ------------------------------------------------

TEST_F(ShapeSheetTest, TheExampleDrawingsShapesComeBackByteForByte) {
  const std::string shp =
      Convert(test::ReadFileBytes(test::SourceFolder() / "examples" / "shapes.dxf"));
  ASSERT_FALSE(shp.empty());
  ASSERT_TRUE(SheetAndBack(ShapeFile(shp)));
  ExpectSameShapes();
  EXPECT_EQ(test::ReadFileBytes(Scratch("back.shp")), shp);
}

// Lines, arcs, circles, polylines, texts, names and insertion points in every cell.
TEST_F(ShapeSheetTest, ConvertedDrawingsComeBackByteForByte) {
  for (unsigned seed = 17; seed < 29; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    const auto uniform = [&random](double from, double to) {
      return std::uniform_real_distribution<double>(from, to)(random);
    };
    BuildCellTable();
    DxfBuilder drawing;
    drawing.Markers();
    for (int n = 1; n <= 255; ++n) {
      const double x = CellCornerOf(n).x;
      const double y = CellCornerOf(n).y;
      if (n % 3 == 0) drawing.Point(x + uniform(20, 80), y + uniform(20, 80));
      if (n % 7 == 0) drawing.Text(x + 3, y + 104, 8, "Name " + std::to_string(n));
      test::AddLine(drawing, DxfStyle::kR12, x + uniform(2, 98), y + uniform(2, 98),
                    x + uniform(2, 98), y + uniform(2, 98));
      test::AddCircle(drawing, DxfStyle::kR12, x + 50, y + 50, uniform(3, 45));
      const double start = uniform(0, 360);
      test::AddArc(drawing, DxfStyle::kR12, x + 50, y + 50, uniform(3, 45), start,
                   std::fmod(start + uniform(1, 359), 360.0));
      std::vector<test::PolylineVertex> vertices;
      for (int v = 0; v < 5; ++v) {
        vertices.push_back(
            {x + uniform(5, 95), y + uniform(5, 95), v % 2 == 0 ? uniform(-1.5, 1.5) : 0.0});
      }
      test::AddPolyline(drawing, DxfStyle::kR2000, vertices, n % 2);
      if (n % 5 == 0) drawing.Text(x + 5, y + 5 + n % 40, 4 + n % 12, "Ab1-" + std::to_string(n));
    }
    const std::string shp = Convert(drawing.Build());
    ASSERT_FALSE(shp.empty());
    ASSERT_TRUE(SheetAndBack(ShapeFile(shp)));
    ExpectSameShapes();
    EXPECT_EQ(test::ReadFileBytes(Scratch("back.shp")), shp);
  }
}

}  // namespace
}  // namespace korvex
