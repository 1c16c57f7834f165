// Inputs far larger than any meeting produces, built to find work that grows
// faster than the input: each must be read or refused in seconds, not hang or
// exhaust the memory. A quadratic slip shows up as this test's timeout.
#include <gtest/gtest.h>

#include "formats/vote_line.h"
#include "manual_entry/presentation_votes.h"
#include "manual_entry/vote_definition.h"
#include "merge/merge_run.h"
#include "platform/errors.h"
#include "platform/pptx_reader.h"
#include "support/fakes.h"
#include "support/memory_file_system.h"
#include "support/pptx_writer.h"
#include "support/temp_folder.h"

namespace avelin {
namespace {

std::string Line(const std::string& name, const std::string& responses) {
    return "\"C:\\Talks\\" + name + "\",4," + std::to_string(responses.size() / 2) + ",\"" + responses +
           "\",\"10:00:00\",\"01/12/2026\"";
}

std::string Repeated(const std::string& line, std::size_t times, const std::string& end = "\r\n") {
    std::string text;
    text.reserve((line.size() + end.size()) * times);
    for (std::size_t i = 0; i < times; ++i)
        text.append(line).append(end);
    return text;
}

TEST(LargeInputs, RunsOfHalfAMillionLines) {
    // Every line starts a run that ends only at the last line, which has
    // responses: no line is marked and the last one is the vote.
    std::string text = Repeated(Line("Q.avl", ""), 499'999) + Line("Q.avl", "1;2;") + "\r\n";
    const InputFile ended = PrepareInputFile(text, "big.rec");
    ASSERT_EQ(ended.votes.size(), 1u);
    EXPECT_EQ(ended.responses(ended.votes[0], text), "1;2;");
    // Without it each line is marked with its index, from two digits up to six.
    text = Repeated(Line("Q.avl", ""), 500'000);
    const InputFile run = PrepareInputFile(text, "run.rec");
    ASSERT_EQ(run.votes.size(), 500'000u);
    EXPECT_EQ(run.votes[0].voteName, "Q.avlxxxseq499999xxx");
    EXPECT_EQ(run.votes[499'899].voteName, "Q.avlxxxseq100xxx");
}

TEST(LargeInputs, LinesOfMillionsOfCommasAndANameThatAlmostRepeatsInItsLine) {
    // Two equal lines without responses form a run; all their fields are empty.
    const std::string commas = "\"C:\\T\\Q.avl\"" + std::string(5'000'000, ',') + "\r\n";
    EXPECT_EQ(PrepareInputFile(commas + commas, "commas.rec").votes[0].voteName, "Q.avlxxxseq01xxx");
    // The run marking looks for the name all over the line; a name of a
    // million characters that nearly matches at every position must not cost
    // a million comparisons at each.
    const std::string name = std::string(999'999, 'a') + "b";
    const std::string line =
        "\"" + std::string(1'000'000, 'a') + "\\" + name + "\",4,0,\"\",\"10:00:00\",\"01/12/2026\"\r\n";
    EXPECT_EQ(PrepareInputFile(line + line, "long.rec").votes[0].voteName, name + "xxxseq01xxx");
}

TEST(LargeInputs, AMergeWhoseOutputWouldBeLargerThanAGibibyte) {
    // 100,000 votes in one file and 32,000 keypads in the other: every
    // output line would carry 64,000 characters, 6.4 GB in all.
    test::MemoryFileSystem files;
    for (int v = 0; v < 100'000; ++v)
        files.files["/in/a.rec"] += Line("v" + std::to_string(v) + ".avl", "") + "\r\n";
    files.files["/in/b.rec"] = Line("w.avl", Repeated("1;", 32'000, "")) + "\r\n";
    const auto before = files.files;
    try {
        RunMerge({{"/in/a", "/in/b"}, {"A", "B"}, "merged", "/out"}, files, test::FixedClock());
        FAIL() << "a merged file of 6.4 GB was made";
    } catch (const FormatError& e) {
        EXPECT_NE(std::string(e.what()).find("GiB"), std::string::npos) << e.what();
    }
    EXPECT_EQ(files.files, before);
}

const std::string kTalk = std::string(1, kPathSeparator) + "talk";

// A rating scale of 32767 items: 4 x 32767 + 16 fields before the first option.
std::string LargestRatingScale() {
    std::string text = "2,5,7,0,0,0,0,0,0,32767";
    for (long f = 0; f < 4L * 32767 + 16; ++f)
        text += ",9";
    return text + ",1\r\n";
}

TEST(LargeInputs, ARatingScaleOfTheLargestSize) {
    test::MemoryFileSystem files;
    files.files[VoteDefinitionPath("big.AVL", kTalk)] = LargestRatingScale();
    VoteEntry entry;
    ASSERT_TRUE(ReadVoteDefinition("big.AVL", entry, kTalk, files));
    EXPECT_EQ(entry.RowCount, 32767);
    EXPECT_EQ(entry.FirstOption, 1);

    // The same count with the fields missing ends at the end of the file.
    files.files[VoteDefinitionPath("big.AVL", kTalk)] = "2,5,7,0,0,0,0,0,0,32767,1\r\n";
    EXPECT_THROW(ReadVoteDefinition("big.AVL", entry, kTalk, files), FormatError);
    EXPECT_EQ(entry.RowCount, 32767);
}

TEST(LargeInputs, APresentationNamingTheLargestRatingScaleAgainAndAgain) {
    // 40 votes of 32767 rows each would be 1.3 million grid rows.
    test::MemoryFileSystem files;
    files.files[VoteDefinitionPath("big.AVL", kTalk)] = LargestRatingScale();
    PresentationInfo presentation{kTalk, "talk.pptx", {SlideInfo{}}};
    for (int v = 0; v < 40; ++v)
        presentation.slides[0].shapes.push_back({"VOTE", "C:\\P\\V.EXE big.AVL,1"});
    try {
        LoadPresentationVotes(presentation, files);
        FAIL() << "1.3 million rows were made";
    } catch (const FormatError& e) {
        EXPECT_EQ(e.path(), VoteDefinitionPath("big.AVL", kTalk));
        EXPECT_NE(std::string(e.what()).find("1000000"), std::string::npos) << e.what();
    }
}

// Presentations whose one slide is padded with blanks (valid XML, highly
// compressible): one part far larger than a presentation holds, and a large
// part listed again and again.
TEST(LargeInputs, PptxBombs) {
    test::TempFolder folder;
    const auto errorOf = [&](std::size_t padding, int listed) -> std::string {
        test::ZipEntries entries = test::PptxEntries({test::PptxSlide{}});
        std::string& slide = test::Part(entries, "ppt/slides/slide1.xml");
        slide.insert(slide.find("<p:cSld>"), std::string(padding, ' '));
        std::string list;
        for (int i = 0; i < listed; ++i)
            list += "<p:sldId id=\"" + std::to_string(256 + i) + "\" r:id=\"rId2\"/>";
        std::string& presentation = test::Part(entries, "ppt/presentation.xml");
        const std::size_t start = presentation.find("<p:sldIdLst>") + 12;
        presentation.replace(start, presentation.find("</p:sldIdLst>") - start, list);
        test::WriteZip(folder.at("bomb.pptx"), entries);
        try {
            ReadPptx(folder.at("bomb.pptx"));
        } catch (const FormatError& e) {
            return e.what();
        }
        return "read without an error";
    };
    EXPECT_NE(errorOf(100u << 20, 1).find("larger than 64 MiB"), std::string::npos);
    EXPECT_NE(errorOf(60u << 20, 1000).find("larger than 512 MiB together"), std::string::npos);
}

} // namespace
} // namespace avelin
