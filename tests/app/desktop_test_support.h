// Support for the desktop program's GUI tests: a fixture that needs a display, and a hook
// that records the modal dialogs the program opens and answers them unseen.
#pragma once

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/modalhook.h>
#include <wx/string.h>
#include <wx/utils.h>

#include <typeindex>
#include <vector>

#include "test_support.h"

namespace korvex::test {

// Set by the test program's main once wxWidgets has started on a display.
extern bool desktopAvailable;

// Lets the toolkit handle what is pending (showing windows, painting them) until done()
// holds, for at most about two seconds; whether it came to hold.
template <class Done>
bool HandleEventsUntil(Done done) {
  for (int tries = 0; tries < 200 && !done(); ++tries) {
    wxTheApp->Yield(true);
    wxMilliSleep(10);
  }
  return done();
}

class DesktopTest : public KorvexTest {
 protected:
  void SetUp() override {
    if (!desktopAvailable) GTEST_SKIP() << "no display: neither DISPLAY nor xvfb-run is available";
    KorvexTest::SetUp();
  }
};

// What a modal dialog showed when it was asked to appear.
struct ShownDialog {
  // The dialog itself is gone once ShowModal returns; its class is kept.
  std::type_index type = typeid(void);
  int id = 0;
  wxString title;
  // Message boxes: text, caption and style. File dialogs: title, wildcard, folder, name
  // and style.
  wxString message;
  wxString caption;
  long style = 0;
  wxString wildcard;
  wxString directory;
  wxString filename;
};

class ModalDialogRecorder final : public wxModalDialogHook {
 public:
  ModalDialogRecorder() { Register(); }
  ~ModalDialogRecorder() override { Unregister(); }

  // Answers given in turn (wxID_OK, wxID_YES...); once used up, every dialog is cancelled.
  std::vector<int> answers;
  std::vector<ShownDialog> shown;

 protected:
  int Enter(wxDialog* dialog) override;
  void Exit(wxDialog*) override {}

 private:
  std::size_t answered_ = 0;
};

}  // namespace korvex::test
