// The reading method shared by every part of the DXF input: one forward pass over the
// working drawing, one line at a time into a 32-byte buffer, every line compared whole.
//
// Lines are read as a C text stream on Windows reads them: CR LF becomes "\n", and a line
// longer than 31 characters comes in pieces of 31, each treated as a line of its own.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace korvex {

inline constexpr int kDxfLineBuffer = 32;

// The line just read, with its "\n" when it had one, NUL-terminated.
struct DxfLine {
  char text[kDxfLineBuffer];
  int length;
};

// The one door to the line: readers get it const, and only the line reader (through the
// friend it defines) writes it. Held in the class itself, so that the comparisons of the
// scan address it directly.
class DxfLineStore {
 public:
  static const DxfLine& Current() { return line_; }

 private:
  friend struct DxfLineWriter;
  static inline DxfLine line_ = {};
};

inline const DxfLine& CurrentDxfLine() {
  return DxfLineStore::Current();
}

// False, with the reason in plain words, when the file cannot be opened or is no regular
// file (a folder, a device or a pipe is refused at once). With countLines, the reader
// counts the file's lines for DxfLineNumberInFile.
bool OpenDrawingFile(const std::filesystem::path& path, std::string& reason,
                     bool countLines = false);

// The number, from 1, of the line just read (the pieces of a long line share it); 0 when
// the file was opened without counting lines. Counted only when asked, so that reading
// costs nothing more for it.
int DxfLineNumberInFile();
void CloseDrawingFile();

// Reads the next line (or piece); false at the end of the file or on a read error.
bool ReadDxfLine();

// True when the last read failed because the file could not be read, not at its end.
bool DrawingReadFailed();

// Exact whole-line comparison, line end included: DxfLineIs("  0\n"). A byte at a time:
// the reader has just stored the line a byte at a time, and a wider load of those bytes
// would wait for the stores to reach the cache.
template <std::size_t N>
inline bool DxfLineIs(const char (&expected)[N]) {
  const DxfLine& line = CurrentDxfLine();
  if (line.length != static_cast<int>(N - 1)) return false;
  for (std::size_t i = 0; i < N - 1; ++i) {
    if (line.text[i] != expected[i]) return false;
  }
  return true;
}

// The current line as atof / atoi read it.
double DxfLineValue();
int DxfLineInteger();

// Reads the value line after a group code into the holder. At the end of the file the
// holder keeps its value and the entity is processed with what was read so far.
void ReadDxfValue(double& holder);

}  // namespace korvex
