// The conversion dialog's converter: hands the two paths to the conversion library.
#include "app/drawing_converter.h"

#include "app/dialog_paths.h"
#include "core/conversion_run.h"

namespace korvex::shell {

bool ConversionRunConverter::Convert(const std::string& inputPath, const std::string& outputPath) {
  if (!ConvertDrawing(PathFromText(inputPath), PathFromText(outputPath))) return false;
  lastWritten_ = outputPath;
  return true;
}

}  // namespace korvex::shell
