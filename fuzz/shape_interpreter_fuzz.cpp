// Fuzz target: the shape interpreter, with shape source text (ParseShapeBytes) and with
// raw byte values, each drawn through a sink that checks every stroke it receives.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_frontend.h"
#include "shape/shape_interpreter.h"

namespace {

struct StrokeCount {
  long strokes = 0;
};

void CountStroke(void* context, double, double, double, double) {
  ++static_cast<StrokeCount*>(context)->strokes;
}

void Draw(const std::int16_t* bytes, int count) {
  StrokeCount counted;
  const korvex::DrawResult result =
      korvex::DrawShapeBytes(bytes, count, 0, 0, 1, CountStroke, &counted);
  KORVEX_FUZZ_CHECK(result.ok || result.problem != nullptr);
  // Each byte draws a bounded number of chords: at most a full turn of 5-degree steps, or
  // one stroke per displacement pair.
  KORVEX_FUZZ_CHECK(counted.strokes <= 80L * (count + 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static std::int16_t bytes[korvex::kMaxInterpretedBytes];
  const std::string text(reinterpret_cast<const char*>(data), size);
  const int count = korvex::ParseShapeBytes(text.c_str(), bytes, korvex::kMaxInterpretedBytes);
  KORVEX_FUZZ_CHECK(count >= -1 && count <= korvex::kMaxInterpretedBytes);
  for (int i = 0; i < count; ++i) KORVEX_FUZZ_CHECK(bytes[i] >= -255 && bytes[i] <= 255);
  if (count >= 0) Draw(bytes, count);

  // The same input as raw signed bytes, which reaches codes text seldom spells.
  int raw = 0;
  for (; raw < static_cast<int>(size) && raw < korvex::kMaxInterpretedBytes; ++raw) {
    bytes[raw] = static_cast<std::int8_t>(data[raw]);
  }
  Draw(bytes, raw);
  return 0;
}
