// The files that ship with the program: the shape sheet template, the glyph font, and the
// example drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "conversion/conversion_run.h"
#include "dxf/dxf_reader.h"
#include "dxf/template_drawing.h"
#include "shape_files/shape_interpreter.h"
#include "shape_output/glyph_library.h"
#include "test_support.h"

namespace korvex {
namespace {

using test::KorvexTest;
using test::ReadFileBytes;

std::string TemplateBytes() {
  return ReadFileBytes(test::SourceFolder() / "Support" / "ShapesTemplate.dxf");
}

class SupportFilesTest : public KorvexTest {};

TEST_F(SupportFilesTest, TemplateUnchangedHoldsNoShape) {
  EXPECT_EQ(Convert(TemplateBytes()), "");
  ASSERT_EQ(frontend_.messages.size(), 2u);
  EXPECT_EQ(frontend_.MessageText(0),
            "No valid drawing entities found\nDraw your shapes in the boxes first");
}

TEST_F(SupportFilesTest, TemplateWithoutOrWithAMovedMarkerIsInvalid) {
  const std::string original = TemplateBytes();
  const std::string marker = std::string("\r\n") + kTemplateMarkerSecond + "\r\n";
  const std::size_t at = original.find(marker);
  ASSERT_NE(at, std::string::npos);

  std::string renamed = original;
  renamed.replace(at, marker.size(), "\r\nSOMETHING ELSE\r\n");
  EXPECT_EQ(Convert(renamed), "");
  EXPECT_EQ(frontend_.MessageText(0).rfind("Invalid input DXF file\n", 0), 0u);
}

TEST_F(SupportFilesTest, TemplateIsCompleteWithCrLfLines) {
  const std::string bytes = TemplateBytes();
  for (const char* section : {"HEADER", "TABLES", "BLOCKS", "ENTITIES"}) {
    EXPECT_NE(bytes.find(std::string("  0\r\nSECTION\r\n  2\r\n") + section + "\r\n"),
              std::string::npos)
        << section;
  }
  EXPECT_EQ(bytes.substr(bytes.size() - 10), "  0\r\nEOF\r\n");
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'),
            std::count(bytes.begin(), bytes.end(), '\r'));
}

// Every glyph of the font follows the rules the encoder relies on.
struct GlyphExtent {
  double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
};

void Extend(void* context, double x1, double y1, double x2, double y2) {
  GlyphExtent& extent = *static_cast<GlyphExtent*>(context);
  extent.minX = std::min({extent.minX, x1, x2});
  extent.maxX = std::max({extent.maxX, x1, x2});
  extent.minY = std::min({extent.minY, y1, y2});
  extent.maxY = std::max({extent.maxY, y1, y2});
}

TEST_F(SupportFilesTest, EveryGlyphKeepsTheFontsRules) {
  const std::filesystem::path path = test::SourceFolder() / "Support" / "SHPTXT.SHP";
  const std::string bytes = ReadFileBytes(path);
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "every line ends in CR LF";
    EXPECT_LE(end - start, 78u) << bytes.substr(start, end - start);
    EXPECT_EQ(bytes.substr(start, end - start).find('\n'), std::string::npos);
    start = end + 2;
  }

  std::FILE* file = platform::OpenFile(path, "rb");
  ASSERT_NE(file, nullptr);
  LoadGlyphIndex(file);
  std::fclose(file);
  for (int code = 32; code <= kMaxGlyphCode; ++code) {
    SCOPED_TRACE(code);
    const int byteCount = GlyphByteCount(code);
    ASSERT_GT(byteCount, 1) << "every printable character has a glyph";
    const std::string text = std::string(LookUpGlyph(code)) + "0";
    const std::vector<std::int16_t> glyphBytes = test::ShapeBytesOf(text);
    ASSERT_EQ(static_cast<int>(glyphBytes.size()), byteCount)
        << "the header counts the body's bytes";

    GlyphExtent extent;
    const DrawResult result = test::DrawBytes(glyphBytes, 0, 0, 1, Extend, &extent);
    ASSERT_TRUE(result.ok) << result.problem;
    EXPECT_EQ(result.penY, 0) << "the next character begins on the base line";
    EXPECT_FALSE(result.penDown) << "the move to the next character is not drawn";
    if (code == ' ') continue;
    EXPECT_GE(extent.minX, 0);
    EXPECT_GT(result.penX, extent.maxX) << "the next character begins after this one";
    EXPECT_GE(extent.minY, -2);
    EXPECT_LE(extent.maxY, 6);
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) {
      EXPECT_EQ(extent.minY, 0);
      EXPECT_EQ(extent.maxY, 6) << "capitals and digits are 6 units high";
    }
  }
}

// Every header's byte count equals the bytes of its body, as the compiler checks.
void ExpectConsistentShapes(const std::string& shp) {
  ASSERT_FALSE(shp.empty());
  ASSERT_EQ(shp.back(), '\x1a');
  std::size_t start = 0;
  int shapes = 0;
  while (start < shp.size() - 1) {
    const std::size_t headerEnd = shp.find("\r\n", start);
    const std::string header = shp.substr(start, headerEnd - start);
    ASSERT_EQ(header[0], '*') << header;
    const int declared = std::stoi(header.substr(header.find(',') + 1));
    std::size_t next = shp.find("\r\n*", headerEnd);
    if (next == std::string::npos) next = shp.size() - 3;
    std::string body = shp.substr(headerEnd + 2, next - headerEnd - 2);
    body.erase(std::remove(body.begin(), body.end(), '\r'), body.end());
    body.erase(std::remove(body.begin(), body.end(), '\n'), body.end());
    EXPECT_EQ(static_cast<int>(test::ShapeBytesOf(body).size()), declared) << header;
    ++shapes;
    start = next + 2;
  }
  EXPECT_GE(shapes, 10);
}

TEST_F(SupportFilesTest, ExampleDrawingConvertsWithConsistentByteCounts) {
  const std::string shp = Convert(ReadFileBytes(test::SourceFolder() / "examples" / "shapes.dxf"));
  ExpectConsistentShapes(shp);
  for (const char* name : {"*1,", ",ARROW\r\n", ",SQUARE-X\r\n", ",NORTH\r\n", ",SHAPE6\r\n"}) {
    EXPECT_NE(shp.find(name), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace korvex
