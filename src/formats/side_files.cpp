#include "formats/side_files.h"

namespace avelin {

std::string GroupFileText(int index) {
    return std::string("\"") + kMergeInfoName + "\", \"" + std::to_string(index) + "\"";
}

} // namespace avelin
