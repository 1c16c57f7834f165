// The steps of a merge of 10 meeting files, in the process, for profiling:
// reading and checking the inputs, writing the merged files, the whole merge,
// and copying the same input bytes into one file through the same reads and
// writes. scripts/speed times whole processes against cat.
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

MergeRequest RequestFor(const InputSet& in) {
    MergeRequest request;
    request.files = in.files;
    for (int i = 0; i < kFiles; ++i)
        request.groupNames.push_back("group" + std::to_string(i));
    request.outputName = "merged.rec";
    request.outputFolder = in.outFolder();
    return request;
}

void BM_PrepareMerge(benchmark::State& state) {
    const InputSet& in = Inputs(static_cast<int>(state.range(0)));
    LocalFileSystem files;
    SystemClock clock;
    const MergeRequest request = RequestFor(in);
    for (auto _ : state)
        benchmark::DoNotOptimize(PrepareMerge(request, files, clock).keypadTotal);
    state.SetBytesProcessed(state.iterations() * in.inputBytes);
}

void BM_WriteMerge(benchmark::State& state) {
    const InputSet& in = Inputs(static_cast<int>(state.range(0)));
    LocalFileSystem files;
    SystemClock clock;
    const MergePlan plan = PrepareMerge(RequestFor(in), files, clock);
    for (auto _ : state)
        WriteMerge(plan, files);
    state.SetBytesProcessed(state.iterations() * in.inputBytes);
}

void BM_Merge(benchmark::State& state) {
    const InputSet& in = Inputs(static_cast<int>(state.range(0)));
    LocalFileSystem files;
    SystemClock clock;
    const MergeRequest request = RequestFor(in);
    for (auto _ : state)
        benchmark::DoNotOptimize(RunMerge(request, files, clock).voteOrder.size());
    state.SetBytesProcessed(state.iterations() * in.inputBytes);
}

// The inputs read in pieces and written into one file, as the merge reads and
// writes.
void BM_Copy(benchmark::State& state) {
    const InputSet& in = Inputs(static_cast<int>(state.range(0)));
    LocalFileSystem files;
    const std::string target = in.outFolder() + kPathSeparator + "copy.rec";
    std::vector<char> piece(256 << 10);
    for (auto _ : state) {
        files.writeFiles({target}, [&](std::size_t, FileSink& sink) {
            for (const auto& f : in.files) {
                const auto reader = files.openForReading(f + ".rec");
                for (std::uint64_t at = 0;;) {
                    const std::size_t got = reader->readAt(at, piece.data(), piece.size());
                    sink.write(std::string_view(piece.data(), got));
                    at += got;
                    if (got < piece.size())
                        break;
                }
            }
        });
    }
    state.SetBytesProcessed(state.iterations() * in.inputBytes);
}

// 2,000 votes: about 40 MB of input; 8,000 votes: four times as much.
BENCHMARK(BM_Copy)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PrepareMerge)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteMerge)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Merge)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace avelin::bench
