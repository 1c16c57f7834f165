#pragma once
// The votes of a presentation: shapes named "VOTE" whose click action names a
// vote definition file.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "manual_entry/vote_definition.h"
#include "platform/file_system.h"
#include "platform/presentation_app.h"

namespace avelin {

// The definition file name in a shape's program-run text ("C:\Prog\VOTER.EXE
// poll.AVL,1" gives "poll.AVL"); empty when there is none.
std::string VoteNameFromAction(const std::string& actionRun);

struct RowLabel {
    std::string text;         // name and kind suffix
    std::uint32_t colour = 0; // 0x00BBGGRR
};

inline constexpr std::uint32_t kStandardColour = 0x800080;
inline constexpr std::uint32_t kSeriesColour = 0xC00000;
inline constexpr std::uint32_t kRankColour = 0x0000C0;

struct PresentationVotes {
    std::vector<VoteEntry> votes; // may end with one never-read entry (RowCount 0)
    std::vector<RowLabel> rows;   // answer rows in grid order (grid row = index + 1)
    int voteCount = 0;            // votes actually read
    // Paths of definition files that vote shapes name but that do not exist
    // (their votes are skipped without a message).
    std::vector<std::string> missingDefinitions;
};

// The most answer rows the grid takes in all. Every definition may claim up
// to 32767 rows, and a presentation may name it again and again: without a
// limit a small presentation could ask for billions of rows.
inline constexpr std::size_t kMaxAnswerRows = 1'000'000;

// Walks the slides and shapes. `onSlide` runs once per slide before its shapes
// are read (the window uses it for the loading caption). Throws FormatError
// when a definition file is malformed or the rows would pass kMaxAnswerRows,
// FileError when a definition cannot be read.
PresentationVotes LoadPresentationVotes(const PresentationInfo& presentation, const FileSystem& files,
                                        const std::function<void()>& onSlide = {});

// The loading caption after one more slide: "." appended, and back to
// "Please Wait" when it then ends in ".....".
std::string NextLoadingCaption(const std::string& caption);

} // namespace avelin
