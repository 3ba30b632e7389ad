// Draws shape definition bytes back into strokes, as the CAD program would draw the
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
// starts down. A shape on its own: code 7 (subshape) is reported as a problem; see
// DrawShape for the rest.
DrawResult DrawShapeBytes(const std::int16_t* bytes, int count, double originX, double originY,
                          double scale, StrokeSink sink, void* context);

}  // namespace korvex

// ---- Whole shape files: subshapes (code 7) and the vertical-text flag (code 14) ----

namespace korvex {

// Finds the bytes of shape `number` for code 7; false when the file has no such shape.
using SubshapeLookup = bool (*)(const void* context, int number, const std::int16_t** bytes,
                                int* count);

// Subshapes within subshapes nest at most this deep; it also stops a shape that draws
// itself.
inline constexpr int kMaxSubshapeDepth = 8;

struct ShapeDrawingOptions {
  StrokeSink sink = nullptr;
  void* sinkContext = nullptr;
  // Without a lookup, code 7 is reported as a problem.
  SubshapeLookup subshapes = nullptr;
  const void* subshapeContext = nullptr;
  // Unicode fonts: code 7 is followed by a two-byte shape number. Off by default.
  bool wideSubshapeNumbers = false;
  // Code 14 skips the next command unless the shape is drawn as vertical text. Off by
  // default: shapes and horizontal text.
  bool vertical = false;
};

// The number of bytes of the command at `at`, its code included; -1 when the bytes end
// before the command does, or when the byte at `at` is no code.
int ShapeCommandLength(const std::int16_t* bytes, int count, int at, bool wideSubshapeNumbers);

// Draws the bytes as DrawShapeBytes does, for every code 0 to 14: code 7 draws the shape the
// lookup finds at the current position, pen state and scale (which it may change, as in the
// CAD program), and code 14 skips the next command unless drawing vertically. The one-byte
// vectors' diagonal directions snap to half units: direction 1 runs to (1, 0.5).
DrawResult DrawShape(const std::int16_t* bytes, int count, double originX, double originY,
                     double scale, const ShapeDrawingOptions& options);

}  // namespace korvex
