#include "formats/vote_line.h"

#include <gtest/gtest.h>

namespace avelin {
namespace {

const std::string kMeetingLine = "\"C:\\Talks\\Vote 1.avl\",4,4,\"1;-;3;2;\",\"14:05:09\",\"04/12/2026\"";
const std::string kMergedLine = "\"\\Vote 1.avl\",4,4,\"1;-;3;2;\",\"14:05:09\",\"04/12/2026\"";
const std::string kManualLine =
    "\"C:\\Talks\\Vote 1.avl\",\"4\",\"4\",\"1;2;2;3;\",\"14:05:00\",\"04\\12\\2026\"";

TEST(GetVoteName, TakesTheTextAfterTheLastBackslashUpToTheFirstCommaAndGetVoteTimeTheFifthField) {
    const std::pair<std::string, std::string> names[] = {
        {kMeetingLine, "Vote 1.avl"},
        {kMergedLine, "Vote 1.avl"},
        {"\"C:\\Talks\\Vote 1.avl\"", "Vote 1.avl"},
        {kManualLine, "2026"}, // on a whole manual-data line the last backslash lies in the date
        {"\"C:\\T\\Rating.AVL;3\",5,2,\"1;2;\",\"t\",\"d\"", "Rating.AVL;3"},
        {"\"no backslash\"", "no backslash"},
        {"", ""},
    };
    for (const auto& [line, name] : names)
        EXPECT_EQ(GetVoteName(line), name) << line;
    EXPECT_EQ(GetVoteTime(kMeetingLine), "14:05:09");
    EXPECT_EQ(GetVoteTime(kManualLine), "14:05:00");
    EXPECT_EQ(GetVoteTime(""), "");
    EXPECT_EQ(GetVoteTime("\"\\a\",1,2"), ""); // too short to hold a time
}

TEST(ParseVoteLine, ReadsBothVariantsAndConvertsCountsAsNumbersRoundedHalfToEven) {
    EXPECT_EQ(ParseVoteLine(kMeetingLine),
              (VoteLine{"Vote 1.avl", 4, 4, "1;-;3;2;", "14:05:09", "04/12/2026"}));
    // Quoted counts read as 0; the date keeps its backslashes.
    EXPECT_EQ(ParseVoteLine(kManualLine),
              (VoteLine{"Vote 1.avl", 0, 0, "1;2;2;3;", "14:05:00", "04\\12\\2026"}));
    // Extra fields are ignored; quotes go wherever they stand.
    EXPECT_EQ(ParseVoteLine("\"\\a\",1,0,\"1\"\";\",\"t\",\"d\",\"extra\"").responses, "1;");
    const std::pair<std::string, int> counts[] = {
        {"  12", 12}, {"-7", -7},  {"12abc", 12}, {"abc", 0},         {"\"5\"", 0},         {"2.5", 2},
        {"3.5", 4},   {"2.51", 3}, {"-2.5", -2},  {"-32768", -32768}, {"-32768.5", -32768}, // even neighbour
                                                                                            // in range
    };
    for (const auto& [field, value] : counts)
        EXPECT_EQ(ParseVoteLine("\"\\a\"," + field + ",0,\"\",\"t\",\"d\"").choiceCount, value) << field;
}

TEST(ParseVoteLine, RefusesLinesItCannotHold) {
    const std::pair<std::string, std::string> refused[] = {
        {"\"\\a\",1,2,\"1;\",\"t\"", "fewer than six fields"},
        {"just text", "fewer than six fields"},
        {"\"\\a\",32768,2,\"\",\"t\",\"d\"", "choice count 32768 is outside -32768 to 32767"},
        {"\"\\a\",1,-32769,\"\",\"t\",\"d\"", "keypad count -32769 is outside -32768 to 32767"},
        {"\"\\a\",32767.5,2,\"\",\"t\",\"d\"", "choice count 32767.5 is outside -32768 to 32767"},
        {"\"\\a\",1" + std::string(400, '9') + ",2,\"\",\"t\",\"d\"",
         "choice count 1" + std::string(400, '9')},
    };
    for (const auto& [line, reason] : refused) {
        try {
            ParseVoteLine(line);
            ADD_FAILURE() << line << " accepted";
        } catch (const MalformedLine& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, reason.size()), reason);
        }
    }
}

TEST(FormatVoteLine, WritesTheCanonicalLineThatReadsBackAsTheRecord) {
    EXPECT_EQ(FormatVoteLine({"Vote 1.avl", 4, 4, "1;-;3;2;", "14:05:09", "04/12/2026"}),
              kMergedLine + "\r\n");
    const VoteLine odd{"\xE9 x;1", -3, 0, "", "", "\\"};
    const std::string line = FormatVoteLine(odd);
    EXPECT_EQ(line, "\"\\\xE9 x;1\",-3,0,\"\",\"\",\"\\\"\r\n");
    EXPECT_EQ(ParseVoteLine(line.substr(0, line.size() - 2)), odd);
}

TEST(SplitLines, SplitsAtEveryCrLfOnly) {
    EXPECT_EQ(SplitLines("a\r\nb"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitLines("a\r\nb\r\n"), (std::vector<std::string>{"a", "b", ""}));
    EXPECT_EQ(SplitLines(""), (std::vector<std::string>{""}));
    EXPECT_EQ(SplitLines("a\nb\r\r\n\r\n"), (std::vector<std::string>{"a\nb\r", "", ""}));
}

} // namespace
} // namespace avelin
