#pragma once
// The subcommands of avelin-rec. Each command's file registers itself.
#include <CLI/CLI.hpp>
#include <functional>
#include <vector>

namespace avelin::cli {

// Exit status of avelin-rec.
enum Exit : int { Done = 0, BadInput = 1, Usage = 2, WriteFailure = 3 };

// Adds one subcommand to the app. The callback it installs must store the
// command's exit status into `status`.
using CommandSetup = std::function<void(CLI::App& app, int& status)>;

std::vector<CommandSetup>& Commands();

struct RegisterCommand {
    explicit RegisterCommand(CommandSetup setup) { Commands().push_back(std::move(setup)); }
};

} // namespace avelin::cli
