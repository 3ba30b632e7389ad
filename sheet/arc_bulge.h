// The bulge of a shape's bulge-arc code (12): the arc from the pen to a displacement whose
// height over its chord is bulge / 127 of half the chord. Shared by the curve capture, which
// fits arcs whose drawn bytes it must know, and the encoder, which writes them.
#pragma once

#include <cmath>

#include "sheet/geometry.h"

namespace korvex {

// A semicircle; the byte holds -127 to 127, the sign giving the direction.
inline constexpr int kMaxBulgeByte = 127;

// The counter-clockwise sweep, in degrees, from the start angle to the end angle: an end
// below the start runs through 360; a sweep beyond a whole turn keeps its part of a turn.
// NaN when either angle is.
inline double ArcSweep(double startAngle, double endAngle) {
  if (endAngle < startAngle) endAngle += 360;
  const double sweep = endAngle - startAngle;
  return sweep > 360 ? std::fmod(sweep, 360.0) : sweep;
}

// The bulge byte of a piece of the given sweep (degrees, 0 to 180): 127 * tan(sweep / 4),
// rounded, at most 127. Taken from the sweep rather than from the radius and the chord
// between rounded end points, which is ill-conditioned near a semicircle.
inline long BulgeByte(double sweepDegrees) {
  const double bulge = kMaxBulgeByte * std::tan(sweepDegrees / 4.0 / 180.0 * kPi);
  if (!(bulge < kMaxBulgeByte)) return kMaxBulgeByte;
  const long rounded = static_cast<long>(bulge + 0.5);
  return rounded < 0 ? 0 : rounded;
}

}  // namespace korvex
