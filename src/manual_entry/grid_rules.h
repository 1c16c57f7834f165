#pragma once
// Rules of the manual data grid that do not depend on the grid control.
#include <string>
#include <string_view>
#include <vector>

#include "manual_entry/vote_definition.h"

namespace avelin {

inline constexpr int kGridColumns = 12; // column 0 labels, columns 1..11 values 0..10

// True when column `column` (1..11) of a row of this vote is greyed.
bool IsUnavailableColumn(const VoteEntry& vote, int column);

// Numeric text: optional blanks, sign, digits with at most one decimal point,
// optional exponent, optional blanks. The decimal point is always ".".
bool IsNumericText(const std::string& text);
// The number formed by the leading numeric characters, 0 when none.
double NumericValue(const std::string& text);

// What the cell editor keeps after its text changed to `text`, the cell
// holding `cellText`: non-numeric text falls back to the cell's, a negative
// number becomes its absolute value.
std::string EditorTextAfterChange(const std::string& text, const std::string& cellText);

} // namespace avelin
