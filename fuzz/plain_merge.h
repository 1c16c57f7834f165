#pragma once
// The preparation of an input and the merge engine written step by step as
// the merge defines them, without any of the real code's shortcuts: every
// line split and marked in place, records built whole, votes found by linear
// search. What the real code must match byte for byte. Quadratic, so only for
// small inputs.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "formats/vote_line.h"
#include "merge/collation.h"
#include "platform/errors.h"

namespace avelin::fuzz {

struct PlainFile {
    std::vector<VoteLine> votes; // from the last line to the first
    std::string described;       // as the fuzz targets describe a preparation, or "refused: ..."
};

// Marks the repeated runs of `lines` in place.
inline void PlainRunMarking(std::vector<std::string>& lines) {
    if (lines.size() < 2)
        return;
    const std::size_t u = lines.size() - 1;
    std::size_t j = 0;
    while (j < u) {
        const std::string name = GetVoteName(lines[j]);
        if (name.empty() || name != GetVoteName(lines[j + 1])) {
            ++j;
            continue;
        }
        std::size_t k = u;
        for (std::size_t kk = j; kk < u; ++kk) {
            if (lines[kk].find(';') != std::string::npos ||
                GetVoteTime(lines[j]) != GetVoteTime(lines[j + 1]) ||
                GetVoteName(lines[kk]) != GetVoteName(lines[kk + 1])) {
                k = kk;
                break;
            }
        }
        if (lines[k].find(';') != std::string::npos) {
            ++j;
            continue;
        }
        for (std::size_t m = j; m <= k; ++m) {
            const std::string own = GetVoteName(lines[m]);
            char digits[24];
            std::snprintf(digits, sizeof digits, "%02zu", m - j);
            const std::string marked = own + "xxxseq" + digits + "xxx";
            std::string out;
            std::size_t start = 0;
            for (std::size_t at = lines[m].find(own); at != std::string::npos;
                 at = lines[m].find(own, start)) {
                out.append(lines[m], start, at - start);
                out += marked;
                start = at + own.size();
            }
            out.append(lines[m], start, std::string::npos);
            lines[m] = out;
        }
        j = k + 1;
    }
}

inline PlainFile PlainPreparation(const std::string& text, const std::string& path) {
    PlainFile file;
    std::vector<std::string> lines = SplitLines(text);
    for (std::size_t m = 0; m < lines.size(); ++m) {
        // A NUL byte, or a line end left in a line split at CR LF: LF or CR alone.
        const std::size_t lf = lines[m].find('\n'), cr = lines[m].find('\r');
        const char* problem = lines[m].find('\0') != std::string::npos ? "it holds a NUL byte"
                              : lf < cr ? "its lines end in LF alone, not in CR LF"
                              : cr < lf ? "its lines end in CR alone, not in CR LF"
                                        : nullptr;
        if (problem) {
            file.described =
                std::string("refused: ") +
                FormatError(path, int(m) + 1, std::string("not a results file: ") + problem).what();
            return file;
        }
    }
    PlainRunMarking(lines);
    std::vector<int> lineOf;
    bool quoted = false;
    for (std::size_t m = lines.size(); m-- > 0;) {
        if (lines[m].empty())
            continue;
        VoteLine record;
        try {
            record = ParseVoteLine(lines[m]);
        } catch (const MalformedLine& e) {
            file.votes.clear();
            file.described = std::string("refused: ") + FormatError(path, int(m) + 1, e.what()).what();
            return file;
        }
        const std::vector<std::string> fields = [&] {
            std::vector<std::string> f;
            std::size_t start = 0;
            for (std::size_t comma; (comma = lines[m].find(',', start)) != std::string::npos;
                 start = comma + 1)
                f.push_back(lines[m].substr(start, comma - start));
            f.push_back(lines[m].substr(start));
            return f;
        }();
        quoted = quoted || fields[1].starts_with('"');
        bool seen = false;
        for (const VoteLine& v : file.votes)
            seen = seen || v.voteName == record.voteName;
        if (!seen) {
            file.votes.push_back(record);
            lineOf.push_back(int(m) + 1);
        }
    }
    int largest = file.votes.empty() ? 0 : file.votes.front().keypadCount;
    bool uneven = false;
    for (const VoteLine& v : file.votes) {
        largest = std::max<int>(largest, v.keypadCount);
        uneven = uneven || v.keypadCount != file.votes.front().keypadCount;
    }
    file.described = std::to_string(largest) + (uneven ? " uneven" : "") + (quoted ? " quoted" : "") + "\n";
    for (std::size_t k = 0; k < file.votes.size(); ++k) {
        const VoteLine& v = file.votes[k];
        file.described += v.voteName + "|" + std::to_string(v.choiceCount) + "|" +
                          std::to_string(v.keypadCount) + "|" + std::to_string(lineOf[k]) + "|" +
                          v.responses + "\n";
    }
    return file;
}

// The merge order of the files' names: every distinct name, sorted without
// regard to case, names equal but for case in the order they were met.
inline std::vector<std::string> PlainOrder(const std::vector<std::vector<VoteLine>>& files) {
    std::vector<std::string> order;
    for (const auto& votes : files)
        for (const VoteLine& v : votes)
            if (std::find(order.begin(), order.end(), v.voteName) == order.end())
                order.push_back(v.voteName);
    std::stable_sort(order.begin(), order.end(),
                     [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
    return order;
}

// The merged file of `files` in `order`, every record stamped `time` and `date`.
inline std::string PlainMerge(std::vector<std::vector<VoteLine>> files, const std::vector<std::string>& order,
                              const std::string& time, const std::string& date) {
    // Uneven files are padded to their largest keypad count.
    std::vector<int> maxKeypads;
    for (auto& votes : files) {
        int largest = votes.empty() ? 0 : votes.front().keypadCount;
        bool uneven = false;
        for (const VoteLine& v : votes) {
            uneven = uneven || v.keypadCount != votes.front().keypadCount;
            largest = std::max<int>(largest, v.keypadCount);
        }
        if (uneven)
            for (VoteLine& v : votes) {
                v.keypadCount = static_cast<std::int16_t>(largest);
                const std::size_t length = v.responses.size(); // before the first append
                for (int m = 0; m <= largest - 1; ++m)
                    if (2 * std::size_t(m) >= length)
                        v.responses += "-;";
            }
        maxKeypads.push_back(largest);
    }
    std::vector<VoteLine> records(order.size() + 1);
    std::vector<int> keypads(order.size() + 1, 0);
    for (std::size_t k = 0; k < order.size(); ++k) {
        records[k].voteTime = time;
        records[k].voteDate = date;
        for (std::size_t i = 0; i < files.size(); ++i) {
            const auto found = std::find_if(files[i].begin(), files[i].end(),
                                            [&](const VoteLine& v) { return v.voteName == order[k]; });
            if (found == files[i].end()) {
                keypads[k] += maxKeypads[i];
                for (int m = 0; m < maxKeypads[i]; ++m)
                    records[k].responses += "-;";
            } else {
                records[k].choiceCount = found->choiceCount;
                records[k].voteName = found->voteName;
                keypads[k] += found->keypadCount;
                records[k].responses += found->responses;
            }
        }
        records[k].keypadCount = static_cast<std::int16_t>(keypads[k]);
    }
    VoteLine& info = records.back();
    for (std::size_t i = 0; i < files.size(); ++i)
        for (int p = 1; p <= maxKeypads[i]; ++p) {
            std::string mark = "-";
            for (const VoteLine& v : files[i]) {
                const std::size_t at = std::size_t(2 * p - 2);
                if (at >= v.responses.size() || v.responses[at] != '-') {
                    mark = std::to_string(i);
                    break;
                }
            }
            info.responses += mark + ";";
        }
    info.voteName = "MergeInfo.avl";
    info.voteTime = time;
    info.voteDate = date;
    info.keypadCount = order.empty() ? 0 : records[0].keypadCount;
    info.choiceCount = static_cast<std::int16_t>(files.size());
    std::string text;
    for (VoteLine& r : records) {
        if (r.voteName.empty())
            continue;
        if (r.voteName.find("xxxseq") != std::string::npos)
            r.voteName.resize(r.voteName.size() - std::min<std::size_t>(r.voteName.size(), 11));
        text += FormatVoteLine(r);
    }
    return text;
}

} // namespace avelin::fuzz
