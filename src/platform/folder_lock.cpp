#include "platform/folder_lock.h"

#include <thread>

#include "platform/errors.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace avelin {

namespace {
constexpr std::chrono::milliseconds kPoll{20};
}

#ifdef _WIN32
// A file opened with no sharing is the lock; it goes when its handle is
// closed, also when the program is killed.
FolderLock::FolderLock(const std::string& folder, std::chrono::milliseconds wait)
    : path_((folder.empty() ? std::string(".") : folder) + "\\" + kFolderLockName) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (int pendingDelete = 0;;) {
        const HANDLE h = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            handle_ = h;
            return;
        }
        const DWORD error = GetLastError();
        // Access is denied to a lock file whose removal is pending, for a
        // moment; for longer, the folder is not writable.
        if (error != ERROR_SHARING_VIOLATION && (error != ERROR_ACCESS_DENIED || ++pendingDelete > 10))
            return;
        if (std::chrono::steady_clock::now() >= deadline)
            throw FileError(folder, kFolderBusyReason);
        std::this_thread::sleep_for(kPoll);
    }
}

FolderLock::~FolderLock() {
    if (handle_)
        CloseHandle(static_cast<HANDLE>(handle_));
}
#else
// flock on a lock file, which the holder removes before it lets go: a
// waiter that locked a file already removed tries again on the new one.
FolderLock::FolderLock(const std::string& folder, std::chrono::milliseconds wait)
    : path_((folder.empty() ? std::string(".") : folder) + "/" + kFolderLockName) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0)
            return;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            struct stat held {
            }, named{};
            if (::fstat(fd, &held) == 0 && ::stat(path_.c_str(), &named) == 0 &&
                held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
                fd_ = fd;
                cleanup_ = std::make_unique<InterruptCleanup>(path_);
                return;
            }
            ::close(fd);
            continue;
        }
        const int error = errno;
        ::close(fd);
        if (error != EWOULDBLOCK && error != EINTR)
            return; // no locks on this file system
        if (std::chrono::steady_clock::now() >= deadline)
            throw FileError(folder, kFolderBusyReason);
        std::this_thread::sleep_for(kPoll);
    }
}

FolderLock::~FolderLock() {
    if (fd_ < 0)
        return;
    cleanup_.reset();
    ::unlink(path_.c_str());
    ::close(fd_);
}
#endif

} // namespace avelin
