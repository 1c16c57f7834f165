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
#include "platform/file_system.h"
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
Handle OpenToRead(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}
// Fails when the file exists: a temporary file is never reused.
Handle CreateNew(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
}
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
bool Remove(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND;
}
// MOVEFILE_WRITE_THROUGH has made the renames durable already.
void SyncFolder(const std::string&) {}
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
Handle OpenToRead(const std::string& path) {
    errno = 0;
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
}
Handle CreateNew(const std::string& path) {
    errno = 0;
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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
bool Remove(const std::string& path) {
    errno = 0;
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}
// The renames reach the disk with the folder. Some file systems cannot sync
// a folder; the files are in place all the same, so that is no failure.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
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

// The temporary file of one target while it is written. A step that fails,
// or a fault injected into it, throws FileError naming the target.
class TemporaryFile : public FileSink {
  public:
    TemporaryFile(const std::string& target, const FileFaults& faults)
        : target_(target), temp_(NameBeside(target, "tmp")), faults_(faults) {
        if (const auto fault = faults_.at(FileStep::CreateTemporary, target_))
            throw FileError(target_, *fault);
        h_ = CreateNew(temp_);
        if (h_ == kNoHandle)
            throw FileError(target_, LastError());
        writeFault_ = faults_.at(FileStep::Write, target_);
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
        if (const auto fault = faults_.at(FileStep::Sync, target_))
            throw FileError(target_, *fault);
        if (!SyncToDisk(h_))
            throw FileError(target_, LastError());
        const Handle h = h_;
        h_ = kNoHandle;
        if (!Close(h))
            throw FileError(target_, LastError());
        if (const auto fault = faults_.at(FileStep::Close, target_))
            throw FileError(target_, *fault);
    }

  private:
    std::string target_;
    std::string temp_;
    const FileFaults& faults_;
    Handle h_ = kNoHandle;
    std::optional<std::string> writeFault_;
};

std::string FolderOf(const std::string& path) {
    return TextOf(ToPath(path).parent_path());
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
    if (IsFolder(path))
        throw FileError(path, kFolderReason);
    errno = 0;
    FilePtr f(std::fopen(path.c_str(), "rb"));
    if (!f)
        throw FileError(path, SystemErrorText(errno));
    // Read straight into a string of the file's size, then whatever more
    // there is (a file that grew meanwhile).
    std::string content;
    std::error_code ec;
    const auto size = fs::file_size(ToPath(path), ec);
    if (!ec && size > 0) {
        content.resize(static_cast<std::size_t>(size));
        content.resize(std::fread(content.data(), 1, content.size(), f.get()));
    }
    char buffer[1 << 16];
    while (!std::ferror(f.get()) && !std::feof(f.get()))
        content.append(buffer, std::fread(buffer, 1, sizeof buffer, f.get()));
    if (std::ferror(f.get()))
        throw FileError(path, SystemErrorText(errno != 0 ? errno : EIO));
    return content;
}

std::optional<std::string> LocalFileSystem::readFirstLine(const std::string& path) const {
    FilePtr f(std::fopen(path.c_str(), "rb"));
    if (!f)
        return std::nullopt;
    std::string line;
    bool any = false;
    for (int c; (c = std::fgetc(f.get())) != EOF;) {
        any = true;
        if (c == '\r' || c == '\n')
            break;
        line.push_back(static_cast<char>(c));
    }
    // Reading from an empty (or unreadable) file fails.
    if (!any || std::ferror(f.get()))
        return std::nullopt;
    return line;
}

std::unique_ptr<FileReader> LocalFileSystem::openForReading(const std::string& path) const {
    if (IsFolder(path))
        throw FileError(path, kFolderReason);
    const Handle h = OpenToRead(path);
    if (h == kNoHandle)
        throw FileError(path, LastError());
    return std::make_unique<LocalReader>(path, h);
}

void LocalFileSystem::writeFile(const std::string& path, const std::string& content) {
    writeFiles({path}, [&](std::size_t, FileSink& sink) { sink.write(content); });
}

// Each step asks `faults` first, so that a test can make exactly that step
// fail and watch the real clean-up run.
void LocalFileSystem::writeFiles(const std::vector<std::string>& paths, const FileContent& content) {
    for (const std::string& path : paths)
        if (IsReadOnly(path))
            throw FileError(path, kReadOnlyReason);
    // Every new content is complete and on the disk before any target is
    // touched; a failure on the way removes the temporary files.
    std::vector<std::unique_ptr<TemporaryFile>> temporary;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        temporary.push_back(std::make_unique<TemporaryFile>(paths[i], faults));
        content(i, *temporary.back());
        temporary.back()->finish();
    }
    // Then each replaces its target in one step. The old file is kept aside
    // under a second name (a hard link, else a rename where the file system
    // has no links) until all are in place, so that a failure puts it back
    // by a rename: nothing is read back or copied.
    std::vector<std::optional<std::string>> aside(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string& target = paths[i];
        std::string error;
        bool moved = false; // the old file is no longer at the target
        if (fileExists(target)) {
            aside[i] = NameBeside(target, "bak");
            if (!Link(target, *aside[i])) {
                moved = MoveOver(target, *aside[i]);
                if (!moved)
                    error = LastError(), aside[i].reset();
            }
        }
        if (error.empty()) {
            if (const auto fault = faults.at(FileStep::Rename, target))
                error = *fault;
            else if (!MoveOver(temporary[i]->path(), target))
                error = LastError();
        }
        if (error.empty())
            continue;
        // Back as it was: this target, then those already replaced or created.
        std::string notRestored;
        const auto note = [&](const std::string& path, const std::string& reason) {
            notRestored += (notRestored.empty() ? "" : "; ") + path + ": " + reason;
        };
        if (aside[i] && moved && !MoveOver(*aside[i], target))
            note(target, LastError());
        else if (aside[i] && !moved)
            Remove(*aside[i]); // a second name only: the target never changed
        for (std::size_t j = i; j-- > 0;) {
            if (aside[j] && !MoveOver(*aside[j], paths[j])) {
                note(paths[j], LastError());
            } else if (!aside[j]) {
                try {
                    removeFile(paths[j]);
                } catch (const FileError& e) {
                    note(e.path(), e.reason());
                }
            }
        }
        if (notRestored.empty())
            throw FileError(target, error);
        throw FileError(
            target, error + ". These files of the merge could not be put back as they were: " + notRestored);
    }
    // Every file in place: the renames to the disk, then the old files go.
    std::vector<std::string> folders;
    for (const std::string& path : paths)
        if (std::find(folders.begin(), folders.end(), FolderOf(path)) == folders.end())
            folders.push_back(FolderOf(path));
    for (const std::string& folder : folders)
        SyncFolder(folder);
    for (const auto& old : aside)
        if (old)
            Remove(*old);
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
