#pragma once
// The window system where the program cannot see other programs' windows:
// the program's own Qt top-level windows. PowerPoint's window is then never
// found, so centring falls back to the centre of the screen's work area.
#include "platform/window_system.h"

class QWidget;

namespace avelin {

class QtWindowSystem : public WindowSystem {
  public:
    // A stable handle for a top-level widget (1, 2, ... in order of first
    // use), forgotten when the widget is destroyed. 0 for nullptr.
    static Hwnd handleOf(QWidget* window);
    // The widget of a handle, or nullptr when it is gone or unknown.
    static QWidget* widgetOf(Hwnd h);

    void enumWindows(const std::function<bool(Hwnd)>& visit) override;
    bool isVisible(Hwnd h) override;
    Hwnd parent(Hwnd h) override;
    std::string title(Hwnd h, int maxChars) override;
    bool isMinimised(Hwnd h) override;
    void restore(Hwnd h) override;
    WindowRect rect(Hwnd h) override;
    void moveWindow(Hwnd h, int left, int top, int width, int height) override;
    std::optional<WindowRect> centringFallback() override;
};

} // namespace avelin
