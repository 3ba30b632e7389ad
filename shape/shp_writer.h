// The SHP file writer: the shape source file that the CAD program compiles. One shape
// definition per shape cell that holds something, in ascending shape number: a header
// line "*number,bytes,NAME" and body lines cut after a comma from the 62nd character on,
// every line ending in CR LF, and the byte 0x1A at the very end.
#pragma once

#include <cstdio>

namespace korvex {

inline constexpr const char* kGlyphFileName = "SHPTXT.SHP";
inline constexpr int kBodyLineCut = 62;
inline constexpr int kWriterLineCapacity = 80;

// Writes every shape to the open output (binary mode). False, after a message, when the
// program's folder cannot be found or the output could not be written. A missing glyph
// file ends the program.
bool WriteShapes(std::FILE* output);

// Sorts the first entityTotal keys ascending: records grouped by shape, in reading order.
void SortEntityKeys();

}  // namespace korvex
