#include "dxf/block_insert.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "dxf/curve_capture.h"
#include "dxf/dxf_line_reader.h"
#include "dxf/dxf_reader.h"
#include "dxf/dxf_values.h"
#include "dxf/fitted_curve_capture.h"
#include "dxf/left_out_notes.h"
#include "dxf/plane_transform.h"
#include "sheet/arc_bulge.h"
#include "sheet/entity_table.h"
#include "sheet/geometry.h"
#include "sheet/left_out_table.h"

namespace korvex {
namespace {

// What the drawing's INSERTs have placed so far, and what the INSERT being placed has noted
// once already.
int insertedEntities = 0;
bool budgetNoted = false;
bool depthNoted = false;

// The blocks being placed, outermost first, for the notes.
char blockChain[kLeftOutBlockCapacity];
int chainLength = 0;

// A polyline or spline of a block, placed: its points moved into these tables first. Each is
// placed before the next is moved, so one set serves every depth of inserts.
PolylineVertex movedVertices[kMaxVertices];
PlanePoint movedControls[kMaxSplinePoints];
PlanePoint movedFits[kMaxSplinePoints];

int EnterBlock(const char* name) {
  const int previous = chainLength;
  const int written = std::snprintf(blockChain + chainLength, sizeof blockChain - chainLength,
                                    "%s%s", chainLength > 0 ? " > " : "", name);
  if (written > 0) chainLength += written;
  if (chainLength > static_cast<int>(sizeof blockChain) - 1) {
    chainLength = static_cast<int>(sizeof blockChain) - 1;
  }
  SetNotedBlocks(blockChain);
  return previous;
}

void LeaveBlock(int previous) {
  chainLength = previous;
  blockChain[chainLength] = '\0';
  SetNotedBlocks(chainLength > 0 ? blockChain : nullptr);
}

void NoteAt(const char* kind, std::int32_t line, LeftOutReason reason, PlanePoint point,
            double amount, const char* detail = nullptr) {
  LeftOutEntry entry = StartNote(kind, line, reason);
  SetLeftOutPoint(entry, point.x, point.y);
  entry.amount = amount;
  if (detail != nullptr) {
    // A long name is cut to what the entry holds.
    const std::size_t length = std::strlen(detail);
    const std::size_t kept = length < sizeof entry.detail - 1 ? length : sizeof entry.detail - 1;
    std::memcpy(entry.detail, detail, kept);
    entry.detail[kept] = '\0';
  }
  NoteLeftOut(entry);
}

// An elliptical arc that is the circle's arc from a1 to a2 (degrees, counter-clockwise) moved
// by the map; the whole circle when `whole`.
PlaneCurve MovedCircle(const PlaneTransform& t, PlanePoint centre, double radius, double a1,
                       double a2, bool whole) {
  const PlanePoint u = TransformVector(t, {radius, 0});
  const PlanePoint v = TransformVector(t, {0, radius});
  const double t0 = whole ? 0 : a1 / 180 * kPi;
  const double t1 = whole ? kTwoPi : t0 + ArcSweep(a1, a2) / 180 * kPi;
  return EllipseCurve(TransformPoint(t, centre), u, v, t0, t1);
}

// An arc segment of a polyline under a map that does not keep circles: the segment's arc, by
// its bulge, as the elliptical arc the map makes of it.
void PlaceMovedBulge(const char* kind, std::int32_t line, const PlaneTransform& t,
                     const PolylineVertex& from, const PolylineVertex& to) {
  const PlanePoint a = {from.x, from.y};
  const PlanePoint b = {to.x, to.y};
  const double bulge = from.bulge;
  const double chord = std::hypot(b.x - a.x, b.y - a.y);
  if (!(chord > 0) || !std::isfinite(bulge)) {
    NoteDroppedAt(kind, line, LeftOutReason::kZeroLength, a.x, a.y);
    return;
  }
  const double offset = chord * (1 - bulge * bulge) / (4 * bulge);
  const PlanePoint centre = {(a.x + b.x) / 2 - (b.y - a.y) / chord * offset,
                             (a.y + b.y) / 2 + (b.x - a.x) / chord * offset};
  const double radius = chord * (1 + bulge * bulge) / (4 * std::fabs(bulge));
  // Counter-clockwise from the start, or for a negative bulge from the end.
  const PlanePoint first = bulge > 0 ? a : b;
  const PlanePoint last = bulge > 0 ? b : a;
  const double a1 = std::atan2(first.y - centre.y, first.x - centre.x) * 180 / kPi;
  const double a2 = std::atan2(last.y - centre.y, last.x - centre.x) * 180 / kPi;
  const PlaneCurve curve = MovedCircle(t, centre, radius, a1, a2, false);
  PlaceFittedCurve(kind, line, curve, TransformPoint(t, a));
}

void PlacePolylineMoved(const BlockEntity& entity, std::int32_t line, const PlaneTransform& t,
                        bool similar, bool mirrored) {
  const int count = entity.polyline.count;
  const PolylineVertex* vertices = entity.polyline.vertices;
  for (int i = 0; i < count; ++i) {
    PolylineVertex& moved = movedVertices[i];
    moved = vertices[i];
    const PlanePoint p = TransformPoint(t, {vertices[i].x, vertices[i].y});
    moved.x = p.x;
    moved.y = p.y;
    // A mirror turns every arc the other way round.
    if (mirrored) moved.bulge = -moved.bulge;
  }
  if (similar) {
    PlacePolyline(entity.kindName, line, movedVertices, count, entity.polyline.closed);
    return;
  }
  const int segments = entity.polyline.closed ? count : count - 1;
  for (int i = 0; i < segments && !Entities().stopped; ++i) {
    const int next = (i + 1) % count;
    if (vertices[i].bulge == 0 ||
        !(vertices[i].xHeld && vertices[i].yHeld && vertices[next].xHeld && vertices[next].yHeld)) {
      PlacePolylineSegment(entity.kindName, line, movedVertices[i], movedVertices[next]);
    } else {
      PlaceMovedBulge(entity.kindName, line, t, vertices[i], vertices[next]);
    }
  }
}

void PlaceSplineMoved(const BlockEntity& entity, std::int32_t line, const PlaneTransform& t) {
  SplineGroups spline = entity.spline;
  for (int i = 0; i < spline.controlCount; ++i) {
    movedControls[i] = TransformPoint(t, spline.controls[i]);
  }
  for (int i = 0; i < spline.fitCount; ++i) movedFits[i] = TransformPoint(t, spline.fits[i]);
  spline.controls = movedControls;
  spline.fits = movedFits;
  spline.startTangent = TransformVector(t, spline.startTangent);
  spline.endTangent = TransformVector(t, spline.endTangent);
  const PlanePoint key = spline.controlCount > 0 ? movedControls[0]
                         : spline.fitCount > 0   ? movedFits[0]
                                                 : TransformPoint(t, {0, 0});
  PlaneCurve curve;
  const SplineProblem problem = MakeSplineCurve(spline, curve);
  if (problem != SplineProblem::kNone) {
    NoteSplineProblem(entity.kindName, line, problem, key);
    return;
  }
  PlaceFittedCurve(entity.kindName, line, curve, key);
}

bool PlaceInsertCopies(const InsertGroups& insert, const PlaneTransform& outer, std::int32_t line,
                       int depth);

// False when the drawing's inserts have placed all they may.
bool PlaceBlockEntities(const Block& block, const PlaneTransform& t, std::int32_t line, int depth) {
  double scale = 1, rotation = 0;
  bool mirrored = false;
  const bool similar = IsSimilarity(t, scale, rotation, mirrored);
  const double textScale = std::hypot(t.xy, t.yy);  // a text's height goes with y
  for (int i = 0; i < block.entityCount; ++i) {
    if (Entities().stopped) return false;
    if (++insertedEntities > kMaxInsertedEntities) {
      if (!budgetNoted) {
        NoteAt("INSERT", line, LeftOutReason::kTooManyCopies, TransformPoint(t, block.base),
               kMaxInsertedEntities);
      }
      budgetNoted = true;
      return false;
    }
    const BlockEntity& entity = Blocks().entities[block.firstEntity + i];
    const char* kind = entity.kindName;
    switch (entity.kind) {
      case BlockEntityKind::kLine: {
        const PlanePoint a = TransformPoint(t, entity.line.start);
        const PlanePoint b = TransformPoint(t, entity.line.end);
        PlaceLine(kind, line, a.x, a.y, b.x, b.y);
        break;
      }
      case BlockEntityKind::kArc: {
        const PlanePoint c = TransformPoint(t, entity.arc.centre);
        if (similar) {
          const double a1 = entity.arc.startAngle;
          const double a2 = entity.arc.endAngle;
          PlaceArc(kind, line, c.x, c.y, scale * entity.arc.radius,
                   mirrored ? rotation - a2 : a1 + rotation,
                   mirrored ? rotation - a1 : a2 + rotation);
          break;
        }
        const double sweep = ArcSweep(entity.arc.startAngle, entity.arc.endAngle);
        if (!(sweep > 0 && sweep < 360)) {
          NoteDroppedAt(kind, line, LeftOutReason::kZeroLength, c.x, c.y);
          break;
        }
        PlaceFittedCurve(kind, line,
                         MovedCircle(t, entity.arc.centre, entity.arc.radius, entity.arc.startAngle,
                                     entity.arc.endAngle, false),
                         c);
        break;
      }
      case BlockEntityKind::kCircle: {
        const PlanePoint c = TransformPoint(t, entity.arc.centre);
        if (similar) {
          PlaceCircle(kind, line, c.x, c.y, scale * entity.arc.radius);
        } else {
          PlaceFittedCurve(kind, line,
                           MovedCircle(t, entity.arc.centre, entity.arc.radius, 0, 0, true), c);
        }
        break;
      }
      case BlockEntityKind::kPolyline:
        PlacePolylineMoved(entity, line, t, similar, similar && mirrored);
        break;
      case BlockEntityKind::kEllipse: {
        const PlaneCurve own = EllipseCurveOf(entity.ellipse);
        const PlaneCurve moved =
            EllipseCurve(TransformPoint(t, own.centre), TransformVector(t, own.u),
                         TransformVector(t, own.v), own.t0, own.t1);
        PlaceFittedCurve(kind, line, moved, moved.centre);
        break;
      }
      case BlockEntityKind::kSpline:
        PlaceSplineMoved(entity, line, t);
        break;
      case BlockEntityKind::kText: {
        const PlanePoint p = TransformPoint(t, entity.text.point);
        PlaceText(kind, line, p.x, p.y, entity.text.height * textScale, entity.text.text,
                  entity.text.cut);
        break;
      }
      case BlockEntityKind::kPoint: {
        const PlanePoint p = TransformPoint(t, entity.point);
        PlacePoint(kind, line, p.x, p.y);
        break;
      }
      case BlockEntityKind::kInsert:
        if (!PlaceInsertCopies(Blocks().inserts[entity.insert], t, line, depth + 1)) return false;
        break;
      case BlockEntityKind::kLeftOut: {
        LeftOutEntry entry = StartNote(kind, line, entity.leftOut.reason);
        entry.amount = entity.leftOut.amount;
        NoteLeftOut(entry);
        break;
      }
    }
  }
  return true;
}

// Every copy of the insert, each placed by its own map after `outer` (the inserts it lies
// in). False when the drawing's inserts have placed all they may.
bool PlaceInsertCopies(const InsertGroups& insert, const PlaneTransform& outer, std::int32_t line,
                       int depth) {
  if (insert.onGrid || SameBlockName(insert.block, kCellBoxBlock)) return true;
  const PlanePoint at = TransformPoint(outer, insert.point);
  if (insert.otherPlane) {
    NoteAt("INSERT", line, LeftOutReason::kExtrusion, at, 0);
    return true;
  }
  const int index = FindBlock(insert.block);
  if (index < 0) {
    // When blocks were not kept, the missing one may be among them.
    const bool notKept = Blocks().blocksNotKept > 0;
    NoteAt("INSERT", line, notKept ? LeftOutReason::kBlockNotKept : LeftOutReason::kNoSuchBlock, at,
           kMaxBlocks, insert.block);
    return true;
  }
  if (depth > kMaxInsertDepth) {
    if (!depthNoted) NoteAt("INSERT", line, LeftOutReason::kNestedTooDeep, at, kMaxInsertDepth);
    depthNoted = true;
    return true;
  }
  const Block& block = Blocks().blocks[index];
  if (block.entityCount == 0 && block.entitiesNotKept == 0) {
    // Placing nothing without a word would leave the user to guess why (an external
    // reference's block is empty in the drawing that refers to it).
    NoteAt("INSERT", line, LeftOutReason::kEmptyBlock, at, 0, insert.block);
    return true;
  }
  const int previous = EnterBlock(block.name);
  if (block.entitiesNotKept > 0) {
    NoteAt("INSERT", line, LeftOutReason::kBlockPartNotKept, at, block.entitiesNotKept);
  }
  const int columns = insert.columns > 1 ? insert.columns : 1;
  const int rows = insert.rows > 1 ? insert.rows : 1;
  bool more = true;
  for (int row = 0; row < rows && more; ++row) {
    for (int column = 0; column < columns && more; ++column) {
      // Every copy counts, so that a MINSERT of an empty block cannot run on for ever.
      if (++insertedEntities > kMaxInsertedEntities) {
        if (!budgetNoted)
          NoteAt("INSERT", line, LeftOutReason::kTooManyCopies, at, kMaxInsertedEntities);
        budgetNoted = true;
        more = false;
        break;
      }
      const PlanePoint offset = {column * insert.columnSpacing, row * insert.rowSpacing};
      const PlaneTransform own = InsertTransform(block.base, insert.scaleX, insert.scaleY, offset,
                                                 insert.rotation, insert.point, insert.fromBelow);
      more = PlaceBlockEntities(block, ComposeTransforms(outer, own), line, depth);
    }
  }
  LeaveBlock(previous);
  return more;
}

}  // namespace

void ReadInsertGroups(InsertGroups& insert) {
  insert = {};
  insert.scaleX = 1;
  insert.scaleY = 1;
  insert.columns = 1;
  insert.rows = 1;
  PlaneAndLayer common;
  while (NextEntityGroup()) {
    if (DxfLineIs("  2\n")) {
      ReadDxfTextValue(insert.block, kBlockNameCapacity);
    } else if (DxfLineIs(" 10\n")) {
      ReadDxfWholeValue(insert.point.x);
    } else if (DxfLineIs(" 20\n")) {
      ReadDxfWholeValue(insert.point.y);
    } else if (DxfLineIs(" 41\n")) {
      ReadDxfWholeValue(insert.scaleX);
    } else if (DxfLineIs(" 42\n")) {
      ReadDxfWholeValue(insert.scaleY);
    } else if (DxfLineIs(" 50\n")) {
      ReadDxfWholeValue(insert.rotation);
    } else if (DxfLineIs(" 70\n")) {
      if (ReadDxfLine()) insert.columns = DxfLineInteger();
    } else if (DxfLineIs(" 71\n")) {
      if (ReadDxfLine()) insert.rows = DxfLineInteger();
    } else if (DxfLineIs(" 44\n")) {
      ReadDxfWholeValue(insert.columnSpacing);
    } else if (DxfLineIs(" 45\n")) {
      ReadDxfWholeValue(insert.rowSpacing);
    } else {
      TakePlaneOrLayer(common);
    }
  }
  insert.onGrid = common.onGrid;
  const CurvePlane plane = PlaneOfExtrusion(common.nx, common.ny, common.nz);
  insert.fromBelow = plane == CurvePlane::kSheetFromBelow;
  insert.otherPlane = plane == CurvePlane::kOther;
}

void ResetInserts() {
  insertedEntities = 0;
  chainLength = 0;
  blockChain[0] = '\0';
  SetNotedBlocks(nullptr);
}

bool CaptureInsert() {
  const std::int32_t line = DxfLineNumberInFile();
  InsertGroups insert;
  ReadInsertGroups(insert);
  if (insert.onGrid || SameBlockName(insert.block, kCellBoxBlock)) return false;
  budgetNoted = false;
  depthNoted = false;
  PlaceInsertCopies(insert, kIdentityTransform, line, 1);
  return true;
}

}  // namespace korvex
