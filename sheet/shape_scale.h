// The scale a cell's drawing has, as a SCALE text in its name band records it: "SCALE p" or
// "SCALE p/q", p drawing units for q units of the shape. A sheet drawn from a shape file
// shows each shape as large as its box allows and records the scale, so that converting
// it writes the scale codes that give the shape its own size back. Without such a text a
// cell is at the sheet's scale: one shape unit is the 100-unit box (a text font's cells: one
// unit is one drawing unit).
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvex {

// Each part of the ratio is one byte of a scale code (3 divides, 4 multiplies).
inline constexpr int kMaxScalePart = 255;
inline constexpr int kScaleTextCapacity = 16;  // "SCALE 255/255" and its NUL

struct ShapeScale {
  std::int16_t drawingUnits;  // p; 0: no scale recorded
  std::int16_t shapeUnits;    // q
};

// Reads "SCALE p" or "SCALE p/q" (the word in any case, blanks around the parts), p and q 1
// to 255. False for any other text.
bool ReadScaleText(const char* text, ShapeScale& scale);

// Writes the text that ReadScaleText reads back, "SCALE p" when q is 1.
std::size_t FormatScaleText(const ShapeScale& scale, char (&text)[kScaleTextCapacity]);

}  // namespace korvex
