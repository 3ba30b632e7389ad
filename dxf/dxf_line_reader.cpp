#include "dxf/dxf_line_reader.h"

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

bool ReadDxfLine() {
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
  }
  blockPosition = position;
  dxfLine[lineLength] = '\0';
  dxfLineLength = lineLength;
  return lineLength > 0;
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
  if (ReadDxfLine()) holder = DxfLineNumber();
}

}  // namespace korvex
