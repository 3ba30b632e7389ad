// Texts as this program writes them into a shape, found again in its bytes: "5,4,h,3,6"
// (push, scale by h/6), for each character its glyph's bytes from SHPTXT.SHP and a pen-down,
// then "6,3,h,4,6". So that a sheet drawn from such a shape shows the text as a TEXT of its
// height and string, which converts back into the same bytes.
#pragma once

#include <cstdint>

#include "shape_files/shp_source.h"

namespace korvex {

inline constexpr int kMaxTextCharacters = 30;  // a drawing's text holds no more
inline constexpr int kMaxShapeTexts = 64;
inline constexpr int kMaxTextGlyph = 130;  // the glyph file's codes run to 130

struct TextBlock {
  int from;  // its bytes in the shape, from the push to the last code of the closing
  int to;
  int height;
  double x;  // its insertion point, shape units from the shape's
  double y;
  char text[kMaxTextCharacters + 1];
};

struct TextBlockList {
  TextBlock items[kMaxShapeTexts];
  int count;
};

// The glyphs with which this program draws texts (SHPTXT.SHP, read as shape source), or
// nullptr: no text is found then.
void UseGlyphsForTexts(const ShapeSource* glyphs);

// Finds the texts among the shape's commands, up to its end, with where the pen stands at
// each. A shape that calls subshapes is left alone: they may hold texts of their own.
void FindShapeTexts(const ShapeSource& source, const SourceShape& shape, TextBlockList& texts);

// The shape's bytes with each text replaced by a subshape 0 (which marks its place) and a
// pen-down, as the text leaves the pen; returns their count.
int MarkShapeTexts(const ShapeSource& source, const SourceShape& shape, const TextBlockList& texts,
                   std::int16_t (&markedBytes)[kShapeByteLimit]);

}  // namespace korvex
