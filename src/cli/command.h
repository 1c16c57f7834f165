#pragma once
// The subcommands of avelin-rec, one file each; main.cpp lists them.
#include <CLI/CLI.hpp>
#include <iostream>

#include "platform/errors.h"

namespace avelin::cli {

// Exit status of avelin-rec.
enum Exit : int { Done = 0, BadInput = 1, Usage = 2, WriteFailure = 3 };

// Each adds one subcommand to the app. The callback it installs stores the
// command's exit status into `status`.
void AddCheckCommand(CLI::App& app, int& status);
void AddCreateCommand(CLI::App& app, int& status);
void AddMergeCommand(CLI::App& app, int& status);
void AddReportCommand(CLI::App& app, int& status);
void AddVotesCommand(CLI::App& app, int& status);

// Runs a command's body and turns its failure into a message on stderr and an
// exit status: a refused request is a usage error; a file error is a write
// failure once the body has set `writing`, before that the file was an input.
template <class Body> int RunReporting(Body body) {
    bool writing = false;
    try {
        return body(writing);
    } catch (const Error& e) {
        std::cerr << "avelin-rec: " << e.what() << '\n';
        if (dynamic_cast<const UsageError*>(&e))
            return Usage;
        return writing && dynamic_cast<const FileError*>(&e) ? WriteFailure : BadInput;
    }
}

} // namespace avelin::cli
