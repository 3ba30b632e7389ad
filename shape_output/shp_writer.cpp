#include "shape_output/shp_writer.h"

#include <charconv>
#include <cstring>

#include "platform/platform.h"
#include "shape_output/glyph_library.h"
#include "shape_output/shape_encoder.h"
#include "sheet/cell_grid.h"
#include "sheet/entity_table.h"

namespace korvex {
namespace {

// The output goes out in large blocks: a write per line would cost more than the encoding.
// Its bytes are exact on every platform: the line ends are put here, never left to a
// text-mode stream.
constexpr std::size_t kOutputBlockSize = 1 << 16;
char outputBlock[kOutputBlockSize];
std::size_t outputLength = 0;
std::FILE* outputFile = nullptr;

bool FlushOutput() {
  const std::size_t length = outputLength;
  outputLength = 0;
  return std::fwrite(outputBlock, 1, length, outputFile) == length;
}

// Room for one whole line and its line end, flushing first when the block is nearly full.
char* LineSpace() {
  constexpr std::size_t kLineSpace = kWriterLineCapacity + 2;
  if (kOutputBlockSize - outputLength < kLineSpace && !FlushOutput()) return nullptr;
  return outputBlock + outputLength;
}

void EndLine(char* lineEnd) {
  lineEnd[0] = '\r';
  lineEnd[1] = '\n';
  outputLength = static_cast<std::size_t>(lineEnd + 2 - outputBlock);
}

bool WriteHeader(int n, const EncodedShape& shape) {
  char* p = LineSpace();
  if (p == nullptr) return false;
  char* const end = p + kWriterLineCapacity;
  *p++ = '*';
  p = std::to_chars(p, end, n).ptr;
  *p++ = ',';
  p = std::to_chars(p, end, shape.byteCount).ptr;
  *p++ = ',';
  const std::size_t nameLength = std::strlen(shape.name);
  std::memcpy(p, shape.name, nameLength);
  EndLine(p + nameLength);
  return true;
}

// A line ends at the first comma that makes it kBodyLineCut characters or more, or at
// kWriterLineCapacity characters. Every comma counts for the cut, so a line may end
// inside a parenthesised group.
bool WriteBody(const char* text, std::size_t length) {
  constexpr std::size_t kCutFrom = kBodyLineCut - 1;
  constexpr std::size_t kCapacity = kWriterLineCapacity;
  const char* const end = text + length;
  while (text < end) {
    const std::size_t remaining = static_cast<std::size_t>(end - text);
    const std::size_t window = remaining < kCapacity ? remaining : kCapacity;
    std::size_t lineLength = window;
    if (window > kCutFrom) {
      const void* comma = std::memchr(text + kCutFrom, ',', window - kCutFrom);
      if (comma != nullptr)
        lineLength = static_cast<std::size_t>(static_cast<const char*>(comma) - text) + 1;
    }
    char* line = LineSpace();
    if (line == nullptr) return false;
    std::memcpy(line, text, lineLength);
    EndLine(line + lineLength);
    text += lineLength;
  }
  return true;
}

// The glyph file lies beside the program, never in the current folder.
Outcome LoadGlyphs() {
  const std::filesystem::path folder = platform::ExecutableFolder();
  if (folder.empty()) {
    platform::ShowMessage("Cannot locate KORVEX support file!\nReinstall Software.",
                          platform::kMessageOk);
    return Outcome::kRefused;
  }
  std::error_code error;
  const std::filesystem::path glyphPath = folder / kGlyphFileName;
  std::FILE* file = std::filesystem::is_regular_file(glyphPath, error)
                        ? platform::OpenFile(glyphPath, "rb")
                        : nullptr;
  if (file == nullptr) {
    platform::ShowMessage("SHPTXT.SHP file not found\nTry Reinstalling KorvexExiting program!",
                          platform::kMessageOk);
    return Outcome::kStopped;
  }
  const bool loaded = LoadGlyphIndex(file);
  std::fclose(file);
  return loaded ? Outcome::kDone : Outcome::kStopped;
}

}  // namespace

Outcome WriteShapes(std::FILE* output) {
  SortEntityKeys();
  if (Entities().textCaptured) {
    const Outcome glyphs = LoadGlyphs();
    if (glyphs != Outcome::kDone) return glyphs;
  }
  StartEncoderRun();
  outputFile = output;
  outputLength = 0;
  EncodedShape shape;
  for (int n = 1; n <= kMaxShapeNumber; ++n) {
    const EncodeResult encoded = EncodeShape(n, shape);
    if (encoded == EncodeResult::kStopped) return Outcome::kStopped;
    if (encoded == EncodeResult::kEmpty) continue;
    if (!WriteHeader(n, shape) || !WriteBody(shape.text, static_cast<std::size_t>(shape.length))) {
      return Outcome::kRefused;
    }
  }
  char* last = LineSpace();
  if (last == nullptr) return Outcome::kRefused;
  *last = 0x1A;
  outputLength += 1;
  return FlushOutput() ? Outcome::kDone : Outcome::kRefused;
}

}  // namespace korvex
