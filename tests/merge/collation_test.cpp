#include "merge/collation.h"

#include <gtest/gtest.h>

namespace avelin {
namespace {

TEST(Collation, FoldsOnlyAsciiLettersAndComparesBytesUnsigned) {
    EXPECT_EQ(CompareNoCase("alpha", "ALPHA"), 0);
    EXPECT_LT(CompareNoCase("alpha", "Beta"), 0);
    EXPECT_GT(CompareNoCase("beta", "Alpha"), 0);
    EXPECT_LT(CompareNoCase("ab", "abc"), 0);
    // "_" lies between "Z" and "a" in bytes; folded, every letter comes after it.
    EXPECT_GT(CompareNoCase("Z", "_"), 0);
    EXPECT_GT(CompareNoCase("z", "_"), 0);
    // Bytes above 127 come after ASCII and are not folded.
    EXPECT_LT(CompareNoCase("z", "\xE9"), 0);
    EXPECT_NE(CompareNoCase("\xC9", "\xE9"), 0);
    EXPECT_TRUE(EqualNoCase("North", "nORTH"));
    EXPECT_FALSE(EqualNoCase("North", "North "));
}

TEST(SortedList, InsertsAfterEqualEntriesAndKeepsOrder) {
    SortedList list;
    EXPECT_EQ(list.insert("delta"), 0u);
    EXPECT_EQ(list.insert("Beta"), 0u);
    EXPECT_EQ(list.insert("alpha"), 0u);
    EXPECT_EQ(list.insert("BETA"), 2u); // after the equal "Beta"
    EXPECT_EQ(list.insert("beta"), 3u);
    EXPECT_EQ(list.items(), (std::vector<std::string>{"alpha", "Beta", "BETA", "beta", "delta"}));
    EXPECT_TRUE(list.contains("BETA"));
    EXPECT_FALSE(list.contains("bEta"));
    list.removeAt(1);
    list.removeAt(99); // out of range: nothing
    EXPECT_EQ(list.items(), (std::vector<std::string>{"alpha", "BETA", "beta", "delta"}));
    EXPECT_EQ(SortedInsertPosition(list.items(), "Charlie"), 3u);
}

} // namespace
} // namespace avelin
