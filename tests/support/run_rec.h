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

inline const std::string kPinnedNow = "AVELIN_FIXED_NOW='2026-12-04 14:05:09' ";

struct RecRun {
    int status = -1; // 128 + the signal for a program ended by one
    std::string out, err;
};

inline std::string Quote(const std::string& s) {
    return "'" + s + "'";
}

// `args` are shell words; `env` is prefixed to the command.
inline RecRun RunRec(const TempFolder& cwd, const std::string& args, const std::string& env = kPinnedNow) {
    const std::string command = "cd " + Quote(cwd.path()) + " && " + env +
                                Quote(AVELIN_BINARY_DIR "/src/cli/avelin-rec") + " " + args + " >" +
                                Quote(cwd.at(".stdout")) + " 2>" + Quote(cwd.at(".stderr"));
    const int raw = std::system(command.c_str());
    RecRun r;
#ifdef _WIN32
    r.status = raw;
#else
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw); // as the shell tells a signal
#endif
    r.out = cwd.read(".stdout");
    r.err = cwd.read(".stderr");
    std::filesystem::remove(cwd.at(".stdout"));
    std::filesystem::remove(cwd.at(".stderr"));
    return r;
}

} // namespace avelin::test
