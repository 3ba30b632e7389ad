// Fuzz target: the shape interpreter, with the shapes of shape source text (as the source
// reader takes them) and with raw byte values, each drawn through a sink that checks every
// stroke it receives.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_frontend.h"
#include "shape_files/shape_interpreter.h"
#include "shape_files/shp_source.h"
#include "shape_files/source_shape_drawing.h"

namespace {

struct StrokeCount {
  long strokes = 0;
};

void CountStroke(void* context, double, double, double, double) {
  ++static_cast<StrokeCount*>(context)->strokes;
}

// Each byte draws a bounded number of chords: at most a full turn of 5-degree steps, or
// one stroke per displacement pair.
void CheckDrawn(const korvex::DrawResult& result, const StrokeCount& counted, int count) {
  KORVEX_FUZZ_CHECK(result.ok || result.problem != nullptr);
  KORVEX_FUZZ_CHECK(counted.strokes <= 80L * (count + 1));
}

constexpr int kMaxRawBytes = 4096;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static korvex::ShapeSource source;
  static korvex::SourceProblemList problems;
  problems.Clear();
  const std::string text(reinterpret_cast<const char*>(data), size);
  korvex::ReadShapeSource("*1,0,FUZZ\n" + text + "\n", source, problems);
  for (int i = 0; i < source.shapeCount && i < 64; ++i) {
    const korvex::SourceShape& shape = source.shapes[i];
    // Subshapes may draw the same bytes many times over: only the result is checked.
    StrokeCount counted;
    const korvex::DrawResult result =
        korvex::DrawSourceShape(source, shape, 0, 0, 1, CountStroke, &counted);
    KORVEX_FUZZ_CHECK(result.ok || result.problem != nullptr);
  }

  // The same input as raw signed bytes, which reaches codes text seldom spells.
  static std::int16_t bytes[kMaxRawBytes];
  int raw = 0;
  for (; raw < static_cast<int>(size) && raw < kMaxRawBytes; ++raw) {
    bytes[raw] = static_cast<std::int8_t>(data[raw]);
  }
  korvex::ShapeDrawingOptions options;
  options.sink = CountStroke;
  StrokeCount counted;
  options.sinkContext = &counted;
  CheckDrawn(korvex::DrawShape(bytes, raw, 0, 0, 1, options), counted, raw);
  return 0;
}
