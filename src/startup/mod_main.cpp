#include "startup/mod_main.h"

#include <exception>
#include <stdexcept>
#include <vector>

#include "platform/file_system.h"
#include "startup/rounding.h"

namespace avelin {

namespace {

constexpr double kSecondsPerDay = 86400.0;

std::vector<std::string> SplitAtCommas(const std::string& text) {
    std::vector<std::string> fields(1);
    for (char c : text) {
        if (c == ',')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

} // namespace

Mod_Main::Mod_Main(Services& services, PresentationApp* presentationApp)
    : PowerPointApp(presentationApp), services(services), presentationApp_(presentationApp),
      search_(services.windows, PowerPointHwnd) {}

Mod_Main::~Mod_Main() = default;

WorkWindow* Mod_Main::Main(const std::string& commandLine) {
    // An empty command line asks for no job. Start-up then does nothing at
    // all: no search, no controller launch, no window; the program ends.
    if (commandLine.empty())
        return nullptr;

    // 1. Presentation application present (the search also records
    // PowerPointHwnd). In file mode there is no such window to require.
    if (!WindowExists("*PowerPoint*") && !fileMode) {
        services.process.endProgram();
        return nullptr;
    }
    // 2. Single copy.
    if (services.process.previousInstance()) {
        services.process.endProgram();
        return nullptr;
    }
    // 3 and 4. Application object and add-in folder.
    if (!AttachPresentationApp())
        return nullptr;
    // 5. Controller program; without PowerPoint there is no keypad controller.
    if (!fileMode && !WindowExists("avelin_controller") && !StartController())
        return nullptr;

    // 6. Command line.
    const std::vector<std::string> fields = SplitAtCommas(commandLine);
    const std::string Mode = UpperCase(fields[0]);
    if (fields.size() >= 2)
        SourceFolderArg = UpperCase(fields[1]);

    // 7. Work window; exact comparisons after the upper-casing.
    if (Mode == "MERGE")
        return OpenWorkWindow(createMergeWindow);
    if (Mode == "CREATE")
        return OpenWorkWindow(createManualWindow);
    return nullptr;
}

// Without the presentation application's object or its "avelin" add-in,
// start-up cannot go on. The user gets a message box
// saying which of the two failed (the backend's text), then the program ends.
bool Mod_Main::AttachPresentationApp() {
    try {
        PowerPointApp = presentationApp_;
        if (!PowerPointApp)
            throw std::runtime_error("PowerPoint could not be reached.");
        PowerPointApp->attach();
        AddinPath = PowerPointApp->addinPath("avelin");
        return true;
    } catch (const std::exception& e) {
        services.dialogs.messageBox(std::string("avelin cannot start: ") + e.what(), 16, "Error");
        services.process.endProgram();
        return false;
    }
}

bool Mod_Main::StartController() {
    const std::string launcher = AddinPath + kPathSeparator + "call_controller.exe";
    if (!FileExists(launcher)) {
        services.dialogs.messageBox("Call_Controller application is not installed", 16, "Error");
        services.process.endProgram();
        return false;
    }
    services.process.startProgram(launcher);
    // While the launcher's own window is there; no time limit.
    while (WindowExists("call_controller"))
        services.process.processEvents();
    WaitAboutTwoSeconds();
    return true;
}

void Mod_Main::WaitAboutTwoSeconds() {
    // The start is rounded, so the wait lasts 1.5 to 2.5 seconds. The clock
    // restarts at midnight: a difference far below zero means the day has
    // turned, and a day is added back so the wait still ends.
    const double start = RoundHalfEven(services.clock.secondsSinceMidnight());
    for (;;) {
        double elapsed = services.clock.secondsSinceMidnight() - start;
        if (elapsed < -kSecondsPerDay / 2)
            elapsed += kSecondsPerDay;
        if (elapsed >= 2.0)
            return;
        services.process.processEvents();
    }
}

WorkWindow* Mod_Main::OpenWorkWindow(const std::function<std::unique_ptr<WorkWindow>(Mod_Main&)>& create) {
    if (!create)
        return nullptr;
    window_ = create(*this); // runs the window's load
    if (!window_)
        return nullptr;
    CentreOnPowerPoint(window_->hWnd());
    window_->showWindow();
    return window_.get();
}

bool Mod_Main::FileExists(const std::string& path) const {
    return services.files.fileExists(path);
}

bool Mod_Main::FolderExists(const std::string& path) const {
    return services.files.folderExists(path);
}

} // namespace avelin
