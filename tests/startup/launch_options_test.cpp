// The options of the avelin program and the command line that is left for
// start-up.
#include <gtest/gtest.h>

#include "startup/launch_options.h"

namespace avelin {
namespace {

TEST(LaunchArguments, OptionsAreTakenOffTheFrontAndTheRestJoinedByOneBlank) {
    LaunchOptions o =
        ParseLaunchArguments({"--presentation", "/talks/My Talk.pptx", "--addin", "/addin", "MERGE,/v"});
    EXPECT_EQ(o.presentation, "/talks/My Talk.pptx");
    EXPECT_EQ(o.addin, "/addin");
    EXPECT_EQ(o.commandLine, "MERGE,/v");
    EXPECT_TRUE(o.fileMode());
    EXPECT_TRUE(o.error.empty());

    // The "=" form, and a command line that the shell split at its blanks.
    o = ParseLaunchArguments({"--addin=/a b", "MERGE,/votes/monday", "meeting"});
    EXPECT_EQ(o.addin, "/a b");
    EXPECT_FALSE(o.presentation);
    EXPECT_EQ(o.commandLine, "MERGE,/votes/monday meeting");

    // Without options nothing is taken, and nothing is file mode.
    o = ParseLaunchArguments({"MERGE", ",D:\\Votes"});
    EXPECT_EQ(o.commandLine, "MERGE ,D:\\Votes");
    EXPECT_FALSE(o.fileMode());

    // Options after the mode belong to the command line; "--" ends options.
    o = ParseLaunchArguments({"CREATE", "--addin", "x"});
    EXPECT_EQ(o.commandLine, "CREATE --addin x");
    EXPECT_FALSE(o.addin);
    o = ParseLaunchArguments({"--", "--odd"});
    EXPECT_EQ(o.commandLine, "--odd");

    o = ParseLaunchArguments({});
    EXPECT_EQ(o.commandLine, "");
    EXPECT_FALSE(o.help);
}

TEST(LaunchArguments, HelpAndMistakes) {
    EXPECT_TRUE(ParseLaunchArguments({"--help"}).help);
    EXPECT_TRUE(ParseLaunchArguments({"-h"}).help);
    EXPECT_EQ(ParseLaunchArguments({"--bogus", "MERGE"}).error, "unknown option --bogus");
    EXPECT_EQ(ParseLaunchArguments({"--colour=red"}).error, "unknown option --colour");
    EXPECT_EQ(ParseLaunchArguments({"--presentation"}).error, "option --presentation needs a value");
    EXPECT_EQ(ParseLaunchArguments({"--addin", ""}).error, "option --addin needs a value");
}

TEST(LaunchCommandLine, TheProgramNameAndOneBlankAreSkipped) {
    EXPECT_EQ(CommandLineAfterProgramName("avelin.exe MERGE,D:\\Votes"), "MERGE,D:\\Votes");
    EXPECT_EQ(CommandLineAfterProgramName("\"C:\\Program Files\\avelin\\avelin.exe\" CREATE"), "CREATE");
    // Only one blank belongs to the name; more stay with the command line.
    EXPECT_EQ(CommandLineAfterProgramName("avelin.exe  MERGE"), " MERGE");
    EXPECT_EQ(CommandLineAfterProgramName("\"C:\\a b\\avelin.exe\"MERGE"), "MERGE");
    EXPECT_EQ(CommandLineAfterProgramName("avelin.exe"), "");
    EXPECT_EQ(CommandLineAfterProgramName("\"avelin.exe\""), "");
}

TEST(LaunchCommandLine, RawTextKeepsBlanksQuotesAndCommas) {
    // Without options the text is taken whole, blanks before commas included.
    LaunchOptions o = ParseLaunchCommandLine("MERGE ,D:\\My Votes,old");
    EXPECT_EQ(o.commandLine, "MERGE ,D:\\My Votes,old");
    EXPECT_FALSE(o.fileMode());
    o = ParseLaunchCommandLine(" MERGE");
    EXPECT_EQ(o.commandLine, " MERGE");

    o = ParseLaunchCommandLine(
        "--presentation \"C:\\Talks\\My Talk.pptx\" --addin C:\\Addin MERGE,D:\\Votes");
    EXPECT_EQ(o.presentation, "C:\\Talks\\My Talk.pptx");
    EXPECT_EQ(o.addin, "C:\\Addin");
    EXPECT_EQ(o.commandLine, "MERGE,D:\\Votes");

    o = ParseLaunchCommandLine("--addin=C:\\Addin  CREATE");
    EXPECT_EQ(o.addin, "C:\\Addin");
    EXPECT_EQ(o.commandLine, " CREATE");

    o = ParseLaunchCommandLine("--help");
    EXPECT_TRUE(o.help);
    o = ParseLaunchCommandLine("--addin");
    EXPECT_EQ(o.error, "option --addin needs a value");
    o = ParseLaunchCommandLine("--pptx x MERGE");
    EXPECT_EQ(o.error, "unknown option --pptx");
    o = ParseLaunchCommandLine("");
    EXPECT_EQ(o.commandLine, "");
}

TEST(LaunchEnvironment, FillsOnlyWhatTheOptionsLeaveOpen) {
    LaunchOptions o = ParseLaunchArguments({"--addin", "/given", "MERGE"});
    ApplyLaunchEnvironment(o, "/env/talk.pptx", "/env/addin");
    EXPECT_EQ(o.addin, "/given");
    EXPECT_EQ(o.presentation, "/env/talk.pptx");

    o = ParseLaunchArguments({"CREATE"});
    ApplyLaunchEnvironment(o, "", nullptr);
    EXPECT_FALSE(o.presentation);
    EXPECT_FALSE(o.addin);
    EXPECT_FALSE(o.fileMode());
}

} // namespace
} // namespace avelin
