// CKorvexApp: the application object. It starts the program (front end, settings, main
// window), owns the last-file setting, and handles the menu commands, which wxWidgets
// offers to the application after the main window.
#pragma once

#include <wx/app.h>

#include <memory>

#include "app/browser_page_opener.h"
#include "app/config_settings_store.h"
#include "app/product_pages.h"
#include "app/settings_store.h"
#include "app/window_placement.h"
#include "platform/desktop_frontend.h"

class wxConfigBase;

class CKorvexApp : public wxApp {
 public:
  CKorvexApp();
  ~CKorvexApp() override;

  // Prepares the desktop toolkit's environment before wxWidgets starts it.
  bool Initialize(int& argc, wxChar** argv) override;
  bool OnInit() override;

  korvex::shell::LastFileSetting& LastFile() { return lastFile_; }
  // Where the web-page commands send their addresses; the system's browser by default.
  void SetPageOpener(korvex::shell::PageOpener& opener) { pageOpener_ = &opener; }

 private:
  void OnFirstIdleWithDrawing(wxIdleEvent& event);
  void OnAppExit(wxCommandEvent& event);
  void OnAppAbout(wxCommandEvent& event);
  void OnGenerateShapeFile(wxCommandEvent& event);
  void OnCreateEmptyShapesFile(wxCommandEvent& event);
  void OnLatestVersionInfo(wxCommandEvent& event);
  void OnDownloadCurrentVersion(wxCommandEvent& event);
  void OnUserManual(wxCommandEvent& event);
  void OnOpenShapeFile(wxCommandEvent& event);
  void OnWriteSheetDrawing(wxCommandEvent& event);

  korvex::platform::DesktopFrontend frontend_;
  std::unique_ptr<wxConfigBase> config_;
  std::unique_ptr<ConfigSettingsStore> settings_;
  korvex::shell::LastFileSetting lastFile_;
  korvex::shell::WindowPlacementSetting placement_;
  BrowserPageOpener browser_;
  korvex::shell::PageOpener* pageOpener_ = &browser_;

  wxDECLARE_EVENT_TABLE();
};

wxDECLARE_APP(CKorvexApp);
