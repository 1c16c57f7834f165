#include "merge/merge_engine.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <unordered_map>

#include "formats/run_marker.h"
#include "formats/side_files.h"
#include "platform/errors.h"

namespace avelin {

namespace {

constexpr std::string_view kNoResponse = "-;";
// The merged file is handed on in pieces pointing into the inputs' windows
// and into a text of about this size (the lines' own fields).
constexpr std::size_t kOutputText = 64 << 10;
constexpr std::size_t kMostPieces = 1024;
// The inputs' responses are read again a window at a time, a window holding
// the votes that lie no further than kNearby behind one another.
constexpr std::uint64_t kInputWindow = 32 << 10;
constexpr std::uint64_t kNearby = 16 << 10;
constexpr const char* kChangedReason = "the file changed while it was being merged";

// The merged file on its way out: pieces that stay where they are until they
// are written (the text formatted here, the windows of the inputs, the
// no-response blocks), written together.
class Output {
  public:
    explicit Output(FileSink& sink) : sink_(sink) {
        text_.reserve(kOutputText);
        pieces_.reserve(kMostPieces);
    }
    // A piece that stays valid until the next flush.
    void add(std::string_view piece) {
        if (piece.empty())
            return;
        if (pieces_.size() == kMostPieces)
            flush();
        pieces_.push_back(piece);
    }
    // Text of the merged file, kept here until it is written.
    void append(std::string_view text) {
        if (pieces_.size() == kMostPieces || text_.size() + text.size() > text_.capacity()) {
            flush(); // the text moves only while no piece points into it
            text_.reserve(std::max(kOutputText, text.size()));
        }
        const std::size_t start = text_.size();
        text_.append(text);
        // Straight behind the last piece: one piece.
        if (!pieces_.empty() && pieces_.back().data() + pieces_.back().size() == text_.data() + start)
            pieces_.back() = std::string_view(pieces_.back().data(), pieces_.back().size() + text.size());
        else if (!text.empty())
            pieces_.push_back(std::string_view(text_.data() + start, text.size()));
    }
    void appendNumber(int value) {
        char digits[16];
        const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        append(std::string_view(digits, static_cast<std::size_t>(end - digits)));
    }
    void flush() {
        sink_.writePieces(pieces_.data(), pieces_.size());
        pieces_.clear();
        text_.clear();
        ++flushes_;
    }
    // Counts the flushes, so that a window knows whether its pieces are out.
    std::size_t flushes() const { return flushes_; }

  private:
    FileSink& sink_;
    std::string text_;
    std::vector<std::string_view> pieces_;
    std::size_t flushes_ = 0;
};

// Where an input's responses lie in its file, in the order the merged file
// takes them.
using ReadPlan = std::vector<std::pair<std::uint64_t, std::size_t>>;

// The responses of one input, read again from its file. One read covers the
// votes that come next as long as each lies close behind the last, within a
// window: a meeting's votes lie in its file in about the merge order, so the
// file is read about once, and no more than a window is held. A vote read
// alone is copied into the output's text, so that its window can go at once.
class ResponsesSource {
  public:
    ResponsesSource(const InputFile& file, const FileSystem& files, ReadPlan plan)
        : file_(file), files_(files), plan_(std::move(plan)) {}

    // The responses of `vote`, valid until the next call.
    std::string_view responses(const InputVote& vote, Output& out) {
        inWindow_ = false;
        if (vote.ownResponses >= 0)
            return file_.ownResponses[static_cast<std::size_t>(vote.ownResponses)];
        const std::size_t n = vote.responsesLength;
        const std::uint64_t at = vote.responsesOffset;
        if (n == 0)
            return {};
        if (at < windowAt_ || at + n > windowAt_ + window_.size())
            read(out);
        ++next_;
        inWindow_ = true;
        const std::string_view responses = window_.substr(static_cast<std::size_t>(at - windowAt_), n);
        if (ResponsesDigest(responses) != vote.responsesDigest)
            throw FileError(file_.path, kChangedReason);
        return responses;
    }
    // Hands the responses that responses() gave last on to `out`.
    void add(std::string_view responses, Output& out) {
        if (!inWindow_ || alone_) {
            out.append(responses);
            return;
        }
        out.add(responses);
        pending_ = true;
        referenced_ = out.flushes();
    }

  private:
    void read(Output& out) {
        const auto [start, length] = plan_[next_];
        const std::uint64_t limit = start + std::max<std::uint64_t>(length, kInputWindow);
        std::uint64_t end = start + length;
        std::size_t b = next_ + 1;
        for (; b < plan_.size(); ++b) {
            const auto [at, n] = plan_[b];
            if (at < start || at + n > limit || at > end + kNearby)
                break;
            end = std::max<std::uint64_t>(end, at + n);
        }
        alone_ = b == next_ + 1;
        // The window is about to change: its pieces go out first.
        if (pending_ && referenced_ == out.flushes())
            out.flush();
        pending_ = false;
        if (!reader_) {
            reader_ = files_.openForReading(file_.path);
            if (reader_->size() != file_.bytes)
                throw FileError(file_.path, kChangedReason);
        }
        const std::size_t size = static_cast<std::size_t>(end - start);
        if (capacity_ < size) {
            capacity_ = std::max<std::size_t>(size, kInputWindow);
            buffer_ = std::make_unique_for_overwrite<char[]>(capacity_);
        }
        if (reader_->readAt(start, buffer_.get(), size) < size)
            throw FileError(file_.path, kChangedReason);
        window_ = std::string_view(buffer_.get(), size);
        windowAt_ = start;
    }

    const InputFile& file_;
    const FileSystem& files_;
    const ReadPlan plan_;
    std::size_t next_ = 0; // the plan's next read
    std::unique_ptr<FileReader> reader_;
    std::unique_ptr<char[]> buffer_; // never zero-filled
    std::size_t capacity_ = 0;
    std::string_view window_; // the part of the buffer read last
    std::uint64_t windowAt_ = 0;
    bool inWindow_ = false;      // the last responses given lie in the window
    bool alone_ = false;         // the window holds one vote
    bool pending_ = false;       // a piece of the window may not be written yet
    std::size_t referenced_ = 0; // the output's flush count when it was added
};

// The lines of the merged file as its format has them: per name of the vote
// order a line of every input's block of responses (found, padded, or no
// responses at all), then the merge information line. The pieces go out
// through Output; the responses come from each input's ResponsesSource.
class MergedLines {
  public:
    MergedLines(const MergeLayout& layout, const std::vector<std::string>& voteOrder, const FileSystem& files,
                FileSink& sink)
        : layout_(layout), inputs_(layout.files), voteOrder_(voteOrder), out_(sink),
          keypads_(static_cast<std::int16_t>(layout.keypadTotal)) {
        const std::size_t fileCount = inputs_.size();
        std::vector<ReadPlan> plans(fileCount);
        for (std::size_t k = 0; k < voteOrder_.size(); ++k)
            for (std::size_t i = 0; i < fileCount; ++i)
                if (const InputVote* vote = voteOf(k, i);
                    vote && vote->ownResponses < 0 && vote->responsesLength > 0)
                    plans[i].emplace_back(vote->responsesOffset, vote->responsesLength);
        sources_.reserve(fileCount);
        blank_.resize(fileCount);
        unanswered_.resize(fileCount);
        for (std::size_t i = 0; i < fileCount; ++i) {
            sources_.emplace_back(inputs_[i], files, std::move(plans[i]));
            for (int p = 0; p < inputs_[i].keypadCount; ++p) {
                blank_[i] += kNoResponse;
                unanswered_[i].push_back(static_cast<std::uint32_t>(p));
            }
        }
    }

    // Every line has the keypads of all inputs: padded, found or not. The
    // name and choice count are those of the last input holding the vote. A
    // name "" gives no line; its votes count for the merge information all
    // the same.
    void voteLines() {
        for (std::size_t k = 0; k < voteOrder_.size(); ++k) {
            const InputVote* last = nullptr;
            for (std::size_t i = 0; i < inputs_.size(); ++i)
                if (const InputVote* vote = voteOf(k, i))
                    last = vote;
            const bool write = last && !voteOrder_[k].empty();
            if (write)
                lineStart(WithoutRunMarker(voteOrder_[k]), last->choiceCount, keypads_);
            for (std::size_t i = 0; i < inputs_.size(); ++i) {
                if (const InputVote* vote = voteOf(k, i))
                    block(i, *vote, write);
                else if (write)
                    out_.add(blank_[i]);
            }
            if (write)
                lineEnd(stampOf(k));
        }
    }

    // The merge information line: the digit of input i for every keypad
    // position of its block that answered at least one of its votes.
    void mergeInfoLine() {
        std::string marks;
        for (std::size_t i = 0; i < inputs_.size(); ++i) {
            const std::size_t start = marks.size();
            for (int p = 0; p < inputs_[i].keypadCount; ++p)
                marks += {static_cast<char>('0' + i), ';'};
            for (const std::uint32_t q : unanswered_[i])
                marks[start + 2 * q] = '-';
        }
        lineStart(kMergeInfoName, static_cast<int>(inputs_.size()), voteOrder_.empty() ? 0 : keypads_);
        out_.add(marks);
        lineEnd(stampOf(voteOrder_.size()));
        out_.flush();
    }

  private:
    const InputVote* voteOf(std::size_t k, std::size_t i) const {
        const std::int32_t v = layout_.found[k * inputs_.size() + i];
        return v < 0 ? nullptr : &inputs_[i].votes[static_cast<std::size_t>(v)];
    }

    // The fields before the responses, and the opening quote of these.
    void lineStart(std::string_view name, int choiceCount, int keypadCount) {
        out_.append("\"\\");
        out_.append(name);
        out_.append("\",");
        out_.appendNumber(choiceCount);
        out_.append(",");
        out_.appendNumber(keypadCount);
        out_.append(",\"");
    }

    void lineEnd(const MergeStamp& now) {
        out_.append("\",\"");
        out_.append(now.time);
        out_.append("\",\"");
        out_.append(now.date);
        out_.append("\"\r\n");
    }

    const MergeStamp& stampOf(std::size_t record) {
        while (stamp_ + 1 < layout_.stamps.size() && layout_.stamps[stamp_ + 1].firstRecord <= record)
            ++stamp_;
        return layout_.stamps[stamp_];
    }

    // The responses of input i's vote as the merged line holds them, padded
    // with no-response entries when the input's votes are uneven (an odd
    // length rounds up, so that two entries still come behind "1;2;3"), and
    // written when the record gives a line.
    void block(std::size_t i, const InputVote& vote, bool write) {
        const std::string_view responses = sources_[i].responses(vote, out_);
        std::string_view padding;
        if (inputs_[i].uneven) {
            const long missing = inputs_[i].keypadCount - static_cast<long>((responses.size() + 1) / 2);
            if (missing > 0)
                padding = std::string_view(blank_[i]).substr(0, 2 * static_cast<std::size_t>(missing));
        }
        // A position counts as answered when the entry there is not "-", or
        // when the responses are too short to reach it. The padding holds
        // "-" at its even places: behind responses of odd length its ";"
        // falls on the entries.
        std::vector<std::uint32_t>& open = unanswered_[i];
        std::size_t kept = 0;
        for (const std::uint32_t q : open) {
            const std::size_t at = 2 * std::size_t{q};
            if (at < responses.size() ? responses[at] == '-'
                                      : at < responses.size() + padding.size() && responses.size() % 2 == 0)
                open[kept++] = q;
        }
        open.resize(kept);
        if (write) {
            sources_[i].add(responses, out_);
            out_.add(padding);
        }
    }

    const MergeLayout& layout_;
    const std::vector<InputFile>& inputs_;
    const std::vector<std::string>& voteOrder_;
    Output out_;
    const int keypads_;
    std::vector<ResponsesSource> sources_;
    std::vector<std::string> blank_; // per input, a whole block of no-response entries
    // Per input, the keypad positions that no vote has answered yet.
    std::vector<std::vector<std::uint32_t>> unanswered_;
    std::size_t stamp_ = 0;
};

} // namespace

std::string_view InputFile::responses(const InputVote& vote, std::string_view text) const {
    if (vote.ownResponses >= 0)
        return ownResponses[static_cast<std::size_t>(vote.ownResponses)];
    return text.substr(static_cast<std::size_t>(vote.responsesOffset), vote.responsesLength);
}

// Four lanes of multiply and xor, eight bytes at a time: a step is a
// bijection of its lane, so one changed word always changes the digest.
std::uint64_t ResponsesDigest(std::string_view bytes) {
    constexpr std::uint64_t kOdd = 0x9E3779B97F4A7C15ull;
    std::uint64_t lane[4] = {1, 2, 3, 4};
    const char* p = bytes.data();
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32)
        for (int l = 0; l < 4; ++l) {
            std::uint64_t w;
            std::memcpy(&w, p + i + 8 * l, 8);
            lane[l] = (lane[l] ^ w) * kOdd;
        }
    std::uint64_t tail = n;
    for (; i < n; ++i)
        tail = (tail ^ static_cast<unsigned char>(p[i])) * kOdd;
    std::uint64_t h = tail;
    for (const std::uint64_t v : lane)
        h = (h ^ v ^ (v >> 29)) * kOdd;
    return h;
}

MergeLayout LayOutMerge(std::vector<InputFile> inputFiles, const std::vector<std::string>& voteOrder,
                        const Clock& clock) {
    MergeLayout layout;
    const std::size_t fileCount = inputFiles.size();
    // The first vote of each name per file, found by hash instead of a linear
    // search; the names of a file are distinct, so the result is the same.
    std::unordered_map<std::string_view, std::size_t> position;
    position.reserve(voteOrder.size());
    for (std::size_t k = 0; k < voteOrder.size(); ++k)
        position.emplace(voteOrder[k], k);
    layout.found.assign(voteOrder.size() * fileCount, -1);
    for (std::size_t i = 0; i < fileCount; ++i) {
        const std::vector<InputVote>& votes = inputFiles[i].votes;
        for (std::size_t v = 0; v < votes.size(); ++v)
            if (const auto hit = position.find(votes[v].voteName); hit != position.end())
                layout.found[hit->second * fileCount + i] = static_cast<std::int32_t>(v);
        layout.keypadTotal += inputFiles[i].keypadCount;
    }
    // The date and time afresh for every record, the merge information last.
    for (std::size_t k = 0; k <= voteOrder.size(); ++k) {
        const DateTime now = clock.now();
        std::string time = FormatTime(now), date = FormatDate(now);
        if (layout.stamps.empty() || layout.stamps.back().time != time || layout.stamps.back().date != date)
            layout.stamps.push_back({k, std::move(time), std::move(date)});
    }
    layout.files = std::move(inputFiles);
    return layout;
}

void MergeFiles(const MergeLayout& layout, const std::vector<std::string>& voteOrder, const FileSystem& files,
                FileSink& sink) {
    MergedLines lines(layout, voteOrder, files, sink);
    lines.voteLines();
    lines.mergeInfoLine();
}

std::string OutputPath(const std::string& outputName, const std::string& outputFolder) {
    std::string path = outputName.ends_with(".rec") ? outputName : outputName + ".rec";
    if (path.find(kPathSeparator) == std::string::npos)
        path = outputFolder + kPathSeparator + path;
    return path;
}

} // namespace avelin
