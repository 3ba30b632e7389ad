#include "core/cell_grid.h"

#include <cmath>

namespace korvex {

CellBox cellTable[kCellCount + 1];

void BuildCellTable() {
  for (int n = 1; n <= kCellCount; ++n) {
    const int row = (n - 1) / kSheetColumns;
    const int col = (n - 1) % kSheetColumns;
    CellBox& box = cellTable[n];
    box.left = static_cast<std::int16_t>(kCellPitch * col);
    box.right = static_cast<std::int16_t>(kCellPitch * col + kCellBoxSize);
    box.bottom = static_cast<std::int16_t>(1875 - kCellPitch * row);
    box.top = static_cast<std::int16_t>(1875 - kCellPitch * row + kCellBoxSize);
  }
}

std::int16_t CellOfPoint(double x, double y) {
  // The row term is negative on the sheet, so its truncation toward zero moves a y with
  // (y + 4) an exact multiple of 125 into the row below. Callers pass whole 16-bit units,
  // so both terms stay far inside the int range.
  const int rowTerm = static_cast<int>(std::trunc((y + 4) / kCellPitch - 17));
  const int colTerm = static_cast<int>(std::trunc((x + 4) / kCellPitch + 1));
  return static_cast<std::int16_t>(colTerm - kSheetColumns * (rowTerm + 1));
}

static bool IsCellNumber(int n) {
  return n >= 1 && n <= kCellCount;
}

bool InsideCellBox(int n, double x, double y) {
  if (!IsCellNumber(n)) return false;
  const CellBox& box = cellTable[n];
  return box.left <= x + 0.5 && box.right >= x - 0.5 && box.bottom <= y + 0.5 && box.top >= y - 0.5;
}

std::int16_t LineCell(double x1, double y1, double x2, double y2) {
  // The sheet's y limit is 1980 here, not 1975.
  if (x1 < 0 || x1 > kSheetExtent || y1 < 0 || y1 > 1980) return 0;
  if (x2 < 0 || x2 > kSheetExtent || y2 < 0 || y2 > 1980) return 0;
  if (x1 == x2 && y1 == y2) return 0;
  const std::int16_t startCell = CellOfPoint(x1, y1);
  if (!InsideCellBox(startCell, x1, y1)) return 0;
  const std::int16_t endCell = CellOfPoint(x2, y2);
  if (!InsideCellBox(endCell, x2, y2)) return 0;
  if (startCell != endCell || !IsShapeNumber(startCell)) return 0;
  return startCell;
}

std::int16_t TextCell(double x, double y) {
  const std::int16_t n = CellOfPoint(x, y);
  if (!IsCellNumber(n)) return 0;
  const CellBox& box = cellTable[n];
  // The 105 reaches past the name band; the catchment rule bounds the band in practice.
  const bool inside = box.left <= x + 0.5 && box.bottom <= y + 0.5 && box.right >= x - 0.5 &&
                      box.top + 105 >= y + 0.5;
  return inside ? n : 0;
}

std::int16_t PointCell(double x, double y) {
  const std::int16_t n = CellOfPoint(x, y);
  if (!IsCellNumber(n)) return 0;
  const CellBox& box = cellTable[n];
  const bool inside =
      box.left <= x + 0.5 && box.bottom <= y + 0.5 && box.right >= x - 0.5 && box.top >= y + 0.5;
  return inside ? n : 0;
}

}  // namespace korvex
