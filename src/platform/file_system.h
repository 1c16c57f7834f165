#pragma once
// The file services every part of the program goes through. Paths and file
// contents are byte strings in the system code page; nothing is transcoded.
#include <optional>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/file_faults.h"

namespace avelin {

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // A path may be full or relative to the current directory.
    virtual bool fileExists(const std::string& path) const = 0;
    virtual bool folderExists(const std::string& path) const = 0;
    // Names (with extension, without folder) of the plain files of a folder,
    // in the order the system gives them. Throws FileError.
    virtual std::vector<std::string> listFiles(const std::string& folder) const = 0;
    // Names of the subfolders of a folder, sorted. Throws FileError.
    virtual std::vector<std::string> listFolders(const std::string& folder) const = 0;
    // The whole content. Throws FileError.
    virtual std::string readAll(const std::string& path) const = 0;
    // The first line without its line end; nullopt when the file cannot be
    // opened or is empty.
    virtual std::optional<std::string> readFirstLine(const std::string& path) const = 0;
    // Writes `content` to a temporary file in the target's folder and renames
    // it over `path`: on failure the old file stays as it was. Throws FileError.
    virtual void writeFile(const std::string& path, const std::string& content) = 0;
    // Removes a file; a file that is not there is no failure, and a folder is
    // never removed. Throws FileError.
    virtual void removeFile(const std::string& path) = 0;

    // Process-wide current directory (relative names resolve against it).
    virtual std::string currentDirectory() const = 0;
    // Throws FileError (path not found) when the folder does not exist.
    virtual void setCurrentDirectory(const std::string& path) = 0;
    // Changes the current drive to the drive letter that `path` begins with.
    // Only Windows has drives; elsewhere this does nothing.
    virtual void changeDrive(const std::string& path) = 0;
};

// The real file services of the machine.
class LocalFileSystem : public FileSystem {
  public:
    bool fileExists(const std::string& path) const override;
    bool folderExists(const std::string& path) const override;
    std::vector<std::string> listFiles(const std::string& folder) const override;
    std::vector<std::string> listFolders(const std::string& folder) const override;
    std::string readAll(const std::string& path) const override;
    std::optional<std::string> readFirstLine(const std::string& path) const override;
    void writeFile(const std::string& path, const std::string& content) override;
    void removeFile(const std::string& path) override;
    std::string currentDirectory() const override;
    void setCurrentDirectory(const std::string& path) override;
    void changeDrive(const std::string& path) override;

    // Failures to inject into writes and removals; empty in normal use.
    FileFaults faults;
};

// The longest name of the temporary file that a write puts beside its target
// (".avelin-" and three hexadecimal numbers, ".tmp").
inline constexpr std::size_t kMaxTemporaryNameLength = 36;

// The folder separator of paths the program builds: "\" on Windows, "/" elsewhere.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

} // namespace avelin
