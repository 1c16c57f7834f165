#pragma once
// Typed failures of the core: each carries the file it concerns and why.
#include <stdexcept>
#include <string>

namespace avelin {

// The base of the core's typed failures, so that a window or the command line
// takes them in one place; what() names the file (with the line where there is
// one) and the reason.
class Error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A file could not be read, created, written or renamed. `reason` is the
// system's own error text.
class FileError : public Error {
  public:
    FileError(std::string path, std::string reason)
        : Error(path + ": " + reason), path_(std::move(path)), reason_(std::move(reason)) {}
    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }

  private:
    std::string path_;
    std::string reason_;
};

// A file's content is not what it must be. `line` counts from 1; 0 when the
// problem is not tied to one line.
class FormatError : public Error {
  public:
    FormatError(std::string path, int line, std::string reason)
        : Error(describe(path, line, reason)), path_(std::move(path)), line_(line),
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
class UsageError : public Error {
  public:
    using Error::Error;
};

} // namespace avelin
