// Helpers shared by the tests: drawings written as DXF text in a few lines, a scratch
// folder, and a fixture that installs the recording front end.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/test_frontend.h"

namespace korvex::testing {

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

  // The whole file: a HEADER stub, the ENTITIES section with what was added, EOF.
  std::string Build() const;
  // As Build, with CR LF line ends.
  std::string BuildCrLf() const;

 private:
  std::string entities_;
};

std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

// The folder the build lays the programs and support files out in.
std::filesystem::path BinFolder();
std::filesystem::path SourceFolder();

// A fresh scratch folder per test, removed afterwards; the recording front end installed,
// with the program's folder at the build's bin folder.
class KorvexTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::filesystem::path Scratch(const std::string& name) const { return scratch_ / name; }
  // Writes a drawing into the scratch folder and returns its path.
  std::filesystem::path Drawing(const std::string& text, const std::string& name = "in.dxf");
  // Converts the drawing text and returns the .shp bytes; empty when not written.
  std::string Convert(const std::string& drawingText);

  platform::TestFrontend frontend_;
  std::filesystem::path scratch_;
};

}  // namespace korvex::testing
