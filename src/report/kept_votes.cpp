#include "report/kept_votes.h"

#include <algorithm>
#include <string_view>

#include "formats/vote_line.h"
#include "merge/merge_run.h"

namespace avelin {

namespace {

constexpr std::string_view kRunMarkerTag = "xxxseq";
constexpr std::size_t kRunMarkerLength = 11; // "xxxseq", two digits, "xxx"

// The line number at the start of a responses field tagged below. Marking a
// run puts a marker behind every occurrence of the vote's name in a line, so
// a name made of digits may have split the number: markers are skipped.
int TaggedLine(std::string_view responses) {
    int line = 0;
    for (std::size_t i = 0; i < responses.size();) {
        if (responses.substr(i).starts_with(kRunMarkerTag)) {
            i += kRunMarkerTag.size();
            while (i < responses.size() && responses[i] >= '0' && responses[i] <= '9')
                ++i;
            i += 3; // "xxx"
            continue;
        }
        if (responses[i] < '0' || responses[i] > '9')
            break;
        line = line * 10 + (responses[i++] - '0');
    }
    return line;
}

} // namespace

std::vector<KeptVote> VotesTheMergeKeeps(const std::string& text, const std::string& path) {
    // The merge keeps a vote by its name and tells nothing of the line it came
    // from. So the text it is given carries each line's number and "|" at the
    // start of the responses field. No rule of the preparation depends on
    // them: the field split, the vote name (the text after the line's last
    // backslash up to a comma), the time and whether a line holds ";" stay as
    // they were, and the line numbers of its messages too.
    std::string tagged;
    tagged.reserve(text.size() + text.size() / 8);
    const std::vector<std::string_view> lines = SplitLineViews(text);
    for (std::size_t m = 0; m < lines.size(); ++m) {
        if (m > 0)
            tagged += "\r\n";
        const std::string_view line = lines[m];
        std::size_t field = 0; // start of the responses field
        for (int commas = 0; commas < 3 && field != std::string_view::npos; ++commas) {
            field = line.find(',', field);
            if (field != std::string_view::npos)
                ++field;
        }
        if (field == std::string_view::npos) {
            tagged += line; // too few fields: the preparation refuses it
            continue;
        }
        tagged.append(line.substr(0, field));
        tagged += std::to_string(m + 1);
        tagged += '|';
        tagged.append(line.substr(field));
    }
    const InputFile prepared = PrepareInputFile(tagged, path);
    std::vector<KeptVote> kept;
    kept.reserve(prepared.votes.size());
    for (const auto& v : prepared.votes) {
        std::string name(v.voteName);
        // The merged file names a run's votes without the marker, as here.
        if (name.find(kRunMarkerTag) != std::string::npos && name.size() >= kRunMarkerLength)
            name.resize(name.size() - kRunMarkerLength);
        kept.push_back({TaggedLine(prepared.responses(v, tagged)), std::move(name)});
    }
    std::sort(kept.begin(), kept.end(), [](const KeptVote& a, const KeptVote& b) { return a.line < b.line; });
    return kept;
}

} // namespace avelin
