#pragma once
// The votes that the merge takes from a meeting or manual-data file. The
// report reads such files through this one function, so that it follows the
// merge's preparation whatever shape that preparation returns its votes in.
#include <string>
#include <vector>

namespace avelin {

struct KeptVote {
    int line = 0;     // the line the merge keeps for the vote, from 1
    std::string name; // its name, without the run marker of a repeated run
};

// The votes of `text` as the merge prepares them (repeated runs marked, the
// last line of a vote winning), in the order of their lines. Throws
// FormatError naming `path` as the merge does.
std::vector<KeptVote> VotesTheMergeKeeps(const std::string& text, const std::string& path);

} // namespace avelin
