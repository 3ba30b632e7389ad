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
  int number;  // the line's number in the file, from 1; the pieces of a long line share it
};

// Only the line reader writes the line; a reference rather than a function, so that the
// comparisons of the scan stay inline.
extern const DxfLine& currentDxfLine;

// False, with the reason in plain words, when the file cannot be opened or is no regular
// file (a folder, a device or a pipe is refused at once).
bool OpenDrawingFile(const std::filesystem::path& path, std::string& reason);
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
  const DxfLine& line = currentDxfLine;
  if (line.length != static_cast<int>(N - 1)) return false;
  for (std::size_t i = 0; i < N - 1; ++i) {
    if (line.text[i] != expected[i]) return false;
  }
  return true;
}

// The current line as atof / atoi read it.
double DxfLineNumber();
int DxfLineInteger();

// Reads the value line after a group code into the holder. At the end of the file the
// holder keeps its value and the entity is processed with what was read so far.
void ReadDxfValue(double& holder);

}  // namespace korvex
