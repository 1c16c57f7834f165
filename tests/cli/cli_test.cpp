// avelin-rec run as a process on the checked-in fixtures and the demo
// presentation: what the tool itself adds (options, default group names, the
// clock, the counts file, --force, the design check, exit statuses and
// messages). Each command is checked once to write what the windows write;
// the merge and writer rules themselves are tested with the merge run and the
// manual results writer, the report's tallies with the report.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <map>
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
    EXPECT_EQ(r.err.rfind("avelin-rec: warning: vote \"closing.avl\" is missing from ", 0), 0u) << r.err;
    EXPECT_EQ(r.out, FixtureText("expected/merge_stdout.txt"));
    EXPECT_EQ(cwd.read("out/merged.rec"), FixtureText("expected/merged.rec"));
    EXPECT_EQ(test::Listing(cwd.at("out")), "Day 1.grp\nMergeInfo.avl\nNorth.grp\nTuesday.grp\nmerged.rec\n");
    EXPECT_EQ(cwd.listing(), "out\n");
}

TEST(AvelinRecMerge, AnExistingOutputIsReplacedOnlyWithForce) {
    test::TempFolder cwd;
    cwd.write("merged.rec", "earlier merge");
    RecRun r = RunRec(cwd, "merge --output merged " + kThreeInputs);
    EXPECT_EQ(r.status, 2);
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
    EXPECT_NE(r.out.find("\nreplaced " + cwd.at("merged.rec") + "\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nwrote " + cwd.at("MergeInfo.avl") + "\n"), std::string::npos) << r.out;
    // The group files and the marker file are replaced without asking, and said so.
    r = RunRec(cwd, "merge --force --output merged " + kThreeInputs);
    EXPECT_NE(r.out.find("\nreplaced " + cwd.at("Day 1.grp") + "\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nreplaced " + cwd.at("MergeInfo.avl") + "\n"), std::string::npos) << r.out;
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
}

const std::string kDemoFolder = AVELIN_SOURCE_DIR "/examples/presentation";
const std::string kCounts = kFixtures + "/create/counts.csv";

std::string Create(const std::string& counts, const std::string& output, const std::string& extra = "") {
    return "create " + Quote(kDemoFolder + "/Demo Meeting.ppt") + " --counts " + Quote(counts) +
           " --output " + Quote(output) + extra;
}

TEST(AvelinRecVotes, ListsTheDemoVotesAndTheirRows) {
    test::TempFolder cwd;
    const RecRun r = RunRec(cwd, "votes " + Quote(kDemoFolder + "/Demo Meeting.ppt"));
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
                     "vote 1: Name \"here.AVL\", Kind STANDARD, OptionCount 3, FirstOption 0, RowCount 1\n"
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
        const RecRun r = RunRec(cwd, Create(counts, "Manual Votes")); // ".rec" completed
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

// Every refusal of the command line with its status and its words: 1 an input
// missing, a folder, not text or malformed; 2 a request refused; 3 a write
// that failed (the merge then puts the folder back as it was). Nothing is
// written by any of them.
TEST(AvelinRec, EachMistakeHasItsStatusAndClearWordsAndWritesNothing) {
    test::TempFolder cwd;
    cwd.write("merged.rec", "earlier merge");
    std::filesystem::create_directory(cwd.at("out"));
    std::filesystem::create_directory(cwd.at("in.rec"));
    const std::string line = "\"C:\\T\\Q.avl\",3,2,\"1;2;\",\"09:00:00\",\"01/12/2026\"\r\n";
    cwd.write("notext.rec", line + line.substr(0, 20) + std::string(1, '\0') + line.substr(20));
    cwd.write("lf.rec", line.substr(0, line.size() - 2) + "\n" + line.substr(0, line.size() - 2) + "\n");
    cwd.write("cr.rec", line.substr(0, line.size() - 1) + line.substr(0, line.size() - 1));
    cwd.write("neg.rec", "\"C:\\T\\Q.avl\",3,-12,\"1;2;\",\"09:00:00\",\"01/12/2026\"\r\n");
    cwd.write("long.rec", std::string(17 << 20, 'a'));
    std::filesystem::create_symlink("merged.rec", cwd.at("link.rec"));
    ASSERT_EQ(mkfifo(cwd.at("fifo.rec").c_str(), 0644), 0);
    const std::string inputs = Fixture("meeting/Monday") + " " + Fixture("meeting/Tuesday");
    const std::string monday = "merge -o merged --force " + Fixture("meeting/Monday") + " ";
    const std::string merged = Fixture("expected/merged.rec");
    const std::string folder = "in.rec: Is a folder, not a file\n";
    const std::string outFolder = "out: Is a folder, not a file; --output names the file to write\n";
    const std::string notText = "notext.rec, line 2: not a results file: it holds a NUL byte\n";
    const std::string noSpace =
        test::kPinnedNow + "AVELIN_FILE_FAULTS='write:merged.rec:No space left on device' ";
    const struct {
        std::string args;
        int status;
        std::string text; // the end of the message on stderr; of stdout for status 0
        std::string env = test::kPinnedNow;
    } cases[] = {
        {monday + Fixture("bad/short_line"), 1,
         kFixtures + "/bad/short_line.rec, line 3: fewer than six fields\n"},
        {monday + Fixture("meeting/Sunday"), 1,
         kFixtures + "/meeting/Sunday.rec: No such file or directory\n"},
        {monday + "in.rec", 1, folder},
        {monday + "notext", 1, notText},
        {"merge -g a -g b -g c -o merged " + inputs, 2, "3 group names given for 2 input files\n"},
        {"merge " + inputs, 2, "--output is required\nRun with --help for more information.\n"},
        {"merge -o out " + inputs, 2, outFolder},
        {"merge -o missing/merged " + inputs, 2, "missing: No such folder for the output file\n"},
        {"merge --otuput merged " + inputs, 2,
         "unknown option '--otuput' for 'merge'; did you mean '--output'?\n"},
        {"mrege -o merged " + inputs, 2, "unknown subcommand 'mrege'; did you mean 'merge'?\n"},
        {"sort " + inputs, 2,
         "unknown subcommand 'sort'; the subcommands are check, create, merge, report, votes\n"},
        {monday + Fixture("meeting/Tuesday"), 2, "AVELIN_FIXED_NOW \"soon\" is not of the form",
         "AVELIN_FIXED_NOW=soon "},
        {monday + Fixture("meeting/Tuesday"), 2, "\"flush:x:y\"",
         test::kPinnedNow + "AVELIN_FILE_FAULTS=flush:x:y "},
        {monday + Fixture("meeting/Tuesday"), 3, cwd.at("merged.rec") + ": No space left on device\n",
         noSpace},
        {"check nothing.rec", 1, "avelin-rec: nothing.rec: No such file or directory\n"},
        {"check in.rec", 1, folder},
        {"check notext.rec", 1, notText},
        {"report in.rec", 1, folder},
        {"report notext.rec", 1, notText},
        {"report " + Fixture("bad/short_line.rec"), 1, "short_line.rec, line 3: fewer than six fields\n"},
        {"report -o out " + merged, 2, outFolder},
        {"report -o ./merged.rec merged.rec", 2,
         "./merged.rec: is the results file read; --output names another file\n"},
        {"report --fromat csv " + merged, 2,
         "unknown option '--fromat' for 'report'; did you mean '--format'?\n"},
        {"report -g a -g b " + Fixture("meeting/Monday.rec"), 2,
         "2 group names given for a file of 1 group\n"},
        {"votes in.rec", 1, folder},
        {"create in.rec --counts " + Quote(kCounts) + " --output new", 1, folder},
        {"create " + Quote(kDemoFolder + "/Demo Meeting.ppt") + " --counts in.rec --output new", 1, folder},
        {Create(kCounts, "merged"), 2,
         "avelin-rec: merged.rec: the file already exists (--force replaces it)\n"},
        {"report -o merged.rec " + merged, 2, "merged.rec: the file already exists (--force replaces it)\n"},
        // An output that is an input, also through a link or another spelling.
        {monday + "merged", 2, "merged.rec: is the input merged.rec; the merge writes into another file\n"},
        {"merge -f -o link.rec merged " + inputs, 2, "link.rec: is the input merged.rec; the merge writes"},
        {"merge -f -o ./merged.rec merged " + inputs, 2, "./merged.rec: is the input merged.rec; the merge"},
        {"merge -o " + std::string(300, 'd') + "/m " + inputs, 2, "d: File name too long\n"},
        // Not results files: other line ends, a negative keypad count,
        // devices, a pipe and a file without line ends.
        {"check lf.rec", 1, "lf.rec, line 1: not a results file: its lines end in LF alone, not in CR LF\n"},
        {"report cr.rec", 1, "cr.rec, line 1: not a results file: its lines end in CR alone, not in CR LF\n"},
        {monday + "lf", 1, "lf.rec, line 1: not a results file: its lines end in LF alone, not in CR LF\n"},
        {"check neg.rec", 1, "neg.rec, line 1: keypad count -12 is negative\n"},
        {"report neg.rec", 1, "neg.rec, line 1: keypad count -12 is negative\n"},
        {"check /dev/zero", 1, "/dev/zero: Is a device, a pipe or a socket, not a file\n"},
        {"report /dev/urandom", 1, "/dev/urandom: Is a device, a pipe or a socket, not a file\n"},
        {monday + "fifo", 1, "fifo.rec: Is a device, a pipe or a socket, not a file\n"},
        {"report fifo.rec", 1, "fifo.rec: Is a device, a pipe or a socket, not a file\n"},
        {"check long.rec", 1, "long.rec, line 1: not a results file: a line longer than 16 MiB\n"},
        {"report long.rec", 1, "long.rec: not a results file: a line longer than 16 MiB\n"},
        {Create(kCounts, "aux.rec"), 2, "avelin-rec: aux.rec: AUX is a device name Windows reserves\n"},
        {Create(kCounts, "out"), 2, outFolder},
        {Create(kCounts, "merged", " --force"), 3, "avelin-rec: merged.rec: No space left on device\n",
         noSpace},
        {"--version", 0, "avelin-rec " AVELIN_VERSION "\n"},
        {"merge --help", 0, "Usage: avelin-rec merge [OPTIONS]"}, // the name, not the path it was run by
        {"check --help", 0, "Exit status: 0 done; 1 bad input"},
        {"report --help", 0, "Exit status: 0 done; 1 bad input"},
        {"votes --help", 0, "Exit status: 0 done; 1 bad input"},
        {"create --help", 0, "Exit status: 0 done; 1 bad input"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const RecRun r = RunRec(cwd, c.args, c.env);
        EXPECT_EQ(r.status, c.status);
        const std::string& shown = c.status == 0 ? r.out : r.err;
        EXPECT_NE(shown.find(c.text), std::string::npos) << shown;
        if (c.status != 0) {
            EXPECT_EQ(r.out, "");
        }
    }
    EXPECT_EQ(cwd.listing(),
              "cr.rec\nfifo.rec\nin.rec\nlf.rec\nlink.rec\nlong.rec\nmerged.rec\nneg.rec\nnotext.rec\nout\n");
    EXPECT_EQ(cwd.read("merged.rec"), "earlier merge");
    EXPECT_EQ(test::Listing(cwd.at("out")), "");
}

// An earlier merge in a folder and a new one of the same files that swaps
// their groups, so that a set of files mixed from both shows.
struct TwoMerges {
    test::TempFolder cwd;
    const std::string older =
        "merge -f -o m -g A -g B " + Fixture("meeting/Monday") + " " + Fixture("meeting/Tuesday");
    const std::string newer =
        "merge -f -o m -g B -g A " + Fixture("meeting/Tuesday") + " " + Fixture("meeting/Monday");
    std::map<std::string, std::string> oldSet, newSet;
    const std::string listing = "A.grp\nB.grp\nMergeInfo.avl\nm.rec\n"; // nothing beside them

    TwoMerges() {
        EXPECT_EQ(RunRec(cwd, newer).status, 0);
        newSet = set();
        EXPECT_EQ(RunRec(cwd, older).status, 0);
        oldSet = set();
    }
    std::map<std::string, std::string> set() const {
        std::map<std::string, std::string> files;
        for (const char* name : {"A.grp", "B.grp", "MergeInfo.avl", "m.rec"})
            files[name] = cwd.exists(name) ? cwd.read(name) : "<missing>";
        return files;
    }
};

// The merge killed, terminated or interrupted at each step of its write:
// every file is whole at once, the old one or the new one; the next report,
// check or merge of the folder completes or undoes what was cut short and
// removes what was left, so that the set is the old merge's or the new one's.
// Terminated or interrupted, the merge removes its files itself; during the
// renames it completes them first. A journal that cannot be settled is refused.
TEST(AvelinRecMerge, KilledAtAnyStepTheFolderHoldsTheOldSetOrTheNewOne) {
    TwoMerges m;
    const struct {
        std::string faults;
        int status;
        bool completed;
        std::string settle; // the next program in the folder; none: checked as the merge left it
    } cases[] = {
        {"create:m.rec:SIGKILL", 137, false, "report m.rec"},
        {"write:A.grp:SIGKILL", 137, false, "check m.rec"},
        {"fsync:MergeInfo.avl:SIGKILL", 137, false, "report m.rec"},
        {"link:m.rec:SIGKILL", 137, false, "check m.rec"},
        {"close:.avelin-commit:SIGKILL", 137, false, "report m.rec"},
        {"rename:.avelin-commit:SIGKILL", 137, false, "check m.rec"},
        {"rename:B.grp:SIGKILL", 137, true, "report m.rec"},
        {"rename:A.grp:SIGKILL", 137, true, "check m.rec"},
        {"rename:m.rec:SIGKILL", 137, true, "report m.rec"},
        {"rename:MergeInfo.avl:SIGKILL", 137, true, m.older}, // settled, then merged again
        {"syncdir:*:SIGKILL", 137, true, "check m.rec"},
        {"remove:.avelin-commit:SIGKILL", 137, true, "report m.rec"},
        // No hard links (FAT, exFAT): the old file is copied aside, never missing.
        {"link:*:Operation not permitted;rename:m.rec:SIGKILL", 137, true, "check m.rec"},
        {"link:*:Operation not permitted;rename:A.grp:No space left on device", 3, false, ""},
        {"write:m.rec:SIGTERM", 143, false, ""},
        {"create:MergeInfo.avl:SIGINT", 130, false, ""},
        {"rename:A.grp:SIGINT", 130, true, ""},
        {"rename:m.rec:SIGTERM", 143, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.faults);
        RecRun r = RunRec(m.cwd, m.newer, test::kPinnedNow + "AVELIN_FILE_FAULTS='" + c.faults + "' ");
        EXPECT_EQ(r.status, c.status) << r.err;
        for (const auto& [name, bytes] : m.set())
            EXPECT_TRUE(bytes == m.oldSet[name] || bytes == m.newSet[name]) << name << ": " << bytes;
        if (!c.settle.empty()) {
            r = RunRec(m.cwd, c.settle);
            EXPECT_EQ(r.status, 0) << r.err;
        }
        EXPECT_EQ(m.set(), c.settle == m.older ? m.oldSet : c.completed ? m.newSet : m.oldSet);
        EXPECT_EQ(m.cwd.listing(), m.listing);
        ASSERT_EQ(RunRec(m.cwd, m.older).status, 0);
    }
    m.cwd.write(".avelin-commit", "avelin commit journal 1\ncommit\n../m.rec\t.avelin-1-2-3.tmp\t-\nend\n");
    const RecRun report = RunRec(m.cwd, "report m.rec"), merge = RunRec(m.cwd, m.newer);
    EXPECT_EQ(report.status, 1);
    EXPECT_EQ(merge.status, 3);
    for (const std::string& err : {report.err, merge.err})
        EXPECT_TRUE(err.ends_with("/.avelin-commit: a write of several files into this folder was cut short "
                                  "and can be neither completed nor undone: its commit journal is damaged\n"))
            << err;
    EXPECT_EQ(m.set(), m.oldSet);
}

// Two merges into one folder at once: the second waits for the first, both
// succeed, and the folder holds the set of one of them, whole.
TEST(AvelinRecMerge, TwoMergesIntoOneFolderAtOnceLeaveOneWholeSet) {
    TwoMerges m;
    const std::string rec = Quote(AVELIN_BINARY_DIR "/src/cli/avelin-rec");
    const std::string both = "cd " + Quote(m.cwd.path()) + " && export " + test::kPinnedNow + "&& (" + rec +
                             " " + m.older + " >/dev/null 2>&1 & a=$!; " + rec + " " + m.newer +
                             " >/dev/null 2>&1; b=$?; wait $a; exit $(( $? * 16 + b )))";
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        EXPECT_EQ(std::system(both.c_str()), 0);
        const auto set = m.set();
        EXPECT_TRUE(set == m.oldSet || set == m.newSet);
        EXPECT_EQ(m.cwd.listing(), m.listing);
    }
}

// The design check: the plan of a dry run and its warnings; a merge prints
// the warnings and merges, --strict refuses. Only the one merge writes.
TEST(AvelinRecMerge, TheDesignCheckWarnsOfInputsThatDoNotShareTheirVotes) {
    test::TempFolder cwd;
    const auto vote = [](const std::string& name, const std::string& choices) {
        return "\"C:\\T\\" + name + "\"," + choices + ",2,\"1;2;\",\"09:00:00\",\"01/12/2026\"\r\n";
    };
    cwd.write("a.rec", vote("Q1.avl", "3") + vote("Q2.avl", "3"));
    cwd.write("b.rec", vote("Q1.avl", "3") + vote("Q2.avl", "3"));
    cwd.write("c.rec", vote("Q1.avl", "3"));
    cwd.write("d.rec", vote("Q1.avl", "4") + vote("Q2.avl", "3"));
    cwd.write("m.rec", "\"C:\\T\\Q1.avl\",\"3\",\"2\",\"1;2;\",\"09:00:00\",\"01\\12\\2026\"\r\n");
    cwd.write("e.rec", "");
    const std::string missing = "vote \"Q2.avl\" is missing from c.rec (held by 1 of 2 inputs)\n";
    const struct {
        std::string args;
        int status;
        std::string out, err;
    } cases[] = {
        {"--dry-run a b", 0, "no warnings\n", ""},
        {"--dry-run a c", 0, "warning: " + missing, ""},
        {"--dry-run a d", 0, "warning: vote \"Q1.avl\" has 3 choices in a.rec; 4 choices in d.rec\n", ""},
        {"--dry-run a m", 0,
         "warning: m.rec looks like a manual-data file (its counts are in double quotes): the merge reads "
         "its "
         "keypad counts as 0, so its answers will not fill keypad positions\nwarning: vote \"Q2.avl\" is "
         "missing "
         "from m.rec (held by 1 of 2 inputs)\n",
         ""},
        {"--dry-run a e", 0, "warning: e.rec holds no votes\n", ""},
        {"--dry-run --strict a c", 1, "warning: " + missing, ""},
        {"--strict a c", 1, "",
         "avelin-rec: warning: " + missing +
             "avelin-rec: nothing merged: --strict refuses a merge with warnings\n"},
        {"a c", 0, "wrote " + cwd.at("MergeInfo.avl") + "\n", "avelin-rec: warning: " + missing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const RecRun r = RunRec(cwd, "merge -o out " + c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_TRUE(r.out.ends_with(c.out)) << r.out;
        EXPECT_EQ(r.err, c.err);
    }
    const std::string plan = "merge of 2 files: 2 votes, 4 keypad positions\n"
                             "input 1: a.rec, group \"X\", 2 keypads, 2 votes\n"
                             "input 2: b.rec, group \"c\", 2 keypads, 2 votes\n";
    EXPECT_EQ(RunRec(cwd, "merge -n -o out -g X -g c a b").out,
              plan + "would write " + cwd.at("X.grp") + "\nwould replace " + cwd.at("c.grp") +
                  "\nwould replace " + cwd.at("out.rec") + " (needs --force)\nwould replace " +
                  cwd.at("MergeInfo.avl") + "\nno warnings\n");
    EXPECT_EQ(cwd.listing(),
              "MergeInfo.avl\na.grp\na.rec\nb.rec\nc.grp\nc.rec\nd.rec\ne.rec\nm.rec\nout.rec\n");
}

} // namespace
} // namespace avelin
