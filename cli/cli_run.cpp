// The commands of korvex-cli: the conversion, the empty drawing, the compilation of shape
// source files and their return from compiled files, and the preview and check of either.
#include "cli/cli_run.h"

#include <cerrno>
#include <iostream>

#include "cli/cli_options.h"
#include "cli/cli_version.h"
#include "cli/shell_command.h"
#include "conversion/compiled_conversion.h"
#include "conversion/conversion_run.h"
#include "conversion/sheet_run.h"
#include "dxf/template_drawing.h"
#include "platform/console_frontend.h"
#include "platform/pending_file.h"
#include "platform/platform.h"
#ifdef KORVEX_HAVE_PREVIEW
#include "shape_files/sheet_preview.h"
#endif
#include "shape_files/shp_check.h"
#include "shape_files/shp_source.h"
#include "shape_files/shp_text.h"
#include "shape_files/shx_file.h"
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

korvex::ShapeFileForm& FormRead() {
  static korvex::ShapeFileForm form = korvex::ShapeFileForm::kSource;
  return form;
}

// Compiler style: "file:line: message", or "file: message" for the whole file; each line
// after the prefix (the console prefix on standard error).
void PrintProblems(std::ostream& out, const char* prefix, const std::filesystem::path& file,
                   const korvex::SourceProblemList& problems) {
  const std::string name = korvex::platform::PathText(file);
  for (int i = 0; i < problems.count; ++i) {
    const korvex::SourceProblem& problem = problems.items[i];
    out << prefix << name;
    if (problem.line > 0) out << ':' << problem.line;
    out << ": " << (korvex::IsWarning(problem.kind) ? "warning: " : "") << problem.text << '\n';
  }
  if (problems.dropped > 0) {
    out << prefix << name << ": " << problems.dropped << " more problems\n";
  }
}

// Reads the shape file, source or compiled, into the static tables; false, after a
// message, when it cannot be read.
bool ReadSource(const std::filesystem::path& file) {
  korvex::SourceProblemList& problems = ProblemTable();
  problems.Clear();
  if (korvex::ReadShapeFile(file, SourceTables(), problems, FormRead())) return true;
  PrintProblems(std::cerr, korvex::platform::kConsolePrefix, file, problems);
  return false;
}

// Writes the tables through a pending file: the target appears whole or not at all.
bool WriteWhole(const std::filesystem::path& target,
                bool (*write)(const korvex::ShapeSource&, std::FILE*)) {
  std::filesystem::path pending;
  std::error_code error;
  std::FILE* file = korvex::platform::OpenPendingFile(target, pending, error);
  if (file != nullptr) {
    errno = 0;
    if (!write(SourceTables(), file) || std::ferror(file) != 0) {
      error = std::error_code(errno != 0 ? errno : EIO, std::generic_category());
      korvex::platform::DiscardPendingFile(file, pending);
      file = nullptr;
    } else if (korvex::platform::CommitPendingFile(file, pending, target, error)) {
      return true;
    }
  }
  std::cerr << korvex::platform::kConsolePrefix << "cannot write "
            << korvex::platform::PathText(target) << ": " << error.message() << '\n';
  return false;
}

// Refuses, after a message, an output that would replace its own input.
bool OverItsInput(const std::filesystem::path& input, const std::filesystem::path& output) {
  if (!korvex::platform::SameFile(input, output)) return false;
  std::cerr << korvex::platform::kConsolePrefix << "will not write "
            << korvex::platform::PathText(output) << " over its own input: name another with -o\n";
  return true;
}

#ifdef KORVEX_HAVE_PREVIEW
// Draws the sheet of the .shp file; the reader's problems are shown but do not stop it.
int WritePreview(const std::filesystem::path& shapeFile, const std::filesystem::path& sheet,
                 const korvex::LeftOutTable* leftOut = nullptr) {
  if (!ReadSource(shapeFile)) return korvex::cli::kExitNotWritten;
  PrintProblems(std::cerr, korvex::platform::kConsolePrefix, shapeFile, ProblemTable());
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

// Checks the tables read from the source file and compiles them into the target; refused,
// after check's messages, when the compiler would refuse the source.
int CompileTables(const std::filesystem::path& sourceFile, const std::filesystem::path& target) {
  korvex::SourceProblemList& problems = ProblemTable();
  korvex::CheckShapeSource(SourceTables(), problems);
  PrintProblems(std::cerr, korvex::platform::kConsolePrefix, sourceFile, problems);
  const std::string name = korvex::platform::PathText(target);
  if (problems.Refusals() > 0) {
    std::cerr << korvex::platform::kConsolePrefix << name << " not written: the compiler refuses "
              << (problems.Refusals() == 1 ? "the problem" : "the problems") << " above\n";
    return korvex::cli::kExitNotWritten;
  }
  if (!WriteWhole(target, korvex::WriteShx)) return korvex::cli::kExitNotWritten;
  std::cout << "Compiled shape file written: " << name << " (" << SourceTables().shapeCount
            << " shapes)\n";
  return korvex::cli::kExitWritten;
}

// A .shx target compiles the drawing's .shp: the one beside it (--shx) or, when only the
// .shx is wanted, one under a temporary name that is removed afterwards.
int RunConvert(const CliOptions& options) {
  const bool explain = options.explain || !options.preview.empty();
  const bool shxTarget = korvex::IsCompiledShapePath(options.output);
  std::filesystem::path shapeFile = options.output;
  std::filesystem::path compiledFile;
  if (shxTarget || options.shx) {
    compiledFile = options.output;
    if (!shxTarget) compiledFile.replace_extension(".shx");
    shapeFile.replace_extension(".shp");
  }
  int shapes = 0;
  const char* fontName = options.font ? options.fontName.c_str() : nullptr;
  korvex::Outcome outcome = korvex::Outcome::kRefused;
  if (!compiledFile.empty()) {
    outcome = korvex::ConvertDrawingToShx(options.input, compiledFile,
                                          options.shx ? shapeFile : std::filesystem::path(),
                                          explain, &shapes, fontName);
  } else if (fontName != nullptr) {
    outcome = korvex::ConvertFontDrawing(options.input, shapeFile, fontName, explain);
  } else {
    outcome = korvex::ConvertDrawing(options.input, shapeFile, explain);
  }
  ReportLeftOut(options);
  if (outcome == korvex::Outcome::kStopped) return korvex::platform::kExitStopped;
  if (outcome != korvex::Outcome::kDone) {
    std::cerr << korvex::platform::kConsolePrefix << "Shape File Not Generated\n";
    return korvex::cli::kExitNotWritten;
  }
  if (compiledFile.empty() || options.shx) {
    std::cout << "Shape file written: " << korvex::platform::PathText(shapeFile) << '\n';
  }
  if (!compiledFile.empty()) {
    std::cout << "Compiled shape file written: " << korvex::platform::PathText(compiledFile) << " ("
              << shapes << " shapes)\n";
  }
  if (!options.preview.empty()) {
    return WritePreview(options.output, options.preview, &korvex::LeftOut());
  }
  return korvex::cli::kExitWritten;
}

int RunCompile(const CliOptions& options) {
  if (!ReadSource(options.input)) return korvex::cli::kExitNotWritten;
  if (FormRead() != korvex::ShapeFileForm::kSource) {
    std::cerr << korvex::platform::kConsolePrefix << korvex::platform::PathText(options.input)
              << " is compiled already (" << korvex::ShapeFileFormName(FormRead())
              << "): korvex-cli source turns it back into source text\n";
    return korvex::cli::kExitNotWritten;
  }
  if (OverItsInput(options.input, options.output)) return korvex::cli::kExitNotWritten;
  return CompileTables(options.input, options.output);
}

int RunSource(const CliOptions& options) {
  if (!ReadSource(options.input)) return korvex::cli::kExitNotWritten;
  PrintProblems(std::cerr, korvex::platform::kConsolePrefix, options.input, ProblemTable());
  const std::string name = korvex::platform::PathText(options.input);
  const char* refusal = nullptr;
  if (FormRead() == korvex::ShapeFileForm::kSource) {
    refusal = "is shape source text, not a compiled shape file (.shx)";
  } else if (SourceTables().shapeCount == 0) {
    refusal = "holds no shapes: nothing to write";
  }
  if (refusal != nullptr) {
    std::cerr << korvex::platform::kConsolePrefix << name << ' ' << refusal << '\n';
    return korvex::cli::kExitNotWritten;
  }
  if (OverItsInput(options.input, options.output)) return korvex::cli::kExitNotWritten;
  if (!WriteWhole(options.output, korvex::WriteShapeSourceText)) {
    return korvex::cli::kExitNotWritten;
  }
  std::cout << "Shape source written: " << korvex::platform::PathText(options.output) << " ("
            << SourceTables().shapeCount << " shapes, from "
            << korvex::ShapeFileFormName(FormRead()) << ")\n";
  return korvex::cli::kExitWritten;
}

// A compiled file's layout is named after its shape count: "(3 shapes, AutoCAD-86 ...)".
int RunCheck(const CliOptions& options) {
  if (!ReadSource(options.input)) return korvex::cli::kExitNotWritten;
  korvex::SourceProblemList& problems = ProblemTable();
  korvex::CheckShapeSource(SourceTables(), problems);
  if (problems.Total() == 0) {
    std::cout << korvex::platform::PathText(options.input) << ": no problems ("
              << SourceTables().shapeCount << " shapes";
    if (FormRead() != korvex::ShapeFileForm::kSource) {
      std::cout << ", " << korvex::ShapeFileFormName(FormRead());
    }
    std::cout << ")\n";
    return korvex::cli::kExitWritten;
  }
  PrintProblems(std::cout, "", options.input, problems);
  const int refusals = problems.Refusals();
  std::cout << refusals << (refusals == 1 ? " problem" : " problems");
  if (problems.warnings > 0) {
    std::cout << ", " << problems.warnings << (problems.warnings == 1 ? " warning" : " warnings");
  }
  std::cout << '\n';
  return refusals == 0 ? korvex::cli::kExitWritten : korvex::cli::kExitNotWritten;
}

// The drawing is new: an existing one (perhaps the drawing the shapes came from) is replaced
// only when asked.
int RunSheet(const CliOptions& options) {
  std::error_code error;
  if (!options.force && std::filesystem::exists(options.output, error)) {
    std::cerr << korvex::platform::kConsolePrefix << korvex::platform::PathText(options.output)
              << " already exists (use --force to replace it, or -o to name another)\n";
    return korvex::cli::kExitNotWritten;
  }
  int drawn = 0;
  const korvex::Outcome outcome = korvex::WriteShapeSheet(options.input, options.output, &drawn);
  if (outcome == korvex::Outcome::kStopped) return korvex::platform::kExitStopped;
  if (outcome != korvex::Outcome::kDone) return korvex::cli::kExitNotWritten;
  const std::string drawing = korvex::platform::PathText(options.output);
  std::cout << "Shape sheet drawing written: " << drawing << " (" << drawn << " shapes)\n"
            << "Edit the shapes in your CAD program, save it as ASCII DXF, then write them back\n"
            << "with:\n"
            << "  " << korvex::cli::ShellCommand({"convert", drawing}) << '\n';
  return korvex::cli::kExitWritten;
}

// A font sheet is written afresh from the template, with the guides of every box.
int RunFontTemplate(const CliOptions& options) {
  std::error_code error;
  if (!options.force && std::filesystem::exists(options.input, error)) {
    std::cerr << korvex::platform::kConsolePrefix << korvex::platform::PathText(options.input)
              << " already exists (use --force to replace it)\n";
    return korvex::cli::kExitNotWritten;
  }
  const korvex::Outcome outcome = korvex::WriteFontSheet(options.input, options.force);
  if (outcome == korvex::Outcome::kStopped) return korvex::platform::kExitStopped;
  if (outcome != korvex::Outcome::kDone) return korvex::cli::kExitNotWritten;
  const std::string drawing = korvex::platform::PathText(options.input);
  std::cout << "Empty font sheet created in " << drawing << '\n'
            << "Draw character n in box n, capitals from the baseline to the cap line, save it\n"
            << "as ASCII DXF, then write the font (NAME is its name) with:\n"
            << "  " << korvex::cli::ShellCommand({"convert", "--font", "NAME", drawing}) << '\n';
  return korvex::cli::kExitWritten;
}

int RunTemplate(const CliOptions& options) {
  if (options.font) return RunFontTemplate(options);
  const std::filesystem::path templatePath = korvex::TemplateDrawingPath();
  if (!korvex::TemplateDrawingReadable(templatePath)) {
    korvex::platform::ShowMessage(
        "ShapesTemplate.dxf support file not found\nTry reinstalling Korvex",
        korvex::platform::kMessageInformation);
    return korvex::platform::kExitStopped;
  }
  std::error_code error;
  if (!options.force && std::filesystem::exists(options.input, error)) {
    std::cerr << korvex::platform::kConsolePrefix << korvex::platform::PathText(options.input)
              << " already exists (use --force to replace it)\n";
    return korvex::cli::kExitNotWritten;
  }
  if (!korvex::CopyTemplateDrawing(templatePath, options.input, options.force, error)) {
    std::cerr << korvex::platform::kConsolePrefix << "cannot create "
              << korvex::platform::PathText(options.input) << ": " << error.message() << '\n';
    return korvex::cli::kExitNotWritten;
  }
  // The command is one to copy: it names the program as this shell finds it.
  const std::string drawing = korvex::platform::PathText(options.input);
  std::cout << "Empty Shapes DXF Created in " << drawing << '\n'
            << "Draw your shapes in its boxes with your CAD program, one shape per box, save it\n"
            << "as ASCII DXF, then create your shape (SHP) file with:\n"
            << "  " << korvex::cli::ShellCommand({"convert", drawing}) << '\n';
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
      std::cout << "korvex-cli " << KORVEX_VERSION << ": " << korvex::cli::kSummaryText << "\n\n"
                << korvex::cli::kUsageText;
      return 0;
    case korvex::cli::Command::kVersion:
      std::cout << korvex::cli::VersionText();
      return 0;
    case korvex::cli::Command::kConvert:
      return RunConvert(options);
    case korvex::cli::Command::kTemplate:
      return RunTemplate(options);
    case korvex::cli::Command::kPreview:
      return WritePreview(options.input, options.output);
    case korvex::cli::Command::kCheck:
      return RunCheck(options);
    case korvex::cli::Command::kCompile:
      return RunCompile(options);
    case korvex::cli::Command::kSource:
      return RunSource(options);
    case korvex::cli::Command::kSheet:
      return RunSheet(options);
  }
  return korvex::cli::kExitUsage;
}

}  // namespace korvex::cli
