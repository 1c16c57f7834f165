// Writing a record and reading the line back gives the same record, for
// records whose texts obey the format's rules (no comma, backslash or double
// quote in the name, no comma or double quote in the other texts).
#include <gtest/gtest.h>

#include <random>

#include "formats/vote_line.h"

namespace avelin {
namespace {

std::string RandomText(std::mt19937& rng, const std::string& forbidden, std::size_t maxLength) {
    std::uniform_int_distribution<std::size_t> length(0, maxLength);
    std::uniform_int_distribution<int> byte(1, 255); // every byte of a code page but NUL
    std::string s;
    for (std::size_t n = length(rng); s.size() < n;) {
        const char c = static_cast<char>(byte(rng));
        if (forbidden.find(c) == std::string::npos && c != '\r' && c != '\n')
            s.push_back(c);
    }
    return s;
}

TEST(VoteLineRoundTrip, FormatThenParseGivesTheSameRecord) {
    std::mt19937 rng(20261204);
    std::uniform_int_distribution<int> count(-32768, 32767);
    for (int i = 0; i < 5000; ++i) {
        VoteLine v;
        v.voteName = RandomText(rng, ",\\\"", 40);
        v.choiceCount = static_cast<std::int16_t>(count(rng));
        v.keypadCount = static_cast<std::int16_t>(count(rng));
        v.responses = RandomText(rng, ",\"", 60);
        v.voteTime = RandomText(rng, ",\"", 10);
        v.voteDate = RandomText(rng, ",\"", 12);
        const std::string line = FormatVoteLine(v);
        ASSERT_TRUE(line.ends_with("\r\n"));
        const auto lines = SplitLines(line);
        ASSERT_EQ(lines.size(), 2u);
        ASSERT_EQ(ParseVoteLine(lines[0]), v) << line;
        ASSERT_EQ(GetVoteTime(lines[0]), v.voteTime);
    }
}

} // namespace
} // namespace avelin
