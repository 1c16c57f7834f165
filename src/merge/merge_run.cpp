#include "merge/merge_run.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <unordered_set>

#include "formats/run_marker.h"
#include "formats/side_files.h"
#include "formats/vote_line.h"
#include "formats/windows_names.h"
#include "merge/collation.h"
#include "merge/group_names.h"
#include "merge/readiness.h"
#include "platform/errors.h"

namespace avelin {

namespace {

// Every occurrence of `name` in `line` gets `marker` behind it, not only the
// one in the vote field; occurrences are taken from left to right and do not
// overlap. Knuth-Morris-Pratt rather than std::string::find: the name is the
// tail of the line, and a long name that nearly matches at every position
// would make find compare about a name's length at each of them.
void AppendAfterEach(std::string& line, const std::string& name, const std::string& marker) {
    const std::size_t n = name.size();
    if (n == 0)
        return;
    // fallback[i]: length of the longest proper border of name[0..i].
    std::vector<std::size_t> fallback(n, 0);
    for (std::size_t i = 1, k = 0; i < n; ++i) {
        while (k > 0 && name[i] != name[k])
            k = fallback[k - 1];
        if (name[i] == name[k])
            ++k;
        fallback[i] = k;
    }
    std::string out;
    out.reserve(line.size() + marker.size() * 2);
    std::size_t copied = 0; // line[0..copied) is in `out`
    for (std::size_t i = 0, matched = 0; i < line.size(); ++i) {
        while (matched > 0 && line[i] != name[matched])
            matched = fallback[matched - 1];
        if (line[i] == name[matched])
            ++matched;
        if (matched == n) {
            out.append(line, copied, i + 1 - copied);
            out += marker;
            copied = i + 1;
            matched = 0; // the next occurrence starts behind this one
        }
    }
    out.append(line, copied, std::string::npos);
    line = std::move(out);
}

void CheckRequest(const MergeRequest& request) {
    const std::size_t n = request.files.size();
    if (n < 2)
        throw UsageError("a merge needs at least 2 input files");
    // The merge information line and the group files give every input one digit.
    if (n > static_cast<std::size_t>(kMaxMergeFiles))
        throw UsageError("a merge takes at most " + std::to_string(kMaxMergeFiles) + " input files, not " +
                         std::to_string(n));
    if (request.groupNames.size() != n)
        throw UsageError(std::to_string(n) + " input files need " + std::to_string(n) + " group names, not " +
                         std::to_string(request.groupNames.size()));
    for (std::size_t i = 0; i < n; ++i) {
        const std::string& name = request.groupNames[i];
        if (HoldsForbiddenCharacter(name))
            throw UsageError("group name \"" + name + "\" holds a character a file name cannot hold");
        // Default names too: a file "con.rec" gives the group "con".
        if (const auto problem = ReservedNameProblem(name, ".grp"))
            throw UsageError("group name \"" + name + "\" cannot name a file: " + *problem);
        if (const auto problem = PathLengthProblem(request.outputFolder, name + ".grp"))
            throw UsageError("group file \"" + name + ".grp\" in " + request.outputFolder + ": " + *problem);
        for (std::size_t j = 0; j < i; ++j)
            if (SameNameAnyCase(request.groupNames[j], name))
                throw UsageError("group names \"" + request.groupNames[j] + "\" and \"" + name +
                                 "\" are the same name; every group needs its own group file");
    }
    if (request.outputName.empty())
        throw UsageError("no output file name");
    if (HoldsForbiddenCharacter(request.outputName))
        throw UsageError("output file name \"" + request.outputName +
                         "\" holds a character a file name cannot hold");
    // Without a folder separator (refused above) the output goes into the
    // output folder, ".rec" appended when missing.
    const std::string outputFile = CompleteExtension(request.outputName);
    if (const auto problem =
            ReservedNameProblem(request.outputName, outputFile.substr(request.outputName.size())))
        throw UsageError("output file name \"" + request.outputName + "\" cannot name a file: " + *problem);
    for (const std::string& file : {outputFile, std::string(kMergeInfoName)})
        if (const auto problem = PathLengthProblem(request.outputFolder, file))
            throw UsageError("\"" + file + "\" in " + request.outputFolder + ": " + *problem);
}

std::string InFolder(const std::string& folder, const std::string& name) {
    return folder + kPathSeparator + name;
}

// The distinct vote names of a file, found by hash: open addressing over
// the votes' positions, so that adding a name allocates nothing of its own.
class VoteIndex {
  public:
    // The position in `votes` of the vote named `name`; for a new name
    // `votes.size()`, where the caller then appends it.
    std::size_t findOrAdd(std::string_view name, const std::vector<InputVote>& votes) {
        if (2 * (count_ + 1) > slots_.size())
            grow();
        const std::size_t hash = std::hash<std::string_view>{}(name);
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t s = hash & mask;; s = (s + 1) & mask) {
            Slot& slot = slots_[s];
            if (slot.vote == kEmpty) {
                slot = {hash, votes.size()};
                ++count_;
                return votes.size();
            }
            if (slot.hash == hash && votes[slot.vote].voteName == name)
                return slot.vote;
        }
    }

    // Room for `count` names without growing.
    void reserve(std::size_t count) {
        std::size_t size = 64;
        while (size < 2 * count)
            size *= 2;
        if (size > slots_.size())
            rehash(size);
    }

  private:
    static constexpr std::size_t kEmpty = static_cast<std::size_t>(-1);
    struct Slot {
        std::size_t hash = 0;
        std::size_t vote = kEmpty;
    };
    void grow() { rehash(std::max<std::size_t>(64, 2 * slots_.size())); }
    void rehash(std::size_t size) {
        std::vector<Slot> old(size);
        old.swap(slots_);
        const std::size_t mask = slots_.size() - 1;
        for (const Slot& slot : old)
            if (slot.vote != kEmpty) {
                std::size_t s = slot.hash & mask;
                while (slots_[s].vote != kEmpty)
                    s = (s + 1) & mask;
                slots_[s] = slot;
            }
    }
    std::vector<Slot> slots_;
    std::size_t count_ = 0;
};

// The counts of a line, or why it is malformed.
struct LineCounts {
    std::int16_t choice = 0, keypads = 0;
    std::string problem; // empty when the line is well-formed
};
LineCounts CountsOf(const VoteFields& fields) {
    LineCounts c;
    if (fields.count < 6) {
        c.problem = "fewer than six fields";
        return c;
    }
    try {
        c.choice = CountValue(fields.field[1], "choice count");
        c.keypads = KeypadCountValue(fields.field[2]);
    } catch (const MalformedLine& e) {
        c.problem = e.what();
    }
    return c;
}

// The preparation of one file, fed line by line in order and parsing each
// line once. A repeated run is decided only by the lines of one block (the
// consecutive lines whose whole-line vote name is the same and not empty):
// a line with responses is never marked and decides the lines before it;
// the lines without (short, no responses) wait as copies until they are
// decided. A vote keeps where its responses lie in the file, not the text.
class Preparer {
  public:
    // `expectedVotes`: room to make at once (a meeting's files hold about as
    // many votes each).
    Preparer(std::string path, InputCheck* check, std::size_t expectedVotes = 0) : check_(check) {
        file_.path = std::move(path);
        file_.votes.reserve(expectedVotes);
        index_.reserve(expectedVotes);
    }

    // One line without its CR LF; `offset`: where it starts in the file.
    void line(std::string_view text, std::uint64_t offset) {
        ++line_;
        if (const char* problem = NotResultsLine(text))
            throw FormatError(file_.path, line_, problem);
        const std::string_view name = VoteNameView(text, nameScratch_);
        const bool hasResponses = text.find(';') != std::string_view::npos;
        const VoteFields fields = SplitVoteFields(text);
        LineCounts counts;
        if (!text.empty()) {
            counts = CountsOf(fields);
            if (check_)
                noteForCheck(counts);
        }
        if (!inBlock_ || name.empty() || name != blockName_) {
            endBlock();
        } else if (!pending_.empty()) {
            pending_.back().timeDiffers = TimeOf(SplitVoteFields(pending_.back().text), timeScratch_) !=
                                          TimeOf(fields, otherTimeScratch_);
            // A line with responses ends every run before it: a waiting line
            // is marked alone when its next line has another time.
            if (hasResponses) {
                for (const Pending& p : pending_)
                    decide(p, p.timeDiffers ? 0 : kUnmarked);
                pending_.clear();
            }
        }
        if (hasResponses || name.empty()) {
            commit(text, fields, counts, line_, offset, true);
        } else {
            pending_.push_back({std::string(text), line_, offset, false});
            // The first line of a run whose next line has another time is
            // marked alone, whatever follows.
            if (pending_.size() == 2 && pending_.front().timeDiffers) {
                decide(pending_.front(), 0);
                pending_.erase(pending_.begin());
            }
        }
        inBlock_ = !name.empty();
        blockName_.assign(name);
    }

    // The lines fed so far.
    int lines() const { return line_; }

    InputFile finish(std::uint64_t bytes) {
        file_.bytes = bytes;
        endBlock();
        if (check_ && firstProblemLine_ > 0)
            throw FormatError(file_.path, firstProblemLine_, firstProblem_);
        if (problemLine_ > 0)
            throw FormatError(file_.path, problemLine_, problem_);
        // From the file's last line to its first: the votes stand in the
        // order of their first lines, mostly that of their last ones too.
        const auto later = [](const InputVote& a, const InputVote& b) { return a.line > b.line; };
        std::reverse(file_.votes.begin(), file_.votes.end());
        if (!std::is_sorted(file_.votes.begin(), file_.votes.end(), later))
            std::sort(file_.votes.begin(), file_.votes.end(), later);
        if (!file_.votes.empty()) {
            const int first = file_.votes.front().keypadCount;
            file_.keypadCount = first;
            for (const InputVote& v : file_.votes) {
                file_.uneven = file_.uneven || v.keypadCount != first;
                file_.keypadCount = std::max<int>(file_.keypadCount, v.keypadCount);
            }
        }
        if (check_) {
            check_->keypadCounts.assign(keypadCounts_.begin(), keypadCounts_.end());
            check_->distinctVotes = file_.votes.size();
        }
        return std::move(file_);
    }

  private:
    struct Pending {
        std::string text;
        int line;
        std::uint64_t offset;
        bool timeDiffers; // from the time of the block's next line
    };
    static constexpr std::size_t kUnmarked = static_cast<std::size_t>(-1);

    static std::string_view TimeOf(const VoteFields& fields, std::string& scratch) {
        return fields.count > 4 ? WithoutQuotes(fields.field[4], scratch) : std::string_view();
    }

    // The block ends. Its waiting lines (none of them the first of a run
    // whose next line has another time: such a line is decided at once) are
    // one run up to the block's last line, or a single line, never marked.
    void endBlock() {
        if (pending_.size() == 1)
            decide(pending_.front(), kUnmarked);
        else
            for (std::size_t m = 0; m < pending_.size(); ++m)
                decide(pending_[m], m);
        pending_.clear();
    }

    // A waiting line, unmarked or marked with run index `index`: every
    // occurrence of the block's name in the line gets the marker behind it,
    // so the line's fields may change and it is read again.
    void decide(const Pending& p, std::size_t index) {
        if (index == kUnmarked) {
            const VoteFields fields = SplitVoteFields(p.text);
            commit(p.text, fields, CountsOf(fields), p.line, p.offset, true);
            return;
        }
        std::string text = p.text;
        AppendAfterEach(text, blockName_, RunMarker(index));
        const VoteFields fields = SplitVoteFields(text);
        commit(text, fields, CountsOf(fields), p.line, p.offset, false);
    }

    // The line's vote replaces an earlier line's of the same name. `inFile`:
    // the text is the file's own bytes at `offset`.
    void commit(std::string_view text, const VoteFields& fields, const LineCounts& counts, int line,
                std::uint64_t offset, bool inFile) {
        if (text.empty())
            return;
        if (!counts.problem.empty()) {
            // Lines are committed in file order: the last malformed one is named.
            problemLine_ = line;
            problem_ = counts.problem;
            return;
        }
        if (!fields.field[1].empty() && fields.field[1].front() == '"')
            file_.quotedCounts = true;
        const std::string_view name = VoteNameView(fields.field[0], nameScratch2_);
        const std::size_t at = index_.findOrAdd(name, file_.votes);
        if (at == file_.votes.size())
            file_.votes.push_back({std::string(name)});
        InputVote& vote = file_.votes[at];
        vote.choiceCount = counts.choice;
        vote.keypadCount = counts.keypads;
        vote.line = line;
        const std::string_view responses = WithoutQuotes(fields.field[3], responsesScratch_);
        const bool asInFile = inFile && responses.data() != responsesScratch_.data();
        if (asInFile) {
            vote.responsesOffset = offset + static_cast<std::uint64_t>(responses.data() - text.data());
            vote.responsesLength = responses.size();
            vote.responsesDigest = ResponsesDigest(responses);
            if (vote.ownResponses >= 0)
                file_.ownResponses[static_cast<std::size_t>(vote.ownResponses)].clear();
            vote.ownResponses = -1;
        } else {
            if (vote.ownResponses < 0) {
                vote.ownResponses = static_cast<int>(file_.ownResponses.size());
                file_.ownResponses.emplace_back();
            }
            file_.ownResponses[static_cast<std::size_t>(vote.ownResponses)].assign(responses);
        }
    }

    void noteForCheck(const LineCounts& counts) {
        ++check_->voteLines;
        if (!counts.problem.empty() && firstProblemLine_ == 0) {
            firstProblemLine_ = line_;
            firstProblem_ = counts.problem;
        }
        if (counts.problem.empty())
            keypadCounts_.insert(counts.keypads);
    }

    InputFile file_;
    VoteIndex index_;
    InputCheck* check_;
    int line_ = 0;
    bool inBlock_ = false;
    std::string blockName_;
    std::vector<Pending> pending_; // the block's undecided lines, none with responses
    int problemLine_ = 0;
    std::string problem_;
    int firstProblemLine_ = 0; // as read without run markers, for the check
    std::string firstProblem_;
    std::set<int> keypadCounts_;
    std::string nameScratch_, nameScratch2_, timeScratch_, otherTimeScratch_, responsesScratch_;
};

// One buffer for the pieces of every input read, refilled and never
// zero-filled; grown only for a line longer than it.
struct ReadBuffer {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    std::size_t votes = 0; // how many the file read before held
};

// Feeds the file at `path` to a preparation, a piece at a time.
InputFile PrepareFromFile(const FileSystem& files, const std::string& path, std::size_t pieceBytes,
                          ReadBuffer& buffer, InputCheck* check) {
    const std::unique_ptr<FileReader> reader = files.openForReading(path);
    Preparer preparer(path, check, buffer.votes);
    pieceBytes = std::max<std::size_t>(pieceBytes, 2);
    if (buffer.size < pieceBytes) {
        buffer.data = std::make_unique_for_overwrite<char[]>(pieceBytes);
        buffer.size = pieceBytes;
    }
    std::uint64_t base = 0;   // where buffer[0] lies in the file
    std::size_t have = 0;     // bytes in the buffer
    std::size_t searched = 0; // bytes of them already searched for a line end
    for (;;) {
        if (have == buffer.size) { // one line fills the buffer
            if (buffer.size >= kMaxLineBytes)
                throw FormatError(path, preparer.lines() + 1, kLineTooLong);
            auto larger = std::make_unique_for_overwrite<char[]>(2 * buffer.size);
            std::memcpy(larger.get(), buffer.data.get(), have);
            buffer.data = std::move(larger);
            buffer.size *= 2;
        }
        const std::size_t asked = buffer.size - have;
        const std::size_t got = reader->readAt(base + have, buffer.data.get() + have, asked);
        have += got;
        const char* text = buffer.data.get();
        std::size_t start = 0;
        for (std::size_t from = searched;;) {
            const void* cr = from < have ? std::memchr(text + from, '\r', have - from) : nullptr;
            if (!cr)
                break;
            const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(cr) - text);
            if (end + 1 == have) // its LF may come with the next piece
                break;
            if (text[end + 1] == '\n') {
                preparer.line(std::string_view(text + start, end - start), base + start);
                start = end + 2;
            }
            from = std::max(start, end + 1);
        }
        if (got < asked) { // the end: what is left is the last line
            preparer.line(std::string_view(text + start, have - start), base + start);
            InputFile file = preparer.finish(base + have);
            buffer.votes = file.votes.size();
            return file;
        }
        std::memmove(buffer.data.get(), text + start, have - start);
        base += start;
        have -= start;
        searched = have > 0 && buffer.data[have - 1] == '\r' ? have - 1 : have;
    }
}

} // namespace

InputFile PrepareInputFile(std::string_view text, const std::string& path) {
    Preparer preparer(path, nullptr);
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string_view::npos; start = end + 2)
        preparer.line(text.substr(start, end - start), start);
    preparer.line(text.substr(start), start);
    return preparer.finish(text.size());
}

const char* NotResultsLine(std::string_view line) {
    if (line.find('\0') != std::string_view::npos)
        return kNotResultsFile;
    const std::size_t lf = line.find('\n'), cr = line.find('\r');
    if (lf == std::string_view::npos && cr == std::string_view::npos)
        return nullptr;
    // Lines are split at CR LF: the first one left tells the file's line ends.
    return lf < cr ? "not a results file: its lines end in LF alone, not in CR LF"
                   : "not a results file: its lines end in CR alone, not in CR LF";
}

InputFile ReadInputFile(const FileSystem& files, const std::string& path, std::size_t pieceBytes) {
    ReadBuffer buffer;
    return PrepareFromFile(files, path, pieceBytes, buffer, nullptr);
}

InputCheck CheckInputFile(const FileSystem& files, const std::string& path) {
    InputCheck check;
    ReadBuffer buffer;
    PrepareFromFile(files, path, kReadPiece, buffer, &check);
    return check;
}

std::vector<std::string> MergeOrder(const std::vector<InputFile>& inputFiles) {
    std::vector<std::string> order;
    std::unordered_set<std::string_view> seen;
    seen.reserve(inputFiles.empty() ? 0 : inputFiles.front().votes.size());
    for (const InputFile& file : inputFiles)
        for (const InputVote& v : file.votes)
            if (seen.insert(v.voteName).second)
                order.push_back(v.voteName);
    // Inserting one by one after every equal entry, as the sorted list does,
    // is a stable sort of the names in the order they were met.
    std::stable_sort(order.begin(), order.end(),
                     [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
    return order;
}

// An output that is one of the inputs (the same file, also through a link
// or another spelling) would replace it.
void RefuseInputAsOutput(const MergeRequest& request, const std::vector<std::string>& outputs,
                         const FileSystem& files) {
    for (const std::string& output : outputs)
        for (const std::string& input : request.files)
            if (files.sameFile(output, input + ".rec"))
                throw UsageError(output + ": is the input " + input +
                                 ".rec; the merge writes into another file");
}

MergePlan PrepareMerge(const MergeRequest& request, const FileSystem& files, const Clock& clock) {
    CheckRequest(request);
    std::vector<std::string> outputs{OutputPath(request.outputName, request.outputFolder),
                                     InFolder(request.outputFolder, kMergeInfoName)};
    for (const std::string& group : request.groupNames)
        outputs.push_back(InFolder(request.outputFolder, group + ".grp"));
    RefuseInputAsOutput(request, outputs, files);
    MergePlan plan;
    std::vector<InputFile> inputFiles;
    inputFiles.reserve(request.files.size());
    ReadBuffer buffer;
    for (std::size_t i = 0; i < request.files.size(); ++i) {
        inputFiles.push_back(PrepareFromFile(files, request.files[i] + ".rec", kReadPiece, buffer, nullptr));
        const InputFile& file = inputFiles.back();
        InputSummary summary{file.path, request.groupNames[i], file.keypadCount, file.quotedCounts, {}};
        summary.votes.reserve(file.votes.size());
        for (const InputVote& v : file.votes)
            summary.votes.push_back({v.voteName, v.choiceCount});
        plan.inputs.push_back(std::move(summary));
    }

    std::vector<std::string> voteOrder = MergeOrder(inputFiles);
    // The keypad count of a line is 16 bits; a sum beyond it cannot be written.
    int total = 0;
    for (std::size_t i = 0; i < inputFiles.size(); ++i) {
        total += inputFiles[i].keypadCount;
        if (total > 32767 || total < -32768)
            throw FormatError(request.files[i] + ".rec", 0,
                              "the keypads of the inputs up to this file come to " + std::to_string(total) +
                                  " positions, more than the 32767 a merged file can hold");
    }
    plan.keypadTotal = total;
    // Every merged line holds two characters per keypad position. Inputs that
    // pair many votes with many keypads (each line's counts are only claims)
    // would make a file far beyond the disk; a meeting's is a few megabytes.
    const double mergedBytes = 2.0 * std::max(total, 0) * static_cast<double>(voteOrder.size() + 1);
    if (mergedBytes > kMaxMergedBytes) {
        char size[32];
        std::snprintf(size, sizeof size, "%.1f", mergedBytes / (1 << 30));
        throw FormatError(OutputPath(request.outputName, request.outputFolder), 0,
                          "the inputs would make a merged file of " + std::string(size) + " GiB (" +
                              std::to_string(voteOrder.size()) + " votes of " + std::to_string(total) +
                              " keypad positions), more than the 1 GiB a merge writes");
    }
    plan.layout = LayOutMerge(std::move(inputFiles), voteOrder, clock);

    for (std::size_t i = 0; i < request.files.size(); ++i) {
        std::string groupPath = InFolder(request.outputFolder, request.groupNames[i] + ".grp");
        plan.result.groupFilePaths.push_back(groupPath);
        plan.writes.push_back({std::move(groupPath), GroupFileText(static_cast<int>(i))});
    }
    plan.result.outputPath = OutputPath(request.outputName, request.outputFolder);
    plan.writes.push_back({plan.result.outputPath, std::string()});
    plan.result.markerPath = InFolder(request.outputFolder, kMergeInfoName);
    plan.writes.push_back({plan.result.markerPath, std::string()});
    plan.result.voteOrder = std::move(voteOrder);
    return plan;
}

void WriteMerge(const MergePlan& plan, FileSystem& files) {
    // A folder in the way stops the merge while nothing is written yet.
    std::vector<std::string> paths;
    for (const PlannedWrite& w : plan.writes) {
        if (files.folderExists(w.path))
            throw FileError(w.path, "there is a folder of that name");
        paths.push_back(w.path);
    }
    const std::size_t merged = plan.result.groupFilePaths.size(); // after the group files
    files.writeFiles(paths, [&](std::size_t i, FileSink& sink) {
        if (i == merged)
            MergeFiles(plan.layout, plan.result.voteOrder, files, sink);
        else
            sink.write(plan.writes[i].content);
    });
}

MergeResult RunMerge(const MergeRequest& request, FileSystem& files, const Clock& clock) {
    const MergePlan plan = PrepareMerge(request, files, clock);
    WriteMerge(plan, files);
    return plan.result;
}

} // namespace avelin
