// Reading vote definition files: the field reader and the four kinds' layouts
// in both format versions.
#include "manual_entry/vote_definition.h"

#include <gtest/gtest.h>

#include "manual_entry/definition_text.h"
#include "platform/errors.h"
#include "support/memory_file_system.h"

namespace avelin {
namespace {

using namespace test;

const std::string kFolder = std::string("talks") + kPathSeparator + "monday";
std::string InFolder(const std::string& name) {
    return kFolder + kPathSeparator + name;
}

// Blanks around an unquoted field go; quotes keep a comma, and text between
// the closing quote and the comma is dropped; CR LF or a lone LF ends a
// field; a blank line, even one holding blanks, holds one empty field, and so
// does a comma right before a line end.
TEST(FieldReader, SplitsAtCommasAndLineEndsAndUnquotes) {
    FieldReader r("  1, two ,\"a, b\" ,x\r\n\r\n  \r\n  \"q\"junk,last\nafter,\r\nend", "d.AVL");
    std::vector<std::string> fields;
    for (int i = 0; i < 11; ++i)
        fields.push_back(r.next());
    EXPECT_EQ(fields,
              (std::vector<std::string>{"1", "two", "a, b", "x", "", "", "q", "last", "after", "", "end"}));
    EXPECT_THROW(r.next(), FormatError); // the truncated definitions below show the message
    EXPECT_THROW(FieldReader("", "e.AVL").next(), FormatError);
}

// A field that is no number reads as 0; 16-bit fields round halves to the
// even neighbour and refuse what does not fit.
TEST(FieldReader, NumbersNonNumbersAndRange) {
    FieldReader r("12abc,abc,2.5,3.5,32767,-32769", "d.AVL");
    EXPECT_EQ(r.nextNumber(), 12);
    EXPECT_EQ(r.nextNumber(), 0);
    EXPECT_EQ(r.nextInt16(), 2);
    EXPECT_EQ(r.nextInt16(), 4);
    EXPECT_EQ(r.nextInt16(), 32767);
    EXPECT_THROW(r.nextInt16(), FormatError);
}

// What a definition file reads as: "Kind OptionCount FirstOption RowCount",
// or why it is refused.
std::string Read(const std::string& text) {
    MemoryFileSystem files;
    files.files[InFolder("v.AVL")] = text;
    VoteEntry e;
    e.Name = "kept"; // the name is the caller's
    try {
        ReadVoteDefinition("v.AVL", e, kFolder, files);
    } catch (const FormatError& error) {
        return error.path() + ": " + error.reason();
    }
    return e.Kind + " " + std::to_string(e.OptionCount) + " " + std::to_string(e.FirstOption) + " " +
           std::to_string(e.RowCount) + (e.Name == "kept" ? "" : " (renamed)");
}

// Versions below 2 have two fields fewer in the skipped block.
TEST(ReadVoteDefinition, EachKindInBothFormatVersionsAndTruncated) {
    using enum DefinitionKind;
    const struct {
        DefinitionKind kind;
        int options, rows;
        std::string read;
    } cases[] = {{Standard, 4, 1, " 4 1 1"},
                 {Series, 5, 3, "SERIES 5 1 3"},
                 {Rank, 6, 4, "RANK 6 1 4"},
                 {Text, 7, 1, "TEXT 7 1 1"}};
    for (const auto& c : cases)
        for (int version : {1, 2, 3}) { // versions above 2 use the long layout too
            SCOPED_TRACE(c.read + " version " + std::to_string(version));
            EXPECT_EQ(Read(DefinitionText(c.kind, version, c.options, c.rows)), c.read);
            // One field fewer: the file ends before the last field it needs.
            std::vector<std::string> fields = DefinitionFields(c.kind, version, c.options, c.rows);
            fields.pop_back();
            EXPECT_EQ(Read(JoinFields(fields)), InFolder("v.AVL") + ": the file ends before field " +
                                                    std::to_string(fields.size() + 1));
        }
}

TEST(ReadVoteDefinition, OddFieldValues) {
    // Written out by hand, not by the builder: version 1, nine leading fields,
    // 3 x 4 + 18 skipped, then the first option.
    std::string text = "1,4,3,0,0,0,0,0,0\r\n";
    for (int i = 0; i < 30; ++i)
        text += "9,";
    EXPECT_EQ(Read(text + "0\r\n"), " 4 0 1");
    // A rating scale with the series sub-type stays a rating scale.
    std::vector<std::string> f = DefinitionFields(DefinitionKind::Rank, 2, 5, 2);
    f[7] = "2";
    EXPECT_EQ(Read(JoinFields(f)), "RANK 5 1 2");
    // A garbled type code makes a standard vote.
    f = DefinitionFields(DefinitionKind::Standard, 2, 3, 1, 0);
    f[2] = "seven";
    EXPECT_EQ(Read(JoinFields(f)), " 3 0 1");
    EXPECT_EQ(Read(DefinitionText(DefinitionKind::Series, 2, 3, -2)),
              InFolder("v.AVL") + ": the number of rows is negative (-2)");
}

// A name with a backslash is used unchanged; any other, one with "/" too, lies
// beside the presentation. A missing file is not read and changes nothing.
TEST(ReadVoteDefinition, WhereTheNamedFileLiesAndThatAMissingOneChangesNothing) {
    MemoryFileSystem files;
    for (const auto& [name, path] :
         {std::pair<std::string, std::string>{"C:\\Other\\x.AVL", "C:\\Other\\x.AVL"},
          {"sub/y.AVL", InFolder("sub/y.AVL")}}) {
        files.files[path] = DefinitionText(DefinitionKind::Text, 2, 2);
        VoteEntry entry;
        EXPECT_TRUE(ReadVoteDefinition(name, entry, kFolder, files)) << name;
        EXPECT_EQ(entry.Kind, "TEXT") << name;
    }
    VoteEntry missing;
    missing.Kind = "before";
    files.reads = 0;
    EXPECT_FALSE(ReadVoteDefinition("absent.AVL", missing, kFolder, files));
    EXPECT_EQ(missing.Kind, "before");
    EXPECT_EQ(files.reads, 0);
}

} // namespace
} // namespace avelin
