#include "sheet/sheet_drawing.h"

#include <cmath>
#include <cstring>

namespace korvex {
namespace {

// Template lines are short; a longer one is copied in pieces, none of which is taken for a
// stop word.
constexpr int kTemplateLineCapacity = 256;
constexpr int kNumberCapacity = 48;

std::FILE* templateIn = nullptr;
std::FILE* drawingOut = nullptr;
const char* lineEnd = "\r\n";
// The "  0" before the stop word and the stop word itself: they follow the new entities.
char heldLine[kTemplateLineCapacity];
char stopLine[kTemplateLineCapacity];

// The line without its line end is exactly the word.
bool LineIs(const char* line, const char* word) {
  std::size_t length = std::strlen(line);
  while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r')) --length;
  return length == std::strlen(word) && std::memcmp(line, word, length) == 0;
}

bool IsStopWord(const char* line) {
  return LineIs(line, "VIEWPORT") || LineIs(line, "DESCRIPTION") || LineIs(line, "ENDSEC");
}

void Put(const char* text) {
  std::fputs(text, drawingOut);
}

void PutLine(const char* text) {
  Put(text);
  Put(lineEnd);
}

void StartEntity(const char* kind, const char* layer, int colour) {
  SheetGroup(0, kind);
  SheetGroup(8, layer);
  if (colour != 0) SheetIntegerGroup(62, colour);
}

void SheetPointGroups(int code, double x, double y) {
  SheetNumberGroup(code, x);
  SheetNumberGroup(code + 10, y);
  SheetNumberGroup(code + 20, 0);
}

}  // namespace

bool StartSheetDrawing(std::FILE* templateFile, std::FILE* output) {
  templateIn = templateFile;
  drawingOut = output;
  heldLine[0] = '\0';
  stopLine[0] = '\0';
  char line[kTemplateLineCapacity];
  bool first = true;
  bool inEntities = false;
  bool wholeLine = true;  // the piece read starts a line of the file
  while (std::fgets(line, sizeof line, templateIn) != nullptr) {
    const std::size_t length = std::strlen(line);
    const bool ends = length > 0 && line[length - 1] == '\n';
    if (first && ends) lineEnd = length > 1 && line[length - 2] == '\r' ? "\r\n" : "\n";
    first = false;
    const bool complete = wholeLine && ends;
    wholeLine = ends;
    if (inEntities && complete && IsStopWord(line)) {
      std::memcpy(stopLine, line, length + 1);
      return true;
    }
    Put(heldLine);
    heldLine[0] = '\0';
    if (inEntities && complete && LineIs(line, "  0")) {
      std::memcpy(heldLine, line, length + 1);
    } else {
      Put(line);
    }
    if (complete && LineIs(line, "ENTITIES")) inEntities = true;
  }
  return false;
}

bool FinishSheetDrawing() {
  Put(heldLine);
  Put(stopLine);
  char block[4096];
  std::size_t read = 0;
  while ((read = std::fread(block, 1, sizeof block, templateIn)) > 0) {
    std::fwrite(block, 1, read, drawingOut);
  }
  return std::ferror(templateIn) == 0 && std::ferror(drawingOut) == 0;
}

void SheetGroup(int code, const char* value) {
  char codeText[8];
  std::snprintf(codeText, sizeof codeText, "%3d", code);
  PutLine(codeText);
  PutLine(value);
}

void SheetNumberGroup(int code, double value) {
  char text[kNumberCapacity];
  const double whole = std::round(value);
  if (!std::isfinite(value) || std::fabs(value) > 1e15) {
    std::snprintf(text, sizeof text, "0.0");
  } else if (value == whole) {
    std::snprintf(text, sizeof text, "%.0f.0", whole == 0 ? 0.0 : whole);
  } else {
    std::snprintf(text, sizeof text, "%.10f", value);
    std::size_t length = std::strlen(text);
    while (text[length - 1] == '0') text[--length] = '\0';
    if (text[length - 1] == '.') text[length++] = '0';
    text[length] = '\0';
    if (std::strcmp(text, "-0.0") == 0) std::snprintf(text, sizeof text, "0.0");
  }
  SheetGroup(code, text);
}

void SheetIntegerGroup(int code, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%6d", value);
  SheetGroup(code, text);
}

void SheetLine(const char* layer, double x1, double y1, double x2, double y2, int colour) {
  StartEntity("LINE", layer, colour);
  SheetPointGroups(10, x1, y1);
  SheetPointGroups(11, x2, y2);
}

void SheetCircle(const char* layer, double cx, double cy, double radius) {
  StartEntity("CIRCLE", layer, 0);
  SheetPointGroups(10, cx, cy);
  SheetNumberGroup(40, radius);
}

void SheetArc(const char* layer, double cx, double cy, double radius, double startDegrees,
              double endDegrees) {
  StartEntity("ARC", layer, 0);
  SheetPointGroups(10, cx, cy);
  SheetNumberGroup(40, radius);
  SheetNumberGroup(50, startDegrees);
  SheetNumberGroup(51, endDegrees);
}

void SheetText(const char* layer, double x, double y, double height, const char* value,
               int colour) {
  StartEntity("TEXT", layer, colour);
  SheetPointGroups(10, x, y);
  SheetNumberGroup(40, height);
  SheetGroup(1, value);
}

void SheetPoint(const char* layer, double x, double y, int colour) {
  StartEntity("POINT", layer, colour);
  SheetPointGroups(10, x, y);
}

void StartSheetPolyline(const char* layer, bool closed) {
  StartEntity("POLYLINE", layer, 0);
  SheetIntegerGroup(66, 1);
  SheetPointGroups(10, 0, 0);
  SheetIntegerGroup(70, closed ? 1 : 0);
}

void SheetVertex(const char* layer, double x, double y, double bulge) {
  StartEntity("VERTEX", layer, 0);
  SheetPointGroups(10, x, y);
  if (bulge != 0) SheetNumberGroup(42, bulge);
}

void FinishSheetPolyline(const char* layer) {
  StartEntity("SEQEND", layer, 0);
}

}  // namespace korvex
