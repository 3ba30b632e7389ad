// The text glyph library: the strokes with which TEXT entities are drawn, read from the
// support file SHPTXT.SHP, itself a shape source file whose shape numbers are character
// codes. Each glyph is drawn 6 units high, starts with the pen down at the character's
// origin and leaves the pen where the next character begins.
#pragma once

#include <cstdint>
#include <cstdio>

#include "shape_files/shape_format.h"

namespace korvex {

inline constexpr int kMaxGlyphCode = 130;
// A glyph's text: its tokens, each followed by a comma, at most 199 characters.
inline constexpr int kGlyphTextCapacity = 200;
inline constexpr int kMaxTokenLength = 18;
// Longest line read at once while indexing; longer lines come in pieces.
inline constexpr int kGlyphIndexLine = 80;
// Longest line read at once while collecting a glyph's tokens.
inline constexpr int kGlyphBodyLine = 81;
// The glyph index: per character code, the byte position of the glyph's first body line
// and its byte count less the final 0 (once collected, the tokens its text holds, which a
// malformed file may make fewer than its header says). Codes without a glyph keep 0 and 0.
// A header's byte count beyond a whole shape's limit (kShapeByteLimit) cannot be a glyph;
// it is ignored.
std::int32_t GlyphBodyOffset(int code);
std::int32_t GlyphTokenCount(int code);

// Indexes the open file (binary mode) from its start, up to and including the glyph of code
// 130, then collects every glyph's text so that lookups need no further reading. False,
// after the message "Error finding text definition", when a body offset cannot be reached:
// the run stops.
bool LoadGlyphIndex(std::FILE* file);

// The glyph text of a character code; empty for a code without a glyph or outside 0 to 130.
const char* LookUpGlyph(int code);

// The length of that text.
int GlyphTextLength(int code);

// The bytes the glyph adds to a shape: its token count + 1 (1 for a code without a glyph).
int GlyphByteCount(int code);

}  // namespace korvex
