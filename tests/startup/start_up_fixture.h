#pragma once
// A Mod_Main over fake services: a made-up desktop, a scripted process and
// clock, an in-memory file system and a presentation application that
// answers from fields. Work windows are real (empty) widgets, so that their
// handles come from the program's own rule.
#include <gtest/gtest.h>

#include <QWidget>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "startup/mod_main.h"
#include "support/fake_window_system.h"
#include "support/fakes.h"
#include "support/memory_file_system.h"

namespace avelin::test {

class FakePresentationApp : public PresentationApp {
  public:
    std::string addin = std::string("C:") + kPathSeparator + "avelin";
    std::string attachFailure; // not empty: attach() throws this
    std::string addinFailure;  // not empty: addinPath() throws this
    int attachCalls = 0;

    void attach() override {
        ++attachCalls;
        if (!attachFailure.empty())
            throw std::runtime_error(attachFailure);
    }
    std::string addinPath(const std::string& name) override {
        if (!addinFailure.empty() || name != "avelin") // the add-in is asked for by its name
            throw std::runtime_error(addinFailure);
        return addin;
    }
    PresentationInfo activePresentation() override { throw NoActivePresentation(); }
};

// Counts the single-copy questions, to see when start-up asks.
class CountingProcess : public FakeProcess {
  public:
    int instanceQuestions = 0;
    bool previousInstance() override {
        ++instanceQuestions;
        return FakeProcess::previousInstance();
    }
};

// A work window of 400 x 300 that the fake desktop knows by the handle
// Mod_Main gives it. The log shows what happened in which order.
class FakeWorkWindow : public WorkWindow {
  public:
    FakeWorkWindow(Mod_Main& mod, FakeWindowSystem& desktop, std::vector<std::string>& log, std::string kind)
        : desktop_(desktop), log_(log), kind_(std::move(kind)) {
        widget_.resize(400, 300);
        desktop_.add({mod.HandleOf(&widget_), kind_, true, 0, {50, 60, 450, 360}});
        log_.push_back("load " + kind_);
    }
    QWidget* widget() override { return &widget_; }
    void showWindow() override {
        log_.push_back("show " + kind_ + " after " + std::to_string(desktop_.moves.size()) + " move(s)");
    }

  private:
    QWidget widget_;
    FakeWindowSystem& desktop_;
    std::vector<std::string>& log_;
    std::string kind_;
};

inline constexpr Hwnd kPowerPoint = 0x10010;
inline constexpr Hwnd kController = 0x10020;
inline constexpr Hwnd kLauncher = 0x10030;

// A machine where PowerPoint and the controller are running and the
// launcher is not installed, with a Mod_Main over it.
struct Machine {
    MemoryFileSystem files;
    FixedClock clock;
    CountingProcess process;
    ScriptedDialogs dialogs;
    FakeWindowSystem desktop;
    Services services{files, clock, process, dialogs, desktop};
    FakePresentationApp app;
    Mod_Main mod;
    std::vector<std::string> log;

    // Without `withApp` PowerPoint's automation object cannot be had.
    explicit Machine(bool withApp = true) : mod(services, withApp ? &app : nullptr) {
        desktop.add({kPowerPoint, "Microsoft PowerPoint - [Talk.pptx]", true, 0, {0, 0, 1025, 768}});
        desktop.add({kController, "avelin_controller", true, 0, {0, 0, 200, 100}});
        mod.createMergeWindow = [this](Mod_Main& m) {
            return std::make_unique<FakeWorkWindow>(m, desktop, log, "MERGE");
        };
        mod.createManualWindow = [this](Mod_Main& m) {
            return std::make_unique<FakeWorkWindow>(m, desktop, log, "CREATE");
        };
        // A wait that never ends fails the test instead of hanging it.
        process.onEvents = [](int n) {
            if (n > 100000)
                throw std::runtime_error("start-up keeps waiting");
        };
    }

    std::string launcher() const { return app.addin + kPathSeparator + "call_controller.exe"; }
};

class StartUpTest : public ::testing::Test, protected Machine {};

} // namespace avelin::test
