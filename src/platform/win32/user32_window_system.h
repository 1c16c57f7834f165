#pragma once
// The window system of Windows: every top-level window of the desktop,
// through user32.
#include "platform/window_system.h"

namespace avelin {

class User32WindowSystem : public WindowSystem {
  public:
    void enumWindows(const std::function<bool(Hwnd)>& visit) override;
    bool isVisible(Hwnd h) override;
    Hwnd parent(Hwnd h) override;
    std::string title(Hwnd h, int maxChars) override;
    bool isMinimised(Hwnd h) override;
    void restore(Hwnd h) override;
    WindowRect rect(Hwnd h) override;
    void moveWindow(Hwnd h, int left, int top, int width, int height) override;
};

} // namespace avelin
