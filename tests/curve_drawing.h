// Curve entities for test drawings, written as the common CAD programs write them: R12
// style (bare group lists, POLYLINE with VERTEX entities and SEQEND) or R2000 style
// (handles, owner, subclass markers, LWPOLYLINE with its vertex count).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "test_support.h"

namespace korvex::test {

enum class DxfStyle { kR12, kR2000 };

struct PolylineVertex {
  double x;
  double y;
  double bulge;
};

// A new handle for every R2000 entity, as a CAD program numbers them.
inline std::string NextHandle() {
  static int handle = 0x2A0;
  char text[16];
  std::snprintf(text, sizeof text, "%X", handle++);
  return text;
}

// The opening every R2000 entity shares: name, handle, owner, subclass and layer.
inline DxfBuilder& OpenEntity(DxfBuilder& drawing, DxfStyle style, const std::string& name,
                              const std::string& layer) {
  drawing.Group(0, name);
  if (style == DxfStyle::kR2000) {
    drawing.Group(5, NextHandle()).Group(330, "1F").Group(100, "AcDbEntity");
  }
  return drawing.Group(8, layer);
}

inline DxfBuilder& AddLine(DxfBuilder& drawing, DxfStyle style, double x1, double y1, double x2,
                           double y2, const std::string& layer = "0") {
  OpenEntity(drawing, style, "LINE", layer);
  if (style == DxfStyle::kR2000) drawing.Group(100, "AcDbLine");
  return drawing.Group(10, x1).Group(20, y1).Group(30, 0.0).Group(11, x2).Group(21, y2).Group(31,
                                                                                              0.0);
}

inline DxfBuilder& AddCircle(DxfBuilder& drawing, DxfStyle style, double cx, double cy, double r,
                             const std::string& layer = "0") {
  OpenEntity(drawing, style, "CIRCLE", layer);
  if (style == DxfStyle::kR2000) drawing.Group(100, "AcDbCircle");
  return drawing.Group(10, cx).Group(20, cy).Group(30, 0.0).Group(40, r);
}

inline DxfBuilder& AddArc(DxfBuilder& drawing, DxfStyle style, double cx, double cy, double r,
                          double a1, double a2, const std::string& layer = "0") {
  OpenEntity(drawing, style, "ARC", layer);
  if (style == DxfStyle::kR2000) drawing.Group(100, "AcDbCircle");
  drawing.Group(10, cx).Group(20, cy).Group(30, 0.0).Group(40, r);
  if (style == DxfStyle::kR2000) drawing.Group(100, "AcDbArc");
  return drawing.Group(50, a1).Group(51, a2);
}

// R12: a POLYLINE header, one VERTEX per vertex, SEQEND. R2000: one LWPOLYLINE.
inline DxfBuilder& AddPolyline(DxfBuilder& drawing, DxfStyle style,
                               const std::vector<PolylineVertex>& vertices, int flags,
                               const std::string& layer = "0") {
  if (style == DxfStyle::kR12) {
    OpenEntity(drawing, style, "POLYLINE", layer)
        .Group(66, "1")
        .Group(10, 0.0)
        .Group(20, 0.0)
        .Group(30, 0.0)
        .Group(70, std::to_string(flags));
    for (const PolylineVertex& v : vertices) {
      OpenEntity(drawing, style, "VERTEX", layer).Group(10, v.x).Group(20, v.y).Group(30, 0.0);
      if (v.bulge != 0) drawing.Group(42, v.bulge);
    }
    return OpenEntity(drawing, style, "SEQEND", layer);
  }
  OpenEntity(drawing, style, "LWPOLYLINE", layer)
      .Group(100, "AcDbPolyline")
      .Group(90, std::to_string(vertices.size()))
      .Group(70, std::to_string(flags))
      .Group(43, 0.0);
  for (const PolylineVertex& v : vertices) {
    drawing.Group(10, v.x).Group(20, v.y);
    if (v.bulge != 0) drawing.Group(42, v.bulge);
  }
  return drawing;
}

// An ELLIPSE: centre, the end of its major axis from the centre, the minor axis' ratio and
// the parameters (radians) of its ends; seen from below, its extrusion is 0, 0, -1.
inline DxfBuilder& AddEllipse(DxfBuilder& drawing, DxfStyle style, double cx, double cy, double mx,
                              double my, double ratio, double t0, double t1, bool fromBelow = false,
                              const std::string& layer = "0") {
  OpenEntity(drawing, style, "ELLIPSE", layer);
  if (style == DxfStyle::kR2000) drawing.Group(100, "AcDbEllipse");
  drawing.Group(10, cx).Group(20, cy).Group(30, 0.0).Group(11, mx).Group(21, my).Group(31, 0.0);
  if (fromBelow) drawing.Group(210, 0.0).Group(220, 0.0).Group(230, -1.0);
  return drawing.Group(40, ratio).Group(41, t0).Group(42, t1);
}

struct SplinePoint {
  double x;
  double y;
};

// A SPLINE by control points (with knots, and weights when not empty), or, with no control
// points, by fit points (with end tangents when given).
struct SplineEntity {
  int flags = 8;  // planar
  int degree = 3;
  std::vector<double> knots;
  std::vector<SplinePoint> controls;
  std::vector<double> weights;
  std::vector<SplinePoint> fits;
  bool tangents = false;
  SplinePoint startTangent{};
  SplinePoint endTangent{};
};

inline DxfBuilder& AddSpline(DxfBuilder& drawing, DxfStyle style, const SplineEntity& spline,
                             const std::string& layer = "0") {
  OpenEntity(drawing, style, "SPLINE", layer);
  if (style == DxfStyle::kR2000) drawing.Group(100, "AcDbSpline");
  drawing.Group(210, 0.0).Group(220, 0.0).Group(230, 1.0);
  drawing.Group(70, std::to_string(spline.flags))
      .Group(71, std::to_string(spline.degree))
      .Group(72, std::to_string(spline.knots.size()))
      .Group(73, std::to_string(spline.controls.size()))
      .Group(74, std::to_string(spline.fits.size()));
  if (spline.tangents) {
    drawing.Group(12, spline.startTangent.x).Group(22, spline.startTangent.y).Group(32, 0.0);
    drawing.Group(13, spline.endTangent.x).Group(23, spline.endTangent.y).Group(33, 0.0);
  }
  for (const double knot : spline.knots) drawing.Group(40, knot);
  for (const double weight : spline.weights) drawing.Group(41, weight);
  for (const SplinePoint& p : spline.controls) {
    drawing.Group(10, p.x).Group(20, p.y).Group(30, 0.0);
  }
  for (const SplinePoint& p : spline.fits) drawing.Group(11, p.x).Group(21, p.y).Group(31, 0.0);
  return drawing;
}

// An INSERT of a block (a MINSERT when columns or rows are above 1).
struct InsertEntity {
  std::string block;
  double x = 0;
  double y = 0;
  double scaleX = 1;
  double scaleY = 1;
  double rotation = 0;
  int columns = 1;
  int rows = 1;
  double columnSpacing = 0;
  double rowSpacing = 0;
  bool attributes = false;  // ATTRIB entities follow, up to a SEQEND
};

inline DxfBuilder& AddInsert(DxfBuilder& drawing, DxfStyle style, const InsertEntity& insert,
                             const std::string& layer = "0") {
  OpenEntity(drawing, style, "INSERT", layer);
  if (style == DxfStyle::kR2000) drawing.Group(100, "AcDbBlockReference");
  if (insert.attributes) drawing.Group(66, "1");
  drawing.Group(2, insert.block).Group(10, insert.x).Group(20, insert.y).Group(30, 0.0);
  if (insert.scaleX != 1 || insert.scaleY != 1) {
    drawing.Group(41, insert.scaleX).Group(42, insert.scaleY).Group(43, 1.0);
  }
  if (insert.rotation != 0) drawing.Group(50, insert.rotation);
  if (insert.columns != 1 || insert.rows != 1) {
    drawing.Group(70, std::to_string(insert.columns))
        .Group(71, std::to_string(insert.rows))
        .Group(44, insert.columnSpacing)
        .Group(45, insert.rowSpacing);
  }
  return drawing;
}

// An MTEXT of the given text (formatting codes and all) at its insertion point, attached
// there by its top left corner unless told otherwise.
inline DxfBuilder& AddMtext(DxfBuilder& drawing, DxfStyle style, double x, double y, double height,
                            const std::string& text, int attachment = 1,
                            const std::string& layer = "0") {
  OpenEntity(drawing, style, "MTEXT", layer);
  if (style == DxfStyle::kR2000) drawing.Group(100, "AcDbMText");
  drawing.Group(10, x).Group(20, y).Group(30, 0.0).Group(40, height).Group(41, 100.0);
  drawing.Group(71, std::to_string(attachment)).Group(72, "1");
  // Long texts come in pieces of 250 characters, the last in group 1.
  std::size_t at = 0;
  while (text.size() - at > 250) {
    drawing.Group(3, text.substr(at, 250));
    at += 250;
  }
  return drawing.Group(1, text.substr(at));
}

}  // namespace korvex::test
