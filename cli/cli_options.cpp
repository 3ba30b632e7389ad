#include "cli/cli_options.h"

#include "platform/platform.h"
#include "shape_files/preview_format.h"

namespace korvex::cli {

const char kSummaryText[] =
    "writes AutoCAD shape source files (.shp) from shape sheet drawings,\n"
    "and compiles them into the .shx files CAD programs load.";

const char kUsageText[] =
    "Usage:\n"
    "  korvex-cli convert DRAWING.dxf [-o OUT.shp|OUT.shx] [--shx] [--font NAME]\n"
    "                     [--preview SHEET.png] [--explain] [--stop-at-warning]\n"
    "  korvex-cli compile SHAPES.shp [-o SHAPES.shx]\n"
    "  korvex-cli source SHAPES.shx [-o SHAPES.shp]\n"
    "  korvex-cli sheet SHAPES.shp|SHAPES.shx [-o SHEET.dxf] [--force]\n"
    "  korvex-cli preview SHAPES.shp|SHAPES.shx [-o SHEET.png|SHEET.svg]\n"
    "  korvex-cli check SHAPES.shp|SHAPES.shx\n"
    "  korvex-cli template NEW.dxf [--font] [--force]\n"
    "  korvex-cli --help | --version\n"
    "\n"
    "convert   Writes the shape source file (.shp) of a drawing made from the shape sheet\n"
    "          template; by default beside the drawing, with the extension .shp.\n"
    "          An output named .shx is the compiled file instead; --shx writes both,\n"
    "          the .shx beside the .shp.\n"
    "          --preview: also draws the written shapes on a sheet (.png or .svg), with\n"
    "          what was left out of them dashed in orange.\n"
    "          --explain: lists every entity of the drawing left out of the shapes, and why,\n"
    "          as DRAWING.dxf:LINE: message (without it, one line says how many).\n"
    "          --stop-at-warning: when no one can answer at a terminal, answer Yes to the\n"
    "          warnings near the entity and byte limits and stop (the default answer is No).\n"
    "          --font NAME: writes a text font called NAME from a font sheet: cell n is\n"
    "          character n, drawn on the baseline; each glyph ends where the next starts.\n"
    "compile   Compiles a shape source file into the .shx file CAD programs load (by\n"
    "          default beside it); refused, with check's messages, when check finds\n"
    "          problems.\n"
    "source    Writes a compiled file (.shx: shapes, Unicode or big font) back as source\n"
    "          text, by default beside it with the extension .shp.\n"
    "sheet     Draws the shapes of a .shp or .shx file on a new shape sheet drawing, to\n"
    "          edit them in a CAD program and convert them again; by default beside the\n"
    "          shape file, with the extension .dxf. A text font becomes a font sheet.\n"
    "          --force: replace an existing file.\n"
    "preview   Draws the shapes of a .shp or .shx file on a sheet laid out like the\n"
    "          template, as PNG or SVG by the extension; by default beside the shape file,\n"
    "          as .png.\n"
    "check     Lists what the CAD program's compiler would refuse in a .shp or .shx file,\n"
    "          as file:line: message, and warns of what it takes but may misread.\n"
    "template  Writes a new, empty shape sheet drawing (a copy of the template).\n"
    "          --font: a font sheet instead, with a baseline and a cap line in every box.\n"
    "          --force: replace an existing file.\n"
    "\n"
    "Exit status: 0 written (check: no problems), 1 not written (check: problems found),\n"
    "2 wrong command line, 3 stopped part-way.\n";

std::filesystem::path DefaultShapePath(const std::filesystem::path& drawing) {
  std::filesystem::path shape = drawing;
  shape.replace_extension(".shp");
  return shape;
}

std::filesystem::path DefaultPreviewPath(const std::filesystem::path& shapeFile) {
  std::filesystem::path sheet = shapeFile;
  sheet.replace_extension(".png");
  return sheet;
}

CliOptions ParseCliOptions(const std::vector<std::string>& arguments) {
  CliOptions options;
  if (arguments.empty()) {
    options.error = "no command given";
    return options;
  }
  const std::string& command = arguments[0];
  if (command == "--help" || command == "-h" || command == "help") {
    options.command = Command::kHelp;
    return options;
  }
  if (command == "--version") {
    options.command = Command::kVersion;
    return options;
  }
  if (command == "convert") {
    options.command = Command::kConvert;
  } else if (command == "template") {
    options.command = Command::kTemplate;
  } else if (command == "preview") {
    options.command = Command::kPreview;
  } else if (command == "check") {
    options.command = Command::kCheck;
  } else if (command == "compile") {
    options.command = Command::kCompile;
  } else if (command == "source") {
    options.command = Command::kSource;
  } else if (command == "sheet") {
    options.command = Command::kSheet;
  } else {
    options.error = "unknown command '" + command + "'";
    return options;
  }

  bool haveInput = false;
  bool haveOutput = false;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      options.command = Command::kHelp;
      return options;
    }
    const bool takesOutput =
        options.command != Command::kTemplate && options.command != Command::kCheck;
    const bool isPreview = options.command == Command::kConvert && argument == "--preview";
    if ((takesOutput && (argument == "-o" || argument == "--output")) || isPreview) {
      if (i + 1 == arguments.size()) {
        options.error = argument + " needs a file name";
        return options;
      }
      (isPreview ? options.preview : options.output) = platform::PathFromUtf8(arguments[++i]);
      haveOutput = haveOutput || !isPreview;
    } else if (options.command == Command::kConvert && argument == "--stop-at-warning") {
      options.stopAtWarning = true;
    } else if (options.command == Command::kConvert && argument == "--explain") {
      options.explain = true;
    } else if (options.command == Command::kConvert && argument == "--shx") {
      options.shx = true;
    } else if ((options.command == Command::kTemplate || options.command == Command::kSheet) &&
               argument == "--force") {
      options.force = true;
    } else if (options.command == Command::kTemplate && argument == "--font") {
      options.font = true;
    } else if (options.command == Command::kConvert && argument == "--font") {
      if (i + 1 == arguments.size()) {
        options.error = "--font needs the font's name";
        return options;
      }
      options.font = true;
      options.fontName = arguments[++i];
    } else if (argument.size() > 1 && argument[0] == '-') {
      options.error = "unknown option '" + argument + "'";
      return options;
    } else if (!haveInput) {
      options.input = platform::PathFromUtf8(argument);
      haveInput = true;
    } else {
      options.error = "unexpected argument '" + argument + "'";
      return options;
    }
  }
  if (!haveInput) {
    options.error = command == "convert" ? "no drawing given" : "no file name given";
    return options;
  }
  if (!haveOutput && options.command == Command::kPreview) {
    options.output = DefaultPreviewPath(options.input);
  } else if (!haveOutput && options.command == Command::kCompile) {
    options.output = options.input;
    options.output.replace_extension(".shx");
  } else if (!haveOutput &&
             (options.command == Command::kConvert || options.command == Command::kSource)) {
    options.output = DefaultShapePath(options.input);
  } else if (!haveOutput && options.command == Command::kSheet) {
    options.output = options.input;
    options.output.replace_extension(".dxf");
  }
  const std::filesystem::path& sheet =
      options.command == Command::kPreview ? options.output : options.preview;
  if (!sheet.empty() && PreviewFormatOf(sheet) == PreviewFormat::kUnknown) {
    options.error = "the preview must be a .png or .svg file";
  }
  return options;
}

}  // namespace korvex::cli
