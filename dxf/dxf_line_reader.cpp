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
  int length = 0;
  while (length < kDxfLineBuffer - 1) {
    if (blockPosition == blockLength && !FillBlock()) break;
    const char c = block[blockPosition++];
    if (c == '\r') {
      // CR LF reads as "\n"; a CR alone stays what it is.
      if (blockPosition == blockLength && !FillBlock()) {
        dxfLine[length++] = c;
        break;
      }
      if (block[blockPosition] == '\n') {
        ++blockPosition;
        dxfLine[length++] = '\n';
        break;
      }
    }
    dxfLine[length++] = c;
    if (c == '\n') break;
  }
  dxfLine[length] = '\0';
  dxfLineLength = length;
  return length > 0;
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
