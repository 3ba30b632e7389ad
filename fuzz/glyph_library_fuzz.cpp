// Fuzz target: the glyph file loader and lookup, given any file as SHPTXT.SHP.
//
// Beyond "no crash, no sanitizer report", it checks the library's bounds: every glyph's
// text stays within its capacity and parses as shape bytes, no token is longer than the
// cut, and lookups outside the codes give the empty glyph.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "fuzz/fuzz_frontend.h"
#include "shape_files/shp_source.h"
#include "shape_files/source_shape_drawing.h"
#include "shape_output/glyph_library.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static korvex::fuzzing::QuietFrontend frontend;
  korvex::platform::InstallFrontend(frontend);
  const std::filesystem::path path = korvex::fuzzing::FuzzScratchFolder() / "SHPTXT.SHP";
  std::FILE* file = korvex::platform::OpenFile(path, "w+b");
  KORVEX_FUZZ_CHECK(file != nullptr);
  KORVEX_FUZZ_CHECK(size == 0 || std::fwrite(data, 1, size, file) == size);
  KORVEX_FUZZ_CHECK(std::fflush(file) == 0);
  // False after "Error finding text definition": the run would stop there.
  korvex::LoadGlyphIndex(file);
  std::fclose(file);

  static korvex::ShapeSource source;
  static korvex::SourceProblemList problems;
  for (int code = -2; code <= 260; ++code) {
    const char* glyph = korvex::LookUpGlyph(code);
    const std::size_t length = std::strlen(glyph);
    KORVEX_FUZZ_CHECK(length < static_cast<std::size_t>(korvex::kGlyphTextCapacity));
    KORVEX_FUZZ_CHECK(korvex::GlyphByteCount(code) >= 1);
    if (code < 0 || code > korvex::kMaxGlyphCode) {
      KORVEX_FUZZ_CHECK(length == 0 && korvex::GlyphByteCount(code) == 1);
      continue;
    }
    // Tokens end in a comma each and are cut to their longest length.
    KORVEX_FUZZ_CHECK(length == 0 || glyph[length - 1] == ',');
    std::size_t token = 0;
    int tokens = 0;
    for (std::size_t i = 0; i < length; ++i) {
      token = glyph[i] == ',' ? 0 : token + 1;
      if (glyph[i] == ',') ++tokens;
      KORVEX_FUZZ_CHECK(token <= static_cast<std::size_t>(korvex::kMaxTokenLength));
    }
    // The bytes a glyph adds to a shape are the tokens it holds and the pen-down after it.
    KORVEX_FUZZ_CHECK(korvex::GlyphByteCount(code) == tokens + 1);
    // The interpreter takes whatever the library holds.
    problems.Clear();
    korvex::ReadShapeSource("*1,1,GLYPH\n" + std::string(glyph) + "0\n", source, problems);
    if (source.shapeCount == 1) {
      korvex::DrawSourceShape(source, source.shapes[0], 0, 0, 1, nullptr, nullptr);
    }
  }
  return 0;
}
