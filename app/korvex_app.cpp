// CKorvexApp: start-up, the last-file setting, and the menu commands' handlers.
#include "app/korvex_app.h"

#include <wx/config.h>
#include <wx/stdpaths.h>
#include <wx/time.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

#include <filesystem>
#include <system_error>

#include "app/about_dlg.h"
#include "app/child_view.h"
#include "app/command_ids.h"
#include "app/conversion_dialog_rules.h"
#include "app/desktop_file_chooser.h"
#include "app/dialog_paths.h"
#include "app/drawing_converter.h"
#include "app/korvex_dlg.h"
#include "app/main_frame.h"
#include "app/shape_file_opening.h"
#include "app/sheet_drawing_writing.h"
#include "app/template_creation.h"
#include "app/template_files.h"
#include "platform/platform.h"

namespace {

// The main window's sheet as the conversion dialog updates it, with what the conversion
// left out.
class MainWindowPreview final : public korvex::shell::ConversionPreview {
 public:
  MainWindowPreview(CMainFrame& frame, const korvex::shell::ConversionRunConverter& converter)
      : frame_(frame), converter_(converter) {}

  void ShowWritten(const std::string& outputPath) override {
    frame_.ShowConversion(korvex::platform::PathFromUtf8(outputPath), converter_.LastLeftOut());
    // Drawn now, before the message box that says the file was written.
    frame_.View()->Update();
  }
  void ShowFailed() override {
    frame_.MarkSheetStale();
    frame_.View()->Update();
  }

 private:
  CMainFrame& frame_;
  const korvex::shell::ConversionRunConverter& converter_;
};

}  // namespace

wxBEGIN_EVENT_TABLE(CKorvexApp, wxApp)
  EVT_MENU(wxID_EXIT, CKorvexApp::OnAppExit)
  EVT_MENU(wxID_ABOUT, CKorvexApp::OnAppAbout)
  EVT_MENU(ID_GENERATE_SHAPE_FILE, CKorvexApp::OnGenerateShapeFile)
  EVT_MENU(ID_CREATE_EMPTY_SHAPES_FILE, CKorvexApp::OnCreateEmptyShapesFile)
  EVT_MENU(ID_LATEST_VERSION_INFO, CKorvexApp::OnLatestVersionInfo)
  EVT_MENU(ID_DOWNLOAD_CURRENT_VERSION, CKorvexApp::OnDownloadCurrentVersion)
  EVT_MENU(wxID_HELP, CKorvexApp::OnUserManual)
  EVT_MENU(ID_OPEN_SHAPE_FILE, CKorvexApp::OnOpenShapeFile)
  EVT_MENU(ID_WRITE_SHEET_DRAWING, CKorvexApp::OnWriteSheetDrawing)
wxEND_EVENT_TABLE()

CKorvexApp::CKorvexApp() = default;
CKorvexApp::~CKorvexApp() = default;

bool CKorvexApp::Initialize(int& argc, wxChar** argv) {
  korvex::platform::PrepareDesktopEnvironment();
  return wxApp::Initialize(argc, argv);
}

bool CKorvexApp::OnInit() {
  // The base OnInit is not run: it would parse the command line and refuse arguments the
  // program has no use for. Common controls, OLE and ActiveX hosting need no set-up here:
  // wxWidgets prepares its native controls itself and the program embeds no OLE objects.
  korvex::platform::InstallFrontend(frontend_);

  // The settings key: HKEY_CURRENT_USER\Software\Tarnwell\Korvex on Windows; elsewhere
  // Korvex.conf in the user's configuration folder.
  SetVendorName("Tarnwell");
  SetAppName("Korvex");
#ifdef __UNIX__
  wxStandardPaths::Get().SetFileLayout(wxStandardPaths::FileLayout_XDG);
#endif
  config_ = std::make_unique<wxConfig>("Korvex", "Tarnwell");
  settings_ = std::make_unique<ConfigSettingsStore>(*config_);
  lastFile_.Load(*settings_);
  placement_.Load(*settings_);

  auto* frame = new CMainFrame(&placement_);
  SetTopWindow(frame);
  frame->Show();
  frame->Update();

  // A drawing given on the command line (a file manager's Open With) becomes the input, as
  // if chosen with Browse, and the conversion dialog opens once the window is up.
  if (argc > 1) {
    const std::filesystem::path given = korvex::platform::PathFromUtf8(argv[1].utf8_string());
    std::error_code error;
    const std::filesystem::path drawing = std::filesystem::absolute(given, error);
    lastFile_.Assign(korvex::platform::PathText(error ? given : drawing));
    Bind(wxEVT_IDLE, &CKorvexApp::OnFirstIdleWithDrawing, this);
  }
  return true;
}

void CKorvexApp::OnFirstIdleWithDrawing(wxIdleEvent& event) {
  event.Skip();
  // A window manager gives the main window the focus once it is up, and keeps a dialog
  // shown before that under it; without one (or a slow one) the dialog comes after a while.
  static const wxLongLong waitingSince = wxGetLocalTimeMillis();
  auto* frame = dynamic_cast<wxTopLevelWindow*>(GetTopWindow());
  if (frame != nullptr && !frame->IsActive() && wxGetLocalTimeMillis() - waitingSince < 2000) {
    wxMilliSleep(10);  // a look every 10 ms, not a busy loop
    event.RequestMore();
    return;
  }
  Unbind(wxEVT_IDLE, &CKorvexApp::OnFirstIdleWithDrawing, this);
  CallAfter([this] {
    wxCommandEvent command;
    OnGenerateShapeFile(command);
  });
}

void CKorvexApp::OnAppExit(wxCommandEvent&) {
  // Closing the main window ends the message loop and so the program.
  if (wxWindow* frame = GetTopWindow()) frame->Close();
}

void CKorvexApp::OnAppAbout(wxCommandEvent&) {
  CAboutDlg dialog(GetTopWindow());
  dialog.ShowModal();
}

void CKorvexApp::OnGenerateShapeFile(wxCommandEvent&) {
  DesktopFileChooser chooser(nullptr);
  korvex::shell::ConversionRunConverter converter;
  korvex::shell::ConversionDialogRules rules(lastFile_, chooser, converter,
                                             std::string(wxGetHomeDir().utf8_str()));
  // The sheet of what was written, shown at once, so the user sees the shapes before
  // compiling them.
  auto* frame = dynamic_cast<CMainFrame*>(GetTopWindow());
  std::unique_ptr<MainWindowPreview> preview;
  if (frame != nullptr) preview = std::make_unique<MainWindowPreview>(*frame, converter);
  rules.SetPreview(preview.get());
  CKorvexDlg dialog(GetTopWindow(), rules);
  chooser.SetParent(&dialog);
  dialog.ShowModal();
}

void CKorvexApp::OnCreateEmptyShapesFile(wxCommandEvent&) {
  DesktopFileChooser chooser(GetTopWindow());
  korvex::shell::SupportTemplateFiles files;
  korvex::shell::TemplateCreation(chooser, files).CreateEmptyShapesFile();
}

void CKorvexApp::OnLatestVersionInfo(wxCommandEvent&) {
  korvex::shell::OpenProductPage(*pageOpener_, korvex::shell::ProductPage::kReleaseNotes);
}

void CKorvexApp::OnDownloadCurrentVersion(wxCommandEvent&) {
  korvex::shell::OpenProductPage(*pageOpener_, korvex::shell::ProductPage::kDownload);
}

void CKorvexApp::OnUserManual(wxCommandEvent&) {
  korvex::shell::OpenProductPage(*pageOpener_, korvex::shell::ProductPage::kUserManual);
}

void CKorvexApp::OnOpenShapeFile(wxCommandEvent&) {
  auto* frame = dynamic_cast<CMainFrame*>(GetTopWindow());
  if (frame == nullptr) return;
  DesktopFileChooser chooser(frame);
  // Where the user last was: the folder of the sheet shown, else of the last drawing.
  const std::string& near =
      frame->Sheet().Path().empty() ? lastFile_.Value() : frame->Sheet().Path();
  korvex::shell::ShapeFileOpening(chooser, *frame)
      .OpenShapeFile(korvex::shell::FolderWithSeparator(near));
}

void CKorvexApp::OnWriteSheetDrawing(wxCommandEvent&) {
  auto* frame = dynamic_cast<CMainFrame*>(GetTopWindow());
  DesktopFileChooser chooser(frame);
  // The shape file shown is the one most likely wanted; else start where the user last was.
  const std::string shown = frame != nullptr ? frame->Sheet().Path() : std::string();
  const auto written = korvex::shell::SheetDrawingWriting(chooser).WriteSheetDrawing(
      shown, korvex::shell::FolderWithSeparator(lastFile_.Value()));
  // The new drawing is the one to convert once it is edited.
  if (written) lastFile_.Assign(*written);
}
