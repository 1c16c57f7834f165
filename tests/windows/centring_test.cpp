// The centring over PowerPoint's main window with real user32 windows: the
// arithmetic as the windows end up placed, the restore of a minimised
// PowerPoint, and no move without a PowerPoint window.
#include "platform/win32/user32_window_system.h"
#include "startup/window_search.h"
#include "windows/check.h"
#include "windows/test_window.h"

namespace avelin::wintest {
namespace {

struct CentringDesktop {
    TestWindow powerPoint{"Microsoft PowerPoint - [Talk.ppt]"};
    TestWindow dialog{"avelin Merge Voting Data", true, nullptr, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU};
    User32WindowSystem windows;
    Hwnd powerPointHwnd = 0;
    WindowSearch search{windows, powerPointHwnd};

    // Places PowerPoint's window and checks that the system kept the place,
    // since every expected position below follows from it.
    bool placePowerPoint(const WindowRect& r) {
        powerPoint.place(r.left, r.top, r.right, r.bottom);
        return CHECK_EQ(powerPoint.rect(), r);
    }
    WindowRect centre() {
        search.CentreOnPowerPoint(dialog.handle());
        pumpMessages();
        return dialog.rect();
    }
};

TEST(TheWindowIsCentredKeepingItsSizeWithHalvesRoundedToEven) {
    CentringDesktop d;
    CHECK_EQ(d.dialog.rect(), (WindowRect{10, 20, 410, 320}));
    // (1025 - 400) / 2 = 312.5 -> 312; (768 - 300) / 2 = 234.
    if (d.placePowerPoint({0, 0, 1025, 768}))
        CHECK_EQ(d.centre(), (WindowRect{312, 234, 712, 534}));
    CHECK_EQ(d.powerPointHwnd, d.powerPoint.handle());
    // 313.5 -> 314; 237.5 -> 238.
    if (d.placePowerPoint({1, 3, 1026, 772}))
        CHECK_EQ(d.centre(), (WindowRect{314, 238, 714, 538}));
    // Larger than PowerPoint's window: it starts before it, off the screen.
    d.dialog.place(0, 0, 401, 301);
    if (d.placePowerPoint({0, 0, 300, 200}))
        CHECK_EQ(d.centre(), (WindowRect{-50, -50, 351, 251}));
}

TEST(AMinimisedPowerPointIsRestoredBeforeItsRectangleIsRead) {
    CentringDesktop d;
    const WindowRect normal{100, 100, 1125, 868};
    d.placePowerPoint(normal);
    ShowWindow(d.powerPoint.hwnd(), SW_MINIMIZE);
    pumpMessages();
    CHECK(IsIconic(d.powerPoint.hwnd()));
    CHECK(d.windows.isMinimised(d.powerPoint.handle()));
    CHECK(d.search.WindowExists("*Microsoft*PowerPoint*")); // a minimised window is still visible

    CHECK_EQ(d.centre(), (WindowRect{412, 334, 812, 634}));
    CHECK(!IsIconic(d.powerPoint.hwnd()));
    CHECK(IsWindowVisible(d.powerPoint.hwnd()));
    CHECK(!d.windows.isMinimised(d.powerPoint.handle()));
    CHECK_EQ(d.powerPoint.rect(), normal);

    // A normal window is left as it is: the same place again.
    CHECK_EQ(d.centre(), (WindowRect{412, 334, 812, 634}));
    CHECK_EQ(d.powerPoint.rect(), normal);
}

TEST(WithoutAPowerPointWindowNothingMoves) {
    CentringDesktop d;
    TestWindow viewer{"PowerPoint Viewer"}; // not PowerPoint's main window
    viewer.place(0, 0, 1025, 768);
    d.powerPoint.hide();
    CHECK_EQ(d.centre(), (WindowRect{10, 20, 410, 320}));
    CHECK_EQ(d.powerPointHwnd, 0);

    // Shown again, the next centring finds it by its own search.
    d.powerPoint.show();
    if (d.placePowerPoint({0, 0, 1025, 768}))
        CHECK_EQ(d.centre(), (WindowRect{312, 234, 712, 534}));
    CHECK_EQ(d.powerPointHwnd, d.powerPoint.handle());
}

} // namespace
} // namespace avelin::wintest
