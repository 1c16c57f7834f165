#pragma once
// Which results files of a folder the merge window offers.
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace avelin {

// The text before the last folder separator of `vName` (kPathSeparator).
std::string GetDirName(const std::string& vName);
// The text after the last folder separator (the whole text when there is none).
std::string LastComponent(const std::string& path);

// Base names of the files of `folder` that may be merged, in the order the
// system lists them: extension exactly "rec", base name not "response", first
// line readable, not empty and not beginning with a double quote and a
// backslash, and `folderCaption` + separator + name not already among `selected`
// (entries without ".rec").
std::vector<std::string> OfferedFiles(const std::string& folder, const std::string& folderCaption,
                                      const std::vector<std::string>& selected, const FileSystem& files);

} // namespace avelin
