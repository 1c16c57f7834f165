// Preparing one input: repeated runs of a vote, the file's vote list and its
// refusal, the same from a file read in pieces of any size as from its whole
// text; and the merge order of all names.
#include <gtest/gtest.h>

#include "merge/merge_run.h"
#include "platform/errors.h"
#include "support/memory_file_system.h"

namespace avelin {
namespace {

using Names = std::vector<std::string>;

std::string Line(const std::string& name, const std::string& responses,
                 const std::string& time = "14:05:09") {
    return "\"C:\\Talks\\" + name + "\",4," + std::to_string(responses.size() / 2) + ",\"" + responses +
           "\",\"" + time + "\",\"04/12/2026\"\r\n";
}

// "name=responses" of every vote in list order, or the refusal; the same
// whether the text is prepared whole or read from a file in small pieces.
Names Votes(const std::string& text) {
    test::MemoryFileSystem files;
    files.files["x.rec"] = text;
    const auto outcome = [&](auto prepare) {
        try {
            const InputFile file = prepare();
            Names names;
            for (const InputVote& v : file.votes)
                names.push_back(v.voteName + "=" + std::string(file.responses(v, text)));
            return names;
        } catch (const FormatError& e) {
            return Names{e.what()};
        }
    };
    const Names whole = outcome([&] { return PrepareInputFile(text, "x.rec"); });
    for (const std::size_t piece : {1, 2, 5, 64})
        EXPECT_EQ(outcome([&] { return ReadInputFile(files, "x.rec", piece); }), whole) << piece;
    return whole;
}

TEST(PrepareInputFile, MarksRepeatedRunsKeepsTheLastLineOfEachVoteAndRefusesBadFiles) {
    const std::string nul(1, '\0');
    const std::string noEnd = Line("Q.avl", "").substr(0, Line("Q.avl", "").size() - 2);
    const std::pair<std::string, Names> cases[] = {
        // The last line of a vote wins; the list runs from the end.
        {Line("A.avl", "1;") + Line("B.avl", "2;") + Line("A.avl", "3;"), {"A.avl=3;", "B.avl=2;"}},
        // Lines without responses, the same name and time: each a vote of its own.
        {Line("Q.avl", "") + Line("Q.avl", "") + Line("Q.avl", "", "14:05:10") + Line("R.avl", "1;"),
         {"R.avl=1;", "Q.avlxxxseq02xxx=", "Q.avlxxxseq01xxx=", "Q.avlxxxseq00xxx="}},
        // Also at the very end of a text without a final CR LF.
        {Line("R.avl", "1;") + Line("Q.avl", "") + noEnd,
         {"Q.avlxxxseq01xxx=", "Q.avlxxxseq00xxx=", "R.avl=1;"}},
        // Another time at the second line ends the run at its first.
        {Line("Q.avl", "", "10:00:00") + Line("Q.avl", "", "10:00:05") + Line("R.avl", "1;"),
         {"R.avl=1;", "Q.avl=", "Q.avlxxxseq00xxx="}},
        // Q has responses; S carries ";" in its name; the P run ends on a
        // line with responses, so none of its lines is marked.
        {Line("Q.avl", "1;") + Line("Q.avl", "2;") + Line("S.avl;1", "") + Line("S.avl;1", "") +
             Line("P.avl", "") + Line("P.avl", "") + Line("P.avl", "1;"),
         {"P.avl=1;", "S.avl;1=", "Q.avl=2;"}},
        // The marker goes behind every occurrence of the name in the line.
        {"\"C:\\T\\4\",4,0,\"44\",\"14:04:44\",\"d\"\r\n\"C:\\T\\4\",4,0,\"44\",\"14:04:44\",\"d\"",
         {"4xxxseq01xxx=4xxxseq01xxx4xxxseq01xxx", "4xxxseq00xxx=4xxxseq00xxx4xxxseq00xxx"}},
        {"\r\n\r\n", {}},
        {"", {}},
        // The last malformed line is named; lines of a vote already in the
        // list are read all the same.
        {Line("A.avl", "1;") + "\r\n\"C:\\T\\B.avl\",4,1,\"1;\"\r\nshort\r\n" + Line("A.avl", "2;"),
         {"x.rec, line 4: fewer than six fields"}},
        {"\"C:\\T\\A\",4,40000,\"\",\"t\",\"d\"\r\n" + Line("A", "2;"),
         {"x.rec, line 1: keypad count 40000 is outside -32768 to 32767"}},
        // A NUL byte (a presentation or an archive renamed): not a results file.
        {"short\r\nPK\x03\x04" + nul + "\r\n" + nul,
         {"x.rec, line 2: not a results file: it holds a NUL byte"}},
    };
    for (const auto& [text, votes] : cases)
        EXPECT_EQ(Votes(text), votes) << text;
}

TEST(MergeOrder, SortsAllDistinctNamesWithoutRegardToCase) {
    std::vector<InputFile> files;
    for (const std::string& text :
         {Line("alpha", "1;") + Line("Beta", "1;"), Line("Beta", "1;") + Line("Delta", "1;"),
          Line("beta", "1;") + Line("ALPHA", "1;")})
        files.push_back(PrepareInputFile(text, "x.rec"));
    // Equal but for case: both stay, in the order they were met (file 0's
    // list runs from its last line: Beta, alpha; file 2's: ALPHA, beta).
    EXPECT_EQ(MergeOrder(files), (Names{"alpha", "ALPHA", "Beta", "beta", "Delta"}));
}

} // namespace
} // namespace avelin
