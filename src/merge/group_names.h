#pragma once
// Group (subgroup) names of the files selected for merging.
#include <string>
#include <vector>

namespace avelin {

// A name no entry of `existing` has (case ignored): the base name, "votes"
// replaced by the source folder's last component (after the last folder separator), then "-1", "-2", ...
std::string DefaultGroupName(const std::string& baseName, const std::string& sourceFolder,
                             const std::vector<std::string>& existing);

// True when `filename` holds any of \ / : * ? " < > | ,
bool CheckForInvalidChars(const std::string& filename);

} // namespace avelin
