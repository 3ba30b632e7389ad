// Entry point of the desktop program Korvex: wxWidgets creates the one CKorvexApp and runs
// its message loop.
#include "app/korvex_app.h"

wxIMPLEMENT_APP(CKorvexApp);
