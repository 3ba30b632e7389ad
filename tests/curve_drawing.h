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

}  // namespace korvex::test
