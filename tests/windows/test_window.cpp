#include "windows/test_window.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace avelin::wintest {

namespace {

constexpr char kClassName[] = "AvelinTestWindow";

void registerClassOnce() {
    static const bool registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kClassName;
        return RegisterClassExA(&wc) != 0;
    }();
    if (!registered)
        throw std::runtime_error("the test window class cannot be registered");
}

Hwnd toHandle(HWND h) {
    return static_cast<Hwnd>(reinterpret_cast<std::intptr_t>(h));
}

BOOL CALLBACK collect(HWND hwnd, LPARAM lParam) {
    reinterpret_cast<std::vector<Hwnd>*>(lParam)->push_back(toHandle(hwnd));
    return TRUE;
}

} // namespace

TestWindow::TestWindow(const std::string& title, bool visible, HWND owner, DWORD style) {
    registerClassOnce();
    hwnd_ = CreateWindowExA(0, kClassName, title.c_str(), style, 10, 20, 400, 300, owner, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_)
        throw std::runtime_error("CreateWindowEx failed for \"" + title + "\"");
    if (visible)
        show();
}

TestWindow::~TestWindow() {
    destroy();
}

Hwnd TestWindow::handle() const {
    return toHandle(hwnd_);
}

void TestWindow::show() {
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    pumpMessages();
}

void TestWindow::hide() {
    ShowWindow(hwnd_, SW_HIDE);
    pumpMessages();
}

void TestWindow::destroy() {
    if (hwnd_) {
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
        pumpMessages(20);
    }
}

void TestWindow::place(int left, int top, int right, int bottom) {
    MoveWindow(hwnd_, left, top, right - left, bottom - top, TRUE);
    pumpMessages();
}

void TestWindow::raise() {
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    pumpMessages();
}

WindowRect TestWindow::rect() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return {r.left, r.top, r.right, r.bottom};
}

void pumpMessages(int milliseconds) {
    // Wine's X11 driver answers some changes with events that arrive a little
    // later; they are handled when this thread next looks at its queue.
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

std::vector<Hwnd> zOrder() {
    std::vector<Hwnd> order;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&order));
    return order;
}

bool comesBefore(Hwnd a, Hwnd b) {
    const std::vector<Hwnd> order = zOrder();
    const auto pa = std::find(order.begin(), order.end(), a);
    const auto pb = std::find(order.begin(), order.end(), b);
    return pa != order.end() && pb != order.end() && pa < pb;
}

} // namespace avelin::wintest
