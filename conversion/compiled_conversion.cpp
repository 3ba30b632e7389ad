#include "conversion/compiled_conversion.h"

#include <cstdio>
#include <string>
#include <system_error>

#include "conversion/conversion_run.h"
#include "platform/message_text.h"
#include "platform/pending_file.h"
#include "platform/platform.h"
#include "shape_files/shp_check.h"
#include "shape_files/shx_file.h"

namespace korvex {
namespace {

// The most of the compiler's refusals one message lists; `korvex-cli check` lists them all.
constexpr int kRefusalsShown = 5;

// The reader's tables are large: one static set serves every compilation of the run.
ShapeSource& CompileTables() {
  static ShapeSource source;
  return source;
}

SourceProblemList& CompileProblems() {
  static SourceProblemList problems;
  return problems;
}

void ShowRefusals(const std::filesystem::path& shxFile, const SourceProblemList& problems) {
  static MessageText message;
  const std::string name = platform::PathText(shxFile);
  FormatMessage(message, "Error compiling SHX file %s", name.c_str());
  int shown = 0;
  for (int i = 0; i < problems.count && shown < kRefusalsShown; ++i) {
    if (IsWarning(problems.items[i].kind)) continue;
    AppendMessage(message, "\n");
    AppendMessage(message, problems.items[i].text);
    ++shown;
  }
  if (problems.Refusals() > shown) {
    AppendMessage(message, "\n(more problems: korvex-cli check lists them all)");
  }
  ShowMessageText(message, platform::kMessageOk);
}

}  // namespace

bool IsCompiledShapePath(const std::filesystem::path& path) {
  const std::string extension = path.extension().string();
  return extension.size() == 4 && extension[0] == '.' && (extension[1] | 0x20) == 's' &&
         (extension[2] | 0x20) == 'h' && (extension[3] | 0x20) == 'x';
}

Outcome CompileShapeFile(const std::filesystem::path& shapeFile,
                         const std::filesystem::path& shxFile, int* shapeCount) {
  ShapeSource& source = CompileTables();
  SourceProblemList& problems = CompileProblems();
  problems.Clear();
  ShapeFileForm form = ShapeFileForm::kSource;
  if (ReadShapeFile(shapeFile, source, problems, form)) CheckShapeSource(source, problems);
  if (problems.Refusals() > 0 || source.shapeCount == 0) {
    ShowRefusals(shxFile, problems);
    return Outcome::kRefused;
  }
  std::filesystem::path pending;
  std::error_code error;
  std::FILE* file = platform::OpenPendingFile(shxFile, pending, error);
  if (file == nullptr) {
    ShowPathMessage("Error creating SHX file %s", shxFile, platform::kMessageOk,
                    error.message().c_str());
    return Outcome::kRefused;
  }
  if (!WriteShx(source, file) || std::ferror(file) != 0) {
    platform::DiscardPendingFile(file, pending);
    ShowPathMessage("Error writing SHX file %s", shxFile, platform::kMessageOk);
    return Outcome::kRefused;
  }
  if (!platform::CommitPendingFile(file, pending, shxFile, error)) {
    ShowPathMessage("Error writing SHX file %s", shxFile, platform::kMessageOk,
                    error.message().c_str());
    return Outcome::kRefused;
  }
  if (shapeCount != nullptr) *shapeCount = source.shapeCount;
  return Outcome::kDone;
}

Outcome ConvertDrawingToShx(const std::filesystem::path& inputPath,
                            const std::filesystem::path& shxFile,
                            const std::filesystem::path& keptShapeFile, bool explain,
                            int* shapeCount, const char* fontName) {
  std::filesystem::path shapeFile = keptShapeFile;
  std::filesystem::path scratch;
  if (shapeFile.empty()) {
    // A pending name beside the target holds the .shp: it never clashes with a user's file.
    std::error_code error;
    std::FILE* file = platform::OpenPendingFile(shxFile, scratch, error);
    if (file == nullptr) {
      ShowPathMessage("Error creating SHX file %s", shxFile, platform::kMessageOk,
                      error.message().c_str());
      return Outcome::kRefused;
    }
    std::fclose(file);
    shapeFile = scratch;
  }
  Outcome outcome = fontName != nullptr
                        ? ConvertFontDrawing(inputPath, shapeFile, fontName, explain)
                        : ConvertDrawing(inputPath, shapeFile, explain);
  if (outcome == Outcome::kDone) outcome = CompileShapeFile(shapeFile, shxFile, shapeCount);
  if (!scratch.empty()) platform::DiscardPendingFile(nullptr, scratch);
  return outcome;
}

}  // namespace korvex
