// avelin-rec run as a process on the checked-in fixtures: exit status, the
// bytes written, the messages, and the files it must not create or touch.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "support/temp_folder.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace avelin {
namespace {

const std::string kBinary = AVELIN_BINARY_DIR "/src/cli/avelin-rec";
const std::string kFixtures = AVELIN_SOURCE_DIR "/tests/cli/fixtures";
const std::string kNow = "AVELIN_FIXED_NOW='2026-12-04 14:05:09' ";

struct Outcome {
    int status = -1;
    std::string out, err;
};

std::string Quote(const std::string& s) {
    return "'" + s + "'";
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs avelin-rec with `args` in the folder `cwd`.
Outcome RunRec(const test::TempFolder& cwd, const std::string& args, const std::string& env = kNow) {
    const std::string command = "cd " + Quote(cwd.path()) + " && " + env + Quote(kBinary) + " " + args +
                                " >" + Quote(cwd.at(".stdout")) + " 2>" + Quote(cwd.at(".stderr"));
    const int raw = std::system(command.c_str());
    Outcome r;
#ifdef _WIN32
    r.status = raw;
#else
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    r.out = cwd.read(".stdout");
    r.err = cwd.read(".stderr");
    std::filesystem::remove(cwd.at(".stdout"));
    std::filesystem::remove(cwd.at(".stderr"));
    return r;
}

std::string Fixture(const std::string& name) {
    return Quote(kFixtures + "/" + name);
}

const std::string kThreeInputs = "--group 'Day 1' " + Fixture("meeting/Monday.rec") + " " +
                                 Fixture("meeting/Tuesday") + " " + Fixture("North/votes");

TEST(AvelinRecMerge, WritesTheMergedFileMarkerAndGroupFiles) {
    test::TempFolder cwd;
    std::filesystem::create_directory(cwd.at("out"));
    const Outcome r = RunRec(cwd, "merge --output out/merged " + kThreeInputs);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, ReadFile(kFixtures + "/expected/merge_stdout.txt"));
    EXPECT_EQ(cwd.read("out/merged.rec"), ReadFile(kFixtures + "/expected/merged.rec"));
    EXPECT_EQ(cwd.read("out/Day 1.grp"), "\"MergeInfo.avl\", \"0\"");
    EXPECT_EQ(cwd.read("out/Tuesday.grp"), "\"MergeInfo.avl\", \"1\"");
    EXPECT_EQ(cwd.read("out/North.grp"), "\"MergeInfo.avl\", \"2\""); // "votes" takes its folder's name
    EXPECT_TRUE(cwd.exists("out/MergeInfo.avl"));
    EXPECT_EQ(cwd.read("out/MergeInfo.avl"), "");
    EXPECT_EQ(cwd.listing(), "out\n");
}

TEST(AvelinRecMerge, UsesTheSystemClockWhenTimeIsNotPinned) {
    test::TempFolder cwd;
    const Outcome r = RunRec(cwd, "merge -o merged.rec " + kThreeInputs, "");
    ASSERT_EQ(r.status, 0) << r.err;
    // A bare output name goes into the current folder.
    const std::regex stamp(R"("\d\d:\d\d:\d\d","\d\d/\d\d/\d\d\d\d"\r\n)");
    const std::string mask = "\"T\",\"D\"\r\n";
    EXPECT_EQ(std::regex_replace(cwd.read("merged.rec"), stamp, mask),
              std::regex_replace(ReadFile(kFixtures + "/expected/merged.rec"), stamp, mask));
}

TEST(AvelinRecMerge, RefusesAnExistingOutputUnlessForced) {
    test::TempFolder cwd;
    cwd.write("merged.rec", "earlier merge");
    const Outcome refused = RunRec(cwd, "merge --output merged " + kThreeInputs);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find(cwd.at("merged.rec") + ": the output file already exists"), std::string::npos)
        << refused.err;
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(cwd.read("merged.rec"), "earlier merge");
    EXPECT_EQ(cwd.listing(), "merged.rec\n");

    const Outcome forced = RunRec(cwd, "merge --force --output merged " + kThreeInputs);
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(cwd.read("merged.rec"), ReadFile(kFixtures + "/expected/merged.rec"));
}

TEST(AvelinRecMerge, BadInputNamesFileAndLineAndWritesNothing) {
    test::TempFolder cwd;
    cwd.write("merged.rec", "earlier merge");
    const Outcome malformed =
        RunRec(cwd, "merge --force -o merged " + Fixture("meeting/Monday") + " " + Fixture("bad/short_line"));
    EXPECT_EQ(malformed.status, 1);
    EXPECT_EQ(malformed.err,
              "avelin-rec: " + kFixtures + "/bad/short_line.rec, line 3: fewer than six fields\n");

    const Outcome missing =
        RunRec(cwd, "merge --force -o merged " + Fixture("meeting/Monday") + " " + Fixture("meeting/Sunday"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "avelin-rec: " + kFixtures + "/meeting/Sunday.rec: No such file or directory\n");

    EXPECT_EQ(cwd.listing(), "merged.rec\n");
    EXPECT_EQ(cwd.read("merged.rec"), "earlier merge");
}

TEST(AvelinRecMerge, UsageAndWriteFailuresHaveTheirOwnStatus) {
    test::TempFolder cwd;
    const std::string two = Fixture("meeting/Monday") + " " + Fixture("meeting/Tuesday");
    EXPECT_EQ(RunRec(cwd, "merge -o m " + Fixture("meeting/Monday")).status, 2);
    EXPECT_EQ(RunRec(cwd, "merge -o m -g a -g b -g c " + two).status, 2);
    const Outcome clash = RunRec(cwd, "merge -o m -g North -g NORTH " + two);
    EXPECT_EQ(clash.status, 2);
    EXPECT_NE(clash.err.find("\"North\" and \"NORTH\""), std::string::npos) << clash.err;
    EXPECT_EQ(RunRec(cwd, "merge " + two).status, 2); // no --output
    EXPECT_EQ(RunRec(cwd, "merge -o m " + two, "AVELIN_FIXED_NOW=soon ").status, 2);
    EXPECT_EQ(cwd.listing(), "");

    const Outcome unwritable = RunRec(cwd, "merge -o missing/m " + two);
    EXPECT_EQ(unwritable.status, 3);
    EXPECT_NE(unwritable.err.find("No such file or directory"), std::string::npos) << unwritable.err;
    EXPECT_EQ(cwd.listing(), "");
}

TEST(AvelinRecCheck, ReportsEachFileOrItsFirstMalformedLine) {
    test::TempFolder cwd;
    for (const char* name : {"meeting/Monday.rec", "meeting/Tuesday.rec", "North/votes.rec",
                             "bad/short_line.rec", "bad/big_count.rec"})
        cwd.write(name, ReadFile(kFixtures + "/" + name));
    const Outcome all =
        RunRec(cwd, "check meeting/Monday.rec meeting/Tuesday.rec North/votes.rec bad/short_line.rec "
                    "bad/big_count.rec");
    EXPECT_EQ(all.status, 1);
    EXPECT_EQ(all.out, ReadFile(kFixtures + "/expected/check_stdout.txt"));
    EXPECT_EQ(all.err, ReadFile(kFixtures + "/expected/check_stderr.txt"));

    const Outcome good = RunRec(cwd, "check meeting/Monday.rec North/votes.rec");
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.err, "");

    const Outcome missing = RunRec(cwd, "check nothing.rec");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "avelin-rec: nothing.rec: No such file or directory\n");
}

} // namespace
} // namespace avelin
