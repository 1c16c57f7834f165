// The text report and what the three reports share.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string_view>

#include "report/report_writers.h"

namespace avelin {

std::vector<std::vector<std::int64_t>> CountTable(const VoteTally& vote) {
    std::vector<std::vector<std::int64_t>> table(vote.noAnswer.size());
    for (std::size_t g = 0; g < table.size(); ++g)
        for (const AnswerCount& a : vote.answers)
            table[g].push_back(a.byGroup[g]);
    return table;
}

std::optional<IndependenceTest> GroupTest(const VoteTally& vote) {
    return TestIndependence(CountTable(vote));
}

std::string Tenths(std::int64_t tenths) {
    char text[24];
    char* end = std::to_chars(text, text + 21, tenths / 10).ptr;
    *end++ = '.';
    *end++ = static_cast<char>('0' + tenths % 10);
    return std::string(text, end);
}

std::string Percent(std::int64_t count, std::int64_t total) {
    if (total == 0)
        return "-";
    // In whole numbers: a report holds hundreds of thousands of them.
    std::string text = Tenths((2000 * count + total) / (2 * total));
    text += '%';
    return text;
}

std::string PText(double p) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", p);
    return text;
}

namespace {

// Appends `s` to `out`, blanks in front up to `width` characters.
void AppendLeft(std::string& out, std::string_view s, std::size_t width) {
    if (s.size() < width)
        out.append(width - s.size(), ' ');
    out.append(s);
}

// Appends a column of counts and percentages: "   12  37.5%".
void AppendCell(std::string& out, std::int64_t count, std::string_view percent, std::size_t width) {
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, count).ptr;
    out.append("  ");
    AppendLeft(out, std::string_view(digits, static_cast<std::size_t>(end - digits)), width - 7);
    out += ' ';
    AppendLeft(out, percent, 6);
}

// Starts a table row with its label, blanks behind it up to `width`.
void StartRow(std::string& out, std::string_view label, std::size_t width) {
    out.append(label);
    if (label.size() < width)
        out.append(width - label.size(), ' ');
}

// Ends the row that `out` ends with: its trailing blanks dropped, a line end.
void EndRow(std::string& out) {
    out.erase(out.find_last_not_of(' ') + 1);
    out += '\n';
}

std::string TestLine(const VoteTally& vote) {
    const auto test = GroupTest(vote);
    if (!test)
        return "no test: fewer than two groups or answers occur\n";
    char statistic[32];
    std::snprintf(statistic, sizeof statistic, "%.3f", test->statistic);
    std::string line = "chi-square " + std::string(statistic) + ", " + std::to_string(test->degrees) +
                       (test->degrees == 1 ? " degree" : " degrees") + " of freedom, p = " + PText(test->p);
    if (test->p < 0.05)
        line += " (p < 0.05)";
    if (test->FewExpected())
        line += "; more than a fifth of the expected counts are below 5";
    return line + "\n";
}

} // namespace

std::string TextReport(const ResultsReport& report) {
    const std::size_t groups = report.groups.size();
    std::string out = report.path + ": " + (report.merged ? "merged file, " : "") + std::to_string(groups) +
                      (groups == 1 ? " group, " : " groups, ") + std::to_string(report.votes.size()) +
                      (report.votes.size() == 1 ? " vote\n" : " votes\n");
    // One column per group, and one for all of them when there are several.
    std::vector<std::string> titles;
    std::vector<std::size_t> widths;
    for (const ReportGroup& g : report.groups) {
        out +=
            "  " + g.name + ": " + std::to_string(g.keypads) + (g.keypads == 1 ? " keypad\n" : " keypads\n");
        titles.push_back(g.name);
    }
    if (groups > 1)
        titles.push_back("all");
    for (const std::string& t : titles)
        widths.push_back(std::max<std::size_t>(t.size(), 12));
    // Room for the whole text at once: a report of a large file runs to
    // megabytes, and growing it step by step copies it again and again.
    std::size_t rowWidth = 1;
    for (std::size_t w : widths)
        rowWidth += 2 + w;
    std::size_t size = out.size();
    for (const VoteTally& vote : report.votes) {
        std::size_t first = 9;
        for (const AnswerCount& a : vote.answers)
            first = std::max(first, a.answer.size());
        size += vote.name.size() + 32 + (vote.answers.size() + 3) * (first + rowWidth) + 160;
    }
    out.reserve(size);
    // A row's counts, one per group, and their sum when there are several groups.
    std::vector<std::int64_t> given, counts;
    const auto columns = [groups](std::vector<std::int64_t>& row) {
        if (groups > 1) {
            std::int64_t all = 0;
            for (std::size_t g = 0; g < groups; ++g)
                all += row[g];
            row.push_back(all);
        }
    };
    for (const VoteTally& vote : report.votes) {
        std::size_t first = 9; // "no answer"
        for (const AnswerCount& a : vote.answers)
            first = std::max(first, a.answer.size());
        Append(out, "\n", vote.name, " (line ", std::to_string(vote.line), ")\n");
        StartRow(out, "answer", first);
        for (std::size_t c = 0; c < titles.size(); ++c) {
            out.append("  ");
            AppendLeft(out, titles[c], widths[c]);
        }
        EndRow(out);
        given.clear();
        for (std::size_t g = 0; g < groups; ++g)
            given.push_back(vote.AnswersOf(g));
        columns(given);
        for (const AnswerCount& a : vote.answers) {
            counts.assign(a.byGroup.begin(), a.byGroup.end());
            columns(counts);
            StartRow(out, a.answer, first);
            for (std::size_t c = 0; c < titles.size(); ++c)
                AppendCell(out, counts[c], Percent(counts[c], given[c]), widths[c]);
            EndRow(out);
        }
        StartRow(out, "answers", first);
        for (std::size_t c = 0; c < titles.size(); ++c)
            AppendCell(out, given[c], "", widths[c]);
        EndRow(out);
        counts.assign(vote.noAnswer.begin(), vote.noAnswer.end());
        columns(counts);
        StartRow(out, "no answer", first);
        for (std::size_t c = 0; c < titles.size(); ++c)
            AppendCell(out, counts[c], "", widths[c]);
        EndRow(out);
        out += TestLine(vote);
    }
    return out;
}

} // namespace avelin
