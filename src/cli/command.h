#pragma once
// The subcommands of avelin-rec. Each command's file registers itself.
#include <CLI/CLI.hpp>
#include <functional>
#include <iostream>
#include <vector>

#include "platform/errors.h"

namespace avelin::cli {

// Exit status of avelin-rec.
enum Exit : int { Done = 0, BadInput = 1, Usage = 2, WriteFailure = 3 };

// Adds one subcommand to the app. The callback it installs must store the
// command's exit status into `status`.
using CommandSetup = std::function<void(CLI::App& app, int& status)>;

std::vector<CommandSetup>& Commands();

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

struct RegisterCommand {
    explicit RegisterCommand(CommandSetup setup) { Commands().push_back(std::move(setup)); }
};

} // namespace avelin::cli
