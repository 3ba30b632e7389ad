// Entry point of the GUI tests: starts wxWidgets with the program's own application
// object (its message loop is not run), then the tests.
#include <wx/filedlg.h>
#include <wx/init.h>
#include <wx/msgdlg.h>

#include <cstdlib>
#include <iostream>
#include <typeinfo>

#include "app/korvex_app.h"
#include "desktop_test_support.h"

wxIMPLEMENT_APP_NO_MAIN(CKorvexApp);

namespace korvex::test {

bool desktopAvailable = false;

int ModalDialogRecorder::Enter(wxDialog* dialog) {
  ShownDialog seen;
  seen.type = typeid(*dialog);
  seen.id = dialog->GetId();
  seen.title = dialog->GetTitle();
  if (auto* box = dynamic_cast<wxMessageDialog*>(dialog)) {
    seen.message = box->GetMessage();
    seen.caption = box->GetCaption();
    seen.style = box->GetMessageDialogStyle();
  } else if (auto* files = dynamic_cast<wxFileDialog*>(dialog)) {
    seen.title = files->GetMessage();
    seen.wildcard = files->GetWildcard();
    seen.directory = files->GetDirectory();
    seen.filename = files->GetFilename();
    seen.style = files->GetWindowStyle();
  }
  shown.push_back(seen);
  return answered_ < answers.size() ? answers[answered_++] : wxID_CANCEL;
}

}  // namespace korvex::test

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const bool displayNamed = std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY");
  korvex::test::desktopAvailable = wxEntryStart(argc, argv);
  if (!korvex::test::desktopAvailable && displayNamed) {
    // A display was named but can't be used: that is a failure, not a reason to skip.
    std::cerr << "korvex_desktop_tests: wxWidgets could not start on the display\n";
    return 1;
  }
  const int result = RUN_ALL_TESTS();
  if (korvex::test::desktopAvailable) wxEntryCleanup();
  return result;
}
