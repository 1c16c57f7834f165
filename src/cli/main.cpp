// avelin-rec: the jobs of the avelin utility from the command line.
#include <iostream>

#include "cli/command.h"

namespace avelin::cli {
std::vector<CommandSetup>& Commands() {
    static std::vector<CommandSetup> commands;
    return commands;
}
} // namespace avelin::cli

int main(int argc, char** argv) {
    CLI::App app{"avelin-rec: merge, check and create avelin vote results files (.rec)"};
    app.require_subcommand(1);
    int status = avelin::cli::Done;
    for (auto& setup : avelin::cli::Commands())
        setup(app, status);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return e.get_exit_code() == 0 ? code : avelin::cli::Usage;
    }
    return status;
}
