#include "conversion/conversion_run.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <system_error>

#include "dxf/dxf_reader.h"
#include "platform/message_text.h"
#include "platform/pending_file.h"
#include "platform/platform.h"
#include "shape_output/shp_writer.h"
#include "sheet/cell_grid.h"
#include "sheet/entity_table.h"
#include "sheet/left_out_table.h"

namespace korvex {
namespace {

// An existing target must be a file we may replace; opening it for appending tells so
// without changing a byte of it. False, with the reason, when it is not.
bool TargetWritable(const std::filesystem::path& outputPath, std::string& reason) {
  std::error_code error;
  const std::filesystem::file_type type = std::filesystem::status(outputPath, error).type();
  if (type == std::filesystem::file_type::not_found) return true;
  if (type == std::filesystem::file_type::directory) {
    reason = "It is a folder, not a file.";
    return false;
  }
  if (type != std::filesystem::file_type::regular) {
    reason = "It is a device or a pipe, not a file.";
    return false;
  }
  std::FILE* probe = platform::OpenFile(outputPath, "ab");
  if (probe == nullptr) {
    reason = std::generic_category().message(errno);
    return false;
  }
  std::fclose(probe);
  return true;
}

}  // namespace

void ResetConversionTables(bool explain) {
  BuildCellTable();
  ResetShapeTables();
  ClearRecords();
  ResetLeftOut(explain);
}

Outcome ConvertDrawing(const std::filesystem::path& inputPath,
                       const std::filesystem::path& outputPath, bool explain) {
  ResetConversionTables(explain);
  const Outcome read = ReadDrawing(inputPath);
  if (read == Outcome::kStopped) return read;
  if (read != Outcome::kDone) {
    ShowPathMessage("Error processing dxf file %s", inputPath, platform::kMessageOk);
    return Outcome::kRefused;
  }
  if (platform::SameFile(inputPath, outputPath)) {
    ShowPathMessage("Cannot write the SHP file over its own drawing %s", outputPath,
                    platform::kMessageOk);
    return Outcome::kRefused;
  }
  std::string reason;
  if (!TargetWritable(outputPath, reason)) {
    ShowPathMessage("Error creating SHP file %s", outputPath, platform::kMessageOk, reason.c_str());
    return Outcome::kRefused;
  }
  std::filesystem::path pendingPath;
  std::error_code error;
  std::FILE* pending = platform::OpenPendingFile(outputPath, pendingPath, error);
  if (pending == nullptr) {
    ShowPathMessage("Error creating SHP file %s", outputPath, platform::kMessageOk,
                    error.message().c_str());
    return Outcome::kRefused;
  }
  errno = 0;
  const Outcome written = WriteShapes(pending);
  const bool writeFailed = std::ferror(pending) != 0;
  const int writeErrno = errno != 0 ? errno : EIO;
  if (written != Outcome::kDone) {
    platform::DiscardPendingFile(pending, pendingPath);
    // A stop and a missing program folder have been reported by the writer in its own words.
    if (written == Outcome::kRefused && writeFailed) {
      ShowPathMessage("Error writing SHP file %s", outputPath, platform::kMessageOk,
                      std::generic_category().message(writeErrno).c_str());
    }
    return written;
  }
  if (!platform::CommitPendingFile(pending, pendingPath, outputPath, error)) {
    ShowPathMessage("Error writing SHP file %s", outputPath, platform::kMessageOk,
                    error.message().c_str());
    return Outcome::kRefused;
  }
  return Outcome::kDone;
}

}  // namespace korvex
