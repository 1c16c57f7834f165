// The whole merge on real files: what it writes; requests and inputs it
// refuses before it writes anything; and writes that fail at any step of any
// file, which name the file and leave the output folder exactly as it was
// (replaced files are put back by renaming, created files go).
#include "merge/merge_run.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "formats/windows_names.h"
#include "support/fakes.h"
#include "support/run_rec.h"
#include "support/temp_folder.h"

namespace avelin {
namespace {

namespace fs = std::filesystem;

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
    const std::string monday = Line("Beta.avl", "1;2;") + Line("alpha.avl", "-;3;");
    const std::string tuesday = Line("Delta.avl", "4;-;") + Line("Beta.avl", "-;-;");

    // The inputs, and what an earlier merge left: Mon.grp, the output and the
    // marker (no Tue.grp).
    void SetUp() override {
        in.write("Monday.rec", monday), in.write("Tuesday.rec", tuesday);
        out.write("Mon.grp", "\"MergeInfo.avl\", \"7\"");
        out.write("merged.rec", "previous merge");
        out.write("MergeInfo.avl", "keep");
    }
    MergeRequest Request(std::vector<std::string> groups = {"Mon", "Tue"},
                         std::string output = "merged") const {
        std::vector<std::string> inputs;
        for (std::size_t i = 0; i < groups.size(); ++i)
            inputs.push_back(in.at(i % 2 ? "Tuesday" : "Monday"));
        return {inputs, groups, output, out.path()};
    }
    // Names, contents and inodes (a file put back is the old file, not a
    // copy) of everything in the output folder.
    std::string Everything() const {
        std::string all = out.listing();
        for (const auto& e : fs::directory_iterator(out.path())) {
            struct stat st {};
            stat(e.path().string().c_str(), &st); // no inode numbers on Windows: 0
            all += e.path().filename().string() + "=" +
                   (e.is_regular_file() ? test::ReadBytes(e.path()) : "<folder>") + " #" +
                   std::to_string(st.st_ino) + "\n";
        }
        return all;
    }
    // The message of the error the merge, or `act`, ends with.
    std::string Failure(const MergeRequest& request) {
        return Failure([&] { RunMerge(request, files, clock); });
    }
    template <class Act> std::string Failure(Act act) {
        try {
            act();
        } catch (const std::runtime_error& e) {
            return e.what();
        }
        return "merged";
    }
};

TEST_F(RunMergeTest, WritesTheMergedFileTheGroupFilesAndTheMarker) {
    out.write("Older.grp", "\"MergeInfo.avl\", \"5\"");
    in.write("Empty.rec", "");
    // The third input adds no keypads and still gets its group file; an empty
    // group name is a name; "Tue..grp" keeps its full stop on Windows.
    MergeRequest request = Request({"Mon", "Tue.", ""});
    request.files[2] = in.at("Empty");
    const MergeResult result = RunMerge(request, files, clock);
    // Votes in the order of all names without regard to case; Tuesday's
    // second keypad answered nothing, so it belongs to no group.
    EXPECT_EQ(out.read("merged.rec"), "\"\\alpha.avl\",4,4,\"-;3;-;-;\"" + kStamp +
                                          "\"\\Beta.avl\",4,4,\"1;2;-;-;\"" + kStamp +
                                          "\"\\Delta.avl\",4,4,\"-;-;4;-;\"" + kStamp +
                                          "\"\\MergeInfo.avl\",3,4,\"0;0;1;-;\"" + kStamp);
    EXPECT_EQ(out.read("Mon.grp") + out.read("Tue..grp") + out.read(".grp") + out.read("MergeInfo.avl"),
              "\"MergeInfo.avl\", \"0\"\"MergeInfo.avl\", \"1\"\"MergeInfo.avl\", \"2\"");
    EXPECT_EQ(out.read("Older.grp"), "\"MergeInfo.avl\", \"5\""); // other groups stay
    EXPECT_EQ(out.listing(), ".grp\nMergeInfo.avl\nMon.grp\nOlder.grp\nTue..grp\nmerged.rec\n");
    EXPECT_EQ(result.voteOrder, (std::vector<std::string>{"alpha.avl", "Beta.avl", "Delta.avl"}));
    EXPECT_EQ(in.read("Monday.rec") + in.read("Tuesday.rec"), monday + tuesday); // inputs kept
    // A comma is no character a file name lacks: a default group name
    // "Mon,North" and an output name picked as "Votes, all.rec" merge; 251
    // characters and ".rec" make the longest output name (on Windows, as
    // many as the longest path leaves).
    const std::size_t longest = std::min<std::size_t>(251, kMaxPathLength - out.path().size() - 1 - 4);
    for (const std::string& output : {std::string("Votes, all.rec"), std::string(longest, 'm')})
        EXPECT_EQ(RunMerge(Request({"Mon,North", "Tue"}, output), files, clock).outputPath,
                  out.at(output.ends_with(".rec") ? output : output + ".rec"));
    EXPECT_EQ(out.read("Mon,North.grp"), "\"MergeInfo.avl\", \"0\"");
}

TEST_F(RunMergeTest, RefusedRequestsWriteNoFile) {
    MergeRequest deep = Request();
    deep.outputFolder += kPathSeparator + std::string(4096, 'f');
    const std::pair<MergeRequest, std::string> refused[] = {
        {Request({"Mon"}), "a merge needs at least 2 input files"},
        {Request(std::vector<std::string>(11, "g")), "a merge takes at most 10 input files, not 11"},
        {{{in.at("Monday"), in.at("Tuesday")}, {"Mon"}, "merged", out.path()},
         "2 input files need 2 group names, not 1"},
        {Request({"Mon", "a/b"}), "group name \"a/b\" holds a character a file name cannot hold"},
        {Request({"North", "nORTH"}), "group names \"North\" and \"nORTH\" are the same name"},
        // Names Windows cannot create, so that no write can fail on them.
        {Request({"con", "Tue"}),
         "group name \"con\" cannot name a file: CON is a device name Windows reserves"},
        {Request({"Mon", "Tue"}, ""), "no output file name"},
        {Request({"Mon", "Tue"}, "a?b"),
         "output file name \"a?b\" holds a character a file name cannot hold"},
        {Request({"Mon", "Tue"}, "Com1.rec"),
         "output file name \"Com1.rec\" cannot name a file: COM1 is a device"},
        {Request({"Mon", "Tue"}, std::string(252, 'm')), "That name is too long"},
        {deep, "That path is too long"},
    };
    const std::string before = Everything();
    for (const auto& [request, reason] : refused)
        EXPECT_NE(Failure(request).find(reason), std::string::npos) << reason << " / " << Failure(request);
    EXPECT_EQ(Everything(), before);
}

// Bad inputs, a folder or a read-only file in an output's place, a missing
// output folder, an input that changes before the write, and a failure at
// any step of any file's write: each is named, and the output folder stays
// exactly as it was.
TEST_F(RunMergeTest, FailuresNameTheFileAndLeaveTheOutputFolderAsItWas) {
    const std::string nul(1, '\0');
    const std::pair<std::function<void(MergeRequest&)>, std::string> failures[] = {
        {[&](auto&) { in.write("Tuesday.rec", Line("D", "4;") + "\"C:\\T\\B\",4,1\r\n"); },
         in.at("Tuesday.rec") + ", line 2: fewer than six fields"},
        {[&](auto&) { in.write("Tuesday.rec", "PK\x03\x04\r\n" + nul); },
         in.at("Tuesday.rec") + ", line 2: not a results file: it holds a NUL byte"},
        {[&](auto&) { fs::remove(in.at("Tuesday.rec")); }, in.at("Tuesday.rec") + ": " + test::kNoSuchFile},
        {[&](auto&) { fs::remove(in.at("Tuesday.rec")), fs::create_directory(in.at("Tuesday.rec")); },
         in.at("Tuesday.rec") + ": Is a folder, not a file"},
        // 20000 + 20000 keypads do not fit one line's 16-bit count.
        {[&](auto&) {
             for (const char* name : {"Monday.rec", "Tuesday.rec"})
                 in.write(name, "\"C:\\T\\A\",4,20000,\"\",\"t\",\"d\"\r\n");
         },
         in.at("Tuesday.rec") + ": the keypads of the inputs up to this file come to 40000 positions, more "
                                "than the 32767 a merged file can hold"},
        {[&](auto&) { fs::remove(out.at("merged.rec")), fs::create_directory(out.at("merged.rec")); },
         out.at("merged.rec") + ": there is a folder of that name"},
        {[&](MergeRequest& r) { r.outputFolder = out.at("gone"); },
         out.at("gone") + kPathSeparator + "Mon.grp: " + test::kNoSuchFolder},
        // Windows refuses to replace a read-only file; so does every platform.
        {[&](auto&) { fs::permissions(out.at("Mon.grp"), fs::perms::owner_read); },
         out.at("Mon.grp") + ": The file is read-only"},
    };
    for (const auto& [setUp, message] : failures) {
        MergeRequest request = Request();
        setUp(request);
        const std::string before = Everything();
        EXPECT_EQ(Failure(request), message);
        EXPECT_EQ(Everything(), before) << message;
        fs::remove_all(in.at("Tuesday.rec")), fs::remove_all(out.at("merged.rec"));
        fs::permissions(out.at("Mon.grp"), fs::perms::owner_all);
        SetUp();
    }
    // An input cut short, or changed to the same size, between the reading
    // and the writing.
    const std::string before = Everything();
    std::string changed = tuesday;
    changed[changed.find("4;-;")] = '5';
    for (const std::string& text : {tuesday.substr(0, 20), changed}) {
        const MergePlan plan = PrepareMerge(Request(), files, clock);
        in.write("Tuesday.rec", text);
        EXPECT_EQ(Failure([&] { WriteMerge(plan, files); }),
                  in.at("Tuesday.rec") + ": the file changed while it was being merged");
        EXPECT_EQ(Everything(), before);
        in.write("Tuesday.rec", tuesday);
    }
    // Every step of every file a merge writes; once the fault is gone the
    // same merge goes through.
    for (const FileStep step :
         {FileStep::CreateTemporary, FileStep::Write, FileStep::Sync, FileStep::Close, FileStep::Rename}) {
        for (const char* target : {"Mon.grp", "Tue.grp", "merged.rec", "MergeInfo.avl"}) {
            files.faults.fail(step, target, "No space left on device");
            EXPECT_EQ(Failure(Request()), out.at(target) + ": No space left on device") << FileStepName(step);
            EXPECT_EQ(Everything(), before) << FileStepName(step) << " " << target;
            files.faults = FileFaults();
        }
    }
    // A folder that cannot be flushed after the renames: the files are in
    // place, the journal stays, and the next write settles it.
    files.faults.fail(FileStep::SyncFolder, "*", "Input/output error");
    EXPECT_EQ(Failure(Request()), out.path() + ": Input/output error");
    EXPECT_TRUE(out.exists(".avelin-commit"));
    files.faults = FileFaults();
    // A replaced file keeps its permissions (Windows has none but read-only).
    fs::permissions(out.at("merged.rec"), fs::perms::owner_read | fs::perms::owner_write);
    RunMerge(Request(), files, clock);
    EXPECT_EQ(out.read("Tue.grp") + out.read("MergeInfo.avl"), "\"MergeInfo.avl\", \"1\"");
#ifndef _WIN32
    EXPECT_EQ(fs::status(out.at("merged.rec")).permissions(), fs::perms::owner_read | fs::perms::owner_write);
#endif
    EXPECT_EQ(out.listing(), "MergeInfo.avl\nMon.grp\nTue.grp\nmerged.rec\n");
}

TEST_F(RunMergeTest, AFileThatCannotBePutBackIsNamedToo) {
    files.faults.fail(FileStep::Rename, "MergeInfo.avl", "No space left on device");
    files.faults.fail(FileStep::Remove, "Tue.grp", "Access is denied.");
    EXPECT_EQ(Failure(Request()),
              out.at("MergeInfo.avl") +
                  ": No space left on device. These files could not be put back as they were: " +
                  out.at("Tue.grp") + ": Access is denied.");
    EXPECT_EQ(out.read("merged.rec") + out.read("Mon.grp"), "previous merge\"MergeInfo.avl\", \"7\"");
    // The journal stays, so that the next write finishes putting it back.
    EXPECT_EQ(out.listing(), ".avelin-commit\nMergeInfo.avl\nMon.grp\nTue.grp\nmerged.rec\n");
    files.faults = FileFaults();
    files.writeFile(out.at("other.txt"), "");
    EXPECT_EQ(out.listing(), "MergeInfo.avl\nMon.grp\nmerged.rec\nother.txt\n");
    EXPECT_EQ(out.read("merged.rec") + out.read("Mon.grp"), "previous merge\"MergeInfo.avl\", \"7\"");
}

// avelin-rec refuses a read-only file too, with a write failure's exit status.
TEST_F(RunMergeTest, AvelinRecRefusesAReadOnlyFile) {
    fs::permissions(out.at("Mon.grp"), fs::perms::owner_read);
    const std::string before = Everything();
    const test::RecRun r =
        RunRec(out, "merge --force -g Mon -g Tue -o merged " + test::Quote(in.at("Monday")) + " " +
                        test::Quote(in.at("Tuesday")));
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(r.err.ends_with("avelin-rec: " + out.at("Mon.grp") + ": The file is read-only\n")) << r.err;
    EXPECT_EQ(Everything(), before);
}

} // namespace
} // namespace avelin
