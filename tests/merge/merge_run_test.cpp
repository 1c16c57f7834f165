// The whole merge on real files: what is written, and that nothing is written
// (or replaced) when the request or an input is bad. (Failed writes are
// covered with the file faults.)
#include "merge/merge_run.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/fakes.h"
#include "support/temp_folder.h"

namespace avelin {
namespace {

const std::string kStamp = ",\"14:05:09\",\"04/12/2026\"\r\n";

std::string Line(const std::string& name, const std::string& responses) {
    return "\"C:\\Talks\\" + name + "\",4," + std::to_string(responses.size() / 2) + ",\"" + responses +
           "\",\"10:00:00\",\"01/12/2026\"\r\n";
}

// The machine's file services, counting reads and recording writes.
class RecordingFileSystem : public LocalFileSystem {
  public:
    mutable int reads = 0;
    std::vector<std::string> written;
    std::string readAll(const std::string& path) const override {
        ++reads;
        return LocalFileSystem::readAll(path);
    }
    void writeFile(const std::string& path, const std::string& content) override {
        LocalFileSystem::writeFile(path, content);
        written.push_back(path);
    }
};

class RunMergeTest : public ::testing::Test {
  protected:
    test::TempFolder in, out;
    RecordingFileSystem files;
    test::FixedClock clock;

    void SetUp() override {
        in.write("Monday.rec", Line("Beta.avl", "1;2;") + Line("alpha.avl", "-;3;"));
        in.write("Tuesday.rec", Line("Delta.avl", "4;-;") + Line("Beta.avl", "-;-;"));
    }
    MergeRequest Request() const {
        return {{in.at("Monday"), in.at("Tuesday")}, {"Mon", "Tue"}, "merged", out.path()};
    }
};

TEST_F(RunMergeTest, WritesTheMergedFileTheGroupFilesAndTheMarker) {
    out.write("MergeInfo.avl", "old marker content");
    out.write("Older.grp", "\"MergeInfo.avl\", \"5\"");
    const MergeResult result = RunMerge(Request(), files, clock);

    // Tuesday's second keypad answered nothing: it belongs to no group.
    EXPECT_EQ(out.read("merged.rec"), "\"\\alpha.avl\",4,4,\"-;3;-;-;\"" + kStamp +
                                          "\"\\Beta.avl\",4,4,\"1;2;-;-;\"" + kStamp +
                                          "\"\\Delta.avl\",4,4,\"-;-;4;-;\"" + kStamp +
                                          "\"\\MergeInfo.avl\",2,4,\"0;0;1;-;\"" + kStamp);
    EXPECT_EQ(out.read("Mon.grp"), "\"MergeInfo.avl\", \"0\"");
    EXPECT_EQ(out.read("Tue.grp"), "\"MergeInfo.avl\", \"1\"");
    EXPECT_EQ(out.read("MergeInfo.avl"), "");
    EXPECT_EQ(out.read("Older.grp"), "\"MergeInfo.avl\", \"5\""); // other groups stay
    EXPECT_EQ(out.listing(), "MergeInfo.avl\nMon.grp\nOlder.grp\nTue.grp\nmerged.rec\n");

    EXPECT_EQ(result.outputPath, out.at("merged.rec"));
    EXPECT_EQ(result.markerPath, out.at("MergeInfo.avl"));
    EXPECT_EQ(result.groupFilePaths, (std::vector<std::string>{out.at("Mon.grp"), out.at("Tue.grp")}));
    EXPECT_EQ(result.voteOrder, (std::vector<std::string>{"alpha.avl", "Beta.avl", "Delta.avl"}));
    EXPECT_EQ(files.written, (std::vector<std::string>{out.at("Mon.grp"), out.at("Tue.grp"),
                                                       out.at("merged.rec"), out.at("MergeInfo.avl")}));
    // The inputs are left as they were.
    EXPECT_EQ(in.read("Tuesday.rec"), Line("Delta.avl", "4;-;") + Line("Beta.avl", "-;-;"));
}

TEST_F(RunMergeTest, AnEmptyInputStillGetsItsGroupFile) {
    in.write("Empty.rec", "");
    MergeRequest r = Request();
    r.files.push_back(in.at("Empty"));
    r.groupNames.push_back(""); // an empty group name is a valid name
    RunMerge(r, files, clock);
    EXPECT_EQ(out.read(".grp"), "\"MergeInfo.avl\", \"2\"");
    EXPECT_NE(out.read("merged.rec").find("\"\\MergeInfo.avl\",3,4,\"0;0;1;-;\""), std::string::npos);
}

TEST_F(RunMergeTest, RefusedRequestsTouchNoFile) {
    const std::function<void(MergeRequest&)> changes[] = {
        [](MergeRequest& r) { r.files.pop_back(), r.groupNames.pop_back(); }, // one file
        [&](MergeRequest& r) {
            for (int i = 0; i < 9; ++i) // eleven files
                r.files.push_back(in.at("Monday")), r.groupNames.push_back("g" + std::to_string(i));
        },
        [](MergeRequest& r) { r.groupNames.pop_back(); },
        [](MergeRequest& r) { r.groupNames[1] = "a/b"; },
        [](MergeRequest& r) {
            r.groupNames = {"North", "nORTH"};
        },
        [](MergeRequest& r) { r.outputName = ""; },
        [](MergeRequest& r) { r.outputName = "a?b"; },
    };
    for (const auto& change : changes) {
        MergeRequest r = Request();
        change(r);
        EXPECT_THROW(RunMerge(r, files, clock), UsageError);
    }
    EXPECT_EQ(files.reads, 0);
    EXPECT_EQ(out.listing(), "");
}

TEST_F(RunMergeTest, BadInputsStopTheMergeBeforeAnyWrite) {
    out.write("merged.rec", "previous merge");
    out.write("MergeInfo.avl", "keep");
    const auto failure = [&](const MergeRequest& r) -> std::string {
        try {
            RunMerge(r, files, clock);
        } catch (const std::runtime_error& e) { // FileError and FormatError name the input
            return e.what();
        }
        return "accepted";
    };
    in.write("Tuesday.rec", Line("Delta.avl", "4;") + "\"C:\\Talks\\Beta.avl\",4,1\r\n");
    EXPECT_EQ(failure(Request()), in.at("Tuesday.rec") + ", line 2: fewer than six fields");
    MergeRequest missing = Request();
    missing.files[1] = in.at("Wednesday");
    EXPECT_EQ(failure(missing), in.at("Wednesday.rec") + ": No such file or directory");
    // 20000 + 20000 keypads do not fit one line's 16-bit count.
    in.write("Monday.rec", "\"C:\\T\\A\",4,20000,\"\",\"t\",\"d\"\r\n");
    in.write("Tuesday.rec", "\"C:\\T\\A\",4,20000,\"\",\"t\",\"d\"\r\n");
    EXPECT_EQ(failure(Request()), in.at("Tuesday.rec") +
                                      ": the keypads of the inputs up to this file come to 40000 "
                                      "positions, more than the 32767 a merged file can hold");

    EXPECT_TRUE(files.written.empty());
    EXPECT_EQ(out.listing(), "MergeInfo.avl\nmerged.rec\n");
    EXPECT_EQ(out.read("merged.rec"), "previous merge");
    EXPECT_EQ(out.read("MergeInfo.avl"), "keep");
}

} // namespace
} // namespace avelin
