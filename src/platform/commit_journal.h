#pragma once
// The commit journal of a write of several files (a merge): written into the
// output folder, and flushed to the disk, before the first file replaces its
// target, and removed once the last one has. It names each target with the
// temporary file of its new content and the old file kept aside, so that a
// commit cut short by a kill or a power cut can be completed or undone by
// the next program that writes or reads that folder.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace avelin {

inline constexpr const char* kCommitJournalName = ".avelin-commit";

struct JournalEntry {
    std::string target;    // file names in the journal's folder
    std::string temporary; // the new content; gone once it has replaced the target
    std::string aside;     // the old file kept aside; empty when the target is new
};

struct CommitJournal {
    bool undoing = false; // a failure stopped the commit: its files go back
    std::vector<JournalEntry> entries;
};

std::string FormatJournal(const CommitJournal& journal);
// nullopt for a text that is not a whole journal of this program, or names a
// file outside its folder or a temporary or kept-aside file of another name
// than this program gives them.
std::optional<CommitJournal> ParseJournal(std::string_view text);

// Whether `name` is a temporary or a kept-aside file of this program's
// writes: ".avelin-" and three hexadecimal numbers, ".tmp" or ".bak".
bool IsWriteLeftover(std::string_view name);

} // namespace avelin
