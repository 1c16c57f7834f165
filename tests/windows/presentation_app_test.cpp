// The PowerPoint backend, and start-up over it, against a fake PowerPoint in a
// process of its own, reached as the real one is: the ProgID in the registry,
// the application object in the running object table. What the backend reads
// is compared as the script text that describes it.
#include <cstdio>
#include <memory>
#include <optional>
#include <tuple>

#include "platform/file_system.h"
#include "platform/win32/com_presentation_app.h"
#include "platform/win32/user32_window_system.h"
#include "startup/like_match.h"
#include "startup/mod_main.h"
#include "support/fakes.h"
#include "windows/fake_powerpoint.h"
#include "windows/powerpoint_script.h"

namespace avelin::wintest {
namespace {

struct NoWindow : WorkWindow {
    Hwnd hWnd() override { return 0; }
    void showWindow() override {}
};

// The open presentation as the manual data window reads it (`whole`) or as
// the merge window does, written as a script; "none" when none is open.
std::string Read(ComPresentationApp& app, bool whole) {
    try {
        return WriteScript(whole ? app.activePresentation() : app.activePresentationFile());
    } catch (const NoActivePresentation&) {
        return "none";
    }
}

TEST(StartUpAttachesToPowerPointOrSaysWhyItCannot) {
    TestWindow powerPointWindow{"Microsoft PowerPoint"}, controller{"avelin_controller"};
    const std::string cannot = "16 Error: avelin cannot start: PowerPoint";
    // Registered or not, the running PowerPoint's script (none: not running),
    // and what start-up does: "*" stands for the system's text, if it has one.
    const std::tuple<bool, const char*, std::string> cases[] = {
        {false, nullptr, cannot + " is not installed (*error 0x800401F3)., ended"},
        {true, nullptr, cannot + "'s automation object could not be obtained (*error 0x800401E3)., ended"},
        {true, "addin\tother\tC:\\Other\n",
         cannot + " has no add-in named \"avelin\" (PowerPoint: Item: Item avelin not found in the AddIns "
                  "collection. (0x80048240))., ended"},
        // No presentation open: start-up goes on; the windows' reads report
        // the missing presentation, on which they take their fallbacks.
        {true, "addin\tother\tC:\\Other\naddin\tavelin\tC:\\Program Files\\avelin\n",
         "opened, add-in C:\\Program Files\\avelin, presentation none none"},
    };
    for (const auto& [registered, script, expected] : cases) {
        RegisterPowerPoint(registered);
        std::optional<FakePowerPoint> powerPoint;
        if (script)
            powerPoint.emplace(script);
        LocalFileSystem files;
        test::FixedClock clock;
        test::FakeProcess process;
        test::ScriptedDialogs dialogs;
        User32WindowSystem windows;
        Services services{files, clock, process, dialogs, windows};
        ComPresentationApp app;
        Mod_Main mod{services, &app};
        mod.createMergeWindow = [](Mod_Main&) { return std::make_unique<NoWindow>(); };
        std::string seen;
        if (mod.Main("MERGE"))
            seen = "opened, add-in " + mod.AddinPath + ", presentation " + Read(app, false) + " " +
                   Read(app, true);
        for (const test::ShownMessage& m : dialogs.messages)
            seen += std::to_string(m.style) + " " + m.title + ": " + m.text;
        if (process.ended())
            seen += ", ended";
        if (!CHECK(LikeMatch(seen, expected)))
            std::printf("       seen: %s\n", seen.c_str());
    }
    RegisterPowerPoint(false);
}

// The presentation `script` describes as the backend reads it for the manual
// data window (the time printed with `what`) and for the merge window.
std::string ReadThroughPowerPoint(const std::string& script, const char* what = nullptr) {
    RegisterPowerPoint(true);
    FakePowerPoint fake{script};
    ComPresentationApp app;
    app.attach();
    const ULONGLONG start = GetTickCount64();
    const std::string read = Read(app, true);
    if (what)
        std::printf("       %s read in %llu ms\n", what, GetTickCount64() - start);
    CHECK_EQ(Read(app, false), script.substr(0, script.find('\n') + 1));
    RegisterPowerPoint(false);
    return read;
}

TEST(APresentationsFolderNameSlidesShapesAndActionsAreReadInOrder) {
    const std::string scripts[] = {
        // Shapes without an action, program actions, a macro action, a slide without shapes.
        "presentation\tC:\\Talks\tMonday Meeting.pptx\n"
        "slide\nshape\tTitle 1\t\nshape\tVOTE\tC:\\Program Files\\avelin\\avelin.exe poll.AVL,1\n"
        "shape\tVote\tModule1.ShowResults\n"
        "slide\n"
        "slide\nshape\tvote\tC:\\PROGRA~1\\avelin\\AVELIN.EXE lunch.avl\nshape\tPicture 3\t\n",
        "presentation\t\tPresentation1\nslide\nshape\tTitle 1\t\n", // never saved
        // Outside ASCII, in the ANSI code page (Windows-1252).
        "presentation\tC:\\Vortr\xE4ge\t\xDC"
        "bung \xC4pfel.pptx\nslide\nshape\tAbstimmung \xFC"
        "ber \xC4pfel\t\n",
    };
    for (const std::string& script : scripts)
        CHECK_EQ(ReadThroughPowerPoint(script), script);
    // Only a vote shape's click action is read; another shape's reads empty.
    CHECK_EQ(ReadThroughPowerPoint("presentation\tC:\\Talks\tA.pptx\nslide\nshape\tResults\tModule1.Show\n"),
             "presentation\tC:\\Talks\tA.pptx\nslide\nshape\tResults\t\n");

    std::string large = "presentation\tC:\\Talks\tConference.pptx\n";
    for (int i = 1; i <= 200; ++i)
        large += "slide\nshape\tTitle 1\t\nshape\tContent Placeholder "
                 "2\t\nshape\tVOTE\tC:\\avelin\\avelin.exe vote" +
                 std::to_string(i) + ".AVL,1\nshape\tChart 4\t\n";
    CHECK_EQ(ReadThroughPowerPoint(large, "200 slides of 4 shapes"), large);
}

TEST(TheDemoPresentationReadsAsTheFileBackendReadsIt) {
    // Written beside this program by scripts/windows-test, from the .pptx
    // through the file backend's reader.
    const std::string program = OwnPath();
    const std::string script =
        ReadWholeFile(program.substr(0, program.rfind('\\') + 1) + "Demo Meeting.script");
    CHECK(script.find("\tVOTE\t") != std::string::npos);
    CHECK_EQ(ReadThroughPowerPoint(script), script);
}

} // namespace
} // namespace avelin::wintest
