// Reading vote definition files: the field reader and the four kinds' layouts.
#include "manual_entry/vote_definition.h"

#include <gtest/gtest.h>

#include "manual_entry/definition_text.h"
#include "platform/errors.h"
#include "support/memory_file_system.h"

namespace avelin {
namespace {

using test::DefinitionFields;
using test::DefinitionKind;
using test::DefinitionText;
using test::JoinFields;

const std::string kFolder = std::string("talks") + kPathSeparator + "monday";
std::string InFolder(const std::string& name) {
    return kFolder + kPathSeparator + name;
}

TEST(FieldReader, SplitsAtCommasAndLineEndsAndUnquotes) {
    FieldReader r("  1, two ,\"a, b\" ,x\r\n\r\n  \"q\"junk,last\nafter,\r\nend", "d.AVL");
    EXPECT_EQ(r.next(), "1");
    EXPECT_EQ(r.next(), "two");  // blanks around an unquoted field go
    EXPECT_EQ(r.next(), "a, b"); // quotes keep the comma, text after them is dropped
    EXPECT_EQ(r.next(), "x");    // CR LF ends a field; the blank line holds none
    EXPECT_EQ(r.next(), "q");    // text between closing quote and comma is dropped
    EXPECT_EQ(r.next(), "last"); // a lone LF ends a field too
    EXPECT_EQ(r.next(), "after");
    EXPECT_EQ(r.next(), ""); // a comma right before a line end closes an empty field
    EXPECT_EQ(r.next(), "end");
    EXPECT_EQ(r.fieldNumber(), 9);
    try {
        r.next();
        FAIL() << "reading past the end must fail";
    } catch (const FormatError& e) {
        EXPECT_EQ(e.path(), "d.AVL");
        EXPECT_EQ(e.reason(), "the file ends before field 10");
    }
    FieldReader trailing("7,", "d.AVL"); // a trailing comma gives one empty field
    EXPECT_EQ(trailing.next(), "7");
    EXPECT_EQ(trailing.next(), "");
    EXPECT_THROW(trailing.next(), FormatError);
    EXPECT_THROW(FieldReader("", "e.AVL").next(), FormatError);
}

TEST(FieldReader, NumbersNonNumbersAndRange) {
    FieldReader r("12abc,abc,\"4\",2.5,3.5,-2.5,32767,32768,-32769", "d.AVL");
    EXPECT_EQ(r.nextNumber(), 12); // the number the field starts with
    EXPECT_EQ(r.nextNumber(), 0);  // a field that is not a number reads as 0
    EXPECT_EQ(r.nextInt16(), 4);
    EXPECT_EQ(r.nextInt16(), 2); // halves go to the even neighbour
    EXPECT_EQ(r.nextInt16(), 4);
    EXPECT_EQ(r.nextInt16(), -2);
    EXPECT_EQ(r.nextInt16(), 32767);
    try {
        r.nextInt16();
        FAIL() << "32768 does not fit";
    } catch (const FormatError& e) {
        EXPECT_EQ(e.reason(), "field 8 holds a number outside -32768 to 32767");
    }
    EXPECT_THROW(r.nextInt16(), FormatError);
}

struct KindCase {
    DefinitionKind kind;
    int version;
    int options;
    int rows;
    const char* expectedKind;
};

TEST(ReadVoteDefinition, EachKindInBothFormatVersions) {
    const KindCase cases[] = {
        {DefinitionKind::Standard, 2, 4, 1, ""},     {DefinitionKind::Standard, 1, 4, 1, ""},
        {DefinitionKind::Series, 2, 5, 3, "SERIES"}, {DefinitionKind::Series, 1, 5, 3, "SERIES"},
        {DefinitionKind::Rank, 2, 6, 4, "RANK"},     {DefinitionKind::Rank, 1, 6, 4, "RANK"},
        {DefinitionKind::Text, 2, 7, 1, "TEXT"},     {DefinitionKind::Text, 1, 7, 1, "TEXT"},
        {DefinitionKind::Standard, 3, 10, 1, ""}, // versions above 2 use the long layout too
    };
    for (const KindCase& c : cases) {
        SCOPED_TRACE(std::string("kind ") + c.expectedKind + " version " + std::to_string(c.version));
        test::MemoryFileSystem files;
        files.files[InFolder("v.AVL")] = DefinitionText(c.kind, c.version, c.options, c.rows);
        VoteEntry entry;
        ASSERT_TRUE(ReadVoteDefinition("v.AVL", entry, kFolder, files));
        EXPECT_EQ(entry.OptionCount, c.options);
        EXPECT_EQ(entry.RowCount, c.rows);
        EXPECT_EQ(entry.Kind, c.expectedKind);
        EXPECT_EQ(entry.FirstOption, 1);
        EXPECT_EQ(entry.Name, ""); // the name is the caller's

        // One field fewer: the file ends before the last field it needs.
        std::vector<std::string> fields = DefinitionFields(c.kind, c.version, c.options, c.rows);
        const std::size_t needed = fields.size();
        fields.pop_back();
        files.files[InFolder("v.AVL")] = JoinFields(fields);
        VoteEntry untouched;
        untouched.Name = "kept";
        try {
            ReadVoteDefinition("v.AVL", untouched, kFolder, files);
            FAIL() << "a truncated file must be refused";
        } catch (const FormatError& e) {
            EXPECT_EQ(e.path(), InFolder("v.AVL"));
            EXPECT_EQ(e.reason(), "the file ends before field " + std::to_string(needed));
        }
        EXPECT_EQ(untouched.Name, "kept");
        EXPECT_EQ(untouched.OptionCount, 0);
        EXPECT_EQ(untouched.RowCount, 0);
    }
}

TEST(ReadVoteDefinition, VersionOneStandardVoteWithFourOptionsSkipsThirtyFields) {
    // Written out by hand: nine leading fields, 30 skipped, then the first option.
    std::string text = "1,4,3,0,0,0,0,0,0\r\n";
    for (int i = 0; i < 30; ++i)
        text += "9,";
    text += "0\r\n";
    test::MemoryFileSystem files;
    files.files[InFolder("old.AVL")] = text;
    VoteEntry entry;
    ASSERT_TRUE(ReadVoteDefinition("old.AVL", entry, kFolder, files));
    EXPECT_EQ(entry.FirstOption, 0);
    EXPECT_EQ(entry.OptionCount, 4);
    EXPECT_EQ(entry.RowCount, 1);
    EXPECT_EQ(entry.Kind, "");
}

TEST(ReadVoteDefinition, OddFieldValues) {
    test::MemoryFileSystem files;
    VoteEntry entry;
    // A rating scale with the series sub-type stays a rating scale.
    std::vector<std::string> f = DefinitionFields(DefinitionKind::Rank, 2, 5, 2);
    f[7] = "2";
    files.files[InFolder("r.AVL")] = JoinFields(f);
    ASSERT_TRUE(ReadVoteDefinition("r.AVL", entry, kFolder, files));
    EXPECT_EQ(entry.Kind, "RANK");
    EXPECT_EQ(entry.RowCount, 2);
    // A garbled type code makes a standard vote.
    f = DefinitionFields(DefinitionKind::Standard, 2, 3, 1, 0);
    f[2] = "seven";
    files.files[InFolder("g.AVL")] = JoinFields(f);
    VoteEntry garbled;
    ASSERT_TRUE(ReadVoteDefinition("g.AVL", garbled, kFolder, files));
    EXPECT_EQ(garbled.Kind, "");
    EXPECT_EQ(garbled.FirstOption, 0);
    // A negative number of rows is refused.
    files.files[InFolder("s.AVL")] = DefinitionText(DefinitionKind::Series, 2, 3, -2);
    try {
        ReadVoteDefinition("s.AVL", garbled, kFolder, files);
        FAIL() << "a negative number of rows must be refused";
    } catch (const FormatError& e) {
        EXPECT_EQ(e.path(), InFolder("s.AVL"));
        EXPECT_EQ(e.reason(), "the number of rows is negative (-2)");
    }
}

TEST(ReadVoteDefinition, NameWithAFolderIsUsedUnchangedAndMissingFileChangesNothing) {
    test::MemoryFileSystem files;
    const std::string text = DefinitionText(DefinitionKind::Text, 2, 2);
    files.files["C:\\Other\\x.AVL"] = text;
    const std::string native = std::string("elsewhere") + kPathSeparator + "y.AVL";
    files.files[native] = text;
    files.files[InFolder("C:\\Other\\x.AVL")] = "garbage";
    VoteEntry entry;
    EXPECT_TRUE(ReadVoteDefinition("C:\\Other\\x.AVL", entry, kFolder, files));
    EXPECT_EQ(entry.Kind, "TEXT");
    VoteEntry second;
    EXPECT_TRUE(ReadVoteDefinition(native, second, kFolder, files));
    EXPECT_EQ(second.Kind, "TEXT");

    VoteEntry missing;
    missing.Kind = "before";
    files.reads = 0;
    EXPECT_FALSE(ReadVoteDefinition("absent.AVL", missing, kFolder, files));
    EXPECT_EQ(missing.Kind, "before");
    EXPECT_EQ(files.reads, 0);
}

} // namespace
} // namespace avelin
