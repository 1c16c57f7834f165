// The vote definition reader under arbitrary bytes.
#include <string>
#include <vector>

#include "fuzz_entries.h"
#include "manual_entry/manual_results.h"
#include "manual_entry/presentation_votes.h"
#include "manual_entry/vote_definition.h"
#include "platform/errors.h"
#include "support/fakes.h"
#include "support/memory_file_system.h"

namespace avelin::fuzz {

namespace {

bool SameEntry(const VoteEntry& a, const VoteEntry& b) {
    return a.Name == b.Name && a.OptionCount == b.OptionCount && a.RowCount == b.RowCount &&
           a.Kind == b.Kind && a.FirstOption == b.FirstOption;
}

} // namespace

Outcome VoteDefinition(std::string_view data) {
    const std::string folder = std::string(1, kPathSeparator) + "talk";
    const std::string path = folder + kPathSeparator + "vote.AVL";
    test::MemoryFileSystem files;
    files.files[path] = std::string(data);

    // Every field reads some of the text, so the fields run out.
    FieldReader reader(std::string(data), path);
    try {
        for (;;) {
            reader.next();
            Require(static_cast<std::size_t>(reader.fieldNumber()) <= data.size() + 1,
                    "no more fields than the text has bytes");
        }
    } catch (const FormatError&) {
    }

    // The facts of one vote: all or nothing.
    VoteEntry entry;
    entry.Name = "kept";
    entry.Kind = "kept";
    const VoteEntry before = entry;
    try {
        Require(ReadVoteDefinition("vote.AVL", entry, folder, files), "an existing definition is read");
    } catch (const FormatError&) {
        Require(SameEntry(entry, before), "a refused definition leaves the entry as it was");
        return Outcome::Refused;
    }
    Require(entry.Name == "kept", "reading a definition leaves the name alone");
    Require(entry.Kind == "SERIES" || entry.Kind == "RANK" || entry.Kind == "TEXT" || entry.Kind == "kept",
            "a definition is a series, a rating scale, a text vote or a standard vote");
    Require(entry.RowCount >= 0, "a vote has no negative number of rows");

    // A presentation naming the file twice (once with a folder), its rows,
    // and the results text with one response for every value of every row.
    PresentationInfo presentation;
    presentation.path = folder;
    presentation.name = "talk.pptx";
    presentation.slides.push_back({{{"VOTE", "C:\\Prog\\VOTER.EXE vote.AVL,1"}, {"Title", ""}}});
    const std::string withFolder = "C:\\talk\\vote.AVL"; // a name with a backslash is used as it stands
    files.files[withFolder] = std::string(data);
    presentation.slides.push_back({{{"vote", "voter.exe " + withFolder}}});
    const PresentationVotes votes = LoadPresentationVotes(presentation, files);
    Require(votes.voteCount == 2 && votes.rows.size() == 2 * static_cast<std::size_t>(entry.RowCount),
            "both votes are read, each with its rows");
    const GridCounts counts(votes.rows.size(), std::vector<std::string>(11, "1"));
    const test::FixedClock clock;
    const std::string text = ManualResultsText(votes.votes, counts, folder, clock);
    Require(text.empty() || text.compare(text.size() - 2, 2, "\r\n") == 0,
            "the results text ends with CR LF");
    return Outcome::Accepted;
}

} // namespace avelin::fuzz
