#include "manual_entry/vote_definition.h"

#include <cmath>
#include <limits>

#include "manual_entry/grid_rules.h"
#include "platform/errors.h"

namespace avelin {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::string VoteDefinitionPath(const std::string& name, const std::string& presentationFolder) {
    // Only a backslash marks a name that carries its own folder, on every
    // platform: any other name, one with "/" included, lies beside the
    // presentation.
    return name.find('\\') != std::string::npos ? name : presentationFolder + kPathSeparator + name;
}

FieldReader::FieldReader(std::string text, std::string path)
    : text_(std::move(text)), path_(std::move(path)) {}

bool FieldReader::atLineEnd() const {
    return pos_ < text_.size() && (text_[pos_] == '\r' || text_[pos_] == '\n');
}

void FieldReader::skipLineEnd() {
    if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n')
        ++pos_;
    ++pos_;
}

std::string FieldReader::next() {
    // Every line end closes a field, so a blank line holds one empty field,
    // as does a line end right after a comma.
    while (pos_ < text_.size() && isBlank(text_[pos_]))
        ++pos_;
    if (pos_ >= text_.size() && !afterComma_)
        throw FormatError(path_, 0, "the file ends before field " + std::to_string(fieldNumber_ + 1));

    std::string field;
    if (pos_ < text_.size() && text_[pos_] == '"') {
        const std::size_t close = text_.find('"', pos_ + 1);
        const std::size_t end = close == std::string::npos ? text_.size() : close;
        field = text_.substr(pos_ + 1, end - pos_ - 1);
        pos_ = close == std::string::npos ? end : close + 1;
        // Whatever stands between the closing quote and the delimiter is dropped.
        while (pos_ < text_.size() && text_[pos_] != ',' && !atLineEnd())
            ++pos_;
    } else {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != ',' && !atLineEnd())
            ++pos_;
        std::size_t end = pos_;
        while (end > start && isBlank(text_[end - 1]))
            --end;
        field = text_.substr(start, end - start);
    }

    afterComma_ = false;
    if (pos_ < text_.size()) {
        if (text_[pos_] == ',') {
            ++pos_;
            afterComma_ = true;
        } else {
            skipLineEnd();
        }
    }
    ++fieldNumber_;
    return field;
}

double FieldReader::nextNumber() {
    return NumericValue(next());
}

std::int16_t FieldReader::nextInt16() {
    const double value = std::nearbyint(nextNumber()); // the default rounding mode: halves to even
    if (!(value >= std::numeric_limits<std::int16_t>::min() &&
          value <= std::numeric_limits<std::int16_t>::max()))
        throw FormatError(
            path_, 0, "field " + std::to_string(fieldNumber_) + " holds a number outside -32768 to 32767");
    return static_cast<std::int16_t>(value);
}

void FieldReader::skip(long count) {
    for (long i = 0; i < count; ++i)
        next();
}

// Choices for fields that are not numbers: such a field reads as the number it
// starts with, or 0 (so a garbled type code makes a standard vote). A negative
// number of rows is refused because it would shift the rows of every later
// vote in the grid.
bool ReadVoteDefinition(const std::string& name, VoteEntry& entry, const std::string& presentationFolder,
                        const FileSystem& files) {
    const std::string path = VoteDefinitionPath(name, presentationFolder);
    if (!files.fileExists(path))
        return false;
    FieldReader fields(files.readAll(path), path);

    const double version = fields.nextNumber();
    const long v = version >= 2 ? 0 : 2; // older files have two fields fewer in the block
    VoteEntry read = entry;
    read.OptionCount = fields.nextInt16();
    const std::int16_t type = fields.nextInt16();
    fields.skip(4); // fields 4 to 7
    const std::int16_t subType = fields.nextInt16();
    fields.skip(1); // field 9

    const long options = read.OptionCount;
    if (type == 7) {
        read.Kind = "RANK";
        read.RowCount = fields.nextInt16();
        fields.skip(4L * read.RowCount + 16 - v);
        read.FirstOption = fields.nextInt16();
    } else if (subType == 2) {
        read.Kind = "SERIES";
        fields.skip(3 * options + 20 - v);
        read.FirstOption = fields.nextInt16();
        fields.skip(2);
        read.RowCount = fields.nextInt16();
    } else if (type == 6) {
        read.Kind = "TEXT";
        read.RowCount = 1;
        fields.skip(2 * options + 20 - v);
        read.FirstOption = fields.nextInt16();
    } else {
        read.RowCount = 1;
        fields.skip(3 * options + 20 - v);
        read.FirstOption = fields.nextInt16();
    }
    if (read.RowCount < 0)
        throw FormatError(path, 0, "the number of rows is negative (" + std::to_string(read.RowCount) + ")");
    entry = read;
    return true;
}

} // namespace avelin
