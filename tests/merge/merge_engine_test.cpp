#include "merge/merge_engine.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace avelin {
namespace {

const std::string kStamp = ",\"14:05:09\",\"04/12/2026\"\r\n";

VoteLine Vote(const std::string& name, int choices, int keypads, const std::string& responses) {
    return {name, std::int16_t(choices), std::int16_t(keypads), responses, "09:00:00", "01/01/2026"};
}

TEST(MergeFiles, PutsTheFilesSideBySideInTheOrderOfTheNameList) {
    std::vector<InputFile> in(2);
    in[0].votes = {Vote("B.avl", 4, 4, "1;2;3;4;"), Vote("A.avl", 4, 4, "-;-;1;-;"),
                   Vote("C.avl", 2, 4, "1;1;1;1;")};
    in[1].votes = {Vote("A.avl", 5, 3, "2;2;2;"), Vote("B.avl", 4, 3, "3;-;3;"),
                   Vote("C.avl", 2, 3, "-;-;-;")};
    const std::string text = MergeFiles(in, {"A.avl", "B.avl", "C.avl"}, test::FixedClock());
    EXPECT_EQ(text, "\"\\A.avl\",5,7,\"-;-;1;-;2;2;2;\"" + kStamp + // choices of the last file holding it
                        "\"\\B.avl\",4,7,\"1;2;3;4;3;-;3;\"" + kStamp + "\"\\C.avl\",2,7,\"1;1;1;1;-;-;-;\"" +
                        kStamp + "\"\\MergeInfo.avl\",2,7,\"0;0;0;0;1;1;1;\"" + kStamp);
}

TEST(MergeFiles, PadsTheVotesOfAnUnevenFileToItsLargestCount) {
    std::vector<InputFile> in(2);
    in[0].votes = {Vote("A", 1, 3, "1;2;3;"), Vote("B", 1, 5, "1;2;3;4;5;"), Vote("C", 1, 3, "1;2;3")};
    in[1].votes = {Vote("A", 1, 1, "1;")};
    MergeFiles(in, {"A", "B", "C"}, test::FixedClock());
    EXPECT_EQ(in[0].votes[0].responses, "1;2;3;-;-;");
    EXPECT_EQ(in[0].votes[0].keypadCount, 5);
    // Odd length 5: the appends start at m = 3, so two entries still come.
    EXPECT_EQ(in[0].votes[2].responses, "1;2;3-;-;");

    // An even file is left as it is, even with short responses.
    std::vector<InputFile> even(2);
    even[0].votes = {Vote("A", 1, 3, "1;"), Vote("B", 1, 3, "1;2;3;")};
    even[1].votes = {Vote("A", 1, 1, "-;")};
    const std::string text = MergeFiles(even, {"A", "B"}, test::FixedClock());
    EXPECT_EQ(even[0].votes[0].responses, "1;");
    // Positions the short vote does not reach count as answered.
    EXPECT_NE(text.find("\"\\MergeInfo.avl\",2,4,\"0;0;0;-;\""), std::string::npos) << text;
}

TEST(MergeFiles, DropsTheRunMarkerAndSkipsNamelessRecords) {
    std::vector<InputFile> in(2);
    in[0].votes = {Vote("Qxxxseq01xxx", 1, 0, ""), Vote("Qxxxseq00xxx", 1, 0, ""), Vote("", 1, 1, "1;"),
                   Vote("xxxseq", 1, 0, "")};
    const std::string text =
        MergeFiles(in, {"", "Qxxxseq00xxx", "Qxxxseq01xxx", "xxxseq"}, test::FixedClock());
    // The file is uneven (0 and 1 keypads), so the marked votes are padded;
    // the record named "" gives no line, the one named "xxxseq" is cut to an
    // empty name after the test and still gives one.
    EXPECT_EQ(text, "\"\\Q\",1,1,\"-;\"" + kStamp + "\"\\Q\",1,1,\"-;\"" + kStamp + "\"\\\",1,1,\"-;\"" +
                        kStamp + "\"\\MergeInfo.avl\",2,1,\"0;\"" + kStamp);
}

TEST(MergeFiles, WithoutVotesOnlyTheMergeInformationLineIsWritten) {
    std::vector<InputFile> in(2);
    EXPECT_EQ(MergeFiles(in, {}, test::FixedClock()), "\"\\MergeInfo.avl\",2,0,\"\"" + kStamp);
}

TEST(MergeFiles, ReadsTheClockAfreshForEveryLine) {
    std::vector<InputFile> in(2);
    in[0].votes = {Vote("A", 1, 1, "1;"), Vote("B", 1, 1, "1;")};
    in[1].votes = {Vote("A", 1, 1, "1;")};
    test::FixedClock clock; // a second later at every reading
    clock.nowStep = 1;
    const std::string text = MergeFiles(in, {"A", "B"}, clock);
    EXPECT_NE(text.find("\"\\A\",1,2,\"1;1;\",\"14:05:09\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"\\B\",1,2,\"1;-;\",\"14:05:10\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"\\MergeInfo.avl\",2,2,\"0;1;\",\"14:05:11\""), std::string::npos) << text;
}

TEST(OutputPath, AppendsRecCaseSensitivelyAndPlacesBareNamesInTheFolder) {
    const std::string sep(1, kPathSeparator);
    const std::string folder = "D:" + sep + "out";
    EXPECT_EQ(OutputPath("merged", folder), folder + sep + "merged.rec");
    EXPECT_EQ(OutputPath("merged.rec", folder), folder + sep + "merged.rec");
    EXPECT_EQ(OutputPath("merged.REC", folder), folder + sep + "merged.REC.rec");
    EXPECT_EQ(OutputPath("E:" + sep + "x" + sep + "m", folder), "E:" + sep + "x" + sep + "m.rec");
}

} // namespace
} // namespace avelin
