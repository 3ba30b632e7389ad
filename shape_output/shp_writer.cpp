#include "shape_output/shp_writer.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "shape_files/shp_layout.h"
#include "shape_output/glyph_library.h"
#include "shape_output/shape_encoder.h"
#include "sheet/cell_grid.h"
#include "sheet/entity_table.h"
#include "sheet/font_sheet.h"

namespace korvex {
namespace {

// The glyph file lies beside the program, never in the current folder.
Outcome LoadGlyphs() {
  const std::filesystem::path folder = platform::ExecutableFolder();
  if (folder.empty()) {
    platform::ShowMessage("Cannot locate KORVEX support file!\nReinstall Software.",
                          platform::kMessageOk);
    return Outcome::kRefused;
  }
  std::error_code error;
  const std::filesystem::path glyphPath = folder / kGlyphFileName;
  std::FILE* file = std::filesystem::is_regular_file(glyphPath, error)
                        ? platform::OpenFile(glyphPath, "rb")
                        : nullptr;
  if (file == nullptr) {
    platform::ShowMessage("SHPTXT.SHP file not found\nTry Reinstalling KorvexExiting program!",
                          platform::kMessageOk);
    return Outcome::kStopped;
  }
  const bool loaded = LoadGlyphIndex(file);
  std::fclose(file);
  return loaded ? Outcome::kDone : Outcome::kStopped;
}

bool WriteFontDescription(const char* fontName) {
  const FontSettings& font = Entities().fontSettings;
  char body[32];
  const int length =
      std::snprintf(body, sizeof body, "%d,%d,%d,0", font.above, font.below, font.modes);
  return WriteShpHeader("0", 4, fontName) &&
         WriteShpBody(body, static_cast<std::size_t>(length > 0 ? length : 0));
}

// A glyph of pen-up moves alone, each within a vector's byte.
bool WriteMoveGlyph(const char* number, const char* name, int dx, int dy) {
  char body[kWriterLineCapacity * 4];
  int length = 0;
  int bytes = 1;
  while ((dx != 0 || dy != 0) && length < static_cast<int>(sizeof body) - 24) {
    const int stepX = std::clamp(dx, -127, 127);
    const int stepY = std::clamp(dy, -127, 127);
    length += std::snprintf(body + length, sizeof body - static_cast<std::size_t>(length),
                            "2,8,(%d,%d),", stepX, stepY);
    bytes += 4;
    dx -= stepX;
    dy -= stepY;
  }
  body[length++] = '0';
  return WriteShpHeader(number, bytes, name) &&
         WriteShpBody(body, static_cast<std::size_t>(length));
}

}  // namespace

Outcome WriteShapes(std::FILE* output, const char* fontName) {
  SortEntityKeys();
  if (Entities().textCaptured) {
    const Outcome glyphs = LoadGlyphs();
    if (glyphs != Outcome::kDone) return glyphs;
  }
  const bool font = fontName != nullptr;
  StartEncoderRun(font);
  StartShpOutput(output);
  if (font && !WriteFontDescription(fontName)) return Outcome::kRefused;
  const int above = Entities().fontSettings.above;
  EncodedShape shape;
  char number[8];
  for (int n = 1; n <= kMaxShapeNumber; ++n) {
    const EncodeResult encoded = EncodeShape(n, shape);
    if (encoded == EncodeResult::kStopped) return Outcome::kStopped;
    *std::to_chars(number, number + sizeof number - 1, n).ptr = '\0';
    if (encoded == EncodeResult::kEmpty) {
      bool written = true;
      if (font && n == kLineFeedCode) {
        written = WriteMoveGlyph(number, "LF", 0, -FontLineFeed(above));
      } else if (font && n == kSpaceCode) {
        written = WriteMoveGlyph(number, "SPACE", FontSpace(above), 0);
      }
      if (!written) return Outcome::kRefused;
      continue;
    }
    if (!WriteShpHeader(number, shape.byteCount, shape.name) ||
        !WriteShpBody(shape.text, static_cast<std::size_t>(shape.length))) {
      return Outcome::kRefused;
    }
  }
  return FinishShpOutput() ? Outcome::kDone : Outcome::kRefused;
}

}  // namespace korvex
