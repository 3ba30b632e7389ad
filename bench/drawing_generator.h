// Working drawings for the benchmarks: the entities a user draws, spread over all 255 shape
// cells in a realistic mix, written as a CAD program writes an R2000 DXF (handles, subclass
// markers, layers). The same seed gives the same drawing.
#pragma once

#include <string>

namespace korvex::bench {

// The most records a drawing may give before the conversion stops.
inline constexpr int kMaxDrawingRecords = 99998;

struct GeneratedDrawing {
  std::string text;
  int records;   // what the conversion will capture
  int entities;  // DXF entities written
};

// A drawing that the conversion turns into exactly `records` records (at most the limit).
GeneratedDrawing GenerateDrawing(int records, unsigned seed);

}  // namespace korvex::bench
