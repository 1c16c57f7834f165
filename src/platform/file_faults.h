#pragma once
// Failures injected into the file services' own write path, so that tests
// run the real code up to the step that fails. Running as an administrator
// (root) lets every permission check pass, so a failure cannot be provoked
// through the file system itself.
#include <optional>
#include <string>
#include <vector>

namespace avelin {

// The steps of a write (temporary file created, written, flushed to the disk,
// closed, the old file kept aside by a hard link, renamed over the target,
// the folder flushed to the disk) and the removal of a file.
enum class FileStep { CreateTemporary, Write, Sync, Close, Link, Rename, SyncFolder, Remove };

struct FileFault {
    FileStep step;
    std::string namePattern; // the target's file name; "*" any run of characters, "?" any one
    std::string errorText;   // reported as the system's error text; "SIGKILL", "SIGTERM" or
                             // "SIGINT": the program gets that signal at the step instead
};

class FileFaults {
  public:
    void fail(FileStep step, std::string namePattern, std::string errorText);
    // The error text of the first fault of `step` whose pattern matches the
    // file name of `path`; nullopt when the step is to succeed.
    std::optional<std::string> at(FileStep step, const std::string& path) const;
    bool empty() const { return faults_.empty(); }

  private:
    std::vector<FileFault> faults_;
};

// "create", "write", "fsync", "close", "link", "rename", "syncdir" or "remove".
const char* FileStepName(FileStep step);

// Reads faults written as "step:pattern:error text", several separated by
// ";". Steps: create, write, fsync, close, link, rename, syncdir, remove.
// Throws UsageError.
FileFaults ParseFileFaults(const std::string& text);

// When `errorText` names a signal ("SIGKILL", "SIGTERM", "SIGINT"), the
// program gets it now: killed at once, or interrupted as by Ctrl+C or a
// termination request. Any other text does nothing.
void ActOnSignalFault(const std::string& errorText);

} // namespace avelin
