#include "sheet/shape_scale.h"

#include <cstdio>

namespace korvex {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

const char* SkipBlanks(const char* p) {
  while (IsBlank(*p)) ++p;
  return p;
}

// A decimal number 1 to kMaxScalePart; p moves past it.
bool ReadPart(const char*& p, std::int16_t& part) {
  int value = 0;
  int digits = 0;
  while (*p >= '0' && *p <= '9') {
    value = value * 10 + (*p - '0');
    ++p;
    if (++digits > 3) return false;
  }
  if (digits == 0 || value < 1 || value > kMaxScalePart) return false;
  part = static_cast<std::int16_t>(value);
  return true;
}

}  // namespace

bool ReadScaleText(const char* text, ShapeScale& scale) {
  const char* p = SkipBlanks(text);
  for (const char* word = "SCALE"; *word != '\0'; ++word, ++p) {
    if ((*p & ~0x20) != *word) return false;
  }
  if (!IsBlank(*p)) return false;
  p = SkipBlanks(p);
  ShapeScale read = {0, 1};
  if (!ReadPart(p, read.drawingUnits)) return false;
  p = SkipBlanks(p);
  if (*p == '/') {
    p = SkipBlanks(p + 1);
    if (!ReadPart(p, read.shapeUnits)) return false;
    p = SkipBlanks(p);
  }
  if (*p != '\0') return false;
  scale = read;
  return true;
}

std::size_t FormatScaleText(const ShapeScale& scale, char (&text)[kScaleTextCapacity]) {
  const int length =
      scale.shapeUnits == 1
          ? std::snprintf(text, sizeof text, "SCALE %d", scale.drawingUnits)
          : std::snprintf(text, sizeof text, "SCALE %d/%d", scale.drawingUnits, scale.shapeUnits);
  return length > 0 ? static_cast<std::size_t>(length) : 0;
}

}  // namespace korvex
