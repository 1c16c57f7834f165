// The window search over real user32 windows: which windows qualify, the
// matching of titles, the record of PowerPoint's main window, and the user32
// backend's enumeration, owner and title reading.
#include <stdexcept>
#include <string>

#include "platform/win32/user32_window_system.h"
#include "startup/window_search.h"
#include "windows/check.h"
#include "windows/test_window.h"

namespace avelin::wintest {
namespace {

// The windows of one test case, destroyed when it ends.
struct SearchDesktop {
    TestWindow powerPoint{"Microsoft PowerPoint - [Talk.ppt]"};
    TestWindow plainPowerPoint{"PowerPoint"};
    TestWindow controller{"avelin_controller"};
    TestWindow controllerCopy{"avelin_controller - 1"};
    TestWindow popup{"avelin_popup", true, powerPoint.hwnd(), WS_POPUP | WS_CAPTION};
    TestWindow child{"avelin_child", true, powerPoint.hwnd(), WS_CHILD | WS_CAPTION};
    TestWindow launcher{"call_controller", false};
    TestWindow untitled{""};
    User32WindowSystem windows;
    Hwnd powerPointHwnd = 0;
    WindowSearch search{windows, powerPointHwnd};
};

TEST(TitlesMatchInAnyLetterCaseAndWithoutWildcardsAsAWhole) {
    SearchDesktop d;
    const Hwnd firstPowerPoint = comesBefore(d.powerPoint.handle(), d.plainPowerPoint.handle())
                                     ? d.powerPoint.handle()
                                     : d.plainPowerPoint.handle();
    CHECK_EQ(d.search.FindWindowLike("*PowerPoint*"), firstPowerPoint);
    CHECK_EQ(d.search.FindWindowLike("*powerpoint*"), firstPowerPoint);
    CHECK_EQ(d.search.FindWindowLike("microsoft powerpoint - [[]talk.ppt]"), d.powerPoint.handle());
    CHECK_EQ(d.search.FindWindowLike("MICROSOFT POWERPOINT - ?TALK.PPT?"), d.powerPoint.handle());
    CHECK_EQ(d.search.FindWindowLike("powerpoint"), d.plainPowerPoint.handle());

    CHECK_EQ(d.search.FindWindowLike("avelin_controller"), d.controller.handle());
    CHECK_EQ(d.search.FindWindowLike("AVELIN_CONTROLLER"), d.controller.handle());
    CHECK_EQ(d.search.FindWindowLike("Avelin_Controller - #"), d.controllerCopy.handle());
    CHECK(d.search.WindowExists("avelin_controller"));

    // Nothing found: 0, and the next search starts afresh.
    CHECK_EQ(d.search.FindWindowLike("call_controller"), 0);
    CHECK(!d.search.WindowExists("call_controller"));
    CHECK_EQ(d.search.FindWindowLike("avelin_controller"), d.controller.handle());
}

TEST(HiddenOwnedChildAndUntitledWindowsNeverMatch) {
    SearchDesktop d;
    // The launcher's window counts only while it is shown, as start-up's
    // wait for it relies on.
    CHECK(!d.search.WindowExists("call_controller"));
    d.launcher.show();
    CHECK_EQ(d.search.FindWindowLike("call_controller"), d.launcher.handle());
    d.launcher.hide();
    CHECK(!d.search.WindowExists("call_controller"));
    d.launcher.show();
    CHECK(d.search.WindowExists("call_controller"));
    const Hwnd gone = d.launcher.handle();
    d.launcher.destroy();
    CHECK(!d.search.WindowExists("call_controller"));

    // GetParent answers the owner of a visible pop-up, which then does not
    // qualify; a child window is not a top-level window at all.
    CHECK(IsWindowVisible(d.popup.hwnd()));
    CHECK_EQ(d.windows.parent(d.popup.handle()), d.powerPoint.handle());
    CHECK_EQ(d.windows.parent(d.controller.handle()), 0);
    CHECK(!d.search.WindowExists("avelin_popup"));
    CHECK(!d.search.WindowExists("avelin_child"));

    // The per-window rule, after a search has set the pattern "*".
    d.search.FindWindowLike("*");
    TestWindow hidden{"hidden", false};
    CHECK(d.search.EnumWindowsProc(hidden.handle()));
    CHECK(d.search.EnumWindowsProc(gone)); // a window that is gone
    CHECK(d.search.EnumWindowsProc(d.popup.handle()));
    CHECK(d.search.EnumWindowsProc(d.untitled.handle()));
    CHECK(!d.search.EnumWindowsProc(d.controller.handle()));
}

TEST(TitlesAreComparedOnTheirFirst127Characters) {
    SearchDesktop d;
    const std::string title = "AVELIN-LONG-" + std::string(188, 'X');
    TestWindow longTitle{title};
    CHECK_EQ(d.windows.title(longTitle.handle(), 127).size(), 127u);
    CHECK_EQ(d.windows.title(longTitle.handle(), 127), title.substr(0, 127));
    CHECK_EQ(d.search.FindWindowLike(title.substr(0, 127)), longTitle.handle());
    CHECK_EQ(d.search.FindWindowLike(title.substr(0, 128)), 0);
    CHECK_EQ(d.search.FindWindowLike(title), 0);
    CHECK_EQ(d.search.FindWindowLike("avelin-long-x*"), longTitle.handle());
}

TEST(TitlesAreReadInTheSystemCodePage) {
    SearchDesktop d;
    TestWindow accented{"placeholder"};
    const wchar_t* wide = L"Pr\u00e4sentation \u00dcbersicht";
    SetWindowTextW(accented.hwnd(), wide);
    char expected[128] = {};
    const int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, expected, sizeof expected, nullptr, nullptr);
    CHECK(n > 1);
    CHECK_EQ(d.windows.title(accented.handle(), 127), std::string(expected));
    CHECK_EQ(d.search.FindWindowLike("pr*sentation *bersicht"), accented.handle());
}

TEST(EverySearchRecordsTheLastMicrosoftPowerPointWindowItVisits) {
    SearchDesktop d;
    // A title with "PowerPoint" alone is not PowerPoint's main window.
    d.powerPoint.hide();
    CHECK(d.search.WindowExists("*PowerPoint*"));
    CHECK(!d.search.WindowExists("call_controller"));
    CHECK_EQ(d.powerPointHwnd, 0);

    // A search that stops before PowerPoint's window does not see it.
    d.powerPoint.show();
    d.powerPoint.raise();
    d.controller.raise();
    CHECK(d.search.WindowExists("avelin_controller"));
    CHECK_EQ(d.powerPointHwnd, 0);
    // One that goes past it records it, whatever it looks for.
    CHECK(!d.search.WindowExists("call_controller"));
    CHECK_EQ(d.powerPointHwnd, d.powerPoint.handle());

    // With two PowerPoint windows the last one visited wins.
    TestWindow other{"Microsoft Office PowerPoint - [Other.ppt]"};
    other.raise();
    d.powerPoint.raise(); // z-order: powerPoint, other
    CHECK(comesBefore(d.powerPoint.handle(), other.handle()));
    d.search.WindowExists("call_controller");
    CHECK_EQ(d.powerPointHwnd, other.handle());
    other.raise(); // z-order: other, powerPoint
    d.search.WindowExists("call_controller");
    CHECK_EQ(d.powerPointHwnd, d.powerPoint.handle());
    // A search that stops at the first one records only that one.
    CHECK_EQ(d.search.FindWindowLike("*Microsoft*PowerPoint*"), other.handle());
    CHECK_EQ(d.powerPointHwnd, other.handle());
}

TEST(TheEnumerationStopsWhenAskedAndPassesFailuresOn) {
    User32WindowSystem windows;
    TestWindow a{"avelin_a"};
    TestWindow b{"avelin_b"};
    int visits = 0;
    windows.enumWindows([&](Hwnd) {
        ++visits;
        return false;
    });
    CHECK_EQ(visits, 1);

    std::size_t all = 0;
    windows.enumWindows([&](Hwnd) {
        ++all;
        return true;
    });
    CHECK_EQ(all, zOrder().size());

    // An exception of the visitor reaches the caller, past the system's frames.
    std::string caught;
    try {
        windows.enumWindows([](Hwnd) -> bool { throw std::runtime_error("visitor failed"); });
    } catch (const std::runtime_error& e) {
        caught = e.what();
    }
    CHECK_EQ(caught, std::string("visitor failed"));
}

} // namespace
} // namespace avelin::wintest
