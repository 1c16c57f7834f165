// The results file written from typed counts: fields, entries, time and date
// texts. The window's save tests only check that the grid reaches this writer.
#include "manual_entry/manual_results.h"

#include <gtest/gtest.h>

#include "formats/vote_line.h"
#include "platform/errors.h"
#include "support/fakes.h"

namespace avelin {
namespace {

VoteEntry Entry(const std::string& name, int options, int first, int rows = 1, const std::string& kind = "") {
    VoteEntry v;
    v.Name = name;
    v.OptionCount = static_cast<std::int16_t>(options);
    v.FirstOption = static_cast<std::int16_t>(first);
    v.RowCount = static_cast<std::int16_t>(rows);
    v.Kind = kind;
    return v;
}

// One grid row: counts by value, "" for none.
std::vector<std::string> Row(std::initializer_list<std::pair<int, std::string>> cells) {
    std::vector<std::string> row(11);
    for (const auto& [value, text] : cells)
        row[static_cast<std::size_t>(value)] = text;
    return row;
}

TEST(ManualResultsText, StandardVoteLineByteForByte) {
    test::FixedClock clock; // 04/12/2026 14:05:09
    const std::string text = ManualResultsText({Entry("vote1.AVL", 4, 1)},
                                               {Row({{1, "2"}, {2, "1"}, {3, "2"}})}, "C:\\Talks", clock);
    EXPECT_EQ(text, "\"C:\\Talks\\vote1.AVL\",\"4\",\"5\",\"1;1;2;3;3;\",\"14:05:00\",\"04\\12\\2026\"\r\n");
}

// Fractions are cut, 10 is "A", rows without responses and entries never read
// (a missing definition file) write nothing but use up a sequence number.
TEST(ManualResultsText, FractionsTensEmptyRowsAndUnreadEntries) {
    test::FixedClock clock;
    EXPECT_EQ(ManualResultsText({Entry("a.AVL", 4, 1), Entry("b.AVL", 4, 1)}, {Row({}), Row({})}, "F", clock),
              "");
    const std::vector<VoteEntry> votes = {Entry("a.AVL", 11, 0), VoteEntry{}, Entry("b.AVL", 3, 1),
                                          Entry("c.AVL", 10, 1)};
    const GridCounts counts = {Row({{0, "2.7"}, {1, "0.5"}, {10, "1"}}), Row({}),
                               Row({{10, " 2 "}, {4, "x"}})};
    EXPECT_EQ(ManualResultsText(votes, counts, "F", clock),
              "\"F\\a.AVL\",\"11\",\"3\",\"0;0;A;\",\"14:05:00\",\"04\\12\\2026\"\r\n"
              "\"F\\c.AVL\",\"10\",\"2\",\"A;A;\",\"14:05:03\",\"04\\12\\2026\"\r\n");
}

TEST(ManualResultsText, SeriesRowsShareOneTimeAndCarryTheIteration) {
    test::FixedClock clock;
    const std::vector<VoteEntry> votes = {Entry("s.AVL", 3, 1, 3, "SERIES"), Entry("r.AVL", 2, 1, 2, "RANK")};
    const GridCounts counts = {Row({{1, "1"}}), Row({}), Row({{3, "2"}}), Row({{2, "1"}}), Row({{1, "1"}})};
    EXPECT_EQ(ManualResultsText(votes, counts, "D:\\m", clock),
              "\"D:\\m\\s.AVL;1\",\"3\",\"1\",\"1;\",\"14:05:00\",\"04\\12\\2026\"\r\n"
              "\"D:\\m\\s.AVL;3\",\"3\",\"2\",\"3;3;\",\"14:05:00\",\"04\\12\\2026\"\r\n"
              "\"D:\\m\\r.AVL\",\"2\",\"1\",\"2;\",\"14:05:01\",\"04\\12\\2026\"\r\n"
              "\"D:\\m\\r.AVL\",\"2\",\"1\",\"1;\",\"14:05:01\",\"04\\12\\2026\"\r\n");
}

TEST(ManualResultsText, ClockReadOnceForTheDateAndOncePerVote) {
    test::FixedClock clock; // one minute later at each reading
    clock.time = {2026, 3, 9, 8, 10, 30};
    clock.nowStep = 60;
    const std::vector<VoteEntry> votes = {Entry("a.AVL", 2, 1), Entry("b.AVL", 2, 1)};
    const std::string text = ManualResultsText(votes, {Row({{1, "1"}}), Row({{1, "1"}})}, "F", clock);
    EXPECT_EQ(clock.nowReads, 3);
    EXPECT_EQ(text, "\"F\\a.AVL\",\"2\",\"1\",\"1;\",\"08:11:00\",\"09\\03\\2026\"\r\n"
                    "\"F\\b.AVL\",\"2\",\"1\",\"1;\",\"08:12:01\",\"09\\03\\2026\"\r\n");
}

// The 61st vote gets the seconds "0" and the minute plus one, unpadded; the
// sequence then starts again.
TEST(ManualResultsText, SixtyFirstAndSixtySecondVotes) {
    test::FixedClock clock;
    std::vector<VoteEntry> votes;
    GridCounts counts;
    for (int i = 0; i < 62; ++i) {
        votes.push_back(Entry("v" + std::to_string(i + 1) + ".AVL", 2, 1));
        counts.push_back(Row({{1, "1"}}));
    }
    const std::vector<std::string> lines = SplitLines(ManualResultsText(votes, counts, "F", clock));
    ASSERT_EQ(lines.size(), 63u); // 62 lines and the empty element after the last CR LF
    EXPECT_EQ(GetVoteTime(lines[59]), "14:05:59");
    EXPECT_EQ(GetVoteTime(lines[60]), "14:6:0");
    EXPECT_EQ(GetVoteTime(lines[61]), "14:05:00");
}

// Minute 59 plus one rolls the hour over, unpadded and without a day's end.
TEST(ManualTimeText, SixtiethSequenceNumberInTheLastMinuteOfTheHour) {
    for (const auto& [hour, expected] : {std::pair{9, "10:0:0"}, std::pair{23, "24:0:0"}}) {
        int q = 60;
        EXPECT_EQ(ManualTimeText(q, DateTime{2026, 12, 4, hour, 59, 0}), expected);
        EXPECT_EQ(q, -1);
    }
}

// A results line counts at most 32767 responses.
TEST(ManualResultsText, ARowBeyondTheLineFormatIsRefused) {
    test::FixedClock clock;
    const std::vector<VoteEntry> votes = {Entry("big.AVL", 4, 1)};
    EXPECT_EQ(SplitLines(ManualResultsText(votes, {Row({{1, "32767"}})}, "F", clock)).size(), 2u);
    try {
        ManualResultsText(votes, {Row({{1, "30000"}, {2, "2768"}})}, "F", clock);
        FAIL() << "32768 responses must be refused";
    } catch (const UsageError& e) {
        EXPECT_STREQ(e.what(),
                     "big.AVL, answer row 1: more than 32767 responses, which a results file cannot hold");
    }
    EXPECT_THROW(ManualResultsText(votes, {Row({{1, "1e300"}})}, "F", clock), UsageError);
}

} // namespace
} // namespace avelin
