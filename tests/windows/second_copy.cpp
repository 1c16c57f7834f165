#include "windows/second_copy.h"

#include <cstdlib>

#include "platform/win32/win32_process.h"
#include "startup/launch_options.h"
#include "windows/test_window.h"

namespace avelin::wintest {

bool isSecondCopy() {
    const char* role = std::getenv(kRoleVariable);
    return role && std::string(role) == kSecondCopyRole;
}

int runSecondCopy() {
    const char* name = std::getenv(kMutexVariable);
    if (!name)
        return 2;
    const bool first = win32::AcquireSingleCopy(name);
    const std::string arguments = CommandLineAfterProgramName(win32::RawCommandLine());
    TestWindow window{std::string(kSecondCopyTitle) + (first ? "first" : "second") + "|" + arguments};
    // The first copy closes the window (WM_CLOSE) when it has read it; a copy
    // left alone ends by itself.
    const DWORD end = GetTickCount() + 30000;
    while (IsWindow(window.hwnd()) && static_cast<int>(end - GetTickCount()) > 0)
        pumpMessages(20);
    return 0;
}

} // namespace avelin::wintest
