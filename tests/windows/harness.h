#pragma once
// The harness of the Windows test program, which is cross-compiled without
// GoogleTest and run under Wine: named test cases, checks that report a
// failure and go on, and real top-level windows with the message pump that
// lets the system catch up after a change.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/window_system.h"

namespace avelin {
inline bool operator==(const WindowRect& a, const WindowRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& out, const WindowRect& r) {
    return out << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}
} // namespace avelin

namespace avelin::wintest {

struct TestCase {
    const char* name;
    void (*body)();
};
inline std::vector<TestCase>& testCases() {
    static std::vector<TestCase> cases;
    return cases;
}
inline int checks = 0, failures = 0;

inline bool record(bool ok, const char* what, const char* file, int line, const std::string& seen = "") {
    ++checks;
    if (!ok) {
        ++failures;
        std::printf("FAILED %s:%d: %s%s\n", file, line, what, seen.c_str());
    }
    return ok;
}

// Values that differ are shown from the line where their texts part.
template <typename A, typename B>
bool checkEqual(const A& a, const B& b, const char* what, const char* file, int line) {
    std::ostringstream x, y;
    x << a;
    y << b;
    const std::string s = x.str(), t = y.str();
    const std::size_t at = std::mismatch(s.begin(), s.end(), t.begin(), t.end()).first - s.begin();
    const auto part = [at](const std::string& u) {
        return u.substr(at ? u.rfind('\n', at - 1) + 1 : 0, 200);
    };
    return record(a == b, what, file, line, a == b ? "" : " -- " + part(s) + " vs " + part(t));
}

// Runs every test case, or only the one named `only`; an exception ends its
// case as one failed check. Prints a line per case and "N passed, M failed";
// 1 when a check failed.
inline int runAll(const char* only = nullptr) {
    for (const TestCase& test : testCases()) {
        if (only && std::string(only) != test.name)
            continue;
        const int failuresBefore = failures;
        try {
            test.body();
        } catch (const std::exception& e) {
            record(false, "unexpected exception", test.name, 0, std::string(" -- ") + e.what());
        }
        std::printf("%s %s\n", failures == failuresBefore ? "ok    " : "FAILED", test.name);
    }
    std::printf("%d passed, %d failed\n", checks - failures, failures);
    std::fflush(stdout);
    return failures == 0 ? 0 : 1;
}

// Handles this thread's messages for about `milliseconds`: Wine's X11 driver
// answers some changes with events that arrive a little later.
inline void pumpMessages(int milliseconds = 50) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

// Pumps messages until `done()` or for `milliseconds` at most; whether done.
template <typename Done> bool waitFor(Done done, int milliseconds) {
    for (const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds); !done(); pumpMessages(20))
        if (static_cast<int>(end - GetTickCount()) <= 0)
            return false;
    return true;
}

inline std::string OwnPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// This program started again, with `arguments` after its quoted path: its
// process, to be closed, or nullptr.
inline HANDLE StartAgain(const std::string& arguments = "") {
    const std::string path = OwnPath();
    std::string commandLine = "\"" + path + "\"" + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

// A window of a plain class at 10,20 of 400 x 300 pixels, destroyed with the
// object. With an `owner`, WS_POPUP makes an owned pop-up, WS_CHILD a child.
class TestWindow {
  public:
    explicit TestWindow(const std::string& title, bool visible = true, HWND owner = nullptr,
                        DWORD style = WS_OVERLAPPEDWINDOW) {
        static const ATOM windowClass = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "AvelinTestWindow";
            return RegisterClassA(&wc);
        }();
        hwnd_ = CreateWindowExA(0, MAKEINTATOM(windowClass), title.c_str(), style, 10, 20, 400, 300, owner,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        if (!hwnd_)
            throw std::runtime_error("no window \"" + title + "\"");
        if (visible)
            show();
    }
    ~TestWindow() { DestroyWindow(hwnd_); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    Hwnd handle() const { return static_cast<Hwnd>(reinterpret_cast<std::intptr_t>(hwnd_)); }
    // ShowWindow: shown without activation, or SW_HIDE, SW_MINIMIZE ...
    void show(int how = SW_SHOWNOACTIVATE) {
        ShowWindow(hwnd_, how);
        pumpMessages();
    }
    // To the top of the z-order, without activating it.
    void raise() {
        SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        pumpMessages();
    }
    WindowRect rect() const {
        RECT r{};
        GetWindowRect(hwnd_, &r);
        return {r.left, r.top, r.right, r.bottom};
    }

  private:
    HWND hwnd_ = nullptr;
};

} // namespace avelin::wintest

#define TEST(name)                                                                                           \
    static void name();                                                                                      \
    [[maybe_unused]] static const bool registered_##name =                                                   \
        (::avelin::wintest::testCases().push_back({#name, name}), true);                                     \
    static void name()
#define CHECK(condition)                                                                                     \
    ::avelin::wintest::record(static_cast<bool>(condition), #condition, __FILE__, __LINE__)
#define CHECK_EQ(a, b) ::avelin::wintest::checkEqual((a), (b), #a " == " #b, __FILE__, __LINE__)
