#include "formats/run_marker.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace avelin {

namespace {
constexpr std::string_view kTag = "xxxseq";
constexpr std::string_view kEnd = "xxx";
constexpr std::size_t kLength = 11; // the tag, two digits, the end
} // namespace

std::string RunMarker(std::size_t index) {
    char digits[24];
    std::snprintf(digits, sizeof digits, "%02zu", index);
    return std::string(kTag) + digits + std::string(kEnd);
}

std::string_view WithoutRunMarker(std::string_view name) {
    if (name.find(kTag) != std::string_view::npos)
        name.remove_suffix(std::min(name.size(), kLength));
    return name;
}

int RunIndex(std::string_view name) {
    const std::string_view bare = WithoutRunMarker(name);
    if (bare.size() == name.size())
        return -1;
    return std::atoi(std::string(name.substr(bare.size() + kTag.size())).c_str());
}

} // namespace avelin
