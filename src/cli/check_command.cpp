// avelin-rec check: reads results files as the merge reads them and reports
// what they hold or where they are malformed.
#include <iostream>
#include <memory>
#include <set>

#include "cli/command.h"
#include "formats/vote_line.h"
#include "merge/merge_run.h"
#include "platform/errors.h"
#include "platform/file_system.h"

namespace avelin::cli {

namespace {

// One line of report for a well-formed file; throws for the first malformed line.
std::string Summary(const std::string& path, const std::string& text) {
    const std::vector<std::string> lines = SplitLines(text);
    int voteLines = 0;
    std::set<int> keypadCounts;
    for (std::size_t m = 0; m < lines.size(); ++m) {
        if (lines[m].empty())
            continue;
        try {
            keypadCounts.insert(ParseVoteLine(lines[m]).keypadCount);
        } catch (const MalformedLine& e) {
            throw FormatError(path, static_cast<int>(m + 1), e.what());
        }
        ++voteLines;
    }
    // The votes a merge takes from the file (repeated runs marked, last line
    // of a vote winning).
    const std::size_t votes = PrepareInputFile(text, path).votes.size();
    std::string counts;
    for (int c : keypadCounts)
        counts += (counts.empty() ? "" : ", ") + std::to_string(c);
    return path + ": " + std::to_string(voteLines) + " vote lines, " + std::to_string(votes) +
           " distinct votes, keypad counts " + (counts.empty() ? "none" : counts);
}

int RunCheckCommand(const std::vector<std::string>& paths) {
    LocalFileSystem files;
    int status = Done;
    for (const std::string& path : paths) {
        try {
            std::cout << Summary(path, files.readAll(path)) << '\n';
        } catch (const std::runtime_error& e) { // FileError or FormatError
            std::cout.flush();
            std::cerr << "avelin-rec: " << e.what() << '\n';
            status = BadInput;
        }
    }
    return status;
}

const RegisterCommand registerCheck([](CLI::App& app, int& status) {
    auto paths = std::make_shared<std::vector<std::string>>();
    CLI::App* cmd =
        app.add_subcommand("check", "Read results files and report their votes or first malformed line");
    cmd->add_option("files", *paths, "Results files")->required();
    cmd->callback([paths, &status] { status = RunCheckCommand(*paths); });
});

} // namespace

} // namespace avelin::cli
