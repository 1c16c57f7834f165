#pragma once
// The merge run: reads and prepares every input, then writes the group files,
// the merged file and the marker file. Every input is read and checked before
// the first byte is written.
#include <string>
#include <vector>

#include "merge/design_check.h"
#include "merge/merge_engine.h"
#include "platform/clock.h"
#include "platform/file_system.h"

namespace avelin {

inline constexpr int kMaxMergeFiles = 10;
// The largest merged file a merge makes: thousands of times a meeting's.
inline constexpr double kMaxMergedBytes = 1024.0 * 1024 * 1024;

// Marks repeated runs of a vote (lines without responses, same name, same
// time) with "xxxseqNNxxx" so that they become distinct votes.
void MarkRepeatedRuns(std::vector<std::string>& lines);

// The file's distinct votes, from its last line to its first; the last line
// of a vote wins. Throws FormatError naming `path` and the line number.
InputFile BuildVoteList(const std::vector<std::string>& lines, const std::string& path);

// Whole preparation of one file's text (split, mark, build).
InputFile PrepareInputFile(const std::string& text, const std::string& path);

// Every distinct vote name, in merge order (the collation's order; names
// equal but for case stay distinct, the first met first).
std::vector<std::string> MergeOrder(const std::vector<InputFile>& inputFiles);

struct MergeRequest {
    std::vector<std::string> files;      // full paths without ".rec", in merge order
    std::vector<std::string> groupNames; // one per file
    std::string outputName;              // as typed in the output box
    std::string outputFolder;
};

struct MergeResult {
    std::string outputPath;
    std::string markerPath;
    std::vector<std::string> groupFilePaths;
    std::vector<std::string> voteOrder; // the hidden sorted list of vote names
};

// Everything a merge writes, worked out before anything is written: the
// group files, the merged file, then the empty marker file, in that order.
struct PlannedWrite {
    std::string path;
    std::string content;
};
struct MergePlan {
    std::vector<PlannedWrite> writes;
    MergeResult result;
    int keypadTotal = 0;
    std::vector<InputSummary> inputs; // what the design check looks at, one per input
};

// Checks the request, reads and prepares every input and builds the merged
// text. Writes nothing. Throws UsageError, FileError (an input cannot be
// read) or FormatError (a malformed input, too many keypads in all, a merged
// file larger than kMaxMergedBytes).
MergePlan PrepareMerge(const MergeRequest& request, const FileSystem& files, const Clock& clock);
// Writes the plan, each file atomically, all or nothing: a folder in the
// place of a file stops it before the first write, and a write that fails
// puts back the previous content of the files written before it and removes
// those it created. Throws FileError naming the file that failed (and any
// file that could not be put back).
void WriteMerge(const MergePlan& plan, FileSystem& files);

// Runs the whole merge. Throws UsageError (request not acceptable),
// FileError (a file cannot be read or written) or FormatError (a malformed
// input); nothing is written unless every input was read and prepared, and a
// failed write leaves the output folder as it was (WriteMerge).
MergeResult RunMerge(const MergeRequest& request, FileSystem& files, const Clock& clock);

} // namespace avelin
