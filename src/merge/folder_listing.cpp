#include "merge/folder_listing.h"

#include <algorithm>

namespace avelin {

std::string GetDirName(const std::string& vName) {
    const std::size_t sep = vName.rfind(kPathSeparator);
    // Only ever given paths with a separator; without one there is no folder.
    return sep == std::string::npos ? std::string() : vName.substr(0, sep);
}

std::string LastComponent(const std::string& path) {
    const std::size_t sep = path.rfind(kPathSeparator);
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::vector<std::string> OfferedFiles(const std::string& folder, const std::string& folderCaption,
                                      const std::vector<std::string>& selected, const FileSystem& files) {
    std::vector<std::string> offered;
    const bool endsWithSeparator = !folder.empty() && folder.back() == kPathSeparator;
    for (const std::string& name : files.listFiles(folder)) {
        const std::size_t dot = name.rfind('.');
        if (dot == std::string::npos)
            continue;
        const std::string base = name.substr(0, dot);
        // Both comparisons count letter case: x.REC and response.rec are not
        // offered, Response.rec is.
        if (name.compare(dot + 1, std::string::npos, "rec") != 0 || base == "response")
            continue;
        const auto firstLine =
            files.readFirstLine(endsWithSeparator ? folder + name : folder + kPathSeparator + name);
        if (!firstLine || firstLine->empty())
            continue;
        // A vote field without a folder part marks a merged file.
        if (firstLine->size() >= 2 && (*firstLine)[0] == '"' && (*firstLine)[1] == '\\')
            continue;
        const std::string full = folderCaption + kPathSeparator + name;
        if (std::any_of(selected.begin(), selected.end(),
                        [&](const std::string& e) { return e + ".rec" == full; }))
            continue;
        offered.push_back(base);
    }
    return offered;
}

} // namespace avelin
