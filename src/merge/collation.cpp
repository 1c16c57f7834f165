#include "merge/collation.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#endif

namespace avelin {

namespace {
unsigned char Folded(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}
} // namespace

int CompareNoCase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = Folded(a[i]);
        const unsigned char y = Folded(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

#ifdef _WIN32

bool SameNameAnyCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    std::string x(a), y(b);
    // CharUpperBuffA upper-cases in the system's ANSI code page.
    CharUpperBuffA(x.data(), static_cast<DWORD>(x.size()));
    CharUpperBuffA(y.data(), static_cast<DWORD>(y.size()));
    return x == y;
}

#else

namespace {

// The lower-case letter of code point `c`, for the letters that have one
// below U+0500; every other code point as it is.
char32_t LowerLetter(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
        (c >= 0x391 && c <= 0x3AB && c != 0x3A2) || (c >= 0x410 && c <= 0x42F))
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    if (c == 0x178)
        return 0xFF;
    // Pairs upper-case first: even code points in these blocks, odd ones
    // from U+0139 to U+0148 and from U+0179 to U+017E.
    const bool evenPairs = (c >= 0x100 && c <= 0x137 && c != 0x130) || (c >= 0x14A && c <= 0x177) ||
                           (c >= 0x460 && c <= 0x4FF && !(c >= 0x482 && c <= 0x489) && c != 0x4C0 &&
                            !(c >= 0x4C1 && c <= 0x4CE));
    const bool oddPairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E) || (c >= 0x4C1 && c <= 0x4CE);
    if ((evenPairs && c % 2 == 0) || (oddPairs && c % 2 == 1))
        return c + 1;
    return c;
}

// The next code point of UTF-8 `text` from `i`, moving `i` past it; a byte
// that starts no complete sequence stands for itself.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
    if (length == 1 || lead > 0xF4 || i + length > text.size()) {
        ++i;
        return lead < 0x80 ? lead : 0x110000 + lead; // a stray byte equals only itself
    }
    char32_t c = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return 0x110000 + lead;
        }
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    i += length;
    return c;
}

} // namespace

bool SameNameAnyCase(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size())
        if (LowerLetter(NextCodePoint(a, i)) != LowerLetter(NextCodePoint(b, j)))
            return false;
    return i == a.size() && j == b.size();
}

#endif

std::size_t SortedInsertPosition(const std::vector<std::string>& list, std::string_view entry) {
    const auto it =
        std::upper_bound(list.begin(), list.end(), entry,
                         [](std::string_view e, const std::string& x) { return CompareNoCase(e, x) < 0; });
    return static_cast<std::size_t>(it - list.begin());
}

} // namespace avelin
