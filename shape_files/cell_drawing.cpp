#include "shape_files/cell_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shape_files/shape_interpreter.h"
#include "shape_files/shape_texts.h"
#include "shape_files/source_shape_drawing.h"
#include "sheet/cell_grid.h"
#include "sheet/font_sheet.h"
#include "sheet/geometry.h"
#include "sheet/sheet_drawing.h"
#include "sheet/sheet_layers.h"

namespace korvex {
namespace {

// ---- The shape's drawing, as pieces in shape units from its insertion point ----

enum class PieceKind : std::uint8_t { kLine, kArc, kCircle, kText };

struct Piece {
  PieceKind kind;
  DrawnArc arc;  // a line uses only the ends; a text its insertion point (x1, y1)
  int text;      // a text's block
};

struct PieceList {
  Piece items[kMaxCellPieces];
  int count;
  bool overflow;
};
PieceList pieces;

void Add(const Piece& piece) {
  if (pieces.count == kMaxCellPieces) {
    pieces.overflow = true;
    return;
  }
  pieces.items[pieces.count++] = piece;
}

void AddLinePiece(void*, double x1, double y1, double x2, double y2) {
  Add(Piece{PieceKind::kLine, DrawnArc{0, 0, 0, 0, 0, x1, y1, x2, y2}, 0});
}

// A sweep this close to a whole turn is the interpreter's full circle.
constexpr double kFullTurn = 360.0 - 1e-9;

void AddArcPiece(void*, const DrawnArc& arc) {
  Add(Piece{std::fabs(arc.sweepDegrees) >= kFullTurn ? PieceKind::kCircle : PieceKind::kArc, arc,
            0});
}

// The texts the shape holds as this program writes them, and how many the drawing reached.
TextBlockList texts;
int textsDrawn = 0;
std::int16_t markedBytes[kShapeByteLimit];

// The marks are the only subshapes a marked shape draws.
bool ReachText(const void*, int number, const std::int16_t** bytes, int* count) {
  static const std::int16_t kNothing[] = {0};
  if (number != 0 || textsDrawn == texts.count) return false;
  Add(Piece{PieceKind::kText, {}, textsDrawn++});
  *bytes = kNothing;
  *count = 1;
  return true;
}

struct Extent {
  double minX = 0;  // the insertion point is always part of it
  double maxX = 0;
  double minY = 0;
  double maxY = 0;

  void Take(double x, double y) {
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
  double Size() const { return std::max(maxX - minX, maxY - minY); }
};

// Whether the counter-clockwise turn from a through the sweep (both degrees, sweep >= 0)
// passes the direction d.
bool Passes(double a, double sweep, double d) {
  const double turn = std::fmod(std::fmod(d - a, 360.0) + 360.0, 360.0);
  return turn <= sweep;
}

void TakeArc(Extent& extent, const DrawnArc& arc) {
  extent.Take(arc.x1, arc.y1);
  extent.Take(arc.x2, arc.y2);
  const double from =
      arc.sweepDegrees >= 0 ? arc.startDegrees : arc.startDegrees + arc.sweepDegrees;
  const double sweep = std::fabs(arc.sweepDegrees);
  const double r = arc.radius;
  if (Passes(from, sweep, 0)) extent.Take(arc.centreX + r, arc.centreY);
  if (Passes(from, sweep, 90)) extent.Take(arc.centreX, arc.centreY + r);
  if (Passes(from, sweep, 180)) extent.Take(arc.centreX - r, arc.centreY);
  if (Passes(from, sweep, 270)) extent.Take(arc.centreX, arc.centreY - r);
}

Extent PieceExtent() {
  Extent extent;
  for (int i = 0; i < pieces.count; ++i) {
    const Piece& piece = pieces.items[i];
    if (piece.kind == PieceKind::kLine) {
      extent.Take(piece.arc.x1, piece.arc.y1);
      extent.Take(piece.arc.x2, piece.arc.y2);
    } else if (piece.kind == PieceKind::kCircle) {
      extent.Take(piece.arc.centreX - piece.arc.radius, piece.arc.centreY - piece.arc.radius);
      extent.Take(piece.arc.centreX + piece.arc.radius, piece.arc.centreY + piece.arc.radius);
    } else if (piece.kind == PieceKind::kText) {
      const TextBlock& block = texts.items[piece.text];
      extent.Take(block.x, block.y);
    } else {
      TakeArc(extent, piece.arc);
    }
  }
  return extent;
}

// ---- The cell's entities, in whole drawing units from the insertion point ----

struct Vertex {
  int x;
  int y;
  double bulge;  // of the segment that starts here
  int arcByte;   // its bulge byte, when it is an arc code kept whole; else 0
};

enum class RunKind : std::uint8_t { kPath, kCircle, kDot, kText };

// A path is a polyline's vertices (a LINE or an ARC when it has one segment); a dot is a
// stroke of no length, kept as a line of one unit toward where the dot lies unrounded.
struct Run {
  RunKind kind;
  int first;   // its first vertex
  int count;   // vertices
  int radius;  // a text's block
  bool asArc;  // a lone arc that fits its box as an ARC entity
  int stepX;   // a dot's unit step
  int stepY;
};

// Every piece gives at most four segments (arcs are cut into quarter turns), each at most
// one vertex and one run more.
constexpr int kMaxCellVertices = 5 * kMaxCellPieces + 1;
constexpr int kMaxCellRuns = 2 * kMaxCellPieces + 1;

struct RunList {
  Vertex vertices[kMaxCellVertices];
  Run runs[kMaxCellRuns];
  int vertexCount;
  int runCount;
  bool open;  // the last run is a path the next segment may continue
  bool dotPending;
  int dotX;
  int dotY;
  int dotStepX;
  int dotStepY;
  double pieceX;  // where the piece being built starts, unrounded
  double pieceY;
  bool overflow;
  // Half circles and the arcs that go on from them become one bulge of more than 1.
  bool joinSplitArcs;
  // Where the insertion point lies on the sheet: the reader rounds points off the sheet
  // toward zero, and a joined arc's opposite point may lie there.
  int sheetX;
  int sheetY;
};
RunList cell;

// Whole units as the sheet's coordinates are whole: a value within this of a whole number
// is taken as it.
constexpr double kWholeTolerance = 1e-6;
// Values this far out cannot lie in any box.
constexpr double kFarOut = 1e6;

// A value that far out (or no number) stands for any place off every box.
int Bounded(double v) {
  if (!(v > -kFarOut && v < kFarOut))
    return v < 0 ? -static_cast<int>(kFarOut) : static_cast<int>(kFarOut);
  return static_cast<int>(v);
}

int Whole(double v) {
  return Bounded(std::floor(v + 0.5));
}

bool IsWhole(double v) {
  return std::fabs(v - std::round(v)) <= kWholeTolerance;
}

Vertex& LastVertex() {
  return cell.vertices[cell.vertexCount - 1];
}

bool PushVertex(int x, int y) {
  if (cell.vertexCount == kMaxCellVertices) {
    cell.overflow = true;
    return false;
  }
  cell.vertices[cell.vertexCount++] = Vertex{x, y, 0, 0};
  return true;
}

bool PushRun(RunKind kind, int x, int y, int radius = 0) {
  if (cell.runCount == kMaxCellRuns || !PushVertex(x, y)) {
    cell.overflow = true;
    return false;
  }
  cell.runs[cell.runCount++] = Run{kind, cell.vertexCount - 1, 1, radius, false, 0, 0};
  return true;
}

void FlushDot() {
  if (!cell.dotPending) return;
  cell.dotPending = false;
  if (PushRun(RunKind::kDot, cell.dotX, cell.dotY)) {
    cell.runs[cell.runCount - 1].stepX = cell.dotStepX;
    cell.runs[cell.runCount - 1].stepY = cell.dotStepY;
  }
  cell.open = false;
}

// One straight or bulged segment from a to b. One that rounds to a point is a dot, unless
// a stroke ends or starts there anyway.
// The encoder writes an arc of more than a half circle as a half circle to the whole-unit
// point M opposite its start and the rest from M, each with its bulge byte (`half`, 127 or
// 126, then `rest`). A polyline segment from the start s to the end e whose bulge is above 1 reads
// back as just those two: M where the reader rounds the point opposite s, and the rest's
// byte from the sweep past the half circle. Returns that bulge, written as the sheet writes
// it, or 0 when none gives back both M and the byte.
double JoinedBulge(const Vertex& s, const Vertex& m, const Vertex& e, int half, int rest) {
  const double dx = e.x - s.x, dy = e.y - s.y;
  const double chord = std::hypot(dx, dy);
  if (chord == 0 || rest < 1 || rest > 127) return 0;
  // The rest's sweep gives its byte back within these bounds.
  const double low = 4.0 * std::atan((rest - 0.5) / 127.0);
  const double high = rest == 127 ? kPi : 4.0 * std::atan((rest + 0.5) / 127.0);
  // Of the bulges that give all three back, the one farthest from turning any of them: the
  // reader computes in the sheet's own coordinates, whose last bits differ.
  constexpr int kTries = 1000;
  double best = 0;
  double bestMargin = 1e-6;
  for (int k = 1; k < kTries; ++k) {
    const double restSweep = low + (high - low) * k / kTries;
    char text[48];
    std::snprintf(text, sizeof text, "%.10f", std::tan((kPi + restSweep) / 4.0));
    const double bulge = std::strtod(text, nullptr);
    const double included = 4.0 * std::atan(bulge);
    const double radius = chord * 0.5 / std::sin(included * 0.5);
    const double squared = 4 * radius * radius - chord * chord;
    const double across = squared > 0 ? std::sqrt(squared) : 0;
    const double ox = e.x + across * dy / chord;
    const double oy = e.y - across * dx / chord;
    // As the reader rounds: half up, then toward zero.
    const auto rounded = [](double v, int offset) {
      return Bounded(std::trunc(v + offset + 0.5)) - offset;
    };
    if (rounded(ox, cell.sheetX) != m.x || rounded(oy, cell.sheetY) != m.y) continue;
    // The half circle is drawn about the middle of s and the point opposite it, to M as
    // rounded: its sweep must give its byte (127, or 126 once M is rounded) again.
    const double cx = (s.x + ox) / 2.0, cy = (s.y + oy) / 2.0;
    double halfSweep = std::atan2(m.y - cy, m.x - cx) - std::atan2(s.y - cy, s.x - cx);
    if (halfSweep < 0) halfSweep += 2 * kPi;
    const double halfBulge = 127.0 * std::tan(halfSweep / 4.0);
    const int halfByte = halfBulge < 127.0 ? static_cast<int>(halfBulge + 0.5) : 127;
    const double restBulge = 127.0 * std::tan((included - kPi) / 4.0);
    if (halfByte != half || static_cast<int>(restBulge + 0.5) != rest) continue;
    // How far each value lies from the half where it would round otherwise.
    auto margin = [](double v) { return std::fabs(v - 0.5 - std::round(v - 0.5)); };
    double least = std::min({margin(ox), margin(oy), margin(restBulge)});
    if (half < 127) least = std::min(least, margin(halfBulge));
    if (half == 127) least = std::min(least, halfBulge - 126.5);
    if (least > bestMargin) {
      bestMargin = least;
      best = bulge;
    }
  }
  return best;
}

// The least bulge byte a half circle to a rounded opposite point is taken to have.
constexpr int kNearlyHalfCircle = 100;

void Segment(int ax, int ay, int bx, int by, double bulge, int arcByte = 0) {
  const bool continues = cell.open && LastVertex().x == ax && LastVertex().y == ay;
  if (cell.joinSplitArcs && continues && arcByte > 0 && cell.runs[cell.runCount - 1].count >= 2 &&
      cell.vertices[cell.vertexCount - 2].arcByte >= kNearlyHalfCircle) {
    Vertex& start = cell.vertices[cell.vertexCount - 2];
    const double joined =
        JoinedBulge(start, LastVertex(), Vertex{bx, by, 0, 0}, start.arcByte, arcByte);
    if (joined != 0) {
      start.bulge = joined;
      start.arcByte = 0;
      LastVertex() = Vertex{bx, by, 0, 0};
      return;
    }
  }
  if (ax == bx && ay == by) {
    if (!continues) {
      FlushDot();
      cell.dotPending = true;
      cell.dotX = ax;
      cell.dotY = ay;
      // The step along the axis on which the unrounded dot lies farther off keeps both ends
      // of the stroke within a unit of it.
      const double offX = cell.pieceX - ax, offY = cell.pieceY - ay;
      const bool alongX = std::fabs(offX) >= std::fabs(offY);
      cell.dotStepX = alongX ? (offX < 0 ? -1 : 1) : 0;
      cell.dotStepY = alongX ? 0 : (offY < 0 ? -1 : 1);
    }
    return;
  }
  if (cell.dotPending && cell.dotX == ax && cell.dotY == ay) cell.dotPending = false;
  FlushDot();
  if (continues && cell.runs[cell.runCount - 1].count < kMaxSheetPolylineVertices) {
    LastVertex().bulge = bulge;
  } else {
    const int x = continues ? LastVertex().x : ax;
    const int y = continues ? LastVertex().y : ay;
    if (!PushRun(RunKind::kPath, x, y)) return;
    LastVertex().bulge = bulge;
  }
  LastVertex().arcByte = arcByte;
  if (!PushVertex(bx, by)) return;
  ++cell.runs[cell.runCount - 1].count;
  cell.open = true;
}

// An arc code of bulge 0 is straight, but it is an arc: a polyline bulge this small reads
// back as an arc whose bulge byte is 0 again.
constexpr double kFlatBulge = 0.25 / 127.0;

// The bulge of a counter-clockwise (positive) or clockwise sweep in degrees.
double BulgeOf(double sweepDegrees) {
  return std::tan(sweepDegrees / 4.0 * kPi / 180.0);
}

// An arc at scale s. Kept in one segment when its ends are whole units and it turns at most
// a half circle: so it comes back with its own bulge byte. Otherwise cut into pieces of at
// most a quarter turn, whose rounded ends and bulges stay close to the curve.
void ArcSegments(const DrawnArc& arc, double s) {
  const double x1 = arc.x1 * s, y1 = arc.y1 * s, x2 = arc.x2 * s, y2 = arc.y2 * s;
  const double sweep = arc.sweepDegrees;
  if (std::fabs(sweep) <= 180.0 + 1e-9 && IsWhole(x1) && IsWhole(y1) && IsWhole(x2) &&
      IsWhole(y2)) {
    const double bulge = BulgeOf(sweep);
    Segment(Whole(x1), Whole(y1), Whole(x2), Whole(y2), bulge != 0 ? bulge : kFlatBulge,
            static_cast<int>(std::fabs(bulge) * 127.0 + 0.5) * (bulge < 0 ? -1 : 1));
    return;
  }
  const int parts = std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / 90.0 - 1e-9)));
  int fromX = Whole(x1), fromY = Whole(y1);
  for (int k = 1; k <= parts; ++k) {
    double x = x2, y = y2;
    if (k < parts) {
      const double a = (arc.startDegrees + sweep * k / parts) * kPi / 180.0;
      x = (arc.centreX + arc.radius * std::cos(a)) * s;
      y = (arc.centreY + arc.radius * std::sin(a)) * s;
    }
    // A piece the encoder would give a bulge byte of 0 is a straight line.
    const double bulge = BulgeOf(sweep / parts);
    Segment(fromX, fromY, Whole(x), Whole(y), std::fabs(bulge) * 127.0 < 0.5 ? 0 : bulge);
    fromX = Whole(x);
    fromY = Whole(y);
  }
}

// A circle whose centre and radius are whole units is a CIRCLE, as the encoder writes one;
// any other is four quarter turns from where the pen starts it.
void CircleRun(const DrawnArc& arc, double s) {
  const double cx = arc.centreX * s, cy = arc.centreY * s, r = arc.radius * s;
  if (IsWhole(cx) && IsWhole(cy) && IsWhole(r) && Whole(r) >= 1) {
    FlushDot();
    PushRun(RunKind::kCircle, Whole(cx), Whole(cy), Whole(r));
    cell.open = false;
    return;
  }
  DrawnArc whole = arc;
  whole.x2 = arc.x1;
  whole.y2 = arc.y1;
  whole.sweepDegrees = arc.sweepDegrees > 0 ? 360.0 : -360.0;
  ArcSegments(whole, s);
}

// Builds the runs at scale s; false when a value lies far out or the tables are full.
bool BuildRuns(double s, bool joinSplitArcs) {
  cell.joinSplitArcs = joinSplitArcs;
  cell.vertexCount = 0;
  cell.runCount = 0;
  cell.open = false;
  cell.dotPending = false;
  cell.overflow = false;
  for (int i = 0; i < pieces.count; ++i) {
    const Piece& piece = pieces.items[i];
    const DrawnArc& arc = piece.arc;
    for (const double v : {arc.x1, arc.y1, arc.x2, arc.y2, arc.centreX, arc.centreY, arc.radius}) {
      if (!(std::fabs(v * s) < kFarOut)) return false;
    }
    cell.pieceX = arc.x1 * s;
    cell.pieceY = arc.y1 * s;
    if (piece.kind == PieceKind::kText) {
      // A text keeps its bytes only at the sheet's scale, at a whole-unit insertion point.
      const TextBlock& block = texts.items[piece.text];
      if (s != kShapeScale || !IsWhole(block.x * s) || !IsWhole(block.y * s)) return false;
      FlushDot();
      PushRun(RunKind::kText, Whole(block.x * s), Whole(block.y * s), piece.text);
      cell.open = false;
    } else if (piece.kind == PieceKind::kLine) {
      Segment(Whole(arc.x1 * s), Whole(arc.y1 * s), Whole(arc.x2 * s), Whole(arc.y2 * s), 0);
    } else if (piece.kind == PieceKind::kArc) {
      ArcSegments(arc, s);
    } else {
      CircleRun(arc, s);
    }
  }
  FlushDot();
  return !cell.overflow;
}

// ---- Placing the runs in the box ----

// The offsets of the insertion point from the box's corner that keep everything where the
// reader takes it into the cell: line ends and vertices in the closed box, POINTs not on
// its top edge, circles half a unit inside it in y.
struct Room {
  int lowX = -1000000, highX = 1000000, lowY = -1000000, highY = 1000000;

  void Require(int x, int y, int minX, int maxX, int minY, int maxY) {
    lowX = std::max(lowX, minX - x);
    highX = std::min(highX, maxX - x);
    lowY = std::max(lowY, minY - y);
    highY = std::min(highY, maxY - y);
  }
  bool Fits() const { return lowX <= highX && lowY <= highY; }
};

constexpr int kBox = kCellBoxSize;

void RequirePoint(Room& room, int x, int y) {
  room.Require(x, y, 0, kBox, 0, kBox - 1);
}

Room RoomOfRuns(int advanceX, int advanceY, bool withAdvance) {
  Room room;
  RequirePoint(room, 0, 0);
  if (withAdvance) RequirePoint(room, advanceX, advanceY);
  for (int r = 0; r < cell.runCount; ++r) {
    const Run& run = cell.runs[r];
    const Vertex& v = cell.vertices[run.first];
    if (run.kind == RunKind::kCircle) {
      room.Require(v.x - run.radius, v.y - run.radius, 0, kBox, 1, kBox);
      room.Require(v.x + run.radius, v.y + run.radius, 0, kBox, 0, kBox - 1);
    } else if (run.kind == RunKind::kDot) {
      room.Require(v.x, v.y, 0, kBox, 0, kBox);
      room.Require(v.x + run.stepX, v.y + run.stepY, 0, kBox, 0, kBox);
    } else if (run.kind == RunKind::kText) {
      RequirePoint(room, v.x, v.y);  // in the box, below its name band
    } else {
      for (int k = 0; k < run.count; ++k) {
        const Vertex& w = cell.vertices[run.first + k];
        room.Require(w.x, w.y, 0, kBox, 0, kBox);
      }
    }
  }
  return room;
}

// The vertices' own extent, to centre a shape that has no place of its own.
Extent RunExtent() {
  Extent extent;
  for (int i = 0; i < cell.vertexCount; ++i) extent.Take(cell.vertices[i].x, cell.vertices[i].y);
  for (int r = 0; r < cell.runCount; ++r) {
    const Run& run = cell.runs[r];
    if (run.kind != RunKind::kCircle) continue;
    const Vertex& v = cell.vertices[run.first];
    extent.Take(v.x - run.radius, v.y - run.radius);
    extent.Take(v.x + run.radius, v.y + run.radius);
  }
  return extent;
}

// The circle through the segment's ends that its bulge describes, counter-clockwise from
// (x1, y1) to (x2, y2): ends swapped for a clockwise one.
struct SegmentArc {
  double cx, cy, radius;
  double x1, y1, x2, y2;
  double sweepDegrees;
};

SegmentArc ArcOfSegment(const Vertex& a, const Vertex& b) {
  const bool clockwise = a.bulge < 0;
  const Vertex& s = clockwise ? b : a;
  const Vertex& e = clockwise ? a : b;
  const double bulge = std::fabs(a.bulge);
  const double dx = e.x - s.x, dy = e.y - s.y;
  const double chord = std::hypot(dx, dy);
  // From the chord's middle, the centre lies to its left at half the chord times
  // cot(sweep / 2) = (1 - b^2) / 2b.
  const double toCentre = chord / 2.0 * (1.0 - bulge * bulge) / (2.0 * bulge);
  const double cx = (s.x + e.x) / 2.0 - dy / chord * toCentre;
  const double cy = (s.y + e.y) / 2.0 + dx / chord * toCentre;
  return {cx,          cy,          std::hypot(s.x - cx, s.y - cy),      double(s.x), double(s.y),
          double(e.x), double(e.y), 4.0 * std::atan(bulge) * 180.0 / kPi};
}

double DegreesFrom(double cx, double cy, double x, double y) {
  double a = std::atan2(y - cy, x - cx) * 180.0 / kPi;
  if (a < 0) a += 360.0;
  if (a >= 360.0) a -= 360.0;
  return a;
}

// The reader takes an ARC whose curve stays within half a unit of its box, of a radius it
// draws.
bool FitsAsArc(const Vertex& a, const Vertex& b, int originX, int originY) {
  const SegmentArc arc = ArcOfSegment(a, b);
  if (!(arc.radius >= 1.0 && arc.radius <= 1200.0)) return false;
  Extent extent;
  DrawnArc drawn{arc.cx,
                 arc.cy,
                 arc.radius,
                 DegreesFrom(arc.cx, arc.cy, arc.x1, arc.y1),
                 arc.sweepDegrees,
                 arc.x1,
                 arc.y1,
                 arc.x2,
                 arc.y2};
  extent.minX = extent.maxX = arc.x1;
  extent.minY = extent.maxY = arc.y1;
  TakeArc(extent, drawn);
  constexpr double kSlack = 0.5 - 1e-6;
  return originX + extent.minX >= -kSlack && originX + extent.maxX <= kBox + kSlack &&
         originY + extent.minY >= -kSlack && originY + extent.maxY <= kBox + kSlack;
}

// ---- What converting the cell gives ----

// The encoder's prefix for the scale: "3,p," dividing and "4,q," multiplying, each left out
// when 1.
int ScaleBytes(const ShapeScale& scale) {
  return (scale.drawingUnits != 1 ? 2 : 0) + (scale.shapeUnits != 1 ? 2 : 0);
}

// The encoder stops a shape once this many bytes stand before an entity.
constexpr int kStopBefore = 1990;

// A pen-up move of more than a vector byte holds goes in steps.
int MoveCount(int dx, int dy) {
  const int longest = std::max(std::abs(dx), std::abs(dy));
  return longest == 0 ? 0 : (longest + 126) / 127;
}

// Walks the records the reader will make, as the encoder writes them; -1 when the encoder
// would stop the shape.
int CountBytes(const ShapeScale& scale, bool withAdvance, int advanceX, int advanceY,
               int& records) {
  int bytes = ScaleBytes(scale);
  int penX = 0, penY = 0;
  records = 0;
  auto record = [&](int sx, int sy, int ex, int ey, int size) {
    if (bytes > kStopBefore) return false;
    ++records;
    if (sx != penX || sy != penY) bytes += 5;
    bytes += size;
    penX = ex;
    penY = ey;
    return true;
  };
  for (int r = 0; r < cell.runCount; ++r) {
    const Run& run = cell.runs[r];
    const Vertex& v = cell.vertices[run.first];
    if (run.kind == RunKind::kCircle) {
      if (!record(v.x + run.radius, v.y, v.x + run.radius, v.y, 6)) return -1;
    } else if (run.kind == RunKind::kDot) {
      if (!record(v.x, v.y, v.x + run.stepX, v.y + run.stepY, 3)) return -1;
    } else if (run.kind == RunKind::kText) {
      const TextBlock& block = texts.items[run.radius];
      if (!record(v.x, v.y, v.x, v.y, block.to - block.from)) return -1;
    } else {
      for (int k = 0; k + 1 < run.count; ++k) {
        const Vertex& a = cell.vertices[run.first + k];
        const Vertex& b = cell.vertices[run.first + k + 1];
        const bool reversed = a.bulge < 0;
        if (!record(reversed ? b.x : a.x, reversed ? b.y : a.y, reversed ? a.x : b.x,
                    reversed ? a.y : b.y, a.bulge == 0 ? 3 : 4)) {
          return -1;
        }
      }
    }
  }
  bytes += 1;
  if (withAdvance) bytes += 4 * MoveCount(advanceX - penX, advanceY - penY);
  return bytes;
}

// ---- Choosing the scale ----

struct Layout {
  bool font;
  double endX;  // where the pen ends, shape units
  double endY;
  int cornerX;  // the box's lower-left corner on the sheet
  int cornerY;
};

bool IsOwnScale(const ShapeScale& scale, const Layout& layout) {
  return !layout.font && scale.drawingUnits == kShapeScale && scale.shapeUnits == 1;
}

// The insertion point in the room: where the reader puts it without a POINT (a font's on
// the baseline), or for a shape at a scale of its own in the middle of the box, as near as
// the room allows.
void Place(const Room& room, const ShapeScale& scale, const Layout& layout, int& ox, int& oy) {
  int preferX = 0;
  int preferY = layout.font ? kFontBaseline : 0;
  if (!layout.font && !IsOwnScale(scale, layout)) {
    const Extent extent = RunExtent();
    preferX = Whole(kBox / 2.0 - (extent.minX + extent.maxX) / 2.0);
    preferY = Whole(kBox / 2.0 - (extent.minY + extent.maxY) / 2.0);
  }
  ox = std::clamp(preferX, room.lowX, room.highX);
  oy = std::clamp(preferY, room.lowY, room.highY);
}

// Lays the runs out at the scale; false when they do not fit the box or would not come back
// within a shape's bytes.
bool TryScale(const ShapeScale& scale, const Layout& layout, CellPlan& plan) {
  const double s = double(scale.drawingUnits) / scale.shapeUnits;
  const int advanceX = Whole(layout.endX * s);
  const int advanceY = Whole(layout.endY * s);
  if (!BuildRuns(s, false)) return false;
  Room room = RoomOfRuns(advanceX, advanceY, layout.font);
  int ox = 0, oy = 0;
  if (room.Fits()) {
    Place(room, scale, layout, ox, oy);
  } else {
    // A half circle may end outside the box where the arc it begins stays inside: joined,
    // how the reader rounds depends on where the shape lies, off the sheet too. Tried with
    // the insertion point at the box's corner (or, when that fits nothing, as if all of it
    // lay well on the sheet); then at the places that room offers, nearest the one it
    // prefers first, until the joins made for a place leave room for it.
    constexpr int kWellOnTheSheet = 1 << 16;
    cell.sheetX = layout.cornerX;
    cell.sheetY = layout.cornerY;
    if (!BuildRuns(s, true)) return false;
    room = RoomOfRuns(advanceX, advanceY, layout.font);
    if (!room.Fits()) {
      cell.sheetX = cell.sheetY = kWellOnTheSheet;
      if (!BuildRuns(s, true)) return false;
      room = RoomOfRuns(advanceX, advanceY, layout.font);
      if (!room.Fits()) return false;
    }
    int preferX = 0, preferY = 0;
    Place(room, scale, layout, preferX, preferY);
    const Room offered = room;
    constexpr int kPlacesTried = 64;
    bool placed = false;
    for (int tried = 0, reach = 0; tried < kPlacesTried && !placed && reach <= 2 * kBox; ++reach) {
      // The places at this distance (in steps along x and y) from the preferred one.
      for (int dx = -reach; dx <= reach && !placed && tried < kPlacesTried; ++dx) {
        for (const int sign : {1, -1}) {
          const int dy = sign * (reach - std::abs(dx));
          if (sign == -1 && dy == 0) continue;
          const int x = preferX + dx, y = preferY + dy;
          if (x < offered.lowX || x > offered.highX || y < offered.lowY || y > offered.highY) {
            continue;
          }
          ++tried;
          cell.sheetX = layout.cornerX + x;
          cell.sheetY = layout.cornerY + y;
          if (!BuildRuns(s, true)) return false;
          room = RoomOfRuns(advanceX, advanceY, layout.font);
          if (x >= room.lowX && x <= room.highX && y >= room.lowY && y <= room.highY) {
            ox = x;
            oy = y;
            placed = true;
            break;
          }
        }
      }
    }
    if (!placed) return false;
  }
  const bool ownScale = IsOwnScale(scale, layout);
  int records = 0;
  const int bytes = CountBytes(scale, layout.font, advanceX, advanceY, records);
  if (bytes < 0 || bytes > kShapeByteLimit) return false;
  for (int r = 0; r < cell.runCount; ++r) {
    Run& run = cell.runs[r];
    // An ARC of more than a half circle comes back cut where the encoder cuts it, not where
    // a joined bulge was: only smaller ones are ARCs.
    const double bulge = std::fabs(cell.vertices[run.first].bulge);
    run.asArc = run.kind == RunKind::kPath && run.count == 2 && bulge != 0 && bulge <= 1 &&
                FitsAsArc(cell.vertices[run.first], cell.vertices[run.first + 1], ox, oy);
  }
  plan.scale = scale;
  plan.writeScale = layout.font ? !(scale.drawingUnits == 1 && scale.shapeUnits == 1) : !ownScale;
  plan.originX = ox;
  plan.originY = oy;
  plan.writeOrigin = layout.font || ox != 0 || oy != 0;
  plan.writeAdvance = layout.font;
  plan.advanceX = ox + advanceX;
  plan.advanceY = oy + advanceY;
  plan.bytes = bytes;
  plan.records = records;
  return true;
}

// The candidate scales, largest first: 255 down to 1, then 1/2 to 1/255.
constexpr int kCandidates = 2 * kMaxScalePart - 1;
ShapeScale Candidate(int i) {
  if (i < kMaxScalePart) return {static_cast<std::int16_t>(kMaxScalePart - i), 1};
  return {1, static_cast<std::int16_t>(i - kMaxScalePart + 2)};
}

// How many candidates from the largest that fits by the extent are tried before giving up:
// rounding may push a shape a unit out, never a tenth of its size.
constexpr int kCandidatesTried = 12;
// The extent a scale chosen by size leaves the shape, so that rounding keeps it inside.
constexpr double kFittedSize = kBox - 4;

// Draws the shape into the piece list, its recognised texts as text pieces.
DrawResult DrawPieces(const ShapeSource& source, const SourceShape& shape) {
  pieces.count = 0;
  pieces.overflow = false;
  textsDrawn = 0;
  ShapeDrawingOptions options = SourceDrawingOptions(source);
  options.sink = AddLinePiece;
  options.arcs = AddArcPiece;
  if (texts.count == 0) return DrawShape(source.BytesOf(shape), shape.byteCount, 0, 0, 1, options);
  options.subshapes = ReachText;
  const int count = MarkShapeTexts(source, shape, texts, markedBytes);
  return DrawShape(markedBytes, count, 0, 0, 1, options);
}

}  // namespace

void PlanCell(const ShapeSource& source, const SourceShape& shape, bool font,
              const ShapeScale& fontScale, CellPlan& plan) {
  plan = CellPlan{};
  const CellCorner corner = CellCornerOf(shape.number);
  texts.count = 0;
  if (!font) FindShapeTexts(source, shape, texts);
  DrawResult drawn = DrawPieces(source, shape);
  // Every text the drawing reaches, or none: a text past a problem is no text drawn.
  if (texts.count > 0 &&
      !(drawn.ok && !pieces.overflow && textsDrawn == texts.count &&
        TryScale(ShapeScale{kShapeScale, 1}, Layout{false, 0, 0, corner.x, corner.y}, plan))) {
    // The texts keep their bytes only at the sheet's scale: at any other they are strokes.
    texts.count = 0;
    drawn = DrawPieces(source, shape);
  } else if (texts.count > 0) {
    return;
  }
  if (!drawn.ok) plan.stopped = drawn.problem;
  if (pieces.overflow) {
    plan.leftOut = "its drawing has more pieces than a shape's 2000 bytes can hold";
    return;
  }
  const Layout layout{font, drawn.penX, drawn.penY, corner.x, corner.y};
  Extent extent = PieceExtent();
  if (font) extent.Take(drawn.penX, drawn.penY);
  if (pieces.count == 0 && extent.Size() == 0) {
    plan.leftOut = "it draws nothing";
    return;
  }
  bool laidOut = (font && fontScale.drawingUnits != 0 && TryScale(fontScale, layout, plan)) ||
                 (!font && TryScale(ShapeScale{kShapeScale, 1}, layout, plan));
  const double largest = extent.Size() > 0 ? kFittedSize / extent.Size() : kMaxScalePart;
  int first = 0;
  while (first + 1 < kCandidates &&
         double(Candidate(first).drawingUnits) / Candidate(first).shapeUnits > largest) {
    ++first;
  }
  for (int i = first; !laidOut && i < kCandidates && i < first + kCandidatesTried; ++i) {
    laidOut = TryScale(Candidate(i), layout, plan);
  }
  if (!laidOut) {
    plan.leftOut = extent.Size() * kMaxScalePart < kFittedSize
                       ? "it cannot be drawn in its box within a shape's 2000 bytes"
                       : "it is too large to draw in its box even at a scale of 1/255";
    return;
  }
  // A glyph that draws nothing and whose pen comes back to where it started, in whole
  // units, gives no shape: converting leaves it out too.
  const bool moves =
      plan.writeAdvance && (plan.advanceX != plan.originX || plan.advanceY != plan.originY);
  if (cell.runCount == 0 && !moves) plan.leftOut = "it draws nothing";
}

void WriteCellEntities(int n, const CellPlan& plan, const char* name) {
  const CellBox box = CellBoxOf(n);
  const int x0 = box.left + plan.originX;
  const int y0 = box.bottom + plan.originY;
  if (name != nullptr && name[0] != '\0') {
    SheetText(kShapeLayer, box.left + 2, box.top + 3, 8, name);
  }
  if (plan.writeScale) {
    char text[kScaleTextCapacity];
    FormatScaleText(plan.scale, text);
    SheetText(kScaleLayer, box.left + 2, box.top + 13, 5, text);
  }
  if (plan.writeOrigin) SheetPoint(kShapeLayer, x0, y0);
  for (int r = 0; r < cell.runCount; ++r) {
    const Run& run = cell.runs[r];
    const Vertex& v = cell.vertices[run.first];
    if (run.kind == RunKind::kCircle) {
      SheetCircle(kShapeLayer, x0 + v.x, y0 + v.y, run.radius);
    } else if (run.kind == RunKind::kDot) {
      SheetLine(kShapeLayer, x0 + v.x, y0 + v.y, x0 + v.x + run.stepX, y0 + v.y + run.stepY);
    } else if (run.kind == RunKind::kText) {
      const TextBlock& block = texts.items[run.radius];
      SheetText(kShapeLayer, x0 + v.x, y0 + v.y, block.height, block.text);
    } else if (run.count == 2 && v.bulge == 0) {
      const Vertex& w = cell.vertices[run.first + 1];
      SheetLine(kShapeLayer, x0 + v.x, y0 + v.y, x0 + w.x, y0 + w.y);
    } else if (run.asArc) {
      const SegmentArc arc = ArcOfSegment(v, cell.vertices[run.first + 1]);
      SheetArc(kShapeLayer, x0 + arc.cx, y0 + arc.cy, arc.radius,
               DegreesFrom(arc.cx, arc.cy, arc.x1, arc.y1),
               DegreesFrom(arc.cx, arc.cy, arc.x2, arc.y2));
    } else {
      const Vertex& last = cell.vertices[run.first + run.count - 1];
      const bool closed = run.count > 2 && last.x == v.x && last.y == v.y;
      StartSheetPolyline(kShapeLayer, closed);
      for (int k = 0; k < run.count - (closed ? 1 : 0); ++k) {
        const Vertex& w = cell.vertices[run.first + k];
        SheetVertex(kShapeLayer, x0 + w.x, y0 + w.y, w.bulge);
      }
      FinishSheetPolyline(kShapeLayer);
    }
  }
  if (plan.writeAdvance) {
    SheetPoint(kAdvanceLayer, box.left + plan.advanceX, box.bottom + plan.advanceY);
  }
}

}  // namespace korvex
