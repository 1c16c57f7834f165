// Windows' own save dialog, answered by a second thread as a user would: a
// name typed without extension comes back without one, in the folder the
// dialog opened in; Cancel gives nothing.
#include <atomic>
#include <thread>

#include "platform/win32/save_dialog.h"
#include "windows/harness.h"

namespace avelin::wintest {
namespace {

// The save dialog of this process once it shows, or nullptr after 10 s.
HWND WaitForDialog(DWORD thread) {
    for (int i = 0; i < 500; ++i, Sleep(20)) {
        HWND found = nullptr;
        EnumThreadWindows(
            thread,
            [](HWND w, LPARAM out) {
                char name[16] = {};
                GetClassNameA(w, name, sizeof name);
                if (std::string(name) != "#32770" || !IsWindowVisible(w))
                    return TRUE;
                *reinterpret_cast<HWND*>(out) = w;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        if (found)
            return found;
    }
    return nullptr;
}

// Types `name` into the dialog's file name box (the first edit control
// holding the name filled in) and presses OK, or presses Cancel.
void Answer(DWORD thread, std::string name, bool ok, std::atomic<bool>& answered) {
    HWND dialog = WaitForDialog(thread);
    if (!dialog)
        return;
    if (ok) {
        struct Search {
            HWND edit = nullptr;
        } search;
        EnumChildWindows(
            dialog,
            [](HWND w, LPARAM out) {
                char name[16] = {};
                GetClassNameA(w, name, sizeof name);
                char text[64] = {};
                GetWindowTextA(w, text, sizeof text);
                if (std::string(name) == "Edit" && std::string(text) == "Manual Votes.rec") {
                    reinterpret_cast<Search*>(out)->edit = w;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (!search.edit)
            return;
        SendMessageA(search.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    PostMessageA(dialog, WM_COMMAND, ok ? IDOK : IDCANCEL, 0);
    answered = true;
}

TEST(TheSaveDialogLeavesANameWithoutExtensionAsTyped) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string folder = temp;
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    const SaveDialogRequest request{"avelin Results Files (*.rec)|*.rec", folder, "Manual Votes.rec", false};
    CHECK_EQ(win32::FilterForDialog(request.filter),
             std::string("avelin Results Files (*.rec)\0*.rec\0\0", 36));

    for (const bool ok : {true, false}) {
        std::atomic<bool> answered = false;
        std::thread user(Answer, GetCurrentThreadId(), "Votes of Monday", ok, std::ref(answered));
        const std::optional<std::string> chosen = win32::SaveFileName(request, 0);
        user.join();
        CHECK(answered);
        if (ok)
            CHECK_EQ(chosen.value_or("cancelled"), folder + "\\Votes of Monday");
        else
            CHECK(!chosen);
    }
}

} // namespace
} // namespace avelin::wintest
