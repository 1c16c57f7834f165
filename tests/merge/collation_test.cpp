#include "merge/collation.h"

#include <gtest/gtest.h>

namespace avelin {
namespace {

TEST(Collation, FoldsOnlyAsciiLettersAndComparesBytesUnsigned) {
    EXPECT_EQ(CompareNoCase("alpha", "ALPHA"), 0);
    EXPECT_LT(CompareNoCase("alpha", "Beta"), 0);
    EXPECT_LT(CompareNoCase("ab", "abc"), 0);
    // "_" lies between "Z" and "a" in bytes; folded, every letter comes after it.
    EXPECT_GT(CompareNoCase("Z", "_"), 0);
    // Bytes above 127 come after ASCII and are not folded.
    EXPECT_LT(CompareNoCase("z", "\xE9"), 0);
    EXPECT_NE(CompareNoCase("\xC9", "\xE9"), 0);
    EXPECT_TRUE(EqualNoCase("North", "nORTH"));
    EXPECT_FALSE(EqualNoCase("North", "North "));
}

// Where the window's sorted lists put a new entry: names equal but for case
// keep the order in which they came.
TEST(SortedInsertPosition, GoesAfterEveryEntryThatComparesEqual) {
    const std::vector<std::string> list = {"alpha", "Beta", "BETA", "delta"};
    EXPECT_EQ(SortedInsertPosition(list, "beta"), 3u);
    EXPECT_EQ(SortedInsertPosition(list, "Charlie"), 3u);
    EXPECT_EQ(SortedInsertPosition(list, "ALPHA"), 1u);
    EXPECT_EQ(SortedInsertPosition(list, "a"), 0u);
    EXPECT_EQ(SortedInsertPosition(list, "Echo"), 4u);
}

} // namespace
} // namespace avelin
