// avelin-rec merge: merges results files in the order given, with the group
// files and the marker file beside the output.
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/cli_clock.h"
#include "cli/cli_file_faults.h"
#include "cli/command.h"
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
        const std::string entry =
            TextOf(PathOf(WithoutRecExtension(options.inputs[i])).make_preferred());
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

int RunMergeCommand(const MergeOptions& options) {
    LocalFileSystem files;
    return RunReporting([&](bool& writing) {
        files.faults = CliFileFaults();
        const auto clock = CliClock();
        const MergeRequest request = BuildRequest(options, files);
        const std::string outputPath = OutputPath(request.outputName, request.outputFolder);
        if (!options.force && files.fileExists(outputPath)) {
            std::cerr << "avelin-rec: " << outputPath
                      << ": the output file already exists (--force replaces it)\n";
            return BadInput;
        }
        const MergePlan plan = PrepareMerge(request, files, *clock);
        writing = true;
        WriteMerge(plan, files);
        std::cout << "merged " << request.files.size() << " files: " << plan.result.voteOrder.size()
                  << " votes, " << plan.keypadTotal << " keypad positions\n";
        for (const PlannedWrite& w : plan.writes)
            std::cout << "wrote " << w.path << '\n';
        return Done;
    });
}

const RegisterCommand registerMerge([](CLI::App& app, int& status) {
    auto options = std::make_shared<MergeOptions>();
    CLI::App* cmd = app.add_subcommand("merge", "Merge 2 to 10 results files into one, in the order given");
    cmd->add_option("--output,-o", options->output, "Merged file (\".rec\" is added when missing)")
        ->required();
    cmd->add_option("--group,-g", options->groups, "Group name of the next input (repeat, in input order)")
        ->allow_extra_args(false);
    cmd->add_flag("--force,-f", options->force, "Replace an existing output file");
    cmd->add_option("inputs", options->inputs, "Results files, with or without \".rec\"")->required();
    cmd->callback([options, &status] { status = RunMergeCommand(*options); });
});

} // namespace

} // namespace avelin::cli
