#include "data_generator.h"

#include <cstdio>

#include "../tests/support/pptx_writer.h"
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
        const int choices = 2 + v * 7 % 8; // the design's, the same in every file
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

std::string DefinitionText(int kind, int options, int rows) {
    const int type = kind == 2 ? 7 : kind == 3 ? 6 : 1;
    std::string text = "2," + std::to_string(options) + "," + std::to_string(type) + ",\"Question\",30,0,2," +
                       (kind == 1 ? "2" : "0") + ",1\r\n";
    auto skip = [&text](int n) {
        for (int i = 0; i < n; ++i)
            text += i + 1 == n ? "0\r\n" : "0,";
    };
    switch (kind) {
    case 1: // series
        skip(3 * options + 20);
        text += "1\r\n\"Round\",0\r\n" + std::to_string(rows) + "\r\n";
        break;
    case 2: // rating scale
        text += std::to_string(rows) + "\r\n";
        skip(4 * rows + 16);
        text += "1\r\n";
        break;
    case 3: // text
        skip(2 * options + 20);
        text += "0\r\n";
        break;
    default:
        skip(3 * options + 20);
        text += "1\r\n";
    }
    return text;
}

std::string WritePresentation(const std::string& folder, int slides) {
    LocalFileSystem fs;
    std::vector<test::PptxSlide> parts;
    for (int i = 0; i < slides; ++i) {
        const std::string name = "vote" + std::to_string(i + 1) + ".AVL";
        parts.push_back({{{"Title 1", "", ""},
                          {"Content Placeholder 2", "", ""},
                          {"VOTE", "ppaction://program",
                           "file:///C:\\Program%20Files\\avelin\\avelin.exe%20" + name + ",1"}}});
        fs.writeFile(folder + kPathSeparator + name, DefinitionText(i % 4, 5, 3));
    }
    const std::string path = folder + kPathSeparator + "large.pptx";
    test::WritePptx(path, parts);
    return path;
}

} // namespace avelin::bench
