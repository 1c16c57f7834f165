#include "formats/vote_line.h"

#include <cstring>

namespace avelin {

namespace {

// The last backslash, found with forward searches (memchr), which run much
// faster than a backward byte loop over a long line.
std::size_t LastBackslash(std::string_view s) {
    std::size_t last = std::string_view::npos;
    for (std::size_t at = s.find('\\'); at != std::string_view::npos; at = s.find('\\', at + 1))
        last = at;
    return last;
}

} // namespace

std::string_view WithoutQuotes(std::string_view s, std::string& scratch) {
    std::string_view inner = s;
    if (!inner.empty() && inner.front() == '"')
        inner.remove_prefix(1);
    if (!inner.empty() && inner.back() == '"')
        inner.remove_suffix(1);
    if (inner.find('"') == std::string_view::npos)
        return inner;
    // Whole pieces between quotes at a time.
    scratch.clear();
    for (std::size_t start = 0; start < inner.size();) {
        const std::size_t quote = inner.find('"', start);
        const std::size_t end = quote == std::string_view::npos ? inner.size() : quote;
        scratch.append(inner, start, end - start);
        start = end + 1;
    }
    return scratch;
}

std::string_view VoteNameView(std::string_view vName, std::string& scratch) {
    const std::size_t slash = LastBackslash(vName);
    std::string_view rest = slash == std::string_view::npos ? vName : vName.substr(slash + 1);
    const std::size_t comma = rest.find(',');
    if (comma != std::string_view::npos)
        rest = rest.substr(0, comma);
    return WithoutQuotes(rest, scratch);
}

VoteFields SplitVoteFields(std::string_view line) {
    VoteFields f;
    std::size_t start = 0;
    while (f.count < 6) {
        const std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) {
            f.field[f.count++] = line.substr(start);
            break;
        }
        f.field[f.count++] = line.substr(start, comma - start);
        start = comma + 1;
    }
    return f;
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

std::int16_t KeypadCountValue(std::string_view field) {
    const std::int16_t count = CountValue(field, "keypad count");
    if (count < 0)
        throw MalformedLine("keypad count " + std::string(field) + " is negative");
    return count;
}

std::string GetVoteName(std::string_view vName) {
    std::string scratch;
    return std::string(VoteNameView(vName, scratch));
}

std::string GetVoteTime(std::string_view vTime) {
    // A line too short to have a time has none; its parse reports it.
    const VoteFields f = SplitVoteFields(vTime);
    std::string scratch;
    return f.count > 4 ? std::string(WithoutQuotes(f.field[4], scratch)) : std::string();
}

VoteLine ParseVoteLine(std::string_view line) {
    const VoteFields f = SplitVoteFields(line);
    if (f.count < 6)
        throw MalformedLine("fewer than six fields");
    VoteLine v;
    std::string scratch;
    v.voteName = VoteNameView(f.field[0], scratch);
    v.choiceCount = CountValue(f.field[1], "choice count");
    v.keypadCount = KeypadCountValue(f.field[2]);
    v.responses = WithoutQuotes(f.field[3], scratch);
    v.voteTime = WithoutQuotes(f.field[4], scratch);
    v.voteDate = WithoutQuotes(f.field[5], scratch);
    return v;
}

std::string FormatVoteLine(const VoteLine& v) {
    std::string out;
    out.reserve(v.voteName.size() + v.responses.size() + v.voteTime.size() + v.voteDate.size() + 32);
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
    return out;
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
