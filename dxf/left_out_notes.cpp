#include "dxf/left_out_notes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sheet/cell_grid.h"

namespace korvex {
namespace {

const char* notedBlocks = nullptr;

bool OnSheet(std::int16_t x, std::int16_t y) {
  // The same bounds as LineCell's, whose y limit is 1980.
  return x >= 0 && x <= kSheetExtent && y >= 0 && y <= 1980;
}

bool InsideBox(int n, std::int16_t x, std::int16_t y) {
  if (!IsCellNumber(n)) return false;
  const CellBox box = CellBoxOf(n);
  return box.left <= x && x <= box.right && box.bottom <= y && y <= box.top;
}

// How far, and which way, the farther end of two lies outside box n.
void SetOutside(LeftOutEntry& entry, int n, std::int16_t x1, std::int16_t y1, std::int16_t x2,
                std::int16_t y2) {
  const CellBox box = CellBoxOf(n);
  double worst = 0;
  const char* way = "outside";
  for (const auto& [x, y] : {std::pair{x1, y1}, std::pair{x2, y2}}) {
    const struct {
      int distance;
      const char* way;
    } sides[] = {{box.left - x, "left of"},
                 {x - box.right, "right of"},
                 {box.bottom - y, "below"},
                 {y - box.top, "above"}};
    for (const auto& side : sides) {
      if (side.distance > worst) {
        worst = side.distance;
        way = side.way;
      }
    }
  }
  entry.amount = worst;
  std::snprintf(entry.detail, sizeof entry.detail, "%s", way);
}

// The reason a piece whose ends lie in cells n1 and n2 is no shape's, given that it is not.
void SetPlacement(LeftOutEntry& entry, int n1, int n2, bool inside1, bool inside2) {
  if (n1 == n2 && inside1 && inside2) {
    entry.reason = n1 == kCellCount ? LeftOutReason::kInCell256 : LeftOutReason::kOffSheet;
    entry.cell = static_cast<std::int16_t>(n1);
    return;
  }
  entry.cell = static_cast<std::int16_t>(n1);
  if (n1 != n2) {
    entry.otherCell = static_cast<std::int16_t>(n2);
    entry.reason = inside1 && inside2 ? LeftOutReason::kTwoBoxes : LeftOutReason::kCrossesGap;
    return;
  }
  entry.reason = n1 == kCellCount ? LeftOutReason::kInCell256 : LeftOutReason::kEndOutsideBox;
}

}  // namespace

void SetNotedBlocks(const char* chain) {
  notedBlocks = chain;
}

LeftOutEntry StartNote(const char* kind, std::int32_t line, LeftOutReason reason) {
  LeftOutEntry entry = StartLeftOut(kind, line, reason);
  if (notedBlocks != nullptr) {
    std::snprintf(entry.block, sizeof entry.block, "%s", notedBlocks);
  }
  return entry;
}

void NoteDroppedSegment(const char* kind, std::int32_t line, std::int16_t x1, std::int16_t y1,
                        std::int16_t x2, std::int16_t y2) {
  LeftOutEntry entry = StartNote(kind, line, LeftOutReason::kOffSheet);
  SetLeftOutSegment(entry, x1, y1, x2, y2);
  if (OnSheet(x1, y1) && OnSheet(x2, y2)) {
    if (x1 == x2 && y1 == y2) {
      entry.reason = LeftOutReason::kZeroLength;
    } else {
      const int n1 = CellOfPoint(x1, y1);
      const int n2 = CellOfPoint(x2, y2);
      SetPlacement(entry, n1, n2, InsideBox(n1, x1, y1), InsideBox(n2, x2, y2));
      if (entry.reason == LeftOutReason::kEndOutsideBox) SetOutside(entry, n1, x1, y1, x2, y2);
    }
  }
  NoteLeftOut(entry);
}

void NoteDroppedArc(const char* kind, std::int32_t line, std::int16_t sx, std::int16_t sy,
                    std::int16_t ex, std::int16_t ey, const ArcBox& box, double cx, double cy,
                    double r) {
  LeftOutEntry entry = StartNote(kind, line, LeftOutReason::kZeroLength);
  SetLeftOutCircle(entry, cx, cy, r);
  if (sx != ex || sy != ey) {
    const int n1 = CellOfPoint(sx, sy);
    const int n2 = CellOfPoint(ex, ey);
    SetPlacement(entry, n1, n2, InsideBox(n1, sx, sy), InsideBox(n2, ex, ey));
    if (!IsCellNumber(n1)) {
      entry.reason = LeftOutReason::kOffSheet;
      entry.cell = 0;
    } else if (entry.reason == LeftOutReason::kEndOutsideBox) {
      // Both ends in one cell's catchment: the curve passes its box somewhere.
      const CellBox cell = CellBoxOf(n1);
      entry.reason = LeftOutReason::kCurveLeavesBox;
      entry.amount = std::max({cell.left - box.minX, box.maxX - cell.right, cell.bottom - box.minY,
                               box.maxY - cell.top});
    }
  }
  NoteLeftOut(entry);
}

void NoteDroppedCurve(const char* kind, std::int32_t line, std::int16_t sx, std::int16_t sy,
                      const ArcBox& box, PlanePoint keyPoint) {
  LeftOutEntry entry = StartNote(kind, line, LeftOutReason::kOffSheet);
  SetLeftOutPoint(entry, keyPoint.x, keyPoint.y);
  const int n = OnSheet(sx, sy) ? CellOfPoint(sx, sy) : 0;
  if (IsCellNumber(n)) {
    entry.cell = static_cast<std::int16_t>(n);
    const CellBox cell = CellBoxOf(n);
    // The extent is sampled, true to a hundredth of a unit: so is the distance.
    const double beyond = std::max(
        {cell.left - box.minX, box.maxX - cell.right, cell.bottom - box.minY, box.maxY - cell.top});
    entry.amount = std::round(100 * beyond) / 100;
    entry.reason = n == kCellCount && entry.amount <= 0.5 ? LeftOutReason::kInCell256
                                                          : LeftOutReason::kCurveLeavesBox;
  }
  NoteLeftOut(entry);
}

void NoteDroppedCircle(const char* kind, std::int32_t line, std::int16_t cx, std::int16_t cy,
                       std::int16_t r) {
  LeftOutEntry entry = StartNote(kind, line, LeftOutReason::kOffSheet);
  SetLeftOutCircle(entry, cx, cy, r);
  const int n = CellOfPoint(cx, cy);
  if (IsCellNumber(n)) {
    entry.cell = static_cast<std::int16_t>(n);
    const CellBox cell = CellBoxOf(n);
    if (n == kCellCount) {
      entry.reason = LeftOutReason::kInCell256;
    } else {
      entry.reason = LeftOutReason::kCurveLeavesBox;
      // In y a circle must keep half a unit inside its box: one that only touches the top or
      // bottom edge leaves it by that half unit.
      entry.amount = std::max({static_cast<double>(cell.left - (cx - r)),
                               static_cast<double>((cx + r) - cell.right),
                               cell.bottom - (cy - r) + 0.5, (cy + r) - cell.top + 0.5});
    }
  }
  NoteLeftOut(entry);
}

void NoteDroppedAt(const char* kind, std::int32_t line, LeftOutReason reason, double x, double y,
                   std::int16_t cell) {
  LeftOutEntry entry = StartNote(kind, line, reason);
  SetLeftOutPoint(entry, x, y);
  entry.cell = cell;
  NoteLeftOut(entry);
}

void NoteDropped(const char* kind, std::int32_t line, LeftOutReason reason) {
  NoteLeftOut(StartNote(kind, line, reason));
}

}  // namespace korvex
