#pragma once
// The votes of a .pptx file as avelin-rec's votes and create commands see them.
#include <iosfwd>
#include <string>

#include "manual_entry/presentation_votes.h"
#include "platform/file_system.h"

namespace avelin::cli {

struct LoadedPresentation {
    PresentationInfo presentation;
    PresentationVotes votes;
};

// Reads the presentation and its vote definition files, and reports on `err`
// each definition file that is missing (its vote is skipped, as the manual
// data window skips it). Throws FileError / FormatError for a file that
// cannot be read.
LoadedPresentation LoadVotesOf(const std::string& pptxPath, const FileSystem& files, std::ostream& err);

// The manual data window's message for a presentation without votes.
inline constexpr const char* kNoVotesMessage = "The current presentation does not contain any votes.";

} // namespace avelin::cli
