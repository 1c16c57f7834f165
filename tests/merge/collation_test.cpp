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

// Group names name files, which Windows tells apart without regard to the
// case of any letter; elsewhere names are UTF-8. (On Windows names are in
// the ANSI code page; the Windows layer's checks go through its letters.)
#ifndef _WIN32
TEST(SameNameAnyCase, FoldsTheLettersOfEveryScriptItKnows) {
    const std::pair<const char*, const char*> same[] = {
        {"North", "nORTH"},
        {"\xC3\x84pfel", "\xC3\xA4PFEL"},                                  // Äpfel, äPFEL
        {"\xC5\x81\xC3\xB3" "d\xC5\xBA", "\xC5\x82\xC3\x93" "D\xC5\xB9"},      // Łódź, łÓDŹ
        {"\xC5\xB8", "\xC3\xBF"},                                          // Ÿ, ÿ
        {"\xCE\xA3\xCE\xB1", "\xCF\x83\xCE\x91"},                          // Σα, σΑ
        {"\xD0\x81\xD0\xB6", "\xD1\x91\xD0\x96"},                          // Ёж, ёЖ
    };
    for (const auto& [a, b] : same)
        EXPECT_TRUE(SameNameAnyCase(a, b)) << a << " / " << b;
    const std::pair<const char*, const char*> different[] = {
        {"North", "North "},
        {"\xC3\x84pfel", "Apfel"},     // the accent counts
        {"\xC3\x9F", "ss"},            // ß has no single upper-case letter
        {"a\xC3", "a\xE3"},            // stray bytes equal only themselves
        {"\xC3\x97", "\xC3\xB7"},      // × and ÷ are no letters
    };
    for (const auto& [a, b] : different)
        EXPECT_FALSE(SameNameAnyCase(a, b)) << a << " / " << b;
}
#endif

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
