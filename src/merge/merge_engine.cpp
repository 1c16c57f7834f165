#include "merge/merge_engine.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "formats/side_files.h"

namespace avelin {

namespace {

constexpr std::string_view kNoResponse = "-;";
constexpr std::string_view kRunMarkerTag = "xxxseq";
constexpr std::size_t kRunMarkerLength = 11; // "xxxseq", two digits, "xxx"

void AppendNoResponses(std::string& responses, int count) {
    for (int m = 0; m < count; ++m)
        responses += kNoResponse;
}

// Step 1: every vote of a file whose keypad counts differ is padded to the
// largest count with no-response entries.
void PadUnevenFile(InputFile& file) {
    file.maxKeypads = 0;
    if (file.votes.empty())
        return;
    const std::int16_t first = file.votes.front().keypadCount;
    file.maxKeypads = first;
    bool uneven = false;
    for (const VoteLine& v : file.votes) {
        if (v.keypadCount != first)
            uneven = true;
        if (v.keypadCount > file.maxKeypads)
            file.maxKeypads = v.keypadCount;
    }
    if (!uneven)
        return;
    for (VoteLine& v : file.votes) {
        v.keypadCount = file.maxKeypads;
        // Every whole m with length/2 <= m <= maxKeypads-1, the length taken
        // before the first append: an odd length rounds up.
        const int firstM = static_cast<int>((v.responses.size() + 1) / 2);
        AppendNoResponses(v.responses, file.maxKeypads - firstM);
    }
}

// Step 3: the digit of file i for every keypad position that answered at
// least one vote of file i.
std::string MergeInfoResponses(const std::vector<InputFile>& inputFiles) {
    std::string responses;
    for (std::size_t i = 0; i < inputFiles.size(); ++i) {
        const std::string mark = std::to_string(i);
        for (int p = 1; p <= inputFiles[i].maxKeypads; ++p) {
            const std::size_t at = static_cast<std::size_t>(2 * p - 2);
            bool answered = false;
            for (const VoteLine& v : inputFiles[i].votes) {
                // A responses field too short to reach the position counts as answered.
                if (at >= v.responses.size() || v.responses[at] != '-') {
                    answered = true;
                    break;
                }
            }
            responses += answered ? mark : "-";
            responses += ';';
        }
    }
    return responses;
}

} // namespace

int LargestKeypadCount(const InputFile& file) {
    int largest = file.votes.empty() ? 0 : file.votes.front().keypadCount;
    for (const VoteLine& v : file.votes)
        largest = std::max<int>(largest, v.keypadCount);
    return largest;
}

int KeypadTotal(const std::vector<InputFile>& inputFiles) {
    int total = 0;
    for (const InputFile& file : inputFiles)
        total += LargestKeypadCount(file);
    return total;
}

std::string MergeFiles(std::vector<InputFile>& inputFiles, const std::vector<std::string>& lst_temp,
                       const Clock& clock) {
    for (InputFile& file : inputFiles)
        PadUnevenFile(file);

    // The first vote of each name per file, found by hash instead of a linear
    // search; the result is the same.
    std::vector<std::unordered_map<std::string_view, std::size_t>> index(inputFiles.size());
    int blockTotal = 0;
    for (std::size_t i = 0; i < inputFiles.size(); ++i) {
        index[i].reserve(inputFiles[i].votes.size());
        for (std::size_t k = 0; k < inputFiles[i].votes.size(); ++k)
            index[i].emplace(inputFiles[i].votes[k].voteName, k);
        blockTotal += std::max<int>(0, inputFiles[i].maxKeypads);
    }

    std::vector<VoteLine> mergedVotes(lst_temp.size() + 1);
    for (std::size_t k = 0; k < lst_temp.size(); ++k) {
        VoteLine& out = mergedVotes[k];
        const DateTime now = clock.now();
        out.voteDate = FormatDate(now);
        out.voteTime = FormatTime(now);
        out.responses.reserve(2 * static_cast<std::size_t>(blockTotal));
        int keypads = 0; // 16 bits on output; the run checks the total beforehand
        for (std::size_t i = 0; i < inputFiles.size(); ++i) {
            const auto found = index[i].find(lst_temp[k]);
            if (found == index[i].end()) {
                keypads += inputFiles[i].maxKeypads;
                AppendNoResponses(out.responses, inputFiles[i].maxKeypads);
                continue;
            }
            const VoteLine& v = inputFiles[i].votes[found->second];
            out.choiceCount = v.choiceCount;
            out.voteName = v.voteName;
            keypads += v.keypadCount;
            out.responses += v.responses;
        }
        out.keypadCount = static_cast<std::int16_t>(keypads);
    }

    VoteLine& info = mergedVotes.back();
    info.responses = MergeInfoResponses(inputFiles);
    info.voteName = kMergeInfoName;
    const DateTime now = clock.now();
    info.voteDate = FormatDate(now);
    info.voteTime = FormatTime(now);
    info.keypadCount = mergedVotes.front().keypadCount;
    info.choiceCount = static_cast<std::int16_t>(inputFiles.size());

    std::size_t size = 0;
    for (const VoteLine& v : mergedVotes)
        size += v.voteName.size() + v.responses.size() + 64;
    std::string text;
    text.reserve(size);
    for (VoteLine& v : mergedVotes) {
        if (v.voteName.empty())
            continue;
        if (v.voteName.find(kRunMarkerTag) != std::string::npos)
            v.voteName.resize(v.voteName.size() > kRunMarkerLength ? v.voteName.size() - kRunMarkerLength
                                                                   : 0);
        AppendVoteLine(text, v);
    }
    return text;
}

std::string OutputPath(const std::string& outputName, const std::string& outputFolder) {
    std::string path = outputName.ends_with(".rec") ? outputName : outputName + ".rec";
    if (path.find(kPathSeparator) == std::string::npos)
        path = outputFolder + kPathSeparator + path;
    return path;
}

std::string ReadTextFileContents(std::string& filename, const FileSystem& files) {
    filename += ".rec";
    return files.readAll(filename);
}

} // namespace avelin
