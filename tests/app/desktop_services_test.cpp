// The desktop's answers to the shell's interfaces: message boxes for the platform layer,
// file dialogs for the rules, and wxConfig for the last-file setting.
#include <gtest/gtest.h>
#include <wx/fileconf.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "app/config_settings_store.h"
#include "app/desktop_file_chooser.h"
#include "desktop_test_support.h"
#include "platform/desktop_frontend.h"

namespace {

namespace platform = korvex::platform;
using korvex::platform::DesktopFrontend;
using korvex::platform::DesktopMessageStyle;
using korvex::shell::FileDialogKind;
using korvex::shell::FileDialogRequest;
using korvex::test::ModalDialogRecorder;

class DesktopServicesTest : public korvex::test::DesktopTest {};

TEST(DesktopMessageStyleTest, IconAndButtonsOfEachFlag) {
  EXPECT_EQ(DesktopMessageStyle(korvex::platform::kMessageOk), wxOK | wxICON_NONE);
  EXPECT_EQ(DesktopMessageStyle(korvex::platform::kMessageInformation), wxOK | wxICON_INFORMATION);
  EXPECT_EQ(DesktopMessageStyle(korvex::platform::kMessageYesNoWarning),
            wxYES_NO | wxICON_EXCLAMATION);
  EXPECT_EQ(DesktopMessageStyle(0x99), wxOK | wxICON_NONE);
}

// Without a session bus GTK's settings store can save nothing and says so at every file
// dialog: the settings then stay in memory. A bus known to the session, or a store the user
// chose, is left alone.
TEST(DesktopEnvironmentTest, SettingsStayInMemoryWithoutASessionBus) {
#ifdef _WIN32
  GTEST_SKIP() << "no GTK on Windows";
#else
  const char* const names[] = {"GSETTINGS_BACKEND", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR"};
  std::optional<std::string> saved[3];
  for (int i = 0; i < 3; ++i) {
    if (const char* value = std::getenv(names[i])) saved[i] = value;
  }
  const std::filesystem::path runtime =
      std::filesystem::temp_directory_path() / ("korvex-runtime-" + std::to_string(getpid()));
  std::filesystem::create_directories(runtime);
  const struct {
    const char* backend;
    const char* address;
    bool runtimeBus;
    const char* expected;
  } cases[] = {
      {nullptr, nullptr, false, "memory"},
      {nullptr, "", false, "memory"},
      {nullptr, "unix:path=/run/user/1000/bus", false, nullptr},
      {nullptr, nullptr, true, nullptr},
      {"dconf", nullptr, false, "dconf"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address == nullptr ? "no address" : c.address);
    for (const char* name : names) unsetenv(name);
    if (c.backend != nullptr) setenv("GSETTINGS_BACKEND", c.backend, 1);
    if (c.address != nullptr) setenv("DBUS_SESSION_BUS_ADDRESS", c.address, 1);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    std::filesystem::remove(runtime / "bus");
    if (c.runtimeBus) std::ofstream(runtime / "bus").put('\0');
    platform::PrepareDesktopEnvironment();
    const char* backend = std::getenv("GSETTINGS_BACKEND");
    if (c.expected == nullptr) {
      EXPECT_EQ(backend, nullptr);
    } else {
      ASSERT_NE(backend, nullptr);
      EXPECT_STREQ(backend, c.expected);
    }
  }
  std::filesystem::remove_all(runtime);
  for (int i = 0; i < 3; ++i) {
    if (saved[i]) {
      setenv(names[i], saved[i]->c_str(), 1);
    } else {
      unsetenv(names[i]);
    }
  }
#endif
}

TEST(FileDialogStyleTest, OpenWantsAnExistingFileSaveAsksBeforeReplacing) {
  EXPECT_EQ(FileDialogStyle(FileDialogKind::kOpen), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  EXPECT_EQ(FileDialogStyle(FileDialogKind::kSave), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  FileDialogRequest request;
  request.filterDescription = "Shape SHP files (*.shp)";
  request.filterPattern = "*.shp";
  EXPECT_EQ(FileDialogWildcard(request), "Shape SHP files (*.shp)|*.shp");
}

TEST_F(DesktopServicesTest, MessagesAreModalBoxesCaptionedKorvex) {
  DesktopFrontend frontend;
  ModalDialogRecorder recorder;
  recorder.answers = {wxID_OK, wxID_YES, wxID_NO};
  // Lines and non-ASCII characters arrive as they were.
  const char* text = "Empty Shapes DXF Created in\n/home/ann/f\xC3\xA4rg.dxf";
  EXPECT_EQ(frontend.ShowMessage(text, korvex::platform::kMessageOk), korvex::platform::kAnswerOk);
  EXPECT_EQ(frontend.ShowMessage("Go on?", korvex::platform::kMessageYesNoWarning),
            korvex::platform::kAnswerYes);
  EXPECT_EQ(frontend.ShowMessage("Go on?", korvex::platform::kMessageYesNoWarning),
            korvex::platform::kAnswerNo);
  // Closed without an answer: No.
  EXPECT_EQ(frontend.ShowMessage("Go on?", korvex::platform::kMessageYesNoWarning),
            korvex::platform::kAnswerNo);

  ASSERT_EQ(recorder.shown.size(), 4u);
  EXPECT_EQ(recorder.shown[0].message, wxString::FromUTF8(text));
  EXPECT_EQ(recorder.shown[0].caption, "Korvex");
  EXPECT_TRUE(recorder.shown[0].style & wxICON_NONE);
  EXPECT_TRUE(recorder.shown[1].style & wxYES_NO);
  EXPECT_TRUE(recorder.shown[1].style & wxICON_EXCLAMATION);
}

TEST_F(DesktopServicesTest, FileDialogsShowTheRequest) {
  const std::string folder = platform::PathText(scratch_) + "/";
  const FileDialogRequest save{FileDialogKind::kSave,
                               "Save To shp",
                               "Shape SHP files (*.shp)",
                               "*.shp",
                               "shp",
                               folder,
                               folder + "shapes.shp",
                               "Compiled shape SHX files (*.shx)",
                               "*.shx"};
  // Without a starting folder the dialog starts in the folder of the pre-filled path.
  const FileDialogRequest open{FileDialogKind::kOpen,
                               "Select DXF file",
                               "Shapes DXF files (*.dxf)",
                               "*.dxf",
                               "dxf",
                               "",
                               folder + "shapes.dxf",
                               "",
                               ""};
  DesktopFileChooser chooser(nullptr);
  ModalDialogRecorder recorder;
  EXPECT_EQ(chooser.Choose(save), std::nullopt) << "cancelled";
  chooser.Choose(open);

  ASSERT_EQ(recorder.shown.size(), 2u);
  EXPECT_EQ(recorder.shown[0].title, "Save To shp");
  EXPECT_EQ(recorder.shown[0].wildcard,
            "Shape SHP files (*.shp)|*.shp|Compiled shape SHX files (*.shx)|*.shx");
  EXPECT_EQ(recorder.shown[0].style & FileDialogStyle(FileDialogKind::kSave),
            FileDialogStyle(FileDialogKind::kSave));
  EXPECT_TRUE(recorder.shown[1].style & wxFD_FILE_MUST_EXIST);
  // wxFileDialog takes the folder and the bare name apart.
  EXPECT_EQ(recorder.shown[0].directory, wxString::FromUTF8(folder));
  EXPECT_EQ(recorder.shown[0].filename, "shapes.shp");
  EXPECT_EQ(recorder.shown[1].directory, wxString::FromUTF8(folder));
  EXPECT_EQ(recorder.shown[1].filename, "shapes.dxf");
}

TEST_F(DesktopServicesTest, SettingIsStoredUnderOptionsAndReadBack) {
  const wxString file = wxString::FromUTF8(platform::PathText(Scratch("Korvex.conf")));
  {
    wxFileConfig config("Korvex", "Tarnwell", file, wxString(), wxCONFIG_USE_LOCAL_FILE);
    ConfigSettingsStore store(config);
    EXPECT_EQ(store.ReadText("Options/Last file", "none"), "none");
    store.WriteText("Options/Last file", "/home/ann/f\xC3\xA4rg.dxf");
    // Written at once: readable before this config object is gone.
    const std::string text = korvex::test::ReadFileBytes(Scratch("Korvex.conf"));
    EXPECT_NE(text.find("[Options]"), std::string::npos) << text;
    EXPECT_NE(text.find("file=/home/ann/f\xC3\xA4rg.dxf"), std::string::npos) << text;
  }
  wxFileConfig again("Korvex", "Tarnwell", file, wxString(), wxCONFIG_USE_LOCAL_FILE);
  EXPECT_EQ(ConfigSettingsStore(again).ReadText("Options/Last file", ""),
            "/home/ann/f\xC3\xA4rg.dxf");
}

}  // namespace
