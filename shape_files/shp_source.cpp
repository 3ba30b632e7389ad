#include "shape_files/shp_source.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>

#include "platform/platform.h"

namespace korvex {
namespace {

constexpr char kEndOfFileByte = 0x1A;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool StartsWithWord(std::string_view text, std::string_view word) {
  if (text.size() < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const char c = text[i];
    const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    if (upper != word[i]) return false;
  }
  return true;
}

// Quotes at most this much of a bad token in a message.
constexpr int kQuotedTokenLength = 24;

// The state of one reading pass: which shape takes the bytes, and whether a group is open.
class SourceReader {
 public:
  SourceReader(ShapeSource& source, SourceProblemList& problems)
      : source_(source), problems_(problems) {}

  void ReadLine(std::string_view line, int lineNumber);
  void Finish(int lastLine) { CloseShape(lastLine); }
  bool Full() const { return source_.truncated; }

 private:
  void ReadHeader(std::string_view header, int lineNumber);
  void ReadBigFontLine(std::string_view fields, int lineNumber);
  void ReadBodyField(std::string_view field, bool lastOnLine, int lineNumber);
  void AddByte(int value, bool hex, int lineNumber);
  void CloseShape(int lineNumber);
  void Malformed(int lineNumber, const char* reason, std::string_view token);

  ShapeSource& source_;
  SourceProblemList& problems_;
  SourceShape* shape_ = nullptr;  // the shape that takes body bytes, if any
  int groupDepth_ = 0;
  bool reportedOrphanBytes_ = false;
};

void SourceReader::Malformed(int lineNumber, const char* reason, std::string_view token) {
  if (shape_ != nullptr) shape_->malformed = true;
  if (token.empty()) {
    AddSourceProblem(problems_, lineNumber, ProblemKind::kMalformedLine, "%s", reason);
  } else {
    const int shown =
        token.size() > kQuotedTokenLength ? kQuotedTokenLength : static_cast<int>(token.size());
    AddSourceProblem(problems_, lineNumber, ProblemKind::kMalformedLine, "%s: '%.*s'", reason,
                     shown, token.data());
  }
}

void SourceReader::CloseShape(int lineNumber) {
  if (shape_ != nullptr && groupDepth_ != 0) {
    Malformed(lineNumber, "a '(' group is not closed before the shape ends", {});
  }
  shape_ = nullptr;
  groupDepth_ = 0;
}

void SourceReader::AddByte(int value, bool hex, int lineNumber) {
  if (source_.byteCount == kSourceByteCapacity) {
    AddSourceProblem(problems_, lineNumber, ProblemKind::kTooManyShapes,
                     "more than %d bytes in the file: the rest is not read", kSourceByteCapacity);
    source_.truncated = true;
    return;
  }
  source_.bytes[source_.byteCount] = static_cast<std::int16_t>(value);
  source_.byteLines[source_.byteCount] = lineNumber;
  source_.hexBytes[source_.byteCount] = hex;
  ++source_.byteCount;
  ++shape_->byteCount;
}

void SourceReader::ReadHeader(std::string_view header, int lineNumber) {
  CloseShape(lineNumber);
  // A big font's range line carries no shape of its own: its *0 description follows.
  if (StartsWithWord(header, "*BIGFONT")) {
    ReadBigFontLine(header.substr(8), lineNumber);
    return;
  }
  const std::size_t firstComma = header.find(',');
  const std::size_t secondComma =
      firstComma == std::string_view::npos ? firstComma : header.find(',', firstComma + 1);
  if (secondComma == std::string_view::npos) {
    Malformed(lineNumber, "a header needs *number,bytes,name", header);
    return;
  }
  const std::string_view numberText = Trim(header.substr(1, firstComma - 1));
  const std::string_view countText =
      Trim(header.substr(firstComma + 1, secondComma - firstComma - 1));
  const std::string_view name = Trim(header.substr(secondComma + 1));

  int number = 0;
  if (StartsWithWord(numberText, "UNIFONT") && numberText.size() == 7) {
    source_.unifont = true;  // the Unicode font's description takes the place of *0
  } else if (!ReadSourceNumber(numberText, number, kMaxSourceShapeNumber) || number < 0 ||
             number > kMaxSourceShapeNumber) {
    Malformed(lineNumber, "the shape number must be 0 to 65535", numberText);
    return;
  }
  int declared = 0;
  if (!ReadSourceNumber(countText, declared) || declared < 0) {
    Malformed(lineNumber, "the byte count is not a number of bytes", countText);
    return;
  }
  if (source_.shapeCount == kMaxSourceShapes) {
    AddSourceProblem(problems_, lineNumber, ProblemKind::kTooManyShapes,
                     "too many shapes: more than %d in the file, the rest is not read",
                     kMaxSourceShapes);
    source_.truncated = true;
    return;
  }
  SourceShape& shape = source_.shapes[source_.shapeCount++];
  shape.number = number;
  shape.declaredBytes = declared;
  shape.firstByte = source_.byteCount;
  shape.byteCount = 0;
  shape.headerLine = lineNumber;
  shape.malformed = false;
  const std::size_t kept = name.size() < sizeof shape.name ? name.size() : sizeof shape.name - 1;
  std::memcpy(shape.name, name.data(), kept);
  shape.name[kept] = '\0';
  shape_ = &shape;
}

// "count,ranges,first,last,...": the estimated shape count and the lead-byte ranges.
void SourceReader::ReadBigFontLine(std::string_view fields, int lineNumber) {
  source_.bigFont = true;
  int numbers[2 + 2 * kMaxBigFontRanges];
  int count = 0;
  while (!fields.empty()) {
    const std::size_t comma = fields.find(',');
    const std::string_view field = Trim(fields.substr(0, comma));
    if (count == static_cast<int>(std::size(numbers))) {
      Malformed(lineNumber, "more lead-byte ranges than a big font may have", fields);
      return;
    }
    if (!ReadSourceNumber(field, numbers[count]) || numbers[count] < 0 ||
        (count >= 2 && numbers[count] > kMaxLeadByte)) {
      Malformed(lineNumber, "a *BIGFONT line holds a count, then bytes 0 to 255", field);
      return;
    }
    ++count;
    fields = comma == std::string_view::npos ? std::string_view() : fields.substr(comma + 1);
  }
  if (count < 2 || count != 2 + 2 * numbers[1]) {
    Malformed(lineNumber, "a *BIGFONT line needs count,ranges and a first,last pair per range", {});
    return;
  }
  source_.bigFontEstimate = numbers[0];
  source_.bigFontRangeCount = numbers[1];
  for (int r = 0; r < numbers[1]; ++r) {
    source_.bigFontRanges[r] = {numbers[2 + 2 * r], numbers[3 + 2 * r]};
  }
}

// A field is what stands between two commas: a number, with group parentheses around it.
// The last field of a line may be empty, since a body goes on after a comma at a line end.
void SourceReader::ReadBodyField(std::string_view field, bool lastOnLine, int lineNumber) {
  std::string_view rest = Trim(field);
  while (!rest.empty() && rest.front() == '(') {
    if (groupDepth_ != 0) {
      Malformed(lineNumber, "groups cannot be nested", field);
      return;
    }
    groupDepth_ = 1;
    rest = Trim(rest.substr(1));
  }
  std::size_t tokenEnd = 0;
  while (tokenEnd < rest.size() && rest[tokenEnd] != ')' && !IsBlank(rest[tokenEnd])) ++tokenEnd;
  const std::string_view token = rest.substr(0, tokenEnd);
  rest = Trim(rest.substr(tokenEnd));
  while (!rest.empty() && rest.front() == ')') {
    if (groupDepth_ == 0) {
      Malformed(lineNumber, "')' without its '('", field);
      return;
    }
    groupDepth_ = 0;
    rest = Trim(rest.substr(1));
  }
  if (!rest.empty()) {
    Malformed(lineNumber, "unexpected text after a byte", field);
    return;
  }
  if (token.empty()) {
    if (!lastOnLine) Malformed(lineNumber, "an empty byte between two commas", {});
    return;
  }
  const std::string_view digits =
      token.front() == '-' || token.front() == '+' ? token.substr(1) : token;
  int value = 0;
  if (!ReadSourceNumber(token, value)) {
    const bool hexWithoutZero = !digits.empty() && digits.front() != '0' &&
                                digits.find_first_of("ABCDEFabcdef") != std::string_view::npos;
    Malformed(lineNumber,
              hexWithoutZero ? "not a number (hexadecimal needs a leading 0)" : "not a number",
              token);
    return;
  }
  AddByte(value, digits.size() > 1 && digits.front() == '0', lineNumber);
}

void SourceReader::ReadLine(std::string_view line, int lineNumber) {
  if (line.size() > static_cast<std::size_t>(kCompilerLineLimit)) {
    AddSourceProblem(problems_, lineNumber, ProblemKind::kLineTooLong,
                     "line of %zu characters: the compiler takes at most %d", line.size(),
                     kCompilerLineLimit);
  }
  const std::size_t comment = line.find(';');
  const std::string_view content = Trim(line.substr(0, comment));
  if (content.empty()) return;
  if (content.front() == '*') {
    ReadHeader(content, lineNumber);
    return;
  }
  if (shape_ == nullptr) {
    // One report per run of such lines: a lost header would otherwise flood the list.
    if (!reportedOrphanBytes_) {
      AddSourceProblem(problems_, lineNumber, ProblemKind::kMalformedLine,
                       "bytes without a shape header before them");
    }
    reportedOrphanBytes_ = true;
    return;
  }
  reportedOrphanBytes_ = false;
  std::size_t start = 0;
  while (!source_.truncated) {
    const std::size_t comma = content.find(',', start);
    const bool last = comma == std::string_view::npos;
    ReadBodyField(content.substr(start, last ? std::string_view::npos : comma - start), last,
                  lineNumber);
    if (last) break;
    start = comma + 1;
  }
}

}  // namespace

bool ReadSourceNumber(std::string_view text, int& value, int limit) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.front() == '-' || text.front() == '+') return false;
  const int base = (text.size() > 1 && text.front() == '0') ? 16 : 10;
  int magnitude = 0;
  const std::from_chars_result result =
      std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size() || magnitude > limit) {
    return false;
  }
  value = negative ? -magnitude : magnitude;
  return true;
}

const SourceShape* ShapeSource::Find(int number) const {
  for (int i = 0; i < shapeCount; ++i) {
    if (shapes[i].number == number) return &shapes[i];
  }
  return nullptr;
}

namespace {

// The compiler stops at the end-of-file byte: whatever follows it is lost, and a file
// spliced from two others shows itself here.
void ReportDataAfterEnd(std::string_view text, std::size_t end, SourceProblemList& problems) {
  const std::string_view after = text.substr(end + 1);
  if (after.find_first_not_of(" \t\r\n") == std::string_view::npos) return;
  const int line = 1 + static_cast<int>(std::count(text.begin(), text.begin() + end, '\n'));
  const std::size_t header = after.front() == '*' ? 0 : after.find("\n*");
  if (header != std::string_view::npos) {
    AddSourceProblem(problems, line, ProblemKind::kDataAfterEnd,
                     "a shape definition after the end-of-file byte 0x1A: the compiler never "
                     "reads it");
  } else {
    AddSourceProblem(problems, line, ProblemKind::kDataAfterEnd,
                     "%zu bytes after the end-of-file byte 0x1A: the compiler never reads them",
                     after.size());
  }
}

}  // namespace

void ReadShapeSource(std::string_view text, ShapeSource& source, SourceProblemList& problems) {
  source.Clear();
  SourceReader reader(source, problems);
  const std::size_t end = text.find(kEndOfFileByte);
  if (end != std::string_view::npos) {
    ReportDataAfterEnd(text, end, problems);
    text = text.substr(0, end);
  }
  int lineNumber = 0;
  std::size_t start = 0;
  while (start < text.size() && !reader.Full()) {
    // A plain scan: find_first_of searches the set once per character.
    std::size_t stop = start;
    while (stop < text.size() && text[stop] != '\r' && text[stop] != '\n') ++stop;
    ++lineNumber;
    reader.ReadLine(text.substr(start, stop - start), lineNumber);
    // CR LF, LF and a lone CR each end one line.
    start = stop;
    if (start < text.size() && text[start] == '\r') ++start;
    if (start < text.size() && text[start] == '\n') ++start;
  }
  reader.Finish(lineNumber);
  if (source.shapeCount == 0 && problems.Total() == 0) {
    AddSourceProblem(problems, 0, ProblemKind::kMalformedLine, "no shape definitions");
  }
}

bool ReadShapeFileBytes(const std::filesystem::path& path, std::string& bytes,
                        SourceProblemList& problems) {
  std::string reason;
  std::FILE* file = platform::OpenInputFile(path, reason);
  if (file == nullptr) {
    AddSourceProblem(problems, 0, ProblemKind::kMalformedLine, "cannot be opened: %s",
                     reason.c_str());
    return false;
  }
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > kMaxSourceFileBytes) {
    std::fclose(file);
    if (error) {
      AddSourceProblem(problems, 0, ProblemKind::kMalformedLine, "cannot be read: %s",
                       error.message().c_str());
    } else {
      AddSourceProblem(problems, 0, ProblemKind::kMalformedLine, "larger than %ju bytes: not read",
                       kMaxSourceFileBytes);
    }
    return false;
  }
  bytes.assign(static_cast<std::size_t>(size), '\0');
  const std::size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  bytes.resize(read);
  return true;
}

bool ReadShapeSourceFile(const std::filesystem::path& path, ShapeSource& source,
                         SourceProblemList& problems) {
  source.Clear();
  std::string text;
  if (!ReadShapeFileBytes(path, text, problems)) return false;
  ReadShapeSource(text, source, problems);
  return true;
}

}  // namespace korvex
