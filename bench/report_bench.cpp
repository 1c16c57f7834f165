// The report of a merged file of 10 meetings x 2,000 votes x 1,000 keypads
// (about 40 MB) against reading the same bytes and against the merge's
// preparation of them, which `avelin-rec check` runs on a file.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "data_generator.h"
#include "merge/merge_run.h"
#include "platform/clock.h"
#include "report/report_writers.h"

namespace avelin::bench {
namespace {

constexpr int kFiles = 10;
constexpr int kVotes = 2000;
constexpr int kKeypads = 1000;

// The merged file, made once and removed at exit.
class MergedFile {
  public:
    MergedFile() {
        root_ = std::filesystem::temp_directory_path() / "avelin-report-bench";
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "in");
        std::filesystem::create_directories(root_ / "out");
        LocalFileSystem files;
        SystemClock clock;
        MergeRequest request;
        request.files = WriteMeetingFiles((root_ / "in").string(), kFiles, kVotes, kKeypads);
        for (int i = 0; i < kFiles; ++i)
            request.groupNames.push_back("group" + std::to_string(i));
        request.outputName = "merged.rec";
        request.outputFolder = (root_ / "out").string();
        path = RunMerge(request, files, clock).outputPath;
        bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    }
    ~MergedFile() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    std::string path;
    std::int64_t bytes = 0;

  private:
    std::filesystem::path root_;
};

const MergedFile& Merged() {
    static const MergedFile merged;
    return merged;
}

void BM_ReadBytes(benchmark::State& state) {
    Merged(); // made before the first timing
    LocalFileSystem files;
    for (auto _ : state)
        benchmark::DoNotOptimize(files.readAll(Merged().path).size());
    state.SetBytesProcessed(state.iterations() * Merged().bytes);
}

// What `check` does with a file at least: the merge's reading and preparation.
void BM_MergePreparation(benchmark::State& state) {
    LocalFileSystem files;
    for (auto _ : state) {
        const std::string text = files.readAll(Merged().path);
        benchmark::DoNotOptimize(PrepareInputFile(text, Merged().path).votes.size());
    }
    state.SetBytesProcessed(state.iterations() * Merged().bytes);
}

template <std::string (*Write)(const ResultsReport&)> void BM_Report(benchmark::State& state) {
    LocalFileSystem files;
    for (auto _ : state) {
        const ResultsReport report = ReadResults(Merged().path, files, {});
        if constexpr (Write == nullptr)
            benchmark::DoNotOptimize(report.votes.size());
        else
            benchmark::DoNotOptimize(Write(report).size());
    }
    state.SetBytesProcessed(state.iterations() * Merged().bytes);
}

BENCHMARK(BM_ReadBytes)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_MergePreparation)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Report<nullptr>)
    ->Name("BM_ReportTally")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);
BENCHMARK(BM_Report<TextReport>)
    ->Name("BM_ReportText")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);
BENCHMARK(BM_Report<CsvReport>)
    ->Name("BM_ReportCsv")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);
BENCHMARK(BM_Report<HtmlReport>)
    ->Name("BM_ReportHtml")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

} // namespace
} // namespace avelin::bench
