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

// The larger side of the strokes' extent.
double SizeOf(const std::vector<Stroke>& strokes) {
  if (strokes.empty()) return 0;
  double minX = strokes[0].x1, maxX = minX, minY = strokes[0].y1, maxY = minY;
  for (const Stroke& s : strokes) {
    minX = std::min({minX, s.x1, s.x2});
    maxX = std::max({maxX, s.x1, s.x2});
    minY = std::min({minY, s.y1, s.y2});
    maxY = std::max({maxY, s.y1, s.y2});
  }
  return std::max(maxX - minX, maxY - minY);
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

// A shape source file of the shapes, each header counting its body's bytes.
struct ShapeText {
  int number;
  std::string name;
  std::string body;  // bytes, ending in 0
};

std::string ShapeFileText(const std::vector<ShapeText>& shapes) {
  std::string text;
  for (const ShapeText& shape : shapes) {
    int bytes = 1;
    for (const char c : shape.body) bytes += c == ',';
    text += "*" + std::to_string(shape.number) + "," + std::to_string(bytes) + "," + shape.name +
            "\n" + shape.body + "\n";
  }
  return text;
}

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
    frontend_.messages.clear();
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
        // Left out, and listed with its reason: one that draws nothing (nor moves the pen to
        // a next character), or one no scale fits into a box.
        const std::string reason = LeftOutReason(shape.number);
        if (reason.find("draws nothing") != std::string::npos) {
          EXPECT_TRUE(before.strokes.empty()) << "shape " << shape.number;
          if (font && before.result.ok) {
            EXPECT_EQ(before.result.penX, 0) << shape.number;
          }
        } else if (reason.find("too large") != std::string::npos) {
          EXPECT_GT(SizeOf(before.strokes), kCellBoxSize * 255 * 0.9) << "shape " << shape.number;
        } else {
          ADD_FAILURE() << "shape " << shape.number << " is missing: " << reason;
        }
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

  // Why the sheet's message says a shape was left out; empty when it does not list it.
  std::string LeftOutReason(int number) const {
    const std::string prefix = "\nshape " + std::to_string(number) + ": ";
    for (const platform::RecordedMessage& message : frontend_.messages) {
      const std::size_t at = message.text.find(prefix);
      if (at == std::string::npos) continue;
      const std::size_t from = at + prefix.size();
      return message.text.substr(from, message.text.find('\n', from) - from);
    }
    return "";
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

// Without the template beside the program no sheet is made, and a drawing already there
// stays as it was.
TEST_F(ShapeSheetTest, WithoutTheTemplateNoSheetIsMade) {
  const std::string shp =
      Convert(test::ReadFileBytes(test::SourceFolder() / "examples" / "shapes.dxf"));
  ASSERT_FALSE(shp.empty());
  const std::filesystem::path sheet = Scratch("sheet.dxf");
  test::WriteFileBytes(sheet, "an older drawing");
  frontend_.executableFolder = Scratch("no-support");
  frontend_.messages.clear();
  EXPECT_EQ(WriteShapeSheet(ShapeFile(shp), sheet), Outcome::kStopped);
  ASSERT_EQ(frontend_.messages.size(), 1u);
  EXPECT_EQ(frontend_.messages[0].text,
            "ShapesTemplate.dxf support file not found\nTry reinstalling Korvex");
  EXPECT_EQ(test::ReadFileBytes(sheet), "an older drawing");
  EXPECT_EQ(ScratchNames(), (std::set<std::string>{"in.dxf", "in.shp", "out.shp", "sheet.dxf"}));
}

// ---- Any file: drawn the same ------------------------------------------------------------

TEST_F(ShapeSheetTest, ShapesUsingEveryCodeDrawTheSame) {
  const std::string file = ShapeFileText({
      {1, "ONEBYTE", "010,021,032,043,054,065,076,087,098,0A9,0BA,0CB,0DC,0ED,0FE,01F,0"},
      {2, "PEN", "2,8,(5,5),1,8,(10,0),2,8,(0,5),1,8,(-10,0),2,8,(-3,-3),0"},
      {3, "SCALES", "3,2,8,(20,0),4,3,8,(0,10),3,3,4,2,8,(-5,5),0"},
      {4, "STACK", "5,8,(10,10),5,8,(5,0),6,8,(0,-10),6,8,(-10,0),0"},
      {5, "SUBSHAPES", "8,(2,2),7,2,8,(3,0),7,3,2,8,(-20,-9),1,4,3,7,4,0"},
      {6, "POLYVECTORS", "9,(5,0),(0,5),(-5,0),(0,-5),(0,0),8,(3,3),0"},
      {7, "OCTANTS", "10,(10,-043),10,(5,012),2,8,(20,0),1,10,(8,000),10,(3,-070),0"},
      {8, "FRACTIONAL",
       "11,(56,28,0,10,012),2,8,(5,5),1,11,(0,0,0,7,000),11,(100,200,0,12,-034),0"},
      {9, "BULGES", "12,(10,0,127),12,(0,10,-64),12,(-5,-5,0),12,(8,3,1),12,(-20,1,-127),0"},
      {10, "POLYARCS", "13,(10,0,127),(0,10,-127),(5,5,30),(-5,0,0),(0,0),8,(1,1),0"},
      {11, "VERTICAL", "8,(5,0),14,8,(0,-10),8,(0,5),14,2,8,(3,3),14,10,(3,012),0"},
      {12, "WIDE", "11,(0,0,1,20,002),2,8,(10,0),1,12,(-120,0,64),0"},
      {13, "DOTS", "8,(0,0),2,8,(5,5),1,8,(0,0),2,8,(3,-4),1,12,(0,0,90),0"},
      {14, "TINY", "3,10,8,(5,0),8,(0,5),10,(2,024),0"},
      {15, "HUGE", "4,10,8,(127,0),8,(0,127),12,(-127,-127,40),0"},
      {16, "OFFCENTRE", "2,8,(-60,-70),1,8,(20,0),10,(15,-0C8),0"},
  });
  ASSERT_TRUE(SheetAndBack(ShapeFile(file)));
  const Compared compared = Compare();
  EXPECT_EQ(compared.shapes, 16);
  std::printf("every code: worst %.3f units (shape %d)\n", compared.worst, compared.worstShape);
}

TEST_F(ShapeSheetTest, EveryShapeFileOfTheTestDataDrawsTheSame) {
  const std::filesystem::path files[] = {
      test::SourceFolder() / "Support" / "SHPTXT.SHP",
      test::SourceFolder() / "fuzz" / "corpus" / "shx_file" / "shapes-1.0.shx",
      test::SourceFolder() / "fuzz" / "corpus" / "shx_file" / "shapes-1.1.shx",
  };
  for (const std::filesystem::path& file : files) {
    SCOPED_TRACE(file.string());
    std::filesystem::remove(Scratch("sheet.dxf"));
    const bool font = file.filename() == "shapes-1.1.shx";  // it holds a font description
    ASSERT_TRUE(SheetAndBack(file, font ? "BACK" : nullptr));
    const Compared compared = Compare(font);
    EXPECT_GT(compared.shapes, 0);
    std::printf("%s: %d shapes, worst %.3f units (shape %d)\n", file.filename().string().c_str(),
                compared.shapes, compared.worst, compared.worstShape);
  }
}

// Files that hold no shape a cell can take (numbers above 255 only) give no sheet.
TEST_F(ShapeSheetTest, FilesWithoutShapesForTheCellsGiveNoSheet) {
  for (const char* name : {"unifont.shx", "bigfont.shx"}) {
    SCOPED_TRACE(name);
    const std::filesystem::path file = test::SourceFolder() / "fuzz" / "corpus" / "shx_file" / name;
    EXPECT_EQ(WriteShapeSheet(file, Scratch("sheet.dxf")), Outcome::kRefused);
    EXPECT_FALSE(std::filesystem::exists(Scratch("sheet.dxf")));
    ASSERT_FALSE(frontend_.messages.empty());
    EXPECT_NE(frontend_.messages.front().text.find("above 255"), std::string::npos)
        << frontend_.messages.front().text;
  }
}

// Random commands of every kind, at random sizes and scales.
std::string RandomShapeFile(std::mt19937& random, bool font) {
  const auto pick = [&random](int from, int to) {
    return std::uniform_int_distribution<int>(from, to)(random);
  };
  const auto octant = [&pick]() {
    const int value = pick(0, 7) * 16 + pick(0, 7);
    char text[8];
    std::snprintf(text, sizeof text, "%s0%02X", pick(0, 1) != 0 ? "-" : "", value);
    return std::string(text);
  };
  std::vector<ShapeText> shapes;
  if (font) shapes.push_back({0, "RANDOM FONT", "21,7,0,0"});
  const int count = pick(20, 60);
  int number = 1;
  for (int s = 0; s < count && number <= 255; ++s, number += pick(1, 6)) {
    std::string body;
    const auto add = [&body](const std::string& piece) { body += piece + ","; };
    const int size = pick(1, 3) == 1 ? 40 : 10;  // vector lengths, shape units
    int depth = 0;
    const int commands = pick(2, 25);
    for (int c = 0; c < commands; ++c) {
      const auto v = [&]() { return std::to_string(pick(-size, size)); };
      switch (pick(0, 13)) {
        case 0:
          add("8,(" + v() + "," + v() + ")");
          break;
        case 1: {
          char text[8];
          std::snprintf(text, sizeof text, "0%X%X", pick(1, 15), pick(0, 15));
          add(text);
          break;
        }
        case 2:
          add(pick(0, 1) != 0 ? "1" : "2");
          break;
        case 3:
          add("9,(" + v() + "," + v() + "),(" + v() + "," + v() + "),(0,0)");
          break;
        case 4:
          add("10,(" + std::to_string(pick(1, size)) + "," + octant() + ")");
          break;
        case 5:
          add("11,(" + std::to_string(pick(0, 255)) + "," + std::to_string(pick(0, 255)) + ",0," +
              std::to_string(pick(1, size)) + "," + octant() + ")");
          break;
        case 6:
          add("12,(" + v() + "," + v() + "," + std::to_string(pick(-127, 127)) + ")");
          break;
        case 7:
          add("13,(" + v() + "," + v() + "," + std::to_string(pick(-127, 127)) + "),(" + v() + "," +
              v() + "," + std::to_string(pick(-127, 127)) + "),(0,0)");
          break;
        case 8:
          if (depth < 4) {
            add("5");
            ++depth;
          }
          break;
        case 9:
          if (depth > 0) {
            add("6");
            --depth;
          }
          break;
        case 10:
          add(pick(0, 1) != 0 ? "3," + std::to_string(pick(1, 4))
                              : "4," + std::to_string(pick(1, 3)));
          break;
        case 11:
          // Subshapes that use no pushes of their own, so that the stack stays within four.
          if (!shapes.empty() && shapes.back().number != 0 &&
              shapes.back().body.find("5,") == std::string::npos) {
            add("7," + std::to_string(shapes.back().number));
          }
          break;
        case 12:
          add("14,8,(" + v() + "," + v() + ")");
          break;
        default:
          add("1,8,(" + v() + "," + v() + ")");
          break;
      }
    }
    if (font) add("2,8,(" + std::to_string(pick(5, 25)) + ",0)");
    body += "0";
    shapes.push_back({number, "R" + std::to_string(number), body});
  }
  return ShapeFileText(shapes);
}

TEST_F(ShapeSheetTest, RandomShapeFilesDrawTheSame) {
  for (unsigned seed = 1; seed <= 8; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    const bool font = seed % 3 == 0;
    const std::string file = RandomShapeFile(random, font);
    std::filesystem::remove(Scratch("sheet.dxf"));
    ASSERT_TRUE(SheetAndBack(ShapeFile(file), font ? "RANDOM" : nullptr)) << file;
    const Compared compared = Compare(font);
    EXPECT_GT(compared.shapes, 10);
    std::printf("seed %u: %d shapes, worst %.3f units (shape %d)\n", seed, compared.shapes,
                compared.worst, compared.worstShape);
  }
}

}  // namespace
}  // namespace korvex
