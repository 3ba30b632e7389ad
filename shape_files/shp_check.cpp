#include "shape_files/shp_check.h"

#include <cstdarg>
#include <cstdio>

#include "shape_files/shape_interpreter.h"

namespace korvex {
namespace {

// The ranges a byte may take by its place in a command.
struct ByteRange {
  int low;
  int high;
  const char* role;
};
constexpr ByteRange kAnyByte{-128, 255, "byte"};
constexpr ByteRange kFactor{1, 255, "scale factor"};
constexpr ByteRange kDisplacement{-128, 127, "displacement"};
constexpr ByteRange kArcDisplacement{-127, 127, "arc displacement"};
constexpr ByteRange kBulge{-127, 127, "bulge"};
constexpr ByteRange kRadius{1, 255, "radius"};
constexpr ByteRange kUnsigned{0, 255, "byte"};
constexpr int kOctantFieldLimit = 7;  // the S and C digits of (-)0SC run 0 to 7

class ShapeChecker {
 public:
  ShapeChecker(const ShapeSource& source, const SourceShape& shape, SourceProblemList& problems)
      : source_(source),
        shape_(shape),
        bytes_(source.BytesOf(shape)),
        lines_(source.LinesOf(shape)),
        problems_(problems) {}

  void CheckCounts();
  void CheckName();
  void CheckByteSizes();
  void CheckFontDescription();
  void CheckCommands();

 private:
  int LineOf(int i) const { return shape_.byteCount == 0 ? shape_.headerLine : lines_[i]; }
  // A problem at byte i (the header's line for i < 0), its text after the shape's name.
  void Report(int i, ProblemKind kind, const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 4, 5)))
#endif
      ;
  void Expect(int i, const ByteRange& range);
  void ExpectOctant(int i);
  void CheckCommand(int i, int length);

  const ShapeSource& source_;
  const SourceShape& shape_;
  const std::int16_t* bytes_;
  const std::int32_t* lines_;
  SourceProblemList& problems_;
  int stackDepth_ = 0;
};

void ShapeChecker::Report(int i, ProblemKind kind, const char* format, ...) {
  char detail[kProblemTextCapacity];
  std::va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(detail, sizeof detail, format, arguments);
  va_end(arguments);
  AddSourceProblem(problems_, i < 0 ? shape_.headerLine : LineOf(i), kind, "shape %d (%s): %s",
                   shape_.number, shape_.name, detail);
}

void ShapeChecker::Expect(int i, const ByteRange& range) {
  const int value = bytes_[i];
  if (value >= range.low && value <= range.high) return;
  Report(i, ProblemKind::kByteOutOfRange, "%s %d out of range (%d to %d)", range.role, value,
         range.low, range.high);
}

void ShapeChecker::ExpectOctant(int i) {
  const int value = bytes_[i];
  const int magnitude = value < 0 ? -value : value;
  if ((magnitude >> 4) > kOctantFieldLimit || (magnitude & 0xF) > kOctantFieldLimit) {
    Report(i, ProblemKind::kByteOutOfRange, "octant byte %d is not (-)0SC with S and C 0 to 7",
           value);
  } else if (value < 0 && !source_.hexBytes[shape_.firstByte + i]) {
    // Some readers take -18 as -(0x12), others as the byte 0xEE: only -012 means one thing.
    Report(i, ProblemKind::kAmbiguousOctant,
           "negative octant byte %d in decimal is read differently by different programs: "
           "write it as -0%X%X",
           value, magnitude >> 4, magnitude & 0xF);
  }
}

// CAD programs look shape names up in upper case: a lower-case one is never found.
void ShapeChecker::CheckName() {
  for (const char* c = shape_.name; *c != '\0'; ++c) {
    if (*c >= 'a' && *c <= 'z') {
      Report(-1, ProblemKind::kLowerCaseName,
             "the name has lower-case letters: CAD programs never find it by name; write it in "
             "upper case");
      return;
    }
  }
}

void ShapeChecker::CheckCounts() {
  if (shape_.declaredBytes != shape_.byteCount) {
    Report(-1, ProblemKind::kByteCountMismatch, "the header counts %d bytes, the body has %d",
           shape_.declaredBytes, shape_.byteCount);
  }
  if (shape_.byteCount > kShapeByteLimit) {
    Report(-1, ProblemKind::kShapeTooLong, "%d bytes, more than the %d a shape may hold",
           shape_.byteCount, kShapeByteLimit);
  }
}

void ShapeChecker::CheckByteSizes() {
  for (int i = 0; i < shape_.byteCount; ++i) Expect(i, kAnyByte);
}

// The description's bytes are the font's measures, not commands: only its end is checked.
void ShapeChecker::CheckFontDescription() {
  if (shape_.byteCount == 0 || bytes_[shape_.byteCount - 1] != 0) {
    Report(shape_.byteCount - 1, ProblemKind::kMissingEnd,
           "the font description does not end with 0");
  }
}

void ShapeChecker::CheckCommand(int i, int length) {
  const int code = bytes_[i];
  switch (code) {
    case 3:
    case 4:
      Expect(i + 1, kFactor);
      break;
    case 5:
      if (++stackDepth_ > kMaxPositionStack) {
        Report(i, ProblemKind::kPositionStack,
               "position stack overflow: more than %d positions pushed", kMaxPositionStack);
      }
      break;
    case 6:
      if (--stackDepth_ < 0) {
        Report(i, ProblemKind::kPositionStack, "position stack underflow: a pop with none pushed");
        stackDepth_ = 0;
      }
      break;
    case 7: {
      const int number =
          source_.unifont ? ((bytes_[i + 1] & 0xFF) << 8) | (bytes_[i + 2] & 0xFF) : bytes_[i + 1];
      if (!source_.unifont) Expect(i + 1, kUnsigned);
      if (number <= 0 || source_.Find(number) == nullptr) {
        Report(i + 1, ProblemKind::kMissingSubshape,
               "code 7 draws shape %d, which the file does not define", number);
      }
      break;
    }
    case 8:
      Expect(i + 1, kDisplacement);
      Expect(i + 2, kDisplacement);
      break;
    case 9:
      for (int k = i + 1; k < i + length; ++k) Expect(k, kDisplacement);
      break;
    case 10:
      Expect(i + 1, kRadius);
      ExpectOctant(i + 2);
      break;
    case 11:
      for (int k = i + 1; k <= i + 4; ++k) Expect(k, kUnsigned);
      if (bytes_[i + 3] == 0 && bytes_[i + 4] == 0) {
        Report(i + 3, ProblemKind::kByteOutOfRange, "fractional arc of radius 0");
      }
      ExpectOctant(i + 5);
      break;
    case 12:
      Expect(i + 1, kArcDisplacement);
      Expect(i + 2, kArcDisplacement);
      Expect(i + 3, kBulge);
      break;
    case 13:
      for (int k = i + 1; k + 2 < i + length; k += 3) {
        Expect(k, kArcDisplacement);
        Expect(k + 1, kArcDisplacement);
        Expect(k + 2, kBulge);
      }
      break;
    default:
      break;  // codes 0 to 2, 14 and the one-byte vectors take no bytes of their own
  }
}

void ShapeChecker::CheckCommands() {
  const int count = shape_.byteCount;
  for (int i = 0; i < count;) {
    const int code = bytes_[i];
    if (code == 0) {
      if (i + 1 < count) {
        Report(i + 1, ProblemKind::kBytesAfterEnd, "%d bytes after the final 0", count - i - 1);
      }
      return;
    }
    const int length = ShapeCommandLength(bytes_, count, i, source_.unifont);
    if (code < 0 || code == 15 || code > 255) {
      Report(i, ProblemKind::kUnknownCode, "unknown code %d", code);
      return;  // its length is unknown, so nothing after it can be read as commands
    }
    if (length < 0) {
      Report(i, ProblemKind::kMissingEnd, "the shape ends inside the bytes of code %d", code);
      return;
    }
    CheckCommand(i, length);
    i += length;
  }
  Report(count - 1, ProblemKind::kMissingEnd, "no final 0");
}

}  // namespace

int CheckShapeSource(const ShapeSource& source, SourceProblemList& problems) {
  const int before = problems.Total();
  for (int s = 0; s < source.shapeCount; ++s) {
    const SourceShape& shape = source.shapes[s];
    const SourceShape* first = source.Find(shape.number);
    if (first != &shape) {
      AddSourceProblem(problems, shape.headerLine, ProblemKind::kDuplicateShape,
                       "shape %d (%s): number already used on line %d", shape.number, shape.name,
                       first->headerLine);
    }
    if (shape.malformed) continue;
    ShapeChecker checker(source, shape, problems);
    checker.CheckCounts();
    checker.CheckByteSizes();
    if (shape.number == 0) {
      checker.CheckFontDescription();
    } else {
      checker.CheckName();
      checker.CheckCommands();
    }
  }
  return problems.Total() - before;
}

}  // namespace korvex
