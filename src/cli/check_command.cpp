// avelin-rec check: reads results files as the merge reads them and reports
// what they hold or where they are malformed.
#include <iostream>
#include <memory>

#include "cli/cli_output.h"
#include "cli/command.h"
#include "merge/merge_run.h"
#include "platform/errors.h"
#include "platform/file_system.h"

namespace avelin::cli {

namespace {

// One line of report for a well-formed file, from one reading of it; throws
// for the first malformed line.
std::string Summary(const std::string& path, FileSystem& files) {
    SettleFolderOf(path, files); // a merge cut short there is completed or undone first
    // The votes a merge takes from the file (repeated runs marked, last line
    // of a vote winning) and the keypad counts of all its lines.
    const InputCheck check = CheckInputFile(files, path);
    std::string counts;
    for (int c : check.keypadCounts)
        counts += (counts.empty() ? "" : ", ") + std::to_string(c);
    return path + ": " + std::to_string(check.voteLines) + " vote lines, " +
           std::to_string(check.distinctVotes) + " distinct votes, keypad counts " +
           (counts.empty() ? "none" : counts);
}

int RunCheckCommand(const std::vector<std::string>& paths) {
    LocalFileSystem files;
    int status = Done;
    for (const std::string& path : paths) {
        try {
            std::cout << Summary(path, files) << '\n';
        } catch (const Error& e) {
            std::cout.flush();
            std::cerr << "avelin-rec: " << e.what() << '\n';
            status = BadInput;
        }
    }
    return status;
}

} // namespace

void AddCheckCommand(CLI::App& app, int& status) {
    auto paths = std::make_shared<std::vector<std::string>>();
    CLI::App* cmd =
        app.add_subcommand("check", "Read results files and report their votes or first malformed line");
    cmd->add_option("files", *paths, "Results files")->required();
    cmd->callback([paths, &status] { status = RunCheckCommand(*paths); });
}

} // namespace avelin::cli
