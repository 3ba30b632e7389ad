#include "shape_files/shp_layout.h"

#include <charconv>
#include <cstring>

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

// Copies what fits of the text before end; returns where the copy stops.
char* PutText(char* p, char* end, const char* text) {
  while (p != end && *text != '\0') *p++ = *text++;
  return p;
}

}  // namespace

void StartShpOutput(std::FILE* output) {
  outputFile = output;
  outputLength = 0;
}

bool WriteShpHeader(const char* numberText, int byteCount, const char* name) {
  char* p = LineSpace();
  if (p == nullptr) return false;
  char* const end = p + kWriterLineCapacity;
  *p++ = '*';
  p = PutText(p, end, numberText);
  if (p != end) *p++ = ',';
  const std::to_chars_result count = std::to_chars(p, end, byteCount);
  if (count.ec == std::errc()) p = count.ptr;
  if (p != end) *p++ = ',';
  EndLine(PutText(p, end, name));
  return true;
}

bool WriteShpLine(const char* text, std::size_t length) {
  char* line = LineSpace();
  if (line == nullptr) return false;
  const std::size_t kept = length < kWriterLineCapacity ? length : kWriterLineCapacity;
  std::memcpy(line, text, kept);
  EndLine(line + kept);
  return true;
}

bool WriteShpBody(const char* text, std::size_t length) {
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

bool FinishShpOutput() {
  char* last = LineSpace();
  if (last == nullptr) return false;
  *last = 0x1A;
  outputLength += 1;
  return FlushOutput();
}

}  // namespace korvex
