#include "manual_entry/manual_results.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "manual_entry/grid_rules.h"
#include "platform/errors.h"

namespace avelin {

namespace {

// The keypad count of a results line is a 16-bit number: a row with more
// entries could not be read back.
constexpr double kMaxEntriesPerRow = 32767;

std::string twoDigits(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

const std::string& cellText(const GridCounts& counts, std::size_t row, int value) {
    static const std::string empty;
    if (row >= counts.size() || static_cast<std::size_t>(value) >= counts[row].size())
        return empty;
    return counts[row][static_cast<std::size_t>(value)];
}

} // namespace

std::string ManualTimeText(int& q, const DateTime& now) {
    std::string s = twoDigits(q);
    std::string m = twoDigits(now.minute);
    std::string h = twoDigits(now.hour);
    int minute = now.minute;
    if (q > 59) {
        s.assign(1, '0');
        q = -1;
        minute = now.minute + 1;
        m = std::to_string(minute);
    }
    if (minute > 59) {
        m.assign(1, '0');
        h = std::to_string(now.hour + 1);
    }
    std::string t;
    t.append(h).append(":").append(m).append(":").append(s);
    return t;
}

std::string ManualDateText(const DateTime& now) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d\\%02d\\%04d", now.day, now.month, now.year);
    return buf;
}

std::string ManualResultsText(const std::vector<VoteEntry>& votes, const GridCounts& counts,
                              const std::string& presentationFolder, const Clock& clock) {
    const std::string date = ManualDateText(clock.now());
    std::string text;
    std::string responses;
    std::size_t row = 0; // the grid's current answer row; it stays on the last one
    int q = -1;
    for (const VoteEntry& vote : votes) {
        ++q;
        const std::string time = ManualTimeText(q, clock.now());
        for (int k = 0; k < vote.RowCount; ++k) {
            responses.clear();
            double entries = 0;
            // Values whose column exists: 0 to 10 (column 1 to 11).
            for (int j = std::max<int>(vote.FirstOption, 0); j <= vote.OptionCount && j <= 10; ++j) {
                const double n = std::floor(NumericValue(cellText(counts, row, j)));
                if (n < 1)
                    continue;
                entries += n;
                if (entries > kMaxEntriesPerRow)
                    throw UsageError(vote.Name + ", answer row " + std::to_string(k + 1) +
                                     ": more than 32767 responses, which a results file cannot hold");
                const char digit = j == 10 ? 'A' : static_cast<char>('0' + j);
                for (long i = 0; i < static_cast<long>(n); ++i) {
                    responses += digit;
                    responses += ';';
                }
            }
            if (!responses.empty()) {
                text += '"';
                text += presentationFolder;
                text += '\\'; // part of the format, on every platform
                text += vote.Name;
                if (vote.Kind == "SERIES")
                    text.append(";").append(std::to_string(k + 1));
                text.append("\",\"").append(std::to_string(vote.OptionCount));
                text.append("\",\"").append(std::to_string(static_cast<long>(entries)));
                text.append("\",\"").append(responses);
                text.append("\",\"").append(time);
                text.append("\",\"").append(date).append("\"\r\n");
            }
            if (row + 1 < counts.size())
                ++row;
        }
    }
    return text;
}

} // namespace avelin
