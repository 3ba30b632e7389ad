#include "shape_output/glyph_library.h"

#include <charconv>
#include <cstring>

#include "platform/platform.h"

namespace korvex {

namespace {

std::int32_t glyphBodyOffset[kMaxGlyphCode + 1];
std::int32_t glyphTokenCount[kMaxGlyphCode + 1];
char glyphText[kMaxGlyphCode + 1][kGlyphTextCapacity];
int glyphTextLength[kMaxGlyphCode + 1];

const char* ParseInteger(const char* text, const char* end, int& value) {
  while (text < end && (*text == ' ' || *text == '\t')) ++text;
  if (text < end && *text == '+') ++text;
  const std::from_chars_result result = std::from_chars(text, end, value);
  return result.ec == std::errc() ? result.ptr : nullptr;
}

// "*code,bytes,name": one character, a decimal code, one separator character, a decimal
// byte count. Codes are decimal only; the rest of the line is not read.
bool ParseGlyphHeader(const char* line, int& code, int& byteCount) {
  const char* end = line + std::strlen(line);
  const char* p = ParseInteger(line + 1, end, code);
  if (p == nullptr || p == end) return false;
  return ParseInteger(p + 1, end, byteCount) != nullptr;
}

bool InsideTokenRange(char c) {
  return c >= '(' && c <= 'f';
}

// Adds the tokens of one body line to the glyph text; returns false once the glyph is
// complete. A token is a run of characters from '(' to 'f' other than ','; a character
// outside that range ends the line's reading.
bool CollectTokens(const char* line, char* text, int& length, int& collected, int tokenCount) {
  const char* p = line;
  while (true) {
    const char* token = p;
    while (*p != '\0' && *p != ',' && InsideTokenRange(*p)) ++p;
    int tokenLength = static_cast<int>(p - token);
    if (tokenLength > kMaxTokenLength) tokenLength = kMaxTokenLength;
    if (tokenLength > 0) {
      if (length + tokenLength + 1 >= kGlyphTextCapacity) return false;
      std::memcpy(text + length, token, static_cast<unsigned>(tokenLength));
      length += tokenLength;
      text[length++] = ',';
      text[length] = '\0';
      if (++collected >= tokenCount) return false;
    }
    if (*p != ',') return true;                // ended by a character outside the range
    if (!InsideTokenRange(p[1])) return true;  // a comma that ends the line
    ++p;
  }
}

// False when the glyph's body cannot be reached.
bool CollectGlyph(std::FILE* file, int code) {
  char* text = glyphText[code];
  text[0] = '\0';
  glyphTextLength[code] = 0;
  const int tokenCount = glyphTokenCount[code];
  if (tokenCount <= 0) return true;
  if (std::fseek(file, glyphBodyOffset[code], SEEK_SET) != 0) {
    platform::ShowMessage("Error finding text definition", platform::kMessageOk);
    return false;
  }
  int length = 0;
  int collected = 0;
  char line[kGlyphBodyLine];
  while (std::fgets(line, sizeof line, file) != nullptr && line[0] != '*') {
    if (!CollectTokens(line, text, length, collected, tokenCount)) break;
  }
  // A header may promise more tokens than its body gives or than the glyph's text holds;
  // the encoder counts what is written, so the count is what was collected.
  glyphTokenCount[code] = collected;
  glyphTextLength[code] = length;
  return true;
}

}  // namespace

bool LoadGlyphIndex(std::FILE* file) {
  std::memset(glyphBodyOffset, 0, sizeof glyphBodyOffset);
  std::memset(glyphTokenCount, 0, sizeof glyphTokenCount);
  std::rewind(file);

  bool headerPending = false;
  int pendingCode = 0;
  int pendingByteCount = 0;
  char line[kGlyphIndexLine];
  long lineStart = std::ftell(file);
  while (lineStart >= 0 && lineStart <= INT32_MAX &&
         std::fgets(line, sizeof line, file) != nullptr) {
    if (headerPending) {
      glyphBodyOffset[pendingCode] = static_cast<std::int32_t>(lineStart);
      glyphTokenCount[pendingCode] = pendingByteCount - 1;
      if (pendingCode == kMaxGlyphCode) break;
    }
    headerPending = line[0] == '*' && ParseGlyphHeader(line, pendingCode, pendingByteCount) &&
                    pendingCode >= 0 && pendingCode <= kMaxGlyphCode && pendingByteCount >= 1 &&
                    pendingByteCount <= kShapeByteLimit;
    lineStart = std::ftell(file);
  }

  for (int code = 0; code <= kMaxGlyphCode; ++code) {
    if (!CollectGlyph(file, code)) return false;
  }
  return true;
}

std::int32_t GlyphBodyOffset(int code) {
  return code < 0 || code > kMaxGlyphCode ? 0 : glyphBodyOffset[code];
}

std::int32_t GlyphTokenCount(int code) {
  return code < 0 || code > kMaxGlyphCode ? 0 : glyphTokenCount[code];
}

const char* LookUpGlyph(int code) {
  if (code < 0 || code > kMaxGlyphCode) return "";
  return glyphText[code];
}

int GlyphTextLength(int code) {
  if (code < 0 || code > kMaxGlyphCode) return 0;
  return glyphTextLength[code];
}

int GlyphByteCount(int code) {
  if (code < 0 || code > kMaxGlyphCode) return 1;
  return glyphTokenCount[code] + 1;
}

}  // namespace korvex
