// Finding the votes of a presentation and labelling their grid rows.
#include "manual_entry/presentation_votes.h"

#include <gtest/gtest.h>

#include "manual_entry/definition_text.h"
#include "support/memory_file_system.h"

namespace avelin {
namespace {

using namespace test;

const std::string kFolder = std::string("talks") + kPathSeparator + "monday";
std::string InFolder(const std::string& name) {
    return kFolder + kPathSeparator + name;
}

ShapeInfo Vote(const std::string& file, const std::string& shapeName = "VOTE") {
    return {shapeName, "C:\\Program Files\\avelin\\avelin.exe " + file + ",1"};
}

// The name runs from the one character after the first ".EXE" (any case;
// position 5 without one; the skipped character may be anything) up to the
// first comma or the end; empty when that comma comes at or before the start.
TEST(VoteNameFromAction, TextAfterTheProgramUpToTheFirstComma) {
    const std::pair<std::string, std::string> cases[] = {{"C:\\Prog\\VOTER.EXE poll.AVL,1", "poll.AVL"},
                                                         {"C:\\Prog\\voter.exe poll.avl", "poll.avl"},
                                                         {"C:\\My.Exe.F\\v.exe a.AVL,1", "F\\v.exe a.AVL"},
                                                         {"v.exe|D:\\talks\\a.AVL,1", "D:\\talks\\a.AVL"},
                                                         {"C:\\a,b\\v.exe x.AVL,1", ""},
                                                         {"v.exe ,x.AVL", ""},
                                                         {"v.exe a,x.AVL", "a"},
                                                         {"v.exe", ""},
                                                         {"run poll.AVL", "poll.AVL"}};
    for (const auto& [action, name] : cases)
        EXPECT_EQ(VoteNameFromAction(action), name) << action;
}

// Shapes named VOTE in any case, each file as often as it is named; rows of
// series votes and rating scales per iteration or item, in the kind's colour.
TEST(LoadPresentationVotes, RowsOfEachVoteInSlideAndShapeOrder) {
    MemoryFileSystem files;
    files.files[InFolder("s.AVL")] = DefinitionText(DefinitionKind::Series, 2, 4, 3);
    files.files[InFolder("r.avl")] = DefinitionText(DefinitionKind::Rank, 1, 5, 2);
    files.files[InFolder("t.AVL")] = DefinitionText(DefinitionKind::Text, 1, 3);
    PresentationInfo p{kFolder,
                       "talk.pptx",
                       {{{Vote("s.AVL"), {"Title 1", "C:\\x.exe t.AVL,1"}}},
                        {{{"VOTE", ""}, Vote("r.avl", "vote"), Vote("notes.txt"), Vote("t.AVL", "Vote")}},
                        {{Vote("t.AVL")}}}};
    const PresentationVotes v = LoadPresentationVotes(p, files);
    ASSERT_EQ(v.voteCount, 4);
    const std::vector<std::pair<std::string, std::uint32_t>> expected = {{"s.AVL   [Iteration 1]", 0xC00000},
                                                                         {"s.AVL   [Iteration 2]", 0xC00000},
                                                                         {"s.AVL   [Iteration 3]", 0xC00000},
                                                                         {"r.avl   [Item 1]", 0x0000C0},
                                                                         {"r.avl   [Item 2]", 0x0000C0},
                                                                         {"t.AVL", 0x800080},
                                                                         {"t.AVL", 0x800080}};
    ASSERT_EQ(v.rows.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(v.rows[i].text, expected[i].first) << "row " << i + 1;
        EXPECT_EQ(v.rows[i].colour, expected[i].second) << "row " << i + 1;
    }
    ASSERT_EQ(v.votes.size(), 4u);
    EXPECT_EQ(v.votes[0].Kind + v.votes[1].Kind + v.votes[2].Kind, "SERIESRANKTEXT");
    EXPECT_EQ(v.votes[3].Name, "t.AVL");
}

TEST(LoadPresentationVotes, MissingDefinitionFilesLeaveTheirEntryToTheNextVote) {
    MemoryFileSystem files;
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
}

} // namespace
} // namespace avelin
