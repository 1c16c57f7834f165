// avelin-rec votes and create run as a process on the demo presentation and
// on presentations written by the tests: what they print, the bytes written,
// and the files they must leave alone.
#include <gtest/gtest.h>

#include "support/pptx_writer.h"
#include "support/run_rec.h"

namespace avelin {
namespace {

using test::Quote;
using test::RecRun;
using test::RunRec;

const std::string kFixtures = AVELIN_SOURCE_DIR "/tests/cli/fixtures/create/";
const std::string kDemoFolder = AVELIN_SOURCE_DIR "/examples/presentation";

std::string Create(const std::string& counts, const std::string& output, const std::string& extra = "") {
    return "create " + Quote(kDemoFolder + "/Demo Talk.pptx") + " --counts " + Quote(counts) + " --output " +
           Quote(output) + extra;
}

TEST(AvelinRecVotes, ListsTheDemoVotesAndTheirRows) {
    test::TempFolder cwd;
    const RecRun r = RunRec(cwd, "votes " + Quote(kDemoFolder + "/Demo Talk.pptx"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, test::ReadBytes(kFixtures + "votes_stdout.txt"));
}

TEST(AvelinRecVotes, BadDefinitionsMissingDefinitionsAndNoVotes) {
    test::TempFolder cwd;
    const std::string run = "ppaction://program";
    test::WritePptx(cwd.at("talk.pptx"),
                    {{{{"VOTE", run, "file:///C:\\v.exe%20gone.AVL,1"}, {"Title", "", ""}}},
                     {{{"VOTE", run, "file:///C:\\v.exe%20here.AVL,1"}}}});
    cwd.write("here.AVL", "2,3,1,q,0,0,0,0,0\r\n5,5\r\n"); // a truncated definition file
    RecRun r = RunRec(cwd, "votes talk.pptx");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "avelin-rec: " + cwd.at("here.AVL") + ": the file ends before field 12\n");

    std::string fields = "2,3,1,q,0,0,0,0,0\r\n";
    for (int i = 0; i < 29; ++i)
        fields += "5,";
    cwd.write("here.AVL", fields + "0\r\n");
    r = RunRec(cwd, "votes talk.pptx");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "talk.pptx: 1 vote, 1 answer row\n"
                     "vote 1: Name \"here.AVL\", Kind standard, OptionCount 3, FirstOption 0, RowCount 1\n"
                     "  row 1: here.AVL\n");
    EXPECT_EQ(r.err,
              "avelin-rec: " + cwd.at("gone.AVL") + ": no such vote definition file; the vote is skipped\n");

    std::filesystem::remove(cwd.at("here.AVL"));
    r = RunRec(cwd, "votes talk.pptx");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("avelin-rec: The current presentation does not contain any votes.\n"),
              std::string::npos)
        << r.err;

}

TEST(AvelinRecCreate, WritesWhatTheSaveButtonWrites) {
    test::TempFolder cwd;
    RecRun r = RunRec(cwd, Create(kFixtures + "counts.csv", "Manual Votes.rec"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "wrote Manual Votes.rec: 9 lines\n");
    EXPECT_EQ(r.err, "");
    std::string expected = test::ReadBytes(kFixtures + "expected.rec");
    for (std::size_t at; (at = expected.find("@FOLDER@")) != std::string::npos;)
        expected.replace(at, 8, kDemoFolder);
    EXPECT_EQ(cwd.read("Manual Votes.rec"), expected);

    // LF line ends are taken too; the pinned time gives the date and the hour.
    std::string one = ",1,,,,,,,,,\n";
    for (int row = 2; row <= 10; ++row)
        one += ",,,,,,,,,,\n";
    cwd.write("one.csv", one);
    r = RunRec(cwd, Create("one.csv", "a.rec"), "AVELIN_FIXED_NOW='2026-02-03 23:59:30' ");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(cwd.read("a.rec"),
              "\"" + kDemoFolder + "\\lunch.AVL\",\"4\",\"1\",\"1;\",\"23:59:00\",\"03\\02\\2026\"\r\n");
}

TEST(AvelinRecCreate, BadCountsAreRefusedWithTheLineAndNothingIsWritten) {
    const std::string good = test::ReadBytes(kFixtures + "counts.csv");
    auto withLine = [&good](int n, const std::string& replacement) {
        std::string text = good;
        std::size_t start = 0;
        for (int i = 1; i < n; ++i)
            start = text.find('\n', start) + 1;
        return text.replace(start, text.find('\r', start) - start, replacement);
    };
    const std::pair<std::string, std::string> cases[] = {
        {withLine(1, "1,3,5,,2,,,,,,"),
         "line 1: the count for the value 0 is for a value that lunch.AVL does not offer"},
        {withLine(10, "1,,,,2,3,,,,,"),
         "line 10: the count for the value 5 is for a value that budget.AVL does not offer"},
        {withLine(2, ",4,-1,2,,,,,,,"), "line 2: the count for the value 2 is negative"},
        {withLine(3, ",,six,1,,,,,,,"), "line 3: the count for the value 2, \"six\", is not a number"},
        {withLine(4, ",,,,,,,,,"), "line 4: 10 counts; 11 are needed, for the values 0 to 10"},
        {withLine(5, ",1,2,3,4,5,,,,,,"), "line 5: 12 counts; 11 are needed, for the values 0 to 10"},
        {withLine(8, ",30000,,,2768,,,,,,"),
         "line 8: more than 32767 responses, which a results file cannot hold"},
        {good + ",1,,,,,,,,,\r\n", "line 11: one line too many: the presentation has 10 answer rows"},
        {good.substr(0, good.rfind("\r\n", good.size() - 3) + 2),
         "line 10: missing: the presentation has 10 answer rows, and row 10 is budget.AVL"},
    };
    test::TempFolder cwd;
    cwd.write("kept.rec", "old bytes");
    for (const auto& [counts, message] : cases) {
        SCOPED_TRACE(message);
        cwd.write("counts.csv", counts);
        RecRun r = RunRec(cwd, Create("counts.csv", "new.rec"));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "avelin-rec: counts.csv, " + message + "\n");
        r = RunRec(cwd, Create("counts.csv", "kept.rec", " --force"));
        EXPECT_EQ(r.status, 1);
    }
    EXPECT_EQ(cwd.listing(), "counts.csv\nkept.rec\n");
    EXPECT_EQ(cwd.read("kept.rec"), "old bytes");
}

TEST(AvelinRecCreate, ExistingOutputNeedsForce) {
    test::TempFolder cwd;
    cwd.write("out.rec", "old bytes");
    RecRun r = RunRec(cwd, Create(kFixtures + "counts.csv", "out.rec"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "avelin-rec: out.rec: the file already exists (--force replaces it)\n");
    EXPECT_EQ(cwd.read("out.rec"), "old bytes");

    r = RunRec(cwd, Create(kFixtures + "counts.csv", "out.rec", " --force"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(cwd.read("out.rec").substr(0, 1), "\"");

    EXPECT_EQ(cwd.listing(), "out.rec\n");
}

} // namespace
} // namespace avelin
