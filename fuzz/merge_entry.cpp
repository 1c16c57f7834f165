// The merge under arbitrary input files.
#include <map>
#include <string>
#include <vector>

#include "formats/side_files.h"
#include "formats/vote_line.h"
#include "fuzz_entries.h"
#include "merge/merge_run.h"
#include "plain_merge.h"
#include "platform/errors.h"
#include "support/fakes.h"
#include "support/memory_file_system.h"

namespace avelin::fuzz {

namespace {

constexpr std::size_t kMostFiles = 4;

// The input files: the pieces between NUL bytes (results files hold none),
// at least two, at most four; bytes after the fourth piece are dropped.
std::vector<std::string> Pieces(std::string_view data) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (pieces.size() < kMostFiles) {
        const std::size_t nul = data.find('\0', start);
        pieces.emplace_back(data.substr(start, nul == std::string_view::npos ? nul : nul - start));
        if (nul == std::string_view::npos)
            break;
        start = nul + 1;
    }
    if (pieces.size() < 2)
        pieces.emplace_back();
    return pieces;
}

std::string In(const std::string& folder, const std::string& name) {
    return folder + kPathSeparator + name;
}

// The last line of a text ending in CR LF, without its CR LF.
std::string_view LastLine(std::string_view text) {
    text.remove_suffix(2);
    const std::size_t end = text.rfind("\r\n");
    return end == std::string_view::npos ? text : text.substr(end + 2);
}

} // namespace

Outcome Merge(std::string_view data) {
    const std::vector<std::string> pieces = Pieces(data);
    const std::string inFolder = In("", "in");
    const std::string outFolder = In("", "out");
    test::MemoryFileSystem files;
    MergeRequest request;
    request.outputName = "merged votes";
    request.outputFolder = outFolder;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        request.files.push_back(In(inFolder, "f" + std::to_string(i)));
        request.groupNames.push_back("Group " + std::to_string(i + 1));
        files.files[request.files.back() + ".rec"] = pieces[i];
    }
    const auto before = files.files;
    const test::FixedClock clock;

    MergeResult result;
    try {
        result = RunMerge(request, files, clock);
    } catch (const FormatError&) {
        Require(files.files == before, "a refused merge writes nothing");
        return Outcome::Refused;
    } catch (const FileError&) {
        Require(files.files == before, "a refused merge writes nothing");
        return Outcome::Refused;
    } catch (const UsageError&) {
        Require(files.files == before, "a refused merge writes nothing");
        return Outcome::Refused;
    }

    // The inputs stay as they were; the group files, the merged file and the
    // marker file are all there is besides them.
    for (const auto& [path, content] : before)
        Require(files.files.at(path) == content, "the merge leaves its inputs untouched");
    Require(files.files.size() == before.size() + pieces.size() + 2,
            "the merge writes its files and no more");
    for (std::size_t i = 0; i < pieces.size(); ++i)
        Require(files.files.at(result.groupFilePaths[i]) == GroupFileText(static_cast<int>(i)),
                "every input gets its group file");
    Require(files.files.at(In(outFolder, kMergeInfoName)).empty(), "the marker file is empty");

    // The merged file is the step-by-step merge's, byte for byte.
    const std::string& merged = files.files.at(In(outFolder, "merged votes.rec"));
    std::vector<std::vector<VoteLine>> plain;
    for (const std::string& piece : pieces)
        plain.push_back(PlainPreparation(piece, "").votes);
    Require(result.voteOrder == PlainOrder(plain), "the merge order is the step-by-step merge's");
    Require(merged == PlainMerge(plain, result.voteOrder, "14:05:09", "04/12/2026"),
            "the merged file is the step-by-step merge's");
    // It closes with the merge information line: one digit or "-" per keypad
    // position, as many as the first line counts.
    Require(merged.size() >= 2 && merged.compare(merged.size() - 2, 2, "\r\n") == 0,
            "the merged file ends with CR LF");
    const VoteLine info = ParseVoteLine(LastLine(merged));
    Require(info.voteName == kMergeInfoName, "the merged file ends with the merge information line");
    Require(info.choiceCount == static_cast<int>(pieces.size()), "the merge information counts the files");
    Require(info.responses.size() % 2 == 0, "the merge information has whole entries");
    for (std::size_t p = 0; p < info.responses.size(); p += 2) {
        const char mark = info.responses[p];
        Require(mark == '-' || (mark >= '0' && mark < '0' + static_cast<int>(pieces.size())),
                "a merge information entry is a file's digit or \"-\"");
        Require(info.responses[p + 1] == ';', "a merge information entry ends with \";\"");
    }
    // A negative keypad count (a malformed line the reader carries through)
    // takes positions away from the count but no entries.
    bool negativeCounts = false;
    for (std::size_t i = 0; i < pieces.size(); ++i)
        negativeCounts = negativeCounts || PrepareInputFile(pieces[i], request.files[i]).keypadCount < 0;
    Require(result.voteOrder.empty() || negativeCounts ||
                info.keypadCount == static_cast<int>(info.responses.size() / 2),
            "the merge information has one entry per keypad position of the merged file");
    return Outcome::Accepted;
}

} // namespace avelin::fuzz
