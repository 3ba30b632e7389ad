// MTEXT: the plain text of its formatted text, and a one-line MTEXT placed by the TEXT rules:
// the same bytes as the TEXT of that plain text on the MTEXT's base line.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "conversion/conversion_run.h"
#include "curve_drawing.h"
#include "dxf/mtext_capture.h"
#include "round_trip_support.h"
#include "sheet/left_out_table.h"
#include "test_support.h"

namespace korvex {
namespace {

using test::AddMtext;
using test::DxfBuilder;
using test::DxfStyle;

struct PlainCase {
  const char* raw;
  const char* plain;
  int lines;
};

const PlainCase kPlainCases[] = {
    {"Hello", "Hello", 1},
    {"{\\fArial|b0|i0|c0|p34;Hello}", "Hello", 1},
    {"\\H2.5;Big \\W0.8;narrow", "Big narrow", 1},
    {"\\H2.5x;Big", "Big", 1},
    {"A\\PB", "A", 2},
    {"A\\P", "A", 1},
    {"\\PA", "A", 1},
    {"x\\P  \\Py", "x", 2},
    {"one^Jtwo", "one", 2},
    {"\\LUnder\\l \\OOver\\o \\KStrike\\k", "Under Over Strike", 1},
    {"a\\~b", "a b", 1},
    {"\\\\ \\{ \\}", "\\ { }", 1},
    {"\\S1/2; and \\S3^4; \\S5#6;", "1/2 and 3/4 5/6", 1},
    {"45\\U+00B0 \\U+00B1\\U+2205", "45\x7F \x80\x81", 1},
    {"\\C1;red\\c16711680;", "red", 1},
    {"\\pxqc;centred \\A1;mid \\Q15;slant \\T2;track", "centred mid slant track", 1},
    {"tab^Ihere", "tab here", 1},
    {"%%d and %%p", "%%d and %%p", 1},
    {"   ", "", 0},
    {"", "", 0},
    {"\\fArial unterminated", "", 0},
};

TEST(MtextPlainTextTest, FormattingCodesAreRemoved) {
  for (const PlainCase& c : kPlainCases) {
    SCOPED_TRACE(c.raw);
    char plain[64];
    int lines = -1;
    const int length =
        PlainMtextText(c.raw, static_cast<int>(std::strlen(c.raw)), plain, sizeof plain, lines);
    EXPECT_STREQ(plain, c.plain);
    EXPECT_EQ(length, static_cast<int>(std::strlen(c.plain)));
    EXPECT_EQ(lines, c.lines);
  }
}

TEST(MtextPlainTextTest, ALongTextIsCutButMeasuredWhole) {
  const std::string raw = "{\\fArial;" + std::string(50, 'x') + "}";
  char plain[kTextCapacity];
  int lines = 0;
  EXPECT_EQ(PlainMtextText(raw.data(), static_cast<int>(raw.size()), plain, sizeof plain, lines),
            50);
  EXPECT_EQ(std::strlen(plain), sizeof plain - 1);
  EXPECT_EQ(lines, 1);
}

class MtextCaptureTest : public test::KorvexTest {
 protected:
  std::mt19937 random_{1536};
  int Whole(int from, int to) { return std::uniform_int_distribution<int>(from, to)(random_); }

  // A plain text dressed in formatting codes that draw nothing of their own.
  std::string Formatted(const std::string& plain) {
    static const char* const kCodes[] = {"\\fArial|b1|i0|c0|p34;",
                                         "\\H1.2x;",
                                         "\\W0.9;",
                                         "\\C3;",
                                         "\\L",
                                         "\\l",
                                         "\\Q12;",
                                         "\\T1.1;",
                                         "{"};
    std::string raw;
    int open = 0;
    for (const char c : plain) {
      if (Whole(0, 3) == 0) {
        const char* code = kCodes[Whole(0, 8)];
        raw += code;
        if (std::strcmp(code, "{") == 0) ++open;
      }
      if (c == ' ' && Whole(0, 1) == 0) {
        raw += "\\~";
      } else {
        raw += c;
      }
    }
    raw.append(static_cast<std::size_t>(open), '}');
    // A break at the end holds nothing: still one line.
    if (Whole(0, 3) == 0) raw += "\\P";
    return raw;
  }
};

// Names in the name band and strokes inside a box, at every attachment's row: the same bytes
// as the TEXT of the plain text on the MTEXT's base line.
TEST_F(MtextCaptureTest, OneLineMtextFollowsTheTextRules) {
  static const char* const kWords[] = {"AB", "Valve 2", "N", "x-1", "PUMP STATION", "30 kW"};
  for (const DxfStyle style : {DxfStyle::kR12, DxfStyle::kR2000}) {
    DxfBuilder mtext;
    DxfBuilder text;
    mtext.Markers();
    text.Markers();
    for (int n = 1; n <= 40; ++n) {
      const test::Point corner = test::CornerOf(n);
      const std::string plain = kWords[Whole(0, 5)];
      const double height = Whole(4, 12);
      const bool name = n % 3 == 0;
      // The base line: in the name band, or inside the box.
      const double baseY = name ? corner.y + kCellBoxSize + 5 : corner.y + Whole(10, 80);
      const double x = corner.x + Whole(2, 40);
      const int attachment = 1 + 3 * Whole(0, 2) + Whole(0, 2);
      const int row = (attachment - 1) / 3;
      const double y = row == 0 ? baseY + height : row == 1 ? baseY + height / 2 : baseY;
      AddMtext(mtext, style, x, y, height, Formatted(plain), attachment);
      text.Text(x, baseY, height, plain);
    }
    const std::string expected = Convert(text.Build());
    ASSERT_FALSE(expected.empty());
    ResetConversionTables();
    EXPECT_EQ(Convert(mtext.Build()), expected);
    EXPECT_EQ(LeftOut().total, 0);
    ResetConversionTables();
  }
}

// Long texts come in several groups and lines longer than the reader's line buffer: the
// whole of it is read, its formatting removed, its plain text cut to 30 and noted.
TEST_F(MtextCaptureTest, LongTextsAreReadWhole) {
  const std::string font = "\\f" + std::string(300, 'F') + ";";
  DxfBuilder drawing;
  drawing.Markers();
  AddMtext(drawing, DxfStyle::kR2000, 140, 1780, 8, font + "{Hi there}");
  AddMtext(drawing, DxfStyle::kR2000, 140, 1760, 8, font + std::string(40, 'k'));
  DxfBuilder twin;
  twin.Markers().Text(140, 1772, 8, "Hi there").Text(140, 1752, 8, std::string(30, 'k'));
  const std::string expected = Convert(twin.Build());
  ResetConversionTables();
  ASSERT_EQ(ConvertDrawing(Drawing(drawing.Build()), Scratch("out.shp"), true), Outcome::kDone);
  EXPECT_EQ(test::ReadFileBytes(Scratch("out.shp")), expected);
  ASSERT_EQ(LeftOut().kept, 1);
  EXPECT_EQ(LeftOut().entries[0].reason, LeftOutReason::kTextCut);
}

// Cell numbers on the layer ID are the template's; an embedded object's groups after group
// 101 are not the text's position.
TEST_F(MtextCaptureTest, TheTemplatesAndEmbeddedGroupsAreNotTheTexts) {
  DxfBuilder drawing;
  drawing.Markers().Line(10, 10, 90, 10);
  AddMtext(drawing, DxfStyle::kR2000, 140, 1780, 8, "12", 1, "ID");
  AddMtext(drawing, DxfStyle::kR2000, 140, 1780, 8, "Hi", 7);
  drawing.Group(101, "Embedded Object").Group(70, "1").Group(10, 900.0).Group(20, 900.0);
  drawing.Group(40, 50.0);
  DxfBuilder twin;
  twin.Markers().Line(10, 10, 90, 10).Text(140, 1780, 8, "Hi");
  const std::string expected = Convert(twin.Build());
  ResetConversionTables();
  EXPECT_EQ(Convert(drawing.Build()), expected);
  EXPECT_EQ(LeftOut().total, 0);
}

}  // namespace
}  // namespace korvex
