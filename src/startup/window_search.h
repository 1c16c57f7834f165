#pragma once
// The search of the desktop's top-level windows by a wildcard pattern on their
// titles, and the centring of a window over PowerPoint's main window. Qt-free,
// so that it runs as it is over user32 (and under Wine in the Windows test).
#include <string>

#include "platform/window_system.h"

namespace avelin {

class WindowSearch {
  public:
    // `powerPointHwnd` is the module global that every search updates as a
    // side effect; it belongs to Mod_Main and outlives this object.
    WindowSearch(WindowSystem& windows, Hwnd& powerPointHwnd)
        : windows_(windows), PowerPointHwnd(powerPointHwnd) {}

    // The first visible, titled top-level window without a parent whose title
    // matches `pattern` (both upper-cased), or 0.
    Hwnd FindWindowLike(const std::string& pattern);
    bool WindowExists(const std::string& pattern);
    bool EnumWindowsProc(Hwnd hWnd); // true: go on
    void CentreOnPowerPoint(Hwnd hWnd);

    // Longest title part the search compares (a 128-character buffer).
    static constexpr int kTitleChars = 127;

  private:
    WindowSystem& windows_;
    Hwnd& PowerPointHwnd;
    std::string SearchPattern; // of the search in progress, upper-cased
    Hwnd FoundHwnd = 0;        // reset when the search returns
};

} // namespace avelin
