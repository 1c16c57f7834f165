#pragma once
// The files a merge writes beside the merged results file: the empty marker
// file and one group file per input.
#include <string>

namespace avelin {

// Name of the merge information vote and of the marker file.
inline constexpr const char* kMergeInfoName = "MergeInfo.avl";

// Content of the group file of input `index` (0 to 9), no line end:
// "MergeInfo.avl", "0"
std::string GroupFileText(int index);

} // namespace avelin
