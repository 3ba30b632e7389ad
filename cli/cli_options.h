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

enum class Command {
  kHelp,
  kVersion,
  kConvert,
  kTemplate,
  kPreview,
  kCheck,
  kCompile,
  kSource,
  kSheet,
};

struct CliOptions {
  Command command = Command::kHelp;
  std::filesystem::path input;    // convert: the drawing; template: the new drawing;
                                  // preview, check, compile, source, sheet: the shape file
  std::filesystem::path output;   // convert: the .shp or .shx file (default: the drawing's,
                                  // as .shp); preview: the sheet (default: the shape file's,
                                  // as .png); compile: the .shx file; source: the .shp file;
                                  // sheet: the drawing (default: the shape file's, as .dxf)
  std::filesystem::path preview;  // convert: the sheet to draw of the written file, if any
  bool force = false;             // template, sheet: replace an existing file
  bool font = false;              // template: a font sheet; convert: a text font
  std::string fontName;           // convert --font: the font's name
  bool stopAtWarning = false;     // convert: answer Yes to a limit warning when unattended
  bool explain = false;           // convert: list every entity left out of the shapes
  bool shx = false;               // convert: write the .shp and, beside it, the .shx
  std::string error;              // set when the command line is wrong
};

CliOptions ParseCliOptions(const std::vector<std::string>& arguments);

// The default output: the drawing's path with its extension replaced by .shp.
std::filesystem::path DefaultShapePath(const std::filesystem::path& drawing);

// The default preview: the shape file's path with its extension replaced by .png.
std::filesystem::path DefaultPreviewPath(const std::filesystem::path& shapeFile);

// What the program does, in words that follow "korvex-cli VERSION: " on --help's first
// line (and the name on the manual page), and how it is used (--help, a wrong command line);
// the manual page is made from these texts.
extern const char kSummaryText[];
extern const char kUsageText[];

}  // namespace korvex::cli
