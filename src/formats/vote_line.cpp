#include "formats/vote_line.h"

namespace avelin {

namespace {

std::string WithoutQuotes(std::string_view s) {
    // Whole pieces between quotes at a time: a responses field runs to
    // thousands of characters and holds only its two enclosing quotes.
    std::string out;
    out.reserve(s.size());
    for (std::size_t start = 0; start < s.size();) {
        const std::size_t quote = s.find('"', start);
        const std::size_t end = quote == std::string_view::npos ? s.size() : quote;
        out.append(s, start, end - start);
        start = end + 1;
    }
    return out;
}

// The last backslash, found with forward searches (memchr), which run much
// faster than a backward byte loop over a long line.
std::size_t LastBackslash(std::string_view s) {
    std::size_t last = std::string_view::npos;
    for (std::size_t at = s.find('\\'); at != std::string_view::npos; at = s.find('\\', at + 1))
        last = at;
    return last;
}

// Every field between commas; there is no escaping in the format.
std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
}

// The value of the number a count field starts with (leading blanks, sign,
// digits, decimal part), rounded half to even. A field that does not start
// with a number, such as a quoted count, is 0. Worked out on the digits
// themselves, so that neither the locale nor binary fractions play a part.
std::int16_t CountValue(std::string_view field, const char* what) {
    const auto isDigit = [&](std::size_t k) {
        return k < field.size() && field[k] >= '0' && field[k] <= '9';
    };
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ')
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
        negative = field[i] == '-';
        ++i;
    }
    bool anyDigit = false;
    bool tooLarge = false;
    long whole = 0;
    for (; isDigit(i); ++i) {
        anyDigit = true;
        whole = whole * 10 + (field[i] - '0');
        if (whole > 99999)
            tooLarge = true, whole = 99999;
    }
    int firstDecimal = 0;     // the digit that decides the rounding
    bool restNonZero = false; // any non-zero digit behind it
    if (i < field.size() && field[i] == '.') {
        ++i;
        for (bool first = true; isDigit(i); ++i, first = false) {
            anyDigit = true;
            if (first)
                firstDecimal = field[i] - '0';
            else if (field[i] != '0')
                restNonZero = true;
        }
    }
    if (!anyDigit)
        return 0;
    if (firstDecimal > 5 || (firstDecimal == 5 && (restNonZero || whole % 2 == 1)))
        ++whole;
    const long value = negative ? -whole : whole;
    if (tooLarge || value < -32768 || value > 32767)
        throw MalformedLine(std::string(what) + " " + std::string(field) + " is outside -32768 to 32767");
    return static_cast<std::int16_t>(value);
}

} // namespace

std::string GetVoteName(std::string_view vName) {
    const std::size_t slash = LastBackslash(vName);
    std::string_view rest = slash == std::string_view::npos ? vName : vName.substr(slash + 1);
    const std::size_t comma = rest.find(',');
    if (comma != std::string_view::npos)
        rest = rest.substr(0, comma);
    return WithoutQuotes(rest);
}

std::string GetVoteTime(std::string_view vTime) {
    if (vTime.empty())
        return {};
    const auto fields = SplitFields(vTime);
    // A line too short to have a time has none; its parse reports it.
    return fields.size() > 4 ? WithoutQuotes(fields[4]) : std::string();
}

VoteLine ParseVoteLine(std::string_view line) {
    const auto fields = SplitFields(line);
    if (fields.size() < 6)
        throw MalformedLine("fewer than six fields");
    VoteLine v;
    v.voteName = GetVoteName(fields[0]);
    v.choiceCount = CountValue(fields[1], "choice count");
    v.keypadCount = CountValue(fields[2], "keypad count");
    v.responses = WithoutQuotes(fields[3]);
    v.voteTime = WithoutQuotes(fields[4]);
    v.voteDate = WithoutQuotes(fields[5]);
    return v;
}

std::string FormatVoteLine(const VoteLine& v) {
    std::string out;
    out.reserve(v.voteName.size() + v.responses.size() + v.voteTime.size() + v.voteDate.size() + 32);
    AppendVoteLine(out, v);
    return out;
}

void AppendVoteLine(std::string& out, const VoteLine& v) {
    out += "\"\\";
    out += v.voteName;
    out += "\",";
    out += std::to_string(v.choiceCount);
    out += ',';
    out += std::to_string(v.keypadCount);
    out += ",\"";
    out += v.responses;
    out += "\",\"";
    out += v.voteTime;
    out += "\",\"";
    out += v.voteDate;
    out += "\"\r\n";
}

std::vector<std::string_view> SplitLineViews(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
}

std::vector<std::string> SplitLines(std::string_view text) {
    const auto views = SplitLineViews(text);
    return std::vector<std::string>(views.begin(), views.end());
}

} // namespace avelin
