// The folder paths the folder browser shows: the chain from the root down,
// the names it lists, and where it opens when a folder has gone.
#include "browse/folder_chain.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/memory_file_system.h"

namespace avelin {
namespace {

// A path written with "/", in the platform's separator.
std::string P(std::string path) {
    std::replace(path.begin(), path.end(), '/', kPathSeparator);
    return path;
}

TEST(FolderChain, FromTheRootDownWithTheNamesTheListShows) {
    EXPECT_EQ(FolderChain(P("/a/b//c/")),
              (std::vector<std::string>{P("/"), P("/a"), P("/a/b"), P("/a/b/c")}));
    EXPECT_EQ(FolderChain(P("a/b")), (std::vector<std::string>{"a", P("a/b")})); // relative: no root
    EXPECT_EQ(NormalFolder(P("///")), P("/"));
    EXPECT_EQ(ChildFolder(P("/"), "a") + "|" + ChildFolder(P("/a"), "b") + "|" + ChildFolder("", "c"),
              P("/a|/a/b|c"));
    EXPECT_EQ(FolderName(P("/")) + "|" + FolderName(P("/a/b/")) + "|" + FolderName("c"), P("/|b|c"));
}

TEST(FolderChain, AFolderThatHasGoneOpensOnItsNearestParentElseTheCurrentFolder) {
    test::MemoryFileSystem files;
    files.files[P("/m/talks/x.rec")] = "";
    files.current = P("/work/");
    EXPECT_EQ(ExistingFolderFor(P("/m/talks/"), files), P("/m/talks"));
    EXPECT_EQ(ExistingFolderFor(P("/m/talks/gone/deeper"), files), P("/m/talks"));
    EXPECT_EQ(ExistingFolderFor(P("/gone/x"), files), P("/work"));
}

TEST(FolderChain, ADrivesCurrentFolderIsReadWithoutLeavingTheCurrentFolder) {
    // Drive D: is entered at its folder; any other drive is not ready.
    struct Drives : test::MemoryFileSystem {
        void changeDrive(const std::string& drive) override {
            if (drive != "D:\\")
                throw FileError(drive, "The device is not ready.");
            current = P("/d/work");
        }
    } files;
    files.current = P("/here");
    EXPECT_EQ(DriveCurrentFolder("D:\\", files), P("/d/work"));
    EXPECT_EQ(files.current, P("/here"));
    EXPECT_EQ(DriveCurrentFolder("E:\\", files), std::nullopt);
    EXPECT_EQ(files.current, P("/here"));
}

} // namespace
} // namespace avelin
