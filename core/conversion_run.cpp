#include "core/conversion_run.h"

#include <cstdio>
#include <string>

#include "core/cell_grid.h"
#include "core/entity_table.h"
#include "core/message_text.h"
#include "dxf/dxf_reader.h"
#include "platform/pending_file.h"
#include "platform/platform.h"
#include "shape/shp_writer.h"

namespace korvex {
namespace {

std::FILE* pendingOutput = nullptr;
std::filesystem::path pendingPath;

// Also run when the program ends in the middle of writing (a limit, a missing glyph file).
void DiscardPendingOutput() {
  platform::DiscardPendingFile(pendingOutput, pendingPath);
  pendingOutput = nullptr;
  pendingPath.clear();
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

// An existing target must be a file we may replace; opening it for appending tells so
// without changing a byte of it.
bool TargetWritable(const std::filesystem::path& outputPath) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(outputPath, error);
  if (status.type() == std::filesystem::file_type::not_found) return true;
  if (status.type() != std::filesystem::file_type::regular) return false;
  std::FILE* probe = platform::OpenFile(outputPath, "ab");
  if (probe == nullptr) return false;
  std::fclose(probe);
  return true;
}

}  // namespace

void ResetConversionTables() {
  BuildCellTable();
  ResetShapeTables();
  ClearRecords();
  entityTotal = 0;
}

bool ConvertDrawing(const std::filesystem::path& inputPath,
                    const std::filesystem::path& outputPath) {
  ResetConversionTables();
  if (!ReadDrawing(inputPath)) {
    ShowPathMessage("Error processing dxf file %s", inputPath, platform::kMessageOk);
    return false;
  }
  if (SameFile(inputPath, outputPath)) {
    ShowPathMessage("Cannot write the SHP file over its own drawing %s", outputPath,
                    platform::kMessageOk);
    return false;
  }
  if (!TargetWritable(outputPath) ||
      (pendingOutput = platform::OpenPendingFile(outputPath, pendingPath)) == nullptr) {
    ShowPathMessage("Error creating SHP file %s", outputPath, platform::kMessageOk);
    return false;
  }
  platform::SetEndProcessHook(DiscardPendingOutput);
  const bool written = WriteShapes(pendingOutput);
  const bool writeFailed = std::ferror(pendingOutput) != 0;
  platform::SetEndProcessHook(nullptr);
  const bool finished =
      written && platform::CommitPendingFile(pendingOutput, pendingPath, outputPath);
  if (!written) platform::DiscardPendingFile(pendingOutput, pendingPath);
  pendingOutput = nullptr;
  pendingPath.clear();
  if (!finished) {
    // A missing program folder has been reported by the writer in its own words.
    if (written || writeFailed) {
      ShowPathMessage("Error writing SHP file %s", outputPath, platform::kMessageOk);
    }
    return false;
  }
  return true;
}

}  // namespace korvex
