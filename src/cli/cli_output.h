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

// Settles a merge into the folder of `file` that was cut short, telling on
// stderr what became of it. Throws FormatError when it can be neither
// completed nor undone: the files there do not belong together.
void SettleFolderOf(const std::string& file, FileSystem& files);

} // namespace avelin::cli
