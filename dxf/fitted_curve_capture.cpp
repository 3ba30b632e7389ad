#include "dxf/fitted_curve_capture.h"

#include <cmath>
#include <cstdio>

#include "dxf/curve_fit.h"
#include "dxf/dxf_line_reader.h"
#include "dxf/dxf_reader.h"
#include "dxf/dxf_values.h"
#include "dxf/left_out_notes.h"
#include "sheet/arc_bulge.h"
#include "sheet/cell_grid.h"
#include "sheet/entity_table.h"
#include "sheet/geometry.h"
#include "sheet/left_out_table.h"
#include "sheet/whole_units.h"

namespace korvex {
namespace {

constexpr char kGridLayerLine[] = "GRID\n";

// The SPLINE being read: its groups as they come.
struct SplineTables {
  double knots[kMaxSplineKnots];
  PlanePoint controls[kMaxSplinePoints];
  double weights[kMaxSplinePoints];
  PlanePoint fits[kMaxSplinePoints];
};

SplineTables splineTables;

// The value of a count group (70 to 74), as atoi reads it.
int ReadCount() {
  return ReadDxfLine() ? DxfLineInteger() : 0;
}

// The start of a point list entry at its x group, when there is room; false when not.
template <int N>
bool AddPoint(PlanePoint (&points)[N], int& count, bool& tooMany) {
  double x = 0;
  ReadDxfWholeValue(x);
  if (count == N) {
    tooMany = true;
    return false;
  }
  points[count++] = {x, 0};
  return true;
}

// A fitted arc's record: between its whole-unit ends, its centre and angles those of the arc
// its bulge byte draws, so that the encoder writes that byte back.
bool StoreFittedPiece(std::int16_t n, const FittedPiece& piece, std::int32_t line) {
  if (piece.bulgeByte == 0) {
    StartRecord(n, kKindLine, piece.fromX, piece.fromY, piece.toX, piece.toY);
    return AdmitRecord(n, line);
  }
  const double ax = piece.fromX, ay = piece.fromY, bx = piece.toX, by = piece.toY;
  const double bulge = static_cast<double>(piece.bulgeByte) / kMaxBulgeByte;
  const double chord = std::hypot(bx - ax, by - ay);
  const double offset = chord * (1 - bulge * bulge) / (4 * bulge);
  const double centreX = (ax + bx) / 2 - (by - ay) / chord * offset;
  const double centreY = (ay + by) / 2 + (bx - ax) / chord * offset;
  const double sweep = 4 * std::atan(std::fabs(bulge)) * 180 / kPi;
  double start = std::atan2(ay - centreY, ax - centreX) * 180 / kPi;
  if (start < 0) start += 360;
  double end = piece.bulgeByte > 0 ? start + sweep : start - sweep;
  if (end >= 360) end -= 360;
  if (end < 0) end += 360;
  DrawingEntityRecord& record =
      StartRecord(n, kKindArc, piece.fromX, piece.fromY, piece.toX, piece.toY);
  record.clockwise = piece.bulgeByte < 0;
  record.centreX = centreX;
  record.centreY = centreY;
  record.radius = chord * (1 + bulge * bulge) / (4 * std::fabs(bulge));
  record.startAngle = start;
  record.endAngle = end;
  return AdmitRecord(n, line);
}

}  // namespace

CurvePlane PlaneOfExtrusion(double nx, double ny, double nz) {
  const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
  if (!(length > 0) || std::fabs(nx) > kFloatNoise * length ||
      std::fabs(ny) > kFloatNoise * length) {
    return CurvePlane::kOther;
  }
  return nz > 0 ? CurvePlane::kSheet : CurvePlane::kSheetFromBelow;
}

void TakePlaneOrLayer(PlaneAndLayer& groups) {
  if (DxfLineIs("210\n")) {
    ReadDxfWholeValue(groups.nx);
  } else if (DxfLineIs("220\n")) {
    ReadDxfWholeValue(groups.ny);
  } else if (DxfLineIs("230\n")) {
    ReadDxfWholeValue(groups.nz);
  } else if (groups.layerNext) {
    groups.onGrid = DxfLineIs(kGridLayerLine);
    groups.layerNext = false;
  } else {
    groups.layerNext = DxfLineIs("  8\n");
  }
}

void ReadEllipseGroups(EllipseGroups& ellipse) {
  ellipse = {};
  ellipse.ratio = 1;
  ellipse.endParameter = kTwoPi;
  PlaneAndLayer common;
  while (NextEntityGroup()) {
    if (DxfLineIs(" 10\n")) {
      ReadDxfWholeValue(ellipse.centre.x);
    } else if (DxfLineIs(" 20\n")) {
      ReadDxfWholeValue(ellipse.centre.y);
    } else if (DxfLineIs(" 11\n")) {
      ReadDxfWholeValue(ellipse.majorAxis.x);
    } else if (DxfLineIs(" 21\n")) {
      ReadDxfWholeValue(ellipse.majorAxis.y);
    } else if (DxfLineIs(" 40\n")) {
      ReadDxfWholeValue(ellipse.ratio);
    } else if (DxfLineIs(" 41\n")) {
      ReadDxfWholeValue(ellipse.startParameter);
    } else if (DxfLineIs(" 42\n")) {
      ReadDxfWholeValue(ellipse.endParameter);
    } else {
      TakePlaneOrLayer(common);
    }
  }
  ellipse.onGrid = common.onGrid;
  ellipse.plane = PlaneOfExtrusion(common.nx, common.ny, common.nz);
}

void ReadSplineGroups(SplineReading& spline) {
  spline = {};
  SplineGroups& groups = spline.groups;
  groups.degree = 3;
  groups.knots = splineTables.knots;
  groups.controls = splineTables.controls;
  groups.weights = splineTables.weights;
  groups.fits = splineTables.fits;
  PlaneAndLayer common;
  // Each y belongs to the point whose x came last; a y before any x has no point to go to.
  bool controlHeld = false;
  bool fitHeld = false;
  while (NextEntityGroup()) {
    if (DxfLineIs(" 10\n")) {
      controlHeld = AddPoint(splineTables.controls, groups.controlCount, spline.tooManyPoints);
    } else if (DxfLineIs(" 20\n")) {
      double y = 0;
      ReadDxfWholeValue(y);
      if (controlHeld) splineTables.controls[groups.controlCount - 1].y = y;
    } else if (DxfLineIs(" 11\n")) {
      fitHeld = AddPoint(splineTables.fits, groups.fitCount, spline.tooManyPoints);
    } else if (DxfLineIs(" 21\n")) {
      double y = 0;
      ReadDxfWholeValue(y);
      if (fitHeld) splineTables.fits[groups.fitCount - 1].y = y;
    } else if (DxfLineIs(" 40\n")) {
      double knot = 0;
      ReadDxfWholeValue(knot);
      if (groups.knotCount == kMaxSplineKnots) {
        spline.tooManyPoints = true;
      } else {
        splineTables.knots[groups.knotCount++] = knot;
      }
    } else if (DxfLineIs(" 41\n")) {
      double weight = 0;
      ReadDxfWholeValue(weight);
      if (groups.weightCount == kMaxSplinePoints) {
        spline.tooManyPoints = true;
      } else {
        splineTables.weights[groups.weightCount++] = weight;
      }
    } else if (DxfLineIs(" 12\n")) {
      ReadDxfWholeValue(groups.startTangent.x);
      groups.hasStartTangent = true;
    } else if (DxfLineIs(" 22\n")) {
      ReadDxfWholeValue(groups.startTangent.y);
    } else if (DxfLineIs(" 13\n")) {
      ReadDxfWholeValue(groups.endTangent.x);
      groups.hasEndTangent = true;
    } else if (DxfLineIs(" 23\n")) {
      ReadDxfWholeValue(groups.endTangent.y);
    } else if (DxfLineIs(" 70\n")) {
      groups.flags = ReadCount();
    } else if (DxfLineIs(" 71\n")) {
      groups.degree = ReadCount();
    } else {
      TakePlaneOrLayer(common);
    }
  }
  spline.onGrid = common.onGrid;
  spline.plane = PlaneOfExtrusion(common.nx, common.ny, common.nz);
}

PlaneCurve EllipseCurveOf(const EllipseGroups& ellipse) {
  const PlanePoint u = ellipse.majorAxis;
  // The minor axis: the major turned a quarter about the extrusion direction, so the other
  // way round when the plane is seen from below.
  const double turn = ellipse.plane == CurvePlane::kSheetFromBelow ? -1 : 1;
  const PlanePoint v = {-turn * ellipse.ratio * u.y, turn * ellipse.ratio * u.x};
  double t0 = ellipse.startParameter;
  double t1 = ellipse.endParameter;
  if (!(t1 > t0)) t1 += kTwoPi;
  // Equal parameters, or parameters a turn apart, give the whole ellipse.
  if (!(t1 - t0 < kTwoPi) || t1 - t0 <= kFloatNoise) t1 = t0 + kTwoPi;
  return EllipseCurve(ellipse.centre, u, v, t0, t1);
}

void CaptureEllipse() {
  const std::int32_t line = DxfLineNumberInFile();
  EllipseGroups ellipse;
  ReadEllipseGroups(ellipse);
  // The template's own grid is never the user's work.
  if (ellipse.onGrid) return;
  if (ellipse.plane == CurvePlane::kOther) {
    NoteDropped("ELLIPSE", line, LeftOutReason::kExtrusion);
    return;
  }
  PlaceFittedCurve("ELLIPSE", line, EllipseCurveOf(ellipse), ellipse.centre);
}

void CaptureSpline() {
  const std::int32_t line = DxfLineNumberInFile();
  SplineReading spline;
  ReadSplineGroups(spline);
  if (spline.onGrid) return;
  const SplineGroups& groups = spline.groups;
  const PlanePoint key = groups.controlCount > 0 ? groups.controls[0]
                         : groups.fitCount > 0   ? groups.fits[0]
                                                 : PlanePoint{0, 0};
  if (spline.plane == CurvePlane::kOther) {
    NoteDropped("SPLINE", line, LeftOutReason::kExtrusion);
    return;
  }
  if (spline.tooManyPoints) {
    LeftOutEntry entry = StartNote("SPLINE", line, LeftOutReason::kTooManyPoints);
    SetLeftOutPoint(entry, key.x, key.y);
    entry.amount = kMaxSplinePoints;
    NoteLeftOut(entry);
    return;
  }
  PlaneCurve curve;
  const SplineProblem problem = MakeSplineCurve(groups, curve);
  if (problem != SplineProblem::kNone) {
    NoteSplineProblem("SPLINE", line, problem, key);
    return;
  }
  PlaceFittedCurve("SPLINE", line, curve, key);
}

void NoteSplineProblem(const char* kind, std::int32_t line, SplineProblem problem,
                       PlanePoint keyPoint) {
  if (problem == SplineProblem::kNone) return;
  const char* what = problem == SplineProblem::kDegree    ? "degree"
                     : problem == SplineProblem::kKnots   ? "knots"
                     : problem == SplineProblem::kWeights ? "weights"
                                                          : "few points";
  LeftOutEntry entry = StartNote(kind, line, LeftOutReason::kMalformedCurve);
  SetLeftOutPoint(entry, keyPoint.x, keyPoint.y);
  std::snprintf(entry.detail, sizeof entry.detail, "%s", what);
  NoteLeftOut(entry);
}

void PlaceFittedCurve(const char* kind, std::int32_t line, const PlaneCurve& curve,
                      PlanePoint keyPoint) {
  const PlanePoint start = CurvePoint(curve, curve.t0);
  std::int16_t sx, sy;
  CurveSampling sampling = SampleCurveCoarsely(curve);
  if (sampling == CurveSampling::kNotFinite || !RoundToWhole(start.x, sx) ||
      !RoundToWhole(start.y, sy)) {
    NoteDroppedAt(kind, line, LeftOutReason::kOffSheet, keyPoint.x, keyPoint.y);
    return;
  }
  const FittedCurve& fit = CurrentFit();
  const std::int16_t n = CellOfPoint(sx, sy);
  // As for an arc: the whole curve in the box, each edge widened by half a unit. The coarse
  // extent tells most curves that leave it; the fine one tells the rest.
  const auto inside = [n, &fit] {
    if (!IsShapeNumber(n)) return false;
    const CellBox cell = CellBoxOf(n);
    return cell.left <= fit.box.minX + 0.5 && cell.right >= fit.box.maxX - 0.5 &&
           cell.bottom <= fit.box.minY + 0.5 && cell.top >= fit.box.maxY - 0.5;
  };
  if (sampling == CurveSampling::kSampled && inside()) sampling = SampleCurveFinely(curve);
  if (sampling == CurveSampling::kNotFinite) {
    NoteDroppedAt(kind, line, LeftOutReason::kOffSheet, keyPoint.x, keyPoint.y);
    return;
  }
  if (sampling == CurveSampling::kTooLong) {
    LeftOutEntry entry = StartNote(kind, line, LeftOutReason::kCurveTooLong);
    SetLeftOutPoint(entry, keyPoint.x, keyPoint.y);
    if (IsShapeNumber(n)) entry.cell = n;
    NoteLeftOut(entry);
    return;
  }
  if (!inside()) {
    NoteDroppedCurve(kind, line, sx, sy, fit.box, keyPoint);
    return;
  }
  FitSampledCurve();
  // A tail shorter than a unit rounds onto the point before it and writes nothing.
  const auto writes = [](const FittedPiece& piece) {
    return piece.fromX != piece.toX || piece.fromY != piece.toY;
  };
  int written = 0;
  for (int i = 0; i < fit.pieceCount; ++i) written += writes(fit.pieces[i]) ? 1 : 0;
  if (written == 0) {
    NoteDroppedAt(kind, line, LeftOutReason::kZeroLength, keyPoint.x, keyPoint.y, n);
    return;
  }
  for (int i = 0; i < fit.pieceCount; ++i) {
    if (writes(fit.pieces[i]) && !StoreFittedPiece(n, fit.pieces[i], line)) return;
  }
}

}  // namespace korvex
