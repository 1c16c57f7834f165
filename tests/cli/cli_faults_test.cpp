// avelin-rec when a write fails at any step of any file it writes, and with
// names Windows cannot create: exit status 3 (or 2 for a refused name), the
// path and the reason on stderr, and every file left as it was.
#include <gtest/gtest.h>

#include "platform/file_faults.h"
#include "support/run_rec.h"

namespace avelin {
namespace {

using test::Quote;
using test::RecRun;
using test::RunRec;

const std::string kMeeting = AVELIN_SOURCE_DIR "/tests/cli/fixtures/meeting/";
const std::string kCreate = "create " + Quote(AVELIN_SOURCE_DIR "/examples/presentation/Demo Talk.pptx") +
                            " --counts " + Quote(AVELIN_SOURCE_DIR "/tests/cli/fixtures/create/counts.csv");
const std::string kInputs = Quote(kMeeting + "Monday.rec") + " " + Quote(kMeeting + "Tuesday.rec");
const FileStep kWriteSteps[] = {FileStep::CreateTemporary, FileStep::Write, FileStep::Close,
                                FileStep::Rename};

std::string Fault(FileStep step, const std::string& name) {
    return test::kPinnedNow + "AVELIN_FILE_FAULTS=" +
           Quote(std::string(FileStepName(step)) + ":" + name + ":No space left on device") + " ";
}

// Every file below the folder with its content.
std::string Everything(const test::TempFolder& cwd) {
    std::string all = cwd.listing();
    for (const std::string name :
         {"out/Monday.grp", "out/Tuesday.grp", "out/merged.rec", "out/MergeInfo.avl", "Manual Votes.rec"})
        all += name + "=" + (cwd.exists(name) ? cwd.read(name) : "<none>") + "\n";
    return all;
}

TEST(AvelinRecFaults, AFailedMergeWriteNamesTheFileAndLeavesTheFolderAsItWas) {
    test::TempFolder cwd;
    cwd.write("out/merged.rec", "earlier merge");
    cwd.write("out/Monday.grp", "\"MergeInfo.avl\", \"3\"");
    const std::string before = Everything(cwd);
    for (const FileStep step : kWriteSteps) {
        for (const std::string target : {"Monday.grp", "Tuesday.grp", "merged.rec", "MergeInfo.avl"}) {
            SCOPED_TRACE(std::string(FileStepName(step)) + " " + target);
            const RecRun r = RunRec(cwd, "merge --force -o out/merged " + kInputs, Fault(step, target));
            EXPECT_EQ(r.status, 3);
            EXPECT_EQ(r.err, "avelin-rec: out/" + target + ": No space left on device\n");
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(Everything(cwd), before);
        }
    }
}

TEST(AvelinRecFaults, AFailedCreateWriteNamesTheFileAndKeepsTheEarlierOne) {
    test::TempFolder cwd;
    cwd.write("Manual Votes.rec", "earlier results");
    const std::string before = Everything(cwd);
    for (const FileStep step : kWriteSteps) {
        SCOPED_TRACE(FileStepName(step));
        const RecRun r =
            RunRec(cwd, kCreate + " --force --output 'Manual Votes.rec'", Fault(step, "Manual Votes.rec"));
        EXPECT_EQ(r.status, 3);
        EXPECT_EQ(r.err, "avelin-rec: Manual Votes.rec: No space left on device\n");
        EXPECT_EQ(Everything(cwd), before);
    }
}

TEST(AvelinRecFaults, NamesWindowsCannotCreateAndBadFaultTextsAreRefused) {
    test::TempFolder cwd;
    cwd.write("con.rec", test::ReadBytes(kMeeting + "Monday.rec")); // only other systems allow it
    cwd.write("out/.keep", "");
    const std::string before = Everything(cwd);
    const std::pair<std::string, std::string> cases[] = {
        {"merge -o out/m -g Con " + kInputs, "group name \"Con\" cannot name a file: CON is a device name"},
        {"merge -o out/m con.rec " + Quote(kMeeting + "Tuesday.rec"),
         "group name \"con\" cannot name a file"},
        {"merge -o out/m -g 'North.' " + kInputs, "A name cannot end with a blank or a full stop"},
        {"merge -o out/Com1 " + kInputs, "\"Com1\" cannot name a file: COM1 is a device name"},
        {"merge -o 'out/m ' " + kInputs, "A name cannot end with a blank or a full stop"},
        {kCreate + " --output aux.rec", "aux.rec: AUX is a device name Windows reserves\n"},
        {kCreate + " --output out/lpt1", "out/lpt1: LPT1 is a device name Windows reserves\n"},
        {kCreate + " --output 'votes.rec.'", "votes.rec.: A name cannot end with a blank or a full stop\n"},
    };
    for (const auto& [args, message] : cases) {
        SCOPED_TRACE(args);
        const RecRun r = RunRec(cwd, args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    }
    const RecRun r =
        RunRec(cwd, "merge -o out/m " + kInputs, test::kPinnedNow + "AVELIN_FILE_FAULTS=flush:x:y ");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("\"flush:x:y\""), std::string::npos) << r.err;
    EXPECT_EQ(Everything(cwd), before);
}

} // namespace
} // namespace avelin
