// The shape interpreter on hand-written shapes: every code 0 to 14, the one-byte vectors,
// hexadecimal notation and subshapes, drawn to the strokes the CAD program would draw.
#include "shape_files/shape_interpreter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "shape_files/source_shape_drawing.h"

namespace korvex {
namespace {

struct Segment {
  double x1, y1, x2, y2;
};

void Collect(void* context, double x1, double y1, double x2, double y2) {
  static_cast<std::vector<Segment>*>(context)->push_back({x1, y1, x2, y2});
}

ShapeSource& Source() {
  static const std::unique_ptr<ShapeSource> source = std::make_unique<ShapeSource>();
  return *source;
}

struct Drawn {
  DrawResult result;
  std::vector<Segment> strokes;
};

// Reads the file (which must read cleanly) and draws shape `number` from the origin.
Drawn DrawFromFile(const std::string& file, int number, double originX = 0, double originY = 0,
                   double scale = 1) {
  SourceProblemList problems;
  ReadShapeSource(file, Source(), problems);
  EXPECT_EQ(problems.Total(), 0) << file << (problems.count > 0 ? problems.items[0].text : "");
  Drawn drawn{};
  const SourceShape* shape = Source().Find(number);
  if (shape == nullptr) {
    ADD_FAILURE() << "no shape " << number << " in " << file;
    return drawn;
  }
  drawn.result =
      DrawSourceShape(Source(), *shape, originX, originY, scale, Collect, &drawn.strokes);
  return drawn;
}

// One shape numbered 1 of the given body, its header counting the bytes.
std::string OneShape(const std::string& body) {
  int bytes = 1;
  for (char c : body) bytes += c == ',';
  return "*1," + std::to_string(bytes) + ",TEST\n" + body + "\n";
}

std::string Describe(const std::vector<Segment>& strokes) {
  std::string text;
  for (const Segment& s : strokes) {
    text += "(" + std::to_string(s.x1) + "," + std::to_string(s.y1) + ")-(" + std::to_string(s.x2) +
            "," + std::to_string(s.y2) + ") ";
  }
  return text;
}

void ExpectStrokes(const std::vector<Segment>& actual, const std::vector<Segment>& expected,
                   const std::string& what) {
  ASSERT_EQ(actual.size(), expected.size()) << what << ": " << Describe(actual);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_NEAR(actual[i].x1, expected[i].x1, 1e-9) << what << " stroke " << i;
    EXPECT_NEAR(actual[i].y1, expected[i].y1, 1e-9) << what << " stroke " << i;
    EXPECT_NEAR(actual[i].x2, expected[i].x2, 1e-9) << what << " stroke " << i;
    EXPECT_NEAR(actual[i].y2, expected[i].y2, 1e-9) << what << " stroke " << i;
  }
}

TEST(ShapeInterpreterTest, StraightCodesDrawTheirStrokes) {
  struct Case {
    const char* body;
    std::vector<Segment> strokes;
  };
  const Case cases[] = {
      // The box with its diagonal, in one-byte vectors.
      {"014,010,01C,018,012,0",
       {{0, 0, 0, 1}, {0, 1, 1, 1}, {1, 1, 1, 0}, {1, 0, 0, 0}, {0, 0, 1, 1}}},
      // Codes 1 and 2 in hexadecimal: only the pen-down vector draws.
      {"002,010,001,010,000", {{1, 0, 2, 0}}},
      // Code 4 multiplies, code 3 divides; the factor carries on.
      {"4,2,010,3,4,010,0", {{0, 0, 2, 0}, {2, 0, 2.5, 0}}},
      {"4,0A,010,0", {{0, 0, 10, 0}}},
      // Code 5 pushes, 6 pops back.
      {"5,010,6,014,0", {{0, 0, 1, 0}, {0, 0, 0, 1}}},
      // Code 8 in decimal and hexadecimal, negative ones too.
      {"8,(3,-2),0", {{0, 0, 3, -2}}},
      {"8,(0A,-0A),08,(-012,3),0", {{0, 0, 10, -10}, {10, -10, -8, -7}}},
      // Code 9 up to its (0,0).
      {"9,(1,1),(2,0),(0,0),010,0", {{0, 0, 1, 1}, {1, 1, 3, 1}, {3, 1, 4, 1}}},
      // Code 14 skips the next command, with its bytes, when drawing horizontally.
      {"14,8,(5,5),010,0", {{0, 0, 1, 0}}},
      {"14,9,(5,5),(0,0),010,0", {{0, 0, 1, 0}}},
      {"0E,010,014,0", {{0, 0, 0, 1}}},
      // Code 0 ends the shape: bytes after it are not drawn.
      {"010,0,010,0", {{0, 0, 1, 0}}},
  };
  for (const Case& c : cases) {
    const Drawn drawn = DrawFromFile(OneShape(c.body), 1);
    EXPECT_TRUE(drawn.result.ok) << c.body << ": " << drawn.result.problem;
    ExpectStrokes(drawn.strokes, c.strokes, c.body);
  }
}

TEST(ShapeInterpreterTest, OneByteVectorsRunInSixteenDirectionsOnHalfUnitSteps) {
  const double directions[16][2] = {{2, 0},  {2, 1},  {2, 2},  {1, 2},   {0, 2},   {-1, 2},
                                    {-2, 2}, {-2, 1}, {-2, 0}, {-2, -1}, {-2, -2}, {-1, -2},
                                    {0, -2}, {1, -2}, {2, -2}, {2, -1}};
  const char* hex = "0123456789ABCDEF";
  for (int d = 0; d < 16; ++d) {
    const std::string body = std::string("02") + hex[d] + ",0";
    const Drawn drawn = DrawFromFile(OneShape(body), 1);
    ExpectStrokes(drawn.strokes, {{0, 0, directions[d][0], directions[d][1]}}, body);
  }
  // Length 15, the longest a one-byte vector has.
  ExpectStrokes(DrawFromFile(OneShape("0F4,0"), 1).strokes, {{0, 0, 0, 15}}, "0F4");
}

// An arc drawn in chords: every vertex on the circle, the ends where they belong, and a
// vertex near a point the arc must pass through (which tells its direction).
struct ArcCase {
  const char* body;
  double centreX, centreY, radius;
  double endX, endY;
  double throughX, throughY;
};

void ExpectArc(const ArcCase& c) {
  const Drawn drawn = DrawFromFile(OneShape(c.body), 1);
  ASSERT_TRUE(drawn.result.ok) << c.body << ": " << drawn.result.problem;
  ASSERT_GE(drawn.strokes.size(), 2u) << c.body;
  EXPECT_NEAR(drawn.strokes.front().x1, 0, 1e-9) << c.body;
  EXPECT_NEAR(drawn.strokes.front().y1, 0, 1e-9) << c.body;
  EXPECT_NEAR(drawn.strokes.back().x2, c.endX, 1e-6) << c.body;
  EXPECT_NEAR(drawn.strokes.back().y2, c.endY, 1e-6) << c.body;
  double nearest = 1e9;
  for (const Segment& s : drawn.strokes) {
    EXPECT_NEAR(std::hypot(s.x2 - c.centreX, s.y2 - c.centreY), c.radius, 1e-6) << c.body;
    nearest = std::fmin(nearest, std::hypot(s.x2 - c.throughX, s.y2 - c.throughY));
  }
  // Chords of at most 5 degrees leave a vertex within 5 degrees of arc of any point.
  EXPECT_LT(nearest, c.radius * 5.0 * 3.14159265 / 180.0) << c.body;
}

TEST(ShapeInterpreterTest, ArcCodesDrawTheirArcs) {
  const double r2 = std::sqrt(0.5);
  const double kDegree = 3.141592653589793 / 180.0;
  const double fractionalStart = (45 + 56 * 45.0 / 256) * kDegree;
  const double fractionalEnd = (90 + 28 * 45.0 / 256) * kDegree;
  const double fx = -3 * std::cos(fractionalStart);
  const double fy = -3 * std::sin(fractionalStart);
  // Bulge 64 over a chord of 2: height 64/127 below the chord, since it runs anticlockwise.
  const double b = 64.0 / 127.0;
  const double bulgeRadius = 2 * (1 + b * b) / (4 * b);
  const ArcCase cases[] = {
      // Code 10: clockwise from octant 3 over two octants, radius 1.
      {"10,(1,-032),0", r2, -r2, 1, 2 * r2, 0, r2, 1 - r2},
      // Code 10: a whole circle (count 0) anticlockwise from octant 0.
      {"10,(2,0),0", -2, 0, 2, 0, 0, -4, 0},
      {"0A,(2,004),0", -2, 0, 2, -4, 0, -2, 2},
      // Code 11: from 55 to 95 degrees, radius 3.
      {"11,(56,28,0,3,012),0", fx, fy, 3, fx + 3 * std::cos(fractionalEnd),
       fy + 3 * std::sin(fractionalEnd), fx + 3 * std::cos(75 * kDegree),
       fy + 3 * std::sin(75 * kDegree)},
      // Code 11: a radius of 256 from its high byte, half a circle.
      {"11,(0,0,1,0,004),0", -256, 0, 256, -512, 0, -256, 256},
      // Code 12: semicircles either way, and a shallower bulge.
      {"12,(0,2,127),0", 0, 1, 1, 0, 2, 1, 1},
      {"12,(0,2,-127),0", 0, 1, 1, 0, 2, -1, 1},
      {"0C,(2,0,64),0", 1, bulgeRadius - b, bulgeRadius, 2, 0, 1, -b},
      // The same bulge clockwise, as hand-written files have it: the mirror image, above.
      {"0C,(2,0,-64),0", 1, b - bulgeRadius, bulgeRadius, 2, 0, 1, b},
      // Code 13: two semicircles make a circle.
      {"13,(2,0,127),(-2,0,127),(0,0),0", 1, 0, 1, 0, 0, 1, 1},
      {"13,(2,0,127),(-2,0,127),(0,0),0", 1, 0, 1, 0, 0, 1, -1},
  };
  for (const ArcCase& c : cases) ExpectArc(c);
}

// A nearly straight arc of a large radius, as a fitted curve writes: its chords stay within
// their bound of the arc however few degrees it sweeps.
TEST(ShapeInterpreterTest, NearlyStraightArcsAreDrawnCloseToTheirArc) {
  for (const int bulge : {1, -2, 5}) {
    SCOPED_TRACE(bulge);
    const Drawn drawn = DrawFromFile(OneShape("12,(100,20," + std::to_string(bulge) + "),0"), 1);
    ASSERT_TRUE(drawn.result.ok);
    const double b = bulge / 127.0;
    const double chord = std::hypot(100.0, 20.0);
    const double radius = chord * (1 + b * b) / (4 * std::fabs(b));
    // The centre: a distance chord (1 - b^2) / (4 b) left of the chord's middle.
    const double offset = chord * (1 - b * b) / (4 * b);
    const double cx = 50 - 20 / chord * offset;
    const double cy = 10 + 100 / chord * offset;
    for (const Segment& s : drawn.strokes) {
      const double mx = (s.x1 + s.x2) / 2, my = (s.y1 + s.y2) / 2;
      EXPECT_LE(radius - std::hypot(mx - cx, my - cy), kArcChordDeviation + 1e-9);
    }
    EXPECT_NEAR(drawn.strokes.back().x2, 100, 1e-6);
    EXPECT_NEAR(drawn.strokes.back().y2, 20, 1e-6);
  }
}

TEST(ShapeInterpreterTest, Code13DrawsEachArcWithItsOwnBulge) {
  // A semicircle, then a straight piece (bulge 0).
  const Drawn drawn = DrawFromFile(OneShape("13,(0,2,127),(3,0,0),(0,0),0"), 1);
  ASSERT_TRUE(drawn.result.ok);
  ASSERT_GE(drawn.strokes.size(), 2u);
  ExpectStrokes({drawn.strokes.back()}, {{0, 2, 3, 2}}, "the straight piece");
}

TEST(ShapeInterpreterTest, SubshapesDrawFromTheSameFileAtThePenWithItsScaleAndMode) {
  struct Case {
    const char* file;
    std::vector<Segment> strokes;
    double penX;
  };
  const Case cases[] = {
      // The subshape doubles the scale; as in the CAD program it stays doubled after.
      {"*2,4,DOUBLE\n4,2,010,0\n*1,4,USES\n7,2,010,0\n", {{0, 0, 2, 0}, {2, 0, 4, 0}}, 4},
      // Draw mode is not reset: the subshape lifts the pen for the rest.
      {"*3,2,UP\n2,0\n*1,4,USES\n7,3,010,0\n", {}, 1},
      // Hexadecimal shape numbers, a subshape within a subshape.
      {"*0A,2,INNER\n014,0\n*0B,4,MIDDLE\n010,7,0A,0\n*1,3,USES\n7,0B,0\n",
       {{0, 0, 1, 0}, {1, 0, 1, 1}},
       1},
      // A Unicode font's two-byte shape number.
      {"*UNIFONT,6,U\n40,10,0,0,0,0\n*0100,2,X\n014,0\n*1,5,A\n7,(01,00),010,0\n",
       {{0, 0, 0, 1}, {0, 1, 1, 1}},
       1},
  };
  for (const Case& c : cases) {
    const Drawn drawn = DrawFromFile(c.file, 1);
    EXPECT_TRUE(drawn.result.ok) << c.file << ": " << drawn.result.problem;
    ExpectStrokes(drawn.strokes, c.strokes, c.file);
    EXPECT_NEAR(drawn.result.penX, c.penX, 1e-9) << c.file;
  }
}

TEST(ShapeInterpreterTest, VerticalDrawingKeepsTheFlaggedCommand) {
  const std::int16_t bytes[] = {14, 8, 5, 5, 0x10, 0};
  std::vector<Segment> strokes;
  ShapeDrawingOptions options;
  options.sink = Collect;
  options.sinkContext = &strokes;
  options.vertical = true;
  EXPECT_TRUE(DrawShape(bytes, 6, 0, 0, 1, options).ok);
  ExpectStrokes(strokes, {{0, 0, 5, 5}, {5, 5, 6, 5}}, "vertical");
  strokes.clear();
  options.vertical = false;
  EXPECT_TRUE(DrawShape(bytes, 6, 0, 0, 1, options).ok);
  ExpectStrokes(strokes, {{0, 0, 1, 0}}, "horizontal");
}

TEST(ShapeInterpreterTest, OurWritersShapeLandsWhereItWasDrawn) {
  // The worked example: a line from (135,1760) to (215,1760) in cell 18, whose lower-left
  // corner is (125,1750). One shape unit is 100 drawing units.
  const Drawn drawn =
      DrawFromFile("*18,11,SHAPE18\r\n3,100,2,8,(10,10),1,8,(80,0),0\r\n\x1a", 18, 125, 1750, 100);
  EXPECT_TRUE(drawn.result.ok);
  ExpectStrokes(drawn.strokes, {{135, 1760, 215, 1760}}, "SHAPE18");
}

TEST(ShapeInterpreterTest, ProblemsStopTheDrawing) {
  struct Case {
    const char* file;
    const char* problem;
  };
  const Case cases[] = {
      {"*1,3,A\n7,9,0\n", "subshape not found"},
      {"*1,3,A\n7,1,0\n", "subshapes nested too deep"},
      {"*1,6,A\n5,5,5,5,5,0\n", "position stack overflow"},
      {"*1,2,A\n6,0\n", "position stack underflow"},
      {"*1,2,A\n15,0\n", "unknown shape code"},
      {"*1,2,A\n-3,0\n", "unknown shape code"},
      {"*1,2,A\n8,1\n", "the bytes end inside a command"},
      {"*1,3,A\n14,8,1\n", "the bytes end inside a command"},
      {"*1,4,A\n9,1,1,0\n", "the bytes end inside a command"},
      {"*1,1,A\n010\n", "no final 0"},
      {"*1,3,A\n3,0,0\n", "scale factor out of range"},
  };
  for (const Case& c : cases) {
    const Drawn drawn = DrawFromFile(c.file, 1);
    EXPECT_FALSE(drawn.result.ok) << c.file;
    EXPECT_STREQ(drawn.result.problem, c.problem) << c.file;
  }
  // Without a lookup, code 7 cannot draw.
  const std::int16_t bytes[] = {7, 1, 0};
  EXPECT_STREQ(DrawShape(bytes, 3, 0, 0, 1, ShapeDrawingOptions{}).problem, "subshape not found");
}

TEST(ShapeInterpreterTest, CommandLengthsCountTheCodeAndItsBytes) {
  struct Case {
    std::vector<std::int16_t> bytes;
    bool wide;
    int length;
  };
  const Case cases[] = {
      {{0}, false, 1},
      {{1}, false, 1},
      {{0x2F}, false, 1},
      {{14}, false, 1},
      {{3, 2}, false, 2},
      {{3}, false, -1},
      {{7, 5}, false, 2},
      {{7, 1, 0}, true, 3},
      {{7, 1}, true, -1},
      {{8, 1, 2}, false, 3},
      {{8, 1}, false, -1},
      {{9, 1, 1, 0, 0}, false, 5},
      {{9, 1, 1, 0}, false, -1},
      {{10, 1, 2}, false, 3},
      {{11, 0, 0, 0, 1, 2}, false, 6},
      {{11, 0, 0, 0, 1}, false, -1},
      {{12, 1, 1, 1}, false, 4},
      {{13, 1, 1, 1, 0, 0}, false, 6},
      {{13, 0, 1, 1, 0, 0}, false, 6},
      {{13, 1, 1, 1}, false, -1},
      {{15}, false, -1},
      {{-1}, false, -1},
      {{256}, false, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShapeCommandLength(c.bytes.data(), static_cast<int>(c.bytes.size()), 0, c.wide),
              c.length)
        << "code " << c.bytes[0] << " with " << c.bytes.size() << " bytes";
  }
}

}  // namespace
}  // namespace korvex
