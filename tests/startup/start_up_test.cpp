// Main: its exits, its waits for the controller and its choice of window.
#include "startup/start_up_fixture.h"

namespace avelin::test {
namespace {

TEST_F(StartUpTest, WithoutAPowerPointWindowTheProgramEndsSilentlyBeforeAnythingElse) {
    desktop.remove(kPowerPoint);
    // PowerPoint's title on an invisible window or an owned pop-up does not count.
    desktop.add({0x10050, "Microsoft PowerPoint", false, 0, {}});
    desktop.add({0x10060, "PowerPoint Options", true, kController, {}});
    process.otherCopyRunning = true;
    EXPECT_EQ(mod.Main("MERGE"), nullptr);
    EXPECT_EQ(process.endCalls, 1);
    EXPECT_EQ(process.instanceQuestions, 0);
    EXPECT_EQ(app.attachCalls, 0);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(StartUpTest, ASecondCopyEndsSilentlyAfterThePowerPointCheck) {
    process.otherCopyRunning = true;
    EXPECT_EQ(mod.Main("MERGE,D:\\Votes"), nullptr);
    EXPECT_EQ(process.instanceQuestions, 1);
    EXPECT_EQ(process.endCalls, 1);
    EXPECT_EQ(app.attachCalls, 0);
    EXPECT_TRUE(dialogs.messages.empty());
    // The PowerPoint check recorded PowerPoint's window.
    EXPECT_EQ(mod.PowerPointHwnd, kPowerPoint);
}

TEST_F(StartUpTest, AMissingLauncherIsReportedAndEndsTheProgram) {
    desktop.remove(kController);
    EXPECT_EQ(mod.Main("MERGE"), nullptr);
    expectEndedAfterError("Call_Controller application is not installed");
    EXPECT_TRUE(process.started.empty());
    EXPECT_EQ(app.addinNames, std::vector<std::string>{"avelin"});
}

TEST_F(StartUpTest, WithoutPowerPointsAutomationOrTheAddinTheProgramReportsAndEnds) {
    // The attach failure, the add-in failure, whether there is an application,
    // and the text after "avelin cannot start: ".
    const std::tuple<std::string, std::string, bool, std::string> cases[] = {
        {"no automation object", "", true, "no automation object"},
        {"", "no add-in \"avelin\"", true, "no add-in \"avelin\""},
        {"", "", false, "PowerPoint could not be reached."},
    };
    for (const auto& [attachFailure, addinFailure, hasApp, text] : cases) {
        SCOPED_TRACE(text);
        app.attachFailure = attachFailure;
        app.addinFailure = addinFailure;
        dialogs.messages.clear();
        process.endCalls = 0;
        Mod_Main m{services, hasApp ? &app : nullptr};
        EXPECT_EQ(m.Main("MERGE"), nullptr);
        expectEndedAfterError("avelin cannot start: " + text);
        EXPECT_EQ(m.AddinPath, "");
    }
}

TEST_F(StartUpTest, WithTheControllerRunningThereIsNoLaunchAndNoWait) {
    files.files[launcher()] = "MZ";
    desktop.add({kLauncher, "call_controller", true, 0, {}});
    clock.secondsStep = 1;
    const double before = clock.seconds;
    ASSERT_NE(mod.Main("CREATE"), nullptr);
    EXPECT_TRUE(process.started.empty());
    EXPECT_EQ(process.eventsProcessed, 0);
    EXPECT_EQ(clock.seconds, before); // the clock was never read
}

TEST_F(StartUpTest, TheLauncherStartsAndStartUpWaitsForItsWindowThenAboutTwoSeconds) {
    desktop.remove(kController);
    files.files[launcher()] = "MZ";
    desktop.add({kLauncher, "Call_Controller", true, 0, {}});
    process.onEvents = [&](int n) {
        if (n == 3) { // the launcher's window goes, the controller's comes
            desktop.remove(kLauncher);
            desktop.add({kController, "avelin_controller", true, 0, {}});
        }
    };
    clock.seconds = 100.4; // rounded to 100: the wait ends at 102.0
    clock.secondsStep = 0.25;

    ASSERT_NE(mod.Main("MERGE"), nullptr);
    EXPECT_EQ(process.started, std::vector<std::string>{launcher()});
    // Three passes for the launcher's window, then the clock read 100.4
    // (start 100), 100.65 ... 101.9 (six passes) and 102.15 (done).
    EXPECT_EQ(process.eventsProcessed, 3 + 6);
}

TEST_F(StartUpTest, TheTwoSecondWaitRoundsItsStartHalfToEvenAndEndsAcrossMidnight) {
    desktop.remove(kController);
    files.files[launcher()] = "MZ";
    clock.secondsStep = 0.25;
    // The clock at the start, and the passes of the wait.
    const std::pair<double, int> cases[] = {
        {100.5, 5}, // start 100: passes at 100.75 ... 101.75
        {101.5, 9}, // start 102: passes at 101.75 ... 103.75
        // After 86399.85 the clock goes on at 0.1.
        {86399.6, 9}, // start 86400: passes at 86399.85, 0.1, 0.35 ... 1.85
        {86399.2, 7}, // start 86399: passes at 86399.45 ... 0.95; 1.2 ends it
    };
    for (const auto& [start, passes] : cases) {
        Mod_Main m{services, &app};
        clock.seconds = start;
        process.eventsProcessed = 0;
        m.Main("REPORT");
        EXPECT_EQ(process.eventsProcessed, passes) << "clock at " << start;
    }
}

TEST_F(StartUpTest, TheFirstFieldChoosesTheWindowWhichIsCentredBeforeItShows) {
    // The command line, the window opened ("" for none), SourceFolderArg.
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"MERGE", "MERGE", ""},
        {"merge", "MERGE", ""},
        {"Create", "CREATE", ""},
        {"MERGE,d:\\votes\\monday", "MERGE", "D:\\VOTES\\MONDAY"},
        // Further fields are ignored; an empty second field is no folder.
        {"MERGE,D:\\Votes, Monday,Tuesday", "MERGE", "D:\\VOTES"},
        {"MERGE,", "MERGE", ""},
        {"CREATE,D:\\Votes", "CREATE", "D:\\VOTES"},
        // Blanks stay in the mode, which then is neither of the two.
        {"MERGE ,D:\\Votes", "", "D:\\VOTES"},
        {" MERGE", "", ""},
        {"REPORT,x", "", "X"},
        {",MERGE", "", "MERGE"},
    };
    for (const auto& [commandLine, opened, sourceFolderArg] : cases) {
        SCOPED_TRACE(commandLine);
        log.clear();
        desktop.moves.clear();
        Mod_Main m{services, &app};
        giveWindows(m);
        WorkWindow* w = m.Main(commandLine);
        EXPECT_EQ(m.SourceFolderArg, sourceFolderArg);
        EXPECT_EQ(m.AddinPath, app.addin);
        EXPECT_EQ(process.endCalls, 0); // every mode is a normal return
        if (opened.empty()) {
            EXPECT_EQ(w, nullptr);
            EXPECT_TRUE(log.empty());
            continue;
        }
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(log, (std::vector<std::string>{"load " + opened, "show " + opened + " after 1 move(s)"}));
        // (1025 - 400) / 2 = 312.5 -> 312; (768 - 300) / 2 = 234.
        EXPECT_EQ(desktop.moves, (std::vector<WindowMove>{{m.HandleOf(w->widget()), 312, 234, 400, 300}}));
    }
}

TEST_F(StartUpTest, AnEmptyCommandLineDoesNothing) {
    desktop.remove(kController);
    EXPECT_EQ(mod.Main(""), nullptr);
    EXPECT_TRUE(desktop.visited.empty());
    EXPECT_EQ(process.instanceQuestions, 0);
    EXPECT_TRUE(process.started.empty());
    EXPECT_EQ(process.endCalls, 0);
}

TEST_F(StartUpTest, FileModeNeedsNoPowerPointWindowAndStartsNoController) {
    desktop.windows.clear();
    desktop.fallback = WindowRect{0, 0, 1920, 1040};
    mod.fileMode = true;
    WorkWindow* w = mod.Main("CREATE");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(process.endCalls, 0);
    EXPECT_TRUE(process.started.empty());
    EXPECT_EQ(process.eventsProcessed, 0);
    // No PowerPoint window: centred on the screen's work area instead.
    EXPECT_EQ(desktop.moves, (std::vector<WindowMove>{{mod.HandleOf(w->widget()), 760, 370, 400, 300}}));

    // The single copy still holds in file mode.
    Mod_Main second{services, &app};
    second.fileMode = true;
    process.otherCopyRunning = true;
    EXPECT_EQ(second.Main("CREATE"), nullptr);
    EXPECT_EQ(process.endCalls, 1);
}

} // namespace
} // namespace avelin::test
