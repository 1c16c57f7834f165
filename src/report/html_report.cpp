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

std::string Colour(std::size_t g) {
    return kColours[g % std::size(kColours)];
}

std::string Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
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
    return out;
}

std::string Number(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Swatch(std::size_t g) {
    return "<span class=\"swatch\" style=\"background:" + Colour(g) + "\"></span>";
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
td.label { text-align: left; }
table.rest td { white-space: nowrap; }
.pct, .rest { color: #555; }
.swatch { display: inline-block; width: .8em; height: .8em; margin-right: .35em; border-radius: 2px; }
.vote { border-top: 2px solid #888; padding-top: .8em; margin-top: 1.6em; break-inside: avoid; page-break-inside: avoid; }
.legend span.item { margin-right: 1.2em; white-space: nowrap; }
.significant { color: #a30000; font-weight: bold; }
.warning { color: #7a4f00; background: #fff4d6; padding: .2em .5em; }
svg { max-width: 100%; height: auto; }
svg text { font: 11px "Segoe UI", system-ui, Arial, sans-serif; fill: #333; }
@media print {
  body { margin: 0; max-width: none; font-size: 11pt; }
  * { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
  a { color: inherit; text-decoration: none; }
}
)";

// Bars of each group's share of its answers, one cluster per answer.
std::string Chart(const ResultsReport& report, const VoteTally& vote) {
    const std::size_t groups = report.groups.size();
    const std::size_t answers = vote.answers.size();
    const int bar = groups <= 3 ? 18 : groups <= 6 ? 12 : 8;
    const int cluster = static_cast<int>(groups) * bar + 18;
    const int left = 42, top = 10, plot = 150;
    const int width = left + std::max<int>(1, static_cast<int>(answers)) * cluster + 10;
    const int height = top + plot + 26;
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" role=\"img\" width=\"" +
                      std::to_string(width) + "\" height=\"" + std::to_string(height) + "\" viewBox=\"0 0 " +
                      std::to_string(width) + " " + std::to_string(height) + "\"><title>" +
                      Escape(vote.name) + ": share of each group's answers</title>";
    for (int pct = 0; pct <= 100; pct += 25) {
        const std::string y = std::to_string(top + plot - plot * pct / 100);
        svg += "<line x1=\"" + std::to_string(left) + "\" x2=\"" + std::to_string(width - 6) + "\" y1=\"" +
               y + "\" y2=\"" + y + "\" stroke=\"" + (pct == 0 ? "#666" : "#ddd") + "\"/><text x=\"" +
               std::to_string(left - 5) + "\" y=\"" + y + "\" dy=\"4\" text-anchor=\"end\">" +
               std::to_string(pct) + "%</text>";
    }
    std::vector<std::int64_t> given(groups);
    for (std::size_t g = 0; g < groups; ++g)
        given[g] = vote.AnswersOf(g);
    for (std::size_t a = 0; a < answers; ++a) {
        const int x0 = left + static_cast<int>(a) * cluster + 9;
        for (std::size_t g = 0; g < groups; ++g) {
            const std::int64_t count = vote.answers[a].byGroup[g];
            const double share = given[g] ? static_cast<double>(count) / static_cast<double>(given[g]) : 0.0;
            const double h = share * plot;
            svg += "<rect x=\"" + std::to_string(x0 + static_cast<int>(g) * bar) + "\" y=\"" +
                   Number("%.1f", top + plot - h) + "\" width=\"" + std::to_string(bar - 2) + "\" height=\"" +
                   Number("%.1f", h) + "\" fill=\"" + Colour(g) + "\"><title>" +
                   Escape(report.groups[g].name) + ", answer " + Escape(vote.answers[a].answer) + ": " +
                   std::to_string(count) + " of " + std::to_string(given[g]) + " (" +
                   Percent(count, given[g]) + ")</title></rect>";
        }
        svg += "<text x=\"" + std::to_string(x0 + static_cast<int>(groups) * bar / 2) + "\" y=\"" +
               std::to_string(top + plot + 16) + "\" text-anchor=\"middle\">" +
               Escape(vote.answers[a].answer) + "</text>";
    }
    if (answers == 0)
        svg += "<text x=\"" + std::to_string(left + 10) + "\" y=\"" + std::to_string(top + plot / 2) +
               "\">no answers</text>";
    return svg + "</svg>\n";
}

std::string Legend(const ResultsReport& report) {
    std::string legend = "<p class=\"legend\">";
    for (std::size_t g = 0; g < report.groups.size(); ++g)
        legend += "<span class=\"item\">" + Swatch(g) + Escape(report.groups[g].name) + "</span>";
    return legend + "</p>\n";
}

std::string CountsTable(const ResultsReport& report, const VoteTally& vote) {
    const std::size_t groups = report.groups.size();
    std::string html = "<table class=\"counts\"><tr><th>Answer</th>";
    for (std::size_t g = 0; g < groups; ++g)
        html += "<th>" + Swatch(g) + Escape(report.groups[g].name) + "</th>";
    html += "<th>All</th></tr>\n";
    std::vector<std::int64_t> given(groups);
    std::int64_t all = 0, none = 0;
    for (std::size_t g = 0; g < groups; ++g) {
        all += given[g] = vote.AnswersOf(g);
        none += vote.noAnswer[g];
    }
    for (const AnswerCount& a : vote.answers) {
        html += "<tr><td>" + Escape(a.answer) + "</td>";
        std::int64_t sum = 0;
        for (std::size_t g = 0; g < groups; ++g) {
            html += "<td>" + std::to_string(a.byGroup[g]) + " <span class=\"pct\">" +
                    Percent(a.byGroup[g], given[g]) + "</span></td>";
            sum += a.byGroup[g];
        }
        html += "<td>" + std::to_string(sum) + " <span class=\"pct\">" + Percent(sum, all) +
                "</span></td></tr>\n";
    }
    html += "<tr><th>Answers</th>";
    for (std::size_t g = 0; g < groups; ++g)
        html += "<th>" + std::to_string(given[g]) + "</th>";
    html += "<th>" + std::to_string(all) + "</th></tr>\n<tr><td class=\"label\">No answer</td>";
    for (std::size_t g = 0; g < groups; ++g)
        html += "<td>" + std::to_string(vote.noAnswer[g]) + "</td>";
    return html + "<td>" + std::to_string(none) + "</td></tr></table>\n";
}

// Each group's shares beside those of all other groups together, and the
// test of that group against the rest.
std::string AgainstRest(const ResultsReport& report, const VoteTally& vote) {
    const std::size_t groups = report.groups.size();
    if (groups < 2 || vote.answers.empty())
        return {};
    std::string html = "<table class=\"rest\"><tr><th>Group against the rest</th>";
    for (const AnswerCount& a : vote.answers)
        html += "<th>" + Escape(a.answer) + "</th>";
    html += "<th>p</th></tr>\n";
    const auto table = CountTable(vote);
    for (std::size_t g = 0; g < groups; ++g) {
        std::vector<std::int64_t> rest(vote.answers.size(), 0);
        for (std::size_t o = 0; o < groups; ++o)
            if (o != g)
                for (std::size_t a = 0; a < rest.size(); ++a)
                    rest[a] += table[o][a];
        std::int64_t restTotal = 0;
        for (std::int64_t n : rest)
            restTotal += n;
        const std::int64_t given = vote.AnswersOf(g);
        html += "<tr><td>" + Swatch(g) + Escape(report.groups[g].name) + "</td>";
        for (std::size_t a = 0; a < rest.size(); ++a)
            html += "<td>" + Percent(table[g][a], given) + " <span class=\"rest\">vs " +
                    Percent(rest[a], restTotal) + "</span></td>";
        const auto test = TestIndependence({table[g], rest});
        html += !test            ? std::string("<td>-</td>")
                : test->p < 0.05 ? "<td class=\"significant\">" + PText(test->p) + "</td>"
                                 : "<td>" + PText(test->p) + "</td>";
        html += "</tr>\n";
    }
    return html + "</table>\n";
}

std::string TestResult(const VoteTally& vote) {
    const auto test = GroupTest(vote);
    if (!test)
        return "<p class=\"test\">No test: fewer than two groups or answers occur.</p>\n";
    std::string html =
        std::string("<p class=\"test") + (test->p < 0.05 ? " significant" : "") +
        "\">Chi-square test of group and answer: &#967;&#178; = " + Number("%.3f", test->statistic) + ", " +
        std::to_string(test->degrees) + (test->degrees == 1 ? " degree" : " degrees") +
        " of freedom, p = " + PText(test->p) +
        (test->p < 0.05 ? " &#8212; the groups answered differently (p &lt; 0.05)." : ".") + "</p>\n";
    if (test->FewExpected())
        html += "<p class=\"warning\">&#9888; " + std::to_string(test->smallExpected) + " of " +
                std::to_string(test->cells) +
                " expected counts are below 5, more than a fifth: the p-value is only a rough guide.</p>\n";
    return html;
}

} // namespace

std::string HtmlReport(const ResultsReport& report) {
    std::size_t significant = 0;
    for (const VoteTally& vote : report.votes)
        if (const auto test = GroupTest(vote); test && test->p < 0.05)
            ++significant;
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"" + Charset() +
                       "\"/>\n<title>Results by group: " + Escape(report.path) + "</title>\n<style>" +
                       kStyle +
                       "</style>\n</head>\n<body>\n<h1>Results by group</h1>\n<table class=\"summary\">"
                       "<tr><th>File</th><td class=\"label\">" +
                       Escape(report.path) + "</td></tr><tr><th>Kind</th><td class=\"label\">" +
                       (report.merged ? "merged file" : "results file of one meeting") +
                       "</td></tr><tr><th>Votes</th><td class=\"label\">" +
                       std::to_string(report.votes.size()) + ", " + std::to_string(significant) +
                       " of them with p &lt; 0.05</td></tr></table>\n<table "
                       "class=\"groups\"><tr><th>Group</th><th>Keypads</th></tr>\n";
    for (std::size_t g = 0; g < report.groups.size(); ++g)
        html += "<tr><td>" + Swatch(g) + Escape(report.groups[g].name) + "</td><td>" +
                std::to_string(report.groups[g].keypads) + "</td></tr>\n";
    html +=
        "</table>\n<table class=\"votes\"><tr><th>Vote</th><th>Line</th><th>Answers</th><th>p</th></tr>\n";
    for (const VoteTally& vote : report.votes) {
        std::int64_t all = 0;
        for (std::size_t g = 0; g < report.groups.size(); ++g)
            all += vote.AnswersOf(g);
        const auto test = GroupTest(vote);
        html += "<tr><td><a href=\"#line-" + std::to_string(vote.line) + "\">" + Escape(vote.name) +
                "</a></td><td>" + std::to_string(vote.line) + "</td><td>" + std::to_string(all) + "</td>" +
                (!test            ? std::string("<td>-</td>")
                 : test->p < 0.05 ? "<td class=\"significant\">" + PText(test->p) + "</td>"
                                  : "<td>" + PText(test->p) + "</td>") +
                "</tr>\n";
    }
    html += "</table>\n";
    for (const VoteTally& vote : report.votes)
        html += "<section class=\"vote\" id=\"line-" + std::to_string(vote.line) + "\">\n<h2>" +
                Escape(vote.name) + " <small>line " + std::to_string(vote.line) + "</small></h2>\n" +
                Chart(report, vote) + Legend(report) + CountsTable(report, vote) + AgainstRest(report, vote) +
                TestResult(vote) + "</section>\n";
    return html + "</body>\n</html>\n";
}

} // namespace avelin
