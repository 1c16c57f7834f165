// avelin-rec report: the answers of every vote of a results file by group, as
// text, CSV or an HTML page.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/cli_file_faults.h"
#include "cli/cli_output.h"
#include "cli/command.h"
#include "platform/path_text.h"
#include "report/report_writers.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace avelin::cli {

namespace {

struct ReportOptions {
    std::string file;
    std::string format = "text";
    std::string output;
    std::vector<std::string> groups;
    bool force = false;
};

int RunReportCommand(const ReportOptions& options) {
    LocalFileSystem files;
    return RunReporting([&](bool& writing) {
        files.faults = CliFileFaults();
        if (!options.output.empty()) {
            CheckOutputPath(options.output, options.output, files);
            std::error_code ec;
            if (std::filesystem::equivalent(PathOf(options.output), PathOf(options.file), ec))
                throw UsageError(options.output + ": is the results file read; --output names another file");
            if (!options.force && files.fileExists(options.output))
                throw UsageError(options.output + ": the file already exists (--force replaces it)");
        }
        // A merge into the file's folder that was cut short would pair the
        // merged file with another merge's group files.
        SettleFolderOf(options.file, files);
        const ResultsReport report = ReadResults(options.file, files, options.groups);
        const std::string text = options.format == "csv"    ? CsvReport(report)
                                 : options.format == "html" ? HtmlReport(report)
                                                            : TextReport(report);
        if (!options.output.empty()) {
            writing = true;
            files.writeFile(options.output, text);
            return Done;
        }
#ifdef _WIN32
        _setmode(_fileno(stdout), _O_BINARY); // the bytes as they are, CR LF of the CSV included
#endif
        std::cout << text << std::flush;
        return Done;
    });
}

} // namespace

void AddReportCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<ReportOptions>();
    CLI::App* cmd = app.add_subcommand(
        "report",
        "Tally the answers of every vote of a results file by group (the subgroups of a merged file)");
    cmd->add_option("file", options->file, "The results file (.rec)")->required();
    cmd->add_option("--format", options->format, "text (the default), csv or html")
        ->check(CLI::IsMember({"text", "csv", "html"}));
    cmd->add_option("--output,-o", options->output,
                    "The file to write, as named; without it, standard output");
    cmd->add_flag("--force,-f", options->force, "Replace an existing output file");
    cmd->add_option("--group,-g", options->groups,
                    "Name of the next group, in group order (repeat); without it, the group files name them")
        ->allow_extra_args(false);
    cmd->callback([options, &status] { status = RunReportCommand(*options); });
}

} // namespace avelin::cli
