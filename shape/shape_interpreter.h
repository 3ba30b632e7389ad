// Draws shape specification bytes back into strokes, as the CAD program would draw the
// compiled shape: the check that a written shape is the shape that was drawn, and the
// base of a preview.
#pragma once

#include <cstdint>

namespace korvex {

inline constexpr int kMaxInterpretedBytes = 4096;
inline constexpr int kMaxPositionStack = 4;
// Arcs are drawn as chords of at most this many degrees.
inline constexpr double kArcStepDegrees = 5.0;

// Parses shape source text ("3,100,2,8,(10,-10),0") into byte values. A number with a
// leading zero is hexadecimal, as in shape source files ("012" is 18, "000" is 0).
// Returns the number of bytes, or -1 when a token is not a number or the text holds more
// than the capacity.
int ParseShapeBytes(const char* text, std::int16_t* bytes, int capacity);

// Receives each segment drawn with the pen down, in drawing units.
using StrokeSink = void (*)(void* context, double x1, double y1, double x2, double y2);

struct DrawResult {
  bool ok;
  double penX;  // where the pen stands after the last byte
  double penY;
  bool penDown;
  const char* problem;  // why drawing stopped, when not ok
};

// Draws the bytes from the origin with every vector length multiplied by scale. The pen
// starts down. Codes 0 to 6 and 8 to 14 and the one-byte vectors are drawn; code 7
// (subshape) is reported as a problem.
DrawResult DrawShapeBytes(const std::int16_t* bytes, int count, double originX, double originY,
                          double scale, StrokeSink sink, void* context);

}  // namespace korvex
