#include "platform/file_faults.h"

#include <csignal>

#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/interrupt_cleanup.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace avelin {

namespace {

// "*" matches any run of characters, "?" any one, everything else itself.
bool Matches(const char* pattern, const char* text) {
    for (; *pattern; ++pattern, ++text) {
        if (*pattern == '*') {
            for (const char* rest = text;; ++rest) {
                if (Matches(pattern + 1, rest))
                    return true;
                if (!*rest)
                    return false;
            }
        }
        if (!*text || (*pattern != '?' && *pattern != *text))
            return false;
    }
    return !*text;
}

std::string FileNameOf(const std::string& path) {
    // Both separators: Windows takes "/" in paths as well.
    const std::size_t at = path.find_last_of(std::string("/") + kPathSeparator);
    return at == std::string::npos ? path : path.substr(at + 1);
}

} // namespace

void FileFaults::fail(FileStep step, std::string namePattern, std::string errorText) {
    faults_.push_back({step, std::move(namePattern), std::move(errorText)});
}

std::optional<std::string> FileFaults::at(FileStep step, const std::string& path) const {
    if (faults_.empty())
        return std::nullopt;
    const std::string name = FileNameOf(path);
    for (const FileFault& f : faults_)
        if (f.step == step && Matches(f.namePattern.c_str(), name.c_str()))
            return f.errorText;
    return std::nullopt;
}

const char* FileStepName(FileStep step) {
    switch (step) {
    case FileStep::CreateTemporary:
        return "create";
    case FileStep::Write:
        return "write";
    case FileStep::Sync:
        return "fsync";
    case FileStep::Close:
        return "close";
    case FileStep::Link:
        return "link";
    case FileStep::Rename:
        return "rename";
    case FileStep::SyncFolder:
        return "syncdir";
    case FileStep::Remove:
        return "remove";
    }
    return "";
}

FileFaults ParseFileFaults(const std::string& text) {
    FileFaults faults;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string entry = text.substr(start, end - start);
        start = end + 1;
        if (entry.empty())
            continue;
        const std::size_t first = entry.find(':');
        const std::size_t second = first == std::string::npos ? first : entry.find(':', first + 1);
        if (second == std::string::npos || second == first + 1 || second + 1 == entry.size())
            throw UsageError("file fault \"" + entry + "\" is not of the form step:pattern:error text");
        const std::string stepName = entry.substr(0, first);
        bool known = false;
        for (const FileStep step :
             {FileStep::CreateTemporary, FileStep::Write, FileStep::Sync, FileStep::Close, FileStep::Link,
              FileStep::Rename, FileStep::SyncFolder, FileStep::Remove}) {
            if (stepName == FileStepName(step)) {
                faults.fail(step, entry.substr(first + 1, second - first - 1), entry.substr(second + 1));
                known = true;
            }
        }
        if (!known)
            throw UsageError(
                "file fault \"" + entry +
                "\": the step is one of create, write, fsync, close, link, rename, syncdir, remove");
    }
    return faults;
}

void ActOnSignalFault(const std::string& errorText) {
#ifdef _WIN32
    // Windows has no signals to send oneself: killed is ended at once; an
    // interruption cleans up first, as the console's Ctrl+C handler does.
    if (errorText == "SIGINT" || errorText == "SIGTERM")
        RunInterruptCleanup();
    if (errorText == "SIGKILL" || errorText == "SIGINT" || errorText == "SIGTERM")
        TerminateProcess(GetCurrentProcess(), 128 + 9);
#else
    if (errorText == "SIGKILL")
        std::raise(SIGKILL);
    else if (errorText == "SIGTERM")
        std::raise(SIGTERM);
    else if (errorText == "SIGINT")
        std::raise(SIGINT);
#endif
}

} // namespace avelin
