// The text report and what the three reports share.
#include <algorithm>
#include <cstdio>

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
    const std::int64_t whole = tenths / 10;
    return std::to_string(whole) + "." + static_cast<char>('0' + tenths % 10);
}

std::string Percent(std::int64_t count, std::int64_t total) {
    if (total == 0)
        return "-";
    // In whole numbers: a report holds hundreds of thousands of them.
    return Tenths((2000 * count + total) / (2 * total)) + "%";
}

std::string PText(double p) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", p);
    return text;
}

namespace {

std::string PadLeft(const std::string& s, std::size_t width) {
    return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}
std::string PadRight(const std::string& s, std::size_t width) {
    return s.size() >= width ? s : s + std::string(width - s.size(), ' ');
}

// A column of counts and percentages: "   12  37.5%".
std::string Cell(std::int64_t count, const std::string& percent, std::size_t width) {
    return "  " + PadLeft(std::to_string(count), width - 7) + " " + PadLeft(percent, 6);
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
    const auto columns = [groups](std::vector<std::int64_t> counts) {
        if (groups > 1) {
            std::int64_t all = 0;
            for (std::int64_t n : counts)
                all += n;
            counts.push_back(all);
        }
        return counts;
    };
    const auto line = [](std::string row) { return row.erase(row.find_last_not_of(' ') + 1) + "\n"; };
    for (const VoteTally& vote : report.votes) {
        std::size_t first = 9; // "no answer"
        for (const AnswerCount& a : vote.answers)
            first = std::max(first, a.answer.size());
        out += "\n" + vote.name + " (line " + std::to_string(vote.line) + ")\n";
        std::string row = PadRight("answer", first);
        for (std::size_t c = 0; c < titles.size(); ++c)
            row += "  " + PadLeft(titles[c], widths[c]);
        out += line(row);
        std::vector<std::int64_t> given;
        for (std::size_t g = 0; g < groups; ++g)
            given.push_back(vote.AnswersOf(g));
        given = columns(given);
        for (const AnswerCount& a : vote.answers) {
            const auto counts = columns(a.byGroup);
            row = PadRight(a.answer, first);
            for (std::size_t c = 0; c < titles.size(); ++c)
                row += Cell(counts[c], Percent(counts[c], given[c]), widths[c]);
            out += line(row);
        }
        row = PadRight("answers", first);
        for (std::size_t c = 0; c < titles.size(); ++c)
            row += Cell(given[c], "", widths[c]);
        out += line(row);
        const auto none = columns(vote.noAnswer);
        row = PadRight("no answer", first);
        for (std::size_t c = 0; c < titles.size(); ++c)
            row += Cell(none[c], "", widths[c]);
        out += line(row) + TestLine(vote);
    }
    return out;
}

} // namespace avelin
