#include "sheet/font_sheet.h"

#include <cstdio>
#include <cstring>

#include "sheet/cell_grid.h"
#include "sheet/sheet_drawing.h"
#include "sheet/sheet_layers.h"

namespace korvex {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The word at p, in any case, ended by a blank; p moves past it.
bool ReadWord(const char*& p, const char* word) {
  const char* q = p;
  for (; *word != '\0'; ++word, ++q) {
    if ((*q & ~0x20) != *word) return false;
  }
  if (!IsBlank(*q)) return false;
  p = q;
  return true;
}

bool ReadValue(const char*& p, int low, int high, std::int16_t& value) {
  while (IsBlank(*p)) ++p;
  int read = 0;
  int digits = 0;
  while (*p >= '0' && *p <= '9') {
    read = read * 10 + (*p - '0');
    ++p;
    if (++digits > 3) return false;
  }
  if (digits == 0 || read < low || read > high) return false;
  value = static_cast<std::int16_t>(read);
  return true;
}

// Colour numbers: the guides light grey, the labels as the template's cell numbers.
constexpr int kGuideColour = 9;
constexpr int kLabelColour = 3;

// What the label of cell n shows: its printable ASCII character, or a name for the two a
// font needs that print nothing. Empty for the others.
void CellLabel(int n, char (&label)[8]) {
  label[0] = '\0';
  if (n == kLineFeedCode) std::snprintf(label, sizeof label, "LF");
  if (n == kSpaceCode) std::snprintf(label, sizeof label, "SPACE");
  // "%" alone is fine, but CAD programs read "%%" as a control code: it is written doubled.
  if (n == '%') std::snprintf(label, sizeof label, "%%%%%%");
  if (n > kSpaceCode && n < 0x7F && n != '%') std::snprintf(label, sizeof label, "%c", n);
}

}  // namespace

int FontLineFeed(int above) {
  return (5 * above + 1) / 3;  // 5/3 of it, rounded
}

int FontSpace(int above) {
  return (3 * above + 2) / 5;  // 0.6 of it, rounded
}

bool ReadFontText(const char* text, FontSettings& settings) {
  FontSettings read = settings;
  bool seen[4] = {};
  const char* p = text;
  while (true) {
    while (IsBlank(*p)) ++p;
    if (*p == '\0') break;
    int which = -1;
    bool ok = false;
    if (ReadWord(p, "ABOVE")) {
      which = 0;
      ok = ReadValue(p, 1, kMaxFontMetric, read.above);
    } else if (ReadWord(p, "BELOW")) {
      which = 1;
      ok = ReadValue(p, 1, kMaxFontMetric, read.below);
    } else if (ReadWord(p, "MODES")) {
      which = 2;
      ok = ReadValue(p, 0, 2, read.modes) && read.modes != 1;
    } else if (ReadWord(p, "SPACING")) {
      which = 3;
      ok = ReadValue(p, 0, kMaxFontMetric, read.spacing);
    }
    if (which < 0 || !ok || seen[which] || (*p != '\0' && !IsBlank(*p))) return false;
    seen[which] = true;
  }
  settings = read;
  return true;
}

std::size_t FormatFontText(const FontSettings& settings, char (&text)[kFontTextCapacity]) {
  const int length = std::snprintf(text, sizeof text, "ABOVE %d BELOW %d MODES %d", settings.above,
                                   settings.below, settings.modes);
  return length > 0 ? static_cast<std::size_t>(length) : 0;
}

std::size_t FormatSpacingText(const FontSettings& settings, char (&text)[kFontTextCapacity]) {
  const int length = std::snprintf(text, sizeof text, "SPACING %d", settings.spacing);
  return length > 0 ? static_cast<std::size_t>(length) : 0;
}

void WriteFontDescriptionText(const FontSettings& settings) {
  char text[kFontTextCapacity];
  const CellBox box = CellBoxOf(kCellCount);
  FormatFontText(settings, text);
  SheetText(kFontLayer, box.left + 3, box.bottom + 60, 5, text);
  FormatSpacingText(settings, text);
  SheetText(kFontLayer, box.left + 3, box.bottom + 50, 5, text);
}

void WriteFontSheetEntities() {
  for (int n = 1; n <= kMaxShapeNumber; ++n) {
    const CellBox box = CellBoxOf(n);
    SheetLine(kGuideLayer, box.left, box.bottom + kFontBaseline, box.right,
              box.bottom + kFontBaseline, kGuideColour);
    SheetLine(kGuideLayer, box.left, box.bottom + kFontCapLine, box.right,
              box.bottom + kFontCapLine, kGuideColour);
    char label[8];
    CellLabel(n, label);
    if (label[0] != '\0') {
      SheetText(kLabelLayer, box.right - 14, box.top - 9, 7, label, kLabelColour);
    }
  }
  WriteFontDescriptionText(kDefaultFontSettings);
}

}  // namespace korvex
