#include "shape_files/shx_file.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "shape_files/shape_interpreter.h"

namespace korvex {
namespace {

struct LayoutSignature {
  std::string_view text;  // ends with CR LF and 0x1A
  ShapeFileForm form;
};
constexpr LayoutSignature kSignatures[] = {
    {"AutoCAD-86 shapes 1.0\r\n\x1a", ShapeFileForm::kShapes10},
    {"AutoCAD-86 shapes 1.1\r\n\x1a", ShapeFileForm::kShapes11},
    {"AutoCAD-86 unifont 1.0\r\n\x1a", ShapeFileForm::kUnifont},
    {"AutoCAD-86 bigfont 1.0\r\n\x1a", ShapeFileForm::kBigfont},
};
constexpr std::string_view kShapesEnd = "EOF";
// Names are printable text: below this are control characters.
constexpr unsigned char kFirstNameCharacter = 0x20;
// The fixed parts of the layouts, in bytes.
constexpr std::size_t kU16Size = 2;
constexpr std::size_t kCountsSize = 6;      // shapes: first, last, count; bigfont: estimate,
                                            // entries, ranges (u16 each)
constexpr std::size_t kIndexEntrySize = 4;  // shapes: u16 number, u16 record length
constexpr std::size_t kRecordHeadSize = 4;  // unifont: u16 number, u16 length before a record
constexpr std::size_t kRangeSize = 4;       // bigfont: u16 first, u16 last lead byte
constexpr std::size_t kEntrySize = 8;       // bigfont: u16 code, u16 length, u32 offset
// The signature is named in messages up to its first CR.
constexpr int kSignatureShown = 40;

// Reads the file from the front, every read checked against its end.
struct Cursor {
  std::string_view bytes;
  std::size_t at;

  bool Has(std::size_t count) const { return count <= bytes.size() - at; }
  int U16() {
    const int value =
        static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
    at += 2;
    return value;
  }
};

std::uint32_t U32At(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// The read of one compiled file: where problems go and how the layout is named in them.
struct ShxRead {
  ShapeSource& source;
  SourceProblemList& problems;
  const char* layout;

  bool Fail(std::size_t offset, const char* what) {
    AddSourceProblem(problems, 0, ProblemKind::kCompiledLayout, "%s, at byte %zu: %s", layout,
                     offset, what);
    return false;
  }
};

// Gives the signed operands their signs back: the file holds every byte as 0 to 255.
void SignOperands(std::int16_t* bytes, int count, bool wide) {
  const auto sign = [bytes](int k) {
    if (bytes[k] > 127) bytes[k] = static_cast<std::int16_t>(bytes[k] - 256);
  };
  for (int i = 0; i < count;) {
    const int code = bytes[i];
    const int length = ShapeCommandLength(bytes, count, i, wide);
    if (code == 0 || length < 0) return;
    switch (code) {
      case 8:
      case 9:
      case 12:
      case 13:
        for (int k = i + 1; k < i + length; ++k) sign(k);
        break;
      case 10:
        sign(i + 2);
        break;
      case 11:
        sign(i + 5);
        break;
      default:
        break;
    }
    i += length;
  }
}

// One record, "name NUL bytes" of the given length at the offset (already bound checked).
bool AddRecord(ShxRead& read, int number, std::string_view record, std::size_t offset) {
  ShapeSource& source = read.source;
  const std::size_t nul = record.find('\0');
  if (nul == std::string_view::npos) return read.Fail(offset, "a record's name has no end (NUL)");
  // Source text could not carry such a name: a line end or 0x1A would split the header, a
  // ';' would start a comment.
  for (std::size_t i = 0; i < nul; ++i) {
    const unsigned char c = static_cast<unsigned char>(record[i]);
    if (c < kFirstNameCharacter || c == ';') {
      return read.Fail(offset, "a name holds a control character or ';', which no shape name may");
    }
  }
  const int byteCount = static_cast<int>(record.size() - nul - 1);
  if (byteCount > kShapeByteLimit) {
    char what[kProblemTextCapacity];
    std::snprintf(what, sizeof what, "shape %d holds %d bytes, more than the %d a shape may hold",
                  number, byteCount, kShapeByteLimit);
    return read.Fail(offset, what);
  }
  if (source.shapeCount == kMaxSourceShapes) {
    AddSourceProblem(read.problems, 0, ProblemKind::kTooManyShapes,
                     "more than %d shapes in the file: not read", kMaxSourceShapes);
    return false;
  }
  SourceShape& shape = source.shapes[source.shapeCount++];
  shape.number = number;
  shape.declaredBytes = byteCount;
  shape.firstByte = source.byteCount;
  shape.byteCount = byteCount;
  shape.headerLine = 0;
  shape.malformed = false;
  const std::size_t kept = std::min(nul, sizeof shape.name - 1);
  std::memcpy(shape.name, record.data(), kept);
  shape.name[kept] = '\0';
  // At most kMaxSourceShapes shapes of kShapeByteLimit bytes: the byte table never fills.
  std::int16_t* bytes = source.bytes + source.byteCount;
  for (int i = 0; i < byteCount; ++i) {
    bytes[i] = static_cast<unsigned char>(record[nul + 1 + static_cast<std::size_t>(i)]);
    source.byteLines[source.byteCount + i] = 0;
    // Written back as source, octant bytes take the -0SC form that reads one way only.
    source.hexBytes[source.byteCount + i] = true;
  }
  source.byteCount += byteCount;
  if (number != 0) SignOperands(bytes, byteCount, source.unifont);
  return true;
}

// Records one after another, each "u16 number, u16 length, name NUL bytes" (unifont) or,
// for the shapes layout, taking number and length from the index.
bool ReadSequentialRecord(ShxRead& read, Cursor& in, int number, int length) {
  if (length < 1) return read.Fail(in.at, "a record of 0 bytes, too short for even a name");
  if (!in.Has(static_cast<std::size_t>(length))) {
    return read.Fail(in.at, "a record runs past the end of the file (cut short?)");
  }
  const std::string_view record = in.bytes.substr(in.at, static_cast<std::size_t>(length));
  if (!AddRecord(read, number, record, in.at)) return false;
  in.at += static_cast<std::size_t>(length);
  return true;
}

bool ReadShapesLayout(ShxRead& read, Cursor& in) {
  if (!in.Has(kCountsSize)) {
    return read.Fail(in.at, "the file ends inside its header (cut short?)");
  }
  const int first = in.U16();
  const int last = in.U16();
  const int count = in.U16();
  if (!in.Has(static_cast<std::size_t>(count) * kIndexEntrySize)) {
    return read.Fail(in.at, "the file ends inside its index (cut short?)");
  }
  const std::size_t index = in.at;
  in.at += static_cast<std::size_t>(count) * kIndexEntrySize;
  int previous = -1;
  for (int i = 0; i < count; ++i) {
    Cursor entry{in.bytes, index + static_cast<std::size_t>(i) * kIndexEntrySize};
    const int number = entry.U16();
    const int length = entry.U16();
    if (number <= previous) {
      return read.Fail(entry.at - kIndexEntrySize, "the index is not in ascending shape order");
    }
    previous = number;
    if (!ReadSequentialRecord(read, in, number, length)) return false;
  }
  if (count > 0 && (first != read.source.shapes[0].number || last != previous)) {
    return read.Fail(0x18, "the first and last shape numbers differ from the index's");
  }
  if (!in.Has(kShapesEnd.size()) || in.bytes.substr(in.at, kShapesEnd.size()) != kShapesEnd) {
    return read.Fail(in.at, "no EOF after the last record (cut short?)");
  }
  in.at += kShapesEnd.size();
  if (in.at != in.bytes.size()) {
    AddSourceProblem(read.problems, 0, ProblemKind::kCompiledLayout,
                     "%s: %zu bytes after EOF, which CAD programs never read", read.layout,
                     in.bytes.size() - in.at);
  }
  return true;
}

bool ReadUnifontLayout(ShxRead& read, Cursor& in) {
  read.source.unifont = true;
  if (!in.Has(kU16Size)) return read.Fail(in.at, "the file ends inside its header (cut short?)");
  const int count = in.U16();
  for (int i = 0; i < count; ++i) {
    if (!in.Has(kRecordHeadSize)) {
      return read.Fail(in.at, "the file ends inside a record (cut short?)");
    }
    const int number = in.U16();
    const int length = in.U16();
    if ((i == 0) != (number == 0)) {
      return read.Fail(in.at - kRecordHeadSize,
                       "the font description must be the first record, and only it");
    }
    if (!ReadSequentialRecord(read, in, number, length)) return false;
  }
  return true;
}

bool ReadBigfontLayout(ShxRead& read, Cursor& in) {
  read.source.bigFont = true;
  if (!in.Has(kCountsSize)) {
    return read.Fail(in.at, "the file ends inside its header (cut short?)");
  }
  read.source.bigFontEstimate = in.U16();
  const int entries = in.U16();
  const int ranges = in.U16();
  const std::size_t tableSize = static_cast<std::size_t>(ranges) * kRangeSize +
                                static_cast<std::size_t>(entries) * kEntrySize;
  if (!in.Has(tableSize)) return read.Fail(in.at, "the file ends inside its tables (cut short?)");
  if (ranges > kMaxBigFontRanges) {
    return read.Fail(in.at - kU16Size, "more lead-byte ranges than a big font may have");
  }
  read.source.bigFontRangeCount = ranges;
  for (int r = 0; r < ranges; ++r) {
    const int first = in.U16();
    const int last = in.U16();
    if (first > kMaxLeadByte || last > kMaxLeadByte) {
      return read.Fail(in.at - kRangeSize, "a lead-byte range past 255");
    }
    read.source.bigFontRanges[r] = {first, last};
  }
  for (int i = 0; i < entries; ++i) {
    Cursor entry{in.bytes, in.at + static_cast<std::size_t>(i) * kEntrySize};
    const int number = entry.U16();
    const int length = entry.U16();
    const std::uint32_t offset = U32At(in.bytes, entry.at);
    if (number == 0 && length == 0 && offset == 0) continue;  // an empty entry
    if (length < 1 || offset > in.bytes.size() ||
        static_cast<std::size_t>(length) > in.bytes.size() - offset) {
      return read.Fail(entry.at - kEntrySize / 2,
                       "an entry points past the end of the file (cut short?)");
    }
    if (!AddRecord(read, number, in.bytes.substr(offset, static_cast<std::size_t>(length)),
                   offset)) {
      return false;
    }
  }
  return true;
}

// The written file: little-endian 16-bit numbers, and records of at most a name and a
// shape's byte limit.
struct ShxOutput {
  std::FILE* file;
  bool ok = true;

  void Put(const void* data, std::size_t length) {
    ok = ok && std::fwrite(data, 1, length, file) == length;
  }
  void U32(std::size_t value) {
    U16(static_cast<int>(value & 0xFFFF));
    U16(static_cast<int>(value >> 16 & 0xFFFF));
  }
  void U16(int value) {
    const unsigned char bytes[2] = {static_cast<unsigned char>(value & 0xFF),
                                    static_cast<unsigned char>(value >> 8 & 0xFF)};
    Put(bytes, 2);
  }
  // "name NUL bytes", each byte as its low eight bits (-3 is 0xFD).
  void Record(const ShapeSource& source, const SourceShape& shape) {
    unsigned char record[kSourceNameCapacity + kShapeByteLimit];
    const std::size_t nameLength = std::strlen(shape.name);
    std::memcpy(record, shape.name, nameLength + 1);
    const std::int16_t* bytes = source.BytesOf(shape);
    const int count = std::min(shape.byteCount, kShapeByteLimit);
    for (int i = 0; i < count; ++i) {
      record[nameLength + 1 + static_cast<std::size_t>(i)] = static_cast<unsigned char>(bytes[i]);
    }
    Put(record, nameLength + 1 + static_cast<std::size_t>(count));
  }
};

int RecordLength(const SourceShape& shape) {
  return static_cast<int>(std::strlen(shape.name)) + 1 + std::min(shape.byteCount, kShapeByteLimit);
}

}  // namespace

const char* ShapeFileFormName(ShapeFileForm form) {
  switch (form) {
    case ShapeFileForm::kSource:
      return "shape source text";
    case ShapeFileForm::kShapes10:
      return "AutoCAD-86 shapes 1.0";
    case ShapeFileForm::kShapes11:
      return "AutoCAD-86 shapes 1.1";
    case ShapeFileForm::kUnifont:
      return "AutoCAD-86 unifont 1.0";
    case ShapeFileForm::kBigfont:
      return "AutoCAD-86 bigfont 1.0";
  }
  return "";
}

bool IsCompiledShapeFile(std::string_view bytes) {
  return bytes.substr(0, kShxSignatureStart.size()) == kShxSignatureStart;
}

bool ReadShx(std::string_view bytes, ShapeSource& source, SourceProblemList& problems,
             ShapeFileForm& form) {
  source.Clear();
  const LayoutSignature* signature = nullptr;
  for (const LayoutSignature& known : kSignatures) {
    if (bytes.substr(0, known.text.size()) == known.text) signature = &known;
  }
  if (signature == nullptr) {
    const std::size_t shown = std::min(bytes.find_first_of("\r\n\x1a"), bytes.size());
    AddSourceProblem(problems, 0, ProblemKind::kCompiledLayout,
                     "a compiled shape file of a layout this program does not know ('%.*s'): "
                     "it reads AutoCAD-86 shapes 1.0 and 1.1, unifont 1.0 and bigfont 1.0",
                     static_cast<int>(std::min<std::size_t>(shown, kSignatureShown)), bytes.data());
    return false;
  }
  form = signature->form;
  ShxRead read{source, problems, ShapeFileFormName(form)};
  Cursor in{bytes, signature->text.size()};
  bool readOk = false;
  switch (form) {
    case ShapeFileForm::kUnifont:
      readOk = ReadUnifontLayout(read, in);
      break;
    case ShapeFileForm::kBigfont:
      readOk = ReadBigfontLayout(read, in);
      break;
    default:
      readOk = ReadShapesLayout(read, in);
      break;
  }
  if (!readOk) {
    source.Clear();
    return false;
  }
  if (source.shapeCount == 0) {
    AddSourceProblem(problems, 0, ProblemKind::kMalformedLine, "no shape definitions");
  }
  return true;
}

bool ReadShapeFile(const std::filesystem::path& path, ShapeSource& source,
                   SourceProblemList& problems, ShapeFileForm& form) {
  std::string bytes;
  if (!ReadShapeFileBytes(path, bytes, problems)) return false;
  form = ShapeFileForm::kSource;
  if (IsCompiledShapeFile(bytes)) return ReadShx(bytes, source, problems, form);
  ReadShapeSource(bytes, source, problems);
  return true;
}

bool WriteShx(const ShapeSource& source, std::FILE* output) {
  // The index and the records go in ascending shape order, whatever the source's order.
  static int order[kMaxSourceShapes];
  const int count = source.shapeCount;
  for (int i = 0; i < count; ++i) order[i] = i;
  std::sort(order, order + count,
            [&source](int a, int b) { return source.shapes[a].number < source.shapes[b].number; });
  ShxOutput out{output};
  const bool font = count > 0 && source.shapes[order[0]].number == 0;
  const ShapeFileForm form = source.bigFont   ? ShapeFileForm::kBigfont
                             : source.unifont ? ShapeFileForm::kUnifont
                             : font           ? ShapeFileForm::kShapes11
                                              : ShapeFileForm::kShapes10;
  std::string_view signature;
  for (const LayoutSignature& known : kSignatures) {
    if (known.form == form) signature = known.text;
  }
  out.Put(signature.data(), signature.size());
  if (source.bigFont) {
    out.U16(source.bigFontEstimate);
    out.U16(count);
    out.U16(source.bigFontRangeCount);
    for (int r = 0; r < source.bigFontRangeCount; ++r) {
      out.U16(source.bigFontRanges[r].first);
      out.U16(source.bigFontRanges[r].last);
    }
    // The records follow the entries, in the entries' order.
    std::size_t offset = signature.size() + kCountsSize +
                         static_cast<std::size_t>(source.bigFontRangeCount) * kRangeSize +
                         static_cast<std::size_t>(count) * kEntrySize;
    for (int i = 0; i < count; ++i) {
      const SourceShape& shape = source.shapes[order[i]];
      out.U16(shape.number);
      out.U16(RecordLength(shape));
      out.U32(offset);
      offset += static_cast<std::size_t>(RecordLength(shape));
    }
    for (int i = 0; i < count; ++i) out.Record(source, source.shapes[order[i]]);
    return out.ok;
  }
  if (source.unifont) {
    out.U16(count);
    for (int i = 0; i < count; ++i) {
      const SourceShape& shape = source.shapes[order[i]];
      out.U16(shape.number);
      out.U16(RecordLength(shape));
      out.Record(source, shape);
    }
    return out.ok;
  }
  out.U16(count > 0 ? source.shapes[order[0]].number : 0);
  out.U16(count > 0 ? source.shapes[order[count - 1]].number : 0);
  out.U16(count);
  for (int i = 0; i < count; ++i) {
    out.U16(source.shapes[order[i]].number);
    out.U16(RecordLength(source.shapes[order[i]]));
  }
  for (int i = 0; i < count; ++i) out.Record(source, source.shapes[order[i]]);
  out.Put(kShapesEnd.data(), kShapesEnd.size());
  return out.ok;
}

}  // namespace korvex
