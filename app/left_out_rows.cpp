#include "app/left_out_rows.h"

namespace korvex::shell {

std::vector<LeftOutRow> LeftOutRows(const LeftOutTable& table) {
  std::vector<LeftOutRow> rows;
  rows.reserve(static_cast<std::size_t>(table.kept));
  char reason[512];
  for (int i = 0; i < table.kept; ++i) {
    const LeftOutEntry& entry = table.entries[i];
    DescribeLeftOutReason(entry, reason, sizeof reason);
    // An entity placed from a block says which: "LINE of block PANEL > ARROW".
    std::string kind = entry.kind;
    if (entry.block[0] != '\0') kind += std::string(" of block ") + entry.block;
    rows.push_back({reason, entry.cell != 0 ? std::to_string(entry.cell) : std::string(), kind,
                    entry.line > 0 ? std::to_string(entry.line) : std::string()});
  }
  return rows;
}

std::string LeftOutStatus(const LeftOutTable& table) {
  if (table.total == 0) return {};
  std::string status =
      std::to_string(table.total) +
      (table.total == 1 ? " entity of the drawing was" : " entities of the drawing were") +
      " left out of the shapes or kept only in part: see the list";
  if (table.total > table.kept) {
    status += " (the first " + std::to_string(table.kept) + ")";
  }
  return status;
}

}  // namespace korvex::shell
