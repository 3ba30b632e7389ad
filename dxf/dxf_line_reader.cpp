#include "dxf/dxf_line_reader.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "dxf/dxf_number.h"
#include "platform/platform.h"

namespace korvex {

namespace {

// The file is read in blocks: a character at a time through stdio would cost more than
// all the matching together.
constexpr std::size_t kBlockSize = 1 << 16;
char block[kBlockSize];
std::size_t blockLength = 0;
std::size_t blockPosition = 0;
std::FILE* drawingFile = nullptr;
bool readFailed = false;
// Lines are counted on demand: the line ends before countedPosition in the current block,
// and in every block before it, are in countedLines.
bool countingLines = false;
int countedLines = 0;
std::size_t countedPosition = 0;

// Eight bytes at a time: a byte that equals '\n' becomes zero after the exclusive or, and
// the zero-byte test marks it with its high bit alone (no carry crosses a byte in it).
int CountLineEnds(std::size_t from, std::size_t to) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  constexpr std::uint64_t kLows = 0x7F7F7F7F7F7F7F7Fu;
  int count = 0;
  std::size_t at = from;
  for (; at + 8 <= to; at += 8) {
    std::uint64_t word;
    std::memcpy(&word, block + at, sizeof word);
    const std::uint64_t x = word ^ (kOnes * '\n');
    const std::uint64_t zeroes = ~(((x & kLows) + kLows) | x | kLows);
    // One bit per marked byte, summed into the top byte by the multiplication.
    count += static_cast<int>(((zeroes >> 7) * kOnes) >> 56);
  }
  for (; at < to; ++at) count += block[at] == '\n';
  return count;
}

bool FillBlock() {
  if (drawingFile == nullptr) return false;
  if (countingLines) {
    countedLines += CountLineEnds(countedPosition, blockLength);
    countedPosition = 0;
  }
  blockLength = std::fread(block, 1, kBlockSize, drawingFile);
  blockPosition = 0;
  if (blockLength == 0 && std::ferror(drawingFile)) readFailed = true;
  return blockLength > 0;
}

// Refills the block and takes its new position and length into the reader's locals.
bool Refill(std::size_t& position, std::size_t& length) {
  const bool filled = FillBlock();
  position = blockPosition;
  length = blockLength;
  return filled;
}

}  // namespace

// The line reader's own door to the line.
struct DxfLineWriter {
  static DxfLine& Line() { return DxfLineStore::line_; }
};

bool OpenDrawingFile(const std::filesystem::path& path, std::string& reason, bool countLines) {
  CloseDrawingFile();
  readFailed = false;
  blockLength = 0;
  blockPosition = 0;
  countingLines = countLines;
  countedLines = 0;
  countedPosition = 0;
  drawingFile = platform::OpenInputFile(path, reason);
  return drawingFile != nullptr;
}

void CloseDrawingFile() {
  if (drawingFile != nullptr) std::fclose(drawingFile);
  drawingFile = nullptr;
  blockLength = 0;
  blockPosition = 0;
}

namespace {

// Reads the next line or piece into the buffer. Each of its characters other than the line
// end is also shown to `watch`, so that a value can be read as it passes.
template <typename Watcher>
bool ReadLineWatched(Watcher& watch) {
  DxfLine& line = DxfLineWriter::Line();
  // The position is kept in locals: a store into the line's characters may alias any
  // global, which would send the position through memory at every character.
  std::size_t position = blockPosition;
  std::size_t length = blockLength;
  int lineLength = 0;
  while (lineLength < kDxfLineBuffer - 1) {
    if (position == length && !Refill(position, length)) break;
    const char c = block[position++];
    if (c == '\r') {
      // CR LF reads as "\n"; a CR alone stays what it is.
      if (position == length && !Refill(position, length)) {
        line.text[lineLength++] = c;
        watch(c);
        break;
      }
      if (block[position] == '\n') {
        ++position;
        line.text[lineLength++] = '\n';
        break;
      }
    }
    line.text[lineLength++] = c;
    if (c == '\n') break;
    watch(c);
  }
  blockPosition = position;
  line.text[lineLength] = '\0';
  line.length = lineLength;
  return lineLength > 0;
}

struct Unwatched {
  void operator()(char) {}
};

// Follows a value line as it passes: when it is a plain decimal from its first character
// to its line end, its value is known without reading the line again.
struct PlainDecimalWatcher {
  PlainDecimal decimal;
  bool plain = true;

  void operator()(char c) {
    if (!decimal.Add(c)) plain = false;
  }

  bool Value(double& value) const { return plain && decimal.Value(value); }
};

}  // namespace

bool ReadDxfLine() {
  Unwatched none;
  return ReadLineWatched(none);
}

bool DrawingReadFailed() {
  return readFailed;
}

double DxfLineValue() {
  const DxfLine& line = CurrentDxfLine();
  return ParseDxfNumber(line.text, static_cast<std::size_t>(line.length));
}

int DxfLineInteger() {
  const DxfLine& line = CurrentDxfLine();
  return ParseDxfInteger(line.text, static_cast<std::size_t>(line.length));
}

int DxfLineNumberInFile() {
  if (!countingLines) return 0;
  countedLines += CountLineEnds(countedPosition, blockPosition);
  countedPosition = blockPosition;
  // The line ends counted so far include the current line's own.
  const DxfLine& line = CurrentDxfLine();
  const bool ended = line.length > 0 && line.text[line.length - 1] == '\n';
  return countedLines - (ended ? 1 : 0) + 1;
}

void ReadDxfValue(double& holder) {
  PlainDecimalWatcher watcher;
  if (!ReadLineWatched(watcher)) return;
  if (!watcher.Value(holder)) holder = DxfLineValue();
}

}  // namespace korvex
