// The search of top-level windows by title, its per-window rules, and the
// centring over PowerPoint's window, on a made-up desktop.
#include "startup/start_up_fixture.h"

namespace avelin::test {
namespace {

class WindowSearchTest : public StartUpTest {
  protected:
    WindowSearchTest() { desktop.windows.clear(); }
};

TEST_F(WindowSearchTest, OnlyVisibleTitledTopLevelWindowsQualifyTheFirstWinsAndPowerPointIsRecordedOnTheWay) {
    desktop.windows = {
        {1, "avelin_controller", false, 0, {}},                 // invisible
        {2, "avelin_controller", true, 9, {}},                  // owned pop-up
        {3, "", true, 0, {}},                                   // untitled
        {4, "avelin_controller - 1", true, 0, {}},              // not the whole title
        {5, "PowerPoint", true, 0, {}},                         // no MICROSOFT before POWERPOINT
        {6, "Microsoft PowerPoint - [Talk.ppt]", false, 0, {}}, // invisible
        {7, "Microsoft PowerPoint - [Talk.ppt]", true, 0, {}},
        {8, "microsoft office powerpoint", true, 0, {}},
        {9, "AVELIN_CONTROLLER", true, 0, {}},
        {10, "avelin_controller", true, 0, {}},
        {11, "Microsoft PowerPoint - [Late.ppt]", true, 0, {}},
        {12, std::string(120, 'x') + "POWERPOINT", true, 0, {}}, // titles are cut to 127 characters
    };
    // Searches in this order: the pattern, the window found, PowerPointHwnd
    // afterwards (every search records each PowerPoint window it visits up
    // to where it stops, the last one winning) and the windows it visited.
    const std::tuple<std::string, Hwnd, Hwnd, int> searches[] = {
        {"Avelin_Controller", 9, 8, 9}, // letter case ignored on both sides
        {"*", 4, 8, 4},
        {"*PowerPoint*", 5, 8, 5},
        {"*Microsoft*PowerPoint*", 7, 7, 7}, // recorded before the search stops
        {"nothing", 0, 11, 12},              // visits every window
        {"call_controller", 0, 11, 12},      // and the next search starts afresh
        {std::string(120, 'x') + "POWERPO", 12, 11, 12},
    };
    for (const auto& [pattern, found, powerPoint, visited] : searches) {
        desktop.visited.clear();
        EXPECT_EQ(mod.FindWindowLike(pattern), found) << pattern;
        EXPECT_EQ(mod.PowerPointHwnd, powerPoint) << pattern;
        EXPECT_EQ(desktop.visited.size(), static_cast<std::size_t>(visited)) << pattern;
    }
}

constexpr Hwnd kDialog = 0x20000;

class CentringTest : public StartUpTest {
  protected:
    CentringTest() { desktop.add({kDialog, "avelin Merge Voting Data", true, 0, {10, 20, 410, 320}}); }
};

TEST_F(CentringTest, TheWindowKeepsItsSizeHalvesRoundToEvenAndAMinimisedPowerPointIsRestoredFirst) {
    // PowerPoint's window (its normal one, when minimised), the dialog's, and
    // where the dialog goes.
    const std::tuple<WindowRect, bool, WindowRect, int, int> cases[] = {
        {{0, 0, 1025, 768}, false, {10, 20, 410, 320}, 312, 234}, // 312.5 -> 312
        {{1, 3, 1026, 772}, false, {10, 20, 410, 320}, 314, 238}, // 313.5 -> 314; 237.5 -> 238
        // Larger than PowerPoint's window: it starts before it, even off the screen.
        {{0, 0, 300, 200}, false, {0, 0, 401, 301}, -50, -50}, // -50.5 -> -50
        {{100, 100, 1125, 868}, true, {10, 20, 410, 320}, 412, 334},
    };
    for (const auto& [powerPoint, minimised, dialog, left, top] : cases) {
        desktop.restored.clear();
        desktop.find(kPowerPoint)->rect = powerPoint;
        desktop.find(kPowerPoint)->minimised = minimised;
        desktop.normalRect = powerPoint;
        desktop.find(kDialog)->rect = dialog;
        mod.CentreOnPowerPoint(kDialog);
        const WindowMove expected{kDialog, left, top, dialog.right - dialog.left, dialog.bottom - dialog.top};
        EXPECT_EQ(desktop.moves.back(), expected) << left << "," << top;
        EXPECT_EQ(desktop.restored, minimised ? std::vector<Hwnd>{kPowerPoint} : std::vector<Hwnd>{});
    }
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
}

} // namespace
} // namespace avelin::test
