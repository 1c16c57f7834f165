// The HTML report: one self-contained page (its style inline, charts as
// inline SVG, no scripts) that opens offline and prints one vote per block.
// The markup is well-formed XML as well.
#include <algorithm>
#include <cstdio>
#include <iterator>

#include "report/report_writers.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace avelin {

namespace {

// Texts are bytes of the system code page, written as they are.
std::string Charset() {
#ifdef _WIN32
    return "windows-" + std::to_string(GetACP());
#else
    return "utf-8";
#endif
}

const char* const kColours[] = {"#4e79a7", "#f28e2b", "#e15759", "#76b7b2", "#59a14f",
                                "#edc948", "#b07aa1", "#ff9da7", "#9c755f", "#bab0ac"};
constexpr std::size_t kColourCount = std::size(kColours);

// The class that colours group g's swatches and bars.
std::string ColourClass(std::size_t g) {
    return "g" + std::to_string(g % kColourCount);
}

void AppendEscaped(std::string& out, const std::string& text) {
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
}

std::string Number(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// A group's colour and name.
void AppendGroup(std::string& out, const ResultsReport& report, std::size_t g) {
    Append(out, "<i class=\"sw ", ColourClass(g), "\"></i>");
    AppendEscaped(out, report.groups[g].name);
}

void AppendP(std::string& out, const std::optional<IndependenceTest>& test) {
    if (!test)
        out += "<td>-</td>";
    else
        Append(out, test->p < 0.05 ? "<td class=\"significant\">" : "<td>", PText(test->p), "</td>");
}

constexpr const char* kStyle = R"(
body { font: 15px/1.4 "Segoe UI", system-ui, Arial, sans-serif; color: #222; margin: 2em auto; max-width: 62em; padding: 0 1em; }
h1 { font-size: 1.6em; margin-bottom: .2em; }
h2 { font-size: 1.2em; margin: 0 0 .4em; }
h2 small { font-weight: normal; color: #666; }
table { border-collapse: collapse; margin: .4em 0 .8em; }
th, td { border: 1px solid #d0d0d0; padding: .15em .55em; text-align: right; vertical-align: top; }
th { background: #f3f3f3; }
th:first-child, td:first-child { text-align: left; }
table.summary td { text-align: left; }
table.rest td { white-space: nowrap; }
.pct { color: #555; }
.sw { display: inline-block; width: .8em; height: .8em; margin-right: .35em; border-radius: 2px; }
.vote { border-top: 2px solid #888; padding-top: .8em; margin-top: 1.6em; break-inside: avoid; page-break-inside: avoid; }
.legend span.item { margin-right: 1.2em; white-space: nowrap; }
.significant { color: #a30000; font-weight: bold; }
.warning { color: #7a4f00; background: #fff4d6; padding: .2em .5em; }
svg { max-width: 100%; height: auto; }
svg text { font: 11px "Segoe UI", system-ui, Arial, sans-serif; fill: #333; }
svg line { stroke: #ddd; }
svg line.axis { stroke: #666; }
@media print {
  body { margin: 0; max-width: none; font-size: 11pt; }
  * { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
  a { color: inherit; text-decoration: none; }
}
)";

// Bars of each group's share of its answers, one cluster per answer.
void AppendChart(std::string& out, const ResultsReport& report, const VoteTally& vote) {
    const std::size_t groups = report.groups.size();
    const std::size_t answers = vote.answers.size();
    const int bar = groups <= 3 ? 18 : groups <= 6 ? 12 : 8;
    const int cluster = static_cast<int>(groups) * bar + 18;
    const int left = 42, top = 10, plot = 150;
    const int width = left + std::max<int>(1, static_cast<int>(answers)) * cluster + 10;
    const int height = top + plot + 26;
    Append(out, "<svg xmlns=\"http://www.w3.org/2000/svg\" role=\"img\" width=\"", std::to_string(width),
           "\" height=\"", std::to_string(height), "\" viewBox=\"0 0 ", std::to_string(width), " ",
           std::to_string(height), "\"><title>");
    AppendEscaped(out, vote.name);
    out += ": share of each group's answers</title>";
    for (int pct = 0; pct <= 100; pct += 25) {
        const std::string y = std::to_string(top + plot - plot * pct / 100);
        Append(out, "<line x1=\"", std::to_string(left), "\" x2=\"", std::to_string(width - 6), "\" y1=\"", y,
               "\" y2=\"", y, pct == 0 ? "\" class=\"axis\"/>" : "\"/>", "<text x=\"",
               std::to_string(left - 5), "\" y=\"", y, "\" dy=\"4\" text-anchor=\"end\">",
               std::to_string(pct), "%</text>");
    }
    std::vector<std::int64_t> given(groups);
    for (std::size_t g = 0; g < groups; ++g)
        given[g] = vote.AnswersOf(g);
    for (std::size_t a = 0; a < answers; ++a) {
        const int x0 = left + static_cast<int>(a) * cluster + 9;
        for (std::size_t g = 0; g < groups; ++g) {
            const std::int64_t count = vote.answers[a].byGroup[g];
            if (count == 0)
                continue;
            const std::int64_t h = (20 * plot * count + given[g]) / (2 * given[g]); // in tenths
            Append(out, "<rect class=\"", ColourClass(g), "\" x=\"",
                   std::to_string(x0 + static_cast<int>(g) * bar), "\" y=\"", Tenths(10 * (top + plot) - h),
                   "\" width=\"", std::to_string(bar - 2), "\" height=\"", Tenths(h), "\"/>");
        }
        Append(out, "<text x=\"", std::to_string(x0 + static_cast<int>(groups) * bar / 2), "\" y=\"",
               std::to_string(top + plot + 16), "\" text-anchor=\"middle\">");
        AppendEscaped(out, vote.answers[a].answer);
        out += "</text>";
    }
    if (answers == 0)
        Append(out, "<text x=\"", std::to_string(left + 10), "\" y=\"", std::to_string(top + plot / 2),
               "\">no answers</text>");
    out += "</svg>\n";
}

void AppendLegend(std::string& out, const ResultsReport& report) {
    out += "<p class=\"legend\">";
    for (std::size_t g = 0; g < report.groups.size(); ++g) {
        out += "<span class=\"item\">";
        AppendGroup(out, report, g);
        out += "</span>";
    }
    out += "</p>\n";
}

void AppendCounts(std::string& out, const ResultsReport& report, const VoteTally& vote) {
    const std::size_t groups = report.groups.size();
    out += "<table class=\"counts\"><tr><th>Answer</th>";
    for (std::size_t g = 0; g < groups; ++g) {
        out += "<th>";
        AppendGroup(out, report, g);
        out += "</th>";
    }
    out += "<th>All</th></tr>\n";
    std::vector<std::int64_t> given(groups);
    std::int64_t all = 0, none = 0;
    for (std::size_t g = 0; g < groups; ++g) {
        all += given[g] = vote.AnswersOf(g);
        none += vote.noAnswer[g];
    }
    for (const AnswerCount& a : vote.answers) {
        out += "<tr><td>";
        AppendEscaped(out, a.answer);
        out += "</td>";
        std::int64_t sum = 0;
        for (std::size_t g = 0; g < groups; ++g) {
            Append(out, "<td>", std::to_string(a.byGroup[g]), " <span class=\"pct\">",
                   Percent(a.byGroup[g], given[g]), "</span></td>");
            sum += a.byGroup[g];
        }
        Append(out, "<td>", std::to_string(sum), " <span class=\"pct\">", Percent(sum, all),
               "</span></td></tr>\n");
    }
    out += "<tr><th>Answers</th>";
    for (std::size_t g = 0; g < groups; ++g)
        Append(out, "<th>", std::to_string(given[g]), "</th>");
    Append(out, "<th>", std::to_string(all), "</th></tr>\n<tr><td>No answer</td>");
    for (std::size_t g = 0; g < groups; ++g)
        Append(out, "<td>", std::to_string(vote.noAnswer[g]), "</td>");
    Append(out, "<td>", std::to_string(none), "</td></tr></table>\n");
}

// Each group's shares beside those of all other groups together, and the
// test of that group against the rest.
void AppendAgainstRest(std::string& out, const ResultsReport& report, const VoteTally& vote) {
    const std::size_t groups = report.groups.size();
    if (groups < 2 || vote.answers.empty())
        return;
    out += "<table class=\"rest\"><tr><th>Group against the rest</th>";
    for (const AnswerCount& a : vote.answers) {
        out += "<th>";
        AppendEscaped(out, a.answer);
        out += "</th>";
    }
    out += "<th>p</th></tr>\n";
    const auto table = CountTable(vote);
    std::vector<std::int64_t> all(vote.answers.size(), 0);
    for (const auto& row : table)
        for (std::size_t a = 0; a < all.size(); ++a)
            all[a] += row[a];
    std::int64_t allTotal = 0;
    for (std::int64_t n : all)
        allTotal += n;
    for (std::size_t g = 0; g < groups; ++g) {
        std::vector<std::int64_t> rest(all.size());
        for (std::size_t a = 0; a < all.size(); ++a)
            rest[a] = all[a] - table[g][a];
        const std::int64_t given = vote.AnswersOf(g);
        out += "<tr><td>";
        AppendGroup(out, report, g);
        out += "</td>";
        for (std::size_t a = 0; a < rest.size(); ++a)
            Append(out, "<td>", Percent(table[g][a], given), " <span class=\"pct\">vs ",
                   Percent(rest[a], allTotal - given), "</span></td>");
        AppendP(out, TestIndependence({table[g], rest}));
        out += "</tr>\n";
    }
    out += "</table>\n";
}

void AppendTest(std::string& out, const VoteTally& vote) {
    const auto test = GroupTest(vote);
    if (!test) {
        out += "<p class=\"test\">No test: fewer than two groups or answers occur.</p>\n";
        return;
    }
    const bool significant = test->p < 0.05;
    Append(out, significant ? "<p class=\"test significant\">" : "<p class=\"test\">",
           "Chi-square test of group and answer: &#967;&#178; = ", Number("%.3f", test->statistic), ", ",
           std::to_string(test->degrees), test->degrees == 1 ? " degree" : " degrees",
           " of freedom, p = ", PText(test->p),
           significant ? " &#8212; the groups answered differently (p &lt; 0.05).</p>\n" : ".</p>\n");
    if (test->FewExpected())
        Append(out, "<p class=\"warning\">&#9888; ", std::to_string(test->smallExpected), " of ",
               std::to_string(test->cells),
               " expected counts are below 5, more than a fifth: the p-value is only a rough guide.</p>\n");
}

} // namespace

std::string HtmlReport(const ResultsReport& report) {
    std::vector<std::optional<IndependenceTest>> tests;
    std::size_t significant = 0;
    for (const VoteTally& vote : report.votes) {
        tests.push_back(GroupTest(vote));
        significant += tests.back() && tests.back()->p < 0.05;
    }
    // Room for the whole page at once: growing it step by step would copy
    // tens of megabytes for a large file.
    std::size_t room = 8192;
    for (const VoteTally& vote : report.votes)
        room += 2048 + 160 * report.groups.size() * (vote.answers.size() + 2);
    std::string out;
    out.reserve(room);
    Append(out, "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"", Charset(),
           "\"/>\n<title>Results by group: ");
    AppendEscaped(out, report.path);
    Append(out, "</title>\n<style>", kStyle);
    for (std::size_t c = 0; c < kColourCount; ++c)
        Append(out, ".g", std::to_string(c), " { background: ", kColours[c], "; fill: ", kColours[c],
               "; }\n");
    out += "</style>\n</head>\n<body>\n<h1>Results by group</h1>\n<table "
           "class=\"summary\"><tr><th>File</th><td>";
    AppendEscaped(out, report.path);
    Append(out, "</td></tr><tr><th>Kind</th><td>",
           report.merged ? "merged file" : "results file of one meeting", "</td></tr><tr><th>Votes</th><td>",
           std::to_string(report.votes.size()), ", ", std::to_string(significant),
           " of them with p &lt; 0.05</td></tr></table>\n<table "
           "class=\"groups\"><tr><th>Group</th><th>Keypads</th>"
           "</tr>\n");
    for (std::size_t g = 0; g < report.groups.size(); ++g) {
        out += "<tr><td>";
        AppendGroup(out, report, g);
        Append(out, "</td><td>", std::to_string(report.groups[g].keypads), "</td></tr>\n");
    }
    out += "</table>\n<table class=\"votes\"><tr><th>Vote</th><th>Line</th><th>Answers</th><th>p</th></tr>\n";
    for (std::size_t v = 0; v < report.votes.size(); ++v) {
        const VoteTally& vote = report.votes[v];
        std::int64_t all = 0;
        for (std::size_t g = 0; g < report.groups.size(); ++g)
            all += vote.AnswersOf(g);
        Append(out, "<tr><td><a href=\"#line-", std::to_string(vote.line), "\">");
        AppendEscaped(out, vote.name);
        Append(out, "</a></td><td>", std::to_string(vote.line), "</td><td>", std::to_string(all), "</td>");
        AppendP(out, tests[v]);
        out += "</tr>\n";
    }
    out += "</table>\n";
    for (const VoteTally& vote : report.votes) {
        Append(out, "<section class=\"vote\" id=\"line-", std::to_string(vote.line), "\">\n<h2>");
        AppendEscaped(out, vote.name);
        Append(out, " <small>line ", std::to_string(vote.line), "</small></h2>\n");
        AppendChart(out, report, vote);
        AppendLegend(out, report);
        AppendCounts(out, report, vote);
        AppendAgainstRest(out, report, vote);
        AppendTest(out, vote);
        out += "</section>\n";
    }
    out += "</body>\n</html>\n";
    return out;
}

} // namespace avelin
