#pragma once
// Builds vote definition file texts for tests: the nine leading fields, the
// kind's block, and filler fields that make an off-by-one read visible.
#include <string>
#include <vector>

namespace avelin::test {

// Fields are joined by commas with a line end after every seventh, so that
// reads cross line ends as they do in files the add-in writes.
inline std::string JoinFields(const std::vector<std::string>& fields) {
    std::string text;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        text += fields[i];
        text += (i + 1) % 7 == 0 || i + 1 == fields.size() ? "\r\n" : ",";
    }
    return text;
}

enum class DefinitionKind { Standard, Series, Rank, Text };

// Skipped fields hold "5" and the first option number is 1: a read one field
// too early gives 5, one too late runs past the end of the file.
inline std::vector<std::string> DefinitionFields(DefinitionKind kind, int version, int options, int rows) {
    const int v = version >= 2 ? 0 : 2;
    const int type = kind == DefinitionKind::Rank ? 7 : kind == DefinitionKind::Text ? 6 : 1;
    const int subType = kind == DefinitionKind::Series ? 2 : 0;
    std::vector<std::string> f = {std::to_string(version),
                                  std::to_string(options),
                                  std::to_string(type),
                                  "\"Question, with a comma\"",
                                  "0",
                                  "0",
                                  "0",
                                  std::to_string(subType),
                                  "0"};
    auto filler = [&f](int n) { f.insert(f.end(), static_cast<std::size_t>(n), "5"); };
    switch (kind) {
    case DefinitionKind::Rank:
        f.push_back(std::to_string(rows));
        filler(4 * rows + 16 - v);
        f.push_back("1");
        break;
    case DefinitionKind::Series:
        filler(3 * options + 20 - v);
        f.push_back("1");
        filler(2);
        f.push_back(std::to_string(rows));
        break;
    case DefinitionKind::Text:
        filler(2 * options + 20 - v);
        f.push_back("1");
        break;
    case DefinitionKind::Standard:
        filler(3 * options + 20 - v);
        f.push_back("1");
        break;
    }
    return f;
}

inline std::string DefinitionText(DefinitionKind kind, int version, int options, int rows = 1) {
    return JoinFields(DefinitionFields(kind, version, options, rows));
}

} // namespace avelin::test
