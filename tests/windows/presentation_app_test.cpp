// The PowerPoint backend, and start-up over it, against a fake PowerPoint in a
// process of its own, reached as the real one is: the ProgID in the registry,
// the application object in the running object table. What the backend reads
// is compared as the script text that describes it.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "platform/file_system.h"
#include "platform/win32/com_presentation_app.h"
#include "platform/win32/user32_window_system.h"
#include "startup/like_match.h"
#include "startup/mod_main.h"
#include "support/fakes.h"
#include "windows/fake_powerpoint.h"
#include "windows/powerpoint_script.h"

namespace avelin {
// The one start-up function that needs Qt; the work windows here are no widgets.
Hwnd Mod_Main::HandleOf(QWidget*) const {
    return 0;
}
} // namespace avelin

namespace avelin::wintest {
namespace {

struct NoWindow : WorkWindow {
    QWidget* widget() override { return nullptr; }
    void showWindow() override {}
};

// Start-up over the real backend; message boxes and the end of the program
// are recorded.
struct StartUp {
    LocalFileSystem files;
    test::FixedClock clock;
    test::FakeProcess process;
    test::ScriptedDialogs dialogs;
    User32WindowSystem windows;
    Services services{files, clock, process, dialogs, windows};
    ComPresentationApp powerPoint;
    Mod_Main mod{services, &powerPoint};
};

template <typename Read> bool ReportsNoPresentation(Read read) {
    try {
        read();
    } catch (const NoActivePresentation&) {
        return true;
    }
    return false;
}

TEST(StartUpAttachesToPowerPointOrSaysWhyItCannot) {
    TestWindow controller{"avelin_controller"}; // no launcher to start
    const std::string cannot = "16 Error: avelin cannot start: PowerPoint";
    struct Case {
        bool registered;
        const char* script;  // of a running PowerPoint
        std::string message; // a pattern: "*" stands for the system's text, if it has one
    };
    const Case cases[] = {
        {false, nullptr, cannot + " is not installed (*error 0x800401F3)."},
        {true, nullptr, cannot + "'s automation object could not be obtained (*error 0x800401E3)."},
        {true, "addin\tother\tC:\\Other\n",
         cannot + " has no add-in named \"avelin\" (PowerPoint: Item: Item avelin not found in the AddIns "
                  "collection. (0x80048240))."},
        // No presentation open: start-up goes on, and the merge window's and
        // the manual data window's reads report what their fallbacks catch.
        {true, "addin\tother\tC:\\Other\naddin\tavelin\tC:\\Program Files\\avelin\n", ""},
    };
    for (const Case& c : cases) {
        RegisterPowerPoint(c.registered);
        std::optional<FakePowerPoint> powerPoint;
        std::optional<TestWindow> standIn; // PowerPoint's window for start-up's first check
        if (c.script)
            powerPoint.emplace(c.script);
        else
            standIn.emplace("Microsoft PowerPoint");
        StartUp s;
        s.mod.createMergeWindow = [](Mod_Main&) { return std::make_unique<NoWindow>(); };
        const bool opened = s.mod.Main("MERGE") != nullptr;
        std::string shown;
        for (const test::ShownMessage& m : s.dialogs.messages)
            shown += std::to_string(m.style) + " " + m.title + ": " + m.text;
        if (!CHECK(LikeMatch(shown, c.message)))
            std::printf("       shown: %s\n", shown.c_str());
        CHECK_EQ(opened, c.message.empty());
        CHECK_EQ(s.process.ended(), !c.message.empty());
        if (opened) {
            CHECK_EQ(s.mod.AddinPath, std::string("C:\\Program Files\\avelin"));
            CHECK(ReportsNoPresentation([&] { s.powerPoint.activePresentationFile(); }));
            CHECK(ReportsNoPresentation([&] { s.powerPoint.activePresentation(); }));
        }
    }
    RegisterPowerPoint(false);
}

// The presentation `script` describes, read through the backend as the
// manual data window reads it; prints the time taken with `what`.
std::string ReadThroughPowerPoint(const std::string& script, const char* what = nullptr) {
    FakePowerPoint fake{script};
    ComPresentationApp powerPoint;
    powerPoint.attach();
    const auto start = std::chrono::steady_clock::now();
    const PresentationInfo read = powerPoint.activePresentation();
    const auto took = std::chrono::steady_clock::now() - start;
    if (what)
        std::printf(
            "       %s read in %lld ms\n", what,
            static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
    // The merge window's read: the first line only.
    CHECK_EQ(WriteScript(powerPoint.activePresentationFile()), script.substr(0, script.find('\n') + 1));
    return WriteScript(read);
}

TEST(APresentationsFolderNameSlidesShapesAndActionsAreReadInOrder) {
    const std::string scripts[] = {
        // Shapes without an action, program actions, a macro action, a slide without shapes.
        "presentation\tC:\\Talks\tMonday Meeting.pptx\n"
        "slide\nshape\tTitle 1\t\nshape\tVOTE\tC:\\Program Files\\avelin\\avelin.exe poll.AVL,1\n"
        "shape\tResults\tModule1.ShowResults\n"
        "slide\n"
        "slide\nshape\tvote\tC:\\PROGRA~1\\avelin\\AVELIN.EXE lunch.avl\nshape\tPicture 3\t\n",
        "presentation\t\tPresentation1\nslide\nshape\tTitle 1\t\n", // never saved
        // Outside ASCII, in the ANSI code page (Windows-1252).
        "presentation\tC:\\Vortr\xE4ge\t\xDC"
        "bung \xC4pfel.pptx\nslide\nshape\tAbstimmung \xFC"
        "ber \xC4pfel\t\n",
    };
    RegisterPowerPoint(true);
    for (const std::string& script : scripts)
        CHECK_EQ(ReadThroughPowerPoint(script), script);

    std::string large = "presentation\tC:\\Talks\tConference.pptx\n";
    for (int i = 1; i <= 200; ++i)
        large += "slide\nshape\tTitle 1\t\nshape\tContent Placeholder 2\t\nshape\tVOTE\tC:\\Program "
                 "Files\\avelin\\avelin.exe vote" +
                 std::to_string(i) + ".AVL,1\nshape\tChart 4\t\n";
    CHECK_EQ(ReadThroughPowerPoint(large, "200 slides of 4 shapes"), large);
    RegisterPowerPoint(false);
}

TEST(TheDemoPresentationReadsAsTheFileBackendReadsIt) {
    // Written beside this program by scripts/windows-test, from the .pptx
    // through the file backend's reader.
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    const std::string folder(program, std::strrchr(program, '\\') + 1);
    const std::string script = ReadWholeFile(folder + "Demo Talk.script");
    CHECK(script.find("\tVOTE\t") != std::string::npos);
    RegisterPowerPoint(true);
    CHECK_EQ(ReadThroughPowerPoint(script), script);
    RegisterPowerPoint(false);
}

} // namespace
} // namespace avelin::wintest
