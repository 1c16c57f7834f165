#include <cstdio>

#include "report/report_writers.h"

namespace avelin {

namespace {

// Quoted when it holds a comma, a double quote or a line end, its double
// quotes doubled.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

} // namespace

std::string CsvReport(const ResultsReport& report) {
    std::string out = "line,vote,group,answer,count,share,p_value\r\n";
    std::size_t rows = 0;
    for (const VoteTally& vote : report.votes)
        rows += report.groups.size() * (vote.answers.size() + 1);
    out.reserve(rows * (48 + (report.votes.empty() ? 0 : report.votes.front().name.size())));
    std::vector<std::string> groups;
    for (const ReportGroup& g : report.groups)
        groups.push_back(CsvField(g.name));
    std::vector<std::string> answers;
    for (const VoteTally& vote : report.votes) {
        char p[32] = "";
        if (const auto test = GroupTest(vote))
            std::snprintf(p, sizeof p, "%#.8g", test->p);
        const std::string head = std::to_string(vote.line) + "," + CsvField(vote.name) + ",";
        answers.clear();
        for (const AnswerCount& a : vote.answers)
            answers.push_back(CsvField(a.answer));
        for (std::size_t g = 0; g < groups.size(); ++g) {
            const std::int64_t given = vote.AnswersOf(g);
            for (std::size_t a = 0; a < answers.size(); ++a) {
                const std::int64_t count = vote.answers[a].byGroup[g];
                char share[32] = "";
                if (given > 0)
                    std::snprintf(share, sizeof share, "%.6f",
                                  static_cast<double>(count) / static_cast<double>(given));
                Append(out, head, groups[g], ",", answers[a], ",", std::to_string(count), ",", share, ",", p,
                       "\r\n");
            }
            if (vote.noAnswer[g] > 0)
                Append(out, head, groups[g], ",-,", std::to_string(vote.noAnswer[g]), ",,", p, "\r\n");
        }
    }
    return out;
}

} // namespace avelin
