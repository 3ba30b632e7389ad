// The rules of the main window's list of what a conversion left out: one row per entity
// with its reason, cell, kind and line, and the status bar's count. Plain text, so that
// they are tested without a display.
#pragma once

#include <string>
#include <vector>

#include "sheet/left_out_table.h"

namespace korvex::shell {

struct LeftOutRow {
  std::string reason;
  std::string cell;  // empty when the entity lies in no cell
  std::string kind;
  std::string line;  // empty when no line of the file is meant
};

// The column captions, in the order of the row's fields.
inline constexpr const char* kLeftOutColumns[] = {"Left out because", "Cell", "Kind", "Line"};

std::vector<LeftOutRow> LeftOutRows(const LeftOutTable& table);

// What the status bar says after a conversion: how many entities were left out, or nothing.
std::string LeftOutStatus(const LeftOutTable& table);

}  // namespace korvex::shell
