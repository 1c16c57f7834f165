// The machine's file services: whole-file reading with the system's error
// texts, listings, and writes that replace a file in one step. (A write that
// fails at each of its steps is covered with the file faults.)
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace avelin {
namespace {

TEST(LocalFileSystem, ReadsWholeFilesByteForByteAndListsFilesAndFolders) {
    test::TempFolder dir;
    const std::string bytes = std::string("line\r\n\xE9\xFF") + '\0' + "after NUL\r\n";
    dir.write("a.rec", bytes);
    dir.write("B.rec", "x");
    dir.write("sub/inner.rec", "x");
    std::filesystem::create_directory(dir.at("Beta"));
    std::filesystem::create_directory(dir.at("alpha"));
    LocalFileSystem files;
    EXPECT_EQ(files.readAll(dir.at("a.rec")), bytes);
    try {
        files.readAll(dir.at("missing.rec"));
        FAIL() << "read a missing file";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), dir.at("missing.rec"));
        EXPECT_EQ(e.reason(), "No such file or directory");
    }
    EXPECT_THROW(files.readAll(dir.path()), FileError); // a folder is no file

    std::vector<std::string> names = files.listFiles(dir.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"B.rec", "a.rec"}));
    EXPECT_EQ(files.listFolders(dir.path()), (std::vector<std::string>{"alpha", "Beta", "sub"}));
    EXPECT_THROW(files.listFiles(dir.at("none")), FileError);
    EXPECT_TRUE(files.fileExists(dir.at("B.rec")) && files.folderExists(dir.at("sub")));
    EXPECT_FALSE(files.fileExists(dir.at("sub")) || files.folderExists(dir.at("B.rec")));
}

TEST(LocalFileSystem, WritesReplaceTheWholeFileAndAMissingFolderIsNamed) {
    test::TempFolder dir;
    dir.write("out.rec", "a much longer earlier content");
    LocalFileSystem files;
    files.writeFile(dir.at("out.rec"), "new");
    files.writeFile(dir.at("MergeInfo.avl"), "");
    EXPECT_EQ(dir.read("out.rec"), "new");
    EXPECT_EQ(dir.read("MergeInfo.avl"), "");
    EXPECT_EQ(dir.listing(), "MergeInfo.avl\nout.rec\n"); // no temporary file stays

    try { // missing folder: the temporary file cannot be created
        files.writeFile(dir.at("none/out.rec"), "x");
        FAIL() << "wrote into a missing folder";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), dir.at("none/out.rec"));
        EXPECT_EQ(e.reason(), "No such file or directory");
    }
}

TEST(LocalFileSystem, CurrentDirectoryChangesOnlyToExistingFolders) {
    test::TempFolder dir;
    LocalFileSystem files;
    const std::string before = files.currentDirectory();
    files.setCurrentDirectory(dir.path());
    dir.write("rel.rec", "relative");
    EXPECT_EQ(files.readAll("rel.rec"), "relative");
    EXPECT_THROW(files.setCurrentDirectory(dir.at("none")), FileError);
    files.changeDrive(dir.path()); // no drives here: nothing changes
    EXPECT_TRUE(std::filesystem::equivalent(files.currentDirectory(), dir.path()));
    files.setCurrentDirectory(before);
}

} // namespace
} // namespace avelin
