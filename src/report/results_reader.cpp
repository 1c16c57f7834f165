// Reading a results file into the results model: a merged file in one
// streaming pass that keeps only the tallies, any other file as the merge
// prepares it.
#include <algorithm>
#include <bit>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>

#include "formats/run_marker.h"
#include "formats/side_files.h"
#include "formats/vote_line.h"
#include "merge/collation.h"
#include "merge/merge_run.h"
#include "platform/errors.h"
#include "platform/path_text.h"
#include "report/results_model.h"

namespace avelin {

std::int64_t VoteTally::AnswersOf(std::size_t g) const {
    std::int64_t n = 0;
    for (const AnswerCount& a : answers)
        n += a.byGroup[g];
    return n;
}

namespace {

// A merge gives every input one group; a report takes at most this many.
constexpr int kMaxGroups = 100;
constexpr std::size_t kChunk = 256 << 10;

// A results file read in pieces: its last line first, then line by line
// from the start through one buffer.
class ResultsFile {
  public:
    ResultsFile(const std::string& path, const FileSystem& files)
        : path_(path), reader_(files.openForReading(path)), size_(reader_->size()) {}

    std::uint64_t size() const { return size_; }

    // The last line that is not empty, and the offset it starts at.
    std::pair<std::uint64_t, std::string> LastLine() {
        for (std::uint64_t want = 1 << 16;; want *= 4) {
            if (want > kMaxLineBytes)
                throw FormatError(path_, 0, kLineTooLong);
            const std::uint64_t from = size_ > want ? size_ - want : 0;
            std::string tail(static_cast<std::size_t>(size_ - from), '\0');
            tail.resize(reader_->readAt(from, tail.data(), tail.size()));
            std::string_view rest = tail;
            while (rest.ends_with("\r\n"))
                rest.remove_suffix(2);
            const std::size_t lineEnd = rest.rfind("\r\n");
            if (lineEnd != std::string_view::npos)
                return {from + lineEnd + 2, std::string(rest.substr(lineEnd + 2))};
            if (from == 0)
                return {0, std::string(rest)};
        }
    }

    // The next line (valid until the next call), its number from 1 and the
    // offset it starts at; false at the end. Lines end at CR LF, as the
    // merge splits them.
    bool NextLine(std::string_view& line, int& number, std::uint64_t& start) {
        for (;;) {
            const std::size_t lineEnd = std::string_view(buffer_.data(), end_).find("\r\n", scanned_);
            if (lineEnd != std::string_view::npos || (atEnd_ && begin_ < end_)) {
                const std::size_t stop = lineEnd != std::string_view::npos ? lineEnd : end_;
                line = std::string_view(buffer_.data() + begin_, stop - begin_);
                start = bufferOffset_ + begin_;
                number = ++number_;
                begin_ = scanned_ = std::min(stop + 2, end_);
                return true;
            }
            if (atEnd_)
                return false;
            if (begin_ > 0) {
                std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
                bufferOffset_ += begin_;
                end_ -= begin_;
                begin_ = 0;
            }
            scanned_ = end_ > 0 ? end_ - 1 : 0; // a CR at the end may pair with the next LF
            if (end_ == buffer_.size()) {
                if (end_ >= kMaxLineBytes)
                    throw FormatError(path_, number_ + 1, kLineTooLong);
                buffer_.resize(std::max(buffer_.size() * 2, kChunk));
            }
            const std::size_t n =
                reader_->readAt(bufferOffset_ + end_, buffer_.data() + end_, buffer_.size() - end_);
            atEnd_ = n == 0;
            end_ += n;
        }
    }

  private:
    std::string path_;
    std::unique_ptr<FileReader> reader_;
    std::uint64_t size_;
    std::string buffer_;
    std::size_t begin_ = 0, end_ = 0, scanned_ = 0; // the unread part of the buffer; searched from scanned_
    std::uint64_t bufferOffset_ = 0;                // the file offset of buffer_[0]
    bool atEnd_ = false;
    int number_ = 0;
};

// Counts the entries of responses fields by group. The counts of one-byte
// entries ("-" among them) sit in a table indexed by the byte, the others in
// a map; both are reused from vote to vote.
class Tally {
  public:
    explicit Tally(std::size_t groups) : groups_(groups), single_(256 * groups, 0) {}

    // Entry k belongs to the group groupOf[k] (none when negative or beyond
    // its end); without `groupOf`, every entry to group 0. `positions` gets
    // the number of entries.
    VoteTally Count(std::string_view r, const std::vector<int>* groupOf, std::size_t& positions) {
        const std::vector<Run>& runs = RunsOf(groupOf);
        const char* p = r.data();
        const std::size_t n = r.size();
        std::size_t i = 0, k = 0, run = 0;
        while (i < n) {
            while (k >= runs[run].end)
                ++run;
            const int g = runs[run].group;
            // The usual entries, one character and ";" each, up to the end of
            // the run of positions of one group: a merged file holds millions.
            const std::size_t stop = std::min(runs[run].end, k + (n - i) / 2);
            if (g >= 0) {
                // Four entries at a time, each into a table of its own: runs
                // of one answer then do not wait on one counter.
                const std::size_t from = k;
                for (; k + 4 <= stop; k += 4, i += 8) {
                    std::uint64_t w;
                    std::memcpy(&w, p + i, 8);
                    if (!FourUsualEntries(w))
                        break;
                    ++parts_[0][w & 0xFF];
                    ++parts_[1][(w >> 16) & 0xFF];
                    ++parts_[2][(w >> 32) & 0xFF];
                    ++parts_[3][(w >> 48) & 0xFF];
                }
                for (; k < stop && p[i + 1] == ';' && p[i] != ';'; i += 2, ++k)
                    ++parts_[0][static_cast<unsigned char>(p[i])];
                if (k > from)
                    AddParts(static_cast<std::size_t>(g));
            } else {
                for (; k < stop && p[i + 1] == ';' && p[i] != ';'; i += 2, ++k) {
                }
            }
            if (k == runs[run].end || i >= n)
                continue;
            // An entry of another shape: empty, several characters, or the
            // last one without its ";".
            std::size_t semicolon = r.find(';', i);
            if (semicolon == std::string_view::npos)
                semicolon = n;
            if (g >= 0)
                AddLonger(r.substr(i, semicolon - i), static_cast<std::size_t>(g));
            i = semicolon + 1;
            ++k;
        }
        positions = k;

        VoteTally tally;
        tally.noAnswer.assign(groups_, 0);
        for (std::size_t b = 0; b < 256; ++b) {
            if (!seen_[b])
                continue;
            seen_[b] = false;
            std::int64_t* counts = &single_[b * groups_];
            if (b == '-')
                std::copy(counts, counts + groups_, tally.noAnswer.begin());
            else
                tally.answers.push_back({std::string(1, static_cast<char>(b)), {counts, counts + groups_}});
            std::fill(counts, counts + groups_, 0);
        }
        for (auto& [text, counts] : multi_)
            tally.answers.push_back({text, std::move(counts)});
        multi_.clear();
        std::stable_sort(
            tally.answers.begin(), tally.answers.end(),
            [](const AnswerCount& a, const AnswerCount& b) { return a.answer.size() < b.answer.size(); });
        return tally;
    }

  private:
    // Positions below `end` (and at or above the run before's) belong to
    // `group`; -1 for none.
    struct Run {
        std::size_t end;
        int group;
    };
    // The runs of positions of one group, made once per file.
    const std::vector<Run>& RunsOf(const std::vector<int>* groupOf) {
        if (runs_.empty() || groupOfRuns_ != groupOf) {
            groupOfRuns_ = groupOf;
            runs_.clear();
            const std::size_t known = groupOf ? groupOf->size() : 0;
            for (std::size_t k = 0; k < known; ++k)
                if (runs_.empty() || runs_.back().group != (*groupOf)[k])
                    runs_.push_back({k + 1, (*groupOf)[k]});
                else
                    runs_.back().end = k + 1;
            runs_.push_back({SIZE_MAX, groupOf ? -1 : 0}); // beyond the known positions
        }
        return runs_;
    }

    // Whether the eight bytes `w` (in memory order) are four entries of one
    // character and ";" each: every second byte ";", the others not.
    static bool FourUsualEntries(std::uint64_t w) {
        if constexpr (std::endian::native != std::endian::little)
            w = ((w & 0x00FF00FF00FF00FFull) << 8) | ((w >> 8) & 0x00FF00FF00FF00FFull);
        if ((w & 0xFF00FF00FF00FF00ull) != 0x3B003B003B003B00ull)
            return false;
        // Each low byte of the four 16-bit lanes is not ";": its XOR with ";"
        // plus 0xFF reaches the lane's next bit.
        const std::uint64_t low = (w ^ 0x3B3B3B3B3B3B3B3Bull) & 0x00FF00FF00FF00FFull;
        return ((low + 0x00FF00FF00FF00FFull) & 0x0100010001000100ull) == 0x0100010001000100ull;
    }

    // Moves the counts of the four tables into group g's.
    void AddParts(std::size_t g) {
        std::uint32_t sum[256];
        for (std::size_t b = 0; b < 256; ++b)
            sum[b] = parts_[0][b] + parts_[1][b] + parts_[2][b] + parts_[3][b];
        std::memset(parts_, 0, sizeof parts_);
        for (std::size_t b = 0; b < 256; ++b)
            if (sum[b] != 0) {
                single_[b * groups_ + g] += sum[b];
                seen_[b] = true;
            }
    }

    // An entry of another length than one: an empty one, or several characters.
    void AddLonger(std::string_view entry, std::size_t g) {
        if (entry.size() == 1) { // the last entry, without its ";"
            const auto b = static_cast<unsigned char>(entry[0]);
            ++single_[b * groups_ + g];
            seen_[b] = true;
            return;
        }
        auto at = multi_.find(entry);
        if (at == multi_.end())
            at = multi_.emplace(std::string(entry), std::vector<std::int64_t>(groups_, 0)).first;
        ++at->second[g];
    }

    std::size_t groups_;
    std::vector<std::int64_t> single_; // [byte * groups + group]
    bool seen_[256] = {};
    std::uint32_t parts_[4][256] = {}; // a run's counts of one-byte entries, in four tables
    std::vector<Run> runs_;
    const std::vector<int>* groupOfRuns_ = nullptr;
    std::map<std::string, std::vector<std::int64_t>, std::less<>> multi_;
};

// The groups of a merged file, from its merge information line: the entry at
// keypad position k is the index of the group of position k, "-" for none;
// the choice count is the number of groups.
struct MergeInfo {
    std::vector<int> groupOf;
    std::vector<ReportGroup> groups;
    std::string problem; // why the line cannot be used; reported at its line
};

MergeInfo ReadMergeInfo(std::string_view line) {
    MergeInfo info;
    VoteLine v;
    try {
        v = ParseVoteLine(line);
    } catch (const MalformedLine& e) {
        info.problem = e.what();
        return info;
    }
    const int count = v.choiceCount;
    if (count < 1 || count > kMaxGroups) {
        info.problem = "the merge information line gives " + std::to_string(count) +
                       " groups; a report takes 1 to " + std::to_string(kMaxGroups);
        return info;
    }
    info.groups.resize(static_cast<std::size_t>(count));
    const std::string_view r = v.responses;
    for (std::size_t i = 0; i < r.size();) {
        std::size_t semicolon = r.find(';', i);
        if (semicolon == std::string_view::npos)
            semicolon = r.size();
        const std::string_view entry = r.substr(i, semicolon - i);
        int g = entry == "-" ? -1 : 0;
        if (g == 0) {
            const bool digits =
                !entry.empty() && entry.size() <= 3 &&
                std::all_of(entry.begin(), entry.end(), [](char c) { return c >= '0' && c <= '9'; });
            g = digits ? std::stoi(std::string(entry)) : count;
            if (g >= count) {
                info.problem = "the merge information line's entry for keypad position " +
                               std::to_string(info.groupOf.size() + 1) + ", \"" + std::string(entry) +
                               "\", is not one of its " + std::to_string(count) + " groups";
                info.groups.clear();
                info.groupOf.clear();
                return info;
            }
            ++info.groups[static_cast<std::size_t>(g)].keypads;
        }
        info.groupOf.push_back(g);
        i = semicolon + 1;
    }
    return info;
}

// The index a group file's text names: "MergeInfo.avl", "i".
std::optional<std::size_t> GroupFileIndex(std::string_view text) {
    const std::string head = std::string("\"") + kMergeInfoName + "\", \"";
    if (text.size() < head.size() + 2 || !text.starts_with(head) || !text.ends_with('"'))
        return std::nullopt;
    const std::string_view digits = text.substr(head.size(), text.size() - head.size() - 1);
    if (digits.size() > 3 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return static_cast<std::size_t>(std::stoi(std::string(digits)));
}

void RefuseExtraNames(const std::vector<std::string>& given, std::size_t groups) {
    if (given.size() > groups)
        throw UsageError(std::to_string(given.size()) + " group names given for a file of " +
                         std::to_string(groups) + (groups == 1 ? " group" : " groups"));
}

// Names the groups of a merged file: the names given first, then the one
// group file in the folder that holds a group's index, else "Group i+1".
void NameGroups(std::vector<ReportGroup>& groups, const std::vector<std::string>& given,
                const std::string& folder, const FileSystem& files) {
    RefuseExtraNames(given, groups.size());
    std::vector<std::vector<std::string>> holders(groups.size());
    if (given.size() < groups.size())
        for (const std::string& name : files.listFiles(folder)) {
            if (name.size() <= 4 || !EqualNoCase(std::string_view(name).substr(name.size() - 4), ".grp"))
                continue;
            const auto text = files.readFirstLine(folder + kPathSeparator + name);
            const auto index = text ? GroupFileIndex(*text) : std::nullopt;
            if (index && *index < groups.size())
                holders[*index].push_back(name.substr(0, name.size() - 4));
        }
    for (std::size_t i = 0; i < groups.size(); ++i)
        groups[i].name = i < given.size()         ? given[i]
                         : holders[i].size() == 1 ? holders[i].front()
                                                  : "Group " + std::to_string(i + 1);
}

// Where the responses field (the fourth) of a line lies; an empty span at
// the end of a line of fewer fields.
std::pair<std::size_t, std::size_t> ResponsesSpan(std::string_view line) {
    std::size_t from = 0;
    for (int commas = 0; commas < 3; ++commas) {
        const std::size_t comma = line.find(',', from);
        if (comma == std::string_view::npos)
            return {line.size(), line.size()};
        from = comma + 1;
    }
    return {from, std::min(line.find(',', from), line.size())};
}

// The responses field of a line the merge accepted, without its quotes.
ResultsReport ReadMergedFile(ResultsFile& file, ResultsReport report, std::uint64_t infoStart,
                             const std::string& infoLine, const std::vector<std::string>& groupNames,
                             const FileSystem& files) {
    const MergeInfo info = ReadMergeInfo(infoLine);
    report.groups = info.groups;
    if (info.problem.empty()) {
        std::string folder = TextOf(PathOf(report.path).parent_path());
        NameGroups(report.groups, groupNames, folder.empty() ? "." : folder, files);
    }
    Tally tally(report.groups.size());
    std::string rest, unquoted;
    std::string_view line;
    int number = 0;
    std::uint64_t start = 0;
    while (file.NextLine(line, number, start)) {
        if (const char* problem = NotResultsLine(line)) // as the merge refuses such a file
            throw FormatError(report.path, number, problem);
        if (start == infoStart) {
            if (!info.problem.empty())
                throw FormatError(report.path, number, info.problem);
            break;
        }
        if (line.empty())
            continue;
        // The line is checked and named without its responses field, which
        // is read where it stands: it holds nearly all of the line's bytes.
        const auto [from, to] = ResponsesSpan(line);
        rest.assign(line.substr(0, from));
        rest.append(line.substr(to));
        VoteLine v;
        try {
            v = ParseVoteLine(rest);
        } catch (const MalformedLine& e) {
            throw FormatError(report.path, number, e.what());
        }
        std::string_view responses = line.substr(from, to - from);
        if (responses.size() >= 2 && responses.front() == '"' && responses.back() == '"' &&
            responses.substr(1, responses.size() - 2).find('"') == std::string_view::npos) {
            responses = responses.substr(1, responses.size() - 2);
        } else {
            unquoted.clear();
            std::remove_copy(responses.begin(), responses.end(), std::back_inserter(unquoted), '"');
            responses = unquoted;
        }
        std::size_t positions = 0;
        VoteTally t = tally.Count(responses, &info.groupOf, positions);
        t.line = number;
        t.name = std::move(v.voteName);
        report.votes.push_back(std::move(t));
    }
    return report;
}

ResultsReport ReadMeetingFile(ResultsReport report, std::uint64_t size,
                              const std::vector<std::string>& groupNames, const FileSystem& files) {
    // Read whole: a meeting's file is a few megabytes, a merge makes none
    // larger than kMaxMergedBytes.
    if (static_cast<double>(size) > kMaxMergedBytes)
        throw FormatError(report.path, 0, "larger than the 1 GiB a results file of a meeting can be");
    const std::string text = files.readAll(report.path);
    // The votes the merge keeps (repeated runs marked, the last line of a
    // vote winning), reported in the order of their lines.
    InputFile prepared = PrepareInputFile(text, report.path);
    std::sort(prepared.votes.begin(), prepared.votes.end(),
              [](const InputVote& a, const InputVote& b) { return a.line < b.line; });
    Tally tally(1);
    std::size_t keypads = 0;
    for (const InputVote& vote : prepared.votes) {
        std::size_t positions = 0;
        VoteTally t = tally.Count(prepared.responses(vote, text), nullptr, positions);
        keypads = std::max(keypads, positions);
        t.line = vote.line;
        t.name = WithoutRunMarker(vote.voteName);
        report.votes.push_back(std::move(t));
    }
    RefuseExtraNames(groupNames, 1);
    const std::string name = groupNames.empty() ? TextOf(PathOf(report.path).stem()) : groupNames.front();
    report.groups = {{name, static_cast<int>(keypads)}};
    return report;
}

} // namespace

ResultsReport ReadResults(const std::string& path, const FileSystem& files,
                          const std::vector<std::string>& groupNames) {
    ResultsFile file(path, files);
    ResultsReport report;
    report.path = path;
    const auto [infoStart, lastLine] = file.LastLine();
    const std::string_view firstField = std::string_view(lastLine).substr(0, lastLine.find(','));
    report.merged = GetVoteName(firstField) == kMergeInfoName;
    if (report.merged)
        return ReadMergedFile(file, std::move(report), infoStart, lastLine, groupNames, files);
    return ReadMeetingFile(std::move(report), file.size(), groupNames, files);
}

} // namespace avelin
