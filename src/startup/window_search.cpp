#include "startup/window_search.h"

#include <cstddef>

#include "startup/like_match.h"
#include "startup/rounding.h"

namespace avelin {

Hwnd WindowSearch::FindWindowLike(const std::string& pattern) {
    SearchPattern = UpperCase(pattern);
    windows_.enumWindows([this](Hwnd h) { return EnumWindowsProc(h); });
    const Hwnd result = FoundHwnd;
    FoundHwnd = 0;
    return result;
}

bool WindowSearch::WindowExists(const std::string& pattern) {
    return FindWindowLike(pattern) != 0;
}

bool WindowSearch::EnumWindowsProc(Hwnd hWnd) {
    if (!windows_.isVisible(hWnd) || windows_.parent(hWnd) != 0)
        return true;
    std::string title = windows_.title(hWnd, kTitleChars);
    if (title.size() > static_cast<std::size_t>(kTitleChars))
        title.resize(kTitleChars);
    if (title.empty())
        return true;
    title = UpperCase(title);
    // Recorded before the pattern test: every search remembers each
    // PowerPoint main window it visits, the last one winning.
    if (LikeMatch(title, "*MICROSOFT*POWERPOINT*"))
        PowerPointHwnd = hWnd;
    if (LikeMatch(title, SearchPattern)) {
        FoundHwnd = hWnd;
        return false;
    }
    return true;
}

void WindowSearch::CentreOnPowerPoint(Hwnd hWnd) {
    if (PowerPointHwnd == 0)
        WindowExists("*Microsoft*PowerPoint*");
    WindowRect P;
    if (PowerPointHwnd > 0) {
        if (windows_.isMinimised(PowerPointHwnd))
            windows_.restore(PowerPointHwnd);
        P = windows_.rect(PowerPointHwnd);
    } else if (const auto area = windows_.centringFallback()) {
        // A backend that sees no other program's windows centres on the
        // screen instead; user32 has no fallback and leaves the window be.
        P = *area;
    } else {
        return;
    }
    const WindowRect W = windows_.rect(hWnd);
    const int width = W.right - W.left;
    const int height = W.bottom - W.top;
    const double left = (static_cast<double>(P.right) - P.left - width) / 2.0 + P.left;
    const double top = (static_cast<double>(P.bottom) - P.top - height) / 2.0 + P.top;
    windows_.moveWindow(hWnd, static_cast<int>(RoundHalfEven(left)), static_cast<int>(RoundHalfEven(top)),
                        width, height);
}

} // namespace avelin
