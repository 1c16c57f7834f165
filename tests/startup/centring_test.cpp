// CentreOnPowerPoint: the arithmetic, the restore of a minimised PowerPoint
// and the cases where there is nothing to centre on.
#include "startup/start_up_fixture.h"

namespace avelin::test {
namespace {

constexpr Hwnd kDialog = 0x20000;

class CentringTest : public StartUpTest {
  protected:
    CentringTest() { desktop.add({kDialog, "avelin Merge Voting Data", true, 0, {10, 20, 410, 320}}); }
    FakeWindow& powerPoint() { return *desktop.find(kPowerPoint); }
};

TEST_F(CentringTest, TheWindowKeepsItsSizeAndHalvesRoundToEven) {
    mod.CentreOnPowerPoint(kDialog);
    // (1025 - 400) / 2 = 312.5 -> 312; (768 - 300) / 2 = 234.
    ASSERT_EQ(desktop.moves.size(), 1u);
    EXPECT_EQ(desktop.moves[0], (WindowMove{kDialog, 312, 234, 400, 300}));

    powerPoint().rect = {1, 3, 1026, 772}; // 313.5 -> 314; 237.5 -> 238
    mod.CentreOnPowerPoint(kDialog);
    EXPECT_EQ(desktop.moves.back(), (WindowMove{kDialog, 314, 238, 400, 300}));

    // Larger than PowerPoint's window: left and top go before its own.
    powerPoint().rect = {0, 0, 300, 200};
    desktop.find(kDialog)->rect = {0, 0, 401, 301}; // -50.5 -> -50 both ways
    mod.CentreOnPowerPoint(kDialog);
    EXPECT_EQ(desktop.moves.back(), (WindowMove{kDialog, -50, -50, 401, 301}));
}

TEST_F(CentringTest, AMinimisedPowerPointIsRestoredBeforeItsRectangleIsRead) {
    powerPoint().minimised = true;
    desktop.normalRect = WindowRect{100, 100, 1125, 868};
    mod.CentreOnPowerPoint(kDialog);
    EXPECT_EQ(desktop.restored, std::vector<Hwnd>{kPowerPoint});
    EXPECT_FALSE(powerPoint().minimised);
    EXPECT_EQ(desktop.moves.back(), (WindowMove{kDialog, 412, 334, 400, 300}));

    // A normal window is not touched.
    mod.CentreOnPowerPoint(kDialog);
    EXPECT_EQ(desktop.restored.size(), 1u);
}

TEST_F(CentringTest, WithoutAKnownPowerPointWindowItSearchesForOne) {
    desktop.windows.insert(desktop.windows.begin(),
                           {0x10001, "PowerPoint Viewer", true, 0, {0, 0, 100, 100}});
    desktop.add({0x10002, "Microsoft PowerPoint - [Other.pptx]", true, 0, {0, 0, 2000, 1000}});
    ASSERT_EQ(mod.PowerPointHwnd, 0);
    mod.CentreOnPowerPoint(kDialog);
    // The search stops at the first "*MICROSOFT*POWERPOINT*" window.
    EXPECT_EQ(mod.PowerPointHwnd, kPowerPoint);
    EXPECT_EQ(desktop.moves.back(), (WindowMove{kDialog, 312, 234, 400, 300}));
}

TEST_F(CentringTest, WithNoPowerPointWindowTheWindowStaysUnlessTheSystemOffersAFallback) {
    desktop.remove(kPowerPoint);
    mod.CentreOnPowerPoint(kDialog);
    EXPECT_TRUE(desktop.moves.empty());
    EXPECT_EQ(desktop.find(kDialog)->rect.left, 10);

    // A window system that sees only this program's windows centres on the screen.
    desktop.fallback = WindowRect{0, 0, 1280, 1024};
    mod.CentreOnPowerPoint(kDialog);
    EXPECT_EQ(desktop.moves.back(), (WindowMove{kDialog, 440, 362, 400, 300}));

    // A handle that is not above zero is no PowerPoint window.
    desktop.fallback.reset();
    desktop.moves.clear();
    mod.PowerPointHwnd = -5;
    mod.CentreOnPowerPoint(kDialog);
    EXPECT_TRUE(desktop.moves.empty());
}

} // namespace
} // namespace avelin::test
