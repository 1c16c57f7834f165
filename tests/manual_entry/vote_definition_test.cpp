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

// What a definition file reads as: "Kind OptionCount FirstOption RowCount",
// or why it is refused. The entry keeps its fields when it is refused.
std::string Read(const std::string& text, std::string name = "v.AVL") {
    test::MemoryFileSystem files;
    files.files[InFolder(name)] = text;
    VoteEntry e;
    e.Name = "kept"; // the name is the caller's
    try {
        ReadVoteDefinition(name, e, kFolder, files);
    } catch (const FormatError& error) {
        return error.path() + ": " + error.reason() +
               (e.Name == "kept" && e.OptionCount == 0 ? "" : " (changed)");
    }
    return e.Kind + " " + std::to_string(e.OptionCount) + " " + std::to_string(e.FirstOption) + " " +
           std::to_string(e.RowCount) + (e.Name == "kept" ? "" : " (renamed)");
}

TEST(ReadVoteDefinition, EachKindInBothFormatVersionsAndTruncated) {
    const struct {
        DefinitionKind kind;
        int version, options, rows;
        std::string read;
    } cases[] = {
        {DefinitionKind::Standard, 2, 4, 1, " 4 1 1"},     {DefinitionKind::Standard, 1, 4, 1, " 4 1 1"},
        {DefinitionKind::Series, 2, 5, 3, "SERIES 5 1 3"}, {DefinitionKind::Series, 1, 5, 3, "SERIES 5 1 3"},
        {DefinitionKind::Rank, 2, 6, 4, "RANK 6 1 4"},     {DefinitionKind::Rank, 1, 6, 4, "RANK 6 1 4"},
        {DefinitionKind::Text, 2, 7, 1, "TEXT 7 1 1"},     {DefinitionKind::Text, 1, 7, 1, "TEXT 7 1 1"},
        {DefinitionKind::Standard, 3, 10, 1, " 10 1 1"}, // versions above 2 use the long layout too
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.read + " version " + std::to_string(c.version));
        EXPECT_EQ(Read(DefinitionText(c.kind, c.version, c.options, c.rows)), c.read);
        // One field fewer: the file ends before the last field it needs.
        std::vector<std::string> fields = DefinitionFields(c.kind, c.version, c.options, c.rows);
        fields.pop_back();
        EXPECT_EQ(Read(JoinFields(fields)),
                  InFolder("v.AVL") + ": the file ends before field " + std::to_string(fields.size() + 1));
    }
}

TEST(ReadVoteDefinition, OddFieldValues) {
    // Written out by hand: version 1, nine leading fields, 30 skipped, then the first option.
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

TEST(ReadVoteDefinition, NameWithAFolderIsUsedUnchangedAndMissingFileChangesNothing) {
    test::MemoryFileSystem files;
    const std::string text = DefinitionText(DefinitionKind::Text, 2, 2);
    files.files["C:\\Other\\x.AVL"] = text;
    const std::string native = std::string("elsewhere") + kPathSeparator + "y.AVL";
    files.files[native] = text;
    files.files[InFolder("C:\\Other\\x.AVL")] = "garbage";
    VoteEntry entry, second;
    EXPECT_TRUE(ReadVoteDefinition("C:\\Other\\x.AVL", entry, kFolder, files));
    EXPECT_EQ(entry.Kind, "TEXT");
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
