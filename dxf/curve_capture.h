// The curve capture: ARC, CIRCLE, POLYLINE (with its VERTEX entities and SEQEND) and
// LWPOLYLINE entities turned into arc, circle and line records. Each is called by the
// reader's scan right after the entity's name line; it reads the entity's own lines with
// the reader's method, and the scan goes on with the line after the last one it read.
#pragma once

namespace korvex {

// Room for a polyline's vertices; the closing copy of a closed polyline comes on top.
inline constexpr int kMaxVertices = 500;
// Arcs outside these radii cannot be drawn in a 100-unit box as a shape would need.
inline constexpr double kMinArcRadius = 1;
inline constexpr double kMaxArcRadius = 1220;

// Puts the curve value holders back to zero: each drawing starts afresh.
void ResetCurveHolders();

void CaptureArc();
void CaptureCircle();
void CapturePolyline();
void CaptureLwPolyline();

}  // namespace korvex
