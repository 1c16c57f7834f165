// The process services of Windows: the single-copy mutex seen from a second
// process, the start of a program and its failure, and the command line as a
// started program reads it. The second copy answers through a window title,
// which the first copy finds with the window search, as start-up finds the
// controller's windows.
#include <cstdint>
#include <string>

#include "platform/errors.h"
#include "platform/win32/user32_window_system.h"
#include "platform/win32/win32_process.h"
#include "startup/window_search.h"
#include "windows/check.h"
#include "windows/second_copy.h"
#include "windows/test_window.h"

namespace avelin::wintest {
namespace {

std::string ownPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string uniqueName(const char* what) {
    return std::string("avelin-wintest-") + what + "-" + std::to_string(GetCurrentProcessId());
}

// Sets the second copy's environment for the programs started meanwhile.
class SecondCopyEnvironment {
  public:
    explicit SecondCopyEnvironment(const std::string& mutexName) {
        SetEnvironmentVariableA(kRoleVariable, kSecondCopyRole);
        SetEnvironmentVariableA(kMutexVariable, mutexName.c_str());
    }
    ~SecondCopyEnvironment() {
        SetEnvironmentVariableA(kRoleVariable, nullptr);
        SetEnvironmentVariableA(kMutexVariable, nullptr);
    }
};

// Waits for the second copy's window, reads its answer and closes it; the
// answer is empty when no window came within 20 s.
std::string answerOfSecondCopy() {
    User32WindowSystem windows;
    Hwnd powerPointHwnd = 0;
    WindowSearch search{windows, powerPointHwnd};
    const std::string pattern = std::string(kSecondCopyTitle) + "*";
    Hwnd found = 0;
    const DWORD end = GetTickCount() + 20000;
    while (!(found = search.FindWindowLike(pattern)) && static_cast<int>(end - GetTickCount()) > 0)
        pumpMessages(20);
    if (!found)
        return {};
    const std::string title = windows.title(found, 127).substr(sizeof kSecondCopyTitle - 1);
    PostMessageA(reinterpret_cast<HWND>(static_cast<std::intptr_t>(found)), WM_CLOSE, 0, 0);
    const DWORD closing = GetTickCount() + 10000;
    while (search.WindowExists(pattern) && static_cast<int>(closing - GetTickCount()) > 0)
        pumpMessages(20);
    CHECK(!search.WindowExists(pattern));
    return title;
}

TEST(ASecondCopyFindsTheMutexOfTheFirst) {
    const std::string name = uniqueName("single");
    CHECK(win32::AcquireSingleCopy(name));
    CHECK(!win32::AcquireSingleCopy(name));
    {
        SecondCopyEnvironment environment{name};
        win32::StartProgram(ownPath());
    }
    // StartProgram passes no arguments: nothing follows the program's name.
    CHECK_EQ(answerOfSecondCopy(), std::string("second|"));

    // Another name is a program of its own: its first copy.
    {
        SecondCopyEnvironment environment{uniqueName("other")};
        win32::StartProgram(ownPath());
    }
    CHECK_EQ(answerOfSecondCopy(), std::string("first|"));
}

TEST(TheArgumentsReachAStartedProgramAsTheyWereWritten) {
    // As the add-in starts the program: path in quotes, then the raw text,
    // with its blanks, backslashes and commas.
    const std::string path = ownPath();
    std::string commandLine = "\"" + path + "\" MERGE ,D:\\Votes\\Monday,old";
    SecondCopyEnvironment environment{uniqueName("arguments")};
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    CHECK(CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &info));
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    CHECK_EQ(answerOfSecondCopy(), std::string("first|MERGE ,D:\\Votes\\Monday,old"));
}

TEST(AProgramThatCannotStartIsReportedWithTheSystemsText) {
    const std::string path = "C:\\avelin\\no such folder\\call_controller.exe";
    std::string reason;
    std::string message;
    try {
        win32::StartProgram(path);
    } catch (const FileError& e) {
        CHECK_EQ(e.path(), path);
        reason = e.reason();
        message = e.what();
    }
    CHECK(reason == win32::SystemErrorText(ERROR_PATH_NOT_FOUND) ||
          reason == win32::SystemErrorText(ERROR_FILE_NOT_FOUND));
    CHECK(!reason.empty() && reason.back() != '\n' && reason.back() != '\r');
    CHECK_EQ(message, path + ": " + reason);
    CHECK_EQ(win32::SystemErrorText(0xDEADu), std::string("system error 57005"));
}

} // namespace
} // namespace avelin::wintest
