// The presentation application of file mode: a named .pptx and a named
// add-in folder, and what happens when they are missing.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "platform/errors.h"
#include "platform/file_presentation_app.h"
#include "support/memory_file_system.h"
#include "support/pptx_writer.h"
#include "support/temp_folder.h"

namespace avelin {
namespace {

// Restores the current directory when the test ends.
struct CurrentDirectory {
    std::filesystem::path saved = std::filesystem::current_path();
    ~CurrentDirectory() { std::filesystem::current_path(saved); }
};

// Local files, for the existence tests of the named files.
class DiskExistence : public test::MemoryFileSystem {
  public:
    bool fileExists(const std::string& p) const override { return std::filesystem::is_regular_file(p); }
    bool folderExists(const std::string& p) const override { return std::filesystem::is_directory(p); }
};

TEST(FilePresentationApp, NothingNamedMeansNoPresentationAndNoAddinFolder) {
    DiskExistence files;
    FilePresentationApp app(files, "", "");
    EXPECT_NO_THROW(app.attach());
    EXPECT_THROW(app.activePresentation(), NoActivePresentation);
    EXPECT_EQ(app.addinPath("avelin"), "");
}

TEST(FilePresentationApp, TheAddinFolderLosesTrailingSeparatorsAndMustExist) {
    test::TempFolder temp;
    DiskExistence files;
    FilePresentationApp app(files, "", temp.path() + kPathSeparator + kPathSeparator);
    EXPECT_EQ(app.addinPath("avelin"), temp.path());

    const std::string missing = temp.at("no such folder");
    FilePresentationApp gone(files, "", missing);
    try {
        gone.addinPath("avelin");
        FAIL() << "a missing add-in folder was accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
    }
    // A root keeps its separator.
    FilePresentationApp root(files, "", std::string(1, kPathSeparator));
    EXPECT_EQ(root.addinPath("avelin").back(), kPathSeparator);
}

TEST(FilePresentationApp, ANamedPresentationThatIsNotThereStopsTheAttach) {
    test::TempFolder temp;
    DiskExistence files;
    const std::string path = temp.at("Missing Talk.pptx");
    FilePresentationApp app(files, path, "");
    try {
        app.attach();
        FAIL() << "a missing presentation was accepted";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), path);
    }
}

TEST(FilePresentationApp, ARelativePresentationIsReadFromWhereTheProgramStarted) {
    test::TempFolder temp;
    DiskExistence files;
    test::PptxShape vote{"VOTE", "ppaction://program", "C:\\avelin\\avelin.exe Q1.AVL,1"};
    test::WritePptx(temp.at("Monday Meeting.pptx"), {test::PptxSlide{{vote}}, test::PptxSlide{}});

    CurrentDirectory restore;
    std::filesystem::current_path(temp.path());
    FilePresentationApp app(files, "Monday Meeting.pptx", "");
    // The windows change the current directory; the file is still found.
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    EXPECT_EQ(app.presentationFile(), temp.at("Monday Meeting.pptx"));
    EXPECT_NO_THROW(app.attach());
    const PresentationInfo info = app.activePresentation();
    EXPECT_EQ(info.name, "Monday Meeting.pptx");
    EXPECT_EQ(std::filesystem::path(info.path), std::filesystem::path(temp.path()));
    ASSERT_EQ(info.slides.size(), 2u);
    ASSERT_EQ(info.slides[0].shapes.size(), 1u);
    EXPECT_EQ(info.slides[0].shapes[0].name, "VOTE");
    EXPECT_TRUE(info.slides[1].shapes.empty());
}

TEST(FilePresentationApp, AFileThatIsNoPresentationIsAFormatErrorNamingIt) {
    test::TempFolder temp;
    temp.write("notes.pptx", "just text, no zip\r\n");
    DiskExistence files;
    FilePresentationApp app(files, temp.at("notes.pptx"), "");
    EXPECT_NO_THROW(app.attach());
    try {
        app.activePresentation();
        FAIL() << "a text file was read as a presentation";
    } catch (const FormatError& e) {
        EXPECT_EQ(e.path(), temp.at("notes.pptx"));
    }
}

} // namespace
} // namespace avelin
