#pragma once
// Mod_Main: the start-up procedure Main, the module globals and the helpers
// the windows share (window search, centring, existence tests).
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/presentation_app.h"
#include "platform/services.h"
#include "startup/like_match.h"
#include "startup/window_search.h"

namespace avelin {

// A work window as start-up sees it: creating it runs its load; start-up then
// centres it by its handle and shows it without waiting.
class WorkWindow {
  public:
    virtual ~WorkWindow() = default;
    virtual Hwnd hWnd() = 0; // the handle the window search knows it by
    virtual void showWindow() = 0;
};

class Mod_Main {
  public:
    // `presentationApp` is the backend that start-up attaches to; it is also
    // PowerPointApp from the start, so a window can be built on a Mod_Main
    // without running Main (as the windows' own tests do).
    Mod_Main(Services& services, PresentationApp* presentationApp);
    ~Mod_Main();

    // Module globals.
    PresentationApp* PowerPointApp = nullptr; // released (nullptr) by the merge window's load
    std::string AddinPath;                    // no trailing separator
    std::string SourceFolderArg;              // second command-line field, upper-cased
    Hwnd PowerPointHwnd = 0;
    std::optional<PresentationInfo> CurrentPresentation; // kept by the manual data window

    // File mode: the presentation and the add-in folder come from files the
    // user named, not from a running PowerPoint. The check for PowerPoint's
    // window then passes and the controller's launcher is not started.
    bool fileMode = false;

    // Start-up. `commandLine` is the text after the program's name, taken
    // whole. Returns the work window it opened, or nullptr when none opened
    // (the program then ends; services.process.endProgram() has been called
    // where start-up ends the program itself).
    WorkWindow* Main(const std::string& commandLine);

    // Factories of the two work windows, set by the program (or a test).
    std::function<std::unique_ptr<WorkWindow>(Mod_Main&)> createMergeWindow;
    std::function<std::unique_ptr<WorkWindow>(Mod_Main&)> createManualWindow;

    bool FileExists(const std::string& path) const;
    bool FolderExists(const std::string& path) const;
    // The window search and the centring (window_search.h), which update
    // PowerPointHwnd.
    Hwnd FindWindowLike(const std::string& pattern) { return search_.FindWindowLike(pattern); }
    bool WindowExists(const std::string& pattern) { return search_.WindowExists(pattern); }
    bool EnumWindowsProc(Hwnd hWnd) { return search_.EnumWindowsProc(hWnd); } // true: go on
    void CentreOnPowerPoint(Hwnd hWnd) { search_.CentreOnPowerPoint(hWnd); }

    // The work window Main opened, if any.
    WorkWindow* window() const { return window_.get(); }

    Services& services;

    // Longest title part the search compares (a 128-character buffer).
    static constexpr int kTitleChars = WindowSearch::kTitleChars;

  private:
    bool AttachPresentationApp();
    bool StartController();
    void WaitAboutTwoSeconds();
    WorkWindow* OpenWorkWindow(const std::function<std::unique_ptr<WorkWindow>(Mod_Main&)>& create);

    PresentationApp* presentationApp_;
    WindowSearch search_; // holds SearchPattern and FoundHwnd
    std::unique_ptr<WorkWindow> window_;
};

} // namespace avelin
