// The window search and the centring over real user32 windows: only what the
// backend adds to the rules that tests/startup pins down on a fake desktop.
#include <stdexcept>
#include <string>

#include "platform/win32/user32_window_system.h"
#include "startup/window_search.h"
#include "windows/harness.h"

namespace avelin::wintest {
namespace {

struct Search {
    User32WindowSystem windows;
    Hwnd powerPointHwnd = 0;
    WindowSearch search{windows, powerPointHwnd};
};

TEST(OnlyShownTitledTopLevelWindowsWithoutOwnerQualify) {
    Search s;
    TestWindow owner{"avelin_owner"};
    TestWindow hidden{"avelin_hidden", false};
    TestWindow untitled{""};
    TestWindow popup{"avelin_popup", true, owner.hwnd(), WS_POPUP | WS_CAPTION};
    TestWindow child{"avelin_child", true, owner.hwnd(), WS_CHILD | WS_CAPTION};
    // GetParent answers the owner of a visible pop-up, which then does not
    // qualify; a child window is no top-level window.
    CHECK(IsWindowVisible(popup.hwnd()));
    CHECK_EQ(s.windows.parent(popup.handle()), owner.handle());
    CHECK(!s.search.WindowExists("avelin_popup"));
    CHECK(!s.search.WindowExists("avelin_child"));
    // "*" stops at the first window that qualifies: none of these, even at the top.
    for (TestWindow* w : {&hidden, &untitled, &popup}) {
        w->raise();
        CHECK(s.search.FindWindowLike("*") != w->handle());
    }
    owner.raise(); // its pop-up stays above it
    CHECK_EQ(s.search.FindWindowLike("*"), owner.handle());

    // Visibility is read at each search: start-up waits for windows to come and go.
    hidden.show();
    CHECK_EQ(s.search.FindWindowLike("AVELIN_HIDDEN"), hidden.handle());
    hidden.show(SW_HIDE);
    CHECK(!s.search.WindowExists("avelin_hidden"));

    // An exception of the visitor reaches the caller, past the system's frames.
    std::string caught;
    try {
        s.windows.enumWindows([](Hwnd) -> bool { throw std::runtime_error("visitor failed"); });
    } catch (const std::runtime_error& e) {
        caught = e.what();
    }
    CHECK_EQ(caught, std::string("visitor failed"));
}

TEST(TitlesAreReadInTheSystemCodePageUpTo127Characters) {
    Search s;
    const std::string title = "AVELIN-LONG-" + std::string(188, 'X');
    TestWindow longTitle{title};
    CHECK_EQ(s.windows.title(longTitle.handle(), 127), title.substr(0, 127));
    CHECK_EQ(s.search.FindWindowLike(title.substr(0, 127)), longTitle.handle());

    TestWindow accented{"placeholder"};
    const wchar_t* wide = L"Pr\u00e4sentation \u00dcbersicht";
    SetWindowTextW(accented.hwnd(), wide);
    char expected[128] = {};
    CHECK(WideCharToMultiByte(CP_ACP, 0, wide, -1, expected, sizeof expected, nullptr, nullptr) > 1);
    CHECK_EQ(s.windows.title(accented.handle(), 127), std::string(expected));
    CHECK_EQ(s.search.FindWindowLike("pr*sentation *bersicht"), accented.handle());
}

TEST(AWindowIsCentredOverPowerPointWhichIsRestoredWhenMinimised) {
    Search s;
    TestWindow dialog{"avelin Merge Voting Data", true, nullptr, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU};
    // Without a PowerPoint window nothing moves: user32 offers no other place.
    s.search.CentreOnPowerPoint(dialog.handle());
    pumpMessages();
    CHECK_EQ(dialog.rect(), (WindowRect{10, 20, 410, 320}));

    TestWindow powerPoint{"Microsoft PowerPoint - [Talk.ppt]"};
    const WindowRect normal{100, 100, 1125, 868};
    MoveWindow(powerPoint.hwnd(), 100, 100, 1025, 768, TRUE);
    pumpMessages();
    CHECK_EQ(powerPoint.rect(), normal); // every position below follows from it
    powerPoint.show(SW_MINIMIZE);
    CHECK(s.windows.isMinimised(powerPoint.handle()));

    // Found by the centring's own search, and restored before it is read:
    // (1025 - 400) / 2 + 100 = 412.5 -> 412; (768 - 300) / 2 + 100 = 334.
    s.search.CentreOnPowerPoint(dialog.handle());
    pumpMessages();
    CHECK_EQ(s.powerPointHwnd, powerPoint.handle());
    CHECK(!IsIconic(powerPoint.hwnd()) && IsWindowVisible(powerPoint.hwnd()));
    CHECK_EQ(powerPoint.rect(), normal);
    CHECK_EQ(dialog.rect(), (WindowRect{412, 334, 812, 634}));
}

} // namespace
} // namespace avelin::wintest
