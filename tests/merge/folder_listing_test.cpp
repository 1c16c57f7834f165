#include "merge/folder_listing.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/temp_folder.h"

namespace avelin {
namespace {

const std::string sep(1, kPathSeparator);
const std::string kMeetingLine = "\"C:\\Talks\\Q.avl\",4,1,\"1;\",\"14:05:09\",\"04/12/2026\"\r\n";

TEST(GetDirName, IsTheTextBeforeTheLastSeparator) {
    EXPECT_EQ(GetDirName("D:" + sep + "Votes" + sep + "Monday" + sep + "a"),
              "D:" + sep + "Votes" + sep + "Monday");
    EXPECT_EQ(GetDirName(sep + "a"), "");
    EXPECT_EQ(LastComponent("D:" + sep + "Meetings" + sep + "North"), "North");
    EXPECT_EQ(LastComponent("North"), "North");
    EXPECT_EQ(LastComponent("D:" + sep), "");
}

TEST(OfferedFiles, OffersResultsFilesOfAMeetingOnly) {
    test::TempFolder dir;
    dir.write("a.rec", kMeetingLine);
    dir.write("b.REC", kMeetingLine);        // extension counts letter case
    dir.write("response.rec", kMeetingLine); // the controller's own file
    // ...but only in lower case, where names tell letter case apart (on
    // Windows "Response.rec" is the same file).
    const bool caseBlind = dir.exists("RESPONSE.rec");
    if (!caseBlind)
        dir.write("Response.rec", kMeetingLine);
    dir.write("notes.txt", kMeetingLine);
    dir.write("x.y.rec", kMeetingLine); // the last dot splits
    dir.write("noext", kMeetingLine);
    dir.write(".rec", kMeetingLine); // empty base name
    dir.write("merged.rec", "\"\\Q.avl\",4,2,\"1;-;\",\"14:05:09\",\"04/12/2026\"\r\n");
    dir.write("empty.rec", "");
    dir.write("blankfirst.rec", "\r\n" + kMeetingLine);
    dir.write("quoteonly.rec", "\""); // too short for the merged-file test
    dir.write("drive.rec", "\"C:\\x\"");
    dir.write("manual.rec", "\"C:\\Talks\\Q.avl\",\"4\",\"1\",\"1;\",\"14:05:00\",\"04\\12\\2026\"\r\n");
    std::filesystem::create_directory(dir.at("folder.rec"));

    LocalFileSystem files;
    std::vector<std::string> offered = OfferedFiles(dir.path(), dir.path(), {}, files);
    std::sort(offered.begin(), offered.end());
    std::vector<std::string> expected{"", "Response", "a", "drive", "manual", "quoteonly", "x.y"};
    if (caseBlind)
        expected.erase(expected.begin() + 1);
    EXPECT_EQ(offered, expected);
}

TEST(OfferedFiles, LeavesOutFilesAlreadySelectedByExactPathAndNeedsTheFolder) {
    test::TempFolder dir;
    dir.write("a.rec", kMeetingLine);
    dir.write("b.rec", kMeetingLine);
    LocalFileSystem files;
    const std::string caption = dir.path();
    std::vector<std::string> offered = OfferedFiles(dir.path(), caption, {caption + sep + "a"}, files);
    EXPECT_EQ(offered, (std::vector<std::string>{"b"}));

    // A selected entry whose folder differs in letter case does not hide the file.
    std::string otherCase = caption;
    std::transform(otherCase.begin(), otherCase.end(), otherCase.begin(), ::toupper);
    offered = OfferedFiles(dir.path(), caption, {otherCase + sep + "a"}, files);
    std::sort(offered.begin(), offered.end());
    EXPECT_EQ(offered, (std::vector<std::string>{"a", "b"}));
    EXPECT_THROW(OfferedFiles("/no/such/folder/anywhere", "x", {}, files), FileError);
}

} // namespace
} // namespace avelin
