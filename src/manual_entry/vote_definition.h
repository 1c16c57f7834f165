#pragma once
// Vote definition files (".AVL") and the facts the manual data window takes
// from them.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace avelin {

struct VoteEntry {
    std::string Name;             // definition file name as the shape's action gives it
    std::int16_t OptionCount = 0; // number of answer options
    std::int16_t RowCount = 0;    // grid rows: iterations, items, or 1
    std::string Kind;             // "SERIES", "RANK", "TEXT" or empty (standard)
    std::int16_t FirstOption = 0; // 0 or 1
};

// Reads the fields of a definition file's text in the manner of comma-
// separated data: a field ends at a comma or a line end, blanks before a field
// are skipped, a quoted field loses its quotes and may hold commas.
class FieldReader {
  public:
    FieldReader(std::string text, std::string path);
    // The next field; throws FormatError naming the file when none is left.
    std::string next();
    // The next field as a number: the number the field starts with, 0 when it
    // does not start with one.
    double nextNumber();
    // The next field as a whole number (halves to the even neighbour); throws
    // FormatError when it lies outside -32768 to 32767.
    std::int16_t nextInt16();
    // Reads and drops `count` fields (none when `count` is not above 0).
    void skip(long count);
    // Fields read so far.
    int fieldNumber() const { return fieldNumber_; }

  private:
    bool atLineEnd() const;
    void skipLineEnd();

    std::string text_;
    std::string path_;
    std::size_t pos_ = 0;
    int fieldNumber_ = 0;
    bool afterComma_ = false; // the last field ended at a comma
};

// Where the definition file `name` lies: a name that holds a backslash as it
// stands, any other name in `presentationFolder`.
std::string VoteDefinitionPath(const std::string& name, const std::string& presentationFolder);

// Fills `entry` (all but Name) from the definition file `name`: a name without
// a backslash is taken from `presentationFolder`. Returns false and
// changes nothing when the file does not exist. Throws FormatError when the
// file ends too early or holds a count the grid cannot take (outside the
// 16-bit range, or a negative number of rows), FileError when it cannot be
// read; `entry` is then unchanged too.
bool ReadVoteDefinition(const std::string& name, VoteEntry& entry, const std::string& presentationFolder,
                        const FileSystem& files);

} // namespace avelin
