// The commands of korvex-cli: the conversion, the empty drawing, and the preview and check
// of a shape source file.
#include "cli/cli_run.h"

#include <iostream>

#include "cli/cli_options.h"
#include "conversion/conversion_run.h"
#include "dxf/template_drawing.h"
#include "platform/console_frontend.h"
#include "platform/platform.h"
#ifdef KORVEX_HAVE_PREVIEW
#include "shape_files/sheet_preview.h"
#endif
#include "shape_files/shp_check.h"
#include "shape_files/shp_source.h"
#include "sheet/left_out_table.h"

namespace {

using korvex::cli::CliOptions;

// The reader's tables are large: one static set serves every command of the run.
korvex::ShapeSource& SourceTables() {
  static korvex::ShapeSource source;
  return source;
}

korvex::SourceProblemList& ProblemTable() {
  static korvex::SourceProblemList problems;
  return problems;
}

// Compiler style: "file:line: message", or "file: message" for the whole file.
void PrintProblems(std::ostream& out, const std::filesystem::path& file,
                   const korvex::SourceProblemList& problems) {
  const std::string name = korvex::platform::PathText(file);
  for (int i = 0; i < problems.count; ++i) {
    const korvex::SourceProblem& problem = problems.items[i];
    out << name;
    if (problem.line > 0) out << ':' << problem.line;
    out << ": " << problem.text << '\n';
  }
  if (problems.dropped > 0) out << name << ": " << problems.dropped << " more problems\n";
}

// Reads the .shp file into the static tables; false, after a message, when it cannot be read.
bool ReadSource(const std::filesystem::path& file) {
  korvex::SourceProblemList& problems = ProblemTable();
  problems.Clear();
  if (korvex::ReadShapeSourceFile(file, SourceTables(), problems)) return true;
  std::cerr << korvex::platform::kConsolePrefix << "";
  PrintProblems(std::cerr, file, problems);
  return false;
}

#ifdef KORVEX_HAVE_PREVIEW
// Draws the sheet of the .shp file; the reader's problems are shown but do not stop it.
int WritePreview(const std::filesystem::path& shapeFile, const std::filesystem::path& sheet,
                 const korvex::LeftOutTable* leftOut = nullptr) {
  if (!ReadSource(shapeFile)) return korvex::cli::kExitNotWritten;
  PrintProblems(std::cerr, shapeFile, ProblemTable());
  std::string error;
  korvex::SheetSummary summary;
  if (!korvex::WriteSheetPreview(SourceTables(), sheet, error, &summary, leftOut)) {
    std::cerr << korvex::platform::kConsolePrefix << "preview not written: " << error << '\n';
    return korvex::cli::kExitNotWritten;
  }
  std::cout << "Preview written: " << korvex::platform::PathText(sheet) << " (" << summary.drawn
            << " shapes)\n";
  if (summary.offSheet > 0) {
    std::cout << summary.offSheet << " shapes numbered above 255 have no box on the sheet\n";
  }
  if (summary.stopped > 0) {
    std::cout << summary.stopped
              << " shapes stopped drawing at a problem (marked (!)); korvex-cli check tells more\n";
  }
  return korvex::cli::kExitWritten;
}
#else
// A build without cairo draws no sheets; it says so instead.
int WritePreview(const std::filesystem::path&, const std::filesystem::path&,
                 const korvex::LeftOutTable* = nullptr) {
  std::cerr << korvex::platform::kConsolePrefix
            << "this build draws no previews (it was built without cairo)\n";
  return korvex::cli::kExitNotWritten;
}
#endif

// What the conversion left out of the shapes: with --explain one line for each, compiler
// style, on standard output; without, how many, on standard error.
void ReportLeftOut(const CliOptions& options) {
  const korvex::LeftOutTable& leftOut = korvex::LeftOut();
  if (leftOut.total == 0) return;
  if (!options.explain) {
    std::cerr << korvex::platform::kConsolePrefix << leftOut.total
              << (leftOut.total == 1 ? " entity of the drawing was"
                                     : " entities of the drawing were")
              << " left out of the shapes or kept only in part; --explain lists them\n";
    return;
  }
  const std::string name = korvex::platform::PathText(options.input);
  char text[512];
  for (int i = 0; i < leftOut.kept; ++i) {
    const korvex::LeftOutEntry& entry = leftOut.entries[i];
    korvex::DescribeLeftOut(entry, text, sizeof text);
    std::cout << name;
    if (entry.line > 0) std::cout << ':' << entry.line;
    std::cout << ": " << text << '\n';
  }
  if (leftOut.total > leftOut.kept) {
    std::cout << name << ": " << leftOut.total - leftOut.kept << " more not listed\n";
  }
}

int RunConvert(const CliOptions& options) {
  const korvex::Outcome outcome = korvex::ConvertDrawing(
      options.input, options.output, options.explain || !options.preview.empty());
  ReportLeftOut(options);
  if (outcome == korvex::Outcome::kStopped) return korvex::platform::kExitStopped;
  if (outcome != korvex::Outcome::kDone) {
    std::cerr << korvex::platform::kConsolePrefix << "Shape File Not Generated\n";
    return korvex::cli::kExitNotWritten;
  }
  std::cout << "Shape file written: " << korvex::platform::PathText(options.output) << '\n';
  if (!options.preview.empty()) {
    return WritePreview(options.output, options.preview, &korvex::LeftOut());
  }
  return korvex::cli::kExitWritten;
}

int RunCheck(const CliOptions& options) {
  if (!ReadSource(options.input)) return korvex::cli::kExitNotWritten;
  korvex::SourceProblemList& problems = ProblemTable();
  korvex::CheckShapeSource(SourceTables(), problems);
  if (problems.Total() == 0) {
    std::cout << korvex::platform::PathText(options.input) << ": no problems ("
              << SourceTables().shapeCount << " shapes)\n";
    return korvex::cli::kExitWritten;
  }
  PrintProblems(std::cout, options.input, problems);
  std::cout << problems.Total() << (problems.Total() == 1 ? " problem\n" : " problems\n");
  return korvex::cli::kExitNotWritten;
}

int RunTemplate(const CliOptions& options) {
  const std::filesystem::path templatePath = korvex::TemplateDrawingPath();
  if (!korvex::TemplateDrawingReadable(templatePath)) {
    korvex::platform::ShowMessage(
        "ShapesTemplate.dxf support file not found\nTry reinstalling Korvex",
        korvex::platform::kMessageInformation);
    return korvex::platform::kExitStopped;
  }
  std::error_code error;
  if (!options.force && std::filesystem::exists(options.input, error)) {
    std::cerr << korvex::platform::kConsolePrefix << "" << korvex::platform::PathText(options.input)
              << " already exists (use --force to replace it)\n";
    return korvex::cli::kExitNotWritten;
  }
  if (!korvex::CopyTemplateDrawing(templatePath, options.input, options.force, error)) {
    std::cerr << korvex::platform::kConsolePrefix << "cannot create "
              << korvex::platform::PathText(options.input) << ": " << error.message() << '\n';
    return korvex::cli::kExitNotWritten;
  }
  std::cout << "Empty Shapes DXF Created in\n"
            << korvex::platform::PathText(options.input) << '\n'
            << "Add your shapes to it in your CAD program, save it as ASCII DXF, then run\n"
            << "korvex-cli convert on it to create your shape (SHP) file.\n";
  return korvex::cli::kExitWritten;
}

}  // namespace

namespace korvex::cli {

int RunCli(const std::vector<std::string>& arguments) {
  const CliOptions options = korvex::cli::ParseCliOptions(arguments);
  if (!options.error.empty()) {
    std::cerr << korvex::platform::kConsolePrefix << "" << options.error << "\n\n"
              << korvex::cli::kUsageText;
    return korvex::cli::kExitUsage;
  }
  static korvex::platform::ConsoleFrontend frontend(options.stopAtWarning);
  korvex::platform::InstallFrontend(frontend);

  switch (options.command) {
    case korvex::cli::Command::kHelp:
      std::cout << "korvex-cli " << KORVEX_VERSION
                << ": writes AutoCAD shape source files (.shp) from shape sheet drawings.\n\n"
                << korvex::cli::kUsageText;
      return 0;
    case korvex::cli::Command::kVersion:
      std::cout << "korvex-cli " << KORVEX_VERSION << '\n';
      return 0;
    case korvex::cli::Command::kConvert:
      return RunConvert(options);
    case korvex::cli::Command::kTemplate:
      return RunTemplate(options);
    case korvex::cli::Command::kPreview:
      return WritePreview(options.input, options.output);
    case korvex::cli::Command::kCheck:
      return RunCheck(options);
  }
  return korvex::cli::kExitUsage;
}

}  // namespace korvex::cli
