// The results report on checked-in fixtures: tallies, shares and p-values
// against values worked out by hand, the HTML page's charts and markup, and
// a meeting's file read as the merge reads it.
#include <gtest/gtest.h>

#include <cmath>
#include <pugixml.hpp>

#include "platform/errors.h"
#include "report/report_writers.h"
#include "support/temp_folder.h"

namespace avelin {
namespace {

const std::string kFixtures = AVELIN_SOURCE_DIR "/tests/report/fixtures";

ResultsReport Read(const std::string& path, const std::vector<std::string>& names = {}) {
    LocalFileSystem files;
    return ReadResults(path, files, names);
}

// fixtures/merged.rec: 38 keypad positions, 17 of group 0, 16 of group 1, 4
// of group 2 and one of none (its answer "1" to Budget.avl is not counted).
// North.grp alone holds index 0; South.grp and Earlier.grp both hold 1, and
// no group file holds 2: those two are "Group 2" and "Group 3".
//
// Budget.avl, a 2x2 table; group 3 gave no answers and drops out of the test:
//   North 12 "1", 4 "2" (and one "-"); Group 2 4 "1", 12 "2"; n = 32.
//   Every expected count is 16 * 16 / 32 = 8, every deviation 4:
//   X2 = 4 * 4^2 / 8 = 8 with 1 degree of freedom;
//   p = P(X2_1 >= 8) = erfc(sqrt(8 / 2)) = erfc(2) = 0.0046777350.
// Rating.avl, a 3x3 table (answers 1, 2, 3):
//   North 4 2 2, Group 2 2 4 2, Group 3 0 0 4; column totals 6 6 8, n = 20.
//   Expected: North and Group 2 2.4 2.4 3.2 each, Group 3 1.2 1.2 1.6.
//   X2 = 2 * (1.6^2/2.4 + 0.4^2/2.4 + 1.2^2/3.2) + 1.2^2/1.2 + 1.2^2/1.2 + 2.4^2/1.6
//      = 2 * (1.0667 + 0.0667 + 0.45) + 1.2 + 1.2 + 3.6 = 55/6 = 9.1667, 4 degrees of freedom;
//   p = exp(-X2/2) * (1 + X2/2) = exp(-4.58333) * 5.58333 = 0.057065967.
TEST(Report, CsvTalliesSharesAndPValuesAreThoseWorkedOutByHand) {
    EXPECT_EQ(CsvReport(Read(kFixtures + "/merged.rec")),
              "line,vote,group,answer,count,share,p_value\r\n"
              "1,Budget.avl,North,1,12,0.750000,0.0046777350\r\n"
              "1,Budget.avl,North,2,4,0.250000,0.0046777350\r\n"
              "1,Budget.avl,North,-,1,,0.0046777350\r\n"
              "1,Budget.avl,Group 2,1,4,0.250000,0.0046777350\r\n"
              "1,Budget.avl,Group 2,2,12,0.750000,0.0046777350\r\n"
              "1,Budget.avl,Group 3,1,0,,0.0046777350\r\n"
              "1,Budget.avl,Group 3,2,0,,0.0046777350\r\n"
              "1,Budget.avl,Group 3,-,4,,0.0046777350\r\n"
              "2,Rating.avl,North,1,4,0.500000,0.057065967\r\n"
              "2,Rating.avl,North,2,2,0.250000,0.057065967\r\n"
              "2,Rating.avl,North,3,2,0.250000,0.057065967\r\n"
              "2,Rating.avl,North,-,9,,0.057065967\r\n"
              "2,Rating.avl,Group 2,1,2,0.250000,0.057065967\r\n"
              "2,Rating.avl,Group 2,2,4,0.500000,0.057065967\r\n"
              "2,Rating.avl,Group 2,3,2,0.250000,0.057065967\r\n"
              "2,Rating.avl,Group 2,-,8,,0.057065967\r\n"
              "2,Rating.avl,Group 3,1,0,0.000000,0.057065967\r\n"
              "2,Rating.avl,Group 3,2,0,0.000000,0.057065967\r\n"
              "2,Rating.avl,Group 3,3,4,1.000000,0.057065967\r\n");
    // Names given take the place of the group files'; RFC 4180 quoting.
    const std::string csv = CsvReport(Read(kFixtures + "/merged.rec", {"East, \"E\""}));
    EXPECT_NE(csv.find("\r\n1,Budget.avl,\"East, \"\"E\"\"\",1,12,"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",Group 2,"), std::string::npos);
}

// The upper tail against closed forms: erfc for 1 degree of freedom, a
// finite sum for even degrees.
TEST(Report, ChiSquareSurvivalMatchesClosedForms) {
    const auto evenTail = [](double x, int degrees) {
        double term = 1, sum = 1;
        for (int k = 1; k < degrees / 2; ++k)
            sum += term *= x / 2 / k;
        return std::exp(-x / 2) * sum;
    };
    const struct {
        double x;
        int degrees;
        double expected;
    } cases[] = {{0.5, 1, std::erfc(0.5)},      {30, 1, std::erfc(std::sqrt(15.0))},
                 {1, 2, evenTail(1, 2)},        {3, 10, evenTail(3, 10)},
                 {40, 10, evenTail(40, 10)},    {0.01, 30, evenTail(0.01, 30)},
                 {150, 100, evenTail(150, 100)}};
    for (const auto& c : cases)
        EXPECT_NEAR(ChiSquareSurvival(c.x, c.degrees) / c.expected, 1.0, 1e-10) << c.x << ", " << c.degrees;
    EXPECT_EQ(ChiSquareSurvival(0, 4), 1.0);
}

// One chart per vote, well-formed markup without scripts or outside files,
// the significant vote flagged and the thin table warned about.
TEST(Report, HtmlHasOneChartPerVoteAndIsWellFormed) {
    const std::string html = HtmlReport(Read(kFixtures + "/merged.rec"));
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed =
        doc.load_string(html.c_str(), pugi::parse_default | pugi::parse_doctype);
    ASSERT_TRUE(parsed) << parsed.description() << " at " << parsed.offset;
    const auto votes = doc.select_nodes("//section[@class='vote']");
    ASSERT_EQ(votes.size(), 2u);
    EXPECT_EQ(doc.select_nodes("//svg").size(), 2u);
    // A bar per group and answer it gave.
    EXPECT_EQ(votes[0].node().select_nodes("svg/rect").size(), 4u);
    EXPECT_EQ(votes[1].node().select_nodes("svg/rect").size(), 7u);
    const std::string budget =
        votes[0].node().select_node("p[contains(@class,'test')]").node().attribute("class").value();
    EXPECT_EQ(budget, "test significant");
    EXPECT_TRUE(votes[0].node().select_node("p[@class='warning']").node().empty());
    EXPECT_FALSE(votes[1].node().select_node("p[@class='warning']").node().empty());
    EXPECT_EQ(doc.select_nodes("//script | //link | //img | //*[@src]").size(), 0u);
}

// A meeting's file is one group named after it, its votes as the merge keeps
// them: the last line of a vote wins, and the lines of a repeated run (here a
// vote named "1", so that the run's marking meets the line numbers) stay
// apart. Bad input names the file, the line and the reason.
TEST(Report, AMeetingFileIsReadAsTheMergeReadsIt) {
    test::TempFolder folder;
    const std::string tail = "\",\"09:00:00\",\"01/12/2026\"\r\n";
    folder.write("Day.rec", "\"C:\\T\\1\",1,0,\"" + tail + "\"C:\\T\\1\",1,0,\"" + tail +
                                "\"C:\\T\\Q.avl\",3,3,\"1;1;2;" + tail + "\"C:\\T\\Q.avl\",3,3,\"2;-;3;" +
                                tail);
    const ResultsReport report = Read(folder.at("Day.rec"));
    ASSERT_EQ(report.groups.size(), 1u);
    EXPECT_EQ(report.groups[0].name, "Day");
    EXPECT_EQ(report.groups[0].keypads, 3);
    ASSERT_EQ(report.votes.size(), 3u);
    EXPECT_EQ(report.votes[0].line, 1);
    EXPECT_EQ(report.votes[1].line, 2);
    EXPECT_EQ(report.votes[1].name, "1");
    EXPECT_EQ(report.votes[2].line, 4);
    EXPECT_EQ(report.votes[2].noAnswer, std::vector<std::int64_t>{1});
    ASSERT_EQ(report.votes[2].answers.size(), 2u);
    EXPECT_EQ(report.votes[2].answers[1].answer, "3");

    // The votes before a merge information line that cannot be used are read
    // without groups; the line is refused when it is reached.
    const std::string vote = "\"\\Q.avl\",3,2,\"1;2;\",\"09:00:00\",\"01/12/2026\"\r\n";
    const std::pair<std::string, std::string> bad[] = {
        {"2,2,\"0;7;\"",
         "the merge information line's entry for keypad position 2, \"7\", is not one of its 2 groups"},
        {"200,2,\"0;1;\"", "the merge information line gives 200 groups; a report takes 1 to 100"},
    };
    for (const auto& [fields, reason] : bad) {
        folder.write("bad.rec", vote + "\"\\MergeInfo.avl\"," + fields + ",\"09:00:00\",\"01/12/2026\"\r\n");
        try {
            Read(folder.at("bad.rec"));
            ADD_FAILURE() << fields;
        } catch (const FormatError& e) {
            EXPECT_EQ(e.line(), 2);
            EXPECT_EQ(e.reason(), reason);
        }
    }
}

} // namespace
} // namespace avelin
