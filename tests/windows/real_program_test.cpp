// The real avelin.exe, started as the add-in starts it: beside a fake
// PowerPoint whose window and automation object it must find through user32
// and COM, with an add-in folder whose launcher it must start, once only, and
// with its window centred over PowerPoint's. Everything is watched from
// outside, through user32. scripts/windows-test names the program in
// AVELIN_WINTEST_PROGRAM and lays out, beside this test program, the add-in
// folder "addin" (its call_controller.exe a copy of this program) and the
// demo meeting's folder "Demo Meeting".
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/win32/user32_window_system.h"
#include "startup/rounding.h"
#include "startup/window_search.h"
#include "windows/fake_powerpoint.h"
#include "windows/real_program.h"

namespace avelin::wintest {
namespace {

std::string Beside(const std::string& name) {
    const std::string own = OwnPath();
    return own.substr(0, own.rfind('\\') + 1) + name;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// avelin.exe started with `arguments` after its quoted path, as the add-in's
// Shell call starts it.
HANDLE Start(const std::string& program, const std::string& arguments) {
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

bool Ended(HANDLE process, int milliseconds) {
    return waitFor([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, milliseconds);
}

HWND AsHwnd(Hwnd h) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(h));
}

// A picture of the screen under `rect` for the documentation: Wine's screen
// cannot be read from inside (BitBlt of the desktop gives black), so the
// request "<name>.ready" with the X geometry goes to scripts/windows-test,
// which takes it from the X server and answers with "<name>.png".
bool Screenshot(const std::string& folder, const std::string& name, const WindowRect& rect) {
    const std::string picture = folder + "\\" + name + ".png";
    std::ofstream(folder + "\\" + name + ".ready")
        << (rect.right - rect.left) << "x" << (rect.bottom - rect.top) << "+" << rect.left << "+" << rect.top
        << "\n";
    return waitFor([&] { return Exists(picture); }, 30000);
}

TEST(TheProgramStartsBesidePowerPointAsTheAddInStartsIt) {
    const char* program = std::getenv(kProgramVariable);
    if (!program) {
        std::printf("       skipped: %s names no avelin.exe\n", kProgramVariable);
        return;
    }
    const std::string addin = Beside("addin"), meeting = Beside("Demo Meeting");
    const char* shots = std::getenv("AVELIN_WINTEST_SCREENSHOTS");
    // The demo presentation, open from the folder "presentation" beside this
    // program, which holds its vote definitions.
    std::string presentation = ReadWholeFile(Beside("Demo Meeting.script"));
    presentation = "presentation\t" + Beside("presentation") + "\tDemo Meeting.ppt" +
                   presentation.substr(presentation.find('\n'));
    RegisterPowerPoint(true);
    User32WindowSystem windows;
    Hwnd powerPointHwnd = 0;
    WindowSearch search{windows, powerPointHwnd};
    // The command line, the window's title and the screenshot's name. The
    // manual data window lists the demo presentation's votes.
    const struct {
        std::string arguments, title, shot;
    } cases[] = {
        {"MERGE", "avelin Merge Voting Data", ""},
        {"MERGE," + meeting, "avelin Merge Voting Data", "merge-window-wine"},
        {"\"MERGE," + meeting + "\"", "avelin Merge Voting Data", ""},
        {"CREATE", "avelin Create Manual Data", "create-window-wine"},
    };
    for (const auto& c : cases) {
        std::printf("       %s\n", c.arguments.c_str());
        const std::string started = addin + "\\" + kLauncherStarted;
        DeleteFileA(started.c_str());
        FakePowerPoint powerPoint{"addin\tavelin\t" + addin + "\n" + presentation};
        HANDLE first = Start(program, c.arguments);
        CHECK(first != nullptr);
        Hwnd window = 0;
        CHECK(waitFor([&] { return (window = search.FindWindowLike(c.title)) != 0; }, 60000));
        // The launcher ran: no controller's window was open.
        CHECK(Exists(started));
        if (!window) {
            TerminateProcess(first, 1);
            CloseHandle(first);
            continue;
        }
        pumpMessages(500); // the first paint
        // Centred over PowerPoint's window, halves rounded to even.
        const WindowRect p =
            windows.rect(static_cast<Hwnd>(reinterpret_cast<std::intptr_t>(powerPoint.window())));
        const WindowRect r = windows.rect(window);
        const int w = r.right - r.left, h = r.bottom - r.top;
        CHECK(p.right > p.left && w > 0);
        CHECK_EQ(r.left, static_cast<int>(RoundHalfEven((p.right - p.left - w) / 2.0 + p.left)));
        CHECK_EQ(r.top, static_cast<int>(RoundHalfEven((p.bottom - p.top - h) / 2.0 + p.top)));
        if (shots && !c.shot.empty()) {
            pumpMessages(6000); // the merge window's panel has faded in
            CHECK(Screenshot(shots, c.shot, r));
        }
        if (c.arguments.starts_with("MERGE,")) {
            // Space presses the focused Browse button: the folder browser
            // opens at the merge window's top-left corner.
            PostMessageA(AsHwnd(window), WM_KEYDOWN, VK_SPACE, 0x00390001);
            PostMessageA(AsHwnd(window), WM_KEYUP, VK_SPACE, 0xC0390001);
            Hwnd browser = 0;
            CHECK(waitFor([&] { return (browser = search.FindWindowLike("Select Source Folder")) != 0; },
                          20000));
            if (browser) {
                pumpMessages(500);
                const WindowRect b = windows.rect(browser);
                CHECK_EQ(b.left, r.left);
                CHECK_EQ(b.top, r.top);
                if (shots)
                    CHECK(Screenshot(shots, "browse-window-wine", b));
                PostMessageA(AsHwnd(browser), WM_CLOSE, 0, 0);
                CHECK(waitFor([&] { return !windows.isVisible(browser); }, 10000));
            }
        }
        // A second start ends by itself and opens no second window.
        HANDLE second = Start(program, c.arguments);
        CHECK(second != nullptr && Ended(second, 30000));
        int count = 0;
        windows.enumWindows([&](Hwnd h) {
            count += windows.isVisible(h) && windows.title(h, 127) == c.title;
            return true;
        });
        CHECK_EQ(count, 1);
        CloseHandle(second);
        // Closing the window ends the program.
        PostMessageA(AsHwnd(window), WM_CLOSE, 0, 0);
        CHECK(Ended(first, 30000));
        CloseHandle(first);
    }
    RegisterPowerPoint(false);
}

} // namespace

int RunLauncher() {
    // The controller's launcher as start-up sees it: its window for a moment.
    std::ofstream(Beside(kLauncherStarted)) << "started\n";
    TestWindow window{"call_controller"};
    pumpMessages(300);
    return 0;
}

bool IsLauncher() {
    const std::string own = OwnPath();
    std::string name = own.substr(own.rfind('\\') + 1);
    for (char& ch : name)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return name == "call_controller.exe";
}

} // namespace avelin::wintest
