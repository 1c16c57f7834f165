// Which grid cells are greyed, what counts as a number, and what the cell
// editor keeps.
#include "manual_entry/grid_rules.h"

#include <gtest/gtest.h>

#include <cmath>

namespace avelin {
namespace {

std::string Greyed(const VoteEntry& v) {
    std::string marks;
    for (int column = 1; column <= 11; ++column)
        marks += IsUnavailableColumn(v, column) ? 'x' : '.';
    return marks;
}

TEST(IsUnavailableColumn, FirstOptionAndOptionCountDecide) {
    VoteEntry v;
    v.OptionCount = 4;
    v.FirstOption = 1;
    EXPECT_EQ(Greyed(v), "x....xxxxxx"); // values 1 to 4
    v.FirstOption = 0;
    EXPECT_EQ(Greyed(v), "....xxxxxxx"); // values 0 to 3
    v.OptionCount = 10;
    v.FirstOption = 1;
    EXPECT_EQ(Greyed(v), "x.........."); // values 1 to 10
    v.OptionCount = 11;
    v.FirstOption = 0;
    EXPECT_EQ(Greyed(v), "...........");
    v.OptionCount = 0;
    EXPECT_EQ(Greyed(v), "xxxxxxxxxxx");
}

TEST(IsNumericText, SignDigitsOnePointExponentAndOuterBlanks) {
    for (const char* yes : {"0", "12", " 7 ", "-3", "+3", "2.5", ".5", "5.", "1e3", "1E+3", "2.5e-1", "\t4"})
        EXPECT_TRUE(IsNumericText(yes)) << '"' << yes << '"';
    for (const char* no :
         {"", " ", "-", "+", ".", "1.2.3", "1 2", "1e", "e3", "abc", "3a", "1,5", "--1", "0x10"})
        EXPECT_FALSE(IsNumericText(no)) << '"' << no << '"';
}

TEST(NumericValue, LeadingNumberWithBlanksIgnored) {
    EXPECT_EQ(NumericValue(""), 0);
    EXPECT_EQ(NumericValue("abc"), 0);
    EXPECT_EQ(NumericValue("12"), 12);
    EXPECT_EQ(NumericValue(" 1 2 "), 12);
    EXPECT_EQ(NumericValue("2.7"), 2.7);
    EXPECT_EQ(NumericValue("-3abc"), -3);
    EXPECT_EQ(NumericValue("1e3"), 1000);
    EXPECT_EQ(NumericValue("4e"), 4); // an exponent without digits is not part of the number
    EXPECT_EQ(NumericValue("1.2.3"), 1.2);
}

TEST(NumericValue, NumbersBeyondADoubleAreHugeOrZero) {
    EXPECT_EQ(NumericValue("1e400"), HUGE_VAL);
    EXPECT_EQ(NumericValue("-1e400"), -HUGE_VAL);
    EXPECT_EQ(NumericValue("1" + std::string(400, '0')), HUGE_VAL);
    // Too close to 0 for a double: 0, not huge.
    EXPECT_EQ(NumericValue("1e-400"), 0);
    EXPECT_EQ(NumericValue("-2.5e-400"), 0);
    EXPECT_EQ(NumericValue("0." + std::string(400, '0') + "1"), 0);
    EXPECT_EQ(NumericValue("1" + std::string(400, '0') + "e-398"), 100);
}

TEST(EditorTextAfterChange, FallsBackOnNonNumbersAndDropsTheSign) {
    EXPECT_EQ(EditorTextAfterChange("17", "1"), "17");
    EXPECT_EQ(EditorTextAfterChange("5a", "5"), "5");   // a letter typed after 5
    EXPECT_EQ(EditorTextAfterChange("-", ""), "");      // a lone sign is undone
    EXPECT_EQ(EditorTextAfterChange("-12", "4"), "12"); // pasted negative number
    EXPECT_EQ(EditorTextAfterChange("-2.5", ""), "2.5");
    EXPECT_EQ(EditorTextAfterChange("", "9"), ""); // clearing is allowed
    EXPECT_EQ(EditorTextAfterChange(" 3 ", ""), " 3 ");
}

} // namespace
} // namespace avelin
