// The whole merge of 10 meeting files against plainly copying the same input
// bytes into one file, and how the merge grows with the number of votes.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>

#include "data_generator.h"
#include "merge/merge_run.h"
#include "platform/clock.h"

namespace avelin::bench {
namespace {

constexpr int kFiles = 10;
constexpr int kKeypads = 1000;

// One input set per vote count, generated once and removed at exit.
class InputSet {
  public:
    explicit InputSet(int votes) {
        root_ = std::filesystem::temp_directory_path() / ("avelin-merge-bench-" + std::to_string(votes));
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "in");
        std::filesystem::create_directories(root_ / "out");
        files = WriteMeetingFiles((root_ / "in").string(), kFiles, votes, kKeypads);
        for (const auto& f : files)
            inputBytes += static_cast<std::int64_t>(std::filesystem::file_size(f + ".rec"));
    }
    ~InputSet() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    std::string outFolder() const { return (root_ / "out").string(); }

    std::vector<std::string> files;
    std::int64_t inputBytes = 0;

  private:
    std::filesystem::path root_;
};

const InputSet& Inputs(int votes) {
    static std::map<int, std::unique_ptr<InputSet>> sets;
    auto& set = sets[votes];
    if (!set)
        set = std::make_unique<InputSet>(votes);
    return *set;
}

void BM_Merge(benchmark::State& state) {
    const InputSet& in = Inputs(static_cast<int>(state.range(0)));
    LocalFileSystem files;
    SystemClock clock;
    MergeRequest request;
    request.files = in.files;
    for (int i = 0; i < kFiles; ++i)
        request.groupNames.push_back("group" + std::to_string(i));
    request.outputName = "merged.rec";
    request.outputFolder = in.outFolder();
    for (auto _ : state) {
        const MergeResult result = RunMerge(request, files, clock);
        benchmark::DoNotOptimize(result.voteOrder.size());
    }
    state.SetBytesProcessed(state.iterations() * in.inputBytes);
}

void BM_Copy(benchmark::State& state) {
    const InputSet& in = Inputs(static_cast<int>(state.range(0)));
    LocalFileSystem files;
    const std::string target = in.outFolder() + kPathSeparator + "copy.rec";
    for (auto _ : state) {
        std::string all;
        all.reserve(static_cast<std::size_t>(in.inputBytes));
        for (const auto& f : in.files)
            all += files.readAll(f + ".rec");
        files.writeFile(target, all);
        benchmark::DoNotOptimize(all.data());
    }
    state.SetBytesProcessed(state.iterations() * in.inputBytes);
}

// 2,000 votes: about 40 MB of input; 8,000 votes: four times as much.
BENCHMARK(BM_Copy)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Merge)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace
} // namespace avelin::bench
