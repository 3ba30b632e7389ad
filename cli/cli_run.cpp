// The commands of korvex-cli: the conversion and the empty drawing.
#include "cli/cli_run.h"

#include <iostream>

#include "cli/cli_options.h"
#include "core/conversion_run.h"
#include "core/template_drawing.h"
#include "platform/console_frontend.h"
#include "platform/platform.h"

namespace {

using korvex::cli::CliOptions;

int RunConvert(const CliOptions& options) {
  if (!korvex::ConvertDrawing(options.input, options.output)) {
    std::cerr << "korvex-cli: Shape File Not Generated\n";
    return korvex::cli::kExitNotWritten;
  }
  std::cout << "Shape file written: " << korvex::platform::PathText(options.output) << '\n';
  return korvex::cli::kExitWritten;
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
    std::cerr << "korvex-cli: " << korvex::platform::PathText(options.input)
              << " already exists (use --force to replace it)\n";
    return korvex::cli::kExitNotWritten;
  }
  if (!korvex::CopyTemplateDrawing(templatePath, options.input, options.force, error)) {
    std::cerr << "korvex-cli: cannot create " << korvex::platform::PathText(options.input) << ": "
              << error.message() << '\n';
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
    std::cerr << "korvex-cli: " << options.error << "\n\n" << korvex::cli::kUsageText;
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
  }
  return korvex::cli::kExitUsage;
}

}  // namespace korvex::cli
