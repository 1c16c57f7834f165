// Preparing one input: repeated runs of a vote, the file's vote list and the
// merge order of all names.
#include <gtest/gtest.h>

#include "merge/merge_run.h"
#include "platform/errors.h"

namespace avelin {
namespace {

std::string Line(const std::string& name, const std::string& responses, const std::string& time = "14:05:09",
                 int keypads = -1) {
    const int count = keypads >= 0 ? keypads : static_cast<int>(responses.size() / 2);
    return "\"C:\\Talks\\" + name + "\",4," + std::to_string(count) + ",\"" + responses + "\",\"" + time +
           "\",\"04/12/2026\"";
}

std::vector<std::string> Names(const InputFile& f) {
    std::vector<std::string> names;
    for (const auto& v : f.votes)
        names.push_back(v.voteName);
    return names;
}

TEST(MarkRepeatedRuns, MarksConsecutiveLinesWithoutResponsesAndEqualTimes) {
    std::vector<std::string> lines = {Line("Q.avl", ""), Line("Q.avl", ""), Line("Q.avl", ""),
                                      Line("R.avl", "1;"), ""};
    MarkRepeatedRuns(lines);
    EXPECT_EQ(GetVoteName(lines[0]), "Q.avlxxxseq00xxx");
    EXPECT_EQ(GetVoteName(lines[1]), "Q.avlxxxseq01xxx");
    EXPECT_EQ(GetVoteName(lines[2]), "Q.avlxxxseq02xxx");
    EXPECT_EQ(lines[3], Line("R.avl", "1;"));

    // Also at the very end of a text without a final CR LF.
    std::vector<std::string> tail = {Line("R.avl", "1;"), Line("Q.avl", ""), Line("Q.avl", "")};
    MarkRepeatedRuns(tail);
    EXPECT_EQ(GetVoteName(tail[1]), "Q.avlxxxseq00xxx");
    EXPECT_EQ(GetVoteName(tail[2]), "Q.avlxxxseq01xxx");
}

TEST(MarkRepeatedRuns, LeavesLinesWithResponsesAndSeriesSuffixesAlone) {
    const std::vector<std::string> original = {
        Line("Q.avl", "1;"), Line("Q.avl", "2;"), Line("S.avl;1", ""), Line("S.avl;1", ""),
        Line("P.avl", ""),   Line("P.avl", ""),   Line("P.avl", "1;"), ""};
    std::vector<std::string> lines = original;
    MarkRepeatedRuns(lines);
    // Q has responses; S carries ";" in its name; the P run ends on a line
    // with responses, so none of its lines is marked.
    EXPECT_EQ(lines, original);
}

TEST(MarkRepeatedRuns, DifferentTimesEndTheRunAtItsFirstLine) {
    std::vector<std::string> lines = {Line("Q.avl", "", "10:00:00"), Line("Q.avl", "", "10:00:05"),
                                      Line("R.avl", "1;"), ""};
    MarkRepeatedRuns(lines);
    EXPECT_EQ(GetVoteName(lines[0]), "Q.avlxxxseq00xxx");
    EXPECT_EQ(GetVoteName(lines[1]), "Q.avl");
}

TEST(MarkRepeatedRuns, MarksEveryOccurrenceOfTheNameInTheLine) {
    std::vector<std::string> lines = {"\"C:\\T\\4\",4,0,\"\",\"14:04:44\",\"04/12/2026\"",
                                      "\"C:\\T\\4\",4,0,\"\",\"14:04:44\",\"04/12/2026\"", ""};
    MarkRepeatedRuns(lines);
    const std::string m0 = "4xxxseq00xxx";
    EXPECT_EQ(lines[0], "\"C:\\T\\" + m0 + "\"," + m0 + ",0,\"\",\"1" + m0 + ":0" + m0 + ":" + m0 + m0 +
                            "\",\"0" + m0 + "/12/2026\"");
    EXPECT_EQ(ParseVoteLine(lines[1]).voteName, "4xxxseq01xxx");
}

TEST(PrepareInputFile, KeepsTheLastLineOfEachVoteFromTheEndBackwards) {
    const std::string text =
        Line("A.avl", "1;") + "\r\n" + Line("B.avl", "2;") + "\r\n" + Line("A.avl", "3;") + "\r\n";
    const InputFile file = PrepareInputFile(text, "x.rec");
    EXPECT_EQ(Names(file), (std::vector<std::string>{"A.avl", "B.avl"}));
    EXPECT_EQ(file.votes[0].responses, "3;");

    // Two runs of Q with responses: only the later one is kept.
    const InputFile twice = PrepareInputFile(Line("Q.avl", "1;") + "\r\n" + Line("Q.avl", "2;"), "x.rec");
    ASSERT_EQ(twice.votes.size(), 1u);
    EXPECT_EQ(twice.votes[0].responses, "2;");

    // A repeated run without responses becomes as many distinct votes.
    const InputFile run = PrepareInputFile(Line("Q.avl", "") + "\r\n" + Line("Q.avl", "") + "\r\n", "x.rec");
    EXPECT_EQ(Names(run), (std::vector<std::string>{"Q.avlxxxseq01xxx", "Q.avlxxxseq00xxx"}));

    EXPECT_TRUE(PrepareInputFile("", "x.rec").votes.empty());
    EXPECT_TRUE(PrepareInputFile("\r\n\r\n", "x.rec").votes.empty());
}

TEST(PrepareInputFile, AMalformedLineNamesTheFileAndItsLineNumber) {
    const std::string text =
        Line("A.avl", "1;") + "\r\n\r\n\"C:\\T\\B.avl\",4,1,\"1;\"\r\n" + Line("A.avl", "2;");
    try {
        PrepareInputFile(text, "D:/x/a.rec");
        FAIL() << "accepted";
    } catch (const FormatError& e) {
        EXPECT_EQ(e.path(), "D:/x/a.rec");
        EXPECT_EQ(e.line(), 3);
        EXPECT_STREQ(e.what(), "D:/x/a.rec, line 3: fewer than six fields");
    }
    // Lines of a vote already in the list are read all the same.
    EXPECT_THROW(PrepareInputFile(Line("A.avl", "1;", "t", 40000) + "\r\n" + Line("A.avl", "2;"), "a.rec"),
                 FormatError);
}

TEST(MergeOrder, SortsAllDistinctNamesWithoutRegardToCase) {
    std::vector<InputFile> files(3);
    files[0] = PrepareInputFile(Line("alpha", "1;") + "\r\n" + Line("Beta", "1;") + "\r\n", "a");
    files[1] = PrepareInputFile(Line("Beta", "1;") + "\r\n" + Line("Delta", "1;") + "\r\n", "b");
    files[2] = PrepareInputFile(Line("beta", "1;") + "\r\n" + Line("ALPHA", "1;") + "\r\n", "c");
    // Equal but for case: both stay, in the order they were met (file 0's
    // list runs from its last line: Beta, alpha; file 2's: ALPHA, beta).
    EXPECT_EQ(MergeOrder(files), (std::vector<std::string>{"alpha", "ALPHA", "Beta", "beta", "Delta"}));
}

} // namespace
} // namespace avelin
