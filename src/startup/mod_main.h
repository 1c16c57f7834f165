#pragma once
// Mod_Main: the start-up procedure Main, the module globals and the helpers
// the windows share (window search, centring, existence tests).
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/presentation_app.h"
#include "platform/services.h"

class QWidget;

namespace avelin {

// A work window as start-up sees it: creating it runs its load; start-up then
// centres it by its handle and shows it without waiting.
class WorkWindow {
public:
    virtual ~WorkWindow() = default;
    virtual QWidget* widget() = 0;
    virtual void showWindow() = 0;
};

class Mod_Main {
public:
    Mod_Main(Services& services, PresentationApp* presentationApp);

    // Module globals.
    PresentationApp* PowerPointApp = nullptr; // released (nullptr) by the merge window's load
    std::string AddinPath;                    // no trailing separator
    std::string SourceFolderArg;              // second command-line field, upper-cased
    Hwnd PowerPointHwnd = 0;
    std::optional<PresentationInfo> CurrentPresentation; // kept by the manual data window

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
    Hwnd FindWindowLike(const std::string& pattern);
    bool WindowExists(const std::string& pattern);
    bool EnumWindowsProc(Hwnd hWnd); // true: go on
    void CentreOnPowerPoint(Hwnd hWnd);
    // The handle of one of the program's own windows.
    Hwnd HandleOf(QWidget* window) const;

    Services& services;

private:
    std::string SearchPattern;
    Hwnd FoundHwnd = 0;
    std::unique_ptr<WorkWindow> window_;
};

// The wildcard match of window titles: * ? # [list] [!list], exact characters.
bool LikeMatch(const std::string& text, const std::string& pattern);

} // namespace avelin
