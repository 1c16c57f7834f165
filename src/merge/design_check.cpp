#include "merge/design_check.h"

#include <cstdlib>
#include <map>
#include <unordered_map>

#include "formats/run_marker.h"
#include "merge/merge_engine.h"

namespace avelin {

namespace {

std::string BareName(const std::string& name) {
    return std::string(WithoutRunMarker(name));
}

// A vote as the user knows it: its name, and for a run of a repeated vote
// which of the run's lines it is (the marker's two digits count from 0).
std::string VoteLabel(const std::string& name) {
    const std::string bare = BareName(name);
    if (bare.size() == name.size())
        return "vote \"" + name + "\"";
    const int index = RunIndex(name);
    return "vote \"" + bare + "\" (repeat " + std::to_string(index + 1) + ")";
}

std::string Joined(const std::vector<std::string>& texts) {
    std::string all;
    for (const std::string& t : texts)
        all += (all.empty() ? "" : ", ") + t;
    return all;
}

// Where a vote occurs: per input holding it, the input's index and the
// vote's choice count.
struct Occurrences {
    std::vector<std::pair<std::size_t, std::int16_t>> holders;
};

} // namespace

std::vector<DesignWarning> CheckDesign(const std::vector<InputSummary>& inputs,
                                       const std::vector<std::string>& voteOrder) {
    std::vector<DesignWarning> warnings;
    std::unordered_map<std::string, Occurrences> votes;
    std::size_t withVotes = 0;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const InputSummary& input = inputs[i];
        if (input.votes.empty())
            warnings.push_back({"", {input.path}, input.path + " holds no votes"});
        else
            ++withVotes;
        if (input.quotedCounts)
            warnings.push_back({"",
                                {input.path},
                                input.path +
                                    " looks like a manual-data file (its counts are in double quotes): "
                                    "the merge reads its keypad counts as 0, so its answers will not "
                                    "fill keypad positions"});
        for (const VoteSummary& v : input.votes)
            votes[v.name].holders.emplace_back(i, v.choiceCount);
    }
    for (const std::string& name : voteOrder) {
        const auto& holders = votes[name].holders;
        if (holders.size() < withVotes) {
            std::vector<std::string> lacking;
            for (std::size_t i = 0, h = 0; i < inputs.size(); ++i) {
                if (h < holders.size() && holders[h].first == i)
                    ++h;
                else if (!inputs[i].votes.empty())
                    lacking.push_back(inputs[i].path);
            }
            warnings.push_back({BareName(name), lacking,
                                VoteLabel(name) + " is missing from " + Joined(lacking) + " (held by " +
                                    std::to_string(holders.size()) + " of " + std::to_string(withVotes) +
                                    " inputs)"});
        }
        // A manual-data file's choice counts read as 0; its own warning says so.
        std::map<std::int16_t, std::vector<std::string>> byCount;
        std::vector<std::string> concerned;
        for (const auto& [i, choices] : holders)
            if (!inputs[i].quotedCounts) {
                byCount[choices].push_back(inputs[i].path);
                concerned.push_back(inputs[i].path);
            }
        if (byCount.size() > 1) {
            std::string text = VoteLabel(name) + " has";
            for (auto it = byCount.begin(); it != byCount.end(); ++it)
                text += (it == byCount.begin() ? " " : "; ") + std::to_string(it->first) +
                        (it->first == 1 ? " choice in " : " choices in ") + Joined(it->second);
            warnings.push_back({BareName(name), concerned, text});
        }
    }
    return warnings;
}

} // namespace avelin
