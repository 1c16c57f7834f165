#include "merge/collation.h"

#include <algorithm>

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

std::size_t SortedInsertPosition(const std::vector<std::string>& list, std::string_view entry) {
    const auto it =
        std::upper_bound(list.begin(), list.end(), entry,
                         [](std::string_view e, const std::string& x) { return CompareNoCase(e, x) < 0; });
    return static_cast<std::size_t>(it - list.begin());
}

std::size_t SortedList::insert(std::string entry) {
    const std::size_t pos = SortedInsertPosition(items_, entry);
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(pos), std::move(entry));
    return pos;
}

void SortedList::removeAt(std::size_t i) {
    if (i < items_.size())
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
}

bool SortedList::contains(std::string_view exact) const {
    return std::find(items_.begin(), items_.end(), exact) != items_.end();
}

} // namespace avelin
