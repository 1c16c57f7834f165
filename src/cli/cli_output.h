#pragma once
// Checks of the file a subcommand is to write, made before anything is read.
#include <string>

#include "platform/file_system.h"

namespace avelin::cli {

// Refuses an output named `typed` on the command line and written to `path`
// (the same, or with ".rec" completed) when either is an existing folder, or
// when the folder it goes into does not exist. Throws UsageError.
void CheckOutputPath(const std::string& typed, const std::string& path, const FileSystem& files);

// Refuses an input that is a folder. Throws FileError.
void RefuseFolderInput(const std::string& path, const FileSystem& files);

} // namespace avelin::cli
