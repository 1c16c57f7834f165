// A merge whose writes fail at any step of any of its files: the failure
// names the file, and the output folder is left exactly as it was (files the
// run replaced get their content back, files it created go). Names Windows
// cannot create are refused before any file is read.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <tuple>

#include "merge/merge_run.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace avelin {
namespace {

std::string Line(const std::string& name, const std::string& responses) {
    return "\"C:\\Talks\\" + name + "\",4," + std::to_string(responses.size() / 2) + ",\"" + responses +
           "\",\"10:00:00\",\"01/12/2026\"\r\n";
}

class MergeFaults : public ::testing::Test {
  protected:
    test::TempFolder in, out;
    LocalFileSystem files;
    test::FixedClock clock;

    // Mon.grp, the output and the marker exist from an earlier merge;
    // Tue.grp does not.
    void SetUp() override {
        in.write("Monday.rec", Line("Beta.avl", "1;2;") + Line("alpha.avl", "-;3;"));
        in.write("Tuesday.rec", Line("Beta.avl", "-;4;"));
        out.write("Mon.grp", "\"MergeInfo.avl\", \"7\"");
        out.write("merged.rec", "previous merge");
        out.write("MergeInfo.avl", "keep");
    }
    MergeRequest Request() const {
        return {{in.at("Monday"), in.at("Tuesday")}, {"Mon", "Tue"}, "merged", out.path()};
    }
    // Names, sizes and contents of everything in the output folder.
    std::string Everything() const {
        std::string all;
        for (const auto& e : std::filesystem::directory_iterator(out.path()))
            all += e.path().filename().string() + "=" +
                   (e.is_regular_file() ? test::ReadBytes(e.path()) : std::string("<folder>")) + "\n";
        return out.listing() + all;
    }
    // The message of the FileError the merge ends with.
    std::string Failure(const MergeRequest& request) {
        try {
            RunMerge(request, files, clock);
        } catch (const FileError& e) {
            return e.what();
        }
        return "merged";
    }
};

class MergeWriteFault : public MergeFaults,
                        public ::testing::WithParamInterface<std::tuple<FileStep, const char*>> {};

TEST_P(MergeWriteFault, NamesTheFileAndLeavesTheOutputFolderAsItWas) {
    const auto [step, target] = GetParam();
    files.faults.fail(step, target, "No space left on device");
    const std::string before = Everything();
    EXPECT_EQ(Failure(Request()), out.at(target) + ": No space left on device");
    EXPECT_EQ(Everything(), before);
    // Once the fault is gone the same merge goes through.
    files.faults = FileFaults();
    RunMerge(Request(), files, clock);
    EXPECT_EQ(out.read("Tue.grp"), "\"MergeInfo.avl\", \"1\"");
    EXPECT_EQ(out.read("MergeInfo.avl"), "");
}

// Every file a merge writes, in the order it writes them.
INSTANTIATE_TEST_SUITE_P(EachStepOfEachFile, MergeWriteFault,
                         ::testing::Combine(::testing::Values(FileStep::CreateTemporary, FileStep::Write,
                                                              FileStep::Close, FileStep::Rename),
                                            ::testing::Values("Mon.grp", "Tue.grp", "merged.rec",
                                                              "MergeInfo.avl")),
                         [](const auto& info) {
                             std::string name = std::string(FileStepName(std::get<0>(info.param))) + "_" +
                                                std::get<1>(info.param);
                             std::replace(name.begin(), name.end(), '.', '_');
                             return name;
                         });

TEST_F(MergeFaults, AFileThatCannotBePutBackIsNamedToo) {
    files.faults.fail(FileStep::Rename, "MergeInfo.avl", "No space left on device");
    files.faults.fail(FileStep::Remove, "Tue.grp", "Access is denied.");
    EXPECT_EQ(Failure(Request()), out.at("MergeInfo.avl") +
                                      ": No space left on device. These files of the merge could not be put "
                                      "back as they were: " +
                                      out.at("Tue.grp") + ": Access is denied.");
    // The others are as they were.
    EXPECT_EQ(out.read("merged.rec"), "previous merge");
    EXPECT_EQ(out.read("Mon.grp"), "\"MergeInfo.avl\", \"7\"");
    EXPECT_EQ(out.listing(), "MergeInfo.avl\nMon.grp\nTue.grp\nmerged.rec\n");
}

TEST_F(MergeFaults, AFolderInThePlaceOfAFileOrAMissingOutputFolderStopsItBeforeAnyWrite) {
    std::filesystem::remove(out.at("merged.rec"));
    std::filesystem::create_directory(out.at("merged.rec"));
    std::string before = Everything();
    EXPECT_EQ(Failure(Request()), out.at("merged.rec") + ": there is a folder of that name");
    EXPECT_EQ(Everything(), before);

    MergeRequest elsewhere = Request();
    elsewhere.outputFolder = out.at("removed");
    EXPECT_EQ(Failure(elsewhere), out.at("removed") + kPathSeparator + "Mon.grp: No such file or directory");
    EXPECT_EQ(Everything(), before);
}

TEST_F(MergeFaults, NamesWindowsCannotCreateAreRefusedBeforeAnyFileIsRead) {
    std::filesystem::remove(in.at("Monday.rec")); // a read would fail differently
    const std::string before = Everything();
    const std::pair<std::function<void(MergeRequest&)>, std::string> cases[] = {
        {[](MergeRequest& r) { r.groupNames[0] = "con"; },
         "group name \"con\" cannot name a file: CON is a device name Windows reserves"},
        {[](MergeRequest& r) { r.groupNames[1] = "Tue."; },
         "group name \"Tue.\" cannot name a file: A name cannot end with a blank or a full stop"},
        {[](MergeRequest& r) { r.groupNames[1] = std::string(252, 'g'); }, "That name is too long"},
        {[](MergeRequest& r) { r.outputName = "Com1.rec"; },
         "output file name \"Com1.rec\" cannot name a file: COM1 is a device name Windows reserves"},
        {[](MergeRequest& r) { r.outputName = "merged "; }, "A name cannot end with a blank or a full stop"},
        {[](MergeRequest& r) { r.outputName = std::string(252, 'm'); }, "That name is too long"},
        {[](MergeRequest& r) { r.outputFolder += kPathSeparator + std::string(4096, 'f'); },
         "That path is too long"},
    };
    for (const auto& [change, reason] : cases) {
        MergeRequest r = Request();
        change(r);
        try {
            RunMerge(r, files, clock);
            ADD_FAILURE() << reason << ": merged";
        } catch (const UsageError& e) {
            EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(Everything(), before);
    // 251 characters and ".rec" make the longest name.
    in.write("Monday.rec", Line("Beta.avl", "1;"));
    MergeRequest longest = Request();
    longest.outputName = std::string(251, 'm');
    EXPECT_EQ(RunMerge(longest, files, clock).outputPath, out.at(longest.outputName + ".rec"));
}

} // namespace
} // namespace avelin
