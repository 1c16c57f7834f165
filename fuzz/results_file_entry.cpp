// The results-file reader under arbitrary bytes.
#include <cstdio>
#include <string>
#include <vector>

#include "formats/vote_line.h"
#include "fuzz_entries.h"
#include "merge/merge_run.h"
#include "plain_merge.h"
#include "platform/errors.h"
#include "support/memory_file_system.h"

namespace avelin::fuzz {

namespace {

const std::string kPath = "fuzz.rec";

// Everything the preparation gives, responses included, as one text.
std::string Described(const InputFile& file, std::string_view text) {
    std::string all = std::to_string(file.keypadCount) + (file.uneven ? " uneven" : "") +
                      (file.quotedCounts ? " quoted" : "") + "\n";
    for (const InputVote& v : file.votes)
        all += v.voteName + "|" + std::to_string(v.choiceCount) + "|" + std::to_string(v.keypadCount) + "|" +
               std::to_string(v.line) + "|" + std::string(file.responses(v, text)) + "\n";
    return all;
}

// The preparation's votes or its refusal.
template <class Prepare> std::string Result(Prepare prepare, std::string_view text) {
    try {
        return Described(prepare(), text);
    } catch (const FormatError& e) {
        return std::string("refused: ") + e.what();
    }
}

} // namespace

Outcome ResultsFile(std::string_view data) {
    const std::string text(data);

    // Every line alone. A record written back in the canonical form must read
    // as the same record.
    for (const std::string_view line : SplitLineViews(text)) {
        GetVoteName(line);
        GetVoteTime(line);
        if (line.empty())
            continue;
        try {
            const VoteLine record = ParseVoteLine(line);
            const std::string written = FormatVoteLine(record);
            Require(written.size() >= 2 && written.compare(written.size() - 2, 2, "\r\n") == 0,
                    "a written line ends with CR LF");
            Require(ParseVoteLine(std::string_view(written).substr(0, written.size() - 2)) == record,
                    "a written line reads back as the record it was written from");
        } catch (const MalformedLine&) {
        }
    }

    // The whole preparation from memory, and from a file read in pieces so
    // small that lines and line ends fall across them.
    const std::string whole = Result([&] { return PrepareInputFile(text, kPath); }, text);
    test::MemoryFileSystem files;
    files.files[kPath] = text;
    for (const std::size_t piece : {1, 3, 64})
        Require(Result([&] { return ReadInputFile(files, kPath, piece); }, text) == whole,
                "a file read in pieces is prepared as its whole text is");
    // The same as the step-by-step preparation.
    if (text.size() <= 16384)
        Require(whole == PlainPreparation(text, kPath).described,
                "the preparation gives what the step-by-step preparation gives");
    return whole.starts_with("refused: ") ? Outcome::Refused : Outcome::Accepted;
}

} // namespace avelin::fuzz
