#include "shape_files/shape_interpreter.h"

#include <cmath>

#include "sheet/geometry.h"

namespace korvex {
namespace {

struct Pen {
  double x;
  double y;
  bool down;
  double scale;
  StrokeSink sink;
  ArcSink arcs;
  void* context;
};

void MoveTo(Pen& pen, double x, double y) {
  if (pen.down && pen.sink != nullptr) pen.sink(pen.context, pen.x, pen.y, x, y);
  pen.x = x;
  pen.y = y;
}

// An arc about a centre from the given angle through the signed sweep (degrees), in chords,
// or whole to the arc sink. The pen ends at `end` when given, else at the arc's last point.
void DrawArc(Pen& pen, double cx, double cy, double radius, double fromDegrees, double sweepDegrees,
             const double* end = nullptr) {
  if (pen.arcs != nullptr) {
    const double a = (fromDegrees + sweepDegrees) * kPi / 180.0;
    const double x2 = end != nullptr ? end[0] : cx + radius * std::cos(a);
    const double y2 = end != nullptr ? end[1] : cy + radius * std::sin(a);
    if (pen.down) {
      pen.arcs(pen.context,
               DrawnArc{cx, cy, radius, fromDegrees, sweepDegrees, pen.x, pen.y, x2, y2});
    }
    pen.x = x2;
    pen.y = y2;
    return;
  }
  int steps = 1 + static_cast<int>(std::fabs(sweepDegrees) / kArcStepDegrees);
  // A chord of sweep t lies r (1 - cos(t / 2)) from its arc at most. Never more chords than a
  // whole turn takes, so that no byte draws more than that.
  const int mostSteps = static_cast<int>(360 / kArcStepDegrees);
  if (radius > kArcChordDeviation && steps < mostSteps) {
    const double widest = 2 * std::acos(1 - kArcChordDeviation / radius) * 180.0 / kPi;
    const double needed = std::ceil(std::fabs(sweepDegrees) / widest);
    if (needed > steps) steps = static_cast<int>(std::fmin(needed, mostSteps));
  }
  for (int i = 1; i <= steps; ++i) {
    const double a = (fromDegrees + sweepDegrees * i / steps) * kPi / 180.0;
    MoveTo(pen, cx + radius * std::cos(a), cy + radius * std::sin(a));
  }
}

// Code 12: a displacement and a bulge of -127 to 127, 127 being a semicircle.
void DrawBulgeArc(Pen& pen, double dx, double dy, int bulge) {
  const double ex = pen.x + dx;
  const double ey = pen.y + dy;
  const double chord = std::hypot(dx, dy);
  if (bulge == 0 && chord != 0 && pen.arcs != nullptr && pen.down) {
    // Straight, but an arc code all the same: the arc sink hears of it as one of no sweep.
    pen.arcs(pen.context, DrawnArc{pen.x + dx / 2, pen.y + dy / 2, 0, 0, 0, pen.x, pen.y, ex, ey});
    pen.x = ex;
    pen.y = ey;
    return;
  }
  if (bulge == 0 || chord == 0) {
    MoveTo(pen, ex, ey);
    return;
  }
  const double sweep = 4.0 * std::atan(bulge / 127.0);  // signed, radians
  const double radius = chord / (2.0 * std::sin(std::fabs(sweep) / 2.0));
  // The centre lies left of the chord for a counter-clockwise arc under 180 degrees.
  const double toCentre = radius * std::cos(sweep / 2.0) * (sweep > 0 ? 1.0 : -1.0);
  const double cx = pen.x + dx / 2.0 - dy / chord * toCentre;
  const double cy = pen.y + dy / 2.0 + dx / chord * toCentre;
  const double from = std::atan2(pen.y - cy, pen.x - cx) * 180.0 / kPi;
  const double end[2] = {ex, ey};
  DrawArc(pen, cx, cy, radius, from, sweep * 180.0 / kPi, end);
  pen.x = ex;
  pen.y = ey;
}

// Codes 10 and 11: the octant byte (-)0SC gives the starting octant S and the count C of
// octants (0 meaning all eight); negative runs clockwise. Offsets are in 1/256 of an octant.
void DrawOctantArc(Pen& pen, double radius, int octantByte, int startOffset, int endOffset) {
  const bool clockwise = octantByte < 0;
  const int magnitude = clockwise ? -octantByte : octantByte;
  const int startOctant = (magnitude >> 4) & 0x7;
  int octants = magnitude & 0xF;
  if (octants == 0) octants = 8;
  const double direction = clockwise ? -1.0 : 1.0;
  const double start = (startOctant + direction * startOffset / 256.0) * 45.0;
  double sweep = octants * 45.0;
  if (endOffset != 0) sweep -= 45.0 - endOffset * 45.0 / 256.0;
  if (startOffset != 0) sweep -= startOffset * 45.0 / 256.0;
  const double a = start * kPi / 180.0;
  const double cx = pen.x - radius * std::cos(a);
  const double cy = pen.y - radius * std::sin(a);
  DrawArc(pen, cx, cy, radius, start, direction * sweep);
}

}  // namespace

// ---- Whole shape files: subshapes (code 7) and the vertical-text flag (code 14) ----
namespace {

// The sixteen one-byte vector directions lie on a square of half-unit steps, as on a snap
// grid: the diagonals stretch to the nearest orthogonal's displacement.
constexpr double kVectorDirections[16][2] = {
    {1, 0},  {1, 0.5},   {1, 1},   {0.5, 1},   {0, 1},  {-0.5, 1}, {-1, 1}, {-1, 0.5},
    {-1, 0}, {-1, -0.5}, {-1, -1}, {-0.5, -1}, {0, -1}, {0.5, -1}, {1, -1}, {1, -0.5}};

// One drawing: the pen and the position stack are shared by a shape and its subshapes.
struct ShapeRun {
  Pen pen;
  double stackX[kMaxPositionStack];
  double stackY[kMaxPositionStack];
  int stackDepth;
  int commands;
  const ShapeDrawingOptions& options;
};

int SubshapeNumber(const std::int16_t* bytes, int at, bool wide) {
  if (!wide) return bytes[at];
  return ((bytes[at] & 0xFF) << 8) | (bytes[at + 1] & 0xFF);
}

// Runs one shape's bytes to its code 0. Returns nullptr there, else why it stopped.
const char* RunShape(ShapeRun& run, const std::int16_t* bytes, int count, int depth) {
  Pen& pen = run.pen;
  const bool wide = run.options.wideSubshapeNumbers;
  for (int i = 0; i < count;) {
    const int code = bytes[i];
    const int length = ShapeCommandLength(bytes, count, i, wide);
    if (length < 0) {
      const bool known = code >= 0 && code != 15 && code <= 255;
      return known ? "the bytes end inside a command" : "unknown shape code";
    }
    const std::int16_t* p = bytes + i + 1;  // the command's own bytes
    i += length;
    if (++run.commands > kMaxDrawnCommands) return "too many commands: subshapes repeat too often";
    if (code >= 16) {
      const double* direction = kVectorDirections[code & 0xF];
      const int units = code >> 4;
      MoveTo(pen, pen.x + units * direction[0] * pen.scale,
             pen.y + units * direction[1] * pen.scale);
      continue;
    }
    switch (code) {
      case 0:
        return nullptr;
      case 1:
        pen.down = true;
        break;
      case 2:
        pen.down = false;
        break;
      case 3:
      case 4:
        if (p[0] <= 0) return "scale factor out of range";
        pen.scale = code == 3 ? pen.scale / p[0] : pen.scale * p[0];
        break;
      case 5:
        if (run.stackDepth == kMaxPositionStack) return "position stack overflow";
        run.stackX[run.stackDepth] = pen.x;
        run.stackY[run.stackDepth] = pen.y;
        ++run.stackDepth;
        break;
      case 6:
        if (run.stackDepth == 0) return "position stack underflow";
        --run.stackDepth;
        pen.x = run.stackX[run.stackDepth];
        pen.y = run.stackY[run.stackDepth];
        break;
      case 7: {
        const std::int16_t* subBytes = nullptr;
        int subCount = 0;
        if (run.options.subshapes == nullptr ||
            !run.options.subshapes(run.options.subshapeContext, SubshapeNumber(p, 0, wide),
                                   &subBytes, &subCount)) {
          return "subshape not found";
        }
        if (depth == kMaxSubshapeDepth) return "subshapes nested too deep";
        const char* problem = RunShape(run, subBytes, subCount, depth + 1);
        if (problem != nullptr) return problem;
        break;
      }
      case 8:
        MoveTo(pen, pen.x + p[0] * pen.scale, pen.y + p[1] * pen.scale);
        break;
      case 9:
        for (; p[0] != 0 || p[1] != 0; p += 2) {
          MoveTo(pen, pen.x + p[0] * pen.scale, pen.y + p[1] * pen.scale);
        }
        break;
      case 10:
        DrawOctantArc(pen, p[0] * pen.scale, p[1], 0, 0);
        break;
      case 11:
        DrawOctantArc(pen, ((p[2] & 0xFF) * 256 + (p[3] & 0xFF)) * pen.scale, p[4], p[0] & 0xFF,
                      p[1] & 0xFF);
        break;
      case 12:
        DrawBulgeArc(pen, p[0] * pen.scale, p[1] * pen.scale, p[2]);
        break;
      case 13:
        for (; p[0] != 0 || p[1] != 0; p += 3) {
          DrawBulgeArc(pen, p[0] * pen.scale, p[1] * pen.scale, p[2]);
        }
        break;
      case 14:
        // The flagged command belongs to vertical text only.
        if (!run.options.vertical && i < count) {
          const int skipped = ShapeCommandLength(bytes, count, i, wide);
          if (skipped < 0) return "the bytes end inside a command";
          i += skipped;
        }
        break;
      default:
        return "unknown shape code";
    }
  }
  return "no final 0";
}

}  // namespace

int ShapeCommandLength(const std::int16_t* bytes, int count, int at, bool wideSubshapeNumbers) {
  if (at >= count) return -1;
  const int code = bytes[at];
  auto fits = [count, at](int length) { return at + length <= count ? length : -1; };
  if (code >= 16 && code <= 255) return 1;
  switch (code) {
    case 0:
    case 1:
    case 2:
    case 5:
    case 6:
    case 14:
      return 1;
    case 3:
    case 4:
      return fits(2);
    case 7:
      return fits(wideSubshapeNumbers ? 3 : 2);
    case 8:
    case 10:
      return fits(3);
    case 11:
      return fits(6);
    case 12:
      return fits(4);
    case 9:
    case 13: {
      // Pairs (code 9) or triples (code 13) up to the closing (0,0).
      const int step = code == 9 ? 2 : 3;
      for (int i = at + 1; i + 1 < count; i += step) {
        if (bytes[i] == 0 && bytes[i + 1] == 0) return i + 2 - at;
      }
      return -1;
    }
    default:
      return -1;
  }
}

DrawResult DrawShape(const std::int16_t* bytes, int count, double originX, double originY,
                     double scale, const ShapeDrawingOptions& options) {
  ShapeRun run{{originX, originY, true, scale, options.sink, options.arcs, options.sinkContext},
               {},
               {},
               0,
               0,
               options};
  const char* problem = RunShape(run, bytes, count, 0);
  return DrawResult{problem == nullptr, run.pen.x, run.pen.y, run.pen.down, problem};
}

}  // namespace korvex
