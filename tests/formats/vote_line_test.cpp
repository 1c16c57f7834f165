#include "formats/vote_line.h"

#include <gtest/gtest.h>

namespace avelin {
namespace {

const std::string kMeetingLine = "\"C:\\Talks\\Vote 1.avl\",4,4,\"1;-;3;2;\",\"14:05:09\",\"04/12/2026\"";
const std::string kMergedLine = "\"\\Vote 1.avl\",4,4,\"1;-;3;2;\",\"14:05:09\",\"04/12/2026\"";
const std::string kManualLine =
    "\"C:\\Talks\\Vote 1.avl\",\"4\",\"4\",\"1;2;2;3;\",\"14:05:00\",\"04\\12\\2026\"";

TEST(GetVoteName, TakesTheTextAfterTheLastBackslashUpToTheFirstComma) {
    EXPECT_EQ(GetVoteName(kMeetingLine), "Vote 1.avl");
    EXPECT_EQ(GetVoteName(kMergedLine), "Vote 1.avl");
    EXPECT_EQ(GetVoteName("\"C:\\Talks\\Vote 1.avl\""), "Vote 1.avl");
    // On a whole manual-data line the last backslash lies in the date.
    EXPECT_EQ(GetVoteName(kManualLine), "2026");
    EXPECT_EQ(GetVoteName("\"C:\\T\\Rating.AVL;3\",5,2,\"1;2;\",\"t\",\"d\""), "Rating.AVL;3");
    EXPECT_EQ(GetVoteName(""), "");
}

TEST(GetVoteTime, IsTheFifthFieldWithoutQuotes) {
    EXPECT_EQ(GetVoteTime(kMeetingLine), "14:05:09");
    EXPECT_EQ(GetVoteTime(kManualLine), "14:05:00");
    EXPECT_EQ(GetVoteTime(""), "");
    EXPECT_EQ(GetVoteTime("\"\\a\",1,2"), ""); // too short to hold a time
}

TEST(ParseVoteLine, ReadsTheMeetingAndTheManualDataVariants) {
    const VoteLine meeting = ParseVoteLine(kMeetingLine);
    EXPECT_EQ(meeting, (VoteLine{"Vote 1.avl", 4, 4, "1;-;3;2;", "14:05:09", "04/12/2026"}));

    // Quoted counts read as 0; the date keeps its backslashes.
    const VoteLine manual = ParseVoteLine(kManualLine);
    EXPECT_EQ(manual, (VoteLine{"Vote 1.avl", 0, 0, "1;2;2;3;", "14:05:00", "04\\12\\2026"}));

    // Extra fields are ignored; an empty responses field stays empty.
    EXPECT_EQ(ParseVoteLine("\"\\a\",1,0,\"\",\"t\",\"d\",\"extra\"").responses, "");
}

TEST(ParseVoteLine, ConvertsCountsAsNumbersRoundedHalfToEven) {
    const auto choice = [](const std::string& field) {
        return ParseVoteLine("\"\\a\"," + field + ",0,\"\",\"t\",\"d\"").choiceCount;
    };
    EXPECT_EQ(choice("  12"), 12);
    EXPECT_EQ(choice("-7"), -7);
    EXPECT_EQ(choice("12abc"), 12);
    EXPECT_EQ(choice("abc"), 0);
    EXPECT_EQ(choice("\"5\""), 0);
    EXPECT_EQ(choice("2.5"), 2);
    EXPECT_EQ(choice("3.5"), 4);
    EXPECT_EQ(choice("2.51"), 3);
    EXPECT_EQ(choice("-2.5"), -2);
    EXPECT_EQ(choice(".5"), 0);
    EXPECT_EQ(choice("-32768"), -32768);
    EXPECT_EQ(choice("-32768.5"), -32768); // even neighbour stays in range
}

TEST(ParseVoteLine, RefusesLinesItCannotHold) {
    const auto reason = [](const std::string& line) -> std::string {
        try {
            ParseVoteLine(line);
        } catch (const MalformedLine& e) {
            return e.what();
        }
        return "accepted";
    };
    EXPECT_EQ(reason("\"\\a\",1,2,\"1;\",\"t\""), "fewer than six fields");
    EXPECT_EQ(reason("just text"), "fewer than six fields");
    EXPECT_EQ(reason("\"\\a\",32768,2,\"\",\"t\",\"d\""), "choice count 32768 is outside -32768 to 32767");
    EXPECT_EQ(reason("\"\\a\",1,-32769,\"\",\"t\",\"d\""), "keypad count -32769 is outside -32768 to 32767");
    EXPECT_EQ(reason("\"\\a\",32767.5,2,\"\",\"t\",\"d\""),
              "choice count 32767.5 is outside -32768 to 32767");
    EXPECT_EQ(reason("\"\\a\",1" + std::string(400, '9') + ",2,\"\",\"t\",\"d\"").substr(0, 12),
              "choice count");
}

TEST(FormatVoteLine, WritesTheCanonicalLineWithAnEmptyFolderPart) {
    EXPECT_EQ(FormatVoteLine({"Vote 1.avl", 4, 4, "1;-;3;2;", "14:05:09", "04/12/2026"}),
              kMergedLine + "\r\n");
    EXPECT_EQ(FormatVoteLine({"x", -3, 0, "", "", ""}), "\"\\x\",-3,0,\"\",\"\",\"\"\r\n");
}

TEST(SplitLines, SplitsAtEveryCrLfOnly) {
    EXPECT_EQ(SplitLines("a\r\nb"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitLines("a\r\nb\r\n"), (std::vector<std::string>{"a", "b", ""}));
    EXPECT_EQ(SplitLines(""), (std::vector<std::string>{""}));
    EXPECT_EQ(SplitLines("a\nb\r\r\n\r\n"), (std::vector<std::string>{"a\nb\r", "", ""}));
}

} // namespace
} // namespace avelin
