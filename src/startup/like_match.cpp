#include "startup/like_match.h"

#include <cstddef>

namespace avelin {

namespace {

// Matches one character against the bracket list starting at pattern[p] == '['.
// Sets `next` to the position after the closing ']'. A '[' without its ']'
// matches only itself.
bool matchBracket(char c, const std::string& pattern, std::size_t p, std::size_t& next) {
    std::size_t i = p + 1;
    bool negate = false;
    if (i < pattern.size() && pattern[i] == '!') {
        negate = true;
        ++i;
    }
    const std::size_t close = pattern.find(']', i);
    if (close == std::string::npos) {
        next = p + 1;
        return c == '[';
    }
    bool inList = false;
    for (std::size_t k = i; k < close; ++k) {
        if (k + 2 < close && pattern[k + 1] == '-') {
            const unsigned char lo = static_cast<unsigned char>(pattern[k]);
            const unsigned char hi = static_cast<unsigned char>(pattern[k + 2]);
            const unsigned char uc = static_cast<unsigned char>(c);
            if (lo <= uc && uc <= hi)
                inList = true;
            k += 2;
        } else if (pattern[k] == c) {
            inList = true;
        }
    }
    next = close + 1;
    return inList != negate;
}

// One pattern element against text[t]; `next` is the pattern position after it.
bool matchOne(char c, const std::string& pattern, std::size_t p, std::size_t& next) {
    switch (pattern[p]) {
    case '?':
        next = p + 1;
        return true;
    case '#':
        next = p + 1;
        return c >= '0' && c <= '9';
    case '[':
        return matchBracket(c, pattern, p, next);
    default:
        next = p + 1;
        return pattern[p] == c;
    }
}

} // namespace

bool LikeMatch(const std::string& text, const std::string& pattern) {
    // Iterative matching with one back-track point for the last '*': linear
    // in practice, and no recursion on long titles.
    std::size_t t = 0, p = 0;
    std::size_t starP = std::string::npos, starT = 0;
    while (t < text.size()) {
        std::size_t next = 0;
        if (p < pattern.size() && pattern[p] == '*') {
            starP = ++p;
            starT = t;
        } else if (p < pattern.size() && matchOne(text[t], pattern, p, next)) {
            p = next;
            ++t;
        } else if (starP != std::string::npos) {
            p = starP;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::string UpperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

} // namespace avelin
