#include "data_generator.h"

#include <cstdio>

#include "platform/file_system.h"

namespace avelin::bench {

std::uint64_t SplitMix::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

namespace {
std::string VoteName(int index) {
    char name[48];
    if (index % 10 == 9) // a series vote and its iteration
        std::snprintf(name, sizeof name, "Rating %d.avl;%d", index / 10, index % 7 + 1);
    else
        std::snprintf(name, sizeof name, "Vote %04d.avl", index);
    return name;
}
} // namespace

std::string MeetingFileText(int votes, int keypads, std::uint64_t seed) {
    SplitMix rng(seed);
    std::string text;
    text.reserve(static_cast<std::size_t>(votes) * (2 * static_cast<std::size_t>(keypads) + 80));
    for (int v = 0; v < votes; ++v) {
        const int choices = 2 + static_cast<int>(rng.below(8));
        text += "\"C:\\Talks\\" + VoteName(v) + "\"," + std::to_string(choices) + "," +
                std::to_string(keypads) + ",\"";
        for (int k = 0; k < keypads; ++k) {
            text +=
                rng.below(5) == 0 ? '-' : static_cast<char>('1' + rng.below(static_cast<unsigned>(choices)));
            text += ';';
        }
        const int seconds = 9 * 3600 + 30 * v;
        char stamp[40];
        std::snprintf(stamp, sizeof stamp, "\",\"%02d:%02d:%02d\",\"04/12/2026\"\r\n", seconds / 3600 % 24,
                      seconds / 60 % 60, seconds % 60);
        text += stamp;
    }
    return text;
}

std::vector<std::string> WriteMeetingFiles(const std::string& folder, int files, int votes, int keypads) {
    LocalFileSystem fs;
    std::vector<std::string> paths;
    for (int i = 0; i < files; ++i) {
        const std::string path = folder + kPathSeparator + "day" + std::to_string(i);
        fs.writeFile(path + ".rec", MeetingFileText(votes, keypads, 1000 + static_cast<std::uint64_t>(i)));
        paths.push_back(path);
    }
    return paths;
}

} // namespace avelin::bench
