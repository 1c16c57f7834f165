// Presentations from .pptx files: slides, shapes and click actions read from
// the package, and the file-mode presentation application with its named
// presentation and add-in folder.
#include "platform/pptx_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "platform/errors.h"
#include "platform/file_presentation_app.h"
#include "support/pptx_writer.h"
#include "support/temp_folder.h"

namespace avelin {
namespace {

using test::ZipEntries;

const char* kProgram = "ppaction://program";

// Every slide's shapes as "name=action run" texts.
std::vector<std::vector<std::string>> Shapes(const PresentationInfo& p) {
    std::vector<std::vector<std::string>> all;
    for (const SlideInfo& slide : p.slides) {
        all.emplace_back();
        for (const ShapeInfo& shape : slide.shapes)
            all.back().push_back(shape.name + "=" + shape.actionRun);
    }
    return all;
}

// "FileError: reason" or "FormatError: reason" of reading `file`; the error
// must name the file.
std::string ErrorOf(const std::string& file) {
    try {
        ReadPptx(file);
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), file);
        return "FileError: " + e.reason();
    } catch (const FormatError& e) {
        EXPECT_EQ(e.path(), file);
        return "FormatError: " + e.reason();
    }
    return "read without an error";
}

TEST(ReadPptx, SlidesShapesNamesAndClickActions) {
    test::TempFolder dir;
    test::WritePptx(
        dir.at("Talk One.pptx"),
        {{{{"Title 1", "", ""},
           {"VOTE", kProgram, "file:///C:\\Program%20Files\\avelin\\avelin.exe%20vote%201.AVL,1"},
           {"Vote", "ppaction://macro?name=Module1.Start", "", "graphicFrame"},
           {"vote", "ppaction://hlinkshowjump?jump=nextslide", "", "pic"},
           {"R&D <chart>", kProgram, "file:///C:\\v.exe%20r.AVL"}}},
         {},
         {{{"vOTE", kProgram, "file:///C:\\v.exe%20g.AVL", "grpSp"}, {"Connector 2", "", "", "cxnSp"}}}});
    const PresentationInfo p = ReadPptx(dir.at("Talk One.pptx"));
    EXPECT_EQ(p.path, dir.path());
    EXPECT_EQ(p.name, "Talk One.pptx");
    // Other actions than a program or a macro give no text, nor does the
    // action of a shape that is not a vote's.
    EXPECT_EQ(Shapes(p), (std::vector<std::vector<std::string>>{
                             {"Title 1=", "VOTE=C:\\Program Files\\avelin\\avelin.exe vote 1.AVL,1",
                              "Vote=Module1.Start", "vote=", "R&D <chart>="},
                             {},
                             {"vOTE=C:\\v.exe g.AVL", "Connector 2="}}));
}

TEST(ReadPptx, SlideListOrderNotPartNumbersAndOnlyTopLevelShapes) {
    ZipEntries entries = test::PptxEntries({{{{"first part", "", ""}}}, {{{"second part", "", ""}}}});
    std::string& presentation = test::Part(entries, "ppt/presentation.xml");
    const std::string one = "<p:sldId id=\"256\" r:id=\"rId2\"/>",
                      two = "<p:sldId id=\"257\" r:id=\"rId3\"/>";
    presentation.replace(presentation.find(one + two), one.size() + two.size(), two + one);
    // A group whose members are shapes of their own, and a shape wrapped for
    // markup compatibility.
    std::string& slide = test::Part(entries, "ppt/slides/slide1.xml");
    slide.replace(
        slide.find("</p:spTree>"), 0,
        "<p:grpSp><p:nvGrpSpPr><p:cNvPr id=\"9\" name=\"Group 8\"/></p:nvGrpSpPr><p:grpSpPr/>"
        "<p:sp><p:nvSpPr><p:cNvPr id=\"10\" name=\"VOTE\"/></p:nvSpPr></p:sp></p:grpSp>"
        "<mc:AlternateContent xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\">"
        "<mc:Choice Requires=\"p14\"><p:contentPart r:id=\"rId9\"><p:nvContentPartPr>"
        "<p:cNvPr id=\"11\" name=\"Ink 10\"/></p:nvContentPartPr></p:contentPart></mc:Choice>"
        "<mc:Fallback><p:pic><p:nvPicPr><p:cNvPr id=\"11\" name=\"Ink 10\"/></p:nvPicPr></p:pic>"
        "</mc:Fallback></mc:AlternateContent>");
    // Part names are found in any letter case.
    entries[1].first = "PPT/Slides/Slide1.XML";
    test::TempFolder dir;
    test::WriteZip(dir.at("order.pptx"), entries);
    EXPECT_EQ(
        Shapes(ReadPptx(dir.at("order.pptx"))),
        (std::vector<std::vector<std::string>>{{"second part="}, {"first part=", "Group 8=", "Ink 10="}}));

    // No slide list at all.
    entries = test::PptxEntries({});
    std::string& empty = test::Part(entries, "ppt/presentation.xml");
    empty.erase(empty.find("<p:sldIdLst>"), std::string("<p:sldIdLst></p:sldIdLst>").size());
    test::WriteZip(dir.at("empty.pptx"), entries);
    EXPECT_TRUE(ReadPptx(dir.at("empty.pptx")).slides.empty());
}

// The stored hyperlink back to the program-run text PowerPoint reports.
TEST(ProgramRunFromUrl, DecodesTheStoredUrl) {
    EXPECT_EQ(ProgramRunFromUrl("FILE:///D:/talks/v.exe%20a.AVL"), "D:/talks/v.exe a.AVL"); // slashes kept
    EXPECT_EQ(ProgramRunFromUrl("file://server/share/v.exe%20a.AVL"), "\\\\server/share/v.exe a.AVL");
    EXPECT_EQ(ProgramRunFromUrl("C:\\v.exe 100%25 sure.AVL"), "C:\\v.exe 100% sure.AVL");
    EXPECT_EQ(ProgramRunFromUrl("file:///C:\\v.exe%zz%4"), "C:\\v.exe%zz%4"); // broken escapes stay
    EXPECT_EQ(ProgramRunFromUrl("file:///C:\\Umfrage%C3%BC.exe"), "C:\\Umfrage\xC3\xBC.exe");
}

TEST(ReadPptx, MissingFilesFoldersAndBrokenPackagesNameFileAndProblem) {
    using ::testing::StartsWith;
    test::TempFolder dir;
    EXPECT_THAT(ErrorOf(dir.at("absent.pptx")), StartsWith("FileError: "));
    EXPECT_EQ(ErrorOf(dir.path()), "FileError: Is a folder, not a file");
    dir.write("notes.pptx", "This is a plain text file, not a presentation.\r\n");
    EXPECT_THAT(ErrorOf(dir.at("notes.pptx")), StartsWith("FormatError: not a presentation (.pptx) file: "));

    const auto replace = [](const char* part, std::string text) {
        return [part, text](ZipEntries& z) { test::Part(z, part) = text; };
    };
    const struct {
        std::function<void(ZipEntries&)> damage;
        std::string reason;
    } cases[] = {
        {[](ZipEntries& z) { z.erase(z.end() - 2); }, "the part ppt/presentation.xml is missing"},
        {[](ZipEntries& z) { z.erase(z.begin() + 3); }, "the part ppt/slides/slide2.xml is missing"},
        {[](ZipEntries& z) { test::Part(z, "ppt/slides/slide1.xml").resize(200); },
         "the part ppt/slides/slide1.xml is not well-formed XML"},
        {replace("ppt/slides/_rels/slide1.xml.rels", test::PptxRelationships({})),
         "the part ppt/slides/slide1.xml runs a program through the relationship \"rId2\", which it does not "
         "have"},
        {replace("ppt/_rels/presentation.xml.rels", test::PptxRelationships({})),
         "the slide list names the relationship \"rId2\", which ppt/presentation.xml does not have"},
        {replace("ppt/presentation.xml", "<w:document xmlns:w=\"x\"/>"),
         "the part ppt/presentation.xml is not a presentation"},
        {replace("ppt/slides/slide2.xml", "<p:sld xmlns:p=\"x\"/>"),
         "the part ppt/slides/slide2.xml is not a slide (no shape tree)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        ZipEntries entries = test::PptxEntries({{{{"VOTE", kProgram, "file:///v.exe%20a.AVL"}}}, {}});
        c.damage(entries);
        test::WriteZip(dir.at("broken.pptx"), entries);
        EXPECT_THAT(ErrorOf(dir.at("broken.pptx")), StartsWith("FormatError: " + c.reason));
    }
}

TEST(FilePresentationApp, TheAddinFolderLosesTrailingSeparatorsAndMustExist) {
    test::TempFolder temp;
    LocalFileSystem files;
    const std::string sep(1, kPathSeparator);
    EXPECT_EQ(FilePresentationApp(files, "", "").addinPath("avelin"), ""); // none named
    EXPECT_EQ(FilePresentationApp(files, "", temp.path() + sep + sep).addinPath("avelin"), temp.path());
    EXPECT_EQ(FilePresentationApp(files, "", sep).addinPath("avelin"), sep); // a root keeps its separator
    EXPECT_THROW(FilePresentationApp(files, "", temp.at("no such folder")).addinPath("avelin"),
                 std::runtime_error);
}

// Nothing named is no open presentation. A relative name is made absolute at
// once, as the windows change the current directory later.
TEST(FilePresentationApp, TheNamedPresentationIsReadWhereverTheProgramMovesTo) {
    test::TempFolder temp;
    LocalFileSystem files;
    FilePresentationApp none(files, "", "");
    EXPECT_NO_THROW(none.attach());
    EXPECT_THROW(none.activePresentation(), NoActivePresentation);
    EXPECT_THROW(none.activePresentationFile(), NoActivePresentation);
    EXPECT_THROW(FilePresentationApp(files, temp.at("Missing.pptx"), "").attach(), FileError);

    test::WritePptx(temp.at("Monday Meeting.pptx"), {{}, {}});
    const std::filesystem::path started = std::filesystem::current_path();
    std::filesystem::current_path(temp.path());
    FilePresentationApp app(files, "Monday Meeting.pptx", "");
    std::filesystem::current_path(started);
    EXPECT_EQ(app.presentationFile(), temp.at("Monday Meeting.pptx"));
    EXPECT_NO_THROW(app.attach());
    EXPECT_EQ(app.activePresentation().slides.size(), 2u);

    // Folder and name alone leave the file unread: a damaged one gives them too.
    temp.write("Monday Meeting.pptx", "not a zip");
    const PresentationInfo file = app.activePresentationFile();
    EXPECT_EQ(file.path, temp.path());
    EXPECT_EQ(file.name, "Monday Meeting.pptx");
    EXPECT_THROW(app.activePresentation(), FormatError);
}

} // namespace
} // namespace avelin
