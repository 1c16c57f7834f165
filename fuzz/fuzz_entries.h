#pragma once
// The entry points the fuzz targets and the regression tests feed their
// inputs through. Each takes any bytes, runs them through one reader of the
// program and checks the promises that hold for every input: no crash, no
// hang, inputs never changed, nothing half-written, results consistent.
#include <stdexcept>
#include <string>
#include <string_view>

namespace avelin::fuzz {

// What became of an input: read (or merged) in full, or refused with one of
// the program's typed errors (FormatError, FileError, UsageError,
// MalformedLine), which is how bad input must end.
enum class Outcome { Accepted, Refused };

// An input broke a promise. Escapes the entry points on purpose: the fuzzer
// reports it as a crash, a regression test as a failure.
class BrokenPromise : public std::logic_error {
  public:
    using std::logic_error::logic_error;
};

// A results file (".rec"): every line through ParseVoteLine and the name and
// time readers, then the merge's whole preparation of the file.
Outcome ResultsFile(std::string_view data);

// Two to four results files, separated by NUL bytes, merged through a file
// system in memory with a clock that stands still.
Outcome Merge(std::string_view data);

// A vote definition file (".AVL"): its fields, the facts the manual data
// window reads from it, the rows of a presentation that names it twice and the
// results text of those rows.
Outcome VoteDefinition(std::string_view data);

// A presentation (.pptx): the bytes themselves when they begin with "PK", else
// parts (name, NUL, content, NUL, ...) packed into an archive here, so that the
// mutations reach the XML instead of breaking the compression.
Outcome Pptx(std::string_view data);

// Fails with BrokenPromise unless `condition` holds.
inline void Require(bool condition, const char* promise) {
    if (!condition)
        throw BrokenPromise(promise);
}

} // namespace avelin::fuzz
