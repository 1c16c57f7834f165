#pragma once
// Typed failures of the core: each carries the file it concerns and why.
#include <stdexcept>
#include <string>

namespace avelin {

// A file could not be read, created, written or renamed. `reason` is the
// system's own error text.
class FileError : public std::runtime_error {
public:
    FileError(std::string path, std::string reason)
        : std::runtime_error(path + ": " + reason), path_(std::move(path)), reason_(std::move(reason)) {}
    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }

private:
    std::string path_;
    std::string reason_;
};

// A file's content is not what it must be. `line` counts from 1; 0 when the
// problem is not tied to one line.
class FormatError : public std::runtime_error {
public:
    FormatError(std::string path, int line, std::string reason)
        : std::runtime_error(describe(path, line, reason)), path_(std::move(path)), line_(line),
          reason_(std::move(reason)) {}
    const std::string& path() const { return path_; }
    int line() const { return line_; }
    const std::string& reason() const { return reason_; }

private:
    static std::string describe(const std::string& path, int line, const std::string& reason) {
        return line > 0 ? path + ", line " + std::to_string(line) + ": " + reason : path + ": " + reason;
    }
    std::string path_;
    int line_;
    std::string reason_;
};

// A request the core refuses before touching any file (too few inputs, a bad
// group name, ...).
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace avelin
