// The fitting of a plane curve (an ellipse or a spline) into what a shape can draw: a path of
// bulge arcs and lines from whole-unit point to whole-unit point, each piece as long as the
// tolerance allows, so that a curve costs a few arcs rather than a dense chain of lines.
//
// The curve is first sampled densely (each step at most half a unit, and straight to within a
// hundredth of a unit), which gives its extent for the cell rules. The path is then grown
// greedily: from the start, the longest run of samples that one arc (or line) follows, the arc
// through the run's ends and its middle sample. A piece is taken only when
//   - the arc between the curve's own points (the fitted path, before rounding) lies within
//     kFitTolerance of the curve, and
//   - the arc as written, between the rounded points with its bulge byte, lies within
//     kWrittenTolerance of it,
// so that what the CAD program draws from the bytes stays within 1.5 units of the curve. One
// working table in static storage; nothing is allocated.
#pragma once

#include <cstdint>

#include "dxf/arc_geometry.h"
#include "dxf/plane_curve.h"

namespace korvex {

inline constexpr double kFitTolerance = 0.5;
inline constexpr double kWrittenTolerance = 1.0;
// Each fitted arc stays one bulge-arc code, well short of the half circle the code can draw.
inline constexpr double kMaxFittedSweep = 150;
// Samples of one curve: at half a unit each, a curve 4000 units long, forty times round a box.
inline constexpr int kMaxCurveSamples = 8192;

struct CurveSample {
  double t;
  PlanePoint p;
};

// One piece of the path: from one sample to a later one.
struct FittedPiece {
  PlanePoint from;  // on the curve
  PlanePoint to;
  double bulge;        // tan(sweep / 4) of the fitted arc, positive counter-clockwise; 0: a line
  std::int16_t fromX;  // the ends in whole units, as written
  std::int16_t fromY;
  std::int16_t toX;
  std::int16_t toY;
  long bulgeByte;  // as written, -127 to 127; 0: a line
};

enum class CurveSampling : std::uint8_t {
  kSampled,    // the samples and the extent are there
  kTooLarge,   // wider or higher than a box even sampled coarsely: the extent is that of the
               // coarse samples, which is enough to say by how much it leaves a box
  kTooLong,    // more samples than the table holds
  kNotFinite,  // a point of the curve is no number
};

struct FittedCurve {
  CurveSample samples[kMaxCurveSamples];
  int sampleCount;
  ArcBox box;  // the extent of the samples
  FittedPiece pieces[kMaxCurveSamples];
  int pieceCount;
};

const FittedCurve& CurrentFit();

// The coarse pass: a few samples a turn of an ellipse or a knot span of a spline, whose extent
// (in the working table's box) is at most the curve's and short of it by a little; kTooLarge
// when it is already wider or higher than a box. Cheap: it tells most curves that fit no box.
CurveSampling SampleCurveCoarsely(const PlaneCurve& curve);

// The fine pass over the same curve, after the coarse one: the samples the fit works on, and
// the extent to a hundredth of a unit.
CurveSampling SampleCurveFinely(const PlaneCurve& curve);

// Both passes.
CurveSampling SampleCurve(const PlaneCurve& curve);

// Fits the path to the samples of the last SampleCurve that gave kSampled. Only the last piece
// may have ends that round to one point: the curve's tail, shorter than a unit, which writes
// nothing; a curve smaller than a unit gives that piece alone.
void FitSampledCurve();

// The bulge (tan(sweep / 4), positive counter-clockwise) of the arc from a through m to b; 0
// for a straight line; infinite when m does not lie between a and b on any arc.
double ThreePointBulge(PlanePoint a, PlanePoint m, PlanePoint b);

// The distance from p to the arc from a to b of the given bulge (|bulge| at most 1).
double DistanceToBulgeArc(PlanePoint p, PlanePoint a, PlanePoint b, double bulge);

}  // namespace korvex
