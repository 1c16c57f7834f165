// The options of the avelin program and the command line that is left for
// start-up.
#include <gtest/gtest.h>

#include "startup/launch_options.h"

namespace avelin {
namespace {

// A parse in one line: "presentation | addin | [command line]", "-" for an
// option not given; or the mistake alone.
std::string Summary(const LaunchOptions& o) {
    if (!o.error.empty())
        return "error: " + o.error;
    return o.presentation.value_or("-") + " | " + o.addin.value_or("-") + " | [" + o.commandLine + "]" +
           (o.help ? " help" : "") + (o.version ? " version" : "");
}

TEST(LaunchArguments, OptionsComeOffTheFrontAndTheRestIsJoinedByOneBlank) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--presentation", "/talks/My Talk.pptx", "--addin", "/addin", "MERGE,/v"},
         "/talks/My Talk.pptx | /addin | [MERGE,/v]"},
        // The "=" form, and a command line that the shell split at its blanks.
        {{"--addin=/a b", "MERGE,/votes/monday", "meeting"}, "- | /a b | [MERGE,/votes/monday meeting]"},
        {{"MERGE", ",D:\\Votes"}, "- | - | [MERGE ,D:\\Votes]"},
        // Options after the mode belong to the command line; "--" ends options.
        {{"CREATE", "--addin", "x"}, "- | - | [CREATE --addin x]"},
        {{"--", "--odd"}, "- | - | [--odd]"},
        {{}, "- | - | []"},
        {{"--help"}, "- | - | [] help"},
        {{"-h", "--version"}, "- | - | [] help version"},
    };
    for (const auto& [args, expected] : cases)
        EXPECT_EQ(Summary(ParseLaunchArguments(args)), expected);
}

// On Windows the program reads the raw command line, program name included.
TEST(LaunchCommandLine, TheNameAndOneBlankGoAndTheRestStandsAsItIsAfterTheOptions) {
    const std::pair<std::string, std::string> cases[] = {
        {"avelin.exe MERGE ,D:\\My Votes,old", "- | - | [MERGE ,D:\\My Votes,old]"},
        {"\"C:\\Program Files\\avelin\\avelin.exe\" CREATE", "- | - | [CREATE]"},
        {"\"C:\\a b\\avelin.exe\"MERGE", "- | - | [MERGE]"},
        // One blank belongs to the name or an option; a second one to the command line.
        {"avelin.exe  MERGE", "- | - | [ MERGE]"},
        {"avelin.exe --addin=C:\\Addin  CREATE", "- | C:\\Addin | [ CREATE]"},
        {"avelin.exe --presentation \"C:\\Talks\\My Talk.pptx\" --addin C:\\Addin MERGE,D:\\Votes",
         "C:\\Talks\\My Talk.pptx | C:\\Addin | [MERGE,D:\\Votes]"},
        // Quoted as one argument; other quotes stay.
        {"avelin.exe \"MERGE,D:\\Demo Meeting\"", "- | - | [MERGE,D:\\Demo Meeting]"},
        {"avelin.exe --addin C:\\A \"MERGE,D:\\x\"", "- | C:\\A | [MERGE,D:\\x]"},
        {"avelin.exe \"MERGE\",\"D:\\x\"", "- | - | [\"MERGE\",\"D:\\x\"]"},
        {"avelin.exe \"", "- | - | [\"]"},
        {"\"avelin.exe\"", "- | - | []"},
        {"avelin.exe", "- | - | []"},
        {"avelin.exe --pptx x MERGE", "error: unknown option --pptx"},
    };
    for (const auto& [raw, expected] : cases)
        EXPECT_EQ(Summary(ParseLaunchCommandLine(CommandLineAfterProgramName(raw))), expected) << raw;
}

} // namespace
} // namespace avelin
