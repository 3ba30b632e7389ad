// Addresses of the product's web pages.
#include "app/product_pages.h"

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

}  // namespace korvex::shell
