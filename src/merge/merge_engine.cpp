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

// Every vote of a file whose keypad counts differ is padded to the
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

// The merge information responses: the digit of file i for every keypad position that answered at
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
    const std::size_t fileCount = inputFiles.size();
    std::vector<std::unordered_map<std::string_view, std::size_t>> index(fileCount);
    std::vector<std::string> blank(fileCount); // a whole block of no-response entries
    std::size_t lineLength = 64;
    for (std::size_t i = 0; i < fileCount; ++i) {
        index[i].reserve(inputFiles[i].votes.size());
        for (std::size_t k = 0; k < inputFiles[i].votes.size(); ++k)
            index[i].emplace(inputFiles[i].votes[k].voteName, k);
        AppendNoResponses(blank[i], inputFiles[i].maxKeypads);
        lineLength += blank[i].size();
    }

    // Each output record goes straight into the text instead of being kept as
    // a record first; the lines are the same. Its name and choice count are
    // those of the last file that holds the vote, so the files are looked up
    // before the line is begun.
    std::string text;
    text.reserve((lst_temp.size() + 1) * lineLength);
    std::vector<const VoteLine*> found(fileCount);
    int firstKeypadCount = 0; // the merge information line repeats it
    for (std::size_t k = 0; k < lst_temp.size(); ++k) {
        const DateTime now = clock.now(); // afresh for every record
        const VoteLine* last = nullptr;
        int keypads = 0; // 16 bits on output; the run checks the total beforehand
        for (std::size_t i = 0; i < fileCount; ++i) {
            const auto hit = index[i].find(lst_temp[k]);
            found[i] = hit == index[i].end() ? nullptr : &inputFiles[i].votes[hit->second];
            if (found[i])
                last = found[i];
            keypads += found[i] ? found[i]->keypadCount : inputFiles[i].maxKeypads;
        }
        if (k == 0)
            firstKeypadCount = keypads;
        if (!last || last->voteName.empty())
            continue; // a record with an empty name gives no line
        std::string_view name = last->voteName;
        if (name.find(kRunMarkerTag) != std::string_view::npos)
            name.remove_suffix(std::min(name.size(), kRunMarkerLength));
        text += "\"\\";
        text += name;
        text += "\",";
        text += std::to_string(last->choiceCount);
        text += ',';
        text += std::to_string(static_cast<std::int16_t>(keypads));
        text += ",\"";
        for (std::size_t i = 0; i < fileCount; ++i)
            text += found[i] ? found[i]->responses : blank[i];
        text += "\",\"";
        text += FormatTime(now);
        text += "\",\"";
        text += FormatDate(now);
        text += "\"\r\n";
    }

    VoteLine info;
    info.responses = MergeInfoResponses(inputFiles);
    info.voteName = kMergeInfoName;
    const DateTime now = clock.now();
    info.voteDate = FormatDate(now);
    info.voteTime = FormatTime(now);
    info.keypadCount = static_cast<std::int16_t>(firstKeypadCount);
    info.choiceCount = static_cast<std::int16_t>(fileCount);
    AppendVoteLine(text, info);
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
