#pragma once
// The run marker: "xxxseq", the index of the line in its repeated run (two
// digits or more, counted from 0) and "xxx", appended to the vote name of
// each line of a repeated run, so that the run's lines become distinct votes.
// The merged file writes the names without it. No vote name holds "xxxseq".
#include <cstddef>
#include <string>
#include <string_view>

namespace avelin {

// The marker of the line at `index` of its run: "xxxseq00xxx" for 0.
std::string RunMarker(std::size_t index);

// A vote name as the merged file writes it: when it holds "xxxseq", its last
// 11 characters (the marker of a run of up to 100 lines) taken off.
std::string_view WithoutRunMarker(std::string_view name);

// The run index of a marked name; -1 for a name without a marker.
int RunIndex(std::string_view name);

} // namespace avelin
