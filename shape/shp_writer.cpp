#include "shape/shp_writer.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "core/cell_grid.h"
#include "core/entity_table.h"
#include "platform/platform.h"
#include "shape/glyph_library.h"
#include "shape/shape_encoder.h"

namespace korvex {
namespace {

// The output's bytes are exact on every platform: the line end is written here, never
// left to a text-mode stream.
bool WriteLine(std::FILE* output, const char* line, std::size_t length) {
  return std::fwrite(line, 1, length, output) == length && std::fwrite("\r\n", 1, 2, output) == 2;
}

bool WriteHeader(std::FILE* output, int n, const EncodedShape& shape) {
  char line[kWriterLineCapacity];
  char* p = line;
  char* const end = line + sizeof line;
  *p++ = '*';
  p = std::to_chars(p, end, n).ptr;
  *p++ = ',';
  p = std::to_chars(p, end, shape.byteCount).ptr;
  *p++ = ',';
  const std::size_t nameLength = std::strlen(shape.name);
  std::memcpy(p, shape.name, nameLength);
  p += nameLength;
  return WriteLine(output, line, static_cast<std::size_t>(p - line));
}

// Every comma counts for the cut, so a line may end inside a parenthesised group.
bool WriteBody(std::FILE* output, const char* text) {
  char line[kWriterLineCapacity];
  std::size_t length = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    line[length++] = *c;
    if ((*c == ',' && length >= kBodyLineCut) || length == sizeof line) {
      if (!WriteLine(output, line, length)) return false;
      length = 0;
    }
  }
  return length == 0 || WriteLine(output, line, length);
}

// The glyph file lies beside the program, never in the current folder.
bool LoadGlyphs() {
  const std::filesystem::path folder = platform::ExecutableFolder();
  if (folder.empty()) {
    platform::ShowMessage("Cannot locate KORVEX support file!\nReinstall Software.",
                          platform::kMessageOk);
    return false;
  }
  std::error_code error;
  const std::filesystem::path glyphPath = folder / kGlyphFileName;
  std::FILE* file = std::filesystem::is_regular_file(glyphPath, error)
                        ? platform::OpenFile(glyphPath, "rb")
                        : nullptr;
  if (file == nullptr) {
    platform::ShowMessage("SHPTXT.SHP file not found\nTry Reinstalling KorvexExiting program!",
                          platform::kMessageOk);
    platform::EndProcess(platform::kExitStopped);
  }
  LoadGlyphIndex(file);
  std::fclose(file);
  return true;
}

}  // namespace

// Each key is shapeNumber * 100000 + its own index, and the keys stand in index order, so
// distributing them by shape number, keeping their order, sorts them in one linear pass.
void SortEntityKeys() {
  static std::int32_t shapeStart[kMaxShapeNumber + 2];
  static std::int32_t sorted[kMaxRecords];
  std::fill(shapeStart, shapeStart + kMaxShapeNumber + 2, 0);
  for (std::int32_t i = 0; i < entityTotal; ++i) ++shapeStart[entityKeys[i] / kKeyShapeFactor + 1];
  for (int n = 1; n <= kMaxShapeNumber + 1; ++n) shapeStart[n] += shapeStart[n - 1];
  for (std::int32_t i = 0; i < entityTotal; ++i) {
    sorted[shapeStart[entityKeys[i] / kKeyShapeFactor]++] = entityKeys[i];
  }
  std::copy(sorted, sorted + entityTotal, entityKeys);
}

bool WriteShapes(std::FILE* output) {
  SortEntityKeys();
  if (textCaptured && !LoadGlyphs()) return false;
  StartEncoderRun();
  EncodedShape shape;
  for (int n = 1; n <= kMaxShapeNumber; ++n) {
    if (!EncodeShape(n, shape)) continue;
    if (!WriteHeader(output, n, shape) || !WriteBody(output, shape.text)) return false;
  }
  return std::fputc(0x1A, output) != EOF;
}

}  // namespace korvex
