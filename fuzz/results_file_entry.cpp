// The results-file reader under arbitrary bytes.
#include <cstdio>
#include <string>
#include <vector>

#include "formats/vote_line.h"
#include "fuzz_entries.h"
#include "merge/merge_run.h"
#include "platform/errors.h"

namespace avelin::fuzz {

namespace {

const std::string kPath = "fuzz.rec";

// The marking of repeated runs written step by step as the merge defines it,
// without any of the shortcuts of the real one: what the real one must match
// byte for byte. Quadratic, so it only runs on small inputs.
void PlainRunMarking(std::vector<std::string>& lines) {
    if (lines.size() < 2)
        return;
    const std::size_t u = lines.size() - 1;
    std::size_t j = 0;
    while (j < u) {
        const std::string name = GetVoteName(lines[j]);
        if (name.empty() || name != GetVoteName(lines[j + 1])) {
            ++j;
            continue;
        }
        std::size_t k = u;
        for (std::size_t kk = j; kk < u; ++kk) {
            if (lines[kk].find(';') != std::string::npos ||
                GetVoteTime(lines[j]) != GetVoteTime(lines[j + 1]) ||
                GetVoteName(lines[kk]) != GetVoteName(lines[kk + 1])) {
                k = kk;
                break;
            }
        }
        if (lines[k].find(';') != std::string::npos) {
            ++j;
            continue;
        }
        for (std::size_t m = j; m <= k; ++m) {
            const std::string own = GetVoteName(lines[m]);
            char digits[24];
            std::snprintf(digits, sizeof digits, "%02zu", m - j);
            const std::string marked = own + "xxxseq" + digits + "xxx";
            std::string out;
            std::size_t start = 0;
            for (std::size_t at = lines[m].find(own); at != std::string::npos;
                 at = lines[m].find(own, start)) {
                out.append(lines[m], start, at - start);
                out += marked;
                start = at + own.size();
            }
            out.append(lines[m], start, std::string::npos);
            lines[m] = out;
        }
        j = k + 1;
    }
}

bool SameVotes(const InputFile& a, const InputFile& b) {
    return a.votes == b.votes && a.maxKeypads == b.maxKeypads;
}

} // namespace

Outcome ResultsFile(std::string_view data) {
    const std::string text(data);

    // Every line alone, as "avelin-rec check" reads it. A record written back
    // in the canonical form must read as the same record.
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

    // The whole preparation, and the same through its separate steps.
    std::vector<std::string> lines = SplitLines(text);
    std::vector<std::string> plain = lines;
    MarkRepeatedRuns(lines);
    if (text.size() <= 16384) {
        PlainRunMarking(plain);
        Require(lines == plain, "repeated runs are marked exactly as the step-by-step marking does");
    }
    InputFile whole, stepwise;
    std::string wholeError, stepwiseError;
    try {
        whole = PrepareInputFile(text, kPath);
    } catch (const FormatError& e) {
        wholeError = e.what();
    }
    try {
        stepwise = BuildVoteList(lines, kPath);
    } catch (const FormatError& e) {
        stepwiseError = e.what();
    }
    Require(wholeError == stepwiseError, "both ways of preparing a file refuse the same files alike");
    if (!wholeError.empty())
        return Outcome::Refused;
    Require(SameVotes(whole, stepwise), "both ways of preparing a file give the same votes");
    return Outcome::Accepted;
}

} // namespace avelin::fuzz
