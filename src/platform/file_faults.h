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
// closed, renamed over the target) and the removal of a file.
enum class FileStep { CreateTemporary, Write, Sync, Close, Rename, Remove };

struct FileFault {
    FileStep step;
    std::string namePattern; // the target's file name; "*" any run of characters, "?" any one
    std::string errorText;   // reported as the system's error text
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

// "create", "write", "fsync", "close", "rename" or "remove".
const char* FileStepName(FileStep step);

// Reads faults written as "step:pattern:error text", several separated by
// ";". Steps: create, write, fsync, close, rename, remove. Throws UsageError.
FileFaults ParseFileFaults(const std::string& text);

} // namespace avelin
