// The curve capture: ARC, CIRCLE, POLYLINE and LWPOLYLINE read with the reader's method
// (exact whole-line matching, a value line after each known group code) and stored as
// arc, circle and line records, each in the one cell that holds it.
//
// A value that no 16-bit whole unit can hold (1e308, inf, NaN) cannot lie on the sheet:
// the item that uses it is dropped as one off the sheet would be.
#include "dxf/curve_capture.h"

#include <cmath>
#include <cstdint>

#include "dxf/arc_geometry.h"
#include "dxf/dxf_line_reader.h"
#include "dxf/dxf_reader.h"
#include "dxf/left_out_notes.h"
#include "sheet/cell_grid.h"
#include "sheet/entity_table.h"
#include "sheet/geometry.h"
#include "sheet/whole_units.h"

namespace korvex {
namespace {

// The most a shape vector or bulge-arc displacement can hold.
constexpr int kMaxDisplacement = 127;

// Curve holders shared by ARC and CIRCLE and never reset between entities: a group that
// an entity lacks keeps the value of the last ARC or CIRCLE that had it. Each drawing
// starts them afresh (ResetCurveHolders).
double curveCentreX = 0;
double curveCentreY = 0;
double curveRadius = 0;
double curveStartAngle = 0;
double curveEndAngle = 0;

// A polyline vertex: the group 10 and 20 values truncated to whole units, and the bulge of
// the segment that starts here. A vertex whose coordinates are missing or cannot be held
// stays in the list, so that neither of its segments is drawn and no segment is made
// between its neighbours that the drawing does not hold.
struct Vertex {
  std::int16_t x;
  std::int16_t y;
  double bulge;
  bool xHeld;
  bool yHeld;
};

// One polyline at a time, refilled from the first entry; the last slot is for the closing
// copy of a closed polyline.
Vertex vertices[kMaxVertices + 1];
int vertexCount = 0;

// The polyline being read, for the record of what is left out.
const char* polylineKind = "POLYLINE";
std::int32_t polylineLine = 0;

void SkipValue() {
  ReadDxfLine();
}

// The centre and radius groups that ARC and CIRCLE share; true when the line was one of
// them and its value has been read.
bool ReadCurveGroup() {
  if (DxfLineIs(" 10\n")) {
    ReadDxfValue(curveCentreX);
  } else if (DxfLineIs(" 20\n")) {
    ReadDxfValue(curveCentreY);
  } else if (DxfLineIs(" 40\n")) {
    ReadDxfValue(curveRadius);
  } else {
    return false;
  }
  return true;
}

// The polyline flags as atoi reads them; 0 when the file ends first.
int ReadFlags() {
  return ReadDxfLine() ? DxfLineInteger() : 0;
}

// The stores return what AdmitRecord says: false when the reading is to stop.
bool StoreLine(std::int16_t n, std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2) {
  StartRecord(n, kKindLine, x1, y1, x2, y2);
  return AdmitRecord(n, polylineLine);
}

bool StoreArc(std::int16_t n, std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2,
              double centreX, double centreY, double startAngle, double endAngle, double radius,
              std::int32_t line) {
  DrawingEntityRecord& record = StartRecord(n, kKindArc, x1, y1, x2, y2);
  record.centreX = centreX;
  record.centreY = centreY;
  record.startAngle = startAngle;
  record.endAngle = endAngle;
  record.radius = radius;
  return AdmitRecord(n, line);
}

bool StoreBulgeArc(std::int16_t n, std::int16_t x1, std::int16_t y1, std::int16_t x2,
                   std::int16_t y2) {
  const BulgeArcState& arc = CurrentBulgeArc();
  return StoreArc(n, x1, y1, x2, y2, arc.centreX, arc.centreY, arc.startAngle, arc.endAngle,
                  arc.radius, polylineLine);
}

// The mirror image in the y axis of an angle seen from a mirrored centre, kept in 0 to 360
// for angles that were.
double MirroredAngle(double a) {
  return (a > 180 ? 540 : 180) - a;
}

// Angles already in 0 to 360 stay as given (360 included); others are brought into
// 0 to 360, so that the bounding box sees the arc's true directions.
double AngleInTurn(double a) {
  if (a >= 0 && a <= 360) return a;
  const double reduced = std::fmod(a, 360.0);
  return reduced < 0 ? reduced + 360 : reduced;
}

bool FitsDisplacement(int dx, int dy) {
  return dx >= -kMaxDisplacement && dx <= kMaxDisplacement && dy >= -kMaxDisplacement &&
         dy <= kMaxDisplacement;
}

// An arc of more than 180 degrees, counter-clockwise from (x1, y1) to (x2, y2): a half
// circle to the whole-unit point M opposite the start, then the rest from M to the end.
// The rest is the arc of the remaining sweep through M and the end point, so that rounding
// M never changes the sweep the user drew. An arc whose M cannot be held, or whose pieces
// need a displacement no shape vector holds, is dropped.
void StoreSplitArc(std::int16_t n, double bulge, std::int16_t x1, std::int16_t y1, std::int16_t x2,
                   std::int16_t y2) {
  PlanePoint opposite;
  double radius;
  if (!OppositePoint(x1, y1, x2, y2, bulge, opposite, radius)) return;
  std::int16_t mx, my;
  if (!RoundToWhole(opposite.x, mx) || !RoundToWhole(opposite.y, my)) return;
  if (!FitsDisplacement(mx - x1, my - y1) || !FitsDisplacement(x2 - mx, y2 - my)) return;

  PlaceBulgeArc(radius, (x1 + opposite.x) * 0.5, (y1 + opposite.y) * 0.5, x1, y1, mx, my);
  if ((mx != x1 || my != y1) && !StoreBulgeArc(n, x1, y1, mx, my)) return;

  // When the end rounds onto M the half circle already ends there.
  if (mx == x2 && my == y2) return;
  const double restSweep = 4 * std::atan(std::fabs(bulge)) - kPi;
  SetBulgeArcRadius(0);
  BulgeArc(std::tan(restSweep / 4), mx, my, x2, y2);
  StoreBulgeArc(n, mx, my, x2, y2);
}

// The segment from vertex i to vertex i + 1.
void MakeSegment(const Vertex& from, const Vertex& to) {
  if (!(from.xHeld && from.yHeld && to.xHeld && to.yHeld)) return;
  // A second rounding of the truncated values, which moves only negative ones; a 16-bit
  // value always survives it.
  std::int16_t x1, y1, x2, y2;
  RoundToWhole(from.x, x1);
  RoundToWhole(from.y, y1);
  RoundToWhole(to.x, x2);
  RoundToWhole(to.y, y2);
  // Two vertices on one point draw nothing, and nothing is lost: not noted.
  if (x1 == x2 && y1 == y2) return;
  // The cell follows from the end points alone, for arcs too.
  const std::int16_t n = LineCell(x1, y1, x2, y2);
  if (!IsShapeNumber(n)) {
    NoteDroppedSegment(polylineKind, polylineLine, x1, y1, x2, y2);
    return;
  }

  const double bulge = from.bulge;
  if (bulge == 0) {
    StoreLine(n, x1, y1, x2, y2);
    return;
  }
  if (!std::isfinite(bulge)) {
    NoteDroppedAt(polylineKind, polylineLine, LeftOutReason::kOffSheet, x1, y1, n);
    return;
  }
  // A negative bulge runs clockwise: the same arc, counter-clockwise from the other end.
  if (bulge < 0) {
    const std::int16_t x = x1, y = y1;
    x1 = x2;
    y1 = y2;
    x2 = x;
    y2 = y;
  }
  if (std::fabs(bulge) <= 1) {
    SetBulgeArcRadius(0);
    BulgeArc(bulge, x1, y1, x2, y2);
    StoreBulgeArc(n, x1, y1, x2, y2);
  } else {
    StoreSplitArc(n, bulge, x1, y1, x2, y2);
  }
}

void MakeSegments(int flags) {
  if ((flags & 1) != 0 && vertexCount > 0) vertices[vertexCount++] = vertices[0];
  for (int i = 0; i + 1 < vertexCount && !Entities().stopped; ++i) {
    MakeSegment(vertices[i], vertices[i + 1]);
  }
}

// Reads the value line after a " 10" and starts a vertex with it.
void StartVertex() {
  Vertex& vertex = vertices[vertexCount++];
  vertex = Vertex{};
  if (ReadDxfLine()) vertex.xHeld = TruncateToWhole(DxfLineValue(), vertex.x);
}

// Reads vertex groups up to the line that ends the list (not read further when the list
// is full: the scan then reads the rest). A " 20" or " 42" before the first " 10" has no
// vertex to go to; its value is passed over. In a POLYLINE only the groups of its VERTEX
// entities count, so that no header group that comes after the flags is taken for one.
void ReadVertices(bool lightweight, bool inVertex) {
  bool atEntityName = false;
  while (lightweight ? NextEntityGroup() : ReadDxfLine()) {
    if (!lightweight) {
      if (DxfLineIs("SEQEND\n")) return;
      if (atEntityName) inVertex = DxfLineIs("VERTEX\n");
      atEntityName = DxfLineIs("  0\n");
      if (!inVertex) continue;
    }
    if (DxfLineIs(" 10\n")) {
      if (vertexCount == kMaxVertices) {
        NoteDropped(polylineKind, polylineLine, LeftOutReason::kTooManyVertices);
        return;
      }
      StartVertex();
    } else if (DxfLineIs(" 20\n")) {
      if (!ReadDxfLine() || vertexCount == 0) continue;
      Vertex& vertex = vertices[vertexCount - 1];
      vertex.yHeld = TruncateToWhole(DxfLineValue(), vertex.y);
    } else if (DxfLineIs(" 42\n")) {
      if (!ReadDxfLine() || vertexCount == 0) continue;
      vertices[vertexCount - 1].bulge = DxfLineValue();
    } else if (DxfLineIs("  5\n")) {
      SkipValue();  // a VERTEX entity's handle
    }
  }
}

}  // namespace

// Nothing of a drawing converted before carries over into the next: the reader calls this
// before each drawing, as it resets its own value holders.
void ResetCurveHolders() {
  curveCentreX = 0;
  curveCentreY = 0;
  curveRadius = 0;
  curveStartAngle = 0;
  curveEndAngle = 0;
}

void CaptureArc() {
  const std::int32_t line = DxfLineNumberInFile();
  bool skipMark = false;
  bool mirrorMark = false;
  while (NextEntityGroup()) {
    if (ReadCurveGroup()) continue;
    if (DxfLineIs(" 50\n")) {
      ReadDxfValue(curveStartAngle);
    } else if (DxfLineIs(" 51\n")) {
      ReadDxfValue(curveEndAngle);
    } else if (DxfLineIs("230\n")) {
      // Only the plane seen from below can be brought back into the sheet, by mirroring.
      double z = 0;
      ReadDxfValue(z);
      if (z == -1) {
        mirrorMark = true;
      } else {
        skipMark = true;
      }
    }
  }
  if (skipMark) {
    NoteDropped("ARC", line, LeftOutReason::kExtrusion);
    return;
  }

  // The mirror works on copies: the holders keep the values the file gave.
  double cx = curveCentreX;
  const double cy = curveCentreY;
  const double r = curveRadius;
  double a1 = curveStartAngle;
  double a2 = curveEndAngle;
  if (mirrorMark) {
    cx = -cx;
    a1 = MirroredAngle(curveEndAngle);
    a2 = MirroredAngle(curveStartAngle);
  }
  if (!(r >= kMinArcRadius && r <= kMaxArcRadius)) {
    LeftOutEntry entry = StartLeftOut("ARC", line, LeftOutReason::kRadius);
    SetLeftOutCircle(entry, cx, cy, r);
    entry.amount = r;
    NoteLeftOut(entry);
    return;
  }
  if (!std::isfinite(a1) || !std::isfinite(a2)) {
    NoteDroppedAt("ARC", line, LeftOutReason::kOffSheet, cx, cy);
    return;
  }
  a1 = AngleInTurn(a1);
  a2 = AngleInTurn(a2);

  const PlanePoint start = PointOnArc(cx, cy, r, a1);
  const PlanePoint end = PointOnArc(cx, cy, r, a2);
  std::int16_t sx, sy, ex, ey;
  if (!RoundToWhole(start.x, sx) || !RoundToWhole(start.y, sy) || !RoundToWhole(end.x, ex) ||
      !RoundToWhole(end.y, ey)) {
    NoteDroppedAt("ARC", line, LeftOutReason::kOffSheet, cx, cy);
    return;
  }
  const ArcBox box = ArcBoundingBox(cx, cy, r, a1, a2);
  const std::int16_t n = ArcCell(sx, sy, ex, ey, box);
  if (!IsShapeNumber(n)) {
    NoteDroppedArc("ARC", line, sx, sy, ex, ey, box, cx, cy, r);
    return;
  }
  StoreArc(n, sx, sy, ex, ey, cx, cy, a1, a2, r, line);
}

void CaptureCircle() {
  const std::int32_t line = DxfLineNumberInFile();
  while (NextEntityGroup()) {
    if (ReadCurveGroup()) continue;
    if (DxfLineIs("210\n")) {
      // A CIRCLE with an extrusion direction is never captured.
      NoteDropped("CIRCLE", line, LeftOutReason::kExtrusion);
      return;
    }
  }
  std::int16_t cx, cy, r, startX;
  if (!TruncateToWhole(curveCentreX, cx) || !TruncateToWhole(curveCentreY, cy) ||
      !TruncateToWhole(curveRadius, r) || !TruncateToWhole(curveCentreX + curveRadius, startX)) {
    NoteDroppedAt("CIRCLE", line, LeftOutReason::kOffSheet, curveCentreX, curveCentreY);
    return;
  }
  // The radius is written as one byte; 0 or less is no circle a shape can draw.
  if (r < 1) {
    LeftOutEntry entry = StartLeftOut("CIRCLE", line, LeftOutReason::kRadius);
    SetLeftOutCircle(entry, curveCentreX, curveCentreY, curveRadius);
    entry.amount = curveRadius;
    NoteLeftOut(entry);
    return;
  }
  const std::int16_t n = CircleCell(cx, cy, r);
  if (!IsShapeNumber(n)) {
    NoteDroppedCircle(line, cx, cy, r);
    return;
  }
  // The start point is the circle's point at angle 0, truncated.
  DrawingEntityRecord& record = StartRecord(n, kKindCircle, startX, cy, 0, 0);
  record.centreX = curveCentreX;
  record.centreY = curveCentreY;
  record.radius = curveRadius;
  AdmitRecord(n, line);
}

// The header's flags come in its 70 group. The group may be left out (its default is 0):
// a VERTEX entity before any 70 group starts the vertices, so that neither its groups are
// lost nor its own 70 (vertex flags) read as the polyline's.
void CapturePolyline() {
  polylineKind = "POLYLINE";
  polylineLine = DxfLineNumberInFile();
  vertexCount = 0;
  int flags = 0;
  bool atEntityName = false;
  bool inVertex = false;
  while (!inVertex) {
    if (!ReadDxfLine()) return;
    if (DxfLineIs(" 70\n")) {
      flags = ReadFlags();
      break;
    }
    if (atEntityName && DxfLineIs("SEQEND\n")) return;
    inVertex = atEntityName && DxfLineIs("VERTEX\n");
    if (DxfLineIs("  5\n")) SkipValue();
    atEntityName = DxfLineIs("  0\n");
  }
  ReadVertices(false, inVertex);
  MakeSegments(flags);
}

// As the POLYLINE header: a " 10" before any 70 group starts the first vertex with flags 0,
// and a "  0" there ends an LWPOLYLINE that has no vertices.
void CaptureLwPolyline() {
  polylineKind = "LWPOLYLINE";
  polylineLine = DxfLineNumberInFile();
  vertexCount = 0;
  int flags = 0;
  while (true) {
    if (!NextEntityGroup()) return;
    if (DxfLineIs(" 70\n")) {
      flags = ReadFlags();
      break;
    }
    if (DxfLineIs(" 10\n")) {
      StartVertex();
      break;
    }
  }
  ReadVertices(true, true);
  MakeSegments(flags);
}

}  // namespace korvex
