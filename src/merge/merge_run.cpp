#include "merge/merge_run.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <unordered_set>

#include "formats/side_files.h"
#include "formats/windows_names.h"
#include "merge/collation.h"
#include "merge/group_names.h"
#include "merge/readiness.h"
#include "platform/errors.h"

namespace avelin {

namespace {

// Every occurrence of `name` in `line` gets `marker` behind it, not only the
// one in the vote field; occurrences are taken from left to right and do not
// overlap. Knuth-Morris-Pratt rather than std::string::find: the name is the
// tail of the line, and a long name that nearly matches at every position
// would make find compare about a name's length at each of them.
void AppendAfterEach(std::string& line, const std::string& name, const std::string& marker) {
    const std::size_t n = name.size();
    if (n == 0)
        return;
    // fallback[i]: length of the longest proper border of name[0..i].
    std::vector<std::size_t> fallback(n, 0);
    for (std::size_t i = 1, k = 0; i < n; ++i) {
        while (k > 0 && name[i] != name[k])
            k = fallback[k - 1];
        if (name[i] == name[k])
            ++k;
        fallback[i] = k;
    }
    std::string out;
    out.reserve(line.size() + marker.size() * 2);
    std::size_t copied = 0; // line[0..copied) is in `out`
    for (std::size_t i = 0, matched = 0; i < line.size(); ++i) {
        while (matched > 0 && line[i] != name[matched])
            matched = fallback[matched - 1];
        if (line[i] == name[matched])
            ++matched;
        if (matched == n) {
            out.append(line, copied, i + 1 - copied);
            out += marker;
            copied = i + 1;
            matched = 0; // the next occurrence starts behind this one
        }
    }
    out.append(line, copied, std::string::npos);
    line = std::move(out);
}

std::string RunMarker(std::size_t index) {
    char digits[24];
    std::snprintf(digits, sizeof digits, "%02zu", index);
    return std::string("xxxseq") + digits + "xxx";
}

void CheckRequest(const MergeRequest& request) {
    const std::size_t n = request.files.size();
    if (n < 2)
        throw UsageError("a merge needs at least 2 input files");
    // The merge information line and the group files give every input one digit.
    if (n > static_cast<std::size_t>(kMaxMergeFiles))
        throw UsageError("a merge takes at most " + std::to_string(kMaxMergeFiles) + " input files, not " +
                         std::to_string(n));
    if (request.groupNames.size() != n)
        throw UsageError(std::to_string(n) + " input files need " + std::to_string(n) + " group names, not " +
                         std::to_string(request.groupNames.size()));
    for (std::size_t i = 0; i < n; ++i) {
        const std::string& name = request.groupNames[i];
        if (HoldsForbiddenCharacter(name))
            throw UsageError("group name \"" + name + "\" holds a character a file name cannot hold");
        // Default names too: a file "con.rec" gives the group "con".
        if (const auto problem = ReservedNameProblem(name, ".grp"))
            throw UsageError("group name \"" + name + "\" cannot name a file: " + *problem);
        if (const auto problem = PathLengthProblem(request.outputFolder, name + ".grp"))
            throw UsageError("group file \"" + name + ".grp\" in " + request.outputFolder + ": " + *problem);
        for (std::size_t j = 0; j < i; ++j)
            if (SameNameAnyCase(request.groupNames[j], name))
                throw UsageError("group names \"" + request.groupNames[j] + "\" and \"" + name +
                                 "\" are the same name; every group needs its own group file");
    }
    if (request.outputName.empty())
        throw UsageError("no output file name");
    if (HoldsForbiddenCharacter(request.outputName))
        throw UsageError("output file name \"" + request.outputName +
                         "\" holds a character a file name cannot hold");
    // Without a folder separator (refused above) the output goes into the
    // output folder, ".rec" appended when missing.
    const std::string outputFile = CompleteExtension(request.outputName);
    if (const auto problem =
            ReservedNameProblem(request.outputName, outputFile.substr(request.outputName.size())))
        throw UsageError("output file name \"" + request.outputName + "\" cannot name a file: " + *problem);
    for (const std::string& file : {outputFile, std::string(kMergeInfoName)})
        if (const auto problem = PathLengthProblem(request.outputFolder, file))
            throw UsageError("\"" + file + "\" in " + request.outputFolder + ": " + *problem);
}

std::string InFolder(const std::string& folder, const std::string& name) {
    return folder + kPathSeparator + name;
}

// The lines of the repeated runs, marked, as (line index, new text); the
// other lines stay as they are. Works on views so that a file's text is not
// copied line by line.
std::vector<std::pair<std::size_t, std::string>> RunMarks(const std::vector<std::string_view>& lines) {
    std::vector<std::pair<std::size_t, std::string>> marked;
    if (lines.size() < 2)
        return marked;
    const std::size_t last = lines.size() - 1; // U
    // Names are taken before any marking: a run is marked only after its end
    // is found, and scanning resumes behind it, so no marked line is looked at
    // again.
    std::vector<std::string> names(lines.size());
    for (std::size_t m = 0; m < lines.size(); ++m)
        names[m] = GetVoteName(lines[m]);
    std::vector<bool> hasResponse(lines.size());
    for (std::size_t m = 0; m < lines.size(); ++m)
        hasResponse[m] = lines[m].find(';') != std::string_view::npos;
    // stop[kk]: the first k >= kk at which a line has responses or the name
    // changes, U when there is none. A run that ends on a line with responses
    // is not marked and the scan moves on by one line only, so looking for the
    // end afresh from every line would make a long run quadratic.
    std::vector<std::size_t> stop(lines.size());
    stop[last] = last;
    for (std::size_t kk = last; kk-- > 0;)
        stop[kk] = hasResponse[kk] || names[kk] != names[kk + 1] ? kk : stop[kk + 1];

    std::size_t j = 0;
    while (j < last) {
        if (names[j].empty() || names[j] != names[j + 1]) {
            ++j;
            continue;
        }
        // The time test compares the run's first two lines at every step, so
        // when they differ the run ends at its first line.
        const bool timesDiffer = GetVoteTime(lines[j]) != GetVoteTime(lines[j + 1]);
        const std::size_t k = timesDiffer ? j : stop[j];
        if (hasResponse[k]) {
            ++j;
            continue;
        }
        for (std::size_t m = j; m <= k; ++m) {
            std::string line(lines[m]);
            AppendAfterEach(line, names[m], RunMarker(m - j));
            marked.emplace_back(m, std::move(line));
        }
        j = k + 1;
    }
    return marked;
}

InputFile VoteListOf(const std::vector<std::string_view>& lines, const std::string& path) {
    InputFile file;
    file.votes.reserve(lines.size());
    std::unordered_set<std::string> seen;
    seen.reserve(lines.size());
    for (std::size_t m = lines.size(); m-- > 0;) {
        if (lines[m].empty())
            continue;
        VoteLine record;
        try {
            record = ParseVoteLine(lines[m]);
        } catch (const MalformedLine& e) {
            throw FormatError(path, static_cast<int>(m + 1), e.what());
        }
        if (seen.insert(record.voteName).second)
            file.votes.push_back(std::move(record));
    }
    return file;
}

} // namespace

void MarkRepeatedRuns(std::vector<std::string>& lines) {
    auto marked = RunMarks(std::vector<std::string_view>(lines.begin(), lines.end()));
    for (auto& [m, text] : marked)
        lines[m] = std::move(text);
}

InputFile BuildVoteList(const std::vector<std::string>& lines, const std::string& path) {
    return VoteListOf(std::vector<std::string_view>(lines.begin(), lines.end()), path);
}

InputFile PrepareInputFile(const std::string& text, const std::string& path) {
    if (text.empty())
        return {};
    std::vector<std::string_view> lines = SplitLineViews(text);
    const auto marked = RunMarks(lines);
    for (const auto& [m, markedLine] : marked)
        lines[m] = markedLine;
    return VoteListOf(lines, path);
}

std::vector<std::string> MergeOrder(const std::vector<InputFile>& inputFiles) {
    std::vector<std::string> order;
    std::unordered_set<std::string_view> seen;
    seen.reserve(inputFiles.empty() ? 0 : inputFiles.front().votes.size());
    for (const InputFile& file : inputFiles)
        for (const VoteLine& v : file.votes)
            if (seen.insert(v.voteName).second)
                order.push_back(v.voteName);
    // Inserting one by one after every equal entry, as the sorted list does,
    // is a stable sort of the names in the order they were met.
    std::stable_sort(order.begin(), order.end(),
                     [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
    return order;
}

MergePlan PrepareMerge(const MergeRequest& request, const FileSystem& files, const Clock& clock) {
    CheckRequest(request);
    MergePlan plan;
    std::vector<InputFile> inputFiles;
    inputFiles.reserve(request.files.size());
    for (std::size_t i = 0; i < request.files.size(); ++i) {
        std::string path = request.files[i];
        const std::string text = ReadTextFileContents(path, files);
        inputFiles.push_back(PrepareInputFile(text, path));
        plan.inputs.push_back(
            {path, request.groupNames[i], LargestKeypadCount(inputFiles.back()), HasQuotedCounts(text), {}});
        for (const VoteLine& v : inputFiles.back().votes)
            plan.inputs.back().votes.push_back({v.voteName, v.choiceCount});
    }

    std::vector<std::string> lst_temp = MergeOrder(inputFiles);
    // The keypad count of a line is 16 bits; a sum beyond it cannot be written.
    int total = 0;
    for (std::size_t i = 0; i < inputFiles.size(); ++i) {
        total += LargestKeypadCount(inputFiles[i]);
        if (total > 32767 || total < -32768)
            throw FormatError(request.files[i] + ".rec", 0,
                              "the keypads of the inputs up to this file come to " + std::to_string(total) +
                                  " positions, more than the 32767 a merged file can hold");
    }
    plan.keypadTotal = total;
    // Every merged line holds two characters per keypad position. Inputs that
    // pair many votes with many keypads (each line's counts are only claims)
    // would make a file far beyond the memory; a meeting's is a few megabytes.
    const double mergedBytes = 2.0 * std::max(total, 0) * static_cast<double>(lst_temp.size() + 1);
    if (mergedBytes > kMaxMergedBytes) {
        char size[32];
        std::snprintf(size, sizeof size, "%.1f", mergedBytes / (1 << 30));
        throw FormatError(OutputPath(request.outputName, request.outputFolder), 0,
                          "the inputs would make a merged file of " + std::string(size) + " GiB (" +
                              std::to_string(lst_temp.size()) + " votes of " + std::to_string(total) +
                              " keypad positions), more than the 1 GiB a merge writes");
    }
    std::string merged = MergeFiles(inputFiles, lst_temp, clock);

    for (std::size_t i = 0; i < request.files.size(); ++i) {
        std::string groupPath = InFolder(request.outputFolder, request.groupNames[i] + ".grp");
        plan.result.groupFilePaths.push_back(groupPath);
        plan.writes.push_back({std::move(groupPath), GroupFileText(static_cast<int>(i))});
    }
    plan.result.outputPath = OutputPath(request.outputName, request.outputFolder);
    plan.writes.push_back({plan.result.outputPath, std::move(merged)});
    plan.result.markerPath = InFolder(request.outputFolder, kMergeInfoName);
    plan.writes.push_back({plan.result.markerPath, std::string()});
    plan.result.voteOrder = std::move(lst_temp);
    return plan;
}

void WriteMerge(const MergePlan& plan, FileSystem& files) {
    // What each target holds now, read before the first write; a folder in
    // the way stops the merge while nothing is written yet.
    std::vector<std::optional<std::string>> previous;
    previous.reserve(plan.writes.size());
    for (const PlannedWrite& w : plan.writes) {
        if (files.folderExists(w.path))
            throw FileError(w.path, "there is a folder of that name");
        previous.push_back(files.fileExists(w.path) ? std::optional(files.readAll(w.path)) : std::nullopt);
    }
    for (std::size_t i = 0; i < plan.writes.size(); ++i) {
        try {
            files.writeFile(plan.writes[i].path, plan.writes[i].content);
        } catch (const FileError& failure) {
            // A merge is all or nothing: the files this run wrote before the
            // failure get their previous content back (through the same
            // atomic writes), and those it created go again.
            std::string notRestored;
            for (std::size_t j = i; j-- > 0;) {
                try {
                    if (previous[j])
                        files.writeFile(plan.writes[j].path, *previous[j]);
                    else
                        files.removeFile(plan.writes[j].path);
                } catch (const FileError& e) {
                    notRestored += (notRestored.empty() ? "" : "; ") + e.path() + ": " + e.reason();
                }
            }
            if (notRestored.empty())
                throw;
            throw FileError(
                failure.path(),
                failure.reason() +
                    ". These files of the merge could not be put back as they were: " + notRestored);
        }
    }
}

MergeResult RunMerge(const MergeRequest& request, FileSystem& files, const Clock& clock) {
    const MergePlan plan = PrepareMerge(request, files, clock);
    WriteMerge(plan, files);
    return plan.result;
}

} // namespace avelin
