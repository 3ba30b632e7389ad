// The conversion dialog's converter: hands the two paths to the conversion library.
#include "app/drawing_converter.h"

#include "conversion/compiled_conversion.h"
#include "conversion/conversion_run.h"
#include "platform/platform.h"

namespace korvex::shell {

Outcome ConversionRunConverter::Convert(const std::string& inputPath,
                                        const std::string& outputPath) {
  const std::filesystem::path input = platform::PathFromUtf8(inputPath);
  const std::filesystem::path output = platform::PathFromUtf8(outputPath);
  const Outcome outcome = IsCompiledShapePath(output)
                              ? ConvertDrawingToShx(input, output, {}, /*explain=*/true)
                              : ConvertDrawing(input, output, /*explain=*/true);
  if (outcome == Outcome::kDone) {
    lastWritten_ = outputPath;
    // A copy: the library's record belongs to the next conversion.
    lastLeftOut_ = std::make_shared<const LeftOutTable>(LeftOut());
  }
  return outcome;
}

}  // namespace korvex::shell
