#include "shape_files/shape_texts.h"

#include <algorithm>
#include <cstring>

#include "shape_files/shape_interpreter.h"
#include "sheet/shape_scale.h"

namespace korvex {
namespace {

struct GlyphTable {
  const std::int16_t* bytes[kMaxTextGlyph + 1];
  int count[kMaxTextGlyph + 1];  // without the final 0; 0 for none
  bool loaded;
};
GlyphTable glyphTable;

// Per byte position, the least number of characters read so far from which matching the
// rest failed there: a later try with as many or more fails too.
int failedDepth[kShapeByteLimit + 1];

// Characters are tried letters and digits first, so that of two glyphs with the same bytes
// the string reads as a word.
constexpr char kTextOrder[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 "
    "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~";

bool Closing(const std::int16_t* b, int count, int j, int h) {
  return j + 5 <= count && b[j] == 6 && b[j + 1] == 3 && b[j + 2] == h && b[j + 3] == 4 &&
         b[j + 4] == 6;
}

bool MatchGlyph(const std::int16_t* b, int count, int j, int code) {
  const int length = glyphTable.count[code];
  return length > 0 && j + length < count &&
         std::memcmp(b + j, glyphTable.bytes[code], sizeof(std::int16_t) * length) == 0 &&
         b[j + length] == 1;
}

// The characters from byte j up to the closing codes; the block's end and its string.
bool MatchCharacters(const std::int16_t* b, int count, int j, int h, int depth, TextBlock& block) {
  if (Closing(b, count, j, h)) {
    block.to = j + 5;
    block.text[depth] = '\0';
    return depth > 0;
  }
  if (depth == kMaxTextCharacters || failedDepth[j] <= depth) return false;
  auto tryCode = [&](int code) {
    if (!MatchGlyph(b, count, j, code)) return false;
    block.text[depth] = static_cast<char>(code);
    return MatchCharacters(b, count, j + glyphTable.count[code] + 1, h, depth + 1, block);
  };
  for (const char* c = kTextOrder; *c != '\0'; ++c) {
    if (tryCode(static_cast<unsigned char>(*c))) return true;
  }
  for (int code = 127; code <= kMaxTextGlyph; ++code) {
    if (tryCode(code)) return true;
  }
  failedDepth[j] = depth;
  return false;
}

}  // namespace

void FindShapeTexts(const ShapeSource& source, const SourceShape& shape, TextBlockList& texts) {
  texts.count = 0;
  const std::int16_t* b = source.BytesOf(shape);
  const int count = shape.byteCount;
  if (!glyphTable.loaded || count > kShapeByteLimit) return;
  for (int i = 0; i < count;) {
    if (b[i] == 7) return;  // subshapes may hold texts of their own: drawn in strokes
    const int length = ShapeCommandLength(b, count, i, source.unifont);
    if (length < 0) break;
    i += length;
  }
  std::fill(failedDepth, failedDepth + count + 1, kMaxTextCharacters + 1);
  static std::int16_t before[kShapeByteLimit + 1];
  for (int i = 0; i < count && texts.count < kMaxShapeTexts && b[i] != 0;) {
    TextBlock& block = texts.items[texts.count];
    const int h = i + 5 <= count ? b[i + 2] : 0;
    const bool opens = b[i] == 5 && h >= 1 && h <= kMaxScalePart && b[i + 1] == 4 &&
                       b[i + 3] == 3 && b[i + 4] == 6;
    if (opens && MatchCharacters(b, count, i + 5, h, 0, block)) {
      // The insertion point: where the pen stands at the push.
      std::copy(b, b + i, before);
      before[i] = 0;
      const DrawResult at = DrawShape(before, i + 1, 0, 0, 1, ShapeDrawingOptions{});
      if (at.ok) {
        block.from = i;
        block.height = h;
        block.x = at.penX;
        block.y = at.penY;
        ++texts.count;
        i = block.to;
        continue;
      }
    }
    const int length = ShapeCommandLength(b, count, i, source.unifont);
    if (length < 0) break;
    i += length;
  }
}

int MarkShapeTexts(const ShapeSource& source, const SourceShape& shape, const TextBlockList& texts,
                   std::int16_t (&markedBytes)[kShapeByteLimit]) {
  const std::int16_t* b = source.BytesOf(shape);
  int length = 0;
  int from = 0;
  for (int k = 0; k < texts.count; ++k) {
    const TextBlock& block = texts.items[k];
    std::copy(b + from, b + block.from, markedBytes + length);
    length += block.from - from;
    markedBytes[length++] = 7;
    markedBytes[length++] = 0;
    if (source.unifont) markedBytes[length++] = 0;
    markedBytes[length++] = 1;
    from = block.to;
  }
  std::copy(b + from, b + shape.byteCount, markedBytes + length);
  return length + shape.byteCount - from;
}

void UseGlyphsForTexts(const ShapeSource* glyphs) {
  glyphTable = GlyphTable{};
  if (glyphs == nullptr) return;
  for (int code = 1; code <= kMaxTextGlyph; ++code) {
    const SourceShape* glyph = glyphs->Find(code);
    // A glyph's bytes end with its 0, which a text leaves out.
    if (glyph == nullptr || glyph->byteCount < 2) continue;
    const std::int16_t* bytes = glyphs->BytesOf(*glyph);
    if (bytes[glyph->byteCount - 1] != 0) continue;
    glyphTable.bytes[code] = bytes;
    glyphTable.count[code] = glyph->byteCount - 1;
    glyphTable.loaded = true;
  }
}

}  // namespace korvex
