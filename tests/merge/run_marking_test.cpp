// Preparing one input: repeated runs of a vote, the file's vote list and the
// merge order of all names.
#include <gtest/gtest.h>

#include "merge/merge_run.h"
#include "platform/errors.h"

namespace avelin {
namespace {

using Names = std::vector<std::string>;

std::string Line(const std::string& name, const std::string& responses,
                 const std::string& time = "14:05:09") {
    return "\"C:\\Talks\\" + name + "\",4," + std::to_string(responses.size() / 2) + ",\"" + responses +
           "\",\"" + time + "\",\"04/12/2026\"";
}

// The vote names of the lines after marking.
Names Marked(std::vector<std::string> lines) {
    MarkRepeatedRuns(lines);
    Names names;
    for (const std::string& line : lines)
        names.push_back(GetVoteName(line));
    return names;
}

Names VoteNames(const InputFile& f) {
    Names names;
    for (const auto& v : f.votes)
        names.push_back(v.voteName);
    return names;
}

TEST(MarkRepeatedRuns, MarksConsecutiveLinesWithoutResponsesAndEqualTimes) {
    EXPECT_EQ(Marked({Line("Q.avl", ""), Line("Q.avl", ""), Line("Q.avl", ""), Line("R.avl", "1;"), ""}),
              (Names{"Q.avlxxxseq00xxx", "Q.avlxxxseq01xxx", "Q.avlxxxseq02xxx", "R.avl", ""}));
    // Also at the very end of a text without a final CR LF.
    EXPECT_EQ(Marked({Line("R.avl", "1;"), Line("Q.avl", ""), Line("Q.avl", "")}),
              (Names{"R.avl", "Q.avlxxxseq00xxx", "Q.avlxxxseq01xxx"}));
    // Different times end the run at its first line.
    EXPECT_EQ(Marked({Line("Q.avl", "", "10:00:00"), Line("Q.avl", "", "10:00:05"), Line("R.avl", "1;"), ""}),
              (Names{"Q.avlxxxseq00xxx", "Q.avl", "R.avl", ""}));
    // Q has responses; S carries ";" in its name; the P run ends on a line
    // with responses, so none of its lines is marked.
    const std::vector<std::string> alone = {
        Line("Q.avl", "1;"), Line("Q.avl", "2;"), Line("S.avl;1", ""), Line("S.avl;1", ""),
        Line("P.avl", ""),   Line("P.avl", ""),   Line("P.avl", "1;"), ""};
    std::vector<std::string> lines = alone;
    MarkRepeatedRuns(lines);
    EXPECT_EQ(lines, alone);
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
    const InputFile file = PrepareInputFile(
        Line("A.avl", "1;") + "\r\n" + Line("B.avl", "2;") + "\r\n" + Line("A.avl", "3;") + "\r\n", "x.rec");
    EXPECT_EQ(VoteNames(file), (Names{"A.avl", "B.avl"}));
    EXPECT_EQ(file.votes[0].responses, "3;");
    // A repeated run without responses becomes as many distinct votes.
    const InputFile run = PrepareInputFile(Line("Q.avl", "") + "\r\n" + Line("Q.avl", "") + "\r\n", "x.rec");
    EXPECT_EQ(VoteNames(run), (Names{"Q.avlxxxseq01xxx", "Q.avlxxxseq00xxx"}));
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
        EXPECT_STREQ(e.what(), "D:/x/a.rec, line 3: fewer than six fields");
    }
    // Lines of a vote already in the list are read all the same.
    EXPECT_THROW(PrepareInputFile("\"C:\\T\\A\",4,40000,\"\",\"t\",\"d\"\r\n" + Line("A", "2;"), "a.rec"),
                 FormatError);
}

TEST(MergeOrder, SortsAllDistinctNamesWithoutRegardToCase) {
    std::vector<InputFile> files(3);
    files[0] = PrepareInputFile(Line("alpha", "1;") + "\r\n" + Line("Beta", "1;") + "\r\n", "a");
    files[1] = PrepareInputFile(Line("Beta", "1;") + "\r\n" + Line("Delta", "1;") + "\r\n", "b");
    files[2] = PrepareInputFile(Line("beta", "1;") + "\r\n" + Line("ALPHA", "1;") + "\r\n", "c");
    // Equal but for case: both stay, in the order they were met (file 0's
    // list runs from its last line: Beta, alpha; file 2's: ALPHA, beta).
    EXPECT_EQ(MergeOrder(files), (Names{"alpha", "ALPHA", "Beta", "beta", "Delta"}));
}

} // namespace
} // namespace avelin
