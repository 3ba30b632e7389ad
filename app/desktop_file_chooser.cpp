// DesktopFileChooser: shows wxFileDialog and gives a typed name the default extension,
// asking before that name replaces an existing file.
#include "app/desktop_file_chooser.h"

#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/msgdlg.h>

#include "app/dialog_paths.h"

using korvex::shell::FileDialogKind;
using korvex::shell::FileDialogRequest;

long FileDialogStyle(FileDialogKind kind) {
  return kind == FileDialogKind::kOpen ? wxFD_OPEN | wxFD_FILE_MUST_EXIST
                                       : wxFD_SAVE | wxFD_OVERWRITE_PROMPT;
}

wxString FileDialogWildcard(const FileDialogRequest& request) {
  wxString wildcard = wxString::FromUTF8(request.filterDescription) + "|" +
                      wxString::FromUTF8(request.filterPattern);
  if (!request.otherFilterPattern.empty()) {
    wildcard += "|" + wxString::FromUTF8(request.otherFilterDescription) + "|" +
                wxString::FromUTF8(request.otherFilterPattern);
  }
  return wildcard;
}

std::optional<std::string> DesktopFileChooser::Choose(const FileDialogRequest& request) {
  // wxFileDialog takes the folder and the bare name apart; a pre-filled full path starts
  // the dialog in its own folder unless the request names one.
  std::string folder = korvex::shell::FolderWithSeparator(request.fileName);
  std::string name = request.fileName.substr(folder.size());
  if (!request.startFolder.empty()) folder = request.startFolder;

  while (true) {
    wxFileDialog dialog(parent_, wxString::FromUTF8(request.title), wxString::FromUTF8(folder),
                        wxString::FromUTF8(name), FileDialogWildcard(request),
                        FileDialogStyle(request.kind));
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;

    const std::string chosen(dialog.GetPath().utf8_str());
    if (request.kind == FileDialogKind::kOpen) return chosen;

    // GTK's dialog leaves a typed name without extension as it is, and only asked about
    // that name; the file written is the one with the default extension.
    const std::string target =
        korvex::shell::WithDefaultExtension(chosen, request.defaultExtension);
    if (target == chosen || !wxFileExists(wxString::FromUTF8(target))) return target;
    const wxString question = wxString::FromUTF8(korvex::shell::ReplaceQuestion(target));
    if (wxMessageBox(question, wxString::FromUTF8(request.title), wxYES_NO | wxICON_EXCLAMATION) ==
        wxYES) {
      return target;
    }
    folder = korvex::shell::FolderWithSeparator(target);
    name = target.substr(folder.size());
  }
}
