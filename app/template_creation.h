// The "Create Empty DXF Shapes File" command without its window: checks the support
// drawing, asks where the new drawing goes, copies the template there and confirms.
#pragma once

#include "app/file_chooser.h"
#include "app/template_files.h"

namespace korvex::shell {

class TemplateCreation {
 public:
  TemplateCreation(FileChooser& chooser, TemplateFiles& files);

  // True when an empty working drawing was created. A missing template is reported and
  // no dialog opens; a cancelled dialog does nothing; a failed copy is reported.
  bool CreateEmptyShapesFile();

 private:
  FileChooser& chooser_;
  TemplateFiles& files_;
};

}  // namespace korvex::shell
