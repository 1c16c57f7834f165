// Main: its exits, its waits for the controller and its choice of window.
#include "startup/start_up_fixture.h"

#include <functional>

namespace avelin::test {
namespace {

TEST(StartUp, EndsSilentlyOrAfterAnErrorBoxBeforeAnyWindow) {
    // What differs from a machine with PowerPoint and the controller running,
    // the command line, then how far start-up got: single-copy questions,
    // attaches to PowerPoint, the error box's text ("" none), ends.
    struct Case {
        const char* what;
        std::function<void(Machine&)> arrange;
        const char* commandLine;
        int questions, attaches;
        std::string error;
        int ends;
        bool withoutApp = false;
    };
    const Case cases[] = {
        {"no PowerPoint window: an invisible one or an owned pop-up does not count",
         [](Machine& m) {
             m.desktop.remove(kPowerPoint);
             m.desktop.add({0x10050, "Microsoft PowerPoint", false, 0, {}});
             m.desktop.add({0x10060, "PowerPoint Options", true, kController, {}});
             m.process.otherCopyRunning = true;
         },
         "MERGE", 0, 0, "", 1},
        {"a second copy", [](Machine& m) { m.process.otherCopyRunning = true; }, "MERGE,D:\\Votes", 1, 0, "",
         1},
        {"a second copy in file mode",
         [](Machine& m) {
             m.desktop.windows.clear();
             m.mod.fileMode = true;
             m.process.otherCopyRunning = true;
         },
         "CREATE", 1, 0, "", 1},
        {"no controller and no launcher", [](Machine& m) { m.desktop.remove(kController); }, "MERGE", 1, 1,
         "Call_Controller application is not installed", 1},
        {"no automation object", [](Machine& m) { m.app.attachFailure = "no automation object"; }, "MERGE", 1,
         1, "avelin cannot start: no automation object", 1},
        {"no add-in", [](Machine& m) { m.app.addinFailure = "no add-in \"avelin\""; }, "MERGE", 1, 1,
         "avelin cannot start: no add-in \"avelin\"", 1},
        {"no PowerPoint object", [](Machine&) {}, "MERGE", 1, 0,
         "avelin cannot start: PowerPoint could not be reached.", 1, true},
        {"an empty command line does nothing", [](Machine& m) { m.desktop.remove(kController); }, "", 0, 0,
         "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Machine m(!c.withoutApp);
        c.arrange(m);
        EXPECT_EQ(m.mod.Main(c.commandLine), nullptr);
        EXPECT_EQ(m.process.instanceQuestions, c.questions);
        EXPECT_EQ(m.app.attachCalls, c.attaches);
        EXPECT_EQ(m.process.endCalls, c.ends);
        EXPECT_TRUE(m.process.started.empty());
        EXPECT_TRUE(m.log.empty());
        if (c.error.empty()) {
            EXPECT_TRUE(m.dialogs.messages.empty());
            continue;
        }
        EXPECT_EQ(m.dialogs.messages.size(), 1u);
        if (m.dialogs.messages.empty())
            continue; // the other cases still run
        EXPECT_EQ(m.dialogs.messages[0].text, c.error);
        EXPECT_EQ(m.dialogs.messages[0].style, 16);
        EXPECT_EQ(m.dialogs.messages[0].title, "Error");
    }
}

TEST(StartUp, TheLauncherStartsWhenTheControllerIsMissingThenStartUpWaitsForItsWindowAndAboutTwoSeconds) {
    // Whether the controller's window is there, the passes the launcher's
    // window stays, the clock at the start (it goes on 0.25 a read), and the
    // passes of both waits.
    const std::tuple<bool, int, double, int> cases[] = {
        {true, 3, 100.4, 0},      // no launch, no wait, the clock never read
        {false, 3, 100.4, 3 + 6}, // start 100: passes at 100.65 ... 101.9; 102.15 ends it
        {false, 0, 100.5, 5},     // start 100 (halves to even): 100.75 ... 101.75
        {false, 0, 101.5, 9},     // start 102: 101.75 ... 103.75
        {false, 0, 86399.6, 9},   // start 86400: 86399.85, then after midnight 0.1 ... 1.85
        {false, 0, 86399.2, 7},   // start 86399: 86399.45 ... 0.95; 1.2 ends it
    };
    for (const auto& [controller, launcherPasses, start, passes] : cases) {
        SCOPED_TRACE(start);
        Machine m;
        if (!controller)
            m.desktop.remove(kController);
        m.files.files[m.launcher()] = "MZ";
        if (launcherPasses > 0)
            m.desktop.add({kLauncher, "Call_Controller", true, 0, {}});
        m.process.onEvents = [&m, launcherPasses = launcherPasses](int n) {
            if (n == launcherPasses) // the launcher's window goes
                m.desktop.remove(kLauncher);
        };
        m.clock.seconds = start;
        m.clock.secondsStep = 0.25;
        EXPECT_NE(m.mod.Main("MERGE"), nullptr);
        EXPECT_EQ(m.process.eventsProcessed, passes);
        EXPECT_EQ(m.process.started, controller ? std::vector<std::string>{} : std::vector{m.launcher()});
        if (controller) {
            EXPECT_EQ(m.clock.seconds, start); // never read
        }
    }
}

TEST(StartUp, TheFirstFieldChoosesTheWindowWhichIsCentredBeforeItShows) {
    // The command line, the window opened ("" for none), SourceFolderArg.
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"MERGE", "MERGE", ""},
        {"merge", "MERGE", ""},
        {"Create", "CREATE", ""},
        {"MERGE,d:\\votes\\monday", "MERGE", "D:\\VOTES\\MONDAY"},
        // Only ASCII letters change: other bytes may be multi-byte text of the code page.
        {"merge,d:\\caf\xC3\xA9 \xE9", "MERGE", "D:\\CAF\xC3\xA9 \xE9"},
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
        Machine m;
        WorkWindow* w = m.mod.Main(commandLine);
        EXPECT_EQ(m.mod.SourceFolderArg, sourceFolderArg);
        EXPECT_EQ(m.mod.AddinPath, m.app.addin);
        EXPECT_EQ(m.mod.PowerPointHwnd, kPowerPoint); // recorded by the PowerPoint check
        EXPECT_EQ(m.process.endCalls, 0);             // every mode is a normal return
        if (opened.empty()) {
            EXPECT_EQ(w, nullptr);
            EXPECT_TRUE(m.log.empty());
            continue;
        }
        EXPECT_NE(w, nullptr);
        EXPECT_EQ(m.log, (std::vector<std::string>{"load " + opened, "show " + opened + " after 1 move(s)"}));
        // (1025 - 400) / 2 = 312.5 -> 312; (768 - 300) / 2 = 234.
        EXPECT_EQ(m.desktop.moves, (std::vector<WindowMove>{{kWorkWindow, 312, 234, 400, 300}}));
    }
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
    EXPECT_EQ(desktop.moves, (std::vector<WindowMove>{{kWorkWindow, 760, 370, 400, 300}}));
}

} // namespace
} // namespace avelin::test
