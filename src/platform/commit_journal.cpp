#include "platform/commit_journal.h"

#include <algorithm>

namespace avelin {

namespace {

constexpr std::string_view kFirstLine = "avelin commit journal 1";
constexpr std::string_view kLastLine = "end";

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

// A name inside the folder: not empty, no separator, not "." or "..".
bool IsPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string_view::npos;
}

// Control characters (no group or output name holds one) and "%" are
// written as "%XX", so that a name is one field of one line.
std::string Escaped(std::string_view name) {
    static const char* const kDigits = "0123456789ABCDEF";
    std::string out;
    for (const char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || c == '%')
            out += {'%', kDigits[b >> 4], kDigits[b & 15]};
        else
            out += c;
    }
    return out;
}

std::optional<std::string> Unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const auto value = [](char c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
        const char hi = text[i + 1], lo = text[i + 2];
        if (!((hi >= '0' && hi <= '9') || (hi >= 'A' && hi <= 'F')) ||
            !((lo >= '0' && lo <= '9') || (lo >= 'A' && lo <= 'F')))
            return std::nullopt;
        out += static_cast<char>(value(hi) * 16 + value(lo));
        i += 2;
    }
    return out;
}

} // namespace

bool IsWriteLeftover(std::string_view name) {
    constexpr std::string_view kStart = ".avelin-";
    if (!name.starts_with(kStart) || !(name.ends_with(".tmp") || name.ends_with(".bak")))
        return false;
    name = name.substr(kStart.size(), name.size() - kStart.size() - 4);
    int numbers = 0;
    for (std::size_t i = 0; i <= name.size(); ++numbers) {
        const std::size_t end = std::min(name.find('-', i), name.size());
        if (end == i || !std::all_of(name.begin() + i, name.begin() + end, IsHex))
            return false;
        i = end + 1;
    }
    return numbers == 3;
}

std::string FormatJournal(const CommitJournal& journal) {
    std::string text(kFirstLine);
    text += journal.undoing ? "\nundo\n" : "\ncommit\n";
    for (const JournalEntry& e : journal.entries)
        text += Escaped(e.target) + "\t" + e.temporary + "\t" + (e.aside.empty() ? "-" : e.aside) + "\n";
    text += kLastLine;
    text += '\n';
    return text;
}

std::optional<CommitJournal> ParseJournal(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            return std::nullopt; // cut short: every line ends in LF
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (lines.size() < 3 || lines.front() != kFirstLine || lines.back() != kLastLine ||
        (lines[1] != "commit" && lines[1] != "undo"))
        return std::nullopt;
    CommitJournal journal;
    journal.undoing = lines[1] == "undo";
    for (std::size_t i = 2; i + 1 < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::size_t first = line.find('\t');
        const std::size_t second = first == std::string_view::npos ? first : line.find('\t', first + 1);
        if (second == std::string_view::npos)
            return std::nullopt;
        const auto target = Unescaped(line.substr(0, first));
        JournalEntry e{target ? *target : std::string(),
                       std::string(line.substr(first + 1, second - first - 1)),
                       std::string(line.substr(second + 1))};
        if (e.aside == "-")
            e.aside.clear();
        if (!target || !IsPlainName(e.target) || !IsWriteLeftover(e.temporary) ||
            !e.temporary.ends_with(".tmp") ||
            (!e.aside.empty() && !(IsWriteLeftover(e.aside) && e.aside.ends_with(".bak"))))
            return std::nullopt;
        journal.entries.push_back(std::move(e));
    }
    return journal;
}

} // namespace avelin
