#pragma once
// The merge engine: the prepared inputs become one results file whose keypads
// form one block per input, closed by the merge information line. The merged
// file is written in pieces; the engine holds no whole output and no whole
// input.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace avelin {

// One distinct vote of an input, as the merge keeps it: its name, its counts
// and where its responses lie.
struct InputVote {
    std::string voteName; // as the merge matches it, a run marker included
    std::int16_t choiceCount = 0;
    std::int16_t keypadCount = 0;
    int line = 0; // the line it was taken from, counted from 1
    // The responses: `responsesLength` bytes at `responsesOffset` of the
    // file, or, when `ownResponses` >= 0, that text of the file's
    // ownResponses (the line was marked, or its responses field held quotes
    // inside).
    std::uint64_t responsesOffset = 0;
    std::size_t responsesLength = 0;
    std::uint64_t responsesDigest = 0; // of the bytes there, as checked
    int ownResponses = -1;
};

// A digest of responses as they lie in a file: taken when the input is
// checked and again when they are copied, so that an input changed in
// between (even to the same size) is refused instead of merged.
std::uint64_t ResponsesDigest(std::string_view bytes);

// One prepared input.
struct InputFile {
    std::string path;             // the file read, ".rec" included
    std::uint64_t bytes = 0;      // its size as read
    std::vector<InputVote> votes; // pairwise different names, from the file's last line to its first
    std::vector<std::string> ownResponses;
    int keypadCount = 0;       // its largest keypad count (0 without votes): its block of keypad positions
    bool uneven = false;       // its votes' keypad counts differ: each is padded to keypadCount
    bool quotedCounts = false; // a vote line gives its counts in double quotes, as manual-data files do

    // The responses of `vote` when `text` is the file's whole text: a view
    // into `text` or into this file, valid while both are.
    std::string_view responses(const InputVote& vote, std::string_view text) const;
};

// The time stamps of the merged file's records: the clock is read once per
// record, and a stamp is kept only when the reading changes.
struct MergeStamp {
    std::size_t firstRecord = 0;
    std::string time, date; // "hh:nn:ss", "dd/mm/yyyy"
};

// Everything the merged file is made of, worked out before anything is
// written.
struct MergeLayout {
    std::vector<InputFile> files;
    // For name k of the merge order and input i, at k * files.size() + i: the
    // index of the input's vote of that name, -1 when it has none.
    std::vector<std::int32_t> found;
    std::vector<MergeStamp> stamps; // one reading per name and one for the merge information line
    int keypadTotal = 0;            // the sum of the inputs' keypad counts
};

// Lays out the merge of `inputFiles` in `voteOrder` (every distinct name,
// as the merge window's hidden sorted list holds them), reading the
// date and time from `clock` afresh for every record.
MergeLayout LayOutMerge(std::vector<InputFile> inputFiles, const std::vector<std::string>& voteOrder,
                        const Clock& clock);

// Writes the merged file to `out`: one line per name of `voteOrder`, each
// input's responses (read again from `files`, padded to the input's keypad
// count when its votes are uneven) side by side, and the merge information
// line. Throws FileError when an input cannot be read again or has changed.
void MergeFiles(const MergeLayout& layout, const std::vector<std::string>& voteOrder, const FileSystem& files,
                FileSink& out);

// The path the output is written to: ".rec" appended unless the name ends in
// exactly ".rec"; a name without a folder separator goes into `outputFolder`.
std::string OutputPath(const std::string& outputName, const std::string& outputFolder);

} // namespace avelin
