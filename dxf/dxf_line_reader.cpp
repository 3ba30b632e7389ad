#include "dxf/dxf_line_reader.h"

#include <cstdint>
#include <cstdio>

#include "dxf/dxf_number.h"
#include "platform/platform.h"

namespace korvex {

char dxfLine[kDxfLineBuffer];
int dxfLineLength = 0;

namespace {

// The file is read in blocks: a character at a time through stdio would cost more than
// all the matching together.
constexpr std::size_t kBlockSize = 1 << 16;
char block[kBlockSize];
std::size_t blockLength = 0;
std::size_t blockPosition = 0;
std::FILE* drawingFile = nullptr;
bool readFailed = false;

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

bool OpenDrawingFile(const std::filesystem::path& path) {
  CloseDrawingFile();
  readFailed = false;
  blockLength = 0;
  blockPosition = 0;
  std::error_code error;
  // A folder opens as a stream on some systems and fails only at the first read.
  if (std::filesystem::is_directory(path, error)) return false;
  drawingFile = platform::OpenFile(path, "rb");
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
        dxfLine[lineLength++] = c;
        watch(c);
        break;
      }
      if (block[position] == '\n') {
        ++position;
        dxfLine[lineLength++] = '\n';
        break;
      }
    }
    dxfLine[lineLength++] = c;
    if (c == '\n') break;
    watch(c);
  }
  blockPosition = position;
  dxfLine[lineLength] = '\0';
  dxfLineLength = lineLength;
  return lineLength > 0;
}

struct Unwatched {
  void operator()(char) {}
};

// Follows a value line that is a plain decimal ("-1760.250000"): an optional leading '-',
// digits and at most one point, nothing else before the line end. It gathers what the
// plain-decimal reading of the number parser would gather from the finished line.
struct PlainDecimalWatcher {
  std::uint64_t digits = 0;  // wraps harmlessly on long lines, which are not taken
  std::uint64_t whole = 0;
  int count = 0;
  int decimals = 0;
  int seen = 0;
  unsigned fractionDigits = 0;
  bool negative = false;
  bool inFraction = false;
  bool plain = true;

  void operator()(char c) {
    const unsigned digit = static_cast<unsigned>(c - '0');
    if (digit < 10) {
      digits = digits * 10 + digit;
      ++count;
      if (inFraction) {
        ++decimals;
        fractionDigits |= digit;
      }
    } else if (c == '.' && !inFraction) {
      inFraction = true;
      whole = digits;
    } else if (c == '-' && seen == 0) {
      negative = true;
    } else {
      plain = false;
    }
    ++seen;
  }

  // The same value as the number parser's, when the line was plain.
  bool Value(double& value) const {
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    if (!plain || count == 0 || count > 15) return false;
    const double magnitude = !inFraction ? static_cast<double>(digits)
                             : fractionDigits == 0
                                 ? static_cast<double>(whole)
                                 : static_cast<double>(digits) / kPowersOfTen[decimals];
    value = negative ? -magnitude : magnitude;
    return true;
  }
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
  return ParseDxfNumber(dxfLine, static_cast<std::size_t>(dxfLineLength));
}

int DxfLineInteger() {
  return ParseDxfInteger(dxfLine, static_cast<std::size_t>(dxfLineLength));
}

void ReadDxfValue(double& holder) {
  PlainDecimalWatcher watcher;
  if (!ReadLineWatched(watcher)) return;
  if (!watcher.Value(holder)) holder = DxfLineNumber();
}

}  // namespace korvex
