// avelin-rec run as a process on the checked-in fixtures and the demo
// presentation: what the tool itself adds (options, default group names, the
// clock, the counts file, --force, exit statuses and messages). Each command
// is checked once to write what the windows write; the merge and writer rules
// themselves are tested with the merge run and the manual results writer.
#include <gtest/gtest.h>

#include <regex>

#include "support/pptx_writer.h"
#include "support/run_rec.h"

namespace avelin {
namespace {

using test::Quote;
using test::RecRun;
using test::RunRec;

const std::string kFixtures = AVELIN_SOURCE_DIR "/tests/cli/fixtures";

std::string Fixture(const std::string& name) {
    return Quote(kFixtures + "/" + name);
}
std::string FixtureText(const std::string& name) {
    return test::ReadBytes(kFixtures + "/" + name);
}

const std::string kThreeInputs = "--group 'Day 1' " + Fixture("meeting/Monday.rec") + " " +
                                 Fixture("meeting/Tuesday") + " " + Fixture("North/votes");

// Inputs with or without ".rec"; unnamed inputs are named as the merge window
// names them ("votes" takes its folder's name).
TEST(AvelinRecMerge, WritesTheMergedFileMarkerAndGroupFilesAndListsThem) {
    test::TempFolder cwd;
    std::filesystem::create_directory(cwd.at("out"));
    const RecRun r = RunRec(cwd, "merge --output out/merged " + kThreeInputs);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, FixtureText("expected/merge_stdout.txt"));
    EXPECT_EQ(cwd.read("out/merged.rec"), FixtureText("expected/merged.rec"));
    EXPECT_EQ(test::Listing(cwd.at("out")), "Day 1.grp\nMergeInfo.avl\nNorth.grp\nTuesday.grp\nmerged.rec\n");
    EXPECT_EQ(cwd.listing(), "out\n");
}

TEST(AvelinRecMerge, AnExistingOutputIsReplacedOnlyWithForce) {
    test::TempFolder cwd;
    cwd.write("merged.rec", "earlier merge");
    RecRun r = RunRec(cwd, "merge --output merged " + kThreeInputs);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "avelin-rec: " + cwd.at("merged.rec") +
                         ": the output file already exists (--force replaces it)\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(cwd.listing(), "merged.rec\n");
    EXPECT_EQ(cwd.read("merged.rec"), "earlier merge");

    // Without a pinned time the system clock stamps the votes.
    r = RunRec(cwd, "merge --force --output merged " + kThreeInputs, "");
    EXPECT_EQ(r.status, 0) << r.err;
    const std::regex stamp(R"("\d\d:\d\d:\d\d","\d\d/\d\d/\d\d\d\d"\r\n)");
    EXPECT_EQ(std::regex_replace(cwd.read("merged.rec"), stamp, "T"),
              std::regex_replace(FixtureText("expected/merged.rec"), stamp, "T"));
}

// 1: an input is missing or malformed; 2: the request is refused; 3: a write
// failed (the merge then puts the folder back as it was).
TEST(AvelinRecMerge, EachFailureHasItsStatusAndMessageAndWritesNothing) {
    test::TempFolder cwd;
    cwd.write("merged.rec", "earlier merge");
    const std::string monday = "-o merged --force " + Fixture("meeting/Monday") + " ";
    const std::string inputs = monday + Fixture("meeting/Tuesday");
    const struct {
        std::string args, env;
        int status;
        std::string err; // a part of the message
    } cases[] = {
        {monday + Fixture("bad/short_line"), test::kPinnedNow, 1,
         "avelin-rec: " + kFixtures + "/bad/short_line.rec, line 3: fewer than six fields\n"},
        {monday + Fixture("meeting/Sunday"), test::kPinnedNow, 1,
         "avelin-rec: " + kFixtures + "/meeting/Sunday.rec: No such file or directory\n"},
        {"-g a -g b -g c " + inputs, test::kPinnedNow, 2, "3 group names given for 2 input files"},
        {Fixture("meeting/Monday") + " " + Fixture("meeting/Tuesday"), test::kPinnedNow, 2, "--output"},
        {inputs, "AVELIN_FIXED_NOW=soon ", 2, "AVELIN_FIXED_NOW \"soon\" is not of the form"},
        {inputs, test::kPinnedNow + "AVELIN_FILE_FAULTS=flush:x:y ", 2, "\"flush:x:y\""},
        {inputs, test::kPinnedNow + "AVELIN_FILE_FAULTS='rename:merged.rec:No space left on device' ", 3,
         cwd.at("merged.rec") + ": No space left on device\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const RecRun r = RunRec(cwd, "merge " + c.args, c.env);
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(cwd.listing(), "merged.rec\n");
    EXPECT_EQ(cwd.read("merged.rec"), "earlier merge");
}

TEST(AvelinRecCheck, ReportsEachFileOrItsFirstMalformedLine) {
    test::TempFolder cwd;
    std::string all;
    for (const std::string name : {"meeting/Monday.rec", "meeting/Tuesday.rec", "North/votes.rec",
                                   "bad/short_line.rec", "bad/big_count.rec"}) {
        cwd.write(name, FixtureText(name));
        all += " " + name;
    }
    RecRun r = RunRec(cwd, "check" + all);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, FixtureText("expected/check_stdout.txt"));
    EXPECT_EQ(r.err, FixtureText("expected/check_stderr.txt"));

    r = RunRec(cwd, "check meeting/Monday.rec North/votes.rec");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    r = RunRec(cwd, "check nothing.rec");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "avelin-rec: nothing.rec: No such file or directory\n");
}

const std::string kDemoFolder = AVELIN_SOURCE_DIR "/examples/presentation";
const std::string kCounts = kFixtures + "/create/counts.csv";

std::string Create(const std::string& counts, const std::string& output, const std::string& extra = "") {
    return "create " + Quote(kDemoFolder + "/Demo Talk.pptx") + " --counts " + Quote(counts) + " --output " +
           Quote(output) + extra;
}

TEST(AvelinRecVotes, ListsTheDemoVotesAndTheirRows) {
    test::TempFolder cwd;
    const RecRun r = RunRec(cwd, "votes " + Quote(kDemoFolder + "/Demo Talk.pptx"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, FixtureText("create/votes_stdout.txt"));
}

// A missing definition file only skips its vote, with a warning; no vote at
// all is status 1.
TEST(AvelinRecVotes, AMissingDefinitionIsSkippedAndNoVotesIsRefused) {
    test::TempFolder cwd;
    const std::string run = "ppaction://program";
    test::WritePptx(cwd.at("talk.pptx"), {{{{"VOTE", run, "file:///C:\\v.exe%20gone.AVL,1"}}},
                                          {{{"VOTE", run, "file:///C:\\v.exe%20here.AVL,1"}}}});
    cwd.write("here.AVL",
              "2,3,1,q,0,0,0,0,0\r\n5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,0\r\n");
    RecRun r = RunRec(cwd, "votes talk.pptx");
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

TEST(AvelinRecCreate, WritesWhatTheSaveButtonWritesFromCountsWithEitherLineEnd) {
    test::TempFolder cwd;
    std::string expected = FixtureText("create/expected.rec");
    for (std::size_t at; (at = expected.find("@FOLDER@")) != std::string::npos;)
        expected.replace(at, 8, kDemoFolder);
    std::string lf = FixtureText("create/counts.csv");
    for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;)
        lf.erase(at, 1);
    cwd.write("lf.csv", lf);
    for (const std::string& counts : {kCounts, cwd.at("lf.csv")}) {
        const RecRun r = RunRec(cwd, Create(counts, "Manual Votes.rec"));
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "wrote Manual Votes.rec: 9 lines\n");
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(cwd.read("Manual Votes.rec"), expected);
        std::filesystem::remove(cwd.at("Manual Votes.rec"));
    }
}

// One line per answer row, 11 counts for the values 0 to 10.
TEST(AvelinRecCreate, BadCountsAreRefusedWithTheLineAndNothingIsWritten) {
    const std::string good = FixtureText("create/counts.csv");
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

// 1: exists without --force; 2: a name Windows cannot create; 3: the write failed.
TEST(AvelinRecCreate, OutputRefusalsAndAFailedWriteKeepTheEarlierFile) {
    test::TempFolder cwd;
    cwd.write("out.rec", "old bytes");
    RecRun r = RunRec(cwd, Create(kCounts, "out.rec"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "avelin-rec: out.rec: the file already exists (--force replaces it)\n");
    r = RunRec(cwd, Create(kCounts, "aux.rec"));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "avelin-rec: aux.rec: AUX is a device name Windows reserves\n");
    r = RunRec(cwd, Create(kCounts, "out.rec", " --force"),
               test::kPinnedNow + "AVELIN_FILE_FAULTS='write:out.rec:No space left on device' ");
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "avelin-rec: out.rec: No space left on device\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(cwd.listing(), "out.rec\n");
    EXPECT_EQ(cwd.read("out.rec"), "old bytes");

    r = RunRec(cwd, Create(kCounts, "out.rec", " --force"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(cwd.read("out.rec").substr(0, 1), "\"");
}

} // namespace
} // namespace avelin
