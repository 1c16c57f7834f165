#pragma once
// The wildcard comparison of window titles.
#include <string>

namespace avelin {

// True when `text` matches `pattern` as a whole: * any run of characters (also
// none), ? any one character, # any one digit, [list] one character of the
// list, [!list] one character not in it (a-b in a list is a range); every
// other character matches only itself, exactly. Callers upper-case both sides.
bool LikeMatch(const std::string& text, const std::string& pattern);

// A-Z for a-z only: titles and command lines are bytes in the system code
// page, which may be multi-byte, and every text compared with them is ASCII.
std::string UpperCase(std::string text);

} // namespace avelin
