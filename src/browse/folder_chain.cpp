#include "browse/folder_chain.h"

namespace avelin {

std::string RootOf(const std::string& path) {
    if (!path.empty() && path[0] == kPathSeparator)
        return std::string(1, kPathSeparator);
#ifdef _WIN32
    if (path.size() >= 2 && path[1] == ':')
        return path.substr(0, 2) + kPathSeparator;
#endif
    return {};
}

std::string NormalFolder(const std::string& path) {
    const std::size_t rootSize = RootOf(path).size();
    if (path.size() < rootSize) // "C:" is the root "C:\"
        return RootOf(path);
    std::string folder = path;
    while (folder.size() > rootSize && folder.back() == kPathSeparator)
        folder.pop_back();
    return folder;
}

std::string ChildFolder(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    return folder.back() == kPathSeparator ? folder + name : folder + kPathSeparator + name;
}

std::vector<std::string> FolderChain(const std::string& folder) {
    const std::string normal = NormalFolder(folder);
    const std::string root = RootOf(normal);
    std::vector<std::string> chain;
    if (!root.empty())
        chain.push_back(root);
    std::string current = root;
    std::size_t start = root.size();
    while (start < normal.size()) {
        std::size_t end = normal.find(kPathSeparator, start);
        if (end == std::string::npos)
            end = normal.size();
        if (end > start) {
            current = ChildFolder(current, normal.substr(start, end - start));
            chain.push_back(current);
        }
        start = end + 1;
    }
    return chain;
}

std::string FolderName(const std::string& folder) {
    const std::string normal = NormalFolder(folder);
    if (normal == RootOf(normal))
        return normal;
    const std::size_t sep = normal.rfind(kPathSeparator);
    return sep == std::string::npos ? normal : normal.substr(sep + 1);
}

std::string ExistingFolderFor(const std::string& folder, const FileSystem& files) {
    const std::vector<std::string> chain = FolderChain(folder);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        if (files.folderExists(*it))
            return *it;
    return NormalFolder(files.currentDirectory());
}

std::optional<std::string> DriveCurrentFolder(const std::string& drive, FileSystem& files) {
    const std::string before = files.currentDirectory();
    try {
        files.changeDrive(drive);
        const std::string folder = files.currentDirectory();
        files.setCurrentDirectory(before);
        return folder;
    } catch (const FileError&) {
        files.setCurrentDirectory(before);
        return std::nullopt;
    }
}

} // namespace avelin
