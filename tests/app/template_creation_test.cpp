// Creation of an empty working drawing: the template check, the save dialog, the copy and
// the confirmation.
#include "app/template_creation.h"

#include <gtest/gtest.h>

#include "shell_fakes.h"
#include "test_support.h"

namespace korvex::shell {
namespace {

using korvex::test::FakeTemplateFiles;
using korvex::test::ReadFileBytes;
using korvex::test::ScriptedFileChooser;
using korvex::test::WriteFileBytes;

constexpr const char* kTemplateMissing =
    "ShapesTemplate.dxf support file not found\nTry reinstalling Korvex";

std::string Confirmation(const std::string& path) {
  return "Empty Shapes DXF Created in\n" + path +
         "\nProceed to add your shapes to this file using AutoCAD"
         "\nWhen finished, run Korvex to create your shape (SHP) file";
}

class TemplateCreationTest : public korvex::test::KorvexTest {
 protected:
  // Lays out a program folder whose Support folder holds a template with these bytes.
  void InstallTemplate(const std::string& bytes) {
    std::filesystem::create_directories(Scratch("program") / "Support");
    WriteFileBytes(Scratch("program") / "Support" / "ShapesTemplate.dxf", bytes);
    frontend_.executableFolder = Scratch("program");
  }
  std::string PathOf(const std::string& name) const { return platform::PathText(Scratch(name)); }

  ScriptedFileChooser chooser_;
  SupportTemplateFiles files_;
  TemplateCreation creation_{chooser_, files_};
};

TEST_F(TemplateCreationTest, WithoutSupportFolderSaysNotFoundAndOpensNoDialog) {
  std::filesystem::create_directories(Scratch("program"));
  frontend_.executableFolder = Scratch("program");
  EXPECT_FALSE(creation_.CreateEmptyShapesFile());
  EXPECT_TRUE(chooser_.requests.empty());
  ASSERT_EQ(frontend_.messages.size(), 1u);
  EXPECT_EQ(frontend_.MessageText(0), kTemplateMissing);
  EXPECT_EQ(frontend_.MessageFlags(0), platform::kMessageInformation);
}

TEST_F(TemplateCreationTest, UnknownFolderOrUnreadableTemplateSaysNotFound) {
  FakeTemplateFiles unknownFolder;
  unknownFolder.templatePath.clear();
  FakeTemplateFiles unreadable;
  unreadable.readable = false;
  for (FakeTemplateFiles* files : {&unknownFolder, &unreadable}) {
    frontend_.messages.clear();
    EXPECT_FALSE(TemplateCreation(chooser_, *files).CreateEmptyShapesFile());
    EXPECT_TRUE(chooser_.requests.empty());
    ASSERT_EQ(frontend_.messages.size(), 1u);
    EXPECT_EQ(frontend_.MessageText(0), kTemplateMissing);
    EXPECT_EQ(frontend_.MessageFlags(0), platform::kMessageInformation);
  }
}

TEST_F(TemplateCreationTest, SaveDialogAsksForADxfFile) {
  InstallTemplate("template bytes\n");
  creation_.CreateEmptyShapesFile();
  // No starting folder and an empty name: the platform chooses.
  const FileDialogRequest expected{FileDialogKind::kSave,
                                   "Create Shapes DXF file",
                                   "AutoCAD DXF files (*.dxf)",
                                   "*.dxf",
                                   "dxf",
                                   "",
                                   "",
                                   "",
                                   ""};
  EXPECT_EQ(chooser_.requests, std::vector<FileDialogRequest>{expected});
}

TEST_F(TemplateCreationTest, CancelDoesNothing) {
  InstallTemplate("template bytes\n");
  chooser_.answers = {std::nullopt};
  EXPECT_FALSE(creation_.CreateEmptyShapesFile());
  EXPECT_TRUE(frontend_.messages.empty());
}

TEST_F(TemplateCreationTest, AnyReadableTemplateIsCopiedByteForByte) {
  // The content is not examined: CR LF, a NUL and no DXF at all are copied as they are.
  const std::string bytes("not a drawing\r\n\0\x1A end", 21);
  InstallTemplate(bytes);
  chooser_.answers = {PathOf("new.dxf")};
  EXPECT_TRUE(creation_.CreateEmptyShapesFile());
  EXPECT_EQ(ReadFileBytes(Scratch("new.dxf")), bytes);
  ASSERT_EQ(frontend_.messages.size(), 1u);
  EXPECT_EQ(frontend_.MessageText(0), Confirmation(PathOf("new.dxf")));
  EXPECT_EQ(frontend_.MessageFlags(0), platform::kMessageOk);
}

TEST_F(TemplateCreationTest, NameWithoutExtensionGetsDxf) {
  InstallTemplate("template bytes\n");
  chooser_.answers = {PathOf("new")};
  EXPECT_TRUE(creation_.CreateEmptyShapesFile());
  EXPECT_TRUE(std::filesystem::exists(Scratch("new.dxf")));
  EXPECT_FALSE(std::filesystem::exists(Scratch("new")));
  ASSERT_EQ(frontend_.messages.size(), 1u);
  EXPECT_EQ(frontend_.MessageText(0), Confirmation(PathOf("new.dxf")));
}

TEST_F(TemplateCreationTest, ExistingFileIsReplaced) {
  InstallTemplate("template bytes\n");
  WriteFileBytes(Scratch("old.dxf"), "an older drawing that is longer than the template\n");
  chooser_.answers = {PathOf("old.dxf")};
  EXPECT_TRUE(creation_.CreateEmptyShapesFile());
  EXPECT_EQ(ReadFileBytes(Scratch("old.dxf")), "template bytes\n");
}

TEST_F(TemplateCreationTest, FailedCopyIsReportedWithoutConfirmation) {
  InstallTemplate("template bytes\n");
  const std::string target = PathOf("no-such-folder/new.dxf");
  chooser_.answers = {target};
  EXPECT_FALSE(creation_.CreateEmptyShapesFile());
  ASSERT_EQ(frontend_.messages.size(), 1u);
  const std::string& text = frontend_.MessageText(0);
  EXPECT_EQ(text.rfind("Empty Shapes DXF Not Created in\n" + target + "\n", 0), 0u) << text;
  EXPECT_EQ(frontend_.MessageFlags(0), platform::kMessageOk);
}

TEST_F(TemplateCreationTest, ShippedTemplateIsFoundBesideTheProgram) {
  // The build lays the support files out beside the programs, as an installation does.
  frontend_.executableFolder = korvex::test::BinFolder();
  chooser_.answers = {PathOf("shapes.dxf")};
  EXPECT_TRUE(creation_.CreateEmptyShapesFile());
  EXPECT_EQ(ReadFileBytes(Scratch("shapes.dxf")),
            ReadFileBytes(korvex::test::SourceFolder() / "Support" / "ShapesTemplate.dxf"));
}

}  // namespace
}  // namespace korvex::shell
