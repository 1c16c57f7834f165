#pragma once
// The results model of a report: the answers of every vote of a results file,
// tallied by group (the subgroups of a merged file, or the one group of a
// meeting's file).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace avelin {

struct ReportGroup {
    std::string name;
    int keypads = 0; // the keypad positions that belong to the group
};

// How often one answer was given to a vote, per group.
struct AnswerCount {
    std::string answer; // the entry as written
    std::vector<std::int64_t> byGroup;
};

struct VoteTally {
    int line = 0;                       // the vote's line in the file, from 1
    std::string name;                   // as GetVoteName gives it
    std::vector<AnswerCount> answers;   // the answers given, shorter entries first, then in byte order
    std::vector<std::int64_t> noAnswer; // "-" entries, per group

    // The answers group `g` gave to this vote.
    std::int64_t AnswersOf(std::size_t g) const;
};

struct ResultsReport {
    std::string path;
    bool merged = false; // the file ends with a merge information line
    std::vector<ReportGroup> groups;
    std::vector<VoteTally> votes; // in the order of their lines
};

// Reads a results file and tallies its votes by group. A merged file is read
// in one streaming pass, each line one vote; any other file as the merge reads
// it (repeated runs marked, the last line of a vote winning). Groups are named
// by `groupNames` in index order, then by the one group file of the file's
// folder that holds their index, else "Group i+1"; a file that is not merged
// is one group named after the file. Throws FileError (the file cannot be
// read or is a folder), FormatError (file, line and reason) and UsageError
// (more names than groups).
ResultsReport ReadResults(const std::string& path, const FileSystem& files,
                          const std::vector<std::string>& groupNames);

} // namespace avelin
