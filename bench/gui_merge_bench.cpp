// The merge window: listing a source folder of 2,000 results files into the
// available list, building and showing the window, and the whole program from
// its start to the painted merge window.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProcess>
#include <QWindow>
#include <filesystem>

#include "../tests/support/fakes.h"
#include "offscreen_application.h"
#include "data_generator.h"
#include "merge/avlmerge.h"
#include "platform/file_system.h"
#include "platform/qt_window_system.h"
#include "startup/mod_main.h"

namespace avelin::bench {
namespace {

class NoPresentation : public PresentationApp {
  public:
    std::string addinPath(const std::string&) override { return {}; }
    PresentationInfo activePresentation() override { throw NoActivePresentation(); }
};

// A source folder of `files` meeting files; the window opens on it.
struct SourceFolder {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "avelin-gui-merge-bench";
    LocalFileSystem files;
    test::FixedClock clock;
    test::FakeProcess process;
    test::ScriptedDialogs dialogs;
    QtWindowSystem windows;
    Services services{files, clock, process, dialogs, windows};
    NoPresentation app;
    Mod_Main mod{services, &app};

    explicit SourceFolder(int count) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder / "data");
        WriteMeetingFiles(folder.string(), count, 20, 40);
        mod.AddinPath = folder.string();
        mod.SourceFolderArg = folder.string();
    }
    ~SourceFolder() {
        files.setCurrentDirectory(std::filesystem::temp_directory_path().string());
        std::filesystem::remove_all(folder);
    }
};

void BM_ListSourceFolder(benchmark::State& state) {
    Application();
    SourceFolder source(static_cast<int>(state.range(0)));
    avlmerge window(source.mod);
    auto* offered = window.findChild<QListWidget*>("Lst_InputList");
    for (auto _ : state)
        window.GetFilesInFolder();
    state.counters["offered"] = offered->count();
}
BENCHMARK(BM_ListSourceFolder)->Arg(2000)->Unit(benchmark::kMillisecond);

// From the constructor (controls, load, listing) to the window exposed on the
// offscreen platform, with its first events processed.
void BM_BuildAndShowWindow(benchmark::State& state) {
    Application();
    SourceFolder source(20);
    for (auto _ : state) {
        avlmerge window(source.mod);
        window.showWindow();
        while (!window.windowHandle() || !window.windowHandle()->isExposed())
            QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_BuildAndShowWindow)->Unit(benchmark::kMillisecond);

// The avelin program in file mode: from starting the process to its end right
// after the merge window's first paint (AVELIN_QUIT_WHEN_SHOWN), so the time
// includes the process's exit as well. The presentation is the demo's, named
// after the source meeting so that the window opens on that meeting folder.
void BM_ProgramStartToShownWindow(benchmark::State& state) {
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "avelin-gui-merge-start";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "addin" / "data");
    std::filesystem::create_directories(root / "addin" / "dataBank" / "Bench Meeting");
    WriteMeetingFiles((root / "addin" / "dataBank" / "Bench Meeting").string(), 20, 20, 40);
    const std::filesystem::path presentation = root / "Bench Meeting.ppt";
    std::filesystem::copy_file(std::filesystem::path(AVELIN_SOURCE_DIR) / "examples" / "presentation" /
                                   "Demo Meeting.ppt",
                               presentation);

    Application();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", qEnvironmentVariable("AVELIN_BENCH_PLATFORM", "offscreen"));
    env.insert("AVELIN_QUIT_WHEN_SHOWN", "1");
    const QStringList args{"--addin", QString::fromStdString((root / "addin").string()), "--presentation",
                           QString::fromStdString(presentation.string()), "MERGE"};
    for (auto _ : state) {
        QProcess program;
        program.setProcessEnvironment(env);
        QElapsedTimer clock;
        clock.start();
        program.start(AVELIN_BINARY_DIR "/src/avelin", args);
        if (!program.waitForFinished(10000) || program.exitCode() != 0 ||
            !program.readAllStandardOutput().contains("merge window shown")) {
            state.SkipWithError(
                ("avelin did not show its window: " + program.readAllStandardError()).constData());
            break;
        }
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_ProgramStartToShownWindow)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace avelin::bench
