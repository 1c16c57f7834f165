// avelin-rec: the jobs of the avelin utility from the command line.
#include <algorithm>
#include <iostream>
#include <optional>
#include <vector>

#include "cli/command.h"

namespace avelin::cli {

namespace {

// The subcommands, in the order the help lists them.
constexpr void (*kCommands[])(CLI::App& app, int& status) = {
    AddCheckCommand, AddCreateCommand, AddMergeCommand, AddReportCommand, AddVotesCommand,
};

constexpr const char* kExitStatuses =
    "Exit status: 0 done; 1 bad input (a file missing, a folder, or malformed: named with the file, the line "
    "and the reason); 2 usage (a request refused); 3 write failure (named with the path and the system's "
    "reason).";

// Edits between two words: insertions, deletions, changes and swaps of two
// neighbouring letters.
std::size_t Distance(const std::string& a, const std::string& b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i)
        for (std::size_t j = 0; j <= b.size(); ++j) {
            if (i == 0 || j == 0) {
                d[i][j] = i + j;
                continue;
            }
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

// The valid word meant by `word`, when one is close: its start typed, or at
// most a third of its letters wrong.
std::optional<std::string> Closest(const std::string& word, const std::vector<std::string>& valid) {
    std::optional<std::string> best;
    std::size_t bestDistance = 0;
    for (const std::string& v : valid) {
        const std::size_t letters = word.size() - std::min(word.size(), word.find_first_not_of('-'));
        const std::size_t d = letters >= 2 && v.starts_with(word) ? 1 : Distance(word, v);
        if (d <= std::max<std::size_t>(1, v.size() / 3) && (!best || d < bestDistance)) {
            best = v;
            bestDistance = d;
        }
    }
    return best;
}

std::string Listed(std::vector<std::string> words) {
    std::sort(words.begin(), words.end());
    std::string all;
    for (const std::string& w : words)
        all += (all.empty() ? "" : ", ") + w;
    return all;
}

std::string UnknownOption(const std::string& word, const CLI::App& where, const std::string& help) {
    std::vector<std::string> valid;
    for (const CLI::Option* opt : where.get_options()) {
        for (const std::string& l : opt->get_lnames())
            valid.push_back("--" + l);
        for (const std::string& s : opt->get_snames())
            valid.push_back("-" + s);
    }
    const auto close = word.starts_with("--") ? Closest(word, valid) : std::nullopt;
    return "unknown option '" + word + "'" + (where.get_parent() ? " for '" + where.get_name() + "'" : "") +
           (close ? "; did you mean '" + *close + "'?" : "; '" + help + " --help' lists the options");
}

// When the parse failed: the first word that names no subcommand or option,
// as a message.
std::optional<std::string> UnknownWord(CLI::App& app, int argc, char** argv) {
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; ++i)
        if (!app.get_option_no_throw(argv[i]))
            return UnknownOption(argv[i], app, "avelin-rec");
    if (i == argc)
        return std::nullopt;
    const std::string name = argv[i];
    const auto subs = app.get_subcommands([](CLI::App*) { return true; });
    const auto sub =
        std::find_if(subs.begin(), subs.end(), [&](const CLI::App* s) { return s->get_name() == name; });
    if (sub == subs.end()) {
        std::vector<std::string> names;
        for (const CLI::App* s : subs)
            names.push_back(s->get_name());
        const auto close = Closest(name, names);
        return "unknown subcommand '" + name + "'" +
               (close ? "; did you mean '" + *close + "'?" : "; the subcommands are " + Listed(names));
    }
    for (++i; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--")
            break;
        if (word.size() < 2 || word[0] != '-' || (word[1] >= '0' && word[1] <= '9'))
            continue;
        const bool isLong = word.starts_with("--");
        const std::string option = isLong ? word.substr(0, word.find('=')) : word.substr(0, 2);
        if (!(*sub)->get_option_no_throw(option))
            return UnknownOption(isLong ? option : word, **sub, "avelin-rec " + name);
    }
    return std::nullopt;
}

} // namespace

} // namespace avelin::cli

int main(int argc, char** argv) {
    using namespace avelin::cli;
    // Named, so that the help shows the program's name and not the path it
    // was started by.
    CLI::App app{"avelin-rec: merge, check, report and create avelin vote results files (.rec)",
                 "avelin-rec"};
    app.set_version_flag("--version", "avelin-rec " AVELIN_VERSION);
    app.require_subcommand(1);
    app.footer(kExitStatuses); // every subcommand takes it over
    int status = Done;
    for (const auto add : kCommands)
        add(app, status);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0)
            return app.exit(e); // --help
        if (const auto message = UnknownWord(app, argc, argv)) {
            std::cerr << "avelin-rec: " << *message << '\n';
            return Usage;
        }
        app.exit(e);
        return Usage;
    }
    return status;
}
