// The file services on Windows with names outside ASCII ("Übung", "Äpfel"):
// every name goes in and comes back in the ANSI code page, so that a listed
// file can be read and the folder entered is the one shown.
#include <algorithm>

#include "platform/file_system.h"
#include "windows/harness.h"

namespace avelin::wintest {
namespace {

TEST(NamesOutsideAsciiGoInAndComeBackInTheAnsiCodePage) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string parent = temp;
    parent.pop_back(); // its trailing "\"
    const std::string name = "avelin \xDC" "bung " + std::to_string(GetCurrentProcessId()); // Übung
    const std::string folder = parent + "\\" + name;
    CHECK(CreateDirectoryA(folder.c_str(), nullptr));

    LocalFileSystem files;
    files.writeFile(folder + "\\\xC4pfel.rec", "1;2;"); // Äpfel.rec
    const std::vector<std::string> listed = files.listFiles(folder);
    CHECK_EQ(listed.size(), 1u);
    const std::string listedName = listed.empty() ? std::string() : listed[0];
    CHECK_EQ(listedName, std::string("\xC4pfel.rec"));
    CHECK_EQ(files.readAll(folder + "\\" + listedName), std::string("1;2;"));
    const std::vector<std::string> folders = files.listFolders(parent);
    CHECK(std::find(folders.begin(), folders.end(), name) != folders.end());

    const std::string started = files.currentDirectory();
    files.setCurrentDirectory(folder);
    CHECK_EQ(files.currentDirectory(), folder);
    files.setCurrentDirectory(started);

    // Replaced in one step, flushed to disk; a read-only file is refused.
    const std::string apfel = folder + "\\\xC4pfel.rec";
    files.writeFile(apfel, "3;");
    SetFileAttributesA(apfel.c_str(), FILE_ATTRIBUTE_READONLY);
    try {
        files.writeFile(apfel, "4;");
    } catch (const FileError& e) {
        CHECK_EQ(e.reason(), std::string("The file is read-only"));
    }
    CHECK_EQ(files.readAll(apfel), std::string("3;"));
    SetFileAttributesA(apfel.c_str(), FILE_ATTRIBUTE_NORMAL);
    files.removeFile(apfel);
    CHECK(RemoveDirectoryA(folder.c_str())); // empty: nothing else was left behind
}

} // namespace
} // namespace avelin::wintest
