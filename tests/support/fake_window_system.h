#pragma once
// A desktop of made-up top-level windows for the window search and the
// centring: a list in z-order, and a record of what was asked of it.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/window_system.h"

namespace avelin::test {

struct FakeWindow {
    Hwnd hwnd = 0;
    std::string title;
    bool visible = true;
    Hwnd parent = 0; // the owner of an owned pop-up
    WindowRect rect{};
    bool minimised = false;
};

struct WindowMove {
    Hwnd hwnd;
    int left, top, width, height;
    bool operator==(const WindowMove&) const = default;
};

class FakeWindowSystem : public WindowSystem {
  public:
    std::vector<FakeWindow> windows; // z-order, front first
    std::optional<WindowRect> fallback;
    std::optional<WindowRect> normalRect; // what restore() gives back

    std::vector<Hwnd> visited;    // every window handed to the visitor
    std::vector<Hwnd> restored;
    std::vector<WindowMove> moves;

    FakeWindow& add(FakeWindow w) { return windows.emplace_back(std::move(w)); }
    void remove(Hwnd h) {
        std::erase_if(windows, [h](const FakeWindow& w) { return w.hwnd == h; });
    }
    FakeWindow* find(Hwnd h) {
        const auto it =
            std::find_if(windows.begin(), windows.end(), [h](const FakeWindow& w) { return w.hwnd == h; });
        return it == windows.end() ? nullptr : &*it;
    }

    void enumWindows(const std::function<bool(Hwnd)>& visit) override {
        const std::vector<FakeWindow> snapshot = windows; // the visitor may change the list
        for (const auto& w : snapshot) {
            visited.push_back(w.hwnd);
            if (!visit(w.hwnd))
                return;
        }
    }
    bool isVisible(Hwnd h) override { return find(h) && find(h)->visible; }
    Hwnd parent(Hwnd h) override { return find(h) ? find(h)->parent : 0; }
    std::string title(Hwnd h, int maxChars) override {
        return find(h) ? find(h)->title.substr(0, static_cast<std::size_t>(std::max(maxChars, 0))) : "";
    }
    bool isMinimised(Hwnd h) override { return find(h) && find(h)->minimised; }
    void restore(Hwnd h) override {
        restored.push_back(h);
        if (FakeWindow* w = find(h)) {
            w->minimised = false;
            if (normalRect) // a restored window gets its normal rectangle back
                w->rect = *normalRect;
        }
    }
    WindowRect rect(Hwnd h) override {
        if (find(h) && find(h)->minimised) // a minimised window sits off-screen, as on Windows
            return {-32000, -32000, -31840, -31972};
        return find(h) ? find(h)->rect : WindowRect{};
    }
    void moveWindow(Hwnd h, int left, int top, int width, int height) override {
        moves.push_back({h, left, top, width, height});
        if (FakeWindow* w = find(h))
            w->rect = {left, top, left + width, top + height};
    }
    std::optional<WindowRect> centringFallback() override { return fallback; }
};

} // namespace avelin::test
