#pragma once
// A Mod_Main over fake services: a made-up desktop, a scripted process and
// clock, an in-memory file system and a presentation application that
// answers from fields, and work windows that only the fake desktop shows.
#include <gtest/gtest.h>

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

inline constexpr Hwnd kPowerPoint = 0x10010;
inline constexpr Hwnd kController = 0x10020;
inline constexpr Hwnd kLauncher = 0x10030;
inline constexpr Hwnd kWorkWindow = 0x10040;

// A work window of 400 x 300 on the fake desktop. The log shows what happened
// in which order.
class FakeWorkWindow : public WorkWindow {
  public:
    FakeWorkWindow(FakeWindowSystem& desktop, std::vector<std::string>& log, std::string kind)
        : desktop_(desktop), log_(log), kind_(std::move(kind)) {
        desktop_.add({kWorkWindow, kind_, true, 0, {50, 60, 450, 360}});
        log_.push_back("load " + kind_);
    }
    Hwnd hWnd() override { return kWorkWindow; }
    void showWindow() override {
        log_.push_back("show " + kind_ + " after " + std::to_string(desktop_.moves.size()) + " move(s)");
    }

  private:
    FakeWindowSystem& desktop_;
    std::vector<std::string>& log_;
    std::string kind_;
};

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
        mod.createMergeWindow = [this](Mod_Main&) {
            return std::make_unique<FakeWorkWindow>(desktop, log, "MERGE");
        };
        mod.createManualWindow = [this](Mod_Main&) {
            return std::make_unique<FakeWorkWindow>(desktop, log, "CREATE");
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
