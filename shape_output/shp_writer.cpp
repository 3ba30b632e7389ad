#include "shape_output/shp_writer.h"

#include <charconv>
#include <cstring>

#include "platform/platform.h"
#include "shape_files/shp_layout.h"
#include "shape_output/glyph_library.h"
#include "shape_output/shape_encoder.h"
#include "sheet/cell_grid.h"
#include "sheet/entity_table.h"

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

}  // namespace

Outcome WriteShapes(std::FILE* output) {
  SortEntityKeys();
  if (Entities().textCaptured) {
    const Outcome glyphs = LoadGlyphs();
    if (glyphs != Outcome::kDone) return glyphs;
  }
  StartEncoderRun();
  StartShpOutput(output);
  EncodedShape shape;
  char number[8];
  for (int n = 1; n <= kMaxShapeNumber; ++n) {
    const EncodeResult encoded = EncodeShape(n, shape);
    if (encoded == EncodeResult::kStopped) return Outcome::kStopped;
    if (encoded == EncodeResult::kEmpty) continue;
    *std::to_chars(number, number + sizeof number - 1, n).ptr = '\0';
    if (!WriteShpHeader(number, shape.byteCount, shape.name) ||
        !WriteShpBody(shape.text, static_cast<std::size_t>(shape.length))) {
      return Outcome::kRefused;
    }
  }
  return FinishShpOutput() ? Outcome::kDone : Outcome::kRefused;
}

}  // namespace korvex
