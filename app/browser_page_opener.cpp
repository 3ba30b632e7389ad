// BrowserPageOpener: wxLaunchDefaultBrowser, quietly: the caller tells the user.
#include "app/browser_page_opener.h"

#include <wx/log.h>
#include <wx/utils.h>

bool BrowserPageOpener::Open(const std::string& address) {
  // wxLaunchDefaultBrowser would log its own message, without the address.
  wxLogNull quiet;
  return wxLaunchDefaultBrowser(wxString::FromUTF8(address));
}
