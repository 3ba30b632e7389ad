// Addresses of the product's web pages, and what the user is told when none opens.
#include "app/product_pages.h"

#include "platform/platform.h"

namespace korvex::shell {

std::string ProductPageAddress(ProductPage page) {
  switch (page) {
    case ProductPage::kReleaseNotes:
      return std::string(kProductSite) + "/shp_release_notes.html";
    case ProductPage::kDownload:
      return std::string(kProductSite) + "/shp_download.html";
    case ProductPage::kUserManual:
      return std::string(kProductSite) + "/shp_help.pdf";
  }
  return kProductSite;
}

bool OpenProductPage(PageOpener& opener, ProductPage page) {
  const std::string address = ProductPageAddress(page);
  if (opener.Open(address)) return true;
  platform::ShowMessage("Cannot open " + address +
                            "\nNo web browser could be started: open the address in one "
                            "yourself.",
                        platform::kMessageOk);
  return false;
}

}  // namespace korvex::shell
