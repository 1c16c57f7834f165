#pragma once
// The top-level windows of the desktop, as the window search and the centring
// see them. On Windows this is user32; elsewhere the program's own windows.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace avelin {

using Hwnd = std::int32_t; // 0 means none

struct WindowRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // Calls `visit` for each top-level window in z-order until it returns false.
    virtual void enumWindows(const std::function<bool(Hwnd)>& visit) = 0;
    virtual bool isVisible(Hwnd h) = 0;
    virtual Hwnd parent(Hwnd h) = 0; // the owner for owned pop-ups, 0 for top-level windows
    // At most `maxChars` characters of the title, in the system code page.
    virtual std::string title(Hwnd h, int maxChars) = 0;
    virtual bool isMinimised(Hwnd h) = 0;
    virtual void restore(Hwnd h) = 0; // show state back to normal
    virtual WindowRect rect(Hwnd h) = 0;
    virtual void moveWindow(Hwnd h, int left, int top, int width, int height) = 0;
    // Where a window is centred when no presentation application window is
    // known: nullopt (user32) leaves it where it is; a backend that cannot see
    // other programs' windows gives the screen's work area.
    virtual std::optional<WindowRect> centringFallback() { return std::nullopt; }
};

} // namespace avelin
