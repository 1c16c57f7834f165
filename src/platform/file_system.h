#pragma once
// The file services every part of the program goes through. Paths and file
// contents are byte strings in the system code page; nothing is transcoded.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.h"
#include "platform/file_faults.h"

namespace avelin {

// An open file, read at any offset.
class FileReader {
  public:
    virtual ~FileReader() = default;
    // Reads `size` bytes from `offset` into `to`, fewer only where the file
    // ends, and returns how many it read. Throws FileError.
    virtual std::size_t readAt(std::uint64_t offset, char* to, std::size_t size) = 0;
    // The file's size in bytes. Throws FileError.
    virtual std::uint64_t size() = 0;
};

// Where the content of a file being written goes, piece by piece.
class FileSink {
  public:
    virtual ~FileSink() = default;
    // Throws FileError.
    virtual void write(std::string_view bytes) = 0;
    // The pieces one after another, in one call where the system can.
    virtual void writePieces(const std::string_view* pieces, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            write(pieces[i]);
    }
};

// The content of file `index` of a group write, written into the sink.
using FileContent = std::function<void(std::size_t index, FileSink& sink)>;

// The reason a write gives for a target that is read-only.
inline constexpr const char* kReadOnlyReason = "The file is read-only";
// The reason a read gives for a path that is a folder.
inline constexpr const char* kFolderReason = "Is a folder, not a file";
// The reason a read gives for a device, a pipe or a socket.
inline constexpr const char* kNotRegularReason = "Is a device, a pipe or a socket, not a file";
// Begins the reason of a write into a folder whose earlier commit was cut
// short and can be neither completed nor undone.
inline constexpr const char* kUnsettledReason =
    "a write of several files into this folder was cut short and can be neither completed nor undone: ";
// Begins the list of files that a failed write could not put back.
inline constexpr const char* kNotPutBackReason = "These files could not be put back as they were: ";

// What was found of an earlier write of several files into a folder that was
// cut short (the program killed, the power cut) and what became of it.
struct FolderRecovery {
    enum class Outcome { None, Completed, Undone, Unresolved };
    Outcome outcome = Outcome::None;
    std::string journal;            // the commit journal's path
    std::vector<std::string> files; // the files of that write
    std::string reason;             // Unresolved: why
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // A path may be full or relative to the current directory.
    virtual bool fileExists(const std::string& path) const = 0;
    virtual bool folderExists(const std::string& path) const = 0;
    // Whether two paths name one file, also through a link or another
    // spelling; false when either does not exist.
    virtual bool sameFile(const std::string& a, const std::string& b) const { return a == b; }
    // Names (with extension, without folder) of the plain files of a folder,
    // in the order the system gives them. Throws FileError.
    virtual std::vector<std::string> listFiles(const std::string& folder) const = 0;
    // Names of the subfolders of a folder, sorted. Throws FileError.
    virtual std::vector<std::string> listFolders(const std::string& folder) const = 0;
    // The whole content. Throws FileError.
    virtual std::string readAll(const std::string& path) const = 0;
    // Opens a file for reading in pieces. Throws FileError.
    virtual std::unique_ptr<FileReader> openForReading(const std::string& path) const = 0;
    // The first line without its line end; nullopt when the file cannot be
    // opened or is empty.
    virtual std::optional<std::string> readFirstLine(const std::string& path) const = 0;
    // Writes `content` to a temporary file in the target's folder, flushes it
    // to disk and renames it over `path`: on failure the old file stays as it
    // was. A read-only target is refused. Throws FileError.
    virtual void writeFile(const std::string& path, const std::string& content) = 0;
    // Writes several files all or nothing, each produced in pieces by
    // `content`: every file goes to its temporary file first; only when all
    // are complete do they replace their targets, and a failure on the way
    // puts the old files back. A read-only target is refused before anything
    // is written. Throws FileError naming the file that failed (and any that
    // could not be put back), or whatever `content` throws.
    virtual void writeFiles(const std::vector<std::string>& paths, const FileContent& content) = 0;
    // Removes a file; a file that is not there is no failure, and a folder is
    // never removed. Throws FileError.
    virtual void removeFile(const std::string& path) = 0;
    // Settles a write of several files into `folder` that was cut short: it
    // is completed where every new file is there, else undone; and removes
    // what interrupted writes left there. Every write does so first; readers
    // of results files call it before they read. Waits for another program
    // writing there; throws FileError when that does not end. A folder where
    // no write has been is not touched.
    virtual FolderRecovery recoverFolder(const std::string& folder) {
        (void)folder;
        return {};
    }

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
    bool sameFile(const std::string& a, const std::string& b) const override;
    std::vector<std::string> listFiles(const std::string& folder) const override;
    std::vector<std::string> listFolders(const std::string& folder) const override;
    std::string readAll(const std::string& path) const override;
    std::unique_ptr<FileReader> openForReading(const std::string& path) const override;
    std::optional<std::string> readFirstLine(const std::string& path) const override;
    void writeFile(const std::string& path, const std::string& content) override;
    void writeFiles(const std::vector<std::string>& paths, const FileContent& content) override;
    void removeFile(const std::string& path) override;
    FolderRecovery recoverFolder(const std::string& folder) override;
    std::string currentDirectory() const override;
    void setCurrentDirectory(const std::string& path) override;
    void changeDrive(const std::string& path) override;

    // Failures to inject into writes and removals; empty in normal use.
    FileFaults faults;
    // How long a write waits for another program writing into its folder.
    std::chrono::milliseconds lockWait{10000};

  private:
    // The journal of `folder` settled, while the folder is locked.
    FolderRecovery settleJournal(const std::string& folder);
};

// The longest name of the files a write puts beside its target: the
// temporary file and the old file kept aside (".avelin-" and three
// hexadecimal numbers, ".tmp" or ".bak").
inline constexpr std::size_t kMaxTemporaryNameLength = 36;

// The folder separator of paths the program builds: "\" on Windows, "/" elsewhere.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

} // namespace avelin
