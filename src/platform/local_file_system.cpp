// The real file services, over std::filesystem and C stdio (whose errno gives
// the system's own error texts).
#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "merge/collation.h"
#include "platform/commit_journal.h"
#include "platform/file_system.h"
#include "platform/folder_lock.h"
#include "platform/interrupt_cleanup.h"
#include "platform/path_text.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <direct.h>
#include <process.h>
#include <windows.h>
#define AVELIN_GETPID _getpid
#else
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#define AVELIN_GETPID getpid
#endif

namespace avelin {

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::string SystemErrorText(int error) {
    return std::generic_category().message(error);
}

fs::path ToPath(const std::string& path) {
    return PathOf(path);
}

// A name beside the target that no other writer of this process or another
// one picks at the same moment: ".tmp" for the new content, ".bak" for the
// old file kept aside until the new one is in place. Its length is bounded
// (and independent of the target's name), so that a target name up to the
// system's limit still leaves room for it.
std::string NameBeside(const std::string& path, const char* extension) {
    static std::atomic<unsigned long> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    char name[kMaxTemporaryNameLength + 1];
    std::snprintf(name, sizeof name, ".avelin-%lx-%lx-%06lx.%s",
                  static_cast<unsigned long>(AVELIN_GETPID()) & 0xffffffffUL, counter++ & 0xffffffffUL,
                  static_cast<unsigned long>(stamp) & 0xffffffUL, extension);
    fs::path temp = ToPath(path).parent_path();
    temp /= name;
    return TextOf(temp);
}

// The few system calls a careful write needs, on each platform. Each returns
// false on failure and leaves the system's error text in `error`.
#ifdef _WIN32
using Handle = HANDLE;
const Handle kNoHandle = INVALID_HANDLE_VALUE;

std::string LastError() {
    return std::system_category().message(static_cast<int>(GetLastError()));
}
bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
bool IsReadOnly(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (attributes & FILE_ATTRIBUTE_READONLY);
}
// Files only: a device (CON, a serial port) or a pipe is refused with
// `regular` false.
Handle OpenToRead(const std::string& path, bool& regular) {
    regular = true;
    const Handle h =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        regular = false;
        return INVALID_HANDLE_VALUE;
    }
    return h;
}
// Fails when the file exists: a temporary file is never reused. Shared for
// deletion only, so that an interrupted program's clean-up can remove it.
Handle CreateNew(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}
// The new file takes the old one's place with the attributes Windows gives
// it; only the read-only attribute matters, and such a target is refused.
void TakeModeOf(const std::string&, Handle) {}
bool SizeOf(Handle h, std::uint64_t& size) {
    LARGE_INTEGER n;
    if (!GetFileSizeEx(h, &n))
        return false;
    size = static_cast<std::uint64_t>(n.QuadPart);
    return true;
}
bool ReadAt(Handle h, std::uint64_t offset, char* to, std::size_t size, std::size_t& got) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD n = 0;
    const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!ReadFile(h, to, ask, &n, &at) && GetLastError() != ERROR_HANDLE_EOF)
        return false;
    got = n;
    return true;
}
bool WriteAll(Handle h, const char* data, std::size_t size) {
    while (size > 0) {
        DWORD n = 0;
        if (!WriteFile(h, data, static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30)), &n, nullptr))
            return false;
        data += n;
        size -= n;
    }
    return true;
}
bool WritePieces(Handle h, const std::string_view* pieces, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (!WriteAll(h, pieces[i].data(), pieces[i].size()))
            return false;
    return true;
}
bool SyncToDisk(Handle h) {
    return FlushFileBuffers(h) != 0;
}
bool Close(Handle h) {
    return CloseHandle(h) != 0;
}
// Replaces `to` in one step; written through to the disk before it returns.
bool MoveOver(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
bool Link(const std::string& existing, const std::string& link) {
    return CreateHardLinkA(link.c_str(), existing.c_str(), nullptr) != 0;
}
// A copy of `from` at the new name `to`, on the disk before it returns.
bool CopyAside(const std::string& from, const std::string& to) {
    if (!CopyFileA(from.c_str(), to.c_str(), TRUE))
        return false;
    const Handle h =
        CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool synced = h != INVALID_HANDLE_VALUE && FlushFileBuffers(h);
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    return synced;
}
bool Remove(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND;
}
// MOVEFILE_WRITE_THROUGH has made the renames durable already.
bool SyncFolder(const std::string&) {
    return true;
}
#else
using Handle = int;
const Handle kNoHandle = -1;

std::string LastError() {
    return SystemErrorText(errno != 0 ? errno : EIO);
}
bool IsFolder(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
// As Windows' read-only attribute: nobody may write the file, which a user
// running as administrator (root) could otherwise still replace.
bool IsReadOnly(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) &&
           (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}
// Files only: a device, a pipe or a socket is refused with `regular` false,
// without waiting for a pipe's writer (O_NONBLOCK) or reading a device.
Handle OpenToRead(const std::string& path, bool& regular) {
    regular = true;
    errno = 0;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return kNoHandle;
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return kNoHandle;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        regular = false;
        return kNoHandle;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}
Handle CreateNew(const std::string& path) {
    errno = 0;
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
// A file that replaces another keeps the other's permissions (a private
// 0600 file stays private); owner and group too where the system lets it.
void TakeModeOf(const std::string& target, Handle h) {
    struct stat st;
    if (::stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return;
    ::fchmod(h, st.st_mode & 07777);
    if (::fchown(h, st.st_uid, st.st_gid) != 0) {
        // Not the owner: the file belongs to whoever writes it.
    }
}
bool SizeOf(Handle h, std::uint64_t& size) {
    struct stat st;
    errno = 0;
    if (::fstat(h, &st) != 0)
        return false;
    size = static_cast<std::uint64_t>(st.st_size);
    return true;
}
bool ReadAt(Handle h, std::uint64_t offset, char* to, std::size_t size, std::size_t& got) {
    for (;;) {
        errno = 0;
        const ssize_t n = ::pread(h, to, size, static_cast<off_t>(offset));
        if (n >= 0) {
            got = static_cast<std::size_t>(n);
            return true;
        }
        if (errno != EINTR)
            return false;
    }
}
bool WriteAll(Handle h, const char* data, std::size_t size) {
    while (size > 0) {
        errno = 0;
        const ssize_t n = ::write(h, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}
// The pieces in as few calls as the system takes.
bool WritePieces(Handle h, const std::string_view* pieces, std::size_t count) {
    iovec vectors[IOV_MAX];
    std::size_t next = 0; // the first piece not written whole
    std::size_t done = 0; // bytes of it already written
    while (next < count) {
        int n = 0;
        for (std::size_t i = next; i < count && n < IOV_MAX; ++i, ++n) {
            const std::size_t skip = i == next ? done : 0;
            vectors[n].iov_base = const_cast<char*>(pieces[i].data() + skip);
            vectors[n].iov_len = pieces[i].size() - skip;
        }
        errno = 0;
        const ssize_t written = ::writev(h, vectors, n);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return false;
        // Past the pieces written whole, into the one written in part.
        std::size_t left = static_cast<std::size_t>(written);
        while (next < count && left >= pieces[next].size() - done) {
            left -= pieces[next].size() - done;
            ++next;
            done = 0;
        }
        done += left;
        if (written == 0 && next < count && pieces[next].size() > 0)
            return false;
    }
    return true;
}
bool SyncToDisk(Handle h) {
    errno = 0;
    return ::fsync(h) == 0;
}
bool Close(Handle h) {
    errno = 0;
    return ::close(h) == 0;
}
bool MoveOver(const std::string& from, const std::string& to) {
    errno = 0;
    return std::rename(from.c_str(), to.c_str()) == 0;
}
bool Link(const std::string& existing, const std::string& link) {
    errno = 0;
    return ::link(existing.c_str(), link.c_str()) == 0;
}
// A copy of `from` at the new name `to`, with its permissions, on the disk
// before it returns: the old file kept aside where there are no hard links.
bool CopyAside(const std::string& from, const std::string& to) {
    bool regular = true;
    const int in = OpenToRead(from, regular);
    if (in < 0)
        return false;
    const int out = CreateNew(to);
    bool ok = out >= 0;
    if (ok) {
        TakeModeOf(from, out);
        char buffer[1 << 16];
        for (;;) {
            errno = 0;
            const ssize_t n = ::read(in, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                ok = n == 0;
                break;
            }
            if (!WriteAll(out, buffer, static_cast<std::size_t>(n))) {
                ok = false;
                break;
            }
        }
        ok = ok && SyncToDisk(out);
        const int error = errno;
        ::close(out);
        if (!ok)
            ::unlink(to.c_str());
        errno = error;
    }
    const int error = errno;
    ::close(in);
    errno = error;
    return ok;
}
bool Remove(const std::string& path) {
    errno = 0;
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}
// The renames reach the disk with the folder. Some file systems cannot sync
// a folder (EINVAL, ENOTSUP) or the folder cannot be opened for it; the
// files are in place all the same, so that is no failure. Any other error
// (EIO, ENOSPC) is.
bool SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true;
    errno = 0;
    const bool ok =
        ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP || errno == EROFS || errno == EBADF;
    const int error = errno;
    ::close(fd);
    errno = error;
    return ok;
}
#endif

class LocalReader : public FileReader {
  public:
    LocalReader(std::string path, Handle h) : path_(std::move(path)), h_(h) {}
    ~LocalReader() override { Close(h_); }
    LocalReader(const LocalReader&) = delete;
    LocalReader& operator=(const LocalReader&) = delete;

    std::size_t readAt(std::uint64_t offset, char* to, std::size_t size) override {
        std::size_t total = 0;
        while (total < size) {
            std::size_t got = 0;
            if (!ReadAt(h_, offset + total, to + total, size - total, got))
                throw FileError(path_, LastError());
            if (got == 0)
                break;
            total += got;
        }
        return total;
    }

    std::uint64_t size() override {
        std::uint64_t bytes = 0;
        if (!SizeOf(h_, bytes))
            throw FileError(path_, LastError());
        return bytes;
    }

  private:
    std::string path_;
    Handle h_;
};

// Opens a file to read it: a folder, a device, a pipe or a socket is refused.
std::unique_ptr<LocalReader> OpenFile(const std::string& path) {
    if (IsFolder(path))
        throw FileError(path, kFolderReason);
    bool regular = true;
    const Handle h = OpenToRead(path, regular);
    if (h == kNoHandle)
        throw FileError(path, regular ? LastError() : kNotRegularReason);
    return std::make_unique<LocalReader>(path, h);
}

bool IsSignal(const std::string& text) {
    return text == "SIGKILL" || text == "SIGTERM" || text == "SIGINT";
}

// The injected failure of a step, if any. A signal is sent instead of
// failing the step; when the program lives on (the signal waits for a
// commit to end), the step goes ahead.
std::optional<std::string> FaultAt(const FileFaults& faults, FileStep step, const std::string& path) {
    auto fault = faults.at(step, path);
    if (fault && IsSignal(*fault)) {
        ActOnSignalFault(*fault);
        return std::nullopt;
    }
    return fault;
}

std::string NameOf(const std::string& path) {
    return TextOf(ToPath(path).filename());
}

std::string FolderOf(const std::string& path) {
    return TextOf(ToPath(path).parent_path());
}

std::string InFolder(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + kPathSeparator + name;
}

// The temporary file of one target while it is written. A step that fails,
// or a fault injected into it, throws FileError naming the target.
class TemporaryFile : public FileSink {
  public:
    TemporaryFile(const std::string& target, const FileFaults& faults)
        : target_(target), temp_(NameBeside(target, "tmp")), faults_(faults) {
        if (const auto fault = FaultAt(faults_, FileStep::CreateTemporary, target_))
            throw FileError(target_, *fault);
        h_ = CreateNew(temp_);
        if (h_ == kNoHandle)
            throw FileError(target_, LastError());
        cleanup_ = std::make_unique<InterruptCleanup>(temp_);
        TakeModeOf(target_, h_);
        writeFault_ = FaultAt(faults_, FileStep::Write, target_);
    }
    ~TemporaryFile() override {
        if (h_ != kNoHandle)
            Close(h_);
        Remove(temp_); // gone already once it has replaced its target
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& target() const { return target_; }
    const std::string& path() const { return temp_; }

    void write(std::string_view bytes) override { writePieces(&bytes, 1); }

    void writePieces(const std::string_view* pieces, std::size_t count) override {
        if (writeFault_) { // stops half-way, as a full disk does
            std::size_t half = 0;
            for (std::size_t i = 0; i < count; ++i)
                half += pieces[i].size();
            half /= 2;
            for (std::size_t i = 0; i < count && half > 0; ++i) {
                const std::size_t n = std::min(half, pieces[i].size());
                if (!WriteAll(h_, pieces[i].data(), n))
                    throw FileError(target_, LastError());
                half -= n;
            }
            throw FileError(target_, *writeFault_);
        }
        if (!WritePieces(h_, pieces, count))
            throw FileError(target_, LastError());
    }

    // The content is complete: flushed to the disk, then closed. The file
    // stays until the target has taken its place.
    void finish() {
        if (writeFault_) // nothing was written: the write of no bytes fails
            throw FileError(target_, *writeFault_);
        if (const auto fault = FaultAt(faults_, FileStep::Sync, target_))
            throw FileError(target_, *fault);
        if (!SyncToDisk(h_))
            throw FileError(target_, LastError());
        const Handle h = h_;
        h_ = kNoHandle;
        if (!Close(h))
            throw FileError(target_, LastError());
        if (const auto fault = FaultAt(faults_, FileStep::Close, target_))
            throw FileError(target_, *fault);
    }

    // Replaces the target in one step.
    void replaceTarget() {
        if (const auto fault = FaultAt(faults_, FileStep::Rename, target_))
            throw FileError(target_, *fault);
        if (!MoveOver(temp_, target_))
            throw FileError(target_, LastError());
    }

  private:
    std::string target_;
    std::string temp_;
    const FileFaults& faults_;
    Handle h_ = kNoHandle;
    std::optional<std::string> writeFault_;
    std::unique_ptr<InterruptCleanup> cleanup_;
};

// Old files kept aside while a commit runs: removed when the commit is done
// or given up, unless kept for the next program to settle it.
class KeptAside {
  public:
    ~KeptAside() {
        if (!keep_)
            for (const auto& [path, cleanup] : files_)
                Remove(path);
    }
    void add(const std::string& path) { files_.emplace_back(path, std::make_unique<InterruptCleanup>(path)); }
    // The journal that stays needs them.
    void keep() {
        keep_ = true;
        for (auto& [path, cleanup] : files_)
            cleanup.reset();
    }

  private:
    bool keep_ = false;
    std::vector<std::pair<std::string, std::unique_ptr<InterruptCleanup>>> files_;
};

// Writes the commit journal of `folder` in one step, on the disk before it
// returns.
void WriteJournal(const std::string& folder, const CommitJournal& journal, const FileFaults& faults) {
    TemporaryFile file(InFolder(folder, kCommitJournalName), faults);
    file.write(FormatJournal(journal));
    file.finish();
    file.replaceTarget();
    if (!SyncFolder(folder))
        throw FileError(folder.empty() ? "." : folder, LastError());
}

// What settling a journal did, and what it could not do.
struct Settlement {
    bool completed = false; // else undone
    std::string notDone;    // "path: reason; ..." of what failed; empty when all went
    bool impossible = false;
};

// Completes the commit of `journal` or, when it is being undone or cannot be
// completed, undoes it. A target whose temporary file is gone holds its new
// content: renames are atomic. Each step may be taken again: a settlement
// that is cut short is settled again by the next program.
Settlement Settle(const std::string& folder, const CommitJournal& journal, FileSystem& files) {
    Settlement s;
    const auto at = [&](const std::string& name) { return InFolder(folder, name); };
    const auto note = [&](const std::string& path, const std::string& reason) {
        s.notDone += (s.notDone.empty() ? "" : "; ") + path + ": " + reason;
    };
    const auto exists = [&](const std::string& name) { return files.fileExists(at(name)); };
    if (!journal.undoing &&
        std::all_of(journal.entries.begin(), journal.entries.end(),
                    [&](const JournalEntry& e) { return exists(e.temporary) || exists(e.target); })) {
        for (const JournalEntry& e : journal.entries)
            if (exists(e.temporary) && !MoveOver(at(e.temporary), at(e.target)))
                note(at(e.target), LastError());
        if (s.notDone.empty())
            for (const JournalEntry& e : journal.entries)
                if (!e.aside.empty())
                    Remove(at(e.aside));
        s.completed = true;
        return s;
    }
    // Undone: a target replaced gets its old file back, one created goes. A
    // replaced target whose old file is gone can be neither, unless the
    // undoing had put it back already.
    for (const JournalEntry& e : journal.entries)
        if (!journal.undoing && !e.aside.empty() && !exists(e.temporary) && !exists(e.aside)) {
            s.impossible = true;
            note(at(e.target), "its new content has replaced it and its old file " + e.aside + " is gone");
        }
    if (s.impossible)
        return s;
    for (auto e = journal.entries.rbegin(); e != journal.entries.rend(); ++e) {
        const bool replaced = !exists(e->temporary);
        if (!replaced)
            Remove(at(e->temporary));
        if (!e->aside.empty() && exists(e->aside)) {
            if (!replaced)
                Remove(at(e->aside));
            else if (!MoveOver(at(e->aside), at(e->target)))
                note(at(e->target), LastError());
        } else if (e->aside.empty() && replaced) {
            try {
                files.removeFile(at(e->target));
            } catch (const FileError& error) {
                note(error.path(), error.reason());
            }
        }
    }
    return s;
}

// Removes what interrupted writes of this program left in `folder`: only
// called while the folder is locked and its journal settled, when no other
// write can be on its way there.
void RemoveLeftovers(const std::string& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(ToPath(folder.empty() ? "." : folder), ec), end; !ec && it != end;
         it.increment(ec))
        if (IsWriteLeftover(TextOf(it->path().filename())))
            Remove(TextOf(it->path()));
}

} // namespace

bool LocalFileSystem::fileExists(const std::string& path) const {
    std::error_code ec;
    const auto st = fs::status(ToPath(path), ec);
    return !ec && fs::exists(st) && !fs::is_directory(st);
}

bool LocalFileSystem::folderExists(const std::string& path) const {
    std::error_code ec;
    return fs::is_directory(ToPath(path), ec);
}

bool LocalFileSystem::sameFile(const std::string& a, const std::string& b) const {
    std::error_code ec;
    return fs::equivalent(ToPath(a), ToPath(b), ec);
}

std::vector<std::string> LocalFileSystem::listFiles(const std::string& folder) const {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(ToPath(folder), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError))
            names.push_back(TextOf(it->path().filename()));
    }
    if (ec)
        throw FileError(folder, ec.message());
    return names;
}

std::vector<std::string> LocalFileSystem::listFolders(const std::string& folder) const {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(ToPath(folder), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError))
            names.push_back(TextOf(it->path().filename()));
    }
    if (ec)
        throw FileError(folder, ec.message());
    // The program's one order; names equal but for case in byte order.
    std::sort(names.begin(), names.end());
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
    return names;
}

std::string LocalFileSystem::readAll(const std::string& path) const {
    const auto reader = OpenFile(path);
    // Read straight into a string of the file's size, then whatever more
    // there is (a file that grew meanwhile).
    std::string content(static_cast<std::size_t>(reader->size()), '\0');
    content.resize(reader->readAt(0, content.data(), content.size()));
    char buffer[1 << 16];
    for (std::size_t n; (n = reader->readAt(content.size(), buffer, sizeof buffer)) > 0;)
        content.append(buffer, n);
    return content;
}

std::optional<std::string> LocalFileSystem::readFirstLine(const std::string& path) const {
    // At most the first piece: a file without line ends gives that much.
    try {
        const auto reader = OpenFile(path);
        std::string piece(1 << 16, '\0');
        piece.resize(reader->readAt(0, piece.data(), piece.size()));
        if (piece.empty()) // reading from an empty file fails
            return std::nullopt;
        return piece.substr(0, piece.find_first_of("\r\n"));
    } catch (const FileError&) {
        return std::nullopt;
    }
}

std::unique_ptr<FileReader> LocalFileSystem::openForReading(const std::string& path) const {
    return OpenFile(path);
}

void LocalFileSystem::writeFile(const std::string& path, const std::string& content) {
    writeFiles({path}, [&](std::size_t, FileSink& sink) { sink.write(content); });
}

FolderRecovery LocalFileSystem::settleJournal(const std::string& folder) {
    FolderRecovery recovery;
    recovery.journal = InFolder(folder, kCommitJournalName);
    if (!fileExists(recovery.journal))
        return recovery;
    std::optional<CommitJournal> journal;
    try {
        journal = ParseJournal(readAll(recovery.journal));
    } catch (const FileError& e) {
        recovery.outcome = FolderRecovery::Outcome::Unresolved;
        recovery.reason = "its commit journal cannot be read: " + e.reason();
        return recovery;
    }
    recovery.outcome = FolderRecovery::Outcome::Unresolved;
    if (!journal) {
        recovery.reason = "its commit journal is damaged";
        return recovery;
    }
    for (const JournalEntry& e : journal->entries)
        recovery.files.push_back(InFolder(folder, e.target));
    const Settlement s = Settle(folder, *journal, *this);
    if (!s.notDone.empty()) {
        recovery.reason = s.notDone;
        return recovery;
    }
    Remove(recovery.journal);
    SyncFolder(folder);
    recovery.outcome = s.completed ? FolderRecovery::Outcome::Completed : FolderRecovery::Outcome::Undone;
    return recovery;
}

FolderRecovery LocalFileSystem::recoverFolder(const std::string& folder) {
    // Only a folder where a write has been or is on its way is locked: a
    // reader leaves every other folder (a read-only one, /dev) untouched.
    bool written = false;
    std::error_code ec;
    for (fs::directory_iterator it(ToPath(folder.empty() ? "." : folder), ec), end;
         !ec && it != end && !written; it.increment(ec)) {
        const std::string name = TextOf(it->path().filename());
        written = name == kCommitJournalName || name == kFolderLockName || IsWriteLeftover(name);
    }
    if (!written)
        return {};
    InstallInterruptCleanup();
    FolderLock lock(folder, lockWait);
    FolderRecovery recovery = settleJournal(folder);
    if (recovery.outcome != FolderRecovery::Outcome::Unresolved)
        RemoveLeftovers(folder);
    return recovery;
}

// Each step asks `faults` first, so that a test can make exactly that step
// fail, or the program be killed there, and watch the real clean-up run.
void LocalFileSystem::writeFiles(const std::vector<std::string>& paths, const FileContent& content) {
    InstallInterruptCleanup();
    for (const std::string& path : paths)
        if (IsReadOnly(path))
            throw FileError(path, kReadOnlyReason);
    // One folder, locked for the whole write: an earlier commit cut short
    // there is settled first, and what interrupted writes left goes.
    const std::string folder = FolderOf(paths.front());
    for (const std::string& path : paths)
        if (FolderOf(path) != folder)
            throw std::invalid_argument("the files of one write lie in one folder");
    FolderLock lock(folder, lockWait);
    const FolderRecovery earlier = settleJournal(folder);
    if (earlier.outcome == FolderRecovery::Outcome::Unresolved)
        throw FileError(earlier.journal, kUnsettledReason + earlier.reason);
    RemoveLeftovers(folder);

    // Every new content is complete and on the disk before any target is
    // touched; a failure on the way removes the temporary files.
    std::vector<std::unique_ptr<TemporaryFile>> temporary;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        temporary.push_back(std::make_unique<TemporaryFile>(paths[i], faults));
        content(i, *temporary.back());
        temporary.back()->finish();
    }
    if (paths.size() == 1) { // one rename, which is atomic: no journal
        temporary.front()->replaceTarget();
        if (const auto fault = FaultAt(faults, FileStep::SyncFolder, paths.front()))
            throw FileError(folder.empty() ? "." : folder, *fault);
        if (!SyncFolder(folder))
            throw FileError(folder.empty() ? "." : folder, LastError());
        return;
    }

    // The old files are kept aside under a second name (a hard link, else a
    // copy where the file system has no links, as FAT has not), so that a
    // failure puts each back by a rename and a target is never missing.
    KeptAside aside;
    CommitJournal journal;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        journal.entries.push_back({NameOf(paths[i]), NameOf(temporary[i]->path()), {}});
        if (!fileExists(paths[i]))
            continue;
        const std::string second = NameBeside(paths[i], "bak");
        const auto noLink = FaultAt(faults, FileStep::Link, paths[i]);
        if ((noLink || !Link(paths[i], second)) && !CopyAside(paths[i], second))
            throw FileError(paths[i], LastError());
        aside.add(second);
        journal.entries.back().aside = NameOf(second);
    }
    WriteJournal(folder, journal, faults);
    const std::string journalPath = InFolder(folder, kCommitJournalName);

    // The commit: an interruption waits for its end; a kill leaves the
    // journal, by which the next program completes it.
    CommitInProgress commit;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        try {
            temporary[i]->replaceTarget();
        } catch (const FileError& failed) {
            // Back as it was, as the journal says: an interruption of the
            // undoing is undone again by the next program.
            journal.undoing = true;
            try {
                WriteJournal(folder, journal, FileFaults());
            } catch (const FileError&) {
                // The journal of the commit stays; undone all the same.
            }
            const Settlement s = Settle(folder, journal, *this);
            if (s.notDone.empty()) {
                Remove(journalPath);
                throw;
            }
            aside.keep();
            throw FileError(failed.path(), failed.reason() + ". " + kNotPutBackReason + s.notDone);
        }
    }
    // Every file in place: the renames to the disk, then the journal and the
    // old files go. A folder that cannot be flushed keeps its journal, so
    // that the next program finds the commit and settles it.
    auto syncFault = FaultAt(faults, FileStep::SyncFolder, paths.front());
    if (syncFault || !SyncFolder(folder)) {
        aside.keep();
        throw FileError(folder.empty() ? "." : folder, syncFault ? *syncFault : LastError());
    }
    FaultAt(faults, FileStep::Remove, journalPath); // a kill only: a journal left behind is settled later
    Remove(journalPath);
}

void LocalFileSystem::removeFile(const std::string& path) {
    if (const auto fault = faults.at(FileStep::Remove, path))
        throw FileError(path, *fault);
    std::error_code ec;
    if (fs::is_directory(ToPath(path), ec))
        throw FileError(path, SystemErrorText(EISDIR));
    fs::remove(ToPath(path), ec);
    if (ec)
        throw FileError(path, ec.message());
}

std::string LocalFileSystem::currentDirectory() const {
    std::error_code ec;
    const fs::path cwd = fs::current_path(ec);
    if (ec)
        throw FileError(".", ec.message());
    return TextOf(cwd);
}

void LocalFileSystem::setCurrentDirectory(const std::string& path) {
    std::error_code ec;
    if (!fs::is_directory(ToPath(path), ec))
        throw FileError(path, SystemErrorText(ENOENT));
    fs::current_path(ToPath(path), ec);
    if (ec)
        throw FileError(path, ec.message());
}

void LocalFileSystem::changeDrive(const std::string& path) {
#ifdef _WIN32
    // A path that does not begin with a drive letter names no drive to change to.
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        const int drive = std::toupper(static_cast<unsigned char>(path[0])) - 'A' + 1;
        if (_chdrive(drive) != 0)
            throw FileError(path.substr(0, 2), "Path not found");
    }
#else
    (void)path; // only Windows has drives
#endif
}

} // namespace avelin
