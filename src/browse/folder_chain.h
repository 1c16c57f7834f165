#pragma once
// Folder paths as the folder browser shows them: the chain of folders from a
// root down to the open folder, a subfolder's path, and the nearest folder
// that exists. Paths use the platform's separator; a root keeps its trailing
// separator ("/" or "C:\"), any other folder has none.
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace avelin {

// The root a path starts with ("/", "C:\"), or empty for a relative path.
std::string RootOf(const std::string& path);
// The path without trailing separators, except a root's.
std::string NormalFolder(const std::string& path);
// Every folder from the root down to `folder` itself.
std::vector<std::string> FolderChain(const std::string& folder);
// The subfolder `name` of `folder`.
std::string ChildFolder(const std::string& folder, const std::string& name);
// What the folder list shows for a folder: its last name, or the root itself.
std::string FolderName(const std::string& folder);
// `folder` when it exists, else its nearest existing ancestor, else the
// current directory.
std::string ExistingFolderFor(const std::string& folder, const FileSystem& files);
// The current folder of `drive` ("D:\"): the folder that changing to that
// drive enters. The process's current folder is left as it was. nullopt when
// the drive cannot be entered (not ready).
std::optional<std::string> DriveCurrentFolder(const std::string& drive, FileSystem& files);

} // namespace avelin
