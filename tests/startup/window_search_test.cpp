// The search of top-level windows by title, its per-window rules, and the
// centring over PowerPoint's window, on a made-up desktop.
#include "startup/start_up_fixture.h"

namespace avelin::test {
namespace {

class WindowSearchTest : public StartUpTest {
  protected:
    WindowSearchTest() { desktop.windows.clear(); }
};

TEST_F(WindowSearchTest, OnlyVisibleTitledWindowsWithoutParentQualifyAndTheFirstWins) {
    desktop.add({1, "avelin_controller", false, 0, {}});    // invisible
    desktop.add({2, "avelin_controller", true, 9, {}});     // owned pop-up
    desktop.add({3, "", true, 0, {}});                      // untitled
    desktop.add({4, "avelin_controller - 1", true, 0, {}}); // not the whole title
    EXPECT_EQ(mod.FindWindowLike("avelin_controller"), 0);
    EXPECT_EQ(mod.FindWindowLike("*"), 4);
    // A search that finds nothing visits every window.
    desktop.visited.clear();
    EXPECT_FALSE(mod.WindowExists("nothing"));
    EXPECT_EQ(desktop.visited, (std::vector<Hwnd>{1, 2, 3, 4}));

    // Letter case is ignored on both sides; the first in z-order wins and
    // the enumeration stops there.
    desktop.add({5, "AVELIN_CONTROLLER", true, 0, {}});
    desktop.add({6, "avelin_controller", true, 0, {}});
    desktop.visited.clear();
    EXPECT_EQ(mod.FindWindowLike("Avelin_Controller"), 5);
    EXPECT_EQ(desktop.visited, (std::vector<Hwnd>{1, 2, 3, 4, 5}));

    // A failed search returns 0 and the next one starts afresh.
    EXPECT_EQ(mod.FindWindowLike("call_controller"), 0);
    EXPECT_EQ(mod.FindWindowLike("avelin_controller"), 5);
}

TEST_F(WindowSearchTest, TitlesAreComparedOnTheirFirst127Characters) {
    const std::string head(120, 'x');
    desktop.add({1, head + "POWERPOINT", true, 0, {}}); // POWERPOINT is cut to "POWERPO"
    desktop.add({2, std::string(130, 'a'), true, 0, {}});
    EXPECT_FALSE(mod.WindowExists("*PowerPoint*"));
    EXPECT_EQ(mod.FindWindowLike(head + "PowerPo"), 1);
    EXPECT_EQ(mod.FindWindowLike(std::string(127, 'A')), 2);
    EXPECT_EQ(mod.FindWindowLike(std::string(128, 'A')), 0);
}

TEST_F(WindowSearchTest, EverySearchRecordsThePowerPointWindowsItVisitsTheLastWinning) {
    desktop.add({1, "PowerPoint", true, 0, {}});
    EXPECT_TRUE(mod.WindowExists("*PowerPoint*"));
    EXPECT_EQ(mod.PowerPointHwnd, 0); // no MICROSOFT before POWERPOINT

    desktop.add({2, "Microsoft PowerPoint - [Talk.ppt]", false, 0, {}}); // invisible: skipped
    desktop.add({3, "Microsoft PowerPoint - [Talk.ppt]", true, 0, {}});
    desktop.add({4, "microsoft office powerpoint", true, 0, {}});
    desktop.add({5, "avelin_controller", true, 0, {}});
    desktop.add({6, "Microsoft PowerPoint - [Late.ppt]", true, 0, {}});
    // Stops at 5: windows 3 and 4 were visited, 4 last; 6 never.
    EXPECT_TRUE(mod.WindowExists("avelin_controller"));
    EXPECT_EQ(mod.PowerPointHwnd, 4);
    // A search that finds nothing visits all and ends on the last one.
    EXPECT_FALSE(mod.WindowExists("call_controller"));
    EXPECT_EQ(mod.PowerPointHwnd, 6);
    // The window where a search stops is recorded before the search stops.
    EXPECT_EQ(mod.FindWindowLike("*Microsoft*PowerPoint*"), 3);
    EXPECT_EQ(mod.PowerPointHwnd, 3);
}

constexpr Hwnd kDialog = 0x20000;

class CentringTest : public StartUpTest {
  protected:
    CentringTest() { desktop.add({kDialog, "avelin Merge Voting Data", true, 0, {10, 20, 410, 320}}); }
};

TEST_F(CentringTest, TheWindowKeepsItsSizeAndHalvesRoundToEven) {
    // PowerPoint's window, the dialog's, and where the dialog goes.
    const std::tuple<WindowRect, WindowRect, int, int> cases[] = {
        {{0, 0, 1025, 768}, {10, 20, 410, 320}, 312, 234}, // 312.5 -> 312
        {{1, 3, 1026, 772}, {10, 20, 410, 320}, 314, 238}, // 313.5 -> 314; 237.5 -> 238
        // Larger than PowerPoint's window: it starts before it, even off the screen.
        {{0, 0, 300, 200}, {0, 0, 401, 301}, -50, -50}, // -50.5 -> -50
    };
    for (const auto& [powerPoint, dialog, left, top] : cases) {
        desktop.find(kPowerPoint)->rect = powerPoint;
        desktop.find(kDialog)->rect = dialog;
        mod.CentreOnPowerPoint(kDialog);
        const WindowMove expected{kDialog, left, top, dialog.right - dialog.left, dialog.bottom - dialog.top};
        EXPECT_EQ(desktop.moves.back(), expected) << left << "," << top;
    }
}

TEST_F(CentringTest, AMinimisedPowerPointIsRestoredBeforeItsRectangleIsRead) {
    desktop.find(kPowerPoint)->minimised = true;
    desktop.normalRect = WindowRect{100, 100, 1125, 868};
    mod.CentreOnPowerPoint(kDialog);
    EXPECT_EQ(desktop.restored, std::vector<Hwnd>{kPowerPoint});
    EXPECT_EQ(desktop.moves.back(), (WindowMove{kDialog, 412, 334, 400, 300}));
    // A normal window is not touched.
    mod.CentreOnPowerPoint(kDialog);
    EXPECT_EQ(desktop.restored.size(), 1u);
}

TEST_F(CentringTest, WithoutAKnownPowerPointWindowItSearchesForOne) {
    desktop.windows.insert(desktop.windows.begin(),
                           {0x10001, "PowerPoint Viewer", true, 0, {0, 0, 100, 100}});
    desktop.add({0x10002, "Microsoft PowerPoint - [Other.pptx]", true, 0, {0, 0, 2000, 1000}});
    mod.CentreOnPowerPoint(kDialog);
    // The search stops at the first "*MICROSOFT*POWERPOINT*" window.
    EXPECT_EQ(mod.PowerPointHwnd, kPowerPoint);
    EXPECT_EQ(desktop.moves.back(), (WindowMove{kDialog, 312, 234, 400, 300}));

    // Without one the window stays, also for a handle that is not above zero.
    desktop.windows = {*desktop.find(kDialog)};
    desktop.moves.clear();
    for (Hwnd known : {0, -5}) {
        mod.PowerPointHwnd = known;
        mod.CentreOnPowerPoint(kDialog);
        EXPECT_TRUE(desktop.moves.empty());
    }
    // A window system that sees only this program's windows centres on the screen.
    desktop.fallback = WindowRect{0, 0, 1280, 1024};
    mod.CentreOnPowerPoint(kDialog);
    EXPECT_EQ(desktop.moves, (std::vector<WindowMove>{{kDialog, 440, 362, 400, 300}}));
}

} // namespace
} // namespace avelin::test
