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

// The curve holders of the ENTITIES section, shared by ARC and CIRCLE and never reset
// between entities: a group that an entity lacks keeps the value of the last ARC or CIRCLE
// that had it. Each drawing starts them afresh (ResetCurveHolders).
CurveHolders curveHolders = {};

// One polyline at a time, refilled from the first entry.
PolylineVertex vertices[kMaxVertices];
int vertexCount = 0;
bool verticesCut = false;

void SkipValue() {
  ReadDxfLine();
}

// The centre and radius groups that ARC and CIRCLE share; true when the line was one of
// them and its value has been read.
bool ReadCurveGroup(CurveHolders& curve) {
  if (DxfLineIs(" 10\n")) {
    ReadDxfValue(curve.centreX);
  } else if (DxfLineIs(" 20\n")) {
    ReadDxfValue(curve.centreY);
  } else if (DxfLineIs(" 40\n")) {
    ReadDxfValue(curve.radius);
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
bool StoreLine(std::int16_t n, std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2,
               std::int32_t line) {
  StartRecord(n, kKindLine, x1, y1, x2, y2);
  return AdmitRecord(n, line);
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
                   std::int16_t y2, std::int32_t line) {
  const BulgeArcState& arc = CurrentBulgeArc();
  return StoreArc(n, x1, y1, x2, y2, arc.centreX, arc.centreY, arc.startAngle, arc.endAngle,
                  arc.radius, line);
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
                   std::int16_t y2, std::int32_t line) {
  PlanePoint opposite;
  double radius;
  if (!OppositePoint(x1, y1, x2, y2, bulge, opposite, radius)) return;
  std::int16_t mx, my;
  if (!RoundToWhole(opposite.x, mx) || !RoundToWhole(opposite.y, my)) return;
  if (!FitsDisplacement(mx - x1, my - y1) || !FitsDisplacement(x2 - mx, y2 - my)) return;

  PlaceBulgeArc(radius, (x1 + opposite.x) * 0.5, (y1 + opposite.y) * 0.5, x1, y1, mx, my);
  if ((mx != x1 || my != y1) && !StoreBulgeArc(n, x1, y1, mx, my, line)) return;

  // When the end rounds onto M the half circle already ends there.
  if (mx == x2 && my == y2) return;
  const double restSweep = 4 * std::atan(std::fabs(bulge)) - kPi;
  SetBulgeArcRadius(0);
  BulgeArc(std::tan(restSweep / 4), mx, my, x2, y2);
  StoreBulgeArc(n, mx, my, x2, y2, line);
}

// A polyline vertex in whole units: its values truncated, then rounded once more, which
// moves only negative ones (a truncated -3 becomes -2). A vertex whose coordinates are
// missing or cannot be held is not held: neither of its segments is drawn, and no segment is
// made between its neighbours that the drawing does not hold.
struct WholeVertex {
  std::int16_t x;
  std::int16_t y;
  bool held;
};

WholeVertex WholeVertexOf(const PolylineVertex& vertex) {
  WholeVertex whole = {0, 0, false};
  if (!vertex.xHeld || !vertex.yHeld || !TruncateToWhole(vertex.x, whole.x) ||
      !TruncateToWhole(vertex.y, whole.y)) {
    return whole;
  }
  // A 16-bit value always survives the second rounding.
  RoundToWhole(whole.x, whole.x);
  RoundToWhole(whole.y, whole.y);
  whole.held = true;
  return whole;
}

// The segment between two vertices, with the bulge of the first.
void PlaceWholeSegment(const char* kind, std::int32_t line, const WholeVertex& from,
                       const WholeVertex& to, double bulge) {
  if (!from.held || !to.held) return;
  std::int16_t x1 = from.x, y1 = from.y, x2 = to.x, y2 = to.y;
  // Two vertices on one point draw nothing, and nothing is lost: not noted.
  if (x1 == x2 && y1 == y2) return;
  // The cell follows from the end points alone, for arcs too.
  const std::int16_t n = LineCell(x1, y1, x2, y2);
  if (!IsShapeNumber(n)) {
    NoteDroppedSegment(kind, line, x1, y1, x2, y2);
    return;
  }

  if (bulge == 0) {
    StoreLine(n, x1, y1, x2, y2, line);
    return;
  }
  if (!std::isfinite(bulge)) {
    NoteDroppedAt(kind, line, LeftOutReason::kOffSheet, x1, y1, n);
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
    StoreBulgeArc(n, x1, y1, x2, y2, line);
  } else {
    StoreSplitArc(n, bulge, x1, y1, x2, y2, line);
  }
}

// Reads the value line after a " 10" and starts a vertex with it.
void StartVertex() {
  PolylineVertex& vertex = vertices[vertexCount++];
  vertex = PolylineVertex{};
  if (ReadDxfLine()) {
    vertex.x = DxfLineValue();
    vertex.xHeld = true;
  }
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
        verticesCut = true;
        return;
      }
      StartVertex();
    } else if (DxfLineIs(" 20\n")) {
      if (!ReadDxfLine() || vertexCount == 0) continue;
      PolylineVertex& vertex = vertices[vertexCount - 1];
      vertex.y = DxfLineValue();
      vertex.yHeld = true;
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
  curveHolders = {};
}

ArcExtrusion ReadArcGroups(CurveHolders& curve) {
  ArcExtrusion extrusion = ArcExtrusion::kNone;
  while (NextEntityGroup()) {
    if (ReadCurveGroup(curve)) continue;
    if (DxfLineIs(" 50\n")) {
      ReadDxfValue(curve.startAngle);
    } else if (DxfLineIs(" 51\n")) {
      ReadDxfValue(curve.endAngle);
    } else if (DxfLineIs("230\n")) {
      // Only the plane seen from below can be brought back into the sheet, by mirroring.
      double z = 0;
      ReadDxfValue(z);
      if (z == -1) {
        if (extrusion == ArcExtrusion::kNone) extrusion = ArcExtrusion::kMirrored;
      } else {
        extrusion = ArcExtrusion::kOtherPlane;
      }
    }
  }
  return extrusion;
}

bool ReadCircleGroups(CurveHolders& curve) {
  while (NextEntityGroup()) {
    if (ReadCurveGroup(curve)) continue;
    if (DxfLineIs("210\n")) return false;
  }
  return true;
}

bool ReadPolylineGroups(bool lightweight, PolylineGroups& polyline) {
  vertexCount = 0;
  verticesCut = false;
  polyline = {vertices, 0, 0, false};
  int flags = 0;
  if (lightweight) {
    // As the POLYLINE header: a " 10" before any 70 group starts the first vertex with flags
    // 0, and a "  0" there ends an LWPOLYLINE that has no vertices.
    while (true) {
      if (!NextEntityGroup()) return false;
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
  } else {
    // The header's flags come in its 70 group. The group may be left out (its default is
    // 0): a VERTEX entity before any 70 group starts the vertices, so that neither its
    // groups are lost nor its own 70 (vertex flags) read as the polyline's.
    bool atEntityName = false;
    bool inVertex = false;
    while (!inVertex) {
      if (!ReadDxfLine()) return false;
      if (DxfLineIs(" 70\n")) {
        flags = ReadFlags();
        break;
      }
      if (atEntityName && DxfLineIs("SEQEND\n")) return false;
      inVertex = atEntityName && DxfLineIs("VERTEX\n");
      if (DxfLineIs("  5\n")) SkipValue();
      atEntityName = DxfLineIs("  0\n");
    }
    ReadVertices(false, inVertex);
  }
  polyline.count = vertexCount;
  polyline.flags = flags;
  polyline.verticesCut = verticesCut;
  return true;
}

void MirrorArc(double& cx, double& a1, double& a2) {
  const double start = a1;
  cx = -cx;
  a1 = MirroredAngle(a2);
  a2 = MirroredAngle(start);
}

void PlaceArc(const char* kind, std::int32_t line, double cx, double cy, double r, double a1,
              double a2) {
  if (!(r >= kMinArcRadius && r <= kMaxArcRadius)) {
    LeftOutEntry entry = StartNote(kind, line, LeftOutReason::kRadius);
    SetLeftOutCircle(entry, cx, cy, r);
    entry.amount = r;
    NoteLeftOut(entry);
    return;
  }
  if (!std::isfinite(a1) || !std::isfinite(a2)) {
    NoteDroppedAt(kind, line, LeftOutReason::kOffSheet, cx, cy);
    return;
  }
  a1 = AngleInTurn(a1);
  a2 = AngleInTurn(a2);

  const PlanePoint start = PointOnArc(cx, cy, r, a1);
  const PlanePoint end = PointOnArc(cx, cy, r, a2);
  std::int16_t sx, sy, ex, ey;
  if (!RoundToWhole(start.x, sx) || !RoundToWhole(start.y, sy) || !RoundToWhole(end.x, ex) ||
      !RoundToWhole(end.y, ey)) {
    NoteDroppedAt(kind, line, LeftOutReason::kOffSheet, cx, cy);
    return;
  }
  const ArcBox box = ArcBoundingBox(cx, cy, r, a1, a2);
  const std::int16_t n = ArcCell(sx, sy, ex, ey, box);
  if (!IsShapeNumber(n)) {
    NoteDroppedArc(kind, line, sx, sy, ex, ey, box, cx, cy, r);
    return;
  }
  StoreArc(n, sx, sy, ex, ey, cx, cy, a1, a2, r, line);
}

void PlaceCircle(const char* kind, std::int32_t line, double centreX, double centreY,
                 double radius) {
  std::int16_t cx, cy, r, startX;
  if (!TruncateToWhole(centreX, cx) || !TruncateToWhole(centreY, cy) ||
      !TruncateToWhole(radius, r) || !TruncateToWhole(centreX + radius, startX)) {
    NoteDroppedAt(kind, line, LeftOutReason::kOffSheet, centreX, centreY);
    return;
  }
  // The radius is written as one byte; 0 or less is no circle a shape can draw.
  if (r < 1) {
    LeftOutEntry entry = StartNote(kind, line, LeftOutReason::kRadius);
    SetLeftOutCircle(entry, centreX, centreY, radius);
    entry.amount = radius;
    NoteLeftOut(entry);
    return;
  }
  const std::int16_t n = CircleCell(cx, cy, r);
  if (!IsShapeNumber(n)) {
    NoteDroppedCircle(kind, line, cx, cy, r);
    return;
  }
  // The start point is the circle's point at angle 0, truncated.
  DrawingEntityRecord& record = StartRecord(n, kKindCircle, startX, cy, 0, 0);
  record.centreX = centreX;
  record.centreY = centreY;
  record.radius = radius;
  AdmitRecord(n, line);
}

void PlacePolylineSegment(const char* kind, std::int32_t line, const PolylineVertex& from,
                          const PolylineVertex& to) {
  PlaceWholeSegment(kind, line, WholeVertexOf(from), WholeVertexOf(to), from.bulge);
}

void PlacePolyline(const char* kind, std::int32_t line, const PolylineVertex* list, int count,
                   bool closed) {
  if (count == 0) return;
  // Each vertex is brought to whole units once, for both of its segments.
  const WholeVertex first = WholeVertexOf(list[0]);
  WholeVertex from = first;
  for (int i = 0; i + 1 < count && !Entities().stopped; ++i) {
    const WholeVertex to = WholeVertexOf(list[i + 1]);
    PlaceWholeSegment(kind, line, from, to, list[i].bulge);
    from = to;
  }
  // The closing segment runs from the last vertex, with its bulge, back to the first.
  if (closed && !Entities().stopped) {
    PlaceWholeSegment(kind, line, from, first, list[count - 1].bulge);
  }
}

void CaptureArc() {
  const std::int32_t line = DxfLineNumberInFile();
  const ArcExtrusion extrusion = ReadArcGroups(curveHolders);
  if (extrusion == ArcExtrusion::kOtherPlane) {
    NoteDropped("ARC", line, LeftOutReason::kExtrusion);
    return;
  }
  // The mirror works on copies: the holders keep the values the file gave. Whole numbers
  // written with float noise are whole first, so that an end point that falls on a half
  // unit rounds as the drawing's own numbers make it.
  double cx = WithoutFloatNoise(curveHolders.centreX);
  const double cy = WithoutFloatNoise(curveHolders.centreY);
  const double r = WithoutFloatNoise(curveHolders.radius);
  double a1 = WithoutFloatNoise(curveHolders.startAngle);
  double a2 = WithoutFloatNoise(curveHolders.endAngle);
  if (extrusion == ArcExtrusion::kMirrored) MirrorArc(cx, a1, a2);
  PlaceArc("ARC", line, cx, cy, r, a1, a2);
}

void CaptureCircle() {
  const std::int32_t line = DxfLineNumberInFile();
  if (!ReadCircleGroups(curveHolders)) {
    // A CIRCLE with an extrusion direction is never captured.
    NoteDropped("CIRCLE", line, LeftOutReason::kExtrusion);
    return;
  }
  PlaceCircle("CIRCLE", line, curveHolders.centreX, curveHolders.centreY, curveHolders.radius);
}

void CapturePolyline(bool lightweight) {
  const char* kind = lightweight ? "LWPOLYLINE" : "POLYLINE";
  const std::int32_t line = DxfLineNumberInFile();
  PolylineGroups polyline;
  if (!ReadPolylineGroups(lightweight, polyline)) return;
  if (polyline.verticesCut) NoteDropped(kind, line, LeftOutReason::kTooManyVertices);
  PlacePolyline(kind, line, polyline.vertices, polyline.count, (polyline.flags & 1) != 0);
}

}  // namespace korvex
