// Named IDs of the desktop program: menu commands, dialogs and the conversion dialog's
// controls.
#pragma once

#include <wx/defs.h>

// Menu commands of the main window. The classic numbers of the program's own commands
// (0x8004 and up) lie above wxWidgets' limit of 0x7FFF, so the commands keep their names
// and take IDs in wxWidgets' range. Exit, About and User Manual use wxWidgets' own
// wxID_EXIT, wxID_ABOUT and wxID_HELP.
enum CommandId {
  ID_VIEW_STATUS_BAR = wxID_HIGHEST + 1,
  ID_GENERATE_SHAPE_FILE,
  ID_LATEST_VERSION_INFO,
  ID_DOWNLOAD_CURRENT_VERSION,
  ID_CREATE_EMPTY_SHAPES_FILE,
  ID_OPEN_SHAPE_FILE,
  ID_WRITE_SHEET_DRAWING,
};

// Window IDs of the two dialogs.
enum DialogId {
  IDD_ABOUTBOX = 100,
  IDD_KORVEX_DIALOG = 102,
};

// Controls of the conversion dialog. Its Generate and Exit to Main Menu buttons are
// wxID_OK and wxID_CANCEL, so that Enter, Esc and the close box reach them.
enum ConversionDialogControlId {
  IDC_EXIT_PROGRAM = 1000,
  IDC_INPUT_PATH = 1047,
  IDC_OUTPUT_PATH = 1048,
  IDC_BROWSE_INPUT = 1049,
  IDC_BROWSE_OUTPUT = 1050,
  IDC_INPUT_LABEL = 1084,
  IDC_OUTPUT_LABEL = 1085,
};
