#include "test_support.h"

#include <atomic>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "conversion/conversion_run.h"
#include "dxf/template_drawing.h"
#include "shape_files/shp_source.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;
#endif

namespace korvex::test {

namespace {

std::string NumberText(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

#ifdef _WIN32

// One argument as the C runtime's command-line parser splits it back out: quoted when it
// holds blanks or quotes (or is empty), a quote escaped with a backslash, and backslashes
// doubled only where they come before a quote.
std::wstring QuotedArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    return argument;
  }
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  quoted += L'"';
  return quoted;
}

int RunAndWait(const std::filesystem::path& program,
               const std::vector<std::filesystem::path>& arguments,
               const std::filesystem::path& outPath, const std::filesystem::path& errPath,
               const std::filesystem::path& workingFolder) {
  std::wstring commandLine = QuotedArgument(program.wstring());
  for (const std::filesystem::path& argument : arguments) {
    commandLine += L' ';
    commandLine += QuotedArgument(argument.wstring());
  }
  SECURITY_ATTRIBUTES inherited = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const HANDLE input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   &inherited, OPEN_EXISTING, 0, nullptr);
  const HANDLE output = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  const HANDLE errors = CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = output;
  startup.hStdError = errors;
  PROCESS_INFORMATION process = {};
  const bool started =
      input != INVALID_HANDLE_VALUE && output != INVALID_HANDLE_VALUE &&
      errors != INVALID_HANDLE_VALUE &&
      CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                     workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup,
                     &process) != 0;
  for (const HANDLE handle : {input, output, errors}) {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  if (!started) return -1;
  DWORD status = 0;
  WaitForSingleObject(process.hProcess, INFINITE);
  const bool exited = GetExitCodeProcess(process.hProcess, &status) != 0;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return exited ? static_cast<int>(status) : -1;
}

#else

int RunAndWait(const std::filesystem::path& program,
               const std::vector<std::filesystem::path>& arguments,
               const std::filesystem::path& outPath, const std::filesystem::path& errPath,
               const std::filesystem::path& workingFolder) {
  std::vector<std::string> texts = {program.string()};
  for (const std::filesystem::path& argument : arguments) texts.push_back(argument.string());
  std::vector<char*> argv;
  for (std::string& text : texts) argv.push_back(text.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  if (!workingFolder.empty()) {
    posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
  }
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  if (waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif

}  // namespace

#ifdef _WIN32
const char kCliFileName[] = "korvex-cli.exe";
#else
const char kCliFileName[] = "korvex-cli";
#endif

ProgramRun RunProgram(const std::filesystem::path& program,
                      const std::vector<std::filesystem::path>& arguments,
                      const std::filesystem::path& capture,
                      const std::filesystem::path& workingFolder) {
  std::filesystem::path outPath = capture;
  outPath += ".out";
  std::filesystem::path errPath = capture;
  errPath += ".err";
  ProgramRun run;
  run.status = RunAndWait(program, arguments, outPath, errPath, workingFolder);
  run.out = ReadFileBytes(outPath);
  run.err = ReadFileBytes(errPath);
#ifdef _WIN32
  for (std::string* text : {&run.out, &run.err}) {
    for (std::size_t at = text->find("\r\n"); at != std::string::npos;
         at = text->find("\r\n", at)) {
      text->erase(at, 1);
    }
  }
#endif
  std::error_code error;
  std::filesystem::remove(outPath, error);
  std::filesystem::remove(errPath, error);
  return run;
}

bool ReadOnlyFilesAreWritable(const std::filesystem::path& folder) {
  const std::filesystem::path probe = folder / "read-only-probe";
  WriteFileBytes(probe, "probe");
  std::filesystem::permissions(probe, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  std::FILE* file = platform::OpenFile(probe, "ab");
  if (file != nullptr) std::fclose(file);
  std::filesystem::permissions(probe, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  std::filesystem::remove(probe);
  return file != nullptr;
}

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

DxfBuilder& DxfBuilder::Block(const std::string& name, double baseX, double baseY,
                              const DxfBuilder& entities) {
  DxfBuilder header;
  header.Group(0, "BLOCK").Group(8, "0").Group(2, name).Group(70, "0");
  header.Group(10, baseX).Group(20, baseY).Group(30, 0.0).Group(3, name);
  blocks_ += header.entities_ + entities.entities_ + "  0\nENDBLK\n  8\n0\n";
  return *this;
}

std::string DxfBuilder::Build() const {
  std::string text = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  0\nENDSEC\n";
  if (!blocks_.empty()) text += "  0\nSECTION\n  2\nBLOCKS\n" + blocks_ + "  0\nENDSEC\n";
  return text + "  0\nSECTION\n  2\nENTITIES\n" + entities_ + "  0\nENDSEC\n  0\nEOF\n";
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

std::vector<std::int16_t> ShapeBytesOf(const std::string& body) {
  static ShapeSource source;
  static SourceProblemList problems;
  problems.Clear();
  // Brackets only group bytes for the reader's eye; a group cut by a limit must not hide
  // the bytes themselves.
  std::string bytesOnly = body;
  std::erase_if(bytesOnly, [](char c) { return c == '(' || c == ')'; });
  ReadShapeSource("*1,1,TEST\n" + bytesOnly + "\n", source, problems);
  // A body joined into one line may be longer than a file's line may be; nothing else
  // the reader finds is acceptable.
  for (int i = 0; i < problems.count; ++i) {
    if (problems.items[i].kind == ProblemKind::kLineTooLong) continue;
    ADD_FAILURE() << "not shape bytes: " << problems.items[i].text << "\n" << body;
    return {};
  }
  if (source.shapeCount != 1) {
    ADD_FAILURE() << "not one shape:\n" << body;
    return {};
  }
  const SourceShape& shape = source.shapes[0];
  const std::int16_t* bytes = source.BytesOf(shape);
  return std::vector<std::int16_t>(bytes, bytes + shape.byteCount);
}

DrawResult DrawBytes(const std::vector<std::int16_t>& bytes, double originX, double originY,
                     double scale, StrokeSink sink, void* context) {
  ShapeDrawingOptions options;
  options.sink = sink;
  options.sinkContext = context;
  return DrawShape(bytes.data(), static_cast<int>(bytes.size()), originX, originY, scale, options);
}

std::filesystem::path U8Path(const char8_t* text) {
  return std::filesystem::path(std::u8string(text));
}

void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::filesystem::path BinFolder() {
  return std::filesystem::absolute(KORVEX_BIN_DIR);
}
std::filesystem::path SourceFolder() {
  return std::filesystem::absolute(KORVEX_SOURCE_DIR);
}

void KorvexTest::SetUp() {
  // Test programs may run side by side (ctest -j, or two build trees): a token of this
  // process keeps their scratch folders apart.
  static const unsigned processToken = std::random_device{}();
  static std::atomic<int> counter{0};
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = "korvex-test-" + std::string(info->test_suite_name()) + "-" + info->name() +
                     "-" + std::to_string(processToken) + "-" + std::to_string(counter++);
  for (char& c : name) {
    if (c == '/' || c == '\\') c = '_';  // parameterised tests' names hold slashes
  }
  scratch_ = std::filesystem::temp_directory_path() / name;
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

std::set<std::string> KorvexTest::ScratchNames() const {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(scratch_)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

std::filesystem::path KorvexTest::Drawing(const std::string& text, const std::string& name) {
  const std::filesystem::path path = Scratch(name);
  WriteFileBytes(path, text);
  return path;
}

std::string KorvexTest::Convert(const std::string& drawingText) {
  const std::filesystem::path input = Drawing(drawingText);
  const std::filesystem::path output = Scratch("out.shp");
  if (ConvertDrawing(input, output) != Outcome::kDone) return {};
  return ReadFileBytes(output);
}

}  // namespace korvex::test
