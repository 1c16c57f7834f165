#include "merge/group_names.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"

namespace avelin {
namespace {

using Names = std::vector<std::string>;

std::string Folder(std::initializer_list<const char*> parts) {
    std::string path;
    for (const char* p : parts)
        path += (path.empty() ? "" : std::string(1, kPathSeparator)) + p;
    return path;
}

TEST(DefaultGroupName, FollowsThePassAndCounterRule) {
    const std::string any = Folder({"D:", "Meetings"});
    EXPECT_EQ(DefaultGroupName("Day1", any, {}), "Day1");
    EXPECT_EQ(DefaultGroupName("Day1", any, {"Day1"}), "Day1-1");
    EXPECT_EQ(DefaultGroupName("Day1", any, {"Day1", "Day1-1"}), "Day1-2");
    // The same two names in the other order need a second pass.
    EXPECT_EQ(DefaultGroupName("Day1", any, {"Day1-1", "Day1"}), "Day1-2");
    EXPECT_EQ(DefaultGroupName("A-B", any, {"A-B"}), "A-1");
    EXPECT_EQ(DefaultGroupName("Pre-test", any, {"Pre-test"}), "Pre-test-1");
    // Case is ignored in the comparison but the base name keeps its own.
    EXPECT_EQ(DefaultGroupName("day1", any, {"DAY1"}), "day1-1");
    // The counter keeps counting across passes: "x-1" is taken, so "x-2".
    EXPECT_EQ(DefaultGroupName("x", any, {"x-1", "x"}), "x-2");
    EXPECT_EQ(DefaultGroupName("x", any, {"x", "x-1", "x-2"}), "x-3");
    // A file called ".rec" has an empty base name.
    EXPECT_EQ(DefaultGroupName("", any, {""}), "-1");
    EXPECT_EQ(DefaultGroupName("", any, {"", "-1"}), "-2");
}

TEST(DefaultGroupName, VotesTakesTheSourceFolderName) {
    EXPECT_EQ(DefaultGroupName("votes", Folder({"D:", "Meetings", "North"}), {}), "North");
    EXPECT_EQ(DefaultGroupName("votes", Folder({"D:", "Meetings", "North"}), {"north"}), "North-1");
    EXPECT_EQ(DefaultGroupName("Votes", Folder({"D:", "Meetings", "North"}), {}), "Votes");
    EXPECT_EQ(DefaultGroupName("votes", "North", {}), "North");
}

TEST(CheckForInvalidChars, FindsEachOfTheTenCharacters) {
    for (const char c : std::string("\\/:*?\"<>|,"))
        EXPECT_TRUE(CheckForInvalidChars(std::string("a") + c + "b")) << c;
    EXPECT_FALSE(CheckForInvalidChars(""));
    EXPECT_FALSE(CheckForInvalidChars("North-1 (day; 2) \xE9.rec"));
}

} // namespace
} // namespace avelin
