// The placing of a block's entities where an INSERT puts them: an affine map of the plane
// (x' = xx x + xy y + dx, y' = yx x + yy y + dy) made of the block's base point, the insert's
// scale, rotation and point, a MINSERT copy's offset and the mirror of a plane seen from
// below, composed for nested inserts.
#pragma once

#include "dxf/arc_geometry.h"

namespace korvex {

struct PlaneTransform {
  double xx;
  double xy;
  double yx;
  double yy;
  double dx;
  double dy;
};

inline constexpr PlaneTransform kIdentityTransform = {1, 0, 0, 1, 0, 0};

PlanePoint TransformPoint(const PlaneTransform& t, PlanePoint p);
// A direction or a length along one: the map without its move.
PlanePoint TransformVector(const PlaneTransform& t, PlanePoint v);

// The map that applies `inner` first, then `outer`.
PlaneTransform ComposeTransforms(const PlaneTransform& outer, const PlaneTransform& inner);

// The map of one INSERT (or one copy of a MINSERT): the block's base point to the origin,
// scaled by (scaleX, scaleY), moved by the copy's offset (columns and rows, in the insert's
// own turned axes), turned by `rotation` degrees about the origin and moved to the insert's
// point; then, for a plane seen from below (extrusion 0, 0, -1), mirrored in the y axis, as
// an arc drawn in such a plane is. A turn by a multiple of 90 degrees is exact.
PlaneTransform InsertTransform(PlanePoint base, double scaleX, double scaleY, PlanePoint offset,
                               double rotation, PlanePoint point, bool fromBelow);

// A map that keeps circles circles: the same scale in every direction, with or without a
// mirror. Then `scale`, `rotation` (degrees: the turn of the x axis) and `mirrored` say it.
bool IsSimilarity(const PlaneTransform& t, double& scale, double& rotation, bool& mirrored);

}  // namespace korvex
