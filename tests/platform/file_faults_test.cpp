// Failures injected into each step of the machine's own write path: the
// real clean-up runs, the old file stays, and no temporary file is left.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace avelin {
namespace {

class LocalWriteFault : public ::testing::TestWithParam<FileStep> {};

TEST_P(LocalWriteFault, KeepsTheOldFileAndLeavesNoTemporaryFile) {
    test::TempFolder dir;
    dir.write("out.rec", "old content");
    LocalFileSystem files;
    files.faults.fail(GetParam(), "*.rec", "No space left on device");
    for (const std::string name : {"out.rec", "new.rec"}) {
        try {
            files.writeFile(dir.at(name), std::string(100000, 'n'));
            FAIL() << "the write went through";
        } catch (const FileError& e) {
            EXPECT_EQ(e.path(), dir.at(name));
            EXPECT_EQ(e.reason(), "No space left on device");
        }
    }
    EXPECT_EQ(dir.read("out.rec"), "old content");
    EXPECT_EQ(dir.listing(), "out.rec\n");
    // Only the names the pattern matches fail.
    files.writeFile(dir.at("out.grp"), "group");
    EXPECT_EQ(dir.listing(), "out.grp\nout.rec\n");
}

INSTANTIATE_TEST_SUITE_P(EachStep, LocalWriteFault,
                         ::testing::Values(FileStep::CreateTemporary, FileStep::Write, FileStep::Close,
                                           FileStep::Rename),
                         [](const auto& info) { return std::string(FileStepName(info.param)); });

TEST(LocalFileSystem, RemovesFilesButNeverFolders) {
    test::TempFolder dir;
    dir.write("a.grp", "x");
    dir.write("keep/inside", "kept");
    LocalFileSystem files;
    files.removeFile(dir.at("a.grp"));
    files.removeFile(dir.at("a.grp")); // gone already: no failure
    EXPECT_THROW(files.removeFile(dir.at("keep")), FileError);
    dir.write("b.grp", "x");
    files.faults.fail(FileStep::Remove, "b.grp", "Access is denied.");
    try {
        files.removeFile(dir.at("b.grp"));
        FAIL() << "removed";
    } catch (const FileError& e) {
        EXPECT_EQ(e.reason(), "Access is denied.");
    }
    EXPECT_EQ(dir.listing(), "b.grp\nkeep\n");
    EXPECT_EQ(dir.read("keep/inside"), "kept");
}

TEST(LocalFileSystem, ANameOfTheLongestLengthLeavesRoomForTheTemporaryFile) {
    test::TempFolder dir;
    const std::string name = std::string(251, 'n') + ".rec";
    LocalFileSystem files;
    files.writeFile(dir.at(name), "x");
    EXPECT_EQ(dir.read(name), "x");
    EXPECT_EQ(dir.listing(), name + "\n");
}

TEST(FileFaults, ReadFromTextOrRefusedWithTheEntry) {
    const FileFaults faults =
        ParseFileFaults("rename:*.grp:Disk full;write:merged?votes.rec:Input/output error");
    EXPECT_EQ(faults.at(FileStep::Rename, "/out/North.grp"), "Disk full");
    EXPECT_EQ(faults.at(FileStep::Write, "/out/North.grp"), std::nullopt);
    EXPECT_EQ(faults.at(FileStep::Write, "merged votes.rec"), "Input/output error");
    EXPECT_EQ(faults.at(FileStep::Write, "/out/merged votes.rec.bak"), std::nullopt);
    EXPECT_TRUE(ParseFileFaults("").empty());
    for (const std::string bad : {"rename:*.grp", "flush:*:x", "rename::x", "rename:*:"}) {
        try {
            ParseFileFaults(bad);
            ADD_FAILURE() << bad << " accepted";
        } catch (const UsageError& e) {
            EXPECT_NE(std::string(e.what()).find(bad), std::string::npos) << e.what();
        }
    }
}

} // namespace
} // namespace avelin
