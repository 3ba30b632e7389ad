// The bad-input catalogue: hostile and broken inputs, one row each, with the outcome each
// must have. Every row is run twice in the test process (without and with an existing
// output file) and once through korvex-cli, and every run checks the same guarantees:
// nothing crashes (the sanitizer build turns any bad access into a failure), the outcome is
// the row's (written, refused with its message, or stopped with status 3), a refused or
// stopped run creates no file and leaves an existing output byte for byte as it was, a
// written file's every header byte count equals the bytes its body holds, and the input is
// never touched.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_options.h"
#include "conversion/conversion_run.h"
#include "shape_files/shape_interpreter.h"
#include "shape_files/shp_source.h"
#include "shape_output/shape_encoder.h"
#include "shape_output/shp_writer.h"
#include "test_support.h"

namespace korvex {
namespace {

using test::DxfBuilder;
using test::KorvexTest;
using test::ReadFileBytes;
using test::WriteFileBytes;

// ---------------------------------------------------------------------------------------
// The rows
// ---------------------------------------------------------------------------------------

// Where the input and output are, when not simply a drawing and a new .shp beside it.
enum class Paths {
  kPlain,
  kInputMissing,
  kInputIsDirectory,
  kOutputIsInput,
  kOutputFolderMissing,
  kOutputIsDirectory,
  kOutputReadOnly,
  kGlyphFileGiven,    // the row's glyph file lies beside the program
  kGlyphFileMissing,  // no glyph file beside the program
};

struct CatalogueRow {
  const char* name;
  std::string (*input)();
  Outcome outcome;
  // Written: the header lines expected, each ended by "\n" (nullptr: any consistent file).
  // Refused or stopped: a message that must be among those shown.
  const char* expected;
  Paths setup = Paths::kPlain;
  const char* glyphFile = nullptr;
  // False where a glyph file's tokens are no shape bytes: they are copied as they are, so
  // only their count can be checked.
  bool bodyIsShapeBytes = true;
};

void PrintTo(const CatalogueRow& row, std::ostream* out) {
  *out << row.name;
}

constexpr const char* kInvalidDrawing = "Invalid input DXF file";
constexpr const char* kNothingUsable = "No valid drawing entities found";
constexpr const char* kWorkedExampleHeader = "*18,11,SHAPE18\n";

// The worked example (a LINE in cell 18) whose groups 10 and 20 have the given values.
std::string LineWith(const std::string& x1, const std::string& y1) {
  return DxfBuilder()
      .Markers()
      .Group(0, "LINE")
      .Group(8, "0")
      .Group(10, x1)
      .Group(20, y1)
      .Group(11, "215")
      .Group(21, "1760")
      .Build();
}

std::string WorkedExample() {
  return DxfBuilder().Markers().Line(135, 1760, 215, 1760).Build();
}

std::string TextOfHeight(const std::string& height) {
  return DxfBuilder()
      .Markers()
      .Group(0, "TEXT")
      .Group(8, "0")
      .Group(10, "20")
      .Group(20, "1900")
      .Group(40, height)
      .Group(1, "AB")
      .Build();
}

std::string CircleOfRadius(const std::string& radius) {
  return DxfBuilder()
      .Markers()
      .Group(0, "CIRCLE")
      .Group(8, "0")
      .Group(10, "50")
      .Group(20, "1925")
      .Group(40, radius)
      .Build();
}

std::string ArcOfRadius(const std::string& radius) {
  return DxfBuilder()
      .Markers()
      .Group(0, "ARC")
      .Group(8, "0")
      .Group(10, "50")
      .Group(20, "1925")
      .Group(40, radius)
      .Group(50, "0")
      .Group(51, "90")
      .Build();
}

// A two-vertex LWPOLYLINE across cell 3 whose first segment has the given bulge.
std::string BulgeOf(const std::string& bulge) {
  return DxfBuilder()
      .Markers()
      .Group(0, "LWPOLYLINE")
      .Group(8, "0")
      .Group(90, "2")
      .Group(70, "0")
      .Group(10, "280")
      .Group(20, "1925")
      .Group(42, bulge)
      .Group(10, "320")
      .Group(20, "1925")
      .Build();
}

// A zigzag of vertices inside cell 3.
std::string VertexList(int count, bool lightweight) {
  DxfBuilder drawing;
  drawing.Markers();
  if (lightweight) {
    drawing.Group(0, "LWPOLYLINE").Group(8, "0").Group(90, std::to_string(count)).Group(70, "0");
  } else {
    drawing.Group(0, "POLYLINE").Group(8, "0").Group(66, "1").Group(70, "0");
  }
  for (int i = 0; i < count; ++i) {
    if (!lightweight) drawing.Group(0, "VERTEX").Group(8, "0");
    drawing.Group(10, 260.0 + (i % 2) * 10).Group(20, 1890.0 + (i % 3));
  }
  if (!lightweight) drawing.Group(0, "SEQEND");
  return drawing.Build();
}

// The drawing up to the end of an entity's given group line: the file ends there.
std::string CutAfter(const std::string& drawing, const std::string& lastLine) {
  const std::size_t at = drawing.rfind(lastLine);
  return drawing.substr(0, at + lastLine.size());
}

std::string TwoLinesCutInTheSecond() {
  // The second LINE ends inside its group 11 value: "21" of "215" puts its end in another
  // cell, so only the first is written.
  return CutAfter(
      DxfBuilder().Markers().Line(135, 1760, 215, 1760).Line(140, 1770, 215, 1760).Build(),
      " 11\n21");
}

std::string TextCutAfterItsValueCode() {
  // The file ends right after the second TEXT's group 1: it keeps the text read before.
  return CutAfter(DxfBuilder().Markers().Text(20, 1900, 10, "Hi").Text(20, 1930, 10, "Ho").Build(),
                  "  1\n");
}

std::string PointCutInItsGroupCode() {
  return CutAfter(DxfBuilder().Markers().Line(135, 1760, 215, 1760).Point(140, 1755).Build(),
                  "POINT\n  8\n0\n 10\n140\n 2");
}

std::string ArcCutInItsEndAngle() {
  return CutAfter(ArcOfRadius("30"), " 51\n9");
}

std::string CircleCutInItsRadius() {
  return CutAfter(CircleOfRadius("20"), " 40\n2");
}

std::string PolylineCutInItsHeader() {
  return CutAfter(VertexList(4, false), "POLYLINE\n  8\n0\n 66\n");
}

std::string PolylineCutInAVertex() {
  return CutAfter(VertexList(4, false), "VERTEX\n  8\n0\n 10\n260\n 20\n");
}

std::string LwPolylineCutInAVertex() {
  return CutAfter(VertexList(4, true), " 20\n1891\n 10\n");
}

// Lines to and fro in cell 241 (origin (0, 0)): 2 bytes, then 3 per line.
std::string LinesInCell241(int count) {
  DxfBuilder drawing;
  drawing.Markers();
  for (int i = 0; i < count; ++i) {
    const int x = (i % 2) * 10;
    drawing.Line(x, 10, 10 - x, 10);
  }
  return drawing.Build();
}

// Texts of 30 characters in one cell: each adds far more than the 10 bytes between the
// stop level and the limit, so one of them can take a shape past 2000 bytes at once.
std::string LongTextsInOneCell(int count) {
  DxfBuilder drawing;
  drawing.Markers();
  for (int i = 0; i < count; ++i) drawing.Text(5, 1880 + 2 * i, 8, std::string(30, 'W'));
  return drawing.Build();
}

std::string WithText(const std::string& text) {
  return DxfBuilder().Markers().Text(20, 1900, 10, text).Build();
}

std::string ShapeNamed(const std::string& name) {
  return DxfBuilder().Markers().Line(135, 1760, 215, 1760).Text(130, 1855, 5, name).Build();
}

const char kGoodGlyphs[] = "*65,4,A\r\n8,(6,0),0\r\n";

const CatalogueRow kCatalogue[] = {
    // Files that are no drawing at all.
    {"EmptyFile", [] { return std::string(); }, Outcome::kRefused, kInvalidDrawing},
    {"BinaryDxf",
     [] {
       return std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + std::string("\0\x02\x03\xff", 4) +
              std::string("ENTITIES\0LINE\0", 14);
     },
     Outcome::kRefused, kInvalidDrawing},
    {"RandomBytes",
     [] {
       std::string bytes;
       std::uint32_t state = 12345;
       for (int i = 0; i < 100000; ++i) {
         state = state * 1103515245u + 12345u;
         bytes += static_cast<char>(state >> 24);
       }
       return bytes;
     },
     Outcome::kRefused, kInvalidDrawing},
    {"TenMegabyteSingleLine", [] { return std::string(10 << 20, 'x'); }, Outcome::kRefused,
     kInvalidDrawing},
    {"CarriageReturnsOnly",
     [] {
       std::string text = WorkedExample();
       for (char& c : text) {
         if (c == '\n') c = '\r';
       }
       return text;
     },
     Outcome::kRefused, kInvalidDrawing},
    {"MarkersOnly", [] { return DxfBuilder().Markers().Build(); }, Outcome::kRefused,
     kNothingUsable},
    {"NulBeforeEveryLineEnd",
     [] {
       std::string text;
       for (char c : WorkedExample()) {
         if (c == '\n') text += '\0';
         text += c;
       }
       return text;
     },
     Outcome::kRefused, kInvalidDrawing},
    {"NulTakesTheEntityNameOut",
     [] {
       std::string text = WorkedExample();
       text.replace(text.rfind("LINE\n"), 4, std::string("LINE\0", 5));
       return text;
     },
     Outcome::kRefused, kNothingUsable},

    // Line ends and long lines.
    {"MixedLineEnds",
     [] {
       const std::string lf = WorkedExample();
       std::string mixed;
       int line = 0;
       for (char c : lf) {
         if (c == '\n' && ++line % 2 == 0) mixed += '\r';
         mixed += c;
       }
       return mixed;
     },
     Outcome::kDone, kWorkedExampleHeader},
    {"NulEndsANumber", [] { return LineWith(std::string("135\0junk", 8), "1760"); }, Outcome::kDone,
     kWorkedExampleHeader},
    {"TenMegabyteLineBeforeTheDrawing",
     [] { return std::string(10 << 20, 'y') + "\n" + WorkedExample(); }, Outcome::kDone,
     kWorkedExampleHeader},
    {"ThousandCharacterText", [] { return WithText(std::string(1000, 'A')); }, Outcome::kDone,
     nullptr},
    {"Utf8Text",
     [] {
       return WithText(
           "Gr\xc3\xb6\xc3\x9f"
           "e \xe2\x82\xac 5\xc2\xb0");
     },
     Outcome::kDone, nullptr},
    {"Latin1Text",
     [] {
       return WithText(
           "Gr\xf6\xdf"
           "e 5\xb0 \xb1\xd8");
     },
     Outcome::kDone, nullptr},
    {"Utf8ShapeName", [] { return ShapeNamed("pfeil \xc3\xa4"); }, Outcome::kDone,
     "*18,11,PFEIL \xc3\xa4\n"},
    {"ControlCharactersInText",
     [] {
       return WithText(
           std::string("A\x01\x1a\x7f\x1b"
                       "B"));
     },
     Outcome::kDone, nullptr},

    // Numbers that no whole unit holds, and odd ones that do.
    {"Coordinate1e308", [] { return LineWith("1e308", "1760"); }, Outcome::kRefused,
     kNothingUsable},
    {"CoordinateMinus1e308", [] { return LineWith("135", "-1e308"); }, Outcome::kRefused,
     kNothingUsable},
    {"CoordinateInfinite", [] { return LineWith("inf", "1760"); }, Outcome::kRefused,
     kNothingUsable},
    {"CoordinateNan", [] { return LineWith("135", "nan"); }, Outcome::kRefused, kNothingUsable},
    {"CoordinateOverflowingExponent", [] { return LineWith("1e99999", "1760"); }, Outcome::kRefused,
     kNothingUsable},
    {"CoordinateJustPast16Bits", [] { return LineWith("32767.6", "1760"); }, Outcome::kRefused,
     kNothingUsable},
    {"CoordinateNegativeZero",
     [] { return DxfBuilder().Markers().Line(-0.0, 1880, 50, 1880).Build(); }, Outcome::kDone,
     "*1,11,SHAPE1\n"},
    {"TextHeightZero", [] { return TextOfHeight("0"); }, Outcome::kDone, nullptr},
    {"TextHeightNegative", [] { return TextOfHeight("-10"); }, Outcome::kDone, nullptr},
    {"TextHeightTenThousand", [] { return TextOfHeight("10000"); }, Outcome::kDone, nullptr},
    {"TextHeightNan", [] { return TextOfHeight("nan"); }, Outcome::kDone, nullptr},

    // Curves with radii and bulges out of the ordinary.
    {"CircleRadiusZero", [] { return CircleOfRadius("0"); }, Outcome::kRefused, kNothingUsable},
    {"CircleRadiusNegative", [] { return CircleOfRadius("-20"); }, Outcome::kRefused,
     kNothingUsable},
    {"CircleRadiusHuge", [] { return CircleOfRadius("1e300"); }, Outcome::kRefused, kNothingUsable},
    {"ArcRadiusZero", [] { return ArcOfRadius("0"); }, Outcome::kRefused, kNothingUsable},
    {"ArcRadiusNegative", [] { return ArcOfRadius("-30"); }, Outcome::kRefused, kNothingUsable},
    {"ArcRadiusHuge", [] { return ArcOfRadius("1e300"); }, Outcome::kRefused, kNothingUsable},
    {"ArcRadiusNan", [] { return ArcOfRadius("nan"); }, Outcome::kRefused, kNothingUsable},
    {"BulgeZero", [] { return BulgeOf("0"); }, Outcome::kDone, "*3,11,SHAPE3\n"},
    {"BulgePlusOne", [] { return BulgeOf("1"); }, Outcome::kDone, nullptr},
    {"BulgeMinusOne", [] { return BulgeOf("-1"); }, Outcome::kDone, nullptr},
    // Nearly a full turn through two points 40 units apart: a circle far bigger than a box.
    {"BulgePlus1e9", [] { return BulgeOf("1e9"); }, Outcome::kRefused, kNothingUsable},
    {"BulgeMinus1e9", [] { return BulgeOf("-1e9"); }, Outcome::kRefused, kNothingUsable},
    {"BulgeInfinite", [] { return BulgeOf("inf"); }, Outcome::kRefused, kNothingUsable},
    {"PolylineOfTenThousandVertices", [] { return VertexList(10000, false); }, Outcome::kDone,
     nullptr},
    {"LwPolylineOfTenThousandVertices", [] { return VertexList(10000, true); }, Outcome::kDone,
     nullptr},

    // Files that end in the middle of an entity: what was read of it counts.
    {"EndsInsideALineValue", TwoLinesCutInTheSecond, Outcome::kDone, kWorkedExampleHeader},
    {"EndsInsideATextAfterItsValueCode", TextCutAfterItsValueCode, Outcome::kDone, nullptr},
    {"EndsInsideAPointGroupCode", PointCutInItsGroupCode, Outcome::kDone, kWorkedExampleHeader},
    {"EndsInsideAnArc", ArcCutInItsEndAngle, Outcome::kDone, nullptr},
    {"EndsInsideACircle", CircleCutInItsRadius, Outcome::kDone, nullptr},
    {"EndsInsideAPolylineHeader", PolylineCutInItsHeader, Outcome::kRefused, kNothingUsable},
    {"EndsInsideAVertex", PolylineCutInAVertex, Outcome::kDone, nullptr},
    {"EndsInsideAnLwPolyline", LwPolylineCutInAVertex, Outcome::kDone, nullptr},

    // Limits.
    {"HundredThousandEntitiesInOneCell", [] { return LinesInCell241(100000); }, Outcome::kStopped,
     "Maximum number of shape entities exceeded!"},
    {"OneShapePastTheByteLimit", [] { return LinesInCell241(700); }, Outcome::kStopped,
     "Number of bytes 1993 for shape 241 exceeds limit!"},
    {"TextsTakeAShapePastTheByteLimitAtOnce", [] { return LongTextsInOneCell(3); },
     Outcome::kStopped, "exceeds limit!"},

    // Paths.
    {"InputIsItsOwnOutput", WorkedExample, Outcome::kRefused,
     "Cannot write the SHP file over its own drawing", Paths::kOutputIsInput},
    {"InputMissing", WorkedExample, Outcome::kRefused, "Error opening DXF file",
     Paths::kInputMissing},
    {"InputIsADirectory", WorkedExample, Outcome::kRefused, "Error opening DXF file",
     Paths::kInputIsDirectory},
    {"OutputFolderMissing", WorkedExample, Outcome::kRefused, "Error creating SHP file",
     Paths::kOutputFolderMissing},
    {"OutputIsADirectory", WorkedExample, Outcome::kRefused, "Error creating SHP file",
     Paths::kOutputIsDirectory},
    {"OutputReadOnly", WorkedExample, Outcome::kRefused, "Error creating SHP file",
     Paths::kOutputReadOnly},

    // The glyph file beside the program.
    {"GlyphFileMissingWithText", [] { return WithText("AB"); }, Outcome::kStopped,
     "SHPTXT.SHP file not found", Paths::kGlyphFileMissing},
    {"GlyphFileMissingWithoutText", WorkedExample, Outcome::kDone, kWorkedExampleHeader,
     Paths::kGlyphFileMissing},
    {"GlyphFileWithMalformedHeaders", [] { return WithText("ABC"); }, Outcome::kDone, nullptr,
     Paths::kGlyphFileGiven,
     "*\r\n*,\r\n*65\r\n8,(1,0),0\r\n*66,\r\n8,(1,0),0\r\n*x67,3,C\r\n1,2,0\r\n"
     "*67,-3,C\r\n1,2,0\r\n*67,99999999999,C\r\n1,2,0\r\n*+65,4,A\r\n8,(6,0),0\r\n"},
    {"GlyphFileWithCodesOver130", [] { return WithText("AB"); }, Outcome::kDone, nullptr,
     Paths::kGlyphFileGiven,
     "*131,4,X\r\n8,(6,0),0\r\n*255,4,Y\r\n8,(6,0),0\r\n*65601,4,Z\r\n8,(6,0),0\r\n*65,4,A\r\n"
     "8,(6,0),0\r\n"},
    {"GlyphFileWithA500CharacterBodyLine", [] { return WithText("AB"); }, Outcome::kDone, nullptr,
     Paths::kGlyphFileGiven,
     "*65,300,A\r\n"
     "8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),"
     "8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),"
     "8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),"
     "8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),"
     "8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),8,(1,0),"
     "0\r\n*66,4,B\r\n8,(6,0),0\r\n"},
    {"GlyphFileWithAnOverlongToken", [] { return WithText("AB"); }, Outcome::kDone, nullptr,
     Paths::kGlyphFileGiven,
     "*65,4,A\r\n8,(6,0),0\r\n*66,3,B\r\n"
     "88888888888888888888888888888888888888888888888888888888888888888888888888888888"
     "88888888888888888888,0\r\n",
     false},
    {"GlyphFileEmpty", [] { return WithText("AB"); }, Outcome::kDone, nullptr,
     Paths::kGlyphFileGiven, ""},
    {"GlyphFileWellFormed", [] { return WithText("AA"); }, Outcome::kDone, "*1,26,SHAPE1\n",
     Paths::kGlyphFileGiven, kGoodGlyphs},
};

// ---------------------------------------------------------------------------------------
// Checks shared by every row
// ---------------------------------------------------------------------------------------

// The header lines of a .shp file, each ended by "\n"; fails the test when a header's byte
// count differs from the bytes its body holds or the file is not laid out as written.
std::string CheckedHeaders(const std::string& shp, bool bodyIsShapeBytes) {
  std::string headers;
  EXPECT_FALSE(shp.empty());
  if (shp.empty()) return headers;
  EXPECT_EQ(shp.back(), '\x1a');
  std::string header;
  std::string body;
  auto checkShape = [&] {
    if (header.empty()) return;
    int number = 0;
    int byteCount = 0;
    EXPECT_EQ(std::sscanf(header.c_str(), "*%d,%d,", &number, &byteCount), 2) << header;
    EXPECT_LE(byteCount, kShapeByteLimit) << header;
    int tokens = 0;
    bool inToken = false;
    for (char c : body) {
      const bool separator = c == ',' || c == '(' || c == ')';
      if (!separator && !inToken) ++tokens;
      inToken = !separator;
    }
    EXPECT_EQ(tokens, byteCount) << header << "\n" << body;
    if (!bodyIsShapeBytes) return;
    const std::vector<std::int16_t> bytes = test::ShapeBytesOf(body);
    EXPECT_EQ(static_cast<int>(bytes.size()), byteCount) << header << "\n" << body;
    if (!bytes.empty()) {
      const DrawResult drawn = test::DrawBytes(bytes, 0, 0, 1);
      EXPECT_TRUE(drawn.ok) << header << ": " << (drawn.problem ? drawn.problem : "");
    }
  };
  std::size_t start = 0;
  while (start + 1 < shp.size()) {
    const std::size_t end = shp.find("\r\n", start);
    EXPECT_NE(end, std::string::npos);
    if (end == std::string::npos) break;
    const std::string line = shp.substr(start, end - start);
    if (!line.empty() && line[0] == '*') {  // a body holds numbers, commas and brackets
      checkShape();
      header = line;
      body.clear();
      headers += line + "\n";
    } else {
      body += line;
    }
    start = end + 2;
  }
  checkShape();
  return headers;
}

// Read-only is the write bits here, the read-only attribute on Windows.
void SetWritable(const std::filesystem::path& path, bool writable) {
  constexpr std::filesystem::perms kWrite = std::filesystem::perms::owner_write |
                                            std::filesystem::perms::group_write |
                                            std::filesystem::perms::others_write;
  std::filesystem::permissions(
      path, kWrite,
      writable ? std::filesystem::perm_options::add : std::filesystem::perm_options::remove);
}

std::set<std::string> FilesIn(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    names.insert(std::filesystem::relative(entry.path(), folder).string());
  }
  return names;
}

class BadInputCatalogueTest : public KorvexTest,
                              public ::testing::WithParamInterface<CatalogueRow> {
 protected:
  void SetUp() override {
    KorvexTest::SetUp();
    const CatalogueRow& row = GetParam();
    input_ = Scratch("in.dxf");
    output_ = Scratch("out.shp");
    std::filesystem::create_directories(Scratch("bin"));
    switch (row.setup) {
      case Paths::kInputMissing:
        input_ = Scratch("missing.dxf");
        break;
      case Paths::kInputIsDirectory:
        input_ = Scratch("folder.dxf");
        std::filesystem::create_directories(input_);
        break;
      case Paths::kOutputIsInput:
        output_ = input_;
        break;
      case Paths::kOutputFolderMissing:
        output_ = Scratch("no-such-folder") / "out.shp";
        break;
      case Paths::kOutputIsDirectory:
        output_ = Scratch("folder.shp");
        std::filesystem::create_directories(output_);
        break;
      case Paths::kGlyphFileGiven:
        WriteFileBytes(Scratch("bin") / kGlyphFileName, row.glyphFile);
        break;
      case Paths::kPlain:
      case Paths::kOutputReadOnly:
      case Paths::kGlyphFileMissing:
        break;
    }
    // The program's folder: the build's, or a scratch one for the glyph file rows, which
    // also get a copy of korvex-cli there, since the program looks beside itself.
    const bool ownProgramFolder =
        row.setup == Paths::kGlyphFileGiven || row.setup == Paths::kGlyphFileMissing;
    programFolder_ = ownProgramFolder ? Scratch("bin") : test::BinFolder();
    frontend_.executableFolder = programFolder_;
    if (ownProgramFolder) {
      std::filesystem::copy_file(test::BinFolder() / test::kCliFileName,
                                 Scratch("bin") / test::kCliFileName);
    }
    if (row.setup != Paths::kInputMissing && row.setup != Paths::kInputIsDirectory) {
      inputBytes_ = row.input();
      WriteFileBytes(input_, inputBytes_);
    }
  }

  // The read-only row is about a file that stands there already.
  bool OutputMustPreExist() const { return GetParam().setup == Paths::kOutputReadOnly; }

  // A file that may stand at the output path before the run and must survive a failed one.
  bool OutputCanPreExist() const {
    const Paths setup = GetParam().setup;
    return setup != Paths::kOutputIsInput && setup != Paths::kOutputFolderMissing &&
           setup != Paths::kOutputIsDirectory;
  }

  // One run, in this process or through korvex-cli; checks everything the row promises.
  void RunAndCheck(bool throughCli, bool outputExists) {
    const CatalogueRow& row = GetParam();
    SCOPED_TRACE(std::string(throughCli ? "korvex-cli" : "in process") +
                 (outputExists ? ", output existing" : ""));
    const std::string precious = "precious bytes\r\n\x1a";
    if (outputExists) WriteFileBytes(output_, precious);
    if (row.setup == Paths::kOutputReadOnly) SetWritable(output_, false);
    const std::set<std::string> filesBefore = FilesIn(scratch_);

    std::string shown;  // every message the run showed, when this side can see them
    if (throughCli) {
      const int status = RunCli();
      const int expectedStatus = row.outcome == Outcome::kDone      ? cli::kExitWritten
                                 : row.outcome == Outcome::kRefused ? cli::kExitNotWritten
                                                                    : platform::kExitStopped;
      EXPECT_EQ(status, expectedStatus) << cliErrors_;
      shown = cliErrors_;
    } else {
      frontend_.messages.clear();
      EXPECT_EQ(ConvertDrawing(input_, output_), row.outcome);
      for (const platform::RecordedMessage& message : frontend_.messages) {
        shown += message.text + "\n";
      }
    }

    if (row.outcome == Outcome::kDone) {
      const std::string shp = ReadFileBytes(output_);
      const std::string headers = CheckedHeaders(shp, row.bodyIsShapeBytes);
      if (row.expected != nullptr) {
        EXPECT_EQ(headers, row.expected);
      }
      std::set<std::string> filesAfter = FilesIn(scratch_);
      filesAfter.erase(output_.filename().string());
      std::set<std::string> expectedFiles = filesBefore;
      expectedFiles.erase(output_.filename().string());
      EXPECT_EQ(filesAfter, expectedFiles);  // no temporary file left
      std::filesystem::remove(output_);
    } else {
      EXPECT_NE(shown.find(row.expected), std::string::npos) << shown;
      EXPECT_EQ(FilesIn(scratch_), filesBefore);  // nothing created, nothing removed
      if (outputExists) {
        EXPECT_EQ(ReadFileBytes(output_), precious);
      }
    }
    if (row.setup != Paths::kInputMissing && row.setup != Paths::kInputIsDirectory) {
      EXPECT_EQ(ReadFileBytes(input_), inputBytes_);  // the input is never touched
    }
    if (row.setup == Paths::kOutputReadOnly) SetWritable(output_, true);
    if (OutputCanPreExist() && row.outcome != Outcome::kDone) {
      std::error_code error;
      std::filesystem::remove(output_, error);
    }
  }

  // korvex-cli convert, unattended (standard input closed), so every warning is answered No.
  // What it prints is caught beside the scratch folder, whose files the row checks.
  int RunCli() {
    const test::ProgramRun run =
        test::RunProgram(programFolder_ / test::kCliFileName, {"convert", input_, "-o", output_},
                         scratch_.parent_path() / (scratch_.filename().string() + ".run"));
    cliErrors_ = run.err;
    return run.status;
  }

  std::filesystem::path input_;
  std::filesystem::path output_;
  std::filesystem::path programFolder_;
  std::string inputBytes_;
  std::string cliErrors_;
};

TEST_P(BadInputCatalogueTest, HasItsOutcomeAndHarmsNoFile) {
  // The superuser may write a read-only file, so the row would prove nothing.
  if (GetParam().setup == Paths::kOutputReadOnly && test::ReadOnlyFilesAreWritable(scratch_)) {
    GTEST_SKIP() << "this user may write read-only files (root, or Wine run by root)";
  }
  if (!OutputMustPreExist()) RunAndCheck(false, false);
  if (OutputCanPreExist()) RunAndCheck(false, true);
  RunAndCheck(true, OutputCanPreExist());
}

INSTANTIATE_TEST_SUITE_P(Rows, BadInputCatalogueTest, ::testing::ValuesIn(kCatalogue),
                         [](const ::testing::TestParamInfo<CatalogueRow>& info) {
                           return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------------------
// Runs in one process: nothing of one drawing carries over into the next
// ---------------------------------------------------------------------------------------

struct CarryOverRow {
  const char* name;
  std::string before;  // converted first
  std::string after;   // must give what it gives alone
};

// In each "after" drawing the entity that lacks groups comes first, before anything of its
// own drawing could have given them a value; a line elsewhere makes the drawing usable.
const CarryOverRow kCarryOver[] = {
    {"LineWithoutItsEnd", DxfBuilder().Markers().Line(135, 1760, 215, 1760).Build(),
     DxfBuilder()
         .Raw("  0\nLINE\n 10\n150\n 20\n1770\n")
         .Line(20, 1830, 60, 1830)
         .Markers()
         .Build()},
    {"TextWithoutItsValueAndHeight", DxfBuilder().Text(20, 1900, 40, "Hello").Markers().Build(),
     DxfBuilder()
         .Raw("  0\nTEXT\n 10\n20\n 20\n1900\n")
         .Line(20, 1830, 60, 1830)
         .Markers()
         .Build()},
    {"ArcWithoutItsRadius",
     DxfBuilder().Raw("  0\nARC\n 10\n50\n 20\n1925\n 40\n30\n 50\n0\n 51\n90\n").Markers().Build(),
     DxfBuilder()
         .Raw("  0\nARC\n 10\n175\n 20\n1925\n 50\n0\n 51\n90\n")
         .Line(20, 1830, 60, 1830)
         .Markers()
         .Build()},
    {"CircleWithoutItsCentre",
     DxfBuilder().Raw("  0\nCIRCLE\n 10\n50\n 20\n1925\n 40\n20\n").Markers().Build(),
     DxfBuilder().Raw("  0\nCIRCLE\n 40\n20\n").Line(20, 1830, 60, 1830).Markers().Build()},
};

void PrintTo(const CarryOverRow& row, std::ostream* out) {
  *out << row.name;
}

class CarryOverTest : public KorvexTest, public ::testing::WithParamInterface<CarryOverRow> {};

TEST_P(CarryOverTest, SecondRunGivesWhatItsDrawingGivesAlone) {
  const CarryOverRow& row = GetParam();
  const std::string alone = Convert(row.after);
  Convert(row.before);
  EXPECT_EQ(Convert(row.after), alone);
}

INSTANTIATE_TEST_SUITE_P(Rows, CarryOverTest, ::testing::ValuesIn(kCarryOver),
                         [](const ::testing::TestParamInfo<CarryOverRow>& info) {
                           return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------------------
// Shape source text the interpreter must refuse (found by fuzzing)
// ---------------------------------------------------------------------------------------

struct ShapeNumberRow {
  const char* text;
  bool read;
  int value;
};

// A second sign must not make "--2820" a positive 2820.
const ShapeNumberRow kShapeNumbers[] = {
    {"100", true, 100}, {"--2820", false, 0}, {"+-5", false, 0}, {"-+5", false, 0},
    {"0FF", true, 255}, {"-0FF", true, -255}, {"", false, 0},    {"99999", false, 0},
};

TEST(ShapeNumberCatalogueTest, SignsAndHexadecimalReadOnceOrNotAtAll) {
  for (const ShapeNumberRow& row : kShapeNumbers) {
    SCOPED_TRACE(row.text);
    int value = 0;
    EXPECT_EQ(ReadSourceNumber(row.text, value), row.read);
    if (row.read) {
      EXPECT_EQ(value, row.value);
    }
  }
}

}  // namespace
}  // namespace korvex
