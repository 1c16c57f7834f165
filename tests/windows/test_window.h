#pragma once
// Real top-level windows for the Windows test program, made with
// CreateWindowEx on this thread, and the message pump that lets the system
// (and Wine's X11 driver) catch up after a change.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "platform/window_system.h"

namespace avelin::wintest {

class TestWindow {
  public:
    // A window of a plain class at 10,20 of 400 x 300 pixels. `owner` makes
    // an owned pop-up (or, with WS_CHILD in `style`, a child window).
    explicit TestWindow(const std::string& title, bool visible = true, HWND owner = nullptr,
                        DWORD style = WS_OVERLAPPEDWINDOW);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    Hwnd handle() const; // as the window search sees it
    void show();
    void hide();
    void destroy();
    // Puts the window at the given edges with MoveWindow.
    void place(int left, int top, int right, int bottom);
    // Puts the window at the top of the z-order, without activating it.
    void raise();
    WindowRect rect() const; // GetWindowRect

  private:
    HWND hwnd_ = nullptr;
};

// Dispatches this thread's pending messages for about `milliseconds`.
void pumpMessages(int milliseconds = 50);

// Every top-level window in the order EnumWindows gives them.
std::vector<Hwnd> zOrder();
// True when `a` comes before `b` in that order.
bool comesBefore(Hwnd a, Hwnd b);

} // namespace avelin::wintest

namespace avelin {
inline bool operator==(const WindowRect& a, const WindowRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& out, const WindowRect& r) {
    return out << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}
} // namespace avelin
