#pragma once
// Runs the avelin-rec program in a folder and collects its exit status and
// output, at a pinned time unless told otherwise.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_folder.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace avelin::test {

#ifdef _WIN32
// The command runs in cmd.exe: double quotes, "set" for the environment.
inline const std::string kPinnedNow = "set \"AVELIN_FIXED_NOW=2026-12-04 14:05:09\" && ";
inline const std::string kChangeFolder = "cd /d "; // the drive too

inline std::string Quote(const std::string& s) {
    return "\"" + s + "\"";
}

// Named from the folder the test started in: the build folder may be named
// without its drive, and tests change the current folder.
inline const std::string kRecProgram =
    std::filesystem::absolute(
        std::filesystem::path(AVELIN_BINARY_DIR "/src/cli/avelin-rec.exe").make_preferred())
        .string();
#else
inline const std::string kPinnedNow = "AVELIN_FIXED_NOW='2026-12-04 14:05:09' ";
inline const std::string kChangeFolder = "cd ";

inline std::string Quote(const std::string& s) {
    return "'" + s + "'";
}

inline const std::string kRecProgram = AVELIN_BINARY_DIR "/src/cli/avelin-rec";
#endif

struct RecRun {
    int status = -1; // 128 + the signal for a program ended by one
    std::string out, err;
};

// `args` are words of the system's shell; `env` is prefixed to the command.
inline RecRun RunRec(const TempFolder& cwd, const std::string& args, const std::string& env = kPinnedNow) {
    const std::string command = kChangeFolder + Quote(cwd.path()) + " && " + env + Quote(kRecProgram) + " " +
                                args + " >" + Quote(cwd.at(".stdout")) + " 2>" + Quote(cwd.at(".stderr"));
    const int raw = std::system(command.c_str());
    RecRun r;
    r.out = cwd.read(".stdout");
    r.err = cwd.read(".stderr");
#ifdef _WIN32
    r.status = raw;
    // Messages are text: their lines end in CR LF on Windows.
    for (std::string* text : {&r.out, &r.err})
        for (std::size_t at; (at = text->find("\r\n")) != std::string::npos;)
            text->erase(at, 1);
#else
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw); // as the shell tells a signal
#endif
    std::filesystem::remove(cwd.at(".stdout"));
    std::filesystem::remove(cwd.at(".stderr"));
    return r;
}

} // namespace avelin::test
