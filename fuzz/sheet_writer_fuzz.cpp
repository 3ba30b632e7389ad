// Fuzz target: the sheet writer, given any bytes as a shape file (source or compiled), and the
// conversion of the sheet it writes. Beyond "no crash, no sanitizer report", it checks that
// a sheet is written whenever a shape could be drawn, that nothing but the sheet is left
// behind, and that converting the sheet gives a file the compiler takes, one shape for each
// shape drawn (a font's line feed and space among them), each of which draws.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "conversion/conversion_run.h"
#include "conversion/sheet_run.h"
#include "fuzz/fuzz_frontend.h"
#include "shape_files/shp_check.h"
#include "shape_files/shx_file.h"
#include "shape_files/source_shape_drawing.h"

namespace {

using korvex::fuzzing::FilesIn;
using korvex::fuzzing::FuzzScratchFolder;
using korvex::fuzzing::QuietFrontend;
using korvex::fuzzing::WriteAll;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static QuietFrontend frontend;
  korvex::platform::InstallFrontend(frontend);
  static korvex::ShapeSource original;
  static korvex::ShapeSource back;
  static korvex::SourceProblemList problems;
  const std::filesystem::path& folder = FuzzScratchFolder();
  const std::filesystem::path input = folder / "in.shp";
  const std::filesystem::path sheet = folder / "sheet.dxf";
  const std::filesystem::path output = folder / "back.shp";
  WriteAll(input, data, size);

  frontend.messageCount = 0;
  int drawn = 0;
  const korvex::Outcome outcome = korvex::WriteShapeSheet(input, sheet, &drawn);
  if (outcome != korvex::Outcome::kDone) {
    // Refused (nothing to draw, or not a shape file) after saying why, and nothing left.
    KORVEX_FUZZ_CHECK(outcome == korvex::Outcome::kRefused && frontend.messageCount > 0);
    KORVEX_FUZZ_CHECK(FilesIn(folder) == 1);
    return 0;
  }
  KORVEX_FUZZ_CHECK(drawn > 0 && FilesIn(folder) == 2);

  problems.Clear();
  korvex::ShapeFileForm form;
  KORVEX_FUZZ_CHECK(korvex::ReadShapeFile(input, original, problems, form));
  const bool font = original.Find(0) != nullptr;
  const korvex::Outcome converted = font ? korvex::ConvertFontDrawing(sheet, output, "FUZZ")
                                         : korvex::ConvertDrawing(sheet, output);
  // A sheet past the drawing entity limit may be stopped (its message said so); any other
  // sheet converts.
  if (converted == korvex::Outcome::kStopped) {
    std::filesystem::remove(sheet);
    return 0;
  }
  KORVEX_FUZZ_CHECK(converted == korvex::Outcome::kDone);
  problems.Clear();
  KORVEX_FUZZ_CHECK(korvex::ReadShapeFile(output, back, problems, form));
  korvex::CheckShapeSource(back, problems);
  KORVEX_FUZZ_CHECK(problems.Refusals() == 0);
  int glyphs = 0;
  for (int s = 0; s < back.shapeCount; ++s) {
    const korvex::SourceShape& shape = back.shapes[s];
    if (shape.number == 0) continue;
    ++glyphs;
    KORVEX_FUZZ_CHECK(korvex::DrawSourceShape(back, shape, 0, 0, 1, nullptr, nullptr).ok);
  }
  // A font's converted sheet may add the line feed and the space it lacked.
  KORVEX_FUZZ_CHECK(font ? glyphs >= drawn && glyphs <= drawn + 2 : glyphs == drawn);
  std::filesystem::remove(sheet);
  std::filesystem::remove(output);
  return 0;
}
