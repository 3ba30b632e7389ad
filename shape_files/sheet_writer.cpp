#include "shape_files/sheet_writer.h"

#include <cstdio>
#include <cstring>
#include <numeric>

#include "shape_files/cell_drawing.h"
#include "shape_files/shape_texts.h"
#include "shape_files/source_shape_drawing.h"
#include "sheet/cell_grid.h"
#include "sheet/font_sheet.h"
#include "sheet/sheet_drawing.h"

namespace korvex {
namespace {

void Note(SheetReport& report, int number, const char* reason, bool drawn) {
  if (report.noteCount == kMaxSheetNotes) {
    ++report.notesDropped;
    return;
  }
  report.notes[report.noteCount++] = SheetNote{number, reason, drawn};
}

// A font description's bytes (shape 0, or a Unicode font's record 0) open with above,
// below and modes.
bool ReadDescription(const ShapeSource& source, FontSettings& settings) {
  const SourceShape* description = source.Find(0);
  if (description == nullptr || description->byteCount < 3) return false;
  const std::int16_t* bytes = source.BytesOf(*description);
  settings = kDefaultFontSettings;
  if (bytes[0] >= 1 && bytes[0] <= kMaxFontMetric) settings.above = bytes[0];
  if (bytes[1] >= 1 && bytes[1] <= kMaxFontMetric) settings.below = bytes[1];
  settings.modes = bytes[2] == 2 ? 2 : 0;
  return true;
}

// The glyphs are drawn so that the font's capitals, `above` units tall, reach from the
// baseline to the cap line.
ShapeScale FontScale(const FontSettings& settings) {
  const int divisor = std::gcd(kFontCapHeight, static_cast<int>(settings.above));
  return ShapeScale{static_cast<std::int16_t>(kFontCapHeight / divisor),
                    static_cast<std::int16_t>(settings.above / divisor)};
}

// The name the encoder would give the cell anyway needs no text.
bool OwnName(const SourceShape& shape) {
  char fallback[16];
  std::snprintf(fallback, sizeof fallback, "SHAPE%d", shape.number);
  return shape.name[0] != '\0' && std::strcmp(shape.name, fallback) != 0;
}

void CountStroke(void* context, double, double, double, double) {
  ++*static_cast<int*>(context);
}

// A font's line feed and space as converting gives them to an empty cell: the cell is left
// empty, so that they come back as they were.
bool IsDefaultMove(const ShapeSource& source, const SourceShape& shape,
                   const FontSettings& settings) {
  if (shape.number != kLineFeedCode && shape.number != kSpaceCode) return false;
  int strokes = 0;
  const DrawResult drawn = DrawSourceShape(source, shape, 0, 0, 1, CountStroke, &strokes);
  const double x = shape.number == kSpaceCode ? FontSpace(settings.above) : 0;
  const double y = shape.number == kLineFeedCode ? -FontLineFeed(settings.above) : 0;
  return drawn.ok && strokes == 0 && drawn.penX == x && drawn.penY == y;
}

}  // namespace

bool WriteSheetDrawing(const ShapeSource& source, const ShapeSource* glyphs,
                       std::FILE* templateFile, std::FILE* output, SheetReport& report) {
  report = SheetReport{};
  UseGlyphsForTexts(glyphs);
  FontSettings settings = kDefaultFontSettings;
  report.font = ReadDescription(source, settings);
  if (report.font && settings.modes == 2) {
    // Code 14's commands belong to vertical text, which the sheet does not draw.
    report.verticalLeftOut = true;
    settings.modes = 0;
  }
  const ShapeScale fontScale = report.font ? FontScale(settings) : ShapeScale{0, 1};
  if (!StartSheetDrawing(templateFile, output)) return false;
  if (report.font) WriteFontDescriptionText(settings);
  static CellPlan plan;
  for (int s = 0; s < source.shapeCount; ++s) {
    const SourceShape& shape = source.shapes[s];
    if (shape.number == 0) continue;
    if (!IsShapeNumber(shape.number)) {
      ++report.leftOut;
      Note(report, shape.number, "numbered above 255: no cell holds it", false);
      continue;
    }
    if (source.Find(shape.number) != &shape) {
      ++report.leftOut;
      Note(report, shape.number, "defined twice: the first definition is drawn", false);
      continue;
    }
    // Converting gives it back; it is no shape drawn.
    if (report.font && IsDefaultMove(source, shape, settings)) continue;
    PlanCell(source, shape, report.font, fontScale, plan);
    if (plan.leftOut != nullptr) {
      ++report.leftOut;
      Note(report, shape.number, plan.leftOut, false);
      continue;
    }
    if (plan.stopped != nullptr) Note(report, shape.number, plan.stopped, true);
    WriteCellEntities(shape.number, plan, OwnName(shape) ? shape.name : nullptr);
    ++report.drawn;
    report.records += plan.records;
  }
  return FinishSheetDrawing();
}

}  // namespace korvex
