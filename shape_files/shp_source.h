// The shape source reader: any .shp file, ours or hand-written, read into fixed tables.
// Header lines "*number,bytes,name" (the number decimal or, with a leading zero,
// hexadecimal), "*0" and "*UNIFONT" font descriptions, "*BIGFONT" lines, comments from ";"
// to the end of the line, blank lines, and body bytes in decimal or leading-zero
// hexadecimal ("012" is 18, "0A" is 10, "-012" is -18), in parenthesised groups or not,
// continued over as many lines as needed. Reading stops at the end-of-file byte 0x1A;
// anything but blanks after it is a problem, as the compiler would never see it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "shape_files/shape_format.h"
#include "shape_files/source_problem.h"

namespace korvex {

// Hand-written fonts go past our 255 shapes (Unicode fonts to 65535 shape numbers); the
// tables hold this many shapes of up to the compiler's 2000 bytes each, so a file that
// the compiler takes always fits.
inline constexpr int kMaxSourceShapes = 1024;
inline constexpr int kSourceByteCapacity = kMaxSourceShapes * kShapeByteLimit;
inline constexpr int kMaxSourceShapeNumber = 65535;
// The compiler refuses longer lines (CR LF not counted).
inline constexpr int kCompilerLineLimit = 128;
// Names are kept up to this length (less one); longer ones are cut.
inline constexpr int kSourceNameCapacity = 64;
// A larger file is refused before it is read.
inline constexpr std::uintmax_t kMaxSourceFileBytes = 64u * 1024u * 1024u;

// A big font's lead-byte ranges ("*BIGFONT count,ranges,first,last,..."), each end a byte;
// more are refused. So many still fit one line of source text.
inline constexpr int kMaxBigFontRanges = 8;
inline constexpr int kMaxLeadByte = 255;
struct BigFontRange {
  std::int32_t first;
  std::int32_t last;
};

struct SourceShape {
  std::int32_t number;         // 1 to 65535; 0 for the font description (*0, *UNIFONT)
  std::int32_t declaredBytes;  // the count in the header
  std::int32_t firstByte;      // index of its first byte in ShapeSource::bytes
  std::int32_t byteCount;      // the bytes its body holds
  std::int32_t headerLine;
  bool malformed;  // part of its body could not be read, so its bytes are not checked
  char name[kSourceNameCapacity];
};

// Big: keep one as a static or on the heap, never on the stack.
struct ShapeSource {
  SourceShape shapes[kMaxSourceShapes];
  std::int16_t bytes[kSourceByteCapacity];
  std::int32_t byteLines[kSourceByteCapacity];  // the line each byte stands on
  // Whether each byte was written in leading-zero hexadecimal: a negative octant byte in
  // decimal means different things to different readers.
  bool hexBytes[kSourceByteCapacity];
  int shapeCount = 0;
  int byteCount = 0;
  bool unifont = false;     // a *UNIFONT file: code 7 takes a two-byte shape number
  bool bigFont = false;     // a *BIGFONT line was read
  int bigFontEstimate = 0;  // the shape count the *BIGFONT line gives, for the compiled file
  int bigFontRangeCount = 0;
  BigFontRange bigFontRanges[kMaxBigFontRanges];
  bool truncated = false;  // the tables were full: the rest of the file was not read

  // Empties the tables, as every reader does first.
  void Clear() {
    shapeCount = 0;
    byteCount = 0;
    unifont = false;
    bigFont = false;
    bigFontRangeCount = 0;
    truncated = false;
  }
  // The first shape with the number, or nullptr.
  const SourceShape* Find(int number) const;
  const std::int16_t* BytesOf(const SourceShape& shape) const { return bytes + shape.firstByte; }
  const std::int32_t* LinesOf(const SourceShape& shape) const {
    return byteLines + shape.firstByte;
  }
};

// Reads shape source text into the tables (emptied first). The lines the reader cannot
// take, and lines longer than the compiler's limit, go to the problem list with their line
// numbers; reading goes on after each.
void ReadShapeSource(std::string_view text, ShapeSource& source, SourceProblemList& problems);

// Reads a file as ReadShapeSource does; false, with a problem of line 0, when it cannot
// be read at all.
bool ReadShapeSourceFile(const std::filesystem::path& path, ShapeSource& source,
                         SourceProblemList& problems);

// Reads a whole shape file's bytes, source or compiled; false, with a problem of line 0,
// when it cannot be opened or is larger than kMaxSourceFileBytes.
bool ReadShapeFileBytes(const std::filesystem::path& path, std::string& bytes,
                        SourceProblemList& problems);

// Reads one number as shape source files write it: decimal, or hexadecimal after a leading
// zero, with an optional sign. False when the text is not such a number or its size is
// past the limit: 32767 for bytes and counts, kMaxSourceShapeNumber for shape numbers.
inline constexpr int kMaxSourceValue = 32767;
bool ReadSourceNumber(std::string_view text, int& value, int limit = kMaxSourceValue);

}  // namespace korvex
