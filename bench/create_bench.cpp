// The manual data window's two heavy steps: loading the votes of a large
// presentation (the .pptx and every definition file), and saving a large grid
// of counts as a results file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "data_generator.h"
#include "manual_entry/manual_results.h"
#include "manual_entry/presentation_votes.h"
#include "platform/clock.h"
#include "platform/pptx_reader.h"

namespace avelin::bench {
namespace {

constexpr int kAnswerRows = 1000;
constexpr int kMaxCount = 1000;

// A presentation of `slides` slides, written once into a temporary folder.
class LargePresentation {
  public:
    explicit LargePresentation(int slides) {
        folder_ = std::filesystem::temp_directory_path() / ("avelin-create-bench-" + std::to_string(slides));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        path = WritePresentation(folder_.string(), slides);
    }
    ~LargePresentation() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    std::string path;

  private:
    std::filesystem::path folder_;
};

// Reading the .pptx alone, and with every definition file; 500 and 2,000
// slides show how each grows with the slides.
void BM_ReadPptx(benchmark::State& state) {
    const LargePresentation presentation(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadPptx(presentation.path).slides.size());
}
BENCHMARK(BM_ReadPptx)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_LoadPresentationVotes(benchmark::State& state) {
    const int slides = static_cast<int>(state.range(0));
    const LargePresentation presentation(slides);
    LocalFileSystem files;
    for (auto _ : state) {
        const PresentationInfo info = ReadPptx(presentation.path);
        const PresentationVotes votes = LoadPresentationVotes(info, files);
        if (votes.voteCount != slides)
            state.SkipWithError("not every vote was found");
        benchmark::DoNotOptimize(votes.rows.data());
    }
}
BENCHMARK(BM_LoadPresentationVotes)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

// 100 series votes of 10 iterations, values 0 to 10 all available, every
// cell holding a count from 0 to 1,000.
void BM_WriteManualResults(benchmark::State& state) {
    std::vector<VoteEntry> votes;
    for (int i = 0; i < kAnswerRows / 10; ++i)
        votes.push_back({"vote" + std::to_string(i + 1) + ".AVL", 11, 10, "SERIES", 0});
    std::mt19937 random(20261204);
    std::uniform_int_distribution<int> count(0, kMaxCount);
    GridCounts counts(kAnswerRows, std::vector<std::string>(11));
    for (auto& row : counts)
        for (auto& cell : row)
            cell = std::to_string(count(random));
    const auto folder = std::filesystem::temp_directory_path() / "avelin-create-bench-out";
    std::filesystem::create_directories(folder);
    const std::string out = (folder / "Manual Votes.rec").string();
    LocalFileSystem files;
    SystemClock clock;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = ManualResultsText(votes, counts, "C:\\Talks", clock);
        files.writeFile(out, text);
        bytes = text.size();
    }
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteManualResults)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace avelin::bench
