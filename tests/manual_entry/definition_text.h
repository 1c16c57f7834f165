#pragma once
// Vote definition file texts for tests: the nine leading fields, the kind's
// block, and filler fields that make an off-by-one read visible.
#include <string>
#include <vector>

namespace avelin::test {

// Fields are joined by commas with a line end after every seventh, so that
// reads cross line ends as they do in files the add-in writes.
inline std::string JoinFields(const std::vector<std::string>& fields) {
    std::string text;
    for (std::size_t i = 0; i < fields.size(); ++i)
        text += fields[i] + ((i + 1) % 7 == 0 || i + 1 == fields.size() ? "\r\n" : ",");
    return text;
}

enum class DefinitionKind { Standard, Series, Rank, Text };

// Skipped fields hold "5": a read one field too early gives 5, one too late
// runs past the end of the file. `rows` is the iterations or items.
inline std::vector<std::string> DefinitionFields(DefinitionKind kind, int version, int options, int rows,
                                                 int first = 1) {
    const int v = version >= 2 ? 0 : 2; // version 1 has two fields fewer
    std::vector<std::string> f(9, "0");
    f[0] = std::to_string(version);
    f[1] = std::to_string(options);
    f[2] = std::to_string(kind == DefinitionKind::Rank ? 7 : kind == DefinitionKind::Text ? 6 : 1);
    f[3] = "\"Question, with a comma\"";
    f[7] = kind == DefinitionKind::Series ? "2" : "0"; // sub-type
    const auto filler = [&f](int n) { f.insert(f.end(), static_cast<std::size_t>(n), "5"); };
    if (kind == DefinitionKind::Rank) {
        f.push_back(std::to_string(rows));
        filler(4 * rows + 16 - v);
    } else {
        filler((kind == DefinitionKind::Text ? 2 : 3) * options + 20 - v);
    }
    f.push_back(std::to_string(first));
    if (kind == DefinitionKind::Series) {
        filler(2);
        f.push_back(std::to_string(rows));
    }
    return f;
}

inline std::string DefinitionText(DefinitionKind kind, int version, int options, int rows = 1,
                                  int first = 1) {
    return JoinFields(DefinitionFields(kind, version, options, rows, first));
}

} // namespace avelin::test
