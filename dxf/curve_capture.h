// The curve capture: ARC, CIRCLE, POLYLINE (with its VERTEX entities and SEQEND) and
// LWPOLYLINE entities turned into arc, circle and line records. Each Capture is called by
// the reader's scan right after the entity's name line; it reads the entity's own lines with
// the reader's method, and the scan goes on with the line after the last one it read.
//
// Reading an entity's groups and placing its geometry are apart, so that the entities of a
// block, read once and placed at every INSERT, go through the same placement.
#pragma once

#include <cstdint>

namespace korvex {

// Room for a polyline's vertices.
inline constexpr int kMaxVertices = 500;
// Arcs outside these radii cannot be drawn in a 100-unit box as a shape would need.
inline constexpr double kMinArcRadius = 1;
inline constexpr double kMaxArcRadius = 1220;

// The values an ARC or CIRCLE group list fills. The ENTITIES section shares one set between
// them, never reset between entities; an entity of a block gets a fresh set.
struct CurveHolders {
  double centreX;
  double centreY;
  double radius;
  double startAngle;  // degrees
  double endAngle;
};

// A polyline vertex: its group 10 and 20 values and the bulge of the segment that starts
// there. A coordinate not given is not held.
struct PolylineVertex {
  double x;
  double y;
  double bulge;
  bool xHeld;
  bool yHeld;
};

// What a POLYLINE or LWPOLYLINE group list gave. The vertices stay valid until the next
// polyline is read.
struct PolylineGroups {
  const PolylineVertex* vertices;
  int count;
  int flags;         // group 70; the bit of value 1: closed
  bool verticesCut;  // the polyline had more vertices than the list holds
};

// How an ARC lies: in the sheet's plane, in it but seen from below (mirrored in the y axis;
// extrusion 0,0,-1, as CAD programs write arcs drawn in a mirrored plane), or in another.
enum class ArcExtrusion : std::uint8_t { kNone, kMirrored, kOtherPlane };

// Puts the curve value holders back to zero: each drawing starts afresh.
void ResetCurveHolders();

void CaptureArc();
void CaptureCircle();
// A POLYLINE, or with `lightweight` an LWPOLYLINE.
void CapturePolyline(bool lightweight);

// The group readers. A CIRCLE is abandoned at its extrusion group (false). A polyline whose
// group list ends before it holds any vertex or flags is no polyline (false).
ArcExtrusion ReadArcGroups(CurveHolders& curve);
bool ReadCircleGroups(CurveHolders& curve);
bool ReadPolylineGroups(bool lightweight, PolylineGroups& polyline);

// An arc seen from below brought into the sheet's plane: its centre's x and its angles
// (degrees) mirrored in the y axis, start and end swapped so that it runs counter-clockwise.
void MirrorArc(double& centreX, double& startAngle, double& endAngle);

// The placements, whether drawn in the ENTITIES section or placed from a block: each item in
// the cell that holds it as its records, or a note of why it is left out. `kind` and `line`
// (where the entity starts, or the INSERT that places it) are for the note. An arc runs
// counter-clockwise from its start angle to its end angle (degrees).
void PlaceArc(const char* kind, std::int32_t line, double centreX, double centreY, double radius,
              double startAngle, double endAngle);
void PlaceCircle(const char* kind, std::int32_t line, double centreX, double centreY,
                 double radius);
void PlacePolyline(const char* kind, std::int32_t line, const PolylineVertex* vertices, int count,
                   bool closed);
void PlacePolylineSegment(const char* kind, std::int32_t line, const PolylineVertex& from,
                          const PolylineVertex& to);

}  // namespace korvex
