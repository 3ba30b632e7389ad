// Fuzz target: the whole conversion of a drawing given as bytes.
//
// Beyond "no crash, no sanitizer report", it checks what the conversion guarantees: a run
// that is refused or stopped leaves no file behind (neither the output nor a temporary
// one), a run that writes leaves exactly the output, and the output's every header byte
// count equals the number of bytes its body holds.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "conversion/conversion_run.h"
#include "fuzz/fuzz_frontend.h"
#include "platform/platform.h"
#include "shape_files/shp_source.h"
#include "shape_files/source_shape_drawing.h"

namespace {

using korvex::fuzzing::FilesIn;
using korvex::fuzzing::FuzzScratchFolder;
using korvex::fuzzing::QuietFrontend;
using korvex::fuzzing::WriteAll;

std::string ReadAll(const std::filesystem::path& path) {
  std::string bytes;
  std::FILE* file = korvex::platform::OpenFile(path, "rb");
  KORVEX_FUZZ_CHECK(file != nullptr);
  char block[4096];
  std::size_t got;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.append(block, got);
  std::fclose(file);
  return bytes;
}

// The output: header lines, body lines, every one ended by CR LF, then 0x1A; read back,
// every header's byte count equals the bytes its body holds, and every shape draws.
void CheckOutput(const std::string& shp) {
  KORVEX_FUZZ_CHECK(!shp.empty() && shp.back() == '\x1a');
  std::size_t start = 0;
  bool headerSeen = false;
  while (start < shp.size() - 1) {
    const std::size_t end = shp.find("\r\n", start);
    KORVEX_FUZZ_CHECK(end != std::string::npos);
    headerSeen = headerSeen || shp[start] == '*';
    KORVEX_FUZZ_CHECK(headerSeen);  // no body line before the first header
    start = end + 2;
  }
  KORVEX_FUZZ_CHECK(start == shp.size() - 1);

  static korvex::ShapeSource source;
  static korvex::SourceProblemList problems;
  problems.Clear();
  korvex::ReadShapeSource(shp, source, problems);
  KORVEX_FUZZ_CHECK(problems.Total() == 0);
  for (int i = 0; i < source.shapeCount; ++i) {
    const korvex::SourceShape& shape = source.shapes[i];
    KORVEX_FUZZ_CHECK(shape.number >= 1 && shape.number <= 255);
    KORVEX_FUZZ_CHECK(shape.declaredBytes == shape.byteCount);
    KORVEX_FUZZ_CHECK(shape.byteCount >= 1 && shape.byteCount <= 2000);
    korvex::DrawSourceShape(source, shape, 0, 0, 1, nullptr, nullptr);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static QuietFrontend frontend;
  korvex::platform::InstallFrontend(frontend);
  const std::filesystem::path& folder = FuzzScratchFolder();
  const std::filesystem::path input = folder / "in.dxf";
  const std::filesystem::path output = folder / "in.shp";
  WriteAll(input, data, size);

  frontend.messageCount = 0;
  const bool written = korvex::ConvertDrawing(input, output) == korvex::Outcome::kDone;

  // The input is never touched.
  const std::string after = ReadAll(input);
  KORVEX_FUZZ_CHECK(after.size() == size &&
                    (size == 0 || std::memcmp(after.data(), data, size) == 0));
  if (written) {
    KORVEX_FUZZ_CHECK(FilesIn(folder) == 2);
    CheckOutput(ReadAll(output));
    std::filesystem::remove(output);
  } else {
    // Every refusal and every stop says why; nothing is left behind.
    KORVEX_FUZZ_CHECK(frontend.messageCount > 0);
    KORVEX_FUZZ_CHECK(FilesIn(folder) == 1);
  }
  return 0;
}
