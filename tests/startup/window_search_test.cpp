// The search of top-level windows by title and its per-window rules.
#include "startup/start_up_fixture.h"

namespace avelin::test {
namespace {

class WindowSearchTest : public StartUpTest {
  protected:
    WindowSearchTest() { desktop.windows.clear(); }
};

TEST_F(WindowSearchTest, OnlyVisibleTitledWindowsWithoutParentQualify) {
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

    desktop.add({5, "AVELIN_CONTROLLER", true, 0, {}});
    desktop.add({6, "avelin_controller", true, 0, {}});
    // Letter case is ignored on both sides; the first in z-order wins and
    // the enumeration stops there.
    desktop.visited.clear();
    EXPECT_EQ(mod.FindWindowLike("Avelin_Controller"), 5);
    EXPECT_EQ(desktop.visited, (std::vector<Hwnd>{1, 2, 3, 4, 5}));
}

TEST_F(WindowSearchTest, AFailedSearchReturnsZeroAndTheNextStartsAfresh) {
    desktop.add({7, "call_controller", true, 0, {}});
    EXPECT_EQ(mod.FindWindowLike("call_controller"), 7);
    desktop.remove(7);
    EXPECT_EQ(mod.FindWindowLike("call_controller"), 0);
    EXPECT_FALSE(mod.WindowExists("call_controller"));
    desktop.add({8, "Call_Controller", true, 0, {}});
    EXPECT_TRUE(mod.WindowExists("call_controller"));
}

TEST_F(WindowSearchTest, TitlesAreComparedOnTheirFirst127Characters) {
    const std::string head(120, 'x');
    desktop.add({1, head + "POWERPOINT", true, 0, {}}); // POWERPOINT is cut to "POWERPO"
    desktop.add({2, std::string(130, 'a'), true, 0, {}});
    EXPECT_FALSE(mod.WindowExists("*PowerPoint*"));
    EXPECT_EQ(mod.FindWindowLike(head + "PowerPo"), 1);
    EXPECT_EQ(mod.FindWindowLike(std::string(127, 'A')), 2);
    EXPECT_EQ(mod.FindWindowLike(std::string(128, 'A')), 0);
    for (int limit : desktop.titleLimits)
        EXPECT_EQ(limit, 127);
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

TEST_F(WindowSearchTest, TheCallbackSaysWhetherToGoOn) {
    desktop.add({1, "Hidden", false, 0, {}});
    desktop.add({2, "Report", true, 0, {}});
    mod.FindWindowLike("REP*"); // sets the pattern, then resets what it found
    EXPECT_TRUE(mod.EnumWindowsProc(1));
    EXPECT_FALSE(mod.EnumWindowsProc(2));
    EXPECT_TRUE(mod.EnumWindowsProc(99)); // a window that is gone
}

} // namespace
} // namespace avelin::test
