// avelin-rec merge: merges results files in the order given, with the group
// files and the marker file beside the output, after the design check of the
// inputs; or, with --dry-run, only reads, checks and tells what it would do.
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/cli_clock.h"
#include "cli/cli_file_faults.h"
#include "cli/cli_output.h"
#include "cli/command.h"
#include "merge/design_check.h"
#include "merge/folder_listing.h"
#include "merge/group_names.h"
#include "merge/merge_run.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/path_text.h"

namespace avelin::cli {

namespace {

struct MergeOptions {
    std::string output;
    std::vector<std::string> groups;
    std::vector<std::string> inputs;
    bool force = false;
    bool dryRun = false;
    bool strict = false;
};

std::string WithoutRecExtension(const std::string& path) {
    return path.ends_with(".rec") ? path.substr(0, path.size() - 4) : path;
}

MergeRequest BuildRequest(const MergeOptions& options, const FileSystem& files) {
    if (options.groups.size() > options.inputs.size())
        throw UsageError(std::to_string(options.groups.size()) + " group names given for " +
                         std::to_string(options.inputs.size()) + " input files");
    MergeRequest request;
    for (std::size_t i = 0; i < options.inputs.size(); ++i) {
        // Windows takes "/" as well as "\"; the merge splits names at "\".
        const std::string entry = TextOf(PathOf(WithoutRecExtension(options.inputs[i])).make_preferred());
        request.files.push_back(entry);
        if (i < options.groups.size()) {
            request.groupNames.push_back(options.groups[i]);
            continue;
        }
        // As the merge window names a newly selected file: from its base name
        // and folder, unique among the names before it.
        const std::string folder = TextOf(std::filesystem::absolute(PathOf(entry)).parent_path());
        request.groupNames.push_back(DefaultGroupName(LastComponent(entry), folder, request.groupNames));
    }
    const std::filesystem::path output = PathOf(options.output);
    request.outputName = TextOf(output.filename());
    request.outputFolder = TextOf(output.parent_path());
    if (request.outputFolder.empty())
        request.outputFolder = files.currentDirectory();
    return request;
}

// The plan of a dry run: what each input brings, what would be written.
void PrintPlan(const MergePlan& plan, const FileSystem& files, bool force) {
    std::cout << "merge of " << plan.inputs.size() << " files: " << plan.result.voteOrder.size() << " votes, "
              << plan.keypadTotal << " keypad positions\n";
    for (std::size_t i = 0; i < plan.inputs.size(); ++i) {
        const InputSummary& in = plan.inputs[i];
        std::cout << "input " << i + 1 << ": " << in.path << ", group \"" << in.groupName << "\", "
                  << in.keypadCount << (in.keypadCount == 1 ? " keypad, " : " keypads, ") << in.votes.size()
                  << (in.votes.size() == 1 ? " vote\n" : " votes\n");
    }
    for (const PlannedWrite& w : plan.writes) {
        const bool exists = files.fileExists(w.path);
        std::cout << (exists ? "would replace " : "would write ") << w.path
                  << (exists && !force && w.path == plan.result.outputPath ? " (needs --force)\n" : "\n");
    }
}

int RunMergeCommand(const MergeOptions& options) {
    LocalFileSystem files;
    return RunReporting([&](bool& writing) {
        files.faults = CliFileFaults();
        const auto clock = CliClock();
        const MergeRequest request = BuildRequest(options, files);
        const std::string outputPath = OutputPath(request.outputName, request.outputFolder);
        CheckOutputPath(options.output, outputPath, files);
        if (!options.force && !options.dryRun && files.fileExists(outputPath)) {
            std::cerr << "avelin-rec: " << outputPath
                      << ": the output file already exists (--force replaces it)\n";
            return Usage;
        }
        const MergePlan plan = PrepareMerge(request, files, *clock);
        const std::vector<DesignWarning> warnings = CheckDesign(plan.inputs, plan.result.voteOrder);
        if (options.dryRun) {
            PrintPlan(plan, files, options.force);
            for (const DesignWarning& w : warnings)
                std::cout << "warning: " << w.text << '\n';
            if (warnings.empty())
                std::cout << "no warnings\n";
            return options.strict && !warnings.empty() ? BadInput : Done;
        }
        for (const DesignWarning& w : warnings)
            std::cerr << "avelin-rec: warning: " << w.text << '\n';
        if (options.strict && !warnings.empty()) {
            std::cerr << "avelin-rec: nothing merged: --strict refuses a merge with warnings\n";
            return BadInput;
        }
        std::vector<bool> replaced;
        for (const PlannedWrite& w : plan.writes)
            replaced.push_back(files.fileExists(w.path));
        writing = true;
        WriteMerge(plan, files);
        std::cout << "merged " << request.files.size() << " files: " << plan.result.voteOrder.size()
                  << " votes, " << plan.keypadTotal << " keypad positions\n";
        for (std::size_t i = 0; i < plan.writes.size(); ++i)
            std::cout << (replaced[i] ? "replaced " : "wrote ") << plan.writes[i].path << '\n';
        return Done;
    });
}

} // namespace

void AddMergeCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<MergeOptions>();
    CLI::App* cmd = app.add_subcommand("merge", "Merge 2 to 10 results files into one, in the order given");
    cmd->add_option("--output,-o", options->output, "Merged file (\".rec\" is added when missing)")
        ->required();
    cmd->add_option("--group,-g", options->groups, "Group name of the next input (repeat, in input order)")
        ->allow_extra_args(false);
    cmd->add_flag("--force,-f", options->force,
                  "Replace an existing merged file. The group files and the marker file are replaced "
                  "without it, as the merge window does; the merge names each file it replaces");
    cmd->add_flag("--dry-run,-n", options->dryRun,
                  "Read and check the inputs, print the plan and the design warnings, write nothing");
    cmd->add_flag("--strict", options->strict,
                  "Refuse (status 1, nothing written) when there is a design warning");
    cmd->add_option("inputs", options->inputs, "Results files, with or without \".rec\"")->required();
    cmd->callback([options, &status] { status = RunMergeCommand(*options); });
}

} // namespace avelin::cli
