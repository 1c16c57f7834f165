// Reading slides, shapes and click actions from .pptx packages.
#include "platform/pptx_reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "platform/errors.h"
#include "support/pptx_writer.h"
#include "support/temp_folder.h"

namespace avelin {
namespace {

using test::PptxSlide;
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

// The FormatError that reading `file` throws.
FormatError FormatErrorOf(const std::string& file) {
    try {
        ReadPptx(file);
    } catch (const FormatError& e) {
        return e;
    }
    ADD_FAILURE() << file << " was read without a FormatError";
    return FormatError(file, 0, "");
}

TEST(ReadPptx, SlidesShapesNamesAndClickActions) {
    test::TempFolder dir;
    test::WritePptx(
        dir.at("Talk One.pptx"),
        {{{{"Title 1", "", ""},
           {"VOTE", kProgram, "file:///C:\\Program%20Files\\avelin\\avelin.exe%20vote%201.AVL,1"},
           {"R&D <chart>", "ppaction://macro?name=Module1.Start", "", "graphicFrame"},
           {"vote", "ppaction://hlinkshowjump?jump=nextslide", "", "pic"}}},
         {},
         {{{"Group 4", kProgram, "file:///C:\\v.exe%20g.AVL", "grpSp"}, {"Connector 2", "", "", "cxnSp"}}}});
    const PresentationInfo p = ReadPptx(dir.at("Talk One.pptx"));
    EXPECT_EQ(p.path, dir.path());
    EXPECT_EQ(p.name, "Talk One.pptx");
    // Other actions than a program or a macro give no text.
    EXPECT_EQ(Shapes(p), (std::vector<std::vector<std::string>>{
                             {"Title 1=", "VOTE=C:\\Program Files\\avelin\\avelin.exe vote 1.AVL,1",
                              "R&D <chart>=Module1.Start", "vote="},
                             {},
                             {"Group 4=C:\\v.exe g.AVL", "Connector 2="}}));
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

TEST(ProgramRunFromUrl, DecodesTheStoredUrl) {
    EXPECT_EQ(ProgramRunFromUrl("file:///C:\\Program%20Files\\avelin\\avelin.exe%20vote1.AVL,1"),
              "C:\\Program Files\\avelin\\avelin.exe vote1.AVL,1");
    EXPECT_EQ(ProgramRunFromUrl("FILE:///D:/talks/v.exe%20a.AVL"), "D:/talks/v.exe a.AVL"); // slashes kept
    EXPECT_EQ(ProgramRunFromUrl("file://server/share/v.exe%20a.AVL"), "\\\\server/share/v.exe a.AVL");
    EXPECT_EQ(ProgramRunFromUrl("C:\\v.exe 100%25 sure.AVL"), "C:\\v.exe 100% sure.AVL");
    EXPECT_EQ(ProgramRunFromUrl("file:///C:\\v.exe%zz%4"), "C:\\v.exe%zz%4"); // broken escapes stay
    EXPECT_EQ(ProgramRunFromUrl("file:///C:\\Umfrage%C3%BC.exe"), "C:\\Umfrage\xC3\xBC.exe");
}

TEST(ReadPptx, MissingFilesFoldersAndBrokenPackagesNameFileAndProblem) {
    test::TempFolder dir;
    try {
        ReadPptx(dir.at("absent.pptx"));
        FAIL() << "a missing file must be refused";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), dir.at("absent.pptx"));
        EXPECT_FALSE(e.reason().empty());
    }
    try {
        ReadPptx(dir.path());
        FAIL() << "a folder must be refused";
    } catch (const FileError& e) {
        EXPECT_EQ(e.reason(), "this is a folder, not a file");
    }
    dir.write("notes.pptx", "This is a plain text file, not a presentation.\r\n");
    const FormatError notZip = FormatErrorOf(dir.at("notes.pptx"));
    EXPECT_EQ(notZip.path(), dir.at("notes.pptx"));
    EXPECT_EQ(notZip.reason().rfind("not a presentation (.pptx) file: ", 0), 0u) << notZip.reason();

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
        {[](ZipEntries& z) {
             std::string& s = test::Part(z, "ppt/slides/slide2.xml");
             s.insert(s.size() - 10, std::string((64u << 20) + 1, ' '));
         },
         "the part ppt/slides/slide2.xml is larger than 64 MiB, far more than a presentation holds"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        ZipEntries entries = test::PptxEntries({{{{"VOTE", kProgram, "file:///v.exe%20a.AVL"}}}, {}});
        c.damage(entries);
        test::WriteZip(dir.at("broken.pptx"), entries);
        const FormatError error = FormatErrorOf(dir.at("broken.pptx"));
        EXPECT_EQ(error.path(), dir.at("broken.pptx"));
        EXPECT_EQ(error.reason().substr(0, c.reason.size()), c.reason);
    }
}

} // namespace
} // namespace avelin
