// BrowserPageOpener: wxLaunchDefaultBrowser, quietly.
#include "app/browser_page_opener.h"

#include <wx/log.h>
#include <wx/utils.h>

void BrowserPageOpener::Open(const std::string& address) {
  // A page that can't be opened (no browser, no network) gives no message, and
  // wxLaunchDefaultBrowser would log one.
  wxLogNull quiet;
  wxLaunchDefaultBrowser(wxString::FromUTF8(address));
}
