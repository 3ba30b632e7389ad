// The layout of shape source text as this project writes it: a header line
// "*number,bytes,NAME", body lines cut after a comma from the 62nd character on, every line
// ending in CR LF, and the byte 0x1A at the very end. Shared by the drawing's .shp writer and
// by the turning of compiled shapes back into source, so that both write the same bytes.
#pragma once

#include <cstddef>
#include <cstdio>

namespace korvex {

inline constexpr int kBodyLineCut = 62;
inline constexpr int kWriterLineCapacity = 80;

// Starts writing to the open output (binary mode). One output at a time.
void StartShpOutput(std::FILE* output);

// A header line; the name is cut to what fits on one line. False when the output failed.
bool WriteShpHeader(const char* numberText, int byteCount, const char* name);

// One line as it is, cut to kWriterLineCapacity characters. False when the output failed.
bool WriteShpLine(const char* text, std::size_t length);

// Body text cut into lines: a line ends at the first comma that makes it kBodyLineCut
// characters or more, or at kWriterLineCapacity characters. Every comma counts for the cut,
// so a line may end inside a parenthesised group. False when the output failed.
bool WriteShpBody(const char* text, std::size_t length);

// Writes the end-of-file byte and flushes; false when the output failed.
bool FinishShpOutput();

}  // namespace korvex
