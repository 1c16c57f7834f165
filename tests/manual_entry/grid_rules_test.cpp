// Which grid cells are greyed, what counts as a number, and what the cell
// editor keeps. The window tests rely on these and check only the window.
#include "manual_entry/grid_rules.h"

#include <gtest/gtest.h>

#include <cmath>

namespace avelin {
namespace {

TEST(IsUnavailableColumn, ValuesFromTheFirstOptionForOptionCountValues) {
    const struct {
        int options, first;
        std::string greyed; // columns 1 to 11, values 0 to 10
    } cases[] = {
        {4, 1, "x....xxxxxx"},  {4, 0, "....xxxxxxx"}, {10, 1, "x.........."},
        {11, 0, "..........."}, {0, 0, "xxxxxxxxxxx"},
    };
    for (const auto& c : cases) {
        VoteEntry v;
        v.OptionCount = static_cast<std::int16_t>(c.options);
        v.FirstOption = static_cast<std::int16_t>(c.first);
        std::string marks;
        for (int column = 1; column <= 11; ++column)
            marks += IsUnavailableColumn(v, column) ? 'x' : '.';
        EXPECT_EQ(marks, c.greyed) << c.options << " options from " << c.first;
    }
}

TEST(IsNumericText, SignDigitsOnePointExponentAndOuterBlanks) {
    for (const char* yes : {"0", "12", " 7 ", "-3", "+3", "2.5", ".5", "5.", "1e3", "1E+3", "2.5e-1", "\t4"})
        EXPECT_TRUE(IsNumericText(yes)) << '"' << yes << '"';
    for (const char* no :
         {"", " ", "-", "+", ".", "1.2.3", "1 2", "1e", "e3", "abc", "3a", "1,5", "--1", "0x10"})
        EXPECT_FALSE(IsNumericText(no)) << '"' << no << '"';
}

// The leading number, blanks ignored; beyond a double huge, too close to 0 zero.
TEST(NumericValue, LeadingNumberBlanksIgnoredAndOutOfRangeValues) {
    const std::string zeros(400, '0'), huge = "1" + zeros, tiny = "0." + zeros + "1",
                                       scaled = "1" + zeros + "e-398";
    const std::pair<std::string, double> cases[] = {
        {"", 0},          {"abc", 0},    {" 1 2 ", 12},    {"2.7", 2.7},        {"-3abc", -3},
        {"1e3", 1000},    {"4e", 4},     {"1.2.3", 1.2},   {"1e400", HUGE_VAL}, {"-1e400", -HUGE_VAL},
        {huge, HUGE_VAL}, {"1e-400", 0}, {"-2.5e-400", 0}, {tiny, 0},           {scaled, 100},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(NumericValue(text), value) << '"' << text << '"';
}

TEST(EditorTextAfterChange, FallsBackOnNonNumbersAndDropsTheSign) {
    const struct {
        std::string typed, cell, kept;
    } cases[] = {
        {"17", "1", "17"},  {"5a", "5", "5"}, // a letter typed after 5
        {"-", "", ""},                        // a lone sign is undone
        {"-12", "4", "12"}, {"-2.5", "", "2.5"}, {"", "9", ""}, {" 3 ", "", " 3 "},
        {"-100000", "", "100000"}, {"-1e14", "", "100000000000000"}, // plain digits, not "1e+05"
        {"-1e15", "", "1e+15"},                                      // beyond 15 digits an exponent
    };
    for (const auto& c : cases)
        EXPECT_EQ(EditorTextAfterChange(c.typed, c.cell), c.kept) << '"' << c.typed << '"';
}

} // namespace
} // namespace avelin
