#pragma once
// Deterministic meeting results files for the benchmarks: the same arguments
// give the same bytes on every machine.
#include <cstdint>
#include <string>
#include <vector>

namespace avelin::bench {

// A small, portable random sequence (the standard distributions differ
// between libraries).
class SplitMix {
  public:
    explicit SplitMix(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    // 0 to n-1
    unsigned below(unsigned n) { return static_cast<unsigned>(next() % n); }

  private:
    std::uint64_t state_;
};

// The text of one meeting's results file: `votes` lines of one meeting
// design, each with `keypads` responses, CR LF endings. About one vote in ten
// is an iteration of a series vote ("Rating 7.avl;2"); about one keypad in
// five gives no response. `seed` varies the answers, not the design.
std::string MeetingFileText(int votes, int keypads, std::uint64_t seed);

// Writes `files` meeting files "day<i>.rec" into `folder` (which must exist)
// and returns their paths without ".rec", as the merge takes them.
std::vector<std::string> WriteMeetingFiles(const std::string& folder, int files, int votes, int keypads);

// A vote definition file of kind `kind` (0 standard, 1 series, 2 rating
// scale, 3 text) in the long layout.
std::string DefinitionText(int kind, int options, int rows);

// Writes a presentation "large.pptx" of `slides` slides into `folder` (which
// must exist), each with a title, a body and one vote shape naming its own
// definition file "vote<n>.AVL" (written beside it; the kinds take turns),
// and returns its path.
std::string WritePresentation(const std::string& folder, int slides);

} // namespace avelin::bench
