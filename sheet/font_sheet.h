// The text font sheet: the shape sheet on which cell n holds the glyph of character n.
// Every box has a baseline and a cap line (guides on their own layer, never converted);
// a glyph's insertion point lies on the baseline at the box's left edge unless a POINT
// moves it, and one glyph unit is one drawing unit, so that a capital drawn from the
// baseline to the cap line is as tall as the text height a CAD program sets the font at.
// A TEXT on the FONT layer holds the font's description: ABOVE n BELOW n MODES n SPACING n.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvex {

// Heights above the box's bottom edge, in drawing units.
inline constexpr int kFontBaseline = 25;
inline constexpr int kFontCapLine = 85;
inline constexpr int kFontCapHeight = kFontCapLine - kFontBaseline;

// The description's bytes (shape 0 of a font): above and below are 1 to 255, modes 0
// (horizontal text) or 2 (horizontal and vertical).
inline constexpr int kMaxFontMetric = 255;
// Room for any numbers; the texts of settings in range keep within a text's 30 characters.
inline constexpr int kFontTextCapacity = 48;

struct FontSettings {
  std::int16_t above;    // glyph units from the baseline to the cap line
  std::int16_t below;    // glyph units that descenders reach below the baseline
  std::int16_t modes;    // 0 or 2
  std::int16_t spacing;  // drawing units between a glyph's right extent and the next one
};

// A new font's: capitals from the baseline to the cap line, descenders to the box's bottom
// edge, horizontal text, and letters a fifth of the cap height apart.
inline constexpr FontSettings kDefaultFontSettings = {kFontCapHeight, kFontBaseline, 0, 12};

// A text font's line feed (10) moves the pen this far down, and its space (32) this far on,
// when the sheet draws no glyph of its own for them: the usual line spacing and word space
// of the font's cap height.
int FontLineFeed(int above);
int FontSpace(int above);
inline constexpr int kLineFeedCode = 10;
inline constexpr int kSpaceCode = 32;

// Reads "ABOVE n BELOW n MODES n SPACING n": the words in any order and case, each at most
// once; those left out keep their values in settings. False, with settings as they were,
// for any other text or a value out of range (spacing may be 0 to 255).
bool ReadFontText(const char* text, FontSettings& settings);

// Writes the texts that ReadFontText reads back: the description ("ABOVE n BELOW n MODES
// n") and the spacing ("SPACING n"), apart, since a drawing's text holds 30 characters.
std::size_t FormatFontText(const FontSettings& settings, char (&text)[kFontTextCapacity]);
std::size_t FormatSpacingText(const FontSettings& settings, char (&text)[kFontTextCapacity]);

// Writes the font description's two TEXTs into the box of cell 256, which holds no glyph, in
// the sheet drawing being written.
void WriteFontDescriptionText(const FontSettings& settings);

// Writes what turns the template into a new font sheet, into the sheet drawing being
// written: in every glyph cell its baseline and cap line (guides) and a label showing its
// character, and the description of a new font.
void WriteFontSheetEntities();

}  // namespace korvex
