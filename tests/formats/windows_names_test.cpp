// Names Windows cannot give a file: device names, control characters, a
// blank or full stop at the end, and names or paths over the limits.
#include "formats/windows_names.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"

namespace avelin {
namespace {

const std::string kTooLong = "That name is too long";

TEST(WindowsNames, DeviceNamesInAnyCaseWithOrWithoutAnExtension) {
    const std::pair<std::string, std::string> devices[] = {
        {"CON", "CON"}, {"con.txt", "CON"},    {"Com1.rec", "COM1"}, {"lpt9", "LPT9"},
        {"nul", "NUL"}, {"aux.tar.gz", "AUX"}, {"PRN .rec", "PRN"},  {"com5", "COM5"},
    };
    for (const auto& [name, device] : devices)
        EXPECT_EQ(ReservedNameProblem(name, ".grp"), device + " is a device name Windows reserves") << name;
    // Near misses are ordinary names.
    for (const std::string name : {"COM0", "COM10", "LPT", "console", "con-1", "icon", "x.con", "nul_votes",
                                   "merged votes.rec", "", "Pre-test", "Day 1"})
        EXPECT_EQ(ReservedNameProblem(name, ".grp"), std::nullopt) << name;
}

TEST(WindowsNames, ControlCharactersABlankOrFullStopAtTheEndAndLength) {
    EXPECT_EQ(ReservedNameProblem("a\tb"), "A name cannot hold a control character");
    EXPECT_EQ(ReservedNameProblem(std::string("a\0b", 3)), "A name cannot hold a control character");
    // Only the end of the whole file name counts: Windows keeps "North ..grp".
    for (const std::string name : {"North ", "North.", "result.rec.", ".", ".."}) {
        EXPECT_EQ(ReservedNameProblem(name), "A name cannot end with a blank or a full stop") << name;
        EXPECT_EQ(ReservedNameProblem(name, ".grp"), std::nullopt) << name;
    }
    EXPECT_EQ(ReservedNameProblem("North", ". "), "A name cannot end with a blank or a full stop");
    EXPECT_EQ(ReservedNameProblem(" North"), std::nullopt); // a leading blank is kept by Windows

    // 255 bytes is the most a name may have, its extension included.
    EXPECT_EQ(ReservedNameProblem(std::string(251, 'g'), ".grp"), std::nullopt);
    EXPECT_EQ(ReservedNameProblem(std::string(252, 'g'), ".grp"), kTooLong);
    EXPECT_EQ(ReservedNameProblem(std::string(255, 'r')), std::nullopt);
    EXPECT_EQ(ReservedNameProblem(std::string(256, 'r')), kTooLong);
}

TEST(WindowsNames, PathsLeaveRoomForTheTemporaryFileBesideThem) {
    const std::string folder(200, 'f');
    // Windows' limit: 259 characters.
    EXPECT_EQ(PathLengthProblem(folder, std::string(58, 'n'), 259), std::nullopt);
    EXPECT_EQ(PathLengthProblem(folder, std::string(59, 'n'), 259), "That path is too long");
    // A short name still needs room for the temporary file.
    const std::string roomless(259 - kMaxTemporaryNameLength, 'f');
    EXPECT_EQ(PathLengthProblem(roomless.substr(1), "a.grp", 259), std::nullopt);
    EXPECT_EQ(PathLengthProblem(roomless, "a.grp", 259), "That path is too long");

    const std::string sep(1, kPathSeparator);
    EXPECT_EQ(ChosenPathProblem(folder + sep + "Manual Votes.rec", 259), std::nullopt);
    EXPECT_EQ(ChosenPathProblem(folder + sep + std::string(59, 'n'), 259), "That path is too long");
    EXPECT_EQ(ChosenPathProblem(folder + sep + "con.rec"), "CON is a device name Windows reserves");
    EXPECT_EQ(ChosenPathProblem("votes.rec "), "A name cannot end with a blank or a full stop");
    EXPECT_EQ(ChosenPathProblem("con/votes.rec"), std::nullopt); // the folder is there already
}

} // namespace
} // namespace avelin
