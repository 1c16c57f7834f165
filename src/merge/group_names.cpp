#include "merge/group_names.h"

#include "merge/collation.h"
#include "merge/folder_listing.h"

namespace avelin {

std::string DefaultGroupName(const std::string& baseName, const std::string& sourceFolder,
                             const std::vector<std::string>& existing) {
    // Files named "votes" are the voting application's default name, so the
    // meeting's folder says more about the group.
    std::string name = baseName == "votes" ? LastComponent(sourceFolder) : baseName;
    int counter = 1; // keeps counting across the passes
    bool changed = true;
    while (changed) {
        changed = false;
        for (const std::string& entry : existing) {
            if (!SameNameAnyCase(entry, name))
                continue;
            // A name whose first hyphen is its next-to-last character ends in
            // an earlier suffix ("Day1-1"): that suffix is replaced, not
            // extended. A name without any hyphen is never cut, also when it
            // is one character long (length minus "no position" would be 1).
            const std::size_t hyphen = name.find('-');
            if (hyphen != std::string::npos && hyphen + 2 == name.size())
                name.resize(name.size() - 2);
            name += '-';
            name += std::to_string(counter++);
            changed = true;
        }
    }
    return name;
}

bool CheckForInvalidChars(const std::string& filename) {
    return filename.find_first_of("\\/:*?\"<>|,") != std::string::npos;
}

} // namespace avelin
