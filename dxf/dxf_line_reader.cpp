#include "dxf/dxf_line_reader.h"

#include <cstdint>
#include <cstdio>

#include "dxf/dxf_number.h"
#include "platform/platform.h"

namespace korvex {

namespace {

DxfLine line = {};

// The file is read in blocks: a character at a time through stdio would cost more than
// all the matching together.
constexpr std::size_t kBlockSize = 1 << 16;
char block[kBlockSize];
std::size_t blockLength = 0;
std::size_t blockPosition = 0;
std::FILE* drawingFile = nullptr;
bool readFailed = false;
int nextLineNumber = 1;

bool FillBlock() {
  if (drawingFile == nullptr) return false;
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

const DxfLine& currentDxfLine = line;

bool OpenDrawingFile(const std::filesystem::path& path, std::string& reason) {
  CloseDrawingFile();
  readFailed = false;
  blockLength = 0;
  blockPosition = 0;
  nextLineNumber = 1;
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
  line.number = nextLineNumber;
  if (lineLength > 0 && line.text[lineLength - 1] == '\n') ++nextLineNumber;
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

double DxfLineNumber() {
  return ParseDxfNumber(line.text, static_cast<std::size_t>(line.length));
}

int DxfLineInteger() {
  return ParseDxfInteger(line.text, static_cast<std::size_t>(line.length));
}

void ReadDxfValue(double& holder) {
  PlainDecimalWatcher watcher;
  if (!ReadLineWatched(watcher)) return;
  if (!watcher.Value(holder)) holder = DxfLineNumber();
}

}  // namespace korvex
