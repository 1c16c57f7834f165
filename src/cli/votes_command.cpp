// avelin-rec votes: lists the votes of a presentation and the grid rows they
// take, as the manual data window finds them.
#include <iostream>
#include <memory>

#include "cli/cli_presentation.h"
#include "cli/command.h"
#include "platform/errors.h"

namespace avelin::cli {

namespace {

// In capitals, as the other kinds ("SERIES", "RANK", "TEXT") are.
std::string KindText(const std::string& kind) {
    return kind.empty() ? "STANDARD" : kind;
}

int RunVotesCommand(const std::string& pptx) {
    LocalFileSystem files;
    return RunReporting([&](bool&) {
        const LoadedPresentation loaded = LoadVotesOf(pptx, files, std::cerr);
        const PresentationVotes& v = loaded.votes;
        if (v.voteCount == 0) {
            std::cerr << "avelin-rec: " << kNoVotesMessage << '\n';
            return BadInput;
        }
        std::cout << loaded.presentation.name << ": " << v.voteCount
                  << (v.voteCount == 1 ? " vote, " : " votes, ") << v.rows.size()
                  << (v.rows.size() == 1 ? " answer row\n" : " answer rows\n");
        std::size_t row = 0;
        for (int i = 0; i < v.voteCount; ++i) {
            const VoteEntry& e = v.votes[static_cast<std::size_t>(i)];
            std::cout << "vote " << i + 1 << ": Name \"" << e.Name << "\", Kind " << KindText(e.Kind)
                      << ", OptionCount " << e.OptionCount << ", FirstOption " << e.FirstOption
                      << ", RowCount " << e.RowCount << '\n';
            for (int k = 0; k < e.RowCount; ++k, ++row)
                std::cout << "  row " << row + 1 << ": " << v.rows[row].text << '\n';
        }
        return Done;
    });
}

} // namespace

void AddVotesCommand(CLI::App& app, int& status) {
    auto pptx = std::make_shared<std::string>();
    CLI::App* cmd = app.add_subcommand("votes", "List the votes of a presentation and their answer rows");
    cmd->add_option("presentation", *pptx, "The presentation (.pptx)")->required();
    cmd->callback([pptx, &status] { status = RunVotesCommand(*pptx); });
}

} // namespace avelin::cli
