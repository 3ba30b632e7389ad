// How much converting a drawing costs beside reading its file at all. For each size the
// same file is (a) only read line by line with the reader's own line buffer, (b) read into
// the entity table, and (c) converted to a .shp file; the counters give (b)/(a), (c)/(a)
// and entities per second. Compiling a full shape file (255 shapes of 2,000 bytes) is timed
// beside them: it must cost less than converting a drawing.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "conversion/conversion_run.h"
#include "drawing_generator.h"
#include "dxf/dxf_line_reader.h"
#include "dxf/dxf_reader.h"
#include "platform/pending_file.h"
#include "platform/platform.h"
#include "shape_files/shp_check.h"
#include "shape_files/shp_layout.h"
#include "shape_files/shx_file.h"
#include "sheet/entity_table.h"
#include "sheet/left_out_table.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace {

// Answers No to every warning (the largest drawing raises one per record past 99,000)
// and keeps quiet; the glyph file is the build's.
class QuietFrontend final : public korvex::platform::Frontend {
 public:
  int ShowMessage(std::string_view, unsigned flags) override {
    return flags == korvex::platform::kMessageYesNoWarning ? korvex::platform::kAnswerNo
                                                           : korvex::platform::kAnswerOk;
  }
  std::filesystem::path ExecutableFolder() override { return KORVEX_BIN_DIR; }
};

QuietFrontend quietFrontend;

struct Sample {
  std::filesystem::path drawing;
  int records;
};

// The drawing is on disk before it is timed: reading a file that the system is still
// writing back costs up to twice as much, and only now and then.
void WriteToDisk(const std::filesystem::path& path, const std::string& text) {
  std::FILE* file = std::fopen(path.string().c_str(), "wb");
  if (file == nullptr) return;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fflush(file);
#if !defined(_WIN32)
  fsync(fileno(file));
#endif
  std::fclose(file);
}

const Sample& SampleOf(int records) {
  static std::map<int, Sample> samples;
  auto found = samples.find(records);
  if (found != samples.end()) return found->second;
  const korvex::bench::GeneratedDrawing generated = korvex::bench::GenerateDrawing(records, 1);
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("korvex-bench-" + std::to_string(records) + ".dxf");
  WriteToDisk(path, generated.text);
  return samples[records] = Sample{path, generated.records};
}

void BM_ReadLinesOnly(benchmark::State& state) {
  const Sample& sample = SampleOf(static_cast<int>(state.range(0)));
  long lines = 0;
  for (auto _ : state) {
    std::string reason;
    korvex::OpenDrawingFile(sample.drawing, reason);
    while (korvex::ReadDxfLine()) ++lines;
    korvex::CloseDrawingFile();
  }
  benchmark::DoNotOptimize(lines);
  state.counters["records"] = sample.records;
}

void BM_ReadDrawing(benchmark::State& state) {
  korvex::platform::InstallFrontend(quietFrontend);
  const Sample& sample = SampleOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    korvex::ResetConversionTables();
    if (korvex::ReadDrawing(sample.drawing) != korvex::Outcome::kDone)
      state.SkipWithError("drawing refused");
  }
  state.counters["records"] = korvex::Entities().total;
  state.counters["records/s"] =
      benchmark::Counter(korvex::Entities().total, benchmark::Counter::kIsIterationInvariantRate);
}

// Converting again over the .shp of the run before, as a user converting a drawing anew
// does. The new file replaces the old one by a rename, which on ext4 also starts writing
// the new file's data out (so that a crash cannot leave an empty file): that costs more
// than writing a new file.
void BM_ConvertDrawing(benchmark::State& state) {
  korvex::platform::InstallFrontend(quietFrontend);
  const Sample& sample = SampleOf(static_cast<int>(state.range(0)));
  const std::filesystem::path output = std::filesystem::temp_directory_path() / "korvex-bench.shp";
  for (auto _ : state) {
    if (korvex::ConvertDrawing(sample.drawing, output) != korvex::Outcome::kDone)
      state.SkipWithError("not converted");
  }
  state.counters["records"] = korvex::Entities().total;
  state.counters["records/s"] =
      benchmark::Counter(korvex::Entities().total, benchmark::Counter::kIsIterationInvariantRate);
}

// As BM_ConvertDrawing, with the record of what was left out kept (convert --explain).
void BM_ConvertExplained(benchmark::State& state) {
  korvex::platform::InstallFrontend(quietFrontend);
  const Sample& sample = SampleOf(static_cast<int>(state.range(0)));
  const std::filesystem::path output = std::filesystem::temp_directory_path() / "korvex-bench.shp";
  for (auto _ : state) {
    if (korvex::ConvertDrawing(sample.drawing, output, true) != korvex::Outcome::kDone)
      state.SkipWithError("not converted");
  }
  state.counters["left out"] = korvex::LeftOut().total;
}

// Converting to a .shp that does not exist yet: the first conversion of a drawing.
void BM_ConvertToNewFile(benchmark::State& state) {
  korvex::platform::InstallFrontend(quietFrontend);
  const Sample& sample = SampleOf(static_cast<int>(state.range(0)));
  const std::filesystem::path output =
      std::filesystem::temp_directory_path() / "korvex-bench-new.shp";
  for (auto _ : state) {
    state.PauseTiming();
    std::error_code error;
    std::filesystem::remove(output, error);
    state.ResumeTiming();
    if (korvex::ConvertDrawing(sample.drawing, output) != korvex::Outcome::kDone)
      state.SkipWithError("not converted");
  }
  std::error_code error;
  std::filesystem::remove(output, error);
  state.counters["records"] = korvex::Entities().total;
  state.counters["records/s"] =
      benchmark::Counter(korvex::Entities().total, benchmark::Counter::kIsIterationInvariantRate);
}

// The largest file the compiler takes: 255 shapes of 2,000 bytes, vectors of three bytes
// each after one pen-down byte, written in the .shp layout.
std::filesystem::path FullShapeFile() {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "korvex-bench-full.shp";
  std::string body = "1";
  while (body.size() < 666 * 9) body += ",8,(1,-1)";
  body += ",0";
  std::FILE* file = std::fopen(path.string().c_str(), "wb");
  if (file == nullptr) return path;
  korvex::StartShpOutput(file);
  for (int n = 1; n <= 255; ++n) {
    korvex::WriteShpHeader(std::to_string(n).c_str(), korvex::kShapeByteLimit, "FULL");
    korvex::WriteShpBody(body.data(), body.size());
  }
  korvex::FinishShpOutput();
  std::fclose(file);
  return path;
}

// As korvex-cli compile does it: read, check, write through a pending file.
void BM_CompileFullFile(benchmark::State& state) {
  static korvex::ShapeSource source;
  static korvex::SourceProblemList problems;
  const std::filesystem::path input = FullShapeFile();
  const std::filesystem::path output =
      std::filesystem::temp_directory_path() / "korvex-bench-full.shx";
  for (auto _ : state) {
    problems.Clear();
    korvex::ReadShapeSourceFile(input, source, problems);
    korvex::CheckShapeSource(source, problems);
    if (problems.Total() != 0 || source.shapeCount != 255) state.SkipWithError("not clean");
    std::filesystem::path pending;
    std::error_code error;
    std::FILE* file = korvex::platform::OpenPendingFile(output, pending, error);
    if (file == nullptr || !korvex::WriteShx(source, file) ||
        !korvex::platform::CommitPendingFile(file, pending, output, error)) {
      state.SkipWithError("not compiled");
    }
  }
  std::error_code error;
  std::filesystem::remove(input, error);
  std::filesystem::remove(output, error);
}

constexpr int kSizes[] = {1000, 10000, korvex::bench::kMaxDrawingRecords};

// The fastest repetition is the steadiest figure on a shared machine: interference only
// ever adds time.
double Fastest(const std::vector<double>& times) {
  return *std::min_element(times.begin(), times.end());
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
  for (int size : kSizes) benchmark->Arg(size);
  benchmark->Unit(benchmark::kMillisecond);
  benchmark->ComputeStatistics("min", Fastest);
}

BENCHMARK(BM_ReadLinesOnly)->Apply(Sizes);
BENCHMARK(BM_ReadDrawing)->Apply(Sizes);
BENCHMARK(BM_ConvertDrawing)->Apply(Sizes);
BENCHMARK(BM_ConvertExplained)->Apply(Sizes);
BENCHMARK(BM_ConvertToNewFile)->Apply(Sizes);
BENCHMARK(BM_CompileFullFile)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest);

// Prints the ratios to the floor once every run is in.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    // With repetitions the fastest stands for a benchmark; without them, its one run.
    for (const Run& run : runs) {
      const bool fastest = run.run_type == Run::RT_Aggregate && run.aggregate_name == "min";
      if (run.run_type == Run::RT_Aggregate && !fastest) continue;
      if (run.run_type == Run::RT_Iteration && run.repetitions > 1) continue;
      times_[run.run_name.str()] = run.GetAdjustedRealTime();
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nRatios to the floor (reading the lines only), fastest real times:\n");
    for (int size : kSizes) {
      std::string arg = "/";  // appended, not concatenated: GCC 12 warns wrongly on "/" + s
      arg += std::to_string(size);
      const double floor = times_["BM_ReadLinesOnly" + arg];
      if (floor <= 0) continue;
      std::printf("  %6d records: read %.2f x, convert %.2f x (to a new file %.2f x)\n", size,
                  times_["BM_ReadDrawing" + arg] / floor, times_["BM_ConvertDrawing" + arg] / floor,
                  times_["BM_ConvertToNewFile" + arg] / floor);
    }
    const double compile = times_["BM_CompileFullFile"];
    if (compile > 0) {
      const int largest = korvex::bench::kMaxDrawingRecords;
      std::printf("Compiling a full 255-shape file: %.2f ms, %.2f x converting %d records\n",
                  compile, compile / times_["BM_ConvertDrawing/" + std::to_string(largest)],
                  largest);
    }
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  // Every file the benchmarks wrote, drawings and outputs alike.
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  std::error_code error;
  for (int size : kSizes) {
    std::filesystem::remove(folder / ("korvex-bench-" + std::to_string(size) + ".dxf"), error);
  }
  for (const char* output : {"korvex-bench.shp", "korvex-bench-new.shp", "korvex-bench-full.shp",
                             "korvex-bench-full.shx"}) {
    std::filesystem::remove(folder / output, error);
  }
  return 0;
}
