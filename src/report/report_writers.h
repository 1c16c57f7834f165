#pragma once
// The reports of a results model: a text for the terminal, CSV in long
// format, and one self-contained HTML page.
#include <optional>
#include <string>
#include <vector>

#include "report/chi_square.h"
#include "report/results_model.h"

namespace avelin {

std::string TextReport(const ResultsReport& report);
// Columns line,vote,group,answer,count,share,p_value; RFC 4180 quoting and
// CR LF line ends.
std::string CsvReport(const ResultsReport& report);
std::string HtmlReport(const ResultsReport& report);

// A vote's counts as a table: one row per group, one column per answer.
std::vector<std::vector<std::int64_t>> CountTable(const VoteTally& vote);
// The test of independence of group and answer for a vote.
std::optional<IndependenceTest> GroupTest(const VoteTally& vote);
// `count` of `total` as a percentage with one decimal ("37.5%"), "-" when
// `total` is 0.
std::string Percent(std::int64_t count, std::int64_t total);
// A number of tenths, not negative, as a decimal: 1234 -> "123.4".
std::string Tenths(std::int64_t tenths);
// A p-value to four significant digits.
std::string PText(double p);

// Appends texts to `out` without building their sum first (a report of a
// large file is made of millions of small pieces).
template <class... Texts> void Append(std::string& out, const Texts&... texts) {
    (out.append(texts), ...);
}

} // namespace avelin
