#pragma once
// The files a write has made and not yet put in place (temporary files, old
// files kept aside, the folder's lock file) are removed when the program is
// interrupted: SIGINT or SIGTERM elsewhere, Ctrl+C, Ctrl+Break or closing the
// console on Windows. A kill that cannot be caught leaves them for the next
// write into that folder, which removes them.
#include <string>

namespace avelin {

// Installs the handlers once, for interruptions whose handling is the
// system's default (a program that ignores or handles them keeps its way).
void InstallInterruptCleanup();

// A file removed if the program is interrupted while it is registered.
class InterruptCleanup {
  public:
    explicit InterruptCleanup(const std::string& path);
    ~InterruptCleanup();
    InterruptCleanup(const InterruptCleanup&) = delete;
    InterruptCleanup& operator=(const InterruptCleanup&) = delete;

  private:
    int slot_ = -1; // none free: the next write removes the file instead
};

// While one lives, an interruption waits: the renames of a commit complete
// (so that none of its files is removed half-way), then the program ends.
class CommitInProgress {
  public:
    CommitInProgress();
    ~CommitInProgress();
    CommitInProgress(const CommitInProgress&) = delete;
    CommitInProgress& operator=(const CommitInProgress&) = delete;
};

// Removes every registered file now.
void RunInterruptCleanup();

} // namespace avelin
