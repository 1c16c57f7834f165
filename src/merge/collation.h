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

// Position at which `entry` goes into the sorted `list`: after every entry
// that compares equal to it.
std::size_t SortedInsertPosition(const std::vector<std::string>& list, std::string_view entry);

// A list that keeps itself in that order, as the windows' sorted lists do.
class SortedList {
  public:
    std::size_t insert(std::string entry); // returns the position taken
    void removeAt(std::size_t i);
    void clear() { items_.clear(); }
    bool contains(std::string_view exact) const;
    const std::vector<std::string>& items() const { return items_; }
    std::size_t size() const { return items_.size(); }
    const std::string& operator[](std::size_t i) const { return items_[i]; }

  private:
    std::vector<std::string> items_;
};

} // namespace avelin
