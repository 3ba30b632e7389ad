// The shape sheet: a 16 x 16 grid of 100-unit boxes at a pitch of 125 drawing units,
// numbered 1 to 256 row by row from the top left. Cell n holds shape n; cell 256, the
// bottom-right box, is no shape cell (the template marker pair stands above it).
#pragma once

#include <cstdint>

namespace korvex {

inline constexpr int kSheetColumns = 16;
inline constexpr int kCellCount = 256;
inline constexpr int kMaxShapeNumber = 255;
inline constexpr int kCellPitch = 125;
inline constexpr int kCellBoxSize = 100;
inline constexpr int kSheetExtent = 1975;

struct CellBox {
  std::int16_t left;
  std::int16_t right;
  std::int16_t bottom;
  std::int16_t top;
};

// Index 1 to 256; entry 0 is unused.
extern CellBox cellTable[kCellCount + 1];

void BuildCellTable();

// The cell whose catchment holds the point (whole units); any value, also outside 1 to 256.
std::int16_t CellOfPoint(std::int16_t x, std::int16_t y);

// The box of cell n with every edge widened by 0.5; false for n outside 1 to 256.
bool InsideCellBox(int n, double x, double y);

// Shape number 1 to 255 of a segment whose two ends lie in one box, else 0.
std::int16_t LineCell(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2);

// Cell of a text insertion point, the box extended upward over the name band; 0 if none.
std::int16_t TextCell(std::int16_t x, std::int16_t y);

// Cell of a POINT: the box, its top edge not included; 0 if none.
std::int16_t PointCell(std::int16_t x, std::int16_t y);

inline bool IsShapeNumber(int n) {
  return n >= 1 && n <= kMaxShapeNumber;
}

}  // namespace korvex
