// Draws shape definition bytes back into strokes, as the CAD program would draw the
// compiled shape: the check that a written shape is the shape that was drawn, and the
// base of a preview.
#pragma once

#include <cstdint>

#include "shape_files/shape_format.h"

namespace korvex {

// Arcs are drawn as chords of at most this many degrees, and short enough that no chord lies
// farther than kArcChordDeviation (in the units drawn in) from its arc, as far as the chords of
// a whole turn allow: a nearly straight arc of a large radius, as a fitted curve has, would
// otherwise be drawn as its chord.
inline constexpr double kArcStepDegrees = 5.0;
inline constexpr double kArcChordDeviation = 0.05;

// Receives each segment drawn with the pen down, in drawing units.
using StrokeSink = void (*)(void* context, double x1, double y1, double x2, double y2);

// Receives each arc drawn with the pen down, whole, instead of its chords: its centre and
// radius, the angle of its start seen from the centre and its signed sweep (degrees,
// counter-clockwise positive), and its two ends. A bulge arc of bulge 0 comes as an arc of
// no sweep and no radius, its centre midway.
struct DrawnArc {
  double centreX;
  double centreY;
  double radius;
  double startDegrees;
  double sweepDegrees;
  double x1;
  double y1;
  double x2;
  double y2;
};
using ArcSink = void (*)(void* context, const DrawnArc& arc);

struct DrawResult {
  bool ok;
  double penX;  // where the pen stands after the last byte
  double penY;
  bool penDown;
  const char* problem;  // why drawing stopped, when not ok
};

// ---- Whole shape files: subshapes (code 7) and the vertical-text flag (code 14) ----

// Finds the bytes of shape `number` for code 7; false when the file has no such shape.
using SubshapeLookup = bool (*)(const void* context, int number, const std::int16_t** bytes,
                                int* count);

// Subshapes within subshapes nest at most this deep; it also stops a shape that draws
// itself.
inline constexpr int kMaxSubshapeDepth = 8;
// One drawing runs at most this many commands: subshapes that call each other many times
// over would otherwise multiply their work beyond any time a user waits.
inline constexpr int kMaxDrawnCommands = 1000000;

struct ShapeDrawingOptions {
  StrokeSink sink = nullptr;
  void* sinkContext = nullptr;
  // With an arc sink, arcs go to it whole (with sinkContext) and not as chords to the sink.
  ArcSink arcs = nullptr;
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

// Draws the bytes from the origin with every vector length multiplied by scale, the pen
// starting down, for every code 0 to 14: code 7 draws the shape the lookup finds at the current
// position, pen state and scale (which it may change, as in the CAD program), and code 14 skips the
// next command unless drawing vertically. The one-byte vectors' diagonal directions snap to half
// units: direction 1 runs to (1, 0.5).
DrawResult DrawShape(const std::int16_t* bytes, int count, double originX, double originY,
                     double scale, const ShapeDrawingOptions& options);

}  // namespace korvex
