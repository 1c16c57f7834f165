// avelin-rec merge and check run as a process on the checked-in fixtures: exit
// status, the bytes written, the messages, and the files it must not touch.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

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

TEST(AvelinRecMerge, WritesTheMergedFileMarkerAndGroupFiles) {
    test::TempFolder cwd;
    std::filesystem::create_directory(cwd.at("out"));
    const RecRun r = RunRec(cwd, "merge --output out/merged " + kThreeInputs);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, FixtureText("expected/merge_stdout.txt"));
    EXPECT_EQ(cwd.read("out/merged.rec"), FixtureText("expected/merged.rec"));
    EXPECT_EQ(cwd.read("out/Day 1.grp"), "\"MergeInfo.avl\", \"0\"");
    EXPECT_EQ(cwd.read("out/Tuesday.grp"), "\"MergeInfo.avl\", \"1\"");
    EXPECT_EQ(cwd.read("out/North.grp"), "\"MergeInfo.avl\", \"2\""); // "votes" takes its folder's name
    EXPECT_TRUE(cwd.exists("out/MergeInfo.avl"));
    EXPECT_EQ(cwd.read("out/MergeInfo.avl"), "");
    EXPECT_EQ(cwd.listing(), "out\n");
}

TEST(AvelinRecMerge, ClockOfTheSystemAndAnExistingOutput) {
    test::TempFolder now, cwd;
    // Not pinned: the system's time; a bare output name goes into the current folder.
    RecRun r = RunRec(now, "merge -o merged.rec " + kThreeInputs, "");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::regex stamp(R"("\d\d:\d\d:\d\d","\d\d/\d\d/\d\d\d\d"\r\n)");
    EXPECT_EQ(std::regex_replace(now.read("merged.rec"), stamp, "T"),
              std::regex_replace(FixtureText("expected/merged.rec"), stamp, "T"));

    cwd.write("merged.rec", "earlier merge");
    r = RunRec(cwd, "merge --output merged " + kThreeInputs);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(cwd.at("merged.rec") + ": the output file already exists"), std::string::npos)
        << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(cwd.read("merged.rec"), "earlier merge");
    EXPECT_EQ(cwd.listing(), "merged.rec\n");

    r = RunRec(cwd, "merge --force --output merged " + kThreeInputs);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(cwd.read("merged.rec"), FixtureText("expected/merged.rec"));
}

TEST(AvelinRecMerge, FailuresHaveTheirStatusAndWriteNothing) {
    test::TempFolder cwd;
    cwd.write("merged.rec", "earlier merge");
    const std::string monday = Fixture("meeting/Monday") + " ";
    const std::string two = monday + Fixture("meeting/Tuesday");
    const struct {
        std::string args, env;
        int status;
        std::string err; // a part of the message
    } cases[] = {
        {"-o merged --force " + monday + Fixture("bad/short_line"), test::kPinnedNow, 1,
         "avelin-rec: " + kFixtures + "/bad/short_line.rec, line 3: fewer than six fields\n"},
        {"-o merged --force " + monday + Fixture("meeting/Sunday"), test::kPinnedNow, 1,
         "avelin-rec: " + kFixtures + "/meeting/Sunday.rec: No such file or directory\n"},
        {"-o m " + monday, test::kPinnedNow, 2, ""},
        {"-o m -g a -g b -g c " + two, test::kPinnedNow, 2, ""},
        {"-o m -g North -g NORTH " + two, test::kPinnedNow, 2, "\"North\" and \"NORTH\""},
        {two, test::kPinnedNow, 2, ""}, // no --output
        {"-o m " + two, "AVELIN_FIXED_NOW=soon ", 2, ""},
        {"-o missing/m " + two, test::kPinnedNow, 3, "No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const RecRun r = RunRec(cwd, "merge " + c.args, c.env);
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
    EXPECT_EQ(cwd.listing(), "merged.rec\n");
    EXPECT_EQ(cwd.read("merged.rec"), "earlier merge");
}

TEST(AvelinRecCheck, ReportsEachFileOrItsFirstMalformedLine) {
    test::TempFolder cwd;
    const std::string all = "meeting/Monday.rec meeting/Tuesday.rec North/votes.rec bad/short_line.rec "
                            "bad/big_count.rec";
    for (std::size_t at = 0, end; at < all.size(); at = end + 1) {
        end = std::min(all.find(' ', at), all.size());
        cwd.write(all.substr(at, end - at), FixtureText(all.substr(at, end - at)));
    }
    RecRun r = RunRec(cwd, "check " + all);
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

} // namespace
} // namespace avelin
