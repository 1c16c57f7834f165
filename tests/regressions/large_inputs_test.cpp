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

std::string Repeated(const std::string& line, std::size_t times) {
    std::string text;
    text.reserve((line.size() + 2) * times);
    for (std::size_t i = 0; i < times; ++i)
        text.append(line).append("\r\n");
    return text;
}

TEST(LargeInputs, AMillionLinesOfOneVoteEndingInResponses) {
    // Every line starts a run that ends only at the last line, which has
    // responses: no line is marked and the last one is the vote.
    const std::string text = Repeated(Line("Q.avl", ""), 999'999) + Line("Q.avl", "1;2;") + "\r\n";
    const InputFile file = PrepareInputFile(text, "big.rec");
    ASSERT_EQ(file.votes.size(), 1u);
    EXPECT_EQ(file.votes[0].voteName, "Q.avl");
    EXPECT_EQ(file.responses(file.votes[0], text), "1;2;");
}

TEST(LargeInputs, ARunOfHalfAMillionLines) {
    // Each line is marked with its index, from two digits up to six.
    const InputFile file = PrepareInputFile(Repeated(Line("Q.avl", ""), 500'000), "run.rec");
    ASSERT_EQ(file.votes.size(), 500'000u);
    EXPECT_EQ(file.votes[0].voteName, "Q.avlxxxseq499999xxx");
    EXPECT_EQ(file.votes[499'899].voteName, "Q.avlxxxseq100xxx");
    EXPECT_EQ(file.votes[499'999].voteName, "Q.avlxxxseq00xxx");
}

TEST(LargeInputs, LinesOfMillionsOfCommas) {
    const std::string line = "\"C:\\T\\Q.avl\"" + std::string(5'000'000, ',');
    const InputFile file = PrepareInputFile(line + "\r\n" + line + "\r\n", "commas.rec");
    // Two equal lines without responses form a run; all their fields are empty.
    ASSERT_EQ(file.votes.size(), 2u);
    EXPECT_EQ(file.votes[0].voteName, "Q.avlxxxseq01xxx");
    EXPECT_EQ(file.votes[1].keypadCount, 0);
}

TEST(LargeInputs, ALongNameThatAlmostRepeatsInItsLine) {
    // The run marking looks for the name all over the line; a name of a
    // million characters that nearly matches at every position of the line
    // must not cost a million comparisons at each.
    const std::size_t n = 1'000'000;
    const std::string name = std::string(n - 1, 'a') + "b";
    const std::string line =
        "\"" + std::string(n, 'a') + "\\" + name + "\",4,0,\"\",\"10:00:00\",\"01/12/2026\"\r\n";
    EXPECT_EQ(PrepareInputFile(line + line, "long.rec").votes[0].voteName, name + "xxxseq01xxx");
}

TEST(LargeInputs, AMergeWhoseOutputWouldNotFitTheMemory) {
    // 100,000 votes in one file and 32,000 keypads in the other: every
    // output line would carry 64,000 characters, 6.4 GB in all.
    test::MemoryFileSystem files;
    std::string many;
    for (int v = 0; v < 100'000; ++v)
        many += Line("v" + std::to_string(v) + ".avl", "") + "\r\n";
    files.files["/in/a.rec"] = many;
    std::string wide;
    for (int k = 0; k < 32'000; ++k)
        wide += "1;";
    files.files["/in/b.rec"] = Line("w.avl", wide) + "\r\n";
    const auto before = files.files;
    MergeRequest request{{"/in/a", "/in/b"}, {"A", "B"}, "merged", "/out"};
    try {
        RunMerge(request, files, test::FixedClock());
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

class PptxBomb : public ::testing::Test {
  protected:
    // A presentation whose one slide is padded with `padding` blanks (valid
    // XML, highly compressible) and listed `listed` times.
    std::string Write(std::size_t padding, int listed) {
        test::ZipEntries entries = test::PptxEntries({test::PptxSlide{}});
        std::string& slide = test::Part(entries, "ppt/slides/slide1.xml");
        slide.insert(slide.find("<p:cSld>"), std::string(padding, ' '));
        std::string list;
        for (int i = 0; i < listed; ++i)
            list += "<p:sldId id=\"" + std::to_string(256 + i) + "\" r:id=\"rId2\"/>";
        std::string& presentation = test::Part(entries, "ppt/presentation.xml");
        const std::size_t start = presentation.find("<p:sldIdLst>") + 12;
        presentation.replace(start, presentation.find("</p:sldIdLst>") - start, list);
        const std::string path = folder_.at("bomb.pptx");
        test::WriteZip(path, entries);
        return path;
    }
    std::string ErrorOf(const std::string& path) {
        try {
            ReadPptx(path);
        } catch (const FormatError& e) {
            return e.what();
        }
        return "read without an error";
    }
    test::TempFolder folder_;
};

TEST_F(PptxBomb, OnePartFarLargerThanAPresentationHolds) {
    EXPECT_NE(ErrorOf(Write(100u << 20, 1)).find("larger than 64 MiB"), std::string::npos);
}

TEST_F(PptxBomb, OneLargePartListedAgainAndAgain) {
    EXPECT_NE(ErrorOf(Write(60u << 20, 1000)).find("larger than 512 MiB together"), std::string::npos);
}

} // namespace
} // namespace avelin
