#pragma once
// The results file written from the counts of the manual data grid.
#include <string>
#include <vector>

#include "manual_entry/vote_definition.h"
#include "platform/clock.h"

namespace avelin {

// Counts typed into the grid: one row per answer row in grid order, 11 cell
// texts for the values 0 to 10 (empty = none).
using GridCounts = std::vector<std::vector<std::string>>;

// The whole file text (every line ends with CR LF; empty when no row has a
// response). The clock is read once for the date and once per vote entry.
// Throws UsageError when one answer row would get more than 32767 responses,
// more than a results line can count.
std::string ManualResultsText(const std::vector<VoteEntry>& votes, const GridCounts& counts,
                              const std::string& presentationFolder, const Clock& clock);

// The time text of the vote entry with sequence number q (which it may set
// back to -1), at the moment `now`.
std::string ManualTimeText(int& q, const DateTime& now);
// "dd\mm\yyyy".
std::string ManualDateText(const DateTime& now);

} // namespace avelin
