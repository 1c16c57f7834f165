// avelin-rec create: writes the results file that the manual data window's
// Save button would write, from counts given in a CSV file.
#include <cmath>
#include <iostream>
#include <memory>

#include "cli/cli_clock.h"
#include "cli/cli_file_faults.h"
#include "cli/cli_output.h"
#include "cli/cli_presentation.h"
#include "cli/command.h"
#include "formats/windows_names.h"
#include "manual_entry/grid_rules.h"
#include "manual_entry/manual_results.h"
#include "merge/readiness.h"
#include "platform/errors.h"

namespace avelin::cli {

namespace {

struct CreateOptions {
    std::string presentation;
    std::string counts;
    std::string output;
    bool force = false;
};

std::string Trimmed(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string> Split(const std::string& s, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = s.find(separator, start);
        parts.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos)
            return parts;
        start = at + 1;
    }
}

// The vote each answer row belongs to, in grid order.
std::vector<const VoteEntry*> RowOwners(const PresentationVotes& v) {
    std::vector<const VoteEntry*> owners;
    for (int i = 0; i < v.voteCount; ++i)
        owners.insert(owners.end(), static_cast<std::size_t>(v.votes[static_cast<std::size_t>(i)].RowCount),
                      &v.votes[static_cast<std::size_t>(i)]);
    return owners;
}

// One line per answer row, 11 counts for the values 0 to 10, empty meaning
// none. A count of 0 is accepted in a greyed column (it adds nothing); any
// other count there is refused, as the window never lets one in.
GridCounts ReadCounts(const std::string& path, const std::string& text, const PresentationVotes& votes) {
    std::vector<std::string> lines = Split(text, '\n');
    if (!lines.empty() && lines.back().empty())
        lines.pop_back(); // the line end of the last line
    const std::vector<const VoteEntry*> owners = RowOwners(votes);
    if (lines.size() > owners.size())
        throw FormatError(path, static_cast<int>(owners.size() + 1),
                          "one line too many: the presentation has " + std::to_string(owners.size()) +
                              " answer rows");
    if (lines.size() < owners.size())
        throw FormatError(path, static_cast<int>(lines.size() + 1),
                          "missing: the presentation has " + std::to_string(owners.size()) +
                              " answer rows, and row " + std::to_string(lines.size() + 1) + " is " +
                              votes.rows[lines.size()].text);
    GridCounts counts;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const int lineNumber = static_cast<int>(n + 1);
        std::string line = lines[n];
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> fields = Split(line, ',');
        if (fields.size() != 11)
            throw FormatError(path, lineNumber,
                              std::to_string(fields.size()) +
                                  " counts; 11 are needed, for the values 0 to 10");
        double entries = 0;
        for (int value = 0; value <= 10; ++value) {
            std::string& field = fields[static_cast<std::size_t>(value)];
            field = Trimmed(field);
            if (field.empty())
                continue;
            const std::string where = "the count for the value " + std::to_string(value);
            if (!IsNumericText(field))
                throw FormatError(path, lineNumber, where + ", \"" + field + "\", is not a number");
            const double count = NumericValue(field);
            if (count < 0)
                throw FormatError(path, lineNumber, where + " is negative");
            if (count != 0 && IsUnavailableColumn(*owners[n], value + 1))
                throw FormatError(path, lineNumber,
                                  where + " is for a value that " + owners[n]->Name + " does not offer");
            entries += std::floor(count);
        }
        if (entries > 32767)
            throw FormatError(path, lineNumber,
                              "more than 32767 responses, which a results file cannot hold");
        counts.push_back(std::move(fields));
    }
    return counts;
}

int RunCreateCommand(const CreateOptions& options) {
    LocalFileSystem files;
    return RunReporting([&](bool& writing) {
        files.faults = CliFileFaults();
        const auto clock = CliClock();
        // ".rec" is completed as for the merged file.
        const std::string output = CompleteExtension(options.output);
        // A name Windows cannot create is refused before anything is read.
        if (const auto problem = ChosenPathProblem(output))
            throw UsageError(output + ": " + *problem);
        CheckOutputPath(options.output, output, files);
        const LoadedPresentation loaded = LoadVotesOf(options.presentation, files, std::cerr);
        if (loaded.votes.voteCount == 0) {
            std::cerr << "avelin-rec: " << kNoVotesMessage << '\n';
            return BadInput;
        }
        const GridCounts counts = ReadCounts(options.counts, files.readAll(options.counts), loaded.votes);
        if (!options.force && files.fileExists(output)) {
            std::cerr << "avelin-rec: " << output << ": the file already exists (--force replaces it)\n";
            return Usage;
        }
        const std::string text =
            ManualResultsText(loaded.votes.votes, counts, loaded.presentation.path, *clock);
        writing = true;
        files.writeFile(output, text);
        std::size_t lines = 0;
        for (char c : text)
            lines += c == '\n';
        std::cout << "wrote " << output << ": " << lines << (lines == 1 ? " line\n" : " lines\n");
        return Done;
    });
}

} // namespace

void AddCreateCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<CreateOptions>();
    CLI::App* cmd =
        app.add_subcommand("create", "Write a results file from response counts, as the manual data "
                                     "window saves it");
    cmd->add_option("presentation", options->presentation, "The presentation (.pptx)")->required();
    cmd->add_option("--counts,-c", options->counts,
                    "CSV file: one line per answer row in grid order, 11 counts for the values 0 to 10")
        ->required();
    cmd->add_option("--output,-o", options->output,
                    "The results file to write (\".rec\" is added when missing)")
        ->required();
    cmd->add_flag("--force,-f", options->force, "Replace an existing output file");
    cmd->callback([options, &status] { status = RunCreateCommand(*options); });
}

} // namespace avelin::cli
