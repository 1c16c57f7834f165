// The process services of Windows: the single-copy mutex seen from a second
// process, the start of a program and its failure, and the command line as a
// started program reads it. The second copy (this program started again)
// answers in a window title, which this copy finds with the window search,
// as start-up finds the controller's windows.
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>

#include "platform/errors.h"
#include "platform/win32/user32_window_system.h"
#include "platform/win32/win32_process.h"
#include "startup/launch_options.h"
#include "startup/window_search.h"
#include "windows/fake_powerpoint.h"
#include "windows/harness.h"
#include "windows/real_program.h"

namespace avelin::wintest {
namespace {

// The second copy finds the mutex's name in this variable, and shows its
// answer in a window titled with this prefix, "first" or "second", "|" and
// the text after its program name, until the first copy closes it.
constexpr char kMutexVariable[] = "AVELIN_WINTEST_MUTEX";
constexpr char kSecondCopyTitle[] = "avelin second copy: ";

int runSecondCopy(const char* mutexName) {
    const bool first = win32::AcquireSingleCopy(mutexName);
    const std::string arguments = CommandLineAfterProgramName(win32::RawCommandLine());
    TestWindow window{std::string(kSecondCopyTitle) + (first ? "first" : "second") + "|" + arguments};
    waitFor([&] { return !IsWindow(window.hwnd()); }, 30000);
    return 0;
}

std::string uniqueName(const char* what) {
    return std::string("avelin-wintest-") + what + "-" + std::to_string(GetCurrentProcessId());
}

// Runs `start` with the mutex's name in the environment and returns the
// second copy's answer ("first|" or "second|" and its command line), or ""
// when its window did not come within 20 s; closes that window.
std::string answerOfSecondCopy(const std::string& mutexName, const std::function<void()>& start) {
    SetEnvironmentVariableA(kMutexVariable, mutexName.c_str());
    start();
    SetEnvironmentVariableA(kMutexVariable, nullptr);
    User32WindowSystem windows;
    Hwnd powerPointHwnd = 0;
    WindowSearch search{windows, powerPointHwnd};
    const std::string pattern = std::string(kSecondCopyTitle) + "*";
    Hwnd found = 0;
    if (!waitFor([&] { return (found = search.FindWindowLike(pattern)) != 0; }, 20000))
        return {};
    const std::string answer = windows.title(found, 127).substr(sizeof kSecondCopyTitle - 1);
    PostMessageA(reinterpret_cast<HWND>(static_cast<std::intptr_t>(found)), WM_CLOSE, 0, 0);
    waitFor([&] { return !search.WindowExists(pattern); }, 10000);
    return answer;
}

TEST(ASecondCopyFindsTheMutexOfTheFirstAndReadsItsArgumentsAsWritten) {
    const std::string name = uniqueName("single");
    CHECK(win32::AcquireSingleCopy(name));
    // As the add-in starts the program: path in quotes, then the raw text,
    // with its blanks, backslashes and commas.
    const std::string answer =
        answerOfSecondCopy(name, [] { CHECK(CloseHandle(StartAgain(" MERGE ,D:\\Votes\\Monday,old"))); });
    CHECK_EQ(answer, std::string("second|MERGE ,D:\\Votes\\Monday,old"));

    // Another name is a program of its own: its first copy. StartProgram
    // passes no arguments: nothing follows the program's name.
    CHECK_EQ(answerOfSecondCopy(uniqueName("other"), [] { win32::StartProgram(OwnPath()); }),
             std::string("first|"));
}

TEST(AProgramThatCannotStartIsReportedWithTheSystemsText) {
    const std::string path = "C:\\avelin\\no such folder\\call_controller.exe";
    std::string reason = "not reported";
    try {
        win32::StartProgram(path);
    } catch (const FileError& e) {
        reason = e.reason();
        CHECK_EQ(std::string(e.what()), path + ": " + reason);
    }
    CHECK(reason == win32::SystemErrorText(ERROR_PATH_NOT_FOUND) ||
          reason == win32::SystemErrorText(ERROR_FILE_NOT_FOUND));
    // Without the line break that the system's text ends in.
    CHECK(!reason.empty() && reason.back() != '\n' && reason.back() != '\r');
}

} // namespace
} // namespace avelin::wintest

// Started by the tests, the program is the controller's launcher, the second
// copy or the fake PowerPoint;
// otherwise it runs every test case.
int main() {
    if (avelin::wintest::IsLauncher())
        return avelin::wintest::RunLauncher();
    if (const char* mutexName = std::getenv(avelin::wintest::kMutexVariable))
        return avelin::wintest::runSecondCopy(mutexName);
    if (const char* script = std::getenv(avelin::wintest::kPowerPointScriptVariable))
        return avelin::wintest::RunFakePowerPoint(script);
    return avelin::wintest::runAll(std::getenv("AVELIN_WINTEST_ONLY"));
}
