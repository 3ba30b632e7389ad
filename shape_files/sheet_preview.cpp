#include "shape_files/sheet_preview.h"

#include <cairo-svg.h>

#include <algorithm>
#include <cstdio>

#include "platform/pending_file.h"
#include "platform/platform.h"
#include "shape_files/shx_file.h"
#include "shape_files/source_shape_drawing.h"
#include "sheet/cell_grid.h"
#include "sheet/font_sheet.h"
#include "sheet/geometry.h"

namespace korvex {
namespace {

// The sheet in drawing units: the boxes from 0 to kSheetExtent both ways, with a margin
// that holds the name band of the top row.
constexpr double kSheetMargin = 40;
constexpr double kViewExtent = kSheetExtent + 2 * kSheetMargin;
// Sizes in drawing units, so that they keep their place in the grid at any scale.
constexpr double kLabelHeight = 14;  // the name band is 25 units; the text fits in it
constexpr double kLabelLift = 5;     // baseline above the box's top edge
// The height a label needs above its baseline and below it, in font sizes.
constexpr double kLabelBandShare = 1.25;
constexpr double kCrossHalfSize = 6;
// Widths in device units (pixels or points).
constexpr double kBoxLineWidth = 1.0;
constexpr double kStrokeLineWidth = 1.6;
constexpr double kCrossLineWidth = 1.2;
constexpr const char* kLabelFont = "DejaVu Sans";

// Drawing units to the device: y runs down on the device, up in the drawing.
struct SheetMapping {
  double scale;
  double left;
  double top;

  double X(double x) const { return left + (x + kSheetMargin) * scale; }
  double Y(double y) const { return top + (kSheetExtent + kSheetMargin - y) * scale; }
};

struct StrokePath {
  cairo_t* cr;
  const SheetMapping* map;
  double lastX;
  double lastY;
  bool open;
};

// Consecutive segments join into one path, so their corners are drawn as joins.
void AddStroke(void* context, double x1, double y1, double x2, double y2) {
  StrokePath& path = *static_cast<StrokePath*>(context);
  if (!path.open || x1 != path.lastX || y1 != path.lastY) {
    cairo_move_to(path.cr, path.map->X(x1), path.map->Y(y1));
  }
  cairo_line_to(path.cr, path.map->X(x2), path.map->Y(y2));
  path.lastX = x2;
  path.lastY = y2;
  path.open = true;
}

void DrawCellBoxes(cairo_t* cr, const SheetMapping& map) {
  cairo_set_source_rgb(cr, 0.82, 0.82, 0.82);
  cairo_set_line_width(cr, kBoxLineWidth);
  for (int n = 1; n <= kCellCount; ++n) {
    const CellCorner corner = CellCornerOf(n);
    cairo_rectangle(cr, map.X(corner.x), map.Y(corner.y + kCellBoxSize), kCellBoxSize * map.scale,
                    kCellBoxSize * map.scale);
  }
  cairo_stroke(cr);
}

void DrawInsertionCross(cairo_t* cr, const SheetMapping& map, const CellCorner& corner) {
  const double x = map.X(corner.x);
  const double y = map.Y(corner.y);
  const double half = kCrossHalfSize * map.scale;
  cairo_set_source_rgb(cr, 0.85, 0.1, 0.1);
  cairo_set_line_width(cr, kCrossLineWidth);
  cairo_move_to(cr, x - half, y);
  cairo_line_to(cr, x + half, y);
  cairo_move_to(cr, x, y - half);
  cairo_line_to(cr, x, y + half);
  cairo_stroke(cr);
}

// "n NAME" in the band above the box, cut at the next column. A label kept from shrinking
// below minSize may be taller than the band: it then reaches up into the row above, and
// shows the number alone when the whole label would be cut.
void DrawLabel(cairo_t* cr, const SheetMapping& map, const CellCorner& corner,
               const SourceShape& shape, bool stopped, double minSize) {
  char label[16 + kSourceNameCapacity];
  std::snprintf(label, sizeof label, stopped ? "%d %s (!)" : "%d %s", shape.number, shape.name);
  const double size = std::max(kLabelHeight * map.scale, minSize);
  const double columnWidth = (kCellPitch - 2) * map.scale;
  double bandTop = map.Y(corner.y + kCellPitch);
  double bandHeight = (kCellPitch - kCellBoxSize) * map.scale;
  if (bandHeight < kLabelBandShare * size) {
    bandHeight = kLabelBandShare * size;
    bandTop = map.Y(corner.y + kCellBoxSize) - bandHeight;
  }
  cairo_save(cr);
  cairo_rectangle(cr, map.X(corner.x), bandTop, columnWidth, bandHeight);
  cairo_clip(cr);
  if (stopped) {
    cairo_set_source_rgb(cr, 0.85, 0.1, 0.1);
  } else {
    cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
  }
  cairo_select_font_face(cr, kLabelFont, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  if (minSize > 0) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, label, &extents);
    if (extents.x_advance > columnWidth) {
      std::snprintf(label, sizeof label, stopped ? "%d (!)" : "%d", shape.number);
    }
  }
  cairo_move_to(cr, map.X(corner.x), map.Y(corner.y + kCellBoxSize + kLabelLift));
  cairo_show_text(cr, label);
  cairo_restore(cr);
}

// Draws the shape's strokes; false when its drawing stopped at a problem.
bool DrawShapeInCell(cairo_t* cr, const SheetMapping& map, const ShapeSource& source,
                     const SourceShape& shape, const CellCorner& origin, double scale) {
  StrokePath path{cr, &map, 0, 0, false};
  const DrawResult result =
      DrawSourceShape(source, shape, origin.x, origin.y, scale, AddStroke, &path);
  cairo_set_source_rgb(cr, 0.05, 0.15, 0.55);
  cairo_set_line_width(cr, kStrokeLineWidth);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
  return result.ok;
}

cairo_status_t WriteToFile(void* closure, const unsigned char* data, unsigned int length) {
  std::FILE* file = static_cast<std::FILE*>(closure);
  return std::fwrite(data, 1, length, file) == length ? CAIRO_STATUS_SUCCESS
                                                      : CAIRO_STATUS_WRITE_ERROR;
}

// Draws the sheet on a new surface writing to the open file; false when cairo fails.
// Key points this far off the sheet are drawn no more: nothing of them would show.
constexpr double kFarOff = 1e5;
constexpr double kLeftOutMarkRadius = 8;  // around a left-out entity known by one point
constexpr double kLeftOutLineWidth = 1.6;
constexpr double kLegendBaseline = -28;  // under the bottom row, in the margin

bool Drawable(const LeftOutEntry& entry) {
  for (int i = 0; i < entry.pointCount; ++i) {
    for (const double v : entry.points[i]) {
      if (!(v > -kFarOff && v < kFarOff)) return false;
    }
  }
  return entry.pointCount > 0 && (!entry.hasRadius || (entry.radius > 0 && entry.radius < kFarOff));
}

void AddLeftOutPath(cairo_t* cr, const SheetMapping& map, const LeftOutEntry& entry) {
  const double x = map.X(entry.points[0][0]);
  const double y = map.Y(entry.points[0][1]);
  cairo_new_sub_path(cr);
  if (entry.hasRadius) {
    cairo_arc(cr, x, y, entry.radius * map.scale, 0, 2 * kPi);
  } else if (entry.pointCount == 2) {
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, map.X(entry.points[1][0]), map.Y(entry.points[1][1]));
  } else {
    cairo_arc(cr, x, y, kLeftOutMarkRadius * map.scale, 0, 2 * kPi);
  }
}

void DrawLeftOut(cairo_t* cr, const SheetMapping& map, const LeftOutTable& leftOut, int highlight,
                 double minLabelSize) {
  cairo_save(cr);
  cairo_set_source_rgb(cr, 0.95, 0.45, 0.0);
  cairo_set_line_width(cr, kLeftOutLineWidth);
  const double dashes[] = {6.0, 4.0};
  cairo_set_dash(cr, dashes, 2, 0);
  for (int i = 0; i < leftOut.kept; ++i) {
    if (Drawable(leftOut.entries[i])) AddLeftOutPath(cr, map, leftOut.entries[i]);
  }
  cairo_stroke(cr);
  if (highlight >= 0 && highlight < leftOut.kept && Drawable(leftOut.entries[highlight])) {
    // The chosen one solid and wide, with a ring that finds it at any scale.
    const LeftOutEntry& entry = leftOut.entries[highlight];
    cairo_set_dash(cr, nullptr, 0, 0);
    cairo_set_source_rgb(cr, 0.85, 0.0, 0.0);
    cairo_set_line_width(cr, 3 * kLeftOutLineWidth);
    AddLeftOutPath(cr, map, entry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, map.X(entry.points[0][0]), map.Y(entry.points[0][1]),
              std::max(4 * kLeftOutMarkRadius * map.scale, 12.0), 0, 2 * kPi);
    cairo_stroke(cr);
  }
  if (leftOut.total > 0) {
    char legend[160];
    std::snprintf(legend, sizeof legend,
                  "Dashed orange: %d %s left out of the shapes (korvex-cli convert --explain "
                  "says why)",
                  leftOut.total, leftOut.total == 1 ? "entity" : "entities");
    cairo_set_dash(cr, nullptr, 0, 0);
    cairo_select_font_face(cr, kLabelFont, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, std::max(kLabelHeight * map.scale, minLabelSize));
    cairo_move_to(cr, map.X(0), map.Y(kLegendBaseline));
    cairo_show_text(cr, legend);
  }
  cairo_restore(cr);
}

bool WriteSheetTo(std::FILE* file, PreviewFormat format, const ShapeSource& source,
                  const LeftOutTable* leftOut, SheetSummary& summary) {
  cairo_surface_t* surface =
      format == PreviewFormat::kSvg
          ? cairo_svg_surface_create_for_stream(WriteToFile, file, kPreviewFileSize,
                                                kPreviewFileSize)
          : cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kPreviewFileSize, kPreviewFileSize);
  cairo_t* cr = cairo_create(surface);
  summary = DrawSheet(cr, source, kPreviewFileSize, kPreviewFileSize, leftOut);
  cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  if (status == CAIRO_STATUS_SUCCESS && format == PreviewFormat::kPng) {
    status = cairo_surface_write_to_png_stream(surface, WriteToFile, file);
  }
  cairo_surface_finish(surface);  // an SVG surface writes its document here
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  return status == CAIRO_STATUS_SUCCESS;
}

// A text font's sample line, set under the sheet in room of its own.
constexpr char kFontSample[] = "The quick brown fox jumps over the lazy dog 0123456789";
constexpr double kSampleRoom = 70;           // more margin under the sheet, drawing units
constexpr double kSampleBaseline = -75;      // under the legend's line
constexpr double kSampleCapHeight = 30;      // the text height it is set at
constexpr double kSampleMissingShare = 0.6;  // a character without a glyph leaves this gap

// A font's description (shape 0) gives its cap height in glyph units first; 0 when the file
// is no font.
int FontAbove(const ShapeSource& source) {
  const SourceShape* description = source.Find(0);
  if (description == nullptr || description->byteCount < 1) return 0;
  const int above = source.BytesOf(*description)[0];
  return above > 0 ? above : 0;
}

// Sets the sample line with the font as a CAD program sets text: each glyph from where the
// one before it left the pen.
void DrawFontSample(cairo_t* cr, const SheetMapping& map, const ShapeSource& source, int above) {
  const double scale = kSampleCapHeight / above;
  StrokePath path{cr, &map, 0, 0, false};
  double x = 0;
  for (const char* c = kFontSample; *c != '\0' && x < kSheetExtent; ++c) {
    const SourceShape* glyph = source.Find(static_cast<unsigned char>(*c));
    const double next = x + kSampleMissingShare * kSampleCapHeight;
    if (glyph == nullptr) {
      x = next;
      continue;
    }
    const DrawResult drawn =
        DrawSourceShape(source, *glyph, x, kSampleBaseline, scale, AddStroke, &path);
    // A glyph that goes nowhere, or stops, still leaves a gap for the next.
    x = drawn.ok && drawn.penX > x && drawn.penX < x + kSheetExtent ? drawn.penX : next;
  }
  cairo_set_source_rgb(cr, 0.05, 0.15, 0.55);
  cairo_set_line_width(cr, kStrokeLineWidth);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

}  // namespace

SheetSummary DrawSheet(cairo_t* cr, const ShapeSource& source, double width, double height,
                       const LeftOutTable* leftOut, int highlight, const SheetFrame& frame) {
  SheetSummary summary;
  // A font's sample line takes room under the sheet.
  const int above = FontAbove(source);
  const double viewHeight = kViewExtent + (above > 0 ? kSampleRoom : 0);
  const double scale = std::min(width / kViewExtent, height / viewHeight) * frame.zoom;
  const SheetMapping map{scale, (width - kViewExtent * scale) / 2 + frame.shiftX,
                         (height - viewHeight * scale) / 2 + frame.shiftY};
  cairo_save(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_rectangle(cr, 0, 0, width, height);
  cairo_fill(cr);
  DrawCellBoxes(cr, map);
  for (int s = 0; s < source.shapeCount; ++s) {
    const SourceShape& shape = source.shapes[s];
    if (shape.number == 0) continue;  // the font description
    if (!IsShapeNumber(shape.number)) {
      ++summary.offSheet;
      continue;
    }
    const CellCorner corner = CellCornerOf(shape.number);
    // A font's glyphs stand on the font sheet's baseline, their capitals up to its cap line.
    const CellCorner origin = {corner.x, corner.y + (above > 0 ? kFontBaseline : 0)};
    const double shapeScale = above > 0 ? double(kFontCapHeight) / above : kShapeScale;
    const bool ok = DrawShapeInCell(cr, map, source, shape, origin, shapeScale);
    DrawInsertionCross(cr, map, origin);
    DrawLabel(cr, map, corner, shape, !ok, frame.minLabelSize);
    ++summary.drawn;
    if (!ok) ++summary.stopped;
  }
  if (above > 0) DrawFontSample(cr, map, source, above);
  if (leftOut != nullptr) DrawLeftOut(cr, map, *leftOut, highlight, frame.minLabelSize);
  cairo_restore(cr);
  return summary;
}

bool WriteSheetPreview(const ShapeSource& source, const std::filesystem::path& path,
                       std::string& error, SheetSummary* summary, const LeftOutTable* leftOut) {
  const PreviewFormat format = PreviewFormatOf(path);
  if (format == PreviewFormat::kUnknown) {
    error = "the preview must be a .png or .svg file";
    return false;
  }
  std::filesystem::path pending;
  std::error_code reason;
  std::FILE* file = platform::OpenPendingFile(path, pending, reason);
  if (file == nullptr) {
    error = "cannot create a file beside " + platform::PathText(path) + ": " + reason.message();
    return false;
  }
  SheetSummary drawn;
  const bool written = WriteSheetTo(file, format, source, leftOut, drawn);
  if (!written) platform::DiscardPendingFile(file, pending);
  if (!written || !platform::CommitPendingFile(file, pending, path, reason)) {
    error = "cannot write " + platform::PathText(path);
    if (reason) error += ": " + reason.message();
    return false;
  }
  if (summary != nullptr) *summary = drawn;
  return true;
}

cairo_surface_t* RenderShapeFileSheet(const std::filesystem::path& shapeFile, int width, int height,
                                      std::string& error, const LeftOutTable* leftOut,
                                      int highlight, const SheetFrame& frame) {
  static ShapeSource source;
  static SourceProblemList problems;
  problems.Clear();
  ShapeFileForm form = ShapeFileForm::kSource;
  if (!ReadShapeFile(shapeFile, source, problems, form)) {
    error = platform::PathText(shapeFile) + ": " + problems.items[0].text;
    return nullptr;
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  DrawSheet(cr, source, width, height, leftOut, highlight, frame);
  cairo_destroy(cr);
  return surface;
}

}  // namespace korvex
