// Helpers shared by the tests: drawings written as DXF text in a few lines, a scratch
// folder, and a fixture that installs the recording front end.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "shape_files/shape_interpreter.h"
#include "test_frontend.h"

namespace korvex::test {

// Builds the ENTITIES section of a working drawing, one group (code, value) at a time,
// with the code right-aligned in three columns as CAD programs write it.
class DxfBuilder {
 public:
  DxfBuilder& Group(int code, const std::string& value);
  DxfBuilder& Group(int code, double value);
  DxfBuilder& Line(double x1, double y1, double x2, double y2);
  DxfBuilder& Text(double x, double y, double height, const std::string& value,
                   const std::string& layer = "0");
  DxfBuilder& Point(double x, double y);
  // The template marker pair in the band above cell 256.
  DxfBuilder& Markers();
  // Raw lines, each ended with "\n".
  DxfBuilder& Raw(const std::string& lines);
  // A block of the BLOCKS section: its name, base point and entities, built as a drawing's.
  DxfBuilder& Block(const std::string& name, double baseX, double baseY,
                    const DxfBuilder& entities);

  // The whole file: a HEADER stub, the BLOCKS section when blocks were added, the ENTITIES
  // section with what was added, EOF.
  std::string Build() const;
  // As Build, with CR LF line ends.
  std::string BuildCrLf() const;

 private:
  std::string entities_;
  std::string blocks_;
};

std::string ReadFileBytes(const std::filesystem::path& path);

// The bytes of one shape's body written as shape source text ("3,100,8,(10,-10),0", over
// one line or several; brackets are passed over), read by the shape source reader. A body
// the reader cannot take fails the calling test and gives no bytes.
std::vector<std::int16_t> ShapeBytesOf(const std::string& body);

// Draws the bytes from the origin, each vector length multiplied by scale, every pen-down
// segment sent to the sink (nullptr: none).
DrawResult DrawBytes(const std::vector<std::int16_t>& bytes, double originX, double originY,
                     double scale, StrokeSink sink = nullptr, void* context = nullptr);
// A path from UTF-8 text (u8"..."), whatever the system's own encoding of names.
std::filesystem::path U8Path(const char8_t* text);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

// The folder the build lays the programs and support files out in. Absolute: under Wine a
// build-machine path such as /work/build is taken on the current drive (Z:, Wine's /).
std::filesystem::path BinFolder();
std::filesystem::path SourceFolder();

// The command-line tool's file name: "korvex-cli.exe" on Windows, "korvex-cli" elsewhere.
extern const char kCliFileName[];

// How a program run ended, and what it printed (on Windows, where the C library writes
// each line end of the console streams as CR LF, with each CR LF read back as LF).
struct ProgramRun {
  int status = -1;  // the exit status; -1 when the program did not start or did not exit
  std::string out;
  std::string err;
};

// Runs a program with the arguments, each passed as one argument whatever it holds (no shell
// comes between), standard input empty. Standard output and error are caught in the files
// capture.out and capture.err, removed afterwards. workingFolder, when not empty, is the
// program's current folder.
ProgramRun RunProgram(const std::filesystem::path& program,
                      const std::vector<std::filesystem::path>& arguments,
                      const std::filesystem::path& capture,
                      const std::filesystem::path& workingFolder = {});

// True when this process may write a file that is read-only (the write bits removed; the
// read-only attribute on Windows), as the superuser may, and Wine run by the superuser:
// a test that a read-only file is left alone then proves nothing. Tries it in folder.
bool ReadOnlyFilesAreWritable(const std::filesystem::path& folder);

// A fresh scratch folder per test, removed afterwards; the recording front end installed,
// with the program's folder at the build's bin folder.
class KorvexTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::filesystem::path Scratch(const std::string& name) const { return scratch_ / name; }
  // The names in the scratch folder: what a run left there.
  std::set<std::string> ScratchNames() const;
  // Writes a drawing into the scratch folder and returns its path.
  std::filesystem::path Drawing(const std::string& text, const std::string& name = "in.dxf");
  // Converts the drawing text and returns the .shp bytes; empty when not written.
  std::string Convert(const std::string& drawingText);

  platform::TestFrontend frontend_;
  std::filesystem::path scratch_;
};

}  // namespace korvex::test
