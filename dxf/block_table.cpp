#include "dxf/block_table.h"

#include <cstdio>
#include <cstring>

namespace korvex {
namespace {

BlockTable table;

// The entity went nowhere: counted against the block it belongs to.
void CountNotKept() {
  if (table.blockCount > 0) ++table.blocks[table.blockCount - 1].entitiesNotKept;
}

// Room for `count` more in a pool of `capacity` that holds `used`.
bool Room(int used, int count, int capacity) {
  return count >= 0 && count <= capacity - used;
}

}  // namespace

const BlockTable& Blocks() {
  return table;
}

void ResetBlocks() {
  table.blockCount = 0;
  table.blocksNotKept = 0;
  table.entityCount = 0;
  table.vertexCount = 0;
  table.pointCount = 0;
  table.numberCount = 0;
  table.insertCount = 0;
}

bool StartBlock(const char* name, PlanePoint base) {
  if (table.blockCount == kMaxBlocks) {
    ++table.blocksNotKept;
    return false;
  }
  Block& block = table.blocks[table.blockCount++];
  std::snprintf(block.name, sizeof block.name, "%s", name);
  block.base = base;
  block.firstEntity = table.entityCount;
  block.entityCount = 0;
  block.entitiesNotKept = 0;
  return true;
}

BlockEntity* AddBlockEntity(BlockEntityKind kind, const char* kindName) {
  if (table.blockCount == 0) return nullptr;
  if (table.entityCount == kMaxBlockEntities) {
    CountNotKept();
    return nullptr;
  }
  BlockEntity& entity = table.entities[table.entityCount++];
  ++table.blocks[table.blockCount - 1].entityCount;
  std::memset(&entity, 0, sizeof entity);
  entity.kind = kind;
  std::snprintf(entity.kindName, sizeof entity.kindName, "%s", kindName);
  return &entity;
}

void DropLastBlockEntity() {
  --table.entityCount;
  --table.blocks[table.blockCount - 1].entityCount;
  CountNotKept();
}

bool KeepPolylineVertices(BlockEntity& entity, const PolylineVertex* vertices, int count) {
  if (!Room(table.vertexCount, count, kMaxBlockVertices)) {
    DropLastBlockEntity();
    return false;
  }
  PolylineVertex* kept = table.vertices + table.vertexCount;
  for (int i = 0; i < count; ++i) kept[i] = vertices[i];
  table.vertexCount += count;
  entity.polyline.vertices = kept;
  entity.polyline.count = count;
  return true;
}

bool KeepSplinePoints(BlockEntity& entity, const SplineGroups& spline) {
  const int points = spline.controlCount + spline.fitCount;
  const int numbers = spline.knotCount + spline.weightCount;
  if (!Room(table.pointCount, points, kMaxBlockPoints) ||
      !Room(table.numberCount, numbers, kMaxBlockNumbers)) {
    DropLastBlockEntity();
    return false;
  }
  entity.spline = spline;
  PlanePoint* controls = table.points + table.pointCount;
  PlanePoint* fits = controls + spline.controlCount;
  double* knots = table.numbers + table.numberCount;
  double* weights = knots + spline.knotCount;
  for (int i = 0; i < spline.controlCount; ++i) controls[i] = spline.controls[i];
  for (int i = 0; i < spline.fitCount; ++i) fits[i] = spline.fits[i];
  for (int i = 0; i < spline.knotCount; ++i) knots[i] = spline.knots[i];
  for (int i = 0; i < spline.weightCount; ++i) weights[i] = spline.weights[i];
  table.pointCount += points;
  table.numberCount += numbers;
  entity.spline.controls = controls;
  entity.spline.fits = fits;
  entity.spline.knots = knots;
  entity.spline.weights = weights;
  return true;
}

bool KeepInsert(BlockEntity& entity, const InsertGroups& insert) {
  if (table.insertCount == kMaxBlockInserts) {
    DropLastBlockEntity();
    return false;
  }
  entity.insert = table.insertCount;
  table.inserts[table.insertCount++] = insert;
  return true;
}

int FindBlock(const char* name) {
  for (int i = 0; i < table.blockCount; ++i) {
    if (SameBlockName(table.blocks[i].name, name)) return i;
  }
  return -1;
}

bool SameBlockName(const char* a, const char* b) {
  const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    if (upper(*a) != upper(*b)) return false;
  }
  return *a == *b;
}

}  // namespace korvex
