// The machine's file services: reads with the system's error texts, listings,
// writes that replace a file in one step, read-only files left alone, and
// removals. Failures injected into every step of a write, and the putting
// back of a group of files, are tested through the merge.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/file_system.h"
#include "platform/folder_lock.h"
#include "support/temp_folder.h"

namespace avelin {
namespace {

// The reason of the FileError that `act` throws for `path`.
template <class Act> std::string FailureOf(const std::string& path, Act act) {
    try {
        act();
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), path);
        return e.reason();
    }
    return "no failure";
}

TEST(LocalFileSystem, ReadsFilesByteForByteAndListsFilesAndFolders) {
    test::TempFolder dir;
    const std::string bytes = std::string("line\r\n\xE9\xFF") + '\0' + "after NUL\r\n";
    dir.write("a.rec", bytes);
    dir.write("B.rec", "x");
    dir.write("sub/inner.rec", "x");
    std::filesystem::create_directory(dir.at("Beta"));
    std::filesystem::create_directory(dir.at("alpha"));
    LocalFileSystem files;
    EXPECT_EQ(files.readAll(dir.at("a.rec")), bytes);
    char piece[8];
    const auto reader = files.openForReading(dir.at("a.rec"));
    EXPECT_EQ(std::string(piece, reader->readAt(4, piece, 4)), "\r\n\xE9\xFF");
    EXPECT_EQ(std::string(piece, reader->readAt(bytes.size() - 3, piece, 8)), "L\r\n"); // the end
    for (const auto& failing : {std::pair(dir.at("none.rec"), test::kNoSuchFile),
                                std::pair(dir.path(), std::string("Is a folder, not a file"))}) {
        const std::string& path = failing.first;
        EXPECT_EQ(FailureOf(path, [&] { files.readAll(path); }), failing.second);
        EXPECT_EQ(FailureOf(path, [&] { files.openForReading(path); }), failing.second);
    }
    std::vector<std::string> names = files.listFiles(dir.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"B.rec", "a.rec"}));
    EXPECT_EQ(files.listFolders(dir.path()), (std::vector<std::string>{"alpha", "Beta", "sub"}));
    EXPECT_THROW(files.listFiles(dir.at("none")), FileError);
    EXPECT_TRUE(files.fileExists(dir.at("B.rec")) && files.folderExists(dir.at("sub")));
    EXPECT_FALSE(files.fileExists(dir.at("sub")) || files.folderExists(dir.at("B.rec")));
}

TEST(LocalFileSystem, WritesReplaceTheWholeFileButNeverAReadOnlyOne) {
    test::TempFolder dir;
    dir.write("out.rec", "a much longer earlier content");
    LocalFileSystem files;
    files.writeFile(dir.at("out.rec"), "new");
    files.writeFile(dir.at("MergeInfo.avl"), "");
    // The temporary name is short enough that a name of the longest length works.
    const std::string longest = std::string(251, 'n') + ".rec";
    files.writeFile(dir.at(longest), "x");
    EXPECT_EQ(dir.read("out.rec") + dir.read("MergeInfo.avl") + dir.read(longest), "newx");
    EXPECT_EQ(FailureOf(dir.at("none/out.rec"), [&] { files.writeFile(dir.at("none/out.rec"), "x"); }),
              test::kNoSuchFolder);
    // Refused as Windows refuses to replace it, alone or in a group.
    std::filesystem::permissions(dir.at("out.rec"), std::filesystem::perms::owner_read);
    EXPECT_EQ(FailureOf(dir.at("out.rec"), [&] { files.writeFile(dir.at("out.rec"), "newer"); }),
              "The file is read-only");
    EXPECT_EQ(FailureOf(dir.at("out.rec"),
                        [&] {
                            files.writeFiles({dir.at("a"), dir.at("out.rec")}, [](auto, FileSink&) {});
                        }),
              "The file is read-only");
    EXPECT_EQ(dir.read("out.rec"), "new");
    EXPECT_EQ(dir.listing(), "MergeInfo.avl\n" + longest + "\nout.rec\n"); // no temporary file left
}

// A write waits for another program's lock on its folder, and is refused,
// naming the folder, when it does not end in time.
TEST(LocalFileSystem, AWriteIntoAFolderLockedByAnotherIsRefusedAfterWaiting) {
    test::TempFolder dir;
    LocalFileSystem files;
    files.lockWait = std::chrono::milliseconds(100);
    {
        const FolderLock held(dir.path(), std::chrono::milliseconds(0));
        EXPECT_EQ(FailureOf(dir.path(), [&] { files.writeFile(dir.at("out.rec"), "x"); }), kFolderBusyReason);
        EXPECT_EQ(dir.listing(), ".avelin-lock\n");
    }
    files.writeFile(dir.at("out.rec"), "x");
    EXPECT_EQ(dir.listing(), "out.rec\n");
}

TEST(LocalFileSystem, RelativeNamesFollowTheCurrentDirectory) {
    test::TempFolder dir;
    dir.write("rel.rec", "relative");
    LocalFileSystem files;
    const std::string before = files.currentDirectory();
    files.setCurrentDirectory(dir.path());
    EXPECT_EQ(files.readAll("rel.rec"), "relative");
    EXPECT_THROW(files.setCurrentDirectory(dir.at("none")), FileError);
    files.changeDrive(dir.path()); // no drives here: nothing changes
    EXPECT_TRUE(std::filesystem::equivalent(files.currentDirectory(), dir.path()));
    files.setCurrentDirectory(before);
}

TEST(LocalFileSystem, RemovesFilesButNeverFolders) {
    test::TempFolder dir;
    dir.write("a.grp", "x");
    dir.write("keep/inside", "kept");
    LocalFileSystem files;
    files.removeFile(dir.at("a.grp"));
    files.removeFile(dir.at("a.grp")); // gone already: no failure
    EXPECT_THROW(files.removeFile(dir.at("keep")), FileError);
    EXPECT_EQ(dir.listing() + dir.read("keep/inside"), "keep\nkept");
}

TEST(FileFaults, ReadFromTextOrRefusedWithTheEntry) {
    const FileFaults faults =
        ParseFileFaults("rename:*.grp:Disk full;write:merged?votes.rec:Input/output error;fsync:*:x");
    EXPECT_EQ(faults.at(FileStep::Rename, "/out/North.grp"), "Disk full");
    EXPECT_EQ(faults.at(FileStep::Sync, "a"), "x");
    EXPECT_EQ(faults.at(FileStep::Write, "/out/North.grp"), std::nullopt);
    EXPECT_EQ(faults.at(FileStep::Write, "merged votes.rec"), "Input/output error");
    EXPECT_EQ(faults.at(FileStep::Write, "/out/merged votes.rec.bak"), std::nullopt);
    EXPECT_TRUE(ParseFileFaults("").empty());
    EXPECT_EQ(ParseFileFaults("syncdir:*:SIGKILL;link:*:y").at(FileStep::Link, "a"), "y");
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
