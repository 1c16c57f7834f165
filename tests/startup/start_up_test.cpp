// Main: its exits, its waits for the controller and its choice of window.
#include <ostream>

#include "startup/start_up_fixture.h"

namespace avelin::test {
namespace {

TEST_F(StartUpTest, WithoutAPowerPointWindowTheProgramEndsSilentlyBeforeAnythingElse) {
    desktop.remove(kPowerPoint);
    desktop.add({0x10040, "PowerPnt", true, 0, {}});
    // PowerPoint's title on an invisible window or an owned pop-up does not count.
    desktop.add({0x10050, "Microsoft PowerPoint", false, 0, {}});
    desktop.add({0x10060, "PowerPoint Options", true, 0x10040, {}});
    process.otherCopyRunning = true;

    EXPECT_EQ(mod.Main("MERGE"), nullptr);
    EXPECT_EQ(process.endCalls, 1);
    EXPECT_EQ(process.instanceQuestions, 0);
    EXPECT_EQ(app.attachCalls, 0);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(process.started.empty());
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(mod.PowerPointHwnd, 0);
}

TEST_F(StartUpTest, ASecondCopyEndsSilentlyAfterThePowerPointCheck) {
    process.otherCopyRunning = true;
    EXPECT_EQ(mod.Main("MERGE,D:\\Votes"), nullptr);
    EXPECT_EQ(process.instanceQuestions, 1);
    EXPECT_EQ(process.endCalls, 1);
    EXPECT_EQ(app.attachCalls, 0);
    EXPECT_EQ(mod.AddinPath, "");
    EXPECT_EQ(mod.SourceFolderArg, "");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(log.empty());
    // The presentation application check ran and recorded PowerPoint's window.
    EXPECT_EQ(mod.PowerPointHwnd, kPowerPoint);
}

TEST_F(StartUpTest, AMissingLauncherIsReportedAndEndsTheProgram) {
    desktop.remove(kController);
    EXPECT_EQ(mod.Main("MERGE"), nullptr);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Call_Controller application is not installed");
    EXPECT_EQ(dialogs.messages[0].style, 16);
    EXPECT_EQ(dialogs.messages[0].title, "Error");
    EXPECT_EQ(process.endCalls, 1);
    EXPECT_TRUE(process.started.empty());
    EXPECT_EQ(process.eventsProcessed, 0);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(app.addinNames, std::vector<std::string>{"avelin"});
}

TEST_F(StartUpTest, WithTheControllerRunningThereIsNoLaunchAndNoWait) {
    files.files[launcher()] = "";
    desktop.add({kLauncher, "call_controller", true, 0, {}});
    const double before = clock.seconds;
    ASSERT_NE(mod.Main("CREATE"), nullptr);
    EXPECT_TRUE(process.started.empty());
    EXPECT_EQ(process.eventsProcessed, 0);
    EXPECT_EQ(clock.seconds, before); // the clock was never read
    EXPECT_EQ(process.endCalls, 0);
    EXPECT_EQ(mod.AddinPath, app.addin);
}

TEST_F(StartUpTest, TheLauncherStartsAndStartUpWaitsForItsWindowThenAboutTwoSeconds) {
    desktop.remove(kController);
    files.files[launcher()] = "MZ";
    desktop.add({kLauncher, "Call_Controller", true, 0, {}});
    int eventsWhenLauncherWent = 0;
    process.onEvents = [&](int n) {
        if (n == 3) { // the launcher's window goes, the controller's comes
            desktop.remove(kLauncher);
            desktop.add({kController, "avelin_controller", true, 0, {}});
            eventsWhenLauncherWent = n;
        }
    };
    clock.seconds = 100.4; // rounded to 100: the wait ends at 102.0
    clock.secondsStep = 0.25;

    WorkWindow* w = mod.Main("MERGE");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(process.started, std::vector<std::string>{launcher()});
    EXPECT_EQ(eventsWhenLauncherWent, 3);
    // Three passes for the launcher's window, then the clock read 100.4
    // (start 100), 100.65 ... 101.9 (six passes) and 102.15 (done).
    EXPECT_EQ(process.eventsProcessed, 3 + 6);
    EXPECT_DOUBLE_EQ(clock.seconds, 102.4);
    EXPECT_EQ(process.endCalls, 0);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(log.front(), "load MERGE");
}

TEST_F(StartUpTest, TheTwoSecondWaitRoundsItsStartHalfToEven) {
    desktop.remove(kController);
    files.files[launcher()] = "MZ";
    clock.secondsStep = 0.25;

    clock.seconds = 100.5; // start 100: passes at 100.75 ... 101.75
    mod.Main("REPORT");
    EXPECT_EQ(process.eventsProcessed, 5);

    Mod_Main second{services, &app};
    process.eventsProcessed = 0;
    clock.seconds = 101.5; // start 102: passes at 101.75 ... 103.75
    second.Main("REPORT");
    EXPECT_EQ(process.eventsProcessed, 9);
}

TEST_F(StartUpTest, TheTwoSecondWaitEndsAcrossMidnight) {
    desktop.remove(kController);
    files.files[launcher()] = "MZ";
    clock.secondsStep = 0.25;
    clock.seconds = 86399.6; // start 86400; the clock goes on at 0.1 after midnight
    ASSERT_NE(mod.Main("MERGE"), nullptr);
    // Passes at 86399.85, 0.1, 0.35 ... 1.85; 2.1 ends it.
    EXPECT_EQ(process.eventsProcessed, 9);

    Mod_Main second{services, &app};
    process.eventsProcessed = 0;
    clock.seconds = 86399.2; // start 86399: ends at 1.0 after midnight
    second.Main("REPORT");
    // Passes at 86399.45, 86399.7, 86399.95, 0.2, 0.45, 0.7, 0.95; 1.2 ends it.
    EXPECT_EQ(process.eventsProcessed, 7);
}

TEST_F(StartUpTest, AttachOrAddinFailuresAreReportedAndEndTheProgram) {
    app.attachFailure = "PowerPoint's automation object could not be obtained.";
    EXPECT_EQ(mod.Main("MERGE"), nullptr);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "avelin cannot start: PowerPoint's automation object could not be obtained.");
    EXPECT_EQ(dialogs.messages[0].style, 16);
    EXPECT_EQ(dialogs.messages[0].title, "Error");
    EXPECT_EQ(process.endCalls, 1);
    EXPECT_TRUE(app.addinNames.empty());
    EXPECT_TRUE(log.empty());

    app.attachFailure.clear();
    app.addinFailure = "PowerPoint has no add-in named \"avelin\".";
    Mod_Main second{services, &app};
    second.createMergeWindow = mod.createMergeWindow;
    EXPECT_EQ(second.Main("MERGE"), nullptr);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, "avelin cannot start: PowerPoint has no add-in named \"avelin\".");
    EXPECT_EQ(process.endCalls, 2);
    EXPECT_EQ(second.AddinPath, "");
    EXPECT_TRUE(log.empty());

    Mod_Main none{services, nullptr};
    EXPECT_EQ(none.Main("MERGE"), nullptr);
    EXPECT_EQ(dialogs.messages.back().text, "avelin cannot start: PowerPoint could not be reached.");
}

struct ModeCase {
    const char* commandLine;
    const char* opened; // "" for none
    const char* sourceFolderArg;
};

// Names the cases by their command line.
void PrintTo(const ModeCase& c, std::ostream* os) {
    *os << '"' << c.commandLine << '"';
}

class ModeTest : public StartUpTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ModeTest, TheFirstFieldChoosesTheWindowAndTheSecondIsTheSourceFolder) {
    const ModeCase& c = GetParam();
    WorkWindow* w = mod.Main(c.commandLine);
    const std::string opened = c.opened;
    if (opened.empty()) {
        EXPECT_EQ(w, nullptr);
        EXPECT_TRUE(log.empty());
    } else {
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w, mod.window());
        EXPECT_EQ(log, (std::vector<std::string>{"load " + opened, "show " + opened + " after 1 move(s)"}));
    }
    EXPECT_EQ(mod.SourceFolderArg, c.sourceFolderArg);
    // Any mode is a normal return: the program is not ended by start-up.
    EXPECT_EQ(process.endCalls, 0);
    EXPECT_EQ(mod.AddinPath, app.addin);
}

INSTANTIATE_TEST_SUITE_P(CommandLines, ModeTest,
                         ::testing::Values(ModeCase{"MERGE", "MERGE", ""}, ModeCase{"merge", "MERGE", ""},
                                           ModeCase{"MERGE ,D:\\Votes", "", "D:\\VOTES"},
                                           ModeCase{"MERGE,d:\\votes\\monday", "MERGE", "D:\\VOTES\\MONDAY"},
                                           ModeCase{"MERGE,D:\\Votes,old", "MERGE", "D:\\VOTES"},
                                           ModeCase{"MERGE,D:\\Votes, Monday,Tuesday", "MERGE", "D:\\VOTES"},
                                           ModeCase{"MERGE,", "MERGE", ""},
                                           ModeCase{"CREATE,D:\\Votes", "CREATE", "D:\\VOTES"},
                                           ModeCase{"Create", "CREATE", ""}, ModeCase{" MERGE", "", ""},
                                           ModeCase{"REPORT,x", "", "X"}, ModeCase{",MERGE", "", "MERGE"}));

TEST_F(StartUpTest, AnEmptyCommandLineDoesNothing) {
    desktop.remove(kController);
    EXPECT_EQ(mod.Main(""), nullptr);
    EXPECT_TRUE(desktop.visited.empty());
    EXPECT_EQ(process.instanceQuestions, 0);
    EXPECT_EQ(app.attachCalls, 0);
    EXPECT_TRUE(process.started.empty());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(process.endCalls, 0);
}

TEST_F(StartUpTest, TheOpenedWindowIsCentredOverPowerPointBeforeItShows) {
    WorkWindow* w = mod.Main("MERGE");
    ASSERT_NE(w, nullptr);
    const Hwnd h = mod.HandleOf(w->widget());
    ASSERT_NE(h, 0);
    ASSERT_EQ(desktop.moves.size(), 1u);
    EXPECT_EQ(desktop.moves[0], (WindowMove{h, 312, 234, 400, 300}));
    EXPECT_EQ(log.back(), "show MERGE after 1 move(s)");
}

TEST_F(StartUpTest, FileModeNeedsNoPowerPointWindowAndStartsNoController) {
    desktop.windows.clear();
    desktop.fallback = WindowRect{0, 0, 1920, 1040};
    mod.fileMode = true;
    WorkWindow* w = mod.Main("CREATE");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(process.endCalls, 0);
    EXPECT_TRUE(process.started.empty());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(process.eventsProcessed, 0);
    EXPECT_EQ(mod.AddinPath, app.addin);
    // No PowerPoint window: centred on the screen's work area instead.
    ASSERT_EQ(desktop.moves.size(), 1u);
    EXPECT_EQ(desktop.moves[0], (WindowMove{mod.HandleOf(w->widget()), 760, 370, 400, 300}));

    // The single copy still holds in file mode.
    Mod_Main second{services, &app};
    second.fileMode = true;
    process.otherCopyRunning = true;
    EXPECT_EQ(second.Main("CREATE"), nullptr);
    EXPECT_EQ(process.endCalls, 1);
}

} // namespace
} // namespace avelin::test
