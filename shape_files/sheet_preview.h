// The shape sheet preview: the shapes of a shape source file drawn with cairo on a sheet
// laid out like the template's 16 x 16 grid, so a user sees them before compiling. Each
// shape n is drawn in box n with its insertion point (marked by a small cross) at the box's
// lower-left corner, one shape unit to 100 drawing units as the drawing had it, with its
// number and name in the band above the box. A shape drawn about a POINT origin therefore
// stands off by that point's offset: the .shp file does not record where the point was.
#pragma once

#include <cairo.h>

#include <filesystem>
#include <string>

#include "shape_files/preview_format.h"
#include "shape_files/shp_source.h"
#include "sheet/left_out_table.h"

namespace korvex {

// The width and height, in pixels (PNG) or points (SVG), of a preview file.
inline constexpr int kPreviewFileSize = 1600;

struct SheetSummary {
  int drawn = 0;     // shapes drawn in their boxes (1 to 255)
  int offSheet = 0;  // shapes numbered 256 and above: no box holds them
  int stopped = 0;   // shapes whose drawing stopped at a problem (labelled in red)
};

// How a view on screen frames the sheet; the default frames it as the files have it.
struct SheetFrame {
  // The sheet at `zoom` times the size that fits the area, its centre (shiftX, shiftY)
  // device units from the area's centre.
  double zoom = 1;
  double shiftX = 0;
  double shiftY = 0;
  // Labels and the legend scale with the sheet but are never drawn smaller than this
  // (device units), so that they stay readable on a small sheet; a label that no longer fits
  // its column then shows the shape number alone. 0: they scale with the sheet alone and
  // labels are cut at their column.
  double minLabelSize = 0;
};

// Draws the sheet onto the context, scaled to fill a width x height area from the
// context's origin (centred, aspect kept), on a white ground. A text font (a file with a
// font description, shape 0) is drawn as on the font sheet: each glyph from the baseline of
// its box, its capitals up to the cap line, and the font's sample line under the sheet. With a
// record of what a conversion left out, each entity of it is drawn where it lies, dashed in orange,
// and a legend under the sheet says what the colour means. `highlight`, when not -1, is the index
// of one entry to draw marked out from the rest.
SheetSummary DrawSheet(cairo_t* cr, const ShapeSource& source, double width, double height,
                       const LeftOutTable* leftOut = nullptr, int highlight = -1,
                       const SheetFrame& frame = {});

// Writes the sheet as a kPreviewFileSize square PNG or SVG, by the path's extension. The
// file appears whole or not at all (written under a temporary name, then renamed). False,
// with the reason in error, when the format is unknown or the file cannot be written.
bool WriteSheetPreview(const ShapeSource& source, const std::filesystem::path& path,
                       std::string& error, SheetSummary* summary = nullptr,
                       const LeftOutTable* leftOut = nullptr);

// For the desktop program's view: reads the shape file (.shp or .shx) and draws its sheet into a
// new ARGB32 image surface of width x height pixels, which the caller destroys
// (cairo_surface_destroy). Returns nullptr, with the reason in error, when the file cannot
// be read; problems within the file do not stop it (what can be drawn is drawn). Uses one
// static source table: call it from one thread.
cairo_surface_t* RenderShapeFileSheet(const std::filesystem::path& shapeFile, int width, int height,
                                      std::string& error, const LeftOutTable* leftOut = nullptr,
                                      int highlight = -1, const SheetFrame& frame = {});

}  // namespace korvex
