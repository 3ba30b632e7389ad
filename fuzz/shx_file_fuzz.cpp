// Fuzz target: the compiled shape file reader, given any bytes as a .shx file, and the
// writers after it. Beyond "no crash, no sanitizer report", it checks that a refused file
// leaves the tables empty, that every body the source writer formats fits its capacity, and
// that a file the checker finds clean compiles into bytes that read back as the same shapes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "fuzz/fuzz_frontend.h"
#include "shape_files/shp_check.h"
#include "shape_files/shp_text.h"
#include "shape_files/shx_file.h"

namespace {

bool SameShapes(const korvex::ShapeSource& a, const korvex::ShapeSource& b) {
  if (a.shapeCount != b.shapeCount) return false;
  for (int s = 0; s < a.shapeCount; ++s) {
    const korvex::SourceShape* other = b.Find(a.shapes[s].number);
    if (other == nullptr || other->byteCount != a.shapes[s].byteCount ||
        std::strcmp(other->name, a.shapes[s].name) != 0 ||
        std::memcmp(a.BytesOf(a.shapes[s]), b.BytesOf(*other),
                    sizeof(std::int16_t) * static_cast<std::size_t>(other->byteCount)) != 0) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static korvex::ShapeSource source;
  static korvex::ShapeSource again;
  static korvex::SourceProblemList problems;
  static char text[korvex::kShapeBodyTextCapacity];
  problems.Clear();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  korvex::ShapeFileForm form;
  if (!korvex::ReadShx(bytes, source, problems, form)) {
    KORVEX_FUZZ_CHECK(source.shapeCount == 0 && problems.count > 0);
    return 0;
  }
  for (int s = 0; s < source.shapeCount; ++s) {
    const korvex::SourceShape& shape = source.shapes[s];
    KORVEX_FUZZ_CHECK(shape.byteCount <= korvex::kShapeByteLimit);
    const int length = korvex::FormatShapeBody(source.BytesOf(shape), shape.byteCount,
                                               source.unifont, shape.number == 0, text);
    KORVEX_FUZZ_CHECK(length >= 0 && length <= korvex::kShapeBodyTextCapacity);
  }
  problems.Clear();
  korvex::CheckShapeSource(source, problems);
  if (problems.Refusals() > 0) return 0;

  const std::filesystem::path path = korvex::fuzzing::FuzzScratchFolder() / "fuzz.shx";
  std::FILE* file = korvex::platform::OpenFile(path, "w+b");
  KORVEX_FUZZ_CHECK(file != nullptr);
  KORVEX_FUZZ_CHECK(korvex::WriteShx(source, file));
  const long written = std::ftell(file);
  std::string compiled(written > 0 ? static_cast<std::size_t>(written) : 0, '\0');
  std::rewind(file);
  KORVEX_FUZZ_CHECK(std::fread(compiled.data(), 1, compiled.size(), file) == compiled.size());
  std::fclose(file);
  problems.Clear();
  KORVEX_FUZZ_CHECK(korvex::ReadShx(compiled, again, problems, form));
  KORVEX_FUZZ_CHECK(SameShapes(source, again));
  return 0;
}
