#include "sheet/cell_grid.h"

namespace korvex {

namespace {

// Index 1 to 256; entry 0 is unused.
CellBox cellTable[kCellCount + 1];

}  // namespace

void BuildCellTable() {
  for (int n = 1; n <= kCellCount; ++n) cellTable[n] = CellBoxOf(n);
}

std::int16_t CellOfPoint(std::int16_t x, std::int16_t y) {
  // rowTerm = trunc((y + 4) / 125 - 17) and colTerm = trunc((x + 4) / 125 + 1). For whole
  // units both are exact integer divisions, which truncate toward zero as the rule does;
  // the negative row term is why a y with (y + 4) an exact multiple of 125 falls into the
  // row below.
  const int rowTerm = (y + 4 - 17 * kCellPitch) / kCellPitch;
  const int colTerm = (x + 4 + kCellPitch) / kCellPitch;
  return static_cast<std::int16_t>(colTerm - kSheetColumns * (rowTerm + 1));
}

std::int16_t LineCell(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2) {
  // The sheet's y limit is 1980 here, not 1975.
  if (x1 < 0 || x1 > kSheetExtent || y1 < 0 || y1 > 1980) return 0;
  if (x2 < 0 || x2 > kSheetExtent || y2 < 0 || y2 > 1980) return 0;
  if (x1 == x2 && y1 == y2) return 0;
  // Both ends in one box: for whole units the box widened by 0.5 holds exactly the
  // points of the box itself, so the test stays in integers.
  const std::int16_t n = CellOfPoint(x1, y1);
  if (CellOfPoint(x2, y2) != n || !IsShapeNumber(n)) return 0;
  const CellBox& box = cellTable[n];
  const bool inside = box.left <= x1 && x1 <= box.right && box.bottom <= y1 && y1 <= box.top &&
                      box.left <= x2 && x2 <= box.right && box.bottom <= y2 && y2 <= box.top;
  return inside ? n : 0;
}

std::int16_t TextCell(std::int16_t x, std::int16_t y) {
  const std::int16_t n = CellOfPoint(x, y);
  if (!IsCellNumber(n)) return 0;
  const CellBox& box = cellTable[n];
  // The 105 reaches past the name band; the catchment rule bounds the band in practice.
  const bool inside = box.left <= x + 0.5 && box.bottom <= y + 0.5 && box.right >= x - 0.5 &&
                      box.top + 105 >= y + 0.5;
  return inside ? n : 0;
}

std::int16_t PointCell(std::int16_t x, std::int16_t y) {
  const std::int16_t n = CellOfPoint(x, y);
  if (!IsCellNumber(n)) return 0;
  const CellBox& box = cellTable[n];
  const bool inside =
      box.left <= x + 0.5 && box.bottom <= y + 0.5 && box.right >= x - 0.5 && box.top >= y + 0.5;
  return inside ? n : 0;
}

}  // namespace korvex
