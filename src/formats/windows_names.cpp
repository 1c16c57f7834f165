#include "formats/windows_names.h"

#include <algorithm>
#include <cctype>

#include "platform/file_system.h"

namespace avelin {

namespace {

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The device that `name` opens instead of a file, upper-cased; "" for none.
// Windows looks at the part before the first full stop, blanks at its end
// dropped ("con .txt" is CON too).
std::string DeviceName(const std::string& name) {
    std::string base = Upper(name.substr(0, name.find('.')));
    base.erase(base.find_last_not_of(' ') + 1);
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL")
        return base;
    if (base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' &&
        base[3] <= '9')
        return base;
    return {};
}

} // namespace

bool HoldsForbiddenCharacter(const std::string& name) {
    return name.find_first_of("\\/:*?\"<>|") != std::string::npos;
}

std::optional<std::string> ReservedNameProblem(const std::string& name, const std::string& extension) {
    if (const std::string device = DeviceName(name); !device.empty())
        return device + " is a device name Windows reserves";
    if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }))
        return "A name cannot hold a control character";
    // Only the end of the whole file name counts: "North." gives the group
    // file "North..grp", which Windows keeps as it stands.
    const std::string_view last = extension.empty() ? std::string_view(name) : std::string_view(extension);
    if (!last.empty() && (last.back() == ' ' || last.back() == '.'))
        return "A name cannot end with a blank or a full stop";
    if (name.size() + extension.size() > kMaxNameLength)
        return "That name is too long";
    return std::nullopt;
}

std::optional<std::string> PathLengthProblem(const std::string& folder, const std::string& fileName,
                                             std::size_t limit) {
    const std::size_t longest = std::max(fileName.size(), kMaxTemporaryNameLength);
    if (folder.size() + 1 + longest > limit)
        return "That path is too long";
    return std::nullopt;
}

std::optional<std::string> FileNameProblem(const std::string& folder, const std::string& name,
                                           const std::string& extension, std::size_t limit) {
    if (auto problem = ReservedNameProblem(name, extension))
        return problem;
    return PathLengthProblem(folder, name + extension, limit);
}

std::optional<std::string> ChosenPathProblem(const std::string& path, std::size_t limit) {
    // Windows takes "/" in paths as well as "\".
    const std::size_t at = path.find_last_of(std::string("/") + kPathSeparator);
    const std::string folder = at == std::string::npos ? std::string() : path.substr(0, at);
    const std::string name = at == std::string::npos ? path : path.substr(at + 1);
    return FileNameProblem(folder, name, "", limit);
}

} // namespace avelin
