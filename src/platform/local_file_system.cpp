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
#include <direct.h>
#include <process.h>
#define AVELIN_GETPID _getpid
#else
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
// one picks at the same moment. Its length is bounded (and independent of the
// target's name), so that a target name up to the system's limit still leaves
// room for it.
std::string TemporaryPathFor(const std::string& path) {
    static std::atomic<unsigned long> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    char name[kMaxTemporaryNameLength + 1];
    std::snprintf(name, sizeof name, ".avelin-%lx-%lx-%06lx.tmp",
                  static_cast<unsigned long>(AVELIN_GETPID()) & 0xffffffffUL, counter++ & 0xffffffffUL,
                  static_cast<unsigned long>(stamp) & 0xffffffUL);
    fs::path temp = ToPath(path).parent_path();
    temp /= name;
    return TextOf(temp);
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

// Each step asks `faults` first, so that a test can make exactly that step
// fail and watch the real clean-up run.
void LocalFileSystem::writeFile(const std::string& path, const std::string& content) {
    const std::string temp = TemporaryPathFor(path);
    if (const auto fault = faults.at(FileStep::CreateTemporary, path))
        throw FileError(path, *fault);
    errno = 0;
    // "x": never reuse an existing file of that name.
    std::FILE* raw = std::fopen(temp.c_str(), "wbx");
    if (!raw)
        throw FileError(path, SystemErrorText(errno));
    std::string error;
    const auto systemError = [&error] {
        if (error.empty())
            error = SystemErrorText(errno != 0 ? errno : EIO);
    };
    // An injected write failure stops half-way, as a full disk does.
    const auto writeFault = faults.at(FileStep::Write, path);
    const std::size_t size = writeFault ? content.size() / 2 : content.size();
    if (size > 0 && std::fwrite(content.data(), 1, size, raw) != size)
        systemError();
    if (writeFault && error.empty())
        error = *writeFault;
    if (std::fflush(raw) != 0)
        systemError();
    if (std::fclose(raw) != 0)
        systemError();
    if (const auto fault = faults.at(FileStep::Close, path); fault && error.empty())
        error = *fault;
    if (error.empty()) {
        if (const auto fault = faults.at(FileStep::Rename, path)) {
            error = *fault;
        } else {
            // Replaces an existing file in one step (MoveFileEx with replace on Windows).
            std::error_code ec;
            fs::rename(ToPath(temp), ToPath(path), ec);
            if (!ec)
                return;
            error = ec.message();
        }
    }
    std::error_code ignored;
    fs::remove(ToPath(temp), ignored);
    throw FileError(path, error);
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
