// The About box: caption, size and its controls in dialog units, the version among them.
#include "app/about_dlg.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "app/command_ids.h"
#include "app/dialog_units.h"
#include "desktop_test_support.h"

namespace {

class AboutDlgTest : public korvex::test::DesktopTest {};

TEST_F(AboutDlgTest, CaptionControlsAndPlaces) {
  auto* dialog = new CAboutDlg(nullptr);
  EXPECT_EQ(dialog->GetTitle(), "About Korvex ");
  EXPECT_EQ(dialog->GetId(), IDD_ABOUTBOX);
  EXPECT_EQ(dialog->GetClientSize(), dialog->ConvertDialogToPixels(wxSize(235, 83)));

  const wxWindowList& children = dialog->GetChildren();
  ASSERT_EQ(children.size(), 5u);
  auto child = children.begin();
  wxWindow* icon = *child++;
  wxWindow* name = *child++;
  wxWindow* version = *child++;
  wxWindow* copyright = *child++;
  wxWindow* ok = *child++;

  EXPECT_NE(dynamic_cast<wxStaticBitmap*>(icon), nullptr);
  EXPECT_EQ(icon->GetRect(), DialogUnitsToPixels(dialog, 11, 17, 20, 20));
  ASSERT_NE(dynamic_cast<wxStaticText*>(name), nullptr);
  EXPECT_EQ(static_cast<wxStaticText*>(name)->GetLabelText(), "Korvex");
  EXPECT_EQ(name->GetRect(), DialogUnitsToPixels(dialog, 40, 10, 119, 8));
  ASSERT_NE(dynamic_cast<wxStaticText*>(version), nullptr);
  EXPECT_EQ(version->GetLabel(), "Version " KORVEX_VERSION);
  EXPECT_EQ(version->GetRect(), DialogUnitsToPixels(dialog, 40, 20, 119, 8));
  ASSERT_NE(dynamic_cast<wxStaticText*>(copyright), nullptr);
  EXPECT_EQ(copyright->GetLabel(), kCopyrightLine);
  EXPECT_EQ(copyright->GetRect(), DialogUnitsToPixels(dialog, 40, 30, 163, 8));
  ASSERT_NE(dynamic_cast<wxButton*>(ok), nullptr);
  EXPECT_EQ(ok->GetId(), wxID_OK);
  EXPECT_EQ(ok->GetLabel(), "OK");
  EXPECT_EQ(ok->GetRect(), DialogUnitsToPixels(dialog, 178, 7, 50, 14));
  EXPECT_EQ(dialog->GetDefaultItem(), ok);
  dialog->Destroy();
}

}  // namespace
