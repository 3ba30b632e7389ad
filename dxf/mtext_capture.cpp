#include "dxf/mtext_capture.h"

#include "dxf/dxf_line_reader.h"
#include "dxf/dxf_reader.h"
#include "dxf/dxf_values.h"
#include "dxf/left_out_notes.h"
#include "sheet/left_out_table.h"

namespace korvex {
namespace {

// The font's own symbols, by the characters an MTEXT names with \U+.
constexpr struct {
  unsigned code;
  char glyph;
} kSymbols[] = {
    {0x00B0, '\x7F'},                                      // degree
    {0x00B1, '\x80'},                                      // plus-minus
    {0x2205, '\x81'},                                      // diameter
    {0x2300, '\x81'}, {0x00D8, '\x81'}, {0x2104, '\x82'},  // centre line
};

// The plain text being made: the first line that holds something is kept.
struct PlainText {
  char* text;
  int capacity;
  int length;    // of the line being kept, cut or not
  int lines;     // finished lines that hold something
  bool content;  // the line being made holds something

  void Add(char c) {
    if (lines > 0) {
      if (c != ' ') content = true;
      return;
    }
    if (c != ' ') content = true;
    if (length < capacity - 1) text[length] = c;
    ++length;
  }
  void Break() {
    if (content) ++lines;
    // Until a line holds something, what came before it was blanks: start again.
    if (lines == 0) length = 0;
    content = false;
  }
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The character a \U+XXXX names, at its first hexadecimal digit; `used` the digits taken.
char UnicodeCharacter(const char* at, const char* end, int& used) {
  unsigned code = 0;
  used = 0;
  while (used < 4 && at + used < end && HexDigit(at[used]) >= 0) {
    code = code * 16 + static_cast<unsigned>(HexDigit(at[used]));
    ++used;
  }
  for (const auto& symbol : kSymbols) {
    if (symbol.code == code) return symbol.glyph;
  }
  // Plain ASCII is itself; anything else is a character the font has no glyph for, noted
  // when the text is drawn.
  if (code >= 0x20 && code < 0x7F) return static_cast<char>(code);
  return code < 0x100 ? static_cast<char>(code) : '?';
}

}  // namespace

int PlainMtextText(const char* raw, int length, char* plain, int capacity, int& lines) {
  PlainText out = {plain, capacity, 0, 0, false};
  const char* end = raw + length;
  for (const char* p = raw; p < end; ++p) {
    const char c = *p;
    if (c == '{' || c == '}') continue;
    if (c == '^' && p + 1 < end) {
      // A control character written as a caret and a letter: ^J and ^M end a line, ^I is a
      // tab, "^ " the caret itself.
      const char next = *++p;
      if (next == 'J' || next == 'M') {
        out.Break();
      } else {
        out.Add(next == ' ' ? '^' : ' ');
      }
      continue;
    }
    if (c != '\\' || p + 1 >= end) {
      out.Add(c);
      continue;
    }
    const char code = *++p;
    switch (code) {
      case 'P':
      case 'X':
      case 'N':
        out.Break();
        break;
      case '~':
        out.Add(' ');
        break;
      case '\\':
      case '{':
      case '}':
        out.Add(code);
        break;
      case 'L':
      case 'l':
      case 'O':
      case 'o':
      case 'K':
      case 'k':
        break;
      case 'S': {
        // A stack: the upper part, a slash, the lower part, up to the ';'.
        for (++p; p < end && *p != ';'; ++p) {
          if (*p == '\\' && p + 1 < end) {
            out.Add(*++p);
          } else {
            out.Add(*p == '^' || *p == '#' ? '/' : *p);
          }
        }
        break;
      }
      case 'U':
        if (p + 2 < end && p[1] == '+') {
          int used = 0;
          const char character = UnicodeCharacter(p + 2, end, used);
          if (used > 0) {
            out.Add(character);
            p += 1 + used;
            break;
          }
        }
        out.Add(code);
        break;
      case 'f':
      case 'F':
      case 'H':
      case 'W':
      case 'Q':
      case 'T':
      case 'A':
      case 'C':
      case 'c':
      case 'p':
        // A code with a value, up to its ';'.
        while (p + 1 < end && *(p + 1) != ';') ++p;
        if (p + 1 < end) ++p;
        break;
      default:
        out.Add(code);
        break;
    }
  }
  out.Break();
  lines = out.lines;
  if (capacity > 0) plain[out.length < capacity - 1 ? out.length : capacity - 1] = '\0';
  return out.length;
}

void ReadMtextGroups(MtextGroups& mtext) {
  static char raw[kMaxMtextLength];
  int rawLength = 0;
  mtext = {};
  double x = 0, y = 0, height = 0;
  int attachment = 1;
  // A newer MTEXT may carry an embedded object after group 101, whose groups 10, 40 and 71
  // are not the text's own.
  bool embedded = false;
  while (NextEntityGroup()) {
    if (DxfLineIs("  8\n")) {
      if (ReadDxfLine() && DxfLineIs("ID\n")) mtext.onIdLayer = true;
    } else if (DxfLineIs("  1\n") || DxfLineIs("  3\n")) {
      // Group 3 holds the text's first parts when it is long; group 1 the last.
      const int room = kMaxMtextLength - rawLength;
      const int length = ReadDxfTextValue(raw + rawLength, room);
      if (length > 0) rawLength += length < room - 1 ? length : room - 1;
    } else if (DxfLineIs("101\n")) {
      embedded = true;
    } else if (embedded) {
      continue;
    } else if (DxfLineIs(" 10\n")) {
      ReadDxfWholeValue(x);
    } else if (DxfLineIs(" 20\n")) {
      ReadDxfWholeValue(y);
    } else if (DxfLineIs(" 40\n")) {
      ReadDxfWholeValue(height);
    } else if (DxfLineIs(" 71\n")) {
      if (ReadDxfLine()) attachment = DxfLineInteger();
    }
  }
  const int length = PlainMtextText(raw, rawLength, mtext.text, kTextCapacity, mtext.lines);
  if (length > kMaxTextLength) {
    mtext.text[kMaxTextLength] = '\0';
    mtext.cut = true;
  }
  mtext.height = height;
  // The base line of the first line: a height below the top, half of it below the middle.
  const int row = (attachment - 1) / 3;
  mtext.point = {x, row == 0 ? y - height : row == 1 ? y - height / 2 : y};
}

void CaptureMtext() {
  const std::int32_t line = DxfLineNumberInFile();
  MtextGroups mtext;
  ReadMtextGroups(mtext);
  if (mtext.onIdLayer) return;
  if (mtext.lines > 1) {
    LeftOutEntry entry = StartNote("MTEXT", line, LeftOutReason::kMultiLineText);
    SetLeftOutPoint(entry, mtext.point.x, mtext.point.y);
    entry.amount = mtext.lines;
    NoteLeftOut(entry);
    return;
  }
  PlaceText("MTEXT", line, mtext.point.x, mtext.point.y, mtext.height, mtext.text, mtext.cut);
}

}  // namespace korvex
