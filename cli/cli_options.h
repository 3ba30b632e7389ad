// The command line of korvex-cli.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace korvex::cli {

// Exit statuses.
inline constexpr int kExitWritten = 0;
inline constexpr int kExitNotWritten = 1;
inline constexpr int kExitUsage = 2;
// kExitStopped (3) comes from the platform layer: a run the conversion path stopped.

enum class Command { kHelp, kVersion, kConvert, kTemplate };

struct CliOptions {
  Command command = Command::kHelp;
  std::filesystem::path input;   // convert: the drawing; template: the new drawing
  std::filesystem::path output;  // convert: the .shp file (default: the drawing's, as .shp)
  bool force = false;            // template: replace an existing file
  bool stopAtWarning = false;    // convert: answer Yes to a limit warning when unattended
  std::string error;             // set when the command line is wrong
};

CliOptions ParseCliOptions(const std::vector<std::string>& arguments);

// The default output: the drawing's path with its extension replaced by .shp.
std::filesystem::path DefaultShapePath(const std::filesystem::path& drawing);

extern const char kUsageText[];

}  // namespace korvex::cli
