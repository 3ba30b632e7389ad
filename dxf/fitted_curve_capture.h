// ELLIPSE and SPLINE entities, and every curve that a block's placement turns into one (an
// arc or circle under a scale that differs between x and y): fitted into bulge arcs and lines
// (curve_fit.h) and placed by the cell rules of arcs, the whole curve inside one box.
//
// Like the other captures, each Capture is called by the scan right after the entity's name
// line and reads the entity's own lines; the group readers are shared with the blocks.
// Every value read is taken as a whole number when it is one but for float noise.
#pragma once

#include <cstdint>

#include "dxf/plane_curve.h"
#include "dxf/spline_curve.h"

namespace korvex {

// The plane an ELLIPSE or SPLINE lies in, by its extrusion direction (group 210): the
// sheet's, the sheet's seen from below (0, 0, -1; an ellipse then runs the other way round),
// or another, which a shape cannot draw.
enum class CurvePlane : std::uint8_t { kSheet, kSheetFromBelow, kOther };

// The plane of an extrusion direction: the sheet's when it points along z, float noise
// allowed.
CurvePlane PlaneOfExtrusion(double nx, double ny, double nz);

// The groups ELLIPSE, SPLINE and INSERT share besides their own: the extrusion direction
// (210, 220, 230) and whether the layer is the template's grid.
struct PlaneAndLayer {
  double nx = 0;
  double ny = 0;
  double nz = 1;
  bool onGrid = false;
  bool layerNext = false;  // the line to come is the layer's value
};

// Takes the current line when it is one of those groups, or the layer's value; called for
// every line the entity's own groups did not take, so that each goes through the
// comparisons as every line of the group list always has.
void TakePlaneOrLayer(PlaneAndLayer& groups);

// An ELLIPSE's groups: centre, the end of its major axis from the centre, the ratio of the
// minor axis to the major, and the parameters (radians) where it starts and ends.
struct EllipseGroups {
  PlanePoint centre;
  PlanePoint majorAxis;
  double ratio;
  double startParameter;
  double endParameter;
  CurvePlane plane;
  bool onGrid;  // on the template's grid layer
};

// A SPLINE's groups, its points in this module's tables (valid until the next SPLINE is
// read) or, for a block's, copied elsewhere.
struct SplineReading {
  SplineGroups groups;
  CurvePlane plane;
  bool onGrid;
  bool tooManyPoints;  // more control points, fit points or knots than the tables hold
};

void ReadEllipseGroups(EllipseGroups& ellipse);
void ReadSplineGroups(SplineReading& spline);

// The ellipse's curve; a whole turn when its parameters are equal or a turn apart.
PlaneCurve EllipseCurveOf(const EllipseGroups& ellipse);

void CaptureEllipse();
void CaptureSpline();

// Why the spline's groups make no curve, in a note; kNone notes nothing.
void NoteSplineProblem(const char* kind, std::int32_t line, SplineProblem problem,
                       PlanePoint keyPoint);

// Fits the curve and places it in the cell whose box holds it whole (each edge widened by
// half a unit, as for arcs), as its line and arc records, or notes why it is left out.
// `keyPoint` shows where it lies in the note (a centre, a first control point).
void PlaceFittedCurve(const char* kind, std::int32_t line, const PlaneCurve& curve,
                      PlanePoint keyPoint);

}  // namespace korvex
