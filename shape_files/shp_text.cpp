#include "shape_files/shp_text.h"

#include <charconv>
#include <string_view>

#include "shape_files/shape_interpreter.h"
#include "shape_files/shp_layout.h"

namespace korvex {
namespace {

// The body text being built; every append is bounded by the capacity.
struct BodyText {
  char* text;
  int length = 0;

  void Char(char c) {
    if (length < kShapeBodyTextCapacity) text[length++] = c;
  }
  void Number(int value) {
    const std::to_chars_result result =
        std::to_chars(text + length, text + kShapeBodyTextCapacity, value);
    if (result.ec == std::errc()) length = static_cast<int>(result.ptr - text);
  }
  // (-)0SC: the sign, a leading zero and two hexadecimal digits.
  void Octant(int value) {
    const int magnitude = value < 0 ? -value : value;
    constexpr char kDigits[] = "0123456789ABCDEF";
    if (value < 0) Char('-');
    Char('0');
    Char(kDigits[magnitude >> 4 & 0xF]);
    Char(kDigits[magnitude & 0xF]);
  }
  // ",(a,b,...)" over the operands from..to (excluded); the octant one, if any, as (-)0SC.
  void Group(const std::int16_t* bytes, int from, int to, int octantAt = -1) {
    Char(',');
    Char('(');
    for (int k = from; k < to; ++k) {
      if (k > from) Char(',');
      if (k == octantAt) {
        Octant(bytes[k]);
      } else {
        Number(bytes[k]);
      }
    }
    Char(')');
  }
};

// The operands of 9 and 13 come in groups of two and three up to the closing (0,0).
void ListGroups(BodyText& body, const std::int16_t* bytes, int from, int to, int size) {
  for (int k = from; k < to;) {
    const int end = (k + 2 == to) ? to : k + size;
    body.Group(bytes, k, end);
    k = end;
  }
}

}  // namespace

int FormatShapeBody(const std::int16_t* bytes, int count, bool wideSubshapeNumbers,
                    bool description, char (&text)[kShapeBodyTextCapacity]) {
  BodyText body{text};
  int i = 0;
  while (i < count && !description) {
    const int code = bytes[i];
    const int length = ShapeCommandLength(bytes, count, i, wideSubshapeNumbers);
    if (length < 0 || code < 0 || code > 255) break;
    if (i > 0) body.Char(',');
    body.Number(code);
    switch (code) {
      case 7:
        if (wideSubshapeNumbers) {
          body.Group(bytes, i + 1, i + length);
          break;
        }
        [[fallthrough]];
      case 3:
      case 4:
        body.Char(',');
        body.Number(bytes[i + 1]);
        break;
      case 8:
      case 12:
        body.Group(bytes, i + 1, i + length);
        break;
      case 9:
        ListGroups(body, bytes, i + 1, i + length, 2);
        break;
      case 13:
        ListGroups(body, bytes, i + 1, i + length, 3);
        break;
      case 10:
      case 11:
        body.Group(bytes, i + 1, i + length, i + length - 1);
        break;
      default:
        break;  // codes 0 to 2, 5, 6, 14 and the one-byte vectors
    }
    i += length;
  }
  for (; i < count; ++i) {
    if (i > 0) body.Char(',');
    body.Number(bytes[i]);
  }
  return body.length;
}

bool WriteShapeSourceText(const ShapeSource& source, std::FILE* output) {
  StartShpOutput(output);
  static char text[kShapeBodyTextCapacity];
  if (source.bigFont) {
    // "*BIGFONT count,ranges,first,last,...": a line of its own before the shapes.
    BodyText line{text};
    for (const char c : std::string_view("*BIGFONT ")) line.Char(c);
    line.Number(source.bigFontEstimate);
    line.Char(',');
    line.Number(source.bigFontRangeCount);
    for (int r = 0; r < source.bigFontRangeCount; ++r) {
      line.Char(',');
      line.Number(source.bigFontRanges[r].first);
      line.Char(',');
      line.Number(source.bigFontRanges[r].last);
    }
    if (!WriteShpLine(text, static_cast<std::size_t>(line.length))) return false;
  }
  for (int s = 0; s < source.shapeCount; ++s) {
    const SourceShape& shape = source.shapes[s];
    char number[8] = "UNIFONT";
    if (!(source.unifont && shape.number == 0)) {
      *std::to_chars(number, number + sizeof number - 1, shape.number).ptr = '\0';
    }
    const int length = FormatShapeBody(source.BytesOf(shape), shape.byteCount, source.unifont,
                                       shape.number == 0, text);
    if (!WriteShpHeader(number, shape.byteCount, shape.name) ||
        !WriteShpBody(text, static_cast<std::size_t>(length))) {
      return false;
    }
  }
  return FinishShpOutput();
}

}  // namespace korvex
