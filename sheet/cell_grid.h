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
// A box is one unit of the compiled shape: every shape divides its vector lengths by this.
inline constexpr int kShapeScale = kCellBoxSize;

struct CellBox {
  std::int16_t left;
  std::int16_t right;
  std::int16_t bottom;
  std::int16_t top;
};

// The box of cell n (1 to 256): cell 1 at the top left, rows of 16.
constexpr CellBox CellBoxOf(int n) {
  const int row = (n - 1) / kSheetColumns;
  const int col = (n - 1) % kSheetColumns;
  const int bottom = kSheetExtent - kCellBoxSize - kCellPitch * row;
  return {static_cast<std::int16_t>(kCellPitch * col),
          static_cast<std::int16_t>(kCellPitch * col + kCellBoxSize),
          static_cast<std::int16_t>(bottom), static_cast<std::int16_t>(bottom + kCellBoxSize)};
}

struct CellCorner {
  int x;
  int y;
};

// The lower-left corner of cell n's box: where a shape's insertion point lies when the
// cell holds no POINT.
constexpr CellCorner CellCornerOf(int n) {
  const CellBox box = CellBoxOf(n);
  return {box.left, box.bottom};
}

// Fills the cell table (cells 1 to 256) that the cell rules below read.
void BuildCellTable();

// The cell whose catchment holds the point (whole units); any value, also outside 1 to 256.
std::int16_t CellOfPoint(std::int16_t x, std::int16_t y);

// Shape number 1 to 255 of a segment whose two ends lie in one box, else 0.
std::int16_t LineCell(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2);

// Cell of a text insertion point, the box extended upward over the name band; 0 if none.
std::int16_t TextCell(std::int16_t x, std::int16_t y);

// Cell of a POINT: the box, its top edge not included; 0 if none.
std::int16_t PointCell(std::int16_t x, std::int16_t y);

inline bool IsShapeNumber(int n) {
  return n >= 1 && n <= kMaxShapeNumber;
}

// Cells 1 to 256 have boxes; no other number has.
inline bool IsCellNumber(int n) {
  return n >= 1 && n <= kCellCount;
}

}  // namespace korvex
