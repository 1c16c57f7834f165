#pragma once
// The merge run: reads and prepares every input, then writes the group files,
// the merged file and the marker file. Every input is read and checked before
// the first byte is written; the merged file is then written in pieces, so
// that memory holds per vote only its name, its counts and where its
// responses lie.
#include <string>
#include <string_view>
#include <vector>

#include "merge/design_check.h"
#include "merge/merge_engine.h"
#include "platform/clock.h"
#include "platform/file_system.h"

namespace avelin {

inline constexpr int kMaxMergeFiles = 10;
// The largest merged file a merge makes: thousands of times a meeting's.
inline constexpr double kMaxMergedBytes = 1024.0 * 1024 * 1024;
// An input is read in pieces of this size.
inline constexpr std::size_t kReadPiece = 256 << 10;
// Why a file holding a NUL byte (a presentation or an archive renamed ".rec")
// is refused.
inline constexpr const char* kNotResultsFile = "not a results file: it holds a NUL byte";
// No line of a results file is longer: a meeting's lines hold a few tens of
// thousands of bytes, and a file without line ends is no results file.
inline constexpr std::size_t kMaxLineBytes = 16 << 20;
inline constexpr const char* kLineTooLong = "not a results file: a line longer than 16 MiB";

// Why a line (without its CR LF) makes its file no results file: a NUL byte,
// or a line end other than CR LF (LF alone as on Unix, CR alone as on old
// Macs), which would make the whole file one line. nullptr when it does not.
const char* NotResultsLine(std::string_view line);

// The preparation of one input from its whole text: repeated runs of a vote
// (lines without responses, same name, same time) get the run marker
// (RunMarker) behind every occurrence of their name in the line, so that
// they become distinct votes; then the file's distinct votes, from its last
// line to its first, the last line of a vote winning. The votes' responses
// are read with InputFile::responses(vote, text), so `text` must outlive the
// use of the result. Throws FormatError naming `path`: the line of the first
// NUL byte (kNotResultsFile), else the last malformed line.
InputFile PrepareInputFile(std::string_view text, const std::string& path);

// The same preparation of the file at `path`, read through `files` in pieces
// of `pieceBytes`. Throws FileError too.
InputFile ReadInputFile(const FileSystem& files, const std::string& path,
                        std::size_t pieceBytes = kReadPiece);

// What `avelin-rec check` reports of a results file, from one reading.
struct InputCheck {
    int voteLines = 0;             // its non-empty lines
    std::vector<int> keypadCounts; // the distinct keypad counts of its lines, ascending
    std::size_t distinctVotes = 0; // the votes a merge takes from it
};
// Throws FileError, or FormatError naming the first NUL byte or else the
// first malformed line.
InputCheck CheckInputFile(const FileSystem& files, const std::string& path);

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

// A file the merge writes: the group files and the empty marker carry their
// content; the merged file's is made from the layout while it is written.
struct PlannedWrite {
    std::string path;
    std::string content;
};
// Everything a merge writes, worked out before anything is written: the
// group files, the merged file, then the empty marker file, in that order.
struct MergePlan {
    std::vector<PlannedWrite> writes;
    MergeResult result;
    int keypadTotal = 0;
    std::vector<InputSummary> inputs; // what the design check looks at, one per input
    MergeLayout layout;               // what the merged file is made of
};

// Checks the request, reads and prepares every input and lays out the merged
// file. Writes nothing and holds no whole input or output. Throws UsageError,
// FileError (an input cannot be read) or FormatError (a malformed input, too
// many keypads in all, a merged file larger than kMaxMergedBytes).
MergePlan PrepareMerge(const MergeRequest& request, const FileSystem& files, const Clock& clock);
// Writes the plan all or nothing (FileSystem::writeFiles): a folder in the
// place of a file stops it before the first write, the inputs are read again
// for the merged file, and a write that fails puts back the files as they
// were. Throws FileError naming the file that failed (and any file that could
// not be put back).
void WriteMerge(const MergePlan& plan, FileSystem& files);

// Runs the whole merge. Throws UsageError (request not acceptable),
// FileError (a file cannot be read or written) or FormatError (a malformed
// input); nothing is written unless every input was read and prepared, and a
// failed write leaves the output folder as it was (WriteMerge).
MergeResult RunMerge(const MergeRequest& request, FileSystem& files, const Clock& clock);

} // namespace avelin
