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

std::string Share(std::int64_t count, std::int64_t total) {
    if (total == 0)
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(count) / static_cast<double>(total));
    return text;
}

} // namespace

std::string CsvReport(const ResultsReport& report) {
    std::string out = "line,vote,group,answer,count,share,p_value\r\n";
    for (const VoteTally& vote : report.votes) {
        std::string p;
        if (const auto test = GroupTest(vote)) {
            char text[32];
            std::snprintf(text, sizeof text, "%#.8g", test->p);
            p = text;
        }
        const std::string head = std::to_string(vote.line) + "," + CsvField(vote.name) + ",";
        for (std::size_t g = 0; g < report.groups.size(); ++g) {
            const std::string group = head + CsvField(report.groups[g].name) + ",";
            const std::int64_t given = vote.AnswersOf(g);
            for (const AnswerCount& a : vote.answers)
                out += group + CsvField(a.answer) + "," + std::to_string(a.byGroup[g]) + "," +
                       Share(a.byGroup[g], given) + "," + p + "\r\n";
            if (vote.noAnswer[g] > 0)
                out += group + "-," + std::to_string(vote.noAnswer[g]) + ",," + p + "\r\n";
        }
    }
    return out;
}

} // namespace avelin
