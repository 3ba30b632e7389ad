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

#include "core/conversion_run.h"
#include "fuzz/fuzz_frontend.h"
#include "platform/platform.h"
#include "shape/shape_interpreter.h"

namespace {

using korvex::fuzzing::FuzzScratchFolder;
using korvex::fuzzing::QuietFrontend;
using korvex::fuzzing::RunStopped;

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

void WriteAll(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* file = korvex::platform::OpenFile(path, "wb");
  KORVEX_FUZZ_CHECK(file != nullptr);
  KORVEX_FUZZ_CHECK(size == 0 || std::fwrite(data, 1, size, file) == size);
  KORVEX_FUZZ_CHECK(std::fclose(file) == 0);
}

std::size_t FilesIn(const std::filesystem::path& folder) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

// Checks one shape: the bytes of its body, as shape source text, number what its header says.
void CheckShape(const std::string& header, const std::string& body) {
  int number = 0;
  int byteCount = 0;
  KORVEX_FUZZ_CHECK(std::sscanf(header.c_str(), "*%d,%d,", &number, &byteCount) == 2);
  KORVEX_FUZZ_CHECK(number >= 1 && number <= 255);
  KORVEX_FUZZ_CHECK(byteCount >= 1 && byteCount <= 2000);
  static std::int16_t bytes[korvex::kMaxInterpretedBytes];
  const int parsed = korvex::ParseShapeBytes(body.c_str(), bytes, korvex::kMaxInterpretedBytes);
  KORVEX_FUZZ_CHECK(parsed == byteCount);
  korvex::DrawShapeBytes(bytes, parsed, 0, 0, 1, nullptr, nullptr);
}

// The output: header lines, body lines, every one ended by CR LF, then 0x1A.
void CheckOutput(const std::string& shp) {
  KORVEX_FUZZ_CHECK(!shp.empty() && shp.back() == '\x1a');
  std::string header;
  std::string body;
  std::size_t start = 0;
  while (start < shp.size() - 1) {
    const std::size_t end = shp.find("\r\n", start);
    KORVEX_FUZZ_CHECK(end != std::string::npos);
    const std::string line = shp.substr(start, end - start);
    if (!line.empty() && line[0] == '*') {  // a body holds numbers, commas and brackets
      if (!header.empty()) CheckShape(header, body);
      header = line;
      body.clear();
    } else {
      KORVEX_FUZZ_CHECK(!header.empty());
      body += line;
    }
    start = end + 2;
  }
  KORVEX_FUZZ_CHECK(start == shp.size() - 1);
  if (!header.empty()) CheckShape(header, body);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static QuietFrontend frontend;
  korvex::platform::InstallFrontend(frontend);
  const std::filesystem::path& folder = FuzzScratchFolder();
  const std::filesystem::path input = folder / "in.dxf";
  const std::filesystem::path output = folder / "in.shp";
  WriteAll(input, data, size);

  bool written = false;
  bool stopped = false;
  frontend.messageCount = 0;
  try {
    written = korvex::ConvertDrawing(input, output);
  } catch (const RunStopped& stop) {
    KORVEX_FUZZ_CHECK(stop.status == korvex::platform::kExitStopped);
    stopped = true;
  }

  // The input is never touched.
  const std::string after = ReadAll(input);
  KORVEX_FUZZ_CHECK(after.size() == size &&
                    (size == 0 || std::memcmp(after.data(), data, size) == 0));
  if (written) {
    KORVEX_FUZZ_CHECK(!stopped);
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
