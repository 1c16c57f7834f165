// The machine's file services: whole-file reading with the system's error
// texts, first lines, listings, and writes that replace a file in one step.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/file_system.h"
#include "support/temp_folder.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace avelin {
namespace {

TEST(LocalFileSystem, ReadsWholeFilesByteForByte) {
    test::TempFolder dir;
    std::string bytes = "line\r\n\xE9\xFF";
    bytes += '\0';
    bytes += "after NUL\r\n";
    dir.write("a.rec", bytes);
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
}

TEST(LocalFileSystem, ListsPlainFilesAndSortedFoldersAndTellsThemApart) {
    test::TempFolder dir;
    dir.write("b.rec", "x");
    dir.write("A.rec", "x");
    dir.write("sub/inner.rec", "x");
    std::filesystem::create_directory(dir.at("Beta"));
    std::filesystem::create_directory(dir.at("alpha"));
    LocalFileSystem files;
    std::vector<std::string> names = files.listFiles(dir.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"A.rec", "b.rec"}));
    EXPECT_EQ(files.listFolders(dir.path()), (std::vector<std::string>{"alpha", "Beta", "sub"}));
    EXPECT_THROW(files.listFiles(dir.at("none")), FileError);

    EXPECT_TRUE(files.fileExists(dir.at("b.rec")));
    EXPECT_FALSE(files.fileExists(dir.at("sub")));
    EXPECT_FALSE(files.fileExists(dir.at("none.rec")));
    EXPECT_TRUE(files.folderExists(dir.at("sub")));
    EXPECT_FALSE(files.folderExists(dir.at("b.rec")));
}

TEST(LocalFileSystem, WriteReplacesTheWholeFileAndLeavesNoTemporaryFile) {
    test::TempFolder dir;
    dir.write("out.rec", "a much longer earlier content");
    LocalFileSystem files;
    files.writeFile(dir.at("out.rec"), "new");
    files.writeFile(dir.at("MergeInfo.avl"), "");
    EXPECT_EQ(dir.read("out.rec"), "new");
    EXPECT_TRUE(dir.exists("MergeInfo.avl"));
    EXPECT_EQ(dir.read("MergeInfo.avl"), "");
    EXPECT_EQ(dir.listing(), "MergeInfo.avl\nout.rec\n");
}

TEST(LocalFileSystem, AFailedWriteReportsThePathAndKeepsTheOldFile) {
    test::TempFolder dir;
    LocalFileSystem files;
    // Missing folder: the temporary file cannot be created.
    try {
        files.writeFile(dir.at("none/out.rec"), "x");
        FAIL() << "wrote into a missing folder";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), dir.at("none/out.rec"));
        EXPECT_EQ(e.reason(), "No such file or directory");
    }
    // A folder in the way: the rename fails and the temporary file goes again.
    std::filesystem::create_directory(dir.at("taken.rec"));
    dir.write("taken.rec/inside", "kept");
    EXPECT_THROW(files.writeFile(dir.at("taken.rec"), "x"), FileError);
    EXPECT_EQ(dir.read("taken.rec/inside"), "kept");
    EXPECT_EQ(dir.listing(), "taken.rec\n");

#ifndef _WIN32
    if (geteuid() != 0) { // root may write anywhere
        dir.write("ro/out.rec", "old");
        chmod(dir.at("ro").c_str(), 0555);
        EXPECT_THROW(files.writeFile(dir.at("ro/out.rec"), "new"), FileError);
        chmod(dir.at("ro").c_str(), 0755);
        EXPECT_EQ(dir.read("ro/out.rec"), "old");
    }
#endif
}

TEST(LocalFileSystem, CurrentDirectoryChangesOnlyToExistingFolders) {
    test::TempFolder dir;
    LocalFileSystem files;
    const std::string before = files.currentDirectory();
    files.setCurrentDirectory(dir.path());
    EXPECT_TRUE(std::filesystem::equivalent(files.currentDirectory(), dir.path()));
    dir.write("rel.rec", "relative");
    EXPECT_EQ(files.readAll("rel.rec"), "relative");
    EXPECT_THROW(files.setCurrentDirectory(dir.at("none")), FileError);
    EXPECT_TRUE(std::filesystem::equivalent(files.currentDirectory(), dir.path()));
    files.changeDrive(dir.path()); // no drives here: nothing changes
    EXPECT_TRUE(std::filesystem::equivalent(files.currentDirectory(), dir.path()));
    files.setCurrentDirectory(before);
}

} // namespace
} // namespace avelin
