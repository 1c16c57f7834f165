#include "merge/merge_engine.h"

#include <charconv>
#include <unordered_map>

#include "formats/side_files.h"
#include "platform/errors.h"

namespace avelin {

namespace {

constexpr std::string_view kNoResponse = "-;";
constexpr std::string_view kRunMarkerTag = "xxxseq";
constexpr std::size_t kRunMarkerLength = 11; // "xxxseq", two digits, "xxx"
// The merged file goes out in pieces of about this size.
constexpr std::size_t kOutputPiece = 1 << 20;
// The inputs' responses are read again a window at a time: a meeting's votes
// lie in its file in about the merge order, so one read serves many lines.
constexpr std::size_t kInputWindow = 256 << 10;

void AppendNumber(std::string& out, int value) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

// The responses of one input, read again from its file window by window.
class ResponsesSource {
  public:
    ResponsesSource(const InputFile& file, const FileSystem& files) : file_(file), files_(files) {}

    void appendTo(std::string& out, const InputVote& vote) {
        if (vote.ownResponses >= 0) {
            out += file_.ownResponses[static_cast<std::size_t>(vote.ownResponses)];
            return;
        }
        const std::size_t n = vote.responsesLength;
        const std::uint64_t at = vote.responsesOffset;
        if (n == 0)
            return;
        if (at >= windowAt_ && at + n <= windowAt_ + windowLength_) {
            out.append(window_.get() + (at - windowAt_), n);
            return;
        }
        if (!reader_)
            reader_ = files_.openForReading(file_.path);
        if (n > kInputWindow) { // longer than a window: straight into the output
            const std::size_t start = out.size();
            out.resize(start + n);
            if (reader_->readAt(at, out.data() + start, n) != n)
                throw changed();
            return;
        }
        if (!window_)
            window_ = std::make_unique_for_overwrite<char[]>(kInputWindow);
        windowAt_ = at;
        windowLength_ = reader_->readAt(at, window_.get(), kInputWindow);
        if (windowLength_ < n)
            throw changed();
        out.append(window_.get(), n);
    }

  private:
    FileError changed() const { return FileError(file_.path, "the file changed while it was being merged"); }

    const InputFile& file_;
    const FileSystem& files_;
    std::unique_ptr<FileReader> reader_;
    std::unique_ptr<char[]> window_;
    std::uint64_t windowAt_ = 0;
    std::size_t windowLength_ = 0;
};

std::size_t ResponsesLength(const InputFile& file, const InputVote& vote) {
    return vote.ownResponses >= 0 ? file.ownResponses[static_cast<std::size_t>(vote.ownResponses)].size()
                                  : vote.responsesLength;
}

} // namespace

std::string_view InputFile::responses(const InputVote& vote, std::string_view text) const {
    if (vote.ownResponses >= 0)
        return ownResponses[static_cast<std::size_t>(vote.ownResponses)];
    return text.substr(static_cast<std::size_t>(vote.responsesOffset), vote.responsesLength);
}

MergeLayout LayOutMerge(std::vector<InputFile> inputFiles, const std::vector<std::string>& lst_temp,
                        const Clock& clock) {
    MergeLayout layout;
    const std::size_t fileCount = inputFiles.size();
    // The first vote of each name per file, found by hash instead of a linear
    // search; the names of a file are distinct, so the result is the same.
    std::unordered_map<std::string_view, std::size_t> position;
    position.reserve(lst_temp.size());
    for (std::size_t k = 0; k < lst_temp.size(); ++k)
        position.emplace(lst_temp[k], k);
    layout.found.assign(lst_temp.size() * fileCount, -1);
    for (std::size_t i = 0; i < fileCount; ++i) {
        const std::vector<InputVote>& votes = inputFiles[i].votes;
        for (std::size_t v = 0; v < votes.size(); ++v)
            if (const auto hit = position.find(votes[v].voteName); hit != position.end())
                layout.found[hit->second * fileCount + i] = static_cast<std::int32_t>(v);
        layout.keypadTotal += inputFiles[i].keypadCount;
    }
    // The date and time afresh for every record, the merge information last.
    for (std::size_t k = 0; k <= lst_temp.size(); ++k) {
        const DateTime now = clock.now();
        std::string time = FormatTime(now), date = FormatDate(now);
        if (layout.stamps.empty() || layout.stamps.back().time != time || layout.stamps.back().date != date)
            layout.stamps.push_back({k, std::move(time), std::move(date)});
    }
    layout.files = std::move(inputFiles);
    return layout;
}

void MergeFiles(const MergeLayout& layout, const std::vector<std::string>& lst_temp, const FileSystem& files,
                FileSink& out) {
    const std::vector<InputFile>& inputs = layout.files;
    const std::size_t fileCount = inputs.size();
    std::vector<ResponsesSource> sources;
    sources.reserve(fileCount);
    std::vector<std::string> blank(fileCount); // a whole block of no-response entries
    // The keypad positions of each input that no vote has answered yet.
    std::vector<std::vector<std::uint32_t>> unanswered(fileCount);
    for (std::size_t i = 0; i < fileCount; ++i) {
        sources.emplace_back(inputs[i], files);
        for (int p = 0; p < inputs[i].keypadCount; ++p) {
            blank[i] += kNoResponse;
            unanswered[i].push_back(static_cast<std::uint32_t>(p));
        }
    }
    // The responses of input i's vote as the merged line holds them: padded
    // with no-response entries when the input's votes are uneven (an odd
    // length rounds up, so that two entries still come behind "1;2;3").
    const auto appendBlock = [&](std::string& text, std::size_t i, const InputVote& vote) {
        const std::size_t start = text.size();
        sources[i].appendTo(text, vote);
        if (inputs[i].uneven) {
            const long missing =
                inputs[i].keypadCount - static_cast<long>((ResponsesLength(inputs[i], vote) + 1) / 2);
            if (missing > 0)
                text.append(blank[i], 0, 2 * static_cast<std::size_t>(missing));
        }
        // A position counts as answered when the entry there is not "-", or
        // when the responses are too short to reach it.
        const std::string_view block(text.data() + start, text.size() - start);
        std::vector<std::uint32_t>& open = unanswered[i];
        std::size_t kept = 0;
        for (const std::uint32_t q : open)
            if (2 * std::size_t{q} < block.size() && block[2 * std::size_t{q}] == '-')
                open[kept++] = q;
        open.resize(kept);
    };

    std::string text;
    text.reserve(kOutputPiece + (64 << 10));
    std::string unwritten; // the blocks of a record that gives no line
    std::size_t stamp = 0;
    const auto stampOf = [&](std::size_t record) -> const MergeStamp& {
        while (stamp + 1 < layout.stamps.size() && layout.stamps[stamp + 1].firstRecord <= record)
            ++stamp;
        return layout.stamps[stamp];
    };
    // Every line has the keypads of all inputs: padded, found or not.
    const int keypads = static_cast<std::int16_t>(layout.keypadTotal);
    for (std::size_t k = 0; k < lst_temp.size(); ++k) {
        const MergeStamp& now = stampOf(k);
        const std::int32_t* found = &layout.found[k * fileCount];
        // The name and choice count are those of the last file holding the vote.
        const InputVote* last = nullptr;
        for (std::size_t i = 0; i < fileCount; ++i)
            if (found[i] >= 0)
                last = &inputs[i].votes[static_cast<std::size_t>(found[i])];
        if (!last || lst_temp[k].empty()) {
            // No line, but its votes still count for the merge information.
            for (std::size_t i = 0; i < fileCount; ++i)
                if (found[i] >= 0)
                    unwritten.clear(), appendBlock(unwritten, i, inputs[i].votes[std::size_t(found[i])]);
            continue;
        }
        std::string_view name = lst_temp[k];
        if (name.find(kRunMarkerTag) != std::string_view::npos)
            name.remove_suffix(std::min(name.size(), kRunMarkerLength));
        text += "\"\\";
        text += name;
        text += "\",";
        AppendNumber(text, last->choiceCount);
        text += ',';
        AppendNumber(text, keypads);
        text += ",\"";
        for (std::size_t i = 0; i < fileCount; ++i) {
            if (found[i] >= 0)
                appendBlock(text, i, inputs[i].votes[static_cast<std::size_t>(found[i])]);
            else
                text += blank[i];
        }
        text += "\",\"";
        text += now.time;
        text += "\",\"";
        text += now.date;
        text += "\"\r\n";
        if (text.size() >= kOutputPiece) {
            out.write(text);
            text.clear();
        }
    }

    // The merge information line: the digit of input i for every keypad
    // position of its block that answered at least one of its votes.
    const MergeStamp& now = stampOf(lst_temp.size());
    text += "\"\\";
    text += kMergeInfoName;
    text += "\",";
    AppendNumber(text, static_cast<int>(fileCount));
    text += ',';
    AppendNumber(text, lst_temp.empty() ? 0 : keypads);
    text += ",\"";
    for (std::size_t i = 0; i < fileCount; ++i) {
        const std::size_t start = text.size();
        for (int p = 0; p < inputs[i].keypadCount; ++p)
            text += {static_cast<char>('0' + i), ';'};
        for (const std::uint32_t q : unanswered[i])
            text[start + 2 * q] = '-';
    }
    text += "\",\"";
    text += now.time;
    text += "\",\"";
    text += now.date;
    text += "\"\r\n";
    out.write(text);
}

std::string OutputPath(const std::string& outputName, const std::string& outputFolder) {
    std::string path = outputName.ends_with(".rec") ? outputName : outputName + ".rec";
    if (path.find(kPathSeparator) == std::string::npos)
        path = outputFolder + kPathSeparator + path;
    return path;
}

} // namespace avelin
