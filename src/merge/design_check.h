#pragma once
// The design check of a merge: whether the inputs share their votes, as the
// merge window's information panel asks of them. It looks only at what the
// merge's reading of each input keeps, so it costs no second read; it warns,
// and the merge goes on unless the caller refuses on a warning.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace avelin {

// One vote of an input as the merge matches it: its name (a run marker
// included, so that the runs of a repeated vote stay apart) and its choice
// count.
struct VoteSummary {
    std::string name;
    std::int16_t choiceCount = 0;
};

// What the design check needs of one input; the merge's preparation fills
// one per input, in merge order.
struct InputSummary {
    std::string path;               // the file read, ".rec" included
    std::string groupName;          // its group name
    int keypadCount = 0;            // its block of keypad positions: its largest keypad count
    bool quotedCounts = false;      // a vote line gives its counts in double quotes, as manual-data files do
    std::vector<VoteSummary> votes; // its distinct votes, in the order the merge keeps them
};

// One warning: the vote it concerns (without run marker; empty when it
// concerns an input as a whole), the inputs concerned (their paths), and the
// warning as a sentence for the user.
struct DesignWarning {
    std::string vote;
    std::vector<std::string> inputs;
    std::string text;
};

// The warnings for a merge of `inputs`: a vote that some inputs lack, a vote
// whose choice count differs between inputs, an input that looks like a
// manual-data file (its answers will not fill keypad positions), an input
// without votes. `voteOrder`: every vote of the inputs once, in the order of
// the merged file (the plan's), which the warnings follow.
std::vector<DesignWarning> CheckDesign(const std::vector<InputSummary>& inputs,
                                       const std::vector<std::string>& voteOrder);

} // namespace avelin
