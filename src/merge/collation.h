#pragma once
// The one order of every sorted list of the program: bytes compared with
// ASCII A-Z folded to a-z, other bytes as they are.
#include <string>
#include <string_view>
#include <vector>

namespace avelin {

// <0, 0 or >0 like strcmp, letter case of A-Z ignored.
int CompareNoCase(std::string_view a, std::string_view b);
bool EqualNoCase(std::string_view a, std::string_view b);

// Whether two names are the same letter case ignored in every letter of the
// system code page, not only A-Z, as Windows compares file names: group names
// equal in this sense would write the same group file. On Windows the system
// folds them; elsewhere the code page is UTF-8 and the Latin, Greek and
// Cyrillic letters of its first 1,280 code points are folded.
bool SameNameAnyCase(std::string_view a, std::string_view b);

// Position at which `entry` goes into the sorted `list`: after every entry
// that compares equal to it.
std::size_t SortedInsertPosition(const std::vector<std::string>& list, std::string_view entry);

} // namespace avelin
