// What only the Windows build does: wide file names (for the drawing, the shape file and the
// program's own folder), the program's folder from the module's path, C library files with
// line ends that must not be translated, and the version resource and manifest compiled into
// korvex-cli.exe. Built into the test suite for Windows only and
// run there, or under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "conversion/conversion_run.h"
#include "platform/platform.h"
#include "shape_output/shp_writer.h"
#include "test_support.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace korvex {
namespace {

using test::DxfBuilder;
using test::KorvexTest;
using test::ReadFileBytes;
using test::U8Path;
using test::WriteFileBytes;

// File and folder names in the scripts our users write: Cyrillic, CJK, accented Latin, and
// a mix with blanks.
const char8_t* const kWideNames[] = {
    u8"\u0424\u0438\u0433\u0443\u0440\u044b",               // Фигуры
    u8"\u5f62\u72b6\u56f3",                                 // 形状図
    u8"caf\u00e9 d\u00e9j\u00e0 \u00fcber",                 // café déjà über
    u8"\u0416 \u5f62 \u00e9 mixed",                         // Ж 形 é mixed
    u8"\u03c3\u03c7\u03ae\u03bc\u03b1\u03c4\u03b1-\u00f1",  // σχήματα-ñ
};

// One line in cell 18 and a text in cell 1: the text needs the glyph file.
const std::string kLineDrawing = DxfBuilder().Markers().Line(135, 1760, 215, 1760).Build();
const std::string kLineShp = "*18,11,SHAPE18\r\n3,100,2,8,(10,10),1,8,(80,0),0\r\n\x1a";
const std::string kTextDrawing =
    DxfBuilder().Markers().Text(10, 1890, 30, "Ab").Line(135, 1760, 215, 1760).Build();

class WindowsTest : public KorvexTest {
 protected:
  // korvex-cli.exe from the program folder given (the build's by default).
  test::ProgramRun RunCli(const std::vector<std::filesystem::path>& arguments,
                          const std::filesystem::path& programFolder = test::BinFolder(),
                          const std::filesystem::path& workingFolder = {}) {
    return test::RunProgram(programFolder / test::kCliFileName, arguments, Scratch("run"),
                            workingFolder);
  }

  // A copy of the program in a folder of its own, with the support files when asked.
  std::filesystem::path ProgramCopy(const std::filesystem::path& folder, bool withSupport) {
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(test::BinFolder() / test::kCliFileName, folder / test::kCliFileName);
    if (withSupport) {
      std::filesystem::copy_file(test::BinFolder() / kGlyphFileName, folder / kGlyphFileName);
      std::filesystem::create_directories(folder / "Support");
      std::filesystem::copy_file(test::BinFolder() / "Support" / "ShapesTemplate.dxf",
                                 folder / "Support" / "ShapesTemplate.dxf");
    }
    return folder;
  }

  // The bytes the conversion writes in this process, with the build's glyph file.
  std::string ConvertHere(const std::string& drawing) {
    const std::string shp = Convert(drawing);
    std::filesystem::remove(Scratch("out.shp"));
    std::filesystem::remove(Scratch("in.dxf"));
    return shp;
  }
};

// ---------------------------------------------------------------------------------------
// Wide file names
// ---------------------------------------------------------------------------------------

TEST_F(WindowsTest, ConversionReadsAndWritesWideNames) {
  for (const char8_t* name : kWideNames) {
    const std::filesystem::path folder = scratch_ / U8Path(name);
    SCOPED_TRACE(platform::PathText(folder));
    std::filesystem::create_directories(folder);
    std::filesystem::path input = folder / U8Path(name);
    input += ".dxf";
    std::filesystem::path output = folder / U8Path(name);
    output += ".shp";
    WriteFileBytes(input, kLineDrawing);
    frontend_.messages.clear();
    ASSERT_EQ(ConvertDrawing(input, output), Outcome::kDone);
    EXPECT_EQ(ReadFileBytes(output), kLineShp);
    EXPECT_TRUE(frontend_.messages.empty());
  }
}

TEST_F(WindowsTest, MessagesNameWideFilesInUtf8) {
  const std::filesystem::path missing = scratch_ / U8Path(kWideNames[0]) / U8Path(u8"\u5f62.dxf");
  EXPECT_NE(ConvertDrawing(missing, Scratch("out.shp")), Outcome::kDone);
  ASSERT_FALSE(frontend_.messages.empty());
  const std::u8string name = missing.u8string();
  EXPECT_EQ(frontend_.MessageText(0), "Error opening DXF file " +
                                          std::string(name.begin(), name.end()) +
                                          "\nNo such file or directory");
}

TEST_F(WindowsTest, CliConvertsWideNamedDrawingsBesideThemAndToWideOutputs) {
  for (const char8_t* name : kWideNames) {
    const std::filesystem::path folder = scratch_ / U8Path(name);
    SCOPED_TRACE(platform::PathText(folder));
    std::filesystem::create_directories(folder);
    std::filesystem::path input = folder / U8Path(name);
    input += ".dxf";
    WriteFileBytes(input, kLineDrawing);

    test::ProgramRun run = RunCli({"convert", input});
    EXPECT_EQ(run.status, cli::kExitWritten) << run.err;
    const std::filesystem::path beside = cli::DefaultShapePath(input);
    EXPECT_EQ(ReadFileBytes(beside), kLineShp);
    EXPECT_EQ(run.out, "Shape file written: " + platform::PathText(beside) + "\n");

    const std::filesystem::path other =
        scratch_ / U8Path(u8"\u0432\u044b\u0432\u043e\u0434 \u51fa\u529b.shp");
    run = RunCli({"convert", input, "-o", other});
    EXPECT_EQ(run.status, cli::kExitWritten) << run.err;
    EXPECT_EQ(ReadFileBytes(other), kLineShp);
    std::filesystem::remove(other);
  }
}

TEST_F(WindowsTest, CliTemplateWritesAWideNamedDrawing) {
  const std::filesystem::path target =
      scratch_ / U8Path(u8"\u041d\u043e\u0432\u044b\u0439 \u65b0.dxf");
  const test::ProgramRun run = RunCli({"template", target});
  EXPECT_EQ(run.status, cli::kExitWritten) << run.err;
  EXPECT_EQ(ReadFileBytes(target),
            ReadFileBytes(test::BinFolder() / "Support" / "ShapesTemplate.dxf"));
  EXPECT_NE(run.out.find(platform::PathText(target)), std::string::npos) << run.out;
}

TEST_F(WindowsTest, CliRefusesAMissingWideNamedDrawingNamingItInUtf8) {
  const std::filesystem::path missing = scratch_ / U8Path(u8"\u043d\u0435\u0442 \u7121.dxf");
  const test::ProgramRun run = RunCli({"convert", missing});
  EXPECT_EQ(run.status, cli::kExitNotWritten);
  EXPECT_NE(run.err.find("Error opening DXF file " + platform::PathText(missing)),
            std::string::npos)
      << run.err;
}

// ---------------------------------------------------------------------------------------
// The program's folder: where the glyph file and the template are looked for
// ---------------------------------------------------------------------------------------

TEST_F(WindowsTest, RunningFolderIsTheFolderOfTheTestProgram) {
  const std::filesystem::path folder = platform::RunningExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(folder.is_absolute());
  EXPECT_TRUE(std::filesystem::equivalent(folder, test::BinFolder().parent_path() / "tests"));
}

TEST_F(WindowsTest, ProgramInAWideNamedFolderFindsItsGlyphFileAndTemplate) {
  const std::string expected = ConvertHere(kTextDrawing);
  ASSERT_NE(expected.find("*1,"), std::string::npos) << "the text is drawn in shape 1";
  for (const char8_t* name : kWideNames) {
    const std::filesystem::path program = ProgramCopy(scratch_ / U8Path(name) / "bin", true);
    SCOPED_TRACE(platform::PathText(program));
    // The current folder, elsewhere, holds no glyph file.
    const std::filesystem::path work = scratch_ / U8Path(name) / "work";
    std::filesystem::create_directories(work);
    WriteFileBytes(work / "in.dxf", kTextDrawing);

    test::ProgramRun run = RunCli({"convert", work / "in.dxf"}, program, work);
    EXPECT_EQ(run.status, cli::kExitWritten) << run.err;
    EXPECT_EQ(ReadFileBytes(work / "in.shp"), expected);

    run = RunCli({"template", work / "new.dxf"}, program, work);
    EXPECT_EQ(run.status, cli::kExitWritten) << run.err;
    EXPECT_EQ(ReadFileBytes(work / "new.dxf"),
              ReadFileBytes(program / "Support" / "ShapesTemplate.dxf"));
  }
}

TEST_F(WindowsTest, GlyphFileInTheCurrentFolderIsNotUsed) {
  const std::filesystem::path program = ProgramCopy(scratch_ / U8Path(kWideNames[1]), false);
  const std::filesystem::path work = Scratch("work");
  std::filesystem::create_directories(work);
  std::filesystem::copy_file(test::BinFolder() / kGlyphFileName, work / kGlyphFileName);
  WriteFileBytes(work / "in.dxf", kTextDrawing);
  WriteFileBytes(work / "in.shp", "precious");

  const test::ProgramRun run = RunCli({"convert", "in.dxf"}, program, work);
  EXPECT_EQ(run.status, platform::kExitStopped);
  EXPECT_NE(run.err.find("SHPTXT.SHP file not found"), std::string::npos) << run.err;
  EXPECT_EQ(ReadFileBytes(work / "in.shp"), "precious");
  // Nothing else appeared beside the drawing: no temporary file was left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(work),
                          std::filesystem::directory_iterator()),
            3);
}

TEST_F(WindowsTest, TemplateBesideTheCurrentFolderIsNotUsed) {
  const std::filesystem::path program = ProgramCopy(Scratch("bare"), false);
  const std::filesystem::path work = Scratch("work");
  std::filesystem::create_directories(work / "Support");
  std::filesystem::copy_file(test::BinFolder() / "Support" / "ShapesTemplate.dxf",
                             work / "Support" / "ShapesTemplate.dxf");
  const test::ProgramRun run = RunCli({"template", "new.dxf"}, program, work);
  EXPECT_EQ(run.status, platform::kExitStopped);
  EXPECT_NE(run.err.find("ShapesTemplate.dxf support file not found"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(work / "new.dxf"));
}

// ---------------------------------------------------------------------------------------
// Line ends: the C library's text mode must not touch them
// ---------------------------------------------------------------------------------------

// Every LF follows a CR, no CR stands alone or doubled, and the last byte is 0x1A alone.
void ExpectCrLfOnceAndEndMark(const std::string& shp) {
  ASSERT_GE(shp.size(), 3u);
  EXPECT_EQ(shp.back(), '\x1a');
  EXPECT_EQ(std::count(shp.begin(), shp.end(), '\x1a'), 1);
  EXPECT_EQ(shp.substr(shp.size() - 3), "\r\n\x1a");
  EXPECT_EQ(shp.find("\r\r"), std::string::npos);
  for (std::size_t i = 0; i < shp.size(); ++i) {
    if (shp[i] == '\n') {
      ASSERT_GT(i, 0u);
      EXPECT_EQ(shp[i - 1], '\r') << "at byte " << i;
    }
    if (shp[i] == '\r') {
      ASSERT_LT(i + 1, shp.size());
      EXPECT_EQ(shp[i + 1], '\n') << "at byte " << i;
    }
  }
}

TEST_F(WindowsTest, ShapeFileHasEachCrLfOnceAndEndsWithTheEndMark) {
  const std::string example = ReadFileBytes(test::SourceFolder() / "examples" / "shapes.dxf");
  const std::string inProcess = ConvertHere(example);
  ExpectCrLfOnceAndEndMark(inProcess);

  WriteFileBytes(Scratch("shapes.dxf"), example);
  const test::ProgramRun run = RunCli({"convert", Scratch("shapes.dxf")});
  ASSERT_EQ(run.status, cli::kExitWritten) << run.err;
  const std::string throughCli = ReadFileBytes(Scratch("shapes.shp"));
  ExpectCrLfOnceAndEndMark(throughCli);
  EXPECT_EQ(throughCli, inProcess);
}

TEST_F(WindowsTest, DrawingsWithCrLfAndLfLineEndsGiveTheSameBytes) {
  DxfBuilder drawing;
  drawing.Markers()
      .Line(135, 1760, 215, 1760)
      .Text(10, 1890, 30, "Ab")
      .Point(150, 1770)
      .Group(0, "TEXT")
      .Group(8, "0")
      .Group(10, 260.0)
      .Group(20, 1890.0)
      .Group(40, 20.0)
      .Group(1, "CRLF")
      .Text(1890, 1990, 6, "NAMED");
  const std::string lf = ConvertHere(drawing.Build());
  const std::string crlf = ConvertHere(drawing.BuildCrLf());
  ASSERT_NE(lf, "");
  EXPECT_EQ(crlf, lf);
  ExpectCrLfOnceAndEndMark(crlf);

  // The shipped example is saved with CR LF; with LF alone it converts the same.
  const std::string example = ReadFileBytes(test::SourceFolder() / "examples" / "shapes.dxf");
  ASSERT_NE(example.find("\r\n"), std::string::npos);
  std::string exampleLf = example;
  exampleLf.erase(std::remove(exampleLf.begin(), exampleLf.end(), '\r'), exampleLf.end());
  EXPECT_EQ(ConvertHere(exampleLf), ConvertHere(example));
}

// ---------------------------------------------------------------------------------------
// Replacing an existing output (a rename over it, which Windows refuses unless asked)
// ---------------------------------------------------------------------------------------

TEST_F(WindowsTest, ExistingWideNamedOutputIsReplaced) {
  const std::filesystem::path output =
      scratch_ / U8Path(u8"\u0441\u0442\u0430\u0440\u044b\u0439.shp");
  WriteFileBytes(output, std::string(3000, 'x'));
  ASSERT_EQ(ConvertDrawing(Drawing(kLineDrawing), output), Outcome::kDone);
  EXPECT_EQ(ReadFileBytes(output), kLineShp);
}

// ---------------------------------------------------------------------------------------
// The version resource and the manifest of korvex-cli.exe
// ---------------------------------------------------------------------------------------

class ProgramResourcesTest : public ::testing::Test {
 protected:
  static std::wstring ProgramFile() { return (test::BinFolder() / test::kCliFileName).wstring(); }
};

struct VersionString {
  const wchar_t* name;
  const wchar_t* value;
};

const VersionString kVersionStrings[] = {
    {L"FileDescription", L"Shapes Compiler for AutoCAD"},
    {L"FileVersion", L"1.0.0.1"},
    {L"ProductName", L"Korvex"},
    {L"ProductVersion", L"1.0.0.1"},
    {L"InternalName", L"korvex-cli.exe"},
    {L"OriginalFilename", L"korvex-cli.exe"},
    {L"CompanyName", L"Tarnwell"},
};

TEST_F(ProgramResourcesTest, VersionResourceNamesTheProgram) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(ProgramFile().c_str(), &handle);
  ASSERT_GT(size, 0u) << "korvex-cli.exe has no version resource";
  std::vector<unsigned char> data(size);
  ASSERT_TRUE(GetFileVersionInfoW(ProgramFile().c_str(), 0, size, data.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);  // 1.0
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);  // .0.1
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4u) << "one language";
  EXPECT_EQ(translation[0], 0x0409);  // U.S. English
  EXPECT_EQ(translation[1], 1252);    // Windows Latin 1

  for (const VersionString& entry : kVersionStrings) {
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904E4\\") + entry.name;
    SCOPED_TRACE(platform::PathText(query));
    wchar_t* value = nullptr;
    ASSERT_TRUE(
        VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &length));
    EXPECT_EQ(std::wstring(value), entry.value);
  }
}

TEST_F(ProgramResourcesTest, ManifestAsksForNoElevationAndCommonControls6) {
  const HMODULE module = LoadLibraryExW(ProgramFile().c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr);
  const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(resource, nullptr) << "no manifest with the ID a program's manifest has";
  const HGLOBAL loaded = LoadResource(module, resource);
  const char* bytes = static_cast<const char*>(LockResource(loaded));
  const std::string manifest(bytes, SizeofResource(module, resource));
  FreeLibrary(module);

  EXPECT_NE(manifest.find(R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)"),
            std::string::npos);
  EXPECT_NE(manifest.find(R"(name="Microsoft.Windows.Common-Controls")"), std::string::npos);
  EXPECT_NE(manifest.find(R"(version="6.0.0.0")"), std::string::npos);
  EXPECT_EQ(manifest,
            ReadFileBytes(test::SourceFolder() / "platform" / "windows" / "korvex.manifest"));
}

}  // namespace
}  // namespace korvex
