// The conversion run as the conversion dialog calls it: an input drawing and an output
// file in, the outcome out. The run shows its own messages through the platform layer.
#pragma once

#include <memory>
#include <string>

#include "platform/outcome.h"
#include "sheet/left_out_table.h"

namespace korvex::shell {

class DrawingConverter {
 public:
  virtual ~DrawingConverter() = default;
  // Done when the .shp file was written; refused or stopped after the run showed why not.
  virtual Outcome Convert(const std::string& inputPath, const std::string& outputPath) = 0;
};

// The program's converter: the conversion library's ConvertDrawing, with the record of
// what it left out kept. It remembers the last file it wrote and that record, which the
// main window then shows.
class ConversionRunConverter final : public DrawingConverter {
 public:
  Outcome Convert(const std::string& inputPath, const std::string& outputPath) override;
  // Empty until a conversion has written a file.
  const std::string& LastWritten() const { return lastWritten_; }
  // What the conversion that wrote it left out; nullptr until then.
  std::shared_ptr<const LeftOutTable> LastLeftOut() const { return lastLeftOut_; }

 private:
  std::string lastWritten_;
  std::shared_ptr<const LeftOutTable> lastLeftOut_;
};

}  // namespace korvex::shell
