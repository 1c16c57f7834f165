#include "cli/cli_output.h"

#include "platform/path_text.h"

namespace avelin::cli {

void CheckOutputPath(const std::string& typed, const std::string& path, const FileSystem& files) {
    for (const std::string& name : {typed, path})
        if (files.folderExists(name))
            throw UsageError(name + ": " + kFolderReason + "; --output names the file to write");
    const std::string folder = TextOf(PathOf(path).parent_path());
    if (!folder.empty() && !files.folderExists(folder))
        throw UsageError(folder + ": No such folder for the output file");
}

void RefuseFolderInput(const std::string& path, const FileSystem& files) {
    if (files.folderExists(path))
        throw FileError(path, kFolderReason);
}

} // namespace avelin::cli
