#include "test_support.h"

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/conversion_run.h"
#include "dxf/dxf_reader.h"

namespace korvex::testing {

namespace {

std::string NumberText(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

}  // namespace

DxfBuilder& DxfBuilder::Group(int code, const std::string& value) {
  char codeText[16];
  std::snprintf(codeText, sizeof codeText, "%3d\n", code);
  entities_ += codeText;
  entities_ += value;
  entities_ += '\n';
  return *this;
}

DxfBuilder& DxfBuilder::Group(int code, double value) {
  return Group(code, NumberText(value));
}

DxfBuilder& DxfBuilder::Line(double x1, double y1, double x2, double y2) {
  return Group(0, "LINE")
      .Group(8, "0")
      .Group(10, x1)
      .Group(20, y1)
      .Group(30, 0.0)
      .Group(11, x2)
      .Group(21, y2)
      .Group(31, 0.0);
}

DxfBuilder& DxfBuilder::Text(double x, double y, double height, const std::string& value,
                             const std::string& layer) {
  return Group(0, "TEXT")
      .Group(8, layer)
      .Group(10, x)
      .Group(20, y)
      .Group(30, 0.0)
      .Group(40, height)
      .Group(1, value);
}

DxfBuilder& DxfBuilder::Point(double x, double y) {
  return Group(0, "POINT").Group(8, "0").Group(10, x).Group(20, y).Group(30, 0.0);
}

DxfBuilder& DxfBuilder::Markers() {
  return Text(1878, 112, 6, kTemplateMarkerFirst, "MARKER")
      .Text(1878, 103, 6, kTemplateMarkerSecond, "MARKER");
}

DxfBuilder& DxfBuilder::Raw(const std::string& lines) {
  entities_ += lines;
  return *this;
}

std::string DxfBuilder::Build() const {
  return "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  0\nENDSEC\n"
         "  0\nSECTION\n  2\nENTITIES\n" +
         entities_ + "  0\nENDSEC\n  0\nEOF\n";
}

std::string DxfBuilder::BuildCrLf() const {
  std::string plain = Build();
  std::string crlf;
  for (char c : plain) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return crlf;
}

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::filesystem::path BinFolder() {
  return KORVEX_BIN_DIR;
}
std::filesystem::path SourceFolder() {
  return KORVEX_SOURCE_DIR;
}

void KorvexTest::SetUp() {
  static std::atomic<int> counter{0};
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  scratch_ = std::filesystem::temp_directory_path() /
             ("korvex-test-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
              std::to_string(counter++));
  std::filesystem::remove_all(scratch_);
  std::filesystem::create_directories(scratch_);
  frontend_.executableFolder = BinFolder();
  platform::InstallFrontend(frontend_);
  ResetConversionTables();
}

void KorvexTest::TearDown() {
  std::error_code error;
  std::filesystem::remove_all(scratch_, error);
}

std::filesystem::path KorvexTest::Drawing(const std::string& text, const std::string& name) {
  const std::filesystem::path path = Scratch(name);
  WriteFileBytes(path, text);
  return path;
}

std::string KorvexTest::Convert(const std::string& drawingText) {
  const std::filesystem::path input = Drawing(drawingText);
  const std::filesystem::path output = Scratch("out.shp");
  if (!ConvertDrawing(input, output)) return {};
  return ReadFileBytes(output);
}

}  // namespace korvex::testing
