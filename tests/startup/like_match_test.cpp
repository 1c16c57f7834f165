// The wildcard comparison of window titles.
#include <gtest/gtest.h>

#include "startup/like_match.h"

namespace avelin {
namespace {

TEST(LikeMatch, StarMatchesAnyRunAlsoAnEmptyOne) {
    EXPECT_TRUE(LikeMatch("MICROSOFT POWERPOINT - [TALK.PPT]", "*POWERPOINT*"));
    EXPECT_TRUE(LikeMatch("POWERPOINT", "*POWERPOINT*"));
    EXPECT_TRUE(LikeMatch("MICROSOFT POWERPOINT - [TALK.PPT]", "*MICROSOFT*POWERPOINT*"));
    EXPECT_FALSE(LikeMatch("POWERPOINT", "*MICROSOFT*POWERPOINT*"));
    // MICROSOFT must come before POWERPOINT.
    EXPECT_FALSE(LikeMatch("POWERPOINT BY MICROSOFT", "*MICROSOFT*POWERPOINT*"));
    EXPECT_TRUE(LikeMatch("", "*"));
    EXPECT_TRUE(LikeMatch("", "**"));
    EXPECT_FALSE(LikeMatch("", "?"));
    // Back-tracking: the first "AB" is not the one that leads to a match.
    EXPECT_TRUE(LikeMatch("XABYABZ", "*AB?"));
    EXPECT_FALSE(LikeMatch("XABYABZQ", "*AB?"));
}

TEST(LikeMatch, WithoutWildcardsTheWholeTextMustBeEqual) {
    EXPECT_TRUE(LikeMatch("AVELIN_CONTROLLER", "AVELIN_CONTROLLER"));
    EXPECT_FALSE(LikeMatch("AVELIN_CONTROLLER - 1", "AVELIN_CONTROLLER"));
    EXPECT_FALSE(LikeMatch("AVELIN_CONTROLLE", "AVELIN_CONTROLLER"));
    EXPECT_FALSE(LikeMatch("X AVELIN_CONTROLLER", "AVELIN_CONTROLLER"));
    EXPECT_TRUE(LikeMatch("", ""));
    EXPECT_FALSE(LikeMatch("A", ""));
    // Characters are compared exactly: upper-casing is the callers' job.
    EXPECT_FALSE(LikeMatch("avelin_controller", "AVELIN_CONTROLLER"));
    EXPECT_FALSE(LikeMatch("\xC9T\xC9", "\xE9T\xE9"));
    EXPECT_TRUE(LikeMatch("\xC9T\xC9", "\xC9T\xC9"));
}

TEST(LikeMatch, QuestionMarkHashAndLists) {
    EXPECT_TRUE(LikeMatch("CALL_CONTROLLER", "CALL?CONTROLLER"));
    EXPECT_FALSE(LikeMatch("CALLCONTROLLER", "CALL?CONTROLLER"));
    EXPECT_TRUE(LikeMatch("VOTE 7", "VOTE #"));
    EXPECT_FALSE(LikeMatch("VOTE X", "VOTE #"));
    EXPECT_FALSE(LikeMatch("VOTE 12", "VOTE #"));
    EXPECT_TRUE(LikeMatch("B", "[ABC]"));
    EXPECT_FALSE(LikeMatch("D", "[ABC]"));
    EXPECT_TRUE(LikeMatch("D", "[!ABC]"));
    EXPECT_FALSE(LikeMatch("A", "[!ABC]"));
    EXPECT_TRUE(LikeMatch("Q", "[A-Z]"));
    EXPECT_FALSE(LikeMatch("5", "[A-Z]"));
    EXPECT_TRUE(LikeMatch("5", "[!A-Z]"));
    EXPECT_TRUE(LikeMatch("-", "[-A]"));
    // Wildcard characters inside a list stand for themselves.
    EXPECT_TRUE(LikeMatch("*", "[*]"));
    EXPECT_FALSE(LikeMatch("X", "[*]"));
    EXPECT_TRUE(LikeMatch("?", "[?]"));
    EXPECT_TRUE(LikeMatch("TALK [1].PPT", "*[[]1]*"));
    // A "[" without its "]" is an ordinary character.
    EXPECT_TRUE(LikeMatch("A[B", "A[B"));
    EXPECT_FALSE(LikeMatch("AXB", "A[B"));
    EXPECT_TRUE(LikeMatch("MICROSOFT POWERPOINT 2", "*POWERPOINT [0-9]"));
}

TEST(UpperCase, OnlyAsciiLettersChange) {
    EXPECT_EQ(UpperCase("merge,d:\\votes\\monday"), "MERGE,D:\\VOTES\\MONDAY");
    // Other bytes stay: the text may be multi-byte in the system code page.
    EXPECT_EQ(UpperCase("caf\xC3\xA9 \xE9"), "CAF\xC3\xA9 \xE9");
}

} // namespace
} // namespace avelin
