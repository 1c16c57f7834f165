// The manual data window on a large presentation: opening it (reading the
// votes, building and formatting the grid) and saving a full grid of counts.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableWidget>
#include <filesystem>
#include <fstream>

#include "../tests/support/fakes.h"
#include "offscreen_application.h"
#include "manual_entry/frmCreate.h"
#include "platform/file_system.h"
#include "platform/qt_window_system.h"
#include "startup/mod_main.h"

namespace avelin::bench {
namespace {

class FixedPresentation : public PresentationApp {
  public:
    PresentationInfo info;
    std::string addinPath(const std::string&) override { return {}; }
    PresentationInfo activePresentation() override { return info; }
};

// `votes` series votes of five iterations with ten options, one per slide.
struct LargePresentation {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "avelin-gui-create-bench";
    LocalFileSystem files;
    test::FixedClock clock;
    test::FakeProcess process;
    test::ScriptedDialogs dialogs;
    QtWindowSystem windows;
    Services services{files, clock, process, dialogs, windows};
    FixedPresentation app;
    Mod_Main mod{services, &app};

    explicit LargePresentation(int votes) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::string definition = "2,10,1,\"Question\",30,0,2,2,1";
        for (int i = 0; i < 3 * 10 + 20; ++i)
            definition += ",0";
        definition += ",1,\"Round\",0,5\r\n";
        app.info.path = folder.string();
        app.info.name = "Large.pptx";
        for (int v = 0; v < votes; ++v) {
            const std::string name = "vote" + std::to_string(v) + ".AVL";
            std::ofstream(folder / name, std::ios::binary) << definition;
            app.info.slides.push_back(SlideInfo{{{"VOTE", "C:\\avelin\\avelin.exe " + name + ",1"}}});
        }
    }
    ~LargePresentation() { std::filesystem::remove_all(folder); }
};

void BM_OpenWindow(benchmark::State& state) {
    Application();
    LargePresentation presentation(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        frmCreate window(presentation.mod);
        benchmark::DoNotOptimize(window.lastRow());
    }
    state.counters["answer rows"] = static_cast<double>(state.range(0) * 5);
}
BENCHMARK(BM_OpenWindow)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_SaveFullGrid(benchmark::State& state) {
    Application();
    LargePresentation presentation(static_cast<int>(state.range(0)));
    frmCreate window(presentation.mod);
    for (int row = 1; row <= window.lastRow(); ++row)
        for (int col = 2; col <= 11; ++col)
            window.setCellText(row, col, std::to_string(row % 7 + col));
    const std::string path = (presentation.folder / "Manual Votes.rec").string();
    for (auto _ : state)
        window.WriteManualResults(path);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_SaveFullGrid)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace avelin::bench
