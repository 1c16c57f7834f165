// The presentation application of file mode: a named .pptx and a named
// add-in folder, and what happens when they are missing.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "platform/errors.h"
#include "platform/file_presentation_app.h"
#include "support/pptx_writer.h"
#include "support/temp_folder.h"

namespace avelin {
namespace {

TEST(FilePresentationApp, TheAddinFolderLosesTrailingSeparatorsAndMustExist) {
    test::TempFolder temp;
    LocalFileSystem files;
    EXPECT_EQ(FilePresentationApp(files, "", "").addinPath("avelin"), ""); // none named
    const std::string sep(1, kPathSeparator);
    EXPECT_EQ(FilePresentationApp(files, "", temp.path() + sep + sep).addinPath("avelin"), temp.path());
    EXPECT_EQ(FilePresentationApp(files, "", sep).addinPath("avelin"), sep); // a root keeps its separator
    try {
        FilePresentationApp(files, "", temp.at("no such folder")).addinPath("avelin");
        FAIL() << "a missing add-in folder was accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(temp.at("no such folder")), std::string::npos) << e.what();
    }
}

TEST(FilePresentationApp, NoneMissingOrBrokenPresentations) {
    test::TempFolder temp;
    LocalFileSystem files;
    FilePresentationApp none(files, "", "");
    EXPECT_NO_THROW(none.attach());
    EXPECT_THROW(none.activePresentation(), NoActivePresentation);

    FilePresentationApp missing(files, temp.at("Missing Talk.pptx"), "");
    try {
        missing.attach();
        FAIL() << "a missing presentation was accepted";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), temp.at("Missing Talk.pptx"));
    }

    temp.write("notes.pptx", "just text, no zip\r\n");
    FilePresentationApp notes(files, temp.at("notes.pptx"), "");
    EXPECT_NO_THROW(notes.attach());
    try {
        notes.activePresentation();
        FAIL() << "a text file was read as a presentation";
    } catch (const FormatError& e) {
        EXPECT_EQ(e.path(), temp.at("notes.pptx"));
    }
}

TEST(FilePresentationApp, ARelativePresentationIsReadFromWhereTheProgramStarted) {
    test::TempFolder temp;
    LocalFileSystem files;
    test::WritePptx(temp.at("Monday Meeting.pptx"),
                    {{{{"VOTE", "ppaction://program", "C:\\avelin\\avelin.exe Q1.AVL,1"}}}, {}});
    const std::filesystem::path started = std::filesystem::current_path();
    std::filesystem::current_path(temp.path());
    FilePresentationApp app(files, "Monday Meeting.pptx", "");
    // The windows change the current directory; the file is still found.
    std::filesystem::current_path(started);
    EXPECT_EQ(app.presentationFile(), temp.at("Monday Meeting.pptx"));
    EXPECT_NO_THROW(app.attach());
    const PresentationInfo info = app.activePresentation();
    EXPECT_EQ(info.name, "Monday Meeting.pptx");
    EXPECT_EQ(std::filesystem::path(info.path), std::filesystem::path(temp.path()));
    ASSERT_EQ(info.slides.size(), 2u);
    ASSERT_EQ(info.slides[0].shapes.size(), 1u);
    EXPECT_EQ(info.slides[0].shapes[0].name, "VOTE");
}

} // namespace
} // namespace avelin
