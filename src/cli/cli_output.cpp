#include "cli/cli_output.h"

#include <filesystem>
#include <iostream>

#include "platform/path_text.h"

namespace avelin::cli {

void CheckOutputPath(const std::string& typed, const std::string& path, const FileSystem& files) {
    for (const std::string& name : {typed, path})
        if (files.folderExists(name))
            throw UsageError(name + ": " + kFolderReason + "; --output names the file to write");
    const std::string folder = TextOf(PathOf(path).parent_path());
    if (folder.empty() || files.folderExists(folder))
        return;
    // Not there, or not to be looked at: then the system's reason ("File name
    // too long", "Permission denied").
    std::error_code ec;
    (void)std::filesystem::status(PathOf(folder), ec);
    if (ec && ec != std::errc::no_such_file_or_directory && ec != std::errc::not_a_directory)
        throw UsageError(folder + ": " + ec.message());
    throw UsageError(folder + ": No such folder for the output file");
}

void SettleFolderOf(const std::string& file, FileSystem& files) {
    std::string folder = TextOf(PathOf(file).parent_path());
    const FolderRecovery r = files.recoverFolder(folder.empty() ? "." : folder);
    std::string names;
    for (const std::string& f : r.files)
        names += (names.empty() ? "" : ", ") + f;
    if (r.outcome == FolderRecovery::Outcome::Unresolved)
        throw FormatError(r.journal, 0, kUnsettledReason + r.reason);
    if (r.outcome != FolderRecovery::Outcome::None)
        std::cerr << "avelin-rec: a merge that was cut short was "
                  << (r.outcome == FolderRecovery::Outcome::Completed ? "completed: " : "undone: ") << names
                  << '\n';
}

void RefuseFolderInput(const std::string& path, const FileSystem& files) {
    if (files.folderExists(path))
        throw FileError(path, kFolderReason);
}

} // namespace avelin::cli
