#include "manual_entry/grid_rules.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace avelin {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Length of the number at the start of `s` (sign, digits with at most one
// point, optional exponent); 0 when `s` does not start with one.
std::size_t numberLength(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0;
    // An exponent counts only when digits follow it.
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        const std::size_t expStart = j;
        while (j < s.size() && isDigit(s[j]))
            ++j;
        if (j > expStart)
            i = j;
    }
    return i;
}

// Whether a number (no sign) that std::from_chars finds out of range is too
// small rather than too large: its first non-zero digit stands behind the
// decimal point once the exponent is applied.
bool isTooSmall(std::string_view s) {
    long position = 0; // decimal exponent of the first non-zero digit
    bool seen = false, afterPoint = false;
    std::size_t i = 0;
    for (; i < s.size() && (isDigit(s[i]) || s[i] == '.'); ++i) {
        if (s[i] == '.') {
            afterPoint = true;
        } else if (!seen) {
            if (s[i] != '0') {
                seen = true;
                position = afterPoint ? position - 1 : 0;
            } else if (afterPoint) {
                --position;
            }
        } else if (!afterPoint) {
            ++position;
        }
    }
    long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        const bool minus = i + 1 < s.size() && s[i + 1] == '-';
        for (std::size_t j = i + 1; j < s.size(); ++j)
            if (isDigit(s[j]))
                exponent = std::min(exponent * 10 + (s[j] - '0'), 100000L);
        exponent = minus ? -exponent : exponent;
    }
    return position + exponent < 0;
}

// std::from_chars ignores the locale, which the windows' library may have set
// from the user's environment; it takes no leading "+".
double parseNumber(std::string_view s) {
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    double value = 0;
    const auto result = std::from_chars(s.data(), s.data() + s.size(), value);
    // Out of range is either an exponent far beyond any count or a number
    // too close to 0 for a double ("1e-400"), which is 0.
    if (result.ec == std::errc::result_out_of_range)
        value = isTooSmall(s) ? 0.0 : HUGE_VAL;
    return negative ? -value : value;
}

} // namespace

bool IsUnavailableColumn(const VoteEntry& vote, int column) {
    if (column == 1 && vote.FirstOption == 1)
        return true;
    return column >= vote.OptionCount + 1 + vote.FirstOption;
}

bool IsNumericText(const std::string& text) {
    std::string_view s = text;
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return !s.empty() && numberLength(s) == s.size();
}

double NumericValue(const std::string& text) {
    // Blanks are ignored wherever they stand ("1 2" reads as 12).
    std::string packed;
    packed.reserve(text.size());
    for (char c : text)
        if (!isBlank(c))
            packed += c;
    const std::size_t length = numberLength(packed);
    return length == 0 ? 0.0 : parseNumber(std::string_view(packed).substr(0, length));
}

std::string EditorTextAfterChange(const std::string& text, const std::string& cellText) {
    if (!text.empty() && !IsNumericText(text))
        return cellText;
    const double value = NumericValue(text);
    if (value < 0) {
        // Plain decimals up to 15 significant digits ("-100000" gives
        // "100000", not the shorter "1e+05"); only beyond them an exponent.
        char buf[64];
        const auto result = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::general, 15);
        return std::string(buf, result.ptr);
    }
    return text;
}

} // namespace avelin
