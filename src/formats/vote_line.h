#pragma once
// One line of a vote results file (".rec") and the operations that read and
// write it. Texts are bytes; CR LF ends every line.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace avelin {

struct VoteLine {
    std::string voteName;
    std::int16_t choiceCount = 0;
    std::int16_t keypadCount = 0;
    std::string responses; // one character and ";" per keypad
    std::string voteTime;  // "hh:nn:ss"
    std::string voteDate;  // "dd/mm/yyyy"
    bool operator==(const VoteLine&) const = default;
};

// The vote name in a whole line or in its first field.
std::string GetVoteName(std::string_view vName);
// The vote time of a whole line.
std::string GetVoteTime(std::string_view vTime);

// Thrown by ParseVoteLine for a line it cannot take (fewer than six fields, a
// count outside the 16-bit range). Carries the reason only; callers add the
// file and line number.
class MalformedLine : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The record of one non-empty line, as the merge run builds it.
VoteLine ParseVoteLine(std::string_view line);
// The canonical line of a record, CR LF included.
std::string FormatVoteLine(const VoteLine& v);

// Splits a whole text at every CR LF. A text ending in CR LF yields one empty
// element more; an empty text yields one empty element.
std::vector<std::string> SplitLines(std::string_view text);
// The same lines as views into `text`.
std::vector<std::string_view> SplitLineViews(std::string_view text);

// The same reading without allocating, for readers that go through large
// files line by line. Views point into the line given.

// The first six fields of a line (further fields are ignored); `count` is how
// many the line has, at most 6: fewer than 6 make the line malformed.
struct VoteFields {
    std::string_view field[6];
    int count = 0;
};
VoteFields SplitVoteFields(std::string_view line);
// The value of a count field as ParseVoteLine reads it. Throws MalformedLine
// naming the field as `what` ("choice count").
std::int16_t CountValue(std::string_view field, const char* what);
// The keypad count of a line: a count that is not negative, since it counts
// the responses. Throws MalformedLine.
std::int16_t KeypadCountValue(std::string_view field);
// `text` without its double quotes: a view into `text` when quotes stand at
// most at its two ends, else the rest copied into `scratch`.
std::string_view WithoutQuotes(std::string_view text, std::string& scratch);
// GetVoteName as a view into `vName`, or into `scratch` (see WithoutQuotes).
std::string_view VoteNameView(std::string_view vName, std::string& scratch);

} // namespace avelin
