#include "conversion/conversion_run.h"

#include <cstdio>

#include "dxf/dxf_reader.h"
#include "platform/message_text.h"
#include "platform/pending_file.h"
#include "platform/platform.h"
#include "shape_output/shp_writer.h"
#include "sheet/cell_grid.h"
#include "sheet/entity_table.h"

namespace korvex {
namespace {

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
}

Outcome ConvertDrawing(const std::filesystem::path& inputPath,
                       const std::filesystem::path& outputPath) {
  ResetConversionTables();
  const Outcome read = ReadDrawing(inputPath);
  if (read == Outcome::kStopped) return read;
  if (read != Outcome::kDone) {
    ShowPathMessage("Error processing dxf file %s", inputPath, platform::kMessageOk);
    return Outcome::kRefused;
  }
  if (SameFile(inputPath, outputPath)) {
    ShowPathMessage("Cannot write the SHP file over its own drawing %s", outputPath,
                    platform::kMessageOk);
    return Outcome::kRefused;
  }
  std::filesystem::path pendingPath;
  std::FILE* pending = nullptr;
  if (!TargetWritable(outputPath) ||
      (pending = platform::OpenPendingFile(outputPath, pendingPath)) == nullptr) {
    ShowPathMessage("Error creating SHP file %s", outputPath, platform::kMessageOk);
    return Outcome::kRefused;
  }
  const Outcome written = WriteShapes(pending);
  const bool writeFailed = std::ferror(pending) != 0;
  if (written != Outcome::kDone) {
    platform::DiscardPendingFile(pending, pendingPath);
    // A stop and a missing program folder have been reported by the writer in its own words.
    if (written == Outcome::kRefused && writeFailed) {
      ShowPathMessage("Error writing SHP file %s", outputPath, platform::kMessageOk);
    }
    return written;
  }
  if (!platform::CommitPendingFile(pending, pendingPath, outputPath)) {
    ShowPathMessage("Error writing SHP file %s", outputPath, platform::kMessageOk);
    return Outcome::kRefused;
  }
  return Outcome::kDone;
}

}  // namespace korvex
