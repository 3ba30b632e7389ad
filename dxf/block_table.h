// The blocks of a drawing, read from its BLOCKS section before its entities, so that each
// INSERT can place a block's entities as if they were drawn there. A fixed table like the
// others, in one struct in static storage: the block section's reader fills it through the
// functions below; the INSERTs read it through Blocks(). What does not fit is counted, and
// every INSERT of a block that lost something says so; nothing is allocated.
#pragma once

#include <cstdint>

#include "dxf/curve_capture.h"
#include "dxf/fitted_curve_capture.h"
#include "sheet/entity_table.h"
#include "sheet/left_out_table.h"

namespace korvex {

inline constexpr int kMaxBlocks = 512;
// Entities of all blocks together, and what their polylines and splines hold.
inline constexpr int kMaxBlockEntities = 8192;
inline constexpr int kMaxBlockVertices = 16384;
inline constexpr int kMaxBlockPoints = 16384;   // spline control and fit points
inline constexpr int kMaxBlockNumbers = 32768;  // spline knots and weights
// Inserts inside blocks (each names its block).
inline constexpr int kMaxBlockInserts = 1024;
// DXF names hold at most 255 characters.
inline constexpr int kBlockNameCapacity = 256;
// Inserts within inserts: a block inserts blocks at most this deep below the drawing's own
// INSERT; a block that inserts itself stops there too.
inline constexpr int kMaxInsertDepth = 8;
// The entities all the drawing's INSERTs place together (MINSERT copies, nested ones): more
// than the entity table could take in any case.
inline constexpr int kMaxInsertedEntities = 200000;

// An INSERT's groups, in the drawing's units and degrees.
struct InsertGroups {
  char block[kBlockNameCapacity];
  PlanePoint point;
  double scaleX;
  double scaleY;
  double rotation;
  int columns;  // a MINSERT's copies; 1 for an INSERT
  int rows;
  double columnSpacing;
  double rowSpacing;
  bool fromBelow;   // extrusion 0, 0, -1: mirrored in the y axis
  bool otherPlane;  // any other extrusion: a shape cannot draw it
  bool onGrid;      // on the template's grid layer
};

enum class BlockEntityKind : std::uint8_t {
  kLine,
  kArc,
  kCircle,
  kPolyline,
  kEllipse,
  kSpline,
  kText,  // TEXT and one-line MTEXT
  kPoint,
  kInsert,
  kLeftOut,  // noted at every INSERT of the block: its reason and amount
};

struct BlockLine {
  PlanePoint start;
  PlanePoint end;
};

// An ARC, or a CIRCLE (whose angles are not looked at).
struct BlockArc {
  PlanePoint centre;
  double radius;
  double startAngle;  // degrees, counter-clockwise, a plane seen from below mirrored
  double endAngle;
};

struct BlockPolyline {
  const PolylineVertex* vertices;  // in the table's vertex pool
  int count;
  bool closed;
};

struct BlockText {
  PlanePoint point;
  double height;
  char text[kTextCapacity];
  bool cut;
};

// What the scan would leave out of the entity, noted at every INSERT of its block.
struct BlockLeftOut {
  LeftOutReason reason;
  double amount;
};

// One entity of a block, by its numbers as read (whole numbers taken as whole).
struct BlockEntity {
  BlockEntityKind kind;
  char kindName[kLeftOutKindCapacity];  // the DXF entity name, for the notes
  union {
    BlockLine line;
    BlockArc arc;
    BlockPolyline polyline;
    EllipseGroups ellipse;
    SplineGroups spline;  // its points in the table's pools
    BlockText text;
    PlanePoint point;
    int insert;  // index into the table's inserts
    BlockLeftOut leftOut;
  };
};

struct Block {
  char name[kBlockNameCapacity];
  PlanePoint base;
  int firstEntity;
  int entityCount;
  int entitiesNotKept;  // past the room of the table
};

struct BlockTable {
  Block blocks[kMaxBlocks];
  int blockCount;
  int blocksNotKept;
  BlockEntity entities[kMaxBlockEntities];
  int entityCount;
  PolylineVertex vertices[kMaxBlockVertices];
  int vertexCount;
  PlanePoint points[kMaxBlockPoints];
  int pointCount;
  double numbers[kMaxBlockNumbers];
  int numberCount;
  InsertGroups inserts[kMaxBlockInserts];
  int insertCount;
};

const BlockTable& Blocks();

// Empties the table: each drawing starts afresh.
void ResetBlocks();

// Starts a block; false, counting it, when the table holds kMaxBlocks already (its entities
// then go nowhere).
bool StartBlock(const char* name, PlanePoint base);

// The next entity of the block started last, its kind and name set, for the caller to fill;
// nullptr, counting it, when there is no room. The Keep functions copy the points an entity
// holds into the pools; false, counting the entity, when they do not fit.
BlockEntity* AddBlockEntity(BlockEntityKind kind, const char* kindName);
bool KeepPolylineVertices(BlockEntity& entity, const PolylineVertex* vertices, int count);
bool KeepSplinePoints(BlockEntity& entity, const SplineGroups& spline);
bool KeepInsert(BlockEntity& entity, const InsertGroups& insert);

// Takes back the entity added last, which could not be kept whole.
void DropLastBlockEntity();

// The block of that name; -1 when the drawing defines none (or it was not kept).
int FindBlock(const char* name);

// Block names are the same whatever the case of their ASCII letters, as in CAD programs.
bool SameBlockName(const char* a, const char* b);

}  // namespace korvex
