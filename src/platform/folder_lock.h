#pragma once
// The write lock of a folder: one program writes into a folder at a time, so
// that two merges into one folder cannot mix their files, and a write can
// tell the leftovers of an interrupted one from files on their way.
#include <chrono>
#include <memory>
#include <string>

#include "platform/interrupt_cleanup.h"

namespace avelin {

// The lock file, beside the files it guards; removed when the lock ends.
inline constexpr const char* kFolderLockName = ".avelin-lock";
// Why a write is refused when another one holds the folder for too long.
inline constexpr const char* kFolderBusyReason =
    "another merge or save is writing into this folder; try again once it has finished";

class FolderLock {
  public:
    // Takes the lock of `folder`, waiting up to `wait` for another program's
    // to end; throws FileError naming the folder (kFolderBusyReason) when it
    // does not. A folder where no lock file can be made (read-only, missing,
    // no locks on its file system) is not locked: what follows fails or
    // succeeds on its own.
    FolderLock(const std::string& folder, std::chrono::milliseconds wait);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    std::string path_;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
    std::unique_ptr<InterruptCleanup> cleanup_;
};

} // namespace avelin
