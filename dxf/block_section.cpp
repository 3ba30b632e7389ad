#include "dxf/block_section.h"

#include <cstring>

#include "dxf/block_insert.h"
#include "dxf/block_table.h"
#include "dxf/curve_capture.h"
#include "dxf/dxf_line_reader.h"
#include "dxf/dxf_reader.h"
#include "dxf/dxf_values.h"
#include "dxf/fitted_curve_capture.h"
#include "dxf/mtext_capture.h"
#include "sheet/whole_units.h"

namespace korvex {
namespace {

// The block being read is kept in the table.
bool storing = false;

// True when the name starts with the prefix, whatever the case of its letters.
bool StartsWith(const char* name, const char* prefix) {
  for (; *prefix != '\0'; ++name, ++prefix) {
    const char c = *name >= 'a' && *name <= 'z' ? static_cast<char>(*name - 32) : *name;
    if (c != *prefix) return false;
  }
  return true;
}

// Blocks no user inserts: the template's box, the spaces, dimensions' and hatches' own, and
// one without a name.
bool PassedOver(const char* name) {
  return name[0] == '\0' || SameBlockName(name, kCellBoxBlock) ||
         StartsWith(name, "*MODEL_SPACE") || StartsWith(name, "*PAPER_SPACE") ||
         StartsWith(name, "$MODEL_SPACE") || StartsWith(name, "$PAPER_SPACE") ||
         StartsWith(name, "*D") || StartsWith(name, "*X");
}

void SkipGroups() {
  while (NextEntityGroup()) {
  }
}

void ReadBlockHeader() {
  char name[kBlockNameCapacity] = {};
  PlanePoint base = {0, 0};
  while (NextEntityGroup()) {
    if (DxfLineIs("  2\n")) {
      ReadDxfTextValue(name, kBlockNameCapacity);
    } else if (DxfLineIs(" 10\n")) {
      ReadDxfWholeValue(base.x);
    } else if (DxfLineIs(" 20\n")) {
      ReadDxfWholeValue(base.y);
    }
  }
  storing = !PassedOver(name) && StartBlock(name, base);
}

BlockEntity* Add(BlockEntityKind kind, const char* kindName) {
  return storing ? AddBlockEntity(kind, kindName) : nullptr;
}

void KeepLeftOut(const char* kindName, LeftOutReason reason, double amount = 0) {
  if (BlockEntity* entity = Add(BlockEntityKind::kLeftOut, kindName)) {
    entity->leftOut.reason = reason;
    entity->leftOut.amount = amount;
  }
}

PlanePoint WholePoint(double x, double y) {
  return {WithoutFloatNoise(x), WithoutFloatNoise(y)};
}

void ReadBlockLine() {
  ValueHolders values = {};
  bool onGrid = false;
  if (!ReadLineGroups(values, onGrid)) {
    KeepLeftOut("LINE", LeftOutReason::kExtrusion);
    return;
  }
  if (BlockEntity* entity = Add(BlockEntityKind::kLine, "LINE")) {
    entity->line.start = WholePoint(values.x, values.y);
    entity->line.end = WholePoint(values.endX, values.endY);
  }
}

void ReadBlockArc() {
  CurveHolders curve = {};
  const ArcExtrusion extrusion = ReadArcGroups(curve);
  if (extrusion == ArcExtrusion::kOtherPlane) {
    KeepLeftOut("ARC", LeftOutReason::kExtrusion);
    return;
  }
  double cx = WithoutFloatNoise(curve.centreX);
  double a1 = WithoutFloatNoise(curve.startAngle);
  double a2 = WithoutFloatNoise(curve.endAngle);
  if (extrusion == ArcExtrusion::kMirrored) MirrorArc(cx, a1, a2);
  if (BlockEntity* entity = Add(BlockEntityKind::kArc, "ARC")) {
    entity->arc.centre = {cx, WithoutFloatNoise(curve.centreY)};
    entity->arc.radius = WithoutFloatNoise(curve.radius);
    entity->arc.startAngle = a1;
    entity->arc.endAngle = a2;
  }
}

void ReadBlockCircle() {
  CurveHolders curve = {};
  if (!ReadCircleGroups(curve)) {
    KeepLeftOut("CIRCLE", LeftOutReason::kExtrusion);
    return;
  }
  if (BlockEntity* entity = Add(BlockEntityKind::kCircle, "CIRCLE")) {
    entity->arc.centre = WholePoint(curve.centreX, curve.centreY);
    entity->arc.radius = WithoutFloatNoise(curve.radius);
  }
}

void ReadBlockPolyline(bool lightweight) {
  const char* kind = lightweight ? "LWPOLYLINE" : "POLYLINE";
  PolylineGroups polyline;
  if (!ReadPolylineGroups(lightweight, polyline)) return;
  if (polyline.verticesCut) KeepLeftOut(kind, LeftOutReason::kTooManyVertices);
  static PolylineVertex whole[kMaxVertices];
  for (int i = 0; i < polyline.count; ++i) {
    whole[i] = polyline.vertices[i];
    whole[i].x = WithoutFloatNoise(whole[i].x);
    whole[i].y = WithoutFloatNoise(whole[i].y);
    whole[i].bulge = WithoutFloatNoise(whole[i].bulge);
  }
  if (BlockEntity* entity = Add(BlockEntityKind::kPolyline, kind)) {
    entity->polyline.closed = (polyline.flags & 1) != 0;
    KeepPolylineVertices(*entity, whole, polyline.count);
  }
}

void ReadBlockText() {
  ValueHolders values = {};
  if (!ReadTextGroups(values)) return;
  if (BlockEntity* entity = Add(BlockEntityKind::kText, "TEXT")) {
    entity->text.point = WholePoint(values.x, values.y);
    entity->text.height = WithoutFloatNoise(values.textHeight);
    CopyText(entity->text.text, values.text, static_cast<int>(std::strlen(values.text)));
    entity->text.cut = values.textCut;
  }
}

void ReadBlockMtext() {
  MtextGroups mtext;
  ReadMtextGroups(mtext);
  if (mtext.onIdLayer) return;
  if (mtext.lines > 1) {
    KeepLeftOut("MTEXT", LeftOutReason::kMultiLineText, mtext.lines);
    return;
  }
  if (BlockEntity* entity = Add(BlockEntityKind::kText, "MTEXT")) {
    entity->text.point = mtext.point;
    entity->text.height = mtext.height;
    CopyText(entity->text.text, mtext.text, static_cast<int>(std::strlen(mtext.text)));
    entity->text.cut = mtext.cut;
  }
}

void ReadBlockPoint() {
  ValueHolders values = {};
  ReadPointGroups(values);
  if (BlockEntity* entity = Add(BlockEntityKind::kPoint, "POINT")) {
    entity->point = WholePoint(values.x, values.y);
  }
}

void ReadBlockEllipse() {
  EllipseGroups ellipse;
  ReadEllipseGroups(ellipse);
  if (ellipse.onGrid) return;
  if (ellipse.plane == CurvePlane::kOther) {
    KeepLeftOut("ELLIPSE", LeftOutReason::kExtrusion);
    return;
  }
  if (BlockEntity* entity = Add(BlockEntityKind::kEllipse, "ELLIPSE")) entity->ellipse = ellipse;
}

void ReadBlockSpline() {
  SplineReading spline;
  ReadSplineGroups(spline);
  if (spline.onGrid) return;
  if (spline.plane == CurvePlane::kOther) {
    KeepLeftOut("SPLINE", LeftOutReason::kExtrusion);
    return;
  }
  if (spline.tooManyPoints) {
    KeepLeftOut("SPLINE", LeftOutReason::kTooManyPoints, kMaxSplinePoints);
    return;
  }
  if (BlockEntity* entity = Add(BlockEntityKind::kSpline, "SPLINE")) {
    KeepSplinePoints(*entity, spline.groups);
  }
}

void ReadBlockInsert() {
  static InsertGroups insert;
  ReadInsertGroups(insert);
  if (BlockEntity* entity = Add(BlockEntityKind::kInsert, "INSERT")) KeepInsert(*entity, insert);
}

// The entity whose name line was just read; false for a kind Korvex does not read.
bool ReadBlockEntity() {
  if (DxfLineIs("LINE\n")) {
    ReadBlockLine();
  } else if (DxfLineIs("ARC\n")) {
    ReadBlockArc();
  } else if (DxfLineIs("CIRCLE\n")) {
    ReadBlockCircle();
  } else if (DxfLineIs("POLYLINE\n")) {
    ReadBlockPolyline(false);
  } else if (DxfLineIs("LWPOLYLINE\n")) {
    ReadBlockPolyline(true);
  } else if (DxfLineIs("TEXT\n")) {
    ReadBlockText();
  } else if (DxfLineIs("MTEXT\n")) {
    ReadBlockMtext();
  } else if (DxfLineIs("POINT\n")) {
    ReadBlockPoint();
  } else if (DxfLineIs("ELLIPSE\n")) {
    ReadBlockEllipse();
  } else if (DxfLineIs("SPLINE\n")) {
    ReadBlockSpline();
  } else if (DxfLineIs("INSERT\n")) {
    ReadBlockInsert();
  } else if (DxfLineIs("ATTDEF\n") || DxfLineIs("VERTEX\n") || DxfLineIs("SEQEND\n")) {
    // An attribute's definition (the INSERT's own ATTRIB entities carry what is drawn), or
    // what belongs to a polyline.
    SkipGroups();
  } else {
    return false;
  }
  return true;
}

}  // namespace

void ReadBlocksSection() {
  storing = false;
  bool atName = false;  // the line follows a "  0", so it names an entity
  while (ReadDxfLine()) {
    if (atName) {
      if (DxfLineIs("ENDSEC\n")) return;
      if (DxfLineIs("BLOCK\n")) {
        ReadBlockHeader();
      } else if (DxfLineIs("ENDBLK\n")) {
        storing = false;
      } else if (!ReadBlockEntity()) {
        const DxfLine& line = CurrentDxfLine();
        char kind[kLeftOutKindCapacity] = {};
        const int length =
            line.length > 0 && line.text[line.length - 1] == '\n' ? line.length - 1 : line.length;
        for (int i = 0; i < length && i < kLeftOutKindCapacity - 1; ++i) kind[i] = line.text[i];
        KeepLeftOut(kind, LeftOutReason::kUnreadKind);
        SkipGroups();
      }
    }
    atName = DxfLineIs("  0\n");
  }
}

}  // namespace korvex
