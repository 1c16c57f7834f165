// The whole merge on real files: what it writes; requests and inputs it
// refuses before it reads or writes anything; and writes that fail at any
// step of any file, which name the file and leave the output folder exactly
// as it was (replaced files are put back by renaming, created files go).
#include "merge/merge_run.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <tuple>

#include "support/fakes.h"
#include "support/run_rec.h"
#include "support/temp_folder.h"

namespace avelin {
namespace {

const std::string kStamp = ",\"14:05:09\",\"04/12/2026\"\r\n";

std::string Line(const std::string& name, const std::string& responses) {
    return "\"C:\\Talks\\" + name + "\",4," + std::to_string(responses.size() / 2) + ",\"" + responses +
           "\",\"10:00:00\",\"01/12/2026\"\r\n";
}

class RunMergeTest : public ::testing::Test {
  protected:
    test::TempFolder in, out;
    LocalFileSystem files;
    test::FixedClock clock;

    void SetUp() override {
        in.write("Monday.rec", Line("Beta.avl", "1;2;") + Line("alpha.avl", "-;3;"));
        in.write("Tuesday.rec", Line("Delta.avl", "4;-;") + Line("Beta.avl", "-;-;"));
    }
    MergeRequest Request() const {
        return {{in.at("Monday"), in.at("Tuesday")}, {"Mon", "Tue"}, "merged", out.path()};
    }
    // What an earlier merge left: Mon.grp, the output and the marker (no Tue.grp).
    void EarlierMerge() {
        out.write("Mon.grp", "\"MergeInfo.avl\", \"7\"");
        out.write("merged.rec", "previous merge");
        out.write("MergeInfo.avl", "keep");
    }
    // Names, contents and files (inodes: a file put back is the old file,
    // not a copy) of everything in the output folder.
    std::string Everything() const {
        std::string all = out.listing();
        for (const auto& e : std::filesystem::directory_iterator(out.path())) {
            struct stat st {};
            stat(e.path().c_str(), &st);
            all += e.path().filename().string() + "=" +
                   (e.is_regular_file() ? test::ReadBytes(e.path()) : std::string("<folder>")) + " #" +
                   std::to_string(st.st_ino) + "\n";
        }
        return all;
    }
    // The message of the error of type E that the merge ends with; another
    // type of error fails the test.
    template <class E> std::string Failure(const MergeRequest& request) {
        try {
            RunMerge(request, files, clock);
        } catch (const E& e) {
            return e.what();
        }
        return "merged";
    }
};

TEST_F(RunMergeTest, WritesTheMergedFileTheGroupFilesAndTheMarker) {
    out.write("MergeInfo.avl", "old marker content");
    out.write("Older.grp", "\"MergeInfo.avl\", \"5\"");
    in.write("Empty.rec", "");
    MergeRequest request = Request();
    request.files.push_back(in.at("Empty")); // adds no keypads, still gets its group file
    request.groupNames.push_back("");        // an empty group name is a valid name
    request.groupNames[1] = "Tue.";          // its file "Tue..grp" keeps the full stop on Windows
    const MergeResult result = RunMerge(request, files, clock);
    // A comma is no character a file name lacks: a default group name
    // "Mon,North" and an output name picked as "Votes, all.rec" merge.
    test::TempFolder other;
    MergeRequest commas = Request();
    commas.groupNames[0] = "Mon,North";
    commas.outputName = "Votes, all.rec";
    commas.outputFolder = other.path();
    RunMerge(commas, files, clock);
    EXPECT_EQ(other.listing(), "MergeInfo.avl\nMon,North.grp\nTue.grp\nVotes, all.rec\n");
    EXPECT_EQ(other.read("Mon,North.grp"), "\"MergeInfo.avl\", \"0\"");

    // Votes in the order of all names without regard to case; Tuesday's
    // second keypad answered nothing, so it belongs to no group.
    EXPECT_EQ(out.read("merged.rec"), "\"\\alpha.avl\",4,4,\"-;3;-;-;\"" + kStamp +
                                          "\"\\Beta.avl\",4,4,\"1;2;-;-;\"" + kStamp +
                                          "\"\\Delta.avl\",4,4,\"-;-;4;-;\"" + kStamp +
                                          "\"\\MergeInfo.avl\",3,4,\"0;0;1;-;\"" + kStamp);
    EXPECT_EQ(out.read("Mon.grp"), "\"MergeInfo.avl\", \"0\"");
    EXPECT_EQ(out.read("Tue..grp"), "\"MergeInfo.avl\", \"1\"");
    EXPECT_EQ(out.read(".grp"), "\"MergeInfo.avl\", \"2\"");
    EXPECT_EQ(out.read("MergeInfo.avl"), "");
    EXPECT_EQ(out.read("Older.grp"), "\"MergeInfo.avl\", \"5\""); // other groups stay
    EXPECT_EQ(out.listing(), ".grp\nMergeInfo.avl\nMon.grp\nOlder.grp\nTue..grp\nmerged.rec\n");
    EXPECT_EQ(result.voteOrder, (std::vector<std::string>{"alpha.avl", "Beta.avl", "Delta.avl"}));
    EXPECT_EQ(in.read("Tuesday.rec"), Line("Delta.avl", "4;-;") + Line("Beta.avl", "-;-;")); // inputs kept
}

TEST_F(RunMergeTest, RefusedRequestsReadAndWriteNoFile) {
    std::filesystem::remove(in.at("Monday.rec")); // a read would end with a FileError instead
    const std::pair<std::function<void(MergeRequest&)>, std::string> refused[] = {
        {[](MergeRequest& r) { r.files.pop_back(), r.groupNames.pop_back(); }, "at least 2 input files"},
        {[&](MergeRequest& r) {
             for (int i = 0; i < 9; ++i)
                 r.files.push_back(in.at("Monday")), r.groupNames.push_back("g" + std::to_string(i));
         },
         "at most 10 input files, not 11"},
        {[](MergeRequest& r) { r.groupNames.pop_back(); }, "2 input files need 2 group names, not 1"},
        {[](MergeRequest& r) { r.groupNames[1] = "a/b"; }, "group name \"a/b\" holds a character"},
        {[](MergeRequest& r) {
             r.groupNames = {"North", "nORTH"};
         },
         "\"North\" and \"nORTH\" are the same name"},
        // Accented letters too: Windows would give both one group file.
        {[](MergeRequest& r) {
             r.groupNames = {"\xC3\x84pfel", "\xC3\xA4PFEL"};
         },
         "are the same name"},
        {[](MergeRequest& r) { r.outputName = ""; }, "no output file name"},
        {[](MergeRequest& r) { r.outputName = "a?b"; }, "output file name \"a?b\" holds a character"},
        // Names Windows cannot create, so that no write can fail on them.
        {[](MergeRequest& r) { r.groupNames[0] = "con"; },
         "group name \"con\" cannot name a file: CON is a device name Windows reserves"},
        {[](MergeRequest& r) { r.groupNames[1] = std::string(252, 'g'); }, "That name is too long"},
        {[](MergeRequest& r) { r.outputName = "Com1.rec"; },
         "output file name \"Com1.rec\" cannot name a file: COM1 is a device name Windows reserves"},
        {[](MergeRequest& r) { r.outputName = std::string(252, 'm'); }, "That name is too long"},
        {[](MergeRequest& r) { r.outputFolder += kPathSeparator + std::string(4096, 'f'); },
         "That path is too long"},
    };
    for (const auto& [change, reason] : refused) {
        MergeRequest r = Request();
        change(r);
        const std::string message = Failure<UsageError>(r);
        EXPECT_NE(message.find(reason), std::string::npos) << reason << " / " << message;
    }
    EXPECT_EQ(out.listing(), "");
    // 251 characters and ".rec" make the longest output name.
    in.write("Monday.rec", Line("Beta.avl", "1;"));
    MergeRequest longest = Request();
    longest.outputName = std::string(251, 'm');
    EXPECT_EQ(RunMerge(longest, files, clock).outputPath, out.at(longest.outputName + ".rec"));
}

TEST_F(RunMergeTest, BadInputsStopTheMergeBeforeAnyWrite) {
    EarlierMerge();
    const std::string before = Everything();
    const auto failure = [&](const std::string& tuesday) {
        in.write("Tuesday.rec", tuesday);
        return Failure<std::runtime_error>(Request());
    };
    EXPECT_EQ(failure(Line("Delta.avl", "4;") + "\"C:\\Talks\\Beta.avl\",4,1\r\n"),
              in.at("Tuesday.rec") + ", line 2: fewer than six fields");
    EXPECT_EQ(failure("PK\x03\x04\r\n" + std::string(1, '\0')),
              in.at("Tuesday.rec") + ", line 2: not a results file: it holds a NUL byte");
    MergeRequest missing = Request();
    missing.files[1] = in.at("Wednesday");
    EXPECT_EQ(Failure<FileError>(missing), in.at("Wednesday.rec") + ": No such file or directory");
    std::filesystem::create_directory(in.at("Wednesday.rec"));
    EXPECT_EQ(Failure<FileError>(missing), in.at("Wednesday.rec") + ": Is a folder, not a file");
    // 20000 + 20000 keypads do not fit one line's 16-bit count.
    in.write("Monday.rec", "\"C:\\T\\A\",4,20000,\"\",\"t\",\"d\"\r\n");
    EXPECT_EQ(failure("\"C:\\T\\A\",4,20000,\"\",\"t\",\"d\"\r\n"),
              in.at("Tuesday.rec") + ": the keypads of the inputs up to this file come to 40000 "
                                     "positions, more than the 32767 a merged file can hold");
    EXPECT_EQ(Everything(), before);
}

// Windows refuses to replace a read-only file; so does every platform here,
// before anything is written, also through avelin-rec.
TEST_F(RunMergeTest, AReadOnlyFileIsNotReplaced) {
    EarlierMerge();
    std::filesystem::permissions(out.at("Mon.grp"), std::filesystem::perms::all,
                                 std::filesystem::perm_options::remove);
    std::filesystem::permissions(out.at("Mon.grp"), std::filesystem::perms::owner_read);
    const std::string before = Everything();
    EXPECT_EQ(Failure<FileError>(Request()), out.at("Mon.grp") + ": The file is read-only");
    const test::RecRun r =
        RunRec(out, "merge --force -g Mon -g Tue -o merged " + test::Quote(in.at("Monday")) + " " +
                        test::Quote(in.at("Tuesday")));
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "avelin-rec: " + out.at("Mon.grp") + ": The file is read-only\n");
    EXPECT_EQ(Everything(), before);
}

// An input that goes between the reading and the writing is named, and the
// merge writes nothing.
TEST_F(RunMergeTest, AnInputThatGoesBeforeTheWriteIsNamed) {
    EarlierMerge();
    const std::string before = Everything();
    const MergePlan plan = PrepareMerge(Request(), files, clock);
    std::filesystem::remove(in.at("Tuesday.rec"));
    try {
        WriteMerge(plan, files);
        FAIL() << "written";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), in.at("Tuesday.rec"));
    }
    EXPECT_EQ(Everything(), before);
}

class MergeWriteFault : public RunMergeTest,
                        public ::testing::WithParamInterface<std::tuple<FileStep, const char*>> {};

TEST_P(MergeWriteFault, NamesTheFileAndLeavesTheOutputFolderAsItWas) {
    const auto [step, target] = GetParam();
    EarlierMerge();
    files.faults.fail(step, target, "No space left on device");
    const std::string before = Everything();
    EXPECT_EQ(Failure<FileError>(Request()), out.at(target) + ": No space left on device");
    EXPECT_EQ(Everything(), before);
    // Once the fault is gone the same merge goes through.
    files.faults = FileFaults();
    RunMerge(Request(), files, clock);
    EXPECT_EQ(out.read("Tue.grp"), "\"MergeInfo.avl\", \"1\"");
    EXPECT_EQ(out.read("MergeInfo.avl"), "");
}

// Every step of every file a merge writes, in the order it writes them.
INSTANTIATE_TEST_SUITE_P(
    EachStepOfEachFile, MergeWriteFault,
    ::testing::Combine(::testing::Values(FileStep::CreateTemporary, FileStep::Write, FileStep::Sync,
                                         FileStep::Close, FileStep::Rename),
                       ::testing::Values("Mon.grp", "Tue.grp", "merged.rec", "MergeInfo.avl")),
    [](const auto& info) {
        std::string name = std::string(FileStepName(std::get<0>(info.param))) + "_" + std::get<1>(info.param);
        std::replace(name.begin(), name.end(), '.', '_');
        return name;
    });

TEST_F(RunMergeTest, AFileThatCannotBePutBackIsNamedToo) {
    EarlierMerge();
    files.faults.fail(FileStep::Rename, "MergeInfo.avl", "No space left on device");
    files.faults.fail(FileStep::Remove, "Tue.grp", "Access is denied.");
    EXPECT_EQ(Failure<FileError>(Request()),
              out.at("MergeInfo.avl") +
                  ": No space left on device. These files of the merge could not "
                  "be put back as they were: " +
                  out.at("Tue.grp") + ": Access is denied.");
    // The others are as they were.
    EXPECT_EQ(out.read("merged.rec"), "previous merge");
    EXPECT_EQ(out.read("Mon.grp"), "\"MergeInfo.avl\", \"7\"");
    EXPECT_EQ(out.listing(), "MergeInfo.avl\nMon.grp\nTue.grp\nmerged.rec\n");
}

TEST_F(RunMergeTest, AFolderInThePlaceOfAFileOrAMissingOutputFolderStopsItBeforeAnyWrite) {
    EarlierMerge();
    std::filesystem::remove(out.at("merged.rec"));
    std::filesystem::create_directory(out.at("merged.rec"));
    const std::string before = Everything();
    EXPECT_EQ(Failure<FileError>(Request()), out.at("merged.rec") + ": there is a folder of that name");
    MergeRequest elsewhere = Request();
    elsewhere.outputFolder = out.at("removed");
    EXPECT_EQ(Failure<FileError>(elsewhere),
              out.at("removed") + kPathSeparator + "Mon.grp: No such file or directory");
    EXPECT_EQ(Everything(), before);
}

} // namespace
} // namespace avelin
