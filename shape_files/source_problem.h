// The problems found in a shape source file, each with its line: malformed text the reader
// could not take, and what the CAD program's compiler would refuse. A fixed list; the
// problems past its end are counted, not kept.
#pragma once

#include <cstdint>

#include "platform/printf_format.h"

namespace korvex {

inline constexpr int kMaxSourceProblems = 200;
inline constexpr int kProblemTextCapacity = 160;

// Explicit problem classes, so that callers and tests need not read the message text.
enum class ProblemKind : std::uint8_t {
  kMalformedLine,      // the reader cannot take the line (not a number, bad header...)
  kLineTooLong,        // more than the compiler's 128 characters on one line
  kByteCountMismatch,  // the header's byte count differs from the body's
  kShapeTooLong,       // more than 2000 bytes in one shape
  kByteOutOfRange,     // a byte outside what its place allows
  kMissingEnd,         // the body does not end with the terminating 0
  kBytesAfterEnd,      // bytes follow the terminating 0
  kUnknownCode,        // a command byte that is no code (15, negative)
  kMissingSubshape,    // code 7 names a shape the file does not define
  kDuplicateShape,     // a shape number defined twice
  kTooManyShapes,      // more shapes or bytes than the reader's tables hold
  kPositionStack,      // more than four positions pushed, or a pop of none
  kDataAfterEnd,       // text after the end-of-file byte 0x1A, which the compiler never reads
  kCompiledLayout,     // a compiled file cut short, or with a count, length or offset that
                       // does not fit its layout
  // Warnings: the compiler takes these, but the result may not be what was meant.
  kLowerCaseName,    // CAD programs look shapes up by upper-case name and never find it
  kAmbiguousOctant,  // a negative octant byte in decimal, which readers take differently
};

// Whether the kind only warns: a file with nothing worse is compiled.
bool IsWarning(ProblemKind kind);

struct SourceProblem {
  std::int32_t line;  // 1-based; 0 when the problem belongs to the whole file
  ProblemKind kind;
  char text[kProblemTextCapacity];
};

struct SourceProblemList {
  SourceProblem items[kMaxSourceProblems];
  int count = 0;
  int dropped = 0;   // problems found after the list was full
  int warnings = 0;  // the warnings among all problems, kept or dropped

  void Clear() {
    count = 0;
    dropped = 0;
    warnings = 0;
  }
  int Total() const { return count + dropped; }
  // The problems that stop a compilation.
  int Refusals() const { return Total() - warnings; }
  // Whether a problem of the kind was recorded (the dropped ones unknown).
  bool Has(ProblemKind kind) const;
};

// Records a problem, its text formatted as printf does; cut to the text capacity.
void AddSourceProblem(SourceProblemList& list, int line, ProblemKind kind, const char* format, ...)
    KORVEX_PRINTF_FORMAT(4, 5);

}  // namespace korvex
