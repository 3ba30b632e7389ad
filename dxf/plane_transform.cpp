#include "dxf/plane_transform.h"

#include <cmath>

#include "sheet/geometry.h"
#include "sheet/whole_units.h"

namespace korvex {
namespace {

// cos and sin of a turn in degrees, exact for the multiples of 90 degrees.
void Turn(double degrees, double& c, double& s) {
  const double quarters = degrees / 90;
  if (quarters == std::floor(quarters) && std::fabs(quarters) < 1e9) {
    const long long k = static_cast<long long>(quarters) % 4;
    const int quarter = static_cast<int>(k < 0 ? k + 4 : k);
    static constexpr double kCos[] = {1, 0, -1, 0};
    static constexpr double kSin[] = {0, 1, 0, -1};
    c = kCos[quarter];
    s = kSin[quarter];
    return;
  }
  const double radians = degrees / 180 * kPi;
  c = std::cos(radians);
  s = std::sin(radians);
}

}  // namespace

PlanePoint TransformPoint(const PlaneTransform& t, PlanePoint p) {
  return {t.xx * p.x + t.xy * p.y + t.dx, t.yx * p.x + t.yy * p.y + t.dy};
}

PlanePoint TransformVector(const PlaneTransform& t, PlanePoint v) {
  return {t.xx * v.x + t.xy * v.y, t.yx * v.x + t.yy * v.y};
}

PlaneTransform ComposeTransforms(const PlaneTransform& outer, const PlaneTransform& inner) {
  PlaneTransform t;
  t.xx = outer.xx * inner.xx + outer.xy * inner.yx;
  t.xy = outer.xx * inner.xy + outer.xy * inner.yy;
  t.yx = outer.yx * inner.xx + outer.yy * inner.yx;
  t.yy = outer.yx * inner.xy + outer.yy * inner.yy;
  t.dx = outer.xx * inner.dx + outer.xy * inner.dy + outer.dx;
  t.dy = outer.yx * inner.dx + outer.yy * inner.dy + outer.dy;
  return t;
}

PlaneTransform InsertTransform(PlanePoint base, double scaleX, double scaleY, PlanePoint offset,
                               double rotation, PlanePoint point, bool fromBelow) {
  double c, s;
  Turn(rotation, c, s);
  // p' = point + R (S (p - base) + offset)
  const double ox = -scaleX * base.x + offset.x;
  const double oy = -scaleY * base.y + offset.y;
  PlaneTransform t = {c * scaleX,
                      -s * scaleY,
                      s * scaleX,
                      c * scaleY,
                      point.x + c * ox - s * oy,
                      point.y + s * ox + c * oy};
  if (fromBelow) {
    t.xx = -t.xx;
    t.xy = -t.xy;
    t.dx = -t.dx;
  }
  return t;
}

bool IsSimilarity(const PlaneTransform& t, double& scale, double& rotation, bool& mirrored) {
  const double lengthX = std::hypot(t.xx, t.yx);
  const double lengthY = std::hypot(t.xy, t.yy);
  const double across = t.xx * t.xy + t.yx * t.yy;
  const double size = lengthX > lengthY ? lengthX : lengthY;
  if (!(size > 0) || std::fabs(lengthX - lengthY) > kFloatNoise * size ||
      std::fabs(across) > kFloatNoise * size * size) {
    return false;
  }
  scale = WithoutFloatNoise(lengthX);
  mirrored = t.xx * t.yy - t.xy * t.yx < 0;
  rotation = WithoutFloatNoise(std::atan2(t.yx, t.xx) * 180 / kPi);
  return true;
}

}  // namespace korvex
