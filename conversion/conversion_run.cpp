#include "conversion/conversion_run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
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

namespace {

// The run of both conversions: a null fontName writes shapes.
Outcome ConvertRun(const std::filesystem::path& inputPath, const std::filesystem::path& outputPath,
                   bool explain, const char* fontName) {
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
  const Outcome written = WriteShapes(pending, fontName);
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

bool IsFontName(const char* name) {
  const std::size_t length = std::strlen(name);
  if (length == 0 || length > static_cast<std::size_t>(kMaxFontNameLength)) return false;
  for (std::size_t i = 0; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (c < 0x20 || c == 0x7F || c == ';') return false;
  }
  return name[0] != ' ' && name[length - 1] != ' ';
}

}  // namespace

Outcome ConvertDrawing(const std::filesystem::path& inputPath,
                       const std::filesystem::path& outputPath, bool explain) {
  return ConvertRun(inputPath, outputPath, explain, nullptr);
}

Outcome ConvertFontDrawing(const std::filesystem::path& inputPath,
                           const std::filesystem::path& outputPath, const char* fontName,
                           bool explain) {
  if (!IsFontName(fontName)) {
    static MessageText message;
    FormatMessage(message,
                  "'%.80s' cannot name a font: give 1 to %d printable characters, no ';' and no "
                  "blank at either end",
                  fontName, kMaxFontNameLength);
    ShowMessageText(message, platform::kMessageOk);
    return Outcome::kRefused;
  }
  return ConvertRun(inputPath, outputPath, explain, fontName);
}

}  // namespace korvex
