#include "platform/win32/user32_window_system.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <exception>
#include <vector>

namespace avelin {

namespace {

// Window handles carry 32 significant bits, also in 64-bit processes; the
// sign extension back is what the system itself does.
HWND toHwnd(Hwnd h) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(h));
}
Hwnd fromHwnd(HWND h) {
    return static_cast<Hwnd>(reinterpret_cast<std::intptr_t>(h));
}

static_assert(sizeof(WINDOWPLACEMENT) == 44, "the placement record is 44 bytes long");
constexpr UINT kShowMinimised = 2;
constexpr UINT kShowNormal = 1;

struct EnumState {
    const std::function<bool(Hwnd)>* visit;
    std::exception_ptr failure;
};

BOOL CALLBACK enumProc(HWND hwnd, LPARAM lParam) {
    auto* state = reinterpret_cast<EnumState*>(lParam);
    // An exception must not cross the system's frames: keep it for later.
    try {
        return (*state->visit)(fromHwnd(hwnd)) ? TRUE : FALSE;
    } catch (...) {
        state->failure = std::current_exception();
        return FALSE;
    }
}

WINDOWPLACEMENT placementOf(HWND hwnd) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(hwnd, &placement);
    return placement;
}

} // namespace

void User32WindowSystem::enumWindows(const std::function<bool(Hwnd)>& visit) {
    EnumState state{&visit, nullptr};
    EnumWindows(enumProc, reinterpret_cast<LPARAM>(&state));
    if (state.failure)
        std::rethrow_exception(state.failure);
}

bool User32WindowSystem::isVisible(Hwnd h) {
    return IsWindowVisible(toHwnd(h)) != 0;
}

Hwnd User32WindowSystem::parent(Hwnd h) {
    return fromHwnd(GetParent(toHwnd(h)));
}

std::string User32WindowSystem::title(Hwnd h, int maxChars) {
    if (maxChars <= 0)
        return {};
    std::vector<char> buffer(static_cast<std::size_t>(maxChars) + 1);
    const int n = GetWindowTextA(toHwnd(h), buffer.data(), static_cast<int>(buffer.size()));
    return n > 0 ? std::string(buffer.data(), static_cast<std::size_t>(n)) : std::string();
}

bool User32WindowSystem::isMinimised(Hwnd h) {
    return placementOf(toHwnd(h)).showCmd == kShowMinimised;
}

void User32WindowSystem::restore(Hwnd h) {
    WINDOWPLACEMENT placement = placementOf(toHwnd(h));
    placement.showCmd = kShowNormal;
    SetWindowPlacement(toHwnd(h), &placement);
}

WindowRect User32WindowSystem::rect(Hwnd h) {
    RECT r{};
    GetWindowRect(toHwnd(h), &r);
    return {r.left, r.top, r.right, r.bottom};
}

void User32WindowSystem::moveWindow(Hwnd h, int left, int top, int width, int height) {
    MoveWindow(toHwnd(h), left, top, width, height, TRUE);
}

} // namespace avelin
