#include "shape_output/shape_encoder.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "platform/message_text.h"
#include "platform/platform.h"
#include "platform/prefetch.h"
#include "shape_output/glyph_library.h"
#include "sheet/arc_bulge.h"
#include "sheet/cell_grid.h"
#include "sheet/entity_table.h"
#include "sheet/font_sheet.h"
#include "sheet/geometry.h"
#include "sheet/left_out_table.h"
#include "sheet/whole_units.h"

namespace korvex {
namespace {

char specText[kShapeTextCapacity];
int specLength = 0;
std::int32_t byteCount = 0;
std::int32_t penX = 0;
std::int32_t penY = 0;
int keyCursor = 0;
bool fontRun = false;

// Far enough ahead to cover a memory fetch, near enough to stay in the cache.
constexpr int kRecordsAhead = 8;

// A record may straddle two cache lines; both are asked for.
void PrefetchRecord(const DrawingEntityRecord& record) {
  PrefetchForReading(&record);
  PrefetchForReading(reinterpret_cast<const char*>(&record) + sizeof record - 1);
}

// The byte limit keeps a shape's text far below the capacity; the bound here only makes
// sure that no input at all can write past it. The text is terminated once, when the shape
// is complete.
void AppendChars(const char* piece, int length) {
  const int room = kShapeTextCapacity - 1 - specLength;
  const int count = length < room ? length : room;
  std::memcpy(specText + specLength, piece, static_cast<unsigned>(count));
  specLength += count;
}

// Pieces of constant length copy without measuring them.
template <std::size_t N>
void Append(const char (&piece)[N]) {
  constexpr int length = static_cast<int>(N - 1);
  if (specLength + length < kShapeTextCapacity) {
    std::memcpy(specText + specLength, piece, N - 1);
    specLength += length;
  } else {
    AppendChars(piece, length);
  }
}

void AppendNumber(long value) {
  const std::to_chars_result result =
      std::to_chars(specText + specLength, specText + kShapeTextCapacity - 1, value);
  if (result.ec == std::errc()) specLength = static_cast<int>(result.ptr - specText);
}

// "8,(dx,dy)" and "12,(dx,dy,bulge)" share their opening.
template <std::size_t N>
void AppendVector(const char (&code)[N], long dx, long dy) {
  Append(code);
  Append(",(");
  AppendNumber(dx);
  Append(",");
  AppendNumber(dy);
}

void MovePenTo(std::int32_t x, std::int32_t y) {
  if (x == penX && y == penY) return;
  Append("2,");
  AppendVector("8", x - penX, y - penY);
  Append("),1,");
  byteCount += 5;
  penX = x;
  penY = y;
}

void EncodeLine(const DrawingEntityRecord& record) {
  AppendVector("8", record.endX - record.startX, record.endY - record.startY);
  Append(")");
  byteCount += 3;
  penX = record.endX;
  penY = record.endY;
}

// One bulge-arc code of an arc: its end displacement and its bulge byte.
struct ArcPiece {
  long dx;
  long dy;
  long bulge;
};

// Splits an arc of more than 180 degrees at the point opposite its start into a semicircle
// and the rest, unless that point rounds onto the end point. Pieces without displacement
// draw nothing and are left out, so an arc whose ends coincide gives a full circle when
// it sweeps round (two semicircles) and nothing otherwise. A clockwise arc (a fitted
// curve's) is the same with its bulges negative.
int PlanArc(const DrawingEntityRecord& record, ArcPiece (&pieces)[2]) {
  double sweep = record.clockwise ? ArcSweep(record.endAngle, record.startAngle)
                                  : ArcSweep(record.startAngle, record.endAngle);
  if (!(sweep >= 0)) return 0;
  const long turn = record.clockwise ? -1 : 1;

  int count = 0;
  long fromX = record.startX;
  long fromY = record.startY;
  if (sweep > 180) {
    std::int16_t mx, my;
    const bool haveOpposite = RoundToWhole(2 * record.centreX - record.startX, mx) &&
                              RoundToWhole(2 * record.centreY - record.startY, my);
    if (haveOpposite && !(mx == record.endX && my == record.endY)) {
      if (mx != fromX || my != fromY) {
        pieces[count++] = {mx - fromX, my - fromY, turn * kMaxBulgeByte};
      }
      fromX = mx;
      fromY = my;
      sweep -= 180;
    }
  }
  if (record.endX != fromX || record.endY != fromY) {
    pieces[count++] = {record.endX - fromX, record.endY - fromY, turn * BulgeByte(sweep)};
  }
  return count;
}

void EncodeArc(const ArcPiece (&pieces)[2], int count, const DrawingEntityRecord& record) {
  for (int i = 0; i < count; ++i) {
    if (i > 0) Append(",");
    AppendVector("12", pieces[i].dx, pieces[i].dy);
    Append(",");
    AppendNumber(pieces[i].bulge);
    Append(")");
    byteCount += 4;
  }
  penX = record.endX;
  penY = record.endY;
}

// A full circle as a fractional arc: start offset 0, end offset 0, radius high byte 0, the
// radius, and the octant byte 000 (counter-clockwise from octant 0 all the way round).
void EncodeCircle(const DrawingEntityRecord& record) {
  std::int16_t radius = 0;
  TruncateToWhole(record.radius, radius);  // the capture keeps only radii that fit the box
  Append("11,(0,0,0,");
  AppendNumber(radius);
  Append(",000)");
  byteCount += 6;
  penX = record.startX;
  penY = record.startY;
}

// Once for each character of the text that the font does not draw, at its first place.
void NoteMissingGlyph(const DrawingEntityRecord& record, std::int32_t line, const char* at) {
  const int code = static_cast<unsigned char>(*at);
  for (const char* c = record.text; c != at; ++c) {
    if (*c == *at) return;
  }
  LeftOutEntry entry = StartLeftOut("TEXT", line, LeftOutReason::kNoGlyph);
  SetLeftOutPoint(entry, record.startX, record.startY);
  entry.cell = record.shapeNumber;
  if (code >= 33 && code <= 126) {
    std::snprintf(entry.detail, sizeof entry.detail, "'%c'", static_cast<char>(code));
  } else {
    std::snprintf(entry.detail, sizeof entry.detail, "code %d", code);
  }
  NoteLeftOut(entry);
}

// Each glyph starts with the pen down and leaves it where the next character begins; the
// pen goes down again after every glyph in place of the glyph's own final 0.
void EncodeText(const DrawingEntityRecord& record, std::int32_t line) {
  Append("5,4,");
  AppendNumber(record.textHeight);
  Append(",3,6,");
  byteCount += 5;
  for (const char* c = record.text; *c != '\0'; ++c) {
    const int code = static_cast<unsigned char>(*c);
    AppendChars(LookUpGlyph(code), GlyphTextLength(code));
    Append("1,");
    byteCount += GlyphByteCount(code);
    if (GlyphTextLength(code) == 0) NoteMissingGlyph(record, line, c);
  }
  Append("6,3,");
  AppendNumber(record.textHeight);
  Append(",4,6");
  byteCount += 5;
  penX = record.startX;
  penY = record.startY;
}

void NoteByteLimit(int n) {
  LeftOutEntry entry = StartLeftOut("shape", 0, LeftOutReason::kByteLimit);
  entry.cell = static_cast<std::int16_t>(n);
  NoteLeftOut(entry);
}

void ShowPastByteLimit(int n) {
  NoteByteLimit(n);
  static MessageText message;
  FormatMessage(message, "Number of bytes %d for shape %d exceeds limit!\n",
                static_cast<int>(byteCount), n);
  AppendMessage(message, "Exiting Program");
  ShowMessageText(message, platform::kMessageOk);
}

// False when the run is to stop: the user answered Yes, or the shape is past the limit.
bool CheckByteLimit(int n) {
  if (byteCount > kShapeByteWarning) {
    static MessageText message;
    FormatMessage(message,
                  "Warning - Number of bytes %d for shape number %d approaching limit of 2000 "
                  "bytes!\n",
                  static_cast<int>(byteCount), n);
    AppendMessage(message, "Program will automatically stop execution once the limit is reached\n");
    AppendMessage(message, "Reply YES to quit the program now");
    if (ShowMessageText(message, platform::kMessageYesNoWarning) == platform::kAnswerYes) {
      NoteByteLimit(n);
      return false;
    }
  }
  if (byteCount > kShapeByteStop) {
    ShowPastByteLimit(n);
    return false;
  }
  return true;
}

void ShapeName(int n, char (&name)[32]) {
  const char* given = Entities().shapeNames[n];
  if (given[0] == '\0') {
    std::memcpy(name, "SHAPE", 5);
    const std::to_chars_result result = std::to_chars(name + 5, name + sizeof name - 1, n);
    *result.ptr = '\0';
    return;
  }
  // A control character (a lone CR from the drawing's text) would end the header line in
  // the middle of the name and break the file: it becomes an underscore.
  int i = 0;
  for (; given[i] != '\0' && i < kMaxTextLength; ++i) {
    const char c = given[i];
    const bool control = static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    name[i] = control ? '_' : (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  name[i] = '\0';
}

// The scale codes that give the drawing's p drawing units for q shape units: "3,p," divides,
// "4,q," multiplies; a part of 1 needs no code.
void AppendScale(const ShapeScale& scale) {
  if (scale.drawingUnits != 1) {
    Append("3,");
    AppendNumber(scale.drawingUnits);
    Append(",");
    byteCount += 2;
  }
  if (scale.shapeUnits != 1) {
    Append("4,");
    AppendNumber(scale.shapeUnits);
    Append(",");
    byteCount += 2;
  }
}

ShapeScale ScaleOf(int n) {
  const ShapeScale& recorded = Entities().shapeScales[n];
  if (recorded.drawingUnits != 0) return recorded;
  return fontRun ? ShapeScale{1, 1} : ShapeScale{kShapeScale, 1};
}

// The furthest right the record draws, in whole units.
long RightOf(const DrawingEntityRecord& record) {
  long right = record.startX > record.endX ? record.startX : record.endX;
  double reach = right;
  if (record.kind == kKindCircle) reach = record.centreX + record.radius;
  if (record.kind == kKindText) reach = record.startX;
  if (record.kind == kKindArc) {
    // Where the counter-clockwise arc passes angle 0 it reaches its circle's right.
    const bool wraps =
        record.endAngle < record.startAngle || record.startAngle == 0 || record.endAngle >= 360;
    if (wraps) reach = record.centreX + record.radius;
  }
  std::int16_t whole = 0;
  if (RoundToWhole(reach, whole) && whole > right) right = whole;
  return right;
}

// Pen-up moves to the point, each within a vector's byte; "2,8,(dx,dy)" joined by commas.
void AppendPenUpTo(std::int32_t x, std::int32_t y) {
  bool firstMove = true;
  while (x != penX || y != penY) {
    const std::int32_t dx = std::clamp<std::int32_t>(x - penX, -127, 127);
    const std::int32_t dy = std::clamp<std::int32_t>(y - penY, -127, 127);
    if (!firstMove) Append(",");
    AppendVector("2,8", dx, dy);
    Append(")");
    byteCount += 4;
    penX += dx;
    penY += dy;
    firstMove = false;
  }
}

}  // namespace

void StartEncoderRun(bool font) {
  keyCursor = 0;
  fontRun = font;
}

EncodeResult EncodeShape(int n, EncodedShape& shape) {
  const EntityTable& table = Entities();
  const CellCorner corner = CellCornerOf(n);
  std::int32_t originX = corner.x;
  // A glyph stands on the font sheet's baseline.
  std::int32_t originY = corner.y + (fontRun ? kFontBaseline : 0);
  if (table.shapeOriginX[n] != kNoOrigin) originX = table.shapeOriginX[n];
  if (table.shapeOriginY[n] != kNoOrigin) originY = table.shapeOriginY[n];
  ShapeName(n, shape.name);
  const bool advancePoint = table.shapeAdvanceX[n] != kNoOrigin;
  if (table.shapeEntityCount[n] == 0 && !advancePoint) return EncodeResult::kEmpty;

  specLength = 0;
  byteCount = 0;
  penX = originX;
  penY = originY;
  long rightX = originX;
  const ShapeScale scale = ScaleOf(n);
  bool first = true;
  for (int position = 1; position <= table.shapeEntityCount[n]; ++position) {
    if (!CheckByteLimit(n)) return EncodeResult::kStopped;
    // The keys jump about the table as the drawing's entities do: fetching a few records
    // ahead keeps the walk from waiting on memory at every record.
    if (keyCursor + kRecordsAhead < table.total) {
      PrefetchRecord(table.records[table.keys[keyCursor + kRecordsAhead] % kKeyShapeFactor]);
    }
    const int recordIndex = table.keys[keyCursor++] % kKeyShapeFactor;
    const DrawingEntityRecord& record = table.records[recordIndex];
    ArcPiece pieces[2];
    const int arcPieces = record.kind == kKindArc ? PlanArc(record, pieces) : 0;
    const bool drawsSomething = record.kind == kKindLine || record.kind == kKindCircle ||
                                record.kind == kKindText || arcPieces > 0;
    if (!drawsSomething) continue;

    if (first) {
      AppendScale(scale);
      first = false;
    } else {
      Append(",");
    }
    MovePenTo(record.startX, record.startY);
    if (fontRun) {
      const long right = RightOf(record);
      if (right > rightX) rightX = right;
    }
    switch (record.kind) {
      case kKindLine:
        EncodeLine(record);
        break;
      case kKindArc:
        EncodeArc(pieces, arcPieces, record);
        break;
      case kKindCircle:
        EncodeCircle(record);
        break;
      case kKindText:
        EncodeText(record, table.lines[recordIndex]);
        break;
      default:
        break;
    }
  }
  // Where the next character starts: the advance POINT, or for a glyph its right extent
  // and the font's spacing on from it.
  const bool advance = advancePoint || fontRun;
  const std::int32_t advanceX =
      advancePoint ? table.shapeAdvanceX[n]
                   : static_cast<std::int32_t>(rightX) + table.fontSettings.spacing;
  const std::int32_t advanceY = advancePoint ? table.shapeAdvanceY[n] : originY;
  if (advance && (advanceX != penX || advanceY != penY)) {
    if (first) {
      AppendScale(scale);
    } else {
      Append(",");
    }
    AppendPenUpTo(advanceX, advanceY);
    first = false;
  }
  if (first) return EncodeResult::kEmpty;  // nothing in the shape draws anything
  Append(",0");
  byteCount += 1;
  // The check before each entity cannot see what the last one adds: a text of 30
  // characters adds hundreds of bytes. A shape past the limit is never written.
  if (byteCount > kShapeByteLimit) {
    ShowPastByteLimit(n);
    return EncodeResult::kStopped;
  }
  specText[specLength] = '\0';
  shape.byteCount = byteCount;
  shape.text = specText;
  shape.length = specLength;
  return EncodeResult::kEncoded;
}

}  // namespace korvex
