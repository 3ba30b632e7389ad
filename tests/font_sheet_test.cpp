// Text fonts drawn on the font sheet: the sheet itself, a font of letters and digits drawn on
// it stroke by stroke and compiled, and the text that font sets.
#include "sheet/font_sheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "conversion/compiled_conversion.h"
#include "conversion/conversion_run.h"
#include "conversion/sheet_run.h"
#include "shape_files/shx_file.h"
#include "shape_files/source_shape_drawing.h"
#include "sheet/cell_grid.h"
#include "test_support.h"

namespace korvex {
namespace {

constexpr char kSample[] = "The quick brown fox jumps over the lazy dog 0123456789";
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz";

// A LINE in the sheet's own line ends.
std::string LineEntity(double x1, double y1, double x2, double y2) {
  char text[256];
  std::snprintf(text, sizeof text,
                "  0\r\nLINE\r\n  8\r\nSHAPES\r\n 10\r\n%.6f\r\n 20\r\n%.6f\r\n 30\r\n0.0\r\n"
                " 11\r\n%.6f\r\n 21\r\n%.6f\r\n 31\r\n0.0\r\n",
                x1, y1, x2, y2);
  return text;
}

// The strokes of a glyph drawn into its cell as LINEs, from the font sheet's baseline.
struct GlyphPen {
  std::string entities;
};

void AddLineEntity(void* context, double x1, double y1, double x2, double y2) {
  static_cast<GlyphPen*>(context)->entities += LineEntity(x1, y1, x2, y2);
}

struct Box {
  double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
  bool empty = true;
};

void Extend(void* context, double x1, double y1, double x2, double y2) {
  Box& box = *static_cast<Box*>(context);
  box.minX = std::min({box.minX, x1, x2});
  box.maxX = std::max({box.maxX, x1, x2});
  box.minY = std::min({box.minY, y1, y2});
  box.maxY = std::max({box.maxY, y1, y2});
  box.empty = false;
}

class FontSheetTest : public test::KorvexTest {
 protected:
  void SetUp() override {
    KorvexTest::SetUp();
    glyphs_ = std::make_unique<ShapeSource>();
    font_ = std::make_unique<ShapeSource>();
  }

  // A new font sheet with the letters and digits drawn in it: the strokes of this program's
  // own text glyphs (6 units high), ten drawing units to a unit, so that the capitals reach
  // from the baseline to the cap line.
  std::filesystem::path DrawnFontSheet() {
    const std::filesystem::path sheet = Scratch("font.dxf");
    EXPECT_EQ(WriteFontSheet(sheet, false), Outcome::kDone);
    SourceProblemList problems;
    EXPECT_TRUE(
        ReadShapeSourceFile(test::SourceFolder() / "Support" / "SHPTXT.SHP", *glyphs_, problems));
    GlyphPen pen;
    for (const char* set :
         {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz", "0123456789"}) {
      for (const char* c = set; *c != '\0'; ++c) {
        const SourceShape* glyph = glyphs_->Find(*c);
        EXPECT_NE(glyph, nullptr) << *c;
        if (glyph == nullptr) continue;
        const CellBox box = CellBoxOf(*c);
        DrawSourceShape(*glyphs_, *glyph, box.left, box.bottom + kFontBaseline,
                        kFontCapHeight / 6.0, AddLineEntity, &pen);
      }
    }
    std::string text = test::ReadFileBytes(sheet);
    const std::size_t end = text.rfind("  0\r\nENDSEC\r\n");
    EXPECT_NE(end, std::string::npos);
    text.insert(end, pen.entities);
    test::WriteFileBytes(sheet, text);
    return sheet;
  }

  // Reads the compiled font into the font table.
  void ReadFont(const std::filesystem::path& file) {
    SourceProblemList problems;
    ShapeFileForm form;
    ASSERT_TRUE(ReadShapeFile(file, *font_, problems, form));
    EXPECT_EQ(form, ShapeFileForm::kShapes11);
  }

  struct SetCharacter {
    char c;
    double originX;  // where it starts on the line
    Box box;         // what it draws
  };

  // Sets the text with the font at the height, as a CAD program does: each glyph drawn
  // where the one before it left the pen, vector lengths scaled by height / above.
  std::vector<SetCharacter> SetText(const char* text, double height) {
    const SourceShape* description = font_->Find(0);
    EXPECT_NE(description, nullptr);
    const double scale = height / font_->BytesOf(*description)[0];
    std::vector<SetCharacter> set;
    double x = 0;
    for (const char* c = text; *c != '\0'; ++c) {
      const SourceShape* glyph = font_->Find(static_cast<unsigned char>(*c));
      EXPECT_NE(glyph, nullptr) << "no glyph for '" << *c << "'";
      if (glyph == nullptr) continue;
      SetCharacter character{*c, x, {}};
      const DrawResult drawn = DrawSourceShape(*font_, *glyph, x, 0, scale, Extend, &character.box);
      EXPECT_TRUE(drawn.ok) << *c;
      // One baseline: every glyph leaves the pen on it, further on.
      EXPECT_NEAR(drawn.penY, 0, 1e-9) << "'" << *c << "' leaves the baseline";
      EXPECT_GT(drawn.penX, x) << "'" << *c << "' does not move on";
      x = drawn.penX;
      set.push_back(character);
    }
    return set;
  }

  std::unique_ptr<ShapeSource> glyphs_;
  std::unique_ptr<ShapeSource> font_;
};

TEST_F(FontSheetTest, TheFontSheetReadsAsTheTemplateWithItsGuidesNeverConverted) {
  const std::filesystem::path sheet = Scratch("font.dxf");
  ASSERT_EQ(WriteFontSheet(sheet, false), Outcome::kDone);
  const std::string text = test::ReadFileBytes(sheet);
  // Cell 65 shows its character, A, on the label layer the reader passes over.
  const CellBox a = CellBoxOf('A');
  char label[128];
  std::snprintf(label, sizeof label, "TEXT\r\n  8\r\nID\r\n 62\r\n     3\r\n 10\r\n%d.0\r\n",
                a.right - 14);
  EXPECT_NE(text.find(label), std::string::npos);
  EXPECT_NE(text.find("\r\nA\r\n"), std::string::npos);
  // 255 baselines and cap lines, and nothing of them becomes a shape: the sheet is empty.
  std::size_t guides = 0;
  for (std::size_t at = text.find("GUIDE\r\n"); at != std::string::npos;
       at = text.find("GUIDE\r\n", at + 1)) {
    ++guides;
  }
  EXPECT_EQ(guides, 2u * 255u);
  EXPECT_EQ(ConvertFontDrawing(sheet, Scratch("font.shp"), "EMPTY"), Outcome::kRefused);
  ASSERT_FALSE(frontend_.messages.empty());
  EXPECT_EQ(frontend_.messages.front().text,
            "No valid drawing entities found\nDraw your shapes in the boxes first");
  // An existing drawing is kept unless it may be replaced.
  EXPECT_EQ(WriteFontSheet(sheet, false), Outcome::kRefused);
  EXPECT_EQ(test::ReadFileBytes(sheet), text);
}

TEST_F(FontSheetTest, AFontDrawnOnTheSheetSetsTextOnOneBaselineWithoutOverlapping) {
  const std::filesystem::path sheet = DrawnFontSheet();
  const std::filesystem::path compiled = Scratch("font.shx");
  ASSERT_EQ(ConvertDrawingToShx(sheet, compiled, {}, false, nullptr, "KORVEX TEST"),
            Outcome::kDone);
  ReadFont(compiled);
  const SourceShape* description = font_->Find(0);
  ASSERT_NE(description, nullptr);
  EXPECT_STREQ(description->name, "KORVEX TEST");
  const std::int16_t* header = font_->BytesOf(*description);
  ASSERT_EQ(description->byteCount, 4);
  EXPECT_EQ(header[0], kFontCapHeight);  // above: capitals from the baseline to the cap line
  EXPECT_EQ(header[1], kFontBaseline);   // below: descenders to the box's bottom edge
  EXPECT_EQ(header[2], 0);
  ASSERT_NE(font_->Find(10), nullptr);  // the line feed and the space, provided
  ASSERT_NE(font_->Find(32), nullptr);

  for (const double height : {2.5, 10.0, 100.0}) {
    SCOPED_TRACE(height);
    for (const char* text : {kSample, kAlphabet}) {
      const std::vector<SetCharacter> set = SetText(text, height);
      const SetCharacter* previous = nullptr;
      for (const SetCharacter& character : set) {
        if (character.box.empty) continue;  // the space
        // Letters do not overlap: each starts right of the one before it, on its own.
        if (previous != nullptr) {
          EXPECT_GT(character.box.minX, previous->box.maxX)
              << "'" << character.c << "' overlaps '" << previous->c << "'";
        }
        EXPECT_GE(character.box.minX, character.originX - 1e-9) << character.c;
        if (character.c >= 'A' && character.c <= 'Z') {
          // Capitals stand on the baseline and are as tall as the text.
          EXPECT_NEAR(character.box.maxY, height, height * 1e-6) << character.c;
          if (character.c != 'Q') {
            EXPECT_NEAR(character.box.minY, 0, height * 1e-6) << character.c;
          }
        }
        EXPECT_GE(character.box.minY, -height * kFontBaseline / kFontCapHeight - 1e-9)
            << character.c;
        previous = &character;
      }
    }
  }
}

// A font this program wrote, drawn back on a font sheet and converted again, comes back byte
// for byte, its description and provided line feed and space with it.
TEST_F(FontSheetTest, AFontComesBackFromItsSheetByteForByte) {
  const std::filesystem::path sheet = DrawnFontSheet();
  const std::filesystem::path written = Scratch("font.shp");
  ASSERT_EQ(ConvertFontDrawing(sheet, written, "KORVEX TEST"), Outcome::kDone);
  const std::filesystem::path again = Scratch("again.dxf");
  ASSERT_EQ(WriteShapeSheet(written, again), Outcome::kDone);
  const std::filesystem::path back = Scratch("back.shp");
  ASSERT_EQ(ConvertFontDrawing(again, back, "KORVEX TEST"), Outcome::kDone);
  EXPECT_EQ(test::ReadFileBytes(back), test::ReadFileBytes(written));
}

TEST_F(FontSheetTest, AFontsNameMustBeOneASourceFileCanHold) {
  const std::filesystem::path sheet = DrawnFontSheet();
  for (const char* name : {"", " LEADING", "TRAILING ", "SEMI;COLON", "LINE\nFEED",
                           "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJ"}) {
    SCOPED_TRACE(name);
    frontend_.messages.clear();
    EXPECT_EQ(ConvertFontDrawing(sheet, Scratch("font.shp"), name), Outcome::kRefused);
    EXPECT_FALSE(std::filesystem::exists(Scratch("font.shp")));
    ASSERT_EQ(frontend_.messages.size(), 1u);
    EXPECT_NE(frontend_.messages[0].text.find("cannot name a font"), std::string::npos);
  }
}

}  // namespace
}  // namespace korvex
