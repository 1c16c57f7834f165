// Finding the votes of a presentation and labelling their grid rows.
#include "manual_entry/presentation_votes.h"

#include <gtest/gtest.h>

#include "manual_entry/definition_text.h"
#include "support/memory_file_system.h"

namespace avelin {
namespace {

using test::DefinitionKind;
using test::DefinitionText;

const std::string kFolder = std::string("talks") + kPathSeparator + "monday";
std::string InFolder(const std::string& name) {
    return kFolder + kPathSeparator + name;
}

ShapeInfo Vote(const std::string& file, const std::string& shapeName = "VOTE") {
    return {shapeName, "C:\\Program Files\\avelin\\avelin.exe " + file + ",1"};
}

TEST(VoteNameFromAction, TakesTheTextBetweenProgramAndFirstComma) {
    EXPECT_EQ(VoteNameFromAction("C:\\Prog\\VOTER.EXE poll.AVL,1"), "poll.AVL");
    EXPECT_EQ(VoteNameFromAction("C:\\Prog\\voter.exe poll.avl"), "poll.avl"); // no comma: to the end
    EXPECT_EQ(VoteNameFromAction("C:\\Prog\\v.Exe \"q.AVL\",2,3"), "\"q.AVL\"");
    EXPECT_EQ(VoteNameFromAction("C:\\My.Exe.Folder\\v.exe a.AVL,1"), "Folder\\v.exe a.AVL"); // first .EXE
    // The one character after ".EXE" is skipped whatever it is.
    EXPECT_EQ(VoteNameFromAction("v.exe|D:\\talks\\a.AVL,1"), "D:\\talks\\a.AVL");
}

TEST(VoteNameFromAction, EmptyWhenTheCommaComesTooEarlyOrNothingFollows) {
    EXPECT_EQ(VoteNameFromAction("C:\\a,b\\v.exe x.AVL,1"), ""); // first comma before the name
    EXPECT_EQ(VoteNameFromAction("v.exe ,x.AVL"), "");           // comma at E + 5
    EXPECT_EQ(VoteNameFromAction("v.exe a,x.AVL"), "a");         // comma just after E + 5
    EXPECT_EQ(VoteNameFromAction("v.exe"), "");
    EXPECT_EQ(VoteNameFromAction(""), "");
    // Without ".EXE" the name starts at position 5.
    EXPECT_EQ(VoteNameFromAction("run poll.AVL"), "poll.AVL");
    EXPECT_EQ(VoteNameFromAction("Macro1"), "o1");
}

TEST(LoadPresentationVotes, SameFileOnTwoSlidesGivesTwoEntriesAndLowerCaseNamesCount) {
    test::MemoryFileSystem files;
    files.files[InFolder("q.AVL")] = DefinitionText(DefinitionKind::Standard, 2, 4);
    PresentationInfo p{kFolder, "talk.pptx", {{{Vote("q.AVL", "vote")}}, {{Vote("q.AVL", "Vote")}}}};
    const PresentationVotes v = LoadPresentationVotes(p, files);
    ASSERT_EQ(v.voteCount, 2);
    ASSERT_EQ(v.votes.size(), 2u);
    EXPECT_EQ(v.votes[1].Name, "q.AVL");
    ASSERT_EQ(v.rows.size(), 2u);
    EXPECT_EQ(v.rows[1].text, "q.AVL");
    EXPECT_EQ(v.rows[1].colour, 0x800080u);
}

TEST(LoadPresentationVotes, RowsOfSeriesRankAndTextVotesFollowEachOther) {
    test::MemoryFileSystem files;
    files.files[InFolder("s.AVL")] = DefinitionText(DefinitionKind::Series, 2, 4, 3);
    files.files[InFolder("r.avl")] = DefinitionText(DefinitionKind::Rank, 1, 5, 2);
    files.files[InFolder("t.AVL")] = DefinitionText(DefinitionKind::Text, 1, 3);
    PresentationInfo p{kFolder,
                       "talk.pptx",
                       {{{Vote("s.AVL"), {"Title 1", "C:\\x.exe t.AVL,1"}}},
                        {{{"VOTE", ""}, Vote("r.avl"), Vote("notes.txt"), Vote("t.AVL")}}}};
    const PresentationVotes v = LoadPresentationVotes(p, files);
    ASSERT_EQ(v.voteCount, 3);
    const std::vector<std::pair<std::string, std::uint32_t>> expected = {
        {"s.AVL   [Iteration 1]", 0xC00000}, {"s.AVL   [Iteration 2]", 0xC00000},
        {"s.AVL   [Iteration 3]", 0xC00000}, {"r.avl   [Item 1]", 0x0000C0},
        {"r.avl   [Item 2]", 0x0000C0},      {"t.AVL", 0x800080}};
    ASSERT_EQ(v.rows.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(v.rows[i].text, expected[i].first) << "row " << i + 1;
        EXPECT_EQ(v.rows[i].colour, expected[i].second) << "row " << i + 1;
    }
    EXPECT_EQ(v.votes[0].Kind, "SERIES");
    EXPECT_EQ(v.votes[1].Kind, "RANK");
    EXPECT_EQ(v.votes[2].Kind, "TEXT");
}

TEST(LoadPresentationVotes, MissingDefinitionFilesLeaveTheirEntryToTheNextVote) {
    test::MemoryFileSystem files;
    files.files[InFolder("b.AVL")] = DefinitionText(DefinitionKind::Standard, 2, 3);
    // a.AVL is missing: b.AVL takes its entry. c.AVL, the last, is missing too:
    // its entry stays allocated and empty.
    PresentationInfo p{kFolder, "talk.pptx", {{{Vote("a.AVL"), Vote("b.AVL")}}, {{Vote("c.AVL")}}}};
    const PresentationVotes v = LoadPresentationVotes(p, files);
    EXPECT_EQ(v.voteCount, 1);
    ASSERT_EQ(v.votes.size(), 2u);
    EXPECT_EQ(v.votes[0].Name, "b.AVL");
    EXPECT_EQ(v.votes[1].Name, "");
    EXPECT_EQ(v.votes[1].RowCount, 0);
    ASSERT_EQ(v.rows.size(), 1u);
    EXPECT_EQ(v.rows[0].text, "b.AVL");

    // No vote at all: still an entry for the missing file, and no rows.
    PresentationInfo none{
        kFolder, "talk.pptx", {{{{"VOTE", "C:\\v.exe gone.AVL,1"}, {"Picture 2", ""}}}, {}}};
    int slides = 0;
    const PresentationVotes nothing = LoadPresentationVotes(none, files, [&] { ++slides; });
    EXPECT_EQ(slides, 2); // the progress runs once per slide
    EXPECT_EQ(nothing.voteCount, 0);
    EXPECT_EQ(nothing.votes.size(), 1u);
    EXPECT_TRUE(nothing.rows.empty());
}

} // namespace
} // namespace avelin
