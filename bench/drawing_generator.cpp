#include "drawing_generator.h"

#include <cmath>
#include <cstdio>
#include <random>

namespace korvex::bench {
namespace {

class DxfWriter {
 public:
  explicit DxfWriter(std::string& out) : out_(out) {}

  void Group(int code, const char* value) {
    char line[64];
    std::snprintf(line, sizeof line, "%3d\r\n", code);
    out_ += line;
    out_ += value;
    out_ += "\r\n";
  }
  void Group(int code, double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.6f", value);
    Group(code, text);
  }
  void Group(int code, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%6d", value);
    Group(code, text);
  }
  // Entity name, handle, owner, subclass and layer, as R2000 writes them.
  void Start(const char* name, const char* layer, const char* subclass) {
    Group(0, name);
    char handle[16];
    std::snprintf(handle, sizeof handle, "%X", nextHandle_++);
    Group(5, handle);
    Group(330, "1F");
    Group(100, "AcDbEntity");
    Group(8, layer);
    Group(100, subclass);
  }

 private:
  std::string& out_;
  unsigned nextHandle_ = 0x100;
};

// Estimated bytes of one shape: the scale, the first pen move and the end, and what each
// kind of entity adds; the budget stays below the warning level of 1,800 bytes.
constexpr int kShapeByteBudget = 1700;
constexpr int kLineBytes = 3;
constexpr int kCostliestEntityBytes = 60;  // a short text

struct CellOrigin {
  double x;
  double y;
};

CellOrigin CellCorner(int n) {
  return {((n - 1) % 16) * 125.0, (15 - (n - 1) / 16) * 125.0};
}

void WriteHeader(std::string& out) {
  DxfWriter dxf(out);
  dxf.Group(0, "SECTION");
  dxf.Group(2, "HEADER");
  dxf.Group(9, "$ACADVER");
  dxf.Group(1, "AC1015");
  dxf.Group(9, "$INSUNITS");
  dxf.Group(70, 0);
  dxf.Group(0, "ENDSEC");
  dxf.Group(0, "SECTION");
  dxf.Group(2, "TABLES");
  dxf.Group(0, "TABLE");
  dxf.Group(2, "LAYER");
  dxf.Group(70, 2);
  for (const char* layer : {"0", "SHAPES"}) {
    dxf.Group(0, "LAYER");
    dxf.Group(100, "AcDbSymbolTableRecord");
    dxf.Group(100, "AcDbLayerTableRecord");
    dxf.Group(2, layer);
    dxf.Group(70, 0);
    dxf.Group(62, 7);
    dxf.Group(6, "CONTINUOUS");
  }
  dxf.Group(0, "ENDTAB");
  dxf.Group(0, "ENDSEC");
  dxf.Group(0, "SECTION");
  dxf.Group(2, "ENTITIES");
}

void WriteText(DxfWriter& dxf, double x, double y, double height, const char* value) {
  dxf.Start("TEXT", "SHAPES", "AcDbText");
  dxf.Group(10, x);
  dxf.Group(20, y);
  dxf.Group(30, 0.0);
  dxf.Group(40, height);
  dxf.Group(1, value);
  dxf.Group(100, "AcDbText");
}

}  // namespace

GeneratedDrawing GenerateDrawing(int records, unsigned seed) {
  if (records > kMaxDrawingRecords) records = kMaxDrawingRecords;
  GeneratedDrawing drawing{{}, 0, 0};
  drawing.text.reserve(static_cast<std::size_t>(records) * 260 + 4096);
  WriteHeader(drawing.text);
  DxfWriter dxf(drawing.text);
  std::mt19937 random(seed);

  WriteText(dxf, 1878, 112, 6, "KORVEX SHAPE SHEET");
  WriteText(dxf, 1878, 103, 6, "TEMPLATE REV 1");
  for (int n = 1; n <= 255; ++n) {  // a name and an origin point for every cell
    const CellOrigin corner = CellCorner(n);
    char name[16];
    std::snprintf(name, sizeof name, "SYM%d", n);
    WriteText(dxf, corner.x + 3, corner.y + 105, 8, name);
    dxf.Start("POINT", "SHAPES", "AcDbPoint");
    dxf.Group(10, corner.x + 50);
    dxf.Group(20, corner.y + 50);
    dxf.Group(30, 0.0);
    drawing.entities += 2;
  }

  // Each cell gets its share of the records, and a shape may hold only so many bytes: every
  // cell keeps an estimate of its bytes and draws connected strokes (3 bytes a record) when
  // a costlier entity would not leave room for the rest.
  const int perCell = (records + 254) / 255;
  int cellBytes[256] = {};
  int cellRecords[256] = {};
  int penX[256];
  int penY[256];
  for (int n = 1; n <= 255; ++n) {
    penX[n] = 50;
    penY[n] = 50;
  }
  std::uniform_int_distribution<int> point(20, 80);
  int cell = 0;
  while (drawing.records < records) {
    cell = cell % 255 + 1;
    const CellOrigin c = CellCorner(cell);
    const int left = records - drawing.records;
    const int roomAfter =
        kShapeByteBudget - cellBytes[cell] - kLineBytes * (perCell - cellRecords[cell] - 1);
    int kind = static_cast<int>(random() % 100);
    if (left < 4 || roomAfter < kCostliestEntityBytes) kind = 0;
    if (kind < 80) {  // strokes are what shapes are mostly made of
      int x = point(random);
      const int y = point(random);
      if (x == penX[cell] && y == penY[cell]) x = x == 80 ? 79 : x + 1;  // never zero-length
      dxf.Start("LINE", "SHAPES", "AcDbLine");
      dxf.Group(10, c.x + penX[cell]);
      dxf.Group(20, c.y + penY[cell]);
      dxf.Group(30, 0.0);
      dxf.Group(11, c.x + x);
      dxf.Group(21, c.y + y);
      dxf.Group(31, 0.0);
      penX[cell] = x;
      penY[cell] = y;
      cellBytes[cell] += kLineBytes;
      cellRecords[cell] += 1;
      drawing.records += 1;
    } else if (kind < 88) {
      const int radius = 10 + static_cast<int>(random() % 30);
      const int startAngle = static_cast<int>(random() % 4) * 90;
      dxf.Start("ARC", "SHAPES", "AcDbCircle");
      dxf.Group(10, c.x + 50);
      dxf.Group(20, c.y + 50);
      dxf.Group(30, 0.0);
      dxf.Group(40, static_cast<double>(radius));
      dxf.Group(100, "AcDbArc");
      dxf.Group(50, static_cast<double>(startAngle));
      const int endAngle = (startAngle + 90 * (1 + static_cast<int>(random() % 3))) % 360;
      dxf.Group(51, static_cast<double>(endAngle));
      const double a = endAngle * 3.141592653589793 / 180;
      penX[cell] = static_cast<int>(std::lround(50 + radius * std::cos(a)));
      penY[cell] = static_cast<int>(std::lround(50 + radius * std::sin(a)));
      cellBytes[cell] += 13;
      cellRecords[cell] += 1;
      drawing.records += 1;
    } else if (kind < 92) {
      const int radius = 5 + static_cast<int>(random() % 40);
      dxf.Start("CIRCLE", "SHAPES", "AcDbCircle");
      dxf.Group(10, c.x + 50.0);
      dxf.Group(20, c.y + 50.0);
      dxf.Group(30, 0.0);
      dxf.Group(40, static_cast<double>(radius));
      penX[cell] = 50 + radius;
      penY[cell] = 50;
      cellBytes[cell] += 11;
      cellRecords[cell] += 1;
      drawing.records += 1;
    } else if (kind < 99) {  // a closed square with one bulged side: four records
      dxf.Start("LWPOLYLINE", "SHAPES", "AcDbPolyline");
      dxf.Group(90, 4);
      dxf.Group(70, 1);
      dxf.Group(43, 0.0);
      const int size = 20 + static_cast<int>(random() % 30);
      const int corners[4][2] = {
          {30, 30}, {30 + size, 30}, {30 + size, 30 + size}, {30, 30 + size}};
      for (int v = 0; v < 4; ++v) {
        dxf.Group(10, c.x + corners[v][0]);
        dxf.Group(20, c.y + corners[v][1]);
        if (v == 1) dxf.Group(42, 0.4);
      }
      penX[cell] = 30;
      penY[cell] = 30;
      cellBytes[cell] += 18;
      cellRecords[cell] += 4;
      drawing.records += 4;
    } else {
      const int y = 10 + static_cast<int>(random() % 60);
      WriteText(dxf, c.x + 10, c.y + y, 8, "R1");
      penX[cell] = 10;
      penY[cell] = y;
      cellBytes[cell] += kCostliestEntityBytes;
      cellRecords[cell] += 1;
      drawing.records += 1;
    }
    drawing.entities += 1;
  }
  dxf.Group(0, "ENDSEC");
  dxf.Group(0, "EOF");
  return drawing;
}

}  // namespace korvex::bench
