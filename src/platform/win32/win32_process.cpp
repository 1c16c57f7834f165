#include "platform/win32/win32_process.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <vector>

#include "platform/errors.h"

namespace avelin::win32 {

bool AcquireSingleCopy(const std::string& name) {
    // "Local\" keeps the test to the user's session: another user signed in
    // on the same machine runs a copy of their own. The handle is never closed: the
    // system releases the mutex when the process ends, however it ends.
    const std::string full = "Local\\" + name;
    HANDLE mutex = CreateMutexA(nullptr, FALSE, full.c_str());
    if (!mutex)
        return true; // no mutex: better a second copy than no program at all
    return GetLastError() != ERROR_ALREADY_EXISTS;
}

void StartProgram(const std::string& path) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    // CreateProcessA may write into the command-line buffer.
    std::vector<char> commandLine;
    const std::string quoted = "\"" + path + "\"";
    commandLine.assign(quoted.begin(), quoted.end());
    commandLine.push_back('\0');
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        throw FileError(path, SystemErrorText(GetLastError()));
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

std::string RawCommandLine() {
    const char* text = GetCommandLineA();
    return text ? text : "";
}

std::string SystemErrorText(unsigned long code) {
    char* buffer = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = n && buffer ? std::string(buffer, n) : "system error " + std::to_string(code);
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

} // namespace avelin::win32
