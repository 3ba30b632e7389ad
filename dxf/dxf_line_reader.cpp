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

// The next raw byte, or -1 at the end.
inline int NextByte() {
  if (blockPosition == blockLength && !FillBlock()) return -1;
  return static_cast<unsigned char>(block[blockPosition++]);
}

inline int PeekByte() {
  if (blockPosition == blockLength && !FillBlock()) return -1;
  return static_cast<unsigned char>(block[blockPosition]);
}

// The next character as a text stream delivers it: CR LF becomes a single "\n".
inline int NextCharacter() {
  const int c = NextByte();
  if (c == '\r' && PeekByte() == '\n') return NextByte();
  return c;
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
  dxfLineLength = 0;
  while (dxfLineLength < kDxfLineBuffer - 1) {
    const int c = NextCharacter();
    if (c < 0) break;
    dxfLine[dxfLineLength++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  dxfLine[dxfLineLength] = '\0';
  return dxfLineLength > 0;
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
